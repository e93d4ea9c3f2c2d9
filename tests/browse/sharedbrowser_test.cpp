#include "browse_support.h"
#include "db/dberror.h"
#include "support/server_fixture.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace perlinex;
using namespace perlinex::browse;
using Mode = StampBrowser::Mode;
using db::Value;

namespace {

// A browser on a shared collection, and another desk on the same collection.
class SharedBrowserTest : public BrowserTest {
protected:
    QString collection = freshCollectionName();
    std::unique_ptr<db::Database> other;

    void SetUp() override {
        TempFolderTest::SetUp();
        SKIP_WITHOUT_SERVER();
        db = db::createServerCollection(serverUnderTest(), collection, false);
        other = db::openServerDatabase(serverUnderTest(), collection);
    }
    void TearDown() override {
        if (other)
            other->close();
        BrowserTest::TearDown();
        if (!serverUnderTest().isEmpty())
            db::dropServerCollection(serverUnderTest(), collection);
    }

    // The other desk stores a field of a stamp, as its record window does.
    void storeElsewhere(std::int64_t id, const QString& field, const Value& value) {
        auto rs =
            other->openRecordSet(QStringLiteral("Select * from stamp where stampid = %1").arg(id));
        rs->edit();
        rs->setField(field, value);
        rs->update();
    }
    QString storedText(std::int64_t id, const char* field) {
        return other
            ->scalar(QStringLiteral("select %1 from stamp where stampid = %2")
                         .arg(QLatin1String(field))
                         .arg(id))
            .toText();
    }
};

} // namespace

// An edit of a stamp that another desk stored since it was shown is never stored over theirs
// unasked; the user either keeps theirs or stores this one over it, and a stamp they deleted
// is said to be gone.
TEST_F(SharedBrowserTest, AnEditMeetsAnotherDesksStore) {
    const std::int64_t id = addStamp(QStringLiteral("Penny Black"), QStringLiteral("SG 1"));
    addStamp(QStringLiteral("Two Penny Blue"), QStringLiteral("SG 2"));
    struct Case {
        const char* name;
        bool storeOver;
        bool expectStored;
        const char* expectDescr;
        const char* expectNotes; // theirs stays in a field this edit left alone
    };
    const Case cases[] = {
        {"keep theirs", false, false, "Theirs 1", "their note 1"},
        {"store over theirs", true, true, "Mine 2", "their note 2"},
    };
    open();
    int round = 0;
    for (const Case& c : cases) {
        ++round;
        SCOPED_TRACE(c.name);
        browser->moveToStamp(id);
        browser->beginEdit();
        storeElsewhere(id, QStringLiteral("descr"), Value(QStringLiteral("Theirs %1").arg(round)));
        storeElsewhere(id, QStringLiteral("notes"),
                       Value(QStringLiteral("their note %1").arg(round)));
        int asked = 0;
        StoreSteps steps;
        steps.storeOverTheirs = [&] {
            ++asked;
            return c.storeOver;
        };
        const StoreOutcome out = browser->store(typed(QStringLiteral("Mine %1").arg(round)),
                                                StampBrowser::AfterStore::Show, steps);
        EXPECT_EQ(asked, 1);
        EXPECT_EQ(out.stored, c.expectStored);
        if (!out.stored)
            browser->cancel();
        EXPECT_EQ(storedText(id, "descr"), QString::fromUtf8(c.expectDescr));
        EXPECT_EQ(storedText(id, "notes"), QString::fromUtf8(c.expectNotes));
        // The record shows the stamp as it is stored now.
        EXPECT_EQ(shown(), QString::fromUtf8(c.expectDescr));
        EXPECT_EQ(browser->mode(), Mode::Browsing);
    }

    // Unchanged by anyone else, it stores without a question.
    browser->beginEdit();
    StoreSteps quiet;
    quiet.storeOverTheirs = [] {
        ADD_FAILURE() << "asked although nobody else stored the stamp";
        return false;
    };
    EXPECT_TRUE(
        browser->store(typed(QStringLiteral("Mine again")), StampBrowser::AfterStore::Show, quiet)
            .stored);

    browser->beginEdit();
    other->execute(QStringLiteral("DELETE FROM stamp WHERE stampid = %1").arg(id));
    int told = 0;
    StoreSteps gone;
    gone.deletedElsewhere = [&] { ++told; };
    const StoreOutcome out =
        browser->store(typed(QStringLiteral("Lost")), StampBrowser::AfterStore::Show, gone);
    EXPECT_EQ(told, 1);
    EXPECT_FALSE(out.stored);
    EXPECT_TRUE(out.goneElsewhere);
    EXPECT_EQ(listed(), QStringList{QStringLiteral("Two Penny Blue")});
    EXPECT_EQ(shown(), QStringLiteral("Two Penny Blue"));
    EXPECT_EQ(other->scalar(QStringLiteral("select count(*) from stamp")).toInteger(), 1);
}

// A stamp another desk deleted before this desk heard of it is never shown when moved to: the
// list is read again and the stamp now at its place shown.
TEST_F(SharedBrowserTest, MovingOntoAStampAnotherDeskDeletedShowsTheOneInItsPlace) {
    addStamp(QStringLiteral("Alpha"));
    const std::int64_t beta = addStamp(QStringLiteral("Beta"));
    const std::int64_t gamma = addStamp(QStringLiteral("Gamma"));
    open();
    ASSERT_EQ(shown(), QStringLiteral("Alpha"));
    other->execute(QStringLiteral("DELETE FROM stamp WHERE stampid = %1").arg(beta));
    browser->moveNext();
    EXPECT_EQ(shown(), QStringLiteral("Gamma"));
    EXPECT_EQ(listed(), (QStringList{QStringLiteral("Alpha"), QStringLiteral("Gamma")}));
    // The last one gone as well: the one before its place.
    other->execute(QStringLiteral("DELETE FROM stamp WHERE stampid = %1").arg(gamma));
    browser->moveFirst();
    browser->moveLast();
    EXPECT_EQ(shown(), QStringLiteral("Alpha"));
    EXPECT_EQ(listed(), QStringList{QStringLiteral("Alpha")});
    EXPECT_EQ(browser->mode(), Mode::Browsing);
}

// Every order of the Sort menu, either way, is read from an index of the server rather than
// sorted at each reading; a collection made before with indexes that cannot serve them gets
// them renewed by Pack.
TEST_F(SharedBrowserTest, TheSortMenusOrdersAreReadFromIndexes) {
    addStamp(QStringLiteral("Penny Black"));
    // With sorting switched off, a plan that still has to sort says so even for a few rows.
    const auto sorts = [this](const StampOrder& order) {
        db->engine().exec(QStringLiteral("SET enable_sort = off"));
        auto plan = db->query(QStringLiteral("EXPLAIN SELECT stamp.stampid FROM stamp ORDER BY ") +
                              orderClause(order));
        plan->run();
        QString text;
        while (plan->next())
            text += plan->text(0) + QLatin1Char('\n');
        db->engine().exec(QStringLiteral("RESET enable_sort"));
        return text.contains(QLatin1String("Sort")) ? text : QString();
    };
    const StampOrder orders[] = {
        StampOrder::of(SortKey::Description), StampOrder::of(SortKey::Catalogue),
        StampOrder::of(SortKey::Issued),
        StampOrder::ofColumn(listColumnNamed(QStringLiteral("descr")), true)};
    for (const StampOrder& order : orders)
        EXPECT_EQ(sorts(order), QString()) << orderClause(order).toStdString();

    db->engine().exec(QStringLiteral(
        "DROP INDEX stamp_descr; CREATE INDEX stamp_descr ON stamp (descr_sortkey, stampid)"));
    ASSERT_NE(sorts(orders[0]), QString());
    // A desk that may read and store but does not own the tables packs without a fault and
    // leaves the index to the owner.
    db->engine().exec(
        QStringLiteral(
            "DO $$ BEGIN CREATE ROLE perlinex_member LOGIN; EXCEPTION WHEN duplicate_object THEN "
            "NULL; END $$; GRANT USAGE ON SCHEMA \"%1\" TO perlinex_member; GRANT SELECT, INSERT, "
            "UPDATE, DELETE ON ALL TABLES IN SCHEMA \"%1\" TO perlinex_member")
            .arg(collection));
    QString memberServer = serverUnderTest();
    memberServer.replace(QRegularExpression(QStringLiteral("user=[^&]*")),
                         QStringLiteral("user=perlinex_member"));
    ASSERT_NE(memberServer, serverUnderTest());
    {
        const auto member = db::openServerDatabase(memberServer, collection);
        EXPECT_NO_THROW(db::packServerCollection(*member));
        member->close();
    }
    EXPECT_NE(sorts(orders[0]), QString());
    db::packServerCollection(*db);
    EXPECT_EQ(sorts(orders[0]), QString());
}

// What is stored with the row (a shared collection's picture) is stored in its transaction:
// when it fails, the row is not stored either.
TEST_F(SharedBrowserTest, WhatGoesWithTheRowIsStoredWithItOrNotAtAll) {
    addStamp(QStringLiteral("Penny Black"));
    open();
    browser->beginEdit();
    StoreSteps steps;
    steps.alongside = [](std::int64_t) {
        throw db::DbError(db::err::DiskFull, QStringLiteral("no room"));
    };
    EXPECT_THROW(
        browser->store(typed(QStringLiteral("Changed")), StampBrowser::AfterStore::Show, steps),
        db::DbError);
    EXPECT_EQ(other->scalar(QStringLiteral("select descr from stamp")).toText(),
              QStringLiteral("Penny Black"));
}
