#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <span>

// The eight fixed reports as data: what each one asks the collection, how it turns a row into
// cells, what it calls its columns and files, and which totals close it. The reports, the
// command line and the tests all read this one table.
namespace perlinex::reports {

enum class ReportId { ForSale, Sold, Value, WantList, ByCountry, ByType, ByFormat, ByTopic };

// How a cell is made from the row's fields.
enum class CellKind : std::uint8_t {
    Text,       // the value as it stands; empty when missing
    Group,      // the category's description (category reports); empty when the stamp has none
    FaceAmount, // a number in the currency format; anything else leaves the cell empty
    Money,      // a number in the currency format; a text as it stands; missing: empty
    Amount,     // a number in the currency format, 0 when the value is not a number
    Extended,   // the row's quantity times the amount of the cell before it
};

struct ReportColumn {
    const char* field; // nullptr for Group (the category's field) and Extended
    CellKind kind;
    bool htmlRight; // right-aligned in the HTML table
};

// Which totals close the report.
enum class TotalsKind : std::uint8_t {
    None,
    CostAndWorth, // quantity, total paid, total of the second amount, and their difference
    Sum,          // the sum of the last column's amounts, under that column
    StampCount,   // the sum of the quantities
};

struct ReportDefinition {
    ReportId id;
    const char* commandName; // the NAME of `perlinex report NAME`
    const char* title;       // centre of the page header
    const char* htmlTitle;   // in the HTML head
    const char* htmlCaption; // the HTML table's caption row
    const char* textFile;    // default file names
    const char* htmlFile;
    const char* tableFormat;  // the preview table's column format, ";" at the end
    const char* tableHeading; // the preview's heading row, ";" at the end
    const char* htmlHeadings; // the HTML heading cells, separated by "|"
    std::span<const ReportColumn> columns;
    const char* query; // category reports: the text before the entry filter
    const char* emptyMessage;
    TotalsKind totals;
    // CostAndWorth: the preview's totals and difference formats, and the difference's label.
    const char* totalsFormat;
    const char* differenceFormat;
    const char* differenceLabel;
    bool plainTextTotals; // the text file's totals as plain numbers rather than money
    // Category reports: the code table, the entry filter (followed by the id) and the order.
    int category;
    const char* filter;
    const char* order;
    // Category reports: the selection dialog's captions (window, all entries, one entry).
    const char* selectionCaption;
    const char* allCaption;
    const char* selectedCaption;
};

std::span<const ReportDefinition> reportDefinitions();
const ReportDefinition& reportDefinition(ReportId id);
// By the command line's name; nullptr when there is none.
const ReportDefinition* reportByCommandName(const QString& name);
// The category report of a code table (3, 4, 8 or 9); nullptr for any other.
const ReportDefinition* reportOfCategory(int category);
bool isCategoryReport(const ReportDefinition& definition);

// The query that runs: for a category report with an entry (codeId other than -1), the
// entry's filter and id go between the base text and the order.
QString reportQuery(const ReportDefinition& definition, std::int32_t codeId = -1);
// The category report's group field ("Coudesc"), from the code table; empty for the others.
QString groupField(const ReportDefinition& definition);

// A text of the table for the user.
QString reportText(const char* text);
QStringList htmlHeadings(const ReportDefinition& definition);

} // namespace perlinex::reports
