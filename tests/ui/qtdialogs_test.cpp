#include "ui/qtdialogs.h"

#include "support/wait.h"

#include <QApplication>
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
