#include "support/scripted_dialogs.h"

using perlinex::Answer;
using perlinex::Buttons;

Answer ScriptedDialogs::message(const QString& text, const QString& title, Buttons buttons,
                                perlinex::Icon icon) {
    prompts.push_back({QStringLiteral("message"), text, title, buttons, icon});
    if (!answers.empty()) {
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    switch (buttons) {
    case Buttons::Ok:
        return Answer::Ok;
    case Buttons::OkCancel:
    case Buttons::YesNoCancel:
        return Answer::Cancel;
    case Buttons::YesNo:
    case Buttons::YesNoDefaultNo:
        return Answer::No;
    }
    return Answer::Cancel;
}

std::optional<QString> ScriptedDialogs::nextText(const QString& kind, const QString& text,
                                                 const QString& title) {
    prompts.push_back({kind, text, title});
    if (texts.empty())
        return std::nullopt;
    const bool cancelled = !texts.front().has_value();
    const QString value = cancelled ? QString() : *texts.front();
    texts.pop_front();
    if (cancelled)
        return std::nullopt;
    return value;
}

std::optional<QString> ScriptedDialogs::input(const QString& prompt, const QString& title,
                                              const QString&) {
    return nextText(QStringLiteral("input"), prompt, title);
}

std::optional<QString> ScriptedDialogs::openFileName(const QString& title, const QString&,
                                                     const QString& initialPath) {
    return nextText(QStringLiteral("open"), initialPath, title);
}

std::optional<QString> ScriptedDialogs::saveFileName(const QString& title, const QString&,
                                                     const QString& initialPath) {
    return nextText(QStringLiteral("save"), initialPath, title);
}

std::optional<QString> ScriptedDialogs::folderName(const QString& title,
                                                   const QString& initialPath) {
    return nextText(QStringLiteral("folder"), initialPath, title);
}

QStringList ScriptedDialogs::messageTexts() const {
    QStringList out;
    for (const auto& p : prompts)
        if (p.kind == QLatin1String("message"))
            out << p.text;
    return out;
}
