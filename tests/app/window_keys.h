#pragma once

// The keys a window answers to: the mnemonics of its visible controls and menus.
#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMultiMap>
#include <QSet>
#include <QShortcut>
#include <QStringList>
#include <QTabBar>

namespace windowkeys {

// The letter a caption's '&' marks, lower-cased; a null character when it marks none ("&&"
// is a plain ampersand).
inline QChar mnemonic(const QString& caption) {
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != u'&')
            continue;
        if (caption[i + 1] == u'&') {
            ++i;
            continue;
        }
        return caption[i + 1].toLower();
    }
    return {};
}

inline QString nameOf(const QObject* o, const QString& caption) {
    return QStringLiteral("%1 \"%2\"").arg(o->objectName(), caption);
}

// "'x': A and B" for every letter two of the captions share.
inline QStringList clashes(const QMultiMap<QChar, QString>& owners) {
    QStringList out;
    for (const QChar letter : owners.uniqueKeys())
        if (owners.count(letter) > 1)
            out << QStringLiteral("'%1': %2")
                       .arg(letter)
                       .arg(owners.values(letter).join(QStringLiteral(" and ")));
    return out;
}

// The mnemonics of a window's visible controls, enabled or not: buttons and check boxes,
// labels that lead to a control, checkable frames, tabs and the menu bar's menus.
inline QMultiMap<QChar, QString> mnemonicsOf(QWidget* window) {
    QMultiMap<QChar, QString> owners;
    const auto note = [&](const QObject* o, const QString& caption) {
        const QChar letter = mnemonic(caption);
        if (!letter.isNull())
            owners.insert(letter, nameOf(o, caption));
    };
    const auto shown = [window](const QWidget* w) {
        return w->window() == window && w->isVisible();
    };
    for (const QAbstractButton* b : window->findChildren<QAbstractButton*>())
        if (shown(b))
            note(b, b->text());
    for (const QLabel* l : window->findChildren<QLabel*>())
        if (shown(l) && l->buddy())
            note(l, l->text());
    for (const QGroupBox* g : window->findChildren<QGroupBox*>())
        if (shown(g) && g->isCheckable())
            note(g, g->title());
    for (const QTabBar* t : window->findChildren<QTabBar*>())
        if (shown(t))
            for (int i = 0; i < t->count(); ++i)
                note(t, t->tabText(i));
    for (const QMenuBar* bar : window->findChildren<QMenuBar*>())
        if (shown(bar))
            for (const QAction* a : bar->actions())
                if (a->isVisible())
                    note(a->menu() ? static_cast<const QObject*>(a->menu()) : a, a->text());
    return owners;
}

inline QStringList clashesIn(QWidget* window) {
    return clashes(mnemonicsOf(window));
}

// The clashes among the visible items of a menu, and of each of its submenus.
inline QStringList clashesInMenu(const QMenu* menu) {
    QMultiMap<QChar, QString> owners;
    QStringList out;
    for (const QAction* a : menu->actions()) {
        if (!a->isVisible() || a->isSeparator())
            continue;
        const QChar letter = mnemonic(a->text());
        if (!letter.isNull())
            owners.insert(letter, nameOf(a, a->text()));
        if (a->menu())
            out << clashesInMenu(a->menu());
    }
    for (const QString& c : clashes(owners))
        out << menu->objectName() + QStringLiteral(": ") + c;
    return out;
}

// The menus of a window's menu bar.
inline QList<QMenu*> menusOf(QWidget* window) {
    QList<QMenu*> out;
    for (const QMenuBar* bar : window->findChildren<QMenuBar*>())
        if (bar->window() == window)
            for (const QAction* a : bar->actions())
                if (a->menu())
                    out << a->menu();
    return out;
}

// Every key a window answers in its present state: the Alt+letters of its visible controls and
// menus, and the shortcuts of its actions and shortcut objects.
inline QSet<QKeySequence> keysOf(QWidget* window) {
    QSet<QKeySequence> keys;
    for (const QChar letter : mnemonicsOf(window).uniqueKeys())
        keys << QKeySequence(QStringLiteral("Alt+") + letter.toUpper());
    for (const QAction* a : window->findChildren<QAction*>())
        for (const QKeySequence& k : a->shortcuts())
            keys << k;
    for (const QShortcut* s : window->findChildren<QShortcut*>())
        for (const QKeySequence& k : s->keys())
            keys << k;
    return keys;
}

} // namespace windowkeys
