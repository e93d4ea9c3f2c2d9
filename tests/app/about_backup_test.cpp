#include "app/frmabout.h"
#include "app/frmbackup.h"
#include "db/sqlite/collectionfile.h"
#include "db/sqlite/maintenance.h"
#include "support/collection_fixture.h"
#include "support/scripted_dialogs.h"
#include "support/wait.h"
#include "ui/program.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

using namespace perlinex;

namespace {

void click(QWidget* window, const char* name) {
    auto* button = window->findChild<QPushButton*>(QString::fromLatin1(name));
    ASSERT_NE(button, nullptr) << name;
    QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace

TEST(About, ShowsNameVersionAndPicture_OkCloses) {
    QWidget owner;
    frmAbout* about = showAbout(&owner);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->objectName(), "frmAbout");
    EXPECT_EQ(about->windowTitle(), "About Perlinex");
    EXPECT_FALSE(about->isModal());
    EXPECT_TRUE(about->isVisible());
    QStringList texts;
    for (auto* label : about->findChildren<QLabel*>())
        texts << label->text();
    EXPECT_TRUE(texts.contains("Perlinex"));
    EXPECT_TRUE(texts.filter(QRegularExpression(R"(^Version \d+\.\d+\.\d+$)")).size() == 1)
        << texts.join(" | ").toStdString();
    EXPECT_TRUE(texts.contains("Version " + programVersion()));
    auto* picture = about->findChild<QLabel*>("picStamp");
    ASSERT_NE(picture, nullptr);
    const QImage image = picture->pixmap().toImage();
    ASSERT_FALSE(image.isNull());
    // Paper in the middle, nothing at the corner, and a perforated top edge: a row just
    // inside it runs through holes and paper in turn.
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(image.pixel(image.width() / 2, image.height() / 2)), 255);
    int holes = 0, paper = 0;
    for (int x = image.width() / 4; x < image.width() * 3 / 4; ++x)
        (qAlpha(image.pixel(x, 5)) == 0 ? holes : paper)++;
    EXPECT_GT(holes, 3);
    EXPECT_GT(paper, 3);

    // Asking again raises the same window rather than opening a second one.
    EXPECT_EQ(showAbout(&owner), about);
    QPointer<frmAbout> watch(about);
    click(about, "cmdOk");
    EXPECT_SOON(watch.isNull()); // closed and deleted
}

namespace {

// A program folder with a collection of one stamp and one picture, closed as the main window
// leaves it before showing the backup window.
class BackupTest : public CollectionTest {
protected:
    QTemporaryDir elsewhere; // where backups go
    ScriptedDialogs dialogs;
    std::unique_ptr<Program> program;

    void SetUp() override {
        CollectionTest::SetUp();
        ASSERT_TRUE(elsewhere.isValid());
        addStamp("Penny Black", "SG 1");
        QDir(dir.path()).mkpath("images");
        writeFile(path("images/00000001.jpg"), "original picture");
        db->close();
        db.reset();
        program = std::make_unique<Program>(dialogs, dir.path());
    }

    static void writeFile(const QString& name, const QByteArray& bytes) {
        QFile f(name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    static QByteArray readFile(const QString& name) {
        QFile f(name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QStringList stamps() {
        db = db::openCollection(dbPath);
        QStringList out = column("Select descr from stamp order by descr", "descr");
        db->close();
        db.reset();
        return out;
    }
    void changeCollection() {
        db = db::openCollection(dbPath);
        addStamp("Inverted Jenny", "C3a");
        db->close();
        db.reset();
        writeFile(path("images/00000001.jpg"), "changed picture");
    }

    QStringList backupFolders() const {
        return QDir(elsewhere.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    }

    // Makes a backup through the window; returns its folder.
    QString backUp(frmBackup& window) {
        dialogs.texts.push_back(elsewhere.path());
        click(&window, "cmdBackup");
        const QStringList made = backupFolders();
        return made.size() == 1 ? QDir(elsewhere.path()).filePath(made.front()) : QString();
    }
};

} // namespace

TEST_F(BackupTest, MakeBackup_ShownModally_WritesDatedFolderAndNamesIt) {
    frmBackup window(*program);
    EXPECT_EQ(window.windowTitle(), "Backup");
    QString made;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        EXPECT_EQ(modal->objectName(), "frmBackup");
        made = backUp(static_cast<frmBackup&>(*modal));
        click(modal, "cmdClose");
    });
    window.exec();
    EXPECT_FALSE(window.isVisible());

    ASSERT_FALSE(made.isEmpty()) << backupFolders().join(", ").toStdString();
    EXPECT_TRUE(QFileInfo(made).fileName().startsWith("Perlinex backup "));
    EXPECT_TRUE(QFileInfo::exists(made + "/stamp.mdb"));
    EXPECT_EQ(readFile(made + "/images/00000001.jpg"), "original picture");
    EXPECT_TRUE(db::isBackupFolder(made));
    ASSERT_EQ(dialogs.prompts.size(), 2u);
    EXPECT_EQ(dialogs.prompts[0].kind, "folder");
    EXPECT_EQ(dialogs.prompts[1].icon, Icon::Information);
    EXPECT_TRUE(dialogs.prompts[1].text.contains(QDir::toNativeSeparators(made)));
}

TEST_F(BackupTest, Restore_OverChangedCollection_BringsBackStampsAndKeepsTheCurrentOne) {
    frmBackup window(*program);
    window.show();
    const QString made = backUp(window);
    ASSERT_FALSE(made.isEmpty());
    changeCollection();
    ASSERT_EQ(stamps(), QStringList({"Inverted Jenny", "Penny Black"}));

    // No keeps everything as it is.
    dialogs.prompts.clear();
    dialogs.texts.push_back(made);
    dialogs.answers.push_back(Answer::No);
    click(&window, "cmdRestore");
    ASSERT_EQ(dialogs.prompts.size(), 2u);
    EXPECT_EQ(dialogs.prompts[1].buttons, Buttons::YesNoDefaultNo); // Enter keeps it
    EXPECT_TRUE(dialogs.prompts[1].text.contains("stamp-before-restore.mdb"));
    EXPECT_EQ(stamps().size(), 2);

    dialogs.prompts.clear();
    dialogs.texts.push_back(made);
    dialogs.answers.push_back(Answer::Yes);
    click(&window, "cmdRestore");
    EXPECT_EQ(stamps(), QStringList({"Penny Black"}));
    EXPECT_EQ(readFile(path("images/00000001.jpg")), "original picture");
    EXPECT_EQ(readFile(path("images-before-restore/00000001.jpg")), "changed picture");
    EXPECT_TRUE(db::isIntactCollection(path("stamp-before-restore.mdb")));
    ASSERT_EQ(dialogs.prompts.size(), 3u);
    EXPECT_EQ(dialogs.prompts[2].icon, Icon::Information);
}

TEST_F(BackupTest, Restore_FromFolderThatIsNoBackup_IsRefusedAndNothingChanges) {
    frmBackup window(*program);
    window.show();
    const QString plain = QDir(elsewhere.path()).filePath("holiday photos");
    QDir().mkpath(plain);
    writeFile(plain + "/stamp.mdb", "not a database");
    for (const QString& folder : {plain, dir.path()}) {
        dialogs.prompts.clear();
        dialogs.texts.push_back(folder);
        dialogs.answers.push_back(Answer::Yes); // must not be asked for
        click(&window, "cmdRestore");
        ASSERT_EQ(dialogs.prompts.size(), 2u) << folder.toStdString();
        EXPECT_EQ(dialogs.prompts[1].buttons, Buttons::Ok);
        EXPECT_EQ(dialogs.prompts[1].icon, Icon::Warning);
        EXPECT_TRUE(dialogs.prompts[1].text.contains(QDir::toNativeSeparators(folder)));
        dialogs.answers.clear();
    }
    EXPECT_EQ(stamps(), QStringList({"Penny Black"}));
    EXPECT_FALSE(QFileInfo::exists(path("stamp-before-restore.mdb")));
}

TEST_F(BackupTest, CancelledChoiceDoesNothing_StoreErrorIsShownAndTheWindowStays) {
    frmBackup window(*program);
    window.show();
    dialogs.texts = {std::nullopt, std::nullopt};
    click(&window, "cmdBackup");
    click(&window, "cmdRestore");
    ASSERT_EQ(dialogs.prompts.size(), 2u);
    EXPECT_EQ(dialogs.prompts[1].kind, "folder");
    EXPECT_EQ(stamps(), QStringList({"Penny Black"}));

    // An open collection is closed first: the store copies closed files only.
    program->openCollection();
    dialogs.texts.push_back(QDir(elsewhere.path()).filePath("no such folder"));
    click(&window, "cmdBackup");
    EXPECT_EQ(program->CollectionDb, nullptr);
    ASSERT_EQ(dialogs.prompts.size(), 4u);
    EXPECT_EQ(dialogs.prompts[3].icon, Icon::Critical);
    EXPECT_TRUE(dialogs.prompts[3].text.contains("does not exist"));
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(backupFolders().isEmpty());
}

TEST_F(BackupTest, AfterABackupOrARestoreTheWindowShowsItsWholeText) {
    // A long folder name, as a memory stick's mount point and a few folders give.
    const QString deep =
        QDir(elsewhere.path())
            .filePath(QStringLiteral("media/collector/STAMPS_BACKUP_STICK/backups_of_the_"
                                     "collection_kept_safely_away_from_this_computer"));
    ASSERT_TRUE(QDir().mkpath(deep));
    frmBackup window(*program);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    dialogs.texts.push_back(deep);
    click(&window, "cmdBackup");
    QApplication::processEvents();
    const auto wholeText = [&] {
        std::vector<std::string> clipped;
        for (QLabel* l : window.findChildren<QLabel*>()) {
            if (l->text().isEmpty())
                continue;
            const QSize needed(l->minimumSizeHint().width(), l->heightForWidth(l->width()));
            if (l->width() < needed.width() || l->height() < needed.height() ||
                !window.rect().contains(QRect(l->mapTo(&window, QPoint(0, 0)), l->size())))
                clipped.push_back(l->objectName().toStdString());
        }
        return clipped;
    };
    auto* status = window.findChild<QLabel*>(QStringLiteral("lblStatus"));
    ASSERT_TRUE(status->text().contains(QStringLiteral("backups_of_the_collection")));
    EXPECT_EQ(wholeText(), std::vector<std::string>{});

    const QStringList made = QDir(deep).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_EQ(made.size(), 1);
    dialogs.texts.push_back(QDir(deep).filePath(made.front()));
    dialogs.answers.push_back(Answer::Yes);
    click(&window, "cmdRestore");
    QApplication::processEvents();
    ASSERT_TRUE(status->text().startsWith(QStringLiteral("Restored from")));
    EXPECT_EQ(wholeText(), std::vector<std::string>{});
}
