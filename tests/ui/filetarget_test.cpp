#include "ui/filetarget.h"

#include "support/scripted_dialogs.h"

#include <QDialog>
#include <QMainWindow>
#include <QStatusBar>
#include <gtest/gtest.h>

using namespace perlinex;

TEST(ReportFileName, TheReportsNameWithNothingAFileNameCannotHold) {
    const std::pair<const char*, const char*> cases[] = {
        {"Stamps For Sale", "Stamps For Sale"},
        {"  Gum/Paper\\Perf  ", "Gum-Paper-Perf"},
        {"Line\nbreak", "Line-break"},
        {"..", "Report"},
        {"", "Report"},
    };
    for (const auto& [name, file] : cases)
        EXPECT_EQ(reportFileName(QString::fromUtf8(name)).toStdString(), file) << name;
}

TEST(TellFileWritten, InTheStatusBarOfAMainWindowElseInAMessage) {
    ScriptedDialogs dialogs;
    QMainWindow main;
    tellFileWritten(dialogs, &main, QStringLiteral("/tmp/a.txt"), 1);
    EXPECT_EQ(main.statusBar()->currentMessage(), QStringLiteral("1 stamp written to /tmp/a.txt"));
    EXPECT_TRUE(dialogs.prompts.empty());
    QDialog preview;
    tellFileWritten(dialogs, &preview, QStringLiteral("/tmp/a.pdf"), 3);
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_EQ(dialogs.prompts[0].text, QStringLiteral("3 stamps written to /tmp/a.pdf"));
    EXPECT_EQ(dialogs.prompts[0].icon, Icon::Information);
}
