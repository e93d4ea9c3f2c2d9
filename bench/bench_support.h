#pragma once

// What the benchmarks share: the size of the collection they run on, the process's memory,
// and a dialog service that answers nothing.
#include "generator/generator.h"
#include "ui/dialogservice.h"

#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <benchmark/benchmark.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <string>

namespace bench {

// 100,000 stamps unless PERLINEX_BENCH_STAMPS says otherwise (the quick run takes 5,000).
inline std::int64_t stampsFromEnvironment() {
    const char* env = std::getenv("PERLINEX_BENCH_STAMPS");
    const long long n = env && *env ? std::atoll(env) : 0;
    return n > 0 ? n : 100000;
}

// Takes the benchmark library's options; false when some are not its own (it said so).
inline bool startBenchmarks(int& argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    return !benchmark::ReportUnrecognizedArguments(argc, argv);
}

// A new collection of stamps at path for the benchmarks to read, its size and the time it took
// named in the results; false, said on the error stream, when it cannot be made.
inline bool generateCollection(const QString& path, std::int64_t stamps) {
    try {
        QElapsedTimer t;
        t.start();
        perlinex::generator::generateCollection(path, {stamps, 1});
        benchmark::AddCustomContext("stamps", std::to_string(stamps));
        benchmark::AddCustomContext("generate_ms", std::to_string(t.elapsed()));
        return true;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "Could not generate the collection: %s\n", e.what());
        return false;
    }
}

// What a user types into the list's filter, one keystroke at a time: words the generated
// descriptions and countries hold.
inline const QStringList& filterKeystrokes() {
    static const QStringList out = [] {
        const QString typed = QStringLiteral("jubilee red aus");
        QStringList list;
        for (int i = 1; i <= typed.size(); ++i)
            list << typed.left(i);
        return list;
    }();
    return out;
}

// Runs body, turning an error into a skipped benchmark with the error's text.
template <typename Body> void guarded(benchmark::State& state, Body&& body) {
    try {
        body();
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
    }
}

inline double ms(const QElapsedTimer& t) {
    return double(t.nsecsElapsed()) / 1e6;
}

// The process's peak resident memory (VmHWM) in MB, and its reset.
inline double peakRssMb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atof(line.c_str() + 6) / 1024.0;
    return 0;
}
inline void resetPeakRss() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

struct NoDialogs : perlinex::DialogService {
    perlinex::Answer message(const QString&, const QString&, perlinex::Buttons,
                             perlinex::Icon) override {
        return perlinex::Answer::Ok;
    }
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

} // namespace bench
