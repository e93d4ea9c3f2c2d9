#include "app/frmmain.h"

#include "app/frmabout.h"
#include "app/frmbackup.h"
#include "app/helpviewer.h"
#include "codes/frmcodesmaint.h"
#include "dates/datefield.h"
#include "dates/frmdateent.h"
#include "db/maintenance.h"
#include "db/schema.h"
#include "find/frmfind.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

namespace perlinex {

namespace {

const char* const kOrders[4] = {nullptr, "Select * from stamp order by [descr]",
                                "Select * from stamp order by catsort, catnum",
                                "Select * from stamp order by Issued"};

QLineEdit* lineEdit(const char* name, int maxLength = 0) {
    auto* e = new QLineEdit;
    e->setObjectName(QLatin1String(name));
    if (maxLength > 0)
        e->setMaxLength(maxLength);
    return e;
}

QPushButton* button(const char* name, const QString& caption) {
    auto* b = new QPushButton(caption);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

QComboBox* codeCombo(const char* name) {
    auto* c = new QComboBox;
    c->setObjectName(QLatin1String(name));
    c->setEditable(false); // pick-only: no free text
    c->setMinimumContentsLength(18);
    c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    return c;
}

QLabel* label(const QString& text, QWidget* buddy) {
    auto* l = new QLabel(text);
    l->setBuddy(buddy);
    return l;
}

} // namespace

frmMain::frmMain(Program& program, QWidget* parent) : QMainWindow(parent), program_(program) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Perlinex"));
    buildControls();
    buildMenus();
    connectFieldEvents();
    SetBrowseMode();
    resize(760, 560);
}

frmMain::~frmMain() {
    unload();
}

// ---------------------------------------------------------------------------------------
// Layout

void frmMain::buildControls() {
    txtDescr = lineEdit("txtDescr", 80);
    txtCatNum = lineEdit("txtCatNum", 30);
    txtFace = lineEdit("txtFace");
    txtYear = lineEdit("txtYear");
    txtQuantity = lineEdit("txtQuantity");
    chkUsed = new QCheckBox(QStringLiteral("Used"));
    chkUsed->setObjectName(QStringLiteral("chkUsed"));
    chkWantList = new QCheckBox(QStringLiteral("Want List"));
    chkWantList->setObjectName(QStringLiteral("chkWantList"));

    auto* top = new QGridLayout;
    top->addWidget(label(QStringLiteral("Description"), txtDescr), 0, 0);
    top->addWidget(txtDescr, 0, 1, 1, 5);
    top->addWidget(label(QStringLiteral("Catalog Num"), txtCatNum), 1, 0);
    top->addWidget(txtCatNum, 1, 1);
    top->addWidget(label(QStringLiteral("Face Value"), txtFace), 1, 2);
    top->addWidget(txtFace, 1, 3);
    top->addWidget(label(QStringLiteral("Year"), txtYear), 1, 4);
    top->addWidget(txtYear, 1, 5);
    top->addWidget(label(QStringLiteral("Quantity"), txtQuantity), 2, 0);
    top->addWidget(txtQuantity, 2, 1);
    top->addWidget(chkUsed, 2, 3);
    top->addWidget(chkWantList, 2, 5);
    top->setColumnStretch(1, 2);
    top->setColumnStretch(3, 1);
    top->setColumnStretch(5, 1);

    SSTab1 = new QTabWidget;
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->addTab(buildGeneralTab(), QStringLiteral("General"));
    SSTab1->addTab(buildPricesTab(), QStringLiteral("  Stamp Prices"));
    SSTab1->addTab(buildNotesTab(), QStringLiteral("Notes"));
    SSTab1->addTab(buildImageTab(), QStringLiteral("Image"));

    cmdFirst = button("cmdFirst", QStringLiteral("Firs&t"));
    cmdPrevious = button("cmdPrevious", QStringLiteral("&Previous"));
    cmdNext = button("cmdNext", QStringLiteral("&Next"));
    cmdLast = button("cmdLast", QStringLiteral("&Last"));
    cmdAddNew = button("cmdAddNew", QStringLiteral("&Add New"));
    cmdDelete = button("cmdDelete", QStringLiteral("&Delete"));
    cmdFind = button("cmdFind", QStringLiteral("F&ind"));
    cmdUpdate = button("cmdUpdate", QStringLiteral("&Update"));
    cmdCancel = button("cmdCancel", QStringLiteral("&Cancel"));
    cmdHelp = button("cmdHelp", QStringLiteral("Help"));

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {cmdFirst, cmdPrevious, cmdNext, cmdLast, cmdAddNew, cmdFind, cmdDelete,
                           cmdUpdate, cmdCancel})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(cmdHelp);

    connect(cmdFirst, &QPushButton::clicked, this, &frmMain::moveFirst);
    connect(cmdPrevious, &QPushButton::clicked, this, &frmMain::movePrevious);
    connect(cmdNext, &QPushButton::clicked, this, &frmMain::moveNext);
    connect(cmdLast, &QPushButton::clicked, this, &frmMain::moveLast);
    connect(cmdAddNew, &QPushButton::clicked, this, &frmMain::addNew);
    connect(cmdUpdate, &QPushButton::clicked, this, &frmMain::update);
    connect(cmdCancel, &QPushButton::clicked, this, &frmMain::cancel);
    connect(cmdDelete, &QPushButton::clicked, this, &frmMain::deleteStamp);
    connect(cmdFind, &QPushButton::clicked, this, &frmMain::find);
    connect(cmdHelp, &QPushButton::clicked, this, [this] {
        if (program_.showHelpContext)
            program_.showHelpContext(0);
    });

    auto* central = new QWidget;
    central->setObjectName(QStringLiteral("VideoSoftElastic1"));
    auto* layout = new QVBoxLayout(central);
    layout->addLayout(top);
    layout->addWidget(SSTab1, 1);
    layout->addLayout(buttons);
    setCentralWidget(central);

    setTabOrder(txtDescr, txtCatNum);
    setTabOrder(txtCatNum, txtFace);
    setTabOrder(txtFace, txtYear);
    setTabOrder(txtYear, txtQuantity);
    setTabOrder(txtQuantity, chkUsed);
    setTabOrder(chkUsed, chkWantList);
    setTabOrder(chkWantList, SSTab1);
}

QWidget* frmMain::buildGeneralTab() {
    cmbCou = codeCombo("cmbCou");
    cmbType = codeCombo("cmbType");
    cmbForm = codeCombo("cmbForm");
    cmbPap = codeCombo("cmbPap");
    cmbCan = codeCombo("cmbCan");
    cmbPerf = codeCombo("cmbPerf");
    cmbTop = codeCombo("cmbTop");
    cmbGum = codeCombo("cmbGum");
    txtColor = lineEdit("txtColor", 50);
    txtWatermark = lineEdit("txtWatermark", 50);
    txtErrors = lineEdit("txtErrors", 50);
    dcIssued = new DateField(
        program_, QStringLiteral("Select Issue Date"),
        QStringLiteral("You must enter a valid issue date, or leave the field blank."),
        DateField::Placement::Above);
    dcIssued->setObjectName(QStringLiteral("dcIssued"));

    auto* page = new QWidget;
    auto* g = new QGridLayout(page);
    int row = 0;
    auto pair = [&](const QString& text, QWidget* left, const QString& text2, QWidget* right) {
        g->addWidget(label(text, left), row, 0);
        g->addWidget(left, row, 1);
        g->addWidget(label(text2, right), row, 2);
        g->addWidget(right, row, 3);
        ++row;
    };
    pair(QStringLiteral("Country"), cmbCou, QStringLiteral("Color"), txtColor);
    pair(QStringLiteral("Type"), cmbType, QStringLiteral("Watermark"), txtWatermark);
    pair(QStringLiteral("Format"), cmbForm, QStringLiteral("Errors"), txtErrors);
    pair(QStringLiteral("Paper"), cmbPap, QStringLiteral("Issue Date"), dcIssued);
    pair(QStringLiteral("Cancellation"), cmbCan, QStringLiteral("Gum"), cmbGum);
    g->addWidget(label(QStringLiteral("Perforation"), cmbPerf), row, 0);
    g->addWidget(cmbPerf, row++, 1);
    g->addWidget(label(QStringLiteral("Topic"), cmbTop), row, 0);
    g->addWidget(cmbTop, row++, 1);
    g->setRowStretch(row, 1);
    g->setColumnStretch(1, 1);
    g->setColumnStretch(3, 1);
    setTabOrder(cmbCou, cmbType);
    setTabOrder(cmbType, cmbForm);
    setTabOrder(cmbForm, cmbPap);
    setTabOrder(cmbPap, cmbCan);
    setTabOrder(cmbCan, cmbPerf);
    setTabOrder(cmbPerf, cmbTop);
    setTabOrder(cmbTop, txtColor);
    setTabOrder(txtColor, txtWatermark);
    setTabOrder(txtWatermark, txtErrors);
    setTabOrder(txtErrors, dcIssued);
    setTabOrder(dcIssued, cmbGum);
    return page;
}

QWidget* frmMain::buildPricesTab() {
    txtPricePaid = lineEdit("txtPricePaid");
    txtCatValue = lineEdit("txtCatValue");
    txtPriceAsk = lineEdit("txtPriceAsk");
    txtTotalPaid = lineEdit("txtTotalPaid");
    txtTotalVal = lineEdit("txtTotalVal");
    txtTotalSales = lineEdit("txtTotalSales");
    for (QLineEdit* t : {txtTotalPaid, txtTotalVal, txtTotalSales})
        t->setReadOnly(true);
    for (QLineEdit* t :
         {txtPricePaid, txtCatValue, txtPriceAsk, txtTotalPaid, txtTotalVal, txtTotalSales})
        t->setAlignment(Qt::AlignRight);
    chkForSale = new QCheckBox(QStringLiteral("For Sale"));
    chkForSale->setObjectName(QStringLiteral("chkForSale"));
    chkSold = new QCheckBox(QStringLiteral("Sold"));
    chkSold->setObjectName(QStringLiteral("chkSold"));
    cmbCon = codeCombo("cmbCon");
    dcPurchased = new DateField(program_, QStringLiteral("Select Purchase Date"), QString(),
                                DateField::Placement::Below);
    dcPurchased->setObjectName(QStringLiteral("dcPurchased"));
    dcDateSold =
        new DateField(program_, QStringLiteral("Select Sold Date"),
                      QStringLiteral("You must enter a valid sold date, or leave the field blank."),
                      DateField::Placement::Below);
    dcDateSold->setObjectName(QStringLiteral("dcDateSold"));
    lblPrice = new QLabel(QStringLiteral("Price Paid"));
    lblPrice->setObjectName(QStringLiteral("lblPrice"));
    lblPrice->setBuddy(txtPricePaid);

    auto* page = new QWidget;
    auto* g = new QGridLayout(page);
    g->addWidget(lblPrice, 0, 0);
    g->addWidget(txtPricePaid, 0, 1);
    g->addWidget(label(QStringLiteral("Total Paid"), txtTotalPaid), 0, 2);
    g->addWidget(txtTotalPaid, 0, 3);
    g->addWidget(label(QStringLiteral("Catalog Value"), txtCatValue), 1, 0);
    g->addWidget(txtCatValue, 1, 1);
    g->addWidget(label(QStringLiteral("Total Value"), txtTotalVal), 1, 2);
    g->addWidget(txtTotalVal, 1, 3);
    g->addWidget(label(QStringLiteral("Selling Price"), txtPriceAsk), 2, 0);
    g->addWidget(txtPriceAsk, 2, 1);
    g->addWidget(label(QStringLiteral("Total Sales"), txtTotalSales), 2, 2);
    g->addWidget(txtTotalSales, 2, 3);
    g->addWidget(label(QStringLiteral("Purchase Date"), dcPurchased), 3, 0);
    g->addWidget(dcPurchased, 3, 1);
    g->addWidget(label(QStringLiteral("Condition"), cmbCon), 3, 2);
    g->addWidget(cmbCon, 3, 3);
    g->addWidget(label(QStringLiteral("Date Sold"), dcDateSold), 4, 0);
    g->addWidget(dcDateSold, 4, 1);
    auto* flags = new QHBoxLayout;
    flags->addWidget(chkForSale);
    flags->addWidget(chkSold);
    flags->addStretch();
    g->addLayout(flags, 4, 2, 1, 2);
    g->setRowStretch(5, 1);
    g->setColumnStretch(1, 1);
    g->setColumnStretch(3, 1);
    setTabOrder(txtPricePaid, txtCatValue);
    setTabOrder(txtCatValue, txtPriceAsk);
    setTabOrder(txtPriceAsk, dcPurchased);
    setTabOrder(dcPurchased, dcDateSold);
    setTabOrder(dcDateSold, cmbCon);
    setTabOrder(cmbCon, chkForSale);
    setTabOrder(chkForSale, chkSold);
    return page;
}

QWidget* frmMain::buildNotesTab() {
    txtNotes = new QPlainTextEdit;
    txtNotes->setObjectName(QStringLiteral("txtNotes"));
    txtNotes->setTabChangesFocus(true);
    txtMisc1 = lineEdit("txtMisc1", 50);
    txtMisc2 = lineEdit("txtMisc2", 50);
    auto* page = new QWidget;
    auto* g = new QGridLayout(page);
    g->addWidget(label(QStringLiteral("Notes"), txtNotes), 0, 0, Qt::AlignTop);
    g->addWidget(txtNotes, 0, 1);
    g->addWidget(label(QStringLiteral("Misc. 1"), txtMisc1), 1, 0);
    g->addWidget(txtMisc1, 1, 1);
    g->addWidget(label(QStringLiteral("Misc. 2"), txtMisc2), 2, 0);
    g->addWidget(txtMisc2, 2, 1);
    g->setRowStretch(0, 1);
    return page;
}

QWidget* frmMain::buildImageTab() {
    Image1 = new QLabel;
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAlignment(Qt::AlignCenter);
    auto* scroll = new QScrollArea;
    scroll->setWidget(Image1);
    scroll->setWidgetResizable(true);
    cmdPicLoad = button("cmdPicLoad", QStringLiteral("&Load Image"));
    cmdPicPaste = button("cmdPicPaste", QStringLiteral("&Paste Image"));
    cmdPicCopy = button("cmdPicCopy", QStringLiteral("&Copy Image"));
    // Pictures are not kept yet: the buttons are in place but stay unavailable.
    for (QPushButton* b : {cmdPicLoad, cmdPicPaste, cmdPicCopy}) {
        b->setEnabled(false);
        b->setToolTip(QStringLiteral("Stamp pictures are not available in this version."));
    }
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    v->addWidget(scroll, 1);
    auto* h = new QHBoxLayout;
    h->addWidget(cmdPicLoad);
    h->addWidget(cmdPicPaste);
    h->addWidget(cmdPicCopy);
    h->addStretch();
    v->addLayout(h);
    return page;
}

void frmMain::buildMenus() {
    auto action = [this](QMenu* menu, const char* name, const QString& text) {
        QAction* a = menu->addAction(text);
        a->setObjectName(QLatin1String(name));
        return a;
    };
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFileMenu"));
    connect(action(file, "mnuBackup", QStringLiteral("&Backup")), &QAction::triggered, this,
            &frmMain::backup);
    connect(action(file, "mnuPack", QStringLiteral("&Pack Database")), &QAction::triggered, this,
            &frmMain::packDatabase);
    file->addSeparator();
    mnuExit = action(file, "mnuExit", QStringLiteral("E&xit"));
    connect(mnuExit, &QAction::triggered, this, &frmMain::exitProgram);

    QMenu* sort = menuBar()->addMenu(QStringLiteral("&Sort"));
    sort->setObjectName(QStringLiteral("mnuSortMenu"));
    const QString sortNames[4] = {QString(), QStringLiteral("Sort by &Description"),
                                  QStringLiteral("Sort by &Catalog Number"),
                                  QStringLiteral("Sort by &Issue Date")};
    for (int i = 1; i <= 3; ++i) {
        mnuSort[i] =
            action(sort, QStringLiteral("mnuSort%1").arg(i).toLatin1().constData(), sortNames[i]);
        mnuSort[i]->setCheckable(true);
        connect(mnuSort[i], &QAction::triggered, this, [this, i] { sortBy(i); });
    }
    mnuSort[1]->setChecked(true);

    QMenu* maintainMenu = menuBar()->addMenu(QStringLiteral("&Maintain"));
    maintainMenu->setObjectName(QStringLiteral("mnuMaintain"));
    const char* const maintNames[10] = {
        nullptr, "&Cancellations", "&Conditions",    "&Countries", "&Formats",
        "&Gum",  "&Papers",        "&Performations", "&Topics",    "&Types"};
    for (int i = 1; i <= 9; ++i) {
        mnuMaint[i] =
            action(maintainMenu, QStringLiteral("mnuMaint%1").arg(i).toLatin1().constData(),
                   QString::fromLatin1(maintNames[i]));
        connect(mnuMaint[i], &QAction::triggered, this, [this, i] { maintain(i); });
    }

    QMenu* reports = menuBar()->addMenu(QStringLiteral("&Reports"));
    reports->setObjectName(QStringLiteral("mnuReportsMenu"));
    const QString outNames[4] = {QString(), QStringLiteral("&View/Print Report"),
                                 QStringLiteral("Send Report to &File"),
                                 QStringLiteral("Web Table (html)")};
    for (int i = 1; i <= 3; ++i) {
        mnuRptOut[i] = action(reports, QStringLiteral("mnuRptOut%1").arg(i).toLatin1().constData(),
                              outNames[i]);
        mnuRptOut[i]->setCheckable(true);
        connect(mnuRptOut[i], &QAction::triggered, this, [this, i] {
            program_.reportTarget = static_cast<ReportTarget>(i);
            for (int k = 1; k <= 3; ++k)
                mnuRptOut[k]->setChecked(k == i);
        });
    }
    mnuRptOut[1]->setChecked(true);
    reports->addSeparator();
    // The reports themselves are not built yet: their items are present but unavailable.
    QList<QAction*> pending;
    const char* const rptNames[5] = {nullptr, "Stamps by &Country", "Stamps by &Type",
                                     "Stamps by &Format", "Stamps by T&opic"};
    for (int i = 1; i <= 4; ++i)
        pending << action(reports, QStringLiteral("mnuRpt%1").arg(i).toLatin1().constData(),
                          QString::fromLatin1(rptNames[i]));
    reports->addSeparator();
    pending << action(reports, "mnuRptValue", QStringLiteral("Collection &Value"))
            << action(reports, "mnuRptWant", QStringLiteral("&Want List"))
            << action(reports, "mnuRptForSale", QStringLiteral("Stamps &For Sale"))
            << action(reports, "mnuRptSold", QStringLiteral("Stamps &Sold"));
    reports->addSeparator();
    pending << action(reports, "mnuRptCustom", QStringLiteral("Custom &Reports"));
    for (QAction* a : pending)
        a->setEnabled(false);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelpmenu"));
    QAction* contents = action(help, "mnuHelp1", QStringLiteral("&Contents"));
    QAction* search = action(help, "mnuHelp2", QStringLiteral("&Search for Help on..."));
    QAction* using_ = action(help, "mnuHelp3", QStringLiteral("&Using Help"));
    connect(contents, &QAction::triggered, this, [this] {
        if (program_.showHelpContext)
            program_.showHelpContext(0);
    });
    connect(search, &QAction::triggered, this, [this] {
        if (program_.showHelpPage)
            program_.showHelpPage(HelpSearchPage);
    });
    connect(using_, &QAction::triggered, this, [this] {
        if (program_.showHelpPage)
            program_.showHelpPage(HelpUsingPage);
    });
    help->addSeparator();
    connect(action(help, "mnuAbout", QStringLiteral("&About the Perlinex Program")),
            &QAction::triggered, this, [this] { showAbout(this); });
}

void frmMain::connectFieldEvents() {
    for (QLineEdit* e : {txtDescr, txtCatNum, txtFace, txtYear, txtQuantity, txtColor, txtWatermark,
                         txtErrors, txtPricePaid, txtCatValue, txtPriceAsk, txtMisc1, txtMisc2})
        connect(e, &QLineEdit::textChanged, this, &frmMain::RecordChanged);
    connect(txtNotes, &QPlainTextEdit::textChanged, this, &frmMain::RecordChanged);
    for (QCheckBox* c : {chkUsed, chkWantList, chkForSale, chkSold})
        connect(c, &QCheckBox::clicked, this, &frmMain::RecordChanged);
    connect(chkSold, &QCheckBox::clicked, this, [this] {
        if (chkSold->isChecked() && chkForSale->isChecked())
            chkForSale->setChecked(false);
    });
    connect(chkWantList, &QCheckBox::clicked, this, &frmMain::setWantListCaption);
    for (DateField* d : {dcIssued, dcPurchased, dcDateSold})
        connect(d, &DateField::changed, this, &frmMain::RecordChanged);

    codeLists_ = {{cmbCou, 3, "CouID"}, {cmbType, 9, "typeID"}, {cmbForm, 4, "formID"},
                  {cmbPap, 6, "papID"}, {cmbCan, 1, "CanID"},   {cmbPerf, 7, "perfID"},
                  {cmbTop, 8, "topID"}, {cmbCon, 2, "ConID"},   {cmbGum, 5, "gumID"}};
    for (const CodeList& l : codeLists_) {
        connect(l.combo, &QComboBox::activated, this, &frmMain::RecordChanged);
        l.combo->installEventFilter(this);
    }
    for (QWidget* w :
         std::initializer_list<QWidget*>{txtFace, txtYear, txtQuantity, txtPricePaid, txtCatValue,
                                         txtPriceAsk, txtTotalPaid, txtTotalVal, txtTotalSales})
        w->installEventFilter(this);
}

// ---------------------------------------------------------------------------------------
// Start-up, activation, unload

void frmMain::load() {
    ChkDateFmt(program_);
    program_.raiseAllReloadFlags();
    program_.reportTarget = ReportTarget::Preview;
    program_.HeadingShade = QColor(0, 0, 0);
    program_.BodyShade = QColor(200, 200, 200);
    QDir().mkpath(program_.imagesFolder());
    trap(program_, [&] {
        try {
            program_.openCollection();
        } catch (const db::DbError& e) {
            // The handler lets "in use" pass silently; at start-up that leaves nothing to show.
            if (e.number() != db::err::FileInUse)
                throw;
            program_.dialogs().message(e.text(), ProgramTitle, Buttons::Ok, Icon::Critical);
            program_.endProgram(e.text());
        }
    });
    trap(program_, [&] {
        if (!program_.CollectionDb)
            throw db::DbError(db::err::NoDatabase, QStringLiteral("No collection is open."));
        sortOrder_ = 1;
        for (int i = 1; i <= 3; ++i)
            mnuSort[i]->setChecked(i == 1);
        program_.StampSet = program_.CollectionDb->openRecordSet(QString::fromLatin1(kOrders[1]));
    });
    trap(program_, [&] {
        if (!hasRows()) {
            ClearStamp();
            DisableFields();
        } else {
            program_.StampSet->moveLast();
            program_.StampSet->moveFirst();
            EnableFields();
            ShowStamp();
        }
    });
    Editing = false;
    PictureChanged = false;
    Adding = false;
    cmdAddNew->setText(QStringLiteral("&Add New"));
    SetBrowseMode();
    activate();
}

void frmMain::unload() {
    program_.closeCollection();
}

void frmMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        activate();
}

void frmMain::activate() {
    if (!program_.CollectionDb)
        return;
    bool refilled = false;
    // The fixed order of refilling: country, type, format, paper, cancellation, perforation,
    // topic, condition, gum.
    for (const CodeList& l : codeLists_) {
        if (!program_.reloadFlag(l.maintTable))
            continue;
        fillCodeList(l);
        program_.setReloadFlag(l.maintTable, false);
        refilled = true;
    }
    if (refilled && hasRows() && !program_.StampSet->eof() && !program_.StampSet->bof()) {
        if (Editing || Adding) {
            // Keep what the user typed: only the refilled lists select the typed entries again.
            return;
        }
        ShowStamp();
    }
}

void frmMain::fillCodeList(const CodeList& l) {
    const db::CodeTable& t = db::codeTables()[l.maintTable - 1];
    const QVariant typed = l.combo->currentIndex() >= 0 ? l.combo->currentData() : QVariant();
    const bool wasEditing = Editing;
    Editing = true; // the refill is no edit of the record
    l.combo->clear();
    auto rs = program_.CollectionDb->openRecordSet(
        QStringLiteral("Select * from %1 order by %2")
            .arg(QLatin1String(t.table), QLatin1String(t.descField)),
        db::RecordSetKind::Snapshot);
    for (; !rs->eof(); rs->moveNext())
        l.combo->addItem(
            rs->field(QLatin1String(t.descField)).toText(),
            QVariant::fromValue<qlonglong>(rs->field(QLatin1String(t.idField)).toInteger()));
    l.combo->setCurrentIndex(typed.isValid() ? l.combo->findData(typed) : -1);
    Editing = wasEditing;
}

void frmMain::closeEvent(QCloseEvent* event) {
    // With the collection already closed (the program is ending) there is nothing to ask.
    if ((Editing || Adding) && program_.CollectionDb) {
        const Answer a = program_.dialogs().message(
            QStringLiteral(
                "The record on screen has not been stored. Do you want to close Perlinex and lose "
                "the changes?"),
            QStringLiteral("Close Perlinex"), Buttons::YesNo, Icon::Question);
        if (a != Answer::Yes) {
            event->ignore();
            return;
        }
    }
    if (codesWindow_)
        codesWindow_->close();
    unload();
    event->accept();
}

// ---------------------------------------------------------------------------------------
// Showing and storing

bool frmMain::hasRows() const {
    return program_.StampSet && program_.StampSet->recordCount() > 0;
}

void frmMain::selectCode(QComboBox* combo, const db::Value& id) {
    if (id.isNull()) {
        combo->setCurrentIndex(-1);
        return;
    }
    const int index = combo->findData(QVariant::fromValue<qlonglong>(id.toInteger()));
    // An identifier missing from the list shows no selection rather than a stale one.
    combo->setCurrentIndex(index);
}

void frmMain::ShowStamp() {
    db::RecordSet& rs = *program_.StampSet;
    const regional::Regional& r = program_.regional;
    Editing = true;
    auto text = [&](const char* f) { return rs.field(QLatin1String(f)).toText(); };
    auto money = [&](const char* f) {
        const db::Value v = rs.field(QLatin1String(f));
        return v.isNull() ? QString() : r.formatCurrency(v.toCurrency());
    };
    auto date = [&](const char* f) {
        const QDate d = rs.field(QLatin1String(f)).toDate();
        return d.isValid() ? r.formatShortDate(d) : QString();
    };
    txtDescr->setText(text("descr"));
    txtCatNum->setText(text("catnum"));
    const db::Value face = rs.field(QStringLiteral("face"));
    txtFace->setText(face.isNull() ? QString() : r.formatNumber(face.toCurrency().toDouble()));
    txtYear->setText(text("Year"));
    chkUsed->setChecked(rs.field(QStringLiteral("used")).toBool());
    chkWantList->setChecked(rs.field(QStringLiteral("wantlist")).toBool());
    setWantListCaption();
    txtQuantity->setText(text("quantity"));
    for (const CodeList& l : codeLists_)
        selectCode(l.combo, rs.field(QLatin1String(l.field)));
    txtColor->setText(text("Color"));
    txtWatermark->setText(text("watermark"));
    txtErrors->setText(text("Errors"));
    dcIssued->setText(date("issued"));
    txtPricePaid->setText(money("pricepaid"));
    txtTotalPaid->setText(money("totalpaid"));
    txtCatValue->setText(money("catvalue"));
    txtTotalVal->setText(money("totalval"));
    txtPriceAsk->setText(money("priceask"));
    txtTotalSales->setText(money("totalsales"));
    chkForSale->setChecked(rs.field(QStringLiteral("forsale")).toBool());
    chkSold->setChecked(rs.field(QStringLiteral("sold")).toBool());
    dcPurchased->setText(date("purchased"));
    dcDateSold->setText(date("datesold"));
    txtNotes->setPlainText(text("notes"));
    txtMisc1->setText(text("misc1"));
    txtMisc2->setText(text("misc2"));
    Editing = false;
}

void frmMain::StoreStamp() {
    db::RecordSet& rs = *program_.StampSet;
    const regional::Regional& r = program_.regional;
    auto set = [&](const char* f, const db::Value& v) {
        trap(program_, [&] { rs.setField(QLatin1String(f), v); });
    };
    auto money = [&](QLineEdit* e) {
        const auto c = r.toCurrency(e->text());
        return c ? db::Value(*c) : db::Value();
    };
    auto date = [&](const DateField* d) {
        const auto v = r.toDate(d->text());
        return v ? db::Value(*v) : db::Value();
    };
    set("descr", db::Value(txtDescr->text()));
    set("catnum", db::Value(txtCatNum->text()));
    set("catsort", db::Value(db::CatSortKey(txtCatNum->text())));
    set("face", money(txtFace));
    const auto year = r.toInt16(txtYear->text());
    set("Year", year ? db::Value(std::int64_t(*year)) : db::Value());
    set("used", db::Value(chkUsed->isChecked()));
    set("wantlist", db::Value(chkWantList->isChecked()));
    const auto quantity = r.toInt32(txtQuantity->text());
    set("quantity", quantity ? db::Value(std::int64_t(*quantity)) : db::Value());
    // References in the order CouID, typeID, formID, papID, CanID, perfID, topID, gumID, ConID.
    for (QComboBox* c :
         {cmbCou, cmbType, cmbForm, cmbPap, cmbCan, cmbPerf, cmbTop, cmbGum, cmbCon}) {
        const CodeList& l = *std::find_if(codeLists_.begin(), codeLists_.end(),
                                          [c](const CodeList& x) { return x.combo == c; });
        set(l.field, c->currentIndex() >= 0 ? db::Value(std::int64_t(c->currentData().toLongLong()))
                                            : db::Value());
    }
    set("Color", db::Value(txtColor->text()));
    set("watermark", db::Value(txtWatermark->text()));
    set("Errors", db::Value(txtErrors->text()));
    set("issued", date(dcIssued));
    set("pricepaid", money(txtPricePaid));
    set("totalpaid", money(txtTotalPaid));
    set("catvalue", money(txtCatValue));
    set("totalval", money(txtTotalVal));
    set("priceask", money(txtPriceAsk));
    set("totalsales", money(txtTotalSales));
    set("forsale", db::Value(chkForSale->isChecked()));
    set("purchased", date(dcPurchased));
    set("sold", db::Value(chkSold->isChecked()));
    set("datesold", date(dcDateSold));
    set("notes", db::Value(txtNotes->toPlainText()));
    set("misc1", db::Value(txtMisc1->text()));
    set("misc2", db::Value(txtMisc2->text()));
    PictureChanged = false;
    withLockRetry(program_, [&] { rs.update(); });
}

void frmMain::ClearStamp() {
    Editing = true;
    for (QLineEdit* e :
         {txtDescr, txtCatNum, txtFace, txtYear, txtColor, txtWatermark, txtErrors, txtPricePaid,
          txtCatValue, txtTotalVal, txtPriceAsk, txtTotalPaid, txtTotalSales, txtMisc1, txtMisc2})
        e->clear();
    chkUsed->setChecked(false);
    chkWantList->setChecked(false);
    setWantListCaption();
    txtQuantity->setText(QStringLiteral("1"));
    for (const CodeList& l : codeLists_)
        l.combo->setCurrentIndex(-1);
    for (DateField* d : {dcIssued, dcPurchased, dcDateSold})
        d->setText(QString());
    chkForSale->setChecked(false);
    chkSold->setChecked(false);
    txtNotes->clear();
    Image1->clear();
    Editing = false;
}

QList<QWidget*> frmMain::recordControls() const {
    QList<QWidget*> list = {
        txtDescr,   txtCatNum,    txtFace,     txtYear,    chkUsed,      chkWantList, txtQuantity,
        txtColor,   txtWatermark, txtErrors,   dcIssued,   txtPricePaid, txtCatValue, txtPriceAsk,
        chkForSale, chkSold,      dcPurchased, dcDateSold, txtNotes,     txtMisc1,    txtMisc2};
    for (const CodeList& l : codeLists_)
        list << l.combo;
    return list;
}

void frmMain::DisableFields() {
    for (QWidget* w : recordControls())
        w->setEnabled(false);
}

void frmMain::EnableFields() {
    for (QWidget* w : recordControls())
        w->setEnabled(true);
}

void frmMain::SetEditMode() {
    for (QPushButton* b : {cmdFirst, cmdPrevious, cmdNext, cmdLast, cmdHelp, cmdFind, cmdDelete})
        b->hide();
    cmdCancel->show();
    cmdUpdate->show();
    for (int i = 1; i <= 9; ++i)
        mnuMaint[i]->setEnabled(false);
    for (int i = 1; i <= 3; ++i)
        mnuSort[i]->setEnabled(false);
    mnuExit->setEnabled(false);
}

void frmMain::SetBrowseMode() {
    for (QPushButton* b :
         {cmdFirst, cmdPrevious, cmdNext, cmdLast, cmdHelp, cmdFind, cmdDelete, cmdAddNew})
        b->show();
    cmdCancel->hide();
    cmdUpdate->hide();
    for (int i = 1; i <= 9; ++i)
        mnuMaint[i]->setEnabled(true);
    for (int i = 1; i <= 3; ++i)
        mnuSort[i]->setEnabled(true);
    mnuExit->setEnabled(true);
}

void frmMain::RecordChanged() {
    if (!hasRows() || Editing || Adding)
        return;
    Editing = true;
    SetEditMode();
    cmdAddNew->hide();
}

// ---------------------------------------------------------------------------------------
// Navigation, add, update, cancel, delete

void frmMain::moveFirst() {
    if (!hasRows())
        return;
    program_.StampSet->moveFirst();
    ShowStamp();
}

void frmMain::moveLast() {
    if (!hasRows())
        return;
    program_.StampSet->moveLast();
    ShowStamp();
}

void frmMain::moveNext() {
    if (!hasRows())
        return;
    program_.StampSet->moveNext();
    if (program_.StampSet->eof()) {
        program_.dialogs().beep();
        program_.StampSet->moveLast();
    }
    ShowStamp();
}

void frmMain::movePrevious() {
    if (!hasRows())
        return;
    program_.StampSet->movePrevious();
    if (program_.StampSet->bof()) {
        program_.dialogs().beep();
        program_.StampSet->moveFirst();
    }
    ShowStamp();
}

void frmMain::addNew() {
    if (cmdAddNew->text() == QLatin1String("&Add New")) {
        trap(program_, [&] {
            Adding = true;
            if (!hasRows())
                EnableFields();
            else
                program_.StampSet->moveLast();
        });
        SetEditMode();
        cmdAddNew->setText(QStringLiteral("&Add Another"));
        ClearStamp();
        txtDescr->setFocus();
        return;
    }
    if (!ValidateStamp())
        return;
    trap(program_, [&] { program_.StampSet->addNew(); });
    StoreStamp();
    ClearStamp();
    txtDescr->setFocus();
}

void frmMain::findStamp(std::int64_t id) {
    program_.StampSet->findFirst(QStringLiteral("StampID = %1").arg(id));
    if (program_.StampSet->noMatch())
        program_.StampSet->moveFirst();
}

void frmMain::update() {
    if (!ValidateStamp())
        return;
    std::int64_t id = 0;
    if (Adding) {
        trap(program_, [&] {
            program_.StampSet->addNew();
            id = program_.StampSet->field(QStringLiteral("stampid")).toInteger();
        });
        StoreStamp();
        cmdAddNew->setText(QStringLiteral("&Add New"));
    } else {
        trap(program_, [&] {
            id = program_.StampSet->field(QStringLiteral("stampid")).toInteger();
            program_.StampSet->edit();
        });
        StoreStamp();
    }
    trap(program_, [&] { findStamp(id); });
    trap(program_, [&] {
        if (hasRows())
            ShowStamp();
    });
    SetBrowseMode();
    Adding = false;
    Editing = false;
}

void frmMain::cancel() {
    if (program_.StampSet && program_.StampSet->isEditing())
        program_.StampSet->cancelUpdate();
    if (hasRows()) {
        program_.StampSet->moveLast();
        ShowStamp();
    } else {
        ClearStamp();
        DisableFields();
    }
    SetBrowseMode();
    cmdAddNew->setText(QStringLiteral("&Add New"));
    Editing = false;
    Adding = false;
}

void frmMain::deleteStamp() {
    if (!program_.StampSet || (program_.StampSet->bof() && program_.StampSet->eof()))
        return;
    if (program_.dialogs().message(
            QStringLiteral("Are you sure that you want to delete this stamp record?"),
            QStringLiteral("Delete Stamp"), Buttons::YesNo, Icon::Question) != Answer::Yes)
        return;
    withLockRetry(program_, [&] { program_.StampSet->deleteCurrent(); });
    trap(program_, [&] {
        program_.StampSet->moveNext();
        if (!hasRows()) {
            ClearStamp();
            DisableFields();
            return;
        }
        if (program_.StampSet->eof())
            program_.StampSet->movePrevious();
        ShowStamp();
    });
}

void frmMain::find() {
    if (!hasRows()) {
        program_.dialogs().message(QStringLiteral("No stamps entered to find."),
                                   QStringLiteral("No Stamps in Database"));
        return;
    }
    db::RecordSet& rs = *program_.StampSet;
    std::int64_t shown = 0;
    trap(program_, [&] { shown = rs.field(QStringLiteral("stampid")).toInteger(); });
    const QString backToShown = QStringLiteral("stampid = %1").arg(shown);
    program_.FindUseWith = QStringLiteral("stamp");
    program_.DialogCancelled = true;
    if (!findDialog_)
        findDialog_ = new frmFind(program_, this);
    findDialog_->exec();
    trap(program_, [&] {
        if (program_.DialogCancelled) {
            rs.findFirst(backToShown);
            ShowStamp();
        }
        if (rs.noMatch()) {
            program_.dialogs().message(QStringLiteral("That stamp was not found."),
                                       QStringLiteral("No Records Match"));
            rs.findFirst(backToShown);
        }
        ShowStamp();
    });
}

void frmMain::sortBy(int order) {
    if (order < 1 || order > 3)
        return;
    for (int i = 1; i <= 3; ++i)
        mnuSort[i]->setChecked(i == order);
    sortOrder_ = order;
    trap(program_, [&] {
        program_.StampSet.reset();
        program_.StampSet =
            program_.CollectionDb->openRecordSet(QString::fromLatin1(kOrders[order]));
        if (hasRows()) {
            program_.StampSet->moveLast();
            program_.StampSet->moveFirst();
            ShowStamp();
        } else {
            ClearStamp();
            DisableFields();
        }
    });
}

void frmMain::maintain(int maintTable) {
    program_.MaintTable = maintTable;
    if (!codesWindow_) {
        codesWindow_ = new frmCodesMaint(program_, this);
    }
    codesWindow_->showTable(maintTable);
}

// ---------------------------------------------------------------------------------------
// File menu

void frmMain::packDatabase() {
    if (program_.dialogs().message(QStringLiteral("Do you wish to compact the Perlinex database?"),
                                   QStringLiteral("Compact Database"), Buttons::YesNo,
                                   Icon::Question) != Answer::Yes)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (codesWindow_)
        codesWindow_->close();
    unload();
    hide();
    try {
        db::compactCollection(program_.AppFolder);
    } catch (const db::DbError& e) {
        QApplication::restoreOverrideCursor();
        program_.dialogs().message(e.text(), QStringLiteral("Compact Database"), Buttons::Ok,
                                   Icon::Critical);
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    show();
    load();
    QApplication::restoreOverrideCursor();
}

void frmMain::backup() {
    if (Editing || Adding) {
        program_.dialogs().message(
            QStringLiteral("Please store or cancel the record on screen before making or "
                           "restoring a backup."),
            QStringLiteral("Backup"), Buttons::Ok, Icon::Information);
        return;
    }
    if (codesWindow_)
        codesWindow_->close();
    unload();
    hide();
    {
        frmBackup dialog(program_, this);
        dialog.exec();
    }
    show();
    load();
}

void frmMain::exitProgram() {
    close();
}

// ---------------------------------------------------------------------------------------
// Field entry

void frmMain::setWantListCaption() {
    lblPrice->setText(chkWantList->isChecked() ? QStringLiteral("Will Pay")
                                               : QStringLiteral("Price Paid"));
}

void frmMain::refuse(QWidget* field, const QString& text, const QString& title, Icon icon) {
    checking_ = true;
    program_.dialogs().message(text, title, Buttons::Ok, icon);
    field->setFocus();
    checking_ = false;
}

void frmMain::showTotal(QLineEdit* total, Currency unitPrice, std::int32_t quantity) {
    try {
        total->setText(program_.regional.formatCurrency(unitPrice * std::int64_t(quantity)));
    } catch (const std::overflow_error&) {
        total->setText(QString()); // beyond any money amount: no total rather than a wrong one
    }
}

bool frmMain::leaveMoney(QLineEdit* price, QLineEdit* total) {
    const regional::Regional& r = program_.regional;
    if (price->text().isEmpty()) {
        total->setText(QString());
        return true;
    }
    const auto value = r.toCurrency(price->text());
    if (!value) {
        refuse(price, QStringLiteral("You must enter a valid number or leave the field blank"),
               ProgramTitle, Icon::None);
        return false;
    }
    if (const auto quantity = r.toInt32(txtQuantity->text()))
        showTotal(total, *value, *quantity);
    price->setText(r.formatCurrency(*value));
    return true;
}

bool frmMain::leaveQuantity() {
    const regional::Regional& r = program_.regional;
    if (!r.isNumeric(txtQuantity->text())) {
        refuse(txtQuantity, QStringLiteral("You must enter a number in the Quantity field"),
               ProgramTitle, Icon::Critical);
        return false;
    }
    const auto quantity = r.toInt32(txtQuantity->text());
    if (!quantity) {
        refuse(
            txtQuantity,
            QStringLiteral("The quantity must be a whole number from -2147483648 to 2147483647."),
            ProgramTitle, Icon::Critical);
        return false;
    }
    const std::pair<QLineEdit*, QLineEdit*> pairs[] = {
        {txtPricePaid, txtTotalPaid}, {txtCatValue, txtTotalVal}, {txtPriceAsk, txtTotalSales}};
    for (const auto& [price, total] : pairs) {
        if (const auto value = r.toCurrency(price->text()))
            showTotal(total, *value, *quantity);
    }
    return true;
}

bool frmMain::leaveFace() {
    const QString t = txtFace->text().trimmed();
    if (!t.isEmpty() && !program_.regional.isNumeric(t)) {
        refuse(
            txtFace,
            QStringLiteral("You must enter a number in the 'Face Value' field, or leave it blank"),
            ProgramTitle, Icon::Critical);
        return false;
    }
    return true;
}

bool frmMain::leaveYear() {
    const QString t = txtYear->text().trimmed();
    if (t.isEmpty())
        return true;
    if (!program_.regional.isNumeric(t)) {
        refuse(txtYear,
               QStringLiteral("You must enter a number in the Year field, or leave it blank"),
               ProgramTitle, Icon::Critical);
        return false;
    }
    if (!program_.regional.toInt16(t)) {
        refuse(txtYear,
               QStringLiteral("The year must be a whole number from -32768 to 32767, or blank."),
               ProgramTitle, Icon::Critical);
        return false;
    }
    return true;
}

bool frmMain::ValidateStamp() {
    const regional::Regional& r = program_.regional;
    if (txtDescr->text().isEmpty()) {
        refuse(txtDescr,
               QStringLiteral(
                   "You must enter a description for this stamp or click the Cancel button."),
               ProgramTitle, Icon::None);
        return false;
    }
    if (!r.isNumeric(txtQuantity->text())) {
        refuse(txtQuantity, QStringLiteral("You must enter number in the quantity field."),
               QStringLiteral("Non-numeric Quantity Entered"), Icon::None);
        return false;
    }
    // The store holds a 32-bit whole quantity and a 16-bit year: refuse what would not fit
    // rather than lose the record at the store.
    if (!r.toInt32(txtQuantity->text())) {
        refuse(
            txtQuantity,
            QStringLiteral("The quantity must be a whole number from -2147483648 to 2147483647."),
            QStringLiteral("Invalid Quantity"), Icon::None);
        return false;
    }
    if (!txtYear->text().trimmed().isEmpty() && r.isNumeric(txtYear->text()) &&
        !r.toInt16(txtYear->text())) {
        refuse(txtYear,
               QStringLiteral("The year must be a whole number from -32768 to 32767, or blank."),
               QStringLiteral("Invalid Year"), Icon::None);
        return false;
    }
    if (chkSold->isChecked() && chkForSale->isChecked()) {
        refuse(chkForSale, QStringLiteral("A stamp cannot be for sale and sold at the same time."),
               QStringLiteral("Sale Status Error"), Icon::None);
        return false;
    }
    return true;
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        for (const CodeList& l : codeLists_) {
            if (watched != l.combo)
                continue;
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Delete || key == Qt::Key_Backspace) {
                l.combo->setCurrentIndex(-1);
                RecordChanged();
                return true;
            }
            RecordChanged();
        }
    } else if (event->type() == QEvent::FocusIn) {
        // The totals are computed: the focus moves straight on.
        if (watched == txtTotalPaid)
            QMetaObject::invokeMethod(cmbCon, qOverload<>(&QWidget::setFocus),
                                      Qt::QueuedConnection);
        else if (watched == txtTotalSales)
            QMetaObject::invokeMethod(dcDateSold, qOverload<>(&QWidget::setFocus),
                                      Qt::QueuedConnection);
        else if (watched == txtTotalVal)
            QMetaObject::invokeMethod(chkForSale, qOverload<>(&QWidget::setFocus),
                                      Qt::QueuedConnection);
        else if (auto* e = qobject_cast<QLineEdit*>(watched))
            QMetaObject::invokeMethod(e, &QLineEdit::selectAll, Qt::QueuedConnection);
    } else if (event->type() == QEvent::FocusOut && !checking_) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Leaving for another window or a menu is not leaving the field.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            if (watched == txtPricePaid)
                leaveMoney(txtPricePaid, txtTotalPaid);
            else if (watched == txtCatValue)
                leaveMoney(txtCatValue, txtTotalVal);
            else if (watched == txtPriceAsk)
                leaveMoney(txtPriceAsk, txtTotalSales);
            else if (watched == txtQuantity)
                leaveQuantity();
            else if (watched == txtFace)
                leaveFace();
            else if (watched == txtYear)
                leaveYear();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace perlinex
