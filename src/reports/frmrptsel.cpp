#include "reports/frmrptsel.h"

#include "db/fields.h"
#include "db/recordset.h"
#include "reports/reportdefinitions.h"
#include "ui/slotguard.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace perlinex::reports {

namespace {

template <typename T> T* named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

frmRptSel::frmRptSel(Program& program, int category, QWidget* parent)
    : QDialog(parent), program_(program) {
    setObjectName(QStringLiteral("frmRptSel"));
    setModal(true);

    VideoSoftElastic1 = named(new QWidget(this), "VideoSoftElastic1");
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(VideoSoftElastic1);
    auto* layout = new QVBoxLayout(VideoSoftElastic1);
    optAll = named(new QRadioButton, "optAll");
    optSelected = named(new QRadioButton, "optSelected");
    List1 = named(new QListWidget, "List1");
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    cmdOk = named(new QPushButton(tr("&Ok")), "cmdOk");
    cmdCancel = named(new QPushButton(tr("&Cancel")), "cmdCancel");
    cmdOk->setDefault(true);
    layout->addWidget(optAll);
    layout->addWidget(optSelected);
    layout->addWidget(List1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    layout->addLayout(buttons);
    setTabOrder(optAll, optSelected);
    setTabOrder(optSelected, List1);
    setTabOrder(List1, cmdOk);
    setTabOrder(cmdOk, cmdCancel);

    if (const ReportDefinition* report = reportOfCategory(category)) {
        setWindowTitle(reportText(report->selectionCaption));
        optAll->setText(reportText(report->allCaption));
        optSelected->setText(reportText(report->selectedCaption));
    }
    loadEntries(category);

    connectGuarded(optAll, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            allChosen();
    });
    connectGuarded(optSelected, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            List1->setEnabled(true);
    });
    connectGuarded(cmdOk, &QPushButton::clicked, this, &frmRptSel::okClicked);
    connectGuarded(cmdCancel, &QPushButton::clicked, this, &frmRptSel::reject);

    optAll->setChecked(true);
    allChosen();
    optAll->setFocus();
    resize(sizeHint().expandedTo(QSize(300, 320)));
}

void frmRptSel::loadEntries(int category) {
    const db::CodeTable* table = db::codeTable(category);
    if (!table || !program_.CollectionDb)
        return;
    const QString desc = QString::fromLatin1(table->descField);
    const QString id = QString::fromLatin1(table->idField);
    trap(program_, [&] {
        auto rs = program_.CollectionDb->openRecordSet(db::codeListQuery(*table),
                                                       db::RecordSetKind::Snapshot);
        for (; !rs->eof(); rs->moveNext()) {
            auto* item = new QListWidgetItem(rs->field(desc).toText(), List1);
            item->setData(Qt::UserRole, qint32(rs->field(id).toInteger()));
        }
    });
}

void frmRptSel::allChosen() {
    List1->clearSelection();
    List1->setCurrentItem(nullptr);
    List1->setEnabled(false);
}

std::optional<std::int32_t> frmRptSel::choose() {
    chosen_.reset();
    exec();
    return chosen_;
}

void frmRptSel::okClicked() {
    if (optAll->isChecked()) {
        chosen_ = -1;
    } else {
        const QList<QListWidgetItem*> chosen = List1->selectedItems();
        if (chosen.isEmpty()) {
            program_.dialogs().message(tr("You must make a selection from the list!"));
            return;
        }
        chosen_ = chosen.front()->data(Qt::UserRole).toInt();
    }
    accept();
}

} // namespace perlinex::reports
