#pragma once

#include <QDate>
#include <QDialog>
#include <QStringList>
#include <optional>

class QKeyEvent;
class QLineEdit;
class QTableWidget;

namespace perlinex {

class Program;
class SpinButton;

// Learns DateSep and DateOrder from the user's short date; called once when the main window
// loads, before any date is composed.
void ChkDateFmt(Program& program);

// Month, day and year as numbers in DateOrder's order, separated by single spaces: text that
// the regional date test reads back as that date.
QString FormatDate(const Program& program, int month, int day, int year);

// The calendar: one month as a grid of days with spin buttons for the month and the year; the
// year can be typed too. PgUp/PgDn step months, Ctrl+PgUp/PgDn years.
// It opens on the date given (today when none) and, when a day is picked, accepts with it as
// pickedDate(); closing it any other way rejects with none.
class frmDateEnt : public QDialog {
    Q_OBJECT
public:
    // Years outside this range are refused with a beep. Below 100 the short date's year
    // would be read back as a two-digit year, so such a date could not live in a field.
    static constexpr int FirstYear = 100;
    static constexpr int LastYear = 9999;

    explicit frmDateEnt(Program& program, QWidget* parent = nullptr,
                        const QDate& opensOn = QDate());

    std::optional<QDate> pickedDate() const { return picked_; }

    QDate currentDate() const { return current_; }
    int monthShown() const { return monthShown_; }
    int yearShown() const { return yearShown_; }
    bool picked() const { return result() == QDialog::Accepted; }

    void ShowMonth();

    // The spin buttons' steps: the day is kept where the target month has it, else the 1st.
    void monthBack();
    void monthForward();
    void yearBack();
    void yearForward();

    // Picks the day in that cell of the grid; false, and the dialog stays, for the weekday
    // row and the blank cells around the month.
    bool pickCell(int row, int column);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::optional<QDate> picked_;
    void stepTo(int month, int year);
    void moveDays(int days);
    bool isDayCell(int row, int column) const;
    bool gridKey(QKeyEvent* event);
    bool yearKey(QKeyEvent* event);
    bool takeTypedYear();

    Program& program_;
    QDate current_;
    int monthShown_ = 0;
    int yearShown_ = 0;
    QStringList monthNames_;
    QLineEdit* txtMonth_;
    QLineEdit* txtYear_;
    QTableWidget* Grid1_;
    SpinButton* Spin1_;
    SpinButton* Spin2_;
};

} // namespace perlinex
