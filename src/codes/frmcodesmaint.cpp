#include "codes/frmcodesmaint.h"

#include "db/codeentries.h"
#include "db/dberror.h"
#include "db/dialect.h"
#include "db/fields.h"
#include "db/recordset.h"
#include "ui/errorhandler.h"
#include "ui/slotguard.h"
#include "ui/typingguard.h"

#include <QAction>
#include <QCloseEvent>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace perlinex {

using db::DbError;

namespace {

// The description fields of the code tables hold at most this many characters; a longer
// text would be refused by the store, which the error handler treats as fatal.
constexpr int DescriptionLength = 50;

QString text(const char* latin1) {
    return QString::fromLatin1(latin1);
}

const db::CodeTable& tableOf(int number) {
    return *db::codeTable(number);
}

} // namespace

frmCodesMaint::frmCodesMaint(Program& program, QWidget* parent)
    : QDialog(parent), program_(program) {
    setObjectName(QStringLiteral("frmCodesMaint"));
    setModal(false);
    setWindowTitle(db::fieldText(tableOf(1).windowCaption));

    const auto makeButton = [this](QPushButton*& button, const char* name, const char* caption) {
        button = new QPushButton(tr(caption), this);
        button->setObjectName(QString::fromLatin1(name));
        // Only the button the window names is pressed by Enter, never the one with the focus.
        button->setAutoDefault(false);
    };

    lblDesc = new QLabel(db::fieldText(tableOf(1).label), this);
    lblDesc->setObjectName(QStringLiteral("lblDesc"));
    txtDesc = new QLineEdit(this);
    txtDesc->setObjectName(QStringLiteral("txtDesc"));
    txtDesc->setMaxLength(DescriptionLength);
    lblDesc->setBuddy(txtDesc);

    makeButton(cmdFirst, "cmdFirst", QT_TR_NOOP("Firs&t"));
    makeButton(cmdPrevious, "cmdPrevious", QT_TR_NOOP("&Previous"));
    makeButton(cmdNext, "cmdNext", QT_TR_NOOP("&Next"));
    makeButton(cmdLast, "cmdLast", QT_TR_NOOP("&Last"));
    makeButton(cmdAddNew, "cmdAddNew", QT_TR_NOOP("&Add New"));
    makeButton(cmdUpdate, "cmdUpdate", QT_TR_NOOP("&Update"));
    makeButton(cmdCancel, "cmdCancel", QT_TR_NOOP("&Cancel"));
    makeButton(cmdDelete, "cmdDelete", QT_TR_NOOP("&Delete"));
    makeButton(cmdFind, "cmdFind", QT_TR_NOOP("&Find"));
    makeButton(cmdOK, "cmdOK", QT_TR_NOOP("&Ok"));

    auto* moves = new QHBoxLayout;
    for (QPushButton* b : {cmdFirst, cmdPrevious, cmdNext, cmdLast})
        moves->addWidget(b);
    auto* actions = new QHBoxLayout;
    for (QPushButton* b : {cmdAddNew, cmdUpdate, cmdCancel, cmdDelete, cmdFind, cmdOK})
        actions->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblDesc);
    layout->addWidget(txtDesc);
    layout->addLayout(moves);
    layout->addLayout(actions);
    layout->setSizeConstraint(QLayout::SetMinimumSize);

    connectGuarded(txtDesc, &QLineEdit::textChanged, this, [this] { recordChanged(); });
    connectGuarded(cmdFirst, &QPushButton::clicked, this, [this] { moveFirst(); });
    connectGuarded(cmdPrevious, &QPushButton::clicked, this, [this] { movePrevious(); });
    connectGuarded(cmdNext, &QPushButton::clicked, this, [this] { moveNext(); });
    connectGuarded(cmdLast, &QPushButton::clicked, this, [this] { moveLast(); });
    connectGuarded(cmdAddNew, &QPushButton::clicked, this, [this] { addNewClicked(); });
    connectGuarded(cmdUpdate, &QPushButton::clicked, this, [this] { updateEntry(); });
    connectGuarded(cmdCancel, &QPushButton::clicked, this, [this] { cancelChanges(); });
    connectGuarded(cmdDelete, &QPushButton::clicked, this, [this] { deleteEntry(); });
    connectGuarded(cmdFind, &QPushButton::clicked, this, [this] { findEntry(); });
    connectGuarded(cmdOK, &QPushButton::clicked, this, [this] { okClicked(); });

    setBrowseSet();
    makeDefault(cmdOK);
    // F1 opens the page of the table shown.
    auto* help = new QAction(this);
    help->setObjectName(QStringLiteral("actHelpKey"));
    help->setShortcut(Qt::Key_F1);
    addAction(help);
    connectGuarded(help, &QAction::triggered, this, [this] {
        if (program_.showHelpContext)
            program_.showHelpContext(helpTopic_);
    });

    TypingGuard::guardFieldsOf(this);
    if (program_.MaintTable >= 1 && program_.MaintTable <= 9)
        load(program_.MaintTable);
}

frmCodesMaint::~frmCodesMaint() = default;

bool frmCodesMaint::step(const std::function<void()>& fn) {
    try {
        fn();
        return true;
    } catch (const DbError& e) {
        if (!deletedElsewhere(e)) {
            HandleDbError(program_, e);
            return false;
        }
    }
    tellDeletedElsewhere();
    return false;
}

// On a shared collection another desk may have deleted the entry shown: told, not taken for a
// fault of the collection.
bool frmCodesMaint::deletedElsewhere(const DbError& e) const {
    return e.number() == db::err::RecordDeleted && program_.shared();
}

void frmCodesMaint::tellDeletedElsewhere() {
    program_.dialogs().message(tr("This entry was deleted by another user. The entries are "
                                  "shown as they are now."),
                               windowTitle(), Buttons::Ok, Icon::Information);
    load(table_);
}

void frmCodesMaint::followOtherDesks(int maintTable) {
    if (!entries_ || maintTable != table_ || editing_ || adding_)
        return;
    const std::optional<std::int64_t> id = currentId();
    load(table_);
    if (!id || !hasEntries())
        return;
    if (step([&] {
            entries_->findFirst(idCriterion(*id));
            if (entries_->noMatch())
                entries_->moveFirst();
        }))
        showEntry();
}

// Loading --------------------------------------------------------------------------------

void frmCodesMaint::load(int maintTable) {
    release();
    table_ = maintTable;
    const db::CodeTable& t = tableOf(table_);
    setWindowTitle(db::fieldText(t.windowCaption));
    lblDesc->setText(db::fieldText(t.label));
    helpTopic_ = t.helpTopic;
    editing_ = false;
    adding_ = false;

    if (!program_.CollectionDb)
        HandleDbError(program_, DbError(db::err::NoDatabase, tr("The collection is not open.")));
    step([&] { entries_ = program_.CollectionDb->openRecordSet(db::codeListQuery(t)); });

    if (hasEntries()) {
        setDescEnabled(true);
        step([&] { entries_->moveFirst(); });
        showEntry();
    } else {
        clearDesc();
        setDescEnabled(false);
    }
    cmdAddNew->setText(tr("&Add New"));
    setBrowseSet();
    makeDefault(cmdOK);
    editing_ = false;
    adding_ = false;
}

void frmCodesMaint::release() {
    if (entries_) {
        entries_->close();
        entries_.reset();
        if (program_.CollectionDb && program_.CollectionDb->isOpen())
            program_.CollectionDb->idle();
    }
    editing_ = false;
    adding_ = false;
}

void frmCodesMaint::bringForward() {
    show();
    raise();
    activateWindow();
}

void frmCodesMaint::showTable(int maintTable) {
    if (maintTable < 1 || maintTable > 9)
        return;
    if (entries_ && maintTable == table_) {
        bringForward();
        return;
    }
    const bool pending = editing_ || (adding_ && !txtDesc->text().isEmpty());
    if (entries_ && pending) {
        const Answer a =
            program_.dialogs().message(tr("Do you want to save the changes to this entry?"),
                                       windowTitle(), Buttons::YesNoCancel, Icon::Question);
        // Refusing the switch, or a save that failed its check, keeps the window where it was.
        if (a == Answer::Cancel || (a == Answer::Yes && !updateEntry())) {
            program_.MaintTable = table_;
            bringForward();
            return;
        }
    }
    load(maintTable);
    program_.MaintTable = table_;
    bringForward();
}

void frmCodesMaint::activate() {
    program_.setReloadFlag(table_, true);
}

bool frmCodesMaint::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        runGuarded([this] { activate(); });
    return QDialog::event(event);
}

void frmCodesMaint::closeEvent(QCloseEvent* event) {
    // Closing is unloading: what is typed and not stored is dropped, as with "&Ok".
    release();
    event->accept();
}

void frmCodesMaint::reject() {
    // Escape abandons a change first, and closes the window only while browsing.
    if (editing_ || adding_)
        cancelChanges();
    else
        close();
}

// The current entry -------------------------------------------------------------------------

bool frmCodesMaint::hasEntries() {
    if (!entries_)
        return false;
    bool any = false;
    step([&] { any = entries_->recordCount() > 0; });
    return any;
}

std::optional<std::int64_t> frmCodesMaint::currentId() const {
    if (!entries_)
        return std::nullopt;
    try {
        if (entries_->bof() || entries_->eof())
            return std::nullopt;
        return entries_->field(text(tableOf(table_).idField)).toInteger();
    } catch (const DbError&) {
        return std::nullopt;
    }
}

QString frmCodesMaint::idCriterion(std::int64_t id) const {
    return text(tableOf(table_).idField) + QStringLiteral(" = ") + QString::number(id);
}

void frmCodesMaint::showEntry() {
    QString desc;
    if (!step([&] {
            const db::Value v = entries_->field(text(tableOf(table_).descField));
            desc = v.isNull() ? QString() : v.toText();
        }))
        return;
    quiet_ = true;
    txtDesc->setText(desc);
    quiet_ = false;
    editing_ = false;
}

void frmCodesMaint::clearDesc() {
    quiet_ = true;
    txtDesc->clear();
    quiet_ = false;
}

void frmCodesMaint::setDescEnabled(bool enabled) {
    txtDesc->setEnabled(enabled);
}

bool frmCodesMaint::checkDescription() {
    if (!txtDesc->text().isEmpty())
        return true;
    program_.dialogs().message(tr("You must enter a description or press Cancel"),
                               tr("Missing Data"), Buttons::Ok, Icon::None);
    txtDesc->setFocus();
    return false;
}

// A description the lists could not tell from another entry's is refused, naming that entry.
bool frmCodesMaint::checkDistinct() {
    const QString desc = txtDesc->text();
    const std::optional<std::int64_t> self = adding_ ? std::nullopt : currentId();
    std::optional<db::CodeEntry> same;
    if (!step([&] {
            same = db::indistinctEntry(*program_.CollectionDb, tableOf(table_), desc, self);
        }))
        return false;
    if (!same)
        return true;
    program_.dialogs().message(
        tr("There is already a %1 \"%2\". An entry that differs from it only in capitals or "
           "accents could not be told apart from it in the lists, so \"%3\" is not stored.")
            .arg(db::fieldText(tableOf(table_).findNoun), same->description, desc),
        tr("Entry Already There"), Buttons::Ok, Icon::Information);
    txtDesc->setFocus();
    return false;
}

// Stores the box's text in the row begun by addNew or edit; false when the store refused it
// (the row is then abandoned and the box keeps the text).
bool frmCodesMaint::storeDescription() {
    const QString desc = txtDesc->text();
    if (!step([&] { entries_->setField(text(tableOf(table_).descField), db::Value(desc)); })) {
        entries_->cancelUpdate();
        return false;
    }
    bool gone = false;
    withLockRetry(program_, [&] {
        try {
            entries_->update();
        } catch (const DbError& e) {
            if (!deletedElsewhere(e))
                throw;
            gone = true;
        }
    });
    // The main window may have refilled its list since this window was activated.
    program_.setReloadFlag(table_, true);
    if (gone) {
        tellDeletedElsewhere();
        return false;
    }
    if (entries_->isEditing()) {
        entries_->cancelUpdate();
        return false;
    }
    return true;
}

// Modes --------------------------------------------------------------------------------------

void frmCodesMaint::setEditSet() {
    for (QPushButton* b : {cmdFirst, cmdPrevious, cmdNext, cmdLast, cmdOK, cmdFind, cmdDelete})
        b->hide();
    cmdCancel->show();
    cmdUpdate->show();
}

void frmCodesMaint::setBrowseSet() {
    // Hidden before the others show, so that the window never holds both sets and grows.
    cmdCancel->hide();
    cmdUpdate->hide();
    for (QPushButton* b :
         {cmdFirst, cmdPrevious, cmdNext, cmdLast, cmdOK, cmdFind, cmdDelete, cmdAddNew})
        b->show();
    // The entries of a collection that cannot be changed are only shown.
    txtDesc->setReadOnly(program_.ReadOnly);
    cmdAddNew->setEnabled(!program_.ReadOnly);
    cmdDelete->setEnabled(!program_.ReadOnly);
}

void frmCodesMaint::makeDefault(QPushButton* button) {
    for (QPushButton* b : findChildren<QPushButton*>())
        if (b != button)
            b->setDefault(false);
    button->setDefault(true);
}

void frmCodesMaint::recordChanged() {
    if (quiet_ || editing_ || adding_ || program_.ReadOnly || !hasEntries())
        return;
    editing_ = true;
    setEditSet();
    cmdAddNew->hide();
}

// Buttons ------------------------------------------------------------------------------------

void frmCodesMaint::addNewClicked() {
    if (adding_)
        addAnother();
    else
        startAdding();
}

void frmCodesMaint::startAdding() {
    adding_ = true;
    if (hasEntries())
        step([&] { entries_->moveLast(); });
    else
        setDescEnabled(true);
    clearDesc();
    setEditSet();
    cmdAddNew->setText(tr("&Add Another"));
    makeDefault(cmdAddNew);
    txtDesc->setFocus();
}

void frmCodesMaint::addAnother() {
    if (!checkDescription() || !entries_ || !checkDistinct())
        return;
    if (!step([&] { entries_->addNew(); }) || !storeDescription())
        return;
    clearDesc();
    txtDesc->setFocus();
}

bool frmCodesMaint::updateEntry() {
    if (!editing_ && !adding_)
        return true;
    if (!checkDescription() || !entries_ || !checkDistinct())
        return false;
    const QString idField = text(tableOf(table_).idField);
    std::int32_t id = 0;
    const auto begin = [&] {
        if (adding_)
            entries_->addNew();
        else
            entries_->edit();
        id = std::int32_t(entries_->field(idField).toInteger());
    };
    if (!step(begin) || !storeDescription())
        return false;
    if (adding_)
        cmdAddNew->setText(tr("&Add New"));

    step([&] {
        entries_->findFirst(idCriterion(id));
        if (entries_->noMatch())
            entries_->moveFirst();
    });
    if (hasEntries()) {
        setDescEnabled(true);
        showEntry();
    }
    setBrowseSet();
    makeDefault(cmdOK);
    editing_ = false;
    adding_ = false;
    return true;
}

void frmCodesMaint::cancelChanges() {
    if (entries_ && entries_->isEditing())
        entries_->cancelUpdate();
    if (hasEntries()) {
        setDescEnabled(true);
        step([&] { entries_->moveLast(); });
        showEntry();
    } else {
        clearDesc();
        setDescEnabled(false);
    }
    setBrowseSet();
    cmdAddNew->setText(tr("&Add New"));
    makeDefault(cmdOK);
    editing_ = false;
    adding_ = false;
}

void frmCodesMaint::deleteEntry() {
    if (!hasEntries())
        return;
    const db::CodeTable& t = tableOf(table_);
    DialogService& dialogs = program_.dialogs();
    if (dialogs.message(db::fieldText(t.deleteQuestion), db::fieldText(t.deleteTitle),
                        Buttons::YesNoDefaultNo, Icon::Question) != Answer::Yes)
        return;
    const std::optional<std::int64_t> id = currentId();
    if (!id)
        return;

    // A check that could not be made must not let the delete go ahead.
    bool inUse = true;
    if (!step([&] {
            auto uses = program_.CollectionDb->openRecordSet(
                db::inUseQuery(t) + QString::number(*id), db::RecordSetKind::Snapshot);
            inUse = uses->recordCount() > 0;
            uses->close();
        }))
        return;
    if (inUse) {
        dialogs.message(db::fieldText(t.inUseMessage), tr("Cannot Delete"), Buttons::Ok,
                        Icon::Information);
        return;
    }

    withLockRetry(program_, [&] { entries_->deleteCurrent(); });
    program_.setReloadFlag(table_, true);

    if (hasEntries()) {
        step([&] {
            entries_->moveNext();
            if (entries_->eof())
                entries_->movePrevious();
        });
        showEntry();
    } else {
        clearDesc();
        setDescEnabled(false);
    }
}

void frmCodesMaint::findEntry() {
    const db::CodeTable& t = tableOf(table_);
    DialogService& dialogs = program_.dialogs();
    const std::optional<QString> answer =
        dialogs.input(tr("Enter the %1 description to find:").arg(db::fieldText(t.findNoun)),
                      tr("Find Code"), QString());
    // An empty or cancelled answer finds the first entry that has a description at all.
    const QString typed = answer.value_or(QString());

    // The answer is matched literally: quotes and wildcard characters typed by the user are
    // part of the description, and only the trailing * widens the search.
    const QString criterion = text(t.descField) + QStringLiteral(" like ") +
                              db::quoteText(db::escapeLike(typed) + QStringLiteral("*"));
    const std::optional<std::int64_t> shown = currentId();
    const auto keepShown = [&] {
        if (shown && currentId() != shown) {
            try {
                entries_->findFirst(idCriterion(*shown));
            } catch (const DbError&) {
            }
        }
    };

    bool found = false;
    try {
        if (entries_) {
            entries_->findFirst(criterion);
            found = !entries_->noMatch();
        }
    } catch (const DbError& e) {
        keepShown();
        dialogs.message(tr("The search for \"%1\" could not be made.\n\n%2").arg(typed, e.text()),
                        tr("Find Code"), Buttons::Ok, Icon::Warning);
        return;
    }
    if (!found) {
        keepShown();
        dialogs.message(tr("That record was not found."), tr("No Records Match"), Buttons::Ok,
                        Icon::None);
        return;
    }
    showEntry();
}

void frmCodesMaint::moveFirst() {
    if (!hasEntries())
        return;
    if (step([&] { entries_->moveFirst(); }))
        showEntry();
}

void frmCodesMaint::moveLast() {
    if (!hasEntries())
        return;
    if (step([&] { entries_->moveLast(); }))
        showEntry();
}

void frmCodesMaint::moveNext() {
    if (!hasEntries())
        return;
    const bool moved = step([&] {
        entries_->moveNext();
        if (entries_->eof()) {
            program_.dialogs().beep();
            entries_->moveLast();
        }
    });
    if (moved)
        showEntry();
}

void frmCodesMaint::movePrevious() {
    if (!hasEntries())
        return;
    const bool moved = step([&] {
        entries_->movePrevious();
        if (entries_->bof()) {
            program_.dialogs().beep();
            entries_->moveFirst();
        }
    });
    if (moved)
        showEntry();
}

void frmCodesMaint::okClicked() {
    close();
}

} // namespace perlinex
