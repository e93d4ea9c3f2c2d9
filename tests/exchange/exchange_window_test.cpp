// The File menu's export and import as a user drives them: the menu with the keyboard, the
// import dialog with keys and clicks, every question answered through the scripted dialogs.
#include "app/main_window_fixture.h"
#include "db/sqlite/pendingpicture.h"
#include "exchange/window/importdialog.h"
#include "exchange_support.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QScrollArea>
#include <QTableWidget>
#include <QTimer>
#include <set>

using exchange_test::pngPicture;
using exchange_test::readBytes;
using exchange_test::writeBytes;
using perlinex::exchange::ImportDialog;

namespace {

class ExchangeWindowTest : public MainWindowTest {
protected:
    QTemporaryDir files;

    QString file(const QString& name, const QByteArray& bytes) {
        writeBytes(files.filePath(name), bytes);
        return files.filePath(name);
    }

    // Alt+F, then the item's letter, as a user chooses an item of the File menu.
    void chooseFromFileMenu(Qt::Key letter, const std::function<void()>& whenShown = {}) {
        w->activateWindow(); // as it is again once a dialog of its own has closed
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
        QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : w.get();
        QTest::keyClick(focus, Qt::Key_F, Qt::AltModifier);
        ASSERT_SOON(QApplication::activePopupWidget() != nullptr);
        if (whenShown)
            QTimer::singleShot(0, whenShown); // runs once the chosen item's dialog waits
        QTest::keyClick(QApplication::activePopupWidget(), letter);
    }

    // File > Import... on the file; drive works the import dialog and leaves it closed.
    void importFile(const QString& path, const std::function<void(ImportDialog&)>& drive) {
        dialogs.texts.push_back(path);
        bool shown = false;
        chooseFromFileMenu(Qt::Key_I, [&] {
            auto* dialog = qobject_cast<ImportDialog*>(QApplication::activeModalWidget());
            if (!dialog) {
                ADD_FAILURE() << "no import dialog";
                return;
            }
            shown = true;
            EXPECT_SOON(QApplication::activeWindow() == dialog);
            drive(*dialog);
            if (dialog->isVisible()) {
                ADD_FAILURE() << "the import dialog was left open";
                dialog->reject();
            }
        });
        EXPECT_TRUE(shown);
    }

    template <typename T> static T* in(QWidget& dialog, const QString& name) {
        T* c = dialog.findChild<T*>(name);
        if (!c)
            throw std::runtime_error("no control named " + name.toStdString());
        return c;
    }
    static void clickIn(QWidget& dialog, const char* button) {
        QTest::mouseClick(in<QPushButton>(dialog, QLatin1String(button)), Qt::LeftButton);
    }

    // Picks an entry of a list as the keyboard does: F4 opens it, the arrows move, Return takes.
    static void pick(QComboBox* combo, const QString& text) {
        const int target = combo->findText(text);
        ASSERT_GE(target, 0) << text.toStdString();
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_F4);
        ASSERT_SOON(combo->view()->isVisible());
        for (int i = combo->currentIndex(); i < target; ++i)
            QTest::keyClick(combo->view(), Qt::Key_Down);
        for (int i = combo->currentIndex(); i > target; --i)
            QTest::keyClick(combo->view(), Qt::Key_Up);
        QTest::keyClick(combo->view(), Qt::Key_Return);
        EXPECT_EQ(combo->currentText(), text);
    }

    // The preview's cell of a stamp under the field's caption.
    static QString preview(QWidget& dialog, int row, const char* caption) {
        auto* grid = in<QTableWidget>(dialog, QStringLiteral("grdPreview"));
        for (int c = 0; c < grid->columnCount(); ++c)
            if (grid->horizontalHeaderItem(c)->text() == QLatin1String(caption))
                return grid->item(row, c) ? grid->item(row, c)->text() : QString();
        throw std::runtime_error(std::string("no preview column ") + caption);
    }

    std::int64_t count(const char* sql) {
        return program->CollectionDb->scalar(QLatin1String(sql)).toInteger();
    }
    QString stored(const char* field, const char* descr) {
        return program->CollectionDb
            ->scalar(QStringLiteral("select %1 from stamp where descr = '%2'")
                         .arg(QLatin1String(field), QString::fromUtf8(descr)))
            .toText();
    }
    QString lastMessage() const {
        return dialogs.prompts.empty() ? QString() : dialogs.prompts.back().text;
    }
};

} // namespace

TEST_F(ExchangeWindowTest, Import_ACleanFileComesInWithItsPicturesAndNewClassifications) {
    open({{"Held already", "X 1"}});
    writeBytes(files.filePath(QStringLiteral("scans/one.png")), pngPicture(qRgb(200, 0, 0)));
    const QString csv = file(QStringLiteral("clean.csv"), "Description,Scott#,Country,Image\n"
                                                          "Penny Black,SG 1,Narnia,scans/one.png\n"
                                                          "Penny Red,SG 2,narnia,\n");
    dialogs.answers = {Answer::Yes}; // add Narnia to the countries
    importFile(csv, [&](ImportDialog& d) {
        EXPECT_EQ(preview(d, 0, "Description"), QStringLiteral("Penny Black"));
        EXPECT_EQ(preview(d, 1, "Country"), QStringLiteral("Narnia (new)"));
        EXPECT_EQ(preview(d, 0, "Picture"), QStringLiteral("scans/one.png"));
        auto* codes = in<QListWidget>(d, QStringLiteral("lstNewCodes"));
        ASSERT_EQ(codes->count(), 1);
        EXPECT_EQ(codes->item(0)->text(), QStringLiteral("Country: Narnia"));
        // Return, from a list of the dialog, presses Import.
        QTest::keyClick(in<QComboBox>(d, QStringLiteral("cboColumn1")), Qt::Key_Return);
    });
    EXPECT_EQ(stampCount(), 3);
    EXPECT_EQ(count("select count(*) from country where Coudesc = 'Narnia'"), 1);
    // The main window shows the first stamp that came in, its country in the refilled list.
    EXPECT_EQ(text("txtDescr"), QStringLiteral("Penny Black"));
    EXPECT_EQ(find<QComboBox>("cmbCou")->currentText(), QStringLiteral("Narnia"));
    EXPECT_TRUE(lastMessage().startsWith(QStringLiteral("Stamps imported: 2 (numbers 2 to 3).")))
        << lastMessage().toStdString();
    EXPECT_TRUE(
        lastMessage().contains(QStringLiteral("New classifications added to the code tables: 1.")));
    // The picture is stored as the JPEG that Load Image makes.
    EXPECT_TRUE(readBytes(QDir(program->imagesFolder()).filePath(db::pictureFileName(2)))
                    .startsWith("\xFF\xD8"));
    EXPECT_FALSE(QFileInfo::exists(QDir(program->imagesFolder()).filePath(db::pictureFileName(3))));
}

TEST_F(ExchangeWindowTest, Import_NewClassificationsDeclinedGoToTheNotesAndCancelGoesBack) {
    open({});
    const QString csv = file(QStringLiteral("codes.csv"), "descr,country\nOne,Narnia\n");
    const std::int64_t countries = count("select count(*) from country");
    dialogs.answers = {Answer::Cancel};
    importFile(csv, [&](ImportDialog& d) {
        clickIn(d, "cmdImport");
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(preview(d, 0, "Country"), QStringLiteral("Narnia (new)"));
        QTest::keyClick(&d, Qt::Key_Escape);
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(stampCount(), 0);

    dialogs.answers = {Answer::No};
    importFile(csv, [&](ImportDialog& d) { clickIn(d, "cmdImport"); });
    EXPECT_EQ(stampCount(), 1);
    EXPECT_EQ(count("select count(*) from country"), countries);
    EXPECT_EQ(stored("notes", "One"), QStringLiteral("country: Narnia"));
    EXPECT_EQ(text("txtDescr"), QStringLiteral("One"));
    EXPECT_TRUE(edit("txtDescr")->isEnabled()) << "the fields of an empty collection come alive";
}

TEST_F(ExchangeWindowTest, Import_RefusedLinesAreListedAndOnlyTheGoodOnesStoredWhenChosen) {
    open({{"Held already", "X 1"}});
    const QString csv =
        file(QStringLiteral("bad.csv"), "descr,Year\nGood,1900\nBad year,18.8.5\n,1901\n");
    importFile(csv, [&](ImportDialog& d) {
        auto* problems = in<QTableWidget>(d, QStringLiteral("grdProblems"));
        ASSERT_EQ(problems->rowCount(), 2);
        EXPECT_EQ(problems->item(0, 0)->text(), QStringLiteral("3"));
        EXPECT_EQ(problems->item(0, 1)->text(), QStringLiteral("Year"));
        EXPECT_TRUE(problems->item(0, 2)->text().contains(QStringLiteral("18.8.5")));
        EXPECT_EQ(problems->item(1, 0)->text(), QStringLiteral("4"));
        EXPECT_EQ(problems->item(1, 1)->text(), QStringLiteral("descr"));
        // Without the choice nothing is stored, and the dialog stays for it.
        clickIn(d, "cmdImport");
        EXPECT_TRUE(lastMessage().startsWith(QStringLiteral("Lines of the file refused: 2.")))
            << lastMessage().toStdString();
        EXPECT_EQ(stampCount(), 1);
        ASSERT_TRUE(d.isVisible());
        // A mnemonic clicks its button once the button has shown itself pressed.
        QTest::keyClick(&d, Qt::Key_G, Qt::AltModifier);
        EXPECT_SOON(in<QCheckBox>(d, QStringLiteral("chkGoodLinesOnly"))->isChecked());
        QTest::keyClick(&d, Qt::Key_I, Qt::AltModifier);
        EXPECT_SOON(!d.isVisible());
    });
    EXPECT_EQ(stampCount(), 2);
    EXPECT_EQ(stored("Year", "Good"), QStringLiteral("1900"));
    EXPECT_TRUE(lastMessage().contains(QStringLiteral("Refused lines left out: 2.")));
}

// The same file a second time: the stamps held already (description, catalogue number, country
// and year, case and surrounding spaces aside) are counted and offered to be left out.
TEST_F(ExchangeWindowTest, Import_TheSameFileTwiceOffersToLeaveOutTheStampsHeldAlready) {
    open({});
    const QString csv = file(QStringLiteral("twice.csv"), "descr,catnum,Year\n"
                                                          "Penny Black,SG 1,1840\n"
                                                          "Penny Red,SG 2,1841\n");
    importFile(csv, [&](ImportDialog& d) { clickIn(d, "cmdImport"); });
    ASSERT_EQ(stampCount(), 2);
    const std::size_t asked = dialogs.prompts.size();

    const QString again = file(QStringLiteral("again.csv"), "descr,catnum,Year\n"
                                                            "PENNY BLACK ,SG 1,1840\n"
                                                            "Penny Red,SG 2,1842\n");
    dialogs.answers = {Answer::Yes};
    importFile(again, [&](ImportDialog& d) {
        EXPECT_TRUE(in<QLabel>(d, QStringLiteral("lblSummary"))
                        ->text()
                        .contains(QStringLiteral("Equal to stamps already in the collection: 1.")));
        clickIn(d, "cmdImport");
    });
    const auto offered = std::any_of(
        dialogs.prompts.begin() + qsizetype(asked), dialogs.prompts.end(),
        [](const auto& p) { return p.text.contains(QStringLiteral("Leave them out?")); });
    EXPECT_TRUE(offered);
    EXPECT_EQ(stampCount(), 3); // the red penny of another year came in
    EXPECT_TRUE(
        lastMessage().contains(QStringLiteral("Stamps already in the collection left out: 1.")))
        << lastMessage().toStdString();

    dialogs.answers = {Answer::No}; // kept: both stamps come in again
    importFile(again, [&](ImportDialog& d) { clickIn(d, "cmdImport"); });
    EXPECT_EQ(stampCount(), 5);
    EXPECT_EQ(count("select count(*) from stamp where descr like 'penny black*'"), 2);
}

TEST_F(ExchangeWindowTest, Import_AnotherDelimiterOrEncodingChosenTheFileIsReadAgain) {
    open({});
    const QString csv = file(QStringLiteral("latin.csv"), "Description;Scott#\n"
                                                          "\xC9"
                                                          "cu;SG 1\n");
    importFile(csv, [&](ImportDialog& d) {
        auto* delimiter = in<QComboBox>(d, QStringLiteral("cboDelimiter"));
        auto* encoding = in<QComboBox>(d, QStringLiteral("cboEncoding"));
        EXPECT_EQ(delimiter->currentText(), QStringLiteral("Semicolon (detected)"));
        EXPECT_EQ(encoding->currentText(), QStringLiteral("Latin-1 / Windows-1252 (detected)"));
        EXPECT_EQ(preview(d, 0, "Description"), QStringLiteral("Écu"));

        pick(encoding, QStringLiteral("UTF-8"));
        EXPECT_EQ(preview(d, 0, "Description"), QStringLiteral("\uFFFD") + QStringLiteral("cu"));
        pick(delimiter, QStringLiteral("Comma"));
        EXPECT_EQ(in<QLabel>(d, QStringLiteral("lblColumn1"))->text(),
                  QStringLiteral("Description;Scott#"));
        EXPECT_EQ(d.findChild<QComboBox*>(QStringLiteral("cboColumn2")), nullptr);
        EXPECT_EQ(preview(d, 0, "Description"), QString());
        pick(delimiter, QStringLiteral("Semicolon (detected)"));
        pick(encoding, QStringLiteral("Latin-1 / Windows-1252 (detected)"));
        EXPECT_EQ(preview(d, 0, "Description"), QStringLiteral("Écu"));
        EXPECT_EQ(preview(d, 0, "Catalog Num"), QStringLiteral("SG 1"));
        clickIn(d, "cmdImport");
    });
    EXPECT_EQ(stampCount(), 1);
    EXPECT_EQ(stored("catnum", "Écu"), QStringLiteral("SG 1"));
}

TEST_F(ExchangeWindowTest, Import_AColumnGivenAnotherFieldOrSkipped) {
    open({});
    const QString csv =
        file(QStringLiteral("rematch.csv"), "Title,Scott#,Remarks\nPenny Black,SG 1,kept\n");
    importFile(csv, [&](ImportDialog& d) {
        EXPECT_EQ(preview(d, 0, "Catalog Num"), QStringLiteral("SG 1"));
        EXPECT_EQ(preview(d, 0, "Notes"), QStringLiteral("kept"));
        pick(in<QComboBox>(d, QStringLiteral("cboColumn2")), QStringLiteral("Misc. 1"));
        pick(in<QComboBox>(d, QStringLiteral("cboColumn3")), QStringLiteral("Not imported"));
        EXPECT_EQ(preview(d, 0, "Catalog Num"), QString());
        EXPECT_EQ(preview(d, 0, "Misc. 1"), QStringLiteral("SG 1"));
        EXPECT_EQ(preview(d, 0, "Notes"), QString());
        clickIn(d, "cmdImport");
    });
    EXPECT_EQ(stored("misc1", "Penny Black"), QStringLiteral("SG 1"));
    EXPECT_EQ(stored("catnum", "Penny Black"), QString());
    EXPECT_EQ(stored("notes", "Penny Black"), QString());
}

TEST_F(ExchangeWindowTest, Import_CancelledHalfWayLeavesTheCollectionAsItWas) {
    open({{"Held already", "X 1"}});
    QByteArray csv = "descr,country,picture\n";
    for (int i = 0; i < 600; ++i)
        csv += QStringLiteral("Stamp %1,Country %2,%3\n")
                   .arg(i)
                   .arg(i % 7)
                   .arg(i % 10 == 0 ? QStringLiteral("p.png") : QString())
                   .toUtf8();
    file(QStringLiteral("p.png"), pngPicture(qRgb(0, 0, 200)));
    const QString path = file(QStringLiteral("many.csv"), csv);
    const std::int64_t countries = count("select count(*) from country");
    const db::Value numbers = program->CollectionDb->scalar(
        QStringLiteral("select seq from sqlite_sequence where name = 'stamp'"));
    dialogs.answers = {Answer::Yes}; // add the countries
    importFile(path, [&](ImportDialog& d) {
        bool stopped = false;
        d.watchProgress([&](std::int64_t done, std::int64_t total) {
            if (stopped || done < total / 2)
                return;
            QWidget* progress = QApplication::activeModalWidget();
            ASSERT_EQ(progress->objectName(), QStringLiteral("workProgress"));
            QTest::mouseClick(in<QPushButton>(*progress, QStringLiteral("cmdCancel")),
                              Qt::LeftButton);
            stopped = true;
        });
        clickIn(d, "cmdImport");
        EXPECT_TRUE(stopped);
        EXPECT_TRUE(lastMessage().startsWith(QStringLiteral("The import was cancelled.")));
        EXPECT_TRUE(d.isVisible());
        QTest::keyClick(&d, Qt::Key_Escape);
    });
    EXPECT_EQ(stampCount(), 1);
    EXPECT_EQ(count("select count(*) from country"), countries);
    EXPECT_EQ(program->CollectionDb->scalar(
                  QStringLiteral("select seq from sqlite_sequence where name = 'stamp'")),
              numbers);
    EXPECT_TRUE(QDir(program->imagesFolder()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_EQ(text("txtDescr"), QStringLiteral("Held already"));
}

TEST_F(ExchangeWindowTest, ImportDialog_EveryControlNamedItsMnemonicsUniqueAndEscapeCloses) {
    open({{"Held already", "X 1"}});
    const QString csv = file(QStringLiteral("plain.csv"), "descr,catnum\nOne,1\n");
    importFile(csv, [&](ImportDialog& d) {
        std::set<int> keys;
        const auto mnemonic = [&](const QString& text, const QString& where) {
            const QKeySequence key = QKeySequence::mnemonic(text);
            if (key.isEmpty())
                return;
            EXPECT_TRUE(keys.insert(key[0].toCombined()).second)
                << "a second " << key.toString().toStdString() << " in " << where.toStdString();
        };
        for (QWidget* c : d.findChildren<QWidget*>()) {
            const bool control = qobject_cast<QComboBox*>(c) || qobject_cast<QPushButton*>(c) ||
                                 qobject_cast<QCheckBox*>(c) || qobject_cast<QLineEdit*>(c) ||
                                 qobject_cast<QTableWidget*>(c) || qobject_cast<QListWidget*>(c) ||
                                 qobject_cast<QScrollArea*>(c);
            if (control) {
                EXPECT_FALSE(c->objectName().isEmpty()) << c->metaObject()->className();
            }
            if (auto* b = qobject_cast<QAbstractButton*>(c))
                mnemonic(b->text(), b->objectName());
            if (auto* l = qobject_cast<QLabel*>(c); l && l->buddy())
                mnemonic(l->text(), l->text());
        }
        EXPECT_GE(keys.size(), 10u);
        QTest::keyClick(&d, Qt::Key_Escape);
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(stampCount(), 1);
}

TEST_F(ExchangeWindowTest, Import_NotWhileARecordIsBeingTyped) {
    open({{"A", "1"}});
    type("txtColor", QStringLiteral("red"));
    act("mnuImport")->trigger();
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_TRUE(lastMessage().startsWith(QStringLiteral("Please store or cancel the record")));
    EXPECT_EQ(text("txtColor"), QStringLiteral("red"));
}

TEST_F(ExchangeWindowTest, ReadOnlyCollection_NoImportButAnExport) {
    open({{"Penny Black", "SG 1"}}, true);
    EXPECT_FALSE(act("mnuImport")->isEnabled());
    ASSERT_TRUE(act("mnuExportCsv")->isEnabled());
    const QString out = files.filePath(QStringLiteral("read-only.csv"));
    dialogs.texts = {out};
    chooseFromFileMenu(Qt::Key_E);
    EXPECT_TRUE(readBytes(out).contains("\r\nPenny Black,SG 1,"));
    EXPECT_TRUE(lastMessage().startsWith(QStringLiteral("Stamps written to")));
}

TEST_F(ExchangeWindowTest, Export_InTheWindowsOrderWithThePicturesBesideTheFile) {
    open({{"Alpha", "SG 45"}, {"Beta", "SG 7"}});
    writeBytes(QDir(program->imagesFolder()).filePath(db::pictureFileName(1)), "Alpha's picture");
    act("mnuSort2")->trigger(); // by catalogue number: Beta (7) before Alpha (45)
    const QString out = files.filePath(QStringLiteral("out/stamps.csv"));
    QDir().mkpath(files.filePath(QStringLiteral("out")));
    dialogs.texts = {out};
    dialogs.answers = {Answer::Yes}; // copy the pictures
    chooseFromFileMenu(Qt::Key_E);

    ASSERT_EQ(dialogs.prompts.size(), 3u);
    EXPECT_EQ(dialogs.prompts[0].kind, QStringLiteral("save"));
    EXPECT_TRUE(dialogs.prompts[1].text.startsWith(
        QStringLiteral("Copy pictures into a folder beside the file?")));
    const QList<QByteArray> lines = readBytes(out).split('\n');
    ASSERT_EQ(lines.size(), 4); // the header, two stamps, and the end of the last line
    EXPECT_TRUE(lines[0].startsWith("descr,catnum,"));
    EXPECT_TRUE(lines[1].startsWith("Beta,SG 7,"));
    EXPECT_TRUE(lines[1].endsWith(",\r"));
    EXPECT_TRUE(lines[2].startsWith("Alpha,SG 45,"));
    EXPECT_TRUE(lines[2].endsWith(",stamps-pictures/" + db::pictureFileName(1).toUtf8() + "\r"));
    EXPECT_EQ(
        readBytes(files.filePath(QStringLiteral("out/stamps-pictures/")) + db::pictureFileName(1)),
        "Alpha's picture");
    EXPECT_TRUE(lastMessage().contains(QStringLiteral("stamps.csv': 2.")))
        << lastMessage().toStdString();
    EXPECT_TRUE(lastMessage().contains(QStringLiteral("stamps-pictures': 1.")));
}

TEST_F(ExchangeWindowTest, Export_RefusedOverTheCollectionsOwnFiles) {
    open({{"Penny Black", "SG 1"}});
    writeBytes(QDir(program->imagesFolder()).filePath(db::pictureFileName(1)), "a picture");
    for (const QString& target : {dir.filePath(QStringLiteral("stamp.mdb")),
                                  QDir(program->imagesFolder()).filePath(db::pictureFileName(1))}) {
        const QByteArray before = readBytes(target);
        dialogs.prompts.clear();
        dialogs.texts = {target};
        chooseFromFileMenu(Qt::Key_E);
        ASSERT_EQ(dialogs.prompts.size(), 2u) << target.toStdString();
        EXPECT_TRUE(lastMessage().contains(QStringLiteral("Nothing has been written")))
            << lastMessage().toStdString();
        EXPECT_EQ(readBytes(target), before);
    }
    EXPECT_EQ(stampCount(), 1);
}
