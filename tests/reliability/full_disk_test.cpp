#include "db/sqlite/collectionfile.h"
#include "db/sqlite/sqlitefile.h"
#include "reliability_support.h"
#include "support/temp_folder.h"

#include <QFileInfo>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>

using namespace reliability;

namespace {

std::int64_t rawInt(db::Database& collection, const char* sql) {
    sqlite3_stmt* st = nullptr;
    std::int64_t value = -1;
    if (sqlite3_prepare_v2(db::handleOf(collection), sql, -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
        value = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    return value;
}

// What the user is told, word for word: the disk is full, and nothing was changed.
const char* const kCompactionTold =
    "DbError 3026: The collection could not be compacted: there is not enough space on the "
    "disk\\. It has been left as it was\\.";
const char* const kBackupTold = "DbError 3026: The backup could not be made: there is not enough "
                                "space on the disk\\. Nothing has been changed\\.";

class FullDisk : public TempFolderTest {
protected:
    QString app, dbPath;
    void SetUp() override {
        TempFolderTest::SetUp();
        // The child must fill this test's folder, not one of its own; see the maintenance tests.
        GTEST_FLAG_SET(death_test_style, "fast");
        app = path(QStringLiteral("app"));
        dbPath = makeCollection(app, 2000);
    }
    std::int64_t collectionSize() const { return QFileInfo(dbPath).size(); }
};

} // namespace

TEST_F(FullDisk, StoreIsRefusedAndEarlierRecordsStay) {
    const QStringList before = stampsOf(dbPath);
    {
        auto collection = db::openCollection(dbPath);
        const std::int64_t pages = rawInt(*collection, "PRAGMA page_count");
        ASSERT_GT(pages, 0);
        rawExec(*collection, QStringLiteral("PRAGMA max_page_count = %1").arg(pages));
        auto set =
            collection->openRecordSet(QStringLiteral("Select * from stamp order by [descr]"));
        set->addNew();
        set->setField(QStringLiteral("descr"), db::Value(QStringLiteral("Penny Black")));
        set->setField(QStringLiteral("quantity"), db::Value(std::int64_t(1)));
        set->setField(QStringLiteral("notes"), db::Value(QString(200000, QLatin1Char('n'))));
        try {
            set->update();
            ADD_FAILURE() << "a record larger than the free space was stored";
        } catch (const db::DbError& e) {
            EXPECT_EQ(e.number(), db::err::DiskFull) << e.text().toStdString();
            EXPECT_TRUE(e.text().contains(QLatin1String("space"), Qt::CaseInsensitive));
        }
        set->cancelUpdate();
        // Once there is room again the same connection stores as before.
        rawExec(*collection, QStringLiteral("PRAGMA max_page_count = 1000000"));
        set->addNew();
        set->setField(QStringLiteral("descr"), db::Value(QStringLiteral("Penny Red")));
        set->setField(QStringLiteral("quantity"), db::Value(std::int64_t(2)));
        ASSERT_NO_THROW(set->update());
    }
    QStringList expected = before;
    expected << QStringLiteral("Penny Red|2");
    expected.sort();
    EXPECT_EQ(stampsOf(dbPath), expected);
    QString why;
    EXPECT_TRUE(db::isIntactCollection(dbPath, &why)) << why.toStdString();
}

TEST_F(FullDisk, CompactionFailsAndLeavesTheCollectionAsItWas) {
    // An earlier kept copy must survive a compaction that fails.
    db::compactCollection(app);
    addStamps(*db::openCollection(dbPath), QStringLiteral("Later"), 1, 30);
    const QString kept = QDir(app).filePath(QString::fromLatin1(db::CompactBackupFileName));
    const QStringList keptStamps = stampsOf(kept);
    const QStringList expected = stampsOf(dbPath);
    const QStringList files = entriesOf(app);

    EXPECT_EXIT(onFullDisk(collectionSize() / 3 + 100, [&] { db::compactCollection(app); }),
                ::testing::ExitedWithCode(0), kCompactionTold);

    EXPECT_EQ(stampsOf(dbPath), expected);
    QString why;
    EXPECT_TRUE(db::isIntactCollection(dbPath, &why)) << why.toStdString();
    EXPECT_EQ(stampsOf(kept), keptStamps);
    EXPECT_EQ(entriesOf(app), files); // no stampnew.mdb, no journal, no half copy
}

TEST_F(FullDisk, BackupOfTheCollectionFailsAndLeavesNothingBehind) {
    const QString destination = path(QStringLiteral("backups"));
    QDir().mkpath(destination);
    const QStringList expected = stampsOf(dbPath);

    EXPECT_EXIT(
        onFullDisk(collectionSize() / 3 + 100, [&] { db::backupCollection(app, destination); }),
        ::testing::ExitedWithCode(0), kBackupTold);

    EXPECT_EQ(stampsOf(dbPath), expected);
    EXPECT_EQ(entriesOf(destination), QStringList());
}

TEST_F(FullDisk, BackupOfThePicturesFailsAndLeavesNothingBehind) {
    // The collection fits, a picture does not.
    const std::int64_t limit = collectionSize() + 64 * 1024;
    writeFile(QDir(app).filePath(QStringLiteral("images/sheet.tif")),
              QByteArray(int(limit + 300 * 1024), 't'));
    const QString destination = path(QStringLiteral("backups"));
    QDir().mkpath(destination);
    const QStringList expected = stampsOf(dbPath);

    EXPECT_EXIT(onFullDisk(limit, [&] { db::backupCollection(app, destination); }),
                ::testing::ExitedWithCode(0), kBackupTold);

    EXPECT_EQ(stampsOf(dbPath), expected);
    EXPECT_EQ(entriesOf(destination), QStringList());
}
