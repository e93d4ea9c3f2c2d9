#pragma once

#include "ui/dialogservice.h"

#include <QTextStream>

namespace perlinex::app {

// The dialog service of the command line: messages are printed, questions are asked on the
// terminal (or answered Yes at once, for --yes), and choices of files are not offered.
class TerminalDialogs : public DialogService {
public:
    TerminalDialogs(QTextStream& in, QTextStream& out, bool yesToAll)
        : in_(in), out_(out), yesToAll_(yesToAll) {}

    Answer message(const QString& text, const QString& title, Buttons buttons, Icon icon) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& initial) override;
    std::optional<QString> openFileName(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    std::optional<QString> saveFileName(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    std::optional<QString> folderName(const QString&, const QString&) override {
        return std::nullopt;
    }
    void beep() override {}

private:
    QTextStream& in_;
    QTextStream& out_;
    bool yesToAll_;
};

} // namespace perlinex::app
