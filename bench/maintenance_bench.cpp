// Pack and Backup on a generated collection (100,000 stamps unless PERLINEX_BENCH_STAMPS says
// otherwise), each beside its floor measured in the same iteration: for Pack the engine's own
// VACUUM INTO with its default settings followed by a sync of the new file, for Backup the
// sqlite3 tool's .backup. The counters give the floor and the ratio, and for Pack the peak
// memory of the process while it packs (targets at a million stamps: ratio 1.5, 300 MB); the
// time is Perlinex's own.
#include "bench_support.h"
#include "generator/generator.h"

#include "db/schema.h"
#include "db/sqlite/collectionfile.h"
#include "db/sqlite/maintenance.h"
#include "db/sqlite/sqliteengine.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sqlite3.h>
#include <string>
#include <unistd.h>

namespace {

QString gFolder;
QString gCollection;

double seconds(const QElapsedTimer& t) {
    return double(t.nsecsElapsed()) / 1e9;
}

void syncFile(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// The engine alone: VACUUM INTO a new file, then that file written to disk.
double vacuumIntoFloor(const QString& target) {
    QFile::remove(target);
    QElapsedTimer t;
    t.start();
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(gCollection).constData(), &db, SQLITE_OPEN_READWRITE,
                    nullptr);
    perlinex::db::sqlite::registerTextFunctions(db); // the indexes' collation
    const QByteArray sql = "VACUUM INTO '" + QFile::encodeName(target) + "'";
    const int rc = sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
    syncFile(target);
    const double s = seconds(t);
    QFile::remove(target);
    return rc == SQLITE_OK ? s : -1;
}

// The sqlite3 tool's online backup into a new file.
double toolBackupFloor(const QString& target) {
    QFile::remove(target);
    QElapsedTimer t;
    t.start();
    const int rc = QProcess::execute(QStringLiteral("sqlite3"),
                                     {gCollection, QStringLiteral(".backup '%1'").arg(target)});
    const double s = seconds(t);
    QFile::remove(target);
    return rc == 0 ? s : -1;
}

void BM_PackAgainstVacuumInto(benchmark::State& state) {
    double floor = 0;
    double ours = 0;
    double peak = 0;
    const double before = bench::peakRssMb();
    for (auto _ : state) {
        const double f = vacuumIntoFloor(QDir(gFolder).filePath(QStringLiteral("floor.mdb")));
        if (f < 0) {
            state.SkipWithError("VACUUM INTO failed");
            return;
        }
        bench::resetPeakRss();
        QElapsedTimer t;
        t.start();
        perlinex::db::compactCollection(gFolder);
        const double s = seconds(t);
        peak = std::max(peak, bench::peakRssMb());
        state.SetIterationTime(s);
        floor += f;
        ours += s;
    }
    state.counters["floor_ms"] = floor * 1000 / double(state.iterations());
    state.counters["ratio"] = ours / floor;
    state.counters["peak_rss_mb"] = peak;
    state.counters["rss_before_mb"] = before;
}
BENCHMARK(BM_PackAgainstVacuumInto)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

void BM_BackupAgainstSqliteTool(benchmark::State& state) {
    QTemporaryDir destination;
    double floor = 0;
    double ours = 0;
    for (auto _ : state) {
        const double f = toolBackupFloor(QDir(gFolder).filePath(QStringLiteral("floor.mdb")));
        if (f < 0) {
            state.SkipWithError("the sqlite3 tool's .backup failed");
            return;
        }
        QElapsedTimer t;
        t.start();
        const QString made = perlinex::db::backupCollection(gFolder, destination.path()).folder;
        const double s = seconds(t);
        state.SetIterationTime(s);
        QDir(made).removeRecursively();
        floor += f;
        ours += s;
    }
    state.counters["floor_ms"] = floor * 1000 / double(state.iterations());
    state.counters["ratio"] = ours / floor;
}
BENCHMARK(BM_BackupAgainstSqliteTool)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (!bench::startBenchmarks(argc, argv))
        return 1;
    QTemporaryDir dir;
    gFolder = dir.path();
    gCollection = dir.filePath(QString::fromLatin1(perlinex::db::CollectionFileName));
    const std::int64_t stamps = bench::stampsFromEnvironment();
    if (!bench::generateCollection(gCollection, stamps))
        return 1;
    QDir().mkpath(dir.filePath(QStringLiteral("images")));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
