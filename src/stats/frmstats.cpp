#include "stats/frmstats.h"

#include "db/dberror.h"
#include "reports/fixedreports.h"
#include "stats/chartexport.h"
#include "stats/statscharts.h"
#include "ui/busycursor.h"
#include "ui/filetarget.h"
#include "ui/slotguard.h"

#include <QChartView>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace perlinex::stats {

namespace {

struct PageSpec {
    std::optional<Breakdown> breakdown;
    const char* name;
    const char* caption;
};

const std::array<PageSpec, 7> kPages = {{
    {std::nullopt, "Glance", QT_TRANSLATE_NOOP("Statistics", "At a &Glance")},
    {Breakdown::Country, "Country", QT_TRANSLATE_NOOP("Statistics", "C&ountry")},
    {Breakdown::Topic, "Topic", QT_TRANSLATE_NOOP("Statistics", "To&pic")},
    {Breakdown::Condition, "Condition", QT_TRANSLATE_NOOP("Statistics", "Co&ndition")},
    {Breakdown::Type, "Type", QT_TRANSLATE_NOOP("Statistics", "T&ype")},
    {Breakdown::Decade, "Decade", QT_TRANSLATE_NOOP("Statistics", "&Decade of Issue")},
    {Breakdown::PurchaseYear, "Purchases", QT_TRANSLATE_NOOP("Statistics", "P&urchases")},
}};

QString documentsFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::homePath();
}

} // namespace

StatisticsWindow::StatisticsWindow(Program& program, StampFilter filter, QWidget* parent)
    : QWidget(parent, Qt::Window), program_(program), filter_(std::move(filter)),
      folder_(documentsFolder()) {
    setObjectName(QStringLiteral("frmStats"));
    setWindowTitle(filter_.isSet() ? tr("Statistics (filtered: %1)")
                                         .arg(filter_.description.isEmpty() ? filter_.condition
                                                                            : filter_.description)
                                   : tr("Statistics"));
    build();
    resize(980, 620);
}

StatisticsWindow::~StatisticsWindow() = default;

void StatisticsWindow::build() {
    tabStats = new QTabWidget;
    tabStats->setObjectName(QStringLiteral("tabStats"));
    for (std::size_t i = 0; i < kPages.size(); ++i) {
        Page& page = pages_[i];
        page.breakdown = kPages[i].breakdown;
        page.name = QLatin1String(kPages[i].name);
        const QString what =
            page.breakdown ? breakdownHeading(*page.breakdown) : tr("The collection at a glance");
        page.chart = new QChartView;
        page.chart->setObjectName(QStringLiteral("cht") + page.name);
        page.chart->setAccessibleName(tr("Chart: %1").arg(what));
        page.chart->setRenderHint(QPainter::Antialiasing);
        page.chart->setMinimumWidth(420);
        page.table = new QTableWidget;
        page.table->setObjectName(QStringLiteral("grd") + page.name);
        page.table->setAccessibleName(tr("Figures: %1").arg(what));
        page.table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        page.table->setSelectionBehavior(QAbstractItemView::SelectRows);
        page.table->setSelectionMode(QAbstractItemView::SingleSelection);
        page.table->verticalHeader()->hide();
        page.table->horizontalHeader()->setStretchLastSection(true);
        connectGuarded(page.table, &QTableWidget::cellActivated, this,
                       [this, &page](int row, int) { pickRow(page, row); });
        auto* split = new QSplitter(Qt::Horizontal);
        split->setObjectName(QStringLiteral("spl") + page.name);
        split->addWidget(page.chart);
        split->addWidget(page.table);
        split->setStretchFactor(0, 3);
        split->setStretchFactor(1, 2);
        split->setSizes({580, 380});
        auto* tab = new QWidget;
        tab->setObjectName(QStringLiteral("tab") + page.name);
        auto* box = new QVBoxLayout(tab);
        box->addWidget(split);
        tabStats->addTab(tab, QCoreApplication::translate("Statistics", kPages[i].caption));
    }
    connectGuarded(tabStats, &QTabWidget::currentChanged, this,
                   [this](int index) { showPage(index); });

    const auto button = [](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    optCount = new QRadioButton(tr("&Count"));
    optCount->setObjectName(QStringLiteral("optCount"));
    optCount->setChecked(true);
    optValue = new QRadioButton(tr("&Value"));
    optValue->setObjectName(QStringLiteral("optValue"));
    connectGuarded(optCount, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            setMeasure(Measure::Count);
    });
    connectGuarded(optValue, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            setMeasure(Measure::Value);
    });
    cmdExportChart = button("cmdExportChart", tr("Export Ch&art..."));
    cmdExportFigures = button("cmdExportFigures", tr("Export &Figures..."));
    cmdHelp = button("cmdHelp", tr("&Help"));
    cmdClose = button("cmdClose", tr("C&lose"));
    connectGuarded(cmdExportChart, &QPushButton::clicked, this, &StatisticsWindow::exportChart);
    connectGuarded(cmdExportFigures, &QPushButton::clicked, this, &StatisticsWindow::exportFigures);
    connectGuarded(cmdHelp, &QPushButton::clicked, this, [this] {
        if (program_.showHelpPage)
            program_.showHelpPage(StatisticsHelpPage);
    });
    connectGuarded(cmdClose, &QPushButton::clicked, this, [this] { close(); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(optCount);
    buttons->addWidget(optValue);
    buttons->addStretch();
    buttons->addWidget(cmdExportChart);
    buttons->addWidget(cmdExportFigures);
    buttons->addWidget(cmdHelp);
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabStats);
    layout->addLayout(buttons);
    updateMeasureButtons();
}

StatisticsWindow::Page& StatisticsWindow::currentPage() {
    return pages_[std::size_t(std::max(tabStats->currentIndex(), 0))];
}

void StatisticsWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    runGuarded([this] { showPage(tabStats->currentIndex()); });
}

void StatisticsWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        if (program_.showHelpPage)
            program_.showHelpPage(StatisticsHelpPage);
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void StatisticsWindow::showPage(int index) {
    if (index < 0)
        return;
    Page& page = pages_[std::size_t(index)];
    updateMeasureButtons();
    // A page already drawn stays as it is: Count and Value, and recompute(), redraw it.
    if (!page.computed && compute(page))
        refresh(page);
}

bool StatisticsWindow::compute(Page& page) {
    const BusyCursor busy;
    page.computed = trap(program_, [&] {
        if (!program_.CollectionDb)
            throw db::DbError(db::err::NoDatabase, tr("No collection is open."));
        CollectionStatistics statistics(*program_.CollectionDb, program_.regional, filter_);
        if (page.breakdown)
            page.groups = statistics.groups(*page.breakdown);
        else
            page.glance = statistics.glance();
    });
    return page.computed;
}

void StatisticsWindow::recompute() {
    for (Page& page : pages_)
        page.computed = false;
    if (isVisible())
        showPage(tabStats->currentIndex());
}

void StatisticsWindow::refresh(Page& page) {
    QChart* chart = nullptr;
    const auto pick = [this, &page](int row) { runGuarded([&] { pickRow(page, row); }); };
    if (!page.breakdown) {
        page.shown = glanceTable(page.glance, filter_, &program_.regional);
        const std::array<ShownPart, 4> parts = shownParts(page.glance, filter_);
        chart = glanceChart(parts, [this, parts](int index) {
            runGuarded([&] {
                emit showStampsRequested(parts[std::size_t(index)].condition,
                                         parts[std::size_t(index)].label);
            });
        });
    } else {
        page.rows = shownGroups(*page.breakdown, page.groups, measure_, filter_,
                                program_.CollectionDb->storeKind());
        page.shown = breakdownTable(*page.breakdown, page.rows, filter_, &program_.regional);
        chart = *page.breakdown == Breakdown::PurchaseYear
                    ? purchaseChart(page.rows, pick)
                    : breakdownChart(*page.breakdown, page.rows, measure_, pick);
    }
    QChart* old = page.chart->chart();
    page.chart->setChart(chart);
    delete old;
    fillTable(page);
}

void StatisticsWindow::fillTable(Page& page) {
    QTableWidget* t = page.table;
    const FigureTable& shown = page.shown;
    t->clear();
    t->setColumnCount(int(shown.headings.size()));
    t->setHorizontalHeaderLabels(shown.headings);
    t->setRowCount(int(shown.rows.size()));
    for (int r = 0; r < int(shown.rows.size()); ++r) {
        const QStringList& cells = shown.rows[std::size_t(r)];
        for (int c = 0; c < int(cells.size()); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            t->setItem(r, c, item);
        }
    }
    t->resizeColumnsToContents();
}

void StatisticsWindow::pickRow(const Page& page, int row) {
    if (row < 0 || row >= int(page.shown.conditions.size()))
        return;
    emit showStampsRequested(page.shown.conditions[std::size_t(row)],
                             page.shown.descriptions[std::size_t(row)]);
}

void StatisticsWindow::setMeasure(Measure measure) {
    if (measure == measure_)
        return;
    measure_ = measure;
    (measure == Measure::Count ? optCount : optValue)->setChecked(true);
    // Every breakdown shown so far is shown anew; the figures stay as computed.
    for (Page& page : pages_)
        if (page.computed && page.breakdown)
            refresh(page);
}

void StatisticsWindow::updateMeasureButtons() {
    const std::optional<Breakdown> b =
        pages_[std::size_t(std::max(tabStats->currentIndex(), 0))].breakdown;
    const bool bars = b && *b != Breakdown::PurchaseYear;
    optCount->setEnabled(bars);
    optValue->setEnabled(bars);
}

std::optional<QString> StatisticsWindow::chooseFile(const QString& title, const QString& filter,
                                                    const QString& defaultName) {
    std::optional<QString> chosen =
        program_.dialogs().saveFileName(title, filter, QDir(folder_).filePath(defaultName));
    if (!chosen || chosen->isEmpty())
        return std::nullopt;
    if (!mayWriteFile(program_.dialogs(), *chosen, program_.collectionFiles()))
        return std::nullopt;
    if (!reports::ConfirmReplace(program_, *chosen))
        return std::nullopt;
    return chosen;
}

void StatisticsWindow::exportFile(const QString& title, const QString& filter,
                                  const QString& defaultName,
                                  const std::function<void(const QString& file)>& write) {
    const std::optional<QString> file = chooseFile(title, filter, defaultName);
    if (!file)
        return;
    try {
        const BusyCursor busy;
        write(*file);
        folder_ = QFileInfo(*file).absolutePath();
    } catch (const durable::FileError& e) {
        program_.dialogs().message(
            tr("The file '%1' could not be written; nothing has been changed.\n%2")
                .arg(*file, e.text()),
            ProgramTitle, Buttons::Ok, Icon::Warning);
    }
}

void StatisticsWindow::exportChart() {
    Page& page = currentPage();
    if (!page.computed)
        return;
    exportFile(tr("Export Chart"), tr("PNG Images (*.png)|*.png|SVG Drawings (*.svg)|*.svg"),
               QStringLiteral("statistics-%1.png").arg(page.name.toLower()),
               [&](const QString& file) {
                   writeChartFile(*page.chart, page.chart->chart()->title(), file,
                                  program_.collectionFiles());
               });
}

void StatisticsWindow::exportFigures() {
    Page& page = currentPage();
    if (!page.computed)
        return;
    // Files take plain numbers, which every spreadsheet reads the same.
    const FigureTable table = page.breakdown
                                  ? breakdownTable(*page.breakdown, page.rows, filter_, nullptr)
                                  : glanceTable(page.glance, filter_, nullptr);
    exportFile(
        tr("Export Figures"), tr("CSV Files (*.csv)|*.csv|All Files (*.*)|*.*"),
        QStringLiteral("statistics-%1.csv").arg(page.name.toLower()),
        [&](const QString& file) { writeFiguresFile(table, file, program_.collectionFiles()); });
}

StatisticsWindow* showStatistics(Program& program, QWidget* parent, StampFilter filter) {
    StatisticsWindow* window = nullptr;
    if (parent)
        window = parent->findChild<StatisticsWindow*>(QStringLiteral("frmStats"),
                                                      Qt::FindDirectChildrenOnly);
    // One closed already (deleted at the next turn of the event loop), or over other stamps,
    // makes way for a new one.
    if (window && (!window->isVisible() || window->filter().condition != filter.condition)) {
        window->close();
        window->setParent(nullptr);
        window = nullptr;
    }
    if (window) {
        window->recompute();
    } else {
        window = new StatisticsWindow(program, std::move(filter), parent);
        window->setAttribute(Qt::WA_DeleteOnClose);
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

} // namespace perlinex::stats
