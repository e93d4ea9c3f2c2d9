#pragma once

#include <QString>

// The collection's tables on a server: a schema of their own per collection, and the hidden
// columns the server keeps beside the program's fields.
namespace perlinex::db {
class Database;
}

namespace perlinex::db::pg {

// The hidden column that holds the sort key of a text column the program orders by.
QString sortKeyColumnOf(const QString& column);
// True for a text column of the collection that has a sort key (the stamp's texts, the code
// tables' descriptions), by its name in any case.
bool hasSortKey(const QString& column);
// The condition that the stamp row named alias holds word, a folded filter word, in one of
// its searched texts. A text's sort key begins with the text folded as a filter word is, and
// its second part (accents kept) holds a word of plain letters only where the first part does,
// so the keys the server keeps serve the filter too.
QString searchTextHolds(const QString& alias, const QString& word);

// The channel on which the server tells every desk which of a collection's tables changed; a
// notice says "SCHEMA.TABLE".
inline constexpr const char* ChangeChannel = "perlinex_changes";

// The hidden column that counts a row's changes.
inline constexpr const char* RowVersionColumn = "rowversion";

// Makes the collection's tables, indexes and meta row in the current schema of an empty
// collection; the code tables get their starter vocabularies when withVocabulary is set.
void fillServerCollection(Database& db, bool withVocabulary);

// Makes again, in their present form, the indexes of the stamps' Sort-menu orders that a
// collection made before keeps in an older one (where the server sorted every list it read).
void renewOrderIndexes(Database& db);

} // namespace perlinex::db::pg
