#include "ui/typingguard.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace perlinex {

namespace {

// The editing keys of the platform (paste, undo, select all, ...) are the user's own commands
// to the field.
bool isEditingKey(const QKeyEvent* key) {
    for (int k = QKeySequence::HelpContents; k <= QKeySequence::Cancel; ++k)
        if (key->matches(QKeySequence::StandardKey(k)))
            return true;
    return false;
}

// The fields whose editing keys edit their text; in a plain list a modified key only searches.
bool editsText(const QObject* o) {
    if (const auto* combo = qobject_cast<const QComboBox*>(o))
        return combo->isEditable();
    return qobject_cast<const QLineEdit*>(o) || qobject_cast<const QPlainTextEdit*>(o) ||
           qobject_cast<const QTextEdit*>(o) || qobject_cast<const QAbstractSpinBox*>(o);
}

bool isField(const QWidget* w) {
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QPlainTextEdit*>(w) ||
           qobject_cast<const QTextEdit*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QAbstractItemView*>(w);
}

} // namespace

void TypingGuard::guardFieldsOf(QWidget* window) {
    auto* guard = window->findChild<TypingGuard*>(QString(), Qt::FindDirectChildrenOnly);
    if (!guard)
        guard = new TypingGuard(window);
    for (QWidget* w : window->findChildren<QWidget*>())
        if (isField(w))
            w->installEventFilter(guard); // installed twice, it is still called once
}

bool TypingGuard::typesUnderModifier(const QKeyEvent* key) {
    const Qt::KeyboardModifiers held =
        key->modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier);
    return held && !key->text().isEmpty() && key->text().at(0).isPrint();
}

bool TypingGuard::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<const QKeyEvent*>(event);
        if (typesUnderModifier(key) && !(editsText(watched) && isEditingKey(key)))
            return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace perlinex
