#pragma once

#include "db/database.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
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

// The collection's field catalogue (the table RptSpec), on a connection of its own; nullptr
// for a collection made before the catalogue was kept on the server.
std::unique_ptr<Database> openServerCatalogue(const QString& uri, const QString& collection);

// The server's own upkeep of a collection, for "Pack" on a shared one: its tables vacuumed
// (the room of deleted and changed rows made reusable) and their statistics gathered anew.
// Other desks go on working meanwhile.
void packServerCollection(Database& db);

// Puts a collection made as createServerCollection makes one (fill stores what it holds) in
// the place of an existing one, whole or not at all: it is made under a name of its own, then
// takes the old one's name in one transaction, and the old one goes. Desks that have the
// collection open read the new one from their next question on. Throws DbError: 3343 when
// there is no such collection to replace.
void replaceServerCollection(const QString& uri, const QString& collection,
                             const std::function<void(Database&)>& fill);

// Removes a collection and everything in it from the server; nothing when there is none.
void dropServerCollection(const QString& uri, const QString& collection);

// What other desks store to a shared collection, as the server tells it: the tables they
// changed (a stamp stored or deleted, a picture, a code entry), so that a desk reads them
// again. Each change is told once its transaction is committed.
class ServerChanges {
public:
    // Listens, on a connection of its own, for changes to the collection stored by any
    // connection but db's (whose own stores its window shows already). Throws DbError.
    ServerChanges(const QString& uri, const QString& collection, Database& db);
    ~ServerChanges();
    ServerChanges(const ServerChanges&) = delete;
    ServerChanges& operator=(const ServerChanges&) = delete;

    // The socket to watch: it becomes readable when the server has something to tell.
    int socket() const;
    // The tables changed since last asked, in lower case, each once; what the socket holds is
    // read first. Empty when the connection was lost.
    QStringList takeChangedTables();

private:
    struct State;
    std::unique_ptr<State> state_;
};

namespace pg {
// The libpq connection string for a server as the user names it. Throws DbError when it
// carries a password, or is no connection string at all.
QByteArray connectionString(const QString& server);
} // namespace pg

} // namespace perlinex::db
