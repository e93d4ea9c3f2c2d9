#pragma once

#include <QAbstractScrollArea>
#include <QList>
#include <QRectF>

namespace perlinex::reports {

class PrintDocument;

// The pages of a document on a grey ground, each white with a shadow: one whole page, one page
// as wide as the view (scrolled up and down), two pages side by side, or thumbnails.
class PreviewView : public QAbstractScrollArea {
    Q_OBJECT
public:
    enum class Zoom { WholePage = 0, PageWidth = 1, TwoPages = 2, Thumbnail = 3 };

    explicit PreviewView(const PrintDocument& document, QWidget* parent = nullptr);

    Zoom zoom() const { return zoom_; }
    void setZoom(Zoom zoom);
    // 0-based; kept within the closed pages.
    int currentPage() const { return current_; }
    void setCurrentPage(int index);
    // The document has new pages, or is new.
    void pagesChanged();

    struct PageSlot {
        int page;
        QRectF rect; // viewport coordinates
    };
    // The pages shown and where.
    QList<PageSlot> slotsShown() const;

signals:
    void currentPageChanged(int index);
    void zoomChanged(Zoom zoom);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    QSizeF pageSize() const; // twips
    void updateScrollBar();
    int pageAt(const QPointF& pos) const;
    int thumbnailColumns() const;
    int thumbnailRows() const;
    QSizeF thumbnailSize() const;

    const PrintDocument& document_;
    Zoom zoom_ = Zoom::WholePage;
    int current_ = 0;
    int firstThumbnail_ = 0;
};

} // namespace perlinex::reports
