#pragma once

#include "db/engine.h"

#include <QString>

struct sqlite3;

// The store's engine for a collection in a SQLite file.
namespace perlinex::db::sqlite {

class SqliteEngine : public Engine {
public:
    // Takes over an open connection; closes it when closed or destroyed.
    explicit SqliteEngine(sqlite3* db) : db_(db) {}
    ~SqliteEngine() override;

    sqlite3* handle() const { return db_; }

    StoreKind kind() const override { return StoreKind::File; }
    bool isOpen() const override { return db_ != nullptr; }
    void close() override;

    QString translate(const QString& sql) const override;
    std::unique_ptr<Cursor> prepare(const QString& engineSql) override;
    void exec(const QString& engineSql) override;

    void begin() override;
    void commit() override;
    void rollback() noexcept override;
    bool inTransaction() const override;

    std::vector<TableColumn> columnsOf(const QString& table) override;
    QString tableName(const QString& table) override;
    QString rowKey(const QString&) override { return QStringLiteral("rowid"); }

    std::int64_t reserveCounter(const QString& table) override;
    std::vector<std::int64_t> takeCounters(const QString& table, std::int64_t count) override;
    std::int64_t lastInsertedKey() override;
    std::int64_t counterMark(const QString& table) override;
    void raiseCounter(const QString& table, std::int64_t mark) override;

    QString searchTextHolds(const QString& alias, const QString& word) override;
    void idle() override;
    void interrupt() override;
    std::int64_t cacheSetting() override;
    void setCacheSetting(std::int64_t setting) override;

private:
    sqlite3* db_;
};

// Registers the collation TEXTCI (the collection's text order) and replaces the engine's
// like() with the desktop engine's patterns on a connection.
void registerTextFunctions(sqlite3* db);

// The name of the collation that every text column of a collection file carries.
inline constexpr const char* TextCollation = "TEXTCI";

} // namespace perlinex::db::sqlite
