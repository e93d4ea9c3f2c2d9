#include "custom_support.h"

#include "custom/customreport.h"
#include "custom/layoutcommand.h"
#include "custom/layoutfile.h"
#include "custom/reportplan.h"
#include "db/folderlock.h"
#include "regional/regional.h"

#include <QDir>
#include <QRegularExpression>
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
        makeCustomCollection(path("stamp.mdb"))->close();
    }
    int run(QStringList args) {
        out.clear();
        err.clear();
        QTextStream o(&out), e(&err);
        args.prepend("report");
        args.prepend("perlinex");
        return runLayoutReportCommand(args, o, e);
    }
    QString saveLayout(const Layout& layout, const QString& name = "mine.rpt") {
        writeFileBytes(path(name), writeLayout(layout));
        return path(name);
    }
    QStringList with(const QString& layout, const QString& output, QStringList more = {}) {
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

TEST_F(LayoutCommandTest, WritesWhatTheWindowWrites) {
    const QString layout = saveLayout(sample());
    // The same plan and rows written directly, as Generate Report writes them.
    const regional::Regional regional;
    const PlanResult planned =
        planReport(sample(), shippedCatalogue().offeredFor("stamp"), regional);
    ASSERT_TRUE(planned.plan);
    for (const auto& [target, kind] : {std::pair{"text", reports::FileTarget::Text},
                                       std::pair{"html", reports::FileTarget::Html}}) {
        SCOPED_TRACE(target);
        const QString expected = path(QStringLiteral("expected.%1").arg(target));
        {
            auto db = db::openCollection(path("stamp.mdb"));
            CustomReportData data(*db, *planned.plan);
            writeReportFile(data, kind, expected, regional);
        }
        const QString file = path(QStringLiteral("cli.%1").arg(target));
        ASSERT_EQ(run(with(layout, file, {"--to", target})), 0) << err.toStdString();
        EXPECT_EQ(fileText(file), fileText(expected));
        EXPECT_EQ(out, QStringLiteral("Wrote %1 (2 stamps)\n").arg(file));
    }
}

TEST_F(LayoutCommandTest, TakesTheLayoutsTargetAndTheDefaultName) {
    const QString layout = saveLayout(sample());
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    const int status = run({"--layout", layout, "--folder", dir.path()});
    QDir::setCurrent(previous);
    ASSERT_EQ(status, 0) << err.toStdString();
    EXPECT_TRUE(fileText(path("stamp.htm")).startsWith("<html>"));

    Layout screen = sample();
    screen.target = Target::Screen;
    screen.orientation = Orientation::Landscape;
    const QString pdf = path("out.pdf");
    ASSERT_EQ(run(with(saveLayout(screen, "screen.rpt"), pdf)), 0) << err.toStdString();
    EXPECT_TRUE(fileText(pdf).startsWith("%PDF"));
}

TEST_F(LayoutCommandTest, ExitStatusSaysWhatHappened) {
    const QString good = saveLayout(sample());
    Layout empty = sample();
    empty.fields.clear();
    Layout hidden = sample();
    for (const int id : hidden.fields)
        hidden.setting(id).hideField = true;
    Layout bound = sample();
    bound.setting(spec::PricePaid).lessThan = "cheap";
    Layout none = sample();
    none.setting(spec::Description).startsWith = "zzz";
    writeFileBytes(path("invalid.rpt"), "stamp\r\nno more\r\n");
    const QString noFolder = path("nowhere");

    struct Case {
        const char* name;
        std::function<QStringList()> args;
        int status;
        const char* says; // part of what goes to standard error
    };
    const QString output = path("out.txt");
    const Case cases[] = {
        {"an invalid layout", [&] { return with(path("invalid.rpt"), output); }, 1,
         "This does not appear to be a valid report file for this program. (line 3"},
        {"no fields", [&] { return with(saveLayout(empty, "e.rpt"), output); }, 1,
         "You have not selected any fields"},
        {"no visible field", [&] { return with(saveLayout(hidden, "h.rpt"), output); }, 1,
         "hidden"},
        {"a bound that is not a number", [&] { return with(saveLayout(bound, "b.rpt"), output); },
         1, "\"cheap\""},
        {"nothing found", [&] { return with(saveLayout(none, "n.rpt"), output); }, 1,
         "No records have been entered"},
        {"a missing layout file", [&] { return with(path("missing.rpt"), output); }, 1,
         "could not be read"},
        {"no collection",
         [&] { return QStringList{"--layout", good, "--output", output, "--folder", noFolder}; }, 1,
         "there is no collection"},
        {"no --layout value", [&] { return QStringList{"--layout"}; }, 2, "Missing value"},
        {"a wrong target",
         [&] {
             return with(good, output, {"--to", "doc"});
         },
         2, "--to takes text, html or pdf, not doc"},
        {"a report name too", [&] { return with(good, output) << "value"; }, 2,
         "takes no NAME: value"},
        {"an unknown option",
         [&] {
             return with(good, output, {"--entry", "3"});
         },
         2, "Unknown option"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeFileBytes(output, "precious");
        EXPECT_EQ(run(c.args()), c.status);
        EXPECT_TRUE(err.contains(QString::fromUtf8(c.says))) << err.toStdString();
        EXPECT_EQ(fileText(output), "precious");
        EXPECT_TRUE(out.isEmpty());
    }
}

TEST_F(LayoutCommandTest, WaitsForNoOneWhileAnotherProgramHasTheCollection) {
    const QString layout = saveLayout(sample());
    const auto lock = db::FolderLock::take(path("stamp.mdb"));
    EXPECT_EQ(run(with(layout, path("out.txt"))), 1);
    EXPECT_FALSE(QFile::exists(path("out.txt")));
}

TEST(LayoutCommand, IsRecognisedByItsOption) {
    EXPECT_TRUE(isLayoutReportCommand({"perlinex", "report", "--layout", "a.rpt"}));
    EXPECT_TRUE(isLayoutReportCommand({"perlinex", "report", "--to", "pdf", "--layout=a.rpt"}));
    EXPECT_FALSE(isLayoutReportCommand({"perlinex", "report", "value", "--to", "pdf"}));
    EXPECT_FALSE(isLayoutReportCommand({"perlinex", "check", "--layout", "a.rpt"}));
}
