// Timings of the print document on a long report: a seven-column value report of 100,000 rows
// (PERLINEX_BENCH_STAMPS rows when set), laid out into pages and exported as a PDF file, and
// the preview window showing it. Peak memory is the process's VmHWM, reset before each run.
#include "bench_support.h"
#include "reports/celltext.h"
#include "reports/frmoutput.h"
#include "reports/pageoutput.h"
#include "reports/printdocument.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QGlyphRun>
#include <QImage>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <QRawFont>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace perlinex;
using namespace perlinex::reports;

std::int64_t rowsFromEnvironment() {
    const char* env = std::getenv("PERLINEX_BENCH_STAMPS");
    return env && *env ? std::atoll(env) : 100000;
}

const QString kFormat = QStringLiteral("2160|1400|>1400|>1400|>1400|>1400|>1400;");
const QString kHeading =
    QStringLiteral("Description|Cat #|Quantity|Paid|Total Paid|Value|Total Value;");

// Peak resident memory in MB since the last reset.

QStringList valueRow(std::int64_t i) {
    const QLocale locale;
    static const char* const words[] = {"Lighthouses", "Penny Black", "Birds of the Alps",
                                        "Coronation",  "Airmail",     "Christmas",
                                        "Railways"};
    const double paid = 0.25 + double(i % 977) * 0.75;
    const int quantity = 1 + int(i % 5);
    // One description in twenty is long enough to wrap.
    QString descr = QStringLiteral("%1 %2").arg(QLatin1String(words[i % 7])).arg(1900 + i % 120);
    if (i % 20 == 0)
        descr +=
            QStringLiteral(", block of four with selvage and plate number %1, fine used").arg(i);
    return {descr,
            QStringLiteral("SG %1").arg(i),
            QString::number(quantity),
            locale.toCurrencyString(paid),
            locale.toCurrencyString(paid * quantity),
            locale.toCurrencyString(paid * 1.6),
            locale.toCurrencyString(paid * 1.6 * quantity)};
}

// The rows as a report hands them over, built once.
const std::vector<QStringList>& reportRows() {
    static const std::vector<QStringList> rows = [] {
        std::vector<QStringList> r;
        const std::int64_t n = rowsFromEnvironment();
        r.reserve(size_t(n));
        for (std::int64_t i = 0; i < n; ++i)
            r.push_back(valueRow(i));
        return r;
    }();
    return rows;
}

void fill(PrintDocument& doc) {
    const TableFormat format = TableFormat::parse(kFormat);
    doc.setPreview(true);
    doc.startDoc();
    doc.setHeader(QStringLiteral("3/14/2024|Collection Value|Page %d"));
    for (const QStringList& row : reportRows())
        doc.addRow(format, row);
    doc.addTableText(u"3560|>1400|>2840|>2800;Totals|300000|$1,234,567.00|$1,975,307.20;");
    doc.endDoc();
}

PageHeading heading() {
    return PageHeading::fromText(true, kFormat, kHeading, QColor(0, 0, 0), QColor(200, 200, 200));
}

void addHeadings(PrintDocument& doc) {
    const PageHeading h = heading();
    QObject::connect(&doc, &PrintDocument::pageStarted, [&doc, h] {
        doc.addTable(h.format, {}, h.rows, Shading{h.headingShade, h.bodyShade});
    });
}

// The document alone: rows added, then laid out in slices as the window does.
void BM_LayoutReport(benchmark::State& state) {
    for (auto _ : state) {
        bench::resetPeakRss();
        const double before = bench::peakRssMb();
        PrintDocument doc;
        addHeadings(doc);
        QElapsedTimer t;
        t.start();
        fill(doc);
        const double filled = bench::ms(t);
        while (doc.pageCount() == 0)
            doc.layoutSome(std::chrono::milliseconds(1));
        const double firstPage = bench::ms(t);
        doc.layoutAll();
        const double all = bench::ms(t);
        state.SetIterationTime(all / 1000);
        state.counters["fill_ms"] = filled;
        state.counters["first_page_ms"] = firstPage;
        state.counters["all_pages_ms"] = all;
        state.counters["layout_only_ms"] = all - filled;
        state.counters["pages"] = doc.pageCount();
        state.counters["peak_rss_mb"] = bench::peakRssMb();
        state.counters["document_mb"] = bench::peakRssMb() - before;
    }
}
BENCHMARK(BM_LayoutReport)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2);

// The preview window: from the report's end of document to the first page painted, and to
// the last page laid out, with the window's own timer doing the work.

void BM_PreviewWindow(benchmark::State& state) {
    bench::NoDialogs dialogs;
    for (auto _ : state) {
        bench::resetPeakRss();
        frmOutput window(dialogs);
        window.setPageHeading(heading());
        QElapsedTimer t;
        t.start();
        fill(window.document());
        const double filled = bench::ms(t);
        window.showReport();
        while (window.document().pageCount() == 0)
            QApplication::processEvents();
        window.repaint();
        const double firstPage = bench::ms(t) - filled;
        while (!window.document().isLaidOut())
            QApplication::processEvents();
        const double all = bench::ms(t) - filled;
        state.SetIterationTime(all / 1000);
        state.counters["fill_ms"] = filled;
        state.counters["first_page_after_end_ms"] = firstPage;
        state.counters["all_pages_after_end_ms"] = all;
        state.counters["pages"] = window.document().pageCount();
        state.counters["peak_rss_mb"] = bench::peakRssMb();
        window.close();
    }
}
BENCHMARK(BM_PreviewWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2);

// The floors of the PDF: Qt's PDF writer drawing the same texts alone, at their cells' places
// on their pages with nothing else on them. "Glyphs" is the writer alone: every page's texts
// shaped beforehand into one glyph run, so only the writing is timed. "Text" is the plain way
// of drawing them, one drawText call for each cell.
using PageGlyphs = std::vector<QGlyphRun>;

std::vector<PageGlyphs> shapedPages(const PrintDocument& doc) {
    const QRawFont font = QRawFont::fromFont(CellText::reportFont(10));
    const qreal ascent = font.ascent();
    std::vector<PageGlyphs> pages;
    for (int i = 0; i < doc.pageCount(); ++i) {
        QList<quint32> glyphs;
        QList<QPointF> positions;
        for (const PlacedRow& row : doc.pageRows(i)) {
            for (const PlacedCell& cell : row.cells) {
                const QList<quint32> g = font.glyphIndexesForString(cell.text);
                const QList<QPointF> advances = font.advancesForGlyphIndexes(g);
                QPointF at(cell.rect.left() + 72, cell.rect.top() + 36 + ascent);
                for (qsizetype k = 0; k < g.size(); ++k) {
                    glyphs.push_back(g[k]);
                    positions.push_back(at);
                    at += advances[k];
                }
            }
        }
        QGlyphRun run;
        run.setRawFont(font);
        run.setGlyphIndexes(glyphs);
        run.setPositions(positions);
        pages.push_back({run});
    }
    return pages;
}

// Draws every page's content with draw(painter, page) into a PDF file; ms.
template <typename Draw>
double pdfFloorMs(const PrintDocument& doc, int pageCount, const QString& name, Draw&& draw) {
    QElapsedTimer t;
    t.start();
    QPdfWriter pdf(name);
    pdf.setPageLayout(doc.pageLayout());
    QPainter painter(&pdf);
    const qreal scale = qreal(pdf.width()) / doc.pageWidth();
    for (int i = 0; i < pageCount; ++i) {
        if (i > 0)
            pdf.newPage();
        painter.resetTransform();
        painter.scale(scale, scale);
        draw(painter, i);
    }
    painter.end();
    return bench::ms(t);
}

// Ours beside both floors in every iteration (target: 6 s at 100,000 rows for the whole
// command, see fixedreport_bench).
void BM_ExportPdf(benchmark::State& state) {
    PrintDocument doc;
    addHeadings(doc);
    fill(doc);
    doc.layoutAll();
    const std::vector<PageGlyphs> shaped = shapedPages(doc);
    std::vector<QList<PlacedRow>> placed;
    for (int i = 0; i < doc.pageCount(); ++i)
        placed.push_back(doc.pageRows(i));
    const QFont font = CellText::reportFont(10);
    const qreal ascent = QFontMetricsF(font).ascent();
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("report.pdf"));
    const QString floorName = dir.filePath(QStringLiteral("floor.pdf"));
    double ours = 0, glyphFloor = 0, textFloor = 0;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        if (exportPdf(doc, name, {}) != OutputResult::Done)
            state.SkipWithError("export failed");
        const double one = bench::ms(t);
        ours += one;
        state.SetIterationTime(one / 1000);
        glyphFloor += pdfFloorMs(doc, doc.pageCount(), floorName, [&](QPainter& p, int page) {
            for (const QGlyphRun& run : shaped[size_t(page)])
                p.drawGlyphRun(QPointF(), run);
        });
        textFloor += pdfFloorMs(doc, doc.pageCount(), floorName, [&](QPainter& p, int page) {
            p.setFont(font);
            for (const PlacedRow& row : placed[size_t(page)])
                for (const PlacedCell& cell : row.cells)
                    p.drawText(QPointF(cell.rect.left() + 72, cell.rect.top() + 36 + ascent),
                               cell.text);
        });
    }
    const double n = double(state.iterations());
    state.counters["ours_ms"] = ours / n;
    state.counters["glyph_floor_ms"] = glyphFloor / n;
    state.counters["text_floor_ms"] = textFloor / n;
    state.counters["ratio"] = ours / glyphFloor;
    state.counters["ratio_text"] = ours / textFloor;
    state.counters["pages"] = doc.pageCount();
    state.counters["file_mb"] = double(QFile(name).size()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_ExportPdf)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2);

// One page drawn at screen size: what a page turn in the preview costs.
void BM_RenderPageOnScreen(benchmark::State& state) {
    PrintDocument doc;
    addHeadings(doc);
    fill(doc);
    doc.layoutAll();
    QImage image(816, 1056, QImage::Format_ARGB32_Premultiplied);
    int page = 0;
    for (auto _ : state) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing);
        doc.renderPage(painter, page, QRectF(image.rect()));
        page = (page + 1) % doc.pageCount();
    }
}
BENCHMARK(BM_RenderPageOnScreen)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    if (!bench::startBenchmarks(argc, argv))
        return 1;
    benchmark::AddCustomContext("rows", std::to_string(rowsFromEnvironment()));
    reportRows();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
