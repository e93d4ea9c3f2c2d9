// Field entry in the main window: the checks made when a field is left, the totals, and the
// validation of a record before it is stored.
#include "app/frmmain.h"
#include "dates/datefield.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace perlinex {

// ---------------------------------------------------------------------------------------
// Field entry

void frmMain::setWantListCaption() {
    lblPrice->setText(chkWantList->isChecked() ? QStringLiteral("Will Pay")
                                               : QStringLiteral("Price Paid"));
}

void frmMain::refuse(QWidget* field, const QString& text, const QString& title, Icon icon) {
    checking_ = true;
    program_.dialogs().message(text, title, Buttons::Ok, icon);
    field->setFocus();
    checking_ = false;
}

void frmMain::showTotal(QLineEdit* total, Currency unitPrice, std::int32_t quantity) {
    try {
        total->setText(program_.regional.formatCurrency(unitPrice * std::int64_t(quantity)));
    } catch (const std::overflow_error&) {
        total->setText(QString()); // beyond any money amount: no total rather than a wrong one
    }
}

bool frmMain::leaveMoney(QLineEdit* price, QLineEdit* total) {
    const regional::Regional& r = program_.regional;
    if (price->text().isEmpty()) {
        total->setText(QString());
        return true;
    }
    const auto value = r.toCurrency(price->text());
    if (!value) {
        refuse(price, QStringLiteral("You must enter a valid number or leave the field blank"),
               ProgramTitle, Icon::None);
        return false;
    }
    if (const auto quantity = r.toInt32(txtQuantity->text()))
        showTotal(total, *value, *quantity);
    price->setText(r.formatCurrency(*value));
    return true;
}

bool frmMain::leaveQuantity() {
    const regional::Regional& r = program_.regional;
    if (!r.isNumeric(txtQuantity->text())) {
        refuse(txtQuantity, QStringLiteral("You must enter a number in the Quantity field"),
               ProgramTitle, Icon::Critical);
        return false;
    }
    const auto quantity = r.toInt32(txtQuantity->text());
    if (!quantity) {
        refuse(
            txtQuantity,
            QStringLiteral("The quantity must be a whole number from -2147483648 to 2147483647."),
            ProgramTitle, Icon::Critical);
        return false;
    }
    const std::pair<QLineEdit*, QLineEdit*> pairs[] = {
        {txtPricePaid, txtTotalPaid}, {txtCatValue, txtTotalVal}, {txtPriceAsk, txtTotalSales}};
    for (const auto& [price, total] : pairs) {
        if (const auto value = r.toCurrency(price->text()))
            showTotal(total, *value, *quantity);
    }
    return true;
}

bool frmMain::leaveFace() {
    const QString t = txtFace->text().trimmed();
    if (!t.isEmpty() && !program_.regional.isNumeric(t)) {
        refuse(
            txtFace,
            QStringLiteral("You must enter a number in the 'Face Value' field, or leave it blank"),
            ProgramTitle, Icon::Critical);
        return false;
    }
    return true;
}

bool frmMain::leaveYear() {
    const QString t = txtYear->text().trimmed();
    if (t.isEmpty())
        return true;
    if (!program_.regional.isNumeric(t)) {
        refuse(txtYear,
               QStringLiteral("You must enter a number in the Year field, or leave it blank"),
               ProgramTitle, Icon::Critical);
        return false;
    }
    if (!program_.regional.toInt16(t)) {
        refuse(txtYear,
               QStringLiteral("The year must be a whole number from -32768 to 32767, or blank."),
               ProgramTitle, Icon::Critical);
        return false;
    }
    return true;
}

bool frmMain::ValidateStamp() {
    const regional::Regional& r = program_.regional;
    if (txtDescr->text().isEmpty()) {
        refuse(txtDescr,
               QStringLiteral(
                   "You must enter a description for this stamp or click the Cancel button."),
               ProgramTitle, Icon::None);
        return false;
    }
    if (!r.isNumeric(txtQuantity->text())) {
        refuse(txtQuantity, QStringLiteral("You must enter number in the quantity field."),
               QStringLiteral("Non-numeric Quantity Entered"), Icon::None);
        return false;
    }
    // The store holds a 32-bit whole quantity and a 16-bit year: refuse what would not fit
    // rather than lose the record at the store.
    if (!r.toInt32(txtQuantity->text())) {
        refuse(
            txtQuantity,
            QStringLiteral("The quantity must be a whole number from -2147483648 to 2147483647."),
            QStringLiteral("Invalid Quantity"), Icon::None);
        return false;
    }
    if (!txtYear->text().trimmed().isEmpty() && r.isNumeric(txtYear->text()) &&
        !r.toInt16(txtYear->text())) {
        refuse(txtYear,
               QStringLiteral("The year must be a whole number from -32768 to 32767, or blank."),
               QStringLiteral("Invalid Year"), Icon::None);
        return false;
    }
    if (chkSold->isChecked() && chkForSale->isChecked()) {
        refuse(chkForSale, QStringLiteral("A stamp cannot be for sale and sold at the same time."),
               QStringLiteral("Sale Status Error"), Icon::None);
        return false;
    }
    return true;
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        for (const CodeList& l : codeLists_) {
            if (watched != l.combo)
                continue;
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Delete || key == Qt::Key_Backspace) {
                l.combo->setCurrentIndex(-1);
                RecordChanged();
                return true;
            }
            RecordChanged();
        }
    } else if (event->type() == QEvent::FocusIn) {
        // The totals are computed: the focus moves straight on.
        if (watched == txtTotalPaid)
            QMetaObject::invokeMethod(cmbCon, qOverload<>(&QWidget::setFocus),
                                      Qt::QueuedConnection);
        else if (watched == txtTotalSales)
            QMetaObject::invokeMethod(dcDateSold, qOverload<>(&QWidget::setFocus),
                                      Qt::QueuedConnection);
        else if (watched == txtTotalVal)
            QMetaObject::invokeMethod(chkForSale, qOverload<>(&QWidget::setFocus),
                                      Qt::QueuedConnection);
        else if (auto* e = qobject_cast<QLineEdit*>(watched))
            QMetaObject::invokeMethod(e, &QLineEdit::selectAll, Qt::QueuedConnection);
    } else if (event->type() == QEvent::FocusOut && !checking_) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Leaving for another window or a menu is not leaving the field.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            if (watched == txtPricePaid)
                leaveMoney(txtPricePaid, txtTotalPaid);
            else if (watched == txtCatValue)
                leaveMoney(txtCatValue, txtTotalVal);
            else if (watched == txtPriceAsk)
                leaveMoney(txtPriceAsk, txtTotalSales);
            else if (watched == txtQuantity)
                leaveQuantity();
            else if (watched == txtFace)
                leaveFace();
            else if (watched == txtYear)
                leaveYear();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace perlinex
