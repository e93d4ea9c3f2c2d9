#include "db/sqlite/collectionfile.h"
#include "main_window_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace perlinex;
using db::Value;

TEST_F(MainWindowTest, StartUp_EmptyCollection_BlankDisabledFieldsAndFilledLists) {
    open({});
    // The title names the open collection's folder.
    EXPECT_EQ(w->windowTitle(),
              QStringLiteral("Perlinex — %1").arg(QDir::toNativeSeparators(dir.path())));
    EXPECT_TRUE(text("txtDescr").isEmpty());
    EXPECT_FALSE(edit("txtDescr")->isEnabled());
    EXPECT_FALSE(find<QComboBox>("cmbCou")->isEnabled());
    EXPECT_GT(find<QComboBox>("cmbCou")->count(), 100);
    EXPECT_GT(find<QComboBox>("cmbGum")->count(), 5);
    EXPECT_TRUE(browsing());
    EXPECT_TRUE(act("mnuSort1")->isChecked());
    EXPECT_TRUE(act("mnuRptOut1")->isChecked());
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("images"))).isDir());
    // Typing is impossible; there is nothing to find or delete, and the window says why.
    EXPECT_FALSE(btn("cmdFind")->isEnabled());
    EXPECT_FALSE(btn("cmdDelete")->isEnabled());
    EXPECT_TRUE(find<QLabel>("lblEmpty")->isVisible());
}

TEST_F(MainWindowTest, StartUp_ShowsTheFirstStampInDescriptionOrderWithItsListEntries) {
    open({{"Zeppelin", "C 45"}, {"Penny Black", "SG 1"}});
    EXPECT_EQ(text("txtDescr"), QStringLiteral("Penny Black"));
    EXPECT_TRUE(edit("txtDescr")->isEnabled());
    EXPECT_EQ(text("txtQuantity"), QStringLiteral("1"));
    EXPECT_EQ(find<QComboBox>("cmbCou")->currentIndex(), -1);
    EXPECT_TRUE(browsing());
}

TEST_F(MainWindowTest, TabsAndCaptions) {
    open({{"A", "1"}});
    auto* tabs = find<QTabWidget>("SSTab1");
    ASSERT_EQ(tabs->count(), 4);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("General"));
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("  Stamp Prices"));
    EXPECT_EQ(tabs->tabText(2), QStringLiteral("Notes"));
    EXPECT_EQ(tabs->tabText(3), QStringLiteral("Image"));
    EXPECT_EQ(btn("cmdFirst")->text(), QStringLiteral("Firs&t"));
    EXPECT_EQ(btn("cmdAddNew")->text(), QStringLiteral("&Add New"));
    EXPECT_EQ(act("mnuMaint7")->text(), QStringLiteral("P&erformations"));
    EXPECT_EQ(act("mnuAbout")->text(), QStringLiteral("&About the Perlinex Program"));
}

TEST_F(MainWindowTest, CodeLists_RefillLazilyWhenTheirFlagIsRaised) {
    open({{"A", "1"}});
    auto* cou = find<QComboBox>("cmbCou");
    const int before = cou->count();
    program->CollectionDb->execute(
        QStringLiteral("insert into country(Coudesc) values ('Aaland Test')"));
    comeBack();
    EXPECT_EQ(cou->count(), before); // flag not raised: nothing refilled
    program->setReloadFlag(3, true);
    comeBack();
    EXPECT_EQ(cou->count(), before + 1);
    EXPECT_EQ(cou->itemText(0), QStringLiteral("Aaland Test")); // in description order
    EXPECT_FALSE(program->reloadFlag(3));
    EXPECT_TRUE(browsing()); // a refill is no edit
}

TEST_F(MainWindowTest, Modes_TypingSwitchesToEditingAndCancelReturnsToBrowsing) {
    open({{"A", "1"}, {"B", "2"}});
    type("txtColor", QStringLiteral("red"));
    EXPECT_TRUE(w->isEditing());
    EXPECT_FALSE(btn("cmdFirst")->isVisible());
    EXPECT_FALSE(btn("cmdDelete")->isVisible());
    EXPECT_FALSE(btn("cmdFind")->isVisible());
    EXPECT_FALSE(btn("cmdHelp")->isVisible());
    EXPECT_FALSE(btn("cmdAddNew")->isVisible());
    EXPECT_TRUE(btn("cmdUpdate")->isVisible());
    EXPECT_TRUE(btn("cmdCancel")->isVisible());
    EXPECT_FALSE(act("mnuMaint1")->isEnabled());
    EXPECT_FALSE(act("mnuSort2")->isEnabled());
    EXPECT_FALSE(act("mnuExit")->isEnabled());
    EXPECT_TRUE(act("mnuPack")->isEnabled());
    click("cmdCancel");
    EXPECT_TRUE(browsing());
    EXPECT_EQ(text("txtDescr"), QStringLiteral("A")); // cancel shows the record, as stored
    EXPECT_EQ(text("txtColor"), QString());
}

TEST_F(MainWindowTest, Modes_KeyInACodeListEditsAndDeleteClearsTheSelection) {
    open({{"A", "1"}});
    auto* cou = find<QComboBox>("cmbCou");
    cou->setFocus();
    QTest::keyClick(cou, Qt::Key_Down);
    EXPECT_TRUE(w->isEditing());
    EXPECT_GE(cou->currentIndex(), 0);
    QTest::keyClick(cou, Qt::Key_Delete);
    EXPECT_EQ(cou->currentIndex(), -1);
    click("cmdUpdate");
    EXPECT_TRUE(program->CollectionDb->scalar(QStringLiteral("select CouID from stamp")).isNull());
}

TEST_F(MainWindowTest, Navigation_BeepsAtBothEnds) {
    open({{"A", "1"}, {"B", "2"}, {"C", "3"}});
    click("cmdPrevious");
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_EQ(text("txtDescr"), QStringLiteral("A"));
    click("cmdNext");
    EXPECT_EQ(text("txtDescr"), QStringLiteral("B"));
    click("cmdLast");
    EXPECT_EQ(text("txtDescr"), QStringLiteral("C"));
    click("cmdNext");
    EXPECT_EQ(dialogs.beeps, 2);
    EXPECT_EQ(text("txtDescr"), QStringLiteral("C"));
    click("cmdFirst");
    EXPECT_EQ(text("txtDescr"), QStringLiteral("A"));
}

TEST_F(MainWindowTest, Add_AddAnotherTwiceThenCancelKeepsTheStoredOnes) {
    open({{"M", "1"}});
    click("cmdAddNew");
    EXPECT_EQ(btn("cmdAddNew")->text(), QStringLiteral("&Add Another"));
    EXPECT_TRUE(w->isAdding());
    EXPECT_EQ(text("txtQuantity"), QStringLiteral("1"));
    EXPECT_TRUE(text("txtDescr").isEmpty());
    type("txtDescr", QStringLiteral("First added"));
    click("cmdAddNew");
    EXPECT_TRUE(text("txtDescr").isEmpty());
    type("txtDescr", QStringLiteral("Second added"));
    click("cmdAddNew");
    type("txtDescr", QStringLiteral("Never stored"));
    click("cmdCancel");
    EXPECT_EQ(stampCount(), 3);
    EXPECT_EQ(text("txtDescr"), QStringLiteral("Second added")); // added rows sit at the end
    EXPECT_TRUE(browsing());
    EXPECT_EQ(btn("cmdAddNew")->text(), QStringLiteral("&Add New"));
}

TEST_F(MainWindowTest, Add_UpdateStoresAndShowsTheNewRecord) {
    open({});
    click("cmdAddNew");
    EXPECT_TRUE(edit("txtDescr")->isEnabled()); // an empty collection's fields come alive
    type("txtDescr", QStringLiteral("Penny Black"));
    type("txtCatNum", QStringLiteral("SG 12a"));
    click("cmdUpdate");
    EXPECT_EQ(stampCount(), 1);
    EXPECT_EQ(text("txtDescr"), QStringLiteral("Penny Black"));
    EXPECT_TRUE(browsing());
    EXPECT_EQ(program->CollectionDb->scalar(QStringLiteral("select catsort from stamp")).toText(),
              QString(18, ' ') + QStringLiteral("12"));
}

TEST_F(MainWindowTest, Add_CancelOnAnEmptyCollectionDisablesTheFieldsAgain) {
    open({});
    click("cmdAddNew");
    click("cmdCancel");
    EXPECT_FALSE(edit("txtDescr")->isEnabled());
    EXPECT_EQ(stampCount(), 0);
}

TEST_F(MainWindowTest, Cancel_AfterEditingTheThirdOfTenShowsTheThirdAsStored) {
    std::vector<Seed> ten;
    const char* names[] = {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"};
    for (const char* n : names)
        ten.push_back({n, "1"});
    open(ten);
    click("cmdNext");
    click("cmdNext");
    type("txtDescr", QStringLiteral("changed"));
    click("cmdCancel");
    EXPECT_EQ(text("txtDescr"), QStringLiteral("c"));
    click("cmdNext"); // the place in the order is kept too
    EXPECT_EQ(text("txtDescr"), QStringLiteral("d"));
    EXPECT_EQ(program->CollectionDb
                  ->scalar(QStringLiteral("select count(*) from stamp where descr = 'c'"))
                  .toInteger(),
              1);
}

TEST_F(MainWindowTest, Update_StoresAnEditAndStaysOnTheRecord) {
    open({{"A", "1"}, {"B", "2"}});
    type("txtDescr", QStringLiteral("A changed"));
    click("cmdUpdate");
    EXPECT_EQ(text("txtDescr"), QStringLiteral("A changed"));
    EXPECT_TRUE(browsing());
    EXPECT_EQ(program->CollectionDb
                  ->scalar(QStringLiteral("select count(*) from stamp where descr = 'A changed'"))
                  .toInteger(),
              1);
}

TEST_F(MainWindowTest, Delete_MiddleLastAndOnly) {
    open({{"A", "1"}, {"B", "2"}, {"C", "3"}});
    dialogs.answers = {Answer::No};
    click("cmdDelete");
    EXPECT_EQ(stampCount(), 3);
    EXPECT_EQ(dialogs.prompts.back().text,
              QStringLiteral("Are you sure that you want to delete this stamp record?\n\n"
                             "“A”, catalogue number 1"));
    EXPECT_EQ(dialogs.prompts.back().title, QStringLiteral("Delete Stamp"));
    EXPECT_EQ(dialogs.prompts.back().buttons, Buttons::YesNoDefaultNo);

    click("cmdNext");
    dialogs.answers = {Answer::Yes};
    click("cmdDelete"); // the middle one: the next is shown
    EXPECT_EQ(text("txtDescr"), QStringLiteral("C"));
    dialogs.answers = {Answer::Yes};
    click("cmdDelete"); // the last one: the new last is shown
    EXPECT_EQ(text("txtDescr"), QStringLiteral("A"));
    dialogs.answers = {Answer::Yes};
    click("cmdDelete"); // the only one: blank and disabled
    EXPECT_EQ(stampCount(), 0);
    EXPECT_TRUE(text("txtDescr").isEmpty());
    EXPECT_FALSE(edit("txtDescr")->isEnabled());
    EXPECT_TRUE(browsing());
}

TEST_F(MainWindowTest, Sort_ByCatalogueNumberShowsTheSmallestKeyFirst) {
    open({{"A", "SG 100"}, {"B", "12-3"}, {"C", "SG 9a"}});
    act("mnuSort2")->trigger();
    EXPECT_TRUE(act("mnuSort2")->isChecked());
    EXPECT_FALSE(act("mnuSort1")->isChecked());
    EXPECT_EQ(text("txtDescr"), QStringLiteral("C"));
    click("cmdNext");
    EXPECT_EQ(text("txtDescr"), QStringLiteral("B"));
    act("mnuSort1")->trigger();
    EXPECT_EQ(text("txtDescr"), QStringLiteral("A"));
}

TEST_F(MainWindowTest, Fields_MoneyAndTotalsFollowTheQuantity) {
    open({{"A", "1"}});
    find<QTabWidget>("SSTab1")->setCurrentIndex(1);
    type("txtQuantity", QStringLiteral("3"));
    leaveTo("txtPricePaid");
    type("txtPricePaid", QStringLiteral("1.5"));
    leaveTo("txtCatValue");
    EXPECT_EQ(text("txtPricePaid"), QStringLiteral("$1.50"));
    EXPECT_EQ(text("txtTotalPaid"), QStringLiteral("$4.50"));
    type("txtCatValue", QStringLiteral("$1,234.50"));
    leaveTo("txtPriceAsk");
    EXPECT_EQ(text("txtTotalVal"), QStringLiteral("$3,703.50"));
    type("txtQuantity", QStringLiteral("2"));
    leaveTo("txtFace");
    EXPECT_EQ(text("txtTotalPaid"), QStringLiteral("$3.00"));
    EXPECT_EQ(text("txtTotalVal"), QStringLiteral("$2,469.00"));
    EXPECT_TRUE(text("txtTotalSales").isEmpty()); // no selling price: left alone
    type("txtCatValue", QString());
    leaveTo("txtPriceAsk");
    EXPECT_TRUE(text("txtTotalVal").isEmpty());
    EXPECT_TRUE(dialogs.prompts.empty());
    click("cmdUpdate");
    EXPECT_EQ(
        program->CollectionDb->scalar(QStringLiteral("select totalpaid from stamp")).toCurrency(),
        Currency::fromInteger(3));
    EXPECT_TRUE(
        program->CollectionDb->scalar(QStringLiteral("select catvalue from stamp")).isNull());
}

TEST_F(MainWindowTest, Fields_GermanMoneyFormat) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    open({{"A", "1"}});
    type("txtQuantity", QStringLiteral("3"));
    leaveTo("txtPricePaid");
    type("txtPricePaid", QStringLiteral("1,5"));
    leaveTo("txtCatValue");
    EXPECT_EQ(text("txtPricePaid"), QStringLiteral("1,50\u00a0€"));
    EXPECT_EQ(text("txtTotalPaid"), QStringLiteral("4,50\u00a0€"));
    click("cmdUpdate");
    EXPECT_EQ(
        program->CollectionDb->scalar(QStringLiteral("select pricepaid from stamp")).toCurrency(),
        Currency::fromRaw(15000));
    EXPECT_EQ(text("txtPricePaid"), QStringLiteral("1,50\u00a0€"));
}

TEST_F(MainWindowTest, Fields_RefusedEntriesKeepTheFocus) {
    open({{"A", "1"}});
    type("txtPricePaid", QStringLiteral("  "));
    leaveTo("txtCatValue");
    EXPECT_EQ(dialogs.messageTexts().value(0),
              QStringLiteral("You must enter a valid number or leave the field blank"));
    EXPECT_TRUE(edit("txtPricePaid")->hasFocus());
    type("txtPricePaid", QString());
    type("txtFace", QStringLiteral("   "));
    leaveTo("txtYear");
    type("txtYear", QStringLiteral("abc"));
    leaveTo("txtQuantity");
    EXPECT_EQ(dialogs.messageTexts().size(), 2); // blanks in the face value pass
    EXPECT_EQ(dialogs.messageTexts().value(1),
              QStringLiteral("You must enter a number in the Year field, or leave it blank"));
    EXPECT_EQ(dialogs.prompts.back().icon, Icon::Critical);
    EXPECT_TRUE(edit("txtYear")->hasFocus());
    type("txtYear", QString());
    type("txtQuantity", QStringLiteral("abc"));
    leaveTo("txtFace");
    EXPECT_EQ(dialogs.messageTexts().value(2),
              QStringLiteral("You must enter a number in the Quantity field"));
    EXPECT_TRUE(edit("txtQuantity")->hasFocus());
}

TEST_F(MainWindowTest, Validate_OneProblemAtATimeAndTheRecordStaysOnScreen) {
    open({{"A", "1"}});
    type("txtDescr", QString());
    edit("txtQuantity")->setText(QStringLiteral("abc"));
    click("cmdUpdate");
    ASSERT_EQ(dialogs.messageTexts().size(), 1);
    EXPECT_EQ(
        dialogs.prompts[0].text,
        QStringLiteral("You must enter a description for this stamp or click the Cancel button."));
    EXPECT_EQ(dialogs.prompts[0].title, QStringLiteral("Perlinex"));
    edit("txtDescr")->setText(QStringLiteral("  "));
    click("cmdUpdate");
    EXPECT_EQ(dialogs.prompts.back().title, QStringLiteral("Non-numeric Quantity Entered"));
    // With the focus in the quantity, its own check speaks first, whatever stores.
    edit("txtQuantity")->setText(QStringLiteral("2.5"));
    click("cmdUpdate");
    EXPECT_EQ(
        dialogs.prompts.back().text,
        QStringLiteral("The quantity must be a whole number from -2147483648 to 2147483647."));
    EXPECT_TRUE(edit("txtQuantity")->hasFocus());
    // Values that would not fit the store are refused at the store too, rather than lost.
    edit("txtQuantity")->setText(QStringLiteral("2"));
    leaveTo("txtCatNum");
    edit("txtQuantity")->setText(QStringLiteral("2.5"));
    click("cmdUpdate");
    EXPECT_EQ(dialogs.prompts.back().title, QStringLiteral("Invalid Quantity"));
    EXPECT_TRUE(edit("txtQuantity")->hasFocus());
    edit("txtQuantity")->setText(QStringLiteral("2"));
    leaveTo("txtCatNum");
    edit("txtYear")->setText(QStringLiteral("40000"));
    click("cmdUpdate");
    EXPECT_EQ(dialogs.prompts.back().text,
              QStringLiteral("The year must be a whole number from -32768 to 32767, or blank."));
    EXPECT_TRUE(edit("txtYear")->hasFocus());
    EXPECT_TRUE(w->isEditing());
    EXPECT_EQ(text("txtYear"), QStringLiteral("40000"));
    edit("txtYear")->setText(QStringLiteral("1990"));
    find<QCheckBox>("chkForSale")->setChecked(true);
    find<QCheckBox>("chkSold")->setChecked(true);
    click("cmdUpdate");
    EXPECT_EQ(dialogs.prompts.back().text,
              QStringLiteral("A stamp cannot be for sale and sold at the same time."));
    EXPECT_EQ(dialogs.prompts.back().title, QStringLiteral("Sale Status Error"));
    EXPECT_TRUE(find<QCheckBox>("chkForSale")->hasFocus());
    find<QCheckBox>("chkSold")->setChecked(false);
    click("cmdUpdate");
    EXPECT_TRUE(browsing());
    EXPECT_EQ(program->CollectionDb->scalar(QStringLiteral("select Year from stamp")).toInteger(),
              1990);
}

TEST_F(MainWindowTest, CheckBoxes_SoldClearsForSaleAndWantListRelabelsThePrice) {
    open({{"A", "1"}});
    find<QTabWidget>("SSTab1")->setCurrentIndex(1);
    QTest::mouseClick(find<QCheckBox>("chkForSale"), Qt::LeftButton);
    QTest::mouseClick(find<QCheckBox>("chkSold"), Qt::LeftButton);
    EXPECT_FALSE(find<QCheckBox>("chkForSale")->isChecked());
    EXPECT_TRUE(find<QCheckBox>("chkSold")->isChecked());
    QTest::mouseClick(find<QCheckBox>("chkWantList"), Qt::LeftButton);
    EXPECT_EQ(find<QLabel>("lblPrice")->text(), QStringLiteral("Will Pay"));
    QTest::mouseClick(find<QCheckBox>("chkWantList"), Qt::LeftButton);
    EXPECT_EQ(find<QLabel>("lblPrice")->text(), QStringLiteral("Price Paid"));
}

TEST_F(MainWindowTest, StoreAndShow_RoundTripEveryField) {
    open({{"A", "1"}});
    auto* cou = find<QComboBox>("cmbCou");
    type("txtDescr", QStringLiteral("Full record"));
    type("txtCatNum", QStringLiteral("SG 7-1"));
    type("txtFace", QStringLiteral("0.5"));
    type("txtYear", QStringLiteral("1890"));
    type("txtQuantity", QStringLiteral("2"));
    cou->setCurrentIndex(cou->findText(QStringLiteral("Germany")));
    type("txtColor", QStringLiteral("red"));
    w->findChild<QComboBox*>(QStringLiteral("dcIssued"))->setEditText(QStringLiteral("5/30/1890"));
    w->findChild<QComboBox*>(QStringLiteral("dcPurchased"))->setEditText(QString());
    edit("txtPricePaid")->setText(QStringLiteral("$1,234.56"));
    find<QPlainTextEdit>("txtNotes")->setPlainText(QStringLiteral("O'Brien's \"best\""));
    click("cmdUpdate");
    db::Database& d = *program->CollectionDb;
    EXPECT_EQ(
        d.scalar(QStringLiteral("select Year from stamp where descr = 'Full record'")).toInteger(),
        1890);
    EXPECT_EQ(
        d.scalar(QStringLiteral("select face from stamp where descr = 'Full record'")).toCurrency(),
        Currency::fromRaw(5000));
    EXPECT_EQ(
        d.scalar(QStringLiteral("select issued from stamp where descr = 'Full record'")).toDate(),
        QDate(1890, 5, 30));
    EXPECT_TRUE(d.scalar(QStringLiteral("select purchased from stamp where descr = 'Full record'"))
                    .isNull());
    EXPECT_EQ(d.scalar(QStringLiteral("select pricepaid from stamp where descr = 'Full record'"))
                  .toCurrency(),
              Currency::fromRaw(12345600));
    EXPECT_TRUE(d.scalar(QStringLiteral("select catvalue from stamp where descr = 'Full record'"))
                    .isNull());
    EXPECT_EQ(
        d.scalar(QStringLiteral("select notes from stamp where descr = 'Full record'")).toText(),
        QStringLiteral("O'Brien's \"best\""));

    click("cmdFirst");
    act("mnuSort1")->trigger();
    click("cmdNext"); // "A", then "Full record"
    EXPECT_EQ(text("txtDescr"), QStringLiteral("Full record"));
    EXPECT_EQ(text("txtFace"), QStringLiteral("0.5"));
    EXPECT_EQ(text("txtPricePaid"), QStringLiteral("$1,234.56"));
    EXPECT_TRUE(text("txtCatValue").isEmpty());
    EXPECT_EQ(cou->currentText(), QStringLiteral("Germany"));
    EXPECT_EQ(w->findChild<QComboBox*>(QStringLiteral("dcIssued"))->currentText(),
              QStringLiteral("5/30/1890"));
    EXPECT_TRUE(browsing());
}

TEST_F(MainWindowTest, Pack_CompactsAndShowsTheFirstRecordAgain) {
    open({{"B", "1"}, {"A", "2"}});
    click("cmdLast");
    dialogs.answers = {Answer::Yes};
    act("mnuPack")->trigger();
    EXPECT_EQ(dialogs.prompts[0].text,
              QStringLiteral("Do you wish to compact the Perlinex database?"));
    EXPECT_EQ(dialogs.prompts[0].title, QStringLiteral("Compact Database"));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("stampdb.bak"))));
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(text("txtDescr"), QStringLiteral("A"));
    EXPECT_EQ(stampCount(), 2);

    dialogs.answers = {Answer::No};
    QFile::remove(dir.filePath(QStringLiteral("stampdb.bak")));
    act("mnuPack")->trigger();
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("stampdb.bak"))));
}

TEST_F(MainWindowTest, Backup_ClosesTheCollectionAroundTheBackupWindow) {
    open({{"A", "1"}});
    bool collectionClosedMeanwhile = false;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        collectionClosedMeanwhile = !program->CollectionDb;
        auto* close = modal->findChild<QPushButton*>(QStringLiteral("cmdClose"));
        ASSERT_NE(close, nullptr);
        close->click();
    });
    act("mnuBackup")->trigger();
    EXPECT_TRUE(collectionClosedMeanwhile);
    ASSERT_TRUE(program->CollectionDb);
    EXPECT_EQ(text("txtDescr"), QStringLiteral("A"));
}

TEST_F(MainWindowTest, Find_ShowsTheMatchOrSaysNothingMatchedAndKeepsTheStampShown) {
    open({{"Airmail", "1"}, {"O'Brien's penny", "2"}, {"Zeppelin", "3"}});
    click("cmdLast");
    answerFind(QStringLiteral("Description"), QStringLiteral("Contains"), QStringLiteral("o'brien"),
               1);
    click("cmdFind");
    EXPECT_EQ(text("txtDescr"), QStringLiteral("O'Brien's penny"));
    EXPECT_TRUE(dialogs.prompts.empty());

    answerFind(QStringLiteral("Description"), QStringLiteral("Contains"),
               QStringLiteral("no such stamp"), 1);
    click("cmdFind");
    EXPECT_EQ(dialogs.messageTexts().value(0), QStringLiteral("That stamp was not found."));
    EXPECT_EQ(dialogs.prompts.back().title, QStringLiteral("No Records Match"));
    EXPECT_EQ(text("txtDescr"), QStringLiteral("O'Brien's penny"));

    click("cmdLast");
    answerFind(QStringLiteral("Description"), QStringLiteral("Contains"), QStringLiteral("air"), 1,
               false);
    click("cmdFind"); // closed without a search: the stamp shown before stays
    EXPECT_EQ(text("txtDescr"), QStringLiteral("Zeppelin"));
    EXPECT_EQ(dialogs.prompts.size(), 1u);
}

TEST_F(MainWindowTest, CodeTableWindow_AnEntryAddedThereIsListedWhenTheMainWindowIsBack) {
    open({{"A", "1"}});
    act("mnuMaint5")->trigger(); // gum
    QWidget* codes = shownWindow("frmCodesMaint");
    ASSERT_NE(codes, nullptr);
    EXPECT_EQ(program->MaintTable, 5);
    codes->findChild<QPushButton*>(QStringLiteral("cmdAddNew"))->click();
    codes->findChild<QLineEdit*>(QStringLiteral("txtDesc"))
        ->setText(QStringLiteral("Aaa test gum"));
    codes->findChild<QPushButton*>(QStringLiteral("cmdUpdate"))->click();
    EXPECT_EQ(
        program->CollectionDb
            ->scalar(QStringLiteral("select count(*) from gum where GumDesc = 'Aaa test gum'"))
            .toInteger(),
        1);
    codes->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
    comeBack();
    EXPECT_EQ(find<QComboBox>("cmbGum")->itemText(0), QStringLiteral("Aaa test gum"));
    EXPECT_FALSE(program->reloadFlag(5));
}

TEST_F(MainWindowTest, StartUp_ACollectionInUseOrNotACollectionEndsWithAClearMessage) {
    const QString path = dir.filePath(QStringLiteral("stamp.mdb"));
    auto holder = db::createCollection(path); // another program holds it
    program = std::make_unique<Program>(dialogs, dir.path());
    program->settingsFile = dir.filePath(QStringLiteral("settings.ini"));
    w = std::make_unique<frmMain>(*program);
    EXPECT_THROW(w->load(), ProgramEnded);
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_TRUE(dialogs.prompts[0].text.contains(QStringLiteral("in use")));
    holder.reset();

    QFile::remove(path);
    QFile text(path);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("my shopping list\n");
    text.close();
    EXPECT_THROW(w->load(), ProgramEnded);
    EXPECT_TRUE(dialogs.prompts.back().text.startsWith(QStringLiteral("3343  ")));
    EXPECT_TRUE(dialogs.prompts.back().text.contains(QStringLiteral("text file")));
    QFile again(path);
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_EQ(again.readAll(), QByteArray("my shopping list\n"));
}
