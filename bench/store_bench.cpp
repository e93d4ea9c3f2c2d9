// Timings of the collection store on a generated collection (100,000 stamps unless
// PERLINEX_BENCH_STAMPS says otherwise): opening, walking, finding and reporting.
#include "bench_support.h"
#include "generator/generator.h"

#include "db/database.h"
#include "db/recordset.h"
#include "db/schema.h"
#include "db/sqlite/collectionfile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>

namespace {

using perlinex::db::Database;
using perlinex::db::RecordSet;
using perlinex::db::RecordSetKind;

const QString kDescrOrder = QStringLiteral("Select * from stamp order by [descr]");
const QString kValueReport =
    QStringLiteral("Select descr, CatNum, Quantity, PricePaid, CatValue from Stamp "
                   "where not wantlist and not sold order by [descr]");

std::int64_t gStamps = 100000;
QTemporaryDir* gDir = nullptr;
QString gCollection;

// Every field of the current row, as a form showing the stamp would read it.
void readRow(const RecordSet& rs) {
    for (int i = 0; i < rs.fieldCount(); ++i) {
        auto v = rs.field(i);
        benchmark::DoNotOptimize(v);
    }
}

// The collection is opened exclusively, so each benchmark opens and closes it itself.
struct OpenSet {
    std::unique_ptr<Database> db;
    std::unique_ptr<RecordSet> rs;

    explicit OpenSet(const QString& sql, RecordSetKind kind = RecordSetKind::Dynaset)
        : db(perlinex::db::openCollection(gCollection, perlinex::db::StructureCheck::Deferred)),
          rs(db->openRecordSet(sql, kind)) {}
    ~OpenSet() {
        rs.reset();
        db->close();
    }
    OpenSet(const OpenSet&) = delete;
    OpenSet& operator=(const OpenSet&) = delete;
};

using bench::guarded;

void BM_OpenDescrDynasetFirstRecord(benchmark::State& state) {
    guarded(state, [&] {
        for (auto _ : state) {
            OpenSet s(kDescrOrder);
            readRow(*s.rs);
        }
    });
}
BENCHMARK(BM_OpenDescrDynasetFirstRecord)->Unit(benchmark::kMillisecond);

void BM_MoveNextReadRow(benchmark::State& state) {
    guarded(state, [&] {
        OpenSet s(kDescrOrder);
        RecordSet& rs = *s.rs;
        for (auto _ : state) {
            rs.moveNext();
            if (rs.eof())
                rs.moveFirst();
            readRow(rs);
        }
        state.counters["rows"] =
            benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    });
}
BENCHMARK(BM_MoveNextReadRow)->Unit(benchmark::kMicrosecond);

// The descriptions run "<subject> <year> <colour>" and the set is ordered by them, so
// "Lighthouses" lands near the middle and "Wild Flowers" near the end.
void BM_FindFirstLike(benchmark::State& state, const char* criteria, bool expectMatch) {
    guarded(state, [&] {
        OpenSet s(kDescrOrder);
        RecordSet& rs = *s.rs;
        const QString c = QString::fromLatin1(criteria);
        for (auto _ : state) {
            rs.findFirst(c);
            benchmark::DoNotOptimize(rs.noMatch());
        }
        if (!expectMatch && !rs.noMatch())
            state.SkipWithError("an unexpected row matched");
        // A small collection may lack the row; say so rather than fail the quick run.
        state.counters["matched"] = rs.noMatch() ? 0 : 1;
        if (!rs.noMatch()) {
            // Where in the set the match lies: the share of rows before it.
            const QString descr = rs.field(QStringLiteral("descr")).toText();
            auto order =
                s.db->openRecordSet(QStringLiteral("Select descr from stamp order by [descr]"),
                                    RecordSetKind::Snapshot);
            std::int64_t before = 0;
            while (!order->eof() && order->field(0).toText() != descr) {
                order->moveNext();
                ++before;
            }
            state.counters["at"] =
                double(before) / double(std::max<std::int64_t>(rs.recordCount(), 1));
        }
    });
}
BENCHMARK_CAPTURE(BM_FindFirstLike, middle, "descr like '*Lighthouses 1999*'", true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FindFirstLike, nearEnd, "descr like '*Wild Flowers 2024*'", true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FindFirstLike, noMatch, "descr like '*Zeppelin*'", false)
    ->Unit(benchmark::kMillisecond);

void BM_FindNextLike(benchmark::State& state) {
    guarded(state, [&] {
        OpenSet s(kDescrOrder);
        RecordSet& rs = *s.rs;
        const QString c = QStringLiteral("descr like '*Lighthouses*'");
        rs.findFirst(c);
        if (rs.noMatch()) {
            state.SkipWithError("no row matched");
            return;
        }
        for (auto _ : state) {
            rs.findNext(c);
            if (rs.noMatch()) {
                state.PauseTiming();
                rs.findFirst(c);
                state.ResumeTiming();
            }
        }
    });
}
BENCHMARK(BM_FindNextLike)->Unit(benchmark::kMillisecond);

// Switching the list's order opens a new dynaset on the already open collection.
void BM_SortOrderSwitch(benchmark::State& state, const char* sql) {
    guarded(state, [&] {
        OpenSet s(kDescrOrder);
        const QString q = QString::fromLatin1(sql);
        for (auto _ : state) {
            auto rs = s.db->openRecordSet(q);
            readRow(*rs);
        }
    });
}
BENCHMARK_CAPTURE(BM_SortOrderSwitch, catsort, "Select * from stamp order by catsort, catnum")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SortOrderSwitch, issued, "Select * from stamp order by Issued")
    ->Unit(benchmark::kMillisecond);

void BM_ValueReportSnapshot(benchmark::State& state) {
    guarded(state, [&] {
        auto db = perlinex::db::openCollection(gCollection);
        std::int64_t rows = 0;
        for (auto _ : state) {
            auto rs = db->openRecordSet(kValueReport, RecordSetKind::Snapshot);
            rows = 0;
            for (; !rs->eof(); rs->moveNext(), ++rows)
                readRow(*rs);
        }
        db->close();
        state.counters["rows"] = double(rows);
    });
}
BENCHMARK(BM_ValueReportSnapshot)->Unit(benchmark::kMillisecond);

void BM_Generate(benchmark::State& state) {
    guarded(state, [&] {
        int n = 0;
        for (auto _ : state) {
            const QString path = gDir->filePath(QStringLiteral("generated%1.mdb").arg(++n));
            perlinex::generator::generateCollection(path, {gStamps, 2});
            state.PauseTiming();
            QFile::remove(path);
            state.ResumeTiming();
        }
    });
}
BENCHMARK(BM_Generate)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (!bench::startBenchmarks(argc, argv))
        return 1;

    gStamps = bench::stampsFromEnvironment();
    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "Could not make a temporary folder.\n");
        return 1;
    }
    gDir = &dir;
    gCollection = dir.filePath(QString::fromLatin1(perlinex::db::CollectionFileName));
    if (!bench::generateCollection(gCollection, gStamps))
        return 1;

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
