#pragma once

#include "reports/celltext.h"
#include "reports/rowstore.h"
#include "reports/tabletext.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <array>
#include <chrono>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

class QPainter;

namespace perlinex::reports {

// Shades of a table's rows; an invalid colour leaves its rows unshaded.
struct Shading {
    QColor header;
    QColor body;
};

// A row as it stands on a page, in twips from the page's top left corner.
struct PlacedCell {
    QRectF rect; // the whole cell; its text never leaves it
    QString text;
    Align align = Align::Left;
};
struct PlacedRow {
    QRectF rect;              // the row across its table
    QColor shade;             // invalid: none
    bool pageStart = false;   // added by the page-start handler
    bool tableHeader = false; // a table's header row, repeated after a page break
    QList<PlacedCell> cells;
};

// The report document behind the preview window and printing: a page header and footer and
// a run of tables, laid out into pages of the default paper (Letter under United States
// settings, A4 elsewhere) in twips, 1440 to the inch.
//
// Tables are added whole, row by row, from the table text form or from cells in hand. On the
// page each spans the body's width, its columns in the proportions of the format's twips (the
// text and HTML files keep the twips). Every time a page begins (the first included) the
// document emits pageStarted(); a table added during that signal goes to the top of the new
// page, above the rows that follow.
//
// Layout is incremental: layoutSome() places rows for a slice of time and can be driven from
// a timer while the window stays responsive. A page counts once it is closed: the next row
// did not fit, or the document was ended and its last row placed. Per page the document keeps
// only its row ranges; per row its height.
class PrintDocument : public QObject {
    Q_OBJECT
public:
    enum class Orientation { Portrait = 0, Landscape = 1 };

    explicit PrintDocument(QObject* parent = nullptr);
    ~PrintDocument() override;

    // Preview mode: the document goes to the preview window rather than to the printer. The
    // program always previews; the setting is kept so that callers can say so and read it.
    void setPreview(bool on) { preview_ = on; }
    bool preview() const { return preview_; }

    // Paper. A change after layout began lays the document out again.
    void setOrientation(Orientation orientation);
    Orientation orientation() const { return orientation_; }
    void setPageSize(const QPageSize& size);
    QPageLayout pageLayout() const;
    int pageWidth() const;   // twips
    int pageHeight() const;  // twips
    QRectF bodyRect() const; // where the tables go, twips

    // Page header and footer: "left|centre|right"; "%d" stands for the page number. They may
    // be set at any time and apply to every page.
    void setHeader(const QString& text) { header_ = text; }
    QString header() const { return header_; }
    void setFooter(const QString& text) { footer_ = text; }
    QString footer() const { return footer_; }
    // The three parts of a header or footer text on page pageNumber (1-based).
    static std::array<QString, 3> pageTextParts(const QString& text, int pageNumber);

    // Starts a new, empty document (header, footer and paper stay).
    void startDoc();
    // Ends the document: its last page can close and the document can be printed. Content
    // added after the end goes on, from a new page, until the next endDoc().
    void endDoc();
    bool isStarted() const { return started_; }
    bool isEnded() const { return ended_; }
    // Drops the document's content and pages.
    void clear();

    // Appends a table in the text form: "2880|>1400;cell|cell;cell|cell;".
    void addTableText(QStringView text);
    // Appends a table from its texts: format section, header row ("" for none), body rows, the
    // header and body shades. Tables always follow one another without a gap, so whether the
    // table is appended to the one before or not looks the same.
    void addTable(const QString& format, const QString& header, const QString& body,
                  const QColor& headerShade, const QColor& bodyShade, bool append);
    // The same from values in hand: no value is split at a "|" or ";".
    void addTable(const TableFormat& format, const QStringList& header,
                  const QList<QStringList>& body, const Shading& shading = {});
    void addRow(const TableFormat& format, const QStringList& cells);
    // Rows added outside the page-start handler.
    std::uint32_t rowCount() const { return body_.rows.rowCount(); }

    // Lays out rows for about budget, and no more than maxRows of them; true once the whole
    // document is laid out.
    bool layoutSome(std::chrono::milliseconds budget,
                    std::uint32_t maxRows = std::numeric_limits<std::uint32_t>::max());
    // Lays out everything added so far.
    void layoutAll();
    bool isLaidOut() const;
    // 0 to 1: rows placed of rows added.
    double layoutProgress() const;
    // Closed pages.
    int pageCount() const { return int(pages_.size()) - (pageOpen_ ? 1 : 0); }

    // The rows of a closed page (0-based index), top to bottom.
    QList<PlacedRow> pageRows(int index) const;
    // Draws a closed page into target (device coordinates of the painter), the whole page
    // scaled to it.
    void renderPage(QPainter& painter, int index, const QRectF& target) const;

signals:
    // A page begins; a table added now goes to its top.
    void pageStarted();
    void documentStarted();
    void documentEnded();

private:
    struct Page {
        std::uint32_t headBegin = 0; // rows of head_ placed by the page-start handler
        std::uint32_t headEnd = 0;
        std::int64_t repeatedHeader = -1; // header row of a table continued from the page before
        std::uint32_t bodyBegin = 0;      // rows of body_
        std::uint32_t bodyEnd = 0;
    };
    // A format's columns as they stand in the body: every table is widened or narrowed to the
    // body's width, its columns keeping their proportions.
    struct FormatGeometry {
        TableFormat format;
        std::vector<qreal> left;
        std::vector<qreal> width;
        qreal tableWidth = 0;
    };
    template <typename Fn> void forEachRow(int index, Fn&& fn) const;

    void append(const TableFormat& format, const QStringList& header,
                const QList<QStringList>& body, const Shading& shading);
    std::uint32_t formatIndex(const TableFormat& format);
    FormatGeometry geometryOf(const TableFormat& format) const;
    void resetLayout();
    void openPage();
    void closePage() { pageOpen_ = false; }
    void placeNextRow();
    float bodyRowHeight(std::uint32_t row);
    float measure(const TableStore& store, std::uint32_t row);
    void drawPageText(QPainter& painter, const QString& text, int pageNumber, qreal baseline) const;

    bool preview_ = true;
    bool started_ = false;
    bool ended_ = false;
    Orientation orientation_ = Orientation::Portrait;
    QPageSize pageSize_;
    QString header_;
    QString footer_;

    std::unique_ptr<CellText> cellText_;
    std::unique_ptr<CellText> pageText_;

    std::vector<FormatGeometry> formats_;
    QHash<QString, std::uint32_t> formatIndex_;
    std::uint32_t lastFormat_ = 0;
    QRectF bodyRect_;
    int maxLines_ = 1; // a row never grows past the body's height
    TableStore body_;
    TableStore head_; // rows the page-start handler put at the top of pages
    std::vector<float> bodyHeights_;
    std::vector<float> headHeights_;

    std::vector<Page> pages_; // the last one is still open while pageOpen_
    bool pageOpen_ = false;
    bool inPageStart_ = false;
    qreal cursor_ = 0;       // height used on the open page
    std::uint32_t next_ = 0; // next body row to place
};

} // namespace perlinex::reports
