// Timings of the main window on a generated collection (100,000 stamps unless
// PERLINEX_BENCH_STAMPS says otherwise): start-up to the first record shown (with the
// collection list beside it and without), start-up to the first record painted beside the same
// with the structure check switched off, switching the sort order, and stepping to the next
// record. The full run draws on an X server of its own (Xvfb) when there is one, where the
// order of the first paint and the check shows; the quick run, and a machine without Xvfb,
// draw offscreen. The "platform" line of the output says which.
#include "bench_support.h"
#include "generator/generator.h"

#include "app/frmmain.h"
#include "db/catalogue.h"
#include "db/schema.h"
#include "db/sqlite/cataloguefile.h"
#include "db/sqlite/collectionfile.h"
#include "find/frmfind.h"
#include "support/scripted_dialogs.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

using perlinex::frmMain;
using perlinex::Program;

QString gFolder;

// Handles events until done() holds, waiting for them rather than spinning, so that the X
// server has the processor it needs.
template <typename Done> void waitFor(Done done) {
    while (!done())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

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
    // What follows the first record: the rest of the start-up's events, and the structure
    // check of the file beside the window.
    void settle() {
        QDeadlineTimer started(30000);
        while (!program.structureCheckRunning() && !started.hasExpired())
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        waitFor([this] { return !program.structureCheckRunning(); });
    }
};

// From the start of the window to its first record painted. The structure check that runs
// once the record is on screen is timed apart, to its end. With the list shown, its first rows
// are painted too (read from the store by number).
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

// Notes the first paint of the control it watches.
class PaintWatch : public QObject {
public:
    bool painted = false;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

struct FirstPaint {
    double paintMs = 0; // show() to the first record painted
    double nextMs = 0;  // then to the next event served: the check does not hold the window
};

// Loads the window, then times show() to its first record painted, and from there to the next
// event the window's thread serves; waits for the structure check to end before it goes.
FirstPaint showToFirstPaint(bool withCheck) {
    ScriptedDialogs dialogs;
    Program program(dialogs, gFolder);
    program.StructureCheckAside = withCheck;
    program.settingsFile = settingsWithList(false);
    frmMain window(program);
    PaintWatch watch;
    window.findChild<QLineEdit*>(QStringLiteral("txtDescr"))->installEventFilter(&watch);
    window.load();
    QElapsedTimer t;
    t.start();
    window.show();
    waitFor([&] { return watch.painted; });
    FirstPaint out;
    out.paintMs = bench::ms(t);
    bool served = false;
    QTimer::singleShot(0, &window, [&] { served = true; });
    waitFor([&] { return served; });
    out.nextMs = bench::ms(t) - out.paintMs;
    waitFor([&] { return !program.structureCheckRunning(); });
    return out;
}

// Show to first paint with the structure check, beside the same without it (the floor), both
// in every iteration (target: ratio 1.3 at a million stamps under Xvfb).
void BM_ShowToFirstPaint(benchmark::State& state) {
    double ours = 0, floor = 0, next = 0;
    bool floorFirst = false;
    for (auto _ : state) {
        // Each goes first in every other iteration, so that neither gains by the other.
        FirstPaint with, without;
        if (floorFirst)
            without = showToFirstPaint(false);
        with = showToFirstPaint(true);
        if (!floorFirst)
            without = showToFirstPaint(false);
        floorFirst = !floorFirst;
        ours += with.paintMs;
        floor += without.paintMs;
        next += with.nextMs;
        state.SetIterationTime(with.paintMs / 1000);
    }
    const double n = double(state.iterations());
    state.counters["ours_ms"] = ours / n;
    state.counters["floor_ms"] = floor / n;
    state.counters["ratio"] = ours / floor;
    state.counters["then_next_event_ms"] = next / n;
}
BENCHMARK(BM_ShowToFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

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
    const std::unique_ptr<perlinex::db::RecordSet> stamps = w.program.CollectionDb->openRecordSet(
        QStringLiteral("Select * from stamp order by stamp.descr, stamp.stampid"));
    perlinex::frmFind dialog(w.program);
    dialog.searchIn(stamps.get());
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
        if (!stamps->noMatch())
            w.window.browser().moveToStamp(stamps->field(QStringLiteral("stampid")).toInteger());
        else
            stamps->moveFirst();
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

// An X server of the benchmark's own, on a display it picks; stopped with the benchmark.
class XServer {
public:
    bool start() {
        if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty())
            return false;
        // -displayfd writes the number of the display it took once it accepts clients.
        server_.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"),
                                               QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                                               QStringLiteral("-screen"), QStringLiteral("0"),
                                               QStringLiteral("1280x1024x24")});
        if (!server_.waitForStarted() || !server_.waitForReadyRead(30000))
            return false;
        display_ = QStringLiteral(":") + QString::fromLatin1(server_.readLine()).trimmed();
        return display_.size() > 1;
    }
    ~XServer() {
        server_.terminate();
        server_.waitForFinished();
    }
    const QString& display() const { return display_; }

private:
    QProcess server_;
    QString display_;
};

int main(int argc, char** argv) {
    const std::int64_t stamps = bench::stampsFromEnvironment();
    XServer x;
    std::string platform = "offscreen";
    if (stamps >= 100000 && x.start()) {
        qputenv("DISPLAY", x.display().toLocal8Bit());
        qputenv("QT_QPA_PLATFORM", "xcb");
        platform = "xcb (Xvfb " + x.display().toStdString() + ")";
    } else {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    if (!bench::startBenchmarks(argc, argv))
        return 1;
    QTemporaryDir dir;
    gFolder = dir.path();
    if (!bench::generateCollection(
            dir.filePath(QString::fromLatin1(perlinex::db::CollectionFileName)), stamps))
        return 1;
    perlinex::db::openCatalogue(gFolder)->close();
    benchmark::AddCustomContext("platform", platform);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
