#include "custom/reportplan.h"

#include "custom/layoutfile.h"
#include "db/dberror.h"
#include "db/dialect.h"
#include "regional/regional.h"
#include "util/textfields.h"
#include "util/translation.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace perlinex::custom {

namespace {

// A number bound in the form the engine reads: "." and no grouping, whatever the user typed.
QString engineNumber(double value) {
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}

// The time part of a time criterion, in a form the dialect reads under every setting.
QString timeLiteral(const QDateTime& value) {
    return u'#' + value.time().toString(QStringLiteral("H:mm:ss")) + u'#';
}

class Planner {
public:
    Planner(const Layout& layout, const FieldCatalogue& offered, const regional::Regional& regional)
        : layout_(layout), offered_(offered), regional_(regional) {
        plan_.fromText = db::quoteName(layout.useWith);
    }

    PlanResult run();

private:
    bool criteria(const SpecRow& row, const FieldSettings& s);
    std::optional<QString> bound(const SpecRow& row, const QString& typed, const char* which);
    void join(const SpecRow& row);

    const Layout& layout_;
    const FieldCatalogue& offered_;
    const regional::Regional& regional_;
    ReportPlan plan_;
    QStringList joined_;
    PlanProblem problem_;
};

std::optional<QString> Planner::bound(const SpecRow& row, const QString& typed, const char* which) {
    const std::optional<double> value = regional_.toDouble(typed);
    if (!value) {
        problem_.message =
            translate("CustomReport",
                      "\"%1\" under %2 of the field %3 is not a number. Correct it or "
                      "leave it blank; no report has been made.")
                .arg(typed, translate("CustomReport", which), row.desc);
        return std::nullopt;
    }
    return engineNumber(*value);
}

bool Planner::criteria(const SpecRow& row, const FieldSettings& s) {
    // Names come from the field catalogue, which is data: they go in as names only.
    const QString f = db::quoteName(row.fieldname);
    QString& where = plan_.whereText;
    switch (DataType(row.datatype)) {
    case DataType::Text:
        // No stored text holds a NUL, and the engine would take it for the end of the query.
        if (s.startsWith.contains(QChar(0))) {
            problem_.message =
                translate("CustomReport",
                          "The text under Starts With of the field %1 holds a NUL "
                          "character, which is not a valid value. Correct it or leave it "
                          "blank; no report has been made.")
                    .arg(row.desc);
            return false;
        }
        // Quoted, with its wildcards made literal: the text matches itself, apostrophes, "*"
        // and "[" included, without regard to case.
        if (!s.startsWith.isEmpty())
            where += QStringLiteral(" and ") + f + QStringLiteral(" like ") +
                     db::quoteText(db::escapeLike(s.startsWith) + u'*');
        break;
    case DataType::Number:
        if (!s.lessThan.isEmpty()) {
            const auto n = bound(row, s.lessThan, QT_TRANSLATE_NOOP("CustomReport", "Less Than"));
            if (!n)
                return false;
            where += QStringLiteral(" and ") + f + QStringLiteral(" < ") + *n;
        }
        if (!s.greaterThan.isEmpty()) {
            const auto n =
                bound(row, s.greaterThan, QT_TRANSLATE_NOOP("CustomReport", "Greater Than"));
            if (!n)
                return false;
            where += QStringLiteral(" and ") + f + QStringLiteral(" > ") + *n;
        }
        break;
    case DataType::Date:
        // The date part only: the engine's date literals are month first, whatever the user's
        // settings.
        if (s.rangeFrom.isValid())
            where += QStringLiteral(" and ") + f + QStringLiteral(" >= ") +
                     db::dateLiteral(s.rangeFrom.date());
        if (s.rangeTo.isValid())
            where += QStringLiteral(" and ") + f + QStringLiteral(" <= ") +
                     db::dateLiteral(s.rangeTo.date());
        break;
    case DataType::Time:
        if (s.rangeFrom.isValid())
            where +=
                QStringLiteral(" and ") + f + QStringLiteral(" >= ") + timeLiteral(s.rangeFrom);
        if (s.rangeTo.isValid())
            where += QStringLiteral(" and ") + f + QStringLiteral(" <= ") + timeLiteral(s.rangeTo);
        break;
    case DataType::YesNo:
        if (s.critTrue)
            where += QStringLiteral(" and ") + f;
        if (s.critFalse)
            where += QStringLiteral(" and not ") + f;
        break;
    }
    return true;
}

// Each code table is joined once, found by its whole name without regard to case; several
// joins nest around the main table.
void Planner::join(const SpecRow& row) {
    const QString& table = row.fileName;
    if (table.isEmpty() || table.compare(layout_.useWith, Qt::CaseInsensitive) == 0 ||
        joined_.contains(table, Qt::CaseInsensitive))
        return;
    joined_ << table;
    QString mainColumn = row.linkfield;
    QString joinedColumn = row.linkfield;
    if (row.linkfield.contains(u';')) {
        mainColumn = NthField(row.linkfield, u';', 1);
        joinedColumn = NthField(row.linkfield, u';', 2);
    }
    const QString joinedTable = db::quoteName(table);
    plan_.fromText = u'(' + plan_.fromText + QStringLiteral(" left join ") + joinedTable +
                     QStringLiteral(" on ") + db::quoteName(layout_.useWith) + u'.' +
                     db::quoteName(mainColumn) + QStringLiteral(" = ") + joinedTable + u'.' +
                     db::quoteName(joinedColumn) + u')';
}

PlanResult Planner::run() {
    if (layout_.fields.isEmpty())
        return {std::nullopt, {noFieldsMessage()}};
    const float unit = twipsPerUnit(layout_.unit);
    int position = -1;
    for (const int specid : layout_.fields) {
        const SpecRow* row = offered_.find(specid);
        if (!row || specid > layout_.maxSpecId())
            continue;
        const FieldSettings& s = layout_.setting(specid);
        ++position;
        if (!plan_.selectList.isEmpty())
            plan_.selectList += QStringLiteral(", ");
        plan_.selectList += db::quoteName(row->fieldname);
        if (!s.hideField) {
            const float twips = unit * s.colWidth;
            OutputColumn c;
            c.position = position;
            c.row = *row;
            c.twips = int(std::lround(std::clamp(double(twips), 0.0, 1.0e7)));
            c.total = s.showTotal && row->is(DataType::Number);
            plan_.columns << c;
            plan_.hasTotals = plan_.hasTotals || c.total;
            plan_.tableFormat +=
                (c.right() ? QStringLiteral(">") : QString()) + widthText(twips) + u'|';
            plan_.tableHeading += row->desc + u'|';
        }
        if (!criteria(*row, s))
            return {std::nullopt, problem_};
        join(*row);
    }
    if (position < 0)
        return {std::nullopt, {noFieldsMessage()}};
    if (plan_.columns.isEmpty())
        return {
            std::nullopt,
            {translate("CustomReport",
                       "Every field of the report is hidden, so the report would have no columns. "
                       "Clear \"Hide Field\" for at least one field.")}};

    // The leading " and" goes; a leading " and not" thus becomes " not".
    if (!plan_.whereText.isEmpty())
        plan_.whereText.remove(0, 4);
    plan_.tableFormat.back() = u';';
    plan_.tableHeading.back() = u';';

    // A sort field from a code table that no report field reads is joined all the same.
    for (const int position : layout_.sort) {
        if (position < 0 || position >= offered_.size())
            continue;
        const SpecRow& row = offered_.rows()[position];
        plan_.orderText +=
            (plan_.orderText.isEmpty() ? QStringLiteral(" order by ") : QStringLiteral(", ")) +
            db::quoteName(row.fieldname);
        join(row);
    }

    plan_.sql =
        QStringLiteral("Select ") + plan_.selectList + QStringLiteral(" from ") + plan_.fromText;
    if (!plan_.whereText.isEmpty())
        plan_.sql += QStringLiteral(" where ") + plan_.whereText;
    plan_.sql += plan_.orderText;

    plan_.title = layout_.title;
    plan_.useWith = layout_.useWith;
    plan_.orientation = layout_.orientation;
    plan_.showDate = layout_.showDate;
    plan_.pageNumbers = layout_.pageNumbers;
    return {plan_, {}};
}

} // namespace

reports::TableFormat ReportPlan::format() const {
    QList<reports::Column> out;
    for (const OutputColumn& c : columns)
        out << reports::Column{c.twips, c.right() ? reports::Align::Right : reports::Align::Left};
    return reports::TableFormat(out);
}

QStringList ReportPlan::headings() const {
    QStringList out;
    for (const OutputColumn& c : columns)
        out << c.row.desc;
    return out;
}

QString ReportPlan::pageHeader(const regional::Regional& regional, const QDate& today) const {
    // A bar in the title would move the rest of it to the right of the page.
    QString shown = title;
    shown.replace(u'|', QChar(0x00A6));
    return (showDate ? regional.formatShortDate(today) : QString()) + u'|' + shown + u'|' +
           (pageNumbers == PageNumbers::InHeader ? translate("CustomReport", "Page %d")
                                                 : QString());
}

QString ReportPlan::pageFooter() const {
    return pageNumbers == PageNumbers::AtBottom ? translate("CustomReport", "|Page %d|")
                                                : QString();
}

PlanResult planReport(const Layout& layout, const FieldCatalogue& offered,
                      const regional::Regional& regional) {
    try {
        return Planner(layout, offered, regional).run();
    } catch (const db::DbError& e) {
        return {std::nullopt, {e.text()}}; // a name no identifier can hold
    }
}

QString noFieldsMessage() {
    return translate("CustomReport", "You have not selected any fields to include in the report");
}

QString noRecordsMessage() {
    return translate("CustomReport",
                     "No records have been entered that may be included in the specified report");
}

} // namespace perlinex::custom
