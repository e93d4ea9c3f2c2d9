// The program as the desktop starts it: a double click on a layout file names the file on the
// command line, and every window shows the program's icon.
#include "app/commandline.h"
#include "app/frmabout.h"
#include "custom/custom_support.h"
#include "custom/frmrptspec.h"
#include "custom/layoutfile.h"
#include "main_window_fixture.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QImage>
#include <QPointer>

using namespace perlinex::custom;

namespace {

frmRptSpec* openDesigner() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* designer = qobject_cast<frmRptSpec*>(w); designer && designer->isVisible())
            return designer;
    return nullptr;
}

} // namespace

TEST(CommandLine, ALayoutFileIsForTheDesignerAndAFolderStaysAFolder) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("old.rpt")));
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path());
    const QString here = QDir::currentPath();
    struct Case {
        QString argument;
        QString folder;
        QString layoutFile;
    };
    const Case cases[] = {
        {"forsale.rpt", "", here + "/forsale.rpt"}, // relative, made absolute
        {"/layouts/Sold.RPT", "", "/layouts/Sold.RPT"},
        {"old.rpt", "old.rpt", ""}, // a folder that happens to be named so
        {"stamps", "stamps", ""},
        {"stamps.rpt.d", "stamps.rpt.d", ""},
    };
    for (const Case& c : cases) {
        const app::CommandLine command = app::parseCommandLine({"perlinex", c.argument});
        EXPECT_EQ(command.action, app::CommandLine::Action::OpenWindow) << c.argument.toStdString();
        EXPECT_EQ(command.folder, c.folder) << c.argument.toStdString();
        EXPECT_EQ(command.layoutFile, c.layoutFile) << c.argument.toStdString();
    }
    QDir::setCurrent(before);
    // Only the one argument: a layout file beside anything else is wrong arguments.
    EXPECT_EQ(app::parseCommandLine({"perlinex", "stamps", "forsale.rpt"}).action,
              app::CommandLine::Action::RunCommand);
}

TEST_F(MainWindowTest, ALayoutFileNamedAtTheStartOpensInTheDesigner) {
    open({{"Penny Black", "1"}});
    Layout saved = layoutOf({spec::Country, spec::Description});
    saved.title = "For the club";
    saved.target = Target::WebTable;
    const QString file = dir.filePath("club.rpt");
    writeFileBytes(file, writeLayout(saved));

    w->customReports(file);
    QPointer<frmRptSpec> designer = openDesigner();
    ASSERT_TRUE(designer);
    EXPECT_EQ(designer->layout(), saved);
    EXPECT_EQ(designer->layoutFile(), file);
    EXPECT_FALSE(designer->isLayoutChanged());
    EXPECT_EQ(designer->windowTitle(),
              "Custom Report - " + QDir::toNativeSeparators(dir.filePath("club")));
    EXPECT_TRUE(dialogs.prompts.empty()) << dialogs.messageTexts().join('\n').toStdString();
}

TEST_F(MainWindowTest, ALayoutFileThatCannotBeReadIsSaidAndTheDesignerStaysEmpty) {
    open({{"Penny Black", "1"}});
    const QString missing = dir.filePath("gone.rpt");
    const QString invalid = dir.filePath("notes.rpt");
    writeFileBytes(invalid, "not a layout\r\n");
    struct Case {
        QString file;
        QString saying;
    };
    const Case cases[] = {
        {missing, "The report file '" + QDir::toNativeSeparators(missing) + "' could not be read"},
        {invalid, "This does not appear to be a valid report file for this program."},
    };
    for (const Case& c : cases) {
        dialogs.prompts.clear();
        w->customReports(c.file);
        frmRptSpec* designer = openDesigner();
        ASSERT_TRUE(designer);
        EXPECT_TRUE(designer->layoutFile().isEmpty()) << c.file.toStdString();
        EXPECT_TRUE(designer->layout().fields.isEmpty()) << c.file.toStdString();
        EXPECT_EQ(designer->windowTitle(), "Custom Report");
        ASSERT_EQ(dialogs.prompts.size(), 1u) << c.file.toStdString();
        EXPECT_TRUE(dialogs.prompts[0].text.startsWith(c.saying))
            << dialogs.prompts[0].text.toStdString();
    }
}

// The icon is drawn from its SVG by Qt's SVG plugins: without them, or without the resource,
// every window would have none.
TEST(ProgramIcon, DrawsThePerforatedStampAtEverySize) {
    const QIcon icon = programIcon();
    ASSERT_FALSE(icon.isNull());
    for (int size : {16, 24, 32, 48, 64, 256}) {
        const QImage image = icon.pixmap(size).toImage();
        ASSERT_EQ(image.size(), QSize(size, size)) << size;
        // The stamp is upright: paper in the middle, nothing in the corners beside it.
        EXPECT_EQ(qAlpha(image.pixel(size / 2, size / 2)), 255) << size;
        EXPECT_EQ(qAlpha(image.pixel(0, size / 2)), 0) << size;
        EXPECT_EQ(qAlpha(image.pixel(size - 1, 0)), 0) << size;
    }
}
