// Timings of CSV export and import on a generated collection (100,000 stamps unless
// PERLINEX_BENCH_STAMPS says otherwise).
//
// Export: every stamp in description order, as `perlinex export --csv` writes it, beside the floor
// measured in the same iteration: the sqlite3 tool writing the same columns (classifications by
// their descriptions) with `.mode csv` to a file. The tool does not know the program's TEXTCI
// collation, so its query orders by the description COLLATE NOCASE. Targets: 1.5 s, and a ratio
// to the floor of at most 2.
//
// Import: that file read, planned (every line checked by the record validator) and stored into
// a new, empty collection in one transaction. Target: 5 s. The floor beside it: the sqlite3 tool
// importing the same file (`.import --csv`) into a table of the same columns with as many
// indexes as the collection keeps on its stamps (NOCASE for the program's collation).
//
// The list's export: the stamps `perlinex export --filter` writes, the collection list's rows
// by their numbers (every stamp for an empty filter, the worst case; or those of one word).
//
// The machine may be shared: each phase also reports the CPU time of the thread (cpu_*), which
// another program's load does not stretch.
#include "bench_support.h"
#include "browse/stampbrowser.h"
#include "db/database.h"
#include "db/fields.h"
#include "db/schema.h"
#include "db/sqlite/collectionfile.h"
#include "exchange/csvexport.h"
#include "exchange/importplan.h"
#include "exchange/importstore.h"
#include "generator/generator.h"
#include "regional/regional.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <ctime>

namespace {

using namespace perlinex;
using namespace perlinex::exchange;

QTemporaryDir* gDir = nullptr;

QString collectionPath() {
    return gDir->filePath(QStringLiteral("stamp.mdb"));
}

QString csvPath() {
    return gDir->filePath(QStringLiteral("stamps.csv"));
}

// The CPU time this thread has used, in ms.
double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Runs the sqlite3 tool on a database with a script on its standard input; ms, or -1.
double runSqliteTool(const QString& database, const QString& script) {
    QProcess tool;
    QElapsedTimer t;
    t.start();
    tool.start(QStringLiteral("sqlite3"), {database});
    if (!tool.waitForStarted())
        return -1;
    tool.write(script.toUtf8());
    tool.closeWriteChannel();
    if (!tool.waitForFinished(-1) || tool.exitCode() != 0)
        return -1;
    return bench::ms(t);
}

// The import's floor: the sqlite3 tool stores the CSV file in a new table of its columns, indexed
// as the collection's stamps are (the description, the catalogue number, the issue date and
// every classification); ms, or -1.
double sqliteImportFloorMs(const QString& database) {
    QFile::remove(database);
    QStringList columns, indexes;
    QStringList indexed{QStringLiteral("descr"), QStringLiteral("catnum"),
                        QStringLiteral("issued")};
    for (const db::CodeTable& t : db::codeTables())
        indexed << QLatin1String(t.table);
    for (const QString& c : exportColumns()) {
        columns << QStringLiteral("\"%1\" TEXT%2")
                       .arg(c, c == QLatin1String("descr") ? QStringLiteral(" COLLATE NOCASE")
                                                           : QString());
        if (indexed.contains(c))
            indexes << QStringLiteral("CREATE INDEX \"i_%1\" ON stamp(\"%1\");").arg(c);
    }
    return runSqliteTool(database, QStringLiteral("CREATE TABLE stamp (%1);\n%2\n"
                                                  ".import --csv --skip 1 %3 stamp\n.quit\n")
                                       .arg(columns.join(QLatin1Char(',')),
                                            indexes.join(QLatin1Char('\n')), csvPath()));
}

// The floor: the sqlite3 tool writes the exported columns to a file; ms, or -1.
double sqliteFloorMs(const QString& outFile) {
    QStringList columns;
    for (const db::StampField& f : db::stampFields()) {
        if (f.kind == db::FieldKind::Counter || f.rule == db::EntryRule::Derived ||
            f.rule == db::EntryRule::Total)
            continue;
        if (f.kind == db::FieldKind::CodeRef) {
            const db::CodeTable& t = *db::codeTable(f.codeTable);
            columns << QStringLiteral("(select %1 from %2 where %3 = stamp.%3)")
                           .arg(QLatin1String(t.descField), QLatin1String(t.table),
                                QLatin1String(t.idField));
        } else {
            columns << QLatin1String(f.name);
        }
    }
    const QString query = QStringLiteral("select %1 from stamp order by descr collate nocase;")
                              .arg(columns.join(QLatin1Char(',')));
    return runSqliteTool(
        collectionPath(),
        QStringLiteral(".headers on\n.mode csv\n.output %1\n%2\n.quit\n").arg(outFile, query));
}

void BM_ExportCsv(benchmark::State& state) {
    const QString floorFile = gDir->filePath(QStringLiteral("floor.csv"));
    double ours = 0, floor = 0, cpu = 0;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        const double cpuStart = threadCpuMs();
        {
            const auto collection =
                db::openCollection(collectionPath(), db::StructureCheck::Deferred);
            ExportOptions options;
            options.keep = durable::ProtectedFiles();
            exportStampsCsv(*collection, gDir->filePath(QStringLiteral("images")), {}, csvPath(),
                            options);
        }
        const double one = bench::ms(t);
        cpu += threadCpuMs() - cpuStart;
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
    state.counters["cpu_ms"] = cpu / n;
    state.counters["file_mb"] = double(QFile(csvPath()).size()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_ExportCsv)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// The list's rows as `perlinex export --filter` takes them: argument 0 every stamp (an empty
// filter), 1 the stamps of one common word.
void BM_ExportListedCsv(benchmark::State& state) {
    const QString filter = state.range(0) == 0 ? QString() : QStringLiteral("red");
    const regional::Regional regional;
    std::int64_t stamps = 0;
    double cpu = 0;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        const double cpuStart = threadCpuMs();
        {
            const auto collection =
                db::openCollection(collectionPath(), db::StructureCheck::Deferred);
            browse::StampBrowser browser(regional);
            browser.setFilter(filter);
            browser.open(*collection, true);
            StampSelection selection;
            selection.stamps.emplace();
            for (std::int64_t row = 0; row < browser.rowCount(); ++row)
                selection.stamps->push_back(browser.idAt(row));
            browser.close();
            stamps = exportStampsCsv(*collection, gDir->filePath(QStringLiteral("images")),
                                     selection, gDir->filePath(QStringLiteral("listed.csv")), {})
                         .stamps;
        }
        cpu += threadCpuMs() - cpuStart;
        state.SetIterationTime(bench::ms(t) / 1000);
    }
    state.counters["stamps"] = double(stamps);
    state.counters["cpu_ms"] = cpu / double(state.iterations());
}
BENCHMARK(BM_ExportListedCsv)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

void BM_ImportCsv(benchmark::State& state) {
    const regional::Regional regional;
    int round = 0;
    for (auto _ : state) {
        const QString folder = gDir->filePath(QStringLiteral("import%1").arg(++round));
        QDir().mkpath(folder);
        auto target = db::createCollection(QDir(folder).filePath(QStringLiteral("stamp.mdb")));
        QElapsedTimer t;
        t.start();
        const double cpuStart = threadCpuMs();
        const CsvSource source = readCsvFile(csvPath());
        const double read = bench::ms(t);
        const ColumnMap columns = ColumnMap::match(source.table.headers);
        const FolderPictures pictures(gDir->path());
        const ImportPlan plan(*target, source.table, columns, regional, &pictures);
        const double planned = bench::ms(t);
        const double plannedCpu = threadCpuMs() - cpuStart;
        const ImportOutcome out =
            storeImport(*target, QDir(folder).filePath(QStringLiteral("images")), plan, regional,
                        &pictures, {}, {});
        const double all = bench::ms(t);
        const double cpu = threadCpuMs() - cpuStart;
        if (out.stored != std::int64_t(source.table.rows.size())) {
            state.SkipWithError("not every stamp was stored");
            return;
        }
        state.SetIterationTime(all / 1000);
        state.counters["read_ms"] = read;
        state.counters["plan_ms"] = planned - read;
        state.counters["store_ms"] = all - planned;
        state.counters["cpu_ms"] = cpu;
        state.counters["cpu_store_ms"] = cpu - plannedCpu;
        target->close();
        const double floor = sqliteImportFloorMs(gDir->filePath(QStringLiteral("floor.db")));
        if (floor < 0) {
            state.SkipWithError("the sqlite3 tool failed");
            return;
        }
        state.counters["floor_ms"] = floor;
        state.counters["ratio"] = all / floor;
    }
}
BENCHMARK(BM_ImportCsv)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QTemporaryDir dir;
    gDir = &dir;
    generator::GeneratorOptions options;
    options.stamps = bench::stampsFromEnvironment();
    generator::generateCollection(collectionPath(), options);
    {
        // The file the import reads, whichever benchmarks run.
        const auto collection = db::openCollection(collectionPath());
        exportStampsCsv(*collection, gDir->filePath(QStringLiteral("images")), {}, csvPath(), {});
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
