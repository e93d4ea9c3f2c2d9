#include "app/frmmain.h"

#include "app/exchangecommand.h"
#include "app/frmbackup.h"
#include "app/pictureview.h"
#include "codes/frmcodesmaint.h"
#include "custom/frmrptspec.h"
#include "dates/frmdateent.h"
#include "db/maintenance.h"
#include "db/pendingpicture.h"
#include "db/schema.h"
#include "exchange/window/exchangewindow.h"
#include "find/frmfind.h"
#include "imaging/dibsection.h"
#include "reports/fixedreports.h"
#include "ui/busycursor.h"
#include "ui/slotguard.h"
#include "ui/typingguard.h"
#include "ui/workprogress.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTabWidget>
#include <QTimer>

namespace perlinex {

namespace {

const char* const kOrders[4] = {nullptr, "Select * from stamp order by [descr]",
                                "Select * from stamp order by catsort, catnum",
                                "Select * from stamp order by Issued"};

} // namespace

frmMain::frmMain(Program& program, QWidget* parent)
    : QMainWindow(parent), program_(program), validator_(program.regional), pictures_(program) {
    setObjectName(QStringLiteral("frmMain"));
    reports_ = std::make_unique<reports::FixedReports>(program_, this);
    buildControls();
    buildMenus();
    connectFieldEvents();
    TypingGuard::guardFieldsOf(this);
    updateTitle();
    // Laid out at the size it needs with every button of either mode, so that it does not
    // grow when the mode changes.
    SetEditMode();
    cmdAddNew->setText(tr("&Add Another"));
    const QSize editSize = sizeHint();
    cmdAddNew->setText(tr("&Add New"));
    SetBrowseMode();
    resize(sizeHint().expandedTo(editSize).expandedTo(QSize(760, 560)));
    restorePlace();
}

namespace {
const QString PlaceKey = QStringLiteral("mainWindow/geometry");
const QString PageKey = QStringLiteral("mainWindow/page");
} // namespace

// The window opens where, and as large as, the user left it, on the page left in front; the
// first time, at the size that shows every field of the largest page, within the screen.
void frmMain::restorePlace() {
    const auto settings = program_.settings();
    const QByteArray place = settings->value(PlaceKey).toByteArray();
    if (place.isEmpty() || !restoreGeometry(place)) {
        if (const QScreen* s = screen())
            resize(size().boundedTo(s->availableGeometry().size()));
    }
    const int page = settings->value(PageKey, 0).toInt();
    if (page >= 0 && page < SSTab1->count())
        SSTab1->setCurrentIndex(page);
}

void frmMain::keepPlace() const {
    const auto settings = program_.settings();
    settings->setValue(PlaceKey, saveGeometry());
    settings->setValue(PageKey, SSTab1->currentIndex());
}

frmMain::~frmMain() {
    unload();
}

// ---------------------------------------------------------------------------------------
// Start-up, activation, unload

void frmMain::updateTitle() {
    const QString folder = program_.AppFolder;
    if (folder.isEmpty())
        setWindowTitle(ProgramTitle);
    else if (program_.ReadOnly)
        setWindowTitle(
            tr("%1 — %2 (read-only)").arg(ProgramTitle, QDir::toNativeSeparators(folder)));
    else
        setWindowTitle(tr("%1 — %2").arg(ProgramTitle, QDir::toNativeSeparators(folder)));
}

// A collection that cannot be changed is shown as it is: its boxes are read-only (their text can
// still be selected and copied), the other fields and every command that would change it are
// unavailable. Browsing, sorting, finding, reports, backups and help stay.
void frmMain::keepUnchanged() {
    if (!program_.ReadOnly)
        return;
    for (const FieldControl& fc : fields_) {
        if (auto* e = qobject_cast<QLineEdit*>(fc.widget))
            e->setReadOnly(true);
        else if (auto* t = qobject_cast<QPlainTextEdit*>(fc.widget))
            t->setReadOnly(true);
        else
            fc.widget->setEnabled(false);
    }
    for (QPushButton* b : {cmdAddNew, cmdDelete, cmdPicLoad, cmdPicPaste})
        b->setEnabled(false);
    mnuPack->setEnabled(false);
    mnuImport->setEnabled(false);
}

void frmMain::openStampSet(int order) {
    sortOrder_ = order;
    for (int i = 1; i <= 3; ++i)
        mnuSort[i]->setChecked(i == order);
    program_.StampSet.reset();
    if (!program_.CollectionDb)
        throw db::DbError(db::err::NoDatabase, tr("No collection is open."));
    program_.StampSet = program_.CollectionDb->openRecordSet(QString::fromLatin1(kOrders[order]));
}

void frmMain::showFirstOrClear() {
    if (!hasRows()) {
        ClearStamp();
        DisableFields();
        return;
    }
    program_.StampSet->moveLast();
    program_.StampSet->moveFirst();
    EnableFields();
    ShowStamp();
}

void frmMain::load() {
    ChkDateFmt(program_);
    program_.raiseAllReloadFlags();
    program_.reportTarget = ReportTarget::Preview;
    program_.HeadingShade = QColor(0, 0, 0);
    program_.BodyShade = QColor(200, 200, 200);
    QDir().mkpath(program_.imagesFolder());
    try {
        trap(program_, [&] {
            try {
                program_.openCollection(db::StructureCheck::Deferred);
            } catch (const db::DbError& e) {
                // The handler lets "in use" pass silently; at start-up that leaves nothing to
                // show.
                if (e.number() != db::err::FileInUse)
                    throw;
                program_.dialogs().message(e.text(), ProgramTitle, Buttons::Ok, Icon::Critical);
                program_.endProgram(e.text());
            }
        });
    } catch (const CollectionReopened&) {
        // Damaged and repaired: the collection is open again, start-up goes on.
    }
    try {
        trap(program_, [&] { openStampSet(1); });
        trap(program_, [&] { showFirstOrClear(); });
    } catch (const CollectionReopened&) {
        reopenStampSet();
    }
    Editing = false;
    PictureChanged = false;
    Adding = false;
    cmdAddNew->setText(tr("&Add New"));
    SetBrowseMode();
    updateTitle();
    activate();
    // The check of the file's structure reads the whole file: it waits until the first record
    // is painted, and then runs beside the window.
    checkPending_ = program_.StructureCheckAside;
    QTimer::singleShot(0, this, [this] { checkStructure(); });
}

void frmMain::paintEvent(QPaintEvent* event) {
    QMainWindow::paintEvent(event);
    if (painted_)
        return;
    painted_ = true;
    QTimer::singleShot(0, this, [this] { checkStructure(); });
}

void frmMain::checkStructure() {
    // A window not shown is never painted: its check need not wait.
    if (!checkPending_ || !program_.CollectionDb || (isVisible() && !painted_))
        return;
    checkPending_ = false;
    program_.checkStructureAside([this](bool whole, const QString&) {
        if (!whole)
            guard([this] { confirmDamage(); });
    });
}

void frmMain::confirmDamage() {
    if (!program_.CollectionDb)
        return;
    // Not under a dialog that uses the stamp set: once it is closed.
    if (QApplication::activeModalWidget()) {
        QTimer::singleShot(200, this, [this] { guard([this] { confirmDamage(); }); });
        return;
    }
    // The check beside the window read the file without its lock, and a store written at that
    // moment can look like damage: the collection's own connection has the last word.
    QString detail;
    if (!db::quickCheck(*program_.CollectionDb, &detail))
        HandleDbError(
            program_,
            db::DbError(
                db::err::DamagedFile,
                tr("The collection '%1' is damaged (%2).").arg(program_.DbPath, detail.left(300))));
}

void frmMain::guard(const std::function<void()>& action) {
    runGuarded([&] {
        try {
            try {
                action();
            } catch (const db::DbError& e) {
                // Damage met outside a trap takes the same way as damage found at the open.
                if (e.number() != db::err::DamagedFile)
                    throw;
                HandleDbError(program_, e);
            }
        } catch (const CollectionReopened&) {
            reopenStampSet();
        }
    });
}

void frmMain::reopenStampSet() {
    closeOtherWindows(); // their record sets went with the damaged file
    const bool typing = Editing || Adding;
    const record::StampEntry typed = readEntry();
    const std::optional<std::int64_t> shown = shownId_;
    trap(program_, [&] { openStampSet(sortOrder_); });
    trap(program_, [&] {
        showFirstOrClear();
        if (shown && hasRows()) {
            program_.StampSet->findFirst(QStringLiteral("StampID = %1").arg(*shown));
            if (program_.StampSet->noMatch())
                program_.StampSet->moveFirst();
            ShowStamp();
        }
    });
    if (!program_.StampSet)
        program_.endProgram(tr("The collection could not be opened again."));
    if (!typing)
        return;
    // The record on screen was not stored: it stays, to be stored again. An edited record
    // that did not survive the repair is stored as a new one.
    const bool found = hasRows() && shown && shownId_ == shown;
    if (Editing && !found)
        Adding = true;
    EnableFields();
    Editing = true;
    writeEntry(typed);
    Editing = !Adding;
    SetEditMode();
    if (Adding)
        cmdAddNew->setText(tr("&Add Another"));
    else
        cmdAddNew->hide();
    program_.dialogs().message(
        tr("The record on screen has not been stored yet. Check it and press Update to store "
           "it."),
        ProgramTitle, Buttons::Ok, Icon::Information);
}

void frmMain::unload() {
    program_.closeCollection();
}

void frmMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        guard([this] { activate(); });
}

void frmMain::activate() {
    if (!program_.CollectionDb)
        return;
    bool refilled = false;
    for (QComboBox* combo : codeLists_) {
        const db::CodeTable& t = *db::codeTable(fieldOf(combo)->codeTable);
        if (!program_.reloadFlag(t.number))
            continue;
        fillCodeList(combo, t);
        program_.setReloadFlag(t.number, false);
        refilled = true;
    }
    if (refilled && hasRows() && !program_.StampSet->eof() && !program_.StampSet->bof()) {
        // Keep what the user typed: the refilled lists select the typed entries again.
        if (Editing || Adding)
            return;
        ShowStamp();
    }
}

void frmMain::fillCodeList(QComboBox* combo, const db::CodeTable& t) {
    const QVariant typed = combo->currentIndex() >= 0 ? combo->currentData() : QVariant();
    const bool wasEditing = Editing;
    Editing = true; // the refill is no edit of the record
    combo->clear();
    auto rs =
        program_.CollectionDb->openRecordSet(db::codeListQuery(t), db::RecordSetKind::Snapshot);
    for (; !rs->eof(); rs->moveNext())
        combo->addItem(
            rs->field(QLatin1String(t.descField)).toText(),
            QVariant::fromValue<qlonglong>(rs->field(QLatin1String(t.idField)).toInteger()));
    combo->setCurrentIndex(typed.isValid() ? combo->findData(typed) : -1);
    Editing = wasEditing;
}

void frmMain::closeEvent(QCloseEvent* event) {
    // With the collection already closed (the program is ending) there is nothing to ask.
    if ((Editing || Adding) && program_.CollectionDb) {
        const Answer a = program_.dialogs().message(
            tr("The record on screen has not been stored. Do you want to close Perlinex and lose "
               "the changes?"),
            tr("Close Perlinex"), Buttons::YesNoDefaultNo, Icon::Question);
        if (a != Answer::Yes) {
            event->ignore();
            return;
        }
    }
    // The layout being designed is offered for saving first; Cancel there keeps Perlinex open.
    if (!custom::closeCustomReports(program_)) {
        event->ignore();
        return;
    }
    closeOtherWindows();
    keepPlace();
    unload();
    event->accept();
}

void frmMain::closeOtherWindows() {
    if (codesWindow_)
        codesWindow_->close();
}

// ---------------------------------------------------------------------------------------
// Showing and storing

bool frmMain::hasRows() const {
    return program_.StampSet && program_.StampSet->recordCount() > 0;
}

void frmMain::selectCode(QComboBox* combo, std::optional<std::int64_t> id) {
    // An identifier missing from the list shows no selection rather than a stale one.
    combo->setCurrentIndex(id ? combo->findData(QVariant::fromValue<qlonglong>(*id)) : -1);
}

void frmMain::ShowStamp() {
    db::RecordSet& rs = *program_.StampSet;
    Editing = true;
    shown_ = validator_.show([&](const char* f) { return rs.field(QLatin1String(f)); });
    shownId_ = rs.field(QStringLiteral("stampid")).toInteger();
    writeEntry(shown_);
    if (SSTab1->currentIndex() == ImageTab)
        ShowStampPicture();
    Editing = false;
}

void frmMain::ShowStampPicture() {
    // A picture loaded or pasted and not yet stored stays in view: it is the user's.
    if (PictureChanged)
        return;
    // A new record has no number, so no picture yet.
    if (!hasRows() || Adding || !shownId_) {
        Image1->clear();
        return;
    }
    QString file = pictures_.findFile(*shownId_);
    if (file.isEmpty()) {
        Image1->clear();
        return;
    }
    Image1->showFile(file);
    if (file.endsWith(QLatin1String(".bmp")) && !program_.ReadOnly)
        file = pictures_.convertBitmap(file);
}

void frmMain::StoreStamp() {
    db::RecordSet& rs = *program_.StampSet;
    const record::StampEntry entry = readEntry();
    // A new row gets every field; an edited one only what the user changed.
    const bool newRow = rs.isAdding();
    for (const record::Change& c : validator_.changes(entry, newRow ? nullptr : &shown_))
        trap(program_, [&] { rs.setField(QLatin1String(c.field->name), c.value); });
    // The picture goes under the record's number, known since the row was begun. It waits
    // beside the stored one until the row is stored and only then takes its place, so that a
    // crash in between leaves a row and a picture that belong together. A failed write is
    // reported and the record is stored all the same.
    std::unique_ptr<db::PendingPicture> picture;
    if (PictureChanged)
        trap(program_, [&] {
            picture = pictures_.prepare(*program_.CollectionDb,
                                        rs.field(QStringLiteral("stampid")).toInteger(),
                                        Image1->fullImage());
        });
    PictureChanged = false;
    bool stored = false;
    withLockRetry(program_, [&] {
        rs.update();
        stored = true;
    });
    if (picture)
        pictures_.complete(*picture, stored);
}

void frmMain::ClearStamp() {
    Editing = true;
    writeEntry(record::StampEntry::blank());
    if (SSTab1->currentIndex() == ImageTab)
        Image1->clear();
    Editing = false;
}

void frmMain::DisableFields() {
    for (const FieldControl& fc : fields_)
        if (fc.field->rule != db::EntryRule::Total)
            fc.widget->setEnabled(false);
    for (QPushButton* b : {cmdPicCopy, cmdPicPaste, cmdPicLoad})
        b->setEnabled(false);
}

void frmMain::EnableFields() {
    for (const FieldControl& fc : fields_)
        if (fc.field->rule != db::EntryRule::Total)
            fc.widget->setEnabled(true);
    for (QPushButton* b : {cmdPicCopy, cmdPicPaste, cmdPicLoad})
        b->setEnabled(true);
    keepUnchanged();
}

void frmMain::SetEditMode() {
    for (QPushButton* b : {cmdFirst, cmdPrevious, cmdNext, cmdLast, cmdHelp, cmdFind, cmdDelete})
        b->hide();
    lblEmpty->hide();
    cmdCancel->show();
    cmdUpdate->show();
    for (int i = 1; i <= 9; ++i)
        mnuMaint[i]->setEnabled(false);
    for (int i = 1; i <= 3; ++i)
        mnuSort[i]->setEnabled(false);
    mnuExit->setEnabled(false);
}

void frmMain::SetBrowseMode() {
    // Hidden before the others show, so that the row of buttons never holds both sets.
    cmdCancel->hide();
    cmdUpdate->hide();
    for (QPushButton* b :
         {cmdFirst, cmdPrevious, cmdNext, cmdLast, cmdHelp, cmdFind, cmdDelete, cmdAddNew})
        b->show();
    for (int i = 1; i <= 9; ++i)
        mnuMaint[i]->setEnabled(true);
    for (int i = 1; i <= 3; ++i)
        mnuSort[i]->setEnabled(true);
    mnuExit->setEnabled(true);
    keepUnchanged();
    showWhetherEmpty();
}

// An empty collection says so, and offers nothing to delete or find.
void frmMain::showWhetherEmpty() {
    const bool empty = !hasRows();
    // A collection that cannot be changed gets no stamps here either.
    lblEmpty->setText(
        program_.ReadOnly
            ? tr("This collection has no stamps.")
            : tr("This collection has no stamps yet: press Add New to add the first one."));
    lblEmpty->setVisible(empty && !Adding && !Editing);
    cmdDelete->setEnabled(!empty && !program_.ReadOnly);
    cmdFind->setEnabled(!empty);
}

void frmMain::RecordChanged() {
    if (!hasRows() || Editing || Adding || program_.ReadOnly)
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
    if (program_.ReadOnly)
        return;
    if (!Adding) {
        returnTo_ = hasRows() ? shownId_ : std::nullopt;
        trap(program_, [&] {
            Adding = true;
            if (!hasRows())
                EnableFields();
            else
                program_.StampSet->moveLast();
        });
        SetEditMode();
        cmdAddNew->setText(tr("&Add Another"));
        ClearStamp();
        txtDescr->setFocus();
        return;
    }
    if (!leaveFocusedField() || !ValidateStamp())
        return;
    trap(program_, [&] {
        program_.StampSet->addNew();
        returnTo_ = program_.StampSet->field(QStringLiteral("stampid")).toInteger();
    });
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
    if (!leaveFocusedField() || !ValidateStamp())
        return;
    std::int64_t id = 0;
    if (Adding) {
        trap(program_, [&] {
            program_.StampSet->addNew();
            id = program_.StampSet->field(QStringLiteral("stampid")).toInteger();
        });
        StoreStamp();
        cmdAddNew->setText(tr("&Add New"));
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

// The record the user was on when an edit or an addition is cancelled: the one being edited,
// as stored; while adding, the last one stored with "Add Another", or the one shown before
// "Add New".
std::optional<std::int64_t> frmMain::placeAfterCancel() const {
    return Adding ? returnTo_ : shownId_;
}

void frmMain::cancel() {
    if (program_.StampSet && program_.StampSet->isEditing())
        program_.StampSet->cancelUpdate();
    PictureChanged = false; // a loaded or pasted picture goes with the rest of the edit
    const std::optional<std::int64_t> place = placeAfterCancel();
    if (hasRows()) {
        if (place)
            findStamp(*place);
        else
            program_.StampSet->moveLast();
        ShowStamp();
    } else {
        ClearStamp();
        DisableFields();
    }
    SetBrowseMode();
    cmdAddNew->setText(tr("&Add New"));
    Editing = false;
    Adding = false;
}

// The question names the stamp, so that a delete on the wrong record is caught before it is
// made.
QString frmMain::deleteQuestion() const {
    const QString descr = shown_.text(QStringLiteral("descr"));
    const QString catnum = shown_.text(QStringLiteral("catnum"));
    const QString stamp = catnum.trimmed().isEmpty()
                              ? tr("\u201C%1\u201D").arg(descr)
                              : tr("\u201C%1\u201D, catalogue number %2").arg(descr, catnum);
    return tr("Are you sure that you want to delete this stamp record?\n\n%1").arg(stamp);
}

void frmMain::deleteStamp() {
    if (program_.ReadOnly)
        return;
    if (!program_.StampSet || (program_.StampSet->bof() && program_.StampSet->eof()))
        return;
    if (program_.dialogs().message(deleteQuestion(), tr("Delete Stamp"), Buttons::YesNoDefaultNo,
                                   Icon::Question) != Answer::Yes)
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
    showWhetherEmpty();
}

void frmMain::customReports(const QString& layoutFile) {
    guard([&] {
        custom::frmRptSpec* designer = custom::showCustomReports(program_, *reports_, this);
        if (designer && !layoutFile.isEmpty())
            designer->openLayoutFile(layoutFile);
    });
}

void frmMain::find() {
    if (!hasRows()) {
        program_.dialogs().message(tr("No stamps entered to find."), tr("No Stamps in Database"));
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
    // Damage met by the search takes the way of damage met anywhere: repaired, then the set
    // is opened anew (the handler does not come back here).
    if (const auto damage = findDialog_->takeDamage())
        HandleDbError(program_, *damage);
    trap(program_, [&] {
        if (program_.DialogCancelled) {
            rs.findFirst(backToShown);
            ShowStamp();
        }
        if (rs.noMatch()) {
            program_.dialogs().message(tr("That stamp was not found."), tr("No Records Match"));
            rs.findFirst(backToShown);
        }
        ShowStamp();
    });
}

void frmMain::sortBy(int order) {
    if (order < 1 || order > 3)
        return;
    BusyCursor busy;
    trap(program_, [&] {
        openStampSet(order);
        showFirstOrClear();
    });
}

void frmMain::maintain(int maintTable) {
    program_.MaintTable = maintTable;
    if (!codesWindow_)
        codesWindow_ = new frmCodesMaint(program_, this);
    codesWindow_->showTable(maintTable);
}

// ---------------------------------------------------------------------------------------
// Pictures

void frmMain::loadPicture() {
    if (program_.ReadOnly)
        return;
    const std::optional<QString> name =
        program_.dialogs().openFileName(tr("Load Image"), StampPictures::loadFilter());
    if (!name || name->isEmpty())
        return;
    if (!QFileInfo(*name).isFile()) {
        program_.dialogs().message(tr("File not found."));
        return;
    }
    // A file the picture reader cannot take changes nothing.
    if (!Image1->showFile(*name))
        return;
    PictureChanged = true;
    RecordChanged();
}

void frmMain::pastePicture() {
    if (program_.ReadOnly)
        return;
    PictureChanged = true;
    RecordChanged();
    Image1->showImage(QGuiApplication::clipboard()->image());
}

void frmMain::copyPicture() {
    const QImage picture = Image1->fullImage();
    if (picture.isNull())
        return;
    imaging::cDIBSection bitmap;
    bitmap.CreateFromPicture(picture);
    bitmap.CopyToClipboard(false);
}

// ---------------------------------------------------------------------------------------
// File menu

bool frmMain::refuseWhileEditing(const QString& title) {
    if (!Editing && !Adding)
        return false;
    program_.dialogs().message(
        tr("Please store or cancel the record on screen before making or restoring a backup "
           "or compacting the collection."),
        title, Buttons::Ok, Icon::Information);
    return true;
}

void frmMain::packDatabase() {
    const QString title = tr("Compact Database");
    if (program_.ReadOnly || refuseWhileEditing(title))
        return;
    if (program_.dialogs().message(tr("Do you wish to compact the Perlinex database?"), title,
                                   Buttons::YesNo, Icon::Question) != Answer::Yes)
        return;
    closeOtherWindows();
    unload();
    {
        WorkProgress progress(this, title, tr("Compacting the collection..."));
        try {
            db::compactCollection(program_.AppFolder, progress.callback());
        } catch (const db::DbError& e) {
            progress.setLabel(QString());
            program_.dialogs().message(e.text(), title, Buttons::Ok, Icon::Critical);
        }
    }
    load();
}

void frmMain::backup() {
    if (refuseWhileEditing(tr("Backup")))
        return;
    closeOtherWindows();
    unload();
    {
        frmBackup dialog(program_, this);
        dialog.exec();
    }
    load();
}

void frmMain::exportCsv() {
    // Every stamp, in the order the window browses them.
    const QString order =
        QString::fromLatin1(kOrders[sortOrder_]).section(QStringLiteral(" order by "), 1);
    exchange::exportFromWindow(program_, this, {QString(), order});
}

void frmMain::importStamps() {
    if (program_.ReadOnly)
        return;
    if (Editing || Adding) {
        program_.dialogs().message(
            tr("Please store or cancel the record on screen before importing stamps."),
            tr("Import"), Buttons::Ok, Icon::Information);
        return;
    }
    exchange::importFromWindow(
        program_, this, app::pictureAsJpeg,
        [this](const exchange::ImportOutcome& outcome) { showImported(outcome.firstId); });
}

void frmMain::showImported(std::int64_t firstId) {
    program_.raiseAllReloadFlags(); // the import may have added classifications
    trap(program_, [&] {
        openStampSet(sortOrder_);
        showFirstOrClear();
    });
    activate();
    trap(program_, [&] {
        if (!hasRows())
            return;
        findStamp(firstId);
        ShowStamp();
    });
}

void frmMain::exitProgram() {
    close();
}

} // namespace perlinex
