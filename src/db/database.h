#pragma once

#include "db/value.h"

#include <QString>
#include <functional>
#include <memory>
#include <vector>

struct sqlite3;

namespace perlinex::db {

class RecordSet;

namespace detail {
struct Connection;
class Statement;
} // namespace detail

// A statement prepared once and run many times with new values, for bulk work such as
// filling a generated collection.
class Command {
public:
    ~Command();
    Command(const Command&) = delete;
    Command& operator=(const Command&) = delete;
    // Runs the statement with values bound to its "?" in order.
    void run(const std::vector<Value>& values);

private:
    friend class Database;
    explicit Command(std::unique_ptr<detail::Statement> statement);
    std::unique_ptr<detail::Statement> statement_;
};

// A query prepared once and run many times with new values, its rows read one at a time, for
// readers that fetch rows by key on demand. It must not outlive its database.
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
    // Lets go of the rows not read, so that the query holds no read open.
    void finish();

private:
    friend class Database;
    explicit Query(std::unique_ptr<detail::Statement> statement);
    std::unique_ptr<detail::Statement> statement_;
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

// An open database file. Record sets opened on it become invalid (error 3420) when it closes.
class Database {
public:
    // Opens an existing file. Throws DbError: 3044 missing folder, 3024 missing file,
    // 3343 a file that is not a database (its text says what it is), 3049 a damaged file,
    // 3045 a file in use by another program, 3051 a file that cannot be opened for writing.
    static std::unique_ptr<Database> open(const QString& path, OpenMode mode);
    // Creates a new, empty database file; throws when the file already exists.
    static std::unique_ptr<Database> create(const QString& path);
    // A new, empty database that lives in memory only, gone when closed.
    static std::unique_ptr<Database> createInMemory();

    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const QString& path() const;
    OpenMode mode() const;
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
    // Prepares a query in the engine's own SQL (not translated), to run many times.
    std::unique_ptr<Query> query(const QString& sql);
    // The engine's idle call: lets go of memory and locks it no longer needs.
    void idle();
    // Ends the statement running on this connection as soon as it can (it fails with error
    // 3009 "interrupted"). The one call that may come from another thread than the one using
    // the connection, while the database is alive.
    void interrupt();

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

    // The underlying connection, for the store's own maintenance code.
    sqlite3* handle() const;

private:
    explicit Database(std::shared_ptr<detail::Connection> conn);
    void begin();
    void commit();
    void rollback() noexcept;

    std::shared_ptr<detail::Connection> conn_;
};

// Why the database file at path (or a new one there, when it is missing) cannot be changed by
// this program: "the file is read-only" or "its folder '...' is read-only". Empty when it can.
QString whyReadOnly(const QString& path);

// Makes a new database file filled by fill in one transaction. It is built under a temporary
// name and renamed into place only when whole, so a half-made file never carries the name.
// Throws when the file already exists or anything fails (leaving nothing behind).
void createDatabaseFile(const QString& path, const std::function<void(Database&)>& fill);

} // namespace perlinex::db
