#pragma once

#include "db/storekind.h"
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
// A server keeps its dates as dates: store says which store's values the condition reads.
QString groupCondition(Breakdown breakdown, const Group& group,
                       db::StoreKind store = db::StoreKind::File);
QString groupsCondition(Breakdown breakdown, const std::vector<const Group*>& groups,
                        db::StoreKind store = db::StoreKind::File);

// The code table a breakdown follows; nullptr for the decades and the purchase years.
const char* codeTableOf(Breakdown breakdown);

// The columns of every aggregate query, in order. A sum of money comes in two parts, the sums
// of its ten-thousandths above and below SumSplitBits, so that no number of rows can make the
// store's sum overflow; amounts it cannot add exactly are left out of them, and the last three
// columns tell that a group had some.
enum Column {
    KeyColumn,
    StampsColumn,
    QuantityColumn,
    PaidColumn, // and its lower part in the column after it
    ValueColumn = PaidColumn + 2,
    AskedColumn = ValueColumn + 2,
    WillPayColumn = AskedColumn + 2,
    OddColumn = WillPayColumn + 2, // rows whose values the store cannot add exactly
    MaxAmountColumn,               // the largest amount of any money field the query adds
    MaxProductColumn,              // the largest quantity times such an amount
};
inline constexpr int SumSplitBits = 26;
// The largest amount (and quantity times amount) the store adds: below 2^52 ten-thousandths,
// where the engine's rounding and money's agree.
inline constexpr double ExactAmountLimit = 4e11;

// The queries, over the stamps that filterSql (already in the engine's SQL) selects, or every
// stamp when it is empty. The glance groups by a number made of the parts a stamp is in
// (8 collection, 4 want list, 2 for sale, 1 sold).
QString glanceQuery(const QString& filterSql);
QString breakdownQuery(Breakdown breakdown, const QString& filterSql);
// The rows a query adds up, for adding them up here: the key, quantity, pricepaid, catvalue
// and priceask of each stamp.
QString glanceRowsQuery(const QString& filterSql);
QString breakdownRowsQuery(Breakdown breakdown, const QString& filterSql,
                           db::StoreKind store = db::StoreKind::File);

inline constexpr int CollectionBit = 8;
inline constexpr int WantListBit = 4;
inline constexpr int ForSaleBit = 2;
inline constexpr int SoldBit = 1;

} // namespace perlinex::stats
