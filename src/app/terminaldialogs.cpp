#include "app/terminaldialogs.h"

#include <QCoreApplication>

namespace perlinex::app {

Answer TerminalDialogs::message(const QString& text, const QString& title, Buttons buttons, Icon) {
    out_ << title << ": " << text << "\n";
    if (buttons == Buttons::Ok) {
        out_.flush();
        return Answer::Ok;
    }
    const bool yesNo = asksYesOrNo(buttons);
    const Answer yes = yesNo ? Answer::Yes : Answer::Ok;
    const Answer no = yesNo ? Answer::No : Answer::Cancel;
    if (yesToAll_) {
        out_ << QCoreApplication::translate("TerminalDialogs", "(answered yes)") << "\n";
        out_.flush();
        return yes;
    }
    out_ << QCoreApplication::translate("TerminalDialogs", "[y/n] ");
    out_.flush();
    // No answer at all, as from a closed input, is a no.
    const QString line = in_.readLine().trimmed().toLower();
    // "y" answers yes in any language, and so does the language's own first letter of yes.
    const QString yesLetter = QCoreApplication::translate(
        "TerminalDialogs", "y", "the first letter of the answer yes, as [y/n] asks for it");
    return line.startsWith(QLatin1Char('y')) || (!yesLetter.isEmpty() && line.startsWith(yesLetter))
               ? yes
               : no;
}

std::optional<QString> TerminalDialogs::input(const QString& prompt, const QString& title,
                                              const QString&) {
    out_ << title << ": " << prompt << " ";
    out_.flush();
    if (in_.atEnd())
        return std::nullopt;
    return in_.readLine();
}

} // namespace perlinex::app
