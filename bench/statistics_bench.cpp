// Timings of the statistics on a generated collection (100,000 stamps unless
// PERLINEX_BENCH_STAMPS says otherwise), each beside its floor measured in the same iteration:
// the sqlite3 tool running the same aggregate queries, word for word, and printing their rows
// to a file.
//
// Counters: ms of ours and of the floor and their ratio (target: 2), for the window opened
// (from the menu's call to the glance drawn, target 500 ms), for each tab's first showing, and
// for every figure at once as `perlinex statistics` makes them.
#include "bench_support.h"
#include "generator/generator.h"

#include "db/catalogue.h"
#include "db/schema.h"
#include "db/sqlite/cataloguefile.h"
#include "db/sqlite/collectionfile.h"
#include "stats/frmstats.h"
#include "stats/statistics.h"
#include "stats/statsqueries.h"
#include "stats/statstable.h"
#include "ui/program.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLocale>
#include <QProcess>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <string>

namespace {

using namespace perlinex;
using namespace perlinex::stats;

QTemporaryDir* gDir = nullptr;

QString collectionPath() {
    return gDir->filePath(QString::fromLatin1(db::CollectionFileName));
}

double sqliteMs(const QStringList& queries) {
    QProcess tool;
    QElapsedTimer t;
    t.start();
    tool.start(QStringLiteral("sqlite3"), {collectionPath()});
    if (!tool.waitForStarted())
        return -1;
    QString script =
        QStringLiteral(".output %1\n").arg(gDir->filePath(QStringLiteral("floor.txt")));
    for (const QString& q : queries)
        script += q + QStringLiteral(";\n");
    tool.write((script + QStringLiteral(".quit\n")).toUtf8());
    tool.closeWriteChannel();
    if (!tool.waitForFinished(-1) || tool.exitCode() != 0)
        return -1;
    return bench::ms(t);
}

// The floor: the sqlite3 tool runs the queries and writes their rows to a file; ms, or -1.
// The program's collection is closed meanwhile: while it is open no other program can open it.
double sqliteFloorMs(const QStringList& queries, Program* program = nullptr) {
    if (program)
        program->closeCollection();
    const double ms = sqliteMs(queries);
    if (program)
        program->openCollection(db::StructureCheck::Deferred);
    return ms;
}

// Ours and the floor of one iteration, added up; false (the benchmark stopped) when the tool
// failed.
struct Timings {
    double ours = 0;
    double floor = 0;
    bool add(benchmark::State& state, double one, double f) {
        if (f < 0) {
            state.SkipWithError("the sqlite3 tool failed");
            return false;
        }
        ours += one;
        floor += f;
        state.SetIterationTime(one / 1000);
        return true;
    }
    void report(benchmark::State& state) const {
        const double n = double(state.iterations());
        state.counters["ours_ms"] = ours / n;
        state.counters["floor_ms"] = floor / n;
        state.counters["ratio"] = ours / floor;
    }
};

// The window as the Reports menu opens it, to its glance drawn.
void BM_OpenWindow(benchmark::State& state) {
    bench::NoDialogs dialogs;
    Program program(dialogs, gDir->path());
    program.openCollection();
    Timings timings;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        StatisticsWindow* window = showStatistics(program, nullptr);
        auto* glance = window->findChild<QTableWidget*>(QStringLiteral("grdGlance"));
        while (glance->rowCount() == 0)
            QApplication::processEvents();
        window->repaint();
        const double one = bench::ms(t);
        window->close();
        delete window;
        if (!timings.add(state, one, sqliteFloorMs({glanceQuery(QString())}, &program)))
            return;
    }
    timings.report(state);
    program.closeCollection();
}
BENCHMARK(BM_OpenWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// A tab's first showing: its query, its rows, its chart and table.
void BM_ShowTab(benchmark::State& state) {
    const auto breakdown = AllBreakdowns[std::size_t(state.range(0))];
    state.SetLabel(breakdownOption(breakdown).toStdString());
    bench::NoDialogs dialogs;
    Program program(dialogs, gDir->path());
    program.openCollection();
    Timings timings;
    for (auto _ : state) {
        StatisticsWindow window(program);
        window.show();
        QApplication::processEvents();
        auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("tabStats"));
        QElapsedTimer t;
        t.start();
        tabs->setCurrentIndex(int(state.range(0)) + 1);
        window.repaint();
        const double one = bench::ms(t);
        if (!timings.add(state, one,
                         sqliteFloorMs({breakdownQuery(breakdown, QString())}, &program)))
            return;
    }
    timings.report(state);
    program.closeCollection();
}
BENCHMARK(BM_ShowTab)
    ->DenseRange(0, int(AllBreakdowns.size()) - 1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// Every figure of the window, as the command makes them, against all seven queries.
void BM_AllFigures(benchmark::State& state) {
    const regional::Regional regional;
    QStringList queries{glanceQuery(QString())};
    for (Breakdown b : AllBreakdowns)
        queries << breakdownQuery(b, QString());
    Timings timings;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        const auto db = db::openCollection(collectionPath(), db::StructureCheck::Deferred,
                                           db::OpenMode::ReadOnly);
        CollectionStatistics statistics(*db, regional);
        benchmark::DoNotOptimize(glanceTable(statistics.glance(), {}, nullptr));
        for (Breakdown b : AllBreakdowns)
            benchmark::DoNotOptimize(breakdownTable(
                b, shownGroups(b, statistics.groups(b), Measure::Count, {}), {}, nullptr));
        const double one = bench::ms(t);
        if (!timings.add(state, one, sqliteMs(queries)))
            return;
    }
    timings.report(state);
}
BENCHMARK(BM_AllFigures)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    if (!bench::startBenchmarks(argc, argv))
        return 1;
    QTemporaryDir dir;
    gDir = &dir;
    const std::int64_t stamps = bench::stampsFromEnvironment();
    if (!bench::generateCollection(collectionPath(), stamps))
        return 1;
    db::openCatalogue(dir.path())->close();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
