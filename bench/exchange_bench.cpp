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
// a new, empty collection in one transaction. Target: 5 s.
#include "bench_support.h"
#include "db/database.h"
#include "db/fields.h"
#include "db/schema.h"
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
    QProcess tool;
    QElapsedTimer t;
    t.start();
    tool.start(QStringLiteral("sqlite3"), {collectionPath()});
    if (!tool.waitForStarted())
        return -1;
    tool.write(QStringLiteral(".headers on\n.mode csv\n.output %1\n%2\n.quit\n")
                   .arg(outFile, query)
                   .toUtf8());
    tool.closeWriteChannel();
    if (!tool.waitForFinished(-1) || tool.exitCode() != 0)
        return -1;
    return bench::ms(t);
}

void BM_ExportCsv(benchmark::State& state) {
    const QString floorFile = gDir->filePath(QStringLiteral("floor.csv"));
    double ours = 0, floor = 0;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        {
            const auto collection =
                db::openCollection(collectionPath(), db::StructureCheck::Deferred);
            ExportOptions options;
            options.keep = durable::ProtectedFiles();
            exportStampsCsv(*collection, gDir->filePath(QStringLiteral("images")), {}, csvPath(),
                            options);
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
    state.counters["file_mb"] = double(QFile(csvPath()).size()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_ExportCsv)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ImportCsv(benchmark::State& state) {
    const regional::Regional regional;
    int round = 0;
    for (auto _ : state) {
        const QString folder = gDir->filePath(QStringLiteral("import%1").arg(++round));
        QDir().mkpath(folder);
        auto target = db::createCollection(QDir(folder).filePath(QStringLiteral("stamp.mdb")));
        QElapsedTimer t;
        t.start();
        const CsvSource source = readCsvFile(csvPath());
        const double read = bench::ms(t);
        const ColumnMap columns = ColumnMap::match(source.table.headers);
        const FolderPictures pictures(gDir->path());
        const ImportPlan plan(*target, source.table, columns, regional, &pictures);
        const double planned = bench::ms(t);
        const ImportOutcome out =
            storeImport(*target, QDir(folder).filePath(QStringLiteral("images")), plan, regional,
                        &pictures, {}, {});
        const double all = bench::ms(t);
        if (out.stored != std::int64_t(source.table.rows.size())) {
            state.SkipWithError("not every stamp was stored");
            return;
        }
        state.SetIterationTime(all / 1000);
        state.counters["read_ms"] = read;
        state.counters["plan_ms"] = planned - read;
        state.counters["store_ms"] = all - planned;
        target->close();
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
