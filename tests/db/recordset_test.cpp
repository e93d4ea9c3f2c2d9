#include "db/dberror.h"
#include "db/sqlite/collectionfile.h"
#include "db/sqlite/sqlitecall.h"
#include "db/sqlite/sqlitefile.h"
#include "support/collection_fixture.h"
#include "support/store_errors.h"

#include <gtest/gtest.h>
#include <limits>

using namespace perlinex;
using namespace perlinex::db;

class RecordSetTest : public CollectionTest {
protected:
    void SetUp() override {
        CollectionTest::SetUp();
        addStamp(QStringLiteral("cherry"));
        addStamp(QStringLiteral("apple"));
        addStamp(QStringLiteral("Banana"));
    }
    std::unique_ptr<RecordSet> byDescr() {
        return db->openRecordSet(QStringLiteral("Select * from stamp order by [descr]"));
    }
};

TEST_F(RecordSetTest, MovesThroughRowsAndSetsBofAndEof) {
    auto rs = byDescr();
    EXPECT_EQ(rs->recordCount(), 3);
    EXPECT_FALSE(rs->bof());
    EXPECT_EQ(rs->field(QStringLiteral("DESCR")).toText(), QStringLiteral("apple"));
    rs->moveNext();
    EXPECT_EQ(rs->field(QStringLiteral("descr")).toText(), QStringLiteral("Banana"));
    rs->moveLast();
    EXPECT_EQ(rs->field(QStringLiteral("descr")).toText(), QStringLiteral("cherry"));
    rs->moveNext();
    EXPECT_TRUE(rs->eof());
    EXPECT_EQ(errorOf([&] { rs->field(QStringLiteral("descr")); }), err::NoCurrentRecord);
    rs->moveFirst();
    rs->movePrevious();
    EXPECT_TRUE(rs->bof());
    EXPECT_FALSE(rs->eof());
    rs->moveNext();
    EXPECT_EQ(rs->field(QStringLiteral("descr")).toText(), QStringLiteral("apple"));
}

TEST_F(RecordSetTest, EmptySetIsBothBofAndEof) {
    auto rs = db->openRecordSet(QStringLiteral("Select * from stamp where descr = 'none'"));
    EXPECT_EQ(rs->recordCount(), 0);
    EXPECT_TRUE(rs->bof());
    EXPECT_TRUE(rs->eof());
    rs->moveFirst();
    rs->moveLast();
    EXPECT_TRUE(rs->bof() && rs->eof());
}

TEST_F(RecordSetTest, FieldsByNameWithNullsAndKinds) {
    auto rs = byDescr();
    EXPECT_TRUE(rs->field(QStringLiteral("face")).isNull());
    EXPECT_TRUE(rs->field(QStringLiteral("Issued")).isNull());
    EXPECT_EQ(rs->field(QStringLiteral("quantity")).toInteger(), 1); // a new stamp starts at 1
    EXPECT_EQ(rs->field(QStringLiteral("used")).kind(), Value::Kind::Bool);
    EXPECT_EQ(errorOf([&] { rs->field(QStringLiteral("nosuchfield")); }), err::FieldMissing);

    rs->edit();
    rs->setField(QStringLiteral("FACE"), Value(Currency::fromRaw(15000)));
    rs->setField(QStringLiteral("issued"), Value(QDate(1890, 5, 30)));
    rs->setField(QStringLiteral("forsale"), Value(true));
    rs->update();
    auto again = byDescr();
    EXPECT_EQ(again->field(QStringLiteral("face")).kind(), Value::Kind::Money);
    EXPECT_EQ(again->field(QStringLiteral("face")).toCurrency(), Currency::fromRaw(15000));
    EXPECT_EQ(again->field(QStringLiteral("issued")).toDate(), QDate(1890, 5, 30));
    EXPECT_TRUE(again->field(QStringLiteral("forsale")).toBool());

    again->edit();
    again->setField(QStringLiteral("face"), Value::null()); // null clears the field
    again->update();
    EXPECT_TRUE(byDescr()->field(QStringLiteral("face")).isNull());
}

TEST_F(RecordSetTest, MoneyIsExactToFourDecimals) {
    auto rs = byDescr();
    rs->edit();
    rs->setField(QStringLiteral("pricepaid"), Value(Currency::fromRaw(1))); // 0.0001
    rs->setField(QStringLiteral("catvalue"),
                 Value(Currency::fromRaw(922337203685LL))); // 92233720.3685
    rs->update();
    auto again = byDescr();
    EXPECT_EQ(again->field(QStringLiteral("pricepaid")).toCurrency().raw(), 1);
    EXPECT_EQ(again->field(QStringLiteral("catvalue")).toCurrency().raw(), 922337203685LL);
}

TEST_F(RecordSetTest, RefusesValuesThatDoNotFitTheField) {
    auto rs = byDescr();
    rs->edit();
    EXPECT_EQ(errorOf([&] { rs->setField(QStringLiteral("descr"), Value(QString(81, 'x'))); }),
              err::FieldTooSmall);
    EXPECT_EQ(errorOf([&] { rs->setField(QStringLiteral("Year"), Value(32768)); }),
              err::ValidationFailed);
    EXPECT_EQ(
        errorOf([&] { rs->setField(QStringLiteral("quantity"), Value(std::int64_t(1) << 31)); }),
        err::ValidationFailed);
    EXPECT_EQ(errorOf([&] { rs->setField(QStringLiteral("quantity"), Value(1.5)); }),
              err::TypeMismatch);
    EXPECT_EQ(errorOf([&] { rs->setField(QStringLiteral("quantity"), Value::null()); }),
              err::NullNotAllowed);
    EXPECT_EQ(
        errorOf([&] { rs->setField(QStringLiteral("issued"), Value(QStringLiteral("soon"))); }),
        err::TypeMismatch);
    EXPECT_EQ(errorOf([&] { rs->setField(QStringLiteral("stampid"), Value(99)); }), err::ReadOnly);
    rs->setField(QStringLiteral("Year"), Value(-32768));
    rs->setField(QStringLiteral("descr"), Value(QString(80, 'x')));
    rs->update();
    EXPECT_EQ(
        db->scalar(QStringLiteral("select count(*) from stamp where Year = -32768")).toInteger(),
        1);
}

TEST_F(RecordSetTest, ValuesAnotherProgramStoredWithUnexpectedKindsComeAsStored) {
    // As another program may write them: without the fields' rules.
    detail::exec(handleOf(*db), QStringLiteral(R"(
        PRAGMA ignore_check_constraints = ON;
        UPDATE stamp SET Year = 'x', quantity = 2.5, CouID = 'abc', issued = 12345,
            pricepaid = 1e308, catvalue = 'dear', face = '2.5', priceask = -1e999,
            notes = x'00ff10' WHERE descr = 'apple';)"));
    struct Expected {
        const char* field;
        Value value;
    };
    const Expected expected[] = {
        {"Year", Value(QStringLiteral("x"))},
        {"quantity", Value(2.5)},
        {"CouID", Value(QStringLiteral("abc"))},
        {"issued", Value(QStringLiteral("12345"))},
        {"pricepaid", Value(1e308)}, // no amount of money: a number as it is
        {"catvalue", Value(QStringLiteral("dear"))},
        {"face", Value(Currency::fromRaw(25000))},
        {"priceask", Value(-std::numeric_limits<double>::infinity())},
        {"notes", Value()}, // bytes that are no value of ours show as nothing
    };
    for (const RecordSetKind kind : {RecordSetKind::Dynaset, RecordSetKind::Snapshot}) {
        auto rs =
            db->openRecordSet(QStringLiteral("select * from stamp where descr = 'apple'"), kind);
        for (const Expected& e : expected)
            EXPECT_EQ(rs->field(QLatin1String(e.field)), e.value) << e.field;
    }
    auto rs = byDescr();
    // Such a number is refused as a new value, as the store's own error.
    rs->edit();
    EXPECT_EQ(errorOf([&] { rs->setField(QStringLiteral("pricepaid"), Value(1e308)); }),
              err::Overflow);
}

TEST_F(RecordSetTest, AddNewHandsOutTheCounterAtOnceAndPutsTheRowAtTheEnd) {
    auto rs = byDescr();
    rs->moveNext(); // Banana
    rs->addNew();
    const std::int64_t id = rs->field(QStringLiteral("StampID")).toInteger();
    EXPECT_EQ(id, 4);
    rs->setField(QStringLiteral("descr"), Value(QStringLiteral("aardvark")));
    rs->update();
    // The row current before the add stays current; the new one is last until reopened.
    EXPECT_EQ(rs->field(QStringLiteral("descr")).toText(), QStringLiteral("Banana"));
    EXPECT_EQ(rs->recordCount(), 4);
    rs->moveLast();
    EXPECT_EQ(rs->field(QStringLiteral("descr")).toText(), QStringLiteral("aardvark"));
    EXPECT_EQ(byDescr()->field(QStringLiteral("descr")).toText(), QStringLiteral("aardvark"));
    rs->findFirst(QStringLiteral("StampID = %1").arg(id));
    EXPECT_FALSE(rs->noMatch());
    EXPECT_EQ(rs->field(QStringLiteral("descr")).toText(), QStringLiteral("aardvark"));
}

TEST_F(RecordSetTest, CountersAreNeverReused) {
    auto rs = byDescr();
    rs->addNew(); // 4, cancelled
    EXPECT_EQ(rs->field(QStringLiteral("stampid")).toInteger(), 4);
    rs->cancelUpdate();
    rs->addNew(); // 5, abandoned by a move
    rs->moveFirst();
    EXPECT_FALSE(rs->isEditing());
    rs->moveNext(); // Banana, the highest stored counter
    EXPECT_EQ(rs->field(QStringLiteral("stampid")).toInteger(), 3);
    rs->deleteCurrent();
    EXPECT_EQ(addStamp(QStringLiteral("next")), 6);
    db->close();
    db = openCollection(dbPath); // and across closing and opening
    EXPECT_EQ(addStamp(QStringLiteral("after reopening")), 7);
}

TEST_F(RecordSetTest, ACounterAtItsLargestNumberGivesTooManyRecordsAndChangesNothing) {
    const struct {
        const char* name;
        const char* table;
        const char* change;
    } cases[] = {
        {"stamp counter", "stamp",
         "update sqlite_sequence set seq = 9223372036854775807 where name = 'stamp'"},
        {"stamp number", "stamp",
         "insert into stamp (stampid, descr) values (9223372036854775807, 'last')"},
        {"code counter", "gum",
         "update sqlite_sequence set seq = 9223372036854775807 where name = 'gum'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto db = createCollection(path(QLatin1String(c.name) + QStringLiteral(".mdb")));
        db->execute(QStringLiteral("insert into stamp (descr) values ('first')"));
        db->execute(QLatin1String(c.change));
        const QString state = QStringLiteral(
            "select (select group_concat(name || seq) from sqlite_sequence) || (select count(*) "
            "from stamp) || (select count(*) from gum)");
        const std::string before = db->scalar(state).toText().toStdString();
        auto rs = db->openRecordSet(QStringLiteral("select * from %1").arg(QLatin1String(c.table)));
        try {
            rs->addNew();
            ADD_FAILURE() << "a new row was begun";
        } catch (const DbError& e) {
            EXPECT_EQ(e.number(), err::TooManyRows);
            EXPECT_TRUE(e.text().startsWith(QStringLiteral("Too many"))) << e.text().toStdString();
        }
        EXPECT_FALSE(rs->isAdding());
        EXPECT_EQ(db->scalar(state).toText().toStdString(), before);
        // The store goes on working.
        rs->moveFirst();
        rs->edit();
        rs->update();
    }
}

TEST_F(RecordSetTest, EditUpdateAndCancel) {
    auto rs = byDescr();
    rs->edit();
    rs->setField(QStringLiteral("descr"), Value(QStringLiteral("apricot")));
    EXPECT_EQ(rs->field(QStringLiteral("descr")).toText(), QStringLiteral("apricot"));
    rs->cancelUpdate();
    EXPECT_EQ(rs->field(QStringLiteral("descr")).toText(), QStringLiteral("apple"));
    EXPECT_EQ(errorOf([&] { rs->update(); }), err::UpdateWithoutEdit);
    EXPECT_EQ(errorOf([&] { rs->setField(QStringLiteral("descr"), Value(QStringLiteral("x"))); }),
              err::UpdateWithoutEdit);
    rs->edit();
    rs->setField(QStringLiteral("descr"), Value(QStringLiteral("apricot")));
    rs->update();
    EXPECT_EQ(rs->field(QStringLiteral("descr")).toText(), QStringLiteral("apricot"));
    EXPECT_EQ(
        column(QStringLiteral("select descr from stamp order by descr"), QStringLiteral("descr")),
        (QStringList{QStringLiteral("apricot"), QStringLiteral("Banana"),
                     QStringLiteral("cherry")}));
}

TEST_F(RecordSetTest, DeletedRowStaysCurrentUntilTheNextMove) {
    auto rs = byDescr();
    rs->moveNext(); // Banana, in the middle
    rs->deleteCurrent();
    EXPECT_EQ(errorOf([&] { rs->field(QStringLiteral("descr")); }), err::RecordDeleted);
    EXPECT_EQ(rs->recordCount(), 2);
    rs->moveNext();
    EXPECT_EQ(rs->field(QStringLiteral("descr")).toText(), QStringLiteral("cherry"));
    rs->movePrevious();
    EXPECT_EQ(rs->field(QStringLiteral("descr")).toText(), QStringLiteral("apple"));

    // Deleting the last row and moving next reaches the end; the only row leaves an empty set.
    rs->moveLast();
    rs->deleteCurrent();
    rs->moveNext();
    EXPECT_TRUE(rs->eof());
    rs->moveFirst();
    rs->deleteCurrent();
    EXPECT_EQ(rs->recordCount(), 0);
    rs->moveFirst();
    EXPECT_TRUE(rs->eof() && rs->bof());
    EXPECT_EQ(db->scalar(QStringLiteral("select count(*) from stamp")).toInteger(), 0);
}

TEST_F(RecordSetTest, FindInEveryDirection) {
    addStamp(QStringLiteral("apple pie"));
    addStamp(QStringLiteral("Crab apple"));
    auto rs = byDescr(); // apple, apple pie, Banana, cherry, Crab apple
    const QString crit = QStringLiteral("descr like \"*apple*\"");
    rs->findLast(crit);
    EXPECT_EQ(rs->field(QStringLiteral("descr")).toText(), QStringLiteral("Crab apple"));
    rs->findPrevious(crit);
    EXPECT_EQ(rs->field(QStringLiteral("descr")).toText(), QStringLiteral("apple pie"));
    rs->findNext(crit);
    EXPECT_EQ(rs->field(QStringLiteral("descr")).toText(), QStringLiteral("Crab apple"));
    rs->findNext(crit);
    EXPECT_TRUE(rs->noMatch());
    rs->findFirst(crit);
    EXPECT_FALSE(rs->noMatch());
    EXPECT_EQ(rs->field(QStringLiteral("descr")).toText(), QStringLiteral("apple"));
    rs->findPrevious(crit);
    EXPECT_TRUE(rs->noMatch());
    rs->findFirst(QStringLiteral("descr = 'nothing'"));
    EXPECT_TRUE(rs->noMatch());
    EXPECT_EQ(errorOf([&] { rs->findFirst(QStringLiteral("nosuch = 1")); }), err::FieldMissing);
}

TEST_F(RecordSetTest, SnapshotIsReadOnlyAndFindable) {
    auto rs = db->openRecordSet(QStringLiteral("Select * from stamp order by descr"),
                                RecordSetKind::Snapshot);
    EXPECT_EQ(rs->recordCount(), 3);
    EXPECT_EQ(errorOf([&] { rs->edit(); }), err::ReadOnly);
    EXPECT_EQ(errorOf([&] { rs->addNew(); }), err::ReadOnly);
    EXPECT_EQ(errorOf([&] { rs->deleteCurrent(); }), err::ReadOnly);
    rs->findFirst(QStringLiteral("descr = 'CHERRY'"));
    EXPECT_EQ(rs->field(QStringLiteral("descr")).toText(), QStringLiteral("cherry"));
    // A snapshot keeps what it read; later stores do not show in it.
    addStamp(QStringLiteral("date"));
    EXPECT_EQ(rs->recordCount(), 3);
}

TEST_F(RecordSetTest, ClosingTheDatabaseInvalidatesItsRecordSets) {
    auto rs = byDescr();
    db->close();
    EXPECT_EQ(errorOf([&] { rs->moveNext(); }), err::ObjectInvalid);
    EXPECT_EQ(errorOf([&] { rs->field(QStringLiteral("descr")); }), err::ObjectInvalid);
    EXPECT_EQ(errorOf([&] { db->openRecordSet(QStringLiteral("select * from stamp")); }),
              err::NoDatabase);
    // The file is really let go: it can be opened again at once.
    db = openCollection(dbPath);
    EXPECT_EQ(byDescr()->recordCount(), 3);
}

TEST_F(RecordSetTest, DynasetSeesChangesMadeThroughAnotherSet) {
    auto a = byDescr();
    auto b = byDescr();
    b->edit();
    b->setField(QStringLiteral("descr"), Value(QStringLiteral("apple (changed)")));
    b->update();
    EXPECT_EQ(a->field(QStringLiteral("descr")).toText(), QStringLiteral("apple (changed)"));
    b->deleteCurrent();
    EXPECT_EQ(errorOf([&] {
                  a->moveFirst();
                  a->field(QStringLiteral("descr"));
              }),
              err::RecordDeleted);
}
