#pragma once

#include "custom/fieldcatalogue.h"
#include "custom/layout.h"
#include "reports/tabletext.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace perlinex::regional {
class Regional;
}

// What a layout asks of the collection: one query, and the columns its rows become.
namespace perlinex::custom {

// A column of the report: a field that is not hidden.
struct OutputColumn {
    int position = 0; // of the field in the query's select list (hidden fields count too)
    SpecRow row;
    int twips = 0;      // the column's width on the page
    bool total = false; // a number field with "Show Total"
    bool right() const { return row.is(DataType::Number); }
};

struct ReportPlan {
    // The query's pieces as the program's dialect writes them, and the whole.
    QString selectList;
    QString fromText;
    QString whereText; // without the keyword
    QString orderText; // " order by ..." or empty
    QString sql;

    QList<OutputColumn> columns;
    bool hasTotals = false;

    // The preview's column format and heading row in the table text form: widths in twips as
    // the layout's unit makes them (not rounded), ">" before number columns.
    QString tableFormat;
    QString tableHeading;

    QString title;
    QString useWith;
    Orientation orientation = Orientation::Portrait;
    bool showDate = true;
    PageNumbers pageNumbers = PageNumbers::AtBottom;

    // The column format with whole twips, as the print document lays it out.
    reports::TableFormat format() const;
    QStringList headings() const;
    // The page header "date|title|" with "Page %d" on the right when the page numbers go
    // there, and the footer "|Page %d|" when they go to the foot of the page, else empty.
    QString pageHeader(const regional::Regional& regional, const QDate& today) const;
    QString pageFooter() const;
};

// Why a layout makes no report; the message for the user.
struct PlanProblem {
    QString message;
};

// The plan of a layout over the fields offered for its main table, or why there is none: no
// fields, none visible, a number bound that is not a number. Typed texts are quoted so that
// they match literally; number bounds are read in the user's regional settings and written
// in the engine's form.
struct PlanResult {
    std::optional<ReportPlan> plan;
    PlanProblem problem;
};
PlanResult planReport(const Layout& layout, const FieldCatalogue& offered,
                      const regional::Regional& regional);

// The messages of a run that makes nothing.
QString noFieldsMessage();
QString noRecordsMessage();

} // namespace perlinex::custom
