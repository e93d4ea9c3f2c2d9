#pragma once

#include "db/engine.h"

#include <QHash>
#include <QString>
#include <memory>

struct pg_conn;
struct pg_cancel;

// The store's engine for a collection on a PostgreSQL server, shared by several desks.
namespace perlinex::db::pg {

namespace detail {
struct Session;
} // namespace detail

class PgEngine : public Engine {
public:
    // Takes over an open connection whose search path names the collection's schema; closes
    // it when closed or destroyed.
    explicit PgEngine(pg_conn* conn);
    ~PgEngine() override;

    pg_conn* handle() const;

    StoreKind kind() const override { return StoreKind::Server; }
    bool isOpen() const override;
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
    QString rowKey(const QString& table) override;
    QString rowVersion(const QString& table) override;

    std::int64_t reserveCounter(const QString& table) override;
    std::vector<std::int64_t> takeCounters(const QString& table, std::int64_t count) override;
    std::int64_t lastInsertedKey() override;
    std::int64_t counterMark(const QString& table) override;
    void raiseCounter(const QString& table, std::int64_t mark) override;

    QString searchTextHolds(const QString& alias, const QString& word) override;
    void interrupt() override;
    std::unique_ptr<RowWriter> bulkWriter(const QString& table,
                                          const QStringList& columns) override;

private:
    pg_conn* live() const;
    // The sequence that hands out the table's counters.
    QString counterSequence(const QString& table);

    std::shared_ptr<detail::Session> session_;
    pg_cancel* cancel_ = nullptr;
    void readAllColumns();

    QHash<QString, std::vector<TableColumn>> columns_; // by lower-case table name
    QHash<QString, QString> sequences_;                // by lower-case table name
};

} // namespace perlinex::db::pg
