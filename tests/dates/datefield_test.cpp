#include "dates/datefield.h"
#include "dates_support.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QStyleOptionComboBox>
#include <QTableWidget>
#include <QVBoxLayout>

using perlinex::DateField;
using perlinex::frmDateEnt;
using Placement = perlinex::DateField::Placement;

namespace {

void pressOnGrid(frmDateEnt& calendar, Qt::Key key) {
    QTest::keyClick(calendar.findChild<QTableWidget*>(QStringLiteral("Grid1")), key);
}

const QString IssueMessage =
    QStringLiteral("You must enter a valid issue date, or leave the field blank.");

class DateFieldTest : public ::testing::Test {
protected:
    DatesProgram p;
    QWidget window;
    DateField* issued = DateField::issued(p.program, &window);
    DateField* purchased = DateField::purchased(p.program, &window);
    DateField* sold = DateField::sold(p.program, &window);
    QLineEdit* after = new QLineEdit(&window);

    void SetUp() override {
        auto* layout = new QVBoxLayout(&window);
        for (QWidget* w : std::initializer_list<QWidget*>{issued, purchased, sold, after})
            layout->addWidget(w);
        window.move(300, 300);
        window.show();
    }
    // Also after each calendar: the offscreen platform does not hand the activation back.
    void type(DateField* field, const QString& text) {
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        field->setFocus();
        ASSERT_SOON(field->hasFocus());
        field->lineEdit()->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
    }
    void clickArrow(DateField* field) {
        QStyleOptionComboBox option;
        option.initFrom(field);
        option.editable = true;
        const QRect arrow = field->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                           QStyle::SC_ComboBoxArrow, field);
        QTest::mouseClick(field, Qt::LeftButton, {}, arrow.center());
    }
};

} // namespace

TEST_F(DateFieldTest, ClosingTheCalendarWithoutAPickLeavesTheTextAsItWas) {
    QSignalSpy changes(issued, &DateField::changed);
    int opened = 0;
    onCalendar([&](frmDateEnt& calendar) {
        ++opened;
        EXPECT_EQ(calendar.windowTitle(), QStringLiteral("Select Issue Date"));
        EXPECT_EQ(calendar.currentDate(), QDate::currentDate());
        // A pop-up under the field, left edges aligned.
        const QRect field(issued->mapToGlobal(QPoint(0, 0)), issued->size());
        EXPECT_EQ(calendar.windowType(), Qt::Popup);
        EXPECT_EQ(calendar.frameGeometry().left(), field.left());
        EXPECT_EQ(calendar.frameGeometry().top(), field.bottom() + 1);
        pressOnGrid(calendar, Qt::Key_Escape);
    });
    QTest::keyClick(issued, Qt::Key_F4);
    EXPECT_EQ(issued->text(), QString());
    EXPECT_EQ(issued->date(), std::nullopt);

    // Text that is no date opens on today, and is kept too.
    purchased->setText(QStringLiteral("about 1950"));
    onCalendar([&](frmDateEnt& calendar) {
        ++opened;
        EXPECT_EQ(calendar.currentDate(), QDate::currentDate());
        calendar.reject();
    });
    QTest::keyClick(purchased, Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(purchased->text(), QStringLiteral("about 1950"));
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(changes.count(), 0);
}

TEST_F(DateFieldTest, CalendarOpensOnTheFieldsDateAndAPickIsWrittenAsShortDate) {
    QSignalSpy changes(sold, &DateField::changed);
    sold->setText(QStringLiteral("3/15/2024"));
    EXPECT_EQ(changes.count(), 0); // set from code, not an edit
    onCalendar([&](frmDateEnt& calendar) {
        EXPECT_EQ(calendar.windowTitle(), QStringLiteral("Select Sold Date"));
        EXPECT_EQ(calendar.currentDate(), QDate(2024, 3, 15));
        calendar.monthBack();
        pressOnGrid(calendar, Qt::Key_End);
        pressOnGrid(calendar, Qt::Key_Enter);
    });
    clickArrow(sold);
    EXPECT_EQ(sold->text(), QStringLiteral("2/29/2024"));
    EXPECT_EQ(sold->date(), QDate(2024, 2, 29));
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(window.focusWidget(), after);

    type(sold, QStringLiteral("7/4"));
    EXPECT_EQ(changes.count(), 5); // the deletion and three keys
}

TEST(CalendarPosition, AlignsWithTheFieldAndStaysOnScreen) {
    using perlinex::calendarPosition;
    const QRect screen(0, 0, 1000, 800);
    const QSize size(200, 250);
    const QRect field(400, 400, 120, 24); // right edge 519, bottom 423
    EXPECT_EQ(calendarPosition(field, size, screen, Placement::Below), QPoint(400, 424));
    // No room on its own side: the other side; off the edge: pulled back in.
    const QRect high = field.translated(500, -300);
    EXPECT_EQ(calendarPosition(high, size, screen, Placement::Above), QPoint(800, 124));
}

TEST_F(DateFieldTest, LeavingIssueOrSoldDateWithTextThatIsNoDateComplainsAndReturns) {
    type(issued, QStringLiteral("abc"));
    QTest::keyClick(issued, Qt::Key_Tab);
    ASSERT_SOON(p.dialogs.prompts.size() == 1u);
    const auto& prompt = p.dialogs.prompts[0];
    EXPECT_EQ(prompt.text, IssueMessage);
    EXPECT_EQ(prompt.title, QStringLiteral("Perlinex"));
    EXPECT_EQ(prompt.buttons, perlinex::Buttons::Ok);
    EXPECT_EQ(prompt.icon, perlinex::Icon::None);
    EXPECT_SOON(issued->hasFocus());

    for (const char* fine : {"", "   ", "12/25/1990"}) {
        type(issued, QString::fromLatin1(fine));
        QTest::keyClick(issued, Qt::Key_Tab);
        EXPECT_SOON(purchased->hasFocus()) << fine;
    }
    // A purchase date that is no date would be dropped at the store: it is refused too.
    type(purchased, QStringLiteral("31/04/2001"));
    QTest::keyClick(purchased, Qt::Key_Tab);
    ASSERT_SOON(p.dialogs.prompts.size() == 2u);
    EXPECT_EQ(p.dialogs.prompts[1].text,
              QStringLiteral("You must enter a valid purchase date, or leave the field blank."));
    EXPECT_SOON(purchased->hasFocus());
    type(purchased, QStringLiteral("4/30/2001"));
    QTest::keyClick(purchased, Qt::Key_Tab);
    EXPECT_SOON(sold->hasFocus());

    type(sold, QStringLiteral("31/12/2020")); // day first is no date in the United States
    QTest::keyClick(sold, Qt::Key_Tab);
    ASSERT_SOON(p.dialogs.prompts.size() == 3u);
    EXPECT_EQ(p.dialogs.prompts[2].text,
              QStringLiteral("You must enter a valid sold date, or leave the field blank."));
    EXPECT_SOON(sold->hasFocus());
    EXPECT_FALSE(sold->checkOnLeave());
    EXPECT_TRUE(purchased->checkOnLeave());
}

TEST_F(DateFieldTest, FocusTakenBackIsNotCheckedAgainAndNoCalendarOpensOverAComplaint) {
    // Two wrong fields: taking the focus back from the second must not start its check, or
    // the focus would bounce between them.
    sold->setText(QStringLiteral("xyz"));
    type(issued, QStringLiteral("abc"));
    QTest::mouseClick(sold->lineEdit(), Qt::LeftButton);
    EXPECT_SOON(issued->hasFocus());
    QCoreApplication::processEvents();
    EXPECT_EQ(p.dialogs.messageTexts(), QStringList{IssueMessage});

    // Straight from the wrong field to another field's arrow: the complaint, no calendar.
    QTimer::singleShot(0, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            ADD_FAILURE() << "a calendar came up";
            dialog->reject();
        }
    });
    clickArrow(purchased);
    EXPECT_EQ(p.dialogs.messageTexts(), (QStringList{IssueMessage, IssueMessage}));
    EXPECT_SOON(issued->hasFocus());
}
