#include "db/catalogue.h"
#include "db/dberror.h"
#include "db/sqlitecall.h"
#include "support/collection_fixture.h"
#include "support/unprivileged.h"

#include <QDir>
#include <QFile>
#include <QProcess>
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

TEST_F(SchemaTest, OlderSchemaIsUpgradedAndNewerOneRefusedUntouched) {
    addStamp(QStringLiteral("kept"));
    db->execute(QStringLiteral("drop table meta; drop index stamp_descr"));
    db->close();
    db = openCollection(dbPath);
    EXPECT_EQ(db->scalar(QStringLiteral("select version from meta")).toInteger(), SchemaVersion);
    EXPECT_EQ(
        db->scalar(QStringLiteral("select count(*) from sqlite_master where name = 'stamp_descr'"))
            .toInteger(),
        1);
    EXPECT_EQ(db->scalar(QStringLiteral("select descr from stamp")).toText(),
              QStringLiteral("kept"));

    db->execute(QStringLiteral("update meta set version = %1").arg(SchemaVersion + 1));
    db->close();
    const QByteArray before = contents(dbPath);
    EXPECT_EQ(openError(dbPath), err::NewerVersion);
    EXPECT_TRUE(openErrorText(dbPath).contains(QStringLiteral("newer version")));
    EXPECT_EQ(contents(dbPath), before);
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
