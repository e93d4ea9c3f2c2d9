// The application object as the event loop's last resort. It runs in a program of its own:
// the object is the process's one application, and the last test ends it.
#include "ui/application.h"
#include "ui/errorhandler.h"
#include "ui/slotguard.h"

#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using namespace perlinex;

namespace {

// Throws from inside an event handler, as a window's slot would.
class Thrower : public QObject {
public:
    std::function<void()> what;
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User)
            what();
        return QObject::event(e);
    }
};

Application& app() {
    return *static_cast<Application*>(qApp);
}

// Posts the throwing event and runs the event loop until the program ends or the test does.
int runWith(const std::function<void()>& what) {
    Thrower t;
    t.what = what;
    QCoreApplication::postEvent(&t, new QEvent(QEvent::User));
    QTimer::singleShot(200, &app(), [] { app().exit(42); }); // still running: the test ends it
    return app().exec();
}

} // namespace

TEST(Application, AReopenedCollectionGoesToTheWindowsAndTheProgramGoesOn) {
    int reopened = 0;
    app().onCollectionReopened = [&] { ++reopened; };
    EXPECT_EQ(runWith([] { throw CollectionReopened{}; }), 42);
    EXPECT_EQ(reopened, 1);
    EXPECT_FALSE(app().ended());
}

// A real signal: the button's click runs a slot connected through the guard; nothing the slot
// throws may come out of click(), which is Qt's code.
TEST(Application, ASlotThatMeetsAReopenedCollectionHandsItOnAndReturns) {
    int reopened = 0, after = 0;
    app().onCollectionReopened = [&] { ++reopened; };
    QPushButton button;
    connectGuarded(&button, &QPushButton::clicked, &button, [&] {
        throw CollectionReopened{};
        ++after; // never reached
    });
    connectGuarded(&button, &QPushButton::clicked, &button, [&](bool checked) {
        EXPECT_FALSE(checked);
        ++after;
    });
    EXPECT_NO_THROW(button.click());
    EXPECT_EQ(reopened, 1);
    EXPECT_EQ(after, 1) << "the next slot of the same signal still ran";
    EXPECT_FALSE(app().ended());
}

TEST(Application, AnErrorNothingCaughtIsShownAndEndsTheProgramWithStatus1) {
    QString shown;
    int ends = 0;
    app().onUnexpectedError = [&](const QString& text) { shown = text; };
    app().onEnd = [&] { ++ends; };
    QPushButton button;
    connectGuarded(&button, &QPushButton::clicked, &button,
                   [] { throw db::DbError(3051, QStringLiteral("Could not open the file.")); });
    QTimer::singleShot(0, &button, [&] { EXPECT_NO_THROW(button.click()); });
    QTimer::singleShot(5000, &app(), [] { app().exit(42); }); // still running: the test ends it
    EXPECT_EQ(app().exec(), 1);
    EXPECT_EQ(shown, QStringLiteral("3051  Could not open the file."));
    EXPECT_EQ(ends, 1);
    EXPECT_TRUE(app().ended());
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    Application application(argc, argv);
    return RUN_ALL_TESTS();
}
