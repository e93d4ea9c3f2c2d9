#pragma once

#include "db/amount.h"
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
#include <vector>

namespace perlinex::db {
class Database;
class LargerCache;
class Query;
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

// How a stored value counts as an amount (db/amount.h), as the reports have always called it.
using db::isTooLargeForMoney;
using db::numberOf;

// A query read forward, one row at a time, straight from the store: a report walks its rows
// once, so they are neither copied first nor kept. The connection's page cache stays as it is:
// the fixed reports read an index of their own from start to end (db/schema.cpp), and the
// engine sorts in runs the size of that cache, which a larger cache only slows. Values come
// typed by their column's declared kind, as the record sets hand them out, except that a text
// found in a money column stays a text (the numeric test then decides what it is).
class RowCursor {
public:
    // Runs the query and steps to its first row; throws db::DbError.
    RowCursor(db::Database& db, const QString& sql);
    ~RowCursor();
    RowCursor(const RowCursor&) = delete;
    RowCursor& operator=(const RowCursor&) = delete;

    bool atEnd() const { return atEnd_; }
    void next();
    // The column of that name, without regard to case; throws db::DbError (3265) when the
    // query has none.
    int fieldIndex(const QString& name) const;
    db::Value value(int index) const;
    QString text(int index) const; // a missing value gives an empty text
    std::int64_t integer(int index) const;

private:
    std::unique_ptr<db::Query> rows_;
    std::vector<std::uint8_t> kinds_; // db::Value::Kind of each column's declared type
    bool atEnd_ = false;
};

// The rows of one report. The query runs when the object is made, so that the report knows
// whether it found anything before any target is touched. The rows can be written once.
class ReportData {
public:
    // Throws db::DbError when the query cannot run.
    ReportData(db::Database& db, const ReportDefinition& definition, std::int32_t codeId = -1);
    ~ReportData();
    ReportData(const ReportData&) = delete;
    ReportData& operator=(const ReportData&) = delete;

    const ReportDefinition& definition() const { return definition_; }
    bool isEmpty() const { return empty_; }

    // Makes the cells of every row, first to last, and hands them and then the totals lines to
    // the sink; returns the number of rows. Throws db::DbError, and std::overflow_error when a
    // product or total leaves the range of money.
    std::int64_t writeTo(ReportSink& sink, const regional::Regional& regional);

private:
    const ReportDefinition& definition_;
    RowCursor rows_;
    bool empty_ = false;
    std::array<int, 8> fieldIndex_{}; // per column: its field in the query; -1 for none
    int quantityIndex_ = -1;
};

} // namespace perlinex::reports
