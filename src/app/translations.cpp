#include "app/translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QTranslator>

namespace perlinex::app {

namespace {

const QString ResourceFolder = QStringLiteral(":/i18n");
const QString Prefix = QStringLiteral("perlinex_");

// "de-DE", "de_DE.UTF-8@euro" -> "de_DE"
QString languageTag(QString language) {
    language.replace(QLatin1Char('-'), QLatin1Char('_'));
    const qsizetype cut = language.indexOf(QRegularExpression(QStringLiteral("[.@]")));
    return cut < 0 ? language : language.left(cut);
}

bool install(const QString& file, const QString& folder) {
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(file, folder) && QCoreApplication::installTranslator(translator))
        return true;
    delete translator;
    return false;
}

} // namespace

QString chooseTranslation(const QStringList& uiLanguages, const QStringList& available) {
    for (const QString& language : uiLanguages) {
        const QString tag = languageTag(language);
        const QString base = tag.section(QLatin1Char('_'), 0, 0);
        if (base.compare(QLatin1String("en"), Qt::CaseInsensitive) == 0 ||
            base == QLatin1String("C") || base == QLatin1String("POSIX"))
            return {};
        for (const QString& candidate : {tag, base})
            if (available.contains(candidate))
                return candidate;
    }
    return {};
}

QStringList availableTranslations() {
    QStringList languages;
    const QStringList files =
        QDir(ResourceFolder).entryList({Prefix + QStringLiteral("*.qm")}, QDir::Files);
    for (const QString& file : files)
        languages << file.mid(Prefix.size()).chopped(3);
    return languages;
}

QString installTranslations(const QLocale& locale) {
    const QString language = chooseTranslation(locale.uiLanguages(), availableTranslations());
    if (language.isEmpty())
        return {};
    // Qt's own texts (the buttons of its dialogs, the context menus of its fields) follow the
    // program's language; a system without Qt's translations still gets the program's.
    install(QStringLiteral("qtbase_") + language,
            QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    install(Prefix + language, ResourceFolder);
    return language;
}

} // namespace perlinex::app
