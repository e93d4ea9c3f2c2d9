#include "db/pg/pgpictures.h"
#include "db/schema.h"
#include "db/sqlite/collectionfile.h"
#include "db/sqlite/pendingpicture.h"
#include "db/sqlite/searchtext.h"
#include "exchange/csvexport.h"
#include "exchange_support.h"
#include "support/collection_fixture.h"
#include "support/server_fixture.h"

#include <gtest/gtest.h>
#include <optional>

using namespace exchange_test;
using namespace perlinex;
using namespace perlinex::exchange;

namespace {

// An import of CSV bytes as the command makes it, into the fixture's collection.
class Import : public CollectionTest {
protected:
    regional::Regional regional{QLocale(QLocale::English, QLocale::UnitedStates)};
    std::optional<CsvSource> source;
    std::optional<ColumnMap> columns;
    std::optional<FolderPictures> pictures;
    std::optional<ImportPlan> plan;

    QString images() const { return path(QStringLiteral("images")); }

    const ImportPlan& planOf(const QByteArray& csv) {
        writeBytes(path(QStringLiteral("in/stamps.csv")), csv);
        source = readCsvFile(path(QStringLiteral("in/stamps.csv")));
        columns = ColumnMap::match(source->table.headers);
        pictures.emplace(path(QStringLiteral("in")));
        plan.emplace(*db, source->table, *columns, regional, &*pictures);
        return *plan;
    }

    ImportOutcome store(const ImportChoices& choices = {}, const WorkProgress& progress = {}) {
        return storeImport(*db, images(), *plan, regional, &*pictures, sameBytes, choices,
                           progress);
    }

    QStringList problems() const {
        QStringList out;
        for (const LineProblem& p : plan->problems())
            out << QStringLiteral("%1|%2|%3").arg(p.line).arg(p.column).arg(p.refused);
        return out;
    }

    QString field(int stamp, const char* name) {
        return storedStamps(*db).value(stamp).value(QLatin1String(name));
    }
};

struct CsvCase {
    const char* name;
    QByteArray bytes;
    // field=value of the first stamp stored (money with four decimals, dates ISO)
    std::vector<const char*> first;
    int stored;
};

const CsvCase kCsvCases[] = {
    {"QuotesLineBreaksAndDelimiters",
     "descr,catnum,notes\r\n\"Penny Black, \"\"plate 1a\"\"\",SG 1,\"first line\r\nsecond, "
     "line\"\r\nPenny Red,SG 2,\r\n",
     {"descr=Penny Black, \"plate 1a\"", "catnum=SG 1", "notes=first line\r\nsecond, line",
      "quantity=1"},
     2},
    {"ByteOrderMark",
     "\xEF\xBB\xBF"
     "Description,Country\nStamp,Åland\n",
     {"descr=Stamp", "CouID=Åland"},
     1},
    {"Latin1",
     "Description;Country;Notes\n\xC9"
     "cu;France;caf\xE9 \x80\n",
     {"descr=Écu", "CouID=France", "notes=café €"},
     1},
    {"SemicolonsAndDecimalCommas",
     "Beschreibung;Price Paid;Value;Face\nMarke;54,91 €;1.234,50;0,10\n",
     {"notes=Beschreibung: Marke", "pricepaid=54.9100", "catvalue=1234.5000", "face=0.1000"},
     0},
    {"MissingColumnsTakeTheDefaults",
     "descr\nLonely\n",
     {"descr=Lonely", "quantity=1", "used=no", "face="},
     1},
    {"ExtraColumnsAndCellsGoToTheNotes",
     "descr,Album,notes\nOne,3,kept,surplus\n",
     {"descr=One", "notes=kept\nAlbum: 3\nColumn 4: surplus"},
     1},
    {"TellicoExport",
     "Title,Description,Denomination,Currency,Country,Issue Year,Color,Scott#,Grade,Cancelled,"
     "Hinged,Centering,Gummed,Purchase Date,Purchase Price,Location,Gift,Image,Comments,Id,"
     "Date Created,Date Modified\n"
     "1885 Queen Victoria 1d,Queen Victoria,1d,GBP,United Kingdom,1885; 1886,lilac,SG 172,Very "
     "Fine,true,Hinged,Good,Original gum,2005-03-12,$54.91,Album 2,,,\"Bought in London.\nNice "
     "colour.\",1,2020-01-01,2020-01-02\n",
     {"descr=Queen Victoria", "catnum=SG 172", "Year=1885", "used=yes", "Color=lilac",
      "CouID=United Kingdom", "ConID=Very Fine", "gumID=Original gum", "purchased=2005-03-12",
      "pricepaid=54.9100",
      "notes=Bought in London.\nNice colour.\nDenomination: 1d\nCurrency: GBP\nIssue Year: "
      "1885; 1886\nHinged: Hinged\nCentering: Good\nLocation: Album 2"},
     1},
};

class ImportCsv : public Import, public ::testing::WithParamInterface<CsvCase> {};

} // namespace

TEST_P(ImportCsv, StoresEveryLineAsTyped) {
    const CsvCase& c = GetParam();
    const ImportPlan& p = planOf(c.bytes);
    if (c.stored == 0) {
        // No description column: refused, but the values are read as the file means them.
        ASSERT_FALSE(p.stamps().empty());
        EXPECT_TRUE(p.hasRefusals());
        EXPECT_EQ(store().result, ImportOutcome::Result::Refused);
        EXPECT_TRUE(storedStamps(*db).isEmpty());
        QString why;
        ASSERT_TRUE(columns->assign(QStringLiteral("Beschreibung"), QStringLiteral("descr"), &why));
        plan.emplace(*db, source->table, *columns, regional, &*pictures);
        QStringList expected;
        for (const char* f : c.first)
            expected << QString::fromUtf8(f);
        expected.replaceInStrings(QStringLiteral("notes=Beschreibung: Marke"),
                                  QStringLiteral("descr=Marke"));
        const ImportOutcome out = store();
        ASSERT_EQ(out.result, ImportOutcome::Result::Stored) << problems().join(' ').toStdString();
        for (const QString& e : expected)
            EXPECT_EQ(field(0, e.section('=', 0, 0).toUtf8()), e.section('=', 1))
                << e.toStdString();
        return;
    }
    EXPECT_FALSE(p.hasRefusals()) << problems().join(' ').toStdString();
    const ImportOutcome out = store();
    ASSERT_EQ(out.result, ImportOutcome::Result::Stored);
    EXPECT_EQ(out.stored, c.stored);
    for (const char* e : c.first) {
        const QString pair = QString::fromUtf8(e);
        EXPECT_EQ(field(0, pair.section('=', 0, 0).toUtf8()), pair.section('=', 1)) << e;
    }
}

INSTANTIATE_TEST_SUITE_P(Files, ImportCsv, ::testing::ValuesIn(kCsvCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Import, BadNumbersAndDatesRefuseTheirLinesAndNothingIsStored) {
    planOf("descr,Year,Price Paid,issued,quantity,catnum\n"
           "Good,1900,1.00,1900-01-02,1,\n"
           "Bad year,18.85.1,,,1,\n"
           "\"Two\nlines\",1900,12.3.4,,1,\n"
           "Bad date,,,2021-02-30,1,\n"
           "Bad quantity,,,,3.5,\n"
           ",1900,,,1,\n"
           "Too long a number,,,,,123456789012345678901234567890123\n"
           "Sold,,,,1,\n");
    EXPECT_EQ(problems(), (QStringList{QStringLiteral("3|Year|1"), QStringLiteral("4|Price Paid|1"),
                                       QStringLiteral("6|issued|1"), QStringLiteral("7|quantity|1"),
                                       QStringLiteral("8|descr|1")}));
    // Words in a number field are no bad number: they are kept in the notes.
    EXPECT_EQ(store().result, ImportOutcome::Result::Refused);
    EXPECT_TRUE(storedStamps(*db).isEmpty());

    ImportChoices goodOnly;
    goodOnly.goodLinesOnly = true;
    const ImportOutcome out = store(goodOnly);
    EXPECT_EQ(out.stored, 3);
    EXPECT_EQ(out.leftOut, 5);
    EXPECT_EQ(field(0, "descr"), QStringLiteral("Good"));
    // A text longer than its field keeps what fits and the whole in the notes.
    EXPECT_EQ(field(1, "catnum"), QStringLiteral("123456789012345678901234567890"));
    EXPECT_EQ(field(1, "notes"), QStringLiteral("catnum: 123456789012345678901234567890123"));
}

TEST_F(Import, NewClassificationsAreListedAndAddedAndAccentsDoNotMatter) {
    db->execute(QStringLiteral("insert into country (Coudesc) values ('Åland')"));
    const std::int64_t aland = codeId(QStringLiteral("country"), QStringLiteral("CouID"),
                                      QStringLiteral("Coudesc"), QStringLiteral("Åland"));
    const ImportPlan& p = planOf("descr,country,topic\nOne,aland,Dragons\nTwo,NARNIA,dragons\n"
                                 "Three,Narnia,\n");
    ASSERT_EQ(p.newCodes().size(), 2u);
    EXPECT_EQ(p.newCodes()[0].description, QStringLiteral("Dragons"));
    EXPECT_EQ(QLatin1String(p.newCodes()[0].table->table), QLatin1String("topic"));
    EXPECT_EQ(p.newCodes()[1].description, QStringLiteral("NARNIA"));
    EXPECT_EQ(p.previewRow(p.stamps()[1])[ImportPlan::previewHeader().indexOf("Country")],
              QStringLiteral("NARNIA (new)"));
    const ImportOutcome out = store();
    EXPECT_EQ(out.newCodes, 2);
    const auto stamps = storedStamps(*db);
    EXPECT_EQ(stamps[0][QStringLiteral("CouID")], QStringLiteral("Åland"));
    EXPECT_EQ(db->scalar(QStringLiteral("select CouID from stamp where descr = 'One'")).toInteger(),
              aland);
    EXPECT_EQ(stamps[1][QStringLiteral("CouID")], QStringLiteral("NARNIA"));
    EXPECT_EQ(stamps[2][QStringLiteral("CouID")], QStringLiteral("NARNIA"));
    EXPECT_EQ(stamps[1][QStringLiteral("topID")], QStringLiteral("Dragons"));
    EXPECT_EQ(db->scalar(QStringLiteral("select count(*) from country where Coudesc = 'Narnia'"))
                  .toInteger(),
              1);
}

TEST_F(Import, TheSameFileTwiceOffersToSkipTheStampsAlreadyHeld) {
    QByteArray csv = "descr,catnum,country,Year,quantity\nPenny Black,SG 1,United Kingdom,"
                     "1840,1\nPenny Red,SG 2,,1841,1\n";
    planOf(csv);
    EXPECT_EQ(plan->duplicateCount(), 0);
    store();
    planOf(csv.replace("Penny Red", "penny red"));
    EXPECT_EQ(plan->duplicateCount(), 2);
    ImportChoices skip;
    skip.skipDuplicates = true;
    const ImportOutcome out = store(skip);
    EXPECT_EQ(out.stored, 0);
    EXPECT_EQ(out.skippedDuplicates, 2);
    EXPECT_EQ(store().stored, 2);
    EXPECT_EQ(storedStamps(*db).size(), 4);
}

TEST_F(Import, PicturesComeWithTheirStampsAndAMissingOneIsKeptInTheNotes) {
    writeBytes(path(QStringLiteral("in/scans/one.png")), "picture one");
    writeBytes(path(QStringLiteral("elsewhere/two.png")), "picture two");
    const QString absolute = path(QStringLiteral("elsewhere/two.png"));
    addStamp(QStringLiteral("Held already"));
    planOf("descr,Image\nOne,scans/one.png\nTwo," + absolute.toUtf8() + "\nThree,gone.png\n");
    EXPECT_EQ(problems(), QStringList{QStringLiteral("4||0")});
    const ImportOutcome out = store();
    EXPECT_EQ(out.stored, 3);
    EXPECT_EQ(out.firstId, 2);
    EXPECT_EQ(readBytes(QDir(images()).filePath(db::pictureFileName(2))), "picture one");
    EXPECT_EQ(readBytes(QDir(images()).filePath(db::pictureFileName(3))), "picture two");
    EXPECT_FALSE(QFileInfo::exists(QDir(images()).filePath(db::pictureFileName(4))));
    EXPECT_EQ(field(3, "notes"), QStringLiteral("Picture: gone.png"));
    // Nothing waits beside the pictures once the import is stored.
    EXPECT_EQ(QDir(images()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

TEST_F(Import, ACancelHalfWayLeavesTheCollectionAsItWas) {
    addStamp(QStringLiteral("Held already"));
    QByteArray csv = "descr,country,picture\n";
    for (int i = 0; i < 600; ++i)
        csv += QStringLiteral("Stamp %1,Country %2,%3\n")
                   .arg(i)
                   .arg(i % 7)
                   .arg(i % 10 == 0 ? QStringLiteral("p.png") : QString())
                   .toUtf8();
    writeBytes(path(QStringLiteral("in/p.png")), "a picture");
    planOf(csv);
    const auto before = storedStamps(*db);
    const auto countries = db->scalar(QStringLiteral("select count(*) from country")).toInteger();
    const auto numbers =
        db->scalar(QStringLiteral("select seq from sqlite_sequence where name = 'stamp'"));
    std::int64_t seen = 0;
    const ImportOutcome out = store({}, [&](std::int64_t done, std::int64_t total) {
        seen = done;
        return done < total / 2;
    });
    EXPECT_EQ(out.result, ImportOutcome::Result::Cancelled);
    EXPECT_GE(seen, 300);
    EXPECT_EQ(storedStamps(*db), before);
    EXPECT_EQ(db->scalar(QStringLiteral("select count(*) from country")).toInteger(), countries);
    EXPECT_TRUE(QDir(images()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_EQ(db->scalar(QStringLiteral("select seq from sqlite_sequence where name = 'stamp'")),
              numbers);
}

// The import fills the search text of its stamps in one go rather than row by row: every stamp
// gets the text the file's own trigger gives it, and the trigger is there as before, after a
// store as after a cancel.
TEST_F(Import, StoredStampsGetTheirSearchTextAndTheTriggerStaysAsItWas) {
    const auto trigger = [&] {
        return db->scalar(QStringLiteral("select sql from sqlite_master where type = 'trigger' "
                                         "and name = 'stamp_search_add'"));
    };
    const auto unlike = [&] {
        return db
            ->scalar(QStringLiteral("select count(*) from stamp where foldedtext is null or "
                                    "foldedtext is not %1")
                         .arg(db::searchTextExpression(QStringLiteral("stamp"))))
            .toInteger();
    };
    const db::Value before = trigger();
    ASSERT_FALSE(before.isNull());
    addStamp(QStringLiteral("Held already"));
    planOf("descr,catnum,country,notes\nPosthorn,A 1,Åland,\nLion,B 2,Österreich,Perfin \"KK\"\n");
    ASSERT_EQ(store().stored, 2);
    EXPECT_EQ(unlike(), 0);
    EXPECT_EQ(db::stampsMatching(*db, db::filterWords(QStringLiteral("aland posthorn"))),
              std::vector<std::int64_t>{2});
    EXPECT_EQ(db::stampsMatching(*db, db::filterWords(QStringLiteral("osterreich kk"))),
              std::vector<std::int64_t>{3});
    EXPECT_EQ(trigger(), before);

    planOf("descr\nCancelled\n");
    EXPECT_EQ(store({}, [](std::int64_t, std::int64_t) { return false; }).result,
              ImportOutcome::Result::Cancelled);
    EXPECT_EQ(trigger(), before);
    // A stamp stored afterwards gets its text from the trigger again.
    addStamp(QStringLiteral("Later"));
    EXPECT_EQ(unlike(), 0);
    EXPECT_EQ(db->scalar(QStringLiteral("select count(*) from stamp")).toInteger(), 4);
}

// A store of many stamps sets the table's indexes aside and sorts each once at the end; the
// collection keeps the same indexes whether the store ends, is cancelled half-way or is small.
TEST_F(Import, ALargeStoreMakesTheIndexesAgainAsTheyWere) {
    const auto indexes = [&] {
        return db
            ->scalar(QStringLiteral("select group_concat(name || ' ' || sql, char(10)) from "
                                    "(select name, sql from sqlite_master where type = 'index' "
                                    "and sql is not null order by name)"))
            .toText();
    };
    const QString before = indexes();
    ASSERT_GT(before.count(QLatin1Char('\n')), 10);
    addStamp(QStringLiteral("Held already"));
    QString csv = QStringLiteral("descr,catnum,country,Year\n");
    for (int i = 0; i < 6000; ++i)
        csv += QStringLiteral("Stamp %1,C %2,Åland,%3\n").arg(6000 - i).arg(i).arg(1900 + i % 100);
    planOf(csv.toUtf8());
    std::int64_t seen = 0;
    EXPECT_EQ(
        store({}, [&](std::int64_t done, std::int64_t) { return (seen = done) < 3000; }).result,
        ImportOutcome::Result::Cancelled);
    EXPECT_GE(seen, 3000);
    EXPECT_EQ(indexes(), before);
    ASSERT_EQ(store().stored, 6000);
    EXPECT_EQ(indexes(), before);
    EXPECT_EQ(db->scalar(QStringLiteral("pragma integrity_check")).toText(), QStringLiteral("ok"));
    // The description index orders the new stamps with the one held before.
    EXPECT_EQ(db->scalar(QStringLiteral("select descr from stamp indexed by stamp_descr "
                                        "where descr > '' order by descr limit 1"))
                  .toText(),
              QStringLiteral("Held already"));
}

TEST_F(Import, ExportThenImportIntoANewCollectionGivesTheSameStamps) {
    // A stamp with every field filled, one with as little as may be, one with odd texts.
    db->execute(QStringLiteral("insert into country (Coudesc) values ('Åland')"));
    const std::int64_t full =
        addStamp(QStringLiteral("Penny Black, \"plate 1a\""), QStringLiteral("SG 1-a"),
                 {{QStringLiteral("face"), db::Value(Currency::fromRaw(1235))},
                  {QStringLiteral("Year"), db::Value(std::int64_t(1840))},
                  {QStringLiteral("used"), db::Value(true)},
                  {QStringLiteral("wantlist"), db::Value(true)},
                  {QStringLiteral("quantity"), db::Value(std::int64_t(3))},
                  {QStringLiteral("Color"), db::Value(QStringLiteral("black"))},
                  {QStringLiteral("watermark"), db::Value(QStringLiteral("Small Crown"))},
                  {QStringLiteral("Errors"), db::Value(QStringLiteral("none"))},
                  {QStringLiteral("issued"), db::Value(QDate(1840, 5, 6))},
                  {QStringLiteral("pricepaid"), db::Value(Currency::fromRaw(5491000))},
                  {QStringLiteral("totalpaid"), db::Value(Currency::fromRaw(3 * 5491000))},
                  {QStringLiteral("catvalue"), db::Value(Currency::fromRaw(-20000))},
                  {QStringLiteral("totalval"), db::Value(Currency::fromRaw(-60000))},
                  {QStringLiteral("priceask"), db::Value(Currency::fromRaw(10000))},
                  {QStringLiteral("totalsales"), db::Value(Currency::fromRaw(30000))},
                  {QStringLiteral("forsale"), db::Value(true)},
                  {QStringLiteral("purchased"), db::Value(QDate(2005, 3, 12))},
                  {QStringLiteral("datesold"), db::Value(QDate(2006, 1, 2))},
                  {QStringLiteral("notes"), db::Value(QStringLiteral("two\r\nlines, \"quoted\""))},
                  {QStringLiteral("misc1"), db::Value(QStringLiteral("Album 2"))},
                  {QStringLiteral("misc2"), db::Value(QStringLiteral("Lot 7"))}});
    for (const db::CodeTable& t : db::codeTables())
        db->execute(
            QStringLiteral("update stamp set %1 = (select max(%1) from %2) where stampid = %3")
                .arg(QLatin1String(t.idField), QLatin1String(t.table))
                .arg(full));
    db->execute(QStringLiteral("update stamp set CouID = (select CouID from country where "
                               "Coudesc = 'Åland') where stampid = %1")
                    .arg(full));
    const std::int64_t bare = addStamp(QStringLiteral("Bare"));
    addStamp(QStringLiteral("Ünïcödé ☃"), QStringLiteral("  spaced  "),
             {{QStringLiteral("sold"), db::Value(true)}});
    writeBytes(QDir(images()).filePath(db::pictureFileName(full)), "the full stamp's picture");
    writeBytes(QDir(images()).filePath(db::pictureFileName(bare)), "the bare stamp's picture");
    const auto before = storedStamps(*db);

    const QString csv = path(QStringLiteral("out/stamps.csv"));
    QDir().mkpath(path(QStringLiteral("out")));
    ExportOptions options;
    options.picturesFolder = path(QStringLiteral("out/pictures"));
    const ExportOutcome exported = exportStampsCsv(*db, images(), {}, csv, options);
    EXPECT_EQ(exported.stamps, 3);
    EXPECT_EQ(exported.pictures, 2);

    const QString other = path(QStringLiteral("other"));
    QDir().mkpath(other);
    auto copy = db::createCollection(QDir(other).filePath(QStringLiteral("stamp.mdb")));
    const CsvSource read = readCsvFile(csv);
    const ColumnMap map = ColumnMap::match(read.table.headers);
    const FolderPictures pictures(path(QStringLiteral("out")));
    const ImportPlan p(*copy, read.table, map, regional, &pictures);
    EXPECT_FALSE(p.hasRefusals());
    EXPECT_TRUE(p.newCodes().size() == 1 && p.newCodes()[0].description == QStringLiteral("Åland"));
    const QString otherImages = QDir(other).filePath(QStringLiteral("images"));
    ASSERT_EQ(storeImport(*copy, otherImages, p, regional, &pictures, sameBytes, {}).stored, 3);
    // The export is in description order: compare by description.
    auto after = storedStamps(*copy);
    auto byDescription = [](const QMap<QString, QString>& a, const QMap<QString, QString>& b) {
        return a.value(QStringLiteral("descr")) < b.value(QStringLiteral("descr"));
    };
    auto expected = before;
    std::sort(expected.begin(), expected.end(), byDescription);
    std::sort(after.begin(), after.end(), byDescription);
    EXPECT_EQ(after, expected);
    const std::int64_t fullAgain =
        copy->scalar(QStringLiteral("select stampid from stamp where Year = 1840")).toInteger();
    const std::int64_t bareAgain =
        copy->scalar(QStringLiteral("select stampid from stamp where descr = 'Bare'")).toInteger();
    EXPECT_EQ(readBytes(QDir(otherImages).filePath(db::pictureFileName(fullAgain))),
              "the full stamp's picture");
    EXPECT_EQ(readBytes(QDir(otherImages).filePath(db::pictureFileName(bareAgain))),
              "the bare stamp's picture");
    EXPECT_EQ(QDir(otherImages).entryList(QDir::Files | QDir::Hidden).size(), 2);
    copy->close();
}

namespace {

// The same import into a collection shared on the test server.
class SharedImport : public Import {
protected:
    QString collection = freshCollectionName();

    void SetUp() override {
        TempFolderTest::SetUp();
        SKIP_WITHOUT_SERVER();
        db = db::createServerCollection(serverUnderTest(), collection);
    }
    void TearDown() override {
        Import::TearDown();
        if (!serverUnderTest().isEmpty())
            db::dropServerCollection(serverUnderTest(), collection);
    }
};

} // namespace

// Stamps imported into a shared collection are stored with their pictures as rows, their new
// classifications, their sort keys and their search text, and are known as held the next time.
TEST_F(SharedImport, StampsComeWithTheirPicturesClassificationsAndSearchText) {
    writeBytes(path(QStringLiteral("in/one.jpg")), "picture one");
    const QByteArray csv = "descr,catnum,Country,Image\nÉcu d'or,SG 1,Åland,one.jpg\n"
                           "alpha,SG 2,Newland,\n";
    planOf(csv);
    const ImportOutcome out = store();
    ASSERT_EQ(out.stored, 2);
    EXPECT_EQ(db::serverPicture(*db, out.firstId), QByteArray("picture one"));
    EXPECT_TRUE(db::serverPicture(*db, out.lastId).isEmpty());
    EXPECT_EQ(db->scalar(QStringLiteral("select count(*) from country where coudesc = "
                                        "'Newland'"))
                  .toInteger(),
              1);
    // In the collection's text order, and found by the filter through the country's name.
    const auto ordered = db->query(QStringLiteral("select descr from stamp order by descr"));
    QStringList names;
    while (ordered->next())
        names << ordered->text(0);
    EXPECT_EQ(names, (QStringList{QStringLiteral("alpha"), QStringLiteral("Écu d'or")}));
    EXPECT_EQ(db::stampsMatching(*db, db::filterWords(QStringLiteral("aland ecu"))),
              std::vector<std::int64_t>{out.firstId});
    planOf(csv);
    ImportChoices skip;
    skip.skipDuplicates = true;
    EXPECT_EQ(store(skip).skippedDuplicates, 2);
}
