#pragma once

#include "ui/dialogservice.h"

class QWidget;

namespace perlinex {

// The dialog service that shows real Qt dialogs over the active window.
class QtDialogs : public DialogService {
public:
    Answer message(const QString& text, const QString& title, Buttons buttons, Icon icon) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& initial) override;
    std::optional<QString> openFileName(const QString& title, const QString& filter,
                                        const QString& initialPath) override;
    std::optional<QString> saveFileName(const QString& title, const QString& filter,
                                        const QString& initialPath) override;
    std::optional<QString> folderName(const QString& title, const QString& initialPath) override;
    void beep() override;

private:
    static QWidget* parent();
};

// Turns a filter of the form "Text Files (*.txt)|*.txt|All Files (*.*)|*.*" into Qt's form.
QString qtFileFilter(const QString& filter);

} // namespace perlinex
