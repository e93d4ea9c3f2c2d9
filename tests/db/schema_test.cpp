#include "db/catalogue.h"
#include "db/dberror.h"
#include "db/sqlite/cataloguefile.h"
#include "db/sqlite/collectionfile.h"
#include "db/sqlite/maintenance.h"
#include "db/sqlite/sqlitecall.h"
#include "support/collection_fixture.h"
#include "support/unprivileged.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace perlinex;
using namespace perlinex::db;

namespace {

int openError(const QString& path) {
    try {
        openCollection(path);
    } catch (const DbError& e) {
        return e.number();
    }
    return 0;
}

QString openErrorText(const QString& path) {
    try {
        openCollection(path);
    } catch (const DbError& e) {
        return e.text();
    }
    return QString();
}

QByteArray contents(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

} // namespace

TEST(CatSortKey, DigitsOfTheLeadingPartRightAligned) {
    EXPECT_EQ(CatSortKey(QString()), QString(20, ' '));
    EXPECT_EQ(CatSortKey(QStringLiteral("123-45")), QString(17, ' ') + QStringLiteral("123"));
    EXPECT_EQ(CatSortKey(QStringLiteral("SG 12a")), QString(18, ' ') + QStringLiteral("12"));
    EXPECT_EQ(CatSortKey(QStringLiteral("1a2")), QString(18, ' ') + QStringLiteral("12"));
    EXPECT_EQ(CatSortKey(QStringLiteral("-12")), QString(20, ' '));
    EXPECT_EQ(CatSortKey(QStringLiteral("12345678901234567890")),
              QStringLiteral("12345678901234567890"));
    // Longer than 20 characters: the first 20 digits, not padded.
    EXPECT_EQ(CatSortKey(QStringLiteral("A1234567890123456789012B")),
              QStringLiteral("12345678901234567890"));
    EXPECT_EQ(CatSortKey(QStringLiteral("xxxxxxxxxx7xxxxxxxxxxx")), QStringLiteral("7"));
}

class SchemaTest : public CollectionTest {};

TEST_F(SchemaTest, NewCollectionHasTheTenTablesAndTheStarterVocabularies) {
    EXPECT_TRUE(collectionProblems(*db).isEmpty());
    EXPECT_EQ(db->scalar(QStringLiteral("select count(*) from stamp")).toInteger(), 0);
    for (int i = 0; i < 9; ++i) {
        const CodeTable& t = codeTables()[i];
        const auto n =
            db->scalar(QStringLiteral("select count(*) from %1").arg(QLatin1String(t.table)))
                .toInteger();
        EXPECT_GE(n, 10) << t.table;
        EXPECT_EQ(n, starterVocabulary(QLatin1String(t.table)).size()) << t.table;
    }
    EXPECT_GT(codeId(QStringLiteral("country"), QStringLiteral("CouID"), QStringLiteral("Coudesc"),
                     QStringLiteral("Germany")),
              0);
    EXPECT_EQ(db->scalar(QStringLiteral("select version from meta")).toInteger(), SchemaVersion);
}

TEST_F(SchemaTest, RefusesToCreateOverAnExistingFile) {
    db->close();
    const QByteArray before = contents(dbPath);
    EXPECT_THROW(createCollection(dbPath), DbError);
    EXPECT_EQ(contents(dbPath), before);
}

TEST_F(SchemaTest, BadFilesAreReportedAndLeftAlone) {
    db->close();
    EXPECT_EQ(openError(path(QStringLiteral("missing/stamp.mdb"))), err::InvalidPath);
    EXPECT_EQ(openError(path(QStringLiteral("other.mdb"))), err::FileNotFound);

    const QString text = path(QStringLiteral("notes.mdb"));
    QFile f(text);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("These are my notes, not a collection.\n");
    f.close();
    EXPECT_EQ(openError(text), err::NotACollection);
    EXPECT_TRUE(openErrorText(text).contains(QStringLiteral("text file")));
    EXPECT_EQ(contents(text), QByteArray("These are my notes, not a collection.\n"));

    const QString jet = path(QStringLiteral("old.mdb"));
    QFile j(jet);
    ASSERT_TRUE(j.open(QIODevice::WriteOnly));
    j.write(QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20) + QByteArray(2000, '\x01'));
    j.close();
    EXPECT_EQ(openError(jet), err::NotACollection);
    EXPECT_TRUE(openErrorText(jet).contains(QStringLiteral("Access")));
}

TEST_F(SchemaTest, MissingTableOrFieldIsNamed) {
    db->execute(QStringLiteral("drop table gum"));
    db->close();
    EXPECT_EQ(openError(dbPath), err::TableMissing);
    EXPECT_TRUE(openErrorText(dbPath).contains(QStringLiteral("'gum'")));

    const QString other = path(QStringLiteral("b.mdb"));
    auto b = createCollection(other);
    b->execute(QStringLiteral("alter table stamp drop column misc2"));
    b->close();
    EXPECT_EQ(openError(other), err::TableMissing);
    EXPECT_TRUE(openErrorText(other).contains(QStringLiteral("misc2")));
}

// What an open does with the version the meta table holds.
enum class VersionOutcome { Opens, Upgrades, Refused };

struct VersionCase {
    const char* name;
    const char* change; // statements run on a fresh collection with one stamp
    VersionOutcome outcome;
    int refusal = 0;
};

QStringList keptBeforeUpgrade(const QString& folder) {
    return QDir(folder).entryList({QStringLiteral("stamp-before-upgrade-*.mdb")}, QDir::Files);
}

TEST_F(SchemaTest, OnlyARealOlderVersionIsUpgradedAndAnyOtherIsLeftByteForByte) {
    using enum VersionOutcome;
    const std::vector<VersionCase> cases = {
        {"own", "", Opens},
        {"no meta table (made before it)", "drop table meta; drop index stamp_descr", Upgrades},
        {"no meta table nor code table", "drop table meta; drop table gum", Refused,
         err::TableMissing},
        {"no meta row", "delete from meta", Refused, err::NewerVersion},
        {"a word", "update meta set version = 'abc'", Refused, err::NewerVersion},
        {"negative", "update meta set version = -5", Refused, err::NewerVersion},
        {"zero", "update meta set version = 0", Refused, err::NewerVersion},
        {"2^32", "update meta set version = 4294967296", Refused, err::NewerVersion},
        {"2^32 + 1", "update meta set version = 4294967297", Refused, err::NewerVersion},
        {"a fraction", "update meta set version = 1.5", Refused, err::NewerVersion},
        {"a text",
         "drop table meta; create table meta (version, unicode); "
         "insert into meta values ('1', '')",
         Refused, err::NewerVersion},
        {"two rows", "insert into meta select * from meta", Refused, err::NewerVersion},
        {"newer", "update meta set version = version + 1", Refused, err::NewerVersion},
    };
    db->close();
    for (const VersionCase& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("stamp.mdb"));
        {
            auto made = createCollection(file);
            made->execute(QStringLiteral(
                "insert into stamp (descr, catnum, catsort) values ('kept', '', '')"));
            if (*c.change)
                made->execute(QLatin1String(c.change));
        }
        const QByteArray before = contents(file);
        EXPECT_EQ(checkCollection(file).isEmpty(), c.outcome != Refused)
            << checkCollection(file).join(QLatin1Char(';')).toStdString();
        EXPECT_EQ(openError(file), c.refusal) << openErrorText(file).toStdString();
        const QStringList kept = keptBeforeUpgrade(folder.path());
        switch (c.outcome) {
        case Opens:
            EXPECT_EQ(contents(file), before);
            EXPECT_TRUE(kept.isEmpty());
            break;
        case Upgrades: {
            EXPECT_EQ(kept.size(), 1);
            EXPECT_EQ(contents(folder.filePath(kept.value(0))), before);
            auto opened = openCollection(file);
            EXPECT_EQ(opened->scalar(QStringLiteral("select version from meta")).toInteger(),
                      SchemaVersion);
            EXPECT_EQ(opened
                          ->scalar(QStringLiteral("select count(*) from sqlite_master where "
                                                  "name = 'stamp_descr'"))
                          .toInteger(),
                      1);
            EXPECT_EQ(opened->scalar(QStringLiteral("select descr from stamp")).toText(),
                      QStringLiteral("kept"));
            break;
        }
        case Refused:
            EXPECT_EQ(contents(file), before);
            EXPECT_TRUE(kept.isEmpty());
            if (c.refusal == err::NewerVersion) {
                EXPECT_TRUE(openErrorText(file).contains(QStringLiteral("newer version")));
            }
            break;
        }
    }
    db.reset();
}

TEST_F(SchemaTest, ReadOnlyFolderIsReportedBeforeAnythingIsWritten) {
    RUN_UNPRIVILEGED();
    db->close();
    const QByteArray folder = QFile::encodeName(dir.path());
    ASSERT_EQ(::chmod(folder.constData(), 0555), 0);
    const int error = openError(dbPath);
    const QString text = openErrorText(dbPath);
    ::chmod(folder.constData(), 0755);
    EXPECT_EQ(error, err::CannotOpen);
    EXPECT_TRUE(text.contains(QStringLiteral("read-only"))) << text.toStdString();
    db.reset();
}

TEST(Catalogue, IsMadeFromTheShippedDataWhenMissing) {
    QTemporaryDir dir;
    auto cat = openCatalogue(dir.path());
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("rptspec.mdb"))));
    auto rows = cat->openRecordSet(
        QStringLiteral("Select * from RptSpec where usewith = 'stamp' order by [desc]"),
        RecordSetKind::Snapshot);
    EXPECT_EQ(rows->recordCount(), 33); // every stamp field but stampid and catsort
    QStringList names;
    for (; !rows->eof(); rows->moveNext())
        names << rows->field(QStringLiteral("fieldname")).toText().toLower();
    EXPECT_FALSE(names.contains(QStringLiteral("stampid")));
    EXPECT_FALSE(names.contains(QStringLiteral("catsort")));
    rows->findFirst(QStringLiteral("Desc = 'Country'"));
    ASSERT_FALSE(rows->noMatch());
    EXPECT_EQ(rows->field(QStringLiteral("FileName")).toText(), QStringLiteral("country"));
    EXPECT_EQ(rows->field(QStringLiteral("linkfield")).toText(), QStringLiteral("CouID"));
    EXPECT_EQ(rows->field(QStringLiteral("datatype")).toInteger(), 1);
    rows->findFirst(QStringLiteral("fieldname = 'notes'"));
    EXPECT_TRUE(rows->field(QStringLiteral("ismemo")).toBool());
    rows->findFirst(QStringLiteral("fieldname = 'priceask'"));
    EXPECT_TRUE(rows->field(QStringLiteral("IsCurrency")).toBool());
    EXPECT_EQ(rows->field(QStringLiteral("datatype")).toInteger(), 2);
}
