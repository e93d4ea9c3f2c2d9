// The designer's controls and their places; its behaviour is in frmrptspec.cpp.
#include "custom/frmrptspec.h"

#include "custom/criteriadatefield.h"
#include "ui/slotguard.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <iterator>

namespace perlinex::custom {

namespace {

template <typename T> T* named(T* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

QLabel* label(const QString& text, QWidget* buddy, const QString& name) {
    auto* l = named(new QLabel(text), name);
    l->setBuddy(buddy);
    return l;
}

QPushButton* pictureButton(QStyle::StandardPixmap icon, const QString& name, const QString& tip) {
    auto* b = named(new QPushButton, name);
    b->setIcon(b->style()->standardIcon(icon));
    b->setToolTip(tip);
    b->setAccessibleName(tip);
    b->setAutoDefault(false);
    return b;
}

QFormLayout* formLayout(QWidget* parent) {
    auto* form = new QFormLayout(parent);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return form;
}

} // namespace

void frmRptSpec::buildControls() {
    Tab1 = named(new QTabWidget, QStringLiteral("Tab1"));
    // The tab captions carry no accelerators of their own: Ctrl+Tab and Ctrl+PgUp/PgDown
    // change the page.
    Tab1->addTab(buildFieldsPage(), tr("Report Fields"));
    Tab1->addTab(buildOptionsPage(), tr("Report Options"));
    Tab1->addTab(buildSortingPage(), tr("Sorting"));

    cmdGenerate = named(new QPushButton(tr("&Generate Report")), QStringLiteral("cmdGenerate"));
    cmdGenerate->setAutoDefault(false);
    cmdCancel = named(new QPushButton(tr("E&xit Custom Reports")), QStringLiteral("cmdCancel"));
    cmdCancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdGenerate);
    buttons->addWidget(cmdCancel);

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(Tab1);
    layout->addLayout(buttons);
    setCentralWidget(central);
    statusBar()->setObjectName(QStringLiteral("statusBar")); // where written reports are told
    buildMenu();
    orderTabs();
}

QWidget* frmRptSpec::buildFieldsPage() {
    auto* page = named(new QWidget, QStringLiteral("tabFields"));

    List1 = named(new QListWidget, QStringLiteral("List1"));
    List2 = named(new QListWidget, QStringLiteral("List2"));
    for (QListWidget* list : {List1, List2}) {
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setMinimumWidth(fontMetrics().horizontalAdvance(u'M') * 14);
        list->setMinimumHeight(fontMetrics().lineSpacing() * 10);
    }
    cmdAdd = pictureButton(QStyle::SP_ArrowRight, QStringLiteral("cmdAdd"),
                           tr("Add the field to the report"));
    cmdRemove = pictureButton(QStyle::SP_ArrowLeft, QStringLiteral("cmdRemove"),
                              tr("Remove the field from the report"));
    cmdUp = pictureButton(QStyle::SP_ArrowUp, QStringLiteral("cmdUp"),
                          tr("Move the field up (to the left in the report)"));
    cmdDown = pictureButton(QStyle::SP_ArrowDown, QStringLiteral("cmdDown"),
                            tr("Move the field down (to the right in the report)"));

    auto* addRemove = new QVBoxLayout;
    addRemove->addStretch();
    addRemove->addWidget(cmdAdd);
    addRemove->addWidget(cmdRemove);
    addRemove->addStretch();
    auto* upDown = new QVBoxLayout;
    upDown->addStretch();
    upDown->addWidget(cmdUp);
    upDown->addWidget(cmdDown);
    upDown->addStretch();

    auto* lists = new QGridLayout;
    lists->addWidget(label(tr("&Available Fields"), List1, QStringLiteral("lblList1")), 0, 0);
    lists->addWidget(label(tr("Fields to R&eport"), List2, QStringLiteral("lblList2")), 0, 2);
    lists->addWidget(List1, 1, 0);
    lists->addLayout(addRemove, 1, 1);
    lists->addWidget(List2, 1, 2);
    lists->addLayout(upDown, 1, 3);
    lists->setColumnStretch(0, 1);
    lists->setColumnStretch(2, 1);

    // The details of the selected report field.
    frame1 = named(new QGroupBox(tr("Details For ")), QStringLiteral("frame1"));
    txtWidth = named(new QLineEdit, QStringLiteral("txtWidth"));
    txtWidth->setMaximumWidth(fontMetrics().horizontalAdvance(u'0') * 10);
    chkHide = named(new QCheckBox(tr("&Hide Field")), QStringLiteral("chkHide"));
    auto* column = new QWidget;
    auto* columnForm = formLayout(column);
    columnForm->setContentsMargins(0, 0, 0, 0);
    columnForm->addRow(label(tr("&Width"), txtWidth, QStringLiteral("lblWidth")), txtWidth);
    columnForm->addRow(chkHide);

    const auto criteria = [&](int type) {
        auto* box =
            named(new QGroupBox(tr("Selection Criteria")), QStringLiteral("fraSel%1").arg(type));
        fraSel[std::size_t(type)] = box;
        return box;
    };
    QGroupBox* text = criteria(int(DataType::Text));
    txtStarting = named(new QLineEdit, QStringLiteral("txtStarting"));
    formLayout(text)->addRow(label(tr("Starts w&ith:"), txtStarting, QStringLiteral("lblStarting")),
                             txtStarting);

    QGroupBox* number = criteria(int(DataType::Number));
    txtGreater = named(new QLineEdit, QStringLiteral("txtGreater"));
    txtLess = named(new QLineEdit, QStringLiteral("txtLess"));
    chkTotal = named(new QCheckBox(tr("Show &Total")), QStringLiteral("chkTotal"));
    QFormLayout* numberForm = formLayout(number);
    numberForm->addRow(label(tr("Greater Tha&n"), txtGreater, QStringLiteral("lblGreater")),
                       txtGreater);
    numberForm->addRow(label(tr("&Less Than"), txtLess, QStringLiteral("lblLess")), txtLess);
    numberForm->addRow(chkTotal);

    QGroupBox* date = criteria(int(DataType::Date));
    dcStartDate = new CriteriaDateField(program_, tr("Select Start Date"), QString(),
                                        DateField::Placement::Below);
    dcStartDate->setObjectName(QStringLiteral("dcStartDate"));
    dcEndDate = new CriteriaDateField(program_, tr("Select End Date"), QString(),
                                      DateField::Placement::Below);
    dcEndDate->setObjectName(QStringLiteral("dcEndDate"));
    QFormLayout* dateForm = formLayout(date);
    dateForm->addRow(label(tr("Start &Date"), dcStartDate, QStringLiteral("lblStartDate")),
                     dcStartDate);
    dateForm->addRow(label(tr("E&nd Date"), dcEndDate, QStringLiteral("lblEndDate")), dcEndDate);

    QGroupBox* yesNo = criteria(int(DataType::YesNo));
    optTrue = named(new QRadioButton(tr("Tr&ue")), QStringLiteral("optTrue"));
    optFalse = named(new QRadioButton(tr("Fa&lse")), QStringLiteral("optFalse"));
    auto* yesNoLayout = new QVBoxLayout(yesNo);
    yesNoLayout->addWidget(optTrue);
    yesNoLayout->addWidget(optFalse);
    yesNoLayout->addStretch();

    QGroupBox* time = criteria(int(DataType::Time));
    txtStartTime = named(new QLineEdit, QStringLiteral("txtStartTime"));
    txtEndTime = named(new QLineEdit, QStringLiteral("txtEndTime"));
    QFormLayout* timeForm = formLayout(time);
    timeForm->addRow(label(tr("Start Ti&me"), txtStartTime, QStringLiteral("lblStartTime")),
                     txtStartTime);
    timeForm->addRow(label(tr("E&nd Time"), txtEndTime, QStringLiteral("lblEndTime")), txtEndTime);

    // Every criteria frame as tall as the tallest, so that the page keeps its shape from one
    // field to the next.
    auto* criteriaColumn = new QVBoxLayout;
    int tallest = 0;
    for (int type = 1; type <= 5; ++type)
        tallest = std::max(tallest, fraSel[std::size_t(type)]->sizeHint().height());
    for (int type = 1; type <= 5; ++type) {
        QGroupBox* box = fraSel[std::size_t(type)];
        box->setMinimumHeight(tallest);
        box->setVisible(false);
        criteriaColumn->addWidget(box);
    }

    auto* details = new QHBoxLayout(frame1);
    details->addWidget(column, 0, Qt::AlignTop);
    details->addSpacing(fontMetrics().horizontalAdvance(u'M'));
    details->addLayout(criteriaColumn, 1);

    // The frame's place stays when it is hidden, so that the lists do not jump.
    auto* detailsHolder = new QWidget;
    auto* holder = new QVBoxLayout(detailsHolder);
    holder->setContentsMargins(0, 0, 0, 0);
    holder->addWidget(frame1);
    fraSel[1]->setVisible(true);
    detailsHolder->setMinimumHeight(frame1->sizeHint().height());
    fraSel[1]->setVisible(false);
    frame1->setVisible(false);

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(lists, 1);
    layout->addWidget(detailsHolder);
    return page;
}

QWidget* frmRptSpec::buildOptionsPage() {
    auto* page = named(new QWidget, QStringLiteral("tabOptions"));
    txtTitle = named(new QLineEdit, QStringLiteral("txtTitle"));
    auto* title = formLayout(nullptr);
    title->addRow(label(tr("Report &Title"), txtTitle, QStringLiteral("lblTitle")), txtTitle);

    auto* reportTo = named(new QGroupBox(tr("Report To")), QStringLiteral("fraReportTo"));
    auto* reportToLayout = new QVBoxLayout(reportTo);
    const QString targets[] = {QString(), tr("Screen/&Printer"), tr("Text Fi&le"),
                               tr("&Web Table (html)")};
    for (int i = 1; i <= 3; ++i) {
        optReportTo[std::size_t(i)] =
            named(new QRadioButton(targets[i]), QStringLiteral("optReportTo%1").arg(i));
        reportToLayout->addWidget(optReportTo[std::size_t(i)]);
    }
    reportToLayout->addStretch();

    fraOrient = named(new QGroupBox(tr("Report Orientation")), QStringLiteral("fraOrient"));
    auto* orientLayout = new QVBoxLayout(fraOrient);
    const QString orientations[] = {tr("Portr&ait"), tr("La&ndscape")};
    for (int i = 0; i < 2; ++i) {
        optOrient[std::size_t(i)] =
            named(new QRadioButton(orientations[i]), QStringLiteral("optOrient%1").arg(i));
        orientLayout->addWidget(optOrient[std::size_t(i)]);
    }
    orientLayout->addStretch();

    fraFormat = named(new QGroupBox(tr("Report Formatting")), QStringLiteral("fraFormat"));
    const QString units[] = {tr("Width in &Inches"), tr("&Centimeters")};
    for (int i = 0; i < 2; ++i)
        optWidth[std::size_t(i)] =
            named(new QRadioButton(units[i]), QStringLiteral("optWidth%1").arg(i));
    cmbPageNum = named(new QComboBox, QStringLiteral("cmbPageNum"));
    chkDate = named(new QCheckBox(tr("Show &Date in Header")), QStringLiteral("chkDate"));
    QFormLayout* format = formLayout(fraFormat);
    format->addRow(optWidth[0]);
    format->addRow(optWidth[1]);
    format->addRow(label(tr("Page N&umber"), cmbPageNum, QStringLiteral("lblPageNum")), cmbPageNum);
    format->addRow(chkDate);

    auto* frames = new QHBoxLayout;
    frames->addWidget(reportTo, 0, Qt::AlignTop);
    frames->addWidget(fraOrient, 0, Qt::AlignTop);
    frames->addWidget(fraFormat, 0, Qt::AlignTop);
    frames->addStretch();

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(title);
    layout->addSpacing(fontMetrics().height() / 2);
    layout->addLayout(frames);
    layout->addStretch();
    return page;
}

QWidget* frmRptSpec::buildSortingPage() {
    auto* page = named(new QWidget, QStringLiteral("tabSorting"));
    cmbSort1 = named(new QComboBox, QStringLiteral("cmbSort1"));
    cmbSort2 = named(new QComboBox, QStringLiteral("cmbSort2"));
    for (QComboBox* list : {cmbSort1, cmbSort2})
        list->setMinimumContentsLength(20);
    auto* layout = new QVBoxLayout(page);
    auto* form = formLayout(nullptr);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    form->addRow(label(tr("&Primary Sort"), cmbSort1, QStringLiteral("lblSort1")), cmbSort1);
    form->addRow(label(tr("Se&condary Sort"), cmbSort2, QStringLiteral("lblSort2")), cmbSort2);
    layout->addLayout(form);
    layout->addStretch();
    return page;
}

void frmRptSpec::buildMenu() {
    mnuFileMenu = menuBar()->addMenu(tr("&File"));
    mnuFileMenu->setObjectName(QStringLiteral("mnuFileMenu"));
    const auto item = [&](const QString& text, const char* name, QKeySequence::StandardKey key) {
        QAction* a = mnuFileMenu->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        if (key != QKeySequence::UnknownKey)
            a->setShortcut(key);
        return a;
    };
    connectGuarded(item(tr("&New"), "mnuNew", QKeySequence::New), &QAction::triggered, this,
                   [this] { newLayout(); });
    connectGuarded(item(tr("&Open"), "mnuOpen", QKeySequence::Open), &QAction::triggered, this,
                   [this] { openLayout(); });
    connectGuarded(item(tr("&Save"), "mnuSave", QKeySequence::Save), &QAction::triggered, this,
                   [this] { save(); });
    connectGuarded(item(tr("Save &As"), "mnuSaveAs", QKeySequence::SaveAs), &QAction::triggered,
                   this, [this] { saveAs(); });
    mnuFileMenu->addSeparator()->setObjectName(QStringLiteral("mnuDash1"));
    connectGuarded(item(tr("E&xit Custom Reports"), "mnuExit", QKeySequence::UnknownKey),
                   &QAction::triggered, this, [this] { close(); });
}

void frmRptSpec::orderTabs() {
    QWidget* order[] = {Tab1,           List1,          cmdAdd,         cmdRemove,    List2,
                        cmdUp,          cmdDown,        txtWidth,       chkHide,      txtStarting,
                        txtGreater,     txtLess,        chkTotal,       dcStartDate,  dcEndDate,
                        optTrue,        optFalse,       txtStartTime,   txtEndTime,   txtTitle,
                        optReportTo[1], optReportTo[2], optReportTo[3], optOrient[0], optOrient[1],
                        optWidth[0],    optWidth[1],    cmbPageNum,     chkDate,      cmbSort1,
                        cmbSort2,       cmdGenerate,    cmdCancel};
    for (std::size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

} // namespace perlinex::custom
