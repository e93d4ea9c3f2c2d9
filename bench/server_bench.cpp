// Timings of a collection shared on the PostgreSQL server PERLINEX_PG_TEST names (scripts/bench
// starts a private one), each beside its floor in the same run:
//   - "perlinex server push" of a generated collection (100,000 stamps unless
//     PERLINEX_BENCH_STAMPS says otherwise) beside psql's \copy of the same rows into the same
//     kind of empty table (target: within 2x);
//   - eight desks storing 1,000 new stamps each at once beside one desk storing 8,000 (a
//     hundredth of the collection's size a desk when that is less), each
//     stamp stored as the record window stores it: one record set update, one transaction
//     (target: within 3x);
//   - the main window opened on the pushed collection, to its first record shown with the list
//     beside it (target: 150 ms), and each keystroke of a filter typed into the list, to its
//     first screen of rows (target: 150 ms).
// Without a server every benchmark is skipped, and says why.
#include "bench_support.h"

#include "app/commandline.h"
#include "app/frmmain.h"
#include "app/servercommand.h"
#include "browse/stampbrowser.h"
#include "browse/stamplistmodel.h"
#include "db/database.h"
#include "db/pg/pgstore.h"
#include "db/recordset.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLocale>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QUuid>
#include <algorithm>
#include <atomic>
#include <barrier>
#include <benchmark/benchmark.h>
#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace db = perlinex::db;

constexpr int kDesks = 8;
// 1,000 stamps a desk; fewer for a smaller collection, so that the quick run stays quick.
int gStampsPerDesk = 1000;

QString gServer;
QString gFolder; // the generated collection's folder

// A collection of its own on the server for one measurement, dropped again afterwards.
struct BenchCollection {
    QString name = QStringLiteral("bench_") + QUuid::createUuid().toString(QUuid::Id128);
    ~BenchCollection() {
        try {
            db::dropServerCollection(gServer, name);
        } catch (const std::exception&) {
        }
    }
    QString address() const { return gServer + QLatin1Char('#') + name; }
};

// Runs psql on the server with one command; false, with its error output in why, when it
// fails.
bool psql(const QString& command, QString* why) {
    QProcess p;
    p.start(QStringLiteral("psql"),
            {QStringLiteral("--no-psqlrc"), QStringLiteral("--quiet"), QStringLiteral("-v"),
             QStringLiteral("ON_ERROR_STOP=1"), gServer, QStringLiteral("-c"), command});
    if (!p.waitForStarted(30000) || !p.waitForFinished(-1) ||
        p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        *why = QStringLiteral("psql failed: ") +
               QString::fromLocal8Bit(p.readAllStandardError()).trimmed() + p.errorString();
        return false;
    }
    return true;
}

using bench::guarded;

void BM_ServerPushBesideCopy(benchmark::State& state) {
    guarded(state, [&] {
        const QTemporaryDir rows;
        const QString rowsFile = QDir(rows.path()).filePath(QStringLiteral("stamps.csv"));
        double pushTotal = 0, copyTotal = 0;
        std::int64_t iterations = 0;
        for (auto _ : state) {
            BenchCollection pushed;
            QString output;
            QTextStream out(&output), err(&output);
            QElapsedTimer t;
            t.start();
            const int status = perlinex::app::runServerCommand(
                {QStringLiteral("perlinex"), QStringLiteral("server"), QStringLiteral("push"),
                 gFolder, pushed.address()},
                out, err);
            const double push = bench::ms(t);
            if (status != 0) {
                state.SkipWithError(("the push failed: " + output).toStdString().c_str());
                return;
            }

            // The floor: the same rows, as the server holds them, into the stamps' table of
            // an empty collection, by psql's \copy.
            BenchCollection floor;
            db::createServerCollection(gServer, floor.name, false)->close();
            QString why;
            if (!psql(QStringLiteral("\\copy %1.stamp to '%2' csv").arg(pushed.name, rowsFile),
                      &why)) {
                state.SkipWithError(why.toStdString().c_str());
                return;
            }
            t.restart();
            if (!psql(QStringLiteral("\\copy %1.stamp from '%2' csv").arg(floor.name, rowsFile),
                      &why)) {
                state.SkipWithError(why.toStdString().c_str());
                return;
            }
            const double copy = bench::ms(t);
            state.SetIterationTime(push / 1000);
            pushTotal += push;
            copyTotal += copy;
            ++iterations;
        }
        state.counters["push_ms"] = pushTotal / double(iterations);
        state.counters["copy_ms"] = copyTotal / double(iterations);
        state.counters["ratio"] = pushTotal / copyTotal;
    });
}
BENCHMARK(BM_ServerPushBesideCopy)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2);

// One desk's stores, each as the record window stores a new stamp: its own transaction.
void storeStamps(db::RecordSet& stamps, int desk, int count) {
    for (int i = 1; i <= count; ++i) {
        stamps.addNew();
        stamps.setField(QStringLiteral("descr"),
                        db::Value(QStringLiteral("Desk %1, stamp %2: Penny Red, plate %3")
                                      .arg(desk)
                                      .arg(i)
                                      .arg(71 + i % 154)));
        stamps.setField(QStringLiteral("catnum"), db::Value(QStringLiteral("SG %1").arg(i)));
        stamps.setField(QStringLiteral("year"), db::Value(1858 + i % 22));
        stamps.setField(QStringLiteral("quantity"), db::Value(1 + i % 3));
        stamps.setField(QStringLiteral("notes"),
                        db::Value(QStringLiteral("Bought at the spring fair, lot %1.").arg(i)));
        stamps.update();
    }
}

// The stamps stored by `desks` desks at once, each storing `each`; the time from the moment
// every desk is ready until the last has stored its last, in ms.
double storeAtOnce(const QString& collection, int desks, int each, std::int64_t* stored) {
    std::vector<std::unique_ptr<db::Database>> connections;
    std::vector<std::unique_ptr<db::RecordSet>> sets;
    for (int d = 0; d < desks; ++d) {
        connections.push_back(db::openServerDatabase(gServer, collection));
        sets.push_back(connections.back()->openRecordSet(QStringLiteral("Select * from stamp")));
    }
    std::barrier ready(desks + 1);
    std::atomic<int> failed = 0;
    std::vector<std::thread> threads;
    for (int d = 0; d < desks; ++d)
        threads.emplace_back([&, d] {
            ready.arrive_and_wait();
            try {
                storeStamps(*sets[d], d, each);
            } catch (const std::exception& e) {
                std::fprintf(stderr, "desk %d: %s\n", d, e.what());
                ++failed;
            }
        });
    QElapsedTimer t;
    ready.arrive_and_wait();
    t.start();
    for (std::thread& thread : threads)
        thread.join();
    const double elapsed = bench::ms(t);
    if (failed)
        throw std::runtime_error("a desk could not store its stamps");
    *stored = connections[0]->scalar(QStringLiteral("select count(*) from stamp")).toInteger();
    return elapsed;
}

void BM_EightDesksBesideOne(benchmark::State& state) {
    guarded(state, [&] {
        double eightTotal = 0, oneTotal = 0;
        for (auto _ : state) {
            std::int64_t stored = 0;
            BenchCollection one;
            db::createServerCollection(gServer, one.name, false)->close();
            const double alone = storeAtOnce(one.name, 1, kDesks * gStampsPerDesk, &stored);
            if (stored != kDesks * gStampsPerDesk) {
                state.SkipWithError("the one desk did not store every stamp");
                return;
            }
            BenchCollection eight;
            db::createServerCollection(gServer, eight.name, false)->close();
            const double together = storeAtOnce(eight.name, kDesks, gStampsPerDesk, &stored);
            if (stored != kDesks * gStampsPerDesk) {
                state.SkipWithError("the eight desks did not store every stamp");
                return;
            }
            state.SetIterationTime(together / 1000);
            eightTotal += together;
            oneTotal += alone;
        }
        state.counters["eight_desks_ms"] = eightTotal / double(state.iterations());
        state.counters["one_desk_ms"] = oneTotal / double(state.iterations());
        state.counters["ratio"] = eightTotal / oneTotal;
    });
}
BENCHMARK(BM_EightDesksBesideOne)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2);

// The generated collection pushed once, for the window's measurements.
const BenchCollection& shownCollection() {
    static const BenchCollection shown = [] {
        BenchCollection c;
        QString output;
        QTextStream out(&output), err(&output);
        if (perlinex::app::runServerCommand({QStringLiteral("perlinex"), QStringLiteral("server"),
                                             QStringLiteral("push"), gFolder, c.address()},
                                            out, err) != 0)
            throw std::runtime_error(("the push failed: " + output).toStdString());
        return c;
    }();
    return shown;
}

// Start-up to the first record painted, the collection list beside it with its first rows.
void BM_SharedStartToFirstRecordShown(benchmark::State& state) {
    guarded(state, [&] {
        const QString address = shownCollection().address();
        const QTemporaryDir settings;
        const QString ini = QDir(settings.path()).filePath(QStringLiteral("list.ini"));
        QSettings(ini, QSettings::IniFormat).setValue(QStringLiteral("mainWindow/list"), true);
        for (auto _ : state) {
            bench::NoDialogs dialogs;
            auto program = std::make_unique<perlinex::Program>(dialogs, gFolder);
            program->settingsFile = ini;
            program->takeShared(address);
            perlinex::app::prepareCollectionFolder(*program, false);
            auto window = std::make_unique<perlinex::frmMain>(*program);
            window->load();
            window->show();
            window->repaint();
            benchmark::DoNotOptimize(window->browser().rowCount());
            state.PauseTiming();
            window.reset();
            program->closeCollection();
            program.reset();
            state.ResumeTiming();
        }
        state.counters["target_ms"] = 150;
    });
}
BENCHMARK(BM_SharedStartToFirstRecordShown)->Unit(benchmark::kMillisecond)->Iterations(5);

// Each keystroke of a typed filter: the list narrowed on the server and its first screen of
// rows read as the pane paints them.
void BM_SharedFilterKeystroke(benchmark::State& state) {
    guarded(state, [&] {
        const auto shared = db::openServerDatabase(gServer, shownCollection().name);
        perlinex::regional::Regional regional;
        perlinex::browse::StampBrowser browser(regional);
        browser.open(*shared, false);
        perlinex::browse::StampListModel model(browser, regional);
        double total = 0, slowest = 0;
        std::int64_t keystrokes = 0;
        for (auto _ : state) {
            double iteration = 0;
            for (const QString& typed : bench::filterKeystrokes()) {
                QElapsedTimer t;
                t.start();
                browser.setFilter(typed);
                const int rows = std::min(model.rowCount(), 40);
                for (int r = 0; r < rows; ++r)
                    for (int c = 0; c < model.columnCount(); ++c)
                        benchmark::DoNotOptimize(model.data(model.index(r, c)));
                const double one = bench::ms(t);
                iteration += one;
                slowest = std::max(slowest, one);
                ++keystrokes;
            }
            total += iteration;
            state.SetIterationTime(iteration / 1000);
            browser.setFilter(QString());
        }
        browser.close();
        state.counters["keystroke_ms"] = total / double(keystrokes);
        state.counters["slowest_keystroke_ms"] = slowest;
        state.counters["target_ms"] = 150;
    });
}
BENCHMARK(BM_SharedFilterKeystroke)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

int main(int argc, char** argv) {
    // The window's benchmarks draw offscreen unless a display is named.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    if (!bench::startBenchmarks(argc, argv))
        return 1;
    gServer = qEnvironmentVariable("PERLINEX_PG_TEST");
    if (gServer.isEmpty()) {
        std::printf("server_bench: skipped, PERLINEX_PG_TEST names no PostgreSQL server "
                    "(scripts/bench starts one)\n");
        return 0;
    }
    const std::int64_t stamps = bench::stampsFromEnvironment();
    gStampsPerDesk = int(std::clamp<std::int64_t>(stamps / 100, 10, 1000));
    benchmark::AddCustomContext("stamps_per_desk", std::to_string(gStampsPerDesk));
    QTemporaryDir dir;
    gFolder = dir.path();
    if (!bench::generateCollection(QDir(gFolder).filePath(QStringLiteral("stamp.mdb")), stamps))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
