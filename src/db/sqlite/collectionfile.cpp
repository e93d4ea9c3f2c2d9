#include "db/sqlite/collectionfile.h"

#include "db/dberror.h"
#include "db/dialect.h"
#include "db/sqlite/searchtext.h"
#include "db/sqlite/sqlitecall.h"
#include "db/sqlite/sqlitefile.h"
#include "util/durablefile.h"
#include "util/textfields.h"

#include <QChar>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <cstdio>
#include <optional>

namespace perlinex::db {

namespace {

// The column's declaration in the schema, from what the program knows of the field.
QString columnDeclaration(const StampField& f) {
    const QString name = QString::fromLatin1(f.name);
    switch (f.kind) {
    case FieldKind::Counter:
        return name + QStringLiteral(" INTEGER PRIMARY KEY AUTOINCREMENT");
    case FieldKind::Text:
        return QStringLiteral("%1 TEXT(%2) COLLATE TEXTCI%3")
            .arg(name)
            .arg(f.size)
            .arg(f.required ? QStringLiteral(" NOT NULL DEFAULT ''") : QString());
    case FieldKind::LongText:
        return name + QStringLiteral(" LONGTEXT COLLATE TEXTCI");
    case FieldKind::Boolean:
        return name + QStringLiteral(" BOOLEAN NOT NULL DEFAULT 0");
    case FieldKind::Integer16:
        return QStringLiteral("%1 SMALLINT CHECK (%1 BETWEEN -32768 AND 32767)").arg(name);
    case FieldKind::Integer32:
        // Only the quantity is a 32-bit number; a new record starts at 1.
        return QStringLiteral(
                   "%1 INTEGER NOT NULL DEFAULT 1 CHECK (%1 BETWEEN -2147483648 AND 2147483647)")
            .arg(name);
    case FieldKind::Money:
        return name + QStringLiteral(" CURRENCY");
    case FieldKind::Date:
        return name + QStringLiteral(" DATE");
    case FieldKind::CodeRef:
        return name + QStringLiteral(" INTEGER");
    }
    return name;
}

QString unicodeVersionTag() {
    return QString::number(int(QChar::currentUnicodeVersion()));
}

// The stamps of the for-sale, sales and want-list reports, and of the value and category
// reports, in description order, each with the fields its reports read: a report reads its
// own index from start to end, where the description index would have it look up every stamp
// in the table. Stamps of the same description keep the order of their numbers, as in the
// description index. Indexes change nothing an older program reads or writes, so a collection
// without them gets them when it is opened, and the schema version stays.
const char* const kReportIndexes[][3] = {
    {"stamp_forsale", "descr, stampid, catnum, priceask, couid, face, year, forsale", "forsale"},
    {"stamp_sold", "descr, stampid, catnum, quantity, pricepaid, priceask, sold", "sold"},
    {"stamp_wantlist", "descr, stampid, catnum, pricepaid, face, couid, conid, wantlist",
     "wantlist"},
    {"stamp_owned",
     "descr, stampid, catnum, quantity, pricepaid, catvalue, face, year, couid, typeid, formid, "
     "topid, wantlist, sold",
     "NOT wantlist AND NOT sold"},
};

bool indexExists(sqlite3* db, const char* name) {
    detail::Statement st(
        db, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'index' AND name = ?"));
    st.bind(1, Value(QString::fromLatin1(name)));
    return st.step();
}

void createReportIndexes(sqlite3* db) {
    for (const auto& [name, fields, where] : kReportIndexes)
        detail::exec(db,
                     QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON stamp(%2) WHERE %3")
                         .arg(QLatin1String(name), QLatin1String(fields), QLatin1String(where)));
}

bool hasReportIndexes(sqlite3* db) {
    for (const auto& index : kReportIndexes)
        if (!indexExists(db, index[0]))
            return false;
    return true;
}

// Everything a version-1 collection has besides its ten tables.
void createIndexesAndMeta(sqlite3* db) {
    detail::exec(db, QStringLiteral(R"(
        CREATE INDEX IF NOT EXISTS stamp_descr ON stamp(descr);
        CREATE INDEX IF NOT EXISTS stamp_catsort ON stamp(catsort, catnum);
        CREATE INDEX IF NOT EXISTS stamp_issued ON stamp(issued);
        CREATE TABLE IF NOT EXISTS meta (version INTEGER NOT NULL, unicode TEXT);)"));
    for (const CodeTable& t : codeTables()) {
        detail::exec(db, QStringLiteral("CREATE INDEX IF NOT EXISTS stamp_%1 ON stamp(%1)")
                             .arg(QString::fromLatin1(t.idField)));
        detail::exec(db, QStringLiteral("CREATE INDEX IF NOT EXISTS %1_desc ON %1(%2)")
                             .arg(QString::fromLatin1(t.table), QString::fromLatin1(t.descField)));
    }
    createReportIndexes(db);
    detail::exec(db, QStringLiteral("DELETE FROM meta; INSERT INTO meta(version, unicode) VALUES "
                                    "(%1, '%2')")
                         .arg(SchemaVersion)
                         .arg(unicodeVersionTag()));
}

void createTables(sqlite3* db) {
    QStringList columns;
    for (const StampField& f : stampFields())
        columns << columnDeclaration(f);
    detail::exec(db,
                 QStringLiteral("CREATE TABLE stamp (%1)").arg(columns.join(QLatin1String(", "))));
    for (const CodeTable& t : codeTables())
        detail::exec(db, QStringLiteral("CREATE TABLE %1 (%2 INTEGER PRIMARY KEY AUTOINCREMENT, "
                                        "%3 TEXT(50) COLLATE TEXTCI NOT NULL DEFAULT '')")
                             .arg(QString::fromLatin1(t.table), QString::fromLatin1(t.idField),
                                  QString::fromLatin1(t.descField)));
    createIndexesAndMeta(db);
    addSearchText(db);
}

bool tableExists(sqlite3* db, const QString& name) {
    detail::Statement st(db, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND "
                                            "lower(name) = lower(?)"));
    st.bind(1, Value(name));
    return st.step();
}

// The schema version as the meta table holds it. A usable version is a whole number from 1
// to the program's own, or 0 for a collection from before the meta table (known by its tables,
// which the caller checks); anything else is left to a newer program or to the user.
struct StoredVersion {
    std::optional<std::int64_t> usable;
    QString shown; // the stored value, for a message
};

StoredVersion storedVersion(sqlite3* db) {
    if (!tableExists(db, QStringLiteral("meta")))
        return {0, QString()};
    detail::Statement st(db, QStringLiteral("SELECT version, typeof(version) FROM meta"));
    if (!st.step())
        return {std::nullopt, QStringLiteral("none")};
    const QString type = st.columnText(1);
    const std::int64_t number = st.columnInt(0);
    QString shown = type == QLatin1String("text")   ? QStringLiteral("'%1'").arg(st.columnText(0))
                    : type == QLatin1String("null") ? QStringLiteral("none")
                    : type == QLatin1String("blob") ? QStringLiteral("a binary value")
                                                    : st.columnText(0);
    // One row only: a second one leaves the version in doubt.
    if (st.step())
        return {std::nullopt, shown + QStringLiteral(" and more")};
    if (type == QLatin1String("integer") && number >= 1 && number <= SchemaVersion)
        return {number, shown};
    return {std::nullopt, shown};
}

QString versionProblem(const StoredVersion& v) {
    return QStringLiteral("its schema version (%1) is not one this program knows (1 to %2)")
        .arg(v.shown)
        .arg(SchemaVersion);
}

// Upgrades, one per version step; each runs inside the one transaction of the open.
void upgradeFrom(sqlite3* db, std::int64_t version) {
    if (version < 1)
        createIndexesAndMeta(db); // collections from before the version table
    if (version < 2)
        addSearchText(db); // the folded text the collection list's filter looks in
    detail::exec(db, QStringLiteral("UPDATE meta SET version = %1").arg(SchemaVersion));
}

// The file as it was before an upgrade, kept beside it under a name of its own.
QString keepBeforeUpgrade(const QString& path) {
    const QFileInfo info(QFileInfo(path).canonicalFilePath());
    const QString kept = durable::unusedName(
        info.absolutePath(),
        QStringLiteral("%1-before-upgrade-%2")
            .arg(info.completeBaseName(),
                 QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"))),
        QStringLiteral(".mdb"));
    try {
        durable::copyDurably(info.absoluteFilePath(), kept);
    } catch (const durable::FileError& e) {
        throw DbError(e.kind() == durable::FileError::Kind::DiskFull ? err::DiskFull
                                                                     : err::CannotOpen,
                      QStringLiteral("The collection '%1' needs an upgrade, but a copy of it could "
                                     "not be kept first (%2). It has been left as it is.")
                          .arg(path, e.text()));
    }
    return kept;
}

} // namespace

QStringList engineCheck(Database& database, EngineCheck depth) {
    sqlite3* db = handleOf(database);
    const QString pragma = depth == EngineCheck::Full ? QStringLiteral("integrity_check")
                                                      : QStringLiteral("quick_check");
    // A read-write connection would also report every value that breaks a field's CHECK rule,
    // where a read-only one does not: such values are kept and shown, not repaired away.
    detail::exec(db, QStringLiteral("PRAGMA ignore_check_constraints = ON"));
    QStringList problems;
    try {
        detail::Statement st(db, QStringLiteral("PRAGMA %1").arg(pragma));
        while (st.step())
            problems << st.columnText(0);
    } catch (...) {
        sqlite3_exec(db, "PRAGMA ignore_check_constraints = OFF", nullptr, nullptr, nullptr);
        throw;
    }
    detail::exec(db, QStringLiteral("PRAGMA ignore_check_constraints = OFF"));
    return problems;
}

void fillNewCollection(Database& db, bool withVocabulary) {
    createTables(handleOf(db));
    if (withVocabulary)
        fillVocabularies(db);
}

std::unique_ptr<Database> createCollection(const QString& path, bool withVocabulary) {
    createDatabaseFile(path, [&](Database& db) { fillNewCollection(db, withVocabulary); });
    return openCollection(path);
}

bool quickCheck(Database& db, QString* detail) {
    try {
        const QStringList problems = engineCheck(db, EngineCheck::Quick);
        if (detail)
            *detail = problems.join(QLatin1String("; "));
        return problems == QStringList{QStringLiteral("ok")};
    } catch (const DbError& e) {
        if (detail)
            *detail = e.text();
        return false;
    }
}

QStringList collectionProblems(Database& db) {
    QStringList problems;
    sqlite3* h = handleOf(db);
    auto checkTable = [&](const QString& table, const QStringList& fields) {
        if (!tableExists(h, table)) {
            problems << QStringLiteral("the table '%1' is missing").arg(table);
            return;
        }
        QStringList present;
        detail::Statement st(h, QStringLiteral("PRAGMA table_info(%1)").arg(quoteText(table)));
        while (st.step())
            present << st.columnText(1).toLower();
        for (const QString& f : fields)
            if (!present.contains(f.toLower()))
                problems << QStringLiteral("the field '%1' of table '%2' is missing").arg(f, table);
    };
    QStringList stampFields;
    for (const StampField& f : db::stampFields())
        stampFields << QString::fromLatin1(f.name);
    checkTable(QStringLiteral("stamp"), stampFields);
    for (const CodeTable& t : codeTables())
        checkTable(QString::fromLatin1(t.table),
                   {QString::fromLatin1(t.idField), QString::fromLatin1(t.descField)});
    if (const StoredVersion v = storedVersion(h); !v.usable)
        problems << versionProblem(v);
    return problems;
}

std::unique_ptr<Database> openCollection(const QString& path, StructureCheck check, OpenMode mode) {
    auto db = openDatabaseFile(path, mode);
    QString detail;
    if (check == StructureCheck::AtOpen && !quickCheck(*db, &detail))
        throw DbError(
            err::DamagedFile,
            QStringLiteral("The collection '%1' is damaged (%2).").arg(path, detail.left(300)));
    sqlite3* h = handleOf(*db);
    const StoredVersion version = storedVersion(h);
    if (!version.usable)
        throw DbError(err::NewerVersion,
                      QStringLiteral("The collection '%1' was written by a newer version of "
                                     "Perlinex (schema %2; this program knows schema %3). It has "
                                     "been left as it is.")
                          .arg(path, version.shown)
                          .arg(SchemaVersion));
    const QStringList problems = collectionProblems(*db);
    if (!problems.isEmpty())
        throw DbError(err::TableMissing,
                      QStringLiteral("'%1' is not a complete Perlinex collection: %2. It has been "
                                     "left as it is.")
                          .arg(path, problems.join(QLatin1String(", "))));
    if (mode == OpenMode::ReadOnly)
        return db;
    if (*version.usable < SchemaVersion) {
        const QString kept = keepBeforeUpgrade(db->path());
        try {
            db->transaction([&] { upgradeFrom(h, *version.usable); });
        } catch (...) {
            QFile::remove(kept); // rolled back: the collection is still the file it was
            throw;
        }
        std::fprintf(stderr, "perlinex: %s\n",
                     QStringLiteral("the collection '%1' was upgraded to schema %2; the file as "
                                    "it was is kept as '%3'.")
                         .arg(path)
                         .arg(SchemaVersion)
                         .arg(kept)
                         .toLocal8Bit()
                         .constData());
    }
    if (!hasReportIndexes(h))
        db->transaction([&] { createReportIndexes(h); });
    // The text order comes from Unicode data; rebuild the indexes when that data changed.
    const Value unicode = db->scalar(QStringLiteral("SELECT unicode FROM meta"));
    if (unicode.toText() != unicodeVersionTag())
        db->transaction([&] {
            detail::exec(h, QStringLiteral("REINDEX TEXTCI; UPDATE meta SET unicode = '%1'")
                                .arg(unicodeVersionTag()));
        });
    return db;
}

} // namespace perlinex::db
