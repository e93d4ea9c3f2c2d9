#pragma once

#include "stats/statistics.h"

#include <QString>
#include <QStringList>
#include <vector>

// The aggregate queries of the statistics and the conditions that pick out their groups.
// The queries are the engine's own SQL, which the sqlite3 tool runs as they are (the
// benchmark does); the conditions are in the program's dialect, for the collection list.
namespace perlinex::stats {

// The parts of the glance.
enum class Part { Collection, WantList, ForSale, Sold };

// The stamps of a part, as its report chooses them: "not wantlist and not sold", "wantlist"...
QString partCondition(Part part);

// Every condition that holds, each in brackets: "(a) and (b)"; empty ones left out.
QString allOf(const QStringList& conditions);

// The stamps of one group of a breakdown, and of several (the view's "Other").
QString groupCondition(Breakdown breakdown, const Group& group);
QString groupsCondition(Breakdown breakdown, const std::vector<const Group*>& groups);

// The code table a breakdown follows; nullptr for the decades and the purchase years.
const char* codeTableOf(Breakdown breakdown);

// The columns of every aggregate query, in order.
enum Column {
    KeyColumn,
    StampsColumn,
    QuantityColumn,
    PaidColumn,
    ValueColumn,
    AskedColumn,
    WillPayColumn,
    OddColumn,        // rows whose values the store cannot add exactly
    MaxAmountColumn,  // the largest amount of any money field the query adds
    MaxProductColumn, // the largest quantity times such an amount
};

// The queries, over the stamps that filterSql (already in the engine's SQL) selects, or every
// stamp when it is empty. The glance groups by a number made of the parts a stamp is in
// (8 collection, 4 want list, 2 for sale, 1 sold).
QString glanceQuery(const QString& filterSql);
QString breakdownQuery(Breakdown breakdown, const QString& filterSql);
// The rows a query adds up, for adding them up here: the key, quantity, pricepaid, catvalue
// and priceask of each stamp.
QString glanceRowsQuery(const QString& filterSql);
QString breakdownRowsQuery(Breakdown breakdown, const QString& filterSql);

inline constexpr int CollectionBit = 8;
inline constexpr int WantListBit = 4;
inline constexpr int ForSaleBit = 2;
inline constexpr int SoldBit = 1;

} // namespace perlinex::stats
