#pragma once

#include "reports/previewview.h"
#include "reports/printdocument.h"
#include "ui/dialogservice.h"
#include "util/durablefile.h"

#include <QColor>
#include <QDialog>
#include <QList>
#include <QStringList>
#include <array>
#include <functional>

class QPrinter;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTimer;
class QToolButton;

namespace perlinex::reports {

// What the page-start handler puts at the top of every page: the report's column heading row
// on its shade. Nothing while no report is active.
struct PageHeading {
    bool active = false;
    TableFormat format;
    QList<QStringList> rows;
    QColor headingShade;
    QColor bodyShade;

    // From the text forms a report keeps: "2880|>1400;" and "Description|Price;".
    static PageHeading fromText(bool active, const QString& format, const QString& heading,
                                const QColor& headingShade, const QColor& bodyShade);
};

// The page-start handler: adds the heading to the top of the page that begins. Documents laid
// out without the window (the command line's PDF) connect it themselves.
void addPageHeading(PrintDocument& document, const PageHeading& heading);

// Shows the print dialog on the printer; false when the user cancels. The window's own is
// Qt's print dialog; tests put theirs in its place.
using PrintDialogSeam = std::function<bool(QPrinter& printer, int pageCount, QWidget* parent)>;

// The preview window "Report Output": the report's pages, zoom and page navigation, printing,
// PDF export, and "&Ok" that closes it. It is shown beside the other windows (not modal).
//
// A report fills document() (start, header, tables, end), then calls showReport(). The window
// lays the document out a slice at a time while it shows a progress bar; the first page shows
// as soon as it is ready. Closing the window drops the document.
class frmOutput : public QDialog {
    Q_OBJECT
public:
    explicit frmOutput(DialogService& dialogs, QWidget* parent = nullptr);
    ~frmOutput() override;

    PrintDocument& document() { return document_; }
    // The heading the page-start handler adds; set before the report starts its document.
    void setPageHeading(const PageHeading& heading) { heading_ = heading; }
    const PageHeading& pageHeading() const { return heading_; }
    void setPrintDialog(PrintDialogSeam seam) { printDialog_ = std::move(seam); }
    // The files a PDF export must not replace, asked when it is about to be written.
    void setProtectedFiles(std::function<durable::ProtectedFiles()> files) {
        protectedFiles_ = std::move(files);
    }
    // Where a PDF export is suggested (from its suffix), and whom it tells of the file written.
    void setFiling(std::function<QString(const QString& suffix)> suggest,
                   std::function<void(const QString& fileName)> written) {
        suggestFile_ = std::move(suggest);
        fileWritten_ = std::move(written);
    }

    // Shows the window, brings it forward and lays the document out in the background.
    void showReport();

    PreviewView::Zoom zoom() const { return VSPrinter->zoom(); }
    void setZoom(PreviewView::Zoom zoom) { VSPrinter->setZoom(zoom); }
    int currentPage() const { return VSPrinter->currentPage(); } // 0-based
    void goToPage(int index) { VSPrinter->setCurrentPage(index); }

    // Print dialog, then the chosen pages with a progress window that can cancel.
    void print();
    // Asks the file name, then writes the document as a PDF file.
    void exportPdf();

    // Closing ("&Ok", Escape, the title bar) drops the document.
    void done(int result) override;

private:
    void buildControls();
    void addPageHeading();
    void startLayout();
    void layoutSlice();
    void updateControls();
    void pageBoxChanged(int value);

    DialogService& dialogs_;
    PrintDocument document_;
    PageHeading heading_;
    PrintDialogSeam printDialog_;
    std::function<durable::ProtectedFiles()> protectedFiles_;
    std::function<QString(const QString&)> suggestFile_;
    std::function<void(const QString&)> fileWritten_;
    int shownPageCount_ = -1;

    PreviewView* VSPrinter = nullptr;
    QToolButton* cmdFirst = nullptr;
    QToolButton* cmdPrevious = nullptr;
    QSpinBox* txtPage = nullptr;
    QToolButton* cmdNext = nullptr;
    QToolButton* cmdLast = nullptr;
    std::array<QToolButton*, 4> cmdZoom{};
    QPushButton* cmdPrint = nullptr;
    QPushButton* cmdExportPdf = nullptr;
    QProgressBar* prgLayout = nullptr;
    QPushButton* cmdOk = nullptr;
    QTimer* tmrLayout = nullptr;
};

} // namespace perlinex::reports
