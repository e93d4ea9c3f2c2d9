#include "custom_support.h"

#include "custom/customreport.h"
#include "custom/generatereport.h"
#include "db/sqlite/collectionfile.h"
#include "regional/regional.h"
#include "reports/fixedreports.h"
#include "reports/printdocument.h"
#include "reports/reportdefinitions.h"
#include "ui/program.h"

#include <functional>
#include <gtest/gtest.h>

using namespace perlinex;
using namespace perlinex::custom;

namespace {

struct Capture : reports::ReportSink {
    QList<QStringList> rows;
    QList<reports::TotalsLine> totalLines;
    void row(std::span<const QString> cells) override {
        rows << QStringList(cells.begin(), cells.end());
    }
    void totals(const reports::TotalsLine& line) override { totalLines << line; }
};

class CustomReportTest : public TempFolderTest {
protected:
    std::unique_ptr<db::Database> db;
    const regional::Regional us{QLocale(QLocale::English, QLocale::UnitedStates)};

    void SetUp() override {
        TempFolderTest::SetUp();
        makeCustomCollection(path("stamp.mdb"));
        db = db::openCollection(path("stamp.mdb"));
    }
    void TearDown() override { db->close(); }

    ReportPlan plan(const Layout& layout) {
        const PlanResult r = planReport(layout, shippedCatalogue(), us);
        EXPECT_TRUE(r.plan) << r.problem.message.toStdString();
        return r.plan.value_or(ReportPlan());
    }
    Capture capture(const Layout& layout) {
        const ReportPlan p = plan(layout);
        CustomReportData data(*db, p);
        Capture c;
        data.writeTo(c, us);
        return c;
    }
    QStringList descriptions(const Layout& layout) {
        QStringList out;
        for (const QStringList& row : capture(layout).rows)
            out << row.value(0);
        return out;
    }
};

// Description, country and price paid with its total; the year hidden but filtering.
Layout priceList() {
    Layout l = layoutOf({spec::Description, spec::Country, spec::PricePaid, spec::Year});
    l.setting(spec::PricePaid).showTotal = true;
    l.setting(spec::Year).hideField = true;
    l.setting(spec::Year).showTotal = true; // hidden: no total
    l.setting(spec::Year).greaterThan = "1800";
    l.sort = {sortPosition(spec::Description), -1};
    return l;
}

} // namespace

TEST_F(CustomReportTest, TextFileHoldsTheRowsAndTheTotals) {
    const ReportPlan p = plan(priceList());
    EXPECT_EQ(p.sql, "Select [descr], [Coudesc], [pricepaid], [Year] from ([stamp] left join "
                     "[country] on [stamp].[CouID] = [country].[CouID]) where  [Year] > 1800 "
                     "order by [descr]");
    CustomReportData data(*db, p);
    ASSERT_FALSE(data.isEmpty());
    EXPECT_EQ(writeReportFile(data, reports::FileTarget::Text, path("p.txt"), us, {}), 7);
    EXPECT_EQ(fileText(path("p.txt")),
              crlf({"50* overprint\tSweden\t$2.50", "500 tests\tSweden\t",
                    "O'Brien <Irish> & Co\tUnited States\t$1.25", "Penny Black\t\t",
                    QString::fromUtf8("penny red\tÖsterreich\t$0.75"), "Urumqi\t\t",
                    QString::fromUtf8("Ürümqi\tUnited States\t"), "\t\t$4.50"}));
}

TEST_F(CustomReportTest, HtmlFileEscapesValuesAndPadsTheTotalsRow) {
    Layout l = priceList();
    l.title = "Prices <& more>";
    l.setting(spec::Year).greaterThan = "1945";
    const ReportPlan p = plan(l);
    CustomReportData data(*db, p);
    writeReportFile(data, reports::FileTarget::Html, path("p.htm"), us, {});
    EXPECT_EQ(
        fileText(path("p.htm")),
        crlf({"<html>",
              "<head><meta charset=\"utf-8\"><title>Prices &lt;&amp; more&gt;</title></head>",
              "<body>", "<table border=1>", "<tr><th colspan=3>Prices &lt;&amp; more&gt;</th></tr>",
              "<tr><th>Description</th>", "<th>Country</th>", "<th>Price Paid</th></tr>",
              "<tr><td>50* overprint</td><td>Sweden</td><td align=right>$2.50</td></tr>",
              "<tr><td>500 tests</td><td>Sweden</td><td align=right></td></tr>",
              "<tr><td>Urumqi</td><td></td><td align=right></td></tr>",
              QString::fromUtf8("<tr><td>Ürümqi</td><td>United States</td><td "
                                "align=right></td></tr>"),
              "<tr><td>&nbsp;</td><td>&nbsp;</td><td align=right>$2.50</td></tr>", "</table>",
              "<H6>List Produced by <A HREF=\"https://perlinex.org/\">Perlinex</A></H6>", "</body>",
              "</html>"}));
}

TEST_F(CustomReportTest, CellsFollowTheDataTypeAndTotalsSkipEmptyValues) {
    Layout l =
        layoutOf({spec::Description, spec::Used, spec::IssueDate, spec::Quantity, spec::FaceValue});
    l.setting(spec::Quantity).showTotal = l.setting(spec::FaceValue).showTotal = true;
    l.sort = {sortPosition(spec::Used), -1};
    const struct {
        const char* startsWith;
        QList<QStringList> rows;
        QStringList totals;
    } cases[] = {
        {"o",
         {{"O'Brien <Irish> & Co", "Yes", "3/1/2001", "2", "$0.50"}},
         {"", "", "", "2", "$0.50"}},
        // No before Yes; empty dates and money give empty cells and add nothing.
        {"p",
         {{"penny red", "No", "", "1", ""}, {"Penny Black", "Yes", "", "3", ""}},
         {"", "", "", "4", "$0.00"}},
    };
    for (const auto& c : cases) {
        l.setting(spec::Description).startsWith = c.startsWith;
        const Capture got = capture(l);
        EXPECT_EQ(got.rows, c.rows);
        ASSERT_EQ(got.totalLines.size(), 1);
        EXPECT_EQ(got.totalLines[0].textCells, c.totals);
    }
}

TEST_F(CustomReportTest, AnAmountMoneyCannotHoldShowsAsSuchAndCannotBeTotalled) {
    db->execute(QStringLiteral("update stamp set pricepaid = 1e308 where descr = 'penny red'; "
                               "update stamp set pricepaid = x'00' where descr = 'Penny Black'"));
    Layout l = layoutOf({spec::Description, spec::PricePaid});
    l.setting(spec::Description).startsWith = "p";
    const Capture got = capture(l);
    EXPECT_EQ(got.rows, (QList<QStringList>{{"Penny Black", ""}, {"penny red", "too large"}}));
    l.setting(spec::PricePaid).showTotal = true;
    const ReportPlan p = plan(l);
    CustomReportData data(*db, p);
    Capture totalled;
    EXPECT_THROW(data.writeTo(totalled, us), std::overflow_error);
    EXPECT_TRUE(totalled.totalLines.isEmpty());
}

TEST_F(CustomReportTest, StartsWithMatchesLiterallyIgnoringCaseButNotAccents) {
    const struct {
        const char* typed;
        QStringList found;
    } cases[] = {
        {"50*", {"50* overprint"}},
        {"50", {"50* overprint", "500 tests"}},
        {"o'brien <", {"O'Brien <Irish> & Co"}},
        {"PENNY", {"Penny Black", "penny red"}},
        {"ü", {QString::fromUtf8("Ürümqi")}},
        {"u", {"Urumqi"}},
        {"Tab\there;", {"Tab\there; bar|"}},
        {"[", {}},
        {"?", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        Layout l = layoutOf({spec::Description});
        l.setting(spec::Description).startsWith = QString::fromUtf8(c.typed);
        l.sort = {sortPosition(spec::Description), -1};
        EXPECT_EQ(descriptions(l), c.found);
    }
}

TEST_F(CustomReportTest, SortingPutsNullsFirstAndIgnoresCase) {
    Layout l = layoutOf({spec::Description, spec::Country});
    l.sort = {sortPosition(spec::Country), sortPosition(spec::Description)};
    EXPECT_EQ(descriptions(l), (QStringList{"Penny Black", "Urumqi", "penny red", "50* overprint",
                                            "500 tests", "Tab\there; bar|", "O'Brien <Irish> & Co",
                                            QString::fromUtf8("Ürümqi")}));
    // By a code table that no report field reads.
    l = layoutOf({spec::Description});
    l.setting(spec::Description).startsWith = "5";
    l.sort = {sortPosition(spec::Type), -1};
    EXPECT_EQ(descriptions(l), (QStringList{"500 tests", "50* overprint"}));
}

TEST_F(CustomReportTest, PreviewIsLaidOutInTheLayoutsPageSetup) {
    Layout l = priceList();
    l.orientation = Orientation::Landscape;
    l.pageNumbers = PageNumbers::InHeader;
    l.unit = WidthUnit::Centimetres;
    const ReportPlan p = plan(l);
    CustomReportData data(*db, p);
    reports::PrintDocument document;
    const reports::PageHeading heading = pageHeading(p, Qt::black, QColor(200, 200, 200));
    QObject::connect(&document, &reports::PrintDocument::pageStarted,
                     [&] { reports::addPageHeading(document, heading); });
    EXPECT_EQ(fillPreview(document, data, us, QDate(2001, 3, 1)), 7);
    document.layoutAll();
    EXPECT_EQ(document.orientation(), reports::PrintDocument::Orientation::Landscape);
    EXPECT_EQ(document.header(), "3/1/2001|Perlinex Report|Page %d");
    EXPECT_EQ(document.footer(), "");
    ASSERT_EQ(document.pageCount(), 1);
    QList<QStringList> texts;
    for (const reports::PlacedRow& row : document.pageRows(0)) {
        texts << QStringList();
        for (const reports::PlacedCell& c : row.cells)
            texts.back() << c.text;
    }
    ASSERT_EQ(texts.size(), 1 + 7 + 1);
    EXPECT_EQ(texts[0], (QStringList{"Description", "Country", "Price Paid"}));
    EXPECT_EQ(texts[1], (QStringList{"50* overprint", "Sweden", "$2.50"}));
    EXPECT_EQ(texts[8], (QStringList{"", "", "$4.50"}));
    // 2.5 cm, its share of the table's width kept as the table widens to the page.
    EXPECT_EQ(p.format().columns()[0].width, 1404);
    const QList<reports::PlacedRow> rows = document.pageRows(0);
    const reports::PlacedRow& row = rows[1];
    EXPECT_NEAR(row.cells[0].rect.width() / row.rect.width(), 1404.0 / p.format().width(), 1e-9);

    // A fixed report in the same document afterwards is portrait again, without the footer.
    document.setFooter("|Page %d|");
    reports::ReportData fixed(*db, reports::reportDefinition(reports::ReportId::Value));
    reports::fillPreview(document, fixed, us, QDate(2001, 3, 1));
    EXPECT_EQ(document.orientation(), reports::PrintDocument::Orientation::Portrait);
    EXPECT_EQ(document.footer(), "");
}

// Generate Report as the window runs it.
class GenerateTest : public TempFolderTest {
protected:
    ScriptedDialogs dialogs;
    std::unique_ptr<Program> program;
    std::unique_ptr<reports::FixedReports> reports;

    void SetUp() override {
        TempFolderTest::SetUp();
        makeCustomCollection(path("stamp.mdb"));
        program = std::make_unique<Program>(dialogs, dir.path());
        program->settingsFile = path(QStringLiteral("settings.ini"));
        program->openCollection();
        reports = std::make_unique<reports::FixedReports>(*program, nullptr);
    }
    void TearDown() override {
        reports.reset();
        program->closeCollection();
    }
    void generate(const Layout& layout, const FieldCatalogue& catalogue = shippedCatalogue()) {
        dialogs.prompts.clear();
        EXPECT_NO_THROW(generateReport(*program, *reports, layout, catalogue));
    }
};

TEST_F(GenerateTest, WritesTheChosenFileOrSaysWhyNot) {
    const QString file = path("out.htm");
    writeFileBytes(file, "precious");
    const struct {
        std::function<void(Layout&)> change;
        const char* message; // part of the one message; nullptr: the file is written
    } cases[] = {
        {[](Layout& l) { l.setting(spec::Description).startsWith = "zzz"; },
         "No records have been entered that may be included in the specified report"},
        {[](Layout& l) { l.setting(spec::PricePaid).lessThan = "lots"; }, "\"lots\""},
        {[](Layout& l) { l.fields.clear(); }, "You have not selected any fields"},
        {[](Layout& l) { l.setting(spec::Description).hideField = true; }, nullptr},
    };
    for (const auto& c : cases) {
        Layout l = priceList();
        l.target = Target::WebTable;
        c.change(l);
        dialogs.texts = {file};
        dialogs.answers = {Answer::Yes};
        generate(l);
        if (!c.message) {
            EXPECT_TRUE(fileText(file).contains("<tr><td>Sweden</td><td align=right>$2.50"));
            EXPECT_EQ(program->TableFormat, "2160|>1296;");
            EXPECT_EQ(program->TableHeading, "Country|Price Paid;");
            continue;
        }
        ASSERT_EQ(dialogs.prompts.size(), 1u);
        EXPECT_TRUE(dialogs.prompts[0].text.contains(QString::fromUtf8(c.message)))
            << dialogs.prompts[0].text.toStdString();
        EXPECT_EQ(fileText(file), "precious");
    }
}

TEST_F(GenerateTest, AQueryTheCollectionCannotAnswerEndsTheRunNotTheProgram) {
    QList<SpecRow> rows = shippedCatalogue().rows();
    rows << SpecRow{90, "Broken", "stamp", "nosuchfield", "stamp", "", 1, 1, false, false}
         << SpecRow{91, "Lost", "stamp", "lostdesc", "lost", "lostID", 1, 1, false, false};
    const FieldCatalogue broken = FieldCatalogue::fromRows(rows);
    for (const int id : {90, 91}) {
        Layout l = Layout::defaults(broken, "stamp");
        l.fields = {spec::Description, id};
        generate(l, broken);
        ASSERT_EQ(dialogs.prompts.size(), 1u);
        EXPECT_TRUE(dialogs.prompts[0].text.contains("could not answer"));
        EXPECT_TRUE(program->CollectionDb && program->CollectionDb->isOpen());
    }
    // The next report runs as usual, into the preview, and a layout that hides everything is
    // refused before it.
    Layout hidden = priceList();
    hidden.setting(spec::Description).hideField = hidden.setting(spec::Country).hideField =
        hidden.setting(spec::PricePaid).hideField = true;
    generate(hidden);
    EXPECT_TRUE(dialogs.prompts[0].text.contains("hidden"));
    generate(priceList());
    EXPECT_TRUE(dialogs.prompts.empty());
    ASSERT_TRUE(reports->hasPreviewWindow());
    EXPECT_EQ(reports->previewWindow().document().rowCount(), 8u);
    EXPECT_TRUE(reports->previewWindow().pageHeading().active);
    reports->previewWindow().close();
}
