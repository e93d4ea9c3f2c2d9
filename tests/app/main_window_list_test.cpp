#include "main_window_fixture.h"

// The record form as a view of the browsing model: a stored stamp takes its place in the order
// at once, and the moves, the list and the filter follow.

namespace {

class MainWindowListTest : public MainWindowTest {
protected:
    QString shown() { return text("txtDescr"); }
    // The descriptions met going forward from the first stamp with "Next".
    QStringList walk() {
        click("cmdFirst");
        QStringList seen{shown()};
        const int beeps = dialogs.beeps;
        for (int i = 0; i < 20 && dialogs.beeps == beeps; ++i) {
            click("cmdNext");
            if (dialogs.beeps == beeps)
                seen << shown();
        }
        return seen;
    }
};

} // namespace

TEST_F(MainWindowListTest, StoredStamps_TakeTheirPlaceInTheOrderAtOnceAndStayShown) {
    open({{"Bravo", "2"}, {"Delta", "4"}});
    // Added with Update: shown, between its neighbours.
    click("cmdAddNew");
    type("txtDescr", QStringLiteral("Charlie"));
    click("cmdUpdate");
    EXPECT_EQ(shown(), QStringLiteral("Charlie"));
    click("cmdNext");
    EXPECT_EQ(shown(), QStringLiteral("Delta"));
    // Added with Add Another, then the next one cancelled: the last one stored is shown.
    click("cmdAddNew");
    type("txtDescr", QStringLiteral("Alpha"));
    click("cmdAddNew");
    click("cmdCancel");
    EXPECT_EQ(shown(), QStringLiteral("Alpha"));
    EXPECT_EQ(walk(), QStringList({"Alpha", "Bravo", "Charlie", "Delta"}));
    // An edit that moves the stamp in the order: it stays shown, in its new place.
    click("cmdFirst");
    type("txtDescr", QStringLiteral("Echo"));
    click("cmdUpdate");
    EXPECT_EQ(shown(), QStringLiteral("Echo"));
    const int beeps = dialogs.beeps;
    click("cmdNext");
    EXPECT_EQ(dialogs.beeps, beeps + 1) << "Echo is the last stamp now";
    click("cmdPrevious");
    EXPECT_EQ(shown(), QStringLiteral("Delta"));
}

TEST_F(MainWindowListTest, SortMenuOrders_AreTheBrowsersAndTheMovesFollowThem) {
    open({{"Bravo", "3"}, {"Alpha", "10"}, {"Charlie", "1"}});
    EXPECT_EQ(walk(), QStringList({"Alpha", "Bravo", "Charlie"}));
    act("mnuSort2")->trigger();
    EXPECT_TRUE(act("mnuSort2")->isChecked());
    EXPECT_FALSE(act("mnuSort1")->isChecked());
    EXPECT_EQ(shown(), QStringLiteral("Charlie"));
    EXPECT_EQ(walk(), QStringList({"Charlie", "Bravo", "Alpha"}));
}
