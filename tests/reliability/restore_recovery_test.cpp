#include "db/sqlite/collectionfile.h"
#include "reliability_support.h"
#include "support/temp_folder.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QProcess>
#include <QThread>
#include <algorithm>
#include <gtest/gtest.h>
#include <map>

using namespace reliability;
using Outcome = db::RestoreRecovery::Outcome;

namespace {

// A program folder whose collection and pictures have both changed since its backup, so that a
// mix of the two is plain to see.
class RestoreScene : public TempFolderTest {
protected:
    QString app, images, backup;
    QStringList current, restored;
    QMap<QString, QByteArray> currentPictures, restoredPictures;

    void SetUp() override {
        TempFolderTest::SetUp();
        // A killed child must work on this test's folder; see the maintenance tests.
        GTEST_FLAG_SET(death_test_style, "fast");
        app = path(QStringLiteral("app"));
        images = QDir(app).filePath(QStringLiteral("images"));
        const QString dbPath = makeCollection(app, 400);
        writeFile(QDir(images).filePath(QStringLiteral("pb1.jpg")), QByteArray(70000, 'a'));
        writeFile(QDir(images).filePath(QStringLiteral("gb/seahorse.png")), "backed up");
        const QString destination = path(QStringLiteral("backups"));
        QDir().mkpath(destination);
        backup = db::backupCollection(app, destination).folder;

        rawExec(*db::openCollection(dbPath),
                QStringLiteral("DELETE FROM stamp WHERE quantity < 50"));
        addStamps(*db::openCollection(dbPath), QStringLiteral("Later"), 1, 40);
        writeFile(QDir(images).filePath(QStringLiteral("gb/seahorse.png")), "since changed");
        writeFile(QDir(images).filePath(QStringLiteral("new.jpg")), "new");

        current = stampsOf(dbPath);
        restored = stampsOf(QDir(backup).filePath(QStringLiteral("stamp.mdb")));
        currentPictures = folderContents(images);
        restoredPictures = folderContents(QDir(backup).filePath(QStringLiteral("images")));
        ASSERT_NE(current, restored);
        ASSERT_NE(currentPictures, restoredPictures);
    }
    void TearDown() override { db::setStepHook({}); }

    enum class State { Old, Restored, Mixed };
    State state() const {
        const QStringList stamps = stampsOf(QDir(app).filePath(QStringLiteral("stamp.mdb")));
        const auto pictures = folderContents(images);
        if (stamps == current && pictures == currentPictures)
            return State::Old;
        if (stamps == restored && pictures == restoredPictures)
            return State::Restored;
        return State::Mixed;
    }
    // Only the collection, its pictures and what a restore keeps of them.
    QStringList strays() const {
        QStringList out = partialFilesIn({app, images});
        for (const QString& name : entriesOf(app))
            if (!QStringList{"stamp.mdb", "images", "stamp-before-restore.mdb",
                             "images-before-restore"}
                     .contains(name))
                out << name;
        out.removeDuplicates();
        return out;
    }
    // A finished restore keeps what it replaced.
    void expectReplacedKept() const {
        EXPECT_EQ(stampsOf(QDir(app).filePath(QStringLiteral("stamp-before-restore.mdb"))),
                  current);
        EXPECT_EQ(folderContents(QDir(app).filePath(QStringLiteral("images-before-restore"))),
                  currentPictures);
    }
    // The folder after a recovery: the old collection and pictures or the backup's, never a
    // mix, nothing half-made, and the user told what happened.
    void expectSettled(const db::RestoreRecovery& recovery) const {
        const State now = state();
        ASSERT_NE(now, State::Mixed);
        EXPECT_EQ(strays(), QStringList());
        if (recovery.outcome == Outcome::Finished) {
            EXPECT_EQ(now, State::Restored);
        }
        if (recovery.outcome == Outcome::RolledBack) {
            EXPECT_EQ(now, State::Old);
        }
        if (now == State::Restored)
            expectReplacedKept();
        EXPECT_EQ(recovery.message.isEmpty(), recovery.outcome == Outcome::Nothing)
            << recovery.message.toStdString();
        if (recovery.outcome != Outcome::Nothing) {
            EXPECT_TRUE(recovery.message.contains(QDir::toNativeSeparators(backup)))
                << recovery.message.toStdString();
        }
    }
};

struct RestoreStep {
    const char* name;
    bool restored;     // the collection has been replaced when the step is reached
    Outcome afterKill; // what the next start finds to do when the program dies there
};

const RestoreStep kRestoreSteps[] = {
    {"copy-images", false, Outcome::Nothing},  {"copy-collection", false, Outcome::Nothing},
    {"keep-current", false, Outcome::Nothing}, {"mark", false, Outcome::Nothing},
    {"replace", false, Outcome::RolledBack},   {"replace-images", true, Outcome::Finished},
    {"put-images", true, Outcome::Finished},   {"unmark", true, Outcome::Finished},
    {"done", true, Outcome::Nothing},
};

std::string stepName(const ::testing::TestParamInfo<RestoreStep>& info) {
    std::string name = info.param.name;
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
}

void PrintTo(const RestoreStep& p, std::ostream* os) {
    *os << p.name;
}

class RestoreStoppedAt : public RestoreScene, public ::testing::WithParamInterface<RestoreStep> {};

} // namespace

TEST_P(RestoreStoppedAt, AFailedStepLeavesAWholeFolderOrAMarkerTheNextStartSettles) {
    db::setStepHook(failAt(GetParam().name));
    QString error;
    try {
        db::restoreCollection(backup, app);
    } catch (const db::DbError& e) {
        error = e.text();
    }
    db::setStepHook({});
    ASSERT_FALSE(error.isEmpty());

    // Only a failure after the collection was replaced may leave work for the next start, and
    // then the user is told so.
    const bool pending = QFileInfo::exists(QDir(app).filePath(QStringLiteral("restore.pending")));
    EXPECT_EQ(pending, GetParam().afterKill == Outcome::Finished);
    if (pending) {
        EXPECT_TRUE(error.contains(QLatin1String("next starts"))) << error.toStdString();
    } else {
        EXPECT_EQ(state(), GetParam().restored ? State::Restored : State::Old);
        EXPECT_EQ(strays(), QStringList());
    }

    const db::RestoreRecovery recovery = db::recoverInterruptedRestore(app);
    EXPECT_EQ(recovery.outcome, pending ? Outcome::Finished : Outcome::Nothing);
    expectSettled(recovery);
    EXPECT_EQ(state(), GetParam().restored ? State::Restored : State::Old);
}

TEST_P(RestoreStoppedAt, AKillIsFinishedOrUndoneAtTheNextStart) {
    EXPECT_EXIT(
        {
            db::setStepHook(killAt(GetParam().name));
            db::restoreCollection(backup, app);
        },
        ::testing::KilledBySignal(SIGKILL), "");

    const db::RestoreRecovery recovery = db::recoverInterruptedRestore(app);
    EXPECT_EQ(recovery.outcome, GetParam().afterKill);
    expectSettled(recovery);
    EXPECT_EQ(state(), GetParam().restored ? State::Restored : State::Old);
    // A second start has nothing left to do, and the restore can be made again.
    const db::RestoreRecovery again = db::recoverInterruptedRestore(app);
    EXPECT_EQ(again.outcome, Outcome::Nothing);
    EXPECT_EQ(again.removed, QStringList());
    ASSERT_NO_THROW(db::restoreCollection(backup, app));
    EXPECT_EQ(state(), State::Restored);
}

INSTANTIATE_TEST_SUITE_P(EveryStep, RestoreStoppedAt, ::testing::ValuesIn(kRestoreSteps), stepName);

namespace {

class RestoreKilledByAnotherProgram : public RestoreScene {
protected:
    QMap<QString, QByteArray> before;
    void SetUp() override {
        RestoreScene::SetUp();
        before = folderContents(app);
    }
    // The program folder as it was before the restore, rewritten file by file.
    void resetFolder() {
        QDir(app).removeRecursively();
        for (auto it = before.cbegin(); it != before.cend(); ++it)
            writeFile(QDir(app).filePath(it.key()), it.value());
    }
};

} // namespace

// A second program restores and is killed from outside, held at each step in turn: what the
// next start finds to do follows from where the kill came, never from when.
TEST_F(RestoreKilledByAnotherProgram, EveryKillEndsWithTheOldFolderOrTheBackupsNeverAMix) {
    for (const RestoreStep& at : kRestoreSteps) {
        SCOPED_TRACE(at.name);
        resetFolder();
        QProcess child;
        child.start(QStringLiteral(PERLINEX_STORE_WRITER),
                    {backup, QStringLiteral("--restore"), app, QString::fromLatin1(at.name)});
        ASSERT_TRUE(child.waitForStarted(10000));
        const QDeadlineTimer limit(60000);
        while (!child.peek(1 << 16).split('\n').contains("waiting") &&
               child.state() == QProcess::Running && !limit.hasExpired())
            child.waitForReadyRead(50);
        ASSERT_TRUE(child.peek(1 << 16).split('\n').contains("waiting"))
            << child.readAllStandardOutput().toStdString();
        child.kill();
        ASSERT_TRUE(child.waitForFinished(10000));
        ASSERT_FALSE(child.readAllStandardOutput().contains("error"));

        db::RestoreRecovery recovery;
        ASSERT_NO_THROW(recovery = db::recoverInterruptedRestore(app));
        expectSettled(recovery);
        EXPECT_EQ(recovery.outcome, at.afterKill);
        EXPECT_EQ(state(), at.restored ? State::Restored : State::Old);
    }
}

TEST_F(RestoreScene, TheNextStartRemovesOnlyMaintenancesOwnLeftovers) {
    const QDir dir(app);
    const QStringList leftovers{"stampnew.mdb",
                                "stampnew.mdb-journal",
                                "stampdb.bak.part",
                                "stamp.mdb.incoming",
                                "stamp.mdb.incoming.part",
                                "stamp.mdb.repair",
                                "stamp.mdb.repair-journal",
                                "stamp-before-restore.mdb.part",
                                "restore.pending.part",
                                "stamp-damaged-20240501-103000.mdb.part"};
    for (const QString& name : leftovers)
        writeFile(dir.filePath(name), "left over");
    writeFile(dir.filePath(QStringLiteral("images.incoming/pb1.jpg.part")), "left over");
    // A picture being written when the program was killed.
    const QString picture = dir.filePath(QStringLiteral("images/.perlinex-0a1b2c3d.part"));
    writeFile(picture, "left over");
    // The user's own files, even with names like ours, stay.
    const QStringList own{"notes.part", "stamp.mdb.txt", "stamp-damaged-20240501-103000.mdb"};
    for (const QString& name : own)
        writeFile(dir.filePath(name), "mine");
    const QString ownPicture = dir.filePath(QStringLiteral("images/pb1.jpg.part"));
    writeFile(ownPicture, "mine");

    const db::RestoreRecovery recovery = db::recoverInterruptedRestore(app);

    EXPECT_EQ(recovery.outcome, Outcome::Nothing);
    EXPECT_TRUE(recovery.message.isEmpty());
    EXPECT_EQ(recovery.removed.size(), leftovers.size() + 2);
    EXPECT_FALSE(QFileInfo::exists(picture));
    EXPECT_TRUE(QFile::remove(ownPicture));
    EXPECT_EQ(state(), State::Old);
    QStringList expected = own;
    expected << "images"
             << "stamp.mdb";
    expected.sort();
    EXPECT_EQ(entriesOf(app), expected);
}

TEST(RestoreRecovery, AFirstStartOnAFolderNotYetMadeHasNothingToDo) {
    QTemporaryDir dir;
    const QString app = dir.filePath(QStringLiteral("new program folder"));
    const db::RestoreRecovery recovery = db::recoverInterruptedRestore(app);
    EXPECT_EQ(recovery.outcome, Outcome::Nothing);
    EXPECT_EQ(recovery.removed, QStringList());
    EXPECT_FALSE(QFileInfo::exists(app));
}
