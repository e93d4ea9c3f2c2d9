// Timings of the collection list on a generated collection (100,000 stamps unless
// PERLINEX_BENCH_STAMPS says otherwise; run it at 1,000,000 too).
//
// BM_FilterKeystroke: each keystroke of a typed filter narrows the list and the first screen
// of rows is read as the pane repaints them. Its floor, measured in the same iteration, is the
// sqlite3 tool counting the stamps whose description, catalogue number, country, topic or
// notes are like every word (the tool's own case-blind like; it cannot fold accents). Targets:
// each keystroke within 100 ms at 100,000 stamps, and within 2x of the floor at 1,000,000.
//
// BM_ScrollWholeList: every row of the list read from top to bottom, as a view scrolled to
// the end reads them. Target: memory growth under 50 MB at 1,000,000 stamps.
#include "bench_support.h"
#include "generator/generator.h"

#include "browse/stampbrowser.h"
#include "browse/stamplistmodel.h"
#include "db/database.h"
#include "db/schema.h"
#include "db/sqlite/collectionfile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <memory>
#include <string>

namespace {

using namespace perlinex;

QTemporaryDir* gDir = nullptr;

QString collectionPath() {
    return gDir->filePath(QString::fromLatin1(db::CollectionFileName));
}

// The floor: the sqlite3 tool counts the stamps that hold every word; ms, or -1.
double sqliteFloorMs(const QString& typed, std::int64_t* count) {
    QStringList conditions;
    for (const QString& w : typed.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString like = QStringLiteral("like '%%1%'").arg(w);
        conditions << QStringLiteral("(s.descr %1 or s.catnum %1 or c.Coudesc %1 or t.TopDesc %1 "
                                     "or s.notes %1)")
                          .arg(like);
    }
    const QString query =
        QStringLiteral("select count(*) from stamp s left join country c on c.CouID = s.CouID "
                       "left join topic t on t.topID = s.topID where %1;")
            .arg(conditions.join(QLatin1String(" and ")));
    QProcess tool;
    QElapsedTimer t;
    t.start();
    tool.start(QStringLiteral("sqlite3"), {QStringLiteral("-readonly"), collectionPath(), query});
    if (!tool.waitForStarted() || !tool.waitForFinished(-1) || tool.exitCode() != 0)
        return -1;
    const double elapsed = bench::ms(t);
    *count = tool.readAllStandardOutput().trimmed().toLongLong();
    return elapsed;
}

struct OpenList {
    std::unique_ptr<db::Database> db;
    regional::Regional regional;
    browse::StampBrowser browser{regional};
    std::unique_ptr<browse::StampListModel> model;

    // Shared, so that the sqlite3 tool can read the file beside it.
    OpenList()
        : db(db::openCollection(collectionPath(), db::StructureCheck::Deferred,
                                db::OpenMode::Shared)) {
        browser.open(*db, false);
        model = std::make_unique<browse::StampListModel>(browser, regional);
    }
    ~OpenList() {
        model.reset();
        browser.close();
        db->close();
    }
    // The rows a pane shows at once, read as it paints them.
    void paintFirstScreen() {
        const int rows = std::min(model->rowCount(), 40);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < model->columnCount(); ++c)
                benchmark::DoNotOptimize(model->data(model->index(r, c)));
    }
};

void BM_FilterKeystroke(benchmark::State& state) {
    OpenList list;
    double ours = 0, floor = 0, slowest = 0, slowestRatio = 0, narrowing = 0;
    std::int64_t lastRows = 0;
    std::int64_t keystrokes = 0;
    for (auto _ : state) {
        for (const QString& typed : bench::filterKeystrokes()) {
            QElapsedTimer t;
            t.start();
            list.browser.setFilter(typed);
            narrowing += bench::ms(t);
            list.paintFirstScreen();
            const double one = bench::ms(t);
            std::int64_t count = 0;
            const double f = sqliteFloorMs(typed, &count);
            if (f < 0) {
                state.SkipWithError("the sqlite3 tool failed");
                return;
            }
            ours += one;
            floor += f;
            slowest = std::max(slowest, one);
            slowestRatio = std::max(slowestRatio, one / f);
            ++keystrokes;
            lastRows = list.browser.rowCount();
            // The floor counts without folding accents, so it may find fewer; never more.
            if (count > list.browser.rowCount()) {
                state.SkipWithError("the filter found fewer stamps than the floor");
                return;
            }
        }
        state.SetIterationTime(ours / 1000);
        list.browser.setFilter(QString());
    }
    state.counters["keystroke_ms"] = ours / double(keystrokes);
    state.counters["narrowing_ms"] = narrowing / double(keystrokes);
    state.counters["slowest_keystroke_ms"] = slowest;
    state.counters["floor_ms"] = floor / double(keystrokes);
    state.counters["ratio"] = ours / floor;
    state.counters["slowest_ratio"] = slowestRatio;
    state.counters["last_rows"] = double(lastRows);
}
BENCHMARK(BM_FilterKeystroke)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_ScrollWholeList(benchmark::State& state) {
    OpenList list;
    for (auto _ : state) {
        bench::resetPeakRss();
        const double before = bench::peakRssMb();
        for (int r = 0; r < list.model->rowCount(); ++r)
            for (int c = 0; c < list.model->columnCount(); ++c)
                benchmark::DoNotOptimize(list.model->data(list.model->index(r, c)));
        state.counters["memory_growth_mb"] = bench::peakRssMb() - before;
    }
    state.counters["rows"] = double(list.model->rowCount());
}
BENCHMARK(BM_ScrollWholeList)->Unit(benchmark::kMillisecond)->Iterations(1);

// Opening the list: every stamp's number in the Sort menu's order, and the first screen.
void BM_OpenList(benchmark::State& state) {
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        OpenList list;
        list.paintFirstScreen();
        state.counters["open_ms"] = bench::ms(t);
    }
}
BENCHMARK(BM_OpenList)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    if (!bench::startBenchmarks(argc, argv))
        return 1;
    QTemporaryDir dir;
    gDir = &dir;
    const std::int64_t stamps = bench::stampsFromEnvironment();
    if (!bench::generateCollection(collectionPath(), stamps))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
