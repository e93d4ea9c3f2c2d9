#include "db/database.h"
#include "db/dberror.h"
#include "db/engine.h"
#include "db/fields.h"
#include "db/pg/pgstore.h"
#include "db/recordset.h"
#include "db/schema.h"
#include "db/sqlite/collectionfile.h"
#include "db/textcompare.h"
#include "support/server_fixture.h"
#include "support/store_errors.h"

#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

// The same cases against every store: the collection file and a collection on a PostgreSQL
// server (the one PERLINEX_PG_TEST names; scripts/test starts a private one).
using namespace perlinex;
using namespace perlinex::db;

namespace {

enum class Store { File, Server };

void PrintTo(Store store, std::ostream* os) {
    *os << (store == Store::File ? "the file" : "the server");
}

// The texts in the collection's text order; equal ones keep their places.
QStringList inTextOrder(QStringList texts) {
    std::stable_sort(texts.begin(), texts.end(),
                     [](const QString& a, const QString& b) { return compareText(a, b) < 0; });
    return texts;
}

} // namespace

class StoreTest : public ::testing::TestWithParam<Store> {
protected:
    QTemporaryDir dir;
    QString collection;
    std::unique_ptr<Database> db;

    void SetUp() override {
        if (GetParam() == Store::File) {
            ASSERT_TRUE(dir.isValid());
            db = createCollection(dir.filePath(QStringLiteral("stamp.mdb")));
            return;
        }
        SKIP_WITHOUT_SERVER();
        collection = freshCollectionName();
        db = createServerCollection(serverUnderTest(), collection);
    }
    void TearDown() override {
        db.reset();
        if (!collection.isEmpty())
            dropServerCollection(serverUnderTest(), collection);
    }

    std::int64_t addStamp(const QString& descr,
                          const std::vector<std::pair<QString, Value>>& more = {}) {
        auto rs = db->openRecordSet(QStringLiteral("Select * from stamp"));
        rs->addNew();
        const std::int64_t id = rs->field(QStringLiteral("stampid")).toInteger();
        rs->setField(QStringLiteral("descr"), Value(descr));
        for (const auto& [name, value] : more)
            rs->setField(name, value);
        rs->update();
        return id;
    }

    QStringList column(const QString& sql, const QString& field) {
        auto rs = db->openRecordSet(sql, RecordSetKind::Snapshot);
        QStringList out;
        for (; !rs->eof(); rs->moveNext())
            out << rs->field(field).toText();
        return out;
    }
};

INSTANTIATE_TEST_SUITE_P(EveryStore, StoreTest, ::testing::Values(Store::File, Store::Server),
                         [](const ::testing::TestParamInfo<Store>& info) {
                             return info.param == Store::File ? "File" : "Server";
                         });

TEST_P(StoreTest, StoresAndReadsEveryKindOfField) {
    const QString notes = QString(QStringLiteral("Straße und Grüße. ")).repeated(200);
    const std::int64_t id =
        addStamp(QStringLiteral("Penny Black"),
                 {{QStringLiteral("catnum"), Value(QStringLiteral("SG 1"))},
                  {QStringLiteral("face"), Value(Currency::fromRaw(10000))},
                  {QStringLiteral("pricepaid"), Value(Currency::fromRaw(12345678))},
                  {QStringLiteral("Year"), Value(1840)},
                  {QStringLiteral("used"), Value(true)},
                  {QStringLiteral("quantity"), Value(3)},
                  {QStringLiteral("issued"), Value(QDate(1840, 5, 6))},
                  {QStringLiteral("notes"), Value(notes)}});

    auto rs = db->openRecordSet(QStringLiteral("Select * from stamp where stampid = %1").arg(id));
    ASSERT_EQ(rs->recordCount(), 1);
    // The store's own columns are no fields.
    for (const StampField& f : stampFields())
        EXPECT_TRUE(rs->hasField(QLatin1String(f.name))) << f.name;
    for (int i = 0; i < rs->fieldCount(); ++i)
        EXPECT_FALSE(rs->fieldName(i).endsWith(QLatin1String("_sortkey")) ||
                     rs->fieldName(i) == QLatin1String("rowversion"))
            << rs->fieldName(i).toStdString();
    EXPECT_EQ(rs->field(QStringLiteral("descr")), Value(QStringLiteral("Penny Black")));
    EXPECT_EQ(rs->field(QStringLiteral("face")), Value(Currency::fromRaw(10000)));
    EXPECT_EQ(rs->field(QStringLiteral("pricepaid")), Value(Currency::fromRaw(12345678)));
    EXPECT_EQ(rs->field(QStringLiteral("year")), Value(std::int64_t(1840)));
    EXPECT_EQ(rs->field(QStringLiteral("used")), Value(true));
    EXPECT_EQ(rs->field(QStringLiteral("wantlist")), Value(false)); // its default
    EXPECT_EQ(rs->field(QStringLiteral("quantity")), Value(std::int64_t(3)));
    EXPECT_EQ(rs->field(QStringLiteral("issued")), Value(QDate(1840, 5, 6)));
    EXPECT_EQ(rs->field(QStringLiteral("notes")), Value(notes));
    EXPECT_TRUE(rs->field(QStringLiteral("misc1")).isNull());
    EXPECT_TRUE(rs->field(QStringLiteral("catvalue")).isNull());

    rs->edit();
    rs->setField(QStringLiteral("descr"), Value(QStringLiteral("Penny Red")));
    rs->setField(QStringLiteral("used"), Value(false));
    rs->update();

    auto q = db->query(QStringLiteral("SELECT descr, face, issued, used, quantity FROM stamp "
                                      "WHERE stampid = ?"));
    q->run({Value(id)});
    ASSERT_TRUE(q->next());
    EXPECT_EQ(q->value(0), Value(QStringLiteral("Penny Red")));
    EXPECT_EQ(q->value(1), Value(Currency::fromRaw(10000)));
    EXPECT_EQ(q->value(2), Value(QDate(1840, 5, 6)));
    EXPECT_EQ(q->value(3), Value(false));
    EXPECT_EQ(q->integer(4), 3);
    EXPECT_EQ(q->declaredKind(1), Value::Kind::Money);
    EXPECT_FALSE(q->next());

    db->prepare(QStringLiteral("INSERT INTO stamp (descr, catnum, used) VALUES (?, ?, ?)"))
        ->run({Value(QStringLiteral("Inverted Jenny")), Value(QStringLiteral("C3a")), Value(true)});
    EXPECT_EQ(db->scalar(QStringLiteral("select count(*) from stamp")).toInteger(), 2);

    rs->deleteCurrent();
    EXPECT_EQ(column(QStringLiteral("select descr from stamp"), QStringLiteral("descr")),
              QStringList{QStringLiteral("Inverted Jenny")});
}

TEST_P(StoreTest, LikePatternsAndEqualTextsAsTheProgramsDialectSays) {
    for (const char* d : {"Penny Black", "penny red", "Two Pence Blue", "5d Green", "50* overprint",
                          "Über Zürich", "Ostrich [bird]", "a?b", "O'Brien"})
        addStamp(QString::fromUtf8(d));
    const struct {
        const char* criterion;
        QStringList matches;
    } cases[] = {
        {"descr like 'penny*'", {"Penny Black", "penny red"}},
        {"descr like \"*RED\"", {"penny red"}},
        {"descr like '#d *'", {"5d Green"}},
        {"descr like '[a-p]*'", {"Penny Black", "penny red", "Ostrich [bird]", "a?b", "O'Brien"}},
        {"descr like '[!a-p]*'", {"Two Pence Blue", "5d Green", "50* overprint", "Über Zürich"}},
        {"descr like '50[*]*'", {"50* overprint"}},
        {"descr like 'ÜBER z?rich'", {"Über Zürich"}},
        {"descr like '*[[]bird]'", {"Ostrich [bird]"}},
        {"descr like 'O''Brien'", {"O'Brien"}},
        {"descr not like '*e*'", {"Ostrich [bird]", "a?b"}},
        // Texts are equal apart from case, not apart from accents.
        {"descr = 'PENNY BLACK'", {"Penny Black"}},
        {"descr = 'ÜBER ZÜRICH'", {"Über Zürich"}},
        {"descr = 'uber zurich'", {}},
    };
    for (const auto& c : cases) {
        const QString criterion = QString::fromUtf8(c.criterion);
        EXPECT_EQ(
            column(
                QStringLiteral("select descr from stamp where %1 order by stampid").arg(criterion),
                QStringLiteral("descr")),
            c.matches)
            << c.criterion;
    }
    auto rs = db->openRecordSet(QStringLiteral("Select * from stamp order by descr"));
    rs->findFirst(QStringLiteral("descr like '*zürich'"));
    ASSERT_FALSE(rs->noMatch());
    EXPECT_EQ(rs->field(QStringLiteral("descr")).toText(), QStringLiteral("Über Zürich"));
}

TEST_P(StoreTest, BooleansAndDatesOfTheDialect) {
    addStamp(QStringLiteral("early used"), {{QStringLiteral("used"), Value(true)},
                                            {QStringLiteral("issued"), Value(QDate(1840, 5, 6))}});
    addStamp(QStringLiteral("late mint"), {{QStringLiteral("issued"), Value(QDate(1998, 5, 30))}});
    addStamp(QStringLiteral("undated used"), {{QStringLiteral("used"), Value(true)}});
    const struct {
        const char* criterion;
        QStringList matches;
    } cases[] = {
        {"used = True", {"early used", "undated used"}},
        {"used = False", {"late mint"}},
        {"not used", {"late mint"}},
        {"issued = #5/30/1998#", {"late mint"}},
        {"issued > #1/1/1900#", {"late mint"}},
        {"issued between #1/1/1840# and #12/31/1850#", {"early used"}},
        {"issued is null and used", {"undated used"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(column(QStringLiteral("select descr from stamp where %1 order by stampid")
                             .arg(QString::fromLatin1(c.criterion)),
                         QStringLiteral("descr")),
                  c.matches)
            << c.criterion;
}

TEST_P(StoreTest, TextOrderIsTheCollectionsOnEveryStore) {
    const QStringList texts = {
        QStringLiteral("zebra"),   QStringLiteral("Äpfel"),
        QStringLiteral("apple"),   QString(),
        QStringLiteral("ß"),       QStringLiteral("Straße"),
        QStringLiteral("strasse"), QStringLiteral("Strasse"),
        QStringLiteral("10"),      QStringLiteral("9"),
        QStringLiteral("Apple"),   QStringLiteral("Öl"),
        QStringLiteral("oz"),      QStringLiteral("Ol"),
        QStringLiteral("éclair"),  QStringLiteral("Eclair"),
        QStringLiteral("ss"),      QStringLiteral(" space"),
        QStringLiteral("Zebra"),   QStringLiteral("apfel"),
    };
    // Half through the editor's record set, half through a prepared insert.
    auto insert = db->prepare(QStringLiteral("INSERT INTO stamp (descr, misc1) VALUES (?, ?)"));
    for (int i = 0; i < texts.size(); ++i) {
        const Value misc = i % 3 == 0 ? Value() : Value(texts[i]);
        if (i % 2 == 0)
            addStamp(texts[i], {{QStringLiteral("misc1"), misc}});
        else
            insert->run({Value(texts[i]), misc});
    }
    const QStringList expected = inTextOrder(texts);

    EXPECT_EQ(
        column(QStringLiteral("Select * from stamp order by [descr]"), QStringLiteral("descr")),
        expected);
    auto rs = db->openRecordSet(QStringLiteral("Select * from stamp order by descr"));
    QStringList viaDynaset;
    for (; !rs->eof(); rs->moveNext())
        viaDynaset << rs->field(QStringLiteral("descr")).toText();
    EXPECT_EQ(viaDynaset, expected);

    auto down = db->query(QStringLiteral("SELECT s.descr FROM stamp s ORDER BY s.descr DESC, "
                                         "s.stampid DESC"));
    down->run();
    QStringList descending;
    while (down->next())
        descending << down->text(0);
    QStringList reversed = expected;
    std::reverse(reversed.begin(), reversed.end());
    EXPECT_EQ(descending, reversed);

    // Nulls come first, as the file orders them.
    const QStringList misc = column(
        QStringLiteral("select misc1 from stamp order by misc1, stampid"), QStringLiteral("misc1"));
    ASSERT_EQ(misc.size(), texts.size());
    QStringList present;
    for (int i = 0; i < texts.size(); ++i)
        if (i % 3 != 0)
            present << texts[i];
    const int nulls = int(texts.size() - present.size());
    EXPECT_EQ(misc.mid(0, nulls), QStringList(nulls, QString()));
    EXPECT_EQ(misc.mid(nulls), inTextOrder(present));

    // The code tables' entries, stored when the collection was made, in the same order.
    const CodeTable& countries = *codeTableByName(QStringLiteral("country"));
    EXPECT_EQ(column(codeListQuery(countries), QString::fromLatin1(countries.descField)),
              inTextOrder(starterVocabulary(QStringLiteral("country"))));
}

TEST_P(StoreTest, CountersAreNeverHandedOutTwice) {
    auto rs = db->openRecordSet(QStringLiteral("Select * from stamp"));
    rs->addNew();
    const std::int64_t cancelled = rs->field(QStringLiteral("stampid")).toInteger();
    rs->cancelUpdate();

    const std::int64_t deleted = addStamp(QStringLiteral("deleted"));
    EXPECT_GT(deleted, cancelled);
    auto last =
        db->openRecordSet(QStringLiteral("Select * from stamp where stampid = %1").arg(deleted));
    last->deleteCurrent();

    // An add whose store was rolled back keeps its number from everyone after it.
    rs->addNew();
    const std::int64_t rolledBack = rs->field(QStringLiteral("stampid")).toInteger();
    rs->setField(QStringLiteral("descr"), Value(QStringLiteral("rolled back")));
    EXPECT_GT(rolledBack, deleted);
    EXPECT_THROW(db->transaction([&] {
        rs->update();
        throw std::runtime_error("the store failed");
    }),
                 std::runtime_error);
    EXPECT_EQ(db->scalar(QStringLiteral("select count(*) from stamp")).toInteger(), 0);

    const std::int64_t next = addStamp(QStringLiteral("kept"));
    EXPECT_GT(next, rolledBack);
}

TEST_P(StoreTest, StoreErrorsCarryTheProgramsNumbers) {
    const std::int64_t id = addStamp(QStringLiteral("one"));
    EXPECT_EQ(errorOf([&] { db->execute(QStringLiteral("select * from nosuchtable")); }),
              err::TableMissing);
    auto rs = db->openRecordSet(QStringLiteral("Select * from stamp"));
    rs->addNew();
    EXPECT_EQ(errorOf([&] {
                  rs->setField(QStringLiteral("descr"), Value(QString(81, QLatin1Char('x'))));
              }),
              err::FieldTooSmall);
    EXPECT_EQ(errorOf([&] { rs->setField(QStringLiteral("year"), Value(40000)); }),
              err::ValidationFailed);
    rs->cancelUpdate();
    // A store that failed inside a transaction leaves nothing behind.
    EXPECT_NE(errorOf([&] {
                  db->transaction([&] {
                      db->execute(QStringLiteral("update stamp set descr = 'changed' where "
                                                 "stampid = %1")
                                      .arg(id));
                      db->execute(QStringLiteral("select * from nosuchtable"));
                  });
              }),
              0);
    EXPECT_EQ(db->scalar(QStringLiteral("select descr from stamp")).toText(),
              QStringLiteral("one"));
}

// What only a server has: several desks at once.
class ServerStoreTest : public ::testing::Test {
protected:
    QString collection;
    void SetUp() override {
        SKIP_WITHOUT_SERVER();
        collection = freshCollectionName();
        createServerCollection(serverUnderTest(), collection, false);
    }
    void TearDown() override {
        if (!collection.isEmpty())
            dropServerCollection(serverUnderTest(), collection);
    }
    std::unique_ptr<Database> desk() { return openServerDatabase(serverUnderTest(), collection); }
};

TEST_F(ServerStoreTest, RowHeldByAnotherDeskIsTheLockedRowError) {
    auto first = desk();
    auto second = desk();
    first->execute(QStringLiteral("insert into stamp (descr) values ('shared')"));
    const std::int64_t id = first->lastInsertedKey();

    auto editing = second->openRecordSet(QStringLiteral("Select * from stamp"));
    ASSERT_EQ(editing->recordCount(), 1);
    editing->edit();
    editing->setField(QStringLiteral("descr"), Value(QStringLiteral("mine")));

    first->engine().begin();
    first->execute(QStringLiteral("update stamp set quantity = 2 where stampid = %1").arg(id));
    second->execute(QStringLiteral("SET lock_timeout = '50ms'"));
    EXPECT_EQ(errorOf([&] { editing->update(); }), err::LockedRow2);
    first->engine().rollback();

    editing->update(); // the row is free again
    EXPECT_EQ(first->scalar(QStringLiteral("select descr from stamp")).toText(),
              QStringLiteral("mine"));
}

TEST_F(ServerStoreTest, RowChangedByAnotherDeskIsNotOverwrittenSilently) {
    auto first = desk();
    auto second = desk();
    first->execute(QStringLiteral("insert into stamp (descr) values ('shared')"));
    auto mine = first->openRecordSet(QStringLiteral("Select * from stamp"));
    auto theirs = second->openRecordSet(QStringLiteral("Select * from stamp"));
    mine->edit();
    mine->setField(QStringLiteral("descr"), Value(QStringLiteral("mine")));
    theirs->edit();
    theirs->setField(QStringLiteral("descr"), Value(QStringLiteral("theirs")));
    theirs->update();
    EXPECT_EQ(errorOf([&] { mine->update(); }), err::ChangedElsewhere);
    mine->updateOver();
    EXPECT_EQ(second->scalar(QStringLiteral("select descr from stamp")).toText(),
              QStringLiteral("mine"));
}

TEST_F(ServerStoreTest, SecondRowWithTheSameKeyIsADuplicate) {
    auto db = desk();
    auto insert = db->prepare(QStringLiteral("INSERT INTO stamp (stampid, descr) VALUES (?, ?)"));
    const std::vector<std::int64_t> ids = db->takeCounters(QStringLiteral("stamp"), 1);
    insert->run({Value(ids[0]), Value(QStringLiteral("first"))});
    EXPECT_EQ(errorOf([&] {
                  insert->run({Value(ids[0]), Value(QStringLiteral("second"))});
              }),
              err::DuplicateKey);
}

TEST_F(ServerStoreTest, CountersTakenInARolledBackTransactionAreNotTakenAgain) {
    auto db = desk();
    std::vector<std::int64_t> taken;
    EXPECT_THROW(db->transaction([&] {
        taken = db->takeCounters(QStringLiteral("stamp"), 3);
        throw std::runtime_error("the import failed");
    }),
                 std::runtime_error);
    ASSERT_EQ(taken.size(), 3u);
    const std::vector<std::int64_t> again = db->takeCounters(QStringLiteral("stamp"), 2);
    EXPECT_GT(again.front(), taken.back());
}

TEST_F(ServerStoreTest, UnknownCollectionIsNoCollection) {
    EXPECT_EQ(errorOf([&] {
                  openServerDatabase(serverUnderTest(), QStringLiteral("no_such_collection"));
              }),
              err::NotACollection);
    // A collection of that name is there already: said as such, before the server is asked.
    EXPECT_EQ(errorOf([&] { createServerCollection(serverUnderTest(), collection); }),
              err::CannotOpen);
}

TEST_F(ServerStoreTest, InterruptEndsARunningStatement) {
    auto db = desk();
    std::atomic<bool> done = false;
    int error = 0;
    std::thread running([&] {
        error = errorOf([&] { db->scalar(QStringLiteral("select pg_sleep(600)")); });
        done = true;
    });
    // A cancel that reaches the server before the statement does finds nothing to end.
    while (!done) {
        db->interrupt();
        std::this_thread::yield();
    }
    running.join();
    EXPECT_EQ(error, err::Interrupted);
    EXPECT_EQ(db->scalar(QStringLiteral("select 1")).toInteger(), 1); // the desk goes on
}
