#pragma once

#include "db/storekind.h"
#include "db/value.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

namespace perlinex::db {

class Cursor;
class Engine;
class RecordSet;
class RowWriter;
enum class StoredKind;

namespace detail {
struct Connection;
} // namespace detail

// A statement prepared once and run many times with new values, for bulk work such as
// filling a generated collection. An insert into a table whose texts the store keeps sort
// keys of gets them too.
class Command {
public:
    ~Command();
    Command(const Command&) = delete;
    Command& operator=(const Command&) = delete;
    // Runs the statement with values bound to its "?" in order.
    void run(const std::vector<Value>& values);

private:
    friend class Database;
    struct Derived {
        int source; // the value the key is made of
    };
    Command(std::unique_ptr<Cursor> cursor, std::vector<Derived> derived);
    std::unique_ptr<Cursor> cursor_;
    std::vector<Derived> derived_;
};

// A query prepared once and run many times with new values, its rows read one at a time, for
// readers that walk rows forward (reports, exports) or fetch rows by key on demand. It must
// not outlive its database.
class Query {
public:
    ~Query();
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;
    // Starts the query afresh with values bound to its "?" in order.
    void run(const std::vector<Value>& values = {});
    // Moves to the next row; false after the last.
    bool next();
    int columnCount() const;
    QString columnName(int column) const;
    // The current row's column, typed by its declared kind.
    Value value(int column) const;
    std::int64_t integer(int column) const;
    double real(int column) const;
    QString text(int column) const;
    // The column as UTF-8 bytes, valid until the next row.
    QByteArrayView utf8(int column) const;
    // How the current row's column is stored, and what its declaration says it holds.
    StoredKind storedKind(int column) const;
    Value::Kind declaredKind(int column) const;
    // Lets go of the rows not read, so that the query holds no read open.
    void finish();

private:
    friend class Database;
    explicit Query(std::unique_ptr<Cursor> cursor);
    std::unique_ptr<Cursor> cursor_;
};

enum class OpenMode {
    Exclusive, // the collection: no other program can open the file while we hold it
    Shared,    // read and write, shared with others
    ReadOnly,  // the field catalogue, and a collection that cannot be changed
    // Read only, taking no lock and reading no journal, beside this program's own connection
    // that holds the file: for a check that must not wait for that connection. A store
    // written meanwhile can show it a torn file, so what it finds wrong needs confirming.
    ReadUnlocked,
};

enum class RecordSetKind {
    Dynaset,  // updatable, keyed: rows are read when they become current
    Snapshot, // read-only copy taken when the set is opened
};

// An open database: a SQLite file or a collection on a server, through its engine. Record
// sets opened on it become invalid (error 3420) when it closes.
class Database {
public:
    // The stores make their databases: see db/sqlite/sqlitefile.h and db/pg/pgstore.h.
    Database(std::unique_ptr<Engine> engine, const QString& path, OpenMode mode);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // The file, or the server and collection, that the database is.
    const QString& path() const;
    OpenMode mode() const;
    StoreKind storeKind() const;
    bool isOpen() const;
    void close();

    std::unique_ptr<RecordSet> openRecordSet(const QString& sql,
                                             RecordSetKind kind = RecordSetKind::Dynaset);
    // Runs statements in the program's SQL dialect that return no rows.
    void execute(const QString& sql);
    // The first column of the first row of a query, or null.
    Value scalar(const QString& sql);
    // Prepares a statement in the program's dialect to run many times.
    std::unique_ptr<Command> prepare(const QString& sql);
    // Stores many rows into table's columns, as quickly as the store can, inside the running
    // transaction.
    std::unique_ptr<RowWriter> rowWriter(const QString& table, const QStringList& columns);
    // Prepares a query in the program's dialect to run many times and read forward.
    std::unique_ptr<Query> query(const QString& sql);
    // The engine's idle call: lets go of memory and locks it no longer needs.
    void idle();
    // Ends the statement running on this connection as soon as it can (it fails with error
    // 3009 "interrupted"). The one call that may come from another thread than the one using
    // the connection, while the database is alive.
    void interrupt();

    // Counters for count new rows of table stored in the running transaction, never handed out
    // before and never again.
    std::vector<std::int64_t> takeCounters(const QString& table, std::int64_t count);
    // The counter of the row the last insert stored.
    std::int64_t lastInsertedKey();
    // The highest counter the table has handed out; 0 for none.
    std::int64_t counterMark(const QString& table);
    // The table's counter hands out only numbers above mark from now on (in the running
    // transaction).
    void raiseCounter(const QString& table, std::int64_t mark);

    // Runs fn inside one transaction: all of it is stored, or none of it.
    template <typename Fn> void transaction(Fn&& fn) {
        begin();
        try {
            fn();
        } catch (...) {
            rollback();
            throw;
        }
        commit();
    }

    // The hidden column that counts the changes of the table's rows; empty where the store
    // keeps none (the file: one program at a time).
    QString rowVersionColumn(const QString& table);

    // The engine under the database, for the stores' own code.
    Engine& engine() const;

private:
    void begin();
    void commit();
    void rollback() noexcept;

    std::shared_ptr<detail::Connection> conn_;
};

// A larger page cache while a long read or write runs (a report in description order, an
// import), as it was before once the work ends. Nothing where the engine keeps no such cache.
class LargerCache {
public:
    LargerCache(Database& db, std::int64_t kib);
    ~LargerCache();
    LargerCache(const LargerCache&) = delete;
    LargerCache& operator=(const LargerCache&) = delete;

private:
    Database& db_;
    std::int64_t before_ = 0;
};

} // namespace perlinex::db
