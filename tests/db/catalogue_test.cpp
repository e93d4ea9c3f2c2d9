#include "db/catalogue.h"
#include "db/dberror.h"
#include "db/recordset.h"
#include "db/sqlite/cataloguefile.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <functional>
#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace perlinex::db;

namespace {

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

void sqliteFile(const QString& path, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    sqlite3_close(db);
    ASSERT_EQ(rc, SQLITE_OK) << sql;
}

std::int64_t stampFields(Database& catalogue) {
    return catalogue.scalar(QStringLiteral("select count(*) from RptSpec where usewith = 'stamp'"))
        .toInteger();
}

QStringList badCopies(const QString& folder) {
    return QDir(folder).entryList({QStringLiteral("rptspec-bad-*.mdb")},
                                  QDir::Files | QDir::System | QDir::Hidden);
}

struct BadCatalogue {
    const char* name;
    std::function<void(const QString& path)> make;
    const char* told; // part of what the user is told the file was
};

const BadCatalogue kBadCatalogues[] = {
    {"TextFile", [](const QString& p) { writeBytes(p, "rptspec\tnotes\n"); }, "a text file"},
    {"EmptyFile", [](const QString& p) { writeBytes(p, QByteArray()); }, "an empty file"},
    {"AccessDatabase",
     [](const QString& p) {
         writeBytes(p, QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20) +
                           QByteArray(2028, '\x00'));
     },
     "Access"},
    {"DatabaseWithoutTheTable", [](const QString& p) { sqliteFile(p, "CREATE TABLE other (a)"); },
     "without the table"},
    {"TableWithoutItsFields",
     [](const QString& p) {
         sqliteFile(p, "CREATE TABLE RptSpec (specid INTEGER PRIMARY KEY, \"Desc\" TEXT)");
     },
     "lacks the field"},
    {"TableWithoutRows",
     [](const QString& p) {
         sqliteFile(p, "CREATE TABLE RptSpec (specid, \"Desc\", usewith, fieldname, FileName, "
                       "linkfield, datatype, defwidth, IsCurrency, ismemo)");
     },
     "without fields"},
    {"LinkThatLeadsNowhere",
     [](const QString& p) { ASSERT_TRUE(QFile::link(p + QStringLiteral(".gone"), p)); }, "missing"},
};

void PrintTo(const BadCatalogue& p, std::ostream* os) {
    *os << p.name;
}

} // namespace

class BadCatalogueFile : public TempFolderTest,
                         public ::testing::WithParamInterface<BadCatalogue> {};

TEST_P(BadCatalogueFile, IsKeptAsideAndTheCatalogueMadeAgain) {
    const QString file = path(QStringLiteral("rptspec.mdb"));
    GetParam().make(file);
    const QByteArray before = contents(file);
    const bool link = QFileInfo(file).isSymLink();

    QString told;
    std::unique_ptr<Database> catalogue;
    ASSERT_NO_THROW(catalogue = openCatalogue(dir.path(), &told));
    EXPECT_EQ(stampFields(*catalogue), 33);

    const QStringList kept = badCopies(dir.path());
    ASSERT_EQ(kept.size(), 1) << QDir(dir.path()).entryList().join(QLatin1Char(',')).toStdString();
    const QString keptPath = path(kept[0]);
    EXPECT_EQ(QFileInfo(keptPath).isSymLink(), link);
    EXPECT_EQ(contents(keptPath), before);
    EXPECT_TRUE(told.contains(QLatin1String(GetParam().told))) << told.toStdString();
    EXPECT_TRUE(told.contains(kept[0])) << told.toStdString();

    // The new catalogue serves the next start as it is.
    catalogue.reset();
    QString again;
    openCatalogue(dir.path(), &again);
    EXPECT_TRUE(again.isEmpty()) << again.toStdString();
    EXPECT_EQ(badCopies(dir.path()), kept);
}

INSTANTIATE_TEST_SUITE_P(Kinds, BadCatalogueFile, ::testing::ValuesIn(kBadCatalogues),
                         [](const auto& info) { return std::string(info.param.name); });

class CatalogueFile : public TempFolderTest {};

TEST_F(CatalogueFile, ABadFileNeverReplacesAnEarlierKeptOne) {
    const QString file = path(QStringLiteral("rptspec.mdb"));
    writeBytes(file, "first");
    openCatalogue(dir.path());
    // A second bad file within the same second gets its own name.
    QFile::remove(file);
    writeBytes(file, "second");
    openCatalogue(dir.path());

    QList<QByteArray> kept;
    for (const QString& name : badCopies(dir.path()))
        kept << contents(path(name));
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(kept, (QList<QByteArray>{"first", "second"}));
}

TEST(CatalogueRows, OnlyNamesOfTheCollectionsTablesAndFieldsPass) {
    // The shipped rows all pass.
    QTemporaryDir dir;
    auto shipped = openCatalogue(dir.path());
    auto rows =
        shipped->openRecordSet(QStringLiteral("select * from RptSpec"), RecordSetKind::Snapshot);
    for (; !rows->eof(); rows->moveNext()) {
        const auto text = [&](const char* f) { return rows->field(QLatin1String(f)).toText(); };
        EXPECT_EQ(catalogueRowProblem({rows->field(QStringLiteral("specid")).toInteger(),
                                       text("Desc"), text("usewith"), text("fieldname"),
                                       text("FileName"), text("linkfield")}),
                  QString())
            << text("Desc").toStdString();
    }
    const struct {
        const char *useWith, *fieldname, *fileName, *linkfield;
        const char* problem; // part of the reason; nullptr when the row passes
    } cases[] = {
        {"STAMP", "DESCR", "", "", nullptr},
        {"stamp", "country.CouID", "country", "CouID", nullptr},
        {"stamp", "Coudesc", "country", "CouID;CouID", nullptr},
        {"stamp", "descr, stampid", "stamp", "", "(fieldname)"},
        {"stamp", "descr) from stamp; drop table stamp; --", "stamp", "", "(fieldname)"},
        {"stamp", "[descr]", "stamp", "", "(fieldname)"},
        {"stamp", "sqlite_master.sql", "stamp", "", "(fieldname)"},
        {"stamp", "Coudesc", "stamp", "", "(fieldname)"},
        {"stamp", "Coudesc", "country", "", "(linkfield)"},
        {"stamp", "Coudesc", "country", "CouID = 1 or CouID", "(linkfield)"},
        {"stamp", "Coudesc", "country", "CouID;CouID;CouID", "(linkfield)"},
        {"stamp", "Coudesc", "sqlite_master", "CouID", "(FileName)"},
        {"stamp where 1", "descr", "stamp", "", "(usewith)"},
        {"letters", "descr", "", "", "(usewith)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fieldname);
        const QString problem = catalogueRowProblem(
            {7, QStringLiteral("Odd"), QLatin1String(c.useWith), QLatin1String(c.fieldname),
             QLatin1String(c.fileName), QLatin1String(c.linkfield)});
        if (!c.problem) {
            EXPECT_EQ(problem, QString());
            continue;
        }
        EXPECT_TRUE(problem.contains(QStringLiteral("row 7 (Odd)"))) << problem.toStdString();
        EXPECT_TRUE(problem.contains(QLatin1String(c.problem))) << problem.toStdString();
    }
}
