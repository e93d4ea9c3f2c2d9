// Field entry in the main window: moving a record between the controls and a typed entry,
// the checks made when a field is left, and the check of a record before it is stored. The
// checks themselves are the record validator's.
#include "app/frmmain.h"
#include "dates/datefield.h"
#include "ui/slotguard.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace perlinex {

QWidget* frmMain::control(const QString& field) const {
    for (const FieldControl& fc : fields_)
        if (field.compare(QLatin1String(fc.field->name), Qt::CaseInsensitive) == 0)
            return fc.widget;
    return nullptr;
}

const db::StampField* frmMain::fieldOf(const QObject* widget) const {
    for (const FieldControl& fc : fields_)
        if (fc.widget == widget)
            return fc.field;
    return nullptr;
}

record::StampEntry frmMain::readEntry() const {
    record::StampEntry entry;
    for (const FieldControl& fc : fields_) {
        const QString name = QLatin1String(fc.field->name);
        if (auto* d = qobject_cast<DateField*>(fc.widget))
            entry.setText(name, d->text());
        else if (auto* c = qobject_cast<QComboBox*>(fc.widget))
            entry.setCode(name, pickedCode(c, name));
        else if (auto* e = qobject_cast<QLineEdit*>(fc.widget))
            entry.setText(name, shownWhole(name, e->text()));
        else if (auto* t = qobject_cast<QPlainTextEdit*>(fc.widget))
            entry.setText(name, t->toPlainText());
        else if (auto* b = qobject_cast<QCheckBox*>(fc.widget))
            entry.setTicked(name, b->isChecked());
    }
    return entry;
}

// A stored code the list does not hold (a deleted entry, or a word another program wrote)
// shows no selection; while nothing is picked it is still the record's code, not a cleared one.
std::optional<std::int64_t> frmMain::pickedCode(const QComboBox* combo,
                                                const QString& field) const {
    if (combo->currentIndex() >= 0)
        return std::int64_t(combo->currentData().toLongLong());
    const std::optional<std::int64_t> stored =
        isAdding() ? std::nullopt : browser_.shown().code(field);
    if (stored && combo->findData(QVariant::fromValue<qlonglong>(*stored)) < 0)
        return stored;
    return std::nullopt;
}

void frmMain::writeEntry(const record::StampEntry& entry) {
    for (const FieldControl& fc : fields_) {
        const QString name = QLatin1String(fc.field->name);
        if (auto* d = qobject_cast<DateField*>(fc.widget)) {
            if (d->text() != entry.text(name))
                d->setText(entry.text(name));
        } else if (auto* c = qobject_cast<QComboBox*>(fc.widget)) {
            selectCode(c, entry.code(name));
        } else if (auto* e = qobject_cast<QLineEdit*>(fc.widget)) {
            const QString text = showLong(*fc.field, e, entry.text(name));
            if (e->text() != text)
                e->setText(text);
        } else if (auto* t = qobject_cast<QPlainTextEdit*>(fc.widget)) {
            if (t->toPlainText() != entry.text(name))
                t->setPlainText(entry.text(name));
        } else if (auto* b = qobject_cast<QCheckBox*>(fc.widget)) {
            b->setChecked(entry.ticked(name));
        }
    }
    setWantListCaption();
}

// A value longer than its field, stored by another program, is shown cut with an ellipsis;
// while the user leaves the box alone the value stays whole, and an edit stores what is seen.
QString frmMain::showLong(const db::StampField& field, QLineEdit* box, const QString& text) {
    const QString name = QLatin1String(field.name);
    if (field.size <= 0 || text.size() <= field.size) {
        longValues_.remove(name);
        box->setMaxLength(field.size > 0 ? field.size : 32767);
        box->setToolTip(QString());
        return text;
    }
    const QString shown = text.left(field.size) + QChar(0x2026);
    longValues_.insert(name, {shown, text});
    box->setMaxLength(int(shown.size()));
    box->setToolTip(tr("The stored %1 holds %2 characters, more than the %3 this field takes. "
                       "It is kept whole unless you change it here.")
                        .arg(db::fieldText(field.caption))
                        .arg(text.size())
                        .arg(field.size));
    return shown;
}

QString frmMain::shownWhole(const QString& field, const QString& typed) const {
    const auto it = longValues_.find(field);
    return it != longValues_.end() && it->first == typed ? it->second : typed;
}

void frmMain::setWantListCaption() {
    lblPrice->setText(chkWantList->isChecked() ? tr("Will Pay") : tr("Price Paid"));
}

void frmMain::refuse(const record::Refusal& r) {
    checking_ = true;
    program_.dialogs().message(r.text, r.title.isEmpty() ? ProgramTitle : r.title, Buttons::Ok,
                               r.critical ? Icon::Critical : Icon::None);
    if (QWidget* w = control(r.field)) {
        // The field may be on a page that is not in front.
        for (int i = 0; i < SSTab1->count(); ++i)
            if (SSTab1->widget(i)->isAncestorOf(w))
                SSTab1->setCurrentIndex(i);
        w->setFocus(Qt::OtherFocusReason);
    }
    checking_ = false;
}

bool frmMain::leaveField(const db::StampField& field) {
    // Nothing is typed into a collection that cannot be changed: there is nothing to check.
    if (program_.ReadOnly)
        return true;
    if (auto* d = qobject_cast<DateField*>(control(QLatin1String(field.name))))
        return d->checkOnLeave();
    const record::StampEntry before = readEntry();
    record::StampEntry entry = before;
    if (const auto r = validator_.leave(QLatin1String(field.name), entry,
                                        isAdding() ? nullptr : &browser_.shown())) {
        refuse(*r);
        return false;
    }
    if (!(entry == before))
        writeEntry(entry);
    return true;
}

// A store by a shortcut leaves the focus where it is: the field being typed into gets the
// check it would get when left.
bool frmMain::leaveFocusedField() {
    for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget())
        if (const db::StampField* f = fieldOf(w))
            return leaveField(*f);
    return true;
}

// Keys that change, or may change, a pick list's value; others (Tab, the modifiers alone,
// F1, Alt+letter shortcuts) leave the record as it is. Typed letters only search the list:
// the entry the search finds is taken, and the edit begun, when the user takes it.
bool frmMain::changesValue(const QKeyEvent* key) const {
    switch (key->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        // Alt+Down opens the list; a pick from it changes the value and says so itself.
        // Ctrl with a page key turns the record's page.
        return !(key->modifiers() & (Qt::AltModifier | Qt::ControlModifier));
    default:
        break;
    }
    return false;
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    const db::StampField* field = fieldOf(watched);
    if (!field)
        return QMainWindow::eventFilter(watched, event);
    bool eaten = false;
    runGuarded([&] { eaten = filterFieldEvent(*field, watched, event); });
    return eaten || QMainWindow::eventFilter(watched, event);
}

// Enter in a one-line field moves to the next field, as Tab does; the notes take it as a new
// line.
bool frmMain::movesOnByEnter(const db::StampField& field, const QKeyEvent* key) const {
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    return enter && !(key->modifiers() & ~Qt::KeypadModifier) &&
           field.kind != db::FieldKind::LongText;
}

bool frmMain::filterFieldEvent(const db::StampField& f, QObject* watched, QEvent* event) {
    const db::StampField* field = &f;
    if (event->type() == QEvent::KeyPress &&
        movesOnByEnter(*field, static_cast<QKeyEvent*>(event))) {
        focusNextChild();
        return true;
    }
    if (event->type() == QEvent::KeyPress && field->kind == db::FieldKind::CodeRef) {
        auto* key = static_cast<QKeyEvent*>(event);
        auto* combo = static_cast<QComboBox*>(watched);
        if (key->key() == Qt::Key_Delete || key->key() == Qt::Key_Backspace) {
            combo->setCurrentIndex(-1);
            RecordChanged();
            return true;
        }
        if (changesValue(key))
            RecordChanged();
    } else if (event->type() == QEvent::FocusIn && !checking_) {
        // Typing into a number replaces it.
        const bool number = field->rule == db::EntryRule::Number ||
                            field->rule == db::EntryRule::Quantity ||
                            field->rule == db::EntryRule::Price;
        if (auto* e = qobject_cast<QLineEdit*>(watched); e && number)
            QMetaObject::invokeMethod(e, &QLineEdit::selectAll, Qt::QueuedConnection);
    } else if (event->type() == QEvent::FocusOut && !checking_ &&
               field->kind != db::FieldKind::Date) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Leaving for another window or a menu is not leaving the field.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            leaveField(*field);
    }
    return false;
}

} // namespace perlinex
