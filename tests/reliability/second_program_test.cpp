#include "reliability_support.h"
#include "support/temp_folder.h"

#include "db/sqlite/backgroundcheck.h"
#include "db/sqlite/collectionfile.h"
#include "db/sqlite/folderlock.h"
#include "support/wait.h"

#include <QProcess>
#include <QTemporaryDir>
#include <array>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <thread>

using namespace reliability;

namespace {

const QString kWriter = QStringLiteral(PERLINEX_STORE_WRITER);

class SecondProgram : public TempFolderTest {
protected:
    QString dbPath;
    QStringList before;
    void SetUp() override {
        TempFolderTest::SetUp();
        dbPath = makeCollection(path(QStringLiteral("app")), 30);
        before = stampsOf(dbPath);
    }
};

} // namespace

TEST_F(SecondProgram, IsRefusedAtOnceWhileThisOneHoldsTheCollection) {
    auto held = db::openCollection(dbPath);

    // This program holds the collection until the end of the test: a second program that
    // waited for it instead of being refused would never finish.
    QProcess second;
    second.start(kWriter, {dbPath, QStringLiteral("--open")});
    ASSERT_TRUE(second.waitForFinished(60000)) << "the second program waited for the lock";
    const QString said = QString::fromUtf8(second.readAllStandardOutput()).trimmed();
    EXPECT_TRUE(said.startsWith(QLatin1String("error 3045 "))) << said.toStdString();
    EXPECT_TRUE(said.contains(QLatin1String("in use"), Qt::CaseInsensitive)) << said.toStdString();

    // The refusal costs the first program nothing: it reads and stores as before.
    auto set = held->openRecordSet(QStringLiteral("Select * from stamp order by [descr]"));
    EXPECT_EQ(set->recordCount(), 30);
    set->addNew();
    set->setField(QStringLiteral("descr"), db::Value(QStringLiteral("After the refusal")));
    set->setField(QStringLiteral("quantity"), db::Value(std::int64_t(7)));
    ASSERT_NO_THROW(set->update());
    set.reset();
    held.reset();
    QStringList expected = before;
    expected << QStringLiteral("After the refusal|7");
    expected.sort();
    EXPECT_EQ(stampsOf(dbPath), expected);
    QString why;
    EXPECT_TRUE(db::isIntactCollection(dbPath, &why)) << why.toStdString();
}

TEST_F(SecondProgram, IsStillRefusedAfterTheStructureCheckBesideThisOneHasReadTheFile) {
    auto held = db::openCollection(dbPath, db::StructureCheck::Deferred);
    db::BackgroundCheck check;
    std::optional<bool> whole;
    check.start(dbPath, [&](bool w, const QString&) { whole = w; });
    ASSERT_SOON(whole.has_value());
    EXPECT_TRUE(*whole);
    ASSERT_FALSE(check.isRunning());

    // The check's connection has closed its own descriptor of the file; the lock this
    // program holds through another descriptor is still there.
    QProcess second;
    second.start(kWriter, {dbPath, QStringLiteral("--open")});
    ASSERT_TRUE(second.waitForFinished(60000)) << "the second program waited for the lock";
    const QString said = QString::fromUtf8(second.readAllStandardOutput()).trimmed();
    EXPECT_TRUE(said.startsWith(QLatin1String("error 3045 "))) << said.toStdString();
}

TEST_F(SecondProgram, ThisOneIsRefusedWhileAnotherHoldsItAndGetsInWhenThatOneDies) {
    QProcess first;
    first.start(kWriter, {dbPath, QStringLiteral("--hold")});
    ASSERT_TRUE(first.waitForReadyRead(10000));
    ASSERT_EQ(first.readLine().trimmed(), QByteArray("open"));

    // Should the open wait for the lock instead of refusing, the holder is killed after a
    // while and the open gets in: the test then fails on what happened, not on how long.
    const qint64 holder = first.processId();
    std::atomic<bool> refused = false, killed = false;
    std::thread watchdog([&] {
        for (int i = 0; i < 600 && !refused; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (!refused) {
            killed = true;
            ::kill(pid_t(holder), SIGKILL);
        }
    });
    try {
        db::openCollection(dbPath);
        ADD_FAILURE() << "opened a collection another program holds";
    } catch (const db::DbError& e) {
        EXPECT_EQ(e.number(), db::err::FileInUse) << e.text().toStdString();
        EXPECT_TRUE(e.text().contains(QLatin1String("in use"), Qt::CaseInsensitive))
            << e.text().toStdString();
    }
    refused = true;
    watchdog.join();
    EXPECT_FALSE(killed) << "the open waited until the holder was killed";

    // A program that crashes lets go of the collection with it.
    first.kill();
    ASSERT_TRUE(first.waitForFinished(10000));
    EXPECT_EQ(stampsOf(dbPath), before);
}

namespace {

struct Start {
    std::unique_ptr<QProcess> process;
    QString said;
};

// Starts two programs on the same folder at the same moment and reads what each says first.
std::array<Start, 2> startTwo(const QString& dbPath) {
    std::array<Start, 2> starts;
    for (Start& s : starts)
        s.process = std::make_unique<QProcess>();
    for (Start& s : starts)
        s.process->start(kWriter, {dbPath, QStringLiteral("--start")});
    for (Start& s : starts) {
        s.process->waitForReadyRead(10000);
        s.said = QString::fromUtf8(s.process->readLine()).trimmed();
    }
    return starts;
}

void finish(std::array<Start, 2>& starts) {
    for (Start& s : starts) {
        s.process->closeWriteChannel();
        s.process->waitForFinished(10000);
    }
}

} // namespace

TEST_F(SecondProgram, TwoStartedTogether_ExactlyOneWinsAndANewCollectionIsAlwaysWhole) {
    constexpr int kRuns = 15;
    for (int run = 0; run < kRuns; ++run) {
        // Half the runs on an empty folder, where the winner makes the collection.
        const bool empty = run % 2 == 0;
        const QString folder = path(QStringLiteral("race%1").arg(run));
        const QString target =
            empty ? QDir(folder).filePath(QStringLiteral("stamp.mdb")) : makeCollection(folder, 5);
        QDir().mkpath(folder);
        auto starts = startTwo(target);
        int opened = 0;
        for (const Start& s : starts) {
            if (s.said == QLatin1String("open"))
                ++opened;
            else
                EXPECT_TRUE(s.said.startsWith(QLatin1String("error 3045 ")))
                    << "run " << run << ": " << s.said.toStdString();
        }
        EXPECT_EQ(opened, 1) << "run " << run;
        finish(starts);
        const QStringList left = entriesOf(folder);
        EXPECT_TRUE(left.contains(QStringLiteral("stamp.mdb"))) << left.join(',').toStdString();
        EXPECT_FALSE(left.contains(QStringLiteral("stamp.mdb.new")));
        QString why;
        EXPECT_TRUE(db::isIntactCollection(target, &why)) << why.toStdString();
    }
}

TEST_F(SecondProgram, IsKeptOutWhileTheCollectionIsClosedForPackBackupOrRestore) {
    const auto lock = db::FolderLock::take(dbPath);
    const QString app = QFileInfo(dbPath).absolutePath();
    QStringList saidDuringPack;
    db::setStepHook([&](const char* step) {
        if (std::strcmp(step, "verify") != 0)
            return;
        // The collection is closed here; only the folder's lock keeps the other program out.
        QProcess second;
        second.start(kWriter, {dbPath, QStringLiteral("--start")});
        second.waitForFinished(10000);
        saidDuringPack << QString::fromUtf8(second.readAllStandardOutput()).trimmed();
    });
    db::compactCollection(app);
    QTemporaryDir destination;
    db::backupCollection(app, destination.path());
    db::setStepHook({});
    ASSERT_EQ(saidDuringPack.size(), 2);
    for (const QString& said : saidDuringPack)
        EXPECT_TRUE(said.startsWith(QLatin1String("error 3045 "))) << said.toStdString();
    EXPECT_EQ(stampsOf(dbPath), before);
}
