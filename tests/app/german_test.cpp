// Under a German locale the program speaks German: its own texts from the translation it
// carries, with no caption left in English and no two captions of a window or menu sharing
// an Alt+letter.
#include "every_window.h"
#include "window_keys.h"

#include "app/terminaldialogs.h"
#include "app/translations.h"
#include "exchange/columnmap.h"
#include "util/textfields.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLabel>
#include <QLibraryInfo>
#include <QMap>
#include <QMenu>
#include <QProcess>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTranslator>

namespace {

TEST(TranslationChoice, PicksTheFirstLanguageWithATranslationAndStopsAtEnglish) {
    const QStringList available{QStringLiteral("de")};
    const struct {
        QStringList languages;
        QString chosen;
    } cases[] = {
        {{QStringLiteral("de-DE"), QStringLiteral("de")}, QStringLiteral("de")},
        {{QStringLiteral("de_AT.UTF-8")}, QStringLiteral("de")},
        {{QStringLiteral("fr-FR"), QStringLiteral("de-CH")}, QStringLiteral("de")},
        {{QStringLiteral("en-US"), QStringLiteral("de-DE")}, QString()}, // LANGUAGE=en:de
        {{QStringLiteral("C")}, QString()},                              // LC_ALL=C
        {{QStringLiteral("fr-FR")}, QString()},
        {{}, QString()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(perlinex::app::chooseTranslation(c.languages, available), c.chosen)
            << c.languages.join(u',').toStdString();
}

TEST(TranslationChoice, TheProgramCarriesItsGermanTranslation) {
    EXPECT_TRUE(perlinex::app::availableTranslations().contains(QStringLiteral("de")));
}

// The program started from a shell speaks the language the environment asks for, on the
// command line as in the window.
TEST(ProgramLanguage, TheCommandLineFollowsTheLocaleAndEnglishCanBeAskedFor) {
    const struct {
        QStringList environment;
        const char* said;
    } cases[] = {
        {{QStringLiteral("LANG=de_DE.UTF-8")}, "new braucht genau einen ORDNER"},
        {{QStringLiteral("LC_ALL=de_AT.UTF-8")}, "new braucht genau einen ORDNER"},
        {{QStringLiteral("LANG=de_DE.UTF-8"), QStringLiteral("LANGUAGE=en")},
         "new needs exactly one FOLDER"},
        {{QStringLiteral("LANG=de_DE.UTF-8"), QStringLiteral("LC_ALL=C")},
         "new needs exactly one FOLDER"},
        {{QStringLiteral("LANG=en_GB.UTF-8")}, "new needs exactly one FOLDER"},
    };
    for (const auto& c : cases) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"LANG", "LANGUAGE", "LC_ALL", "LC_MESSAGES"})
            environment.remove(QString::fromLatin1(name));
        for (const QString& setting : c.environment)
            environment.insert(setting.section(u'=', 0, 0), setting.section(u'=', 1));
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(PERLINEX_PROGRAM), {QStringLiteral("new")});
        ASSERT_TRUE(program.waitForFinished(-1));
        EXPECT_EQ(program.exitCode(), 2);
        EXPECT_TRUE(QString::fromLocal8Bit(program.readAllStandardError())
                        .contains(QString::fromUtf8(c.said)))
            << c.environment.join(u' ').toStdString();
    }
}

// A question on the terminal asks "[j/n]" in German, and takes "j" as well as "y" for yes.
TEST(ProgramLanguage, AGermanTerminalQuestionTakesJForYes) {
    QTranslator german;
    ASSERT_TRUE(german.load(QStringLiteral("perlinex_de"), QStringLiteral(":/i18n")));
    QCoreApplication::installTranslator(&german);
    const struct {
        const char* typed;
        perlinex::Answer answer;
    } cases[] = {{"j\n", perlinex::Answer::Yes},   {"Ja\n", perlinex::Answer::Yes},
                 {"y\n", perlinex::Answer::Yes},   {"n\n", perlinex::Answer::No},
                 {"nein\n", perlinex::Answer::No}, {"", perlinex::Answer::No}};
    for (const auto& c : cases) {
        QString typed = QString::fromLatin1(c.typed);
        QString shown;
        QTextStream in(&typed);
        QTextStream out(&shown);
        perlinex::app::TerminalDialogs terminal(in, out, false);
        EXPECT_EQ(terminal.message(QStringLiteral("Repair?"), QString(), perlinex::Buttons::YesNo,
                                   perlinex::Icon::Question),
                  c.answer)
            << c.typed;
        EXPECT_TRUE(shown.contains(QStringLiteral("[j/n]"))) << shown.toStdString();
    }
    QCoreApplication::removeTranslator(&german);
}

// A spreadsheet made in German heads its columns with the labels the German window shows.
TEST(ProgramLanguage, ImportedColumnsHeadedWithTheGermanLabelsFillTheirFields) {
    const QStringList headers{QStringLiteral("Beschreibung"), QStringLiteral("Katalog-Nr."),
                              QStringLiteral("Land"), QStringLiteral("Kaufpreis"),
                              QStringLiteral("Description")};
    QTranslator german;
    ASSERT_TRUE(german.load(QStringLiteral("perlinex_de"), QStringLiteral(":/i18n")));
    QCoreApplication::installTranslator(&german);
    const auto map = perlinex::exchange::ColumnMap::match(headers);
    QCoreApplication::removeTranslator(&german);
    const char* filled[] = {"descr", "catnum", "country", "pricepaid", "notes"};
    for (int i = 0; i < headers.size(); ++i)
        EXPECT_EQ(perlinex::exchange::roleName(map.role(i)), QLatin1String(filled[i]))
            << headers[i].toStdString();
}

// Counts take the plural form of the language: German from its translation, English from the
// texts as written.
TEST(ProgramLanguage, CountsTakeTheLanguagesPluralForm) {
    const struct {
        std::int64_t n;
        const char* english;
        const char* german;
    } cases[] = {{0, "0 stamps", "0 Briefmarken"},
                 {1, "1 stamp", "1 Briefmarke"},
                 {2, "2 stamps", "2 Briefmarken"},
                 {3000000000, "3000000000 stamps", "3000000000 Briefmarken"}};
    for (const auto& c : cases)
        EXPECT_EQ(perlinex::stampCount(c.n), QString::fromUtf8(c.english));
    QTranslator german;
    ASSERT_TRUE(german.load(QStringLiteral("perlinex_de"), QStringLiteral(":/i18n")));
    QCoreApplication::installTranslator(&german);
    for (const auto& c : cases)
        EXPECT_EQ(perlinex::stampCount(c.n), QString::fromUtf8(c.german));
    QCoreApplication::removeTranslator(&german);
}

// Words that German writes as English does: a text made only of them, numbers and signs is
// the same in both languages.
bool sameInGerman(const QString& text) {
    static const QStringList words{
        QStringLiteral("Name"),    QStringLiteral("Filter"),   QStringLiteral("PDF"),
        QStringLiteral("Tellico"), QStringLiteral("OK"),       QStringLiteral("Format"),
        QStringLiteral("Import"),  QStringLiteral("Perlinex"), QStringLiteral("Version"),
        QStringLiteral("CSV"),     QStringLiteral("UTF"),      QStringLiteral("Latin"),
        QStringLiteral("Windows")};
    QString plain = text;
    plain.remove(u'&');
    static const QRegularExpression word(QStringLiteral("[A-Za-z]+"));
    for (auto it = word.globalMatch(plain); it.hasNext();)
        if (!words.contains(it.next().captured()))
            return false;
    return true;
}

// What a window shows, by the object that shows it: captions, menu items, tab texts, tooltips,
// accessible names and the window's title.
QMap<QString, QString> shownTexts(QWidget* window) {
    QMap<QString, QString> texts;
    const auto note = [&](const QObject* o, const QString& what, const QString& text) {
        if (!text.isEmpty())
            texts.insert(o->objectName() + u'/' + what, text);
    };
    note(window, QStringLiteral("title"), window->windowTitle());
    for (const QAbstractButton* b : window->findChildren<QAbstractButton*>())
        note(b, QStringLiteral("text"), b->text());
    for (const QLabel* l : window->findChildren<QLabel*>())
        note(l, QStringLiteral("text"), l->text());
    for (const QWidget* w : window->findChildren<QWidget*>()) {
        note(w, QStringLiteral("tooltip"), w->toolTip());
        note(w, QStringLiteral("accessible name"), w->accessibleName());
    }
    for (const QTabWidget* t : window->findChildren<QTabWidget*>())
        for (int i = 0; i < t->count(); ++i)
            note(t, QStringLiteral("tab%1").arg(i), t->tabText(i));
    for (const QMenu* m : window->findChildren<QMenu*>()) {
        note(m, QStringLiteral("title"), m->title());
        for (const QAction* a : m->actions())
            note(a, QStringLiteral("text"), a->text());
    }
    return texts;
}

// Every window walked twice, in English and then in German, with what each shows and every
// message put through the dialog service.
class GermanWindowsTest : public EveryWindowTest {
protected:
    QTranslator german;
    QTranslator qtGerman; // Qt's own texts, such as the tab bar's scroll buttons
    using Texts = QMap<QString, QString>;

    void TearDown() override {
        QCoreApplication::removeTranslator(&german);
        QCoreApplication::removeTranslator(&qtGerman);
        EveryWindowTest::TearDown();
    }

    struct Walk {
        QMap<QString, Texts> shown; // by window and state
        QStringList clashes;
        QStringList prompts; // texts and titles of the dialog service's prompts, in turn
    };

    Walk walk() {
        Walk seen;
        walkEveryWindow(
            [&](QWidget* window, const QString& where) {
                seen.shown[where].insert(shownTexts(window));
                for (const QString& c : windowkeys::clashesIn(window))
                    seen.clashes << where + QStringLiteral(": ") + c;
            },
            [&](QWidget* window) {
                for (const QMenu* menu : windowkeys::menusOf(window))
                    seen.clashes << windowkeys::clashesInMenu(menu);
            });
        for (const auto& prompt : dialogs.prompts)
            seen.prompts << prompt.text << prompt.title;
        return seen;
    }

    // The walk in English, then again on a new collection in German.
    std::pair<Walk, Walk> bothLanguages() {
        Walk english = walk();
        w.reset();
        program.reset();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QFile::remove(dir.filePath(QStringLiteral("stamp.mdb")));
        dialogs.prompts.clear();
        EXPECT_TRUE(german.load(QStringLiteral("perlinex_de"), QStringLiteral(":/i18n")));
        QCoreApplication::installTranslator(&german);
        EXPECT_TRUE(qtGerman.load(QStringLiteral("qtbase_de"),
                                  QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
        QCoreApplication::installTranslator(&qtGerman);
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        return {english, walk()};
    }

    // A German text that equals its English one, unless it is the same in both languages or
    // names the test's folder.
    bool leftInEnglish(const QString& english, const QString& shown) const {
        return english == shown && !sameInGerman(shown) && !shown.contains(dir.path());
    }
};

TEST_F(GermanWindowsTest, NoCaptionMenuItemTooltipTitleOrMessageIsLeftInEnglish) {
    const auto [english, german] = bothLanguages();
    QStringList left;
    for (auto where = german.shown.cbegin(); where != german.shown.cend(); ++where)
        for (auto it = where->cbegin(); it != where->cend(); ++it)
            if (leftInEnglish(english.shown.value(where.key()).value(it.key()), it.value()))
                left << where.key() + QStringLiteral(": ") + it.key() + QStringLiteral(" \"") +
                            it.value() + u'"';
    ASSERT_EQ(german.prompts.size(), english.prompts.size());
    for (qsizetype i = 0; i < german.prompts.size(); ++i)
        if (leftInEnglish(english.prompts[i], german.prompts[i]))
            left << QStringLiteral("message \"") + german.prompts[i] + u'"';
    left.removeDuplicates();
    EXPECT_TRUE(left.isEmpty()) << left.join(u'\n').toStdString();
    EXPECT_EQ(german.shown.value(QStringLiteral("main window empty, page 0"))
                  .value(QStringLiteral("mnuFileMenu/title")),
              QStringLiteral("&Datei"));
}

TEST_F(GermanWindowsTest, NoTwoGermanCaptionsOfAWindowOrAMenuShareALetter) {
    auto german = bothLanguages().second;
    german.clashes.removeDuplicates();
    EXPECT_TRUE(german.clashes.isEmpty()) << german.clashes.join(u'\n').toStdString();
}

} // namespace
