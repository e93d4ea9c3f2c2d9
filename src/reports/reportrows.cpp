#include "reports/reportrows.h"

#include "db/database.h"
#include "db/dberror.h"
#include "db/engine.h"
#include "db/value.h"
#include "regional/regional.h"
#include "reports/moneyformat.h"
#include "util/translation.h"

#include <stdexcept>

namespace perlinex::reports {

namespace {

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

// Rows ------------------------------------------------------------------------------------

RowCursor::RowCursor(db::Database& db, const QString& sql) : rows_(db.query(sql)) {
    const int n = rows_->columnCount();
    kinds_.resize(std::size_t(n));
    for (int i = 0; i < n; ++i)
        kinds_[std::size_t(i)] = std::uint8_t(rows_->declaredKind(i));
    next();
}

RowCursor::~RowCursor() = default;

void RowCursor::next() {
    atEnd_ = !rows_->next();
}

int RowCursor::fieldIndex(const QString& name) const {
    for (int i = 0; i < int(kinds_.size()); ++i)
        if (rows_->columnName(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    throw db::DbError(db::err::FieldMissing,
                      translate("Reports", "Item '%1' not found in this collection.").arg(name));
}

QString RowCursor::text(int index) const {
    // Bytes that are no value of the program's show as nothing, as in the record.
    const db::StoredKind stored = rows_->storedKind(index);
    if (stored == db::StoredKind::Null || stored == db::StoredKind::Blob)
        return QString();
    if (kinds_[std::size_t(index)] == std::uint8_t(db::Value::Kind::Money))
        return textOf(value(index));
    const QByteArrayView utf8 = rows_->utf8(index);
    return QString::fromUtf8(utf8.data(), utf8.size());
}

std::int64_t RowCursor::integer(int index) const {
    return value(index).toInteger();
}

db::Value RowCursor::value(int index) const {
    const auto kind = db::Value::Kind(kinds_[std::size_t(index)]);
    const db::StoredKind stored = rows_->storedKind(index);
    switch (stored) {
    case db::StoredKind::Null:
    case db::StoredKind::Blob:
        return db::Value();
    case db::StoredKind::Integer:
    case db::StoredKind::Real:
        if (kind == db::Value::Kind::Money) {
            try {
                return db::Value(Currency::fromDouble(rows_->real(index)));
            } catch (const std::overflow_error&) {
                return db::Value(rows_->real(index)); // more than money holds
            }
        }
        if (kind == db::Value::Kind::Bool)
            return db::Value(rows_->integer(index) != 0);
        if (stored == db::StoredKind::Integer)
            return db::Value(rows_->integer(index));
        return db::Value(rows_->real(index));
    case db::StoredKind::Text:
        if (kind == db::Value::Kind::Date)
            return rows_->value(index);
        return db::Value(rows_->text(index));
    }
    return db::Value();
}

// Reports ---------------------------------------------------------------------------------

ReportData::ReportData(db::Database& db, const ReportDefinition& definition, std::int32_t codeId)
    : definition_(definition), rows_(db, reportQuery(definition, codeId)) {
    empty_ = rows_.atEnd();
    fieldIndex_.fill(-1);
    bool needsQuantity = definition.totals == TotalsKind::StampCount ||
                         definition.totals == TotalsKind::CostAndWorth;
    for (std::size_t i = 0; i < definition.columns.size(); ++i) {
        const ReportColumn& c = definition.columns[i];
        if (c.kind == CellKind::Group)
            fieldIndex_[i] = rows_.fieldIndex(groupField(definition));
        else if (c.field)
            fieldIndex_[i] = rows_.fieldIndex(QString::fromLatin1(c.field));
        needsQuantity = needsQuantity || c.kind == CellKind::Extended;
    }
    if (needsQuantity)
        quantityIndex_ = rows_.fieldIndex(QStringLiteral("Quantity"));
}

ReportData::~ReportData() = default;

std::int64_t ReportData::writeTo(ReportSink& sink, const regional::Regional& regional) {
    const std::span<const ReportColumn> columns = definition_.columns;
    const MoneyFormat money(regional);
    const QString tooLarge = regional::tooLargeForMoney();
    std::array<QString, 8> cells;
    ReportTotals totals;
    // A number no money can hold shows as such; the sums that would include it cannot be made.
    bool amountSumTooLarge = false;
    bool extendedSumTooLarge = false;
    std::int64_t count = 0;
    for (; !rows_.atEnd(); rows_.next(), ++count) {
        const std::int64_t quantity = quantityIndex_ < 0 ? 0 : rows_.integer(quantityIndex_);
        Currency amount;
        bool amountTooLarge = false;
        std::size_t extended = 0;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            QString& cell = cells[i];
            const int field = fieldIndex_[i];
            switch (columns[i].kind) {
            case CellKind::Text:
            case CellKind::Group:
                cell = rows_.text(field);
                break;
            case CellKind::FaceAmount: {
                const db::Value v = rows_.value(field);
                const auto n = numberOf(v, regional);
                cell = n ? money.format(*n) : isTooLargeForMoney(v) ? tooLarge : QString();
                break;
            }
            case CellKind::Money: {
                const db::Value v = rows_.value(field);
                if (const auto n = numberOf(v, regional))
                    cell = money.format(*n);
                else // a text that is no number stays as it is
                    cell = isTooLargeForMoney(v) ? tooLarge : textOf(v);
                break;
            }
            case CellKind::Amount: {
                const db::Value v = rows_.value(field);
                amount = numberOf(v, regional).value_or(Currency());
                amountTooLarge = isTooLargeForMoney(v);
                cell = amountTooLarge ? tooLarge : money.format(amount);
                break;
            }
            case CellKind::Extended: {
                if (amountTooLarge) {
                    extendedSumTooLarge = extendedSumTooLarge || extended < totals.extended.size();
                    ++extended;
                    cell = tooLarge;
                    break;
                }
                const Currency product = amount * quantity;
                if (extended < totals.extended.size())
                    totals.extended[extended] += product;
                ++extended;
                cell = money.format(product);
                break;
            }
            }
        }
        totals.quantity += quantity;
        totals.amount += amount;
        amountSumTooLarge = amountSumTooLarge || amountTooLarge;
        sink.row(std::span<const QString>(cells.data(), columns.size()));
    }
    if ((definition_.totals == TotalsKind::Sum && amountSumTooLarge) ||
        (definition_.totals == TotalsKind::CostAndWorth && extendedSumTooLarge))
        throw std::overflow_error("a report total includes an amount money cannot hold");
    for (const TotalsLine& line : totalsLines(definition_, totals, regional))
        sink.totals(line);
    return count;
}

} // namespace perlinex::reports
