#pragma once

#include "db/database.h"

#include <QString>
#include <functional>
#include <memory>

struct sqlite3;

// Databases in SQLite files: the collection, the field catalogue and the files that
// compaction, backup and repair make beside them.
namespace perlinex::db {

// Opens an existing file. Throws DbError: 3044 missing folder, 3024 missing file, 3343 a file
// that is not a database (its text says what it is), 3049 a damaged file, 3045 a file in use
// by another program, 3051 a file that cannot be opened for writing.
std::unique_ptr<Database> openDatabaseFile(const QString& path, OpenMode mode);
// Creates a new, empty database file; throws when the file already exists.
std::unique_ptr<Database> createDatabase(const QString& path);
// A new, empty database that lives in memory only, gone when closed.
std::unique_ptr<Database> createDatabaseInMemory();

// Why the database file at path (or a new one there, when it is missing) cannot be changed by
// this program: "the file is read-only" or "its folder '...' is read-only". Empty when it can.
QString whyReadOnly(const QString& path);

// Makes a new database file filled by fill in one transaction. It is built under a temporary
// name and renamed into place only when whole, so a half-made file never carries the name.
// Throws when the file already exists or anything fails (leaving nothing behind).
void createDatabaseFile(const QString& path, const std::function<void(Database&)>& fill);

// The connection under a database in a SQLite file, for the file's own maintenance code.
// Throws 91 when it is closed, and 3251 when the database is no SQLite file.
sqlite3* handleOf(const Database& db);

} // namespace perlinex::db
