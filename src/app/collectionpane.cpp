#include "app/collectionpane.h"

#include "browse/stampbrowser.h"
#include "browse/stamplistmodel.h"

#include <QAction>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTableView>
#include <QVBoxLayout>

namespace perlinex {

CollectionPane::CollectionPane(browse::StampBrowser& browser, const regional::Regional& regional,
                               Runner run, QWidget* parent)
    : QWidget(parent), browser_(browser), run_(std::move(run)) {
    setObjectName(QStringLiteral("fraList"));
    model_ = new browse::StampListModel(browser_, regional, this);

    filter_ = new QLineEdit(this);
    filter_->setObjectName(QStringLiteral("txtFilter"));
    filter_->setAccessibleName(tr("Filter"));
    filter_->setPlaceholderText(tr("Filter: words of the description, number, country, topic "
                                   "or notes"));
    filter_->setClearButtonEnabled(true);
    filter_->installEventFilter(this);

    view_ = new QTableView(this);
    view_->setObjectName(QStringLiteral("lstStamps"));
    view_->setAccessibleName(tr("Collection list"));
    view_->setModel(model_);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the list for the record, as from any other control, instead of walking its
    // cells; the arrows move in it.
    view_->setTabKeyNavigation(false);
    view_->setWordWrap(false);
    view_->setAlternatingRowColors(true);
    view_->verticalHeader()->hide();
    // Fixed row heights: a list of a million rows is laid out without asking for its rows.
    view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 6);
    QHeaderView* header = view_->horizontalHeader();
    header->setSectionsMovable(true);
    header->setSectionsClickable(true);
    header->setHighlightSections(false);
    header->setContextMenuPolicy(Qt::CustomContextMenu);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(filter_);
    layout->addWidget(view_);

    connect(filter_, &QLineEdit::textChanged, this,
            [this](const QString& text) { run_([&] { browser_.setFilter(text); }); });
    connect(view_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& now) {
                if (!following_ && now.isValid())
                    rowChosen(now.row());
            });
    connect(header, &QHeaderView::sectionClicked, this, &CollectionPane::headingClicked);
    connect(header, &QHeaderView::customContextMenuRequested, this, &CollectionPane::columnMenu);
    connect(&browser_, &browse::StampBrowser::currentChanged, this, &CollectionPane::showCurrent);
    connect(&browser_, &browse::StampBrowser::listChanged, this, [this] {
        showSortIndicator();
        showCurrent();
    });
    connect(&browser_, &browse::StampBrowser::modeChanged, this, &CollectionPane::followMode);
    showSortIndicator();
    showCurrent();
    followMode();
}

CollectionPane::~CollectionPane() = default;

void CollectionPane::focusFilter() {
    if (!filter_->isEnabled())
        return;
    filter_->setFocus(Qt::ShortcutFocusReason);
    filter_->selectAll();
}

QByteArray CollectionPane::columnState() const {
    return view_->horizontalHeader()->saveState();
}

void CollectionPane::restoreColumnState(const QByteArray& state) {
    if (!state.isEmpty())
        view_->horizontalHeader()->restoreState(state);
    showSortIndicator();
}

bool CollectionPane::eventFilter(QObject* watched, QEvent* event) {
    // Escape in the filter box clears it.
    if (watched == filter_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
        static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier &&
        !filter_->text().isEmpty()) {
        filter_->clear();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void CollectionPane::showCurrent() {
    following_ = true;
    const std::int64_t row = browser_.currentRow();
    if (row < 0) {
        view_->selectionModel()->clearSelection();
        view_->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    } else {
        const QModelIndex index = model_->index(int(row), 0);
        view_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                            QItemSelectionModel::Rows);
        view_->scrollTo(index);
    }
    following_ = false;
}

void CollectionPane::followMode() {
    const bool free = !browser_.isChanging();
    filter_->setEnabled(free);
    view_->setEnabled(free);
}

void CollectionPane::rowChosen(int row) {
    run_([&] { browser_.moveToRow(row); });
}

void CollectionPane::headingClicked(int column) {
    run_([&] { browser_.sortByColumn(column); });
    showSortIndicator();
}

void CollectionPane::showSortIndicator() {
    QHeaderView* header = view_->horizontalHeader();
    const browse::StampOrder& order = browser_.order();
    header->setSortIndicatorShown(order.byColumn());
    if (order.byColumn())
        header->setSortIndicator(order.column,
                                 order.descending ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void CollectionPane::columnMenu(const QPoint& at) {
    QHeaderView* header = view_->horizontalHeader();
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("mnuColumns"));
    for (int c = 0; c < model_->columnCount(); ++c) {
        QAction* a = menu.addAction(model_->headerData(c, Qt::Horizontal).toString());
        a->setCheckable(true);
        a->setChecked(!header->isSectionHidden(c));
        connect(a, &QAction::toggled, header, [header, c](bool shown) {
            // One column always stays, so that the list can be found again.
            if (!shown && header->count() - header->hiddenSectionCount() <= 1)
                return;
            header->setSectionHidden(c, !shown);
        });
    }
    menu.exec(header->mapToGlobal(at));
}

} // namespace perlinex
