#include "db/schema.h"

#include "db/connection.h"
#include "db/dberror.h"
#include "db/dialect.h"
#include "db/sqlitecall.h"
#include "util/textfields.h"

#include <QChar>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace perlinex::db {

namespace {

const CodeTable kCodeTables[9] = {
    {"cancel", "CanID", "CanDesc", "cancel"},   {"Condition", "ConID", "conDesc", "condition"},
    {"country", "CouID", "Coudesc", "country"}, {"format", "formID", "FormDesc", "format"},
    {"gum", "gumID", "GumDesc", "gum"},         {"paper", "papID", "Papdesc", "paper"},
    {"Perf", "perfID", "PerfDesc", "perf"},     {"topic", "topID", "TopDesc", "topic"},
    {"type", "typeID", "Typedesc", "type"},
};

// Fields of table stamp in the order the editor shows and stores them.
const char* const kStampColumns = R"(
    stampid INTEGER PRIMARY KEY AUTOINCREMENT,
    descr TEXT(80) COLLATE TEXTCI NOT NULL DEFAULT '',
    catnum TEXT(30) COLLATE TEXTCI NOT NULL DEFAULT '',
    catsort TEXT(20) COLLATE TEXTCI NOT NULL DEFAULT '',
    face CURRENCY,
    Year SMALLINT CHECK (Year BETWEEN -32768 AND 32767),
    used BOOLEAN NOT NULL DEFAULT 0,
    wantlist BOOLEAN NOT NULL DEFAULT 0,
    quantity INTEGER NOT NULL DEFAULT 1 CHECK (quantity BETWEEN -2147483648 AND 2147483647),
    CouID INTEGER,
    typeID INTEGER,
    formID INTEGER,
    papID INTEGER,
    CanID INTEGER,
    perfID INTEGER,
    topID INTEGER,
    gumID INTEGER,
    ConID INTEGER,
    Color TEXT(50) COLLATE TEXTCI,
    watermark TEXT(50) COLLATE TEXTCI,
    Errors TEXT(50) COLLATE TEXTCI,
    issued DATE,
    pricepaid CURRENCY,
    totalpaid CURRENCY,
    catvalue CURRENCY,
    totalval CURRENCY,
    priceask CURRENCY,
    totalsales CURRENCY,
    forsale BOOLEAN NOT NULL DEFAULT 0,
    purchased DATE,
    sold BOOLEAN NOT NULL DEFAULT 0,
    datesold DATE,
    notes LONGTEXT COLLATE TEXTCI,
    misc1 TEXT(50) COLLATE TEXTCI,
    misc2 TEXT(50) COLLATE TEXTCI
)";

const char* const kStampFields[] = {
    "stampid",  "descr",     "catnum",    "catsort",  "face",     "Year",      "used",
    "wantlist", "quantity",  "CouID",     "typeID",   "formID",   "papID",     "CanID",
    "perfID",   "topID",     "gumID",     "ConID",    "Color",    "watermark", "Errors",
    "issued",   "pricepaid", "totalpaid", "catvalue", "totalval", "priceask",  "totalsales",
    "forsale",  "purchased", "sold",      "datesold", "notes",    "misc1",     "misc2"};

QString unicodeVersionTag() {
    return QString::number(int(QChar::currentUnicodeVersion()));
}

// Everything a version-1 collection has besides its ten tables.
void createIndexesAndMeta(sqlite3* db) {
    detail::exec(db, QStringLiteral(R"(
        CREATE INDEX IF NOT EXISTS stamp_descr ON stamp(descr);
        CREATE INDEX IF NOT EXISTS stamp_catsort ON stamp(catsort, catnum);
        CREATE INDEX IF NOT EXISTS stamp_issued ON stamp(issued);
        CREATE TABLE IF NOT EXISTS meta (version INTEGER NOT NULL, unicode TEXT);)"));
    for (const CodeTable& t : kCodeTables) {
        detail::exec(db, QStringLiteral("CREATE INDEX IF NOT EXISTS stamp_%1 ON stamp(%1)")
                             .arg(QString::fromLatin1(t.idField)));
        detail::exec(db, QStringLiteral("CREATE INDEX IF NOT EXISTS %1_desc ON %1(%2)")
                             .arg(QString::fromLatin1(t.table), QString::fromLatin1(t.descField)));
    }
    detail::exec(db, QStringLiteral("DELETE FROM meta; INSERT INTO meta(version, unicode) VALUES "
                                    "(%1, '%2')")
                         .arg(SchemaVersion)
                         .arg(unicodeVersionTag()));
}

void createTables(sqlite3* db) {
    detail::exec(db,
                 QStringLiteral("CREATE TABLE stamp (%1)").arg(QString::fromLatin1(kStampColumns)));
    for (const CodeTable& t : kCodeTables)
        detail::exec(db, QStringLiteral("CREATE TABLE %1 (%2 INTEGER PRIMARY KEY AUTOINCREMENT, "
                                        "%3 TEXT(50) COLLATE TEXTCI NOT NULL DEFAULT '')")
                             .arg(QString::fromLatin1(t.table), QString::fromLatin1(t.idField),
                                  QString::fromLatin1(t.descField)));
    createIndexesAndMeta(db);
}

void fillVocabularies(sqlite3* db) {
    for (const CodeTable& t : kCodeTables) {
        detail::Statement st(
            db, QStringLiteral("INSERT INTO %1(%2) VALUES (?)")
                    .arg(QString::fromLatin1(t.table), QString::fromLatin1(t.descField)));
        for (const QString& entry : starterVocabulary(QString::fromLatin1(t.table))) {
            st.reset();
            st.bind(1, Value(entry));
            st.step();
        }
    }
}

bool tableExists(sqlite3* db, const QString& name) {
    detail::Statement st(db, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND "
                                            "lower(name) = lower(?)"));
    st.bind(1, Value(name));
    return st.step();
}

int storedVersion(sqlite3* db) {
    if (!tableExists(db, QStringLiteral("meta")))
        return 0;
    detail::Statement st(db, QStringLiteral("SELECT version FROM meta"));
    return st.step() ? int(st.columnInt(0)) : 0;
}

// Upgrades, one per version step; each runs inside the one transaction of the open.
void upgradeFrom(sqlite3* db, int version) {
    if (version < 1)
        createIndexesAndMeta(db); // collections from before the version table
}

} // namespace

const CodeTable* codeTables() {
    return kCodeTables;
}

const CodeTable* codeTableByName(const QString& table) {
    for (const CodeTable& t : kCodeTables)
        if (table.compare(QLatin1String(t.table), Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

QString CatSortKey(const QString& catalogueNumber) {
    const QString part = CountFields(catalogueNumber, QLatin1Char('-')) > 1
                             ? NthField(catalogueNumber, QLatin1Char('-'), 1)
                             : catalogueNumber;
    QString digits;
    for (QChar c : part)
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits += c;
    if (catalogueNumber.size() > 20)
        return digits.left(20);
    return PadLeft(digits, 20);
}

QStringList starterVocabulary(const QString& table) {
    const CodeTable* t = codeTableByName(table);
    if (!t)
        return {};
    QFile f(QStringLiteral(":/data/vocabulary/%1.txt").arg(QString::fromLatin1(t->vocabulary)));
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QStringList out;
    QTextStream in(&f);
    in.setEncoding(QStringConverter::Utf8);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (!line.isEmpty())
            out << line;
    }
    return out;
}

std::unique_ptr<Database> createCollection(const QString& path, bool withVocabulary) {
    createDatabaseFile(path, [&](Database& db) {
        createTables(db.handle());
        if (withVocabulary)
            fillVocabularies(db.handle());
    });
    return openCollection(path);
}

bool quickCheck(Database& db, QString* detail) {
    try {
        detail::Statement st(db.handle(), QStringLiteral("PRAGMA quick_check"));
        QStringList problems;
        while (st.step())
            problems << st.columnText(0);
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
    sqlite3* h = db.handle();
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
    for (const char* f : kStampFields)
        stampFields << QString::fromLatin1(f);
    checkTable(QStringLiteral("stamp"), stampFields);
    for (const CodeTable& t : kCodeTables)
        checkTable(QString::fromLatin1(t.table),
                   {QString::fromLatin1(t.idField), QString::fromLatin1(t.descField)});
    return problems;
}

std::unique_ptr<Database> openCollection(const QString& path) {
    auto db = Database::open(path, OpenMode::Exclusive);
    QString detail;
    if (!quickCheck(*db, &detail))
        throw DbError(
            err::DamagedFile,
            QStringLiteral("The collection '%1' is damaged (%2).").arg(path, detail.left(300)));
    sqlite3* h = db->handle();
    const int version = storedVersion(h);
    if (version > SchemaVersion)
        throw DbError(
            err::NewerVersion,
            QStringLiteral("The collection '%1' was written by a newer version of Perlinex "
                           "(schema %2; this program knows schema %3). It has been left "
                           "as it is.")
                .arg(path)
                .arg(version)
                .arg(SchemaVersion));
    const QStringList problems = collectionProblems(*db);
    if (!problems.isEmpty())
        throw DbError(err::TableMissing,
                      QStringLiteral("'%1' is not a complete Perlinex collection: %2. It has been "
                                     "left as it is.")
                          .arg(path, problems.join(QLatin1String(", "))));
    if (version < SchemaVersion)
        db->transaction([&] { upgradeFrom(h, version); });
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
