#include "db/pg/pgcheck.h"

#include "db/engine.h"
#include "db/fields.h"
#include "db/pg/pgschema.h"
#include "db/schema.h"
#include "db/textcompare.h"
#include "util/translation.h"

#include <vector>

namespace perlinex::db {

namespace {

QString latin(const char* text) {
    return QString::fromLatin1(text);
}

// The tables of a collection with the columns the program reads in each, and its counter.
struct ExpectedTable {
    QString name;
    QStringList columns;
    QString counter;
};

std::vector<ExpectedTable> expectedTables() {
    std::vector<ExpectedTable> out;
    ExpectedTable stamp{QStringLiteral("stamp"), {}, QString()};
    for (const StampField& f : stampFields()) {
        stamp.columns << latin(f.name);
        if (f.kind == FieldKind::Counter)
            stamp.counter = latin(f.name);
    }
    out.push_back(stamp);
    for (const CodeTable& t : codeTables())
        out.push_back({latin(t.table), {latin(t.idField), latin(t.descField)}, latin(t.idField)});
    out.push_back({QStringLiteral("picture"),
                   {QStringLiteral("stampid"), QStringLiteral("jpeg")},
                   QString()});
    out.push_back({QStringLiteral("meta"), {QStringLiteral("version")}, QString()});
    return out;
}

bool hasColumn(const std::vector<TableColumn>& columns, const QString& name) {
    for (const TableColumn& c : columns)
        if (c.name.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// Rows whose stored sort key is not the key of their text: the order would be wrong.
std::int64_t staleSortKeys(Database& db, const QString& table, const QString& column) {
    const auto rows = db.query(
        QStringLiteral("SELECT %1, %2 FROM %3").arg(column, pg::sortKeyColumnOf(column), table));
    std::int64_t stale = 0;
    while (rows->next()) {
        const Value text = rows->value(0);
        const Value stored = rows->value(1);
        if (text.isNull() ? !stored.isNull() : stored.toText() != sortKey(text.toText()))
            ++stale;
    }
    return stale;
}

} // namespace

QStringList checkServerCollection(Database& db) {
    QStringList problems;
    Engine& engine = db.engine();
    bool whole = true;
    for (const ExpectedTable& t : expectedTables()) {
        const std::vector<TableColumn> columns = engine.columnsOf(t.name);
        if (columns.empty()) {
            problems << translate("ServerCheck", "the table %1 is missing").arg(t.name);
            whole = false;
            continue;
        }
        for (const QString& c : t.columns)
            if (!hasColumn(columns, c)) {
                problems << translate("ServerCheck", "the table %1 has no field %2").arg(t.name, c);
                whole = false;
            }
    }
    if (!whole)
        return problems; // the rest reads what is missing
    const Value version = db.scalar(QStringLiteral("SELECT max(version) FROM meta"));
    if (version.toInteger() != SchemaVersion)
        problems << translate("ServerCheck",
                              "its schema version (%1) is not the one this program writes (%2)")
                        .arg(version.isNull() ? translate("ServerCheck", "none") : version.toText())
                        .arg(SchemaVersion);
    for (const ExpectedTable& t : expectedTables()) {
        if (t.counter.isEmpty())
            continue;
        const std::int64_t highest =
            db.scalar(QStringLiteral("SELECT max(%1) FROM %2").arg(t.counter, t.name)).toInteger();
        if (db.counterMark(t.name) < highest)
            problems << translate("ServerCheck",
                                  "the counter of the table %1 is behind its highest number (%2): "
                                  "it would hand out numbers already given")
                            .arg(t.name)
                            .arg(highest);
        for (const QString& c : t.columns)
            if (pg::hasSortKey(c)) {
                const std::int64_t stale = staleSortKeys(db, t.name, c);
                if (stale > 0)
                    problems << translate("ServerCheck",
                                          "%1 rows of the table %2 have a sort key of %3 that does "
                                          "not match the text: they are listed out of order")
                                    .arg(stale)
                                    .arg(t.name, c);
            }
    }
    const auto invalid = db.query(QStringLiteral(
        "SELECT c.relname FROM pg_index i JOIN pg_class c ON c.oid = i.indexrelid "
        "JOIN pg_namespace n ON n.oid = c.relnamespace WHERE n.nspname = current_schema() "
        "AND NOT (i.indisvalid AND i.indisready) ORDER BY 1"));
    while (invalid->next())
        problems << translate("ServerCheck", "the index %1 is not usable")
                        .arg(invalid->value(0).toText());
    return problems;
}

} // namespace perlinex::db
