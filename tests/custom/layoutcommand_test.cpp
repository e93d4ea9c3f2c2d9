#include "custom_support.h"

#include "custom/customreport.h"
#include "custom/layoutcommand.h"
#include "custom/layoutfile.h"
#include "db/sqlite/cataloguefile.h"
#include "db/sqlite/collectionfile.h"
#include "db/sqlite/folderlock.h"
#include "db/sqlite/sqlitefile.h"
#include "regional/regional.h"

#include <QDir>
#include <functional>
#include <gtest/gtest.h>

using namespace perlinex;
using namespace perlinex::custom;

namespace {

class LayoutCommandTest : public TempFolderTest {
protected:
    QString out, err;

    void SetUp() override {
        TempFolderTest::SetUp();
        makeCustomCollection(path("stamp.mdb"));
    }
    int run(const QStringList& args) {
        out.clear();
        err.clear();
        QTextStream o(&out), e(&err);
        return runLayoutReportCommand(QStringList{"perlinex", "report"} + args, o, e);
    }
    QString save(const Layout& layout, const QString& name = "mine.rpt") {
        writeFileBytes(path(name), writeLayout(layout));
        return path(name);
    }
    QStringList with(const QString& layout, const QString& output, const QStringList& more = {}) {
        return QStringList{"--layout", layout, "--output", output, "--folder", dir.path()} + more;
    }
};

Layout sample() {
    Layout l = layoutOf({spec::Description, spec::Country, spec::PricePaid});
    l.setting(spec::PricePaid).showTotal = true;
    l.setting(spec::Description).startsWith = "p";
    l.sort = {sortPosition(spec::Description), -1};
    l.target = Target::WebTable;
    return l;
}

} // namespace

TEST_F(LayoutCommandTest, WritesWhatTheWindowWritesToTheLayoutsTarget) {
    const QString layout = save(sample());
    const regional::Regional regional;
    const ReportPlan plan = *planReport(sample(), shippedCatalogue(), regional).plan;
    for (const char* target : {"text", "html"}) {
        SCOPED_TRACE(target);
        const QString expected = path(QStringLiteral("expected.%1").arg(target));
        {
            auto db = db::openCollection(path("stamp.mdb"));
            CustomReportData data(*db, plan);
            writeReportFile(data,
                            target == QLatin1String("text") ? reports::FileTarget::Text
                                                            : reports::FileTarget::Html,
                            expected, regional, {});
        }
        const QString file = path(QStringLiteral("cli.%1").arg(target));
        ASSERT_EQ(run(with(layout, file, {"--to", target})), 0) << err.toStdString();
        EXPECT_EQ(fileText(file), fileText(expected));
        EXPECT_EQ(out, "Wrote " + file + " (2 stamps)\n");
    }
    // Without --to and --output: the layout's own target, stamp.htm in the current folder.
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    EXPECT_EQ(run({"--layout", layout, "--folder", dir.path()}), 0) << err.toStdString();
    QDir::setCurrent(previous);
    EXPECT_EQ(fileText(path("stamp.htm")), fileText(path("expected.html")));
    // A layout for the screen writes the preview's pages.
    Layout screen = sample();
    screen.target = Target::Screen;
    ASSERT_EQ(run(with(save(screen, "screen.rpt"), path("out.pdf"))), 0) << err.toStdString();
    EXPECT_TRUE(fileText(path("out.pdf")).startsWith("%PDF"));
}

TEST_F(LayoutCommandTest, ExitStatusSaysWhatHappenedAndNothingIsWrittenOnFailure) {
    const QString good = save(sample());
    const auto changed = [&](const char* name, const std::function<void(Layout&)>& change) {
        Layout l = sample();
        change(l);
        return save(l, name);
    };
    writeFileBytes(path("invalid.rpt"), "stamp\r\nno more\r\n");
    const QString output = path("out.txt");
    const struct {
        QStringList args;
        int status;
        const char* says; // part of what goes to standard error
    } cases[] = {
        {with(path("invalid.rpt"), output), 1,
         "This does not appear to be a valid report file for this program. (line 3"},
        {with(changed("e.rpt", [](Layout& l) { l.fields.clear(); }), output), 1,
         "You have not selected any fields"},
        {with(changed("h.rpt",
                      [](Layout& l) {
                          for (const int id : l.fields)
                              l.setting(id).hideField = true;
                      }),
              output),
         1, "hidden"},
        {with(changed("b.rpt", [](Layout& l) { l.setting(spec::PricePaid).lessThan = "cheap"; }),
              output),
         1, "\"cheap\""},
        {with(changed("n.rpt", [](Layout& l) { l.setting(spec::Description).startsWith = "zz"; }),
              output),
         1, "No records have been entered"},
        {with(path("missing.rpt"), output), 1, "could not be read"},
        {{"--layout", good, "--output", output, "--folder", path("nowhere")},
         1,
         "there is no collection"},
        {{"--layout"}, 2, "Missing value"},
        {with(good, output, {"--to", "doc"}), 2, "--to takes text, html or pdf, not doc"},
        {with(good, output, {"value"}), 2, "takes no NAME: value"},
        {with(good, output, {"--entry", "3"}), 2, "Unknown option"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.says);
        writeFileBytes(output, "precious");
        EXPECT_EQ(run(c.args), c.status);
        EXPECT_TRUE(err.contains(QString::fromUtf8(c.says))) << err.toStdString();
        EXPECT_EQ(fileText(output), "precious");
        EXPECT_TRUE(out.isEmpty());
    }
    // Another program has the collection.
    const auto lock = db::FolderLock::take(path("stamp.mdb"));
    EXPECT_EQ(run(with(good, path("locked.txt"))), 1);
    EXPECT_FALSE(QFile::exists(path("locked.txt")));
}

TEST(LayoutCommand, IsRecognisedByItsOption) {
    EXPECT_TRUE(isLayoutReportCommand({"perlinex", "report", "--layout", "a.rpt"}));
    EXPECT_TRUE(isLayoutReportCommand({"perlinex", "report", "--to", "pdf", "--layout=a.rpt"}));
    EXPECT_FALSE(isLayoutReportCommand({"perlinex", "report", "value", "--to", "pdf"}));
    EXPECT_FALSE(isLayoutReportCommand({"perlinex", "check", "--layout", "a.rpt"}));
}

TEST_F(LayoutCommandTest, ACatalogueRowThatNamesAnotherTableIsLeftOutAndSaid) {
    // Once such a row made a report of the country table.
    db::createCatalogue(path("rptspec.mdb"));
    db::openDatabaseFile(path("rptspec.mdb"), db::OpenMode::Shared)
        ->execute("update RptSpec set fieldname = 'Coudesc from country --' where specid = 1");
    Layout l = layoutOf({spec::Description, spec::Year});
    l.target = Target::TextFile;
    const QString output = path("out.txt");
    ASSERT_EQ(run(with(save(l), output)), 0) << err.toStdString();
    EXPECT_TRUE(err.contains("row 1 (Description)")) << err.toStdString();
    const QString written = fileText(output);
    EXPECT_FALSE(written.contains("Sweden")) << written.toStdString();
    EXPECT_TRUE(written.contains("1840")) << written.toStdString();
    EXPECT_EQ(written.count("\r\n"), 8); // the years of the eight stamps, one a line
}
