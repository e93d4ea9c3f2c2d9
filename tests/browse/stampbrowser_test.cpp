#include "browse_support.h"
#include "db/dberror.h"

#include <QSignalSpy>
#include <functional>
#include <gtest/gtest.h>

using namespace perlinex;
using namespace perlinex::browse;
using Mode = StampBrowser::Mode;
using db::Value;

namespace {

QStringList names(std::initializer_list<const char*> list) {
    QStringList out;
    for (const char* n : list)
        out << QString::fromUtf8(n);
    return out;
}

class StampBrowserTest : public BrowserTest {
protected:
    // Five stamps whose orders all differ.
    void fill() {
        const auto country = [&](const char* name) {
            return Value(codeId(QStringLiteral("country"), QStringLiteral("CouID"),
                                QStringLiteral("Coudesc"), QLatin1String(name)));
        };
        addStamp(QStringLiteral("Delta"), QStringLiteral("SG 5"),
                 {{QStringLiteral("issued"), Value(QDate(1900, 1, 1))},
                  {QStringLiteral("CouID"), country("Austria")},
                  {QStringLiteral("pricepaid"), Value(Currency::fromRaw(30000))}});
        addStamp(QStringLiteral("alpha"), QStringLiteral("SG 40"),
                 {{QStringLiteral("issued"), Value(QDate(1850, 1, 1))},
                  {QStringLiteral("CouID"), country("Zambia")},
                  {QStringLiteral("pricepaid"), Value(Currency::fromRaw(10000))}});
        addStamp(QStringLiteral("Charlie"), QStringLiteral("SG 3"),
                 {{QStringLiteral("issued"), Value(QDate(1950, 1, 1))},
                  {QStringLiteral("CouID"), country("Belgium")},
                  {QStringLiteral("pricepaid"), Value(Currency::fromRaw(50000))}});
        addStamp(QStringLiteral("Bravo"), QStringLiteral("SG 100"),
                 {{QStringLiteral("CouID"), country("Austria")},
                  {QStringLiteral("pricepaid"), Value(Currency::fromRaw(20000))}});
        addStamp(QStringLiteral("Écho"), QStringLiteral("SG 2"),
                 {{QStringLiteral("issued"), Value(QDate(1800, 1, 1))},
                  {QStringLiteral("notes"), Value(QStringLiteral("a pair"))}});
    }
};

} // namespace

TEST_F(StampBrowserTest, OrdersOfTheSortMenuAndOfTheColumns) {
    fill();
    open();
    const int country = listColumnNamed(QStringLiteral("CouID"));
    const int price = listColumnNamed(QStringLiteral("Price Paid"));
    ASSERT_GE(country, 0);
    ASSERT_GE(price, 0);
    struct Case {
        const char* name;
        std::function<void()> act;
        QStringList expected;
    };
    const std::vector<Case> cases = {
        {"description, case and accents aside", [&] { browser->setSortKey(SortKey::Description); },
         names({"alpha", "Bravo", "Charlie", "Delta", "Écho"})},
        {"catalogue number's digits", [&] { browser->setSortKey(SortKey::Catalogue); },
         names({"Écho", "Charlie", "Delta", "alpha", "Bravo"})},
        {"issue date, none first", [&] { browser->setSortKey(SortKey::Issued); },
         names({"Bravo", "Écho", "alpha", "Delta", "Charlie"})},
        {"country column, none first, ties by number", [&] { browser->sortByColumn(country); },
         names({"Écho", "Delta", "Bravo", "Charlie", "alpha"})},
        {"the same column again reverses", [&] { browser->sortByColumn(country); },
         names({"alpha", "Charlie", "Bravo", "Delta", "Écho"})},
        {"another column starts upwards", [&] { browser->sortByColumn(price); },
         names({"Écho", "alpha", "Bravo", "Delta", "Charlie"})},
    };
    for (const Case& c : cases) {
        c.act();
        EXPECT_EQ(listed(), c.expected) << c.name;
    }
    EXPECT_EQ(browser->order(), StampOrder::ofColumn(price));
}

TEST_F(StampBrowserTest, SortMenuShowsTheFirstAndAColumnKeepsTheCurrentStamp) {
    fill();
    open();
    browser->moveToStamp(browser->idAt(2)); // Charlie
    browser->setSortKey(SortKey::Catalogue);
    EXPECT_EQ(shown(), QStringLiteral("Écho"));
    browser->moveLast(); // Bravo
    browser->sortByColumn(listColumnNamed(QStringLiteral("descr")));
    EXPECT_EQ(shown(), QStringLiteral("Bravo"));
    EXPECT_EQ(browser->currentRow(), 1);
}

TEST_F(StampBrowserTest, MovesStopAtEitherEndWithABeep) {
    fill();
    open();
    struct Step {
        void (StampBrowser::*move)();
        const char* shown;
        int beeps;
    };
    const std::vector<Step> steps = {
        {&StampBrowser::movePrevious, "alpha", 1}, {&StampBrowser::moveNext, "Bravo", 1},
        {&StampBrowser::moveLast, "Écho", 1},      {&StampBrowser::moveNext, "Écho", 2},
        {&StampBrowser::movePrevious, "Delta", 2}, {&StampBrowser::moveFirst, "alpha", 2},
    };
    EXPECT_EQ(shown(), QStringLiteral("alpha"));
    for (const Step& s : steps) {
        (browser.get()->*s.move)();
        EXPECT_EQ(shown(), QString::fromUtf8(s.shown));
        EXPECT_EQ(beeps, s.beeps) << s.shown;
        EXPECT_EQ(browser->mode(), Mode::Browsing);
    }
    EXPECT_TRUE(browser->moveToRow(3));
    EXPECT_EQ(shown(), QStringLiteral("Delta"));
    EXPECT_FALSE(browser->moveToRow(5));
    EXPECT_FALSE(browser->moveToStamp(999));
    EXPECT_EQ(shown(), QStringLiteral("Delta"));
}

TEST_F(StampBrowserTest, FilterNarrowsTheListAndKeepsTheCurrentStampWhereItCan) {
    fill();
    open();
    browser->moveToRow(3); // Delta, in Austria
    browser->setFilter(QStringLiteral("AUSTRIA"));
    EXPECT_EQ(listed(), names({"Bravo", "Delta"}));
    EXPECT_EQ(browser->rowCount(), 2);
    EXPECT_EQ(browser->totalCount(), 5);
    EXPECT_TRUE(browser->isFiltered());
    EXPECT_EQ(shown(), QStringLiteral("Delta"));
    browser->setFilter(QStringLiteral("echo PAIR")); // Delta is not listed: the first is current
    EXPECT_EQ(listed(), names({"Écho"}));
    EXPECT_EQ(shown(), QStringLiteral("Écho"));
    browser->setFilter(QStringLiteral("nothing like it"));
    EXPECT_EQ(browser->rowCount(), 0);
    EXPECT_EQ(browser->mode(), Mode::Empty);
    EXPECT_TRUE(shown().isEmpty());
    browser->moveNext(); // nothing to move to, and no beep
    EXPECT_EQ(beeps, 0);
    browser->setFilter(QStringLiteral("  "));
    EXPECT_FALSE(browser->isFiltered());
    EXPECT_EQ(browser->rowCount(), 5);
    EXPECT_EQ(browser->mode(), Mode::Browsing);
    // The order applies to the narrowed list too.
    browser->setFilter(QStringLiteral("a"));
    browser->setSortKey(SortKey::Issued);
    EXPECT_EQ(listed(), names({"Bravo", "Écho", "alpha", "Delta", "Charlie"}));
}

TEST_F(StampBrowserTest, AStoredStampTakesItsPlaceInTheOrderAtOnceAndStaysShown) {
    fill();
    open();
    QSignalSpy listSpy(browser.get(), &StampBrowser::listChanged);
    ASSERT_TRUE(browser->beginEdit());
    EXPECT_EQ(browser->mode(), Mode::Editing);
    StoreOutcome out = browser->store(typed(QStringLiteral("Zulu")));
    ASSERT_TRUE(out.stored);
    EXPECT_EQ(listed(), names({"Bravo", "Charlie", "Delta", "Écho", "Zulu"}));
    EXPECT_EQ(shown(), QStringLiteral("Zulu"));
    EXPECT_EQ(browser->currentRow(), 4);
    EXPECT_EQ(browser->mode(), Mode::Browsing);
    EXPECT_GE(listSpy.count(), 1);

    // A new stamp goes to its place, not to the end.
    ASSERT_TRUE(browser->beginAdd());
    EXPECT_TRUE(shown().isEmpty());
    out = browser->store(typed(QStringLiteral("Cobra")));
    ASSERT_TRUE(out.stored);
    EXPECT_EQ(listed(), names({"Bravo", "Charlie", "Cobra", "Delta", "Écho", "Zulu"}));
    EXPECT_EQ(shown(), QStringLiteral("Cobra"));
    EXPECT_EQ(*browser->currentId(), out.id);
    EXPECT_EQ(browser->mode(), Mode::Browsing);
}

TEST_F(StampBrowserTest, AStoredStampStaysListedUntilTheFilterChanges) {
    fill();
    open();
    browser->setFilter(QStringLiteral("austria"));
    ASSERT_TRUE(browser->beginAdd());
    ASSERT_TRUE(browser->store(typed(QStringLiteral("Aardvark"))).stored); // no country
    EXPECT_EQ(listed(), names({"Aardvark", "Bravo", "Delta"}));
    EXPECT_EQ(shown(), QStringLiteral("Aardvark"));
    browser->setSortKey(SortKey::Issued); // another order keeps it
    EXPECT_EQ(browser->rowCount(), 3);
    browser->setFilter(QStringLiteral("austri"));
    EXPECT_EQ(listed(), names({"Bravo", "Delta"}));
}

TEST_F(StampBrowserTest, CancelKeepsTheUsersPlace) {
    struct Case {
        const char* name;
        std::function<void()> before; // from the third of five, browsing
        const char* shownAfterCancel; // nullptr: the empty state
    };
    const std::vector<Case> cases = {
        {"an edit shows the same stamp as stored",
         [&] {
             browser->beginEdit();
             browser->store(typed(QString())); // refused: nothing changes
         },
         "Charlie"},
        {"an add shows the stamp shown before it", [&] { browser->beginAdd(); }, "Charlie"},
        {"after Add Another, the last one stored",
         [&] {
             browser->beginAdd();
             browser->store(typed(QStringLiteral("Able")), StampBrowser::AfterStore::AddAnother);
             EXPECT_EQ(browser->mode(), Mode::Adding);
             EXPECT_TRUE(shown().isEmpty());
         },
         "Able"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        db->execute(QStringLiteral("delete from stamp"));
        fill();
        open();
        browser->moveToRow(2);
        c.before();
        browser->cancel();
        EXPECT_EQ(shown(), QString::fromUtf8(c.shownAfterCancel));
        EXPECT_EQ(browser->mode(), Mode::Browsing);
    }
    // Nothing shown before the add: the empty state again.
    db->execute(QStringLiteral("delete from stamp"));
    open();
    EXPECT_EQ(browser->mode(), Mode::Empty);
    ASSERT_TRUE(browser->beginAdd());
    browser->cancel();
    EXPECT_EQ(browser->mode(), Mode::Empty);
    EXPECT_FALSE(browser->currentId());
}

TEST_F(StampBrowserTest, AnEditedStampIsShownAgainAsStoredAfterCancel) {
    fill();
    open();
    browser->moveToRow(2);
    ASSERT_TRUE(browser->beginEdit());
    // Another writer changed it meanwhile: cancel shows what is stored now.
    db->execute(QStringLiteral("update stamp set descr = 'Charlotte' where descr = 'Charlie'"));
    browser->cancel();
    EXPECT_EQ(shown(), QStringLiteral("Charlotte"));
}

TEST_F(StampBrowserTest, ARefusedStoreChangesNothing) {
    fill();
    open();
    ASSERT_TRUE(browser->beginAdd());
    const StoreOutcome out = browser->store(typed(QString()));
    ASSERT_TRUE(out.refusal);
    EXPECT_EQ(out.refusal->field, QStringLiteral("descr"));
    EXPECT_FALSE(out.stored);
    EXPECT_EQ(browser->mode(), Mode::Adding);
    EXPECT_EQ(db->scalar(QStringLiteral("select count(*) from stamp")).toInteger(), 5);
}

TEST_F(StampBrowserTest, NothingMovesOrSortsWhileAStampIsChanged) {
    fill();
    open();
    ASSERT_TRUE(browser->beginEdit());
    EXPECT_FALSE(browser->beginAdd());
    browser->moveLast();
    browser->setFilter(QStringLiteral("delta"));
    browser->setSortKey(SortKey::Issued);
    EXPECT_FALSE(browser->moveToRow(3));
    EXPECT_FALSE(browser->removeCurrent());
    EXPECT_EQ(shown(), QStringLiteral("alpha"));
    EXPECT_EQ(browser->rowCount(), 5);
    EXPECT_EQ(browser->order(), StampOrder::of(SortKey::Description));
}

TEST_F(StampBrowserTest, TheCallerRunsTheStepsOfAStore) {
    fill();
    open();
    std::vector<std::int64_t> prepared;
    std::vector<std::pair<std::int64_t, bool>> completed;
    int committed = 0;
    StoreSteps steps;
    // The window's lock-retry loop: here it gives up, as after the user's Cancel.
    steps.commit = [&](const std::function<void()>&) { ++committed; };
    steps.prepare = [&](std::int64_t id) { prepared.push_back(id); };
    steps.complete = [&](std::int64_t id, bool stored) { completed.emplace_back(id, stored); };
    ASSERT_TRUE(browser->beginEdit());
    const std::int64_t id = *browser->currentId();
    StoreOutcome out = browser->store(typed(QStringLiteral("Zulu")), {}, steps);
    EXPECT_FALSE(out.stored);
    EXPECT_EQ(committed, 1);
    EXPECT_EQ(prepared, std::vector<std::int64_t>{id});
    EXPECT_EQ(completed, (std::vector<std::pair<std::int64_t, bool>>{{id, false}}));
    EXPECT_EQ(browser->mode(), Mode::Editing); // the typed record is still there to store
    EXPECT_EQ(
        db->scalar(QStringLiteral("select count(*) from stamp where descr = 'Zulu'")).toInteger(),
        0);
    // Run as it is, it stores.
    steps.commit = [&](const std::function<void()>& fn) { fn(); };
    out = browser->store(typed(QStringLiteral("Zulu")), {}, steps);
    EXPECT_TRUE(out.stored);
    EXPECT_EQ(completed.back(), std::make_pair(id, true));
}

TEST_F(StampBrowserTest, AStoreErrorIsThrownToTheCallerWhenItWrapsNothing) {
    fill();
    open();
    ASSERT_TRUE(browser->beginEdit());
    db->execute(QStringLiteral("delete from stamp where descr = 'alpha'"));
    EXPECT_THROW(browser->store(typed(QStringLiteral("Zulu"))), db::DbError);
    EXPECT_EQ(browser->mode(), Mode::Editing);
}

TEST_F(StampBrowserTest, DeleteShowsTheNextOrTheNewLastOrNothing) {
    fill();
    open();
    browser->moveToRow(1); // Bravo
    ASSERT_TRUE(browser->removeCurrent());
    EXPECT_EQ(shown(), QStringLiteral("Charlie"));
    browser->moveLast();
    ASSERT_TRUE(browser->removeCurrent());
    EXPECT_EQ(shown(), QStringLiteral("Delta"));
    EXPECT_EQ(listed(), names({"alpha", "Charlie", "Delta"}));
    while (browser->rowCount() > 0)
        ASSERT_TRUE(browser->removeCurrent());
    EXPECT_EQ(browser->mode(), Mode::Empty);
    EXPECT_EQ(db->scalar(QStringLiteral("select count(*) from stamp")).toInteger(), 0);
    EXPECT_FALSE(browser->removeCurrent());
}

TEST_F(StampBrowserTest, AReadOnlyCollectionIsOnlyBrowsed) {
    fill();
    open(true);
    EXPECT_FALSE(browser->beginEdit());
    EXPECT_FALSE(browser->beginAdd());
    EXPECT_FALSE(browser->removeCurrent());
    browser->moveNext();
    EXPECT_EQ(shown(), QStringLiteral("Bravo"));
    EXPECT_EQ(browser->mode(), Mode::Browsing);
}

TEST_F(StampBrowserTest, PositionForTheStatusBar) {
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    open();
    EXPECT_EQ(browser->position(us), QString()); // an empty collection says so elsewhere
    db->execute(QStringLiteral("with recursive n(i) as (select 1 union all select i + 1 from n "
                               "where i < 4321) insert into stamp (descr, catnum, catsort) "
                               "select 'Stamp ' || i, '', '' from n"));
    addStamp(QStringLiteral("Zebra"));
    open();
    browser->moveToRow(11);
    struct Case {
        std::function<void()> act;
        const char* position;
    };
    const std::vector<Case> cases = {
        {[] {}, "Stamp 12 of 4,322"},
        {[&] { browser->setFilter(QStringLiteral("STAMP")); },
         "Stamp 12 of 4,321 (filtered from 4,322)"},
        {[&] { browser->moveLast(); }, "Stamp 4,321 of 4,321 (filtered from 4,322)"},
        {[&] { browser->beginAdd(); }, "New stamp (4,322 stamps)"},
        {[&] {
             browser->cancel();
             browser->setFilter(QStringLiteral("nowhere"));
         },
         "No stamp of 4,322 matches the filter"},
    };
    for (const Case& c : cases) {
        c.act();
        EXPECT_EQ(browser->position(us), QString::fromUtf8(c.position));
    }
    EXPECT_EQ(browser->position(QLocale(QLocale::German, QLocale::Germany)),
              QStringLiteral("No stamp of 4.322 matches the filter"));
}

// The statistics ask for a bar's stamps by a condition, and take their figures over the
// listed stamps by one.
TEST_F(StampBrowserTest, AConditionNarrowsWithTheFilterAndTheListIsOneCondition) {
    fill();
    open();
    EXPECT_TRUE(browser->listCondition().isEmpty());
    browser->setCondition(QStringLiteral("pricepaid >= 2"), QStringLiteral("Dear ones"));
    EXPECT_EQ(listed(), names({"Bravo", "Charlie", "Delta"}));
    EXPECT_EQ(browser->conditionDescription(), QStringLiteral("Dear ones"));
    browser->setFilter(QStringLiteral("AUSTRIA"));
    EXPECT_EQ(listed(), names({"Bravo", "Delta"}));
    const QString condition = browser->listCondition();
    EXPECT_EQ(db->scalar(QStringLiteral("select count(*) from stamp where %1").arg(condition))
                  .toInteger(),
              2)
        << condition.toStdString();
    browser->setFilter(QStringLiteral("d'elta"));
    EXPECT_EQ(
        db->scalar(
              QStringLiteral("select count(*) from stamp where %1").arg(browser->listCondition()))
            .toInteger(),
        0);
    browser->setFilter(QString());
    browser->setCondition(QString(), QStringLiteral("ignored"));
    EXPECT_EQ(browser->rowCount(), 5);
    EXPECT_TRUE(browser->conditionDescription().isEmpty());
}
