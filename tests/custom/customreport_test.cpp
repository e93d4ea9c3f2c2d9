#include "custom_support.h"

#include "custom/customreport.h"
#include "custom/generatereport.h"
#include "custom/reportplan.h"
#include "db/dberror.h"
#include "regional/regional.h"
#include "reports/fixedreports.h"
#include "reports/frmoutput.h"
#include "reports/printdocument.h"
#include "reports/reportdefinitions.h"
#include "ui/program.h"

#include <gtest/gtest.h>

using namespace perlinex;
using namespace perlinex::custom;

namespace {

// The rows a report hands over, as they come.
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
        db = makeCustomCollection(path("stamp.mdb"));
    }
    void TearDown() override {
        if (db)
            db->close();
    }

    ReportPlan plan(const Layout& layout) {
        const PlanResult r = planReport(layout, shippedCatalogue().offeredFor("stamp"), us);
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
    EXPECT_EQ(p.sql, "Select descr, Coudesc, pricepaid, Year from (stamp left join country on "
                     "stamp.CouID = country.CouID) where  Year > 1800 order by descr");
    CustomReportData data(*db, p);
    ASSERT_FALSE(data.isEmpty());
    const QString file = path("prices.txt");
    EXPECT_EQ(writeReportFile(data, reports::FileTarget::Text, file, us), 7);
    EXPECT_EQ(fileText(file), crlf({"50* overprint\tSweden\t$2.50", "500 tests\tSweden\t",
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
    const QString file = path("prices.htm");
    writeReportFile(data, reports::FileTarget::Html, file, us);
    EXPECT_EQ(
        fileText(file),
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
    l.setting(spec::Quantity).showTotal = true;
    l.setting(spec::FaceValue).showTotal = true;
    l.setting(spec::Description).startsWith = "o";
    l.sort = {sortPosition(spec::Used), -1};
    Layout more = l;
    more.setting(spec::Description).startsWith = "p";
    struct Case {
        Layout layout;
        QList<QStringList> rows;
        QStringList totals;
    };
    const Case cases[] = {
        {l,
         {{"O'Brien <Irish> & Co", "Yes", "3/1/2001", "2", "$0.50"}},
         {"", "", "", "2", "$0.50"}},
        // No before Yes; an empty date and empty money give empty cells and add nothing.
        {more,
         {{"penny red", "No", "", "1", ""}, {"Penny Black", "Yes", "", "3", ""}},
         {"", "", "", "4", "$0.00"}},
    };
    for (const Case& c : cases) {
        const Capture got = capture(c.layout);
        EXPECT_EQ(got.rows, c.rows);
        ASSERT_EQ(got.totalLines.size(), 1);
        EXPECT_EQ(got.totalLines[0].textCells, c.totals);
        EXPECT_EQ(got.totalLines[0].previewCells, c.totals);
    }
}

TEST_F(CustomReportTest, StartsWithMatchesLiterallyIgnoringCaseButNotAccents) {
    struct Case {
        const char* typed;
        QStringList found;
    };
    const Case cases[] = {
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
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        Layout l = layoutOf({spec::Description});
        l.setting(spec::Description).startsWith = QString::fromUtf8(c.typed);
        l.sort = {sortPosition(spec::Description), -1};
        const ReportPlan p = plan(l);
        CustomReportData data(*db, p);
        Capture got;
        data.writeTo(got, us);
        QStringList found;
        for (const QStringList& row : got.rows)
            found << row[0];
        EXPECT_EQ(found, c.found);
    }
}

TEST_F(CustomReportTest, SortingPutsNullsFirstAndIgnoresCase) {
    Layout l = layoutOf({spec::Description, spec::Country});
    l.sort = {sortPosition(spec::Country), sortPosition(spec::Description)};
    EXPECT_EQ(descriptions(l), (QStringList{"Penny Black", "Urumqi", "penny red", "50* overprint",
                                            "500 tests", "Tab\there; bar|", "O'Brien <Irish> & Co",
                                            QString::fromUtf8("Ürümqi")}));
    // A sort on a code table that no report field reads.
    Layout byType = layoutOf({spec::Description});
    byType.setting(spec::Description).startsWith = "5";
    byType.sort = {sortPosition(spec::Type), -1};
    EXPECT_EQ(descriptions(byType), (QStringList{"500 tests", "50* overprint"}));
}

TEST_F(CustomReportTest, PreviewIsLaidOutInTheLayoutsPageSetup) {
    Layout l = priceList();
    l.orientation = Orientation::Landscape;
    l.pageNumbers = PageNumbers::InHeader;
    l.unit = WidthUnit::Centimetres;
    l.setting(spec::Description).colWidth = 2.5f;
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
    const QList<reports::PlacedRow> rows = document.pageRows(0);
    ASSERT_EQ(rows.size(), 1 + 7 + 1);
    EXPECT_TRUE(rows[0].pageStart);
    const auto texts = [](const reports::PlacedRow& row) {
        QStringList out;
        for (const reports::PlacedCell& c : row.cells)
            out << c.text;
        return out;
    };
    EXPECT_EQ(texts(rows[0]), (QStringList{"Description", "Country", "Price Paid"}));
    EXPECT_EQ(texts(rows[1]), (QStringList{"50* overprint", "Sweden", "$2.50"}));
    EXPECT_EQ(texts(rows[8]), (QStringList{"", "", "$4.50"}));
    EXPECT_NEAR(rows[1].cells[0].rect.width(), 1404, 1);
    EXPECT_EQ(rows[1].cells[2].align, reports::Align::Right);

    // A fixed report in the same document afterwards is portrait again, without the footer.
    document.setFooter("|Page %d|");
    reports::ReportData fixed(*db, reports::reportDefinition(reports::ReportId::Value));
    reports::fillPreview(document, fixed, us, QDate(2001, 3, 1));
    EXPECT_EQ(document.orientation(), reports::PrintDocument::Orientation::Portrait);
    EXPECT_EQ(document.footer(), "");
}

// Generate Report as the window runs it: messages, files and the program's own state.
class GenerateTest : public TempFolderTest {
protected:
    ScriptedDialogs dialogs;
    std::unique_ptr<Program> program;
    std::unique_ptr<reports::FixedReports> reports;
    const FieldCatalogue offered = shippedCatalogue().offeredFor("stamp");

    void SetUp() override {
        TempFolderTest::SetUp();
        makeCustomCollection(path("stamp.mdb"))->close();
        program = std::make_unique<Program>(dialogs, dir.path());
        program->openCollection();
        reports = std::make_unique<reports::FixedReports>(*program, nullptr);
    }
    void TearDown() override {
        reports.reset();
        program->closeCollection();
    }
    void generate(const Layout& layout, const FieldCatalogue& catalogue) {
        EXPECT_NO_THROW(generateReport(*program, *reports, layout, catalogue));
    }
};

TEST_F(GenerateTest, WritesTheChosenFileAndKeepsThePreviewTexts) {
    Layout l = priceList();
    l.target = Target::TextFile;
    const QString file = path("out.txt");
    dialogs.texts.push_back(file);
    generate(l, offered);
    EXPECT_TRUE(fileText(file).endsWith("\t\t$4.50\r\n"));
    EXPECT_TRUE(dialogs.messageTexts().isEmpty());
    EXPECT_TRUE(program->ReportActive);
    EXPECT_EQ(program->TableFormat, "3600|2160|>1296;");
    EXPECT_EQ(program->TableHeading, "Description|Country|Price Paid;");
}

TEST_F(GenerateTest, ARunThatMakesNothingLeavesAnExistingFileAlone) {
    struct Case {
        const char* name;
        std::function<void(Layout&)> change;
        const char* message; // part of it
    };
    const Case cases[] = {
        {"nothing found", [](Layout& l) { l.setting(spec::Description).startsWith = "zzz"; },
         "No records have been entered that may be included in the specified report"},
        {"no fields", [](Layout& l) { l.fields.clear(); }, "You have not selected any fields"},
        {"every field hidden",
         [](Layout& l) {
             for (const int id : l.fields)
                 l.setting(id).hideField = true;
         },
         "hidden"},
        {"a bound that is not a number",
         [](Layout& l) { l.setting(spec::PricePaid).lessThan = "lots"; }, "\"lots\""},
    };
    const QString file = path("kept.htm");
    writeFileBytes(file, "precious");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs.prompts.clear();
        Layout l = priceList();
        l.target = Target::WebTable;
        c.change(l);
        dialogs.texts = {file};
        dialogs.answers = {Answer::Yes};
        generate(l, offered);
        ASSERT_EQ(dialogs.prompts.size(), 1u);
        EXPECT_EQ(dialogs.prompts[0].kind, "message");
        EXPECT_TRUE(dialogs.prompts[0].text.contains(QString::fromUtf8(c.message)))
            << dialogs.prompts[0].text.toStdString();
        EXPECT_EQ(fileText(file), "precious");
    }
}

TEST_F(GenerateTest, DecliningToReplaceWritesNothing) {
    Layout l = priceList();
    l.target = Target::TextFile;
    const QString file = path("kept.txt");
    writeFileBytes(file, "precious");
    dialogs.texts.push_back(file);
    dialogs.answers.push_back(Answer::No);
    generate(l, offered);
    EXPECT_EQ(fileText(file), "precious");
    EXPECT_TRUE(program->DialogCancelled);
}

TEST_F(GenerateTest, AQueryTheCollectionCannotAnswerEndsTheRunNotTheProgram) {
    QList<SpecRow> rows = offered.rows();
    rows << SpecRow{90, "Broken", "stamp", "nosuchfield", "stamp", "", 1, 1.0f, false, false}
         << SpecRow{91, "Lost Table", "stamp", "lostdesc", "lost", "lostID", 1, 1.0f, false, false};
    const FieldCatalogue broken = FieldCatalogue::fromRows(rows);
    for (const int id : {90, 91}) {
        dialogs.prompts.clear();
        Layout l = Layout::defaults(broken, "stamp");
        l.fields = {spec::Description, id};
        generate(l, broken);
        ASSERT_EQ(dialogs.prompts.size(), 1u);
        EXPECT_TRUE(dialogs.prompts[0].text.contains("could not answer"));
        EXPECT_TRUE(program->CollectionDb && program->CollectionDb->isOpen());
    }
    // The report after it runs as usual, into the preview.
    generate(priceList(), offered);
    ASSERT_TRUE(reports->hasPreviewWindow());
    EXPECT_EQ(reports->previewWindow().document().rowCount(), 8u);
    EXPECT_TRUE(reports->previewWindow().pageHeading().active);
    reports->previewWindow().close();
}
