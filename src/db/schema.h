#pragma once

#include "db/database.h"
#include "db/fields.h"

#include <QString>
#include <QStringList>

// What every store's collection holds, whatever the engine: its schema version, the
// catalogue sort key and the code tables' starter vocabularies.
namespace perlinex::db {

// The schema version this program writes; older collections are upgraded when opened.
// Version 2 added the stamps' folded search text (searchtext.h).
inline constexpr int SchemaVersion = 2;

// The sort key kept in catsort: the digits of the catalogue number's part before the first
// "-", right-aligned to 20 characters (or the first 20 digits, unpadded, when the whole
// number is longer than 20 characters).
QString CatSortKey(const QString& catalogueNumber);

// The starter vocabulary of a code table, read from the program's data.
QStringList starterVocabulary(const QString& table);

// Fills the nine code tables of a new collection with their starter vocabularies.
void fillVocabularies(Database& db);

// The column names the program knows for a table of the collection (the stamps', a code
// table's), without regard to case; empty for a name that is no table of the collection.
QStringList knownFieldsOf(const QString& table);

} // namespace perlinex::db
