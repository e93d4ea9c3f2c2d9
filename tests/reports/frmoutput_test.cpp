#include "reports/frmoutput.h"
#include "reports_support.h"

#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"
#include "support/wait.h"

#include <QFile>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

using namespace perlinex;
using namespace perlinex::reports;

namespace {

class OutputWindow : public TempFolderTest {
protected:
    ScriptedDialogs dialogs;
    std::unique_ptr<frmOutput> window;

    void SetUp() override {
        TempFolderTest::SetUp();
        window = std::make_unique<frmOutput>(dialogs);
    }
    // A for-sale report of that many rows, the way a report fills the window.
    void fill(int rows, bool active = true) {
        window->setPageHeading(PageHeading::fromText(active, kForSale.toText(), kForSaleHeading,
                                                     QColor(0, 0, 0), QColor(200, 200, 200)));
        PrintDocument& doc = window->document();
        doc.setPreview(true);
        doc.startDoc();
        doc.setHeader(QStringLiteral("3/14/2024|Stamps For Sale|Page %d"));
        addForSaleRows(doc, 0, rows);
        doc.endDoc();
    }
    void showLaidOut() {
        window->showReport();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        ASSERT_SOON(window->document().isLaidOut());
    }
    template <typename T> T* child(const char* name) {
        T* c = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    QString pageBox() { return child<QSpinBox>("txtPage")->text(); }
    QWidget* view() { return child<PreviewView>("VSPrinter"); }
    int pages() { return window->document().pageCount(); }
};

} // namespace

TEST_F(OutputWindow, KeysAndButtonsMoveThroughThePages) {
    fill(300);
    showLaidOut();
    const int n = pages();
    ASSERT_GE(n, 4);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Report Output"));
    EXPECT_EQ(pageBox(), QStringLiteral("Page 1 of %1").arg(n));
    struct Step {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        int page;
    };
    const Step steps[] = {
        {Qt::Key_PageDown, Qt::NoModifier, 2}, {Qt::Key_PageDown, Qt::NoModifier, 3},
        {Qt::Key_PageUp, Qt::NoModifier, 2},   {Qt::Key_End, Qt::NoModifier, n},
        {Qt::Key_PageDown, Qt::NoModifier, n}, {Qt::Key_Home, Qt::NoModifier, 1},
        {Qt::Key_PageUp, Qt::NoModifier, 1}};
    for (const Step& s : steps) {
        QTest::keyClick(view(), s.key, s.mods);
        EXPECT_EQ(pageBox(), QStringLiteral("Page %1 of %2").arg(s.page).arg(n));
        EXPECT_EQ(window->currentPage(), s.page - 1);
    }
    QTest::mouseClick(child<QToolButton>("cmdLast"), Qt::LeftButton);
    EXPECT_EQ(window->currentPage(), n - 1);
    EXPECT_FALSE(child<QToolButton>("cmdNext")->isEnabled());
    QTest::mouseClick(child<QToolButton>("cmdPrevious"), Qt::LeftButton);
    EXPECT_EQ(window->currentPage(), n - 2);

    QSpinBox* box = child<QSpinBox>("txtPage");
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("2"));
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(window->currentPage(), 1);
    EXPECT_TRUE(window->isVisible()); // Return in the page box presses no button
}

TEST_F(OutputWindow, ZoomChoicesShowTheirPages) {
    fill(300);
    showLaidOut();
    window->goToPage(2);
    const QStringList captions = {"Whole &Page", "Page &Width", "&Two Pages", "Thumb&nail"};
    auto* v = static_cast<PreviewView*>(view());
    const QRect port = v->viewport()->rect();
    for (int i = 3; i >= 0; --i) {
        auto* button = child<QToolButton>(QStringLiteral("cmdZoom%1").arg(i).toLatin1());
        EXPECT_EQ(button->text(), captions[i]);
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(int(window->zoom()), i);
        EXPECT_TRUE(button->isChecked());
        const QList<PreviewView::PageSlot> shown = v->slotsShown();
        ASSERT_FALSE(shown.isEmpty());
        switch (PreviewView::Zoom(i)) {
        case PreviewView::Zoom::WholePage:
            ASSERT_EQ(shown.size(), 1);
            EXPECT_EQ(shown[0].page, 2);
            EXPECT_TRUE(QRectF(port).contains(shown[0].rect));
            break;
        case PreviewView::Zoom::PageWidth:
            ASSERT_EQ(shown.size(), 1);
            EXPECT_GT(shown[0].rect.height(), port.height());
            EXPECT_GT(v->verticalScrollBar()->maximum(), 0);
            EXPECT_NEAR(shown[0].rect.width(), port.width() - 32, 1);
            break;
        case PreviewView::Zoom::TwoPages:
            ASSERT_EQ(shown.size(), 2);
            EXPECT_EQ(shown[1].page, 3);
            EXPECT_EQ(shown[0].rect.top(), shown[1].rect.top());
            EXPECT_LT(shown[0].rect.right(), shown[1].rect.left());
            break;
        case PreviewView::Zoom::Thumbnail:
            EXPECT_GT(shown.size(), 2);
            EXPECT_TRUE(
                std::any_of(shown.begin(), shown.end(), [](const auto& s) { return s.page == 2; }));
            break;
        }
    }
}

TEST_F(OutputWindow, EveryPageOpensWithTheHeadingWhileAReportIsActive) {
    for (bool active : {true, false}) {
        SCOPED_TRACE(active);
        fill(150, active);
        window->document().layoutAll();
        ASSERT_GE(pages(), 3);
        for (int p = 0; p < pages(); ++p) {
            const PlacedRow top = window->document().pageRows(p).front();
            EXPECT_EQ(top.pageStart, active);
            EXPECT_EQ(top.cells.front().text,
                      active ? QStringLiteral("Description") : QStringLiteral("Stamp 000000"))
                << "page " << p;
            if (p > 0 || !active)
                break;
        }
    }
}

TEST_F(OutputWindow, ALongReportShowsItsFirstPageWhileTheRestIsLaidOut) {
    fill(60000);
    window->showReport();
    // One pass of the event loop at a time, so that what is seen does not depend on the
    // machine's speed: the first pages come after a slice or two of the many the report needs.
    for (int pass = 0; pass < 100 && pages() == 0; ++pass)
        QCoreApplication::processEvents();
    ASSERT_GT(pages(), 1);
    EXPECT_FALSE(window->document().isLaidOut());
    EXPECT_TRUE(child<QProgressBar>("prgLayout")->isVisible());
    EXPECT_FALSE(child<QPushButton>("cmdPrint")->isEnabled());
    EXPECT_TRUE(pageBox().startsWith(QStringLiteral("Page 1 of ")));
    // The window answers while it lays out.
    QTest::keyClick(view(), Qt::Key_PageDown);
    EXPECT_SOON(window->currentPage() == 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->document().isLaidOut(); }, 60000));
    EXPECT_SOON(!child<QProgressBar>("prgLayout")->isVisible());
    EXPECT_TRUE(child<QPushButton>("cmdPrint")->isEnabled());
    EXPECT_EQ(pageBox(), QStringLiteral("Page 2 of %1").arg(pages()));
}

TEST_F(OutputWindow, OkClosesAndDropsTheDocument) {
    fill(100);
    showLaidOut();
    EXPECT_EQ(child<QPushButton>("cmdOk")->text(), QStringLiteral("&Ok"));
    QTest::mouseClick(child<QPushButton>("cmdOk"), Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(pages(), 0);
    // The next report starts afresh in the same window.
    fill(10);
    showLaidOut();
    EXPECT_EQ(pages(), 1);
    EXPECT_EQ(pageBox(), QStringLiteral("Page 1 of 1"));
}

TEST_F(OutputWindow, PrintHandsThePagesToThePrinterTheDialogChose) {
    struct Case {
        bool byKey;
        QPrinter::PrintRange range;
        int from, to;
        int printed; // -1: all
    };
    const Case cases[] = {{false, QPrinter::AllPages, 0, 0, -1},
                          {true, QPrinter::PageRange, 2, 3, 2},
                          {false, QPrinter::CurrentPage, 0, 0, 1}};
    fill(300);
    showLaidOut();
    for (const Case& c : cases) {
        const QString out = path(QStringLiteral("printed%1.pdf").arg(int(c.range)));
        int dialogPages = 0;
        window->setPrintDialog([&](QPrinter& printer, int pageCount, QWidget*) {
            dialogPages = pageCount;
            EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::Letter);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(out);
            printer.setPrintRange(c.range);
            if (c.range == QPrinter::PageRange)
                printer.setFromTo(c.from, c.to);
            return true;
        });
        // The progress window of the last print took the activation.
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        if (c.byKey)
            QTest::keyClick(view(), Qt::Key_P, Qt::ControlModifier);
        else
            QTest::mouseClick(child<QPushButton>("cmdPrint"), Qt::LeftButton);
        EXPECT_EQ(dialogPages, pages());
        EXPECT_EQ(pdfPageCount(out), c.printed < 0 ? pages() : c.printed);
    }
    // A cancelled print dialog prints nothing.
    window->setPrintDialog([](QPrinter& printer, int, QWidget*) {
        printer.setOutputFileName(QStringLiteral("/nonexistent/never.pdf"));
        return false;
    });
    QTest::mouseClick(child<QPushButton>("cmdPrint"), Qt::LeftButton);
    EXPECT_TRUE(dialogs.prompts.empty());
}

TEST_F(OutputWindow, ExportPdfAsksTheNameAndConfirmsReplacing) {
    fill(200);
    showLaidOut();
    const QString name = path(QStringLiteral("forsale"));
    dialogs.texts.push_back(name);
    QTest::mouseClick(child<QPushButton>("cmdExportPdf"), Qt::LeftButton);
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_EQ(dialogs.prompts[0].kind, QStringLiteral("save"));
    EXPECT_EQ(pdfPageCount(name + QStringLiteral(".pdf")), pages());

    // Again to the same file, answered No: the file stays as it was.
    QFile file(name + QStringLiteral(".pdf"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("mine");
    file.close();
    dialogs.texts.push_back(name + QStringLiteral(".pdf"));
    dialogs.answers.push_back(Answer::No);
    QTest::mouseClick(child<QPushButton>("cmdExportPdf"), Qt::LeftButton);
    ASSERT_EQ(dialogs.prompts.size(), 3u);
    EXPECT_EQ(dialogs.prompts[2].title, QStringLiteral("File Exists"));
    EXPECT_EQ(dialogs.prompts[2].text,
              QStringLiteral("The file '%1' already exists.  Do you wish to replace it?")
                  .arg(name + QStringLiteral(".pdf")));
    EXPECT_EQ(dialogs.prompts[2].buttons, Buttons::YesNo);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("mine"));
    file.close();

    // A file that cannot be written is reported, not passed over.
    dialogs.texts.push_back(path(QStringLiteral("no/such/folder/x.pdf")));
    QTest::mouseClick(child<QPushButton>("cmdExportPdf"), Qt::LeftButton);
    ASSERT_EQ(dialogs.prompts.size(), 5u);
    EXPECT_TRUE(dialogs.prompts[4].text.contains(QStringLiteral("could not be written")));
    EXPECT_EQ(dialogs.prompts[4].icon, Icon::Warning);
}

TEST_F(OutputWindow, EveryControlHasAName) {
    QWidget* container = child<QWidget>("VideoSoftElastic1");
    ASSERT_NE(container, nullptr);
    const QList<QWidget*> controls = container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    ASSERT_FALSE(controls.isEmpty());
    for (QWidget* w : controls)
        EXPECT_FALSE(w->objectName().isEmpty()) << w->metaObject()->className();
}
