#include "custom_support.h"

#include "custom/frmrptspec.h"
#include "custom/layoutfile.h"
#include "dates/datefield.h"
#include "dates/frmdateent.h"
#include "reports/fixedreports.h"
#include "ui/program.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace perlinex;
using namespace perlinex::custom;

namespace {

// The designer on a collection of its own, driven as a user drives it: mouse clicks, typing,
// Tab to leave a box.
class DesignerTest : public TempFolderTest {
protected:
    ScriptedDialogs dialogs;
    std::unique_ptr<Program> program;
    std::unique_ptr<reports::FixedReports> reports;
    std::unique_ptr<frmRptSpec> w;

    void SetUp() override {
        TempFolderTest::SetUp();
        makeCustomCollection(path("stamp.mdb"))->close();
        program = std::make_unique<Program>(dialogs, dir.path());
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
        T* c = w->findChild<T*>(QLatin1String(name));
        if (!c)
            throw std::runtime_error(std::string("the designer has no control named ") + name);
        return c;
    }
    QListWidget* list(const char* name) { return find<QListWidget>(name); }
    QStringList captions(const char* name) {
        QStringList out;
        for (int i = 0; i < list(name)->count(); ++i)
            out << list(name)->item(i)->text();
        return out;
    }
    // On the button's left, where a check box or option has its mark and caption.
    void click(const char* name) {
        QAbstractButton* b = find<QAbstractButton>(name);
        QTest::mouseClick(b, Qt::LeftButton, {},
                          QPoint(std::min(8, b->width() / 2), b->height() / 2));
    }
    QListWidgetItem* item(const char* listName, const QString& caption) {
        const QList<QListWidgetItem*> found = list(listName)->findItems(caption, Qt::MatchExactly);
        if (found.isEmpty())
            throw std::runtime_error("no entry " + caption.toStdString());
        return found.first();
    }
    void pick(const char* listName, const QString& caption, bool twice = false) {
        QListWidget* l = list(listName);
        QListWidgetItem* i = item(listName, caption);
        l->scrollToItem(i);
        const QPoint at = l->visualItemRect(i).center();
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, at);
        if (twice)
            QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, at);
    }
    void addField(const QString& caption) {
        pick("List1", caption);
        click("cmdAdd");
    }
    // Clicks into the box, replaces its text by typing, and leaves it with Tab.
    void type(QWidget* box, const QString& text, bool leave = true) {
        QTest::mouseClick(box, Qt::LeftButton);
        ASSERT_TRUE(box->hasFocus());
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, text);
        if (leave)
            QTest::keyClick(box, Qt::Key_Tab);
    }
    void type(const char* name, const QString& text, bool leave = true) {
        type(find(name), text, leave);
    }
    // Lets the queued message of a refused value come up.
    void settle() {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    const FieldSettings& settings(int specid) { return w->settings(specid); }
    bool shown(const char* name) { return find(name)->isVisibleTo(w.get()); }
};

} // namespace

TEST_F(DesignerTest, AddRemoveUpAndDownMoveTheFields) {
    click("cmdAdd");
    EXPECT_EQ(dialogs.messageTexts(),
              QStringList{"You must select a field from the list of available fields to add to "
                          "the report."});
    EXPECT_TRUE(w->isLayoutChanged());
    EXPECT_TRUE(captions("List2").isEmpty());

    addField("Description");
    pick("List1", "Year", true); // a double-click adds too
    addField("Country");
    EXPECT_EQ(captions("List2"), (QStringList{"Description", "Year", "Country"}));
    EXPECT_FALSE(captions("List1").contains("Country"));
    EXPECT_EQ(w->currentSpecId(), spec::Country);
    EXPECT_EQ(find<QGroupBox>("frame1")->title(), "Details For Country");

    click("cmdUp");
    EXPECT_EQ(captions("List2"), (QStringList{"Description", "Country", "Year"}));
    click("cmdUp");
    click("cmdUp"); // already first: nothing happens
    EXPECT_EQ(captions("List2"), (QStringList{"Country", "Description", "Year"}));
    EXPECT_EQ(list("List2")->currentRow(), 0);
    pick("List2", "Year");
    click("cmdDown"); // already last
    EXPECT_EQ(captions("List2"), (QStringList{"Country", "Description", "Year"}));
    pick("List2", "Description");
    click("cmdDown");
    EXPECT_EQ(captions("List2"), (QStringList{"Country", "Year", "Description"}));
    EXPECT_EQ(w->currentSpecId(), spec::Description);

    click("cmdRemove");
    EXPECT_EQ(captions("List2"), (QStringList{"Country", "Year"}));
    const QStringList available = captions("List1");
    EXPECT_EQ(available.indexOf("Description"), available.indexOf("Date Sold") + 1);
    EXPECT_FALSE(shown("frame1"));
    EXPECT_EQ(w->layout().fields, (QList<int>{spec::Country, spec::Year}));

    dialogs.prompts.clear();
    for (const char* button : {"cmdRemove", "cmdUp", "cmdDown"})
        click(button);
    EXPECT_EQ(dialogs.messageTexts(), (QStringList{"You must select a field to remove from the "
                                                   "report.",
                                                   "You must select the field to move up in the "
                                                   "list",
                                                   "You must select the field to move down in the "
                                                   "list"}));
}

TEST_F(DesignerTest, DetailsShowTheOneCriteriaFrameOfTheFieldsType) {
    const struct {
        const char* caption;
        int frame;
    } cases[] = {{"Description", 1}, {"Year", 2}, {"Issue Date", 3}, {"Used", 4}, {"Country", 1}};
    for (const auto& c : cases)
        addField(c.caption);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        pick("List2", c.caption);
        EXPECT_TRUE(shown("frame1"));
        for (int frame = 1; frame <= 5; ++frame)
            EXPECT_EQ(shown(QStringLiteral("fraSel%1").arg(frame).toLatin1().constData()),
                      frame == c.frame);
    }
}

TEST_F(DesignerTest, TypedSettingsAreTakenOverWhenTheBoxIsLeft) {
    addField("Description");
    type("txtStarting", "O'B;x");
    EXPECT_EQ(settings(spec::Description).startsWith, "O'B;x");
    type("txtWidth", "2.5");
    EXPECT_EQ(settings(spec::Description).colWidth, 2.5f);

    // A width of 0 hides the field; letters are refused without keeping the focus.
    type("txtWidth", "0");
    EXPECT_TRUE(settings(spec::Description).hideField);
    EXPECT_TRUE(find<QCheckBox>("chkHide")->isChecked());
    type("txtWidth", "wide");
    settle();
    EXPECT_EQ(dialogs.messageTexts(),
              QStringList{"You must enter a valid number for the column width"});
    EXPECT_EQ(settings(spec::Description).colWidth, 0.0f);
    EXPECT_EQ(QApplication::focusWidget(), find("chkHide"));

    addField("Year");
    type("txtLess", "1,950");
    EXPECT_EQ(settings(spec::Year).lessThan, "1,950");
    dialogs.prompts.clear();
    type("txtLess", "abc");
    settle();
    EXPECT_EQ(dialogs.messageTexts(),
              QStringList{"You must enter a number or leave this selection field blank"});
    EXPECT_EQ(settings(spec::Year).lessThan, "1,950");
    EXPECT_EQ(QApplication::focusWidget(), find("txtLess"));
    type("txtLess", "  ");
    EXPECT_EQ(settings(spec::Year).lessThan, "");
    type("txtGreater", "(5)");
    EXPECT_EQ(settings(spec::Year).greaterThan, "(5)");
    click("chkTotal");
    EXPECT_TRUE(settings(spec::Year).showTotal);

    addField("Issue Date");
    type("dcStartDate", "3/1/2001");
    EXPECT_EQ(settings(spec::IssueDate).rangeFrom.date(), QDate(2001, 3, 1));
    type("dcEndDate", "4/30/2001");
    EXPECT_EQ(settings(spec::IssueDate).rangeTo.date(), QDate(2001, 4, 30));
    type("dcStartDate", "");
    EXPECT_FALSE(settings(spec::IssueDate).rangeFrom.isValid());
    dialogs.prompts.clear();
    type("dcEndDate", "4/31/2001");
    settle();
    EXPECT_EQ(dialogs.messageTexts(),
              QStringList{"You must enter a valid date or leave this selection field blank."});
    EXPECT_EQ(settings(spec::IssueDate).rangeTo.date(), QDate(2001, 4, 30));
    EXPECT_EQ(QApplication::focusWidget(), find("dcEndDate"));

    addField("Used");
    click("optFalse");
    EXPECT_TRUE(settings(spec::Used).critFalse);
    click("optTrue");
    EXPECT_TRUE(settings(spec::Used).critTrue);
    EXPECT_FALSE(settings(spec::Used).critFalse);

    // Settings stay with a field that leaves the report and come back with it.
    pick("List2", "Year");
    click("cmdRemove");
    addField("Year");
    EXPECT_EQ(find<QLineEdit>("txtGreater")->text(), "(5)");
    EXPECT_TRUE(find<QCheckBox>("chkTotal")->isChecked());
    pick("List2", "Issue Date");
    EXPECT_EQ(find<DateField>("dcEndDate")->text(), "4/30/2001");
    EXPECT_EQ(find<DateField>("dcStartDate")->text(), "");
}

TEST_F(DesignerTest, TheDateDropDownOpensTheCalendar) {
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
    EXPECT_TRUE(shown("fraOrient"));
    click("optReportTo2");
    EXPECT_FALSE(shown("fraOrient"));
    EXPECT_FALSE(shown("fraFormat"));
    EXPECT_TRUE(w->isLayoutChanged());
    click("optReportTo3");
    EXPECT_FALSE(shown("fraFormat"));
    click("optReportTo1");
    EXPECT_TRUE(shown("fraOrient"));
    EXPECT_TRUE(shown("fraFormat"));
    EXPECT_EQ(w->layout().target, Target::Screen);
}

TEST_F(DesignerTest, SavingWritesTheLayoutAndAsksBeforeReplacing) {
    addField("Description");
    type("txtStarting", "P;");
    const QString file = path("mine.rpt");
    writeFileBytes(file, "precious");

    // Save As onto an existing file, declined; then accepted. A name without an extension
    // gets .rpt.
    dialogs.texts = {path("mine")};
    dialogs.answers = {Answer::No};
    find<QAction>("mnuSaveAs")->trigger();
    EXPECT_EQ(fileText(file), "precious");
    EXPECT_TRUE(w->layoutFile().isEmpty());
    EXPECT_TRUE(program->DialogCancelled);
    EXPECT_EQ(dialogs.prompts.back().text,
              QStringLiteral("The report file '%1' already exists.  Do you wish to replace it?")
                  .arg(file));
    EXPECT_EQ(dialogs.prompts.back().title, "File Exists");

    dialogs.texts = {file};
    dialogs.answers = {Answer::Yes};
    find<QAction>("mnuSaveAs")->trigger();
    EXPECT_EQ(w->layoutFile(), file);
    EXPECT_FALSE(w->isLayoutChanged());
    EXPECT_EQ(w->windowTitle(), "Custom Report - " + path("mine"));
    EXPECT_EQ(QString::fromUtf8(writeLayout(w->layout())), fileText(file));

    // Save to the same file asks nothing.
    dialogs.prompts.clear();
    type("txtStarting", "Q");
    find<QAction>("mnuSave")->trigger();
    EXPECT_TRUE(dialogs.prompts.empty());
    EXPECT_TRUE(fileText(file).contains("\r\nQ;"));
}

TEST_F(DesignerTest, TheSavePromptComesBeforeALayoutIsAbandoned) {
    // Nothing changed: no question.
    find<QAction>("mnuNew")->trigger();
    EXPECT_TRUE(dialogs.prompts.empty());

    addField("Year");
    find<QAction>("mnuNew")->trigger();
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_EQ(dialogs.prompts[0].text, "Do you wish to save the current report?");
    EXPECT_EQ(dialogs.prompts[0].title, "Save Current Report");
    EXPECT_EQ(dialogs.prompts[0].buttons, Buttons::YesNo);
    EXPECT_TRUE(captions("List2").isEmpty());
    EXPECT_FALSE(w->isLayoutChanged());

    // Yes saves before the window goes; a cancelled save keeps asking next time.
    addField("Year");
    dialogs.prompts.clear();
    dialogs.answers = {Answer::Yes};
    dialogs.texts = {std::nullopt};
    find<QAction>("mnuSave")->trigger();
    EXPECT_TRUE(w->isLayoutChanged());
    const QString file = path("closing.rpt");
    dialogs.answers = {Answer::Yes};
    dialogs.texts = {file};
    click("cmdCancel");
    EXPECT_FALSE(w->isVisible());
    const LayoutRead read =
        readLayout(fileText(file).toUtf8(), shippedCatalogue(), QStringLiteral("stamp"));
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
    const QString file = path("saved.rpt");
    writeFileBytes(file, writeLayout(saved));

    dialogs.texts = {file};
    find<QAction>("mnuOpen")->trigger();
    EXPECT_EQ(captions("List2"), (QStringList{"Country", "Used"}));
    EXPECT_EQ(w->currentSpecId(), spec::Country);
    EXPECT_TRUE(shown("fraSel1"));
    EXPECT_EQ(find<QLineEdit>("txtTitle")->text(), "Mine");
    EXPECT_EQ(find<QComboBox>("cmbSort1")->currentText(), "Year");
    EXPECT_EQ(find<QComboBox>("cmbSort2")->currentIndex(), -1);
    EXPECT_FALSE(w->isLayoutChanged());
    EXPECT_EQ(w->layout(), saved);
    EXPECT_EQ(w->layoutFile(), file);

    const QString bad = path("bad.rpt");
    writeFileBytes(bad, "not a layout\r\n");
    dialogs.prompts.clear();
    dialogs.texts = {bad};
    find<QAction>("mnuOpen")->trigger();
    ASSERT_EQ(dialogs.prompts.size(), 2u);
    EXPECT_EQ(dialogs.prompts[1].text,
              "This does not appear to be a valid report file for this program.");
    EXPECT_EQ(dialogs.prompts[1].title, "Invalid Report File");
    EXPECT_EQ(w->layout(), saved);
    EXPECT_EQ(w->layoutFile(), file);
}

TEST_F(DesignerTest, GenerateTakesOverTheValueBeingTyped) {
    addField("Description");
    find<QTabWidget>("Tab1")->setCurrentIndex(1);
    click("optReportTo2");
    find<QTabWidget>("Tab1")->setCurrentIndex(0);
    type("txtStarting", "penny", false);
    const QString file = path("penny.txt");
    dialogs.texts = {file};
    click("cmdGenerate");
    EXPECT_EQ(fileText(file), crlf({"Penny Black", "penny red"}));

    // A refused value is said, and nothing is made.
    addField("Year");
    type("txtLess", "many", false);
    dialogs.prompts.clear();
    click("cmdGenerate");
    settle();
    EXPECT_EQ(dialogs.messageTexts(),
              QStringList{"You must enter a number or leave this selection field blank"});
    EXPECT_EQ(dialogs.prompts.size(), 1u);
}

TEST_F(DesignerTest, TheFileMenuHoldsItsCommands) {
    QStringList texts;
    for (QAction* a : find<QMenu>("mnuFileMenu")->actions())
        texts << (a->isSeparator() ? a->objectName() : a->text());
    EXPECT_EQ(texts, (QStringList{"&New", "&Open", "&Save", "Save &As", "mnuDash1",
                                  "E&xit Custom Reports"}));
    EXPECT_EQ(w->windowTitle(), "Custom Report");
    EXPECT_EQ(find<QComboBox>("cmbPageNum")->count(), 3);
    EXPECT_EQ(find<QLineEdit>("txtTitle")->text(), "Perlinex Report");
    EXPECT_TRUE(find<QRadioButton>("optWidth0")->isChecked());
}

TEST_F(DesignerTest, ShowingItAgainBringsTheSameWindowForward) {
    w.reset();
    frmRptSpec* first = showCustomReports(*program, *reports, nullptr);
    ASSERT_TRUE(first);
    QPointer<frmRptSpec> guard(first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(showCustomReports(*program, *reports, nullptr), first);
    first->close();
    EXPECT_SOON(guard.isNull());
}
