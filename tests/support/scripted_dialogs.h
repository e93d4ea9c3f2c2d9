#pragma once

#include "ui/dialogservice.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <optional>
#include <vector>

// A dialog service for tests: records every prompt and answers from queues. A prompt with no
// queued answer gets the safe default (Ok, No or Cancel), so a forgotten answer shows up as
// a failed expectation rather than a hang.
class ScriptedDialogs : public perlinex::DialogService {
public:
    struct Prompt {
        QString kind; // "message", "input", "open", "save", "folder"
        QString text; // a file dialog's: the path it opens on
        QString title;
        perlinex::Buttons buttons = perlinex::Buttons::Ok;
        perlinex::Icon icon = perlinex::Icon::None;
    };

    std::vector<Prompt> prompts;
    std::deque<perlinex::Answer> answers;
    std::deque<std::optional<QString>> texts; // answers of input and file dialogs
    int beeps = 0;

    perlinex::Answer message(const QString& text, const QString& title, perlinex::Buttons buttons,
                             perlinex::Icon icon) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& initial) override;
    std::optional<QString> openFileName(const QString& title, const QString& filter,
                                        const QString& initialPath) override;
    std::optional<QString> saveFileName(const QString& title, const QString& filter,
                                        const QString& initialPath) override;
    std::optional<QString> folderName(const QString& title, const QString& initialPath) override;
    void beep() override { ++beeps; }

    QStringList messageTexts() const;

private:
    std::optional<QString> nextText(const QString& kind, const QString& text, const QString& title);
};
