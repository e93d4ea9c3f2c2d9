// Timings of a custom report on a generated collection (100,000 stamps unless
// PERLINEX_BENCH_STAMPS says otherwise): eight fields over two joined code tables (country and
// type), a money total, sorted by country and description.
//
// The text file is written as `perlinex report --layout` writes it, beside the floor measured
// in the same iteration: the sqlite3 tool writing the same query with `.mode tabs` to a file.
// The tool does not know the program's TEXTCI collation, so its query orders by the same
// fields COLLATE NOCASE; ours runs the layout's own query, unchanged.
//
// Counters: ms of ours and of the floor and their ratio (target 2.5); the query to its first
// row and the making of every row's cells; for the preview, from "Generate Report" to the
// first page painted and to all pages laid out (targets 0.5 s and 4 s).
#include "bench_support.h"
#include "generator/generator.h"

#include "custom/customreport.h"
#include "custom/generatereport.h"
#include "custom/layoutcommand.h"
#include "custom/layoutfile.h"
#include "custom/reportplan.h"
#include "db/catalogue.h"
#include "db/schema.h"
#include "db/sqlite/cataloguefile.h"
#include "db/sqlite/collectionfile.h"
#include "reports/fixedreports.h"
#include "reports/frmoutput.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <string>

namespace {

using namespace perlinex;
using namespace perlinex::custom;

QTemporaryDir* gDir = nullptr;
FieldCatalogue* gCatalogue = nullptr;

QString collectionPath() {
    return gDir->filePath(QString::fromLatin1(db::CollectionFileName));
}

QString layoutPath() {
    return gDir->filePath(QStringLiteral("eight.rpt"));
}

double ms(const QElapsedTimer& t) {
    return double(t.nsecsElapsed()) / 1e6;
}

// Description, catalogue number, country, type, year, face value, price paid (totalled) and
// issue date; by country, then description.
Layout eightFields(Target target) {
    const FieldCatalogue& offered = *gCatalogue;
    Layout l = Layout::defaults(offered, QStringLiteral("stamp"));
    for (const int id : {1, 2, 8, 9, 4, 3, 21, 20})
        l.fields << id;
    l.setting(21).showTotal = true;
    l.sort = {offered.positionOf(8), offered.positionOf(1)};
    l.target = target;
    return l;
}

// The floor: the sqlite3 tool writes the same query to a file; ms, or -1.
double sqliteFloorMs(const QString& outFile) {
    const QString query = QStringLiteral(
        "Select descr, catnum, Coudesc, Typedesc, Year, face, pricepaid, issued from ((stamp left "
        "join country on stamp.CouID = country.CouID) left join type on stamp.typeID = "
        "type.typeID) order by Coudesc COLLATE NOCASE, descr COLLATE NOCASE;");
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
    return ms(t);
}

void BM_CustomReportText(benchmark::State& state) {
    const QString ourFile = gDir->filePath(QStringLiteral("custom.txt"));
    const QString floorFile = gDir->filePath(QStringLiteral("floor.txt"));
    double ours = 0, floor = 0;
    for (auto _ : state) {
        QString outText, errText;
        QTextStream out(&outText), err(&errText);
        QElapsedTimer t;
        t.start();
        if (runLayoutReportCommand(
                {QStringLiteral("perlinex"), QStringLiteral("report"), QStringLiteral("--layout"),
                 layoutPath(), QStringLiteral("--to"), QStringLiteral("text"),
                 QStringLiteral("--output"), ourFile, QStringLiteral("--folder"), gDir->path()},
                out, err) != 0) {
            state.SkipWithError(errText.toStdString().c_str());
            return;
        }
        const double one = ms(t);
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
BENCHMARK(BM_CustomReportText)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// The parts of a run: the query up to its first row (the sort is done by then), and making the
// cells of every row without sending them anywhere.
struct NullSink : reports::ReportSink {
    void row(std::span<const QString>) override {}
    void totals(const reports::TotalsLine&) override {}
};

void BM_CustomReportParts(benchmark::State& state) {
    const PlanResult planned =
        planReport(eightFields(Target::TextFile), *gCatalogue, regional::Regional());
    const auto db = db::openCollection(collectionPath());
    const regional::Regional regional;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        CustomReportData data(*db, *planned.plan);
        const double query = ms(t);
        NullSink sink;
        data.writeTo(sink, regional);
        state.counters["query_ms"] = query;
        state.counters["cells_ms"] = ms(t) - query;
    }
    db->close();
}
BENCHMARK(BM_CustomReportParts)->Unit(benchmark::kMillisecond)->Iterations(3);

struct NoDialogs : DialogService {
    Answer message(const QString&, const QString&, Buttons, Icon) override { return Answer::Ok; }
    std::optional<QString> input(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    std::optional<QString> openFileName(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    std::optional<QString> saveFileName(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    std::optional<QString> folderName(const QString&, const QString&) override {
        return std::nullopt;
    }
    void beep() override {}
};

// From "Generate Report" to the first page painted in the preview window, and to the last
// page laid out, with the window's own timer doing the work.
void BM_CustomReportPreview(benchmark::State& state) {
    NoDialogs dialogs;
    Program program(dialogs, gDir->path());
    program.openCollection();
    const Layout layout = eightFields(Target::Screen);
    for (auto _ : state) {
        reports::FixedReports reports(program, nullptr);
        QElapsedTimer t;
        double firstPage = -1;
        // The window repaints while the rows are still being added: the first page counts as
        // soon as it has been painted.
        QTimer watch;
        watch.setInterval(0);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (firstPage >= 0 || !reports.hasPreviewWindow())
                return;
            reports::frmOutput& window = reports.previewWindow();
            if (window.isVisible() && window.document().pageCount() > 0) {
                window.repaint();
                firstPage = ms(t);
            }
        });
        watch.start();
        t.start();
        generateReport(program, reports, layout, *gCatalogue);
        reports::frmOutput& window = reports.previewWindow();
        const double filled = ms(t);
        while (firstPage < 0)
            QApplication::processEvents();
        watch.stop();
        while (!window.document().isLaidOut())
            QApplication::processEvents();
        const double all = ms(t);
        state.SetIterationTime(all / 1000);
        state.counters["report_returned_ms"] = filled;
        state.counters["first_page_ms"] = firstPage;
        state.counters["all_pages_ms"] = all;
        state.counters["pages"] = window.document().pageCount();
        window.close();
    }
    program.closeCollection();
}
BENCHMARK(BM_CustomReportPreview)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2);

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

    FieldCatalogue catalogue;
    {
        const auto spec = db::openCatalogue(dir.path());
        catalogue = FieldCatalogue::read(*spec).offeredFor(QStringLiteral("stamp"));
        spec->close();
    }
    gCatalogue = &catalogue;
    QFile layout(layoutPath());
    if (!layout.open(QIODevice::WriteOnly) ||
        layout.write(writeLayout(eightFields(Target::TextFile))) < 0)
        return 1;
    layout.close();
    const PlanResult plan =
        planReport(eightFields(Target::TextFile), catalogue, regional::Regional());
    if (plan.plan)
        benchmark::AddCustomContext("query", plan.plan->sql.toStdString());

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
