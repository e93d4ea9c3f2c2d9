#include "db/recordset.h"
#include "shared_desks.h"
#include "support/scripted_dialogs.h"
#include "ui/errorhandler.h"

#include <QStringList>
#include <barrier>
#include <map>
#include <mutex>
#include <set>
#include <thread>

// Two and eight desks storing, editing and deleting stamps at once, each through a connection
// of its own and the record sets the record window uses.
using namespace perlinex;
using namespace desks;

namespace {

constexpr int kStampsPerDesk = 24;
constexpr int kRounds = 6;

// What one desk was told of its stores.
struct DeskLog {
    std::map<std::int64_t, int> kept; // stamp number -> the quantity it was stored with
    std::set<std::int64_t> deleted;
    QStringList failures; // every store error, "<number> <text>"
};

struct StoredStamp {
    QString descr;
    QString notes;
    std::int64_t quantity = 0;
};

std::map<std::int64_t, StoredStamp> storedStamps(db::Database& collection) {
    std::map<std::int64_t, StoredStamp> out;
    const auto rows =
        collection.query(QStringLiteral("Select stampid, descr, notes, quantity from stamp"));
    while (rows->next())
        out[rows->integer(0)] = {rows->text(1), rows->text(2), rows->integer(3)};
    return out;
}

// The record set the record window keeps on one stamp.
std::unique_ptr<db::RecordSet> oneStamp(db::Database& collection, std::int64_t id) {
    return collection.openRecordSet(
        QStringLiteral("Select * from stamp where stampid = %1").arg(id));
}

QString deskName(int desk) {
    return QStringLiteral("Desk %1").arg(desk);
}

// Runs body(desk) for each desk in a thread of its own, each with a connection of its own,
// and waits for them all. An exception in a desk is its failure, never the test program's end.
void atOnce(const desks::SharedCollectionTest& test, int desks,
            const std::function<void(int, db::Database&)>& body, std::vector<DeskLog>& logs) {
    logs.assign(std::size_t(desks), {});
    std::vector<std::thread> threads;
    for (int d = 0; d < desks; ++d)
        threads.emplace_back([&, d] {
            try {
                auto collection = test.desk();
                body(d, *collection);
            } catch (const db::DbError& e) {
                logs[d].failures << QStringLiteral("%1 %2").arg(e.number()).arg(e.text());
            } catch (const std::exception& e) {
                logs[d].failures << QString::fromUtf8(e.what());
            }
        });
    for (std::thread& t : threads)
        t.join();
}

} // namespace

class ManyDesks : public SharedCollectionTest, public ::testing::WithParamInterface<int> {};

INSTANTIATE_TEST_SUITE_P(Desks, ManyDesks, ::testing::Values(2, 8),
                         [](const auto& info) { return std::to_string(info.param) + "Desks"; });

// Each desk stores new stamps, changes each of its own once and deletes every third, while the
// others do the same: every store that returned is there with its values, once.
TEST_P(ManyDesks, OwnStampsStoredEditedAndDeletedAtOnceAreAllKeptOnce) {
    const int desks = GetParam();
    std::vector<DeskLog> logs;
    atOnce(
        *this, desks,
        [&](int d, db::Database& collection) {
            DeskLog& log = logs[d];
            auto stamps = collection.openRecordSet(QStringLiteral("Select * from stamp"));
            for (int i = 1; i <= kStampsPerDesk; ++i) {
                stamps->addNew();
                const std::int64_t id = stamps->field(QStringLiteral("stampid")).toInteger();
                stamps->setField(QStringLiteral("descr"),
                                 db::Value(QStringLiteral("%1 stamp %2").arg(deskName(d)).arg(i)));
                stamps->setField(QStringLiteral("quantity"), db::Value(i));
                stamps->update();
                log.kept[id] = i;
            }
            for (auto& [id, quantity] : log.kept) {
                auto one = oneStamp(collection, id);
                if (quantity % 3 == 0) {
                    one->deleteCurrent();
                    log.deleted.insert(id);
                    continue;
                }
                one->edit();
                one->setField(QStringLiteral("quantity"), db::Value(quantity + 1000));
                one->update();
                quantity += 1000;
            }
            for (std::int64_t id : log.deleted)
                log.kept.erase(id);
        },
        logs);

    auto reader = desk();
    const auto stored = storedStamps(*reader);
    std::set<std::int64_t> given;
    std::size_t expected = 0;
    for (int d = 0; d < desks; ++d) {
        SCOPED_TRACE(deskName(d).toStdString());
        EXPECT_TRUE(logs[d].failures.isEmpty()) << logs[d].failures.join(u'\n').toStdString();
        EXPECT_EQ(logs[d].kept.size() + logs[d].deleted.size(), std::size_t(kStampsPerDesk));
        expected += logs[d].kept.size();
        for (const auto& [id, quantity] : logs[d].kept) {
            EXPECT_TRUE(given.insert(id).second) << "number " << id << " given to two stamps";
            const auto it = stored.find(id);
            ASSERT_NE(it, stored.end()) << "stamp " << id << " was lost";
            EXPECT_EQ(it->second.quantity, quantity);
            EXPECT_EQ(it->second.descr,
                      QStringLiteral("%1 stamp %2").arg(deskName(d)).arg(quantity - 1000));
        }
        for (std::int64_t id : logs[d].deleted)
            EXPECT_FALSE(stored.count(id)) << "deleted stamp " << id << " is back";
    }
    EXPECT_EQ(stored.size(), expected);
}

// All desks read the same stamp, then all store their change to it: in each round exactly one
// store goes through and every other desk is told that the stamp was changed, the locked row
// it may meet first retried as the lock-retry loop does. Storing over it is then a choice.
TEST_P(ManyDesks, EditsOfTheSameStampAreNeverOverwrittenSilently) {
    const int desks = GetParam();
    std::int64_t shared = 0;
    {
        auto first = desk();
        auto stamps = first->openRecordSet(QStringLiteral("Select * from stamp"));
        stamps->addNew();
        shared = stamps->field(QStringLiteral("stampid")).toInteger();
        stamps->setField(QStringLiteral("descr"), db::Value(QStringLiteral("The shared stamp")));
        stamps->setField(QStringLiteral("quantity"), db::Value(0));
        stamps->update();
    }
    std::barrier allRead(desks);
    std::barrier allStored(desks);
    // Each round's outcome at each desk: 0 stored, else the store's error.
    std::vector<std::vector<int>> outcome(static_cast<std::size_t>(desks));
    std::vector<DeskLog> logs;
    atOnce(
        *this, desks,
        [&](int d, db::Database& collection) {
            auto stamp = oneStamp(collection, shared);
            for (int round = 0; round < kRounds; ++round) {
                stamp->moveFirst(); // reads the stamp as it is now
                stamp->edit();
                const std::int64_t seen = stamp->field(QStringLiteral("quantity")).toInteger();
                stamp->setField(QStringLiteral("quantity"), db::Value(seen + 1));
                stamp->setField(
                    QStringLiteral("notes"),
                    db::Value(QStringLiteral("%1, round %2").arg(deskName(d)).arg(round)));
                allRead.arrive_and_wait();
                int error = 0;
                do
                    error = errorOf([&] { stamp->update(); });
                while (error == db::err::LockedRow2);
                outcome[d].push_back(error);
                if (error)
                    stamp->cancelUpdate();
                allStored.arrive_and_wait();
            }
        },
        logs);

    QString lastWinner;
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        int stored = 0;
        for (int d = 0; d < desks; ++d) {
            ASSERT_TRUE(logs[d].failures.isEmpty()) << logs[d].failures.join(u'\n').toStdString();
            ASSERT_EQ(outcome[d].size(), std::size_t(kRounds));
            if (outcome[d][round] == 0) {
                ++stored;
                lastWinner = QStringLiteral("%1, round %2").arg(deskName(d)).arg(round);
            } else {
                EXPECT_EQ(outcome[d][round], db::err::ChangedElsewhere);
            }
        }
        EXPECT_EQ(stored, 1);
    }
    auto reader = desk();
    const StoredStamp after = storedStamps(*reader).at(shared);
    EXPECT_EQ(after.quantity, kRounds); // no store counted on a value another desk had replaced
    EXPECT_EQ(after.notes, lastWinner);

    // Told of the conflict, a desk may still store its version over theirs.
    auto mine = desk();
    auto theirs = desk();
    auto myView = oneStamp(*mine, shared);
    auto theirView = oneStamp(*theirs, shared);
    myView->edit();
    myView->setField(QStringLiteral("notes"), db::Value(QStringLiteral("mine")));
    theirView->edit();
    theirView->setField(QStringLiteral("notes"), db::Value(QStringLiteral("theirs")));
    theirView->update();
    EXPECT_EQ(errorOf([&] { myView->update(); }), db::err::ChangedElsewhere);
    EXPECT_EQ(storedStamps(*reader).at(shared).notes, QStringLiteral("theirs"));
    myView->updateOver();
    EXPECT_EQ(storedStamps(*reader).at(shared).notes, QStringLiteral("mine"));
}

// One desk deletes the stamp the others are editing: their stores say it is gone, and none
// brings it back.
TEST_P(ManyDesks, EditsOfAStampAnotherDeskDeletedSayItIsGone) {
    const int desks = GetParam();
    std::int64_t shared = 0;
    {
        auto first = desk();
        first->execute(QStringLiteral("insert into stamp (descr) values ('Soon gone')"));
        shared = first->lastInsertedKey();
    }
    std::barrier allRead(desks);
    std::barrier deleted(desks);
    std::vector<int> outcome(std::size_t(desks), -1);
    std::vector<DeskLog> logs;
    atOnce(
        *this, desks,
        [&](int d, db::Database& collection) {
            auto stamp = oneStamp(collection, shared);
            if (d > 0) {
                stamp->edit();
                stamp->setField(QStringLiteral("notes"), db::Value(deskName(d)));
            }
            allRead.arrive_and_wait();
            if (d == 0)
                stamp->deleteCurrent();
            deleted.arrive_and_wait();
            outcome[d] = d == 0 ? 0 : errorOf([&] { stamp->update(); });
        },
        logs);
    for (int d = 1; d < desks; ++d) {
        EXPECT_TRUE(logs[d].failures.isEmpty()) << logs[d].failures.join(u'\n').toStdString();
        EXPECT_EQ(outcome[d], db::err::RecordDeleted) << deskName(d).toStdString();
    }
    EXPECT_EQ(desk()->scalar(QStringLiteral("select count(*) from stamp")).toInteger(), 0);
}

namespace {

// Answers the lock-retry loop's question as a user who waited for the other desk: it lets go
// of the row just as the question comes, and the answer is to try again.
class OtherDeskLetsGo : public ScriptedDialogs {
public:
    std::function<void()> letGo;
    Answer message(const QString& text, const QString& title, Buttons buttons, Icon icon) override {
        if (letGo)
            std::exchange(letGo, nullptr)();
        return ScriptedDialogs::message(text, title, buttons, icon);
    }
};

} // namespace

// A row another desk holds (SELECT ... FOR UPDATE in its open transaction): the store is the
// locked-row error once the lock timeout has passed; the lock-retry loop tries again quietly
// and asks its question only at its hundredth try, and the store goes through once the row is
// free. Meanwhile another desk stores new stamps unhindered.
TEST_F(SharedCollectionTest, LockRetryLoopAsksOnlyAfterItsCountWhileAnotherDeskHoldsTheRow) {
    OtherDeskLetsGo dialogs;
    ProgramState program{dialogs};
    program.CollectionDb = desk();
    db::Database& mine = *program.CollectionDb;
    mine.execute(QStringLiteral("insert into stamp (descr) values ('Held'), ('Also held')"));
    const std::int64_t held = mine.lastInsertedKey();

    // Each try waits the server's lock timeout: the question must come within seconds.
    const std::int64_t lockTimeoutMs =
        mine.scalar(QStringLiteral("select setting from pg_settings where name = 'lock_timeout'"))
            .toText()
            .toLongLong();
    ASSERT_GT(lockTimeoutMs, 0);
    ASSERT_LE(lockTimeoutMs * 100, 10000);

    auto holder = desk();
    holder->engine().begin();
    holder->execute(QStringLiteral("select stampid from stamp for update"));

    auto stamp = oneStamp(mine, held);
    EXPECT_EQ(errorOf([&] { stamp->deleteCurrent(); }), db::err::LockedRow2);
    stamp.reset();
    stamp = oneStamp(mine, held);

    auto third = desk();
    third->execute(QStringLiteral("insert into stamp (descr) values ('New meanwhile')"));

    stamp->edit();
    stamp->setField(QStringLiteral("descr"), db::Value(QStringLiteral("Mine at last")));
    int tries = 0;
    int triesWhenAsked = -1;
    std::vector<int> errors;
    dialogs.answers = {Answer::Yes};
    dialogs.letGo = [&] {
        triesWhenAsked = tries;
        holder->engine().rollback();
    };
    withLockRetry(program, [&] {
        ++tries;
        try {
            stamp->update();
        } catch (const db::DbError& e) {
            errors.push_back(e.number());
            throw;
        }
    });

    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_EQ(dialogs.prompts[0].title, QStringLiteral("Locked Record"));
    EXPECT_EQ(dialogs.prompts[0].buttons, Buttons::YesNo);
    EXPECT_EQ(triesWhenAsked, 100);
    EXPECT_EQ(tries, 101);
    EXPECT_EQ(errors, std::vector<int>(100, db::err::LockedRow2));
    EXPECT_EQ(third->scalar(QStringLiteral("select descr from stamp where stampid = %1").arg(held))
                  .toText(),
              QStringLiteral("Mine at last"));
    EXPECT_EQ(third->scalar(QStringLiteral("select count(*) from stamp")).toInteger(), 3);
}
