#include "stats_support.h"

#include "regional/regional.h"
#include "stats/statstable.h"

#include <QLocale>

using namespace perlinex;
using namespace perlinex::stats;

namespace {

// Twenty countries: country n has n stamps and a value of 100 / n, so that counting and
// valuing rank them the other way round; and some unclassified stamps.
std::vector<Group> twentyCountries() {
    std::vector<Group> groups;
    for (int n = 1; n <= 20; ++n) {
        Group g;
        g.key = n;
        g.label = QStringLiteral("Country %1").arg(n, 2, 10, QLatin1Char('0'));
        g.figures.stamps = n;
        g.figures.quantity = 2 * n;
        g.figures.value.add(Currency::fromRaw(1000000 / n));
        groups.push_back(g);
    }
    Group none;
    none.unclassified = true;
    none.figures.stamps = 50;
    groups.push_back(none);
    return groups;
}

} // namespace

TEST(StatsTable, Breakdown_ShowsTheLargestThenOtherThenUnclassified) {
    const std::vector<Group> groups = twentyCountries();
    for (const auto& [measure, first, other] :
         {std::tuple{Measure::Count, QStringLiteral("Country 20"), 1 + 2 + 3 + 4 + 5},
          std::tuple{Measure::Value, QStringLiteral("Country 01"), 16 + 17 + 18 + 19 + 20}}) {
        const std::vector<ShownGroup> rows =
            shownGroups(Breakdown::Country, groups, measure, StampFilter{});
        ASSERT_EQ(rows.size(), std::size_t(LargestShown) + 2);
        EXPECT_EQ(rows.front().label, first);
        EXPECT_EQ(rows[LargestShown].label, QStringLiteral("Other"));
        EXPECT_EQ(rows[LargestShown].figures.stamps, other);
        EXPECT_FALSE(rows[LargestShown].key);
        EXPECT_EQ(rows.back().label, QStringLiteral("Unclassified")); // not ranked: always last
        EXPECT_EQ(rows.back().figures.stamps, 50);
        // Nothing is lost on the way to the table's total.
        const FigureTable table = breakdownTable(Breakdown::Country, rows, {}, nullptr);
        EXPECT_EQ(
            table.rows.back(),
            (QStringList{QStringLiteral("Total"), QStringLiteral("260"), QStringLiteral("420"),
                         moneyText(totalOf(rows, {}).figures.value, nullptr)}));
    }
}

TEST(StatsTable, Breakdown_OrderedOnesKeepTheirOrderAndNameTheUnknown) {
    std::vector<Group> groups(3);
    groups[0].key = 1950;
    groups[1].key = 1960;
    groups[2].unclassified = true;
    const std::vector<ShownGroup> rows =
        shownGroups(Breakdown::Decade, groups, Measure::Count, StampFilter{});
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].label, QStringLiteral("1950s"));
    EXPECT_EQ(rows[1].label, QStringLiteral("1960s"));
    EXPECT_EQ(rows[2].label, QStringLiteral("Unknown"));
}

TEST(StatsTable, Money_PlainForFilesNeverRounded_RegionalForTheWindow) {
    const regional::Regional us(QLocale(QLocale::English, QLocale::UnitedStates));
    const std::vector<std::tuple<const char*, QString, QString>> cases = {
        {"1234.5", QStringLiteral("1234.50"), QStringLiteral("$1,234.50")},
        {"0.1234", QStringLiteral("0.1234"), us.formatCurrency(money("0.1234"))},
        {"-3", QStringLiteral("-3.00"), QStringLiteral("($3.00)")},
        {"0", QStringLiteral("0.00"), QStringLiteral("$0.00")},
    };
    for (const auto& [amount, plain, shown] : cases) {
        EXPECT_EQ(moneyText(sum(amount), nullptr), plain);
        EXPECT_EQ(moneyText(sum(amount), &us), shown);
    }
    EXPECT_EQ(moneyText(MoneySum{Currency(), true}, nullptr), regional::tooLargeForMoney());
}

TEST(StatsTable, Text_CsvQuotesWhatNeedsItAndTabsKeepRowsWhole) {
    FigureTable t{{QStringLiteral("Country"), QStringLiteral("Stamps")},
                  {{QStringLiteral("Korea, South"), QStringLiteral("3")},
                   {QStringLiteral("The \"Best\""), QStringLiteral("1")},
                   {QStringLiteral("Two\nlines\tand tab"), QStringLiteral("2")},
                   {QStringLiteral("Österreich"), QStringLiteral("4")}},
                  {},
                  {}};
    EXPECT_EQ(csvText(t), QStringLiteral("Country,Stamps\r\n\"Korea, South\",3\r\n\"The "
                                         "\"\"Best\"\"\",1\r\n\"Two\nlines\tand tab\",2\r\n"
                                         "Österreich,4\r\n")
                              .toUtf8());
    EXPECT_EQ(tabText(t), QStringLiteral("Country\tStamps\nKorea, South\t3\nThe \"Best\"\t1\n"
                                         "Two lines and tab\t2\nÖsterreich\t4\n")
                              .toUtf8());
}
