#include "db/sqlite/bulkindexes.h"

#include "db/database.h"
#include "db/dberror.h"
#include "db/sqlite/sqlitecall.h"
#include "db/sqlite/sqlitefile.h"

#include <utility>

namespace perlinex::db {

namespace {

// Below this many rows the indexes cost too little to be worth making again.
constexpr std::int64_t SmallStore = 5000;

} // namespace

BulkIndexes::BulkIndexes(Database& db, const QString& table, std::int64_t adding) : db_(db) {
    // A server keeps its own indexes as it stores.
    if (adding < SmallStore || db.storeKind() != StoreKind::File)
        return;
    {
        detail::Statement count(handleOf(db),
                                QStringLiteral("SELECT count(*) FROM \"%1\"").arg(table));
        if (count.step() && count.columnInt(0) > adding)
            return;
    }
    QStringList names;
    {
        // Indexes the engine makes for a key have no SQL and cannot be dropped.
        detail::Statement st(handleOf(db),
                             QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type = "
                                            "'index' AND tbl_name = ? AND sql IS NOT NULL"));
        st.bind(1, Value(table));
        while (st.step()) {
            names << st.columnText(0);
            indexes_ << st.columnText(1);
        }
    }
    for (const QString& name : std::as_const(names))
        detail::exec(handleOf(db), QStringLiteral("DROP INDEX \"%1\"").arg(name));
}

BulkIndexes::~BulkIndexes() {
    try {
        finish();
    } catch (const DbError&) {
        // Only a failed store leaves it here, and its rollback brings the indexes back.
    }
}

void BulkIndexes::finish() {
    const QStringList indexes = std::exchange(indexes_, QStringList());
    for (const QString& sql : indexes)
        detail::exec(handleOf(db_), sql);
}

} // namespace perlinex::db
