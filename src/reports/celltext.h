#pragma once

#include "reports/tabletext.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QList>
#include <QPointF>
#include <QRawFont>
#include <QString>
#include <QStringView>
#include <array>

class QPainter;
class QRectF;

namespace perlinex::reports {

// Glyphs of one colour gathered from many cells, drawn in one run: a PDF writer then writes
// one text object for a whole page instead of one for every cell.
class GlyphBatch {
public:
    void add(quint32 glyph, const QPointF& position) {
        glyphs_.push_back(glyph);
        positions_.push_back(position);
    }
    // Draws what was gathered with the painter's pen, and empties the batch.
    void draw(QPainter& painter, const QRawFont& font);

private:
    QList<quint32> glyphs_;
    QList<QPointF> positions_;
};

// Measures and draws the texts of table cells. The font is sized in twips (its pixel size), so
// every measure is in twips whatever device the page is drawn on later. A text that is wider
// than its cell wraps within it; what still does not fit is clipped at the cell's edge.
class CellText {
public:
    explicit CellText(const QFont& font);

    // The report font: Liberation Serif (the metrics of Times New Roman), or another serif
    // font that the machine has.
    static QFont reportFont(int pointSize, bool bold = false);

    const QFont& font() const { return font_; }
    const QFontMetricsF& metrics() const { return metrics_; }
    qreal lineHeight() const { return lineHeight_; }

    // The lines the text takes in a cell of that inner width: 1 to maxLines.
    int lineCount(QStringView text, qreal width, int maxLines);
    // Draws the text from the top of box (the cell less its padding), at most maxLines lines,
    // never outside clip (the whole cell). The painter carries font() already. A text on one
    // line of characters the font has goes into batch when one is given, to be drawn with
    // drawBatch(); a batch drawn over shaded rows keeps the look as long as the rows are
    // shaded first.
    void draw(QPainter& painter, const QRectF& box, const QRectF& clip, QStringView text,
              Align align, int maxLines, GlyphBatch* batch = nullptr) const;
    void drawBatch(QPainter& painter, GlyphBatch& batch) const { batch.draw(painter, rawFont_); }

private:
    // True when the text surely fits on one line, judged from per-character advances alone:
    // most cells of a report are short, and this spares them text shaping.
    bool surelyFits(QStringView text, qreal width) const { return simpleWidth(text, width) >= 0; }
    // The sum of the characters' advances, or -1 past limit or for a character outside the
    // table.
    qreal simpleWidth(QStringView text, qreal limit) const;
    bool fitsOnOneLine(QStringView text, const QString& shown, qreal width) const;
    int wrappedLines(const QString& shown, qreal width, int maxLines) const;
    // Draws a text of table characters only from their glyphs and advances, left end of its
    // baseline at origin; false when a character has no glyph of its own in the font.
    bool drawGlyphs(QPainter& painter, const QPointF& origin, QStringView text,
                    GlyphBatch* batch) const;

    QFont font_;
    QFontMetricsF metrics_;
    qreal lineHeight_;
    static constexpr int TableSize = 0x300; // Latin scripts: no shaping to speak of
    std::array<float, TableSize> advance_{};
    QRawFont rawFont_;
    std::array<quint32, TableSize> glyph_{}; // 0: none of its own (drawn by the text engine)
    QHash<QString, std::pair<qreal, int>> wrapCache_; // text -> (width, lines)
};

} // namespace perlinex::reports
