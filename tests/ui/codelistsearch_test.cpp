#include "ui/codelistsearch.h"

#include "support/wait.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace perlinex;

namespace {

const QStringList kCountries = {
    QStringLiteral("Aden"),           QStringLiteral("Finland"),
    QStringLiteral("Iceland"),        QStringLiteral("Landes"),
    QStringLiteral("Mauritania"),     QStringLiteral("Mauritius"),
    QStringLiteral("São Tomé"),       QStringLiteral("United Arab Emirates"),
    QStringLiteral("United Kingdom"), QStringLiteral("United States")};

// Types into whatever has the keyboard, one key at a time, as the keys would arrive.
void typeKeys(const QString& text) {
    for (const QChar c : text)
        QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
}

QStringList shownMatches(QComboBox* box) {
    QStringList out;
    auto* list = box->findChild<QListWidget*>(QStringLiteral("lstMatches"));
    for (int i = 0; list && i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

// A country list and a box after it, in a window of their own.
struct ListWindow {
    QWidget window;
    QComboBox* countries = new QComboBox;
    QLineEdit* after = new QLineEdit;
    CodeListSearch* search;

    ListWindow() {
        countries->addItems(kCountries);
        countries->setCurrentIndex(0);
        search = CodeListSearch::attach(countries);
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(countries);
        layout->addWidget(after);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        countries->setFocus();
    }
};

} // namespace

TEST(CodeListSearch, MatchesStartFirstThenContainWithoutRegardToCaseOrAccents) {
    const struct {
        const char* typed;
        QStringList found;
    } cases[] = {
        {"united k", {"United Kingdom"}},
        {"United ", {"United Arab Emirates", "United Kingdom", "United States"}},
        {"land", {"Landes", "Finland", "Iceland"}},
        {"MAURI", {"Mauritania", "Mauritius"}},
        {"sao t", {QString::fromUtf8("São Tomé")}},
        {"xyz", {}},
    };
    for (const auto& c : cases) {
        QStringList found;
        for (const int row : CodeListSearch::matches(kCountries, QString::fromUtf8(c.typed)))
            found << kCountries[row];
        EXPECT_EQ(found, c.found) << c.typed;
    }
}

TEST(CodeListSearch, TypingOpensTheMatchesAndOnlyReturnOrTabTakesOne) {
    ListWindow w;
    QSignalSpy picked(w.countries, &QComboBox::activated);
    QTest::keyClick(w.countries, 'u');
    ASSERT_TRUE(w.search->isOpen());
    typeKeys(QStringLiteral("nited K")); // the space continues the search
    EXPECT_EQ(shownMatches(w.countries), QStringList({"United Kingdom"}));
    EXPECT_EQ(w.countries->currentText(), QStringLiteral("Aden")); // nothing taken yet
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(w.search->isOpen());
    EXPECT_EQ(w.countries->currentText(), QStringLiteral("United Kingdom"));
    EXPECT_EQ(picked.count(), 1);
    EXPECT_TRUE(w.countries->hasFocus());

    // Escape leaves the value as it was.
    typeKeys(QStringLiteral("Mauri"));
    EXPECT_EQ(shownMatches(w.countries), QStringList({"Mauritania", "Mauritius"}));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(w.search->isOpen());
    EXPECT_EQ(w.countries->currentText(), QStringLiteral("United Kingdom"));
    EXPECT_EQ(picked.count(), 1);

    // Down moves to the next match; Tab takes it and moves on.
    typeKeys(QStringLiteral("mauri"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(w.countries->currentText(), QStringLiteral("Mauritius"));
    EXPECT_TRUE(w.after->hasFocus());

    // Nothing matching: Return takes nothing and the search stays to be corrected.
    w.countries->setFocus();
    typeKeys(QStringLiteral("xyz"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(w.search->isOpen());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    typeKeys(QStringLiteral("ice"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(w.countries->currentText(), QStringLiteral("Iceland"));
}

TEST(CodeListSearch, TypingIntoTheBoxsOwnOpenListSearchesToo) {
    ListWindow w;
    w.countries->showPopup();
    ASSERT_SOON(w.countries->view()->isVisible());
    QTest::keyClick(w.countries->view(), 'u');
    EXPECT_TRUE(w.search->isOpen());
    EXPECT_FALSE(w.countries->view()->isVisible());
    typeKeys(QStringLiteral("nited S"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(w.countries->currentText(), QStringLiteral("United States"));
}
