#include "db/pendingpicture.h"
#include "exchange/tellicofile.h"
#include "exchange_support.h"
#include "support/collection_fixture.h"

#include <gtest/gtest.h>

using namespace exchange_test;
using namespace perlinex;
using namespace perlinex::exchange;

namespace {

const char* const kEntries = R"(
  <entry id="1">
   <title>1885 Queen Victoria 1d</title>
   <description>Queen Victoria</description>
   <denomination>1d</denomination>
   <currency>GBP</currency>
   <country>United Kingdom</country>
   <years><year>1885</year><year>1886</year></years>
   <color>lilac</color>
   <scott>SG 172</scott>
   <grade>Very Fine</grade>
   <cancelled>true</cancelled>
   <gummed>Original gum</gummed>
   <pur_date>2005-03-12</pur_date>
   <pur_price>$54.91</pur_price>
   <gift>true</gift>
   <image>a1b2c3.png</image>
   <comments>Bought in London.
Nice colour.</comments>
   <watermark>Crown</watermark>
   <id>1</id>
   <cdate calendar="gregorian"><year>2020</year><month>01</month><day>02</day></cdate>
  </entry>
  <entry id="2">
   <title>1900 Penny Red</title>
   <description>Penny Red</description>
   <years><year>1900</year></years>
   <image>embedded.png</image>
  </entry>)";

class Tellico : public CollectionTest {};

} // namespace

TEST_F(Tellico, AStampCollectionBecomesStampsWithTheirPictures) {
    const QString file = path(QStringLiteral("stamps.tc"));
    const QByteArray embedded = QByteArrayLiteral("an embedded picture");
    writeTellicoFile(file,
                     tellicoXml(9, QString::fromUtf8(kEntries),
                                QStringLiteral("<image format=\"PNG\" id=\"embedded.png\" "
                                               "width=\"1\" height=\"1\">%1</image>")
                                    .arg(QString::fromLatin1(embedded.toBase64()))),
                     {{QStringLiteral("a1b2c3.png"), QByteArrayLiteral("picture one")}});
    const TellicoCollection tellico(file);
    EXPECT_EQ(tellico.title(), QStringLiteral("My Stamps"));
    // Tellico's derived title is no column: the description is the stamp's own.
    EXPECT_FALSE(tellico.table().headers.contains(QStringLiteral("Title")));
    ASSERT_EQ(tellico.table().rows.size(), 2u);

    const ColumnMap columns = ColumnMap::match(tellico.table().headers);
    const regional::Regional regional(QLocale(QLocale::English, QLocale::UnitedStates));
    const ImportPlan plan(*db, tellico.table(), columns, regional, &tellico);
    EXPECT_TRUE(plan.problems().empty());
    const QString images = path(QStringLiteral("images"));
    const ImportOutcome out =
        storeImport(*db, images, plan, regional, &tellico, sameBytes, ImportChoices{});
    ASSERT_EQ(out.stored, 2);
    const auto stamps = storedStamps(*db);
    const QMap<QString, QString> first = stamps[0];
    EXPECT_EQ(first[QStringLiteral("descr")], QStringLiteral("Queen Victoria"));
    EXPECT_EQ(first[QStringLiteral("catnum")], QStringLiteral("SG 172"));
    EXPECT_EQ(first[QStringLiteral("Year")], QStringLiteral("1885"));
    EXPECT_EQ(first[QStringLiteral("used")], QStringLiteral("yes"));
    EXPECT_EQ(first[QStringLiteral("CouID")], QStringLiteral("United Kingdom"));
    EXPECT_EQ(first[QStringLiteral("ConID")], QStringLiteral("Very Fine"));
    EXPECT_EQ(first[QStringLiteral("gumID")], QStringLiteral("Original gum"));
    EXPECT_EQ(first[QStringLiteral("watermark")], QStringLiteral("Crown"));
    EXPECT_EQ(first[QStringLiteral("purchased")], QStringLiteral("2005-03-12"));
    EXPECT_EQ(first[QStringLiteral("pricepaid")], QStringLiteral("54.9100"));
    EXPECT_EQ(first[QStringLiteral("notes")],
              QStringLiteral("Bought in London.\nNice colour.\nDenomination: 1d\nCurrency: GBP\n"
                             "Issue Year: 1885; 1886\nGift: true"));
    EXPECT_EQ(stamps[1][QStringLiteral("descr")], QStringLiteral("Penny Red"));
    EXPECT_EQ(stamps[1][QStringLiteral("notes")], QString());
    EXPECT_EQ(readBytes(QDir(images).filePath(db::pictureFileName(1))), "picture one");
    EXPECT_EQ(readBytes(QDir(images).filePath(db::pictureFileName(2))), embedded);
}

TEST_F(Tellico, OtherCollectionsAndOtherFilesAreRefusedWithTheirReason) {
    struct Case {
        const char* name;
        std::function<void(const QString&)> make;
        const char* reason;
    };
    const Case cases[] = {
        {"books.tc",
         [](const QString& f) {
             writeTellicoFile(f, tellicoXml(2, QStringLiteral("<entry id=\"1\"/>")));
         },
         "book collection"},
        {"coins.tc", [](const QString& f) { writeTellicoFile(f, tellicoXml(8, QString())); },
         "coin collection"},
        {"notzip.tc", [](const QString& f) { writeBytes(f, "PK but not really a zip"); },
         "not a Tellico collection file"},
        {"other.tc",
         [](const QString& f) { writeTellicoFile(f, "<?xml version=\"1.0\"?><catalogue/>"); },
         "not a Tellico collection file"},
        {"broken.tc",
         [](const QString& f) {
             writeTellicoFile(f, tellicoXml(9, QStringLiteral("<entry id=\"1\"><description>")));
         },
         "could not be read"},
    };
    for (const Case& c : cases) {
        const QString file = path(QLatin1String(c.name));
        c.make(file);
        try {
            TellicoCollection tellico(file);
            ADD_FAILURE() << c.name << " was read";
        } catch (const ImportError& e) {
            EXPECT_TRUE(e.text().contains(QLatin1String(c.reason))) << e.text().toStdString();
        }
    }
}
