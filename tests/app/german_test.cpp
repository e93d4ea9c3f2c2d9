// Under a German locale the program speaks German: its own texts from the translation it
// carries, with no caption left in English and no two captions of a window or menu sharing
// an Alt+letter.
#include "main_window_fixture.h"
#include "window_keys.h"

#include "app/translations.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLabel>
#include <QMap>
#include <QMenu>
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

// Words that German writes as English does.
bool sameInGerman(const QString& text) {
    static const QStringList words{
        QStringLiteral("Name"),    QStringLiteral("Filter"),   QStringLiteral("PDF"),
        QStringLiteral("Tellico"), QStringLiteral("OK"),       QStringLiteral("Format"),
        QStringLiteral("Import"),  QStringLiteral("Perlinex"), QStringLiteral("Version")};
    QString plain = text;
    plain.remove(u'&');
    return words.contains(plain.trimmed()) ||
           !plain.contains(QRegularExpression(QStringLiteral("[A-Za-z]")));
}

// What a window shows, by the object that shows it: captions, menu items, tab texts, tooltips
// and the window's title.
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
    for (const QWidget* w : window->findChildren<QWidget*>())
        note(w, QStringLiteral("tooltip"), w->toolTip());
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

class GermanMainWindowTest : public MainWindowTest {
protected:
    QTranslator german;

    void TearDown() override {
        QCoreApplication::removeTranslator(&german);
        MainWindowTest::TearDown();
    }

    // The main window's texts in English, then the same window made again in German.
    std::pair<QMap<QString, QString>, QMap<QString, QString>> bothLanguages() {
        open({{"Penny Black", "1"}});
        const auto english = shownTexts(w.get());
        w.reset();
        program.reset();
        QFile::remove(dir.filePath(QStringLiteral("stamp.mdb")));
        EXPECT_TRUE(german.load(QStringLiteral("perlinex_de"), QStringLiteral(":/i18n")));
        QCoreApplication::installTranslator(&german);
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        open({{"Penny Black", "1"}});
        return {english, shownTexts(w.get())};
    }
};

TEST_F(GermanMainWindowTest, NoCaptionMenuItemOrTooltipIsLeftInEnglish) {
    const auto [english, shown] = bothLanguages();
    QStringList left;
    for (auto it = shown.cbegin(); it != shown.cend(); ++it)
        if (english.value(it.key()) == it.value() && !sameInGerman(it.value()) &&
            !it.value().contains(dir.path())) // the title names the folder
            left << it.key() + QStringLiteral(" \"") + it.value() + u'"';
    EXPECT_TRUE(left.isEmpty()) << left.join(u'\n').toStdString();
    EXPECT_EQ(shown.value(QStringLiteral("mnuFileMenu/title")), QStringLiteral("&Datei"));
}

TEST_F(GermanMainWindowTest, NoTwoGermanCaptionsOfTheWindowOrAMenuShareALetter) {
    bothLanguages();
    auto* tabs = find<QTabWidget>("SSTab1");
    QStringList found;
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        QApplication::processEvents();
        found << windowkeys::clashesIn(w.get());
    }
    for (const QMenu* menu : windowkeys::menusOf(w.get()))
        found << windowkeys::clashesInMenu(menu);
    EXPECT_TRUE(found.isEmpty()) << found.join(u'\n').toStdString();
}

} // namespace
