#include "browse/listcommand.h"
#include "browse/stamplistmodel.h"
#include "browse_support.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace perlinex;
using namespace perlinex::browse;
using db::Value;

namespace {

struct Listed {
    int status;
    QStringList lines;
    QString err;
};

class ListCommandTest : public BrowserTest {
protected:
    Listed list(const QStringList& options) {
        QString out, err;
        QTextStream o(&out), e(&err);
        const int status = runListCommand(
            QStringList{QStringLiteral("perlinex"), QStringLiteral("list")} + options, o, e);
        o.flush();
        e.flush();
        return {status, out.split(QLatin1Char('\n'), Qt::SkipEmptyParts), err};
    }
    Listed listHere(QStringList options) {
        db->close();
        return list(options << QStringLiteral("--folder") << dir.path());
    }
};

} // namespace

// Scripts see what the user sees: the command prints the pane's own rows.
TEST_F(ListCommandTest, PrintsTheRowsThePaneShows) {
    addStamp(QStringLiteral("Penny Black"), QStringLiteral("SG 1"),
             {{QStringLiteral("pricepaid"), Value(Currency::fromRaw(12345600))},
              {QStringLiteral("used"), Value(true)},
              {QStringLiteral("notes"), Value(QStringLiteral("Österreich"))}});
    addStamp(QStringLiteral("Tab\there"), QStringLiteral("SG 2"));
    addStamp(QStringLiteral("Mulready"), QStringLiteral("ME 1"));
    QStringList pane;
    {
        open();
        StampListModel model(*browser, regional);
        pane << model.headings().join(QLatin1Char('\t'));
        for (int row = 0; row < model.rowCount(); ++row)
            pane << model.rowTexts(row).join(QLatin1Char('\t'));
        browser->close();
    }
    const Listed all = listHere({});
    ASSERT_EQ(all.status, 0) << all.err.toStdString();
    ASSERT_EQ(all.lines.size(), 4);
    EXPECT_EQ(all.lines[0], pane[0]);
    EXPECT_EQ(all.lines[1], pane[1]);
    EXPECT_TRUE(all.lines[3].startsWith(QStringLiteral("Tab here\tSG 2\t")));
    EXPECT_EQ(all.lines[2].split(QLatin1Char('\t')).value(7), QStringLiteral("$1,234.56"));
    EXPECT_EQ(all.lines[2].split(QLatin1Char('\t')).value(9), StampListModel::mark());

    struct Case {
        QStringList options;
        QStringList firstColumn;
    };
    const std::vector<Case> cases = {
        {{"--filter", "OSTERREICH"}, {"Penny Black"}},
        {{"--filter", "sg"}, {"Penny Black", "Tab here"}},
        {{"--sort", "catalog"}, {"Mulready", "Penny Black", "Tab here"}},
        {{"--sort", "-catnum"}, {"Tab here", "Penny Black", "Mulready"}},
        {{"--sort", "Price Paid", "--filter", "sg"}, {"Tab here", "Penny Black"}},
        {{"--filter", "nothing"}, {}},
    };
    for (const Case& c : cases) {
        const Listed l = list(c.options + QStringList{QStringLiteral("--folder"), dir.path()});
        EXPECT_EQ(l.status, 0);
        QStringList first;
        for (const QString& line : l.lines.mid(1))
            first << line.section(QLatin1Char('\t'), 0, 0);
        EXPECT_EQ(first, c.firstColumn) << c.options.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(l.lines.value(0), all.lines[0]);
    }
}

TEST_F(ListCommandTest, WrongArgumentsAndMissingCollections) {
    struct Case {
        QStringList options;
        int status;
        const char* says;
    };
    const QString nowhere = dir.filePath(QStringLiteral("nowhere"));
    const std::vector<Case> cases = {
        {{"--sort", "colour of the sky"}, 2, "--sort takes"},
        {{"extra"}, 2, "list takes no words"},
        {{"--bogus"}, 2, "bogus"},
        {{"--folder", nowhere}, 1, "nowhere"},
    };
    db->close();
    for (const Case& c : cases) {
        const Listed l = list(c.options);
        EXPECT_EQ(l.status, c.status) << c.says;
        EXPECT_TRUE(l.err.contains(QLatin1String(c.says))) << l.err.toStdString();
        EXPECT_TRUE(l.lines.isEmpty());
    }
    EXPECT_FALSE(QDir(nowhere).exists());
}
