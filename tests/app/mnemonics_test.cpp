// No two visible controls or menu items of a window share an Alt+letter: where two do, the
// letter reaches neither reliably, and a reflexive Alt+C may not cancel at all.
#include "every_window.h"
#include "window_keys.h"

TEST_F(EveryWindowTest, Mnemonics_NoTwoVisibleControlsOrMenuItemsOfAWindowShareALetter) {
    QStringList found;
    walkEveryWindow(
        [&](QWidget* window, const QString& where) {
            for (const QString& c : windowkeys::clashesIn(window))
                found << where + QStringLiteral(": ") + c;
        },
        [&](QWidget* window) {
            for (const QMenu* menu : windowkeys::menusOf(window))
                found << windowkeys::clashesInMenu(menu);
        });
    found.removeDuplicates();
    EXPECT_TRUE(found.isEmpty()) << found.join(QLatin1Char('\n')).toStdString();
}
