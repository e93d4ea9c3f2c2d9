// A screen reader can name every control of the main window that takes the focus: by its own
// caption, by the label that leads to it, or by an accessible name where nothing else names it
// (the picture, the lists, the code lists).
#include "main_window_fixture.h"

#include <QAbstractButton>
#include <QLabel>
#include <QSet>
#include <QTabBar>

TEST_F(MainWindowTest, AccessibleNames_EveryFocusableControlIsNamed) {
    open({{"Penny Black", "1"}});
    QSet<const QWidget*> labelled;
    for (const QLabel* label : w->findChildren<QLabel*>())
        if (label->buddy() && !label->text().isEmpty())
            labelled << label->buddy();
    QStringList unnamed;
    const auto named = [&](const QWidget* control) {
        const auto* button = qobject_cast<const QAbstractButton*>(control);
        const auto* tabs = qobject_cast<const QTabBar*>(control);
        return (button && !button->text().remove(u'&').trimmed().isEmpty()) ||
               (tabs && tabs->count() > 0) || labelled.contains(control) ||
               !control->accessibleName().isEmpty();
    };
    // The parts of a named control (a code list's line edit) share its name.
    const auto partOfNamed = [&](const QWidget* control) {
        for (const QWidget* p = control->parentWidget(); p && p != w.get(); p = p->parentWidget())
            if (p->focusPolicy() != Qt::NoFocus && named(p))
                return true;
        return false;
    };
    for (QWidget* control : w->findChildren<QWidget*>()) {
        // Popups (a code list's drop-down) are windows of their own.
        if (!(control->focusPolicy() & Qt::TabFocus) || !control->isEnabled() ||
            control->window() != w.get())
            continue;
        if (!named(control) && !partOfNamed(control))
            unnamed << QStringLiteral("%1 (%2)").arg(control->objectName(),
                                                     control->metaObject()->className());
    }
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(u'\n').toStdString();
}
