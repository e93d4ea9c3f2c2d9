#include "dates/datefield.h"

#include "dates/frmdateent.h"
#include "db/fields.h"
#include "ui/program.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QStyleOptionComboBox>
#include <algorithm>

namespace perlinex {

namespace {

// Set while a field shows its leaving message or takes the focus back: the focus that moves
// meanwhile must not start another check, or two bad fields would bounce it for ever.
bool leaveCheckRunning = false;

// The field whose leaving check waits for the focus to settle.
QPointer<DateField> pendingLeaveCheck;

bool runPendingLeaveCheck() {
    DateField* field = pendingLeaveCheck;
    pendingLeaveCheck = nullptr;
    // A field that has the focus again has not been left.
    if (!field || !field->isVisible() || field->hasFocus())
        return true;
    return field->checkOnLeave();
}

} // namespace

DateField::DateField(Program& program, const QString& caption, const QString& leaveMessage,
                     Placement placement, QWidget* parent)
    : QComboBox(parent), program_(program), caption_(caption), leaveMessage_(leaveMessage),
      placement_(placement) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    setMinimumContentsLength(10);
    connect(lineEdit(), &QLineEdit::textEdited, this, &DateField::changed);
}

namespace {

// The date fields of a stamp take their names and messages from the table of stamp fields.
DateField* stampDateField(Program& program, const char* field, const QString& caption,
                          DateField::Placement placement, QWidget* parent) {
    const db::StampField& f = *db::stampField(QLatin1String(field));
    auto* d = new DateField(program, caption, db::fieldText(f.leaveMessage), placement, parent);
    d->setObjectName(QLatin1String(f.control));
    return d;
}

} // namespace

DateField* DateField::issued(Program& program, QWidget* parent) {
    return stampDateField(program, "issued", tr("Select Issue Date"), Placement::Below, parent);
}

DateField* DateField::purchased(Program& program, QWidget* parent) {
    return stampDateField(program, "purchased", tr("Select Purchase Date"), Placement::Below,
                          parent);
}

DateField* DateField::sold(Program& program, QWidget* parent) {
    return stampDateField(program, "datesold", tr("Select Sold Date"), Placement::Below, parent);
}

QString DateField::text() const {
    return lineEdit()->text();
}

void DateField::setText(const QString& text) {
    lineEdit()->setText(text);
}

std::optional<QDate> DateField::date() const {
    return program_.regional.toDate(text());
}

bool DateField::checkOnLeave() {
    if (leaveMessage_.isEmpty() || leaveCheckRunning)
        return true;
    // Spaces alone are a blank field, not a wrong date.
    if (text().trimmed().isEmpty() || program_.regional.isDate(text()))
        return true;
    leaveCheckRunning = true;
    program_.dialogs().message(leaveMessage_, ProgramTitle, Buttons::Ok, Icon::None);
    setFocus(Qt::OtherFocusReason);
    leaveCheckRunning = false;
    return false;
}

void DateField::focusOutEvent(QFocusEvent* event) {
    QComboBox::focusOutEvent(event);
    // Only a move within the window leaves the field; another window coming up does not.
    const Qt::FocusReason reason = event->reason();
    if (leaveMessage_.isEmpty() || leaveCheckRunning || reason == Qt::ActiveWindowFocusReason ||
        reason == Qt::PopupFocusReason)
        return;
    // After the focus has settled: a message box in the middle of a focus change would
    // upset the widget that is receiving it.
    pendingLeaveCheck = this;
    QMetaObject::invokeMethod(
        this, [] { runPendingLeaveCheck(); }, Qt::QueuedConnection);
}

void DateField::mousePressEvent(QMouseEvent* event) {
    // The arrow opens the calendar straight away; the combo's own handling would leave the
    // arrow drawn pressed, as no list comes up to release it.
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const QStyle::SubControl hit = style()->hitTestComplexControl(
        QStyle::CC_ComboBox, &option, event->position().toPoint(), this);
    if (event->button() == Qt::LeftButton && hit == QStyle::SC_ComboBoxArrow) {
        setFocus(Qt::MouseFocusReason);
        event->accept();
        showPopup();
        return;
    }
    QComboBox::mousePressEvent(event);
}

void DateField::showPopup() {
    // Coming straight from a field that holds a wrong date: that field is dealt with first,
    // rather than its message turning up over the calendar.
    if (!runPendingLeaveCheck())
        return;

    // A pop-up of the field, as a list's drop-down is: no title bar, and a click elsewhere
    // closes it without a pick.
    frmDateEnt calendar(program_, this, date().value_or(QDate::currentDate()));
    calendar.setWindowFlags(Qt::Popup | Qt::FramelessWindowHint);
    calendar.setWindowTitle(caption_);
    calendar.adjustSize();
    const QRect field(mapToGlobal(QPoint(0, 0)), size());
    const QScreen* screen = this->screen();
    const QRect available = screen ? screen->availableGeometry() : QRect();
    calendar.move(calendarPosition(field, calendar.size(), available, placement_));

    if (calendar.exec() != QDialog::Accepted || !calendar.pickedDate())
        return;
    lineEdit()->setText(program_.regional.formatShortDate(*calendar.pickedDate()));
    emit changed();
    setFocus(Qt::OtherFocusReason);
    focusNextChild();
}

QPoint calendarPosition(const QRect& field, const QSize& calendar, const QRect& screen,
                        DateField::Placement placement) {
    const int above = field.top() - calendar.height();
    const int below = field.bottom() + 1;
    int x = 0;
    int y = 0;
    if (placement == DateField::Placement::Above) {
        x = field.right() + 1 - calendar.width();
        y = screen.isValid() && above < screen.top() ? below : above;
    } else {
        x = field.left();
        const bool fitsBelow = below + calendar.height() <= screen.bottom() + 1;
        y = screen.isValid() && !fitsBelow ? above : below;
    }
    if (screen.isValid()) {
        x = std::clamp(x, screen.left(),
                       std::max(screen.left(), screen.right() + 1 - calendar.width()));
        y = std::clamp(y, screen.top(),
                       std::max(screen.top(), screen.bottom() + 1 - calendar.height()));
    }
    return {x, y};
}

} // namespace perlinex
