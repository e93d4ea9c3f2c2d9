// The main window under the keyboard: no key changes a stamp by surprise, and a slip is undone
// where the user was.
#include "main_window_fixture.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTabWidget>

namespace {

// Types into whatever has the keyboard, one key at a time, as the keys would arrive.
void typeKeys(const QString& text) {
    for (const QChar c : text)
        QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
}

void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

} // namespace

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

TEST_F(MainWindowTest, AltAndCtrlLetters_TypeNothingIntoAnyFieldAndStartNoEdit) {
    open({{"Kenya", "1"}, {"Nepal", "2"}});
    auto* tabs = find<QTabWidget>("SSTab1");
    const std::pair<const char*, int> fields[] = {
        {"txtDescr", 0}, {"txtYear", 0},  {"cmbCou", 0},       {"dcIssued", 0},
        {"txtNotes", 2}, {"txtMisc1", 2}, {"txtPricePaid", 1}, {"cmbCon", 1}};
    const Qt::KeyboardModifiers held[] = {Qt::AltModifier, Qt::ControlModifier | Qt::AltModifier,
                                          Qt::MetaModifier, Qt::ControlModifier};
    for (const auto& [name, page] : fields) {
        tabs->setCurrentIndex(page);
        QWidget* field = w->findChild<QWidget*>(QLatin1String(name));
        for (const Qt::KeyboardModifiers modifiers : held)
            for (const Qt::Key key : {Qt::Key_K, Qt::Key_J, Qt::Key_Q}) {
                field->setFocus();
                QTest::keyClick(field, key, modifiers);
                EXPECT_TRUE(browsing()) << name << " key " << key << " modifiers " << modifiers;
            }
    }
    EXPECT_EQ(text("txtDescr"), QStringLiteral("Kenya"));
    EXPECT_TRUE(find<QPlainTextEdit>("txtNotes")->toPlainText().isEmpty());
    EXPECT_EQ(find<QComboBox>("cmbCou")->currentIndex(), -1);

    // While editing the navigation buttons are hidden: a reflexive Alt+N types no "n", and
    // Alt+U stores what was typed.
    type("txtDescr", QStringLiteral("Kenya 1963"));
    QTest::keyClick(edit("txtDescr"), Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(text("txtDescr"), QStringLiteral("Kenya 1963"));
    QTest::keyClick(edit("txtDescr"), Qt::Key_U, Qt::AltModifier);
    ASSERT_SOON(browsing());
    EXPECT_EQ(program->CollectionDb
                  ->scalar(QStringLiteral("select count(*) from stamp where descr = 'Kenya 1963'"))
                  .toInteger(),
              1);
}

TEST_F(MainWindowTest, CodeList_TypingSearchesAndOnlyTheEntryTheUserTakesIsStored) {
    open({{"a", "1"}});
    auto* cou = find<QComboBox>("cmbCou");
    cou->setFocus();
    typeKeys(QStringLiteral("Mauri"));
    EXPECT_EQ(cou->currentIndex(), -1); // neither Mauritania nor Mauritius
    EXPECT_TRUE(browsing());
    press(Qt::Key_Escape);
    EXPECT_EQ(cou->currentIndex(), -1);
    EXPECT_TRUE(browsing());

    typeKeys(QStringLiteral("United K"));
    press(Qt::Key_Return);
    EXPECT_EQ(cou->currentText(), QStringLiteral("United Kingdom"));
    EXPECT_TRUE(w->isEditing());
    press(Qt::Key_U, Qt::AltModifier);
    ASSERT_SOON(browsing());
    EXPECT_EQ(
        program->CollectionDb->scalar(QStringLiteral("select CouID from stamp")).toInteger(),
        program->CollectionDb
            ->scalar(QStringLiteral("select CouID from country where Coudesc = 'United Kingdom'"))
            .toInteger());
}

TEST_F(MainWindowTest, EscapeCancelsCtrlSStoresAndEnterMovesToTheNextField) {
    open({{"a", "1"}, {"b", "2"}});
    click("cmdNext");
    type("txtDescr", QStringLiteral("b changed"));
    press(Qt::Key_Escape);
    EXPECT_TRUE(browsing());
    EXPECT_EQ(text("txtDescr"), QStringLiteral("b"));
    press(Qt::Key_Escape); // browsing: nothing to drop
    EXPECT_EQ(text("txtDescr"), QStringLiteral("b"));

    type("txtDescr", QStringLiteral("b stored"));
    press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(browsing());
    EXPECT_EQ(text("txtDescr"), QStringLiteral("b stored"));
    EXPECT_EQ(stampCount(), 2);
    EXPECT_EQ(program->CollectionDb
                  ->scalar(QStringLiteral("select count(*) from stamp where descr = 'b stored'"))
                  .toInteger(),
              1);

    // Enter goes through the one-line fields in the order Tab does, lists and dates included.
    const QStringList order = {"txtDescr", "txtCatNum", "txtFace"};
    const QStringList general = {"txtWatermark", "cmbForm",  "txtErrors",
                                 "cmbPap",       "dcIssued", "cmbCan"};
    for (const QStringList& chain : {order, general}) {
        w->findChild<QWidget*>(chain.front())->setFocus();
        for (qsizetype i = 1; i < chain.size(); ++i) {
            press(i % 2 ? Qt::Key_Return : Qt::Key_Enter);
            EXPECT_EQ(QApplication::focusWidget()->objectName(), chain[i]);
        }
    }
    EXPECT_TRUE(browsing());
    EXPECT_EQ(text("txtDescr"), QStringLiteral("b stored"));
}

TEST_F(MainWindowTest, CtrlPageKeysAndCtrlTabTurnTheRecordsPageFromAnyFieldAndChangeNoValue) {
    open({{"a", "1"}});
    auto* tabs = find<QTabWidget>("SSTab1");
    auto* cou = find<QComboBox>("cmbCou");
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int step;
    } turns[] = {{Qt::Key_PageDown, Qt::ControlModifier, 1},
                 {Qt::Key_PageUp, Qt::ControlModifier, -1},
                 {Qt::Key_Tab, Qt::ControlModifier, 1},
                 {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, -1}};
    for (const char* name : {"txtDescr", "cmbCou", "dcIssued", "txtQuantity"}) {
        for (const auto& turn : turns) {
            tabs->setCurrentIndex(name == QLatin1String("txtDescr") ? 2 : 0);
            w->findChild<QWidget*>(QLatin1String(name))->setFocus();
            const int before = tabs->currentIndex();
            press(turn.key, turn.modifiers);
            EXPECT_EQ(tabs->currentIndex(), (before + turn.step + 4) % 4)
                << name << " key " << turn.key;
            EXPECT_EQ(cou->currentIndex(), -1) << name << " key " << turn.key;
            EXPECT_TRUE(browsing()) << name << " key " << turn.key;
        }
    }
    // From a field on the page, the focus goes to the new page with it.
    tabs->setCurrentIndex(0);
    cou->setFocus();
    press(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("txtPricePaid"));
}
