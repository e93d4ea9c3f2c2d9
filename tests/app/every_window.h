#pragma once

// Every window of the program in each of its states, as a user meets them: the main window
// on every page (empty, adding, browsing, editing), the code tables, the find dialog, the
// calendar, the report selection, the preview, the backup window, the about window, the help,
// the designer on every page and kind of field, and the statistics window on every page.
#include "main_window_fixture.h"

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
#include <functional>

class EveryWindowTest : public MainWindowTest {
protected:
    using Look = std::function<void(QWidget* window, const QString& where)>;

    // Every page of a tab widget in turn.
    static void everyPage(QTabWidget* tabs, const std::function<void(int)>& look) {
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            look(i);
        }
    }

    static QWidget* shownWindow(const char* name) {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == QLatin1String(name) && top->isVisible())
                return top;
        return nullptr;
    }

    // Walks every window on a new collection: look sees each window in each state (after
    // the events are handled), lookMenus each window that has a menu bar.
    void walkEveryWindow(const Look& seen, const std::function<void(QWidget*)>& lookMenus) {
        const Look look = [&](QWidget* window, const QString& where) {
            QApplication::processEvents();
            seen(window, where);
        };
        open({});
        auto* tabs = find<QTabWidget>("SSTab1");
        const auto mainWindow = [&](const QString& mode) {
            everyPage(tabs, [&](int page) {
                look(w.get(), QStringLiteral("main window %1, page %2").arg(mode).arg(page));
            });
        };
        mainWindow(QStringLiteral("empty"));
        click("cmdAddNew");
        mainWindow(QStringLiteral("adding"));
        type("txtDescr", QStringLiteral("Penny Black"));
        click("cmdUpdate");
        mainWindow(QStringLiteral("browsing"));
        lookMenus(w.get());
        type("txtColor", QStringLiteral("black"));
        mainWindow(QStringLiteral("editing"));
        lookMenus(w.get());
        click("cmdCancel");

        {
            frmCodesMaint codes(*program);
            codes.showTable(3);
            look(&codes, QStringLiteral("code table browsing"));
            QTest::keyClicks(codes.findChild<QLineEdit*>(QStringLiteral("txtDesc")), "x");
            look(&codes, QStringLiteral("code table editing"));
            QTest::mouseClick(codes.findChild<QPushButton*>(QStringLiteral("cmdCancel")),
                              Qt::LeftButton);
            QTest::mouseClick(codes.findChild<QPushButton*>(QStringLiteral("cmdAddNew")),
                              Qt::LeftButton);
            look(&codes, QStringLiteral("code table adding"));
            QTest::mouseClick(codes.findChild<QPushButton*>(QStringLiteral("cmdCancel")),
                              Qt::LeftButton);
            program->CollectionDb->execute(QStringLiteral("delete from gum"));
            codes.showTable(5);
            look(&codes, QStringLiteral("code table empty"));
        }
        {
            frmFind findDialog(*program, w.get());
            findDialog.show();
            auto* fields = findDialog.findChild<QListWidget*>(QStringLiteral("lstField"));
            for (int row = 0; row < fields->count(); ++row) {
                fields->setCurrentRow(row);
                look(&findDialog, QStringLiteral("find dialog on ") + fields->item(row)->text());
            }
        }
        {
            frmDateEnt calendar(*program, w.get());
            calendar.show();
            look(&calendar, QStringLiteral("calendar"));
        }
        {
            reports::frmRptSel selection(*program, 3, w.get());
            selection.show();
            look(&selection, QStringLiteral("report selection"));
        }
        {
            reports::frmOutput preview(dialogs, w.get());
            preview.show();
            look(&preview, QStringLiteral("preview"));
        }
        {
            frmBackup backupWindow(*program, w.get());
            backupWindow.show();
            look(&backupWindow, QStringLiteral("backup window"));
        }
        look(showAbout(w.get()), QStringLiteral("about"));
        {
            HelpViewer help;
            help.show();
            help.showContents();
            look(&help, QStringLiteral("help viewer"));
            help.showSearch();
            look(&help, QStringLiteral("help viewer searching"));
        }

        act("mnuRptCustom")->trigger();
        QPointer<QWidget> designer;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == QLatin1String("frmRptSpec") && top->isVisible())
                designer = top;
        ASSERT_TRUE(designer);
        auto* designerTabs = designer->findChild<QTabWidget*>(QStringLiteral("Tab1"));
        everyPage(designerTabs,
                  [&](int page) { look(designer, QStringLiteral("designer page %1").arg(page)); });
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
            look(designer, QStringLiteral("designer on ") + chosen->item(row)->text());
        }
        lookMenus(designer);
        designer->setAttribute(Qt::WA_DeleteOnClose);
        dialogs.answers = {Answer::No}; // no save of the layout
        designer->close();
        act("mnuRptStats")->trigger();
        QPointer<QWidget> statistics = shownWindow("frmStats");
        ASSERT_TRUE(statistics);
        for (QTabWidget* tabs : statistics->findChildren<QTabWidget*>())
            everyPage(tabs, [&](int page) {
                look(statistics, QStringLiteral("statistics page %1").arg(page));
            });
        statistics->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};
