#pragma once

#include <QString>
#include <optional>

// Every message box, input box, file dialog and beep of the program goes through this
// interface: the windows show real dialogs, tests answer from a script.
namespace perlinex {

// YesNoDefaultNo asks a question whose Yes loses or removes something: Enter answers No.
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, YesNoDefaultNo };
enum class Icon { None, Information, Warning, Critical, Question };
enum class Answer { Ok, Cancel, Yes, No };

// True for the buttons that answer Yes or No.
inline bool asksYesOrNo(Buttons buttons) {
    return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ||
           buttons == Buttons::YesNoDefaultNo;
}

// The title of a message that names none.
inline const QString ProgramTitle = QStringLiteral("Perlinex");

class DialogService {
public:
    virtual ~DialogService() = default;
    virtual Answer message(const QString& text, const QString& title = ProgramTitle,
                           Buttons buttons = Buttons::Ok, Icon icon = Icon::None) = 0;
    // nullopt when the user cancels.
    virtual std::optional<QString> input(const QString& prompt, const QString& title,
                                         const QString& initial = QString()) = 0;
    virtual std::optional<QString> openFileName(const QString& title, const QString& filter,
                                                const QString& initialPath = QString()) = 0;
    virtual std::optional<QString> saveFileName(const QString& title, const QString& filter,
                                                const QString& initialPath = QString()) = 0;
    virtual std::optional<QString> folderName(const QString& title,
                                              const QString& initialPath = QString()) = 0;
    virtual void beep() = 0;
};

} // namespace perlinex
