#include "fixedreports_support.h"
#include "reports_support.h"

#include "db/sqlite/collectionfile.h"
#include "regional/regional.h"
#include "reports/fixedreports.h"
#include "reports/moneyformat.h"
#include "reports/reportcommand.h"
#include "reports/reportdefinitions.h"
#include "ui/program.h"

#include <QApplication>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

using namespace perlinex;
using namespace perlinex::reports;

namespace {

class ReportCommandTest : public TempFolderTest {
protected:
    QString out, err;
    void SetUp() override {
        TempFolderTest::SetUp();
        makeReportCollection(path(QStringLiteral("stamp.mdb")))->close();
    }
    int run(QStringList args, bool withFolder = true) {
        out.clear();
        err.clear();
        QTextStream o(&out), e(&err);
        args.prepend(QStringLiteral("report"));
        args.prepend(QStringLiteral("perlinex"));
        if (withFolder)
            args << QStringLiteral("--folder") << dir.path();
        return runReportCommand(args, o, e);
    }
};

} // namespace

TEST_F(ReportCommandTest, WritesTheFileTheMenuWrites) {
    // The menu's files first, while the window's program holds the collection.
    ScriptedDialogs dialogs;
    {
        Program program(dialogs, dir.path());
        program.settingsFile = path(QStringLiteral("settings.ini"));
        program.openCollection();
        FixedReports reports(program, nullptr);
        for (const ReportDefinition& d : reportDefinitions()) {
            for (const auto target : {ReportTarget::TextFile, ReportTarget::HtmlTable}) {
                program.reportTarget = target;
                dialogs.texts.push_back(path(
                    QStringLiteral("menu-%1.%2")
                        .arg(d.commandName, target == ReportTarget::TextFile ? "text" : "html")));
                if (isCategoryReport(d))
                    QTimer::singleShot(0, [] {
                        QApplication::activeModalWidget()
                            ->findChild<QPushButton*>(QStringLiteral("cmdOk"))
                            ->click();
                    });
                reports.run(d.id);
            }
        }
        program.closeCollection();
    }
    for (const ReportDefinition& d : reportDefinitions()) {
        for (const char* target : {"text", "html"}) {
            SCOPED_TRACE(QStringLiteral("%1 %2").arg(d.commandName, target).toStdString());
            const QString file = path(QStringLiteral("cli-%1.%2").arg(d.commandName, target));
            ASSERT_EQ(run({QString::fromLatin1(d.commandName), QStringLiteral("--to"),
                           QString::fromLatin1(target), QStringLiteral("--output"), file}),
                      0)
                << err.toStdString();
            EXPECT_EQ(fileText(file),
                      fileText(path(QStringLiteral("menu-%1.%2").arg(d.commandName, target))));
            EXPECT_NE(fileText(file), QStringLiteral("<none>"));
        }
    }
    const QString sweden = path(QStringLiteral("sweden.txt"));
    EXPECT_EQ(
        run({QStringLiteral("country"), QStringLiteral("--entry"), QStringLiteral("2"),
             QStringLiteral("--to"), QStringLiteral("text"), QStringLiteral("--output"), sweden}),
        0);
    EXPECT_EQ(fileText(sweden), crlf({QStringLiteral("Sweden\tTab here  new line\t7\tabc\t1855\t1"),
                                      QStringLiteral("\t\t\t\t\t1")}));
}

TEST_F(ReportCommandTest, APdfHoldsThePreviewsPages) {
    const QString file = path(QStringLiteral("value.pdf"));
    ASSERT_EQ(run({QStringLiteral("value"), QStringLiteral("--to"), QStringLiteral("pdf"),
                   QStringLiteral("--output"), file}),
              0)
        << err.toStdString();
    EXPECT_EQ(pdfPageCount(file), 1);
}

TEST_F(ReportCommandTest, NothingFoundOrACollectionInUseFailsAndLeavesTheFileAlone) {
    const QString file = path(QStringLiteral("old.txt"));
    writeFileText(file, "old");
    {
        auto db = db::openCollection(path(QStringLiteral("stamp.mdb")));
        db->execute(QStringLiteral("delete from stamp where wantlist"));
        // While another program holds the collection.
        EXPECT_EQ(run({QStringLiteral("wantlist"), QStringLiteral("--to"), QStringLiteral("text"),
                       QStringLiteral("--output"), file}),
                  1);
        EXPECT_TRUE(err.contains(QStringLiteral("in use"))) << err.toStdString();
    }
    EXPECT_EQ(run({QStringLiteral("wantlist"), QStringLiteral("--to"), QStringLiteral("html"),
                   QStringLiteral("--output"), file}),
              1);
    EXPECT_EQ(err, QStringLiteral("perlinex: You have not entered any want list stamps!\n"));
    EXPECT_EQ(
        run({QStringLiteral("country"), QStringLiteral("--entry"), QStringLiteral("99"),
             QStringLiteral("--to"), QStringLiteral("pdf"), QStringLiteral("--output"), file}),
        1);
    EXPECT_EQ(err, QStringLiteral("perlinex: There is no country number 99\n"));
    EXPECT_EQ(fileText(file), QStringLiteral("old"));
    EXPECT_EQ(run({QStringLiteral("value"), QStringLiteral("--to"), QStringLiteral("text"),
                   QStringLiteral("--output"), file, QStringLiteral("--folder"),
                   path(QStringLiteral("nowhere"))},
                  false),
              1);
    EXPECT_EQ(fileText(file), QStringLiteral("old"));
}

TEST_F(ReportCommandTest, WrongArgumentsGiveTheUsage) {
    const QString f = path(QStringLiteral("x.txt"));
    const QString to = QStringLiteral("--to");
    const QString output = QStringLiteral("--output");
    const QList<QStringList> cases = {
        {},
        {QStringLiteral("stamps"), to, QStringLiteral("text"), output, f},
        {QStringLiteral("value"), output, f},
        {QStringLiteral("value"), to, QStringLiteral("doc"), output, f},
        {QStringLiteral("value"), to, QStringLiteral("text")},
        {QStringLiteral("value"), QStringLiteral("extra"), to, QStringLiteral("text"), output, f},
        {QStringLiteral("value"), QStringLiteral("--bogus"), to, QStringLiteral("text"), output, f},
        {QStringLiteral("forsale"), QStringLiteral("--entry"), QStringLiteral("1"), to,
         QStringLiteral("text"), output, f},
        {QStringLiteral("topic"), QStringLiteral("--entry"), QStringLiteral("one"), to,
         QStringLiteral("text"), output, f},
    };
    for (const QStringList& args : cases) {
        SCOPED_TRACE(args.join(u' ').toStdString());
        EXPECT_EQ(run(args), 2);
        EXPECT_TRUE(err.contains(QStringLiteral("perlinex report NAME"))) << err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(f));
    }
}

// Money formatted by the layout read from the regional settings is the settings' own text.
TEST(MoneyFormatTest, WritesExactlyWhatTheRegionalSettingsWrite) {
    struct Case {
        QLocale locale;
        bool ownLayout;
    };
    const Case cases[] = {
        {QLocale(QLocale::English, QLocale::UnitedStates), true},
        {QLocale(QLocale::English, QLocale::UnitedKingdom), true},
        {QLocale(QLocale::German, QLocale::Germany), true},
        {QLocale(QLocale::French, QLocale::France), true},
        {QLocale(QLocale::German, QLocale::Switzerland), true},
        {QLocale(QLocale::Japanese, QLocale::Japan), true},
        {QLocale(QLocale::English, QLocale::India), false}, // groups of two
        {QLocale(QLocale::Arabic, QLocale::Egypt), false},  // digits other than 0-9
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.locale.name().toStdString());
        const regional::Regional regional(c.locale);
        const MoneyFormat money(regional);
        EXPECT_EQ(money.isOwnLayout(), c.ownLayout);
        for (std::int64_t raw = -2000000000000LL; raw < 2000000000000LL; raw += 7777777777LL) {
            for (const std::int64_t a : {raw, raw / 1000, raw / 100000 + 49, raw / 10000000}) {
                const Currency amount = Currency::fromRaw(a);
                ASSERT_EQ(money.format(amount), regional.formatCurrency(amount)) << a;
            }
        }
    }
}
