#include "db/sqlite/searchtext.h"

#include "db/database.h"
#include "db/dberror.h"
#include "db/dialect.h"
#include "db/fields.h"
#include "db/sqlite/sqlitecall.h"
#include "db/sqlite/sqlitefile.h"
#include "db/textcompare.h"

#include <QRegularExpression>
#include <algorithm>
#include <utility>

namespace perlinex::db {

namespace {

QString name(const char* text) {
    return QString::fromLatin1(text);
}

// A code table whose description the search text holds, and the stamps that refer to it.
struct SearchedCode {
    const CodeTable* table;
    QString idField;
};

std::vector<SearchedCode> searchedCodes() {
    std::vector<SearchedCode> codes;
    for (const char* f : searchedFields()) {
        const StampField* field = stampField(name(f));
        if (field && field->kind == FieldKind::CodeRef)
            codes.push_back({codeTable(field->codeTable), name(field->name)});
    }
    return codes;
}

QString triggers() {
    const QString column = name(SearchTextColumn);
    QStringList changed;
    for (const char* f : searchedFields())
        changed << name(f);
    QString sql =
        QStringLiteral(
            "CREATE TRIGGER IF NOT EXISTS stamp_search_add AFTER INSERT ON stamp BEGIN "
            "UPDATE stamp SET %1 = %2 WHERE rowid = new.rowid; END;\n"
            "CREATE TRIGGER IF NOT EXISTS stamp_search_change AFTER UPDATE OF %3 ON stamp BEGIN "
            "UPDATE stamp SET %1 = %2 WHERE rowid = new.rowid; END;\n")
            .arg(column, searchTextExpression(QStringLiteral("new")),
                 changed.join(QLatin1String(", ")));
    // An entry's description changing (or an entry coming or going, as a repair puts the
    // tables back one by one) changes the search text of every stamp that refers to it.
    const QString expression = searchTextExpression(QStringLiteral("stamp"));
    for (const SearchedCode& c : searchedCodes()) {
        const QString table = name(c.table->table);
        const QString id = name(c.table->idField);
        const auto refresh = [&](const char* row) {
            return QStringLiteral("UPDATE stamp SET %1 = %2 WHERE %3 = %4.%5;")
                .arg(column, expression, c.idField, QLatin1String(row), id);
        };
        sql +=
            QStringLiteral(
                "CREATE TRIGGER IF NOT EXISTS %1_search_add AFTER INSERT ON %1 BEGIN %2 END;\n"
                "CREATE TRIGGER IF NOT EXISTS %1_search_change AFTER UPDATE OF %3 ON %1 BEGIN "
                "%2 END;\n"
                "CREATE TRIGGER IF NOT EXISTS %1_search_remove AFTER DELETE ON %1 BEGIN %4 END;\n")
                .arg(table, refresh("new"), name(c.table->descField), refresh("old"));
    }
    return sql;
}

} // namespace

QString searchTextExpression(const QString& alias) {
    QStringList parts;
    for (const char* f : searchedFields()) {
        const StampField* field = stampField(name(f));
        if (field->kind != FieldKind::CodeRef) {
            parts << QStringLiteral("%1.%2").arg(alias, name(field->name));
            continue;
        }
        const CodeTable& t = *codeTable(field->codeTable);
        parts << QStringLiteral("(SELECT %1 FROM %2 WHERE %3 = %4.%5)")
                     .arg(name(t.descField), name(t.table), name(t.idField), alias,
                          name(field->name));
    }
    return QStringLiteral("searchtext(%1)").arg(parts.join(QLatin1String(", ")));
}

namespace {

bool columnExists(sqlite3* db) {
    detail::Statement st(
        db, QStringLiteral("SELECT 1 FROM pragma_table_info('stamp') WHERE lower(name) = ?"));
    st.bind(1, Value(name(SearchTextColumn)));
    return st.step();
}

} // namespace

void addSearchText(sqlite3* db) {
    if (!columnExists(db))
        // Null is allowed: a row a repair gets back cut short keeps what it has, and the
        // triggers fill the text in.
        detail::exec(
            db, QStringLiteral("ALTER TABLE stamp ADD COLUMN %1 TEXT").arg(name(SearchTextColumn)));
    detail::exec(db, triggers());
    detail::exec(db,
                 QStringLiteral("UPDATE stamp SET %1 = %2")
                     .arg(name(SearchTextColumn), searchTextExpression(QStringLiteral("stamp"))));
}

bool hasSearchText(Database& db) {
    return columnExists(handleOf(db));
}

BulkSearchText::BulkSearchText(Database& db) : db_(db) {
    // A server's search text is its sort keys, which every insert stores.
    if (db.storeKind() != StoreKind::File)
        return;
    detail::Statement st(handleOf(db),
                         QStringLiteral("SELECT sql FROM sqlite_master WHERE type = 'trigger' "
                                        "AND name = 'stamp_search_add'"));
    if (!st.step())
        return;
    trigger_ = st.columnText(0);
    st = detail::Statement();
    detail::exec(handleOf(db), QStringLiteral("DROP TRIGGER stamp_search_add"));
}

BulkSearchText::~BulkSearchText() {
    try {
        restore();
    } catch (const DbError&) {
        // Only a failed store leaves it here, and its rollback brings the trigger back.
    }
}

void BulkSearchText::restore() {
    if (trigger_.isEmpty())
        return;
    const QString sql = std::exchange(trigger_, QString());
    detail::exec(handleOf(db_), sql);
}

void BulkSearchText::finish(std::int64_t first, std::int64_t last) {
    if (trigger_.isEmpty())
        return;
    // The statement the trigger runs for one new stamp, run once over all of them.
    detail::Statement st(
        handleOf(db_),
        QStringLiteral("UPDATE stamp SET %1 = %2 WHERE stampid BETWEEN ? AND ?")
            .arg(name(SearchTextColumn), searchTextExpression(QStringLiteral("stamp"))));
    st.bindInt(1, first);
    st.bindInt(2, last);
    st.step();
    st = detail::Statement();
    restore();
}

QString searchTextHolds(sqlite3* db, const QString& alias, const QString& word) {
    const QString text = columnExists(db)
                             ? QStringLiteral("%1.%2").arg(alias, name(SearchTextColumn))
                             : searchTextExpression(alias);
    return QStringLiteral("instr(%1, %2) > 0").arg(text, quoteText(word));
}

} // namespace perlinex::db
