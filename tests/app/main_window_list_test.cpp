#include "db/sqlite/collectionhold.h"
#include "main_window_fixture.h"
#include "stats/frmstats.h"

#include <QDir>
#include <QFile>
#include <QMenu>

#include <QHeaderView>
#include <QLabel>
#include <QTableView>

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

namespace {

class MainWindowPaneTest : public MainWindowListTest {
protected:
    QTableView* list() { return find<QTableView>("lstStamps"); }
    QLineEdit* filterBox() { return edit("txtFilter"); }
    QString position() { return find<QLabel>("lblPosition")->text(); }
    int selectedRow() {
        const QModelIndexList rows = list()->selectionModel()->selectedRows();
        return rows.size() == 1 ? rows[0].row() : -1;
    }
    void clickRow(int row) {
        const QRect cell = list()->visualRect(list()->model()->index(row, 0));
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, cell.center());
    }
    void clickHeading(int column) {
        QHeaderView* header = list()->horizontalHeader();
        QTest::mouseClick(
            header->viewport(), Qt::LeftButton, {},
            QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
    }
    // The list shown with F8 (a small screen starts without it).
    void openWithList(const std::vector<Seed>& stamps) {
        open(stamps);
        if (!list()->isVisible())
            QTest::keyClick(w.get(), Qt::Key_F8);
        ASSERT_TRUE(list()->isVisible());
        ASSERT_TRUE(act("mnuViewList")->isChecked());
    }
};

} // namespace

TEST_F(MainWindowPaneTest, ListAndRecord_FollowEachOtherBothWays) {
    openWithList({{"Delta", "4"}, {"Alpha", "1"}, {"Charlie", "3"}, {"Bravo", "2"}});
    EXPECT_EQ(selectedRow(), 0);
    EXPECT_EQ(position(), QStringLiteral("Stamp 1 of 4"));
    clickRow(2);
    EXPECT_EQ(shown(), QStringLiteral("Charlie"));
    EXPECT_EQ(position(), QStringLiteral("Stamp 3 of 4"));
    QTest::keyClick(list(), Qt::Key_Down);
    EXPECT_EQ(shown(), QStringLiteral("Delta"));
    click("cmdFirst");
    EXPECT_EQ(selectedRow(), 0);
    click("cmdNext");
    EXPECT_EQ(selectedRow(), 1);
    // A heading's order is none of the Sort menu's, and the buttons follow it.
    clickHeading(0);
    clickHeading(0);
    for (const char* sort : {"mnuSort1", "mnuSort2", "mnuSort3"})
        EXPECT_FALSE(act(sort)->isChecked()) << sort;
    EXPECT_EQ(walk(), QStringList({"Delta", "Charlie", "Bravo", "Alpha"}));
}

TEST_F(MainWindowPaneTest, ListAndFilter_AreUnavailableWhileAStampIsChanged) {
    openWithList({{"Alpha", "1"}, {"Bravo", "2"}});
    type("txtDescr", QStringLiteral("Alpha changed"));
    ASSERT_TRUE(w->isEditing());
    EXPECT_FALSE(list()->isEnabled());
    EXPECT_FALSE(filterBox()->isEnabled());
    QTest::keyClick(w.get(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_FALSE(filterBox()->hasFocus());
    QTest::keyClick(edit("txtDescr"), Qt::Key_Escape);
    EXPECT_TRUE(list()->isEnabled());
    EXPECT_TRUE(filterBox()->isEnabled());
    click("cmdAddNew");
    EXPECT_FALSE(list()->isEnabled());
    EXPECT_EQ(position(), QStringLiteral("New stamp (2 stamps)"));
    type("txtDescr", QStringLiteral("Aardvark"));
    click("cmdUpdate");
    EXPECT_TRUE(list()->isEnabled());
    EXPECT_EQ(selectedRow(), 0) << "the stored stamp is selected in its place";
}

TEST_F(MainWindowPaneTest, TabLeavesTheListForTheNextControl) {
    openWithList({{"Alpha", "1"}, {"Bravo", "2"}});
    list()->setFocus();
    ASSERT_TRUE(list()->hasFocus());
    QTest::keyClick(list(), Qt::Key_Tab);
    EXPECT_FALSE(list()->hasFocus());
    EXPECT_EQ(shown(), QStringLiteral("Alpha"));
}

TEST_F(MainWindowPaneTest, TheFilterBox_NarrowsTheListAndTheMovesAndEscapeClearsIt) {
    openWithList({{"Penny Black", "1"}, {"Penny Red", "2"}, {"Basel Dove", "3"}});
    QTest::keyClick(w.get(), Qt::Key_L, Qt::ControlModifier);
    ASSERT_TRUE(filterBox()->hasFocus());
    QTest::keyClicks(filterBox(), QStringLiteral("penny"));
    EXPECT_EQ(list()->model()->rowCount(), 2);
    EXPECT_EQ(position(), QStringLiteral("Stamp 1 of 2 (filtered from 3)"));
    EXPECT_EQ(walk(), QStringList({"Penny Black", "Penny Red"}));
    QTest::keyClick(filterBox(), Qt::Key_Escape);
    EXPECT_TRUE(filterBox()->text().isEmpty());
    EXPECT_EQ(list()->model()->rowCount(), 3);
    EXPECT_EQ(shown(), QStringLiteral("Penny Red")) << "the current stamp stays";
    EXPECT_EQ(position(), QStringLiteral("Stamp 3 of 3"));
}

TEST_F(MainWindowPaneTest, WhetherTheListIsShown_IsRemembered) {
    openWithList({{"Alpha", "1"}});
    QTest::keyClick(w.get(), Qt::Key_F8);
    EXPECT_FALSE(list()->isVisible());
    reopenWindow();
    EXPECT_FALSE(act("mnuViewList")->isChecked());
    EXPECT_FALSE(list()->isVisible());
}

namespace {

class MainWindowOpenTest : public MainWindowListTest {
protected:
    // A "&" in the path must show in the recent menu as written.
    QTemporaryDir other{QDir::tempPath() + QStringLiteral("/Stamps & Covers-XXXXXX")};

    // A second collection beside the test's own.
    void makeOther(const char* descr) {
        auto d = db::createCollection(other.filePath(QStringLiteral("stamp.mdb")));
        d->execute(QStringLiteral("insert into stamp (descr) values ('%1')").arg(descr));
    }
    QStringList recentEntries() {
        QStringList out;
        for (QAction* a : find<QMenu>("mnuRecent")->actions())
            out << a->text();
        return out;
    }
};

} // namespace

TEST_F(MainWindowOpenTest, OpenCollection_ClosesTheOneShownAndOpensTheOtherWithItsTitle) {
    makeOther("Other stamp");
    open({{"Own stamp", "1"}});
    dialogs.texts.push_back(other.path());
    act("mnuOpenCollection")->trigger();
    EXPECT_EQ(shown(), QStringLiteral("Other stamp"));
    EXPECT_TRUE(w->windowTitle().contains(QDir::toNativeSeparators(other.path())));
    // The first collection's lock is released: another program may take it.
    EXPECT_NO_THROW(db::holdCollection(dir.path(), db::Purpose::Browse));
    // Both are recent, the newest first; the first is opened again from there.
    const QStringList recent = recentEntries();
    ASSERT_EQ(recent.size(), 2);
    EXPECT_TRUE(recent[0].endsWith(
        QDir::toNativeSeparators(other.path()).replace(QLatin1Char('&'), QLatin1String("&&"))))
        << recent[0].toStdString();
    act("mnuRecent2")->trigger();
    EXPECT_EQ(shown(), QStringLiteral("Own stamp"));
}

TEST_F(MainWindowOpenTest, AnUnsavedEditIsAskedAboutAndNoKeepsIt) {
    makeOther("Other stamp");
    open({{"Own stamp", "1"}});
    type("txtDescr", QStringLiteral("typed"));
    dialogs.texts.push_back(other.path());
    dialogs.answers.push_back(Answer::No);
    act("mnuOpenCollection")->trigger();
    EXPECT_TRUE(w->isEditing());
    EXPECT_EQ(shown(), QStringLiteral("typed"));
    EXPECT_TRUE(dialogs.messageTexts().last().contains(QStringLiteral("has not been stored")));
}

TEST_F(MainWindowOpenTest, AFolderWithoutACollection_IsOfferedOneAndNoKeepsTheOneShown) {
    open({{"Own stamp", "1"}});
    dialogs.texts.push_back(other.path());
    dialogs.answers.push_back(Answer::No);
    act("mnuOpenCollection")->trigger();
    EXPECT_TRUE(dialogs.messageTexts().last().startsWith(QStringLiteral("There is no collection")));
    EXPECT_EQ(shown(), QStringLiteral("Own stamp"));
    EXPECT_FALSE(QFile::exists(other.filePath(QStringLiteral("stamp.mdb"))));
    // New Collection makes it, empty.
    dialogs.texts.push_back(other.path());
    act("mnuNewCollection")->trigger();
    EXPECT_TRUE(QFile::exists(other.filePath(QStringLiteral("stamp.mdb"))));
    EXPECT_TRUE(find<QLabel>("lblEmpty")->isVisible());
}

TEST_F(MainWindowOpenTest, ARecentCollectionThatIsGone_IsTakenOffTheListWithAMessage) {
    makeOther("Other stamp");
    open({{"Own stamp", "1"}});
    dialogs.texts.push_back(other.path());
    act("mnuOpenCollection")->trigger();
    act("mnuRecent2")->trigger();
    ASSERT_EQ(shown(), QStringLiteral("Own stamp"));
    ASSERT_TRUE(QFile::remove(other.filePath(QStringLiteral("stamp.mdb"))));
    act("mnuRecent2")->trigger();
    EXPECT_TRUE(dialogs.messageTexts().last().contains(QStringLiteral("any more")));
    EXPECT_EQ(shown(), QStringLiteral("Own stamp"));
    EXPECT_EQ(recentEntries().size(), 1);
}

TEST_F(MainWindowPaneTest, Statistics_AreOverTheListedStampsAndABarListsItsStamps) {
    openWithList({{"Penny Black", "1"}, {"Penny Red", "2"}, {"Basel Dove", "3"}});
    QTest::keyClick(w.get(), Qt::Key_F, Qt::ControlModifier);
    QTest::keyClicks(filterBox(), QStringLiteral("penny"));
    act("mnuRptStats")->trigger();
    auto* stats = w->findChild<stats::StatisticsWindow*>(QStringLiteral("frmStats"));
    ASSERT_NE(stats, nullptr);
    EXPECT_TRUE(stats->windowTitle().contains(QStringLiteral("penny")))
        << stats->windowTitle().toStdString();
    EXPECT_TRUE(stats->filter().isSet());
    stats->close();
    QTest::keyClick(filterBox(), Qt::Key_Escape);
    ASSERT_EQ(list()->model()->rowCount(), 3);

    act("mnuRptStats")->trigger();
    stats = w->findChild<stats::StatisticsWindow*>(QStringLiteral("frmStats"));
    ASSERT_NE(stats, nullptr);
    EXPECT_FALSE(stats->filter().isSet());
    emit stats->showStampsRequested(QStringLiteral("descr = \"Basel Dove\""),
                                    QStringLiteral("Doves"));
    EXPECT_EQ(list()->model()->rowCount(), 1);
    EXPECT_EQ(shown(), QStringLiteral("Basel Dove"));
    EXPECT_EQ(position(), QStringLiteral("Stamp 1 of 1 (filtered from 3) \u2014 Doves"));
    // Escape in the empty filter box lists every stamp again.
    w->activateWindow();
    QTest::keyClick(w.get(), Qt::Key_F, Qt::ControlModifier);
    QTest::keyClick(filterBox(), Qt::Key_Escape);
    EXPECT_EQ(list()->model()->rowCount(), 3);
}

TEST_F(MainWindowPaneTest, ExportCsv_WritesTheListedStampsInTheListsOrder) {
    openWithList({{"Penny Black", "1"}, {"Penny Red", "2"}, {"Basel Dove", "3"}});
    QTest::keyClick(w.get(), Qt::Key_F, Qt::ControlModifier);
    QTest::keyClicks(filterBox(), QStringLiteral("penny"));
    clickHeading(0);
    clickHeading(0); // by description, downwards
    QTemporaryDir files;
    const QString out = files.filePath(QStringLiteral("listed.csv"));
    dialogs.texts.push_back(out);
    act("mnuExportCsv")->trigger();
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    ASSERT_EQ(lines.size(), 4); // the header, two stamps, and the end of the last line
    EXPECT_TRUE(lines[1].startsWith("Penny Red,2,"));
    EXPECT_TRUE(lines[2].startsWith("Penny Black,1,"));
}
