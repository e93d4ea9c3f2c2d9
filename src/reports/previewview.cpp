#include "reports/previewview.h"

#include "reports/printdocument.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <cmath>

namespace perlinex::reports {

namespace {

constexpr qreal Pad = 16; // around and between pages, pixels
constexpr qreal ShadowOffset = 4;
constexpr qreal ThumbnailWidth = 140;
constexpr qreal ThumbnailLabel = 18; // the page number under a thumbnail
const QColor Ground(128, 128, 128);
const QColor ShadowColour(64, 64, 64);
const QColor Highlight(40, 90, 200);

} // namespace

PreviewView::PreviewView(const PrintDocument& document, QWidget* parent)
    : QAbstractScrollArea(parent), document_(document) {
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setAutoFillBackground(false);
    updateScrollBar();
}

QSizeF PreviewView::pageSize() const {
    return QSizeF(document_.pageWidth(), document_.pageHeight());
}

void PreviewView::setZoom(Zoom zoom) {
    if (zoom == zoom_)
        return;
    zoom_ = zoom;
    updateScrollBar();
    viewport()->update();
    emit zoomChanged(zoom_);
}

void PreviewView::setCurrentPage(int index) {
    index = std::clamp(index, 0, std::max(0, document_.pageCount() - 1));
    if (index == current_)
        return;
    current_ = index;
    verticalScrollBar()->setValue(0);
    viewport()->update();
    emit currentPageChanged(current_);
}

void PreviewView::pagesChanged() {
    const int last = std::max(0, document_.pageCount() - 1);
    if (current_ > last) {
        current_ = last;
        firstThumbnail_ = 0;
        emit currentPageChanged(current_);
    }
    updateScrollBar();
    viewport()->update();
}

int PreviewView::thumbnailColumns() const {
    return std::max(1, int((viewport()->width() - Pad) / (ThumbnailWidth + Pad)));
}

QSizeF PreviewView::thumbnailSize() const {
    const QSizeF page = pageSize();
    return QSizeF(ThumbnailWidth, ThumbnailWidth * page.height() / page.width());
}

int PreviewView::thumbnailRows() const {
    return std::max(
        1, int((viewport()->height() - Pad) / (thumbnailSize().height() + ThumbnailLabel + Pad)));
}

QList<PreviewView::PageSlot> PreviewView::slotsShown() const {
    QList<PageSlot> shown;
    const int count = document_.pageCount();
    if (count == 0)
        return shown;
    const QSizeF page = pageSize();
    const qreal vw = viewport()->width();
    const qreal vh = viewport()->height();
    switch (zoom_) {
    case Zoom::WholePage: {
        const qreal s =
            std::max(0.01, std::min((vw - 2 * Pad) / page.width(), (vh - 2 * Pad) / page.height()));
        const QSizeF size = page * s;
        shown.append(
            {current_, QRectF(QPointF((vw - size.width()) / 2, (vh - size.height()) / 2), size)});
        break;
    }
    case Zoom::PageWidth: {
        const qreal s = std::max(0.01, (vw - 2 * Pad) / page.width());
        shown.append(
            {current_, QRectF(QPointF(Pad, Pad - verticalScrollBar()->value()), page * s)});
        break;
    }
    case Zoom::TwoPages: {
        const qreal s = std::max(
            0.01, std::min((vw - 3 * Pad) / (2 * page.width()), (vh - 2 * Pad) / page.height()));
        const QSizeF size = page * s;
        const qreal left = (vw - 2 * size.width() - Pad) / 2;
        const qreal top = (vh - size.height()) / 2;
        shown.append({current_, QRectF(QPointF(left, top), size)});
        if (current_ + 1 < count)
            shown.append({current_ + 1, QRectF(QPointF(left + size.width() + Pad, top), size)});
        break;
    }
    case Zoom::Thumbnail: {
        const int cols = thumbnailColumns();
        const int rows = thumbnailRows();
        const QSizeF size = thumbnailSize();
        const qreal left = (vw - cols * (size.width() + Pad) + Pad) / 2;
        for (int i = 0; i < cols * rows && firstThumbnail_ + i < count; ++i) {
            const qreal x = left + (i % cols) * (size.width() + Pad);
            const qreal y = Pad + (i / cols) * (size.height() + ThumbnailLabel + Pad);
            shown.append({firstThumbnail_ + i, QRectF(QPointF(x, y), size)});
        }
        break;
    }
    }
    return shown;
}

void PreviewView::paintEvent(QPaintEvent*) {
    if (zoom_ == Zoom::Thumbnail) {
        // Keep the current page among the thumbnails shown.
        const int cols = thumbnailColumns();
        const int perScreen = cols * thumbnailRows();
        if (current_ < firstThumbnail_ || current_ >= firstThumbnail_ + perScreen)
            firstThumbnail_ = std::max(0, (current_ / cols - thumbnailRows() + 1) * cols);
        if (current_ < firstThumbnail_)
            firstThumbnail_ = (current_ / cols) * cols;
    }
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), Ground);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (const PageSlot& slot : slotsShown()) {
        painter.fillRect(slot.rect.translated(ShadowOffset, ShadowOffset), ShadowColour);
        document_.renderPage(painter, slot.page, slot.rect);
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(slot.rect);
        if (zoom_ == Zoom::Thumbnail) {
            if (slot.page == current_) {
                painter.setPen(QPen(Highlight, 3));
                painter.drawRect(slot.rect.adjusted(-3, -3, 3, 3));
            }
            painter.setPen(Qt::white);
            painter.drawText(
                QRectF(slot.rect.left(), slot.rect.bottom() + 2, slot.rect.width(), ThumbnailLabel),
                Qt::AlignCenter, QString::number(slot.page + 1));
        }
    }
}

void PreviewView::updateScrollBar() {
    QScrollBar* bar = verticalScrollBar();
    if (zoom_ != Zoom::PageWidth) {
        bar->setRange(0, 0);
        return;
    }
    const QSizeF page = pageSize();
    const qreal s = (viewport()->width() - 2 * Pad) / page.width();
    const int content = int(std::ceil(page.height() * s + 2 * Pad));
    bar->setRange(0, std::max(0, content - viewport()->height()));
    bar->setPageStep(viewport()->height());
    bar->setSingleStep(40);
}

void PreviewView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBar();
}

void PreviewView::scrollContentsBy(int, int) {
    viewport()->update();
}

void PreviewView::wheelEvent(QWheelEvent* event) {
    if (zoom_ == Zoom::PageWidth) {
        // Within the page first; past its top or foot to the page before or after.
        QScrollBar* bar = verticalScrollBar();
        const int dy = event->angleDelta().y();
        if ((dy < 0 && bar->value() < bar->maximum()) || (dy > 0 && bar->value() > 0)) {
            QAbstractScrollArea::wheelEvent(event);
            return;
        }
    }
    const int dy = event->angleDelta().y();
    if (dy != 0)
        setCurrentPage(current_ + (dy < 0 ? 1 : -1));
    event->accept();
}

int PreviewView::pageAt(const QPointF& pos) const {
    for (const PageSlot& slot : slotsShown())
        if (slot.rect.contains(pos))
            return slot.page;
    return -1;
}

void PreviewView::mousePressEvent(QMouseEvent* event) {
    const int page = pageAt(event->position());
    if (page >= 0)
        setCurrentPage(page);
    QAbstractScrollArea::mousePressEvent(event);
}

void PreviewView::mouseDoubleClickEvent(QMouseEvent* event) {
    const int page = pageAt(event->position());
    if (page >= 0 && zoom_ == Zoom::Thumbnail) {
        setCurrentPage(page);
        setZoom(Zoom::WholePage);
    }
    QAbstractScrollArea::mouseDoubleClickEvent(event);
}

} // namespace perlinex::reports
