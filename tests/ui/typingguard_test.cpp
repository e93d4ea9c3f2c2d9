#include "ui/typingguard.h"

#include "support/wait.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace perlinex;

namespace {

// A window with one field of each kind, guarded.
struct Fields {
    QWidget window;
    QLineEdit* line = new QLineEdit(QStringLiteral("Kenya"));
    QPlainTextEdit* notes = new QPlainTextEdit(QStringLiteral("Notes"));
    QComboBox* list = new QComboBox;
    QPushButton* next = new QPushButton(QStringLiteral("&Next"));
    int nextClicks = 0;

    Fields() {
        list->addItems({QStringLiteral("Aden"), QStringLiteral("Kenya"), QStringLiteral("Nepal")});
        auto* layout = new QVBoxLayout(&window);
        for (QWidget* w : std::initializer_list<QWidget*>{line, notes, list, next})
            layout->addWidget(w);
        QObject::connect(next, &QPushButton::clicked, [this] { ++nextClicks; });
        TypingGuard::guardFieldsOf(&window);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    QString state() const {
        return line->text() + u'|' + notes->toPlainText() + u'|' + list->currentText();
    }
};

} // namespace

TEST(TypingGuard, KeysWithAltCtrlOrMetaTypeNothingIntoAnyKindOfField) {
    Fields f;
    const QString before = f.state();
    const Qt::KeyboardModifiers held[] = {Qt::AltModifier, Qt::ControlModifier | Qt::AltModifier,
                                          Qt::MetaModifier, Qt::AltModifier | Qt::ShiftModifier,
                                          Qt::ControlModifier};
    for (QWidget* field : std::initializer_list<QWidget*>{f.line, f.notes, f.list})
        for (const Qt::KeyboardModifiers modifiers : held)
            for (const Qt::Key key : {Qt::Key_K, Qt::Key_N, Qt::Key_Space, Qt::Key_5}) {
                field->setFocus();
                QTest::keyClick(field, key, modifiers);
                EXPECT_EQ(f.state().toStdString(), before.toStdString())
                    << field->metaObject()->className() << " key " << key << " modifiers "
                    << modifiers;
            }
}

TEST(TypingGuard, MnemonicsTypingAndEditingKeysStillWork) {
    Fields f;
    f.line->setFocus();
    QTest::keyClick(f.line, Qt::Key_N, Qt::AltModifier);
    EXPECT_SOON(f.nextClicks == 1); // the visible button's letter
    f.line->selectAll();
    QTest::keyClick(f.line, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(f.line, Qt::Key_End);
    QTest::keyClick(f.line, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(f.line->text(), QStringLiteral("KenyaKenya"));
    QTest::keyClicks(f.line, QStringLiteral("ab"));
    EXPECT_EQ(f.line->text(), QStringLiteral("KenyaKenyaab"));
    QTest::keyClick(f.line, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(f.line->text(), QStringLiteral("KenyaKenya"));
}
