#pragma once

#include <QComboBox>
#include <QDate>
#include <optional>

namespace perlinex {

class Program;

// A date typed as text in the user's short date, or picked from the calendar (frmDateEnt)
// that its drop-down opens in place of a list. Empty text means no date.
class DateField : public QComboBox {
    Q_OBJECT
public:
    // Where the calendar opens: above the field with the right edges aligned, or below it
    // with the left edges aligned.
    enum class Placement { Above, Below };

    // leaveMessage: shown when the field is left holding text that is not a date; empty for
    // a field that is not checked.
    DateField(Program& program, const QString& caption, const QString& leaveMessage,
              Placement placement, QWidget* parent = nullptr);

    // The main window's three date fields, named dcIssued, dcPurchased and dcDateSold.
    static DateField* issued(Program& program, QWidget* parent = nullptr);
    static DateField* purchased(Program& program, QWidget* parent = nullptr);
    static DateField* sold(Program& program, QWidget* parent = nullptr);

    QString text() const;
    // From code: does not emit changed().
    void setText(const QString& text);
    // nullopt for blank text and for text that is not a date.
    std::optional<QDate> date() const;

    QString caption() const { return caption_; }
    QString leaveMessage() const { return leaveMessage_; }
    Placement placement() const { return placement_; }

    // The check made when the focus leaves: text that is neither blank nor a date gets the
    // field's message and the focus back. False when it complained.
    bool checkOnLeave();

    // Opens the calendar (arrow, F4, Alt+Down). A pick writes the date, emits changed() and
    // moves the focus on; closing without a pick leaves the text as it was.
    void showPopup() override;

signals:
    // Every edit by the user and every pick from the calendar.
    void changed();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    Program& program_;
    QString caption_;
    QString leaveMessage_;
    Placement placement_;
};

// Top-left corner of a calendar of the given (outer) size opened for a field with the given
// global geometry, kept inside the screen's available area. A calendar that does not fit on
// its side of the field goes to the other side.
QPoint calendarPosition(const QRect& field, const QSize& calendar, const QRect& screen,
                        DateField::Placement placement);

} // namespace perlinex
