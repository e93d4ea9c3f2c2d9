#include "db/sqlite/maintenance.h"
#include "db/sqlite/pendingpicture.h"
#include "exchange/csvexport.h"
#include "exchange_support.h"
#include "support/collection_fixture.h"

#include <QBuffer>
#include <gtest/gtest.h>

using namespace exchange_test;
using namespace perlinex;
using namespace perlinex::exchange;

namespace {

class Export : public CollectionTest {
protected:
    QString images() const { return path(QStringLiteral("images")); }
};

} // namespace

TEST_F(Export, WritesTheFieldsAsSpreadsheetsReadThem) {
    const std::int64_t id =
        addStamp(QStringLiteral("Penny Black, \"1a\""), QStringLiteral("SG 1"),
                 {{QStringLiteral("face"), db::Value(Currency::fromRaw(1235))},
                  {QStringLiteral("Year"), db::Value(std::int64_t(1840))},
                  {QStringLiteral("used"), db::Value(true)},
                  {QStringLiteral("issued"), db::Value(QDate(1840, 5, 6))},
                  {QStringLiteral("pricepaid"), db::Value(Currency::fromRaw(549100))},
                  {QStringLiteral("totalpaid"), db::Value(Currency::fromRaw(549100))},
                  {QStringLiteral("notes"), db::Value(QStringLiteral("two\nlines"))}});
    db->execute(QStringLiteral("update stamp set CouID = (select CouID from country where Coudesc "
                               "= 'United Kingdom') where stampid = %1")
                    .arg(id));
    addStamp(QStringLiteral("Another"));
    writeBytes(QDir(images()).filePath(db::pictureFileName(id)), "jpeg bytes");
    QByteArray bytes;
    QBuffer device(&bytes);
    device.open(QIODevice::WriteOnly);
    ExportOptions options;
    options.picturesFolder = path(QStringLiteral("csv/pictures"));
    options.csvFolder = path(QStringLiteral("csv"));
    StampSelection selection;
    selection.where = QStringLiteral("descr like 'Penny*'");
    const ExportOutcome out =
        writeStampsCsv(*db, images(), selection, device, QStringLiteral("test"), options);
    EXPECT_EQ(out.stamps, 1);
    const QList<QByteArray> lines = bytes.split('\n');
    ASSERT_EQ(lines.size(), 4); // the header, a record over two lines, and the last CR LF
    EXPECT_EQ(lines[0], exportColumns().join(QLatin1Char(',')).toUtf8() + "\r");
    EXPECT_EQ((lines[1] + '\n' + lines[2]).toStdString(),
              "\"Penny Black, \"\"1a\"\"\",SG 1,0.1235,1840,yes,no,1,United Kingdom,,,,,,,,,,,,"
              "1840-05-06,54.91,,,no,,no,,\"two\nlines\",,,pictures/00000001.jpg\r");
    EXPECT_EQ(readBytes(path(QStringLiteral("csv/pictures/00000001.jpg"))), "jpeg bytes");
}

TEST_F(Export, RefusesTheCollectionsOwnFilesAndACancelChangesNothing) {
    db->execute(QStringLiteral("with recursive n(i) as (select 1 union all select i + 1 from n "
                               "where i < 600) insert into stamp (descr, catnum, catsort) select "
                               "'Stamp ' || i, '', '' from n"));
    writeBytes(QDir(images()).filePath(db::pictureFileName(1)), "a picture");
    ExportOptions options;
    options.keep = db::collectionFiles(dir.path());
    const QByteArray collection = readBytes(dbPath);
    for (const QString& target : {dbPath, QDir(images()).filePath(QStringLiteral("x.csv"))}) {
        try {
            exportStampsCsv(*db, images(), {}, target, options);
            ADD_FAILURE() << "wrote " << target.toStdString();
        } catch (const durable::FileError& e) {
            EXPECT_EQ(e.kind(), durable::FileError::Kind::Refused) << e.text().toStdString();
        }
    }
    EXPECT_EQ(readBytes(dbPath), collection);

    const QString target = path(QStringLiteral("out/stamps.csv"));
    writeBytes(target, "the old file");
    options.picturesFolder = path(QStringLiteral("out/pictures"));
    const ExportOutcome out =
        exportStampsCsv(*db, images(), {}, target, options,
                        [](std::int64_t done, std::int64_t total) { return done < total / 2; });
    EXPECT_TRUE(out.cancelled);
    EXPECT_EQ(readBytes(target), "the old file");
    EXPECT_EQ(QDir(path(QStringLiteral("out"))).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("stamps.csv")});
    EXPECT_TRUE(QDir(options.picturesFolder).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

// The collection list's rows go out as listed; a stamp deleted since is passed over, and the
// progress counts the listed stamps.
TEST_F(Export, ListedStampsGoOutInTheListsOrder) {
    const std::int64_t a = addStamp(QStringLiteral("Alpha"));
    addStamp(QStringLiteral("Beta"));
    const std::int64_t c = addStamp(QStringLiteral("Gamma"));
    QByteArray bytes;
    QBuffer device(&bytes);
    device.open(QIODevice::WriteOnly);
    StampSelection selection;
    selection.where = QStringLiteral("descr = 'Beta'"); // set aside by the listed numbers
    selection.stamps = std::vector<std::int64_t>{c, c + 100, a};
    std::int64_t total = -1;
    const ExportOutcome out =
        writeStampsCsv(*db, images(), selection, device, QStringLiteral("test"), {},
                       [&](std::int64_t, std::int64_t t) { return total = t, true; });
    EXPECT_EQ(out.stamps, 2);
    EXPECT_EQ(total, 3);
    const QList<QByteArray> lines = bytes.split('\n');
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[1].startsWith("Gamma,")) << lines[1].constData();
    EXPECT_TRUE(lines[2].startsWith("Alpha,")) << lines[2].constData();
}
