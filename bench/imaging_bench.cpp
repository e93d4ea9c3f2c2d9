// Timings of the picture code on a photo-like 6000 × 4000 picture (1200 × 800 when
// PERLINEX_BENCH_STAMPS asks for a quick run): writing it as JPEG at quality 90 against
// libjpeg-turbo's own cjpeg on the same pixels, and reading a JPEG of that size back for
// display at a view size and in full.
#include "bench_support.h"
#include "imaging/dibsection.h"
#include "imaging/jpegwriter.h"

#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

using perlinex::imaging::cDIBSection;
using Clock = std::chrono::steady_clock;

QSize gSize(6000, 4000);
QTemporaryDir* gDir = nullptr;
cDIBSection gBitmap;
QString gBmp;  // the picture as a 24-bit BMP, for cjpeg
QString gJpeg; // the picture as JPEG, for the readers

bool quickRun() {
    const char* env = std::getenv("PERLINEX_BENCH_STAMPS");
    return env && *env && std::atoll(env) < 20000;
}

// Sky, lit shapes with soft and hard edges, a fine texture and sensor noise: what the encoder
// meets in a scanned stamp or a photograph, not a flat colour.
QImage photoLike(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    QRandomGenerator random(20240611);
    {
        QPainter p(&image);
        QLinearGradient sky(0, 0, 0, size.height());
        sky.setColorAt(0, QColor(70, 120, 190));
        sky.setColorAt(0.6, QColor(200, 210, 220));
        sky.setColorAt(1, QColor(90, 110, 60));
        p.fillRect(image.rect(), sky);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        const int unit = size.width() / 60;
        for (int i = 0; i < 120; ++i) {
            const QPointF centre(random.bounded(size.width()), random.bounded(size.height()));
            const double radius = unit * (1 + random.bounded(8.0));
            QRadialGradient light(centre - QPointF(radius / 3, radius / 3), radius * 1.3);
            const QColor colour = QColor::fromHsv(random.bounded(360), 80 + random.bounded(150),
                                                  90 + random.bounded(160));
            light.setColorAt(0, colour.lighter(150));
            light.setColorAt(1, colour.darker(220));
            p.setBrush(light);
            if (i % 3 == 0)
                p.drawRect(QRectF(centre, QSizeF(radius * 1.6, radius)));
            else
                p.drawEllipse(centre, radius, radius * 0.8);
        }
    }
    std::vector<int> texture(std::size_t(size.width()));
    for (int x = 0; x < size.width(); ++x)
        texture[std::size_t(x)] = int(6 * std::sin(x * 0.37) + 4 * std::sin(x * 0.051));
    quint32 noise = 12345;
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const int rowWave = int(5 * std::sin(y * 0.23));
        for (int x = 0; x < size.width(); ++x) {
            noise = noise * 1664525u + 1013904223u;
            const int n = int((noise >> 24) % 13) - 6 + texture[std::size_t(x)] + rowWave;
            const QRgb c = line[x];
            line[x] = qRgb(std::clamp(qRed(c) + n, 0, 255), std::clamp(qGreen(c) + n, 0, 255),
                           std::clamp(qBlue(c) + n, 0, 255));
        }
    }
    return image;
}

// A bitmap's memory is already a BMP file's pixel array: only the two headers go before it.
bool writeBmp(const cDIBSection& d, const QString& path) {
    auto le = [](QByteArray& out, quint32 v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out.append(char((v >> (8 * i)) & 0xff));
    };
    QByteArray header;
    le(header, 'B' | ('M' << 8), 2);
    le(header, 54u + quint32(d.ImageSize()), 4);
    le(header, 0, 4);
    le(header, 54, 4);
    le(header, 40, 4);
    le(header, quint32(d.Width()), 4);
    le(header, quint32(d.Height()), 4);
    le(header, 1, 2);
    le(header, 24, 2);
    le(header, 0, 4);
    le(header, quint32(d.ImageSize()), 4);
    le(header, 2835, 4);
    le(header, 2835, 4);
    le(header, 0, 4);
    le(header, 0, 4);
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(header) == header.size() &&
           f.write(reinterpret_cast<const char*>(d.DIBSectionBitsPtr()), d.ImageSize()) ==
               d.ImageSize();
}

// Seconds taken by `cjpeg -quality 90` from the BMP to a file; negative when it cannot run.
double runCjpeg(const QString& output) {
    const QByteArray out = QFile::encodeName(output), in = QFile::encodeName(gBmp);
    const char* argv[] = {"cjpeg",         "-quality",     "90",   "-outfile",
                          out.constData(), in.constData(), nullptr};
    const auto start = Clock::now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, "cjpeg", nullptr, nullptr, const_cast<char* const*>(argv), environ) != 0)
        return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// SaveJPG and cjpeg take turns, so both see the same state of a machine shared with others.
// The reported time is SaveJPG's (replacing the file each time, flushed to disk); the
// counters give both medians and their ratio.
void BM_SaveJPGVersusCjpeg(benchmark::State& state) {
    const QString target = gDir->filePath(QStringLiteral("00000001.jpg"));
    const QString cjpegOut = gDir->filePath(QStringLiteral("cjpeg.jpg"));
    std::vector<double> ours, theirs;
    for (auto _ : state) {
        const auto start = Clock::now();
        try {
            perlinex::imaging::SaveJPG(gBitmap, target, 90);
        } catch (const std::exception& e) {
            state.SkipWithError(e.what());
            return;
        }
        const double saveSeconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(saveSeconds);
        ours.push_back(saveSeconds);
        const double cjpegSeconds = runCjpeg(cjpegOut);
        if (cjpegSeconds < 0) {
            state.SkipWithError("cjpeg did not run (package libjpeg-turbo-progs)");
            return;
        }
        theirs.push_back(cjpegSeconds);
    }
    const double a = median(ours), b = median(theirs);
    state.counters["savejpg_ms"] = a * 1000;
    state.counters["cjpeg_ms"] = b * 1000;
    state.counters["ratio"] = a / b;
    state.counters["jpeg_MB"] = double(QFile(target).size()) / 1e6;
    state.counters["cjpeg_MB"] = double(QFile(cjpegOut).size()) / 1e6;
}
BENCHMARK(BM_SaveJPGVersusCjpeg)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(7);

// The picture tab shows a stored picture at about the view's size; the JPEG reader can then
// decode at a fraction of full size.
void BM_DecodeForView(benchmark::State& state) {
    QSize shown;
    for (auto _ : state) {
        QImageReader reader(gJpeg);
        reader.setScaledSize(reader.size().scaled(800, 600, Qt::KeepAspectRatio));
        const QImage image = reader.read();
        if (image.isNull()) {
            state.SkipWithError("the JPEG could not be read");
            return;
        }
        shown = image.size();
    }
    state.counters["width"] = shown.width();
    state.counters["height"] = shown.height();
}
BENCHMARK(BM_DecodeForView)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DecodeFull(benchmark::State& state) {
    for (auto _ : state) {
        const QImage image = QImageReader(gJpeg).read();
        if (image.isNull()) {
            state.SkipWithError("the JPEG could not be read");
            return;
        }
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_DecodeFull)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (!bench::startBenchmarks(argc, argv))
        return 1;

    if (quickRun())
        gSize = QSize(1200, 800);
    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "Could not make a temporary folder.\n");
        return 1;
    }
    gDir = &dir;
    const auto start = Clock::now();
    gBitmap.CreateFromPicture(photoLike(gSize));
    gBmp = dir.filePath(QStringLiteral("picture.bmp"));
    gJpeg = dir.filePath(QStringLiteral("picture.jpg"));
    try {
        if (gBitmap.IsEmpty() || !writeBmp(gBitmap, gBmp) ||
            !perlinex::imaging::SaveJPG(gBitmap, gJpeg, 90)) {
            std::fprintf(stderr, "Could not prepare the picture.\n");
            return 1;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "Could not prepare the picture: %s\n", e.what());
        return 1;
    }
    benchmark::AddCustomContext("picture", std::to_string(gSize.width()) + "x" +
                                               std::to_string(gSize.height()));
    benchmark::AddCustomContext(
        "setup_ms",
        std::to_string(
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count()));

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
