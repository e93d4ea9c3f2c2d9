// The main window as a user drives it with the keyboard, and through the File menu's long
// operations and a damaged collection: what a new user met and what must hold.
#include "main_window_fixture.h"

#include "db/sqlite/collectionfile.h"
#include "db/sqlite/maintenance.h"
#include "generator/generator.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTimer>

namespace {

// The control a focused widget belongs to: an editable list's own line edit counts as the list.
QString focusedControl(const QWidget* window) {
    for (QWidget* f = QApplication::focusWidget(); f; f = f->parentWidget()) {
        if (f == window)
            break;
        if (!f->objectName().isEmpty() && !f->objectName().startsWith(QLatin1String("qt_")))
            return f->objectName();
    }
    return QString();
}

} // namespace

TEST_F(MainWindowTest, StoreByShortcut_RunsTheCheckOfTheFieldThatHasTheFocus) {
    open({{"A", "1"}});
    find<QTabWidget>("SSTab1")->setCurrentIndex(1);
    type("txtQuantity", QStringLiteral("2"));
    leaveTo("txtPricePaid");
    type("txtPricePaid", QStringLiteral("7"));
    // Alt+U clicks Update while the focus stays in the price.
    QTest::keyClick(edit("txtPricePaid"), Qt::Key_U, Qt::AltModifier);
    ASSERT_SOON(browsing());
    db::Database& d = *program->CollectionDb;
    EXPECT_EQ(d.scalar(QStringLiteral("select pricepaid from stamp")).toCurrency(),
              Currency::fromInteger(7));
    EXPECT_EQ(d.scalar(QStringLiteral("select totalpaid from stamp")).toCurrency(),
              Currency::fromInteger(14));
    EXPECT_EQ(text("txtTotalPaid"), QStringLiteral("$14.00"));

    // A refused check stops the store, whichever way it was asked for.
    type("txtYear", QStringLiteral("abc"));
    QTest::keyClick(edit("txtYear"), Qt::Key_U, Qt::AltModifier);
    ASSERT_SOON(!dialogs.prompts.empty());
    EXPECT_EQ(dialogs.messageTexts().value(0),
              QStringLiteral("You must enter a number in the Year field, or leave it blank"));
    EXPECT_TRUE(w->isEditing());
    EXPECT_TRUE(edit("txtYear")->hasFocus());
    EXPECT_TRUE(d.scalar(QStringLiteral("select Year from stamp")).isNull());

    click("cmdCancel");
    click("cmdAddNew");
    type("txtDescr", QStringLiteral("B"));
    type("txtQuantity", QStringLiteral("x"));
    QTest::keyClick(edit("txtQuantity"), Qt::Key_A, Qt::AltModifier); // Add Another
    ASSERT_SOON(dialogs.prompts.size() == 2u);
    EXPECT_EQ(dialogs.messageTexts().value(1),
              QStringLiteral("You must enter a number in the Quantity field"));
    EXPECT_EQ(stampCount(), 1);
    EXPECT_TRUE(w->isAdding());
}

TEST_F(MainWindowTest, CodeList_OnlyKeysThatChangeItsValueStartAnEdit) {
    open({{"A", "1"}, {"B", "2"}});
    auto* cou = find<QComboBox>("cmbCou");
    const std::pair<int, Qt::KeyboardModifiers> harmless[] = {
        {Qt::Key_Shift, Qt::ShiftModifier}, {Qt::Key_Control, Qt::ControlModifier},
        {Qt::Key_Alt, Qt::AltModifier},     {Qt::Key_F1, Qt::NoModifier},
        {Qt::Key_Tab, Qt::NoModifier},      {Qt::Key_Backtab, Qt::ShiftModifier},
    };
    for (const auto& [key, modifiers] : harmless) {
        cou->setFocus();
        QTest::keyClick(cou, Qt::Key(key), modifiers);
        EXPECT_TRUE(browsing()) << "key " << key;
    }
    // Alt+N with the focus on a list moves to the next stamp.
    cou->setFocus();
    QTest::keyClick(cou, Qt::Key_N, Qt::AltModifier);
    EXPECT_SOON(text("txtDescr") == QStringLiteral("B"));
    EXPECT_TRUE(browsing());
    // Alt+F opens the File menu, with Exit available.
    QTest::keyClick(cou, Qt::Key_F, Qt::AltModifier);
    ASSERT_SOON(QApplication::activePopupWidget() != nullptr);
    QApplication::activePopupWidget()->close();
    EXPECT_TRUE(act("mnuExit")->isEnabled());
    EXPECT_TRUE(browsing());
    for (const auto& [key, text] : {std::pair{Qt::Key_Down, ""}, {Qt::Key_G, "g"}}) {
        click("cmdFirst");
        cou->setFocus();
        QTest::keyClick(cou, key);
        if (*text) {
            EXPECT_TRUE(browsing()) << "a typed letter only searches the list";
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        }
        EXPECT_TRUE(w->isEditing()) << text;
        click("cmdCancel");
    }
}

TEST_F(MainWindowTest, Tab_VisitsEveryControlOfEachPageOnceInReadingOrderAndLeavesIt) {
    open({{"A", "1"}});
    const QStringList pages[] = {
        {"cmbCou", "txtColor", "cmbType", "txtWatermark", "cmbForm", "txtErrors", "cmbPap",
         "dcIssued", "cmbCan", "cmbGum", "cmbPerf", "cmbTop"},
        {"txtPricePaid", "txtCatValue", "txtPriceAsk", "dcPurchased", "cmbCon", "dcDateSold",
         "chkForSale", "chkSold"},
        {"txtNotes", "txtMisc1", "txtMisc2"},
    };
    auto* tabs = find<QTabWidget>("SSTab1");
    for (int page = 0; page < 3; ++page) {
        tabs->setCurrentIndex(page);
        w->findChild<QWidget*>(pages[page].front())->setFocus(Qt::TabFocusReason);
        QStringList visited{focusedControl(w.get())};
        for (int i = 0; i < 30; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            const QString now = focusedControl(w.get());
            if (!tabs->widget(page)->isAncestorOf(QApplication::focusWidget()))
                break; // left the page
            visited << now;
        }
        EXPECT_EQ(visited, pages[page]) << "page " << page;
        EXPECT_FALSE(tabs->widget(page)->isAncestorOf(QApplication::focusWidget()));
        EXPECT_TRUE(browsing()) << "tabbing through a page is no edit";
    }
}

TEST_F(MainWindowTest, Look_ComputedTotalsShortListsAndAFixedWidth) {
    open({{"A", "1"}});
    for (const char* total : {"txtTotalPaid", "txtTotalVal", "txtTotalSales"}) {
        EXPECT_TRUE(edit(total)->isReadOnly()) << total;
        EXPECT_EQ(edit(total)->focusPolicy(), Qt::NoFocus) << total;
        EXPECT_NE(edit(total)->palette().color(QPalette::Base),
                  edit("txtPricePaid")->palette().color(QPalette::Base))
            << total << " looks editable";
    }
    EXPECT_EQ(find<QComboBox>("cmbCou")->maxVisibleItems(), 20);
    const int width = w->width();
    type("txtColor", QStringLiteral("red"));
    click("cmdUpdate");
    click("cmdAddNew");
    EXPECT_EQ(w->width(), width);
}

TEST_F(MainWindowTest, FileMenu_BackupRestoreAndPackLeaveTheMainWindowShowingARecord) {
    open({{"Penny Black", "SG 1"}, {"Zeppelin", "C 45"}});
    QTemporaryDir elsewhere;
    QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
    bool visibleMeanwhile = false;
    // Drives the modal Backup window: make a backup, then restore it, then close.
    auto driveBackup = [&](const char* button) {
        QTimer::singleShot(0, [&, button] {
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_NE(dialog, nullptr);
            visibleMeanwhile = w->isVisible();
            dialog->findChild<QPushButton*>(QLatin1String(button))->click();
            dialog->findChild<QPushButton*>(QStringLiteral("cmdClose"))->click();
        });
        act("mnuBackup")->trigger();
    };
    dialogs.texts = {elsewhere.path()};
    driveBackup("cmdBackup");
    const QStringList made = QDir(elsewhere.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_EQ(made.size(), 1);
    EXPECT_TRUE(visibleMeanwhile);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(text("txtDescr"), QStringLiteral("Penny Black"));

    click("cmdAddNew");
    type("txtDescr", QStringLiteral("Added after the backup"));
    click("cmdUpdate");
    dialogs.texts = {QDir(elsewhere.path()).filePath(made[0])};
    dialogs.answers = {Answer::Yes}; // replace the collection
    driveBackup("cmdRestore");
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(stampCount(), 2);
    EXPECT_EQ(text("txtDescr"), QStringLiteral("Penny Black"));

    dialogs.answers = {Answer::Yes};
    act("mnuPack")->trigger();
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("stampdb.bak"))));
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(text("txtDescr"), QStringLiteral("Penny Black"));
    click("cmdNext");
    EXPECT_EQ(text("txtDescr"), QStringLiteral("Zeppelin"));
    EXPECT_EQ(lastClosed.count(), 0);
}

TEST_F(MainWindowTest, FileMenu_PackAndBackupWaitUntilTheRecordOnScreenIsStoredOrCancelled) {
    open({{"A", "1"}});
    type("txtColor", QStringLiteral("typed, not stored"));
    act("mnuPack")->trigger();
    act("mnuBackup")->trigger();
    ASSERT_EQ(dialogs.prompts.size(), 2u);
    for (const auto& p : dialogs.prompts)
        EXPECT_TRUE(p.text.startsWith(QStringLiteral("Please store or cancel the record")));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("stampdb.bak"))));
    EXPECT_EQ(text("txtColor"), QStringLiteral("typed, not stored"));
    EXPECT_TRUE(w->isEditing());
}

TEST_F(MainWindowTest, DamageFoundWhileRunning_RepairsReopensTheSetAndStoresGoOn) {
    const QString path = dir.filePath(QStringLiteral("stamp.mdb"));
    generator::generateCollection(path, {2000, 3});
    // Trash a page in the middle of the file: the first record still shows, the structure
    // check that follows finds the damage.
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    const qint64 pageSize = 4096;
    const qint64 page = f.size() / pageSize / 2;
    f.seek(page * pageSize);
    f.write(QByteArray(int(pageSize), '\x5a'));
    f.close();

    program = std::make_unique<Program>(dialogs, dir.path());
    program->settingsFile = dir.filePath(QStringLiteral("settings.ini"));
    w = std::make_unique<frmMain>(*program);
    w->load();
    w->show();
    ASSERT_SOON(dialogs.messageTexts()
                    .join(QLatin1Char(' '))
                    .contains(QStringLiteral("has been repaired")));
    ASSERT_TRUE(w->browser().isOpen());
    EXPECT_FALSE(text("txtDescr").isEmpty());
    const std::int64_t before = stampCount();
    EXPECT_GT(before, 1500);
    click("cmdAddNew");
    type("txtDescr", QStringLiteral("After the repair"));
    click("cmdUpdate");
    EXPECT_EQ(stampCount(), before + 1);
    EXPECT_EQ(text("txtDescr"), QStringLiteral("After the repair"));
    click("cmdNext");
    EXPECT_TRUE(browsing());
}

TEST_F(MainWindowTest, AValueNoMoneyCanHold_ShowsAsTooLargeAndIsKept) {
    {
        auto d = db::createCollection(dir.filePath(QStringLiteral("stamp.mdb")));
        d->execute(QStringLiteral("insert into stamp (descr, face) values ('Huge', 1e300)"));
    }
    program = std::make_unique<Program>(dialogs, dir.path());
    program->settingsFile = dir.filePath(QStringLiteral("settings.ini"));
    w = std::make_unique<frmMain>(*program);
    w->load();
    EXPECT_TRUE(dialogs.prompts.empty()) << dialogs.messageTexts().join(' ').toStdString();
    EXPECT_EQ(text("txtFace"), QStringLiteral("too large"));
    EXPECT_EQ(program->CollectionDb->scalar(QStringLiteral("select face from stamp")).toReal(),
              1e300);
}

TEST_F(MainWindowTest, AValueLongerThanItsField_IsKeptWholeUnlessTheUserChangesIt) {
    const QString path = dir.filePath(QStringLiteral("stamp.mdb"));
    const QString huge = QString(1024 * 1024, QLatin1Char('d')) + QStringLiteral("END");
    {
        auto d = db::createCollection(path);
        // As another program would write it: past the 80 characters the editor takes.
        auto insert = d->prepare(QStringLiteral("insert into stamp (descr, catnum) values (?, ?)"));
        insert->run({Value(huge), Value(QStringLiteral("SG 1"))});
    }
    program = std::make_unique<Program>(dialogs, dir.path());
    program->settingsFile = dir.filePath(QStringLiteral("settings.ini"));
    w = std::make_unique<frmMain>(*program);
    w->load();
    w->show();
    EXPECT_EQ(text("txtDescr"), huge.left(80) + QChar(0x2026));
    EXPECT_FALSE(edit("txtDescr")->toolTip().isEmpty());

    type("txtColor", QStringLiteral("red"));
    click("cmdUpdate");
    ASSERT_TRUE(browsing()) << dialogs.messageTexts().join(' ').toStdString();
    auto stored = [&] {
        return program->CollectionDb->scalar(QStringLiteral("select descr from stamp")).toText();
    };
    EXPECT_EQ(stored(), huge);
    EXPECT_EQ(program->CollectionDb->scalar(QStringLiteral("select Color from stamp")).toText(),
              QStringLiteral("red"));

    // An edit of the value itself stores what the user sees and changed.
    auto* descr = edit("txtDescr");
    descr->setFocus();
    descr->end(false);
    QTest::keyClick(descr, Qt::Key_Backspace);
    click("cmdUpdate");
    EXPECT_TRUE(browsing());
    EXPECT_EQ(stored(), huge.left(80));
}

TEST_F(MainWindowTest, ReportsMenu_TheTargetChosenTakesTheReportThere) {
    open({{"Penny Black", "SG 1"}, {"Zeppelin", "C 45"}});
    // One target at a time carries the check mark.
    act("mnuRptOut2")->trigger();
    EXPECT_FALSE(act("mnuRptOut1")->isChecked());
    EXPECT_TRUE(act("mnuRptOut2")->isChecked());
    EXPECT_EQ(program->reportTarget, ReportTarget::TextFile);

    const QString file = dir.filePath(QStringLiteral("value.txt"));
    dialogs.texts = {file};
    act("mnuRptValue")->trigger();
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(written.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("Penny Black"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Zeppelin")));
    EXPECT_TRUE(text.contains(QStringLiteral("\r\n")));

    // Cancelled in the save dialog: no file.
    const QString other = dir.filePath(QStringLiteral("forsale.txt"));
    dialogs.texts = {std::nullopt};
    act("mnuRptSold")->trigger(); // nothing sold: its message, no dialog
    EXPECT_EQ(dialogs.prompts.back().kind, QStringLiteral("message"));
    EXPECT_FALSE(QFile::exists(other));

    act("mnuRptOut1")->trigger();
    act("mnuRptValue")->trigger();
    QWidget* preview = shownWindow("frmOutput");
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->windowTitle(), QStringLiteral("Report Output"));
    preview->findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();
    EXPECT_SOON(!preview->isVisible());
    EXPECT_TRUE(browsing());

    // "Custom Reports" opens the one designer window, modeless.
    act("mnuRptCustom")->trigger();
    act("mnuRptCustom")->trigger();
    int designers = 0;
    for (QWidget* t : QApplication::topLevelWidgets())
        if (t->objectName() == QLatin1String("frmRptSpec") && t->isVisible()) {
            ++designers;
            EXPECT_EQ(t->windowTitle().left(13), QStringLiteral("Custom Report"));
            EXPECT_FALSE(t->isModal());
        }
    EXPECT_EQ(designers, 1);
}
