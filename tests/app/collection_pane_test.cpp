#include "app/collectionpane.h"
#include "app/recentcollections.h"
#include "app/thumbnails.h"
#include "browse/stampbrowser.h"
#include "browse/stamplistmodel.h"
#include "support/collection_fixture.h"
#include "support/wait.h"

#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QSettings>
#include <QTableView>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>

using namespace perlinex;
using browse::StampBrowser;

namespace {

// The pane alone over a browser: the record form is stood for by what the browser shows.
class CollectionPaneTest : public CollectionTest {
protected:
    const regional::Regional regional{QLocale(QLocale::English, QLocale::UnitedStates)};
    std::unique_ptr<StampBrowser> browser;
    std::unique_ptr<CollectionPane> pane;

    void open(std::initializer_list<const char*> descriptions) {
        for (const char* d : descriptions)
            addStamp(QString::fromUtf8(d));
        browser = std::make_unique<StampBrowser>(regional);
        browser->open(*db, false);
        pane = std::make_unique<CollectionPane>(*browser, regional,
                                                [](const std::function<void()>& fn) { fn(); });
        pane->resize(600, 400);
        pane->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(pane.get()));
    }
    void TearDown() override {
        pane.reset();
        if (browser)
            browser->close();
        CollectionTest::TearDown();
    }
    QString shown() const { return browser->shown().text(QStringLiteral("descr")); }
    int selectedRow() const {
        const QModelIndexList rows = pane->view()->selectionModel()->selectedRows();
        return rows.size() == 1 ? rows[0].row() : -1;
    }
    QPoint cellCentre(int row, int column = 0) const {
        return pane->view()->visualRect(pane->view()->model()->index(row, column)).center();
    }
};

} // namespace

TEST_F(CollectionPaneTest, SelectionAndCurrentStampFollowEachOther) {
    open({"Delta", "alpha", "Charlie", "Bravo"});
    EXPECT_EQ(selectedRow(), 0);
    // The reverse: a click or a key in the list makes its stamp current.
    QTest::mouseClick(pane->view()->viewport(), Qt::LeftButton, {}, cellCentre(2));
    EXPECT_EQ(shown(), QStringLiteral("Charlie"));
    QTest::keyClick(pane->view(), Qt::Key_Down);
    EXPECT_EQ(shown(), QStringLiteral("Delta"));
    QTest::keyClick(pane->view(), Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(shown(), QStringLiteral("alpha"));
    // A move of the record selects its row.
    browser->moveLast();
    EXPECT_EQ(selectedRow(), 3);
    browser->movePrevious();
    EXPECT_EQ(selectedRow(), 2);
}

TEST_F(CollectionPaneTest, UnavailableWhileAStampIsChangedAndAStoredOneIsSelectedInItsPlace) {
    open({"Delta", "alpha", "Charlie"});
    ASSERT_TRUE(browser->beginEdit());
    EXPECT_FALSE(pane->view()->isEnabled());
    EXPECT_FALSE(pane->filterBox()->isEnabled());
    record::StampEntry e = browser->shown();
    e.setText(QStringLiteral("descr"), QStringLiteral("Echo"));
    ASSERT_TRUE(browser->store(e).stored);
    EXPECT_TRUE(pane->view()->isEnabled());
    EXPECT_EQ(selectedRow(), 2);
    EXPECT_EQ(pane->view()->model()->index(2, 0).data().toString(), QStringLiteral("Echo"));
    ASSERT_TRUE(browser->beginAdd());
    EXPECT_FALSE(pane->view()->isEnabled());
    e.setText(QStringLiteral("descr"), QStringLiteral("Dog"));
    ASSERT_TRUE(browser->store(e).stored); // Charlie, Delta, Dog, Echo
    EXPECT_EQ(selectedRow(), 2);
    EXPECT_EQ(shown(), QStringLiteral("Dog"));
}

TEST_F(CollectionPaneTest, TypingFiltersAndEscapeClears) {
    open({"Penny Black", "Penny Red", "Twopence Blue"});
    QTest::mouseClick(pane->view()->viewport(), Qt::LeftButton, {}, cellCentre(2));
    pane->focusFilter();
    EXPECT_TRUE(pane->filterBox()->hasFocus());
    QTest::keyClicks(pane->filterBox(), QStringLiteral("PENNY b"));
    EXPECT_EQ(pane->view()->model()->rowCount(), 1);
    EXPECT_EQ(shown(), QStringLiteral("Penny Black"));
    EXPECT_EQ(selectedRow(), 0);
    QTest::keyClick(pane->filterBox(), Qt::Key_Escape);
    EXPECT_TRUE(pane->filterBox()->text().isEmpty());
    EXPECT_EQ(pane->view()->model()->rowCount(), 3);
    EXPECT_EQ(shown(), QStringLiteral("Penny Black"));
}

TEST_F(CollectionPaneTest, AHeadingClickSortsAndASecondReverses) {
    open({"Bravo", "alpha", "Charlie"});
    QHeaderView* header = pane->view()->horizontalHeader();
    EXPECT_FALSE(header->isSortIndicatorShown()); // the Sort menu's order
    const auto clickHeading = [&](int column) {
        QTest::mouseClick(
            header->viewport(), Qt::LeftButton, {},
            QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
    };
    clickHeading(0);
    EXPECT_TRUE(header->isSortIndicatorShown());
    EXPECT_EQ(browser->order(), browse::StampOrder::ofColumn(0));
    clickHeading(0);
    EXPECT_EQ(browser->order(), browse::StampOrder::ofColumn(0, true));
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);
    EXPECT_EQ(pane->view()->model()->index(0, 0).data().toString(), QStringLiteral("Charlie"));
    browser->setSortKey(browse::SortKey::Description);
    EXPECT_FALSE(header->isSortIndicatorShown());
}

TEST_F(CollectionPaneTest, HiddenAndMovedColumnsAreRemembered) {
    open({"alpha"});
    QHeaderView* header = pane->view()->horizontalHeader();
    header->setSectionHidden(3, true);
    header->moveSection(2, 0);
    const QByteArray state = pane->columnState();
    pane.reset();
    pane = std::make_unique<CollectionPane>(*browser, regional,
                                            [](const std::function<void()>& fn) { fn(); });
    EXPECT_FALSE(pane->view()->horizontalHeader()->isSectionHidden(3));
    pane->restoreColumnState(state);
    EXPECT_TRUE(pane->view()->horizontalHeader()->isSectionHidden(3));
    EXPECT_EQ(pane->view()->horizontalHeader()->logicalIndex(0), 2);
}

TEST(Thumbnails, AreReadOffTheMainThreadAtTheSizeShown) {
    QTemporaryDir dir;
    QImage big(400, 200, QImage::Format_RGB32);
    big.fill(Qt::red);
    ASSERT_TRUE(big.save(dir.filePath(QStringLiteral("1.jpg"))));
    QFile(dir.filePath(QStringLiteral("2.jpg"))).open(QIODevice::WriteOnly); // not a picture
    std::vector<std::int64_t> asked;
    Thumbnails thumbs(
        [&](std::int64_t id) {
            asked.push_back(id);
            return id == 3 ? QString() : dir.filePath(QStringLiteral("%1.jpg").arg(id));
        },
        48);
    std::vector<std::int64_t> ready;
    QObject::connect(&thumbs, &Thumbnails::ready, [&](std::int64_t id) {
        EXPECT_EQ(QThread::currentThread(), qApp->thread());
        ready.push_back(id);
    });
    EXPECT_FALSE(thumbs.picture(1).isValid()); // being read
    EXPECT_FALSE(thumbs.picture(2).isValid());
    EXPECT_FALSE(thumbs.picture(3).isValid()); // no picture: nothing to read
    EXPECT_SOON(ready.size() == 2);
    ASSERT_EQ(ready.size(), std::size_t(2));
    const QImage image = thumbs.picture(1).value<QImage>();
    EXPECT_EQ(image.size(), QSize(48, 24));
    EXPECT_FALSE(thumbs.picture(2).isValid());
    // Each file is looked for once, however often the row is painted.
    EXPECT_EQ(asked, (std::vector<std::int64_t>{1, 2, 3}));
}

TEST(RecentCollections, TheNewestEightOnceEach) {
    QTemporaryDir dir;
    QSettings settings(dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
    RecentCollections recent(settings);
    for (int i = 1; i <= 10; ++i)
        recent.add(dir.filePath(QStringLiteral("c%1").arg(i)));
    recent.add(dir.filePath(QStringLiteral("c5/../c8")));
    QStringList expected;
    for (int i : {8, 10, 9, 7, 6, 5, 4, 3})
        expected << QDir::cleanPath(dir.filePath(QStringLiteral("c%1").arg(i)));
    EXPECT_EQ(recent.folders(), expected);
    recent.remove(dir.filePath(QStringLiteral("c9")));
    expected.removeAll(QDir::cleanPath(dir.filePath(QStringLiteral("c9"))));
    EXPECT_EQ(RecentCollections(settings).folders(), expected);
}
