#pragma once

#include "db/database.h"
#include "db/fields.h"

#include <QString>
#include <QStringList>
#include <memory>

// The collection's tables, their creation, and the checks and upgrades made when a
// collection is opened.
namespace perlinex::db {

// The schema version this program writes; older collections are upgraded when opened.
// Version 2 added the stamps' folded search text (searchtext.h).
inline constexpr int SchemaVersion = 2;

inline constexpr const char* CollectionFileName = "stamp.mdb";
inline constexpr const char* CatalogueFileName = "rptspec.mdb";
inline constexpr const char* CompactTargetFileName = "stampnew.mdb";
inline constexpr const char* CompactBackupFileName = "stampdb.bak";

// The sort key kept in catsort: the digits of the catalogue number's part before the first
// "-", right-aligned to 20 characters (or the first 20 digits, unpadded, when the whole
// number is longer than 20 characters).
QString CatSortKey(const QString& catalogueNumber);

// Makes the ten tables of a collection in an empty database, with the starter vocabularies
// when withVocabulary is set.
void fillNewCollection(Database& db, bool withVocabulary);

// Creates a new, empty collection with its ten tables; when withVocabulary is set the nine
// code tables get the starter vocabularies. Throws when the file already exists.
std::unique_ptr<Database> createCollection(const QString& path, bool withVocabulary = true);

// When the engine's quick check of a collection's structure runs: as it is opened, or later,
// by the caller, once the first record is on screen (the check reads the whole file).
enum class StructureCheck { AtOpen, Deferred };

// Opens the collection for this program alone, checks it is one (every table and field in
// place), and upgrades an older schema inside one transaction, after a copy of the file as it
// was is kept beside it as stamp-before-upgrade-<date>-<time>.mdb. A damaged file is reported
// as error 3049; a schema version that is not a whole number from 1 to SchemaVersion (a newer
// one, or one no Perlinex wrote) as 3344, and the file is left byte for byte as it was. Opened
// with OpenMode::ReadOnly (a collection that cannot be changed), nothing is written: an older
// schema is read as it is.
std::unique_ptr<Database> openCollection(const QString& path,
                                         StructureCheck check = StructureCheck::AtOpen,
                                         OpenMode mode = OpenMode::Exclusive);

// The problems that keep a database from being a usable collection: missing tables or
// fields, or a schema version this program does not know. Empty when it is whole.
QStringList collectionProblems(Database& db);

// The engine's own check of the file, quick (structure) or full (also every index against its
// table): its findings, "ok" alone when the file is whole. Values that break a field's rule
// (text in a number field, written by another program) are not damage to the file and are
// not reported.
enum class EngineCheck { Quick, Full };
QStringList engineCheck(Database& db, EngineCheck depth);

// True when the engine's quick check of the file's structure passes.
bool quickCheck(Database& db, QString* detail = nullptr);

// The starter vocabulary of a code table, read from the program's data.
QStringList starterVocabulary(const QString& table);

} // namespace perlinex::db
