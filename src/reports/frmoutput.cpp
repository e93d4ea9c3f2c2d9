#include "reports/frmoutput.h"

#include "reports/pageoutput.h"
#include "ui/filetarget.h"
#include "ui/slotguard.h"

#include <QButtonGroup>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace perlinex::reports {

namespace {

// A slice of layout between two looks at the event queue: short enough in time on a slow
// machine, and in rows on a fast one, so that a long report always shows its first pages
// while the rest is laid out.
constexpr std::chrono::milliseconds LayoutSlice(25);
constexpr std::uint32_t LayoutSliceRows = 2000;
constexpr int ProgressSteps = 1000;

bool qtPrintDialog(QPrinter& printer, int pageCount, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("dlgPrint"));
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange |
                      QAbstractPrintDialog::PrintCurrentPage |
                      QAbstractPrintDialog::PrintShowPageSize);
    dialog.setMinMax(1, pageCount);
    return dialog.exec() == QDialog::Accepted;
}

template <typename T> T* named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

PageHeading PageHeading::fromText(bool active, const QString& format, const QString& heading,
                                  const QColor& headingShade, const QColor& bodyShade) {
    return PageHeading{active, TableFormat::parse(format), parseTableRows(heading), headingShade,
                       bodyShade};
}

frmOutput::frmOutput(DialogService& dialogs, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs), printDialog_(qtPrintDialog) {
    setObjectName(QStringLiteral("frmOutput"));
    setWindowTitle(tr("Report Output"));
    setModal(false);
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    buildControls();

    connectGuarded(&document_, &PrintDocument::pageStarted, this, &frmOutput::addPageHeading);
    connectGuarded(&document_, &PrintDocument::documentStarted, this, [this] {
        VSPrinter->pagesChanged();
        VSPrinter->setCurrentPage(0);
        updateControls();
    });
    connectGuarded(&document_, &PrintDocument::documentEnded, this, [this] {
        if (isVisible())
            startLayout();
    });

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect avail = screen->availableGeometry();
        const int h = avail.height() * 85 / 100;
        resize(std::min(avail.width() * 9 / 10, h * 8 / 10 + 120), h);
    }
    updateControls();
}

frmOutput::~frmOutput() = default;

void frmOutput::buildControls() {
    auto* container = named(new QWidget, "VideoSoftElastic1");
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(container);
    auto* layout = new QVBoxLayout(container);

    auto* bar = new QHBoxLayout;
    auto toolButton = [&](const char* name, QStyle::StandardPixmap icon, const QString& tip) {
        auto* b = named(new QToolButton, name);
        b->setIcon(style()->standardIcon(icon));
        b->setToolTip(tip);
        b->setAutoRaise(true);
        bar->addWidget(b);
        return b;
    };
    cmdFirst = toolButton("cmdFirst", QStyle::SP_MediaSkipBackward, tr("First Page (Home)"));
    cmdPrevious =
        toolButton("cmdPrevious", QStyle::SP_MediaSeekBackward, tr("Previous Page (PgUp)"));
    txtPage = named(new QSpinBox, "txtPage");
    txtPage->setPrefix(tr("Page "));
    txtPage->setKeyboardTracking(false);
    txtPage->setButtonSymbols(QAbstractSpinBox::NoButtons);
    txtPage->setAlignment(Qt::AlignCenter);
    txtPage->setMinimumWidth(fontMetrics().horizontalAdvance(tr("Page 00000 of 00000")) + 16);
    bar->addWidget(txtPage);
    cmdNext = toolButton("cmdNext", QStyle::SP_MediaSeekForward, tr("Next Page (PgDn)"));
    cmdLast = toolButton("cmdLast", QStyle::SP_MediaSkipForward, tr("Last Page (End)"));
    bar->addSpacing(12);

    // The designed zoom menu, one button per entry.
    const QStringList zoomTexts = tr("Whole &Page|Page &Width|&Two Pages|Thumb&nail").split(u'|');
    auto* zoomGroup = named(new QButtonGroup(this), "grpZoom");
    for (int i = 0; i < int(cmdZoom.size()); ++i) {
        auto* b = new QToolButton;
        b->setObjectName(QStringLiteral("cmdZoom%1").arg(i));
        b->setText(zoomTexts.value(i));
        b->setCheckable(true);
        b->setAutoRaise(true);
        zoomGroup->addButton(b, i);
        bar->addWidget(b);
        cmdZoom[size_t(i)] = b;
    }
    bar->addStretch(1);
    cmdPrint = named(new QPushButton(tr("P&rint...")), "cmdPrint");
    cmdExportPdf = named(new QPushButton(tr("Export P&DF...")), "cmdExportPdf");
    bar->addWidget(cmdPrint);
    bar->addWidget(cmdExportPdf);
    layout->addLayout(bar);

    VSPrinter = named(new PreviewView(document_), "VSPrinter");
    layout->addWidget(VSPrinter, 1);

    auto* foot = new QHBoxLayout;
    prgLayout = named(new QProgressBar, "prgLayout");
    prgLayout->setRange(0, ProgressSteps);
    prgLayout->setFormat(tr("Laying out pages... %p%"));
    prgLayout->setMaximumWidth(320);
    foot->addWidget(prgLayout);
    foot->addStretch(1);
    cmdOk = named(new QPushButton(tr("&Ok")), "cmdOk");
    foot->addWidget(cmdOk);
    layout->addLayout(foot);

    // Return in the page box must not press a button of the window.
    for (QPushButton* b : {cmdPrint, cmdExportPdf, cmdOk}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }

    tmrLayout = named(new QTimer(this), "tmrLayout");
    tmrLayout->setInterval(0);
    connectGuarded(tmrLayout, &QTimer::timeout, this, &frmOutput::layoutSlice);

    connectGuarded(cmdFirst, &QToolButton::clicked, this, [this] { goToPage(0); });
    connectGuarded(cmdPrevious, &QToolButton::clicked, this,
                   [this] { goToPage(currentPage() - 1); });
    connectGuarded(cmdNext, &QToolButton::clicked, this, [this] { goToPage(currentPage() + 1); });
    connectGuarded(cmdLast, &QToolButton::clicked, this,
                   [this] { goToPage(document_.pageCount() - 1); });
    connectGuarded(txtPage, &QSpinBox::valueChanged, this, &frmOutput::pageBoxChanged);
    connectGuarded(zoomGroup, &QButtonGroup::idClicked, this,
                   [this](int id) { setZoom(PreviewView::Zoom(id)); });
    connectGuarded(VSPrinter, &PreviewView::zoomChanged, this,
                   [this](PreviewView::Zoom z) { cmdZoom[size_t(z)]->setChecked(true); });
    connectGuarded(VSPrinter, &PreviewView::currentPageChanged, this, &frmOutput::updateControls);
    connectGuarded(cmdPrint, &QPushButton::clicked, this, &frmOutput::print);
    connectGuarded(cmdExportPdf, &QPushButton::clicked, this, &frmOutput::exportPdf);
    connectGuarded(cmdOk, &QPushButton::clicked, this, &frmOutput::close);
    cmdZoom[size_t(VSPrinter->zoom())]->setChecked(true);

    auto shortcut = [this](const char* name, const QKeySequence& keys, auto fn) {
        auto* s = named(new QShortcut(keys, this), name);
        connectGuarded(s, &QShortcut::activated, this, fn);
    };
    shortcut("keyPageDown", QKeySequence(Qt::Key_PageDown),
             [this] { goToPage(currentPage() + 1); });
    shortcut("keyPageUp", QKeySequence(Qt::Key_PageUp), [this] { goToPage(currentPage() - 1); });
    shortcut("keyHome", QKeySequence(Qt::Key_Home), [this] { goToPage(0); });
    shortcut("keyEnd", QKeySequence(Qt::Key_End), [this] { goToPage(document_.pageCount() - 1); });
    shortcut("keyPrint", QKeySequence(Qt::CTRL | Qt::Key_P), [this] {
        if (cmdPrint->isEnabled())
            print();
    });
    VSPrinter->setFocus();
}

void addPageHeading(PrintDocument& document, const PageHeading& heading) {
    if (!heading.active || heading.rows.isEmpty())
        return;
    document.addTable(heading.format, {}, heading.rows,
                      Shading{heading.headingShade, heading.bodyShade});
}

void frmOutput::addPageHeading() {
    reports::addPageHeading(document_, heading_);
}

void frmOutput::showReport() {
    show();
    raise();
    activateWindow();
    VSPrinter->setFocus();
    startLayout();
}

void frmOutput::startLayout() {
    updateControls();
    if (!document_.isLaidOut())
        tmrLayout->start();
}

void frmOutput::layoutSlice() {
    const bool done = document_.layoutSome(LayoutSlice, LayoutSliceRows);
    if (done || !document_.isEnded())
        tmrLayout->stop();
    updateControls();
}

void frmOutput::updateControls() {
    const int pages = document_.pageCount();
    const bool laidOut = document_.isLaidOut();
    if (pages != shownPageCount_) {
        shownPageCount_ = pages;
        VSPrinter->pagesChanged();
    }
    {
        const QSignalBlocker block(txtPage);
        txtPage->setRange(1, std::max(1, pages));
        txtPage->setSuffix(laidOut ? tr(" of %1").arg(pages) : tr(" of %1+").arg(pages));
        txtPage->setValue(currentPage() + 1);
    }
    txtPage->setEnabled(pages > 0);
    const int page = currentPage();
    cmdFirst->setEnabled(page > 0);
    cmdPrevious->setEnabled(page > 0);
    cmdNext->setEnabled(page + 1 < pages);
    cmdLast->setEnabled(page + 1 < pages);
    cmdPrint->setEnabled(laidOut);
    cmdExportPdf->setEnabled(laidOut);
    prgLayout->setVisible(document_.isStarted() && !laidOut);
    prgLayout->setValue(int(document_.layoutProgress() * ProgressSteps));
}

void frmOutput::pageBoxChanged(int value) {
    goToPage(value - 1);
    updateControls();
}

void frmOutput::print() {
    if (!document_.isLaidOut())
        return;
    const int pages = document_.pageCount();
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(document_.pageLayout());
    printer.setDocName(PrintDocument::pageTextParts(document_.header(), 1)[1]);
    if (!printDialog_ || !printDialog_(printer, pages, this))
        return;
    int first = 0;
    int last = pages - 1;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = printer.fromPage() - 1;
        last = std::max(first, printer.toPage() - 1);
    } else if (printer.printRange() == QPrinter::CurrentPage) {
        first = last = currentPage();
    }
    first = std::clamp(first, 0, pages - 1);
    last = std::clamp(last, first, pages - 1);

    QProgressDialog progress(this);
    progress.setObjectName(QStringLiteral("dlgPrinting"));
    progress.setWindowTitle(tr("Printing..."));
    progress.setCancelButtonText(tr("Cancel"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setRange(0, last - first + 1);
    progress.setMinimumDuration(0);
    const QString where =
        printer.printerName().isEmpty() ? QString() : tr("on the %1").arg(printer.printerName());
    const OutputResult result = printPages(document_, printer, first, last, [&](int done, int) {
        QString label = tr("Now printing Page %1 of %2").arg(first + done + 1).arg(pages);
        if (!where.isEmpty())
            label += u'\n' + where;
        progress.setLabelText(label);
        progress.setValue(done);
        return !progress.wasCanceled();
    });
    if (result == OutputResult::Failed)
        dialogs_.message(tr("The report could not be printed."), ProgramTitle, Buttons::Ok,
                         Icon::Warning);
}

void frmOutput::exportPdf() {
    if (!document_.isLaidOut())
        return;
    const std::optional<QString> chosen = dialogs_.saveFileName(
        tr("Export PDF"), tr("PDF Files (*.pdf)|*.pdf|All Files (*.*)|*.*"),
        suggestFile_ ? suggestFile_(QStringLiteral(".pdf")) : QStringLiteral("Report.pdf"));
    if (!chosen || chosen->isEmpty())
        return;
    QString fileName = *chosen;
    if (QFileInfo(fileName).suffix().isEmpty())
        fileName += QStringLiteral(".pdf");
    const durable::ProtectedFiles keep =
        protectedFiles_ ? protectedFiles_() : durable::ProtectedFiles();
    if (!mayWriteFile(dialogs_, fileName, keep))
        return;
    if (QFileInfo(fileName).isFile() &&
        dialogs_.message(
            tr("The file '%1' already exists.  Do you wish to replace it?").arg(fileName),
            tr("File Exists"), Buttons::YesNo, Icon::None) != Answer::Yes)
        return;

    const int pages = document_.pageCount();
    QProgressDialog progress(this);
    progress.setObjectName(QStringLiteral("dlgExporting"));
    progress.setWindowTitle(tr("Export PDF"));
    progress.setCancelButtonText(tr("Cancel"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setRange(0, pages);
    QString error;
    const OutputResult result = reports::exportPdf(
        document_, fileName, keep,
        [&](int done, int total) {
            progress.setLabelText(tr("Now writing Page %1 of %2").arg(done + 1).arg(total));
            progress.setValue(done);
            return !progress.wasCanceled();
        },
        &error);
    if (result == OutputResult::Failed)
        dialogs_.message(tr("The file '%1' could not be written.\n%2").arg(fileName, error),
                         ProgramTitle, Buttons::Ok, Icon::Warning);
    else if (result == OutputResult::Done && fileWritten_)
        fileWritten_(fileName);
}

void frmOutput::done(int result) {
    tmrLayout->stop();
    document_.clear();
    shownPageCount_ = -1;
    updateControls();
    QDialog::done(result);
}

} // namespace perlinex::reports
