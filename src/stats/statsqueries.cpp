#include "stats/statsqueries.h"

#include "db/fields.h"

namespace perlinex::stats {

namespace {

// A date field's year, when it holds a date as the record shows one (the first ten characters
// a real day); null otherwise. A server's dates are dates, and Year a whole number, always.
QString yearOfDate(const char* field, db::StoreKind store) {
    if (store == db::StoreKind::Server)
        return QStringLiteral("CAST(extract(year FROM %1) AS INTEGER)").arg(QLatin1String(field));
    return QStringLiteral("CASE WHEN date(substr(%1, 1, 10)) = substr(%1, 1, 10) THEN "
                          "CAST(substr(%1, 1, 4) AS INTEGER) END")
        .arg(QLatin1String(field));
}

// The decade of issue: from the issue date, or from the year where there is no date.
QString decadeKey(db::StoreKind store) {
    if (store == db::StoreKind::Server)
        return QStringLiteral("CASE WHEN issued IS NOT NULL THEN %1 / 10 * 10 WHEN Year BETWEEN 1 "
                              "AND 9999 THEN Year / 10 * 10 END")
            .arg(yearOfDate("issued", store));
    return QStringLiteral("CASE WHEN date(substr(issued, 1, 10)) = substr(issued, 1, 10) THEN "
                          "CAST(substr(issued, 1, 4) AS INTEGER) / 10 * 10 WHEN typeof(Year) = "
                          "'integer' AND Year BETWEEN 1 AND 9999 THEN Year / 10 * 10 END");
}

QString keyOf(Breakdown breakdown, db::StoreKind store) {
    if (const char* table = codeTableOf(breakdown))
        return QLatin1String(db::codeTableByName(QLatin1String(table))->idField);
    return breakdown == Breakdown::Decade ? decadeKey(store) : yearOfDate("purchased", store);
}

QString glanceKey() {
    return QStringLiteral("CASE WHEN NOT wantlist AND NOT sold THEN %1 ELSE 0 END + CASE WHEN "
                          "wantlist THEN %2 ELSE 0 END + CASE WHEN forsale THEN %3 ELSE 0 END + "
                          "CASE WHEN sold THEN %4 ELSE 0 END")
        .arg(CollectionBit)
        .arg(WantListBit)
        .arg(ForSaleBit)
        .arg(SoldBit);
}

// Which money sums a query makes.
struct Sums {
    bool paid = false;
    bool value = false;
    bool asked = false;
    bool willPay = false;
};

// An amount in ten-thousandths, rounded half away from zero as money is read.
QString raw(const char* field) {
    return QStringLiteral("CAST(round(%1 * 10000) AS INTEGER)").arg(QLatin1String(field));
}

QString where(const QStringList& conditions) {
    const QString all = allOf(conditions);
    return all.isEmpty() ? QString() : QStringLiteral(" WHERE ") + all;
}

QString aggregateQuery(const QString& key, const Sums& sums, const QStringList& conditions) {
    QStringList fields;
    if (sums.paid || sums.willPay)
        fields << QStringLiteral("pricepaid");
    if (sums.value)
        fields << QStringLiteral("catvalue");
    if (sums.asked)
        fields << QStringLiteral("priceask");
    // The upper and lower part of the sum of each stamp's amount in ten-thousandths; an
    // amount too large to add exactly counts 0 here (and makes MaxProduct say so).
    const auto parts = [](bool wanted, const QString& times, const char* field) {
        if (!wanted)
            return QStringLiteral("NULL, NULL");
        const QString amount = QStringLiteral("CASE WHEN abs(%1%2) < %3 THEN %1%4 ELSE 0 END")
                                   .arg(times, QLatin1String(field))
                                   .arg(ExactAmountLimit, 0, 'g', 3)
                                   .arg(raw(field));
        return QStringLiteral("sum(%1 >> %2), sum(%1 & %3)")
            .arg(amount)
            .arg(SumSplitBits)
            .arg((std::int64_t(1) << SumSplitBits) - 1);
    };
    const QString times = QStringLiteral("quantity * ");
    QStringList odd{QStringLiteral("typeof(quantity) <> 'integer'")};
    QStringList amounts;
    for (const QString& f : fields) {
        odd << QStringLiteral("typeof(%1) NOT IN ('integer', 'real', 'null')").arg(f);
        amounts << QStringLiteral("coalesce(abs(%1), 0)").arg(f);
    }
    const QString amount = amounts.size() == 1
                               ? amounts.front()
                               : QStringLiteral("max(%1)").arg(amounts.join(QLatin1String(", ")));
    return QStringLiteral("SELECT %1 AS k, count(*), sum(quantity), %2, %3, %4, %5, sum(%6), "
                          "max(%7), max(abs(quantity) * %7) FROM stamp%8 GROUP BY k")
        .arg(key, parts(sums.paid, times, "pricepaid"), parts(sums.value, times, "catvalue"),
             parts(sums.asked, times, "priceask"), parts(sums.willPay, QString(), "pricepaid"),
             odd.join(QLatin1String(" OR ")), amount, where(conditions));
}

QString rowsQuery(const QString& key, const QStringList& conditions) {
    return QStringLiteral("SELECT %1 AS k, quantity, pricepaid, catvalue, priceask FROM stamp%2")
        .arg(key, where(conditions));
}

} // namespace

QString partCondition(Part part) {
    switch (part) {
    case Part::Collection:
        return QStringLiteral("not wantlist and not sold");
    case Part::WantList:
        return QStringLiteral("wantlist");
    case Part::ForSale:
        return QStringLiteral("forsale");
    case Part::Sold:
        return QStringLiteral("sold");
    }
    return QString();
}

QString allOf(const QStringList& conditions) {
    QStringList parts;
    for (const QString& c : conditions)
        if (!c.trimmed().isEmpty())
            parts << QLatin1Char('(') + c + QLatin1Char(')');
    return parts.join(QLatin1String(" and "));
}

const char* codeTableOf(Breakdown breakdown) {
    switch (breakdown) {
    case Breakdown::Country:
        return "country";
    case Breakdown::Topic:
        return "topic";
    case Breakdown::Condition:
        return "Condition";
    case Breakdown::Type:
        return "type";
    case Breakdown::Decade:
    case Breakdown::PurchaseYear:
        return nullptr;
    }
    return nullptr;
}

QString groupCondition(Breakdown breakdown, const Group& group, db::StoreKind store) {
    const QString key = keyOf(breakdown, store);
    if (!group.unclassified)
        return QStringLiteral("%1 = %2").arg(key).arg(group.key);
    if (const char* table = codeTableOf(breakdown))
        return QStringLiteral("%1 is null or %1 not in (select %1 from %2)")
            .arg(key, QLatin1String(table));
    return QStringLiteral("%1 is null").arg(key);
}

QString groupsCondition(Breakdown breakdown, const std::vector<const Group*>& groups,
                        db::StoreKind store) {
    QStringList keys;
    QStringList conditions;
    for (const Group* g : groups) {
        if (g->unclassified)
            conditions << groupCondition(breakdown, *g, store);
        else
            keys << QString::number(g->key);
    }
    if (!keys.isEmpty())
        conditions.prepend(QStringLiteral("%1 in (%2)")
                               .arg(keyOf(breakdown, store), keys.join(QLatin1String(", "))));
    if (conditions.size() == 1)
        return conditions.front();
    QStringList bracketed;
    for (const QString& c : conditions)
        bracketed << QLatin1Char('(') + c + QLatin1Char(')');
    return bracketed.join(QLatin1String(" or "));
}

QString glanceQuery(const QString& filterSql) {
    return aggregateQuery(glanceKey(), Sums{true, true, true, true}, {filterSql});
}

QString breakdownQuery(Breakdown breakdown, const QString& filterSql) {
    const bool years = breakdown == Breakdown::PurchaseYear;
    return aggregateQuery(keyOf(breakdown, db::StoreKind::File), Sums{years, true, false, false},
                          {partCondition(Part::Collection), filterSql});
}

QString glanceRowsQuery(const QString& filterSql) {
    return rowsQuery(glanceKey(), {filterSql});
}

QString breakdownRowsQuery(Breakdown breakdown, const QString& filterSql, db::StoreKind store) {
    return rowsQuery(keyOf(breakdown, store), {partCondition(Part::Collection), filterSql});
}

} // namespace perlinex::stats
