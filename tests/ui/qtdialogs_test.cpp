#include "ui/qtdialogs.h"

#include "support/wait.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace perlinex;

namespace {

// Answers the message box that comes up with a press of Enter, as a slip of the hand would,
// and notes which button was its default.
Answer enterOn(Buttons buttons, QString* defaultText) {
    QtDialogs dialogs;
    QTimer::singleShot(0, [defaultText] {
        if (!QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }))
            return;
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        if (QPushButton* d = box->defaultButton())
            *defaultText = d->text().remove(QLatin1Char('&'));
        QTest::keyClick(box, Qt::Key_Return);
    });
    return dialogs.message(QStringLiteral("Delete it?"), QStringLiteral("Delete"), buttons,
                           Icon::Question);
}

} // namespace

TEST(QtDialogs, EnterAnswersTheDefaultButton_NoWhereYesWouldLoseSomething) {
    QString shownDefault;
    EXPECT_EQ(enterOn(Buttons::YesNoDefaultNo, &shownDefault), Answer::No);
    EXPECT_EQ(shownDefault, QStringLiteral("No"));
    // A plain question keeps Yes under Enter.
    EXPECT_EQ(enterOn(Buttons::YesNo, &shownDefault), Answer::Yes);
}

// A long prompt wraps instead of widening the input box past the screen; the typed text comes
// back on Return, nothing on Escape.
TEST(QtDialogs, InputBoxWrapsALongPromptAndAnswersFromTheKeys) {
    const QString prompt =
        QStringLiteral("The shared collection: its server and its name. ").repeated(6);
    for (const bool accept : {true, false}) {
        QtDialogs dialogs;
        int shownWidth = 0;
        int oneLineWidth = 0;
        QTimer::singleShot(0, [&] {
            if (!QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }))
                return;
            QWidget* box = QApplication::activeModalWidget();
            shownWidth = box->width();
            oneLineWidth = box->fontMetrics().horizontalAdvance(prompt);
            auto* edit = box->findChild<QLineEdit*>();
            if (!edit)
                return;
            QTest::keyClicks(edit, QStringLiteral("club#circuit"));
            QTest::keyClick(edit, accept ? Qt::Key_Return : Qt::Key_Escape);
        });
        const std::optional<QString> typed =
            dialogs.input(prompt, QStringLiteral("Open Shared Collection"), QString());
        EXPECT_GT(shownWidth, 0);
        EXPECT_LT(shownWidth, oneLineWidth);
        if (accept)
            EXPECT_EQ(typed, std::optional<QString>(QStringLiteral("club#circuit")));
        else
            EXPECT_FALSE(typed.has_value());
    }
}
