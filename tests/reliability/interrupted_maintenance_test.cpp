#include "db/sqlite/collectionfile.h"
#include "reliability_support.h"
#include "support/temp_folder.h"

#include <QDateTime>
#include <algorithm>
#include <gtest/gtest.h>

using namespace reliability;

namespace {

// The killed child has to work on this test's folder. The threadsafe style would run the test
// again from its start in a new process, which makes a temporary folder of its own.
void forkInPlace() {
    GTEST_FLAG_SET(death_test_style, "fast");
}

std::string stepName(const ::testing::TestParamInfo<const char*>& info) {
    std::string name = info.param;
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
}

const char* const kCompactionSteps[] = {"remove-old-target", "compact", "verify",
                                        "keep-previous",     "replace", "done"};
const char* const kBackupSteps[] = {"copy-collection", "verify", "copy-images", "finish"};
const QDateTime kWhen(QDate(2024, 5, 1), QTime(10, 30));

void addPictures(const QString& app, const QByteArray& tag) {
    writeFile(QDir(app).filePath(QStringLiteral("images/pb1.jpg")), QByteArray(70000, 'a') + tag);
    writeFile(QDir(app).filePath(QStringLiteral("images/gb/seahorse.png")), "png " + tag);
}

class KilledStep : public TempFolderTest, public ::testing::WithParamInterface<const char*> {
protected:
    QString app, dbPath;
    void SetUp() override {
        TempFolderTest::SetUp();
        forkInPlace();
        app = path(QStringLiteral("app"));
        dbPath = makeCollection(app, 400);
    }
    void change(const QString& sql) { rawExec(*db::openCollection(dbPath), sql); }
};

} // namespace

class KilledDuringCompaction : public KilledStep {};

TEST_P(KilledDuringCompaction, LeavesTheWholeCollectionUnderItsName) {
    const QString kept = QDir(app).filePath(QString::fromLatin1(db::CompactBackupFileName));
    // Deleted rows give compaction work to do; the first compaction leaves an older kept copy.
    change(QStringLiteral("DELETE FROM stamp WHERE quantity % 3 = 0"));
    db::compactCollection(app);
    addStamps(*db::openCollection(dbPath), QStringLiteral("Later"), 1, 60);
    const QStringList expected = stampsOf(dbPath);

    EXPECT_EXIT(
        {
            db::setStepHook(killAt(GetParam()));
            db::compactCollection(app);
        },
        ::testing::KilledBySignal(SIGKILL), "");

    EXPECT_EQ(stampsOf(dbPath), expected);
    QString why;
    EXPECT_TRUE(db::isIntactCollection(dbPath, &why)) << why.toStdString();
    EXPECT_TRUE(db::isIntactCollection(kept, &why)) << why.toStdString();
    // The next compaction gets past whatever the killed one left behind.
    ASSERT_NO_THROW(db::compactCollection(app));
    EXPECT_EQ(stampsOf(dbPath), expected);
    EXPECT_EQ(stampsOf(kept), expected);
    EXPECT_FALSE(QFileInfo::exists(QDir(app).filePath(db::CompactTargetFileName)));
}

INSTANTIATE_TEST_SUITE_P(EveryStep, KilledDuringCompaction, ::testing::ValuesIn(kCompactionSteps),
                         stepName);

class KilledDuringBackup : public KilledStep {};

TEST_P(KilledDuringBackup, LeavesTheCollectionAndNoIncompleteBackup) {
    addPictures(app, "first");
    const QString destination = path(QStringLiteral("backups"));
    QDir().mkpath(destination);
    const QStringList expected = stampsOf(dbPath);
    const auto pictures = folderContents(QDir(app).filePath(QStringLiteral("images")));

    EXPECT_EXIT(
        {
            db::setStepHook(killAt(GetParam()));
            db::backupCollection(app, destination, kWhen);
        },
        ::testing::KilledBySignal(SIGKILL), "");

    EXPECT_EQ(stampsOf(dbPath), expected);
    // A backup folder the user can see must be whole.
    for (const QString& name : QDir(destination).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString folder = QDir(destination).filePath(name);
        EXPECT_TRUE(db::isBackupFolder(folder)) << name.toStdString();
        EXPECT_EQ(stampsOf(QDir(folder).filePath(QStringLiteral("stamp.mdb"))), expected);
        EXPECT_EQ(folderContents(QDir(folder).filePath(QStringLiteral("images"))), pictures);
    }
    QString made;
    ASSERT_NO_THROW(made = db::backupCollection(app, destination, kWhen.addSecs(60)).folder);
    EXPECT_EQ(stampsOf(QDir(made).filePath(QStringLiteral("stamp.mdb"))), expected);
    EXPECT_EQ(folderContents(QDir(made).filePath(QStringLiteral("images"))), pictures);
}

INSTANTIATE_TEST_SUITE_P(EveryStep, KilledDuringBackup, ::testing::ValuesIn(kBackupSteps),
                         stepName);

// A killed restore, which the next start finishes or undoes, is in restore_recovery_test.cpp.
