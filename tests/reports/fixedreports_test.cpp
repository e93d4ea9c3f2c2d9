#include "fixedreports_support.h"

#include "db/sqlite/collectionfile.h"
#include "reports/fixedreports.h"
#include "reports/frmoutput.h"
#include "reports/reportdefinitions.h"
#include "support/wait.h"
#include "ui/program.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace perlinex;
using namespace perlinex::reports;

namespace {

// The lines every HTML report shares around its table.
QStringList htmlFile(const char* title, const char* caption, const QStringList& table) {
    return QStringList{QStringLiteral("<html>"),
                       QStringLiteral("<head><meta charset=\"utf-8\"><title>%1</title></head>")
                           .arg(QString::fromUtf8(title)),
                       QStringLiteral("<body>"), QStringLiteral("<table border=1>"),
                       QString::fromUtf8(caption)} +
           table +
           QStringList{QStringLiteral("</table>"),
                       QStringLiteral("<H6>List Produced by <A "
                                      "HREF=\"https://perlinex.org/\">Perlinex</A></H6>"),
                       QStringLiteral("</body>"), QStringLiteral("</html>")};
}

const QString kAirmail = QStringLiteral("Airmail &lt;Zeppelin&gt; &amp; &quot;Graf&quot;");

struct Expected {
    ReportId id;
    QStringList text;
    QStringList html;
    QList<QStringList> previewTotals; // the text lines' last ones, as the preview shows them
};

// clang-format off
const QList<Expected> kExpected = {
    {ReportId::ForSale,
     {"Airmail <Zeppelin> & \"Graf\"\tC13\tUnited States\t$0.65\t1930\t$2.50",
      "Bar | and; semi\tSG 2|b;\t\t\t\t$0.00",
      "Tab here  new line\t7\tSweden\t\t1855\t$0.00"},
     htmlFile("Stamps For Sale", "<tr><th colspan=6>Stamps For Sale</th></tr>", {
      "<tr><th>Description</th>", "<th>Cat #</th>", "<th>Country</th>", "<th>Face Value</th>",
      "<th>Year</th>", "<th>Price</th></tr>",
      "<tr><td>" + kAirmail + "</td><td>C13</td><td>United States</td><td>$0.65</td><td>1930</td><td align=right>$2.50</td></tr>",
      "<tr><td>Bar | and; semi</td><td>SG 2|b;</td><td></td><td></td><td></td><td align=right>$0.00</td></tr>",
      "<tr><td>Tab\there\r\nnew line</td><td>7</td><td>Sweden</td><td></td><td>1855</td><td align=right>$0.00</td></tr>"}),
     {}},
    {ReportId::Sold,
     {"Another Sold\tS2\t1\t$5.00\t$5.00\t$2.00\t$2.00",
      "Sold Stamp\tS1\t3\t$1.50\t$4.50\t$2.00\t$6.00",
      "\t\t4\t\t9.5\t\t8",
      "\t\t\t\t\t\t-1.5"},
     htmlFile("Stamp Sales Report", "<tr><th colspan=7>Stamp Sales Report</th></tr>", {
      "<tr><th>Description</th>", "<th>Cat #</th>", "<th>Quantity</th>", "<th>Paid Each</th>",
      "<th>Total Paid</th>", "<th>Sale Price Each</th>", "<th>Total Sales</th></tr>",
      "<tr><td>Another Sold</td><td>S2</td><td align=right>1</td><td align=right>$5.00</td><td align=right>$5.00</td><td align=right>$2.00</td><td align=right>$2.00</td></tr>",
      "<tr><td>Sold Stamp</td><td>S1</td><td align=right>3</td><td align=right>$1.50</td><td align=right>$4.50</td><td align=right>$2.00</td><td align=right>$6.00</td></tr>",
      "<tr><td>Totals</td><td align=right colspan=2>4</td><td align=right colspan=2>$9.50</td><td align=right colspan=2>$8.00</td></tr>",
      "<tr><td>Sale Price Minus Cost</td><td align=right colspan=6>($1.50)</td></tr>"}),
     {{"Totals", "4", "$9.50", "$8.00"}, {"Sale Price Minus Cost", "($1.50)"}}},
    {ReportId::Value,
     {"Airmail <Zeppelin> & \"Graf\"\tC13\t3\t$1.50\t$4.50\t$2.00\t$6.00",
      "Bar | and; semi\tSG 2|b;\t4\t$0.00\t$0.00\t$0.75\t$3.00",
      "Österreich 1850\tANK 1\t2\t$100.00\t$200.00\t$80.00\t$160.00",
      "Tab here  new line\t7\t1\t$5.00\t$5.00\t$1.25\t$1.25",
      "\t\t10\t\t$209.50\t\t$170.25",
      "\t\t\t\t\t\t($39.25)"},
     htmlFile("Stamp Collection Value ", "<tr><th colspan=7>Stamp Collection Value</th></tr>", {
      "<tr><th>Description</th>", "<th>Cat #</th>", "<th>Quantity</th>", "<th>Paid Each</th>",
      "<th>Total Paid</th>", "<th>Value Each</th>", "<th>Total Value</th></tr>",
      "<tr><td>" + kAirmail + "</td><td>C13</td><td align=right>3</td><td align=right>$1.50</td><td align=right>$4.50</td><td align=right>$2.00</td><td align=right>$6.00</td></tr>",
      "<tr><td>Bar | and; semi</td><td>SG 2|b;</td><td align=right>4</td><td align=right>$0.00</td><td align=right>$0.00</td><td align=right>$0.75</td><td align=right>$3.00</td></tr>",
      "<tr><td>Österreich 1850</td><td>ANK 1</td><td align=right>2</td><td align=right>$100.00</td><td align=right>$200.00</td><td align=right>$80.00</td><td align=right>$160.00</td></tr>",
      "<tr><td>Tab\there\r\nnew line</td><td>7</td><td align=right>1</td><td align=right>$5.00</td><td align=right>$5.00</td><td align=right>$1.25</td><td align=right>$1.25</td></tr>",
      "<tr><td>Totals</td><td align=right colspan=2>10</td><td align=right colspan=2>$209.50</td><td align=right colspan=2>$170.25</td></tr>",
      "<tr><td>Value Minus Cost</td><td align=right colspan=6>($39.25)</td></tr>"}),
     {{"Totals", "10", "$209.50", "$170.25"}, {"Value Minus Cost", "($39.25)"}}},
    {ReportId::WantList,
     {"Inverted Jenny\tC3a\tUnited States\t$0.24\tMint\t$0.00",
      "Want Odd Face\t\t\tabc\t\t$100.00",
      "\t\t\t\t\t$100.00"},
     htmlFile("Stamp Want List ", "<tr><th colspan=6>Stamp Want List</th></tr>", {
      "<tr><th>Description</th>", "<th>Cat #</th>", "<th>Country</th>", "<th>Face Value</th>",
      "<th>Condition</th>", "<th>Will Pay</th></tr>",
      "<tr><td>Inverted Jenny</td><td>C3a</td><td>United States</td><td align=right>$0.24</td><td>Mint</td><td align=right>$0.00</td></tr>",
      "<tr><td>Want Odd Face</td><td></td><td></td><td align=right>abc</td><td></td><td align=right>$100.00</td></tr>",
      "<tr><td align=right colspan=6>$100.00</td></tr>"}),
     {{"", "", "", "", "", "$100.00"}}},
    {ReportId::ByCountry,
     {"\tBar | and; semi\tSG 2|b;\t\t\t4",
      "Österreich\tÖsterreich 1850\tANK 1\t$0.09\t1850\t2",
      "Sweden\tTab here  new line\t7\tabc\t1855\t1",
      "United States\tAirmail <Zeppelin> & \"Graf\"\tC13\t$0.65\t1930\t3",
      "\t\t\t\t\t10"},
     htmlFile("Stamps by Country", "<tr><th colspan=6>Stamps by Country</th></tr>", {
      "<tr><th>Country</th>", "<th>Description</th>", "<th>Cat #</th>", "<th>Face Value</th>",
      "<th>Year</th>", "<th>Quantity</th></tr>",
      "<tr><td></td><td>Bar | and; semi</td><td>SG 2|b;</td><td align=right></td><td></td><td align=right>4</td></tr>",
      "<tr><td>Österreich</td><td>Österreich 1850</td><td>ANK 1</td><td align=right>$0.09</td><td>1850</td><td align=right>2</td></tr>",
      "<tr><td>Sweden</td><td>Tab\there\r\nnew line</td><td>7</td><td align=right>abc</td><td>1855</td><td align=right>1</td></tr>",
      "<tr><td>United States</td><td>" + kAirmail + "</td><td>C13</td><td align=right>$0.65</td><td>1930</td><td align=right>3</td></tr>",
      "<tr><td>Total Stamps</td><td align=right colspan=5>10</td></tr>"}),
     {{"Total Stamps", "10"}}},
    {ReportId::ByType,
     {"\tBar | and; semi\tSG 2|b;\t\t\t4",
      "Airmail\tAirmail <Zeppelin> & \"Graf\"\tC13\t$0.65\t1930\t3",
      "Definitive\tÖsterreich 1850\tANK 1\t$0.09\t1850\t2",
      "Definitive\tTab here  new line\t7\tabc\t1855\t1",
      "\t\t\t\t\t10"},
     htmlFile("Stamps by Type", "<tr><th colspan=6>Stamps by Type</th></tr>", {
      "<tr><th>Type</th>", "<th>Description</th>", "<th>Cat #</th>", "<th>Face Value</th>",
      "<th>Year</th>", "<th>Quantity</th></tr>",
      "<tr><td></td><td>Bar | and; semi</td><td>SG 2|b;</td><td align=right></td><td></td><td align=right>4</td></tr>",
      "<tr><td>Airmail</td><td>" + kAirmail + "</td><td>C13</td><td align=right>$0.65</td><td>1930</td><td align=right>3</td></tr>",
      "<tr><td>Definitive</td><td>Österreich 1850</td><td>ANK 1</td><td align=right>$0.09</td><td>1850</td><td align=right>2</td></tr>",
      "<tr><td>Definitive</td><td>Tab\there\r\nnew line</td><td>7</td><td align=right>abc</td><td>1855</td><td align=right>1</td></tr>",
      "<tr><td>Total Stamps</td><td align=right colspan=5>10</td></tr>"}),
     {{"Total Stamps", "10"}}},
    {ReportId::ByFormat,
     {"\tÖsterreich 1850\tANK 1\t$0.09\t1850\t2",
      "Block\tBar | and; semi\tSG 2|b;\t\t\t4",
      "Single\tAirmail <Zeppelin> & \"Graf\"\tC13\t$0.65\t1930\t3",
      "Single\tTab here  new line\t7\tabc\t1855\t1",
      "\t\t\t\t\t10"},
     htmlFile("Stamps by Format", "<tr><th colspan=6>Stamps by Format</th></tr>", {
      "<tr><th>Format</th>", "<th>Description</th>", "<th>Cat #</th>", "<th>Face Value</th>",
      "<th>Year</th>", "<th>Quantity</th></tr>",
      "<tr><td></td><td>Österreich 1850</td><td>ANK 1</td><td align=right>$0.09</td><td>1850</td><td align=right>2</td></tr>",
      "<tr><td>Block</td><td>Bar | and; semi</td><td>SG 2|b;</td><td align=right></td><td></td><td align=right>4</td></tr>",
      "<tr><td>Single</td><td>" + kAirmail + "</td><td>C13</td><td align=right>$0.65</td><td>1930</td><td align=right>3</td></tr>",
      "<tr><td>Single</td><td>Tab\there\r\nnew line</td><td>7</td><td align=right>abc</td><td>1855</td><td align=right>1</td></tr>",
      "<tr><td>Total Stamps</td><td align=right colspan=5>10</td></tr>"}),
     {{"Total Stamps", "10"}}},
    {ReportId::ByTopic,
     {"\tBar | and; semi\tSG 2|b;\t\t\t4",
      "\tÖsterreich 1850\tANK 1\t$0.09\t1850\t2",
      "Ships\tAirmail <Zeppelin> & \"Graf\"\tC13\t$0.65\t1930\t3",
      "Ships\tTab here  new line\t7\tabc\t1855\t1",
      "\t\t\t\t\t10"},
     htmlFile("Stamps by Topic", "<tr><th colspan=6>Stamps by Topic</th></tr>", {
      "<tr><th>Topic</th>", "<th>Description</th>", "<th>Cat #</th>", "<th>Face Value</th>",
      "<th>Year</th>", "<th>Quantity</th></tr>",
      "<tr><td></td><td>Bar | and; semi</td><td>SG 2|b;</td><td align=right></td><td></td><td align=right>4</td></tr>",
      "<tr><td></td><td>Österreich 1850</td><td>ANK 1</td><td align=right>$0.09</td><td>1850</td><td align=right>2</td></tr>",
      "<tr><td>Ships</td><td>" + kAirmail + "</td><td>C13</td><td align=right>$0.65</td><td>1930</td><td align=right>3</td></tr>",
      "<tr><td>Ships</td><td>Tab\there\r\nnew line</td><td>7</td><td align=right>abc</td><td>1855</td><td align=right>1</td></tr>",
      "<tr><td>Total Stamps</td><td align=right colspan=5>10</td></tr>"}),
     {{"Total Stamps", "10"}}},
};
// clang-format on

// Queues the answer to the selection dialog that exec() is about to show.
void onSelection(std::function<void(QDialog&)> step) {
    QTimer::singleShot(0, [step] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        step(*dialog);
        if (dialog->isVisible()) {
            ADD_FAILURE() << "the selection dialog was left open";
            dialog->reject();
        }
    });
}

template <typename T> T* child(QWidget& parent, const char* name) {
    T* c = parent.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

void clickAll(QDialog& d) {
    QTest::mouseClick(child<QPushButton>(d, "cmdOk"), Qt::LeftButton);
}

class FixedReportsTest : public TempFolderTest {
protected:
    RecordingDialogs dialogs;
    std::unique_ptr<Program> program;
    std::unique_ptr<FixedReports> reports;

    void SetUp() override {
        TempFolderTest::SetUp();
        makeReportCollection(path(QStringLiteral("stamp.mdb")))->close();
        program = std::make_unique<Program>(dialogs, dir.path());
        program->settingsFile = path(QStringLiteral("settings.ini"));
        program->openCollection();
        reports = std::make_unique<FixedReports>(*program, nullptr);
    }
    void TearDown() override {
        reports.reset();
        program->closeCollection();
    }
    // Runs the report to a file target, answering the save dialog with name.
    QString toFile(ReportId id, ReportTarget target, const QString& name) {
        program->reportTarget = target;
        dialogs.texts.push_back(path(name));
        if (isCategoryReport(reportDefinition(id)))
            onSelection(clickAll);
        reports->run(id);
        return fileText(path(name));
    }
};

} // namespace

TEST_F(FixedReportsTest, EveryReportWritesItsWholeTextAndHtmlFile) {
    for (const Expected& e : kExpected) {
        const ReportDefinition& d = reportDefinition(e.id);
        SCOPED_TRACE(d.commandName);
        const QString name = QString::fromLatin1(d.commandName);
        EXPECT_EQ(toFile(e.id, ReportTarget::TextFile, name + QStringLiteral(".txt")),
                  crlf(e.text));
        EXPECT_EQ(toFile(e.id, ReportTarget::HtmlTable, name + QStringLiteral(".htm")),
                  crlf(e.html));
        // The save dialog offered the report's name, in the folder the last report went to,
        // with the target's filter.
        ASSERT_GE(dialogs.savePaths.size(), 2);
        EXPECT_EQ(QFileInfo(dialogs.savePaths.end()[-2]).fileName(),
                  reportText(d.title) + QStringLiteral(".txt"));
        EXPECT_EQ(dialogs.savePaths.last(), path(reportText(d.title) + QStringLiteral(".htm")));
        EXPECT_EQ(dialogs.saveFilters.end()[-2],
                  QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*"));
        EXPECT_EQ(dialogs.saveFilters.last(),
                  QStringLiteral("Html Files (*.htm)|*.htm|All Files (*.*)|*.*"));
    }
    EXPECT_TRUE(dialogs.messageTexts().isEmpty());
}

TEST_F(FixedReportsTest, ThePreviewShowsTheHeadingRowTheValuesWholeAndTheTotals) {
    const QString raw = QStringLiteral("Tab\there\r\nnew line");
    program->reportTarget = ReportTarget::Preview;
    for (const Expected& e : kExpected) {
        const ReportDefinition& d = reportDefinition(e.id);
        SCOPED_TRACE(d.commandName);
        if (isCategoryReport(d))
            onSelection(clickAll);
        reports->run(e.id);
        frmOutput& window = reports->previewWindow();
        ASSERT_TRUE(window.isVisible());
        PrintDocument& doc = window.document();
        ASSERT_SOON(doc.isLaidOut());
        ASSERT_EQ(doc.pageCount(), 1);
        EXPECT_EQ(doc.header(), program->regional.formatShortDate(QDate::currentDate()) + u'|' +
                                    QString::fromUtf8(d.title) + QStringLiteral("|Page %d"));
        EXPECT_EQ(program->TableFormat, QString::fromLatin1(d.tableFormat));
        const QList<PlacedRow> rows = doc.pageRows(0);
        ASSERT_EQ(rows.size(), 1 + e.text.size());
        QStringList heading;
        for (const PlacedCell& c : rows[0].cells)
            heading << c.text;
        EXPECT_TRUE(rows[0].pageStart);
        EXPECT_EQ(rows[0].shade, QColor(200, 200, 200));
        EXPECT_EQ(
            heading,
            QString::fromUtf8(d.tableHeading)
                .chopped(1)
                .split(u'|')
                .mid(0, TableFormat::parse(QString::fromLatin1(d.tableFormat)).columnCount()));
        const qsizetype dataRows = e.text.size() - e.previewTotals.size();
        bool whole = false;
        for (qsizetype i = 0; i < e.text.size(); ++i) {
            QStringList cells;
            for (const PlacedCell& c : rows[i + 1].cells) {
                whole = whole || c.text == raw;
                QString shown = c.text;
                for (QChar& ch : shown)
                    if (ch == u'\t' || ch == u'\r' || ch == u'\n')
                        ch = u' ';
                cells << shown;
            }
            if (i >= dataRows)
                EXPECT_EQ(cells, e.previewTotals[i - dataRows]);
            else
                EXPECT_EQ(cells.join(u'\t'), e.text[i]);
        }
        EXPECT_EQ(whole, e.text.join(u' ').contains(QStringLiteral("Tab here  new line")));
        window.close();
    }
}

TEST_F(FixedReportsTest, ALongPreviewRepeatsTheHeadingOnEveryPageAndEndsWithTheTotals) {
    auto& db = *program->CollectionDb;
    db.transaction([&] {
        db.execute(QStringLiteral("insert into stamp(descr, catnum, catsort, quantity, pricepaid) "
                                  "select 'Filler ' || stampid, 'F', '', 1, 0.5 from stamp"));
        for (int i = 0; i < 6; ++i)
            db.execute(QStringLiteral("insert into stamp(descr, catnum, catsort, quantity) select "
                                      "descr, catnum, catsort, 1 from stamp where descr like "
                                      "'Filler*'"));
    });
    program->reportTarget = ReportTarget::Preview;
    reports->run(ReportId::Value);
    PrintDocument& doc = reports->previewWindow().document();
    ASSERT_SOON(doc.isLaidOut());
    ASSERT_GE(doc.pageCount(), 3);
    int dataRows = 0;
    for (int p = 0; p < doc.pageCount(); ++p) {
        const QList<PlacedRow> rows = doc.pageRows(p);
        ASSERT_GE(rows.size(), 2);
        EXPECT_TRUE(rows[0].pageStart) << p;
        EXPECT_EQ(rows[0].cells.value(0).text, QStringLiteral("Description")) << p;
        EXPECT_EQ(rows[0].shade, QColor(200, 200, 200)) << p;
        dataRows += int(rows.size()) - 1;
    }
    const QList<PlacedRow> last = doc.pageRows(doc.pageCount() - 1);
    EXPECT_EQ(last.end()[-2].cells.value(0).text, QStringLiteral("Totals"));
    EXPECT_EQ(last.back().cells.value(0).text, QStringLiteral("Value Minus Cost"));
    EXPECT_EQ(dataRows, 4 + 8 * 64 + 2);
}

TEST_F(FixedReportsTest, AnExistingFileStaysWhenReplacingIsDeclinedOrNothingIsFound) {
    const QString name = path(QStringLiteral("Value.txt"));
    writeFileText(name, "the old report");
    program->reportTarget = ReportTarget::TextFile;
    dialogs.texts.push_back(name);
    dialogs.answers = {Answer::No};
    reports->run(ReportId::Value);
    ASSERT_EQ(dialogs.prompts.size(), 2u);
    EXPECT_EQ(dialogs.prompts[1].title, QStringLiteral("File Exists"));
    EXPECT_EQ(
        dialogs.prompts[1].text,
        QStringLiteral("The file '%1' already exists.  Do you wish to replace it?").arg(name));
    EXPECT_EQ(dialogs.prompts[1].buttons, Buttons::YesNo);
    EXPECT_EQ(fileText(name), QStringLiteral("the old report"));

    // Nothing for sale: the message alone, no save dialog, the file as it was, no other file.
    program->CollectionDb->execute(QStringLiteral("update stamp set forsale = false"));
    dialogs.prompts.clear();
    reports->run(ReportId::ForSale);
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_EQ(dialogs.prompts[0].text,
              QStringLiteral("You have not entered any stamps with the For Sale option checked."));
    EXPECT_EQ(dialogs.prompts[0].title, ProgramTitle);
    EXPECT_EQ(fileText(name), QStringLiteral("the old report"));
    EXPECT_EQ(QDir(dir.path())
                  .entryList(
                      {QStringLiteral("*.txt"), QStringLiteral("*.htm"), QStringLiteral("*.part")}),
              QStringList{QStringLiteral("Value.txt")});
    EXPECT_FALSE(reports->hasPreviewWindow());
}

TEST_F(FixedReportsTest, AFileThatCannotBeWrittenIsReportedAndLeavesNothingBehind) {
    program->reportTarget = ReportTarget::HtmlTable;
    const QString name = path(QStringLiteral("no/such/folder/Value.htm"));
    dialogs.texts.push_back(name);
    reports->run(ReportId::Value);
    ASSERT_EQ(dialogs.messageTexts().size(), 1);
    EXPECT_TRUE(dialogs.messageTexts()[0].startsWith(
        QStringLiteral("The file '%1' could not be written").arg(name)));
    EXPECT_FALSE(QFileInfo::exists(name));
    EXPECT_FALSE(QFileInfo::exists(name + QStringLiteral(".part")));
}

TEST_F(FixedReportsTest, AFileOfTheCollectionIsRefusedBeforeAnyQuestion) {
    QDir().mkpath(path(QStringLiteral("images")));
    writeFileText(path(QStringLiteral("images/x.jpg")), "a picture");
    ASSERT_TRUE(QFile::link(path(QStringLiteral("stamp.mdb")), path(QStringLiteral("mine.txt"))));
    const auto bytes = [](const QString& name) {
        QFile f(name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const QByteArray collection = bytes(path(QStringLiteral("stamp.mdb")));
    const QStringList entries = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden);
    const auto refused = [&](const char* told) {
        ASSERT_EQ(dialogs.prompts.size(), 2u); // the file dialog, then the refusal alone
        EXPECT_TRUE(dialogs.prompts[1].text.contains(QLatin1String(told)))
            << dialogs.prompts[1].text.toStdString();
        EXPECT_EQ(dialogs.prompts[1].icon, Icon::Warning);
        EXPECT_EQ(bytes(path(QStringLiteral("stamp.mdb"))), collection);
        EXPECT_EQ(fileText(path(QStringLiteral("images/x.jpg"))), QStringLiteral("a picture"));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden), entries);
        dialogs.prompts.clear();
    };
    const struct {
        ReportTarget target;
        const char* name;
        const char* told;
    } cases[] = {{ReportTarget::TextFile, "stamp.mdb", "is the collection"},
                 {ReportTarget::HtmlTable, "images/x.jpg", "collection's pictures folder"},
                 {ReportTarget::TextFile, "mine.txt", "leads to the collection"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        toFile(ReportId::Value, c.target, QString::fromLatin1(c.name));
        refused(c.told);
    }

    // The preview's PDF export.
    program->reportTarget = ReportTarget::Preview;
    reports->run(ReportId::Value);
    frmOutput& window = reports->previewWindow();
    ASSERT_SOON(window.document().isLaidOut());
    dialogs.prompts.clear();
    dialogs.texts.push_back(path(QStringLiteral("stamp.mdb")));
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("cmdExportPdf")),
                      Qt::LeftButton);
    refused("is the collection");
    window.close();
}

TEST_F(FixedReportsTest, TheSelectionDialogCancelsOrPicksOneEntryThroughKeysAndMouse) {
    program->reportTarget = ReportTarget::TextFile;
    onSelection([](QDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); });
    reports->run(ReportId::ByCountry);
    EXPECT_TRUE(dialogs.prompts.empty()); // no save dialog, no message

    dialogs.texts.push_back(path(QStringLiteral("Stamp.txt")));
    onSelection([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Country Report"));
        ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
        auto* list = child<QListWidget>(d, "List1");
        EXPECT_FALSE(list->isEnabled());
        EXPECT_TRUE(child<QRadioButton>(d, "optAll")->hasFocus());
        // Down arrow moves to "Selected Country"; OK with nothing chosen keeps the dialog.
        QTest::keyClick(child<QRadioButton>(d, "optAll"), Qt::Key_Down);
        EXPECT_TRUE(child<QRadioButton>(d, "optSelected")->isChecked());
        EXPECT_TRUE(list->isEnabled());
        QTest::mouseClick(child<QPushButton>(d, "cmdOk"), Qt::LeftButton);
        EXPECT_TRUE(d.isVisible());
        ASSERT_EQ(list->count(), 3);
        EXPECT_EQ(list->item(1)->text(), QStringLiteral("Sweden"));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(1)).center());
        QTest::mouseClick(child<QPushButton>(d, "cmdOk"), Qt::LeftButton);
    });
    reports->run(ReportId::ByCountry);
    EXPECT_EQ(dialogs.messageTexts(),
              QStringList{QStringLiteral("You must make a selection from the list!")});
    EXPECT_EQ(fileText(path(QStringLiteral("Stamp.txt"))),
              crlf({QStringLiteral("Sweden\tTab here  new line\t7\tabc\t1855\t1"),
                    QStringLiteral("\t\t\t\t\t1")}));
}

TEST_F(FixedReportsTest, TheSelectionDialogTakesTheCaptionsOfItsCategory) {
    const char* const expected[][3] = {{"Country Report", "All Countries", "Selected Country"},
                                       {"Type Report", "All Types", "Selected Type"},
                                       {"Format Report", "All Formats", "Selected Format"},
                                       {"Topics Report", "All Topics", "Selected Topic"}};
    const ReportId ids[] = {ReportId::ByCountry, ReportId::ByType, ReportId::ByFormat,
                            ReportId::ByTopic};
    const int entries[] = {3, 2, 2, 1};
    for (int i = 0; i < 4; ++i) {
        onSelection([&, i](QDialog& d) {
            EXPECT_EQ(d.windowTitle(), QString::fromLatin1(expected[i][0]));
            EXPECT_EQ(child<QRadioButton>(d, "optAll")->text(),
                      QString::fromLatin1(expected[i][1]));
            EXPECT_EQ(child<QRadioButton>(d, "optSelected")->text(),
                      QString::fromLatin1(expected[i][2]));
            EXPECT_EQ(child<QListWidget>(d, "List1")->count(), entries[i]);
            EXPECT_NE(child<QWidget>(d, "VideoSoftElastic1"), nullptr);
            QTest::mouseClick(child<QPushButton>(d, "cmdCancel"), Qt::LeftButton);
        });
        reports->run(ids[i]);
        EXPECT_EQ(program->ReportCategory, reportDefinition(ids[i]).category);
        EXPECT_TRUE(dialogs.prompts.empty()); // cancelled: no save dialog
    }
}

TEST_F(FixedReportsTest, AStoreErrorGoesToTheCommonHandlerAndWritesNothing) {
    program->CollectionDb->execute(QStringLiteral("drop table country"));
    program->reportTarget = ReportTarget::TextFile;
    dialogs.texts.push_back(path(QStringLiteral("ForSale.txt")));
    EXPECT_THROW(reports->run(ReportId::ForSale), ProgramEnded);
    ASSERT_EQ(dialogs.messageTexts().size(), 1);
    EXPECT_TRUE(dialogs.messageTexts()[0].startsWith(QStringLiteral("3078 ")));
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("ForSale.txt"))));
}
