#include "custom/customreport.h"

#include "db/value.h"
#include "regional/regional.h"
#include "reports/moneyformat.h"
#include "reports/pageoutput.h"
#include "reports/printdocument.h"
#include "util/translation.h"

#include <QHash>
#include <QTime>
#include <stdexcept>
#include <vector>

namespace perlinex::custom {

using reports::HtmlCell;
using reports::TotalsLine;

namespace {

// A time of day from what a time field holds: "13:05:00", or a date-time.
QTime timeOf(const db::Value& value) {
    const QString text = value.toText().trimmed();
    for (const QString& format : {QStringLiteral("H:mm:ss"), QStringLiteral("H:mm")}) {
        const QTime t = QTime::fromString(text.section(u' ', -1), format);
        if (t.isValid())
            return t;
    }
    return QTime();
}

// Writes the cells of one row and keeps the running totals.
class CellMaker {
public:
    CellMaker(const ReportPlan& plan, const regional::Regional& regional)
        : plan_(plan), regional_(regional), money_(regional), money_totals_(plan.columns.size()),
          number_totals_(plan.columns.size(), 0.0) {}

    QString cell(std::size_t index, const reports::RowCursor& rows);
    TotalsLine totals() const;

private:
    QString number(std::size_t index, const db::Value& value);
    QString date(const QString& stored);

    const ReportPlan& plan_;
    const regional::Regional& regional_;
    reports::MoneyFormat money_;
    std::vector<Currency> money_totals_;
    std::vector<double> number_totals_;
    const QString yes_ = translate("CustomReport", "Yes");
    const QString no_ = translate("CustomReport", "No");
    // The few thousand days of a collection come round again and again; formatting a date in
    // the user's way costs more than finding it here.
    QHash<QString, QString> dates_;
};

QString CellMaker::date(const QString& stored) {
    if (stored.isEmpty())
        return stored;
    if (const auto found = dates_.constFind(stored); found != dates_.cend())
        return *found;
    // Dates are kept as yyyy-mm-dd; anything else is shown as it stands.
    const QDate d = QDate::fromString(stored.left(10), Qt::ISODate);
    const QString shown = d.isValid() ? regional_.formatShortDate(d) : stored;
    if (dates_.size() >= 1 << 14)
        dates_.clear();
    dates_.insert(stored, shown);
    return shown;
}

QString CellMaker::number(std::size_t index, const db::Value& value) {
    const OutputColumn& c = plan_.columns[qsizetype(index)];
    if (value.isNull())
        return QString();
    if (c.row.isCurrency) {
        const std::optional<Currency> amount = reports::numberOf(value, regional_);
        if (!amount && reports::isTooLargeForMoney(value)) {
            if (c.total)
                throw std::overflow_error("a report total includes an amount money cannot hold");
            return regional::tooLargeForMoney();
        }
        if (!amount) // a text that is no number stays as it is, and counts for nothing
            return value.toText();
        if (c.total)
            money_totals_[index] += *amount;
        return money_.format(*amount);
    }
    switch (value.kind()) {
    case db::Value::Kind::Integer:
        if (c.total)
            number_totals_[index] += double(value.toInteger());
        return QString::number(value.toInteger());
    case db::Value::Kind::Real:
    case db::Value::Kind::Money:
        if (c.total)
            number_totals_[index] += value.toReal();
        return regional_.formatNumber(value.toReal());
    default:
        if (c.total)
            if (const std::optional<double> n = regional_.toDouble(value.toText()))
                number_totals_[index] += *n;
        return value.toText();
    }
}

QString CellMaker::cell(std::size_t index, const reports::RowCursor& rows) {
    const OutputColumn& c = plan_.columns[qsizetype(index)];
    switch (DataType(c.row.datatype)) {
    case DataType::Number:
        return number(index, rows.value(c.position));
    case DataType::Date:
        return date(rows.text(c.position));
    case DataType::Time: {
        const db::Value v = rows.value(c.position);
        const QTime t = timeOf(v);
        return t.isValid() ? regional_.formatMediumTime(t) : v.toText();
    }
    case DataType::YesNo:
        return rows.value(c.position).toBool() ? yes_ : no_;
    case DataType::Text:
        break;
    }
    return rows.text(c.position);
}

TotalsLine CellMaker::totals() const {
    TotalsLine line;
    line.previewFormat = plan_.format().toText();
    for (qsizetype i = 0; i < plan_.columns.size(); ++i) {
        const OutputColumn& c = plan_.columns[i];
        QString text;
        if (c.total)
            text = c.row.isCurrency ? money_.format(money_totals_[std::size_t(i)])
                                    : regional_.formatNumber(number_totals_[std::size_t(i)]);
        line.previewCells << text;
        line.textCells << text;
        line.htmlCells << HtmlCell{text, 1, c.total};
    }
    return line;
}

} // namespace

CustomReportData::CustomReportData(db::Database& db, const ReportPlan& plan)
    : plan_(plan), rows_(db, plan.sql) {
    empty_ = rows_.atEnd();
}

std::int64_t CustomReportData::writeTo(reports::ReportSink& sink,
                                       const regional::Regional& regional, const Between& between) {
    CellMaker maker(plan_, regional);
    std::vector<QString> cells(std::size_t(plan_.columns.size()));
    std::int64_t count = 0;
    for (; !rows_.atEnd(); rows_.next()) {
        for (std::size_t i = 0; i < cells.size(); ++i)
            cells[i] = maker.cell(i, rows_);
        sink.row(cells);
        if (++count % SliceRows == 0 && between && !between(count))
            return count;
    }
    if (plan_.hasTotals)
        sink.totals(maker.totals());
    return count;
}

reports::PageHeading pageHeading(const ReportPlan& plan, const QColor& headingShade,
                                 const QColor& bodyShade) {
    return reports::PageHeading{true, plan.format(), {plan.headings()}, headingShade, bodyShade};
}

std::int64_t fillPreview(reports::PrintDocument& document, CustomReportData& data,
                         const regional::Regional& regional, const QDate& today,
                         const CustomReportData::Between& between) {
    const ReportPlan& plan = data.plan();
    document.setPreview(true);
    document.setOrientation(plan.orientation == Orientation::Landscape
                                ? reports::PrintDocument::Orientation::Landscape
                                : reports::PrintDocument::Orientation::Portrait);
    document.startDoc();
    document.setFooter(plan.pageFooter());
    document.setHeader(plan.pageHeader(regional, today));
    reports::PreviewReportWriter writer(document, plan.format());
    const std::int64_t rows = data.writeTo(writer, regional, between);
    document.endDoc();
    return rows;
}

std::int64_t writeReport(CustomReportData& data, reports::FileTarget target, QIODevice& device,
                         const QString& name, const regional::Regional& regional) {
    const ReportPlan& plan = data.plan();
    std::int64_t rows = 0;
    if (target == reports::FileTarget::Text) {
        reports::TextReportWriter writer(device, name);
        rows = data.writeTo(writer, regional);
        writer.finish();
    } else {
        reports::HtmlTableHead head{plan.title, plan.title, plan.headings(), {}};
        for (const OutputColumn& c : plan.columns)
            head.rightAligned << c.right();
        reports::HtmlReportWriter writer(device, name, head);
        rows = data.writeTo(writer, regional);
        writer.finish();
    }
    return rows;
}

std::int64_t writeReportFile(CustomReportData& data, reports::FileTarget target,
                             const QString& fileName, const regional::Regional& regional,
                             const durable::ProtectedFiles& keep) {
    std::int64_t rows = 0;
    reports::writeFileWhole(fileName, keep, [&](QIODevice& file) {
        rows = writeReport(data, target, file, fileName, regional);
    });
    return rows;
}

std::int64_t writePdf(CustomReportData& data, const QString& fileName,
                      const regional::Regional& regional, const QDate& today,
                      const durable::ProtectedFiles& keep, QString* error) {
    reports::PrintDocument document;
    // The shades the window's program starts with.
    const reports::PageHeading heading =
        pageHeading(data.plan(), QColor(0, 0, 0), QColor(200, 200, 200));
    QObject::connect(&document, &reports::PrintDocument::pageStarted,
                     [&document, &heading] { reports::addPageHeading(document, heading); });
    const std::int64_t rows = fillPreview(document, data, regional, today);
    document.layoutAll();
    return reports::exportPdf(document, fileName, keep, {}, error) == reports::OutputResult::Done
               ? rows
               : -1;
}

} // namespace perlinex::custom
