#include "custom_support.h"

#include "custom/reportplan.h"
#include "regional/regional.h"

#include <functional>
#include <gtest/gtest.h>

using namespace perlinex;
using namespace perlinex::custom;

namespace {

constexpr int CountryCode = 40, Album = 41, TimeBought = 42, Shelf = 43;

// The shipped fields and what they do not meet: a second field of a code table (named in
// other capitals), a join on two differently named columns, a time field, and a field of the
// main table named in capitals.
const FieldCatalogue& planCatalogue() {
    static const FieldCatalogue catalogue = [] {
        QList<SpecRow> rows = shippedCatalogue().rows();
        rows << SpecRow{CountryCode, "Country Code", "stamp", "country.CouID",
                        "Country",   "CouID",        2,       0.5f,
                        false,       false}
             << SpecRow{Album,        "Album", "stamp", "albumname", "album",
                        "albumid;id", 1,       1,       false,       false}
             << SpecRow{TimeBought, "Time Bought", "stamp", "timebought", "stamp", "", 5,
                        1,          false,         false}
             << SpecRow{Shelf, "Shelf", "stamp", "shelf", "STAMP", "", 1, 1, false, false};
        return FieldCatalogue::fromRows(rows);
    }();
    return catalogue;
}

PlanResult plan(const QList<int>& fields, const std::function<void(Layout&)>& change = {},
                const QLocale& locale = QLocale(QLocale::English, QLocale::UnitedStates)) {
    Layout l = Layout::defaults(planCatalogue(), "stamp");
    l.fields = fields;
    if (change)
        change(l);
    return planReport(l, planCatalogue(), regional::Regional(locale));
}

QDateTime at(int y, int m, int d, QTime time = QTime(0, 0)) {
    return QDateTime(QDate(y, m, d), time);
}

} // namespace

TEST(ReportPlan, WritesTheWholeQueryForEveryKindOfCriterionAndJoin) {
    using S = FieldSettings;
    const auto set = [](int id, std::function<void(S&)> f) {
        return [id, f](Layout& l) { f(l.setting(id)); };
    };
    const struct {
        QList<int> fields;
        std::function<void(Layout&)> change;
        const char* sql;
    } cases[] = {
        // The leading " and" of the first criterion goes, leaving two spaces after where.
        {{spec::Description},
         set(spec::Description, [](S& s) { s.startsWith = "O'Brien*[x?#"; }),
         "Select [descr] from [stamp] where  [descr] like 'O''Brien[*][[]x[?][#]*'"},
        {{spec::FaceValue},
         set(spec::FaceValue, [](S& s) { s.lessThan = "$1,000.00", s.greaterThan = "(1)"; }),
         "Select [face] from [stamp] where  [face] < 1000 and [face] > -1"},
        {{spec::IssueDate},
         set(spec::IssueDate,
             [](S& s) { s.rangeFrom = at(2001, 3, 1), s.rangeTo = at(2001, 3, 31, QTime(18, 0)); }),
         "Select [issued] from [stamp] where  [issued] >= #3/1/2001# and [issued] <= "
         "#3/31/2001#"},
        {{TimeBought},
         set(TimeBought,
             [](S& s) {
                 s.rangeFrom = at(1899, 12, 30, QTime(13, 30)),
                 s.rangeTo = at(1899, 12, 30, QTime(9, 5, 7));
             }),
         "Select [timebought] from [stamp] where  [timebought] >= #13:30:00# and "
         "[timebought] <= #9:05:07#"},
        {{spec::Sold},
         set(spec::Sold, [](S& s) { s.critFalse = true; }),
         "Select [sold] from [stamp] where  not [sold]"},
        // Criteria of another kind than the field's are not applied.
        {{spec::Used, spec::Year},
         [](Layout& l) {
             l.setting(spec::Used).critTrue = true;
             l.setting(spec::Used).startsWith = "x";
             l.setting(spec::Year).critTrue = true;
         },
         "Select [used], [Year] from [stamp] where  [used]"},
        {{spec::Country, CountryCode},
         {},
         "Select [Coudesc], [country].[CouID] from ([stamp] left join [country] on "
         "[stamp].[CouID] = [country].[CouID])"},
        {{spec::Country, spec::Description, spec::Type},
         {},
         "Select [Coudesc], [descr], [Typedesc] from (([stamp] left join [country] on "
         "[stamp].[CouID] = [country].[CouID]) left join [type] on [stamp].[typeID] = "
         "[type].[typeID])"},
        {{spec::Description},
         [](Layout& l) {
             l.sort = {planCatalogue().positionOf(spec::Perforation),
                       planCatalogue().positionOf(spec::Year)};
         },
         "Select [descr] from ([stamp] left join [Perf] on [stamp].[perfID] = [Perf].[perfID]) "
         "order by [PerfDesc], [Year]"},
        {{spec::Description},
         [](Layout& l) {
             l.sort = {-1, planCatalogue().positionOf(spec::Description)};
         },
         "Select [descr] from [stamp] order by [descr]"},
        {{Album},
         {},
         "Select [albumname] from ([stamp] left join [album] on [stamp].[albumid] = [album].[id])"},
        {{Shelf, spec::Description}, {}, "Select [shelf], [descr] from [stamp]"},
        // Hidden fields are read and filter.
        {{spec::Description, spec::Sold, spec::Country},
         [](Layout& l) {
             l.setting(spec::Sold).hideField = l.setting(spec::Country).hideField = true;
             l.setting(spec::Sold).critFalse = true;
             l.setting(spec::Country).startsWith = "Swe";
         },
         "Select [descr], [sold], [Coudesc] from ([stamp] left join [country] on "
         "[stamp].[CouID] = [country].[CouID]) where  not [sold] and [Coudesc] like 'Swe*'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sql);
        const PlanResult r = plan(c.fields, c.change);
        ASSERT_TRUE(r.plan) << r.problem.message.toStdString();
        EXPECT_EQ(r.plan->sql, QString::fromUtf8(c.sql));
    }
}

TEST(ReportPlan, BoundsAreReadInTheUsersOwnWay) {
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QLocale german(QLocale::German, QLocale::Germany);
    const struct {
        QLocale locale;
        const char* typed;
        const char* written; // nullptr: not a number
    } cases[] = {
        {us, " 5 ", "5"},
        {us, "$1,000.00", "1000"},
        {us, "(1)", "-1"},
        {us, "1,5", nullptr},
        {us, "abc", nullptr},
        {german, "1,5", "1.5"},
        {german, "1.000,5", "1000.5"},
        {german, "-2,25", "-2.25"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 %2").arg(c.locale.name(), c.typed).toStdString());
        const PlanResult r = plan(
            {spec::PricePaid}, [&](Layout& l) { l.setting(spec::PricePaid).greaterThan = c.typed; },
            c.locale);
        if (c.written) {
            ASSERT_TRUE(r.plan) << r.problem.message.toStdString();
            EXPECT_EQ(r.plan->whereText, QStringLiteral(" [pricepaid] > %1").arg(c.written));
        } else {
            EXPECT_FALSE(r.plan);
            EXPECT_TRUE(r.problem.message.contains(c.typed)) << r.problem.message.toStdString();
        }
    }
}

TEST(ReportPlan, ColumnsTakeTheirWidthsFromTheUnit) {
    const struct {
        WidthUnit unit;
        float description, face;
        const char* format; // the preview's format text
        int twips[2];       // the columns as laid out
    } cases[] = {
        {WidthUnit::Centimetres, 2.5f, 1.3f, "1404|>730.08;", {1404, 730}},
        {WidthUnit::Inches, 1.5f, 0.9f, "2160|>1296;", {2160, 1296}},
        {WidthUnit::Inches, 2.0f, 0.0f, "2880|>0;", {2880, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        const PlanResult r = plan({spec::Description, spec::Sold, spec::FaceValue}, [&](Layout& l) {
            l.unit = c.unit;
            l.setting(spec::Sold).hideField = true;
            l.setting(spec::Description).colWidth = c.description;
            l.setting(spec::FaceValue).colWidth = c.face;
        });
        ASSERT_TRUE(r.plan);
        EXPECT_EQ(r.plan->tableFormat, c.format);
        EXPECT_EQ(r.plan->tableHeading, "Description|Face Value;");
        EXPECT_EQ(r.plan->format(), reports::TableFormat({{c.twips[0], reports::Align::Left},
                                                          {c.twips[1], reports::Align::Right}}));
        EXPECT_EQ(r.plan->columns[1].position, 2); // the hidden field still counts
    }
}

TEST(ReportPlan, PageHeaderAndFooterFollowThePageNumberChoice) {
    const regional::Regional us(QLocale(QLocale::English, QLocale::UnitedStates));
    const struct {
        PageNumbers numbers;
        bool date;
        const char* header;
        const char* footer;
    } cases[] = {
        {PageNumbers::AtBottom, true, "3/1/2001|Sta¦mps|", "|Page %d|"},
        {PageNumbers::InHeader, true, "3/1/2001|Sta¦mps|Page %d", ""},
        {PageNumbers::None, false, "|Sta¦mps|", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.header);
        const PlanResult r = plan({spec::Description}, [&](Layout& l) {
            l.title = "Sta|mps"; // a bar would end the centre part
            l.pageNumbers = c.numbers;
            l.showDate = c.date;
        });
        ASSERT_TRUE(r.plan);
        EXPECT_EQ(r.plan->pageHeader(us, QDate(2001, 3, 1)), QString::fromUtf8(c.header));
        EXPECT_EQ(r.plan->pageFooter(), c.footer);
    }
}
