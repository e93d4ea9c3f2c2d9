// No two visible controls or menu items of a window share an Alt+letter: where two do, the
// letter reaches neither reliably, and a reflexive Alt+C may not cancel at all.
#include "main_window_fixture.h"
#include "window_keys.h"

#include "app/frmabout.h"
#include "app/frmbackup.h"
#include "app/helpviewer.h"
#include "codes/frmcodesmaint.h"
#include "dates/frmdateent.h"
#include "find/frmfind.h"
#include "reports/frmoutput.h"
#include "reports/frmrptsel.h"

#include <QApplication>
#include <QListWidget>
#include <QPointer>
#include <QTabWidget>

namespace {

// Every page of a tab widget in turn.
void everyPage(QTabWidget* tabs, const std::function<void(int)>& check) {
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        check(i);
    }
}

} // namespace

TEST_F(MainWindowTest, Mnemonics_NoTwoVisibleControlsOrMenuItemsOfAWindowShareALetter) {
    QStringList found;
    const auto check = [&](QWidget* window, const QString& where) {
        QApplication::processEvents();
        for (const QString& c : windowkeys::clashesIn(window))
            found << where + QStringLiteral(": ") + c;
    };
    const auto checkMenus = [&](QWidget* window) {
        for (const QMenu* menu : windowkeys::menusOf(window))
            found << windowkeys::clashesInMenu(menu);
    };

    open({});
    auto* tabs = find<QTabWidget>("SSTab1");
    const auto mainWindow = [&](const QString& mode) {
        everyPage(tabs, [&](int page) {
            check(w.get(), QStringLiteral("main window %1, page %2").arg(mode).arg(page));
        });
    };
    mainWindow(QStringLiteral("empty"));
    click("cmdAddNew");
    mainWindow(QStringLiteral("adding"));
    type("txtDescr", QStringLiteral("Penny Black"));
    click("cmdUpdate");
    mainWindow(QStringLiteral("browsing"));
    checkMenus(w.get());
    type("txtColor", QStringLiteral("black"));
    mainWindow(QStringLiteral("editing"));
    checkMenus(w.get());
    click("cmdCancel");

    {
        frmCodesMaint codes(*program);
        codes.showTable(3);
        check(&codes, QStringLiteral("code table browsing"));
        QTest::keyClicks(codes.findChild<QLineEdit*>(QStringLiteral("txtDesc")), "x");
        check(&codes, QStringLiteral("code table editing"));
        QTest::mouseClick(codes.findChild<QPushButton*>(QStringLiteral("cmdCancel")),
                          Qt::LeftButton);
        QTest::mouseClick(codes.findChild<QPushButton*>(QStringLiteral("cmdAddNew")),
                          Qt::LeftButton);
        check(&codes, QStringLiteral("code table adding"));
        QTest::mouseClick(codes.findChild<QPushButton*>(QStringLiteral("cmdCancel")),
                          Qt::LeftButton);
        program->CollectionDb->execute(QStringLiteral("delete from gum"));
        codes.showTable(5);
        check(&codes, QStringLiteral("code table empty"));
    }
    {
        frmFind findDialog(*program, w.get());
        findDialog.show();
        auto* fields = findDialog.findChild<QListWidget*>(QStringLiteral("lstField"));
        for (int row = 0; row < fields->count(); ++row) {
            fields->setCurrentRow(row);
            check(&findDialog, QStringLiteral("find dialog on ") + fields->item(row)->text());
        }
    }
    {
        frmDateEnt calendar(*program, w.get());
        calendar.show();
        check(&calendar, QStringLiteral("calendar"));
    }
    {
        reports::frmRptSel selection(*program, 3, w.get());
        selection.show();
        check(&selection, QStringLiteral("report selection"));
    }
    {
        reports::frmOutput preview(dialogs, w.get());
        preview.show();
        check(&preview, QStringLiteral("preview"));
    }
    {
        frmBackup backupWindow(*program, w.get());
        backupWindow.show();
        check(&backupWindow, QStringLiteral("backup window"));
    }
    check(showAbout(w.get()), QStringLiteral("about"));
    {
        HelpViewer help;
        help.show();
        help.showContents();
        check(&help, QStringLiteral("help viewer"));
        help.showSearch();
        check(&help, QStringLiteral("help viewer searching"));
    }

    act("mnuRptCustom")->trigger();
    QPointer<QWidget> designer;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == QLatin1String("frmRptSpec") && top->isVisible())
            designer = top;
    ASSERT_TRUE(designer);
    auto* designerTabs = designer->findChild<QTabWidget*>(QStringLiteral("Tab1"));
    everyPage(designerTabs,
              [&](int page) { check(designer, QStringLiteral("designer page %1").arg(page)); });
    // Each kind of field shows its own criteria.
    designerTabs->setCurrentIndex(0);
    auto* available = designer->findChild<QListWidget*>(QStringLiteral("List1"));
    auto* chosen = designer->findChild<QListWidget*>(QStringLiteral("List2"));
    while (available->count() > 0) {
        available->setCurrentRow(0);
        QTest::mouseClick(designer->findChild<QPushButton*>(QStringLiteral("cmdAdd")),
                          Qt::LeftButton);
    }
    for (int row = 0; row < chosen->count(); ++row) {
        chosen->setCurrentRow(row);
        check(designer, QStringLiteral("designer on ") + chosen->item(row)->text());
    }
    checkMenus(designer);
    designer->setAttribute(Qt::WA_DeleteOnClose);
    dialogs.answers = {Answer::No}; // no save of the layout
    designer->close();

    found.removeDuplicates();
    EXPECT_TRUE(found.isEmpty()) << found.join(QLatin1Char('\n')).toStdString();
}
