// Every query text the program's windows and reports run, against a small collection whose
// answers are known.
#include "db/catalogue.h"
#include "db/sqlite/cataloguefile.h"
#include "db/textcompare.h"
#include "support/collection_fixture.h"

#include <gtest/gtest.h>

using namespace perlinex;
using namespace perlinex::db;

namespace {
Value money(int units) {
    return Value(Currency::fromInteger(units));
}
} // namespace

class QueriesTest : public CollectionTest {
protected:
    std::int64_t uk = 0, germany = 0, austria = 0, fine = 0;

    void SetUp() override {
        CollectionTest::SetUp();
        db->execute(QStringLiteral("insert into country(Coudesc) values ('Österreich')"));
        uk = codeId(QStringLiteral("country"), QStringLiteral("CouID"), QStringLiteral("Coudesc"),
                    QStringLiteral("United Kingdom"));
        germany = codeId(QStringLiteral("country"), QStringLiteral("CouID"),
                         QStringLiteral("Coudesc"), QStringLiteral("Germany"));
        austria = codeId(QStringLiteral("country"), QStringLiteral("CouID"),
                         QStringLiteral("Coudesc"), QStringLiteral("Österreich"));
        db->execute(QStringLiteral("insert into condition(conDesc) values ('Test Fine')"));
        fine = codeId(QStringLiteral("condition"), QStringLiteral("ConID"),
                      QStringLiteral("conDesc"), QStringLiteral("Test Fine"));
        ASSERT_GT(uk, 0);
        ASSERT_GT(germany, 0);

        addStamp(QStringLiteral("Penny Black"), QStringLiteral("SG 1"),
                 {{QStringLiteral("CouID"), Value(uk)},
                  {QStringLiteral("forsale"), Value(true)},
                  {QStringLiteral("priceask"), money(100)},
                  {QStringLiteral("face"), Value(Currency::fromRaw(100))},
                  {QStringLiteral("Year"), Value(1840)},
                  {QStringLiteral("issued"), Value(QDate(1840, 5, 6))},
                  {QStringLiteral("topID"), Value(1)}});
        addStamp(QStringLiteral("Two Penny Blue"), QStringLiteral("SG 2"),
                 {{QStringLiteral("CouID"), Value(uk)},
                  {QStringLiteral("sold"), Value(true)},
                  {QStringLiteral("quantity"), Value(2)},
                  {QStringLiteral("pricepaid"), money(50)},
                  {QStringLiteral("priceask"), money(80)},
                  {QStringLiteral("datesold"), Value(QDate(2020, 3, 1))}});
        addStamp(QStringLiteral("Zeppelin"), QStringLiteral("C 45-1"),
                 {{QStringLiteral("CouID"), Value(germany)},
                  {QStringLiteral("wantlist"), Value(true)},
                  {QStringLiteral("pricepaid"), money(30)},
                  {QStringLiteral("ConID"), Value(fine)},
                  {QStringLiteral("issued"), Value(QDate(1936, 7, 1))}});
        addStamp(QStringLiteral("Österreich Adler"), QStringLiteral("12"),
                 {{QStringLiteral("CouID"), Value(austria)},
                  {QStringLiteral("issued"), Value(QDate(1990, 1, 3))}});
        addStamp(QStringLiteral("penny lane"), QStringLiteral("SG 100a"),
                 {{QStringLiteral("quantity"), Value(3)},
                  {QStringLiteral("catvalue"), money(10)},
                  {QStringLiteral("issued"), Value(QDate(1991, 2, 1))}});
    }

    QStringList descrs(const QString& sql, RecordSetKind kind = RecordSetKind::Dynaset) {
        return column(sql, QStringLiteral("descr"), kind);
    }
};

TEST_F(QueriesTest, TheThreeStampOrders) {
    EXPECT_EQ(descrs(QStringLiteral("Select * from stamp order by [descr]")),
              (QStringList{QStringLiteral("Österreich Adler"), QStringLiteral("Penny Black"),
                           QStringLiteral("penny lane"), QStringLiteral("Two Penny Blue"),
                           QStringLiteral("Zeppelin")}));
    EXPECT_EQ(column(QStringLiteral("Select * from stamp order by catsort, catnum"),
                     QStringLiteral("catnum"), RecordSetKind::Dynaset),
              (QStringList{QStringLiteral("SG 1"), QStringLiteral("SG 2"), QStringLiteral("12"),
                           QStringLiteral("C 45-1"), QStringLiteral("SG 100a")}));
    // A stamp without an issue date comes first.
    EXPECT_EQ(descrs(QStringLiteral("Select * from stamp order by Issued")),
              (QStringList{QStringLiteral("Two Penny Blue"), QStringLiteral("Penny Black"),
                           QStringLiteral("Zeppelin"), QStringLiteral("Österreich Adler"),
                           QStringLiteral("penny lane")}));
}

TEST_F(QueriesTest, CodeListsAndMaintenanceQueriesAreOrderedByDescription) {
    const QStringList queries = {
        "Select * from country order by Coudesc", "Select * from type order by Typedesc",
        "Select * from format order by FormDesc", "Select * from paper order by Papdesc",
        "Select * from cancel order by CanDesc",  "Select * from Perf order by PerfDesc",
        "Select * from topic order by TopDesc",   "Select * from Condition order by conDesc",
        "Select * from gum order by GumDesc",     "Select * from condition order by conDesc",
        "Select * from perf order by PerfDesc",   "select * from country order by Coudesc",
    };
    for (const QString& sql : queries) {
        const QString descField = sql.section(QLatin1Char(' '), -1);
        for (auto kind : {RecordSetKind::Snapshot, RecordSetKind::Dynaset}) {
            const QStringList list = column(sql, descField, kind);
            ASSERT_GE(list.size(), 10) << sql.toStdString();
            for (int i = 1; i < list.size(); ++i)
                EXPECT_LE(compareText(list[i - 1], list[i]), 0) << sql.toStdString();
        }
    }
    EXPECT_EQ(
        column(QStringLiteral("select CouID as id, Coudesc as descr from country order by Coudesc"),
               QStringLiteral("id"))
            .size(),
        db->scalar(QStringLiteral("select count(*) from country")).toInteger());
}

TEST_F(QueriesTest, InUseQueriesAndCodeTableFind) {
    EXPECT_EQ(column(QStringLiteral("Select StampID from Stamp where CouID = %1").arg(uk),
                     QStringLiteral("StampID"))
                  .size(),
              2);
    EXPECT_EQ(column(QStringLiteral("Select StampID from Stamp where ConID = %1").arg(fine),
                     QStringLiteral("stampid")),
              QStringList{QStringLiteral("3")});
    for (const char* table : {"CanID", "formID", "gumID", "papID", "perfID", "typeID"})
        EXPECT_TRUE(
            column(
                QStringLiteral("Select StampID from Stamp where %1 = 1").arg(QLatin1String(table)),
                QStringLiteral("StampID"))
                .isEmpty());
    EXPECT_EQ(column(QStringLiteral("Select StampID from Stamp where topID = 1"),
                     QStringLiteral("StampID"))
                  .size(),
              1);

    auto countries = db->openRecordSet(QStringLiteral("Select * from country order by Coudesc"));
    countries->findFirst(QStringLiteral("Coudesc like 'ger*'"));
    ASSERT_FALSE(countries->noMatch());
    EXPECT_TRUE(
        countries->field(QStringLiteral("Coudesc")).toText().startsWith(QStringLiteral("Ger")));
    countries->findFirst(QStringLiteral("Coudesc like 'ö*'"));
    EXPECT_EQ(countries->field(QStringLiteral("Coudesc")).toText(), QStringLiteral("Österreich"));
    countries->findFirst(QStringLiteral("Coudesc like 'O''Brien*'"));
    EXPECT_TRUE(countries->noMatch());
}

TEST_F(QueriesTest, FixedReportQueries) {
    auto forSale = db->openRecordSet(
        QStringLiteral(
            "Select descr, CatNum, PriceAsk, coudesc, face, year from stamp left join country on "
            "stamp.couid = country.couid where forsale order by descr"),
        RecordSetKind::Snapshot);
    ASSERT_EQ(forSale->recordCount(), 1);
    EXPECT_EQ(forSale->field(QStringLiteral("coudesc")).toText(), QStringLiteral("United Kingdom"));
    EXPECT_EQ(forSale->field(QStringLiteral("PriceAsk")).toCurrency(), Currency::fromInteger(100));
    EXPECT_EQ(forSale->field(0).toText(), QStringLiteral("Penny Black"));
    EXPECT_EQ(forSale->field(5).toInteger(), 1840);

    EXPECT_EQ(descrs(QStringLiteral("Select descr, CatNum, Quantity, PricePaid, PriceAsk from "
                                    "Stamp where sold order by [descr]"),
                     RecordSetKind::Snapshot),
              QStringList{QStringLiteral("Two Penny Blue")});
    EXPECT_EQ(
        descrs(
            QStringLiteral(
                "Select descr, CatNum, Quantity, PricePaid, CatValue from Stamp where not wantlist "
                "and not sold order by [descr]"),
            RecordSetKind::Snapshot),
        (QStringList{QStringLiteral("Österreich Adler"), QStringLiteral("Penny Black"),
                     QStringLiteral("penny lane")}));

    auto want = db->openRecordSet(QStringLiteral("Select descr, CatNum, PricePaid, Face, Coudesc, "
                                                 "condesc from (Stamp left join country on "
                                                 "stamp.couid = country.couid) left join condition "
                                                 "on stamp.conid = condition.conid where "
                                                 "wantlist order by [descr]"),
                                  RecordSetKind::Snapshot);
    ASSERT_EQ(want->recordCount(), 1);
    EXPECT_EQ(want->field(QStringLiteral("Coudesc")).toText(), QStringLiteral("Germany"));
    EXPECT_EQ(want->field(QStringLiteral("condesc")).toText(), QStringLiteral("Test Fine"));
}

TEST_F(QueriesTest, CategoryReportsKeepUnclassifiedStamps) {
    const QString byCountry = QStringLiteral("Select descr, CatNum, Quantity, Face, year, coudesc "
                                             "from Stamp left join country on stamp.couid = "
                                             "country.couid where not wantlist and not sold ");
    EXPECT_EQ(
        descrs(byCountry + QStringLiteral(" order by coudesc, descr"), RecordSetKind::Snapshot),
        (QStringList{QStringLiteral("penny lane"), QStringLiteral("Österreich Adler"),
                     QStringLiteral("Penny Black")}));
    EXPECT_EQ(descrs(byCountry + QStringLiteral("and stamp.couid = %1").arg(uk) +
                         QStringLiteral(" order by coudesc, descr"),
                     RecordSetKind::Snapshot),
              QStringList{QStringLiteral("Penny Black")});
    const QStringList others = {
        "Select descr, CatNum, Quantity, Face, year, typedesc from Stamp left join type on "
        "stamp.typeid = type.typeid "
        "where not wantlist and not sold  order by typedesc, descr",
        "Select descr, CatNum, Quantity, Face, year, formdesc from Stamp left join format on "
        "stamp.formid = "
        "format.formid where not wantlist and not sold  order by formdesc, descr",
        "Select descr, CatNum, Quantity, Face, year, topdesc from Stamp left join topic on "
        "stamp.topid = topic.topid "
        "where not wantlist and not sold  order by topdesc, descr",
    };
    for (const QString& sql : others)
        EXPECT_EQ(descrs(sql, RecordSetKind::Snapshot).size(), 3) << sql.toStdString();
    EXPECT_EQ(
        descrs(
            QStringLiteral(
                "Select descr, CatNum, Quantity, Face, year, topdesc from Stamp left join topic on "
                "stamp.topid = topic.topid where not wantlist and not sold and stamp.topid = 1 "
                "order by topdesc, descr"),
            RecordSetKind::Snapshot),
        QStringList{QStringLiteral("Penny Black")});
}

TEST_F(QueriesTest, FindCriteria) {
    auto count = [&](const QString& criterion) {
        return db->scalar(QStringLiteral("select count(*) from stamp where ") + criterion)
            .toInteger();
    };
    EXPECT_EQ(count(QStringLiteral("descr like \"*penny*\"")), 3);
    EXPECT_EQ(count(QStringLiteral("descr like \"penny*\"")), 2);
    EXPECT_EQ(count(QStringLiteral("descr like \"*lane\"")), 1);
    EXPECT_EQ(count(QStringLiteral("descr like \"PENNY LANE\"")), 1);
    EXPECT_EQ(count(QStringLiteral("descr like \"**\"")), 5);
    EXPECT_EQ(count(QStringLiteral("Misc1 like \"**\"")), 0); // contains "" skips empty fields
    EXPECT_EQ(count(QStringLiteral("issued >= #1/1/1990#")), 2);
    EXPECT_EQ(count(QStringLiteral("issued = #1/3/1990#")), 1);
    EXPECT_EQ(count(QStringLiteral("issued <> #1/3/1990#")), 3);
    EXPECT_EQ(count(QStringLiteral("forsale = true")), 1);
    EXPECT_EQ(count(QStringLiteral("forsale = false")), 4);
    EXPECT_EQ(count(QStringLiteral("not wantlist and not sold")), 3);
    EXPECT_EQ(count(QStringLiteral("StampID = 2")), 1);
    EXPECT_EQ(count(QStringLiteral("Year >= 1800")), 1);
    EXPECT_EQ(count(QStringLiteral("pricepaid = 50")), 1);
    EXPECT_EQ(count(QStringLiteral("face = 0.01")), 1);
    EXPECT_EQ(count(QStringLiteral("quantity > 1")), 2);
    EXPECT_EQ(count(QStringLiteral("CouID = %1").arg(uk)), 2);
    EXPECT_EQ(count(QStringLiteral("catnum like 'SG #*'")), 3);
}

TEST_F(QueriesTest, CustomReportJoinsNest) {
    auto rs = db->openRecordSet(QStringLiteral("Select descr, Coudesc, TopDesc, pricepaid from "
                                               "((stamp left join country on stamp.CouID = "
                                               "country.CouID) left join topic on stamp.topID = "
                                               "topic.topID) where descr like 'P*' and "
                                               "issued >= #3/1/1800# order by descr"),
                                RecordSetKind::Snapshot);
    ASSERT_EQ(rs->recordCount(), 2);
    EXPECT_EQ(rs->field(1).toText(), QStringLiteral("United Kingdom"));
    EXPECT_FALSE(rs->field(2).isNull());
    rs->moveNext();
    EXPECT_TRUE(rs->field(1).isNull()); // penny lane has no country
}

TEST_F(QueriesTest, TextComparesAndSortsWithoutRegardToCase) {
    db->execute(QStringLiteral("delete from stamp"));
    for (const char* d : {"cherry", "Banana", "apple"})
        addStamp(QString::fromUtf8(d));
    EXPECT_EQ(
        descrs(QStringLiteral("Select * from stamp order by [descr]")),
        (QStringList{QStringLiteral("apple"), QStringLiteral("Banana"), QStringLiteral("cherry")}));
    EXPECT_EQ(
        db->scalar(QStringLiteral("select count(*) from stamp where descr = 'BANANA'")).toInteger(),
        1);
    EXPECT_EQ(db->scalar(QStringLiteral("select count(*) from country where Coudesc = 'GERMANY'"))
                  .toInteger(),
              1);
    EXPECT_EQ(
        db->scalar(QStringLiteral("select count(*) from stamp where descr > 'APPLE'")).toInteger(),
        2);
}

TEST(CatalogueQueries, DesignerAndFindQueriesRun) {
    QTemporaryDir dir;
    auto cat = openCatalogue(dir.path());
    auto highest = cat->openRecordSet(
        QStringLiteral("Select * from RptSpec where usewith like '*stamp*' order by specid"),
        RecordSetKind::Snapshot);
    highest->moveLast();
    EXPECT_EQ(highest->field(QStringLiteral("specid")).toInteger(), 33);
    auto fields = cat->openRecordSet(
        QStringLiteral("Select * from RptSpec where usewith like '*stamp*' order by [desc]"),
        RecordSetKind::Snapshot);
    EXPECT_EQ(fields->recordCount(), 33);
    fields->findFirst(QStringLiteral("SpecID = 5"));
    EXPECT_FALSE(fields->noMatch());
    fields->findFirst(QStringLiteral("specID = 5"));
    EXPECT_EQ(fields->field(QStringLiteral("specid")).toInteger(), 5);
    EXPECT_EQ(
        cat->openRecordSet(QStringLiteral("select usewith from rptspec where usewith = 'stamp'"),
                           RecordSetKind::Snapshot)
            ->recordCount(),
        33);
    EXPECT_EQ(
        cat->openRecordSet(QStringLiteral("select usewith from rptspec where usewith = 'letters'"),
                           RecordSetKind::Snapshot)
            ->recordCount(),
        0);
    EXPECT_EQ(
        cat->openRecordSet(
               QStringLiteral("Select * from RptSpec where usewith = 'stamp' order by [desc]"),
               RecordSetKind::Snapshot)
            ->field(QStringLiteral("Desc"))
            .toText(),
        QStringLiteral("Cancellation"));
}
