#include "app/frmmain.h"

#include "app/collectionpane.h"
#include "app/exchangecommand.h"
#include "app/frmbackup.h"
#include "app/pictureview.h"
#include "app/recentcollections.h"
#include "app/servercommand.h"
#include "app/sharedfollower.h"
#include "app/thumbnails.h"
#include "codes/frmcodesmaint.h"
#include "custom/frmrptspec.h"
#include "dates/frmdateent.h"
#include "db/pg/pgpictures.h"
#include "db/pg/pgstore.h"
#include "db/schema.h"
#include "db/sqlite/collectionfile.h"
#include "db/sqlite/maintenance.h"
#include "db/sqlite/pendingpicture.h"
#include "exchange/window/exchangewindow.h"
#include "find/frmfind.h"
#include "imaging/dibsection.h"
#include "reports/fixedreports.h"
#include "stats/frmstats.h"
#include "ui/busycursor.h"
#include "ui/slotguard.h"
#include "ui/typingguard.h"
#include "ui/workprogress.h"
#include "util/textfields.h"

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
#include <QSplitter>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>

namespace perlinex {

frmMain::frmMain(Program& program, QWidget* parent)
    : QMainWindow(parent), program_(program), validator_(program.regional), pictures_(program),
      browser_(program.regional) {
    setObjectName(QStringLiteral("frmMain"));
    // The views let go of the collection before it closes, keeping where the user was.
    program_.beforeClose = [this] {
        if (browser_.isOpen())
            held_ = Held{browser_.mode(), browser_.currentId()};
        thumbnails_->waitForAll();
        thumbnails_->clear();
        browser_.close();
    };
    for (auto signal : {&browse::StampBrowser::currentChanged, &browse::StampBrowser::listChanged,
                        &browse::StampBrowser::modeChanged})
        connect(&browser_, signal, this, &frmMain::showPosition);
    connect(&browser_, &browse::StampBrowser::currentChanged, this, &frmMain::showCurrent);
    connect(&browser_, &browse::StampBrowser::modeChanged, this, &frmMain::followMode);
    connect(&browser_, &browse::StampBrowser::listChanged, this, [this] {
        showOrder();
        showWhetherEmpty();
    });
    connect(&browser_, &browse::StampBrowser::boundaryReached, this,
            [this] { program_.dialogs().beep(); });
    reports_ = std::make_unique<reports::FixedReports>(program_, this);
    buildControls();
    buildMenus();
    connectFieldEvents();
    TypingGuard::guardFieldsOf(this);
    updateTitle();
    // Laid out at the size it needs with every button of either mode, so that it does not
    // grow when the mode changes; the list is shown (or not) as the user left it afterwards.
    pane_->hide();
    SetEditMode();
    cmdAddNew->setText(tr("&Add Another"));
    const QSize editSize = sizeHint();
    cmdAddNew->setText(tr("&Add New"));
    SetBrowseMode();
    resize(sizeHint().expandedTo(editSize).expandedTo(QSize(760, 560)));
    // The window shrinks no further than the record form's own minimum, where fields begin to
    // be cut off (the layout would take the splitter's unpolished first sizes instead, wider
    // than a small screen); never beyond the screen.
    QSize smallest = minimumSizeHint();
    if (const QScreen* s = screen())
        smallest = smallest.boundedTo(s->availableGeometry().size());
    restorePlace();
    setMinimumSize(smallest);
}

namespace {
const QString PlaceKey = QStringLiteral("mainWindow/geometry");
const QString PageKey = QStringLiteral("mainWindow/page");
const QString ListKey = QStringLiteral("mainWindow/list");
const QString SplitKey = QStringLiteral("mainWindow/listSplit");
const QString ColumnsKey = QStringLiteral("mainWindow/listColumns");
constexpr int ListScreenWidth = 1024;
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
    pane_->restoreColumnState(settings->value(ColumnsKey).toByteArray());
    splList->restoreState(settings->value(SplitKey).toByteArray());
    // A new user sees the list, unless the screen is too narrow for it beside the record.
    const QScreen* s = screen();
    const bool roomForList = !s || s->availableGeometry().width() >= ListScreenWidth;
    showList(settings->value(ListKey, roomForList).toBool());
    // The first time, the window makes room for the list beside the record, within the screen.
    if (place.isEmpty() && mnuViewList->isChecked() && s) {
        const int listWidth = pane_->sizeHint().width() * 2;
        resize(QSize(width() + listWidth, height()).boundedTo(s->availableGeometry().size()));
        splList->setSizes({listWidth, width() - listWidth});
    }
}

void frmMain::keepPlace() const {
    const auto settings = program_.settings();
    settings->setValue(PlaceKey, saveGeometry());
    settings->setValue(PageKey, SSTab1->currentIndex());
    settings->setValue(ListKey, mnuViewList->isChecked());
    settings->setValue(SplitKey, splList->saveState());
    settings->setValue(ColumnsKey, pane_->columnState());
}

void frmMain::showList(bool shown) {
    mnuViewList->setChecked(shown);
    pane_->setVisible(shown);
}

// "Stamp 12 of 4,310 (filtered from 100,000)" in the status bar.
void frmMain::showPosition() {
    QString text = browser_.position(program_.regional.locale());
    if (!browser_.conditionDescription().isEmpty() && !text.isEmpty())
        text += tr(" \u2014 %1").arg(browser_.conditionDescription());
    lblPosition->setText(text);
}

frmMain::~frmMain() {
    unload();
    program_.beforeClose = nullptr;
    // The list reads the browser, a member that goes before the child widgets do.
    delete pane_;
    pane_ = nullptr;
}

// ---------------------------------------------------------------------------------------
// Start-up, activation, unload

void frmMain::updateTitle() {
    const QString folder = program_.AppFolder;
    if (program_.shared())
        setWindowTitle(
            tr("%1 — %2 (shared)").arg(ProgramTitle, sharedCollectionName(program_.Server)));
    else if (folder.isEmpty())
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

// The browser opens on the collection in the order and with the filter it had, its first
// stamp shown.
void frmMain::openBrowser() {
    held_.reset();
    if (!program_.CollectionDb)
        throw db::DbError(db::err::NoDatabase, tr("No collection is open."));
    browser_.open(*program_.CollectionDb, program_.ReadOnly);
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
    PictureChanged = false;
    // Listening starts before anything is read, so that no other desk's store falls between.
    followOtherDesks();
    // The code lists are filled before the first stamp is shown in them.
    activate();
    try {
        trap(program_, [&] { openBrowser(); });
    } catch (const CollectionReopened&) {
        reopenStampSet();
    }
    followMode();
    showCurrent();
    showOrder();
    updateTitle();
    if (program_.CollectionDb)
        fillRecent();
    // The check of the file's structure reads the whole file: it waits until the first record
    // is painted, and then runs beside the window.
    checkPending_ = program_.StructureCheckAside;
    QTimer::singleShot(0, this, [this] { guard([this] { checkStructure(); }); });
}

void frmMain::followOtherDesks() {
    if (!program_.shared() || !program_.CollectionDb)
        return;
    try {
        follower_ = std::make_unique<SharedFollower>(program_.Server, *program_.CollectionDb);
    } catch (const db::DbError& e) {
        // The collection works without it; only other desks' stores show later.
        std::fprintf(stderr, "perlinex: other desks' changes are not followed: %s\n",
                     e.text().toLocal8Bit().constData());
        return;
    }
    // A record being edited stays as the user has it; the list around it follows.
    connect(follower_.get(), &SharedFollower::stampsChanged, this,
            [this] { guard([this] { browser_.refresh(); }); });
    connect(follower_.get(), &SharedFollower::picturesChanged, this, [this] {
        guard([this] {
            if (thumbnails_)
                thumbnails_->clear();
            if (!changing() && SSTab1->currentIndex() == ImageTab)
                ShowStampPicture();
        });
    });
    connect(follower_.get(), &SharedFollower::codesChanged, this, [this](int table) {
        guard([this, table] {
            program_.setReloadFlag(table, true);
            activate();
            if (codesWindow_)
                codesWindow_->followOtherDesks(table);
        });
    });
}

void frmMain::paintEvent(QPaintEvent* event) {
    QMainWindow::paintEvent(event);
    if (painted_)
        return;
    painted_ = true;
    QTimer::singleShot(0, this, [this] { guard([this] { checkStructure(); }); });
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
    using Mode = browse::StampBrowser::Mode;
    closeOtherWindows(); // their record sets went with the damaged file
    const Held held = held_.value_or(Held{browser_.mode(), browser_.currentId()});
    const bool typing = held.mode == Mode::Editing || held.mode == Mode::Adding;
    const record::StampEntry typed = readEntry();
    trap(program_, [&] { openBrowser(); });
    trap(program_, [&] {
        if (held.id)
            browser_.moveToStamp(*held.id);
    });
    if (!browser_.isOpen())
        program_.endProgram(tr("The collection could not be opened again."));
    if (!typing)
        return;
    // The record on screen was not stored: it stays, to be stored again. An edited record
    // that did not survive the repair is stored as a new one.
    const bool found = held.id && browser_.currentId() == held.id;
    if (!(held.mode == Mode::Editing && found && browser_.beginEdit()))
        browser_.beginAdd();
    EnableFields();
    showing_ = true;
    writeEntry(typed);
    showing_ = false;
    program_.dialogs().message(
        tr("The record on screen has not been stored yet. Check it and press Update to store "
           "it."),
        ProgramTitle, Buttons::Ok, Icon::Information);
}

void frmMain::unload() {
    follower_.reset();
    program_.closeCollection();
    held_.reset();
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
    // Keep what the user typed: the refilled lists select the typed entries again. Otherwise
    // the list and the stamp are read again, with the entries' new descriptions.
    if (refilled && !changing())
        browser_.refresh();
}

void frmMain::fillCodeList(QComboBox* combo, const db::CodeTable& t) {
    const QVariant typed = combo->currentIndex() >= 0 ? combo->currentData() : QVariant();
    const bool wasShowing = showing_;
    showing_ = true; // the refill is no edit of the record
    combo->clear();
    auto rs =
        program_.CollectionDb->openRecordSet(db::codeListQuery(t), db::RecordSetKind::Snapshot);
    for (; !rs->eof(); rs->moveNext())
        combo->addItem(
            rs->field(QLatin1String(t.descField)).toText(),
            QVariant::fromValue<qlonglong>(rs->field(QLatin1String(t.idField)).toInteger()));
    combo->setCurrentIndex(typed.isValid() ? combo->findData(typed) : -1);
    showing_ = wasShowing;
}

void frmMain::closeEvent(QCloseEvent* event) {
    // With the collection already closed (the program is ending) there is nothing to ask.
    if (changing() && program_.CollectionDb) {
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

void frmMain::selectCode(QComboBox* combo, std::optional<std::int64_t> id) {
    // An identifier missing from the list shows no selection rather than a stale one.
    combo->setCurrentIndex(id ? combo->findData(QVariant::fromValue<qlonglong>(*id)) : -1);
}

// The record form follows the browser's current stamp: a new one is typed on a blank form.
void frmMain::showCurrent() {
    if (!browser_.isOpen())
        return; // the collection is closing: what is on screen stays until it opens again
    if (isAdding()) {
        EnableFields();
        ClearStamp();
        return;
    }
    if (!browser_.currentId()) {
        ClearStamp();
        DisableFields();
        return;
    }
    EnableFields();
    ShowStamp();
}

void frmMain::followMode() {
    if (!browser_.isOpen() && held_)
        return;
    switch (browser_.mode()) {
    case browse::StampBrowser::Mode::Editing:
        SetEditMode();
        cmdAddNew->hide();
        break;
    case browse::StampBrowser::Mode::Adding:
        SetEditMode();
        cmdAddNew->setText(tr("&Add Another"));
        break;
    default:
        SetBrowseMode();
        cmdAddNew->setText(tr("&Add New"));
        break;
    }
}

// A heading's order is none of the Sort menu's.
void frmMain::showOrder() {
    const browse::StampOrder& order = browser_.order();
    for (int i = 1; i <= 3; ++i)
        mnuSort[i]->setChecked(!order.byColumn() && int(order.key) == i);
}

void frmMain::ShowStamp() {
    showing_ = true;
    writeEntry(browser_.shown());
    if (SSTab1->currentIndex() == ImageTab)
        ShowStampPicture();
    showing_ = false;
}

void frmMain::ShowStampPicture() {
    // A picture loaded or pasted and not yet stored stays in view: it is the user's.
    if (PictureChanged)
        return;
    // A new record has no number, so no picture yet.
    const std::optional<std::int64_t> id = browser_.currentId();
    if (!id || isAdding()) {
        Image1->clear();
        return;
    }
    QString file = pictures_.findFile(*id);
    if (file.isEmpty()) {
        Image1->clear();
        return;
    }
    Image1->showFile(file);
    if (file.endsWith(QLatin1String(".bmp")) && !program_.ReadOnly)
        file = pictures_.convertBitmap(file);
}

// Stores the typed record through the browser: each step under the common error handler, the
// store in the lock-retry loop. The picture goes under the record's number, known once the row
// is begun; it waits beside the stored one until the row is stored and only then takes its
// place, so that a crash in between leaves a row and a picture that belong together. A failed
// picture write is reported and the record is stored all the same. A store that failed drops
// the change, as the record editor always has.
bool frmMain::storeTyped(browse::StampBrowser::AfterStore after) {
    browse::StoreSteps steps;
    steps.step = [this](const std::function<void()>& fn) { trap(program_, fn); };
    steps.commit = [this](const std::function<void()>& fn) { withLockRetry(program_, fn); };
    steps.storeOverTheirs = [this] {
        return program_.dialogs().message(
                   tr("This stamp was changed by another user since you began editing it.\n\n"
                      "Do you want to store your version over theirs?\n\nChoose No to see "
                      "their version; your changes are then dropped."),
                   tr("Stamp Changed"), Buttons::YesNoDefaultNo, Icon::Question) == Answer::Yes;
    };
    steps.deletedElsewhere = [this] {
        program_.dialogs().message(tr("This stamp was deleted by another user since you began "
                                      "editing it. Your changes could not be stored."),
                                   tr("Stamp Deleted"), Buttons::Ok, Icon::Warning);
    };
    std::unique_ptr<db::PendingPicture> picture;
    QImage image; // outlives the steps that read it
    std::optional<QByteArray> sharedJpeg;
    if (PictureChanged && program_.shared()) {
        // On a server the picture is a row stored with the stamp's, in its transaction.
        image = Image1->fullImage();
        sharedJpeg = pictures_.sharedJpeg(image);
        if (sharedJpeg)
            steps.alongside = [&](std::int64_t id) {
                db::putServerPicture(*program_.CollectionDb, id, *sharedJpeg);
            };
        steps.complete = [&](std::int64_t, bool) { PictureChanged = false; };
    } else if (PictureChanged) {
        image = Image1->fullImage();
        steps.prepare = [&](std::int64_t id) {
            trap(program_, [&] { picture = pictures_.prepare(*program_.CollectionDb, id, image); });
        };
        steps.complete = [&](std::int64_t, bool stored) {
            PictureChanged = false;
            if (picture)
                pictures_.complete(*picture, stored);
        };
    }
    const browse::StoreOutcome out = browser_.store(readEntry(), after, steps);
    if (out.refusal) {
        refuse(*out.refusal);
        return false;
    }
    if (!out.stored) {
        PictureChanged = false;
        if (!out.goneElsewhere)
            browser_.cancel();
        return false;
    }
    return true;
}

void frmMain::ClearStamp() {
    showing_ = true;
    writeEntry(record::StampEntry::blank());
    if (SSTab1->currentIndex() == ImageTab && !PictureChanged)
        Image1->clear();
    showing_ = false;
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
    const bool empty = browser_.totalCount() == 0;
    // A collection that cannot be changed gets no stamps here either.
    lblEmpty->setText(
        program_.ReadOnly
            ? tr("This collection has no stamps.")
            : tr("This collection has no stamps yet: press Add New to add the first one."));
    lblEmpty->setVisible(empty && !changing());
    cmdDelete->setEnabled(!empty && !program_.ReadOnly);
    cmdFind->setEnabled(hasRows());
}

void frmMain::RecordChanged() {
    if (showing_ || program_.ReadOnly)
        return;
    browser_.beginEdit();
}

// ---------------------------------------------------------------------------------------
// Navigation, add, update, cancel, delete

void frmMain::moveFirst() {
    browser_.moveFirst();
}

void frmMain::moveLast() {
    browser_.moveLast();
}

void frmMain::moveNext() {
    browser_.moveNext();
}

void frmMain::movePrevious() {
    browser_.movePrevious();
}

void frmMain::addNew() {
    if (program_.ReadOnly)
        return;
    if (!isAdding()) {
        if (browser_.beginAdd())
            txtDescr->setFocus();
        return;
    }
    if (!leaveFocusedField())
        return;
    if (storeTyped(browse::StampBrowser::AfterStore::AddAnother))
        txtDescr->setFocus();
}

// A stored stamp takes its place in the order at once and stays shown.
void frmMain::update() {
    if (!leaveFocusedField())
        return;
    storeTyped(browse::StampBrowser::AfterStore::Show);
}

// Back to the record the user was on: the one being edited, as stored; while adding, the last
// one stored with "Add Another", or the one shown before "Add New".
void frmMain::cancel() {
    PictureChanged = false; // a loaded or pasted picture goes with the rest of the edit
    browser_.cancel();
}

// The question names the stamp, so that a delete on the wrong record is caught before it is
// made.
QString frmMain::deleteQuestion() const {
    const QString descr = browser_.shown().text(QStringLiteral("descr"));
    const QString catnum = browser_.shown().text(QStringLiteral("catnum"));
    const QString stamp = catnum.trimmed().isEmpty()
                              ? tr("\u201C%1\u201D").arg(descr)
                              : tr("\u201C%1\u201D, catalogue number %2").arg(descr, catnum);
    return tr("Are you sure that you want to delete this stamp record?\n\n%1").arg(stamp);
}

void frmMain::deleteStamp() {
    if (program_.ReadOnly || changing() || !browser_.currentId())
        return;
    if (program_.dialogs().message(deleteQuestion(), tr("Delete Stamp"), Buttons::YesNoDefaultNo,
                                   Icon::Question) != Answer::Yes)
        return;
    browse::StoreSteps steps;
    steps.commit = [this](const std::function<void()>& fn) { withLockRetry(program_, fn); };
    browser_.removeCurrent(steps);
    showWhetherEmpty();
}

void frmMain::customReports(const QString& layoutFile) {
    guard([&] {
        custom::frmRptSpec* designer = custom::showCustomReports(program_, *reports_, this);
        if (designer && !layoutFile.isEmpty())
            designer->openLayoutFile(layoutFile);
    });
}

// The find dialog searches the listed stamps in the list's order from the one shown.
void frmMain::find() {
    if (!hasRows()) {
        program_.dialogs().message(tr("No stamps entered to find."), tr("No Stamps in Database"));
        return;
    }
    const std::optional<std::int64_t> shown = browser_.currentId();
    const QString backToShown = QStringLiteral("stampid = %1").arg(shown.value_or(0));
    // The set the dialog moves lives only while it is shown.
    std::unique_ptr<db::RecordSet> stamps;
    trap(program_, [&] {
        const QString where = browser_.listCondition();
        stamps = program_.CollectionDb->openRecordSet(
            QStringLiteral("Select * from stamp%1 order by %2")
                .arg(where.isEmpty() ? QString() : QStringLiteral(" where ") + where,
                     browse::orderClause(browser_.order())));
        stamps->findFirst(backToShown);
    });
    if (!stamps)
        return;
    program_.FindUseWith = QStringLiteral("stamp");
    if (!findDialog_)
        findDialog_ = new frmFind(program_, this);
    const std::optional<frmFind::Found> found = findDialog_->findIn(*stamps);
    stamps.reset();
    // Damage met by the search takes the way of damage met anywhere: repaired, then the
    // browser opens anew (the handler does not come back here).
    if (const auto damage = findDialog_->takeDamage())
        HandleDbError(program_, *damage);
    if (!found)
        return;
    if (!found->stamp) {
        program_.dialogs().message(tr("That stamp was not found."), tr("No Records Match"));
        return;
    }
    trap(program_, [&] { browser_.moveToStamp(*found->stamp); });
}

void frmMain::sortBy(int order) {
    if (order < 1 || order > 3)
        return;
    BusyCursor busy;
    trap(program_, [&] { browser_.setSortKey(browse::SortKey(order)); });
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
    if (!changing())
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
    if (program_.shared()) {
        // The server tidies the collection while it stays open here and on other desks.
        WorkProgress progress(this, title, tr("Compacting the collection..."));
        trap(program_, [&] { db::packServerCollection(*program_.CollectionDb); });
        return;
    }
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
    if (program_.shared()) {
        backupShared();
        return;
    }
    closeOtherWindows();
    unload();
    {
        frmBackup dialog(program_, this);
        dialog.exec();
    }
    load();
}

// A shared collection's backup is a collection folder of our own, which opens without a server.
void frmMain::backupShared() {
    const QString title = tr("Backup");
    const std::optional<QString> folder = program_.dialogs().folderName(
        tr("Backup: a new folder for the copy of the shared collection"), QDir::homePath());
    if (!folder || folder->isEmpty())
        return;
    app::PulledCollection made;
    {
        WorkProgress progress(this, title, tr("Copying the shared collection..."));
        const auto step = progress.callback();
        try {
            made = app::pullCollection(*program_.CollectionDb, *folder,
                                       [&](std::int64_t done, std::int64_t total) {
                                           step(done, total);
                                           return true;
                                       });
        } catch (const db::DbError& e) {
            progress.setLabel(QString());
            program_.dialogs().message(e.text(), title, Buttons::Ok, Icon::Critical);
            return;
        }
    }
    program_.dialogs().message(
        tr("The shared collection has been copied to %1: %2, with %n picture(s). It opens "
           "with Open Collection, without the server.",
           nullptr, int(made.pictures))
            .arg(QDir::toNativeSeparators(*folder), stampCount(made.copied.stamps)),
        title, Buttons::Ok, Icon::Information);
}

void frmMain::exportCsv() {
    if (program_.shared()) {
        // The pictures go with the export from this desk's folder: every one is read first.
        BusyCursor busy;
        trap(program_, [&] {
            for (const std::int64_t id : db::stampsWithServerPictures(*program_.CollectionDb))
                pictures_.findFile(id);
        });
    }
    // The listed stamps, in the list's order.
    exchange::exportFromWindow(program_, this,
                               {browser_.listCondition(), browse::orderClause(browser_.order())});
}

void frmMain::importStamps() {
    if (program_.ReadOnly)
        return;
    if (changing()) {
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
    activate();
    trap(program_, [&] {
        browser_.refresh();
        browser_.moveToStamp(firstId);
    });
}

void frmMain::statistics() {
    // What the list is narrowed by, as the window's title says it.
    QStringList narrowed;
    if (!browser_.filter().trimmed().isEmpty())
        narrowed << tr("\u201C%1\u201D").arg(browser_.filter().trimmed());
    if (!browser_.conditionDescription().isEmpty())
        narrowed << browser_.conditionDescription();
    stats::StatisticsWindow* window = stats::showStatistics(
        program_, this, {browser_.listCondition(), narrowed.join(QLatin1String(", "))});
    connect(window, &stats::StatisticsWindow::showStampsRequested, this, &frmMain::listStamps,
            Qt::UniqueConnection);
}

// The list shows those stamps alone until Escape in the empty filter box, or another
// collection, shows every stamp again.
void frmMain::listStamps(const QString& condition, const QString& description) {
    guard([&] {
        if (changing())
            return;
        showList(true);
        browser_.setCondition(condition, description);
    });
}

void frmMain::exitProgram() {
    close();
}

} // namespace perlinex
