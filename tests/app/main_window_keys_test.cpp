// The main window under the keyboard: no key changes a stamp by surprise, and a slip is undone
// where the user was.
#include "main_window_fixture.h"

#include <QApplication>
#include <QTabWidget>

TEST_F(MainWindowTest, Cancel_WhileAddingGoesBackToTheRecordShownBeforeOrTheLastOneStored) {
    open({{"a", "1"}, {"b", "2"}, {"c", "3"}});
    click("cmdNext");
    click("cmdAddNew");
    type("txtDescr", QStringLiteral("never stored"));
    click("cmdCancel");
    EXPECT_EQ(text("txtDescr"), QStringLiteral("b"));
    EXPECT_TRUE(browsing());

    click("cmdAddNew");
    type("txtDescr", QStringLiteral("d"));
    click("cmdAddNew"); // Add Another stores it
    type("txtDescr", QStringLiteral("never stored"));
    click("cmdCancel");
    EXPECT_EQ(text("txtDescr"), QStringLiteral("d"));
    EXPECT_EQ(stampCount(), 4);
}

TEST_F(MainWindowTest, Cancel_WhileAddingToAnEmptyCollection_ShowsWhatWasStoredOrTheEmptyState) {
    open({});
    click("cmdAddNew");
    type("txtDescr", QStringLiteral("First"));
    click("cmdAddNew");
    type("txtDescr", QStringLiteral("Second"));
    click("cmdAddNew");
    click("cmdCancel");
    EXPECT_EQ(text("txtDescr"), QStringLiteral("Second"));
    EXPECT_TRUE(edit("txtDescr")->isEnabled());
}

TEST_F(MainWindowTest, Close_WithARecordNotStored_AsksWithNoAsTheDefaultAndStays) {
    open({{"a", "1"}});
    type("txtDescr", QStringLiteral("changed"));
    w->close();
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_EQ(dialogs.prompts[0].buttons, Buttons::YesNoDefaultNo);
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->isEditing());
}

TEST_F(MainWindowTest, ImageTab_AltLettersReachTheirOwnButtons) {
    open({{"a", "1"}});
    find<QTabWidget>("SSTab1")->setCurrentIndex(3);
    type("txtDescr", QStringLiteral("changed"));
    // Alt+C cancels: the picture's copy button has a letter of its own.
    QTest::keyClick(edit("txtDescr"), Qt::Key_C, Qt::AltModifier);
    EXPECT_SOON(browsing());
    EXPECT_EQ(text("txtDescr"), QStringLiteral("a"));
    // Alt+O loads a picture.
    dialogs.texts = {std::nullopt};
    QTest::keyClick(edit("txtDescr"), Qt::Key_O, Qt::AltModifier);
    ASSERT_SOON(!dialogs.prompts.empty());
    EXPECT_EQ(dialogs.prompts.back().kind, QStringLiteral("open"));
}
