// The main window on a collection that cannot be changed: everything that reads is there,
// nothing that would change it.
#include "main_window_fixture.h"

#include "app/commandline.h"
#include "db/sqlite/collectionfile.h"
#include "db/sqlite/maintenance.h"
#include "support/unprivileged.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTimer>
#include <cstdio>

namespace {

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The tests run as any user, so the store's read-only mode is chosen by the test rather than by
// the file's permissions; the last test takes the real way.
class ReadOnlyWindowTest : public MainWindowTest {
protected:
    void openReadOnly(const std::vector<Seed>& stamps) { open(stamps, true); }
};

} // namespace

TEST_F(ReadOnlyWindowTest, ReadingCommandsStayAndEditingOnesAreUnavailable) {
    openReadOnly({{"Penny Black", "SG 1"}, {"Twopenny Blue", "SG 2"}});
    const QByteArray before = bytesOf(program->DbPath);
    EXPECT_TRUE(w->windowTitle().contains(QStringLiteral("read-only")))
        << w->windowTitle().toStdString();
    EXPECT_EQ(program->CollectionDb->mode(), db::OpenMode::ReadOnly);

    for (const char* name : {"cmdAddNew", "cmdDelete", "cmdPicLoad", "cmdPicPaste"})
        EXPECT_FALSE(btn(name)->isEnabled()) << name;
    EXPECT_FALSE(act("mnuPack")->isEnabled());
    for (const char* name : {"cmdFirst", "cmdNext", "cmdFind", "cmdHelp", "cmdPicCopy"})
        EXPECT_TRUE(btn(name)->isEnabled()) << name;
    for (const char* name :
         {"mnuSort2", "mnuBackup", "mnuMaint3", "mnuRptValue", "mnuRptCustom", "mnuHelp1"})
        EXPECT_TRUE(act(name)->isEnabled()) << name;
    EXPECT_FALSE(find<QComboBox>("cmbCou")->isEnabled());
    EXPECT_TRUE(find<QPlainTextEdit>("txtNotes")->isReadOnly());

    // Typing starts no edit, and the keys change nothing on screen.
    edit("txtDescr")->setFocus();
    QTest::keyClicks(edit("txtDescr"), QStringLiteral("xyz"));
    QTest::keyClick(edit("txtDescr"), Qt::Key_Backspace);
    EXPECT_EQ(text("txtDescr"), QStringLiteral("Penny Black"));
    leaveTo("txtCatNum");
    EXPECT_FALSE(w->isEditing());
    EXPECT_TRUE(browsing());
    w->addNew(); // also when called without its button
    w->deleteStamp();
    EXPECT_FALSE(w->isAdding());
    EXPECT_EQ(stampCount(), 2);

    // Browsing and sorting read as before.
    click("cmdNext");
    EXPECT_EQ(text("txtDescr"), QStringLiteral("Twopenny Blue"));
    act("mnuSort2")->trigger();
    EXPECT_EQ(text("txtDescr"), QStringLiteral("Penny Black"));
    EXPECT_EQ(bytesOf(program->DbPath), before);
    EXPECT_TRUE(dialogs.prompts.empty());
}

TEST_F(ReadOnlyWindowTest, CodeTablesAreShownAndNotEdited) {
    openReadOnly({{"A", "1"}});
    act("mnuMaint3")->trigger();
    QWidget* codes = shownWindow("frmCodesMaint");
    ASSERT_NE(codes, nullptr);
    auto* desc = codes->findChild<QLineEdit*>(QStringLiteral("txtDesc"));
    EXPECT_TRUE(desc->isReadOnly());
    EXPECT_FALSE(codes->findChild<QPushButton*>(QStringLiteral("cmdAddNew"))->isEnabled());
    EXPECT_FALSE(codes->findChild<QPushButton*>(QStringLiteral("cmdDelete"))->isEnabled());
    const QString shown = desc->text();
    QTest::keyClicks(desc, QStringLiteral("zz"));
    EXPECT_EQ(desc->text(), shown);
    EXPECT_FALSE(codes->findChild<QPushButton*>(QStringLiteral("cmdUpdate"))->isVisible());
    codes->findChild<QPushButton*>(QStringLiteral("cmdNext"))->click();
    EXPECT_NE(desc->text(), shown);
    codes->close();
}

TEST_F(ReadOnlyWindowTest, ABackupIsMadeButNoneIsRestored) {
    openReadOnly({{"A", "1"}});
    QTemporaryDir elsewhere;
    dialogs.texts.push_back(elsewhere.path());
    bool restoreOffered = true;
    QTimer::singleShot(0, [&] {
        QWidget* backup = QApplication::activeModalWidget();
        ASSERT_NE(backup, nullptr);
        restoreOffered = backup->findChild<QPushButton*>(QStringLiteral("cmdRestore"))->isEnabled();
        backup->findChild<QPushButton*>(QStringLiteral("cmdBackup"))->click();
        backup->findChild<QPushButton*>(QStringLiteral("cmdClose"))->click();
    });
    act("mnuBackup")->trigger();
    EXPECT_FALSE(restoreOffered);
    const QStringList made =
        QDir(elsewhere.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    ASSERT_EQ(made.size(), 1) << dialogs.messageTexts().join('\n').toStdString();
    EXPECT_TRUE(db::isBackupFolder(QDir(elsewhere.path()).filePath(made.front())));
    // The window is back on the collection, read-only as before.
    EXPECT_EQ(program->CollectionDb->mode(), db::OpenMode::ReadOnly);
    EXPECT_EQ(text("txtDescr"), QStringLiteral("A"));
}

// The real way in: started as a user for whom the folder is read-only, the program takes the
// collection read-only on its own, makes nothing in the folder and asks nothing.
TEST(ReadOnlyStartUp, AFolderTheUserCannotWriteOpensReadOnlyWithoutAWord) {
    GTEST_FLAG_SET(death_test_style, "fast");
    QTemporaryDir dir;
    unprivileged::openToAll(dir.path(), false);
    const QString folder = dir.filePath(QStringLiteral("stamps"));
    QDir().mkpath(folder);
    {
        auto db = db::createCollection(QDir(folder).filePath(QStringLiteral("stamp.mdb")));
        db->execute(QStringLiteral("insert into stamp (descr) values (\"Penny Black\")"));
    }
    unprivileged::openToAll(folder, false);
    unprivileged::makeReadOnly(folder);
    const QStringList before = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    const auto startAndLook = [&] {
        const auto fail = [](const char* why) {
            std::fputs(why, stderr);
            std::_Exit(1);
        };
        if (!unprivileged::becomeUnprivileged())
            fail("could not become an unprivileged user");
        ScriptedDialogs dialogs;
        Program program(dialogs, folder);
        try {
            if (!app::prepareCollectionFolder(program, true))
                fail("declined");
        } catch (const db::DbError& e) {
            fail(e.text().toUtf8().constData());
        }
        frmMain window(program);
        window.load();
        if (!program.ReadOnly || !program.CollectionDb)
            fail("not open read-only");
        if (!window.windowTitle().contains(QStringLiteral("read-only")))
            fail("the title does not say read-only");
        if (window.findChild<QPushButton*>(QStringLiteral("cmdAddNew"))->isEnabled())
            fail("Add New is offered");
        if (window.findChild<QLineEdit*>(QStringLiteral("txtDescr"))->text() !=
            QStringLiteral("Penny Black"))
            fail("the stamp is not shown");
        if (!dialogs.prompts.empty())
            fail(dialogs.prompts.front().text.toUtf8().constData());
        std::fputs("opened read-only", stderr);
        std::_Exit(0);
    };
    EXPECT_EXIT(startAndLook(), ::testing::ExitedWithCode(0), "opened read-only");
    unprivileged::restoreWriting(dir.path());
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
}
