#include "db/schema.h"
#include "db/sqlite/backgroundcheck.h"
#include "db/sqlite/collectionfile.h"
#include "db/sqlite/sqlitecall.h"
#include "db/sqlite/sqlitefile.h"
#include "support/wait.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <atomic>
#include <gtest/gtest.h>
#include <optional>

using namespace perlinex;
using namespace perlinex::db;

namespace {

struct Finding {
    bool whole = false;
    QString detail;
};

// Runs the check beside a connection that holds the file, as the window's does, and waits for
// what it finds.
std::optional<Finding> checkBesideHolder(const QString& path) {
    auto held = openCollection(path, StructureCheck::Deferred);
    BackgroundCheck check;
    std::optional<Finding> found;
    check.start(path, [&](bool whole, const QString& detail) { found = Finding{whole, detail}; });
    if (!QTest::qWaitFor([&] { return found.has_value(); }))
        return std::nullopt;
    return found;
}

QString newCollection(const QString& folder, int stamps) {
    QDir().mkpath(folder);
    const QString path = QDir(folder).filePath(QStringLiteral("stamp.mdb"));
    auto db = createCollection(path);
    detail::exec(handleOf(*db),
                 QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                                "WHERE i < %1) INSERT INTO stamp (descr, notes) SELECT 'Stamp ' "
                                "|| i, hex(randomblob(100)) FROM n")
                     .arg(stamps));
    return path;
}

} // namespace

TEST(BackgroundCheck, ReadsTheFileThisProgramHolds_WhateverItsFolderIsCalled) {
    QTemporaryDir dir;
    // Characters that mean something in a file URI must reach the file as they are.
    for (const char* name : {"plain", "what?", "no#1", "100%25 sure", "sp ace", "Ünïcode"}) {
        const QString path = newCollection(dir.filePath(QString::fromUtf8(name)), 50);
        const std::optional<Finding> found = checkBesideHolder(path);
        ASSERT_TRUE(found.has_value()) << name;
        EXPECT_TRUE(found->whole) << name << ": " << found->detail.toStdString();
    }
}

TEST(BackgroundCheck, FindsDamageInTheMiddleOfTheFile) {
    QTemporaryDir dir;
    const QString path = newCollection(dir.path(), 3000);
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.seek(f.size() / 4096 / 2 * 4096);
        f.write(QByteArray(4096, '\x5a'));
    }
    const std::optional<Finding> found = checkBesideHolder(path);
    ASSERT_TRUE(found.has_value());
    EXPECT_FALSE(found->whole);
    EXPECT_FALSE(found->detail.isEmpty());
}

TEST(BackgroundCheck, StopEndsItAndDropsWhatItWouldHaveFound) {
    QTemporaryDir dir;
    const QString path = newCollection(dir.path(), 50);
    std::atomic<bool> reached{false};
    BackgroundCheck::setWorkerHook([&](const std::atomic<bool>& stopping) {
        reached = true;
        while (!stopping)
            QThread::yieldCurrentThread();
    });
    BackgroundCheck check;
    bool called = false;
    check.start(path, [&](bool, const QString&) { called = true; });
    ASSERT_SOON(reached);
    check.stop();
    BackgroundCheck::setWorkerHook({});
    EXPECT_FALSE(check.isRunning());
    QCoreApplication::processEvents();
    EXPECT_FALSE(called);

    // A new start after the stop delivers its own finding only.
    std::optional<bool> whole;
    check.start(path, [&](bool w, const QString&) { whole = w; });
    ASSERT_SOON(whole.has_value());
    EXPECT_TRUE(*whole);
    EXPECT_FALSE(called);
}
