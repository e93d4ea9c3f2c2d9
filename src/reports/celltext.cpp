#include "reports/celltext.h"

#include <QFontDatabase>
#include <QGlyphRun>
#include <QPainter>
#include <QTextLayout>
#include <QTextOption>
#include <cmath>

namespace perlinex::reports {

namespace {

constexpr int TwipsPerPoint = 20;
// Kerning and rounding may make a text a little wider than the sum of its characters.
constexpr qreal EstimateSlack = 0.97;
constexpr int WrapCacheLimit = 4096;

// Line breaks inside a value become line separators, which the text layout honours; tabs
// become spaces.
QString shownText(QStringView text) {
    QString s = text.toString();
    for (QChar& c : s) {
        if (c == u'\n')
            c = QChar::LineSeparator;
        else if (c == u'\t' || c == u'\r')
            c = u' ';
    }
    return s;
}

Qt::Alignment qtAlign(Align a) {
    switch (a) {
    case Align::Right:
        return Qt::AlignRight;
    case Align::Center:
        return Qt::AlignHCenter;
    case Align::Left:
        break;
    }
    return Qt::AlignLeft;
}

} // namespace

QFont CellText::reportFont(int pointSize, bool bold) {
    static const QString family = [] {
        const QStringList families = QFontDatabase::families();
        // Liberation Serif first: it ships with the program's dependencies and has the metrics
        // the layouts were designed for, so reports wrap and break alike on every machine.
        for (const char* wanted : {"Liberation Serif", "Times New Roman", "Tinos", "Nimbus Roman",
                                   "TeX Gyre Termes", "DejaVu Serif", "FreeSerif"}) {
            const QString name = QString::fromLatin1(wanted);
            if (families.contains(name, Qt::CaseInsensitive))
                return name;
        }
        return QString();
    }();
    QFont f(family);
    f.setStyleHint(QFont::Serif);
    f.setPixelSize(pointSize * TwipsPerPoint);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setBold(bold);
    return f;
}

CellText::CellText(const QFont& font)
    : font_(font), metrics_(font), lineHeight_(std::ceil(metrics_.lineSpacing())) {
    for (int u = 0; u < TableSize; ++u) {
        const bool control = u < 0x20 || (u >= 0x7f && u < 0xa0);
        advance_[size_t(u)] = control ? -1.f : float(metrics_.horizontalAdvance(QChar(u)));
    }
    rawFont_ = QRawFont::fromFont(font_);
    if (rawFont_.isValid()) {
        for (int u = 0x20; u < TableSize; ++u) {
            const QList<quint32> g = rawFont_.glyphIndexesForString(QString(QChar(u)));
            glyph_[size_t(u)] = g.size() == 1 && advance_[size_t(u)] >= 0 ? g[0] : 0;
        }
    }
}

qreal CellText::simpleWidth(QStringView text, qreal width) const {
    const qreal limit = width * EstimateSlack;
    qreal sum = 0;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= TableSize || advance_[u] < 0)
            return -1;
        sum += advance_[u];
        if (sum > limit)
            return -1;
    }
    return sum;
}

bool CellText::fitsOnOneLine(QStringView text, const QString& shown, qreal width) const {
    if (surelyFits(text, width))
        return true;
    return !shown.contains(QChar::LineSeparator) && metrics_.horizontalAdvance(shown) <= width;
}

int CellText::wrappedLines(const QString& shown, qreal width, int maxLines) const {
    QTextLayout layout(shown, font_);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    int lines = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid() && lines < maxLines;
         line = layout.createLine()) {
        line.setLineWidth(width);
        ++lines;
    }
    layout.endLayout();
    return std::max(lines, 1);
}

int CellText::lineCount(QStringView text, qreal width, int maxLines) {
    if (text.isEmpty() || width <= 0 || maxLines <= 1 || surelyFits(text, width))
        return 1;
    const QString shown = shownText(text);
    if (fitsOnOneLine(text, shown, width))
        return 1;
    auto it = wrapCache_.constFind(shown);
    if (it != wrapCache_.constEnd() && it->first == width)
        return std::min(it->second, maxLines);
    // Cached without the cap, so that a later call with a larger cap still gets it right.
    const int lines = wrappedLines(shown, width, 1 << 16);
    if (wrapCache_.size() >= WrapCacheLimit)
        wrapCache_.clear();
    wrapCache_.insert(shown, {width, lines});
    return std::min(lines, maxLines);
}

void CellText::draw(QPainter& painter, const QRectF& box, const QRectF& clip, QStringView text,
                    Align align, int maxLines, GlyphBatch* batch) const {
    if (text.isEmpty() || box.width() <= 0)
        return;
    const QString shown = shownText(text);
    // Short texts are placed by the sum of their characters' advances: kerning moves a
    // right-aligned text by a hair at most, and shaping it twice would slow long reports.
    qreal w = simpleWidth(text, box.width());
    if (w >= 0 || fitsOnOneLine(text, shown, box.width())) {
        qreal x = box.left();
        if (align != Align::Left) {
            if (w < 0)
                w = metrics_.horizontalAdvance(shown);
            x = align == Align::Right ? box.right() - w : box.left() + (box.width() - w) / 2;
        }
        const QPointF origin(x, box.top() + metrics_.ascent());
        if (!drawGlyphs(painter, origin, text, batch))
            painter.drawText(origin, shown);
        return;
    }
    QTextLayout layout(shown, font_);
    QTextOption option(qtAlign(align));
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    int lines = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid() && lines < maxLines;
         line = layout.createLine()) {
        line.setLineWidth(box.width());
        line.setPosition(QPointF(0, lines * lineHeight_));
        ++lines;
    }
    layout.endLayout();
    painter.save();
    painter.setClipRect(clip, Qt::IntersectClip);
    layout.draw(&painter, box.topLeft());
    painter.restore();
}

bool CellText::drawGlyphs(QPainter& painter, const QPointF& origin, QStringView text,
                          GlyphBatch* batch) const {
    constexpr qsizetype Most = 256;
    if (!rawFont_.isValid() || text.size() > Most)
        return false;
    std::array<quint32, Most> glyphs;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (u >= TableSize || glyph_[u] == 0)
            return false;
        glyphs[size_t(i)] = glyph_[u];
    }
    GlyphBatch own;
    GlyphBatch& to = batch ? *batch : own;
    qreal x = origin.x();
    for (qsizetype i = 0; i < text.size(); ++i) {
        to.add(glyphs[size_t(i)], QPointF(x, origin.y()));
        x += advance_[text[i].unicode()];
    }
    if (!batch)
        own.draw(painter, rawFont_);
    return true;
}

void GlyphBatch::draw(QPainter& painter, const QRawFont& font) {
    if (glyphs_.isEmpty())
        return;
    QGlyphRun run;
    run.setRawFont(font);
    run.setGlyphIndexes(glyphs_);
    run.setPositions(positions_);
    painter.drawGlyphRun(QPointF(), run);
    glyphs_.clear();
    positions_.clear();
}

} // namespace perlinex::reports
