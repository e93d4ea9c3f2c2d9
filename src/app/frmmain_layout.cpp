// The main window's controls, tabs and menus, and the wiring of their events.
#include "app/frmabout.h"
#include "app/frmmain.h"
#include "app/helpviewer.h"
#include "dates/datefield.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
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

} // namespace perlinex
