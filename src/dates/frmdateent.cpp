#include "dates/frmdateent.h"

#include "dates/spinbutton.h"
#include "ui/program.h"
#include "ui/slotguard.h"

#include <QFrame>
#include <QGridLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace perlinex {

namespace {

constexpr int GridRows = 7;
constexpr int GridColumns = 7;

QString orderOf(regional::DateOrder order) {
    switch (order) {
    case regional::DateOrder::DayMonthYear:
        return QStringLiteral("dmy");
    case regional::DateOrder::YearMonthDay:
        return QStringLiteral("ymd");
    case regional::DateOrder::MonthDayYear:
        break;
    }
    return QStringLiteral("mdy");
}

bool inRange(int year) {
    return year >= frmDateEnt::FirstYear && year <= frmDateEnt::LastYear;
}

// Sunday first, as the grid's columns.
int columnOf(const QDate& date) {
    return date.dayOfWeek() % 7;
}

QLineEdit* readOnlyBox(const QString& name, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setAlignment(Qt::AlignCenter);
    // Not a Tab stop; a click hands the focus on to the grid through the focus proxy.
    box->setFocusPolicy(Qt::ClickFocus);
    return box;
}

} // namespace

void ChkDateFmt(Program& program) {
    const QString shortDate = program.regional.formatShortDate(QDate(1998, 5, 30));
    for (const QChar separator : {u'/', u'.', u' ', u'-'}) {
        if (shortDate.contains(separator)) {
            program.DateSep = separator;
            break;
        }
    }
    QString order;
    const QStringList fields = shortDate.split(program.DateSep, Qt::SkipEmptyParts);
    for (const QString& field : fields.mid(0, 3)) {
        const int value = field.trimmed().toInt();
        order += value == 5 ? u'm' : value == 30 ? u'd' : u'y';
    }
    // A short date without three plain numbers (other digits, a month name) tells nothing;
    // the order the regional date test reads dates in is the next best guess.
    QString letters = order;
    std::sort(letters.begin(), letters.end());
    if (letters != QLatin1String("dmy"))
        order = orderOf(program.regional.dateOrder());
    program.DateOrder = order;
}

QString FormatDate(const Program& program, int month, int day, int year) {
    const QString m = QString::number(month);
    const QString d = QString::number(day);
    const QString y = QString::number(year);
    const QString& order = program.DateOrder;
    QStringList parts;
    if (order == QLatin1String("dmy"))
        parts = {d, m, y};
    else if (order == QLatin1String("ymd"))
        parts = {y, m, d};
    else if (order == QLatin1String("ydm"))
        parts = {y, d, m};
    else
        parts = {m, d, y};
    return parts.join(u' ');
}

frmDateEnt::frmDateEnt(Program& program, QWidget* parent, const QDate& opensOn)
    : QDialog(parent), program_(program) {
    setObjectName(QStringLiteral("frmDateEnt"));
    setWindowTitle(tr("Select Date"));
    const QLocale& locale = program_.regional.locale();

    current_ = opensOn;
    if (!current_.isValid() || !inRange(current_.year()))
        current_ = QDate::currentDate();

    // Stand-alone names: the box shows the month on its own, not inside a date.
    for (int month = 1; month <= 12; ++month)
        monthNames_ << locale.standaloneMonthName(month, QLocale::LongFormat);

    Grid1_ = new QTableWidget(GridRows, GridColumns, this);
    Grid1_->setObjectName(QStringLiteral("Grid1"));
    txtMonth_ = readOnlyBox(QStringLiteral("txtMonth"), this);
    // The year can be typed: digits typed on the grid start it, Enter goes back to the days.
    txtYear_ = new QLineEdit(this);
    txtYear_->setObjectName(QStringLiteral("txtYear"));
    txtYear_->setAlignment(Qt::AlignCenter);
    txtYear_->setMaxLength(4);
    txtYear_->setValidator(new QIntValidator(0, LastYear, txtYear_));
    txtYear_->installEventFilter(this);
    Spin1_ = new SpinButton(this);
    Spin1_->setObjectName(QStringLiteral("Spin1"));
    Spin2_ = new SpinButton(this);
    Spin2_->setObjectName(QStringLiteral("Spin2"));
    // The month only shows; whatever gives it the focus hands it to the grid.
    txtMonth_->setFocusProxy(Grid1_);

    Grid1_->horizontalHeader()->hide();
    Grid1_->verticalHeader()->hide();
    Grid1_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Grid1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Grid1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid1_->setSelectionMode(QAbstractItemView::SingleSelection);
    Grid1_->setSelectionBehavior(QAbstractItemView::SelectItems);
    Grid1_->setTabKeyNavigation(false);
    Grid1_->setCornerButtonEnabled(false);

    QFont headerFont = Grid1_->font();
    headerFont.setBold(true);
    const QDate firstSunday(1998, 5, 31);
    for (int column = 0; column < GridColumns; ++column) {
        const QString name = locale.toString(firstSunday.addDays(column), QStringLiteral("ddd"));
        auto* header = new QTableWidgetItem(QStringLiteral(" %1 ").arg(name));
        header->setFlags(Qt::ItemIsEnabled);
        header->setFont(headerFont);
        header->setTextAlignment(Qt::AlignCenter);
        Grid1_->setItem(0, column, header);
        for (int row = 1; row < GridRows; ++row) {
            auto* cell = new QTableWidgetItem;
            cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            cell->setTextAlignment(Qt::AlignCenter);
            Grid1_->setItem(row, column, cell);
        }
    }
    Grid1_->resizeColumnsToContents();
    int width = 0;
    for (int column = 0; column < GridColumns; ++column) {
        Grid1_->setColumnWidth(column, Grid1_->columnWidth(column) + 4);
        width += Grid1_->columnWidth(column);
    }
    int height = 0;
    for (int row = 0; row < GridRows; ++row)
        height += Grid1_->rowHeight(row);
    const int frame = 2 * Grid1_->frameWidth();
    Grid1_->setFixedSize(width + frame, height + frame);

    // Framed, as it opens as a pop-up of its date field.
    auto* border = new QFrame(this);
    border->setObjectName(QStringLiteral("fraCalendar"));
    border->setFrameShape(QFrame::StyledPanel);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSizeConstraint(QLayout::SetFixedSize);
    outer->addWidget(border);
    auto* layout = new QGridLayout(border);
    layout->addWidget(txtMonth_, 0, 0);
    layout->addWidget(Spin1_, 0, 1);
    layout->addWidget(txtYear_, 0, 2);
    layout->addWidget(Spin2_, 0, 3);
    layout->addWidget(Grid1_, 1, 0, 1, 4);
    layout->setColumnStretch(0, 3);
    layout->setColumnStretch(2, 2);

    connectGuarded(Spin1_, &SpinButton::increment, this, &frmDateEnt::monthForward);
    connectGuarded(Spin1_, &SpinButton::decrement, this, &frmDateEnt::monthBack);
    connectGuarded(Spin2_, &SpinButton::increment, this, &frmDateEnt::yearForward);
    connectGuarded(Spin2_, &SpinButton::decrement, this, &frmDateEnt::yearBack);
    connectGuarded(Grid1_, &QTableWidget::cellClicked, this, &frmDateEnt::pickCell);
    Grid1_->installEventFilter(this);
    Grid1_->viewport()->installEventFilter(this);

    ShowMonth();
    Grid1_->setFocus();
}

void frmDateEnt::ShowMonth() {
    monthShown_ = current_.month();
    yearShown_ = current_.year();
    txtMonth_->setText(monthNames_[monthShown_ - 1]);
    txtYear_->setText(QString::number(yearShown_));

    for (int row = 1; row < GridRows; ++row)
        for (int column = 0; column < GridColumns; ++column)
            Grid1_->item(row, column)->setText(QString());

    const QDate first(yearShown_, monthShown_, 1);
    int row = 1;
    int column = columnOf(first);
    int selectedRow = 1, selectedColumn = column;
    for (int day = 1; day <= first.daysInMonth(); ++day) {
        Grid1_->item(row, column)->setText(QString::number(day));
        if (day == current_.day())
            selectedRow = row, selectedColumn = column;
        if (column == GridColumns - 1)
            ++row, column = 0;
        else
            ++column;
    }
    Grid1_->setCurrentCell(selectedRow, selectedColumn);
}

void frmDateEnt::stepTo(int month, int year) {
    if (!inRange(year)) {
        program_.dialogs().beep();
        return;
    }
    const QDate sameDay(year, month, current_.day());
    current_ = sameDay.isValid() ? sameDay : QDate(year, month, 1);
    ShowMonth();
}

void frmDateEnt::monthBack() {
    if (current_.month() == 1)
        stepTo(12, current_.year() - 1);
    else
        stepTo(current_.month() - 1, current_.year());
}

void frmDateEnt::monthForward() {
    if (current_.month() == 12)
        stepTo(1, current_.year() + 1);
    else
        stepTo(current_.month() + 1, current_.year());
}

void frmDateEnt::yearBack() {
    stepTo(current_.month(), current_.year() - 1);
}

void frmDateEnt::yearForward() {
    stepTo(current_.month(), current_.year() + 1);
}

void frmDateEnt::moveDays(int days) {
    const QDate target = current_.addDays(days);
    if (!inRange(target.year())) {
        program_.dialogs().beep();
        return;
    }
    current_ = target;
    ShowMonth();
}

bool frmDateEnt::isDayCell(int row, int column) const {
    const QTableWidgetItem* cell = Grid1_->item(row, column);
    return row >= 1 && cell && !cell->text().isEmpty();
}

bool frmDateEnt::pickCell(int row, int column) {
    if (!isDayCell(row, column))
        return false;
    // Built from the numbers, not from text, so that nothing is lost to two-digit years.
    picked_ = QDate(yearShown_, monthShown_, Grid1_->item(row, column)->text().toInt());
    accept();
    return true;
}

bool frmDateEnt::gridKey(QKeyEvent* event) {
    const bool control = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Left:
        moveDays(-1);
        return true;
    case Qt::Key_Right:
        moveDays(1);
        return true;
    case Qt::Key_Up:
        moveDays(-7);
        return true;
    case Qt::Key_Down:
        moveDays(7);
        return true;
    case Qt::Key_Home:
        moveDays(1 - current_.day());
        return true;
    case Qt::Key_End:
        moveDays(current_.daysInMonth() - current_.day());
        return true;
    case Qt::Key_PageUp:
        control ? yearBack() : monthBack();
        return true;
    case Qt::Key_PageDown:
        control ? yearForward() : monthForward();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        pickCell(Grid1_->currentRow(), Grid1_->currentColumn());
        return true;
    case Qt::Key_Escape:
        reject();
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return false;
    default:
        break;
    }
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    // A digit starts typing the year; other typing would search the cells and could land on a
    // blank one.
    if (event->text().size() == 1 && event->text().at(0).isDigit()) {
        txtYear_->setFocus(Qt::OtherFocusReason);
        txtYear_->setText(event->text());
    }
    return true;
}

// Takes the typed year; a year out of range is refused with a beep and the shown one comes
// back. False when it was refused.
bool frmDateEnt::takeTypedYear() {
    bool ok = false;
    const int year = txtYear_->text().toInt(&ok);
    if (ok && year == yearShown_)
        return true;
    if (!ok || !inRange(year)) {
        program_.dialogs().beep();
        txtYear_->setText(QString::number(yearShown_));
        return false;
    }
    stepTo(current_.month(), year);
    return true;
}

bool frmDateEnt::yearKey(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        takeTypedYear();
        Grid1_->setFocus(Qt::OtherFocusReason);
        return true;
    case Qt::Key_Up:
        if (takeTypedYear())
            yearForward();
        return true;
    case Qt::Key_Down:
        if (takeTypedYear())
            yearBack();
        return true;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        takeTypedYear();
        return gridKey(event);
    default:
        return false;
    }
}

bool frmDateEnt::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Grid1_ && event->type() == QEvent::KeyPress)
        return gridKey(static_cast<QKeyEvent*>(event));
    if (watched == txtYear_ && event->type() == QEvent::KeyPress)
        return yearKey(static_cast<QKeyEvent*>(event));
    if (watched == txtYear_ && event->type() == QEvent::FocusOut)
        takeTypedYear();
    if (watched == Grid1_->viewport()) {
        switch (event->type()) {
        case QEvent::MouseMove:
            // No dragging the selection off the day it belongs to.
            return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            // The weekday row and the blank cells take no clicks, so the selection stays.
            const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
            const QModelIndex index = Grid1_->indexAt(at);
            return !isDayCell(index.row(), index.column());
        }
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace perlinex
