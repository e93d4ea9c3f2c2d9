// The check of the collection file's structure that follows the start: it begins once the first
// record is painted, runs beside the window, and ends before anything closes the file.
#include "main_window_fixture.h"

#include "db/sqlite/backgroundcheck.h"
#include "generator/generator.h"

#include <QDir>
#include <QFile>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <unistd.h>

namespace {

// Holds the check beside the window before it reads, until the test releases it or the check
// is told to stop.
class HeldCheck {
public:
    std::atomic<int> started{0};
    std::atomic<int> stopped{0};
    std::atomic<bool> paintedBeforeFirst{false};
    std::atomic<bool> painted{false};
    // Run in the worker at its start, before it waits.
    std::function<void()> atStart;

    HeldCheck() {
        db::BackgroundCheck::setWorkerHook([this](const std::atomic<bool>& stopping) {
            if (started++ == 0)
                paintedBeforeFirst = painted.load();
            if (atStart)
                atStart();
            while (!released_ && !stopping)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            if (stopping)
                ++stopped;
        });
    }
    ~HeldCheck() {
        released_ = true;
        db::BackgroundCheck::setWorkerHook({});
    }
    void release() { released_ = true; }

private:
    std::atomic<bool> released_{false};
};

// Notes that the watched control has been painted.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(std::atomic<bool>& painted) : painted_(painted) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            painted_ = true;
        return false;
    }

private:
    std::atomic<bool>& painted_;
};

// Overwrites a page in the middle of a collection file, where the first record does not lie.
void trashMiddlePage(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    const qint64 pageSize = 4096;
    f.seek(f.size() / pageSize / 2 * pageSize);
    f.write(QByteArray(int(pageSize), '\x5a'));
}

class StructureCheckTest : public MainWindowTest {
protected:
    HeldCheck held;
    std::unique_ptr<PaintWatch> watch;

    QString collectionPath() { return dir.filePath(QStringLiteral("stamp.mdb")); }

    // Starts the window as the program does (load, then show) on a generated collection,
    // watching when its first record is painted.
    void start(bool readOnly = false) {
        program = std::make_unique<Program>(dialogs, dir.path());
        program->ReadOnly = readOnly;
        w = std::make_unique<frmMain>(*program);
        watch = std::make_unique<PaintWatch>(held.painted);
        edit("txtDescr")->installEventFilter(watch.get());
        w->load();
        w->show();
    }
    bool damageReported() {
        return dialogs.messageTexts().join(QLatin1Char(' ')).contains(QStringLiteral("damaged"));
    }
};

} // namespace

TEST_F(StructureCheckTest, BeginsOnceTheFirstRecordIsPaintedAndLeavesTheWindowInUse) {
    generator::generateCollection(collectionPath(), {300, 1});
    start();
    ASSERT_SOON(held.started == 1);
    EXPECT_TRUE(held.paintedBeforeFirst);
    EXPECT_TRUE(program->structureCheckRunning());

    // While it runs the user browses and stores.
    const QString first = text("txtDescr");
    click("cmdNext");
    EXPECT_NE(text("txtDescr"), first);
    const std::int64_t before = stampCount();
    click("cmdAddNew");
    type("txtDescr", QStringLiteral("Stored while the check runs"));
    click("cmdUpdate");
    EXPECT_TRUE(browsing());
    EXPECT_EQ(stampCount(), before + 1);

    held.release();
    ASSERT_SOON(!program->structureCheckRunning());
    EXPECT_TRUE(dialogs.prompts.empty()) << dialogs.messageTexts().join(' ').toStdString();
    EXPECT_EQ(held.started, 1);
}

TEST_F(StructureCheckTest, DamageItReadsThatTheCollectionDoesNotHave_RepairsNothing) {
    generator::generateCollection(collectionPath(), {2000, 3});
    // A torn read, as a store written while the check reads would give it: the check is shown
    // a damaged file where the window's own connection still holds the whole one, which is
    // put back under its name once the check has read.
    const QString torn = dir.filePath(QStringLiteral("torn.mdb"));
    const QString whole = dir.filePath(QStringLiteral("whole.mdb"));
    ASSERT_TRUE(QFile::copy(collectionPath(), torn));
    trashMiddlePage(torn);
    held.atStart = [&] {
        ::link(qPrintable(collectionPath()), qPrintable(whole));
        std::rename(qPrintable(torn), qPrintable(collectionPath()));
    };
    start();
    held.release();
    ASSERT_SOON(held.started == 1 && !program->structureCheckRunning());
    ASSERT_EQ(std::rename(qPrintable(whole), qPrintable(collectionPath())), 0);

    EXPECT_FALSE(damageReported()) << dialogs.messageTexts().join(' ').toStdString();
    EXPECT_TRUE(QDir(dir.path()).entryList({QStringLiteral("stamp-damaged-*")}).isEmpty());
    const std::int64_t before = stampCount();
    click("cmdAddNew");
    type("txtDescr", QStringLiteral("Still whole"));
    click("cmdUpdate");
    EXPECT_EQ(stampCount(), before + 1);
}

TEST_F(StructureCheckTest, PackWhileItRuns_EndsItFirstAndChecksTheNewFile) {
    generator::generateCollection(collectionPath(), {300, 1});
    start();
    ASSERT_SOON(held.started == 1);
    dialogs.answers = {Answer::Yes};
    act("mnuPack")->trigger();
    EXPECT_EQ(held.stopped, 1);
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("stampdb.bak"))));

    // The window is back on the packed file, and that file is checked in turn.
    ASSERT_SOON(held.started == 2);
    held.release();
    ASSERT_SOON(!program->structureCheckRunning());
    EXPECT_EQ(held.stopped, 1);
    EXPECT_FALSE(damageReported()) << dialogs.messageTexts().join(' ').toStdString();
    EXPECT_FALSE(text("txtDescr").isEmpty());
}

TEST_F(StructureCheckTest, TheProgramEndingWhileItRuns_EndsIt) {
    generator::generateCollection(collectionPath(), {300, 1});
    start();
    ASSERT_SOON(held.started == 1);
    w.reset();
    program.reset();
    EXPECT_EQ(held.stopped, 1);
}

TEST_F(StructureCheckTest, DamageInAReadOnlyCollection_IsFoundThere) {
    generator::generateCollection(collectionPath(), {2000, 3});
    trashMiddlePage(collectionPath());
    start(true);
    held.release();
    ASSERT_SOON(
        dialogs.messageTexts().join(QLatin1Char(' ')).contains(QStringLiteral("cannot repair it")));
    EXPECT_TRUE(QDir(dir.path()).entryList({QStringLiteral("stamp-damaged-*")}).isEmpty());
}
