// Timings of the collection value report on a generated collection (100,000 stamps unless
// PERLINEX_BENCH_STAMPS says otherwise), run as `perlinex report value` runs it, beside the
// floor measured in the same iteration: the sqlite3 tool writing the same query with
// `.mode tabs` to a file. The tool does not know the program's TEXTCI collation, so its query
// orders by descr COLLATE NOCASE; ours runs the report's own query, unchanged.
//
// Counters: ms of ours and of the floor, their ratio (targets: text 2, HTML 2.5); for the
// preview the first page shown and all pages laid out after the menu item, with peak memory;
// for the PDF the whole command.
#include "bench_support.h"
#include "generator/generator.h"

#include "db/schema.h"
#include "reports/fixedreports.h"
#include "reports/frmoutput.h"
#include "reports/reportcommand.h"
#include "reports/reportdefinitions.h"
#include "db/sqlite/collectionfile.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

using namespace perlinex;
using namespace perlinex::reports;

QTemporaryDir* gDir = nullptr;

QString collectionPath() {
    return gDir->filePath(QString::fromLatin1(db::CollectionFileName));
}

// The floor: the sqlite3 tool writes the value report's query to a file; ms, or -1.
double sqliteFloorMs(const QString& outFile) {
    const QString query = QStringLiteral(
        "Select descr, CatNum, Quantity, PricePaid, CatValue from Stamp where not wantlist and "
        "not sold order by descr COLLATE NOCASE;");
    QProcess tool;
    QElapsedTimer t;
    t.start();
    tool.start(QStringLiteral("sqlite3"), {collectionPath()});
    if (!tool.waitForStarted())
        return -1;
    tool.write(QStringLiteral(".mode tabs\n.output %1\n%2\n.quit\n").arg(outFile, query).toUtf8());
    tool.closeWriteChannel();
    if (!tool.waitForFinished(-1) || tool.exitCode() != 0)
        return -1;
    return bench::ms(t);
}

int command(const QString& target, const QString& outFile) {
    QString outText, errText;
    QTextStream out(&outText), err(&errText);
    return runReportCommand({QStringLiteral("perlinex"), QStringLiteral("report"),
                             QStringLiteral("value"), QStringLiteral("--to"), target,
                             QStringLiteral("--output"), outFile, QStringLiteral("--folder"),
                             gDir->path()},
                            out, err);
}

// Ours and the floor, one after the other in every iteration.
void fileAgainstFloor(benchmark::State& state, const QString& target) {
    const QString ourFile = gDir->filePath(QStringLiteral("value.") + target);
    const QString floorFile = gDir->filePath(QStringLiteral("floor.txt"));
    double ours = 0, floor = 0;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        if (command(target, ourFile) != 0) {
            state.SkipWithError("the report failed");
            return;
        }
        const double one = bench::ms(t);
        const double f = sqliteFloorMs(floorFile);
        if (f < 0) {
            state.SkipWithError("the sqlite3 tool failed");
            return;
        }
        ours += one;
        floor += f;
        state.SetIterationTime(one / 1000);
    }
    const double n = double(state.iterations());
    state.counters["ours_ms"] = ours / n;
    state.counters["floor_ms"] = floor / n;
    state.counters["ratio"] = ours / floor;
    state.counters["file_mb"] = double(QFile(ourFile).size()) / (1024.0 * 1024.0);
    state.counters["floor_file_mb"] = double(QFile(floorFile).size()) / (1024.0 * 1024.0);
}

void BM_ValueReportText(benchmark::State& state) {
    fileAgainstFloor(state, QStringLiteral("text"));
}
BENCHMARK(BM_ValueReportText)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ValueReportHtml(benchmark::State& state) {
    fileAgainstFloor(state, QStringLiteral("html"));
}
BENCHMARK(BM_ValueReportHtml)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ValueReportPdf(benchmark::State& state) {
    const QString file = gDir->filePath(QStringLiteral("value.pdf"));
    for (auto _ : state) {
        if (command(QStringLiteral("pdf"), file) != 0)
            state.SkipWithError("the report failed");
    }
    state.counters["file_mb"] = double(QFile(file).size()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_ValueReportPdf)->Unit(benchmark::kMillisecond)->Iterations(2);

// From the menu item to the first page painted in the preview window, and to the last page
// laid out, with the window's own timer doing the work.
void BM_ValueReportPreview(benchmark::State& state) {
    bench::NoDialogs dialogs;
    Program program(dialogs, gDir->path());
    program.openCollection();
    program.reportTarget = ReportTarget::Preview;
    for (auto _ : state) {
        bench::resetPeakRss();
        FixedReports reports(program, nullptr);
        QElapsedTimer t;
        t.start();
        reports.run(ReportId::Value);
        frmOutput& window = reports.previewWindow();
        const double filled = bench::ms(t);
        while (window.document().pageCount() == 0)
            QApplication::processEvents();
        window.repaint();
        const double firstPage = bench::ms(t);
        while (!window.document().isLaidOut())
            QApplication::processEvents();
        const double all = bench::ms(t);
        state.SetIterationTime(all / 1000);
        state.counters["report_returned_ms"] = filled;
        state.counters["first_page_ms"] = firstPage;
        state.counters["all_pages_ms"] = all;
        state.counters["pages"] = window.document().pageCount();
        state.counters["peak_rss_mb"] = bench::peakRssMb();
        window.close();
    }
    program.closeCollection();
}
BENCHMARK(BM_ValueReportPreview)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    QTemporaryDir dir;
    gDir = &dir;
    const std::int64_t stamps = bench::stampsFromEnvironment();
    QElapsedTimer t;
    t.start();
    generator::generateCollection(collectionPath(), {stamps, 1});
    benchmark::AddCustomContext("stamps", std::to_string(stamps));
    benchmark::AddCustomContext("generate_ms", std::to_string(t.elapsed()));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
