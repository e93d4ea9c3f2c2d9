#pragma once

#include "db/database.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>

// Collections on a PostgreSQL server: each one a schema of its own, so that one server holds
// several. The server is named by a postgresql:// URI, a libpq "key=value" string or the name
// of a service in the user's service file; a password belongs in ~/.pgpass or that file, never
// in the name.
namespace perlinex::db {

// A shared collection as the user names it: the server (a postgresql:// URI, a connection
// string or a service name) and, after its last "#", the collection; DefaultServerCollection
// when it names none.
struct ServerAddress {
    QString server;
    QString collection;
};
inline constexpr const char* DefaultServerCollection = "stamps";
ServerAddress parseServerAddress(const QString& text);

// Opens the collection for a desk among others: no exclusive hold. Throws DbError: 3151 when
// the server cannot be reached, 3343 when it holds no such collection.
std::unique_ptr<Database> openServerDatabase(const QString& uri, const QString& collection);

// Makes a new collection on the server, whole or not at all: its schema, the stamps' table,
// the nine code tables (with their starter vocabularies when withVocabulary is set) and the
// pictures' table, then what fill stores in it, in the same transaction. Throws when the
// collection already exists.
std::unique_ptr<Database> createServerCollection(const QString& uri, const QString& collection,
                                                 bool withVocabulary = true,
                                                 const std::function<void(Database&)>& fill = {});

// The server's own upkeep of a collection, for "Pack" on a shared one: its tables vacuumed
// (the room of deleted and changed rows made reusable) and their statistics gathered anew.
// Other desks go on working meanwhile.
void packServerCollection(Database& db);

// Removes a collection and everything in it from the server; nothing when there is none.
void dropServerCollection(const QString& uri, const QString& collection);

namespace pg {
// The libpq connection string for a server as the user names it. Throws DbError when it
// carries a password, or is no connection string at all.
QByteArray connectionString(const QString& server);
} // namespace pg

} // namespace perlinex::db
