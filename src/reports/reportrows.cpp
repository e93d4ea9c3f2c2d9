#include "reports/reportrows.h"

#include "db/database.h"
#include "db/dberror.h"
#include "db/recordset.h"
#include "db/value.h"
#include "regional/regional.h"

#include <stdexcept>

namespace perlinex::reports {

namespace {

int indexOfField(const db::RecordSet& rs, const QString& name) {
    for (int i = 0; i < rs.fieldCount(); ++i)
        if (rs.fieldName(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    throw db::DbError(db::err::FieldMissing,
                      QStringLiteral("Item '%1' not found in this collection.").arg(name));
}

QString textOf(const db::Value& value) {
    switch (value.kind()) {
    case db::Value::Kind::Null:
        return QString();
    case db::Value::Kind::Money:
        return QString::number(value.toCurrency().toDouble(), 'g', 15);
    default:
        return value.toText();
    }
}

} // namespace

std::optional<Currency> numberOf(const db::Value& value, const regional::Regional& regional) {
    switch (value.kind()) {
    case db::Value::Kind::Money:
        return value.toCurrency();
    case db::Value::Kind::Integer:
    case db::Value::Kind::Real:
        try {
            return value.toCurrency();
        } catch (const std::overflow_error&) {
            return std::nullopt; // no amount of money
        }
    case db::Value::Kind::Text:
        return regional.toCurrency(value.toText());
    default:
        return std::nullopt;
    }
}

QList<TotalsLine> totalsLines(const ReportDefinition& definition, const ReportTotals& totals,
                              const regional::Regional& regional) {
    const auto money = [&](Currency c) { return regional.formatCurrency(c); };
    const QString quantity = QString::number(totals.quantity);
    switch (definition.totals) {
    case TotalsKind::None:
        return {};
    case TotalsKind::CostAndWorth: {
        const Currency paid = totals.extended[0];
        const Currency worth = totals.extended[1];
        const Currency difference = worth - paid;
        const auto text = [&](Currency c) {
            return definition.plainTextTotals ? regional.formatNumber(c.toDouble()) : money(c);
        };
        const QString label = reportText(definition.differenceLabel);
        TotalsLine sums{
            QString::fromLatin1(definition.totalsFormat),
            {reportText(QT_TRANSLATE_NOOP("Reports", "Totals")), quantity, money(paid),
             money(worth)},
            {QString(), QString(), quantity, QString(), text(paid), QString(), text(worth)},
            {{reportText(QT_TRANSLATE_NOOP("Reports", "Totals"))},
             {quantity, 2, true},
             {money(paid), 2, true},
             {money(worth), 2, true}}};
        TotalsLine minus{
            QString::fromLatin1(definition.differenceFormat),
            {label, money(difference)},
            {QString(), QString(), QString(), QString(), QString(), QString(), text(difference)},
            {{label}, {money(difference), 6, true}}};
        return {sums, minus};
    }
    case TotalsKind::Sum: {
        const qsizetype columns = qsizetype(definition.columns.size());
        QStringList cells(columns - 1);
        cells << money(totals.amount);
        return {TotalsLine{QString::fromLatin1(definition.tableFormat),
                           cells,
                           cells,
                           {{money(totals.amount), int(columns), true}}}};
    }
    case TotalsKind::StampCount: {
        const QString label = reportText(QT_TRANSLATE_NOOP("Reports", "Total Stamps"));
        return {TotalsLine{QStringLiteral("5040|>5560;"),
                           {label, quantity},
                           {QString(), QString(), QString(), QString(), QString(), quantity},
                           {{label}, {quantity, 5, true}}}};
    }
    }
    return {};
}

ReportData::ReportData(db::Database& db, const ReportDefinition& definition, std::int32_t codeId)
    : definition_(definition),
      rows_(db.openRecordSet(reportQuery(definition, codeId), db::RecordSetKind::Snapshot)) {
    fieldIndex_.fill(-1);
    bool needsQuantity = definition.totals == TotalsKind::StampCount ||
                         definition.totals == TotalsKind::CostAndWorth;
    for (std::size_t i = 0; i < definition.columns.size(); ++i) {
        const ReportColumn& c = definition.columns[i];
        if (c.kind == CellKind::Group)
            fieldIndex_[i] = indexOfField(*rows_, groupField(definition));
        else if (c.field)
            fieldIndex_[i] = indexOfField(*rows_, QString::fromLatin1(c.field));
        needsQuantity = needsQuantity || c.kind == CellKind::Extended;
    }
    if (needsQuantity)
        quantityIndex_ = indexOfField(*rows_, QStringLiteral("Quantity"));
}

ReportData::~ReportData() = default;

bool ReportData::isEmpty() const {
    return rows_->recordCount() == 0;
}

std::int64_t ReportData::rowCount() const {
    return rows_->recordCount();
}

void ReportData::writeTo(ReportSink& sink, const regional::Regional& regional) {
    const std::span<const ReportColumn> columns = definition_.columns;
    std::array<QString, 8> cells;
    ReportTotals totals;
    for (rows_->moveFirst(); !rows_->eof(); rows_->moveNext()) {
        const std::int64_t quantity =
            quantityIndex_ < 0 ? 0 : rows_->field(quantityIndex_).toInteger();
        Currency amount;
        std::size_t extended = 0;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            QString& cell = cells[i];
            switch (columns[i].kind) {
            case CellKind::Text:
            case CellKind::Group:
                cell = textOf(rows_->field(fieldIndex_[i]));
                break;
            case CellKind::FaceAmount: {
                const auto n = numberOf(rows_->field(fieldIndex_[i]), regional);
                cell = n ? regional.formatCurrency(*n) : QString();
                break;
            }
            case CellKind::Money: {
                const db::Value v = rows_->field(fieldIndex_[i]);
                if (const auto n = numberOf(v, regional))
                    cell = regional.formatCurrency(*n);
                else
                    cell = textOf(v); // a text that is no number stays as it is
                break;
            }
            case CellKind::Amount:
                amount = numberOf(rows_->field(fieldIndex_[i]), regional).value_or(Currency());
                cell = regional.formatCurrency(amount);
                break;
            case CellKind::Extended: {
                const Currency product = amount * quantity;
                if (extended < totals.extended.size())
                    totals.extended[extended] += product;
                ++extended;
                cell = regional.formatCurrency(product);
                break;
            }
            }
        }
        totals.quantity += quantity;
        totals.amount += amount;
        sink.row(std::span<const QString>(cells.data(), columns.size()));
    }
    for (const TotalsLine& line : totalsLines(definition_, totals, regional))
        sink.totals(line);
}

} // namespace perlinex::reports
