#include "app/helpviewer.h"
#include "support/scripted_dialogs.h"
#include "ui/program.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QTextBrowser>
#include <gtest/gtest.h>

using namespace perlinex;

namespace {

QString pageText(const QString& name) {
    QFile file(QStringLiteral(":/help/") + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    return QString::fromUtf8(file.readAll());
}

QStringList helpPages() {
    return QDir(QStringLiteral(":/help")).entryList({QStringLiteral("*.html")}, QDir::Files);
}

class HelpViewerTest : public ::testing::Test {
protected:
    HelpViewer viewer;
    QTextBrowser* page() { return viewer.findChild<QTextBrowser*>(QStringLiteral("txtHelpPage")); }
    QString shownTitle() { return page()->documentTitle(); }
    void click(const char* name) {
        auto* button = viewer.findChild<QPushButton*>(QString::fromLatin1(name));
        ASSERT_NE(button, nullptr) << name;
        QTest::mouseClick(button, Qt::LeftButton);
    }
};

} // namespace

TEST_F(HelpViewerTest, Context_EveryNumberOpensThePageOfItsTable_UnknownShowsContents) {
    const std::pair<int, const char*> topics[] = {
        {20, "Conditions"}, {48, "Cancellations"}, {49, "Countries"}, {50, "Formats"}, {51, "Gum"},
        {52, "Papers"},     {53, "Perforations"},  {54, "Types"},     {55, "Topics"},
    };
    for (const auto& [context, title] : topics) {
        viewer.showContext(context);
        EXPECT_NE(viewer.currentPage(), "index.html") << context;
        EXPECT_TRUE(shownTitle().endsWith(QString::fromLatin1(title)))
            << context << " shows " << shownTitle().toStdString();
    }
    for (int unknown : {0, 1, 21, 999, -5}) {
        viewer.showContext(unknown);
        EXPECT_EQ(viewer.currentPage(), "index.html") << unknown;
    }
    EXPECT_TRUE(viewer.isVisible());
}

TEST(HelpPages, EveryLinkResolvesAndContentsReachesEveryPage) {
    const QStringList pages = helpPages();
    ASSERT_GE(pages.size(), 20);
    const QRegularExpression link(QStringLiteral(R"re((?:href|src)\s*=\s*"([^"]*)")re"));
    const QRegularExpression anchor(QStringLiteral(R"re(<a\s+name\s*=\s*"([^"]+)")re"));
    for (const QString& name : pages) {
        const QString html = pageText(name);
        EXPECT_TRUE(html.contains("<title>")) << name.toStdString();
        for (auto m = link.globalMatch(html); m.hasNext();) {
            const QString target = m.next().captured(1);
            const QString where = name + " -> " + target;
            ASSERT_FALSE(target.isEmpty()) << where.toStdString();
            EXPECT_FALSE(target.contains(':')) << "not a help resource: " << where.toStdString();
            const QString file = target.section('#', 0, 0);
            const QString fragment = target.section('#', 1);
            const QString resolved = file.isEmpty() ? name : file;
            ASSERT_TRUE(QFile::exists(":/help/" + resolved)) << where.toStdString();
            if (!fragment.isEmpty()) {
                QStringList names;
                for (auto a = anchor.globalMatch(pageText(resolved)); a.hasNext();)
                    names << a.next().captured(1);
                EXPECT_TRUE(names.contains(fragment)) << where.toStdString();
            }
        }
    }
    QSet<QString> linked;
    const QString contents = pageText("index.html");
    for (auto m = link.globalMatch(contents); m.hasNext();)
        linked.insert(m.next().captured(1).section('#', 0, 0));
    linked.insert("index.html");
    for (const QString& name : pages)
        EXPECT_TRUE(linked.contains(name)) << "contents misses " << name.toStdString();
}

TEST_F(HelpViewerTest, Search_ListsPagesHoldingEveryWordWithoutRegardToCase) {
    auto* field = viewer.findChild<QLineEdit*>(QStringLiteral("txtHelpSearch"));
    auto* results = viewer.findChild<QListWidget*>(QStringLiteral("lstHelpResults"));
    viewer.show();
    QTest::keyClicks(field, "STAMPDB.BAK");
    QStringList titles;
    for (int i = 0; i < results->count(); ++i)
        titles << results->item(i)->text();
    EXPECT_TRUE(titles.contains("Compacting the Collection (Pack Database)"))
        << titles.join(", ").toStdString();

    // Every word must occur: adding a word no page has empties the list.
    EXPECT_TRUE(viewer.search("stampdb.bak").contains("compact.html"));
    EXPECT_TRUE(viewer.search("Perforation GAUGE").contains("code-perforations.html"));
    EXPECT_FALSE(viewer.search("perforation gauge").contains("backup.html"));
    EXPECT_TRUE(viewer.search("stampdb.bak qwertyuiop").isEmpty());
    EXPECT_TRUE(viewer.search("   ").isEmpty());
    field->clear();
    EXPECT_EQ(results->count(), 0);

    // A result opens its page.
    QTest::keyClicks(field, "restore");
    ASSERT_GT(results->count(), 0);
    QListWidgetItem* backup = nullptr;
    for (int i = 0; i < results->count(); ++i)
        if (results->item(i)->text() == "Backup and Restore")
            backup = results->item(i);
    ASSERT_NE(backup, nullptr);
    QTest::mouseClick(results->viewport(), Qt::LeftButton, {},
                      results->visualItemRect(backup).center());
    EXPECT_EQ(viewer.currentPage(), "backup.html");
}

TEST_F(HelpViewerTest, OpensOnContents_ContentsBackAndForwardFollowTheHistory) {
    EXPECT_EQ(viewer.windowTitle(), "Perlinex Help");
    EXPECT_EQ(viewer.currentPage(), "index.html");
    viewer.showPage("find.html");
    EXPECT_EQ(viewer.currentPage(), "find.html");
    viewer.showPage("reports.html#category");
    EXPECT_EQ(viewer.currentPage(), "reports.html");
    click("cmdContents");
    EXPECT_EQ(viewer.currentPage(), "index.html");
    click("cmdBack");
    EXPECT_EQ(viewer.currentPage(), "reports.html");
    click("cmdBack");
    EXPECT_EQ(viewer.currentPage(), "find.html");
    click("cmdForward");
    EXPECT_EQ(viewer.currentPage(), "reports.html");

    viewer.showPage("no-such-page.html");
    EXPECT_EQ(viewer.currentPage(), "index.html");
    viewer.showPage(":/help/files.html");
    EXPECT_EQ(viewer.currentPage(), "files.html");
}

TEST(HelpInstall, ProgramHooksShareOneViewer) {
    ScriptedDialogs dialogs;
    Program program(dialogs, QDir::tempPath());
    installHelp(program);
    const auto viewers = [] {
        QList<HelpViewer*> found;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* v = qobject_cast<HelpViewer*>(w))
                found << v;
        return found;
    };
    const qsizetype before = viewers().size();

    program.showHelpContext(49);
    ASSERT_EQ(viewers().size(), before + 1);
    HelpViewer* viewer = viewers().back();
    EXPECT_EQ(viewer->objectName(), "frmHelp");
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->currentPage(), "code-countries.html");

    program.showHelpPage(program.HelpFile);
    EXPECT_EQ(viewer->currentPage(), "index.html");
    program.showHelpPage(HelpUsingPage);
    EXPECT_EQ(viewer->currentPage(), "usinghelp.html");
    program.showHelpPage(HelpSearchPage);
    EXPECT_EQ(viewer->focusWidget(), viewer->findChild<QLineEdit*>("txtHelpSearch"));
    EXPECT_EQ(viewers().size(), before + 1);

    // The viewer goes with the program's hooks.
    program.showHelpContext = nullptr;
    program.showHelpPage = nullptr;
    EXPECT_EQ(viewers().size(), before);
}
