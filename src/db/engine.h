#pragma once

#include "db/storekind.h"
#include "db/value.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <vector>

// What differs between the stores: one connection to one engine, its prepared statements and
// its SQL. The database, its record sets and commands are written once on top of this; each
// store (the SQLite file, the PostgreSQL server) implements it in a library of its own. Only
// the stores and the database use it.
namespace perlinex::db {

// A column of a table as the store declares it.
struct TableColumn {
    QString name;
    Value::Kind kind = Value::Kind::Null;
    int maxLength = 0;                       // text limit; 0 for none
    std::int64_t minValue = 0, maxValue = 0; // whole-number range; equal when unlimited
    bool notNull = false;
    bool primaryKey = false;
    Value defaultValue;
    // Kept by the store for itself (a sort key, a row version): never in "select *" and never
    // set by a caller.
    bool hidden = false;
    // For a text column the store orders by a key of: the hidden column that holds its key.
    QString sortKeyColumn;
};

// How one value of a result is stored, whatever its column declares.
enum class StoredKind { Null, Integer, Real, Text, Blob };

// A prepared statement: bound, run, and read one row at a time.
class Cursor {
public:
    virtual ~Cursor() = default;
    // Binds a value to the index'th "?" (from 1).
    virtual void bind(int index, const Value& value) = 0;
    // Runs the statement (the first call) or moves to its next row: true while a row is there.
    virtual bool step() = 0;
    // Makes it ready to run again; the bound values are cleared.
    virtual void reset() = 0;
    virtual int columnCount() const = 0;
    virtual QString columnName(int i) const = 0;
    // The current row's value typed by its column's declared kind (money, date, boolean...).
    virtual Value column(int i) const = 0;
    virtual std::int64_t columnInt(int i) const = 0;
    virtual double columnReal(int i) const = 0;
    virtual QString columnText(int i) const = 0;
    // The value as UTF-8 text, valid until the next step.
    virtual QByteArrayView columnUtf8(int i) const = 0;
    virtual StoredKind storedKind(int i) const = 0;
    // The kind the column's declaration gives; Null for an expression.
    virtual Value::Kind declaredKind(int i) const = 0;
    // The rows the last run inserted, changed or deleted.
    virtual std::int64_t changes() const = 0;
};

// Rows stored into one table many at a time, for copying a whole collection.
class RowWriter {
public:
    virtual ~RowWriter() = default;
    // Stores one row: its values in the order of the writer's columns.
    virtual void write(const std::vector<Value>& values) = 0;
    // Ends the writing: every row written is stored (in the running transaction). A writer
    // let go without it stores nothing more, and what it wrote may be lost.
    virtual void finish() = 0;
};

class Engine {
public:
    virtual ~Engine() = default;
    virtual StoreKind kind() const = 0;
    virtual bool isOpen() const = 0;
    virtual void close() = 0;

    // The program's SQL dialect in the engine's own SQL.
    virtual QString translate(const QString& sql) const = 0;
    virtual std::unique_ptr<Cursor> prepare(const QString& engineSql) = 0;
    // Runs statements of the engine's SQL that return no rows.
    virtual void exec(const QString& engineSql) = 0;

    virtual void begin() = 0;
    virtual void commit() = 0;
    virtual void rollback() noexcept = 0;
    virtual bool inTransaction() const = 0;

    // The columns of a table as declared; empty when there is no such table.
    virtual std::vector<TableColumn> columnsOf(const QString& table) = 0;
    // The table's name as it was created, found without regard to case; empty when none.
    virtual QString tableName(const QString& table) = 0;
    // The column that names a row of the table for reading it again.
    virtual QString rowKey(const QString& table) = 0;
    // The hidden column that counts a row's changes, so that a store can tell a row changed by
    // another program since it was read; empty when the table keeps none.
    virtual QString rowVersion(const QString& /*table*/) { return QString(); }

    // Hands out the table's next counter at once, outside any transaction, so that it is never
    // handed out again even when the row is not stored.
    virtual std::int64_t reserveCounter(const QString& table) = 0;
    // Counters for count rows stored inside the caller's transaction.
    virtual std::vector<std::int64_t> takeCounters(const QString& table, std::int64_t count) = 0;
    // The counter of the row the last insert stored.
    virtual std::int64_t lastInsertedKey() = 0;
    // The highest counter the table has handed out (rows deleted since included); 0 for none.
    virtual std::int64_t counterMark(const QString& table) = 0;
    // Makes the table's counter hand out only numbers above mark from now on, inside the
    // caller's transaction: rows copied in with their own numbers keep them, and numbers
    // their collection once handed out are not handed out again.
    virtual void raiseCounter(const QString& table, std::int64_t mark) = 0;

    // The condition, in the program's dialect, that the search text of the stamp row named
    // alias holds word, a filter word already folded (see db/search.h).
    virtual QString searchTextHolds(const QString& alias, const QString& word) = 0;

    // A quicker way than one insert a row to store many rows into table's columns (a text's
    // sort key included); nullptr where the engine has none.
    virtual std::unique_ptr<RowWriter> bulkWriter(const QString& /*table*/,
                                                  const QStringList& /*columns*/) {
        return nullptr;
    }

    // The engine's idle call: lets go of memory and locks it no longer needs.
    virtual void idle() {}
    // Ends the statement running as soon as it can (it fails with error 3009). The one call
    // that may come from another thread than the one using the connection.
    virtual void interrupt() = 0;
    // The engine's page cache, as its own setting (SQLite: pages, or KiB when negative); 0
    // where the engine keeps no cache of its own to set.
    virtual std::int64_t cacheSetting() { return 0; }
    virtual void setCacheSetting(std::int64_t /*setting*/) {}
};

} // namespace perlinex::db
