// The main window's controls, tabs and menus, and the wiring of their events. The controls
// are made from the table of stamp fields; this file only says where each one stands.
#include "app/collectionpane.h"
#include "app/frmabout.h"
#include "app/frmmain.h"
#include "app/helpviewer.h"
#include "app/pictureview.h"
#include "app/thumbnails.h"
#include "browse/stamplistmodel.h"
#include "dates/datefield.h"
#include "reports/fixedreports.h"
#include "stats/frmstats.h"
#include "ui/codelistsearch.h"
#include "ui/slotguard.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace perlinex {

namespace {

// Where the fields stand on the first two tabs: rows of two cells, each cell one field (or
// check boxes sharing it, "forsale|sold"). The tab order follows the rows.
const char* const kGeneralRows[][2] = {
    {"CouID", "Color"}, {"typeID", "watermark"}, {"formID", "Errors"}, {"papID", "issued"},
    {"CanID", "gumID"}, {"perfID", nullptr},     {"topID", nullptr},
};
const char* const kPriceRows[][2] = {
    {"pricepaid", "totalpaid"}, {"catvalue", "totalval"},     {"priceask", "totalsales"},
    {"purchased", "ConID"},     {"datesold", "forsale|sold"},
};

// A pick list shows this many rows when it drops down, not the whole screen.
constexpr int ListRows = 20;

QPushButton* button(const char* name, const QString& caption) {
    auto* b = new QPushButton(caption);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    // A click leaves the focus in the field being typed into, as the button's Alt+letter
    // does: a store runs that field's check itself, once.
    b->setFocusPolicy(Qt::TabFocus);
    return b;
}

// Wide enough for what the field holds, and no wider when the window grows: a quantity does
// not stretch across a maximised window.
void capWidth(QWidget* w, int characters) {
    const int text = w->fontMetrics().horizontalAdvance(QLatin1Char('0')) * characters;
    w->setMaximumWidth(std::max(w->sizeHint().width(), text + 2 * w->fontMetrics().height()));
}

// How many characters a field's box is made for, by the kind of field; 0 for no limit.
int widthInCharacters(const db::StampField& f) {
    switch (f.kind) {
    case db::FieldKind::Money:
    case db::FieldKind::Integer16:
    case db::FieldKind::Integer32:
        return 16;
    case db::FieldKind::Date:
        return 14;
    case db::FieldKind::CodeRef:
        return 36;
    case db::FieldKind::Text:
        return f.size > 0 && f.size <= 50 ? std::max(f.size, 20) : 0;
    default:
        return 0;
    }
}

// A computed box: read-only, out of the tab order, and drawn as such.
void makeComputed(QLineEdit* e) {
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    QPalette p = e->palette();
    p.setColor(QPalette::Base, p.color(QPalette::Window));
    e->setPalette(p);
}

} // namespace

// ---------------------------------------------------------------------------------------
// Layout

QWidget* frmMain::makeControl(const db::StampField& f) {
    const QString caption = db::fieldText(f.caption);
    QWidget* w = nullptr;
    switch (f.kind) {
    case db::FieldKind::Boolean:
        w = new QCheckBox(caption);
        break;
    case db::FieldKind::LongText: {
        auto* e = new QPlainTextEdit;
        e->setTabChangesFocus(true);
        w = e;
        break;
    }
    case db::FieldKind::CodeRef: {
        auto* c = new QComboBox;
        c->setEditable(false); // pick-only: no free text
        c->setMinimumContentsLength(18);
        c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        c->setMaxVisibleItems(ListRows);
        CodeListSearch::attach(c); // typing finds an entry; Return or Tab takes it
        codeLists_.push_back(c);
        w = c;
        break;
    }
    case db::FieldKind::Date:
        w = f.name == QLatin1String("issued")      ? DateField::issued(program_)
            : f.name == QLatin1String("purchased") ? DateField::purchased(program_)
                                                   : DateField::sold(program_);
        break;
    default: {
        auto* e = new QLineEdit;
        if (f.size > 0)
            e->setMaxLength(f.size);
        if (f.kind == db::FieldKind::Money && f.rule != db::EntryRule::Number)
            e->setAlignment(Qt::AlignRight);
        if (f.rule == db::EntryRule::Total)
            makeComputed(e);
        w = e;
        break;
    }
    }
    w->setObjectName(QLatin1String(f.control));
    if (const int characters = widthInCharacters(f))
        capWidth(w, characters);
    fields_.push_back({&f, w});
    return w;
}

void frmMain::addCell(QGridLayout* grid, int row, int column, const char* fields) {
    if (!fields)
        return;
    const QStringList names = QString::fromLatin1(fields).split(QLatin1Char('|'));
    if (names.size() > 1) {
        auto* box = new QHBoxLayout;
        for (const QString& n : names)
            box->addWidget(control(n));
        box->addStretch();
        grid->addLayout(box, row, column * 2 + 1);
        return;
    }
    QWidget* w = control(names.front());
    const db::StampField* f = db::stampField(names.front());
    if (f->kind != db::FieldKind::Boolean) {
        auto* label = new QLabel(db::fieldText(f->caption));
        label->setBuddy(w);
        if (f->name == QLatin1String("pricepaid")) {
            lblPrice = label;
            label->setObjectName(QStringLiteral("lblPrice"));
        }
        grid->addWidget(label, row, column * 2);
    }
    grid->addWidget(w, row, column * 2 + 1);
}

QWidget* frmMain::buildPage(const char* const (*rows)[2], int rowCount) {
    auto* page = new QWidget;
    auto* g = new QGridLayout(page);
    for (int r = 0; r < rowCount; ++r)
        for (int c = 0; c < 2; ++c)
            addCell(g, r, c, rows[r][c]);
    g->setRowStretch(rowCount, 1);
    g->setColumnStretch(1, 1);
    g->setColumnStretch(3, 1);
    return page;
}

void frmMain::buildControls() {
    for (const db::StampField& f : db::stampFields())
        if (f.control)
            makeControl(f);
    txtDescr = qobject_cast<QLineEdit*>(control(QStringLiteral("descr")));
    txtQuantity = qobject_cast<QLineEdit*>(control(QStringLiteral("quantity")));
    chkWantList = qobject_cast<QCheckBox*>(control(QStringLiteral("wantlist")));
    chkForSale = qobject_cast<QCheckBox*>(control(QStringLiteral("forsale")));
    chkSold = qobject_cast<QCheckBox*>(control(QStringLiteral("sold")));

    auto* top = new QGridLayout;
    addCell(top, 0, 0, "descr");
    top->addWidget(txtDescr, 0, 1, 1, 5);
    addCell(top, 1, 0, "catnum");
    addCell(top, 1, 1, "face");
    addCell(top, 1, 2, "Year");
    addCell(top, 2, 0, "quantity");
    addCell(top, 2, 1, "used");
    addCell(top, 2, 2, "wantlist");
    top->setColumnStretch(1, 2);
    top->setColumnStretch(3, 1);
    top->setColumnStretch(5, 1);

    SSTab1 = new QTabWidget;
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->setAccessibleName(tr("Stamp record"));
    SSTab1->addTab(buildPage(kGeneralRows, int(std::size(kGeneralRows))), tr("General"));
    SSTab1->addTab(buildPage(kPriceRows, int(std::size(kPriceRows))), tr("  Stamp Prices"));
    SSTab1->addTab(buildNotesTab(), tr("Notes"));
    SSTab1->addTab(buildImageTab(), tr("Image"));

    cmdFirst = button("cmdFirst", tr("Firs&t"));
    cmdPrevious = button("cmdPrevious", tr("&Previous"));
    cmdNext = button("cmdNext", tr("&Next"));
    cmdLast = button("cmdLast", tr("&Last"));
    cmdAddNew = button("cmdAddNew", tr("&Add New"));
    cmdDelete = button("cmdDelete", tr("&Delete"));
    cmdFind = button("cmdFind", tr("F&ind"));
    cmdUpdate = button("cmdUpdate", tr("&Update"));
    cmdCancel = button("cmdCancel", tr("&Cancel"));
    cmdHelp = button("cmdHelp", tr("Help"));

    // The row is a widget of its own so that a screen reader can name the group.
    auto* buttonRow = new QWidget;
    buttonRow->setObjectName(QStringLiteral("fraRecordButtons"));
    buttonRow->setAccessibleName(tr("Record buttons"));
    auto* buttons = new QHBoxLayout(buttonRow);
    buttons->setContentsMargins(0, 0, 0, 0);
    for (QPushButton* b : {cmdFirst, cmdPrevious, cmdNext, cmdLast, cmdAddNew, cmdFind, cmdDelete,
                           cmdUpdate, cmdCancel})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(cmdHelp);

    const std::pair<QPushButton*, void (frmMain::*)()> actions[] = {
        {cmdFirst, &frmMain::moveFirst}, {cmdPrevious, &frmMain::movePrevious},
        {cmdNext, &frmMain::moveNext},   {cmdLast, &frmMain::moveLast},
        {cmdAddNew, &frmMain::addNew},   {cmdUpdate, &frmMain::update},
        {cmdCancel, &frmMain::cancel},   {cmdDelete, &frmMain::deleteStamp},
        {cmdFind, &frmMain::find}};
    for (const auto& [b, method] : actions)
        connectGuarded(b, &QPushButton::clicked, this,
                       [this, method = method] { guard([this, method] { (this->*method)(); }); });
    connectGuarded(cmdHelp, &QPushButton::clicked, this, [this] {
        if (program_.showHelpContext)
            program_.showHelpContext(0);
    });

    lblEmpty = new QLabel;
    lblEmpty->setObjectName(QStringLiteral("lblEmpty"));
    lblEmpty->setWordWrap(true);
    QFont emphasis = lblEmpty->font();
    emphasis.setBold(true);
    lblEmpty->setFont(emphasis);

    auto* central = new QWidget;
    central->setObjectName(QStringLiteral("VideoSoftElastic1"));
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(lblEmpty);
    layout->addLayout(top);
    layout->addWidget(SSTab1, 1);
    layout->addWidget(buttonRow);
    buildList(central);
    statusBar()->setObjectName(QStringLiteral("statusBar")); // where written reports are told
    lblPosition = new QLabel;
    lblPosition->setObjectName(QStringLiteral("lblPosition"));
    statusBar()->addPermanentWidget(lblPosition);
    setTabChain();
    buildKeys();
}

QWidget* frmMain::buildNotesTab() {
    auto* page = new QWidget;
    auto* g = new QGridLayout(page);
    auto* notesLabel = new QLabel(db::fieldText(db::stampField(QStringLiteral("notes"))->caption));
    notesLabel->setBuddy(control(QStringLiteral("notes")));
    g->addWidget(notesLabel, 0, 0, Qt::AlignTop);
    g->addWidget(control(QStringLiteral("notes")), 0, 1);
    addCell(g, 1, 0, "misc1");
    addCell(g, 2, 0, "misc2");
    g->setRowStretch(0, 1);
    return page;
}

QWidget* frmMain::buildImageTab() {
    Image1 = new PictureView;
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAccessibleName(tr("Stamp picture"));
    cmdPicLoad = button("cmdPicLoad", tr("L&oad Image"));
    cmdPicPaste = button("cmdPicPaste", tr("Paste Ima&ge"));
    cmdPicCopy = button("cmdPicCopy", tr("Cop&y Image"));
    auto* actualSize = button("cmdPicActualSize", tr("Actual Si&ze"));
    actualSize->setCheckable(true);
    actualSize->setToolTip(tr("Shows the picture at its full size; otherwise it is fitted to "
                              "the view."));
    connectGuarded(cmdPicLoad, &QPushButton::clicked, this,
                   [this] { guard([this] { loadPicture(); }); });
    connectGuarded(cmdPicPaste, &QPushButton::clicked, this,
                   [this] { guard([this] { pastePicture(); }); });
    connectGuarded(cmdPicCopy, &QPushButton::clicked, this, &frmMain::copyPicture);
    connect(actualSize, &QPushButton::toggled, Image1, &PictureView::setActualSize);
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    v->addWidget(Image1, 1);
    auto* h = new QHBoxLayout;
    h->addWidget(cmdPicLoad);
    h->addWidget(cmdPicPaste);
    h->addWidget(cmdPicCopy);
    h->addStretch();
    h->addWidget(actualSize);
    v->addLayout(h);
    connectGuarded(SSTab1, &QTabWidget::currentChanged, this, [this](int index) {
        if (index == ImageTab)
            guard([this] { ShowStampPicture(); });
    });
    return page;
}

// The Tab key goes through the fields above the tabs, the tab bar, the page in front row by
// row, and then the buttons.
void frmMain::setTabChain() {
    QList<QWidget*> chain;
    for (const char* name : {"descr", "catnum", "face", "Year", "quantity", "used", "wantlist"})
        chain << control(QLatin1String(name));
    chain << SSTab1;
    auto addRows = [&](const auto& rows) {
        for (const auto& row : rows)
            for (const char* cell : row)
                if (cell)
                    for (const QString& n : QString::fromLatin1(cell).split(QLatin1Char('|')))
                        chain << control(n);
    };
    addRows(kGeneralRows);
    addRows(kPriceRows);
    for (const char* name : {"notes", "misc1", "misc2"})
        chain << control(QLatin1String(name));
    chain << cmdPicLoad << cmdPicPaste << cmdPicCopy
          << findChild<QPushButton*>(QStringLiteral("cmdPicActualSize")) << cmdFirst << cmdPrevious
          << cmdNext << cmdLast << cmdAddNew << cmdFind << cmdDelete << cmdUpdate << cmdCancel
          << cmdHelp;
    // Computed boxes never take the focus, so they have no place in the chain.
    chain.removeIf([](const QWidget* w) { return !(w->focusPolicy() & Qt::TabFocus); });
    for (int i = 0; i + 1 < chain.size(); ++i)
        setTabOrder(chain[i], chain[i + 1]);
}

// The collection list beside the record, in a splitter; its thumbnails are read off the main
// thread for the rows shown, the column hidden until the user shows it.
void frmMain::buildList(QWidget* record) {
    pane_ = new CollectionPane(browser_, program_.regional,
                               [this](const std::function<void()>& fn) { guard(fn); });
    constexpr int ThumbnailSize = 48;
    thumbnails_ = new Thumbnails([this](std::int64_t id) { return pictures_.findFile(id); },
                                 ThumbnailSize, this);
    browse::StampListModel& model = pane_->model();
    model.setPictureSource([this](std::int64_t id) { return thumbnails_->picture(id); },
                           ThumbnailSize);
    connect(thumbnails_, &Thumbnails::ready, &model, &browse::StampListModel::pictureReady);
    pane_->view()->horizontalHeader()->setSectionHidden(model.pictureColumn(), true);
    splList = new QSplitter(Qt::Horizontal);
    splList->setObjectName(QStringLiteral("splList"));
    splList->setChildrenCollapsible(false);
    splList->addWidget(pane_);
    splList->addWidget(record);
    splList->setStretchFactor(0, 0);
    splList->setStretchFactor(1, 1);
    setCentralWidget(splList);
}

// Keys that work from any field: Escape drops an edit as "Cancel" does and Ctrl+S stores it as
// "Update"; F1 opens the help; Ctrl+PgDown and Ctrl+Tab turn to the record's next page,
// Ctrl+PgUp and Ctrl+Shift+Tab to the previous one, without touching the field that has the
// focus.
void frmMain::buildKeys() {
    const auto key = [this](const char* name, const QList<QKeySequence>& keys) {
        auto* a = new QAction(this);
        a->setObjectName(QLatin1String(name));
        a->setShortcuts(keys);
        addAction(a);
        return a;
    };
    // Escape in the filter box clears it, and in the empty box shows every stamp again after a
    // bar of the statistics narrowed the list (the window's Escape takes the key before the box).
    connectGuarded(
        key("actCancelKey", {QKeySequence(Qt::Key_Escape)}), &QAction::triggered, this, [this] {
            if (changing())
                guard([this] { cancel(); });
            else if (pane_->filterBox()->hasFocus() && !pane_->filterBox()->text().isEmpty())
                pane_->filterBox()->clear();
            else if (pane_->filterBox()->hasFocus())
                guard([this] { browser_.setCondition(QString(), QString()); });
        });
    // Ctrl+F and Ctrl+L: the filter box, the list shown first if it was not.
    connectGuarded(key("actFilterKey",
                       {QKeySequence(Qt::CTRL | Qt::Key_F), QKeySequence(Qt::CTRL | Qt::Key_L)}),
                   &QAction::triggered, this, [this] {
                       if (changing())
                           return;
                       showList(true);
                       pane_->focusFilter();
                   });
    connectGuarded(key("actStoreKey", {QKeySequence(Qt::CTRL | Qt::Key_S)}), &QAction::triggered,
                   this, [this] {
                       if (changing())
                           guard([this] { update(); });
                   });
    connectGuarded(key("actHelpKey", {QKeySequence(Qt::Key_F1)}), &QAction::triggered, this,
                   [this] {
                       if (program_.showHelpContext)
                           program_.showHelpContext(0);
                   });
    connectGuarded(key("actNextPage", {QKeySequence(Qt::CTRL | Qt::Key_PageDown),
                                       QKeySequence(Qt::CTRL | Qt::Key_Tab)}),
                   &QAction::triggered, this, [this] { turnPage(1); });
    connectGuarded(key("actPreviousPage", {QKeySequence(Qt::CTRL | Qt::Key_PageUp),
                                           QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
                                           QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab)}),
                   &QAction::triggered, this, [this] { turnPage(-1); });
}

// A field on the page that is turned away hands the focus to the first field of the new page.
void frmMain::turnPage(int step) {
    QWidget* old = SSTab1->currentWidget();
    const bool focusOnPage = old->isAncestorOf(QApplication::focusWidget());
    const int count = SSTab1->count();
    SSTab1->setCurrentIndex((SSTab1->currentIndex() + step + count) % count);
    if (!focusOnPage)
        return;
    QWidget* page = SSTab1->currentWidget();
    for (QWidget* f = page->nextInFocusChain(); f != page; f = f->nextInFocusChain())
        if (page->isAncestorOf(f) && f->isVisible() && f->isEnabled() &&
            (f->focusPolicy() & Qt::TabFocus)) {
            f->setFocus(Qt::TabFocusReason);
            return;
        }
}

void frmMain::buildMenus() {
    auto action = [](QMenu* menu, const QString& name, const QString& text) {
        QAction* a = menu->addAction(text);
        a->setObjectName(name);
        return a;
    };
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->setObjectName(QStringLiteral("mnuFileMenu"));
    connectGuarded(action(file, QStringLiteral("mnuNewCollection"), tr("&New Collection...")),
                   &QAction::triggered, this, [this] { guard([this] { newCollection(); }); });
    connectGuarded(action(file, QStringLiteral("mnuOpenCollection"), tr("&Open Collection...")),
                   &QAction::triggered, this, [this] { guard([this] { openCollection(); }); });
    connectGuarded(action(file, QStringLiteral("mnuOpenShared"), tr("Open &Shared Collection...")),
                   &QAction::triggered, this,
                   [this] { guard([this] { openSharedCollection(); }); });
    mnuRecent = file->addMenu(tr("Open &Recent"));
    mnuRecent->setObjectName(QStringLiteral("mnuRecent"));
    file->addSeparator();
    connectGuarded(action(file, QStringLiteral("mnuBackup"), tr("&Backup")), &QAction::triggered,
                   this, [this] { guard([this] { backup(); }); });
    mnuPack = action(file, QStringLiteral("mnuPack"), tr("&Pack Database"));
    connectGuarded(mnuPack, &QAction::triggered, this,
                   [this] { guard([this] { packDatabase(); }); });
    file->addSeparator();
    connectGuarded(action(file, QStringLiteral("mnuExportCsv"), tr("&Export CSV...")),
                   &QAction::triggered, this, [this] { guard([this] { exportCsv(); }); });
    mnuImport = action(file, QStringLiteral("mnuImport"), tr("&Import..."));
    connectGuarded(mnuImport, &QAction::triggered, this,
                   [this] { guard([this] { importStamps(); }); });
    file->addSeparator();
    mnuExit = action(file, QStringLiteral("mnuExit"), tr("E&xit"));
    connectGuarded(mnuExit, &QAction::triggered, this, &frmMain::exitProgram);

    QMenu* sort = menuBar()->addMenu(tr("&Sort"));
    sort->setObjectName(QStringLiteral("mnuSortMenu"));
    const QString sortNames[4] = {QString(), tr("Sort by &Description"),
                                  tr("Sort by &Catalog Number"), tr("Sort by &Issue Date")};
    for (int i = 1; i <= 3; ++i) {
        mnuSort[i] = action(sort, QStringLiteral("mnuSort%1").arg(i), sortNames[i]);
        mnuSort[i]->setCheckable(true);
        connectGuarded(mnuSort[i], &QAction::triggered, this,
                       [this, i] { guard([this, i] { sortBy(i); }); });
    }
    mnuSort[1]->setChecked(true);

    QMenu* view = menuBar()->addMenu(tr("&View"));
    view->setObjectName(QStringLiteral("mnuViewMenu"));
    mnuViewList = action(view, QStringLiteral("mnuViewList"), tr("Collection &List"));
    mnuViewList->setCheckable(true);
    mnuViewList->setChecked(true);
    mnuViewList->setShortcut(QKeySequence(Qt::Key_F8));
    connectGuarded(mnuViewList, &QAction::triggered, this, &frmMain::showList);

    QMenu* maintainMenu = menuBar()->addMenu(tr("&Maintain"));
    maintainMenu->setObjectName(QStringLiteral("mnuMaintain"));
    for (const db::CodeTable& t : db::codeTables()) {
        const int i = t.number;
        mnuMaint[i] =
            action(maintainMenu, QStringLiteral("mnuMaint%1").arg(i), db::fieldText(t.menuCaption));
        connectGuarded(mnuMaint[i], &QAction::triggered, this, [this, i] { maintain(i); });
    }

    QMenu* reports = menuBar()->addMenu(tr("&Reports"));
    reports->setObjectName(QStringLiteral("mnuReportsMenu"));
    const QString outNames[4] = {QString(), tr("&View/Print Report"), tr("Send Report to &File"),
                                 tr("Web Table (html)")};
    for (int i = 1; i <= 3; ++i) {
        mnuRptOut[i] = action(reports, QStringLiteral("mnuRptOut%1").arg(i), outNames[i]);
        mnuRptOut[i]->setCheckable(true);
        connectGuarded(mnuRptOut[i], &QAction::triggered, this, [this, i] {
            program_.reportTarget = static_cast<ReportTarget>(i);
            for (int k = 1; k <= 3; ++k)
                mnuRptOut[k]->setChecked(k == i);
        });
    }
    mnuRptOut[1]->setChecked(true);
    reports->addSeparator();
    auto report = [&](const QString& name, const QString& caption, reports::ReportId id) {
        connectGuarded(action(reports, name, caption), &QAction::triggered, this,
                       [this, id] { guard([this, id] { reports_->run(id); }); });
    };
    report(QStringLiteral("mnuRpt1"), tr("Stamps by &Country"), reports::ReportId::ByCountry);
    report(QStringLiteral("mnuRpt2"), tr("Stamps by &Type"), reports::ReportId::ByType);
    report(QStringLiteral("mnuRpt3"), tr("Stamps by For&mat"), reports::ReportId::ByFormat);
    report(QStringLiteral("mnuRpt4"), tr("Stamps by T&opic"), reports::ReportId::ByTopic);
    reports->addSeparator();
    report(QStringLiteral("mnuRptValue"), tr("Collection Val&ue"), reports::ReportId::Value);
    report(QStringLiteral("mnuRptWant"), tr("&Want List"), reports::ReportId::WantList);
    report(QStringLiteral("mnuRptForSale"), tr("Stamps For S&ale"), reports::ReportId::ForSale);
    report(QStringLiteral("mnuRptSold"), tr("Stamps &Sold"), reports::ReportId::Sold);
    reports->addSeparator();
    connectGuarded(action(reports, QStringLiteral("mnuRptCustom"), tr("Custom &Reports")),
                   &QAction::triggered, this, [this] { customReports(); });
    connectGuarded(action(reports, QStringLiteral("mnuRptStats"), tr("Stat&istics...")),
                   &QAction::triggered, this, [this] { guard([this] { statistics(); }); });

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("mnuHelpmenu"));
    QAction* contents = action(help, QStringLiteral("mnuHelp1"), tr("&Contents"));
    QAction* search = action(help, QStringLiteral("mnuHelp2"), tr("&Search for Help on..."));
    QAction* using_ = action(help, QStringLiteral("mnuHelp3"), tr("&Using Help"));
    connectGuarded(contents, &QAction::triggered, this, [this] {
        if (program_.showHelpContext)
            program_.showHelpContext(0);
    });
    connectGuarded(search, &QAction::triggered, this, [this] {
        if (program_.showHelpPage)
            program_.showHelpPage(HelpSearchPage);
    });
    connectGuarded(using_, &QAction::triggered, this, [this] {
        if (program_.showHelpPage)
            program_.showHelpPage(HelpUsingPage);
    });
    help->addSeparator();
    connectGuarded(action(help, QStringLiteral("mnuAbout"), tr("&About the Perlinex Program")),
                   &QAction::triggered, this, [this] { showAbout(this); });
}

void frmMain::connectFieldEvents() {
    for (const FieldControl& fc : fields_) {
        QWidget* w = fc.widget;
        if (auto* e = qobject_cast<QLineEdit*>(w)) {
            if (fc.field->rule != db::EntryRule::Total)
                connectGuarded(e, &QLineEdit::textChanged, this, &frmMain::RecordChanged);
        } else if (auto* t = qobject_cast<QPlainTextEdit*>(w)) {
            connectGuarded(t, &QPlainTextEdit::textChanged, this, &frmMain::RecordChanged);
        } else if (auto* c = qobject_cast<QCheckBox*>(w)) {
            connectGuarded(c, &QCheckBox::clicked, this, &frmMain::RecordChanged);
        } else if (auto* d = qobject_cast<DateField*>(w)) {
            connectGuarded(d, &DateField::changed, this, &frmMain::RecordChanged);
        } else if (auto* l = qobject_cast<QComboBox*>(w)) {
            connectGuarded(l, &QComboBox::activated, this, &frmMain::RecordChanged);
        }
        w->installEventFilter(this);
    }
    connectGuarded(chkSold, &QCheckBox::clicked, this, [this] {
        if (chkSold->isChecked() && chkForSale->isChecked())
            chkForSale->setChecked(false);
    });
    connectGuarded(chkWantList, &QCheckBox::clicked, this, &frmMain::setWantListCaption);
}

} // namespace perlinex
