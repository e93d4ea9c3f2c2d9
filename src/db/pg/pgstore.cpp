#include "db/pg/pgstore.h"

#include "db/dberror.h"
#include "db/pg/pgcall.h"
#include "db/pg/pgengine.h"
#include "db/pg/pgschema.h"
#include "db/sqlshape.h"

#include "util/translation.h"

#include <QUuid>
#include <libpq-fe.h>

namespace perlinex::db {

namespace pg {

namespace {

bool isUri(const QString& s) {
    return s.startsWith(QLatin1String("postgresql://")) ||
           s.startsWith(QLatin1String("postgres://"));
}

struct Connection {
    PGconn* conn = nullptr;
    ~Connection() {
        if (conn)
            PQfinish(conn);
    }
    PGconn* release() { return std::exchange(conn, nullptr); }
};

// A row lock another desk holds is waited for only briefly before the locked-row error. The
// lock-retry loop tries a hundred times before it asks the user, so a try waits 50 ms: the
// question comes after some five seconds, not minutes.
void waitBrieflyForLocks(PGconn* conn) {
    detail::exec(conn, QStringLiteral("SET lock_timeout = '50ms'"));
}

// A connection to the server, set up as the store reads and writes: UTF-8, ISO dates, and
// locks waited for briefly.
void connect(Connection& c, const QString& server) {
    const QByteArray info = connectionString(server);
    c.conn = PQconnectdb(info.constData());
    if (!c.conn || PQstatus(c.conn) != CONNECTION_OK)
        throw DbError(err::ServerUnreachable, detail::connectionProblem(c.conn));
    PQsetClientEncoding(c.conn, "UTF8");
    // The like patterns' expressions hold backslashes that must stay as they are.
    detail::exec(c.conn, QStringLiteral("SET DateStyle = ISO; SET standard_conforming_strings = "
                                        "on; SET client_min_messages = warning"));
    waitBrieflyForLocks(c.conn);
}

// Making or removing a whole collection waits as long as the server needs to let go of what
// desks that just closed held: it is asked for rarely, and never in a loop that retries.
void waitForLocksAsNeeded(PGconn* conn) {
    detail::exec(conn, QStringLiteral("SET lock_timeout = '30s'"));
}

bool collectionExists(PGconn* conn, const QString& collection) {
    const auto r = detail::query(
        conn,
        QStringLiteral("SELECT 1 FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace "
                       "WHERE n.nspname = $1 AND c.relname = 'stamp'"),
        {collection.toUtf8()});
    return PQntuples(r.get()) > 0;
}

void useSchema(PGconn* conn, const QString& collection) {
    detail::exec(conn, QStringLiteral("SET search_path TO %1").arg(quotedName(collection)));
}

QString pathOf(const QString& uri, const QString& collection) {
    return QStringLiteral("%1 on %2").arg(collection, uri);
}

void requireName(const QString& collection) {
    if (collection.trimmed().isEmpty() || collection.contains(QChar(0)) ||
        collection.toUtf8().size() > 63)
        throw DbError(err::InvalidPath,
                      translate("ServerStore",
                                "'%1' is no name for a collection on a server: it takes 1 to 63 "
                                "bytes.")
                          .arg(collection));
}

} // namespace

QByteArray connectionString(const QString& server) {
    const QString s = server.trimmed();
    // A plain word names a service of the user's service file.
    const QByteArray info =
        isUri(s) || s.contains(QLatin1Char('=')) ? s.toUtf8() : QByteArray("service=") + s.toUtf8();
    char* why = nullptr;
    PQconninfoOption* options = PQconninfoParse(info.constData(), &why);
    if (!options) {
        const QString reason =
            why ? QString::fromUtf8(why).trimmed() : QStringLiteral("out of memory");
        PQfreemem(why);
        throw DbError(err::InvalidPath,
                      translate("ServerStore", "'%1' names no server: %2").arg(server, reason));
    }
    bool password = false;
    for (PQconninfoOption* o = options; o->keyword; ++o)
        if (qstrcmp(o->keyword, "password") == 0 && o->val && *o->val)
            password = true;
    PQconninfoFree(options);
    if (password)
        throw DbError(err::InvalidPath,
                      translate("ServerStore",
                                "The server's address carries a password. A password belongs in "
                                "~/.pgpass or in the service file, never in the address or on "
                                "the command line."));
    return info;
}

} // namespace pg

ServerAddress parseServerAddress(const QString& text) {
    const QString s = text.trimmed();
    const qsizetype hash = s.lastIndexOf(QLatin1Char('#'));
    if (hash < 0)
        return {s, QString::fromLatin1(DefaultServerCollection)};
    return {s.left(hash), s.mid(hash + 1)};
}

std::unique_ptr<Database> openServerDatabase(const QString& uri, const QString& collection) {
    pg::requireName(collection);
    pg::Connection c;
    pg::connect(c, uri);
    if (!pg::collectionExists(c.conn, collection))
        throw DbError(
            err::NotACollection,
            translate("ServerStore", "The server holds no collection named '%1'.").arg(collection));
    pg::useSchema(c.conn, collection);
    return std::make_unique<Database>(std::make_unique<pg::PgEngine>(c.release()),
                                      pg::pathOf(uri, collection), OpenMode::Shared);
}

std::unique_ptr<Database> createServerCollection(const QString& uri, const QString& collection,
                                                 bool withVocabulary,
                                                 const std::function<void(Database&)>& fill) {
    pg::requireName(collection);
    pg::Connection c;
    pg::connect(c, uri);
    if (pg::collectionExists(c.conn, collection))
        throw DbError(err::CannotOpen,
                      translate("ServerStore",
                                "The server already holds a collection named '%1'; it has been "
                                "left as it is.")
                          .arg(collection));
    // Made inside one transaction: a collection half made never carries the name.
    pg::waitForLocksAsNeeded(c.conn);
    pg::detail::exec(c.conn, QStringLiteral("BEGIN; CREATE SCHEMA %1").arg(quotedName(collection)));
    pg::useSchema(c.conn, collection);
    auto db = std::make_unique<Database>(std::make_unique<pg::PgEngine>(c.release()),
                                         pg::pathOf(uri, collection), OpenMode::Shared);
    try {
        pg::fillServerCollection(*db, withVocabulary);
        if (fill)
            fill(*db);
        db->engine().commit();
    } catch (...) {
        db->engine().rollback();
        throw;
    }
    pg::waitBrieflyForLocks(static_cast<pg::PgEngine&>(db->engine()).handle());
    return db;
}

struct ServerChanges::State {
    pg::Connection listener;
    int ignoredPid = 0;
    QString schema;
};

ServerChanges::ServerChanges(const QString& uri, const QString& collection, Database& db)
    : state_(std::make_unique<State>()) {
    pg::connect(state_->listener, uri);
    state_->schema = collection;
    state_->ignoredPid = PQbackendPID(static_cast<pg::PgEngine&>(db.engine()).handle());
    pg::detail::exec(state_->listener.conn,
                     QStringLiteral("LISTEN %1").arg(QLatin1String(pg::ChangeChannel)));
}

ServerChanges::~ServerChanges() = default;

int ServerChanges::socket() const {
    return PQsocket(state_->listener.conn);
}

QStringList ServerChanges::takeChangedTables() {
    PGconn* conn = state_->listener.conn;
    QStringList tables;
    if (!PQconsumeInput(conn))
        return tables;
    const QString prefix = state_->schema + QLatin1Char('.');
    while (PGnotify* n = PQnotifies(conn)) {
        const QString payload = QString::fromUtf8(n->extra);
        if (n->be_pid != state_->ignoredPid && payload.startsWith(prefix)) {
            const QString table = payload.mid(prefix.size()).toLower();
            if (!tables.contains(table))
                tables << table;
        }
        PQfreemem(n);
    }
    return tables;
}

std::unique_ptr<Database> openServerCatalogue(const QString& uri, const QString& collection) {
    auto db = openServerDatabase(uri, collection);
    if (db->engine().tableName(QStringLiteral("rptspec")).isEmpty())
        return nullptr;
    return db;
}

void packServerCollection(Database& db) {
    const auto tables = db.query(QStringLiteral(
        "SELECT tablename FROM pg_tables WHERE schemaname = current_schema() ORDER BY 1"));
    tables->run();
    QStringList names;
    while (tables->next())
        names << tables->text(0);
    tables->finish();
    // Not in a transaction: the server vacuums each table by itself, waiting for its own
    // upkeep of a table to end rather than failing at once.
    PGconn* conn = static_cast<pg::PgEngine&>(db.engine()).handle();
    pg::waitForLocksAsNeeded(conn);
    try {
        pg::renewOrderIndexes(db);
        for (const QString& t : names)
            db.engine().exec(QStringLiteral("VACUUM (ANALYZE) %1").arg(quotedName(t)));
    } catch (...) {
        // The desk goes on with the collection: its rows are waited for briefly again.
        pg::waitBrieflyForLocks(conn);
        throw;
    }
    pg::waitBrieflyForLocks(conn);
}

void replaceServerCollection(const QString& uri, const QString& collection,
                             const std::function<void(Database&)>& fill) {
    openServerDatabase(uri, collection)->close(); // there is one to replace
    const QString tag = QUuid::createUuid().toString(QUuid::Id128).left(16);
    const QString staged = QStringLiteral("perlinex_new_") + tag;
    const QString replaced = QStringLiteral("perlinex_old_") + tag;
    createServerCollection(uri, staged, false, fill)->close();
    try {
        pg::Connection c;
        pg::connect(c, uri);
        pg::waitForLocksAsNeeded(c.conn);
        pg::detail::exec(
            c.conn, QStringLiteral("BEGIN; ALTER SCHEMA %1 RENAME TO %2; ALTER SCHEMA "
                                   "%3 RENAME TO %1; DROP SCHEMA %2 CASCADE; COMMIT")
                        .arg(quotedName(collection), quotedName(replaced), quotedName(staged)));
    } catch (...) {
        dropServerCollection(uri, staged);
        throw;
    }
}

void dropServerCollection(const QString& uri, const QString& collection) {
    pg::requireName(collection);
    pg::Connection c;
    pg::connect(c, uri);
    pg::waitForLocksAsNeeded(c.conn);
    pg::detail::exec(
        c.conn, QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE").arg(quotedName(collection)));
}

} // namespace perlinex::db
