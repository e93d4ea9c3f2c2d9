#include "reports/printdocument.h"
#include "reports_support.h"

#include "support/wait.h"

#include <QImage>
#include <QPainter>
#include <set>

using namespace perlinex::reports;

namespace {

// Adds the grey heading row at the top of every page and counts the pages begun.
struct HeadingHandler {
    PrintDocument& doc;
    int calls = 0;
    explicit HeadingHandler(PrintDocument& d) : doc(d) {
        QObject::connect(&doc, &PrintDocument::pageStarted, [this] {
            ++calls;
            doc.addTable(kForSale.toText(), QString(), kForSaleHeading, QColor(0, 0, 0),
                         QColor(200, 200, 200), true);
        });
    }
};

QStringList firstCells(const QList<PlacedRow>& rows) {
    QStringList out;
    for (const PlacedRow& r : rows)
        out << (r.cells.isEmpty() ? QString() : r.cells.front().text);
    return out;
}

} // namespace

TEST(PrintDocumentLayout, RowsFillPagesInOrderWithTheHeadingOnEachPage) {
    for (int rows : {0, 1, 45, 1000}) {
        SCOPED_TRACE(rows);
        PrintDocument doc;
        HeadingHandler heading(doc);
        doc.startDoc();
        addForSaleRows(doc, 0, rows);
        doc.endDoc();
        doc.layoutAll();
        ASSERT_TRUE(doc.isLaidOut());
        ASSERT_GE(doc.pageCount(), 1);
        EXPECT_EQ(heading.calls, doc.pageCount());

        const int perPage = int(doc.pageRows(0).size()) - 1;
        int next = 0;
        for (int p = 0; p < doc.pageCount(); ++p) {
            const QList<PlacedRow> placed = doc.pageRows(p);
            ASSERT_FALSE(placed.isEmpty());
            EXPECT_TRUE(placed.front().pageStart);
            EXPECT_EQ(placed.front().shade, QColor(200, 200, 200));
            EXPECT_EQ(placed.front().cells.front().text, QStringLiteral("Description"));
            EXPECT_EQ(placed.front().rect.top(), doc.bodyRect().top());
            if (p + 1 < doc.pageCount()) {
                EXPECT_EQ(placed.size() - 1, perPage) << "page " << p;
            }
            for (qsizetype i = 1; i < placed.size(); ++i) {
                EXPECT_FALSE(placed[i].pageStart);
                EXPECT_EQ(placed[i].cells.front().text, forSaleRow(next++).front());
                EXPECT_LE(placed[i].rect.bottom(), doc.bodyRect().bottom());
                EXPECT_EQ(placed[i].rect.top(), placed[i - 1].rect.bottom());
            }
        }
        EXPECT_EQ(next, rows);
        if (rows > perPage) {
            EXPECT_EQ(doc.pageCount(), (rows + perPage - 1) / perPage);
        }
    }
}

TEST(PrintDocumentLayout, ARowThatDoesNotFitMovesToTheNextPage) {
    PrintDocument doc;
    doc.startDoc();
    addForSaleRows(doc, 0, 200);
    doc.endDoc();
    doc.layoutAll();
    const QList<PlacedRow> first = doc.pageRows(0);
    const qreal lineRow = first.front().rect.height();
    const qreal room = doc.bodyRect().bottom() - first.back().rect.bottom();
    ASSERT_LT(room, lineRow);

    // The same rows, with a wrapping one where the first page has room for one line only.
    PrintDocument tall;
    tall.startDoc();
    addForSaleRows(tall, 0, int(first.size()) - 1);
    QStringList wrapping = forSaleRow(999);
    // Long enough to wrap in the description column whatever serif font the machine offers.
    wrapping[0] =
        QStringLiteral("A description long enough to need several lines in its cell, ").repeated(4);
    tall.addRow(kForSale, wrapping);
    tall.endDoc();
    tall.layoutAll();
    ASSERT_EQ(tall.pageCount(), 2);
    EXPECT_EQ(tall.pageRows(0).size(), first.size() - 1);
    const PlacedRow moved = tall.pageRows(1).front();
    EXPECT_EQ(moved.cells.front().text, wrapping.front());
    EXPECT_GT(moved.rect.height(), 2 * lineRow - 1);
    EXPECT_EQ(moved.rect.top(), tall.bodyRect().top());
}

TEST(PrintDocumentLayout, ARowTallerThanAPageIsCutAtTheBodyFoot) {
    PrintDocument doc;
    doc.startDoc();
    doc.addRow(TableFormat::parse(u"300"), {QString(5000, u'W')});
    doc.addRow(kForSale, forSaleRow(1));
    doc.endDoc();
    doc.layoutAll();
    ASSERT_EQ(doc.pageCount(), 2);
    const PlacedRow huge = doc.pageRows(0).front();
    EXPECT_LE(huge.rect.bottom(), doc.bodyRect().bottom());
    EXPECT_EQ(doc.pageRows(1).front().cells.front().text, forSaleRow(1).front());
}

TEST(PrintDocumentLayout, ValuesWithBarsAndSemicolonsSurviveTheStructuredCalls) {
    PrintDocument doc;
    doc.startDoc();
    const QStringList values = {"Bar | in it", "Semi; colon", "a|b;c", "", "", "$1.00"};
    doc.addRow(kForSale, values);
    doc.addTable(kForSale, {"Head|er", "x"}, {values}, Shading{Qt::black, Qt::lightGray});
    doc.addTableText(u"720|720;text|form;");
    doc.endDoc();
    doc.layoutAll();
    const QList<PlacedRow> rows = doc.pageRows(0);
    ASSERT_EQ(rows.size(), 4);
    QStringList shown;
    for (const PlacedCell& c : rows[0].cells)
        shown << c.text;
    EXPECT_EQ(shown, values);
    EXPECT_TRUE(rows[1].tableHeader);
    EXPECT_EQ(rows[1].cells.front().text, QStringLiteral("Head|er"));
    EXPECT_EQ(rows[1].shade, QColor(Qt::black));
    EXPECT_EQ(rows[2].shade, QColor(Qt::lightGray));
    EXPECT_EQ(firstCells(rows).back(), QStringLiteral("text"));
}

TEST(PrintDocumentLayout, TotalsLineKeepsItsOwnMergedColumns) {
    PrintDocument doc;
    doc.startDoc();
    doc.addTableText(u"2160|1400|>1400|>1400|>1400|>1400|>1400;a|b|3|$1.50|$4.50|$2.00|$6.00;");
    doc.addTableText(u"3560|>1400|>2800|>2800;Totals|3|$4.50|$6.00;");
    doc.endDoc();
    doc.layoutAll();
    const QList<PlacedRow> rows = doc.pageRows(0);
    ASSERT_EQ(rows.size(), 2);
    ASSERT_EQ(rows[1].cells.size(), 4);
    const QList<PlacedCell>& row = rows[0].cells;
    const QList<PlacedCell>& totals = rows[1].cells;
    EXPECT_EQ(totals[0].rect.left(), row[0].rect.left());
    EXPECT_EQ(totals[0].rect.right(), row[1].rect.right());
    EXPECT_EQ(totals[1].rect.right(), row[2].rect.right());
    EXPECT_EQ(totals[3].rect.right(), row[6].rect.right());
    EXPECT_EQ(totals[3].align, Align::Right);
}

TEST(PrintDocumentLayout, EveryTableSpansTheBodyWithItsColumnsInProportion) {
    struct Case {
        const char* name;
        QPageSize::PageSizeId paper;
        const char16_t* format;
        bool asWideAsTheBody = false;
    };
    // A Letter body is 10,800 twips wide, a portrait A4 body 10,466.
    const Case cases[] = {
        {"narrower, widened", QPageSize::Letter, u"2880|1440|1440|720|720|>1400;"},
        {"one narrow column, widened", QPageSize::A4, u"1440;"},
        {"as wide as the body", QPageSize::Letter, u"2880|1440|1440|720|720|>1400|>2200;", true},
        {"wider, narrowed", QPageSize::A4, u"2160|2880|1440|>1440|>1340|>1340;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TableFormat format = TableFormat::parse(c.format);
        PrintDocument doc;
        doc.setPageSize(QPageSize(c.paper));
        doc.startDoc();
        QStringList cells;
        for (int i = 0; i < format.columnCount(); ++i)
            cells << QStringLiteral("c%1").arg(i);
        doc.addTable(format, cells, {cells, cells}, Shading{Qt::black, Qt::lightGray});
        doc.endDoc();
        doc.layoutAll();
        const QRectF body = doc.bodyRect();
        const QList<PlacedRow> rows = doc.pageRows(0);
        ASSERT_EQ(rows.size(), 3);
        for (const PlacedRow& row : rows) {
            EXPECT_NEAR(row.rect.left(), body.left(), 1e-6);
            EXPECT_NEAR(row.rect.width(), body.width(), 1e-6);
            ASSERT_EQ(row.cells.size(), format.columnCount());
            qreal left = body.left();
            for (int i = 0; i < format.columnCount(); ++i) {
                const QRectF cell = row.cells[i].rect;
                EXPECT_NEAR(cell.left(), left, 1e-6);
                EXPECT_NEAR(cell.width() / body.width(),
                            qreal(format.columns()[i].width) / format.width(), 1e-9);
                left = cell.right();
            }
            EXPECT_NEAR(left, body.right(), 1e-6);
        }
        // A table as wide as the body keeps its twips.
        if (c.asWideAsTheBody) {
            ASSERT_EQ(format.width(), body.width());
            for (int i = 0; i < format.columnCount(); ++i)
                EXPECT_DOUBLE_EQ(rows[1].cells[i].rect.width(), format.columns()[i].width);
        }
    }
}

TEST(PrintDocumentLayout, TableHeaderComesAgainAfterAPageBreak) {
    PrintDocument doc;
    HeadingHandler heading(doc);
    doc.startDoc();
    QString body;
    for (int i = 0; i < 120; ++i)
        body += forSaleRow(i).join(u'|') + u';';
    doc.addTable(kForSale.toText(), QStringLiteral("Desc|Cat|Country|Face|Year|Price"), body,
                 QColor(0, 0, 0), QColor(), true);
    doc.endDoc();
    doc.layoutAll();
    ASSERT_GE(doc.pageCount(), 3);
    for (int p = 0; p < doc.pageCount(); ++p) {
        const QList<PlacedRow> rows = doc.pageRows(p);
        ASSERT_GE(rows.size(), 3);
        EXPECT_TRUE(rows[0].pageStart);
        EXPECT_TRUE(rows[1].tableHeader) << "page " << p;
        EXPECT_EQ(rows[1].cells.front().text, QStringLiteral("Desc"));
        EXPECT_FALSE(rows[2].tableHeader);
    }
}

TEST(PrintDocumentLayout, SlicedLayoutEqualsLayoutInOneGo) {
    auto build = [](PrintDocument& doc, bool sliced) {
        HeadingHandler heading(doc);
        doc.startDoc();
        addForSaleRows(doc, 0, 3000);
        if (sliced) {
            // Layout may run ahead of the report: it waits at the last row until the end.
            EXPECT_FALSE(doc.layoutSome(std::chrono::milliseconds(1000)));
            const int closed = doc.pageCount();
            EXPECT_GT(closed, 0);
            addForSaleRows(doc, 3000, 500);
            doc.endDoc();
            int slices = 0;
            while (!doc.layoutSome(std::chrono::milliseconds(0)))
                ++slices;
            EXPECT_GT(slices, 3);
        } else {
            addForSaleRows(doc, 3000, 500);
            doc.endDoc();
            doc.layoutAll();
        }
        return heading.calls;
    };
    PrintDocument sliced;
    PrintDocument whole;
    const int slicedCalls = build(sliced, true);
    const int wholeCalls = build(whole, false);
    ASSERT_EQ(sliced.pageCount(), whole.pageCount());
    EXPECT_EQ(slicedCalls, sliced.pageCount());
    EXPECT_EQ(wholeCalls, whole.pageCount());
    for (int p = 0; p < whole.pageCount(); ++p)
        ASSERT_EQ(firstCells(sliced.pageRows(p)), firstCells(whole.pageRows(p))) << "page " << p;
}

TEST(PrintDocumentLayout, LandscapeIsWiderAndLaysOutAgain) {
    const TableFormat wide = TableFormat::parse(u"2160|2880|1440|>1440|>1340|>1340;");
    PrintDocument doc;
    doc.setPageSize(QPageSize(QPageSize::A4));
    HeadingHandler heading(doc);
    doc.startDoc();
    for (int i = 0; i < 300; ++i)
        doc.addRow(wide, forSaleRow(i));
    doc.endDoc();
    doc.layoutAll();
    const int portraitPages = doc.pageCount();
    EXPECT_LT(doc.pageWidth(), doc.pageHeight());
    // 10,600 twips do not fit a portrait A4 body: the table narrows to it.
    EXPECT_DOUBLE_EQ(doc.pageRows(1).back().rect.width(), doc.bodyRect().width());

    doc.setOrientation(PrintDocument::Orientation::Landscape);
    EXPECT_EQ(doc.pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_GT(doc.pageWidth(), doc.pageHeight());
    EXPECT_EQ(doc.pageCount(), 0);
    heading.calls = 0;
    doc.layoutAll();
    EXPECT_GT(doc.pageCount(), portraitPages);
    EXPECT_EQ(heading.calls, doc.pageCount());
    // The landscape body is wider than the table, which widens to it.
    EXPECT_DOUBLE_EQ(doc.pageRows(1).back().rect.width(), doc.bodyRect().width());
    EXPECT_GT(doc.bodyRect().width(), wide.width());
    EXPECT_EQ(doc.pageRows(0).front().cells.front().text, QStringLiteral("Description"));
    EXPECT_FALSE(doc.pageRows(0)[1].pageStart);
}

TEST(PrintDocumentLayout, DefaultPaperFollowsTheLocale) {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(PrintDocument().pageLayout().pageSize().id(), QPageSize::Letter);
    EXPECT_EQ(PrintDocument().pageWidth(), 12240);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(PrintDocument().pageLayout().pageSize().id(), QPageSize::A4);
    QLocale::setDefault(saved);
}

TEST(PrintDocumentText, HeaderAndFooterPartsWithThePageNumber) {
    struct Case {
        QString text;
        int page;
        std::array<QString, 3> parts;
    };
    const Case cases[] = {
        {"3/14/2024|Stamps For Sale|Page %d", 7, {"3/14/2024", "Stamps For Sale", "Page 7"}},
        {"|Page %d|", 12, {"", "Page 12", ""}},
        {"Left only", 1, {"Left only", "", ""}},
        {"a|b|c|d", 2, {"a", "b", "c|d"}},
        {"%d|%d|%d", 3, {"3", "3", "3"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PrintDocument::pageTextParts(c.text, c.page), c.parts) << c.text.toStdString();
}

namespace {

// Dark pixels inside a rectangle of the image.
int inkIn(const QImage& image, const QRect& box) {
    int ink = 0;
    const QRect r = box.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (qGray(image.pixel(x, y)) < 160)
                ++ink;
    return ink;
}

} // namespace

TEST(PrintDocumentRender, LongTextStaysInsideItsCell) {
    struct Case {
        const char16_t* format;
        int longCell; // the cell with the long text
        int emptyCell;
    };
    const Case cases[] = {
        {u"700|1500;", 0, 1},  // left-aligned overflows to the right
        {u"1500|>700;", 1, 0}, // right-aligned overflows to the left
        {u"1500|^700|1500;", 1, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.format).toStdString());
        PrintDocument doc;
        doc.startDoc();
        const TableFormat format = TableFormat::parse(c.format);
        QStringList cells(format.columnCount());
        cells[c.longCell] =
            QStringLiteral("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW "
                           "MMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMM $1,234,567.89");
        doc.addRow(format, cells);
        doc.endDoc();
        doc.layoutAll();
        const QList<PlacedRow> rows = doc.pageRows(0);
        ASSERT_EQ(rows.size(), 1);

        const qreal scale = 0.1; // 144 dots to the inch
        QImage image(int(doc.pageWidth() * scale), int(doc.pageHeight() * scale),
                     QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            doc.renderPage(painter, 0, QRectF(image.rect()));
        }
        auto toImage = [&](const QRectF& twips) {
            const QRectF r(twips.topLeft() * scale, twips.size() * scale);
            return r.toAlignedRect().adjusted(1, 1, -1, -1);
        };
        EXPECT_GT(inkIn(image, toImage(rows[0].cells[c.longCell].rect)), 50);
        EXPECT_EQ(inkIn(image, toImage(rows[0].cells[c.emptyCell].rect)), 0);
    }
}
