#include "dates/spinbutton.h"
#include "dates_support.h"

#include <QLineEdit>
#include <QTableWidget>
#include <QToolButton>

using perlinex::frmDateEnt;
using perlinex::SpinButton;

namespace {

class CalendarTest : public ::testing::Test {
protected:
    DatesProgram p;
    std::unique_ptr<frmDateEnt> calendar;
    QDate opensOn;

    void open(const QDate& date, bool show = false) {
        opensOn = date;
        calendar = std::make_unique<frmDateEnt>(p.program, nullptr, opensOn);
        if (show) {
            calendar->show();
            calendar->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(calendar.get()));
        }
    }
    template <class T> T* child(const char* name) {
        return calendar->findChild<T*>(QString::fromLatin1(name));
    }
    QTableWidget* grid() { return child<QTableWidget>("Grid1"); }
    void spin(const char* name, bool up) {
        auto* spin = child<SpinButton>(name);
        QTest::mouseClick(up ? spin->upButton() : spin->downButton(), Qt::LeftButton);
    }
    QString week(int row) {
        QStringList cells;
        for (int column = 0; column < 7; ++column)
            cells << grid()->item(row, column)->text();
        return cells.join(u'|');
    }
    QString selected() {
        const auto items = grid()->selectedItems();
        return items.size() == 1 ? items[0]->text() : QStringLiteral("(none or several)");
    }
    void clickCell(int row, int column) {
        const QRect rect = grid()->visualRect(grid()->model()->index(row, column));
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, rect.center());
    }
};

} // namespace

TEST_F(CalendarTest, LaysOutMonthSundayFirstWithTheCurrentDaySelected) {
    open(QDate(2025, 2, 14)); // 1 February 2025 is a Saturday
    EXPECT_EQ(calendar->windowTitle(), QStringLiteral("Select Date"));
    EXPECT_EQ(child<QLineEdit>("txtMonth")->text(), QStringLiteral("February"));
    EXPECT_EQ(child<QLineEdit>("txtYear")->text(), QStringLiteral("2025"));
    EXPECT_EQ(week(0), QStringLiteral(" Sun | Mon | Tue | Wed | Thu | Fri | Sat "));
    EXPECT_EQ(week(1), QStringLiteral("||||||1"));
    EXPECT_EQ(week(5), QStringLiteral("23|24|25|26|27|28|"));
    EXPECT_EQ(selected(), QStringLiteral("14"));
    EXPECT_EQ(grid()->currentRow(), 3);
    EXPECT_EQ(grid()->currentColumn(), 5);

    // 1 March 2024 is a Friday: the 31st takes a sixth row, which February must empty.
    open(QDate(2024, 3, 31));
    EXPECT_EQ(week(6), QStringLiteral("31||||||"));
    calendar->monthBack();
    EXPECT_EQ(week(1), QStringLiteral("||||1|2|3"));
    EXPECT_EQ(week(6), QStringLiteral("||||||"));
    EXPECT_EQ(selected(), QStringLiteral("1"));
}

TEST_F(CalendarTest, SpinsKeepTheDayWhereTheTargetMonthHasItAndBeepOutsideTheYears) {
    open(QDate(2023, 1, 31), true);
    spin("Spin1", true);
    EXPECT_EQ(calendar->currentDate(), QDate(2023, 2, 1));
    EXPECT_EQ(child<QLineEdit>("txtMonth")->text(), QStringLiteral("February"));

    open(QDate(2023, 1, 15), true);
    spin("Spin1", false);
    EXPECT_EQ(calendar->currentDate(), QDate(2022, 12, 15));

    open(QDate(2024, 2, 29), true);
    spin("Spin2", true);
    EXPECT_EQ(calendar->currentDate(), QDate(2025, 2, 1));
    EXPECT_EQ(p.dialogs.beeps, 0);

    open(QDate(9999, 12, 20));
    calendar->monthForward();
    calendar->yearForward();
    EXPECT_EQ(p.dialogs.beeps, 2);
    EXPECT_EQ(calendar->currentDate(), QDate(9999, 12, 20));
    EXPECT_EQ(selected(), QStringLiteral("20"));
    open(QDate(frmDateEnt::FirstYear, 1, 9));
    calendar->monthBack();
    calendar->yearBack();
    EXPECT_EQ(p.dialogs.beeps, 4);
    EXPECT_EQ(calendar->currentDate(), QDate(frmDateEnt::FirstYear, 1, 9));
}

TEST_F(CalendarTest, ClickOnADayPicksItButNotOnTheWeekdayRowOrABlankCell) {
    open(QDate(2025, 2, 14), true);
    clickCell(0, 3);
    clickCell(1, 0);
    clickCell(6, 6);
    EXPECT_TRUE(calendar->isVisible());
    EXPECT_EQ(calendar->pickedDate(), std::nullopt);
    EXPECT_EQ(selected(), QStringLiteral("14"));
    clickCell(4, 3);
    EXPECT_FALSE(calendar->isVisible());
    EXPECT_TRUE(calendar->picked());
    EXPECT_EQ(calendar->pickedDate(), std::optional(QDate(2025, 2, 19)));
}

TEST_F(CalendarTest, KeyboardMovesThroughDaysAndMonthsPicksWithEnterAndEscapes) {
    open(QDate(2024, 1, 31), true);
    const std::pair<QKeyCombination, QDate> moves[] = {
        {Qt::Key_Right, QDate(2024, 2, 1)},
        {Qt::Key_Up, QDate(2024, 1, 25)},
        {Qt::Key_PageDown, QDate(2024, 2, 25)},
        {Qt::ControlModifier | Qt::Key_PageUp, QDate(2023, 2, 25)},
        {Qt::Key_Down, QDate(2023, 3, 4)},
        {Qt::Key_Left, QDate(2023, 3, 3)},
    };
    for (const auto& [key, date] : moves) {
        QTest::keyClick(grid(), key.key(), key.keyboardModifiers());
        EXPECT_EQ(calendar->currentDate(), date);
    }
    EXPECT_EQ(selected(), QStringLiteral("3"));
    QTest::keyClick(child<SpinButton>("Spin2"), Qt::Key_Up);
    QTest::keyClick(grid(), Qt::Key_Return);
    EXPECT_TRUE(calendar->picked());
    EXPECT_EQ(calendar->pickedDate(), std::optional(QDate(2024, 3, 3)));

    open(QDate(2024, 6, 10), true);
    QTest::keyClick(grid(), Qt::Key_Right);
    QTest::keyClick(grid(), Qt::Key_Escape);
    EXPECT_FALSE(calendar->isVisible());
    EXPECT_FALSE(calendar->picked());
    EXPECT_EQ(calendar->pickedDate(), std::nullopt);
}

TEST_F(CalendarTest, TheYearCanBeTypedFromTheGridOrInItsBoxAndOnlyYearsInRangeAreTaken) {
    open(QDate(2024, 3, 15), true);
    auto* year = child<QLineEdit>("txtYear");
    QTest::keyClick(grid(), Qt::Key_1); // a digit on the days starts the year
    ASSERT_TRUE(year->hasFocus());
    QTest::keyClicks(year, QStringLiteral("963"));
    EXPECT_EQ(calendar->currentDate(), QDate(2024, 3, 15)); // taken when it is whole
    QTest::keyClick(year, Qt::Key_Return);
    EXPECT_EQ(calendar->currentDate(), QDate(1963, 3, 15));
    EXPECT_TRUE(grid()->hasFocus());
    EXPECT_EQ(selected(), QStringLiteral("15"));

    // In the box: PgDn takes the year and steps a month; a year out of range beeps.
    year->setFocus();
    year->selectAll();
    QTest::keyClicks(year, QStringLiteral("2000"));
    QTest::keyClick(year, Qt::Key_PageDown);
    EXPECT_EQ(calendar->currentDate(), QDate(2000, 4, 15));
    year->selectAll();
    QTest::keyClicks(year, QStringLiteral("99"));
    QTest::keyClick(year, Qt::Key_Enter);
    EXPECT_EQ(p.dialogs.beeps, 1);
    EXPECT_EQ(year->text(), QStringLiteral("2000"));
    EXPECT_EQ(calendar->currentDate(), QDate(2000, 4, 15));
    QTest::keyClick(grid(), Qt::Key_Return);
    EXPECT_EQ(calendar->pickedDate(), std::optional(QDate(2000, 4, 15)));
}
