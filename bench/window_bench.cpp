// Timings of the main window on a generated collection (100,000 stamps unless
// PERLINEX_BENCH_STAMPS says otherwise), drawn offscreen: start-up to the first record shown
// (with the collection list beside it and without), switching the sort order, and stepping to
// the next record.
#include "bench_support.h"
#include "generator/generator.h"

#include "app/frmmain.h"
#include "db/catalogue.h"
#include "db/schema.h"
#include "find/frmfind.h"
#include "support/scripted_dialogs.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTabWidget>
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

// The settings of a user who left the collection list shown, or hidden.
QString settingsWithList(bool shown) {
    const QString file =
        QDir(gFolder).filePath(shown ? QStringLiteral("list.ini") : QStringLiteral("nolist.ini"));
    QSettings(file, QSettings::IniFormat).setValue(QStringLiteral("mainWindow/list"), shown);
    return file;
}

struct OpenWindow {
    ScriptedDialogs dialogs;
    Program program{dialogs, gFolder};
    std::unique_ptr<frmMain> window_;
    frmMain& window;
    explicit OpenWindow(bool withList = false)
        : window_([&] {
              program.settingsFile = settingsWithList(withList);
              return std::make_unique<frmMain>(program);
          }()),
          window(*window_) {
        window.load();
        window.show();
        window.repaint(); // the first record on screen
    }
    // What follows the first record: the structure check of the file, and the rest of the
    // start-up's events.
    void settle() { QApplication::processEvents(); }
};

// From the start of the window to its first record painted. The structure check that runs
// once the record is on screen is timed apart.
// With the list shown, its first rows are painted too (read from the store by number).
void startToFirstRecordShown(benchmark::State& state, bool withList) {
    double check = 0;
    for (auto _ : state) {
        auto w = std::make_unique<OpenWindow>(withList);
        benchmark::DoNotOptimize(w->window.browser().rowCount());
        state.PauseTiming();
        QElapsedTimer t;
        t.start();
        w->settle();
        check += double(t.nsecsElapsed()) / 1e6;
        w.reset();
        state.ResumeTiming();
    }
    state.counters["then_check_ms"] = check / double(state.iterations());
}

void BM_StartToFirstRecordShown(benchmark::State& state) {
    startToFirstRecordShown(state, false);
}
BENCHMARK(BM_StartToFirstRecordShown)->Unit(benchmark::kMillisecond);

void BM_StartToFirstRecordAndListRowsShown(benchmark::State& state) {
    startToFirstRecordShown(state, true);
}
BENCHMARK(BM_StartToFirstRecordAndListRowsShown)->Unit(benchmark::kMillisecond);

void BM_SortOrderSwitch(benchmark::State& state) {
    OpenWindow w;
    w.settle();
    int order = 1;
    for (auto _ : state) {
        order = order == 2 ? 3 : 2;
        w.window.sortBy(order);
    }
}
BENCHMARK(BM_SortOrderSwitch)->Unit(benchmark::kMillisecond);

void BM_NextWithShowStamp(benchmark::State& state) {
    OpenWindow w;
    w.settle();
    for (auto _ : state) {
        if (w.dialogs.beeps > 0) {
            w.window.moveFirst();
            w.dialogs.beeps = 0;
        }
        w.window.moveNext();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_NextWithShowStamp)->Unit(benchmark::kMicrosecond);

// The "Image" tab chosen for a stamp whose picture is a 24-megapixel photograph (fewer
// pixels in a quick run): decoded at the size shown.
void BM_ShowImageTab(benchmark::State& state) {
    OpenWindow w;
    w.settle();
    const bool quick = bench::stampsFromEnvironment() < 100000;
    const QSize size = quick ? QSize(1200, 800) : QSize(6000, 4000);
    QImage photo(size, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(photo.scanLine(y));
        for (int x = 0; x < photo.width(); ++x)
            line[x] = qRgb((x * 7 + y) & 255, (x ^ y) & 255, (y * 3) & 255);
    }
    const std::int64_t id = w.window.browser().currentId().value_or(0);
    photo.save(QDir(w.program.imagesFolder())
                   .filePath(QStringLiteral("%1.jpg").arg(id, 8, 10, QLatin1Char('0'))),
               "JPG", 90);
    auto* tabs = w.window.findChild<QTabWidget*>(QStringLiteral("SSTab1"));
    w.window.resize(900, 700);
    for (auto _ : state) {
        tabs->setCurrentIndex(0);
        tabs->setCurrentIndex(3); // the picture is read and decoded here
        w.window.repaint();
    }
    state.counters["megapixels"] = double(size.width()) * size.height() / 1e6;
}
BENCHMARK(BM_ShowImageTab)->Unit(benchmark::kMillisecond);

// "&Find" in the find dialog with a Contains criterion on the description.
void findWith(benchmark::State& state, int direction) {
    OpenWindow w;
    w.settle();
    // The set the window opens over the listed stamps while the dialog is shown.
    w.program.StampSet = w.program.CollectionDb->openRecordSet(
        QStringLiteral("Select * from stamp order by stamp.descr, stamp.stampid"));
    perlinex::frmFind dialog(w.program);
    auto* fields = dialog.findChild<QListWidget*>(QStringLiteral("lstField"));
    fields->setCurrentItem(
        fields->findItems(QStringLiteral("Description"), Qt::MatchExactly).value(0));
    auto* ops = dialog.findChild<QListWidget*>(QStringLiteral("lstText"));
    ops->setCurrentItem(ops->findItems(QStringLiteral("Contains"), Qt::MatchExactly).value(0));
    dialog.findChild<QLineEdit*>(QStringLiteral("txtToFind"))
        ->setText(QStringLiteral("Lighthouses 19"));
    dialog.findChild<QRadioButton*>(QStringLiteral("optWhere%1").arg(direction))->setChecked(true);
    auto* find = dialog.findChild<QPushButton*>(QStringLiteral("cmdFind"));
    for (auto _ : state) {
        find->click();
        if (!w.program.StampSet->noMatch())
            w.window.browser().moveToStamp(
                w.program.StampSet->field(QStringLiteral("stampid")).toInteger());
        else
            w.program.StampSet->moveFirst();
    }
}

void BM_FindFirstContains(benchmark::State& state) {
    findWith(state, 1);
}
BENCHMARK(BM_FindFirstContains)->Unit(benchmark::kMillisecond);

void BM_FindNextContains(benchmark::State& state) {
    findWith(state, 3);
}
BENCHMARK(BM_FindNextContains)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    QTemporaryDir dir;
    gFolder = dir.path();
    const std::int64_t stamps = bench::stampsFromEnvironment();
    try {
        perlinex::generator::generateCollection(
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
