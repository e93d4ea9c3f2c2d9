#pragma once

#include <QStringList>
#include <cstdint>

namespace perlinex::db {

class Database;

// A bulk store of many new rows inside an open transaction: where the rows to come are at least
// as many as the table holds, the table's own indexes are set aside for the store and made again
// by finish(), which sorts each once instead of keeping it in order row by row. Left without
// finish() (a store that fails), they are made again at once; a rollback brings them back anyway.
class BulkIndexes {
public:
    BulkIndexes(Database& db, const QString& table, std::int64_t adding);
    ~BulkIndexes();
    BulkIndexes(const BulkIndexes&) = delete;
    BulkIndexes& operator=(const BulkIndexes&) = delete;

    // Makes the indexes again. Throws DbError.
    void finish();

    // How many indexes are set aside (for tests).
    int setAside() const { return int(indexes_.size()); }

private:
    Database& db_;
    QStringList indexes_; // each index's SQL as the file keeps it
};

} // namespace perlinex::db
