#pragma once

#include "custom/reportplan.h"
#include "reports/frmoutput.h"
#include "reports/reportrows.h"
#include "reports/reporttargets.h"

#include <QColor>
#include <QDate>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

namespace perlinex::db {
class Database;
}

namespace perlinex::regional {
class Regional;
}

// The rows of a custom report and the three places they go, apart from any window.
namespace perlinex::custom {

// The rows of one plan. The query runs when the object is made, so that the report knows
// whether it found anything before a file or window is touched. The rows can be written once.
class CustomReportData {
public:
    // Throws db::DbError when the query cannot run.
    CustomReportData(db::Database& db, const ReportPlan& plan);

    const ReportPlan& plan() const { return plan_; }
    bool isEmpty() const { return empty_; }

    // Called every SliceRows rows with the rows written so far; false stops the report there,
    // without its totals.
    using Between = std::function<bool(std::int64_t rows)>;
    static constexpr std::int64_t SliceRows = 256;

    // Makes the cells of every row, first to last, and hands them to the sink, then the totals
    // row when the plan has one; returns the number of rows. Throws db::DbError, and
    // std::overflow_error when a money total leaves the range of money.
    std::int64_t writeTo(reports::ReportSink& sink, const regional::Regional& regional,
                         const Between& between = {});

private:
    const ReportPlan& plan_;
    reports::RowCursor rows_;
    bool empty_ = false;
};

// The preview's heading row of the plan, repeated at the top of every page.
reports::PageHeading pageHeading(const ReportPlan& plan, const QColor& headingShade,
                                 const QColor& bodyShade);

// Starts a new document in the plan's orientation with its header and footer, adds the rows
// and totals and ends it; returns the number of rows.
std::int64_t fillPreview(reports::PrintDocument& document, CustomReportData& data,
                         const regional::Regional& regional, const QDate& today,
                         const CustomReportData::Between& between = {});

// Writes the report as text or HTML to device (a file, or standard output), name naming it in
// errors. Returns the number of rows.
std::int64_t writeReport(CustomReportData& data, reports::FileTarget target, QIODevice& device,
                         const QString& name, const regional::Regional& regional);

// Writes the report as a text or HTML file, whole or not at all (an existing file is left as
// it was on any failure); a target keep protects is refused (reports::writeFileWhole). Throws
// durable::FileError, and what writeTo throws.
std::int64_t writeReportFile(CustomReportData& data, reports::FileTarget target,
                             const QString& fileName, const regional::Regional& regional,
                             const durable::ProtectedFiles& keep);

// Lays the preview's pages out and writes them as a PDF file; -1 with error set on failure.
std::int64_t writePdf(CustomReportData& data, const QString& fileName,
                      const regional::Regional& regional, const QDate& today,
                      const durable::ProtectedFiles& keep, QString* error);

} // namespace perlinex::custom
