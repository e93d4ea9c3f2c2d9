// Timings of the main window on a generated collection (100,000 stamps unless
// PERLINEX_BENCH_STAMPS says otherwise), drawn offscreen: start-up to the first record shown,
// switching the sort order, and stepping to the next record.
#include "generator/generator.h"

#include "app/frmmain.h"
#include "db/catalogue.h"
#include "db/schema.h"
#include "support/scripted_dialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

using perlinex::frmMain;
using perlinex::Program;

QString gFolder;

std::int64_t stampsFromEnvironment() {
    const char* env = std::getenv("PERLINEX_BENCH_STAMPS");
    return env && *env ? std::atoll(env) : 100000;
}

struct OpenWindow {
    ScriptedDialogs dialogs;
    Program program{dialogs, gFolder};
    frmMain window{program};
    OpenWindow() {
        window.load();
        window.show();
        QApplication::processEvents();
    }
};

void BM_StartToFirstRecordShown(benchmark::State& state) {
    for (auto _ : state) {
        auto w = std::make_unique<OpenWindow>();
        benchmark::DoNotOptimize(w->program.StampSet->recordCount());
        state.PauseTiming();
        w.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartToFirstRecordShown)->Unit(benchmark::kMillisecond);

void BM_SortOrderSwitch(benchmark::State& state) {
    OpenWindow w;
    int order = 1;
    for (auto _ : state) {
        order = order == 2 ? 3 : 2;
        w.window.sortBy(order);
    }
}
BENCHMARK(BM_SortOrderSwitch)->Unit(benchmark::kMillisecond);

void BM_NextWithShowStamp(benchmark::State& state) {
    OpenWindow w;
    for (auto _ : state) {
        if (w.program.StampSet->eof() || w.dialogs.beeps > 0) {
            w.window.moveFirst();
            w.dialogs.beeps = 0;
        }
        w.window.moveNext();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_NextWithShowStamp)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    QTemporaryDir dir;
    gFolder = dir.path();
    const std::int64_t stamps = stampsFromEnvironment();
    try {
        perlinex::bench::generateCollection(
            dir.filePath(QString::fromLatin1(perlinex::db::CollectionFileName)), {stamps, 1});
        perlinex::db::openCatalogue(gFolder)->close();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "Could not generate the collection: %s\n", e.what());
        return 1;
    }
    benchmark::AddCustomContext("stamps", std::to_string(stamps));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
