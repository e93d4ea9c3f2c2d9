#include "codes/frmcodesmaint.h"

#include "db/dialect.h"
#include "db/recordset.h"
#include "db/schema.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"

#include "db/sqlite/collectionfile.h"
#include "support/wait.h"
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace perlinex;

namespace {

const QStringList kBrowseSet = {"cmdAddNew", "cmdDelete", "cmdFind", "cmdFirst",
                                "cmdLast",   "cmdNext",   "cmdOK",   "cmdPrevious"};
const QStringList kEditSet = {"cmdCancel", "cmdUpdate"};
const QStringList kAddSet = {"cmdAddNew", "cmdCancel", "cmdUpdate"};

class CodesWindow : public TempFolderTest {
protected:
    ScriptedDialogs dialogs;
    std::unique_ptr<Program> program;
    std::unique_ptr<frmCodesMaint> window;
    std::vector<int> helpShown;

    void SetUp() override {
        TempFolderTest::SetUp();
        db::createCollection(path(QStringLiteral("stamp.mdb")))->close();
        program = std::make_unique<Program>(dialogs, dir.path());
        program->openCollection();
        program->showHelpContext = [this](int topic) { helpShown.push_back(topic); };
    }
    void TearDown() override {
        window.reset();
        program->closeCollection();
    }

    void open(int table) {
        program->MaintTable = table;
        window = std::make_unique<frmCodesMaint>(*program);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    // Gives the gum table exactly these entries.
    void setGum(const QStringList& entries) {
        program->CollectionDb->execute(QStringLiteral("delete from gum"));
        for (const QString& e : entries)
            program->CollectionDb->execute(
                QStringLiteral("insert into gum (GumDesc) values (%1)").arg(db::quoteText(e)));
    }
    QStringList column(const QString& sql) {
        auto rs = program->CollectionDb->openRecordSet(sql, db::RecordSetKind::Snapshot);
        QStringList out;
        for (; !rs->eof(); rs->moveNext())
            out << rs->field(0).toText();
        return out;
    }
    QStringList gum() { return column(QStringLiteral("select GumDesc from gum order by GumDesc")); }

    QLineEdit* box() { return window->findChild<QLineEdit*>(QStringLiteral("txtDesc")); }
    QPushButton* button(const char* name) {
        return window->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    QString shown() { return box()->text(); }
    QStringList shownButtons() {
        QStringList out;
        for (QPushButton* b : window->findChildren<QPushButton*>())
            if (b->isVisible())
                out << b->objectName();
        out.sort();
        return out;
    }
    // Presses a button as the user would, which only works while it is on screen.
    void click(const char* name) {
        QPushButton* b = button(name);
        ASSERT_NE(b, nullptr) << name;
        ASSERT_TRUE(b->isVisible()) << name << " is hidden";
        QTest::mouseClick(b, Qt::LeftButton);
    }
    void retype(const QString& text) {
        box()->selectAll();
        QTest::keyClick(box(), Qt::Key_Delete);
        QTest::keyClicks(box(), text);
    }
    void find(const std::optional<QString>& answer) {
        dialogs.texts.push_back(answer);
        click("cmdFind");
    }
    const ScriptedDialogs::Prompt& lastPrompt() { return dialogs.prompts.back(); }
};

TEST_F(CodesWindow, EveryTable_OpensWithItsCaptionLabelHelpTopicAndFirstEntry) {
    struct Expected {
        const char* caption;
        const char* label;
        int help;
        const char* query;
    };
    const Expected expected[9] = {
        {"Maintain Cancellations", "Cancellation Description", 48, "select CanDesc from cancel"},
        {"Maintain Conditions", "Condition Description", 20, "select conDesc from condition"},
        {"Maintain Countries", "Country Description", 49, "select Coudesc from country"},
        {"Maintain Formats", "Format Description", 50, "select FormDesc from format"},
        {"Maintain Gum Types", "Gum Description", 51, "select GumDesc from gum"},
        {"Maintain Papers", "Paper Description", 52, "select Papdesc from paper"},
        {"Maintain Perforations", "Perforation Description", 53, "select perfdesc from perf"},
        {"Maintain Topics", "Topic Description", 55, "select TopDesc from topic"},
        {"Maintain Types", "Type Description", 54, "select Typedesc from type"},
    };
    for (int n = 1; n <= 9; ++n) {
        SCOPED_TRACE(n);
        const Expected& e = expected[n - 1];
        open(n);
        EXPECT_EQ(window->windowTitle(), QLatin1String(e.caption));
        EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("lblDesc"))->text(),
                  QLatin1String(e.label));
        const QString first = column(QLatin1String(e.query) + " order by 1").value(0);
        EXPECT_EQ(shown(), first);
        EXPECT_TRUE(box()->isEnabled());
        EXPECT_EQ(shownButtons(), kBrowseSet);
        EXPECT_TRUE(button("cmdOK")->isDefault());

        helpShown.clear();
        QTest::keyClick(box(), Qt::Key_F1);
        QTest::keyClick(button("cmdNext"), Qt::Key_F1);
        EXPECT_EQ(helpShown, (std::vector<int>{e.help, e.help}));
    }
    EXPECT_TRUE(dialogs.prompts.empty());
}

TEST_F(CodesWindow, Navigation_MovesInOrderAndBeepsAtBothEnds) {
    setGum({"Gamma", "Alpha", "Beta"});
    open(5);
    EXPECT_EQ(shown(), "Alpha");
    click("cmdPrevious");
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_EQ(shown(), "Alpha");
    click("cmdNext");
    EXPECT_EQ(shown(), "Beta");
    click("cmdLast");
    EXPECT_EQ(shown(), "Gamma");
    click("cmdNext");
    EXPECT_EQ(dialogs.beeps, 2);
    EXPECT_EQ(shown(), "Gamma");
    click("cmdPrevious");
    click("cmdFirst");
    EXPECT_EQ(shown(), "Alpha");
    EXPECT_EQ(dialogs.beeps, 2);
    EXPECT_EQ(shownButtons(), kBrowseSet) << "showing an entry is not a change";
}

TEST_F(CodesWindow, Edit_UpdateShowsTheEntryFoundById_CancelShowsTheLastAndStoresNothing) {
    setGum({"Alpha", "Beta", "Gamma"});
    open(5);
    const int width = window->width();
    click("cmdNext");
    QTest::keyClicks(box(), "x");
    EXPECT_TRUE(window->isEditing());
    EXPECT_EQ(shownButtons(), kEditSet);

    // An empty description is refused and the edit goes on.
    retype(QString());
    click("cmdUpdate");
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_EQ(lastPrompt().text, "You must enter a description or press Cancel");
    EXPECT_EQ(lastPrompt().title, "Missing Data");
    EXPECT_EQ(lastPrompt().icon, Icon::None);
    EXPECT_EQ(shownButtons(), kEditSet);
    EXPECT_EQ(gum(), (QStringList{"Alpha", "Beta", "Gamma"}));

    // The renamed entry is shown again, at its place in the set opened with the window.
    retype("Zeta");
    click("cmdUpdate");
    EXPECT_EQ(gum(), (QStringList{"Alpha", "Gamma", "Zeta"}));
    EXPECT_EQ(shown(), "Zeta");
    EXPECT_EQ(shownButtons(), kBrowseSet);
    click("cmdNext");
    EXPECT_EQ(shown(), "Gamma");

    // Cancel drops the change and shows the last entry, not the one edited.
    click("cmdPrevious");
    retype("Changed");
    click("cmdCancel");
    EXPECT_EQ(gum(), (QStringList{"Alpha", "Gamma", "Zeta"}));
    EXPECT_EQ(shown(), "Gamma");
    EXPECT_EQ(shownButtons(), kBrowseSet);
    EXPECT_TRUE(button("cmdOK")->isDefault());
    // The window keeps the size it opened with through every mode.
    EXPECT_EQ(window->width(), width);
}

TEST_F(CodesWindow, Add_AddAnotherStoresEach_UpdateShowsTheLast_CancelKeepsWhatWasStored) {
    setGum({"Beta"});
    open(5);
    click("cmdAddNew");
    EXPECT_TRUE(window->isAdding());
    EXPECT_EQ(shownButtons(), kAddSet);
    EXPECT_EQ(button("cmdAddNew")->text(), "&Add Another");
    EXPECT_TRUE(button("cmdAddNew")->isDefault());
    EXPECT_EQ(shown(), "");
    EXPECT_SOON(box()->hasFocus());

    QTest::keyClicks(box(), "Delta");
    click("cmdAddNew");
    EXPECT_EQ(shown(), "");
    QTest::keyClicks(box(), "Epsilon");
    QTest::keyClick(box(), Qt::Key_Return); // Enter presses "&Add Another"
    EXPECT_EQ(gum(), (QStringList{"Beta", "Delta", "Epsilon"}));
    EXPECT_EQ(shownButtons(), kAddSet);

    QTest::keyClicks(box(), "Aardvark");
    click("cmdUpdate");
    EXPECT_EQ(gum(), (QStringList{"Aardvark", "Beta", "Delta", "Epsilon"}));
    EXPECT_EQ(shown(), "Aardvark");
    EXPECT_EQ(button("cmdAddNew")->text(), "&Add New");
    EXPECT_EQ(shownButtons(), kBrowseSet);

    // Cancel keeps what "&Add Another" stored and shows the last entry: added ones come last.
    click("cmdAddNew");
    QTest::keyClicks(box(), "Omega");
    click("cmdAddNew");
    QTest::keyClicks(box(), "Not kept");
    click("cmdCancel");
    EXPECT_EQ(gum(), (QStringList{"Aardvark", "Beta", "Delta", "Epsilon", "Omega"}));
    EXPECT_EQ(shown(), "Omega");
    EXPECT_EQ(button("cmdAddNew")->text(), "&Add New");
    EXPECT_FALSE(window->isAdding());
}

TEST_F(CodesWindow, Delete_EntryInUse_AsksFirstThenRefuses) {
    open(3);
    find(QStringLiteral("Germany"));
    ASSERT_EQ(shown(), "Germany");
    const auto id = program->CollectionDb
                        ->scalar(QStringLiteral("select CouID from country where Coudesc = "
                                                "'Germany'"))
                        .toInteger();
    {
        auto stamps = program->CollectionDb->openRecordSet(QStringLiteral("select * from stamp"));
        stamps->addNew();
        stamps->setField("descr", db::Value(QStringLiteral("Posthorn")));
        stamps->setField("catnum", db::Value(QStringLiteral("1")));
        stamps->setField("catsort", db::Value(db::CatSortKey(QStringLiteral("1"))));
        stamps->setField("CouID", db::Value(id));
        stamps->update();
    }
    dialogs.prompts.clear();

    dialogs.answers = {Answer::No};
    click("cmdDelete");
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_EQ(lastPrompt().text, "Are you sure that you want to delete this country?");
    EXPECT_EQ(lastPrompt().title, "Delete Country");
    EXPECT_EQ(lastPrompt().buttons, Buttons::YesNoDefaultNo); // Enter keeps it

    dialogs.answers = {Answer::Yes};
    click("cmdDelete");
    ASSERT_EQ(dialogs.prompts.size(), 3u);
    EXPECT_EQ(lastPrompt().text, "This country is in use in a stamp record");
    EXPECT_EQ(lastPrompt().title, "Cannot Delete");
    EXPECT_EQ(shown(), "Germany");
    EXPECT_EQ(column("select Coudesc from country where Coudesc = 'Germany'").size(), 1);
}

TEST_F(CodesWindow, Delete_LastThenOnlyEntry_ShowsThePreviousThenAnEmptyDisabledBox) {
    setGum({"Alpha", "Beta"});
    open(5);
    click("cmdLast");
    dialogs.answers = {Answer::Yes};
    click("cmdDelete");
    EXPECT_EQ(dialogs.prompts.back().title, "Delete Gum");
    EXPECT_EQ(gum(), QStringList{"Alpha"});
    EXPECT_EQ(shown(), "Alpha");

    dialogs.answers = {Answer::Yes};
    click("cmdDelete");
    EXPECT_TRUE(gum().isEmpty());
    EXPECT_EQ(shown(), "");
    EXPECT_FALSE(box()->isEnabled());
    EXPECT_EQ(shownButtons(), kBrowseSet);
}

TEST_F(CodesWindow, EmptyTable_NothingToBrowseOrDelete_AddNewEnablesTheBox) {
    setGum({});
    open(5);
    EXPECT_EQ(shown(), "");
    EXPECT_FALSE(box()->isEnabled());
    for (const char* name : {"cmdFirst", "cmdPrevious", "cmdNext", "cmdLast", "cmdDelete"})
        click(name);
    EXPECT_EQ(dialogs.beeps, 0);
    EXPECT_TRUE(dialogs.prompts.empty());

    find(QStringLiteral("any"));
    EXPECT_EQ(lastPrompt().text, "That record was not found.");

    click("cmdAddNew");
    EXPECT_TRUE(box()->isEnabled());
    QTest::keyClicks(box(), "Original gum");
    click("cmdUpdate");
    EXPECT_EQ(gum(), QStringList{"Original gum"});
    EXPECT_EQ(shown(), "Original gum");

    // Cancelling an add in an empty table leaves it empty and the box disabled again.
    setGum({});
    open(5);
    click("cmdAddNew");
    click("cmdCancel");
    EXPECT_FALSE(box()->isEnabled());
    EXPECT_EQ(shownButtons(), kBrowseSet);
}

TEST_F(CodesWindow, Find_MatchesTheStartOfTheDescriptionLiterallyInAnyCase) {
    program->CollectionDb->execute(
        QStringLiteral("insert into country (Coudesc) values ('O''Brien Land')"));
    open(3);
    find(QStringLiteral("o'brien"));
    EXPECT_EQ(lastPrompt().kind, "input");
    EXPECT_EQ(lastPrompt().text, "Enter the country description to find:");
    EXPECT_EQ(lastPrompt().title, "Find Code");
    EXPECT_EQ(shown(), "O'Brien Land");

    find(QStringLiteral("ger"));
    EXPECT_EQ(
        shown(),
        column("select Coudesc from country where Coudesc like 'ger*' order by Coudesc").value(0));
    EXPECT_TRUE(shown().startsWith("Ger"));

    // A typed wildcard is a character like any other.
    find(QStringLiteral("*a"));
    EXPECT_EQ(lastPrompt().text, "That record was not found.");
    EXPECT_EQ(shownButtons(), kBrowseSet);
}

TEST_F(CodesWindow, Find_NoMatchReportsAndKeepsThePosition_EmptyOrCancelledFindsTheFirst) {
    setGum({"Alpha", "Beta", "Gamma"});
    open(5);
    click("cmdNext");
    find(QStringLiteral("zzz"));
    EXPECT_EQ(lastPrompt().text, "That record was not found.");
    EXPECT_EQ(lastPrompt().title, "No Records Match");
    EXPECT_EQ(shown(), "Beta");
    click("cmdNext");
    EXPECT_EQ(shown(), "Gamma");

    // An empty or cancelled answer finds the first entry that has a description.
    for (const std::optional<QString>& answer :
         {std::optional(QString()), std::optional<QString>()}) {
        click("cmdLast");
        dialogs.prompts.clear();
        find(answer);
        ASSERT_EQ(dialogs.prompts.size(), 1u);
        EXPECT_TRUE(dialogs.messageTexts().isEmpty());
        EXPECT_EQ(shown(), "Alpha");
    }
}

TEST_F(CodesWindow, Find_CriterionTheEngineRejects_IsReportedAndTheWindowStays) {
    setGum({"Alpha"});
    open(5);
    program->CollectionDb->execute(
        QStringLiteral("alter table gum rename column GumDesc to Renamed"));
    EXPECT_NO_THROW(find(QStringLiteral("al")));
    ASSERT_EQ(dialogs.messageTexts().size(), 1);
    EXPECT_TRUE(dialogs.messageTexts()[0].startsWith("The search for \"al\" could not be made."));
    EXPECT_EQ(lastPrompt().title, "Find Code");
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(program->CollectionDb);
}

TEST_F(CodesWindow, Activation_RaisesTheReloadFlagOfTheWindowsOwnTable) {
    open(5);
    program->MaintTable = 3; // the main window may have moved on
    for (int n = 1; n <= 9; ++n)
        program->setReloadFlag(n, false);
    window->activate();
    EXPECT_TRUE(program->reloadFlag(5));
    EXPECT_FALSE(program->reloadFlag(3));

    program->setReloadFlag(5, false);
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_FALSE(program->reloadFlag(5));
    window->activateWindow();
    EXPECT_SOON(program->reloadFlag(5));
}

TEST_F(CodesWindow, ShowTable_PendingEditIsOfferedForSaving) {
    setGum({"Alpha", "Beta"});
    open(5);
    retype("Changed");

    dialogs.answers = {Answer::Cancel};
    window->showTable(3);
    EXPECT_EQ(lastPrompt().title, "Maintain Gum Types");
    EXPECT_EQ(lastPrompt().buttons, Buttons::YesNoCancel);
    EXPECT_EQ(window->table(), 5);
    EXPECT_EQ(shown(), "Changed");
    EXPECT_EQ(shownButtons(), kEditSet);

    dialogs.answers = {Answer::No};
    window->showTable(3);
    EXPECT_EQ(window->table(), 3);
    EXPECT_EQ(window->windowTitle(), "Maintain Countries");
    EXPECT_EQ(gum(), (QStringList{"Alpha", "Beta"}));
    EXPECT_EQ(shownButtons(), kBrowseSet);
    EXPECT_EQ(window->helpTopic(), 49);

    window->showTable(5);
    retype("Stored");
    dialogs.answers = {Answer::Yes};
    window->showTable(9);
    EXPECT_EQ(gum(), (QStringList{"Beta", "Stored"}));
    EXPECT_EQ(window->windowTitle(), "Maintain Types");

    // Every operation then works on the table shown, whatever MaintTable says.
    program->MaintTable = 5;
    dialogs.answers = {Answer::No};
    click("cmdDelete");
    EXPECT_EQ(lastPrompt().title, "Delete Type");
}

TEST_F(CodesWindow, ShowTable_SaveThatFailsItsCheckKeepsTheTable) {
    setGum({"Alpha"});
    open(5);
    click("cmdAddNew");
    QTest::keyClicks(box(), "x");
    QTest::keyClick(box(), Qt::Key_Backspace);
    window->showTable(3); // an empty new entry is nothing to save
    EXPECT_EQ(window->table(), 3);
    EXPECT_TRUE(dialogs.prompts.empty());

    retype("y");
    retype(QString());
    dialogs.answers = {Answer::Yes};
    window->showTable(5);
    ASSERT_EQ(dialogs.prompts.size(), 2u);
    EXPECT_EQ(lastPrompt().title, "Missing Data");
    EXPECT_EQ(window->table(), 3);
    EXPECT_TRUE(window->isEditing());
}

TEST_F(CodesWindow, Ok_ClosesTheWindow_ShowTableOpensItAgain) {
    setGum({"Alpha", "Beta"});
    open(5);
    click("cmdNext");
    click("cmdOK");
    EXPECT_SOON(!window->isVisible());
    program->CollectionDb->execute(QStringLiteral("insert into gum (GumDesc) values ('Aaa')"));
    window->showTable(5);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(shown(), "Aaa");
}

} // namespace

TEST_F(CodesWindow, AltAndCtrlLetters_TypeNothingIntoTheDescription) {
    setGum({"Alpha", "Beta"});
    open(5);
    box()->setFocus();
    for (const Qt::KeyboardModifiers modifiers :
         {Qt::KeyboardModifiers(Qt::AltModifier), Qt::ControlModifier | Qt::AltModifier,
          Qt::KeyboardModifiers(Qt::MetaModifier)})
        QTest::keyClick(box(), Qt::Key_K, modifiers);
    EXPECT_EQ(shown(), "Alpha");
    EXPECT_FALSE(window->isEditing());
    // While editing the navigation is hidden: Alt+N types no "n"; Alt+U stores what was typed.
    retype("Alpine");
    QTest::keyClick(box(), Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(shown(), "Alpine");
    QTest::keyClick(box(), Qt::Key_U, Qt::AltModifier);
    EXPECT_SOON(!window->isEditing());
    EXPECT_EQ(gum(), QStringList({"Alpine", "Beta"}));
}

TEST_F(CodesWindow, ADescriptionThatDiffersOnlyInCapitalsOrAccents_IsRefusedNamingTheEntry) {
    setGum({"Original gum", "Regummed"});
    open(5);
    const struct {
        const char* how; // add, add another, rename
        const char* typed;
        const char* existing;
    } cases[] = {
        {"cmdUpdate", "original GUM", "Original gum"},
        {"cmdAddNew", "regummed", "Regummed"},
        {"rename", "RÉGUMMED", "Regummed"},
    };
    for (const auto& c : cases) {
        dialogs.prompts.clear();
        if (QLatin1String(c.how) == QLatin1String("rename")) {
            click("cmdFirst");
            retype(QString::fromUtf8(c.typed));
            click("cmdUpdate");
        } else {
            click("cmdAddNew");
            retype(QString::fromUtf8(c.typed));
            click(c.how);
        }
        ASSERT_EQ(dialogs.prompts.size(), 1u) << c.typed;
        EXPECT_TRUE(lastPrompt().text.contains(QStringLiteral("\"%1\"").arg(c.existing)))
            << lastPrompt().text.toStdString();
        EXPECT_EQ(shown(), QString::fromUtf8(c.typed)); // kept, to be corrected
        EXPECT_TRUE(window->isEditing() || window->isAdding());
        click("cmdCancel");
    }
    EXPECT_EQ(gum(), QStringList({"Original gum", "Regummed"}));

    // A new spelling of the entry itself is a rename, not a duplicate.
    click("cmdFirst");
    retype(QStringLiteral("ORIGINAL GUM"));
    click("cmdUpdate");
    EXPECT_EQ(gum(), QStringList({"ORIGINAL GUM", "Regummed"}));
}
