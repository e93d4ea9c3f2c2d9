#include "exchange/columnmap.h"

#include "exchange/csvexport.h"

#include <gtest/gtest.h>

using namespace perlinex::exchange;

namespace {

QStringList targets(const ColumnMap& map) {
    QStringList out;
    for (int c = 0; c < map.columnCount(); ++c)
        out << roleName(map.role(c)) + (map.role(c).fallback ? QStringLiteral("?") : QString());
    return out;
}

QStringList split(const char* text) {
    return QString::fromUtf8(text).split(QLatin1Char('|'));
}

} // namespace

TEST(ColumnMap, MatchesHeadersOfOtherProgramsAndOurOwn) {
    struct Case {
        const char* headers;
        const char* expected;
    };
    const Case cases[] = {
        // Tellico's CSV export of a stamp collection: its title is made from the description.
        {"Title|Description|Denomination|Currency|Country|Issue Year|Color|Scott#|Grade|Cancelled|"
         "Hinged|Centering|Gummed|Purchase Date|Purchase Price|Location|Gift|Image|Comments|ID|"
         "Date Created|Date Modified",
         "descr?|descr|face|notes|country|Year|Color|catnum|Condition|used|notes|notes|gum|"
         "purchased|pricepaid|notes|notes|picture|notes|skip|skip|skip"},
        // A spreadsheet's own words, in any case and spacing.
        {"TITLE|face|ISSUE_YEAR|Colour|Catalogue Number|condition|Price Paid|cost|Value|Notes|"
         "Quantity|Topic|Used|Picture|SG|Michel",
         "descr|face|Year|Color|catnum|Condition|pricepaid|notes|catvalue|notes|quantity|topic|"
         "used|picture|notes|notes"},
        {"Catalog Number|Year|Catalog Num", "notes|Year|catnum"},
        {"Comments|Notes|Image|Picture", "notes|notes|notes|picture"},
        {"Description|Unheard of|", "descr|notes|notes"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(targets(ColumnMap::match(split(c.headers))), split(c.expected)) << c.headers;
}

TEST(ColumnMap, OurOwnExportIsMatchedColumnForColumn) {
    const QStringList columns = exportColumns();
    EXPECT_EQ(targets(ColumnMap::match(columns)), columns);
}

TEST(ColumnMap, TheUserCanChangeAnyMatch) {
    ColumnMap map = ColumnMap::match(split("Description|Scott#|Denomination|Remarks|Extra"));
    QString why;
    EXPECT_TRUE(map.assign(QStringLiteral("denomination"), QStringLiteral("notes"), &why));
    EXPECT_TRUE(map.assign(QStringLiteral("5"), QStringLiteral("Catalog Num"), &why));
    EXPECT_TRUE(map.assign(QStringLiteral("Remarks"), QStringLiteral("skip"), &why));
    EXPECT_EQ(targets(map), split("descr|notes|notes|skip|catnum"));
    EXPECT_FALSE(map.assign(QStringLiteral("Nowhere"), QStringLiteral("descr"), &why));
    EXPECT_TRUE(why.contains(QStringLiteral("Nowhere"))) << why.toStdString();
    EXPECT_FALSE(map.assign(QStringLiteral("Extra"), QStringLiteral("colour of the sky"), &why));
    EXPECT_FALSE(map.assign(QStringLiteral("Extra"), QStringLiteral("stampid"), &why));
}

TEST(ColumnMap, AColumnGivenATargetTakesItFromTheOthersAndFallsBackNoLonger) {
    ColumnMap map = ColumnMap::match(split("Title|Description|Image"));
    const auto offered = [](const char* name) {
        for (const ColumnRole& r : ColumnMap::targets())
            if (roleName(r) == QLatin1String(name) && r.kind != ColumnRole::Kind::Notes)
                return r;
        return ColumnRole{};
    };
    map.setRole(0, offered("descr"));
    EXPECT_EQ(targets(map), split("descr|notes|picture"));
    map.setRole(1, offered("picture"));
    EXPECT_EQ(targets(map), split("descr|picture|notes"));
    map.setRole(2, ColumnRole{ColumnRole::Kind::Skip, nullptr, false});
    EXPECT_EQ(targets(map), split("descr|picture|skip"));
    // Every field a user fills is offered once, besides the notes, skip and the picture.
    EXPECT_EQ(ColumnMap::targets().size(), exportColumns().size() + 2);
}
