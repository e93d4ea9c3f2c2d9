// Timings of the fixed reports on generated collections (100,000 stamps unless
// PERLINEX_BENCH_STAMPS says otherwise), run as `perlinex report` runs them, beside the floor
// measured in the same iteration: the sqlite3 tool running the same query text, as the
// program's dialect translation gives it. The tool does not know the program's TEXTCI
// collation, so its query orders each term COLLATE NOCASE; ours runs the report's own query,
// unchanged.
//
// Every fixed report, written as text to /dev/null as the tool's output is (target: ratio 2),
// at the size and, in the full run, at ten times the size, where "growth" is ours at the
// larger size over ours at the smaller and "floor_growth" the same for the floor (target: no
// more). The value report also as a text, an HTML and a PDF file (file targets: text 2, HTML
// 2.5); for the preview the first page shown and all pages laid out after the menu item, with
// peak memory.
#include "bench_support.h"
#include "generator/generator.h"

#include "db/dialect.h"
#include "db/schema.h"
#include "db/sqlite/collectionfile.h"
#include "reports/fixedreports.h"
#include "reports/frmoutput.h"
#include "reports/reportcommand.h"
#include "reports/reportdefinitions.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <string>

namespace {

using namespace perlinex;
using namespace perlinex::reports;

QTemporaryDir* gDir = nullptr;

QString collectionPath() {
    return gDir->filePath(QString::fromLatin1(db::CollectionFileName));
}

// The folder of a generated collection of that many stamps: the one every benchmark here
// uses, or one made for the larger size once.
QString collectionFolder(std::int64_t stamps) {
    if (stamps == bench::stampsFromEnvironment())
        return gDir->path();
    static std::map<std::int64_t, std::unique_ptr<QTemporaryDir>> made;
    auto& dir = made[stamps];
    if (!dir) {
        dir = std::make_unique<QTemporaryDir>();
        generator::generateCollection(dir->filePath(QString::fromLatin1(db::CollectionFileName)),
                                      {stamps, 1});
    }
    return dir->path();
}

// The report's query as the engine runs it, each term of its order COLLATE NOCASE.
QString floorQuery(const ReportDefinition& definition) {
    const QString sql = db::translateSql(reportQuery(definition, -1));
    const qsizetype at = sql.lastIndexOf(QLatin1String("order by "), -1, Qt::CaseInsensitive);
    QStringList terms = sql.mid(at + 9).split(QLatin1Char(','));
    for (QString& term : terms)
        term = term.trimmed() + QStringLiteral(" COLLATE NOCASE");
    return sql.left(at + 9) + terms.join(QStringLiteral(", ")) + QLatin1Char(';');
}

// The floor: the sqlite3 tool running the query, its output to a file; ms, or -1.
double toolMs(const QString& folder, const QString& query,
              const QString& output = QStringLiteral("/dev/null")) {
    QProcess tool;
    QElapsedTimer t;
    t.start();
    tool.start(QStringLiteral("sqlite3"),
               {QDir(folder).filePath(QString::fromLatin1(db::CollectionFileName))});
    if (!tool.waitForStarted())
        return -1;
    tool.write(QStringLiteral(".mode tabs\n.output %1\n%2\n.quit\n").arg(output, query).toUtf8());
    tool.closeWriteChannel();
    if (!tool.waitForFinished(-1) || tool.exitCode() != 0)
        return -1;
    return bench::ms(t);
}

// Ours: the command writing the report as text to standard output, here /dev/null.
double oursMs(const QString& folder, const ReportDefinition& definition) {
    QFile null(QStringLiteral("/dev/null"));
    if (!null.open(QIODevice::WriteOnly))
        return -1;
    QTextStream out(&null);
    QString errText;
    QTextStream err(&errText);
    QElapsedTimer t;
    t.start();
    const int status =
        runReportCommand({QStringLiteral("perlinex"), QStringLiteral("report"),
                          QString::fromLatin1(definition.commandName), QStringLiteral("--to"),
                          QStringLiteral("text"), QStringLiteral("--output"), QStringLiteral("-"),
                          QStringLiteral("--folder"), folder},
                         out, err);
    return status == 0 ? bench::ms(t) : -1;
}

struct Measured {
    double ours = 0;
    double floor = 0;
};
std::map<std::pair<std::string, std::int64_t>, Measured> gMeasured;

void reportAgainstFloor(benchmark::State& state, const ReportDefinition* definition,
                        std::int64_t stamps, std::int64_t smaller) {
    const QString folder = collectionFolder(stamps);
    const QString query = floorQuery(*definition);
    double ours = 0, floor = 0;
    for (auto _ : state) {
        const double one = oursMs(folder, *definition);
        const double f = toolMs(folder, query);
        if (one < 0 || f < 0) {
            state.SkipWithError(one < 0 ? "the report failed" : "the sqlite3 tool failed");
            return;
        }
        ours += one;
        floor += f;
        state.SetIterationTime(one / 1000);
    }
    const double n = double(state.iterations());
    const Measured m{ours / n, floor / n};
    gMeasured[{definition->commandName, stamps}] = m;
    state.counters["ours_ms"] = m.ours;
    state.counters["floor_ms"] = m.floor;
    state.counters["ratio"] = m.ours / m.floor;
    const auto before = gMeasured.find({definition->commandName, smaller});
    if (smaller > 0 && before != gMeasured.end()) {
        state.counters["growth"] = m.ours / before->second.ours;
        state.counters["floor_growth"] = m.floor / before->second.floor;
    }
}

// Every fixed report at the size, then, in the full run, at ten times the size.
void registerReportsAgainstFloor(std::int64_t stamps, bool quick) {
    for (const std::int64_t size :
         quick ? std::vector<std::int64_t>{stamps} : std::vector<std::int64_t>{stamps, stamps * 10})
        for (const ReportDefinition& d : reportDefinitions())
            benchmark::RegisterBenchmark(
                (std::string("BM_ReportAgainstFloor/") + d.commandName + "/" + std::to_string(size))
                    .c_str(),
                [&d, size, stamps](benchmark::State& state) {
                    reportAgainstFloor(state, &d, size, size == stamps ? 0 : stamps);
                })
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond)
                ->Iterations(3);
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
        const double f =
            toolMs(gDir->path(), floorQuery(reportDefinition(ReportId::Value)), floorFile);
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
    if (!bench::startBenchmarks(argc, argv))
        return 1;
    QTemporaryDir dir;
    gDir = &dir;
    const std::int64_t stamps = bench::stampsFromEnvironment();
    if (!bench::generateCollection(collectionPath(), stamps))
        return 1;
    registerReportsAgainstFloor(stamps, stamps < 100000);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
