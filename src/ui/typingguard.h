#pragma once

#include <QObject>

class QKeyEvent;
class QWidget;

namespace perlinex {

// Keeps a key pressed with Alt, Ctrl or Meta from typing its character into a field. Such a
// key is meant as a command (a button's Alt+letter, a shortcut): when no visible control
// answers it, the field must not take the letter instead and start an edit. Shortcuts and
// mnemonics still reach their controls, and editing keys (Ctrl+V, Ctrl+Z, Ctrl+A) still edit.
class TypingGuard : public QObject {
    Q_OBJECT
public:
    // Guards every field the window holds now: line and text edits, lists, spin boxes. Called
    // again, it adds the fields made since.
    static void guardFieldsOf(QWidget* window);

    // True for a key that carries a character although Alt, Ctrl or Meta is held.
    static bool typesUnderModifier(const QKeyEvent* key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QObject::QObject;
};

} // namespace perlinex
