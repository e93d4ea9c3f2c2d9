#include "stats_support.h"

#include "db/dialect.h"
#include "db/sqlite/collectionfile.h"
#include "generator/generator.h"
#include "regional/regional.h"
#include "reports/fixedreports_support.h"
#include "reports/reportdefinitions.h"
#include "reports/reportrows.h"
#include "stats/statsqueries.h"
#include "stats/statstable.h"

#include <QLocale>

using namespace perlinex;
using namespace perlinex::stats;

namespace {

// The figures a test expects of a group; amounts as plain text.
struct Expected {
    QString label; // "" for the unclassified
    std::int64_t stamps;
    std::int64_t quantity;
    const char* value;
    const char* paid = "0";
};

class StatisticsTest : public TempFolderTest {
protected:
    regional::Regional regional{QLocale(QLocale::English, QLocale::UnitedStates)};
    std::unique_ptr<db::Database> db;

    void SetUp() override {
        TempFolderTest::SetUp();
        db = makeStatsCollection(path(QStringLiteral("stamp.mdb")));
    }
    void TearDown() override {
        if (db)
            db->close();
    }

    // Stamps and quantities that a condition of the program's dialect selects.
    std::pair<std::int64_t, std::int64_t> selected(const QString& condition) {
        auto rs = db->openRecordSet(
            db::translateSql(QStringLiteral("select count(*) as n, sum(quantity) as q from "
                                            "stamp where ") +
                             condition),
            db::RecordSetKind::Snapshot);
        return {rs->field(QStringLiteral("n")).toInteger(),
                rs->field(QStringLiteral("q")).toInteger()};
    }
};

} // namespace

TEST_F(StatisticsTest, Glance_KeepsTheCollectionWantListForSaleAndSoldApart) {
    CollectionStatistics statistics(*db, regional);
    const Glance g = statistics.glance();
    EXPECT_FALSE(statistics.addedUpRowByRow());
    // A-E are the collection; B has no price paid; E's country no longer exists.
    EXPECT_EQ(g.collection.stamps, 5);
    EXPECT_EQ(g.collection.quantity, 11);
    EXPECT_EQ(g.collection.paid, sum("9.8"));
    EXPECT_EQ(g.collection.value, sum("28.767"));
    EXPECT_EQ(g.wantList.stamps, 1);
    EXPECT_EQ(g.wantList.quantity, 2);
    EXPECT_EQ(g.wantList.willPay, sum("4.5")); // once, not times the quantity
    // T is sold and still marked for sale: it counts in both, as in both reports.
    EXPECT_EQ(g.forSale.stamps, 2);
    EXPECT_EQ(g.forSale.asked, sum("11.99"));
    EXPECT_EQ(g.sold.stamps, 2);
    EXPECT_EQ(g.sold.quantity, 4);
    EXPECT_EQ(g.sold.paid, sum("7"));
    EXPECT_EQ(g.sold.asked, sum("18.5"));
}

TEST_F(StatisticsTest, Groups_OfEachBreakdown_AsWorkedOutByHand) {
    const std::vector<std::pair<Breakdown, std::vector<Expected>>> cases = {
        {Breakdown::Country,
         {{QStringLiteral("Austria"), 2, 3, "16.6666"},
          {QStringLiteral("Sweden"), 1, 3, "0.6"},
          {QString(), 2, 5, "11.5004"}}},
        {Breakdown::Condition,
         {{QStringLiteral("Mint"), 1, 2, "6.6666"},
          {QStringLiteral("Used"), 1, 1, "10"},
          {QString(), 3, 8, "12.1004"}}},
        {Breakdown::Topic,
         {{QStringLiteral("Ships"), 1, 2, "6.6666"}, {QString(), 4, 9, "22.1004"}}},
        {Breakdown::Type,
         {{QStringLiteral("Airmail"), 1, 2, "6.6666"}, {QString(), 4, 9, "22.1004"}}},
        // The issue date's decade, the year's where there is no date.
        {Breakdown::Decade,
         {{QStringLiteral("1940"), 1, 1, "10"},
          {QStringLiteral("1950"), 1, 2, "6.6666"},
          {QStringLiteral("1960"), 1, 3, "0.6"},
          {QString(), 2, 5, "11.5004"}}},
        {Breakdown::PurchaseYear,
         {{QStringLiteral("1990"), 2, 3, "16.6666", "2.5"},
          {QStringLiteral("2001"), 2, 5, "11.5004", "7"},
          {QString(), 1, 3, "0.6", "0.3"}}},
    };
    for (const auto& [breakdown, expected] : cases) {
        SCOPED_TRACE(breakdownOption(breakdown).toStdString());
        CollectionStatistics statistics(*db, regional);
        const std::vector<Group> groups = statistics.groups(breakdown);
        ASSERT_EQ(groups.size(), expected.size());
        for (std::size_t i = 0; i < groups.size(); ++i) {
            const Group& g = groups[i];
            const Expected& e = expected[i];
            const bool entry = codeTableOf(breakdown) != nullptr;
            EXPECT_EQ(g.unclassified, e.label.isEmpty());
            if (!e.label.isEmpty()) {
                EXPECT_EQ(entry ? g.label : QString::number(g.key), e.label);
            }
            EXPECT_EQ(g.figures.stamps, e.stamps);
            EXPECT_EQ(g.figures.quantity, e.quantity);
            EXPECT_EQ(g.figures.value, sum(e.value));
            EXPECT_EQ(g.figures.paid, sum(e.paid));
        }
    }
}

TEST_F(StatisticsTest, Filter_TakesOnlyItsStamps) {
    CollectionStatistics statistics(*db, regional,
                                    {QStringLiteral("CouID = 1 or descr = \"S\""), QString()});
    const Glance g = statistics.glance();
    EXPECT_EQ(g.collection.stamps, 2); // A and B
    EXPECT_EQ(g.collection.value, sum("16.6666"));
    EXPECT_EQ(g.wantList.stamps, 1);
    EXPECT_EQ(g.sold.stamps, 1);
    EXPECT_EQ(g.forSale.stamps, 0);
    const std::vector<Group> countries = statistics.groups(Breakdown::Country);
    ASSERT_EQ(countries.size(), 1u);
    EXPECT_EQ(countries[0].label, QStringLiteral("Austria"));
}

TEST_F(StatisticsTest, OddValues_AreAddedUpAsTheReportsAddThem) {
    // Another program's values: a price written as text, a quantity that is no whole number
    // (counted as it rounds), and a value no amount of money can hold.
    db->execute(QStringLiteral("update stamp set pricepaid = '2.50' where descr = 'A'; "
                               "update stamp set quantity = 2.5 where descr = 'C'; "
                               "update stamp set catvalue = 1e300 where descr = 'D'"));
    CollectionStatistics statistics(*db, regional);
    const Glance g = statistics.glance();
    EXPECT_TRUE(statistics.addedUpRowByRow());
    EXPECT_EQ(g.collection.quantity, 11);      // C's 2.5 counts as 3
    EXPECT_EQ(g.collection.paid, sum("12.3")); // A: 2 x 2.50
    EXPECT_TRUE(g.collection.value.tooLarge);  // D's value
    EXPECT_FALSE(g.sold.asked.tooLarge);       // elsewhere all is well
    EXPECT_EQ(moneyText(g.collection.value, &regional), regional::tooLargeForMoney());
    const std::vector<Group> countries = statistics.groups(Breakdown::Country);
    ASSERT_EQ(countries.size(), 3u);
    EXPECT_EQ(countries[0].figures.value, sum("16.6666")); // Austria, untouched
    EXPECT_TRUE(countries[2].figures.value.tooLarge);      // the unclassified hold D
}

TEST_F(StatisticsTest, SumsThatLeaveTheRangeOfMoney_AreTooLarge) {
    // Each amount fits money; their sum does not.
    db->execute(QStringLiteral("update stamp set catvalue = 500000000000000, quantity = 1 "
                               "where descr in ('A', 'B')"));
    CollectionStatistics statistics(*db, regional);
    EXPECT_TRUE(statistics.glance().collection.value.tooLarge);
    EXPECT_TRUE(statistics.addedUpRowByRow());
}

TEST_F(StatisticsTest, TheStoreAndRowByRow_GiveTheSameFigures) {
    db->close();
    db.reset();
    const QString generated = path(QStringLiteral("generated.mdb"));
    generator::generateCollection(generated, {400, 11});
    db = db::openCollection(generated);
    for (const QString& filter : {QString(), QStringLiteral("Year < 1900 or forsale")}) {
        SCOPED_TRACE(filter.toStdString());
        CollectionStatistics store(*db, regional, {filter, QString()});
        CollectionStatistics rows(*db, regional, {filter, QString()});
        rows.setRowByRow(true);
        const Glance a = store.glance();
        EXPECT_FALSE(store.addedUpRowByRow());
        const Glance b = rows.glance();
        EXPECT_EQ(a.collection, b.collection);
        EXPECT_EQ(a.wantList, b.wantList);
        EXPECT_EQ(a.forSale, b.forSale);
        EXPECT_EQ(a.sold, b.sold);
        EXPECT_GT(a.collection.stamps, 0);
        for (Breakdown breakdown : AllBreakdowns) {
            SCOPED_TRACE(breakdownOption(breakdown).toStdString());
            const std::vector<Group> x = store.groups(breakdown);
            EXPECT_FALSE(store.addedUpRowByRow());
            const std::vector<Group> y = rows.groups(breakdown);
            ASSERT_EQ(x.size(), y.size());
            for (std::size_t i = 0; i < x.size(); ++i) {
                EXPECT_EQ(x[i].key, y[i].key);
                EXPECT_EQ(x[i].figures, y[i].figures);
            }
        }
    }
}

TEST_F(StatisticsTest, EveryRowsCondition_SelectsExactlyItsStamps) {
    db->close();
    db.reset();
    const QString generated = path(QStringLiteral("generated.mdb"));
    generator::generateCollection(generated, {600, 5});
    db = db::openCollection(generated);
    // Stamps whose entry is gone count as unclassified, and their row must find them.
    db->execute(QStringLiteral("update stamp set CouID = 9999 where stampid % 17 = 0"));
    for (const QString& filter : {QString(), QStringLiteral("descr like \"*a*\"")}) {
        SCOPED_TRACE(filter.toStdString());
        const StampFilter f{filter, QString()};
        CollectionStatistics statistics(*db, regional, f);
        const Glance g = statistics.glance();
        for (const ShownPart& p : shownParts(g, f))
            EXPECT_EQ(selected(p.condition),
                      std::make_pair(p.figures->stamps, p.figures->quantity));
        for (Breakdown breakdown : AllBreakdowns) {
            const std::vector<Group> groups = statistics.groups(breakdown);
            for (Measure measure : {Measure::Count, Measure::Value}) {
                const std::vector<ShownGroup> rows = shownGroups(breakdown, groups, measure, f);
                for (const ShownGroup& r : rows) {
                    SCOPED_TRACE(r.label.toStdString());
                    EXPECT_EQ(selected(r.condition),
                              std::make_pair(r.figures.stamps, r.figures.quantity));
                }
                const FigureTable table = breakdownTable(breakdown, rows, f, nullptr);
                EXPECT_EQ(selected(table.conditions.back()),
                          std::make_pair(g.collection.stamps, g.collection.quantity));
            }
        }
    }
}

namespace {

// The preview cells of a report's totals lines.
struct TotalsSink : reports::ReportSink {
    std::vector<QStringList> lines;
    void row(std::span<const QString>) override {}
    void totals(const reports::TotalsLine& line) override { lines.push_back(line.previewCells); }
};

std::vector<QStringList> reportTotals(db::Database& db, reports::ReportId id,
                                      const regional::Regional& regional) {
    reports::ReportData data(db, reports::reportDefinition(id));
    TotalsSink sink;
    data.writeTo(sink, regional);
    return sink.lines;
}

} // namespace

TEST_F(StatisticsTest, Glance_TotalsAsTheValueSalesAndWantListReports) {
    // The reports' own collection of odd values: texts in money fields, missing prices.
    const QString other = path(QStringLiteral("reports.mdb"));
    auto reportsDb = makeReportCollection(other);
    CollectionStatistics statistics(*reportsDb, regional);
    const Glance g = statistics.glance();
    const auto money = [&](const MoneySum& s) { return moneyText(s, &regional); };

    const auto value = reportTotals(*reportsDb, reports::ReportId::Value, regional);
    ASSERT_EQ(value.size(), 2u);
    EXPECT_EQ(value[0],
              (QStringList{QStringLiteral("Totals"), QString::number(g.collection.quantity),
                           money(g.collection.paid), money(g.collection.value)}));
    const FigureTable table = glanceTable(g, {}, &regional);
    EXPECT_EQ(value[1].back(), table.rows[4][1]); // value minus cost

    const auto sold = reportTotals(*reportsDb, reports::ReportId::Sold, regional);
    ASSERT_EQ(sold.size(), 2u);
    EXPECT_EQ(sold[0], (QStringList{QStringLiteral("Totals"), QString::number(g.sold.quantity),
                                    money(g.sold.paid), money(g.sold.asked)}));
    EXPECT_EQ(sold[1].back(), table.rows[15][1]); // sale price minus cost

    const auto wanted = reportTotals(*reportsDb, reports::ReportId::WantList, regional);
    ASSERT_EQ(wanted.size(), 1u);
    EXPECT_EQ(wanted[0].back(), money(g.wantList.willPay));
    reportsDb->close();
}
