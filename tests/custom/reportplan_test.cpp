#include "custom_support.h"

#include "custom/reportplan.h"
#include "regional/regional.h"

#include <functional>
#include <gtest/gtest.h>

using namespace perlinex;
using namespace perlinex::custom;

namespace {

constexpr int CountryCode = 40, Album = 41, TimeBought = 42, Shelf = 43;

// The shipped fields, and a few more that meet what the shipped ones do not: a second field
// of a code table (named in other capitals), a join on two differently named columns, a time
// field, and a field of the main table named in capitals.
const FieldCatalogue& planCatalogue() {
    static const FieldCatalogue catalogue = [] {
        QList<SpecRow> rows = shippedCatalogue().rows();
        rows << SpecRow{CountryCode, "Country Code", "stamp", "country.CouID",
                        "Country",   "CouID",        2,       0.5f,
                        false,       false}
             << SpecRow{Album,        "Album", "stamp", "albumname", "album",
                        "albumid;id", 1,       1.0f,    false,       false}
             << SpecRow{TimeBought, "Time Bought", "stamp", "timebought", "stamp", "",
                        5,          1.0f,          false,   false}
             << SpecRow{Shelf, "Shelf", "stamp", "shelf", "STAMP", "", 1, 1.0f, false, false};
        return FieldCatalogue::fromRows(rows).offeredFor("stamp");
    }();
    return catalogue;
}

Layout planLayout(std::initializer_list<int> fields) {
    Layout l = Layout::defaults(planCatalogue(), "stamp");
    for (const int id : fields)
        l.fields << id;
    return l;
}

int planPosition(int specid) {
    return planCatalogue().positionOf(specid);
}

const QDateTime day(int y, int m, int d) {
    return QDateTime(QDate(y, m, d), QTime(0, 0));
}

struct SqlCase {
    const char* name;
    std::function<Layout()> layout;
    const char* sql;
};

} // namespace

TEST(ReportPlan, WritesTheWholeQueryForEveryKindOfCriterionAndJoin) {
    const regional::Regional us(QLocale(QLocale::English, QLocale::UnitedStates));
    const SqlCase cases[] = {
        {"a typed text matches itself: apostrophe and wildcards quoted",
         [] {
             Layout l = planLayout({spec::Description});
             l.setting(spec::Description).startsWith = "O'Brien*[x?#";
             return l;
         },
         "Select descr from stamp where  descr like 'O''Brien[*][[]x[?][#]*'"},
        {"number bounds as the user types them, in the engine's form",
         [] {
             Layout l = planLayout({spec::FaceValue});
             l.setting(spec::FaceValue).lessThan = "$1,000.00";
             l.setting(spec::FaceValue).greaterThan = "(1)";
             return l;
         },
         "Select face from stamp where  face < 1000 and face > -1"},
        {"a date range, month first, both ends included",
         [] {
             Layout l = planLayout({spec::IssueDate});
             l.setting(spec::IssueDate).rangeFrom = day(2001, 3, 1);
             l.setting(spec::IssueDate).rangeTo = QDateTime(QDate(2001, 3, 31), QTime(18, 0));
             return l;
         },
         "Select issued from stamp where  issued >= #3/1/2001# and issued <= #3/31/2001#"},
        {"a time range",
         [] {
             Layout l = planLayout({TimeBought});
             l.setting(TimeBought).rangeFrom = QDateTime(QDate(1899, 12, 30), QTime(13, 30));
             l.setting(TimeBought).rangeTo = QDateTime(QDate(1899, 12, 30), QTime(9, 5, 7));
             return l;
         },
         "Select timebought from stamp where  timebought >= #13:30:00# and timebought <= "
         "#9:05:07#"},
        // The leading " and" of the first criterion goes, leaving a space: two after where.
        {"the not criterion alone",
         [] {
             Layout l = planLayout({spec::Sold});
             l.setting(spec::Sold).critFalse = true;
             return l;
         },
         "Select sold from stamp where  not sold"},
        {"true and false on two yes/no fields, criteria of the wrong kind ignored",
         [] {
             Layout l = planLayout({spec::Used, spec::Sold, spec::Year});
             l.setting(spec::Used).critTrue = true;
             l.setting(spec::Used).startsWith = "x";
             l.setting(spec::Sold).critFalse = true;
             l.setting(spec::Year).critTrue = true;
             return l;
         },
         "Select used, sold, Year from stamp where  used and not sold"},
        {"two fields of one code table join it once",
         [] {
             return planLayout({spec::Country, CountryCode});
         },
         "Select Coudesc, country.CouID from (stamp left join country on stamp.CouID = "
         "country.CouID)"},
        {"two code tables nest two joins",
         [] {
             return planLayout({spec::Country, spec::Description, spec::Type});
         },
         "Select Coudesc, descr, Typedesc from ((stamp left join country on stamp.CouID = "
         "country.CouID) left join type on stamp.typeID = type.typeID)"},
        {"a sort field of a code table no report field reads is joined",
         [] {
             Layout l = planLayout({spec::Description});
             l.sort = {planPosition(spec::Perforation), planPosition(spec::Year)};
             return l;
         },
         "Select descr from (stamp left join Perf on stamp.perfID = Perf.perfID) order by "
         "PerfDesc, Year"},
        {"a secondary sort alone",
         [] {
             Layout l = planLayout({spec::Description});
             l.sort = {-1, planPosition(spec::Description)};
             return l;
         },
         "Select descr from stamp order by descr"},
        {"a join on two differently named columns", [] { return planLayout({Album}); },
         "Select albumname from (stamp left join album on stamp.albumid = album.id)"},
        {"the main table named in other capitals is not joined",
         [] {
             return planLayout({Shelf, spec::Description});
         },
         "Select shelf, descr from stamp"},
        {"a hidden field is read and filters",
         [] {
             Layout l = planLayout({spec::Description, spec::Sold, spec::Country});
             l.setting(spec::Sold).hideField = true;
             l.setting(spec::Sold).critFalse = true;
             l.setting(spec::Country).hideField = true;
             l.setting(spec::Country).startsWith = "Swe";
             return l;
         },
         "Select descr, sold, Coudesc from (stamp left join country on stamp.CouID = "
         "country.CouID) where  not sold and Coudesc like 'Swe*'"},
    };
    for (const SqlCase& c : cases) {
        SCOPED_TRACE(c.name);
        const PlanResult r = planReport(c.layout(), planCatalogue(), us);
        ASSERT_TRUE(r.plan) << r.problem.message.toStdString();
        EXPECT_EQ(r.plan->sql, QString::fromUtf8(c.sql));
    }
}

TEST(ReportPlan, BoundsAreReadInTheUsersOwnWay) {
    struct Case {
        QLocale locale;
        const char* typed;
        const char* written; // nullptr: not a number
    };
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QLocale german(QLocale::German, QLocale::Germany);
    const Case cases[] = {
        {us, " 5 ", "5"},         {us, "$1,000.00", "1000"},     {us, "(1)", "-1"},
        {us, "0.125", "0.125"},   {us, "1,5", nullptr},          {us, "abc", nullptr},
        {german, "1,5", "1.5"},   {german, "1.000,5", "1000.5"}, {german, "-2,25", "-2.25"},
        {german, "1,5 €", "1.5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 %2").arg(c.locale.name(), c.typed).toStdString());
        Layout l = planLayout({spec::PricePaid});
        l.setting(spec::PricePaid).greaterThan = c.typed;
        const PlanResult r = planReport(l, planCatalogue(), regional::Regional(c.locale));
        if (!c.written) {
            EXPECT_FALSE(r.plan);
            EXPECT_TRUE(r.problem.message.contains(c.typed)) << r.problem.message.toStdString();
            continue;
        }
        ASSERT_TRUE(r.plan) << r.problem.message.toStdString();
        EXPECT_EQ(r.plan->whereText, QStringLiteral(" pricepaid > %1").arg(c.written));
    }
}

TEST(ReportPlan, LayoutsThatMakeNoReportSaySo) {
    const regional::Regional us(QLocale(QLocale::English, QLocale::UnitedStates));
    Layout none = planLayout({});
    EXPECT_EQ(planReport(none, planCatalogue(), us).problem.message, noFieldsMessage());
    EXPECT_EQ(noFieldsMessage(), "You have not selected any fields to include in the report");

    Layout hidden = planLayout({spec::Description, spec::Year});
    hidden.setting(spec::Description).hideField = true;
    hidden.setting(spec::Year).hideField = true;
    const PlanResult r = planReport(hidden, planCatalogue(), us);
    EXPECT_FALSE(r.plan);
    EXPECT_TRUE(r.problem.message.contains("hidden"));
}

TEST(ReportPlan, ColumnsTakeTheirWidthsFromTheUnit) {
    const regional::Regional us(QLocale(QLocale::English, QLocale::UnitedStates));
    struct Case {
        WidthUnit unit;
        float description, face;
        const char* format; // the preview's format text
        int twips[2];       // the columns as laid out
    };
    const Case cases[] = {
        {WidthUnit::Centimetres, 2.5f, 1.3f, "1404|>730.08;", {1404, 730}},
        {WidthUnit::Inches, 1.5f, 0.9f, "2160|>1296;", {2160, 1296}},
        {WidthUnit::Inches, 2.0f, 0.0f, "2880|>0;", {2880, 0}},
        {WidthUnit::Centimetres, 2.0f, 2.0f, "1123.2|>1123.2;", {1123, 1123}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        Layout l = planLayout({spec::Description, spec::Sold, spec::FaceValue});
        l.unit = c.unit;
        l.setting(spec::Sold).hideField = true;
        l.setting(spec::Description).colWidth = c.description;
        l.setting(spec::FaceValue).colWidth = c.face;
        const PlanResult r = planReport(l, planCatalogue(), us);
        ASSERT_TRUE(r.plan);
        EXPECT_EQ(r.plan->tableFormat, c.format);
        EXPECT_EQ(r.plan->tableHeading, "Description|Face Value;");
        const QList<reports::Column> columns = r.plan->format().columns();
        ASSERT_EQ(columns.size(), 2);
        EXPECT_EQ(columns[0].width, c.twips[0]);
        EXPECT_EQ(columns[1].width, c.twips[1]);
        EXPECT_EQ(columns[1].align, reports::Align::Right);
        EXPECT_EQ(r.plan->columns[1].position, 2); // the hidden field still counts
    }
}

TEST(ReportPlan, PageHeaderAndFooterFollowThePageNumberChoice) {
    const regional::Regional us(QLocale(QLocale::English, QLocale::UnitedStates));
    struct Case {
        PageNumbers numbers;
        bool date;
        const char* header;
        const char* footer;
    };
    const Case cases[] = {
        {PageNumbers::AtBottom, true, "3/1/2001|Stamps|", "|Page %d|"},
        {PageNumbers::InHeader, true, "3/1/2001|Stamps|Page %d", ""},
        {PageNumbers::None, false, "|Stamps|", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.header);
        Layout l = planLayout({spec::Description});
        l.title = "Stamps";
        l.pageNumbers = c.numbers;
        l.showDate = c.date;
        const PlanResult r = planReport(l, planCatalogue(), us);
        ASSERT_TRUE(r.plan);
        EXPECT_EQ(r.plan->pageHeader(us, QDate(2001, 3, 1)), c.header);
        EXPECT_EQ(r.plan->pageFooter(), c.footer);
    }
}
