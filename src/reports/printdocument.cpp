#include "reports/printdocument.h"

#include <QLocale>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>

namespace perlinex::reports {

namespace {

constexpr int TwipsPerPoint = 20;
constexpr int PointSize = 10;
constexpr qreal Margin = 720;    // half an inch around the page
constexpr qreal BandGap = 180;   // between the page header (or footer) and the body
constexpr qreal RuleOffset = 60; // the rule under the header, above the footer
constexpr qreal RuleWidth = 10;  // half a point
constexpr qreal PartGap = 144;   // between the parts of a page header
constexpr qreal PadX = 72;       // cell padding
constexpr qreal PadY = 36;

QPageSize localePageSize() {
    return QLocale().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize(QPageSize::Letter)
                                                                      : QPageSize(QPageSize::A4);
}

QColor textColourOn(const QColor& shade) {
    return shade.isValid() && shade.lightness() < 128 ? QColor(Qt::white) : QColor(Qt::black);
}

// Set while the page-start handler runs, also when it throws.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
};

} // namespace

PrintDocument::PrintDocument(QObject* parent)
    : QObject(parent), pageSize_(localePageSize()),
      cellText_(std::make_unique<CellText>(CellText::reportFont(PointSize))),
      pageText_(std::make_unique<CellText>(CellText::reportFont(PointSize, true))) {
    resetLayout();
}

PrintDocument::~PrintDocument() = default;

// Paper -----------------------------------------------------------------------------------

void PrintDocument::setOrientation(Orientation orientation) {
    if (orientation == orientation_ || inPageStart_)
        return;
    orientation_ = orientation;
    resetLayout();
}

void PrintDocument::setPageSize(const QPageSize& size) {
    if (!size.isValid() || size.isEquivalentTo(pageSize_) || inPageStart_)
        return;
    pageSize_ = size;
    resetLayout();
}

QPageLayout PrintDocument::pageLayout() const {
    return QPageLayout(pageSize_,
                       orientation_ == Orientation::Landscape ? QPageLayout::Landscape
                                                              : QPageLayout::Portrait,
                       QMarginsF());
}

int PrintDocument::pageWidth() const {
    return int(std::lround(pageLayout().fullRectPoints().width() * TwipsPerPoint));
}

int PrintDocument::pageHeight() const {
    return int(std::lround(pageLayout().fullRectPoints().height() * TwipsPerPoint));
}

QRectF PrintDocument::bodyRect() const {
    return bodyRect_;
}

std::array<QString, 3> PrintDocument::pageTextParts(const QString& text, int pageNumber) {
    const QStringList pieces = text.split(u'|');
    std::array<QString, 3> parts;
    parts[0] = pieces.value(0);
    parts[1] = pieces.value(1);
    // A bar past the second belongs to the right part.
    parts[2] = pieces.mid(2).join(u'|');
    for (QString& p : parts)
        p.replace(QStringLiteral("%d"), QString::number(pageNumber));
    return parts;
}

// Document --------------------------------------------------------------------------------

void PrintDocument::startDoc() {
    if (inPageStart_)
        return;
    clear();
    started_ = true;
    emit documentStarted();
}

void PrintDocument::endDoc() {
    started_ = true;
    ended_ = true;
    emit documentEnded();
}

void PrintDocument::clear() {
    if (inPageStart_)
        return;
    started_ = false;
    ended_ = false;
    body_.clear();
    bodyHeights_ = {};
    formats_.clear();
    formatIndex_.clear();
    lastFormat_ = 0;
    resetLayout();
}

void PrintDocument::resetLayout() {
    pages_ = {};
    head_.clear();
    headHeights_ = {};
    bodyHeights_.clear();
    pageOpen_ = false;
    cursor_ = 0;
    next_ = 0;

    const qreal pageLine = pageText_->lineHeight();
    const qreal band = pageLine + BandGap;
    bodyRect_ = QRectF(Margin, Margin + band, pageWidth() - 2 * Margin,
                       pageHeight() - 2 * Margin - 2 * band);
    maxLines_ = std::max(1, int((bodyRect_.height() - 2 * PadY) / cellText_->lineHeight()));
    for (FormatGeometry& g : formats_)
        g = geometryOf(g.format);
}

// Content ---------------------------------------------------------------------------------

void PrintDocument::addTableText(QStringView text) {
    const TableText t = parseTableText(text);
    append(t.format, {}, t.rows, {});
}

void PrintDocument::addTable(const QString& format, const QString& header, const QString& body,
                             const QColor& headerShade, const QColor& bodyShade, bool append) {
    Q_UNUSED(append)
    const QList<QStringList> headerRows = parseTableRows(header);
    this->append(TableFormat::parse(format), headerRows.value(0), parseTableRows(body),
                 Shading{headerShade, bodyShade});
}

void PrintDocument::addTable(const TableFormat& format, const QStringList& header,
                             const QList<QStringList>& body, const Shading& shading) {
    append(format, header, body, shading);
}

void PrintDocument::addRow(const TableFormat& format, const QStringList& cells) {
    append(format, {}, {cells}, {});
}

void PrintDocument::append(const TableFormat& format, const QStringList& header,
                           const QList<QStringList>& body, const Shading& shading) {
    const bool hasHeader = !header.isEmpty();
    if (!hasHeader && body.isEmpty())
        return;
    started_ = true;
    if (!inPageStart_)
        ended_ = false;
    TableStore& store = inPageStart_ ? head_ : body_;
    const std::uint32_t f = formatIndex(format);
    // Rows of one format and shade run on in one block, however many calls added them.
    const bool runsOn = !hasHeader && !store.blocks.empty() && store.blocks.back().format == f &&
                        !store.blocks.back().hasHeader &&
                        store.blocks.back().bodyShade == shading.body;
    if (!runsOn) {
        const std::uint32_t at = store.rows.rowCount();
        store.blocks.push_back(TableBlock{at, at, f, hasHeader, shading.header, shading.body});
    }
    if (hasHeader)
        store.rows.append(header);
    for (const QStringList& row : body)
        store.rows.append(row);
    store.blocks.back().endRow = store.rows.rowCount();
}

std::uint32_t PrintDocument::formatIndex(const TableFormat& format) {
    if (lastFormat_ < formats_.size() && formats_[lastFormat_].format == format)
        return lastFormat_;
    const QString key = format.toText();
    auto it = formatIndex_.constFind(key);
    if (it == formatIndex_.constEnd()) {
        it = formatIndex_.insert(key, std::uint32_t(formats_.size()));
        formats_.push_back(geometryOf(format));
    }
    lastFormat_ = *it;
    return lastFormat_;
}

PrintDocument::FormatGeometry PrintDocument::geometryOf(const TableFormat& format) const {
    FormatGeometry g;
    g.format = format;
    // Every table spans the body, its columns in their proportions: a narrow one would wrap
    // catalogue numbers and descriptions beside empty paper, a wide one would run off it.
    const qreal total = format.width();
    const qreal scale = total > 0 ? bodyRect_.width() / total : 1.0;
    qreal x = bodyRect_.left();
    for (const Column& c : format.columns()) {
        g.left.push_back(x);
        g.width.push_back(c.width * scale);
        x += c.width * scale;
    }
    g.tableWidth = x - bodyRect_.left();
    return g;
}

// Layout ----------------------------------------------------------------------------------

bool PrintDocument::layoutSome(std::chrono::milliseconds budget, std::uint32_t maxRows) {
    if (inPageStart_)
        return false;
    using Clock = std::chrono::steady_clock;
    const Clock::time_point until = Clock::now() + budget;
    const std::uint32_t firstRow = next_;
    for (unsigned steps = 1;; ++steps) {
        if (next_ >= body_.rows.rowCount()) {
            if (!ended_)
                return false;   // waits for more rows or the end
            if (pages_.empty()) // an empty document still has its one page
                openPage();
            closePage();
            return true;
        }
        if (!pageOpen_)
            openPage();
        else
            placeNextRow();
        if (next_ - firstRow >= maxRows || (steps % 64 == 0 && Clock::now() >= until))
            return isLaidOut();
    }
}

void PrintDocument::layoutAll() {
    layoutSome(std::chrono::hours(24));
}

bool PrintDocument::isLaidOut() const {
    return ended_ && !pageOpen_ && !pages_.empty() && next_ >= body_.rows.rowCount();
}

double PrintDocument::layoutProgress() const {
    if (isLaidOut())
        return 1.0;
    const std::uint32_t rows = body_.rows.rowCount();
    return rows == 0 ? 0.0 : double(next_) / rows;
}

void PrintDocument::openPage() {
    Page page;
    page.headBegin = head_.rows.rowCount();
    page.bodyBegin = page.bodyEnd = next_;
    pages_.push_back(page);
    pageOpen_ = true;
    cursor_ = 0;
    {
        FlagScope scope(inPageStart_);
        emit pageStarted();
    }
    Page& open = pages_.back();
    open.headEnd = head_.rows.rowCount();
    for (std::uint32_t r = open.headBegin; r < open.headEnd; ++r) {
        headHeights_.push_back(measure(head_, r));
        cursor_ += headHeights_.back();
    }
    if (next_ < body_.rows.rowCount()) {
        const TableBlock& b = body_.blockOf(next_);
        if (b.hasHeader && next_ > b.firstRow) {
            open.repeatedHeader = b.firstRow;
            cursor_ += bodyHeights_[b.firstRow];
        }
    }
}

void PrintDocument::placeNextRow() {
    Page& page = pages_.back();
    const float height = bodyRowHeight(next_);
    qreal needed = height;
    // A table's header row does not stay behind alone at the foot of a page.
    const TableBlock& b = body_.blockOf(next_);
    if (b.hasHeader && next_ == b.firstRow && next_ + 1 < b.endRow)
        needed += bodyRowHeight(next_ + 1);
    const bool pageHasRows = page.bodyEnd > page.bodyBegin;
    if (pageHasRows && cursor_ + needed > bodyRect_.height()) {
        closePage();
        return;
    }
    // A row that fits on no page goes on its own page all the same, cut at the body's foot.
    cursor_ += height;
    page.bodyEnd = ++next_;
}

float PrintDocument::bodyRowHeight(std::uint32_t row) {
    while (bodyHeights_.size() <= row)
        bodyHeights_.push_back(measure(body_, std::uint32_t(bodyHeights_.size())));
    return bodyHeights_[row];
}

float PrintDocument::measure(const TableStore& store, std::uint32_t row) {
    const FormatGeometry& g = formats_[store.blockOf(row).format];
    const int cells = std::min(store.rows.cellCount(row), int(g.width.size()));
    int lines = 1;
    for (int i = 0; i < cells && lines < maxLines_; ++i)
        lines = std::max(lines, cellText_->lineCount(store.rows.cell(row, i),
                                                     g.width[size_t(i)] - 2 * PadX, maxLines_));
    return float(lines * cellText_->lineHeight() + 2 * PadY);
}

// Pages -----------------------------------------------------------------------------------

template <typename Fn> void PrintDocument::forEachRow(int index, Fn&& fn) const {
    const Page& page = pages_[size_t(index)];
    qreal y = bodyRect_.top();
    auto visit = [&](const TableStore& store, std::uint32_t row, float height, bool pageStart) {
        const TableBlock& b = store.blockOf(row);
        const bool header = b.hasHeader && row == b.firstRow;
        fn(store, row, formats_[b.format], header ? b.headerShade : b.bodyShade, header, pageStart,
           QRectF(bodyRect_.left(), y, 0, height));
        y += height;
    };
    for (std::uint32_t r = page.headBegin; r < page.headEnd; ++r)
        visit(head_, r, headHeights_[r], true);
    if (page.repeatedHeader >= 0) {
        const auto r = std::uint32_t(page.repeatedHeader);
        visit(body_, r, bodyHeights_[r], false);
    }
    for (std::uint32_t r = page.bodyBegin; r < page.bodyEnd; ++r)
        visit(body_, r, bodyHeights_[r], false);
}

QList<PlacedRow> PrintDocument::pageRows(int index) const {
    QList<PlacedRow> rows;
    if (index < 0 || index >= pageCount())
        return rows;
    forEachRow(index, [&](const TableStore& store, std::uint32_t row, const FormatGeometry& g,
                          const QColor& shade, bool header, bool pageStart, QRectF box) {
        PlacedRow placed;
        box.setWidth(g.tableWidth);
        placed.rect = box;
        placed.shade = shade;
        placed.pageStart = pageStart;
        placed.tableHeader = header;
        const int cells = std::min(store.rows.cellCount(row), int(g.width.size()));
        for (int i = 0; i < cells; ++i)
            placed.cells.append(
                PlacedCell{QRectF(g.left[size_t(i)], box.top(), g.width[size_t(i)], box.height()),
                           store.rows.cell(row, i).toString(), g.format.columns()[i].align});
        rows.append(std::move(placed));
    });
    return rows;
}

void PrintDocument::renderPage(QPainter& painter, int index, const QRectF& target) const {
    if (index < 0 || index >= pageCount())
        return;
    const qreal w = pageWidth();
    const qreal h = pageHeight();
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / w, target.height() / h);
    painter.fillRect(QRectF(0, 0, w, h), Qt::white);

    const int number = index + 1;
    const qreal pageLine = pageText_->lineHeight();
    QPen rule(Qt::black, RuleWidth);
    if (!header_.isEmpty()) {
        painter.setPen(Qt::black);
        drawPageText(painter, header_, number, Margin + pageText_->metrics().ascent());
        painter.setPen(rule);
        const qreal y = Margin + pageLine + RuleOffset;
        painter.drawLine(QPointF(bodyRect_.left(), y), QPointF(bodyRect_.right(), y));
    }
    if (!footer_.isEmpty()) {
        painter.setPen(rule);
        const qreal y = h - Margin - pageLine - RuleOffset;
        painter.drawLine(QPointF(bodyRect_.left(), y), QPointF(bodyRect_.right(), y));
        painter.setPen(Qt::black);
        drawPageText(painter, footer_, number, h - Margin - pageText_->metrics().descent());
    }

    painter.setClipRect(bodyRect_, Qt::IntersectClip);
    painter.setFont(cellText_->font());
    const qreal lineHeight = cellText_->lineHeight();
    // The one-line texts of the page are drawn together, by colour, once every row is shaded:
    // a PDF then holds one text object for them rather than one for each cell.
    std::array<GlyphBatch, 2> batches; // on light shades, on dark ones
    forEachRow(index, [&](const TableStore& store, std::uint32_t row, const FormatGeometry& g,
                          const QColor& shade, bool, bool, const QRectF& box) {
        if (shade.isValid() && g.tableWidth > 0)
            painter.fillRect(QRectF(box.left(), box.top(), g.tableWidth, box.height()), shade);
        const QColor ink = textColourOn(shade);
        painter.setPen(ink);
        GlyphBatch& batch = batches[ink == QColor(Qt::white) ? 1 : 0];
        const int lines =
            std::clamp(int(std::lround((box.height() - 2 * PadY) / lineHeight)), 1, maxLines_);
        const int cells = std::min(store.rows.cellCount(row), int(g.width.size()));
        for (int i = 0; i < cells; ++i) {
            const QRectF cell(g.left[size_t(i)], box.top(), g.width[size_t(i)], box.height());
            cellText_->draw(painter, cell.adjusted(PadX, PadY, -PadX, -PadY), cell,
                            store.rows.cell(row, i), g.format.columns()[i].align, lines, &batch);
        }
    });
    painter.setPen(QColor(Qt::black));
    cellText_->drawBatch(painter, batches[0]);
    painter.setPen(QColor(Qt::white));
    cellText_->drawBatch(painter, batches[1]);
    painter.restore();
}

void PrintDocument::drawPageText(QPainter& painter, const QString& text, int pageNumber,
                                 qreal baseline) const {
    const std::array<QString, 3> parts = pageTextParts(text, pageNumber);
    const QFontMetricsF& m = pageText_->metrics();
    const qreal left = bodyRect_.left();
    const qreal width = bodyRect_.width();
    const QString l = m.elidedText(parts[0], Qt::ElideRight, width / 3);
    const QString r = m.elidedText(parts[2], Qt::ElideRight, width / 3);
    const qreal lw = m.horizontalAdvance(l);
    const qreal rw = m.horizontalAdvance(r);
    const QString c = m.elidedText(parts[1], Qt::ElideRight,
                                   std::max<qreal>(0, width - 2 * std::max(lw, rw) - 2 * PartGap));
    painter.setFont(pageText_->font());
    painter.drawText(QPointF(left, baseline), l);
    painter.drawText(QPointF(left + (width - m.horizontalAdvance(c)) / 2, baseline), c);
    painter.drawText(QPointF(left + width - rw, baseline), r);
}

} // namespace perlinex::reports
