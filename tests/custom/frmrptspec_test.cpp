#include "custom_support.h"

#include "custom/frmrptspec.h"
#include "custom/layoutfile.h"
#include "dates/datefield.h"
#include "dates/frmdateent.h"
#include "db/sqlite/cataloguefile.h"
#include "db/sqlite/collectionfile.h"
#include "db/sqlite/sqlitefile.h"
#include "reports/fixedreports.h"
#include "ui/program.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace perlinex;
using namespace perlinex::custom;

namespace {

// The designer on a collection of its own, driven as a user drives it: clicks, typing, Tab.
class DesignerTest : public TempFolderTest {
protected:
    ScriptedDialogs dialogs;
    std::unique_ptr<Program> program;
    std::unique_ptr<reports::FixedReports> reports;
    std::unique_ptr<frmRptSpec> w;

    void SetUp() override {
        TempFolderTest::SetUp();
        makeCustomCollection(path("stamp.mdb"));
        program = std::make_unique<Program>(dialogs, dir.path());
        program->settingsFile = path(QStringLiteral("settings.ini"));
        ChkDateFmt(*program);
        program->openCollection();
        reports = std::make_unique<reports::FixedReports>(*program, nullptr);
        w.reset(frmRptSpec::create(*program, *reports));
        ASSERT_TRUE(w);
        w->show();
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    }
    void TearDown() override {
        w.reset();
        reports.reset();
        program->closeCollection();
    }

    template <typename T = QWidget> T* find(const char* name) {
        if (T* c = w->findChild<T*>(QLatin1String(name)))
            return c;
        throw std::runtime_error(std::string("the designer has no control named ") + name);
    }
    QStringList captions(const char* list) {
        QStringList out;
        for (int i = 0; i < find<QListWidget>(list)->count(); ++i)
            out << find<QListWidget>(list)->item(i)->text();
        return out;
    }
    // On the left of the button, where a check box or option has its mark and caption.
    void click(const char* name) {
        auto* b = find<QAbstractButton>(name);
        QTest::mouseClick(b, Qt::LeftButton, {},
                          QPoint(std::min(8, b->width() / 2), b->height() / 2));
    }
    void trigger(const char* action) { find<QAction>(action)->trigger(); }
    void pick(const char* list, const QString& caption, bool twice = false) {
        auto* l = find<QListWidget>(list);
        const QList<QListWidgetItem*> found = l->findItems(caption, Qt::MatchExactly);
        ASSERT_FALSE(found.isEmpty()) << caption.toStdString();
        l->scrollToItem(found.first());
        const QPoint at = l->visualItemRect(found.first()).center();
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, at);
        if (twice)
            QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, at);
    }
    void addField(const QString& caption) {
        pick("List1", caption);
        click("cmdAdd");
    }
    // Clicks into the box, types over its text and, unless told not to, leaves it with Tab.
    void type(const char* name, const QString& text, bool leave = true) {
        QWidget* box = find(name);
        QTest::mouseClick(box, Qt::LeftButton);
        ASSERT_TRUE(box->hasFocus()) << name;
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, text);
        if (leave)
            QTest::keyClick(box, Qt::Key_Tab);
        QCoreApplication::processEvents(); // a refused value's message comes up
    }
    const FieldSettings& settings(int specid) { return w->settings(specid); }
    bool shown(const QString& name) {
        return find(name.toLatin1().constData())->isVisibleTo(w.get());
    }
    QStringList messages() {
        const QStringList m = dialogs.messageTexts();
        dialogs.prompts.clear();
        return m;
    }
};

} // namespace

TEST_F(DesignerTest, AddRemoveUpAndDownMoveTheFields) {
    click("cmdAdd");
    EXPECT_EQ(messages(), QStringList{"You must select a field from the list of available fields "
                                      "to add to the report."});
    EXPECT_TRUE(w->isLayoutChanged());

    addField("Description");
    pick("List1", "Year", true); // a double-click adds too
    addField("Country");
    EXPECT_EQ(captions("List2"), (QStringList{"Description", "Year", "Country"}));
    EXPECT_FALSE(captions("List1").contains("Country"));
    EXPECT_EQ(find<QGroupBox>("frame1")->title(), "Details For Country");

    click("cmdUp");
    click("cmdUp");
    click("cmdUp"); // already first: nothing happens
    EXPECT_EQ(captions("List2"), (QStringList{"Country", "Description", "Year"}));
    pick("List2", "Year");
    click("cmdDown"); // already last
    pick("List2", "Description");
    click("cmdDown");
    EXPECT_EQ(captions("List2"), (QStringList{"Country", "Year", "Description"}));
    EXPECT_EQ(w->currentSpecId(), spec::Description);

    click("cmdRemove");
    EXPECT_EQ(w->layout().fields, (QList<int>{spec::Country, spec::Year}));
    const QStringList available = captions("List1");
    EXPECT_EQ(available.indexOf("Description"), available.indexOf("Date Sold") + 1);
    EXPECT_FALSE(shown("frame1"));
    for (const char* button : {"cmdRemove", "cmdUp", "cmdDown"})
        click(button);
    EXPECT_EQ(messages(), (QStringList{"You must select a field to remove from the report.",
                                       "You must select the field to move up in the list",
                                       "You must select the field to move down in the list"}));
}

TEST_F(DesignerTest, DetailsShowTheOneCriteriaFrameOfTheFieldsType) {
    const QList<std::pair<QString, int>> cases{
        {"Description", 1}, {"Year", 2}, {"Issue Date", 3}, {"Used", 4}, {"Country", 1}};
    for (const auto& [caption, frame] : cases)
        addField(caption);
    for (const auto& [caption, frame] : cases) {
        pick("List2", caption);
        for (int f = 1; f <= 5; ++f)
            EXPECT_EQ(shown(QStringLiteral("fraSel%1").arg(f)), f == frame)
                << caption.toStdString();
    }
}

TEST_F(DesignerTest, TypedSettingsAreTakenOverWhenTheBoxIsLeft) {
    addField("Description");
    type("txtStarting", "O'B;x");
    type("txtWidth", "2.5");
    EXPECT_EQ(settings(spec::Description).startsWith, "O'B;x");
    EXPECT_EQ(settings(spec::Description).colWidth, 2.5f);
    type("txtWidth", "0"); // hides the field
    EXPECT_TRUE(settings(spec::Description).hideField);
    EXPECT_TRUE(find<QCheckBox>("chkHide")->isChecked());
    type("txtWidth", "wide"); // refused, and the focus goes on
    EXPECT_EQ(messages(), QStringList{"You must enter a valid number for the column width"});
    EXPECT_EQ(settings(spec::Description).colWidth, 0.0f);
    EXPECT_EQ(QApplication::focusWidget(), find("chkHide"));

    addField("Year");
    type("txtLess", "1,950");
    type("txtLess", "abc"); // refused, and the focus comes back
    EXPECT_EQ(messages(),
              QStringList{"You must enter a number or leave this selection field blank"});
    EXPECT_EQ(settings(spec::Year).lessThan, "1,950");
    EXPECT_EQ(QApplication::focusWidget(), find("txtLess"));
    type("txtLess", "  ");
    type("txtGreater", "(5)");
    click("chkTotal");
    EXPECT_EQ(settings(spec::Year).lessThan, "");
    EXPECT_EQ(settings(spec::Year).greaterThan, "(5)");
    EXPECT_TRUE(settings(spec::Year).showTotal);

    addField("Issue Date");
    type("dcStartDate", "3/1/2001");
    type("dcEndDate", "4/30/2001");
    type("dcStartDate", "");
    type("dcEndDate", "4/31/2001");
    EXPECT_EQ(messages(),
              QStringList{"You must enter a valid date or leave this selection field blank."});
    EXPECT_FALSE(settings(spec::IssueDate).rangeFrom.isValid());
    EXPECT_EQ(settings(spec::IssueDate).rangeTo.date(), QDate(2001, 4, 30));
    EXPECT_EQ(QApplication::focusWidget(), find("dcEndDate"));

    addField("Used");
    click("optFalse");
    EXPECT_TRUE(settings(spec::Used).critFalse);
    click("optTrue");
    EXPECT_TRUE(settings(spec::Used).critTrue && !settings(spec::Used).critFalse);

    // Settings stay with a field that leaves the report, and come back with it.
    pick("List2", "Year");
    click("cmdRemove");
    addField("Year");
    EXPECT_EQ(find<QLineEdit>("txtGreater")->text(), "(5)");
    EXPECT_TRUE(find<QCheckBox>("chkTotal")->isChecked());
    pick("List2", "Issue Date");
    EXPECT_EQ(find<DateField>("dcEndDate")->text(), "4/30/2001");
}

TEST_F(DesignerTest, TheDateDropDownOpensTheCalendarOnToday) {
    addField("Issue Date");
    auto* box = find<DateField>("dcStartDate");
    QTest::mouseClick(box, Qt::LeftButton);
    QString caption;
    QDate opened;
    QTimer::singleShot(0, [&] {
        auto* calendar = qobject_cast<frmDateEnt*>(QApplication::activeModalWidget());
        ASSERT_TRUE(calendar);
        caption = calendar->windowTitle();
        opened = calendar->currentDate();
        QTest::keyClick(calendar->findChild<QTableWidget*>("Grid1"), Qt::Key_Return);
    });
    box->showPopup();
    EXPECT_EQ(caption, "Select Start Date");
    EXPECT_EQ(opened, QDate::currentDate());
    EXPECT_EQ(settings(spec::IssueDate).rangeFrom.date(), QDate::currentDate());
    EXPECT_TRUE(w->isLayoutChanged());
}

TEST_F(DesignerTest, TheTargetShowsOrHidesThePageFrames) {
    find<QTabWidget>("Tab1")->setCurrentIndex(1);
    const struct {
        const char* option;
        bool frames;
    } cases[] = {{"optReportTo2", false}, {"optReportTo3", false}, {"optReportTo1", true}};
    for (const auto& c : cases) {
        click(c.option);
        EXPECT_EQ(shown("fraOrient"), c.frames) << c.option;
        EXPECT_EQ(shown("fraFormat"), c.frames) << c.option;
    }
    EXPECT_TRUE(w->isLayoutChanged());
}

TEST_F(DesignerTest, SavingAsksBeforeReplacingAndSaveAsksNothing) {
    addField("Description");
    type("txtStarting", "P;");
    const QString file = path("mine.rpt");
    writeFileBytes(file, "precious");
    dialogs.texts = {path("mine")}; // .rpt is added
    dialogs.answers = {Answer::No};
    trigger("mnuSaveAs");
    EXPECT_EQ(fileText(file), "precious");
    EXPECT_TRUE(w->layoutFile().isEmpty());
    EXPECT_EQ(dialogs.prompts.back().text,
              "The report file '" + file + "' already exists.  Do you wish to replace it?");
    EXPECT_EQ(dialogs.prompts.back().title, "File Exists");

    dialogs.texts = {file};
    dialogs.answers = {Answer::Yes};
    trigger("mnuSaveAs");
    EXPECT_FALSE(w->isLayoutChanged());
    EXPECT_EQ(w->windowTitle(), "Custom Report - " + path("mine"));
    EXPECT_EQ(QString::fromUtf8(writeLayout(w->layout())), fileText(file));

    dialogs.prompts.clear();
    type("txtStarting", "Q");
    trigger("mnuSave");
    EXPECT_TRUE(dialogs.prompts.empty());
    EXPECT_TRUE(fileText(file).contains("\r\nQ;"));
}

TEST_F(DesignerTest, NeitherSaveNorGenerateWritesOverTheCollectionOrTheLayout) {
    addField("Description");
    const auto bytes = [](const QString& name) {
        QFile f(name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const QByteArray collection = bytes(path("stamp.mdb"));
    dialogs.texts = {path("stamp.mdb")};
    trigger("mnuSaveAs");
    QStringList told = messages();
    ASSERT_EQ(told.size(), 1); // the refusal, not "already exists"
    EXPECT_TRUE(told[0].contains("is the collection")) << told[0].toStdString();
    EXPECT_EQ(bytes(path("stamp.mdb")), collection);
    EXPECT_TRUE(w->layoutFile().isEmpty());
    EXPECT_TRUE(w->isLayoutChanged());

    // Saved, its file is not a target of the report it describes.
    dialogs.texts = {path("mine.rpt")};
    trigger("mnuSaveAs");
    const QByteArray saved = bytes(path("mine.rpt"));
    ASSERT_FALSE(saved.isEmpty());
    find<QTabWidget>("Tab1")->setCurrentIndex(1);
    click("optReportTo2");
    dialogs.prompts.clear();
    dialogs.texts = {path("mine.rpt")};
    click("cmdGenerate");
    told = messages();
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].contains("the layout file")) << told[0].toStdString();
    EXPECT_EQ(bytes(path("mine.rpt")), saved);
}

TEST_F(DesignerTest, TheSavePromptComesBeforeALayoutIsAbandoned) {
    trigger("mnuNew"); // nothing changed: no question
    EXPECT_TRUE(dialogs.prompts.empty());
    addField("Year");
    trigger("mnuNew");
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_EQ(dialogs.prompts[0].text, "Do you wish to save the current report?");
    EXPECT_EQ(dialogs.prompts[0].title, "Save Current Report");
    EXPECT_EQ(dialogs.prompts[0].buttons, Buttons::YesNo);
    EXPECT_TRUE(captions("List2").isEmpty());
    EXPECT_FALSE(w->isLayoutChanged());

    // A save cancelled in its file dialog keeps the layout changed; closing asks again.
    addField("Year");
    dialogs.texts = {std::nullopt, path("closing.rpt")};
    trigger("mnuSave");
    EXPECT_TRUE(w->isLayoutChanged());
    dialogs.answers = {Answer::Yes};
    click("cmdCancel");
    EXPECT_FALSE(w->isVisible());
    const LayoutRead read =
        readLayout(fileText(path("closing.rpt")).toUtf8(), shippedCatalogue(), "stamp");
    ASSERT_TRUE(read.layout);
    EXPECT_EQ(read.layout->fields, QList<int>{spec::Year});
}

TEST_F(DesignerTest, OpenRestoresALayoutAndRefusesAnInvalidFile) {
    Layout saved = layoutOf({spec::Country, spec::Used});
    saved.title = "Mine";
    saved.target = Target::TextFile;
    saved.sort = {sortPosition(spec::Year), -1};
    saved.setting(spec::Used).critFalse = true;
    saved.setting(spec::Year).lessThan = "1900"; // not in the report
    writeFileBytes(path("saved.rpt"), writeLayout(saved));
    writeFileBytes(path("bad.rpt"), "not a layout\r\n");

    dialogs.texts = {path("saved.rpt"), path("bad.rpt")};
    trigger("mnuOpen");
    EXPECT_EQ(w->layout(), saved);
    EXPECT_EQ(w->currentSpecId(), spec::Country);
    EXPECT_EQ(find<QComboBox>("cmbSort1")->currentText(), "Year");
    EXPECT_FALSE(w->isLayoutChanged());
    EXPECT_EQ(w->windowTitle(), "Custom Report - " + path("saved"));

    // An invalid file changes nothing, so that Save cannot write a half-read layout over it.
    trigger("mnuOpen");
    EXPECT_EQ(messages().last(),
              "This does not appear to be a valid report file for this program.");
    EXPECT_EQ(w->layout(), saved);
    EXPECT_EQ(w->layoutFile(), path("saved.rpt"));
}

TEST_F(DesignerTest, GenerateTakesOverTheValueBeingTyped) {
    addField("Description");
    find<QTabWidget>("Tab1")->setCurrentIndex(1);
    click("optReportTo2");
    find<QTabWidget>("Tab1")->setCurrentIndex(0);
    type("txtStarting", "penny", false);
    dialogs.texts = {path("penny.txt")};
    click("cmdGenerate");
    EXPECT_EQ(fileText(path("penny.txt")), crlf({"Penny Black", "penny red"}));

    // A refused value is said, and nothing is made.
    addField("Year");
    type("txtLess", "many", false);
    dialogs.prompts.clear();
    click("cmdGenerate");
    QCoreApplication::processEvents();
    EXPECT_EQ(messages(),
              QStringList{"You must enter a number or leave this selection field blank"});
}

TEST_F(DesignerTest, ANulPastedIntoACriterionIsRefusedAsAnInvalidValue) {
    addField("Description");
    find<QTabWidget>("Tab1")->setCurrentIndex(1);
    click("optReportTo2");
    find<QTabWidget>("Tab1")->setCurrentIndex(0);
    QGuiApplication::clipboard()->setText(QStringLiteral("pen") + QChar(0) + QStringLiteral("ny"));
    auto* box = find<QLineEdit>("txtStarting");
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Tab);
    ASSERT_TRUE(settings(spec::Description).startsWith.contains(QChar(0)));
    dialogs.prompts.clear();
    dialogs.texts = {path("nul.txt")};
    click("cmdGenerate");
    QCoreApplication::processEvents();
    const QStringList said = messages();
    ASSERT_EQ(said.size(), 1) << said.join(u'\n').toStdString();
    EXPECT_TRUE(said[0].contains(QStringLiteral("NUL"))) << said[0].toStdString();
    EXPECT_TRUE(said[0].contains(QStringLiteral("Description")));
    EXPECT_FALSE(said[0].contains(QStringLiteral("token"))) << said[0].toStdString();
    EXPECT_FALSE(QFile::exists(path("nul.txt")));
}

TEST_F(DesignerTest, CatalogueRowsWhoseNamesAreNotTheCollectionsAreLeftOutAndSaid) {
    w.reset();
    const QString catalogue = path("rptspec.mdb");
    QFile::remove(catalogue);
    db::createCatalogue(catalogue);
    db::openDatabaseFile(catalogue, db::OpenMode::Shared)
        ->execute("update RptSpec set fieldname = 'Coudesc from country --' where specid = 1; "
                  "update RptSpec set FileName = 'stamp; drop table stamp' where specid = 4");
    dialogs.prompts.clear();
    w.reset(frmRptSpec::create(*program, *reports));
    ASSERT_TRUE(w);
    const QStringList said = messages();
    ASSERT_EQ(said.size(), 1);
    EXPECT_TRUE(said[0].contains("row 1 (Description)")) << said[0].toStdString();
    EXPECT_TRUE(said[0].contains("row 4 (Year)")) << said[0].toStdString();
    EXPECT_FALSE(captions("List1").contains("Description"));
    EXPECT_FALSE(captions("List1").contains("Year"));

    w->show();
    addField("Catalog Number");
    find<QTabWidget>("Tab1")->setCurrentIndex(1);
    click("optReportTo2");
    dialogs.texts = {path("numbers.txt")};
    click("cmdGenerate");
    EXPECT_TRUE(messages().isEmpty());
    const QString written = fileText(path("numbers.txt"));
    EXPECT_TRUE(written.contains("SG 1")) << written.toStdString();
    EXPECT_FALSE(written.contains("Sweden")) << written.toStdString();
    EXPECT_EQ(program->CollectionDb->scalar("select count(*) from stamp").toInteger(), 8);
}

TEST_F(DesignerTest, TheMenuCommandsAndTheOneWindow) {
    QStringList texts;
    for (QAction* a : find<QMenu>("mnuFileMenu")->actions())
        texts << (a->isSeparator() ? a->objectName() : a->text());
    EXPECT_EQ(texts, (QStringList{"&New", "&Open", "&Save", "Save &As", "mnuDash1",
                                  "E&xit Custom Reports"}));
    EXPECT_EQ(w->windowTitle(), "Custom Report");

    w.reset();
    QPointer<frmRptSpec> first = showCustomReports(*program, *reports, nullptr);
    ASSERT_TRUE(first && first->isVisible());
    EXPECT_EQ(showCustomReports(*program, *reports, nullptr), first.data());
    closeCustomReports(*program);
    EXPECT_SOON(first.isNull());
}

TEST_F(DesignerTest, AltAndCtrlLettersTypeNothingIntoItsBoxesAndItsShortcutsStillWork) {
    auto* title = find<QLineEdit>("txtTitle");
    find<QTabWidget>("Tab1")->setCurrentIndex(1);
    title->setFocus();
    const QString before = title->text();
    for (const Qt::Key key : {Qt::Key_K, Qt::Key_J, Qt::Key_B})
        QTest::keyClick(title, key, Qt::AltModifier);
    EXPECT_EQ(title->text(), before);
    EXPECT_FALSE(w->isLayoutChanged());
    // Ctrl+S is the menu's Save: it asks where to save.
    dialogs.texts = {std::nullopt};
    QTest::keyClick(title, Qt::Key_S, Qt::ControlModifier);
    ASSERT_SOON(!dialogs.prompts.empty());
    EXPECT_EQ(dialogs.prompts.back().kind, "save");
}

TEST_F(DesignerTest, AReportFileIsOfferedUnderTheLayoutsNameAndTheStatusBarSaysWhereItWent) {
    addField("Description");
    find<QTabWidget>("Tab1")->setCurrentIndex(1);
    click("optReportTo2");
    // Not saved yet: the report's title names the file.
    dialogs.texts = {path("first.txt")};
    click("cmdGenerate");
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_EQ(QFileInfo(dialogs.prompts[0].text).fileName(), "Perlinex Report.txt");
    const QString said = w->statusBar()->currentMessage();
    EXPECT_TRUE(said.endsWith(" stamps written to " + QDir::toNativeSeparators(path("first.txt"))))
        << said.toStdString();

    dialogs.texts = {path("sales.rpt")};
    trigger("mnuSaveAs");
    dialogs.prompts.clear();
    dialogs.texts = {std::nullopt};
    click("cmdGenerate");
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_EQ(dialogs.prompts[0].text, path("sales.txt"));
}
