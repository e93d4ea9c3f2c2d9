#include "app/frmmain.h"

#include "app/frmbackup.h"
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
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace perlinex {

namespace {

const char* const kOrders[4] = {nullptr, "Select * from stamp order by [descr]",
                                "Select * from stamp order by catsort, catnum",
                                "Select * from stamp order by Issued"};

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

} // namespace perlinex
