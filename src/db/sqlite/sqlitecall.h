#pragma once

#include "db/value.h"

#include <QString>
#include <sqlite3.h>

// Thin RAII and error mapping over the SQLite C API, private to the store.
namespace perlinex::db::detail {

// Throws the DbError that matches an SQLite result code. systemErrno is the system's reason for
// a failed read or write when the caller kept it; otherwise it is asked of the connection.
[[noreturn]] void throwSqlite(int rc, sqlite3* db, const QString& context, int systemErrno = -1);
inline void check(int rc, sqlite3* db, const QString& context) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throwSqlite(rc, db, context);
}

class Statement {
public:
    Statement() = default;
    Statement(sqlite3* db, const QString& sql);
    ~Statement();
    Statement(Statement&& o) noexcept : db_(o.db_), stmt_(o.stmt_), sql_(std::move(o.sql_)) {
        o.stmt_ = nullptr;
    }
    Statement& operator=(Statement&& o) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    sqlite3_stmt* get() const { return stmt_; }
    explicit operator bool() const { return stmt_ != nullptr; }
    // True while a row is available; throws on error.
    bool step();
    void reset();
    void bind(int index, const Value& value);
    void bindInt(int index, std::int64_t v) { sqlite3_bind_int64(stmt_, index, v); }
    int columnCount() const { return sqlite3_column_count(stmt_); }
    QString columnName(int i) const;
    // The column's value typed by its declared kind (currency, date, boolean, text...).
    Value column(int i) const;
    std::int64_t columnInt(int i) const { return sqlite3_column_int64(stmt_, i); }
    QString columnText(int i) const;

private:
    sqlite3* db_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
    QString sql_;
};

// Runs statements that return no rows.
void exec(sqlite3* db, const QString& sql);

// The value kind that a declared column type stands for.
Value::Kind kindOfDeclaredType(const QString& declared);

} // namespace perlinex::db::detail
