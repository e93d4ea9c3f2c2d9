#include "stats/statistics.h"

#include "db/amount.h"
#include "db/database.h"
#include "db/engine.h"
#include "db/fields.h"
#include "stats/statsqueries.h"

#include <QHash>
#include <cmath>
#include <limits>
#include <map>
#include <optional>
#include <stdexcept>
#include <utility>

namespace perlinex::stats {

void MoneySum::add(Currency value) {
    if (tooLarge)
        return;
    try {
        amount += value;
    } catch (const std::overflow_error&) {
        tooLarge = true;
    }
}

void MoneySum::add(const MoneySum& other) {
    if (other.tooLarge)
        tooLarge = true;
    else
        add(other.amount);
}

void Figures::add(const Figures& other) {
    stamps += other.stamps;
    quantity += other.quantity;
    paid.add(other.paid);
    value.add(other.value);
    asked.add(other.asked);
    willPay.add(other.willPay);
}

namespace {

// The key of a result row: a number, or none (null, or a value no key can be).
using Key = std::optional<std::int64_t>;

Key keyOf(const db::Query& st) {
    if (st.storedKind(KeyColumn) != db::StoredKind::Integer)
        return std::nullopt;
    return st.integer(KeyColumn);
}

// A sum of ten-thousandths as the store made it, from its two parts; nullopt when they are no
// whole numbers.
std::optional<MoneySum> storedSum(const db::Query& st, int column) {
    const db::StoredKind upper = st.storedKind(column);
    const db::StoredKind lower = st.storedKind(column + 1);
    if (upper == db::StoredKind::Null && lower == db::StoredKind::Null)
        return MoneySum();
    if (upper != db::StoredKind::Integer || lower != db::StoredKind::Integer)
        return std::nullopt;
    __extension__ using Int128 = __int128;
    const Int128 raw =
        Int128(st.integer(column)) * (Int128(1) << SumSplitBits) + st.integer(column + 1);
    if (raw > std::numeric_limits<std::int64_t>::max() ||
        raw < std::numeric_limits<std::int64_t>::min())
        return MoneySum{Currency(), true};
    return MoneySum{Currency::fromRaw(std::int64_t(raw)), false};
}

// The figures of one result row of an aggregate query; nullopt when the store could not add
// them exactly.
std::optional<Figures> storedFigures(const db::Query& st) {
    const double maxAmount = st.real(MaxAmountColumn);
    const double maxProduct = st.real(MaxProductColumn);
    if (st.integer(OddColumn) != 0 || !(maxAmount < ExactAmountLimit) ||
        !(maxProduct < ExactAmountLimit) ||
        st.storedKind(QuantityColumn) != db::StoredKind::Integer)
        return std::nullopt;
    Figures f;
    f.stamps = st.integer(StampsColumn);
    f.quantity = st.integer(QuantityColumn);
    const auto paid = storedSum(st, PaidColumn);
    const auto value = storedSum(st, ValueColumn);
    const auto asked = storedSum(st, AskedColumn);
    const auto willPay = storedSum(st, WillPayColumn);
    if (!paid || !value || !asked || !willPay)
        return std::nullopt;
    f.paid = *paid;
    f.value = *value;
    f.asked = *asked;
    f.willPay = *willPay;
    return f;
}

// A money field as the reports read it: a number as an amount, or as the number it is when no
// amount can hold it; a text as it stands, for the numeric test to judge.
db::Value moneyValue(const db::Query& st, int column) {
    switch (st.storedKind(column)) {
    case db::StoredKind::Integer:
    case db::StoredKind::Real:
        try {
            return db::Value(Currency::fromDouble(st.real(column)));
        } catch (const std::overflow_error&) {
            return db::Value(st.real(column));
        }
    case db::StoredKind::Text:
        return db::Value(st.text(column));
    default:
        return db::Value();
    }
}

// The quantity as the reports count it: a whole number, a number rounded, a text read as a
// whole number (0 when it is none).
std::int64_t quantityOf(const db::Query& st, int column) {
    switch (st.storedKind(column)) {
    case db::StoredKind::Integer:
        return st.integer(column);
    case db::StoredKind::Real:
        return db::Value(st.real(column)).toInteger();
    case db::StoredKind::Text:
        return db::Value(st.text(column)).toInteger();
    default:
        return 0;
    }
}

// Adds quantity times the amount of a money field, as a report's extended column does.
void addAmount(MoneySum& sum, const db::Value& value, std::int64_t factor,
               const regional::Regional& regional) {
    if (db::isTooLargeForMoney(value)) {
        sum.tooLarge = true;
        return;
    }
    try {
        sum.add(db::numberOf(value, regional).value_or(Currency()) * factor);
    } catch (const std::overflow_error&) {
        sum.tooLarge = true;
    }
}

using Totals = std::map<Key, Figures>;

// Runs an aggregate query; nullopt when a group could not be added up exactly.
std::optional<Totals> storedTotals(db::Database& db, const QString& sql) {
    const auto st = db.query(sql);
    Totals totals;
    while (st->next()) {
        const std::optional<Figures> f = storedFigures(*st);
        if (!f)
            return std::nullopt;
        totals[keyOf(*st)].add(*f);
    }
    return totals;
}

// The same figures added up here, row by row.
Totals rowTotals(db::Database& db, const QString& sql, const regional::Regional& regional) {
    const auto st = db.query(sql);
    Totals totals;
    while (st->next()) {
        const std::int64_t quantity = quantityOf(*st, 1);
        const db::Value paid = moneyValue(*st, 2);
        Figures& f = totals[keyOf(*st)];
        ++f.stamps;
        f.quantity += quantity;
        addAmount(f.paid, paid, quantity, regional);
        addAmount(f.value, moneyValue(*st, 3), quantity, regional);
        addAmount(f.asked, moneyValue(*st, 4), quantity, regional);
        addAmount(f.willPay, paid, 1, regional);
    }
    return totals;
}

} // namespace

CollectionStatistics::CollectionStatistics(db::Database& db, const regional::Regional& regional,
                                           StampFilter filter)
    : db_(db), regional_(regional), filter_(std::move(filter)) {}

namespace {

QString filterSql(const StampFilter& filter) {
    return filter.isSet() ? filter.condition : QString();
}

Totals totalsOf(db::Database& db, const QString& aggregate, const QString& rows,
                const regional::Regional& regional, bool rowByRow, bool* addedUpRowByRow) {
    *addedUpRowByRow = false;
    // The aggregate is the file's own SQL (its loose types checked); a server's stamps are
    // added up here.
    if (!rowByRow && db.storeKind() == db::StoreKind::File)
        if (std::optional<Totals> totals = storedTotals(db, aggregate))
            return *std::move(totals);
    *addedUpRowByRow = true;
    return rowTotals(db, rows, regional);
}

// The descriptions of a code table's entries, by number.
QHash<std::int64_t, QString> entryNames(db::Database& db, const char* tableName) {
    const db::CodeTable& table = *db::codeTableByName(QLatin1String(tableName));
    const auto st = db.query(QStringLiteral("SELECT %1, %2 FROM %3")
                                 .arg(QLatin1String(table.idField), QLatin1String(table.descField),
                                      QLatin1String(table.table)));
    QHash<std::int64_t, QString> names;
    while (st->next())
        names.insert(st->integer(0), st->text(1));
    return names;
}

} // namespace

Glance CollectionStatistics::glance() {
    const QString filter = filterSql(filter_);
    const Totals totals = totalsOf(db_, glanceQuery(filter), glanceRowsQuery(filter), regional_,
                                   rowByRow_, &addedUpRowByRow_);
    Glance g;
    for (const auto& [key, figures] : totals) {
        const std::int64_t parts = key.value_or(0);
        if (parts & CollectionBit)
            g.collection.add(figures);
        if (parts & WantListBit)
            g.wantList.add(figures);
        if (parts & ForSaleBit)
            g.forSale.add(figures);
        if (parts & SoldBit)
            g.sold.add(figures);
    }
    return g;
}

std::vector<Group> CollectionStatistics::groups(Breakdown breakdown) {
    const QString filter = filterSql(filter_);
    const Totals totals = totalsOf(db_, breakdownQuery(breakdown, filter),
                                   breakdownRowsQuery(breakdown, filter, db_.storeKind()),
                                   regional_, rowByRow_, &addedUpRowByRow_);
    // Only what a breakdown shows: the catalogue value, and over the years of purchase also
    // the price paid; the row by row sums of the other fields are not wanted.
    const auto shown = [breakdown](Figures f) {
        if (breakdown != Breakdown::PurchaseYear)
            f.paid = MoneySum();
        f.asked = MoneySum();
        f.willPay = MoneySum();
        return f;
    };
    const char* table = codeTableOf(breakdown);
    const QHash<std::int64_t, QString> names =
        table ? entryNames(db_, table) : QHash<std::int64_t, QString>();
    std::vector<Group> groups;
    Group unclassified;
    unclassified.unclassified = true;
    for (const auto& [key, figures] : totals) {
        // An entry that no longer exists classifies nothing.
        if (!key || (table && !names.contains(*key))) {
            unclassified.figures.add(shown(figures));
            continue;
        }
        groups.push_back(Group{*key, false, names.value(*key), shown(figures)});
    }
    if (unclassified.figures.stamps > 0)
        groups.push_back(unclassified);
    return groups;
}

} // namespace perlinex::stats
