#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

// The program speaks the user's language: its own translation and Qt's, chosen by the
// locale's languages (LANGUAGE, LC_ALL, LC_MESSAGES, LANG). English is the language the texts
// are written in, so it needs no translation.
namespace perlinex::app {

// The first of the user's languages ("de-DE", "de_DE.UTF-8", "de") that the program has a
// translation for, as named in `available` ("de"); empty when an English or unknown one comes
// first, so a user who puts English before German gets English.
QString chooseTranslation(const QStringList& uiLanguages, const QStringList& available);

// The languages the program carries a translation for.
QStringList availableTranslations();

// Installs the program's translation and Qt's own for the locale into the running application;
// returns the language installed, empty for none. Called once, at start-up.
QString installTranslations(const QLocale& locale = QLocale::system());

} // namespace perlinex::app
