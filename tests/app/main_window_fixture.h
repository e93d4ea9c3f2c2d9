#pragma once

// The main window on a collection of its own, and the ways a test drives it as a user would.
#include "app/frmmain.h"
#include "db/schema.h"
#include "db/sqlite/collectionfile.h"
#include "support/scripted_dialogs.h"
#include "support/wait.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>

using namespace perlinex;
using perlinex::db::Value;

struct Seed {
    const char* descr;
    const char* catnum;
};

class MainWindowTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    std::unique_ptr<Program> program;
    std::unique_ptr<frmMain> w;

    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void TearDown() override {
        w.reset();
        program.reset();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    // Makes a collection with the given stamps (the first ten countries in turn) and opens it;
    // readOnly opens it as the program opens a collection it cannot change; change, when
    // given, is run on the collection first, as another program would.
    void open(const std::vector<Seed>& stamps, bool readOnly = false,
              const std::function<void(db::Database&)>& change = {}) {
        {
            auto db = db::createCollection(dir.filePath(QStringLiteral("stamp.mdb")));
            auto rs = db->openRecordSet(QStringLiteral("select * from stamp"));
            for (const Seed& s : stamps) {
                rs->addNew();
                rs->setField(QStringLiteral("descr"), Value(QString::fromUtf8(s.descr)));
                rs->setField(QStringLiteral("catnum"), Value(QString::fromUtf8(s.catnum)));
                rs->setField(QStringLiteral("catsort"),
                             Value(db::CatSortKey(QString::fromUtf8(s.catnum))));
                rs->update();
            }
            if (change)
                change(*db);
        }
        program = std::make_unique<Program>(dialogs, dir.path());
        program->settingsFile = dir.filePath(QStringLiteral("settings.ini"));
        program->ReadOnly = readOnly;
        w = std::make_unique<frmMain>(*program);
        w->load();
        w->show();
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    }

    // Closes the window and opens the program again on the same collection and settings.
    void reopenWindow() {
        ASSERT_TRUE(w->close());
        w.reset();
        program = std::make_unique<Program>(dialogs, dir.path());
        program->settingsFile = dir.filePath(QStringLiteral("settings.ini"));
        w = std::make_unique<frmMain>(*program);
        w->load();
        w->show();
    }

    // A missing control fails the test with its name rather than crashing it.
    template <typename T> T* find(const char* name) {
        T* c = w->findChild<T*>(QLatin1String(name));
        if (!c)
            throw std::runtime_error(std::string("the main window has no control named ") + name);
        return c;
    }
    QLineEdit* edit(const char* name) { return find<QLineEdit>(name); }
    QPushButton* btn(const char* name) { return find<QPushButton>(name); }
    QAction* act(const char* name) { return find<QAction>(name); }
    // A window of the program that is shown now, by its name; null when none is.
    static QWidget* shownWindow(const char* name) {
        for (QWidget* t : QApplication::topLevelWidgets())
            if (t->objectName() == QLatin1String(name) && t->isVisible())
                return t;
        return nullptr;
    }
    QString text(const char* name) { return edit(name)->text(); }
    void click(const char* name) { QTest::mouseClick(btn(name), Qt::LeftButton); }
    void type(const char* name, const QString& t) {
        QLineEdit* e = edit(name);
        e->setFocus();
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Delete);
        QTest::keyClicks(e, t);
    }
    // Leaves the focused field for another control, as a user pressing Tab would.
    void leaveTo(const char* name) {
        w->findChild<QWidget*>(QLatin1String(name))->setFocus(Qt::TabFocusReason);
    }
    // Makes the main window active again after another window had the focus, as a user
    // coming back to it does: the activation is the window's own, not a call of the test's.
    void comeBack() {
        QWidget other;
        other.setObjectName(QStringLiteral("otherWindow"));
        other.show();
        other.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
        other.close();
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    }
    std::int64_t stampCount() {
        return program->CollectionDb->scalar(QStringLiteral("select count(*) from stamp"))
            .toInteger();
    }
    bool browsing() {
        return btn("cmdFirst")->isVisible() && btn("cmdAddNew")->isVisible() &&
               !btn("cmdUpdate")->isVisible() && act("mnuExit")->isEnabled();
    }
};

// Answers the find dialog that exec() is about to show: picks the field by caption, the
// operator, the text and the direction, then presses "&Find" (or "&Close" when find is false).
inline void answerFind(const QString& field, const QString& op, const QString& value, int direction,
                       bool find = true) {
    QTimer::singleShot(0, [=] {
        QWidget* d = QApplication::activeModalWidget();
        ASSERT_NE(d, nullptr);
        auto* fields = d->findChild<QListWidget*>(QStringLiteral("lstField"));
        ASSERT_NE(fields, nullptr);
        const auto items = fields->findItems(field, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1);
        fields->setCurrentItem(items[0]);
        if (auto* ops = d->findChild<QListWidget*>(QStringLiteral("lstText")); ops && !op.isEmpty())
            ops->setCurrentItem(ops->findItems(op, Qt::MatchExactly).value(0));
        d->findChild<QLineEdit*>(QStringLiteral("txtToFind"))->setText(value);
        d->findChild<QRadioButton*>(QStringLiteral("optWhere%1").arg(direction))->setChecked(true);
        d->findChild<QPushButton*>(find ? QStringLiteral("cmdFind") : QStringLiteral("cmdCancel"))
            ->click();
    });
}
