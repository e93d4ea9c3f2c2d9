#pragma once

#include "reports/reportdefinitions.h"
#include "util/currency.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>

namespace perlinex::db {
class Database;
class RecordSet;
class Value;
} // namespace perlinex::db

namespace perlinex::regional {
class Regional;
}

namespace perlinex::reports {

// A cell of an HTML totals line.
struct HtmlCell {
    QString text;
    int colspan = 1;
    bool right = false;
};

// One totals line in the form of each target.
struct TotalsLine {
    QString previewFormat; // its own column format, ";" at the end
    QStringList previewCells;
    QStringList textCells; // joined by tabs
    QList<HtmlCell> htmlCells;
};

// Where the rows of a report go: the preview document, a text file or an HTML file.
class ReportSink {
public:
    virtual ~ReportSink() = default;
    // One data row: one value per column, each whole.
    virtual void row(std::span<const QString> cells) = 0;
    virtual void totals(const TotalsLine& line) = 0;
};

// The sums a report keeps while its rows go by.
struct ReportTotals {
    std::int64_t quantity = 0;
    std::array<Currency, 2> extended{}; // of the Extended columns, in order
    Currency amount;                    // of the last Amount column
};

// The totals lines that close a report.
QList<TotalsLine> totalsLines(const ReportDefinition& definition, const ReportTotals& totals,
                              const regional::Regional& regional);

// The numeric test of a stored value: a number, or a text the user's settings read as one.
std::optional<Currency> numberOf(const db::Value& value, const regional::Regional& regional);

// The rows of one report. The query runs when the object is made, so that the report knows
// whether it found anything before any target is touched.
class ReportData {
public:
    // Throws db::DbError when the query cannot run.
    ReportData(db::Database& db, const ReportDefinition& definition, std::int32_t codeId = -1);
    ~ReportData();
    ReportData(const ReportData&) = delete;
    ReportData& operator=(const ReportData&) = delete;

    const ReportDefinition& definition() const { return definition_; }
    bool isEmpty() const;
    std::int64_t rowCount() const;

    // Makes the cells of every row, first to last, and hands them and then the totals lines to
    // the sink. Throws std::overflow_error when a product or total leaves the money range.
    void writeTo(ReportSink& sink, const regional::Regional& regional);

private:
    const ReportDefinition& definition_;
    std::unique_ptr<db::RecordSet> rows_;
    std::array<int, 8> fieldIndex_{}; // per column: its field in the query; -1 for none
    int quantityIndex_ = -1;
};

} // namespace perlinex::reports
