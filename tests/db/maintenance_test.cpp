#include "db/dberror.h"
#include "db/sqlite/collectionfile.h"
#include "db/sqlite/maintenance.h"
#include "db/sqlite/sqlitefile.h"
#include "support/collection_fixture.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace perlinex;
using namespace perlinex::db;

namespace {

void writeFile(const QString& path, const QByteArray& data) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

} // namespace

class MaintenanceTest : public CollectionTest {
protected:
    void SetUp() override {
        CollectionTest::SetUp();
        for (int i = 1; i <= 20; ++i)
            addStamp(QStringLiteral("Stamp %1").arg(i), QString(),
                     {{QStringLiteral("notes"), Value(QString(3000, QLatin1Char('n')))}});
    }
    std::int64_t stampsIn(const QString& file) {
        auto d = openDatabaseFile(file, OpenMode::ReadOnly);
        return d->scalar(QStringLiteral("select count(*) from stamp")).toInteger();
    }
};

TEST_F(MaintenanceTest, CompactionKeepsThePreviousFileAndReplacesLeftovers) {
    db->execute(QStringLiteral("delete from stamp where stampid > 10"));
    db->close();
    const QByteArray before = readFile(dbPath);
    writeFile(path(QStringLiteral("stampnew.mdb")), "left over from a crash");
    writeFile(path(QStringLiteral("stampdb.bak")), "an older backup");

    compactCollection(dir.path());

    EXPECT_FALSE(QFile::exists(path(QStringLiteral("stampnew.mdb"))));
    EXPECT_EQ(readFile(path(QStringLiteral("stampdb.bak"))), before);
    EXPECT_LT(QFileInfo(dbPath).size(), before.size()); // the deleted rows' space is given back
    db = openCollection(dbPath);
    EXPECT_EQ(db->scalar(QStringLiteral("select count(*) from stamp")).toInteger(), 10);
    // Counters are not handed out again after a compaction either.
    EXPECT_EQ(addStamp(QStringLiteral("new")), 21);
    db->close();

    compactCollection(dir.path()); // a second compaction replaces stampdb.bak
    EXPECT_EQ(stampsIn(path(QStringLiteral("stampdb.bak"))), 11);
}

TEST_F(MaintenanceTest, CompactionOfAFileInUseFailsAndChangesNothing) {
    const QByteArray before = readFile(dbPath);
    try {
        compactCollection(dir.path()); // db is still open, exclusively
        ADD_FAILURE() << "compacted a collection in use";
    } catch (const DbError& e) {
        EXPECT_EQ(e.number(), err::FileInUse);
        EXPECT_TRUE(e.text().contains(QStringLiteral("left as it was")));
    }
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("stampnew.mdb"))));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("stampdb.bak"))));
    db->close();
    EXPECT_EQ(readFile(dbPath), before);
}

TEST_F(MaintenanceTest, BackupAndRestoreOverAChangedCollection) {
    db->close();
    writeFile(path(QStringLiteral("images/1.jpg")), "picture one");
    writeFile(path(QStringLiteral("images/2.jpg")), "picture two");
    QTemporaryDir destination;
    const QString backup = backupCollection(dir.path(), destination.path(),
                                            QDateTime(QDate(2026, 12, 7), QTime(9, 30)))
                               .folder;
    EXPECT_EQ(QFileInfo(backup).fileName(), QStringLiteral("Perlinex backup 2026-12-07 09-30-00"));
    EXPECT_TRUE(isBackupFolder(backup));
    EXPECT_EQ(readFile(backup + QStringLiteral("/images/2.jpg")), QByteArray("picture two"));
    // A second backup in the same second gets its own folder.
    const QString second = backupCollection(dir.path(), destination.path(),
                                            QDateTime(QDate(2026, 12, 7), QTime(9, 30)))
                               .folder;
    EXPECT_NE(second, backup);

    db = openCollection(dbPath);
    db->execute(QStringLiteral("delete from stamp where stampid <= 5"));
    addStamp(QStringLiteral("added after the backup"));
    db->close();
    QFile::remove(path(QStringLiteral("images/1.jpg")));
    writeFile(path(QStringLiteral("images/2.jpg")), "changed picture");
    writeFile(path(QStringLiteral("images/21.jpg")), "new picture");

    restoreCollection(backup, dir.path());

    db = openCollection(dbPath);
    EXPECT_EQ(db->scalar(QStringLiteral("select count(*) from stamp")).toInteger(), 20);
    EXPECT_EQ(db->scalar(QStringLiteral("select count(*) from stamp where descr like 'added*'"))
                  .toInteger(),
              0);
    EXPECT_EQ(readFile(path(QStringLiteral("images/1.jpg"))), QByteArray("picture one"));
    EXPECT_EQ(readFile(path(QStringLiteral("images/2.jpg"))), QByteArray("picture two"));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("images/21.jpg"))));
    // What the restore replaced is kept.
    EXPECT_EQ(stampsIn(path(QStringLiteral("stamp-before-restore.mdb"))), 16);
    EXPECT_EQ(readFile(path(QStringLiteral("images-before-restore/21.jpg"))),
              QByteArray("new picture"));
}

TEST_F(MaintenanceTest, BackupRefusesBadDestinationsAndRestoreBadFolders) {
    db->close();
    EXPECT_THROW(backupCollection(dir.path(), path(QStringLiteral("no/such/folder"))), DbError);
    QTemporaryDir notABackup;
    writeFile(notABackup.filePath(QStringLiteral("stamp.mdb")), "text");
    const QByteArray before = readFile(dbPath);
    EXPECT_FALSE(isBackupFolder(notABackup.path()));
    EXPECT_THROW(restoreCollection(notABackup.path(), dir.path()), DbError);
    EXPECT_EQ(readFile(dbPath), before);
}
