// How the main window looks and what it says: its size and place, its fields' widths, an empty
// collection.
#include "main_window_fixture.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTabWidget>

namespace {

// The record's fields on a page, by their names.
QList<QWidget*> fieldsOn(QWidget* page) {
    QList<QWidget*> out;
    for (QWidget* f : page->findChildren<QWidget*>())
        if (!f->objectName().isEmpty() && !f->objectName().startsWith(QLatin1String("qt_")) &&
            f->parentWidget() == page)
            out << f;
    return out;
}

} // namespace

TEST_F(MainWindowTest, Look_OpensShowingEveryFieldOfEveryPageWhole) {
    open({{"Penny Black", "SG 1"}});
    auto* tabs = find<QTabWidget>("SSTab1");
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        QApplication::processEvents();
        QWidget* page = tabs->widget(i);
        const QList<QWidget*> fields = fieldsOn(page);
        EXPECT_FALSE(fields.isEmpty());
        for (QWidget* f : fields) {
            EXPECT_TRUE(page->rect().contains(f->geometry())) << f->objectName().toStdString();
            EXPECT_GE(f->width(), f->minimumSizeHint().width()) << f->objectName().toStdString();
            EXPECT_GE(f->height(), f->minimumSizeHint().height()) << f->objectName().toStdString();
        }
    }
}

TEST_F(MainWindowTest, Look_ShrunkAsFarAsItGoes_TheWindowStillShowsEveryFieldWhole) {
    open({{"Penny Black", "SG 1"}});
    w->resize(1, 1);
    QApplication::processEvents();
    EXPECT_GT(w->width(), 200);
    EXPECT_LE(w->width(), w->screen()->availableGeometry().width());
    auto* tabs = find<QTabWidget>("SSTab1");
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        QApplication::processEvents();
        QWidget* page = tabs->widget(i);
        for (QWidget* f : fieldsOn(page)) {
            EXPECT_TRUE(page->rect().contains(f->geometry())) << f->objectName().toStdString();
            EXPECT_GE(f->width(), f->minimumSizeHint().width()) << f->objectName().toStdString();
        }
    }
}

TEST_F(MainWindowTest, Look_AMaximisedWindowKeepsShortNumbersShort) {
    open({{"Penny Black", "SG 1"}});
    w->resize(2400, 1200);
    auto* tabs = find<QTabWidget>("SSTab1");
    const int digit = w->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    const std::pair<const char*, int> fields[] = {
        {"txtFace", 0},     {"txtYear", 0},      {"txtQuantity", 0},
        {"dcIssued", 0},    {"txtPricePaid", 1}, {"txtTotalPaid", 1},
        {"dcPurchased", 1}, {"cmbCon", 1},       {"cmbCou", 0}};
    for (const auto& [name, page] : fields) {
        tabs->setCurrentIndex(page);
        QApplication::processEvents();
        QWidget* f = w->findChild<QWidget*>(QLatin1String(name));
        EXPECT_LT(f->width(), 45 * digit) << name;
        EXPECT_GE(f->width(), f->sizeHint().width()) << name;
    }
    // The description is as wide as the window lets it be.
    EXPECT_GT(edit("txtDescr")->width(), 1200);
}

TEST_F(MainWindowTest, Look_TheWindowOpensWhereAndAsLargeAsItWasLeftOnThePageLeftInFront) {
    open({{"Penny Black", "SG 1"}});
    const QSize first = w->size();
    const QRect screen = w->screen()->availableGeometry();
    EXPECT_LE(first.width(), screen.width());
    EXPECT_LE(first.height(), screen.height());
    w->resize(first + QSize(40, 30));
    find<QTabWidget>("SSTab1")->setCurrentIndex(2);
    reopenWindow();
    EXPECT_EQ(w->size(), first + QSize(40, 30));
    EXPECT_EQ(find<QTabWidget>("SSTab1")->currentIndex(), 2);
    EXPECT_TRUE(QSettings(program->settingsFile, QSettings::IniFormat)
                    .contains(QStringLiteral("mainWindow/geometry")));
}

TEST_F(MainWindowTest, Look_AnEmptyCollectionSaysSoAndOffersNothingToDeleteOrFind) {
    open({});
    auto* notice = find<QLabel>("lblEmpty");
    EXPECT_TRUE(notice->isVisible());
    EXPECT_EQ(notice->text(), QStringLiteral("This collection has no stamps yet: press Add New to "
                                             "add the first one."));
    EXPECT_FALSE(btn("cmdDelete")->isEnabled());
    EXPECT_FALSE(btn("cmdFind")->isEnabled());
    QTest::keyClick(w.get(), Qt::Key_D, Qt::AltModifier);
    QTest::keyClick(w.get(), Qt::Key_I, Qt::AltModifier);
    EXPECT_TRUE(dialogs.prompts.empty());

    click("cmdAddNew");
    EXPECT_FALSE(notice->isVisible()); // the first one is being added
    type("txtDescr", QStringLiteral("Penny Black"));
    click("cmdUpdate");
    EXPECT_FALSE(notice->isVisible());
    EXPECT_TRUE(btn("cmdDelete")->isEnabled());
    EXPECT_TRUE(btn("cmdFind")->isEnabled());

    dialogs.answers = {Answer::Yes};
    click("cmdDelete");
    EXPECT_TRUE(notice->isVisible());
    EXPECT_FALSE(btn("cmdDelete")->isEnabled());
}

TEST_F(MainWindowTest, ReportFiles_SayWhereTheyWentAndHowManyStampsAndTheNextIsSuggestedThere) {
    open({{"Penny Black", "SG 1"}, {"Zeppelin", "C 45"}});
    QTemporaryDir elsewhere;
    const QString file = QDir(elsewhere.path()).filePath(QStringLiteral("my value.txt"));
    act("mnuRptOut2")->trigger(); // to a text file
    dialogs.texts = {file};
    act("mnuRptValue")->trigger();
    ASSERT_TRUE(QFileInfo(file).isFile());
    EXPECT_EQ(w->statusBar()->currentMessage(),
              QStringLiteral("2 stamps written to %1").arg(QDir::toNativeSeparators(file)));

    // The next report file is offered under its own name in the folder the last one went to.
    act("mnuRptOut3")->trigger(); // an HTML table
    dialogs.texts = {std::nullopt};
    act("mnuRptWant")->trigger(); // finds nothing: no file asked for
    act("mnuRptValue")->trigger();
    ASSERT_EQ(dialogs.prompts.back().kind, QStringLiteral("save"));
    EXPECT_EQ(dialogs.prompts.back().text,
              QDir(elsewhere.path()).filePath(QStringLiteral("Stamp Value Report.htm")));

    // The PDF of the preview is offered there too, and its message says what it holds.
    act("mnuRptOut1")->trigger();
    act("mnuRptValue")->trigger();
    QWidget* preview = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == QLatin1String("frmOutput") && top->isVisible())
            preview = top;
    ASSERT_TRUE(preview);
    auto* exportPdf = preview->findChild<QPushButton*>(QStringLiteral("cmdExportPdf"));
    ASSERT_SOON(exportPdf->isEnabled());
    const QString pdf = QDir(elsewhere.path()).filePath(QStringLiteral("value.pdf"));
    dialogs.texts = {pdf};
    dialogs.prompts.clear();
    QTest::mouseClick(exportPdf, Qt::LeftButton);
    ASSERT_SOON(QFileInfo(pdf).isFile());
    ASSERT_GE(dialogs.prompts.size(), 2u);
    EXPECT_EQ(dialogs.prompts[0].text,
              QDir(elsewhere.path()).filePath(QStringLiteral("Stamp Value Report.pdf")));
    EXPECT_EQ(dialogs.prompts.back().text,
              QStringLiteral("2 stamps written to %1").arg(QDir::toNativeSeparators(pdf)));
    preview->close();
}
