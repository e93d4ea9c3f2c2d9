#pragma once

#include "db/fields.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace perlinex::db {
class Database;
}

// The orders of the collection and the columns of its list, as the store reads them.
namespace perlinex::browse {

// The orders of the Sort menu, numbered as its items.
enum class SortKey { Description = 1, Catalogue = 2, Issued = 3 };

// One column of the collection list: a stamp field, read as its SQL expression (a code
// reference reads its entry's description).
struct ListColumn {
    const db::StampField* field;
    QString expression;
    QString join; // the code table it needs, or empty
};

// The list's columns, from the field table.
const std::vector<ListColumn>& listColumns();
// The column of a field, by its name or its caption without regard to case; -1 for none.
int listColumnNamed(const QString& name);

// The order the collection is browsed in: a sort key of the Sort menu, or a column of the
// list, up or down. Stamps that sort alike keep the order of their numbers.
struct StampOrder {
    SortKey key = SortKey::Description;
    int column = -1; // a list column, or -1 for the sort key
    bool descending = false;

    static StampOrder of(SortKey key) { return StampOrder{key, -1, false}; }
    static StampOrder ofColumn(int column, bool descending = false) {
        return StampOrder{SortKey::Description, column, descending};
    }
    bool byColumn() const { return column >= 0; }
    // What a click on a column's heading gives: that column up, or this column reversed.
    StampOrder clicked(int column) const;
    bool operator==(const StampOrder&) const = default;
};

// "description", "catalog" or "issued", or a column's field name or caption ("-" before it
// for downwards); nullopt for anything else.
std::optional<StampOrder> parseOrder(const QString& text);

// The numbers of every stamp in the order.
std::vector<std::int64_t> orderedStamps(db::Database& db, const StampOrder& order);

// The ORDER BY of the order over table stamp by its own name, with no join (a code column
// sorts by its entry's description read alongside), for the store's other readers of the
// listed stamps: the CSV export, the find.
QString orderClause(const StampOrder& order);

// The query of one stamp's list columns by its number ("?").
QString listRowQuery();

} // namespace perlinex::browse
