#include "db/sqlite/collectionfile.h"
#include "reliability_support.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>
#include <set>

using namespace reliability;

namespace {

// Kills land before each of the first kKillPoints changes a writer makes to the files, in an
// order that mixes short and long runs.
constexpr int kKillPoints = 120;

int runCount() {
    bool ok = false;
    const int n = qEnvironmentVariableIntValue("PERLINEX_CRASH_RUNS", &ok);
    return ok && n > 0 ? n : kKillPoints;
}

int killPoint(int run) {
    return 1 + (run * 7) % kKillPoints + (run / kKillPoints) * kKillPoints;
}

struct ChildOutput {
    bool opened = false;
    QString error;
    std::vector<std::int64_t> numbers;
};

// Only whole lines count: a line without its newline was still being written when the child
// died.
ChildOutput parse(const QByteArray& out) {
    ChildOutput r;
    const QList<QByteArray> lines = out.split('\n');
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        const QString line = QString::fromUtf8(lines[i]);
        if (line == QLatin1String("open"))
            r.opened = true;
        else if (line.startsWith(QLatin1String("error")))
            r.error = line;
        else
            r.numbers.push_back(line.toLongLong());
    }
    return r;
}

// A journal with its header in place means the kill came while a commit was writing the
// collection itself: the moment that matters most.
bool killedMidCommit(const QString& path) {
    static const QByteArray magic("\xd9\xd5\x05\xf9\x20\xa1\x63\xd7", 8);
    return fileBytes(path + QStringLiteral("-journal")).startsWith(magic);
}

} // namespace

// The writer is killed again and again on the same collection, each time just before another
// of its changes to the files: while it starts, while it rolls back what the previous one left,
// and at every step of its commits.
TEST(KilledWhileStoring, KeepsEveryConfirmedRecordWholeAndTheFileIntact) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = makeCollection(dir.path(), 0);

    std::set<std::int64_t> confirmed;
    int midCommit = 0;
    const int runs = runCount();
    for (int run = 0; run < runs; ++run) {
        SCOPED_TRACE(QStringLiteral("run %1").arg(run).toStdString());
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("PERLINEX_KILL_AT_IO"), QString::number(killPoint(run)));
        child.setProcessEnvironment(environment);
        child.start(QStringLiteral(PERLINEX_STORE_WRITER), {path});
        ASSERT_TRUE(child.waitForStarted(10000));
        ASSERT_TRUE(child.waitForFinished(120000)) << "the writer was not killed where it should";
        ASSERT_EQ(child.exitStatus(), QProcess::CrashExit);
        const ChildOutput out = parse(child.readAllStandardOutput());
        ASSERT_TRUE(out.error.isEmpty()) << out.error.toStdString();
        for (std::int64_t n : out.numbers) {
            ASSERT_TRUE(confirmed.insert(n).second) << "number " << n << " confirmed twice";
        }
        if (killedMidCommit(path))
            ++midCommit;

        std::map<std::int64_t, int> stored; // quantity -> rows holding it
        {
            std::unique_ptr<db::Database> collection;
            ASSERT_NO_THROW(collection = db::openCollection(path));
            auto set = collection->openRecordSet(
                QStringLiteral("Select descr, quantity from stamp"), db::RecordSetKind::Snapshot);
            for (; !set->eof(); set->moveNext()) {
                const db::Value quantity = set->field(QStringLiteral("quantity"));
                const QString descr = set->field(QStringLiteral("descr")).toText();
                ASSERT_FALSE(quantity.isNull()) << descr.toStdString();
                ASSERT_EQ(descr, QStringLiteral("Record %1").arg(quantity.toInteger()));
                ++stored[quantity.toInteger()];
            }
        }
        for (const auto& [n, rows] : stored) {
            ASSERT_EQ(rows, 1) << "record " << n << " stored " << rows << " times";
        }
        for (std::int64_t n : confirmed) {
            ASSERT_TRUE(stored.count(n)) << "confirmed record " << n << " was lost";
        }
        // Each writer goes on from the highest stored number, so the numbers have no gaps.
        if (!stored.empty()) {
            ASSERT_EQ(stored.rbegin()->first, std::int64_t(stored.size()));
        }
        QString why;
        ASSERT_TRUE(db::isIntactCollection(path, &why)) << why.toStdString();
    }
    // Kills that never caught a commit in the act would prove little.
    EXPECT_GE(midCommit, runs / 6);
    std::printf("%d kills, %d in the middle of a commit, %zu confirmed records\n", runs, midCommit,
                confirmed.size());
}
