#include "ui/qtdialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>

#include <algorithm>

namespace perlinex {

QWidget* QtDialogs::parent() {
    return QApplication::activeWindow();
}

Answer QtDialogs::message(const QString& text, const QString& title, Buttons buttons, Icon icon) {
    QMessageBox box(parent());
    box.setObjectName(QStringLiteral("messageBox"));
    box.setWindowTitle(title.isEmpty() ? ProgramTitle : title);
    box.setText(text);
    switch (icon) {
    case Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Icon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case Icon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case Icon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case Icon::None:
        break;
    }
    switch (buttons) {
    case Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Buttons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case Buttons::YesNoDefaultNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Ok:
        return Answer::Ok;
    default:
        return Answer::Cancel;
    }
}

std::optional<QString> QtDialogs::input(const QString& prompt, const QString& title,
                                        const QString& initial) {
    QInputDialog dialog(parent());
    dialog.setWindowTitle(title.isEmpty() ? ProgramTitle : title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(initial);
    // A long prompt wraps rather than widening the box past the screen, in a box wide enough
    // for an address or a name to be read as it is typed.
    if (auto* label = dialog.findChild<QLabel*>()) {
        int width = label->fontMetrics().averageCharWidth() * 60;
        if (const QScreen* screen = dialog.screen())
            width = std::min(width, screen->availableGeometry().width() * 3 / 4);
        label->setWordWrap(true);
        label->setMinimumWidth(width);
    }
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

QString qtFileFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        QString name = parts[i];
        const qsizetype paren = name.indexOf(QLatin1Char('('));
        if (paren > 0)
            name = name.left(paren).trimmed();
        out << QStringLiteral("%1 (%2)").arg(name, patterns);
    }
    return out.isEmpty() ? filter : out.join(QStringLiteral(";;"));
}

std::optional<QString> QtDialogs::openFileName(const QString& title, const QString& filter,
                                               const QString& initialPath) {
    const QString f =
        QFileDialog::getOpenFileName(parent(), title, initialPath, qtFileFilter(filter));
    if (f.isEmpty())
        return std::nullopt;
    return f;
}

std::optional<QString> QtDialogs::saveFileName(const QString& title, const QString& filter,
                                               const QString& initialPath) {
    // Replacing an existing file is confirmed by the program itself.
    const QString f =
        QFileDialog::getSaveFileName(parent(), title, initialPath, qtFileFilter(filter), nullptr,
                                     QFileDialog::DontConfirmOverwrite);
    if (f.isEmpty())
        return std::nullopt;
    return f;
}

std::optional<QString> QtDialogs::folderName(const QString& title, const QString& initialPath) {
    const QString f = QFileDialog::getExistingDirectory(parent(), title, initialPath);
    if (f.isEmpty())
        return std::nullopt;
    return f;
}

void QtDialogs::beep() {
    QApplication::beep();
}

} // namespace perlinex
