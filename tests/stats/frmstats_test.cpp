#include "stats_support.h"

#include "app/command_support.h"
#include "app/frmmain.h"
#include "db/dialect.h"
#include "db/sqlite/collectionfile.h"
#include "stats/frmstats.h"
#include "support/scripted_dialogs.h"
#include "ui/program.h"

#include <QAction>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QFile>
#include <QHorizontalBarSeries>
#include <QImage>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

using namespace perlinex;
using namespace perlinex::stats;

namespace {

class StatisticsWindowTest : public TempFolderTest {
protected:
    ScriptedDialogs dialogs;
    std::unique_ptr<Program> program;
    std::unique_ptr<StatisticsWindow> w;

    void SetUp() override {
        TempFolderTest::SetUp();
        makeStatsCollection(path(QStringLiteral("stamp.mdb")))->close();
        program = std::make_unique<Program>(dialogs, dir.path());
        program->openCollection();
    }
    void TearDown() override {
        w.reset();
        program->closeCollection();
    }

    void open(StampFilter filter = {}) {
        w = std::make_unique<StatisticsWindow>(*program, std::move(filter));
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    }
    template <typename T> T* find(const QString& name) {
        T* c = w->findChild<T*>(name);
        EXPECT_NE(c, nullptr) << name.toStdString();
        return c;
    }
    QTableWidget* table(const char* page) {
        return find<QTableWidget>(QStringLiteral("grd") + QLatin1String(page));
    }
    QChartView* chart(const char* page) {
        return find<QChartView>(QStringLiteral("cht") + QLatin1String(page));
    }
    QString cell(const char* page, int row, int column) {
        QTableWidgetItem* item = table(page)->item(row, column);
        return item ? item->text() : QStringLiteral("<none>");
    }
    void clickTab(int index) {
        QTabBar* bar = find<QTabWidget>(QStringLiteral("tabStats"))->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }
    void click(const char* button) {
        auto* b = find<QAbstractButton>(QLatin1String(button));
        QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
    }
    // A click on the middle of a bar of the chart shown.
    void clickBar(QChartView* view, int index) {
        QChart* c = view->chart();
        // The chart is laid out when its view has its size.
        ASSERT_SOON(c->plotArea().width() > 0 && c->size() == view->viewport()->size());
        auto* series = c->series().front();
        QBarSet* set = qobject_cast<QAbstractBarSeries*>(series)->barSets().front();
        const bool across = qobject_cast<QHorizontalBarSeries*>(series) != nullptr;
        const double half = set->at(index) / 2;
        const QPointF inChart =
            c->mapToPosition(across ? QPointF(half, index) : QPointF(index, half), series);
        const QPoint at = view->mapFromScene(c->mapToScene(inChart));
        ASSERT_NE(view->itemAt(at), nullptr)
            << at.x() << "," << at.y() << " in " << view->viewport()->width() << "x"
            << view->viewport()->height() << " chart at " << inChart.x() << "," << inChart.y()
            << " scene " << view->sceneRect().width() << " items " << view->items().size();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    }
};

} // namespace

TEST_F(StatisticsWindowTest, Opens_OnTheGlance_AndComputesATabWhenItIsShown) {
    open();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Statistics"));
    EXPECT_EQ(cell("Glance", 0, 1), QStringLiteral("5"));
    EXPECT_EQ(cell("Glance", 3, 1), QStringLiteral("$28.77"));
    EXPECT_EQ(table("Country")->rowCount(), 0); // not yet shown, not yet asked for
    EXPECT_FALSE(find<QRadioButton>(QStringLiteral("optValue"))->isEnabled());

    clickTab(1);
    ASSERT_EQ(table("Country")->rowCount(), 4);
    EXPECT_EQ(cell("Country", 0, 0), QStringLiteral("Austria"));
    EXPECT_EQ(cell("Country", 0, 3), QStringLiteral("$16.67"));
    EXPECT_EQ(cell("Country", 2, 0), QStringLiteral("Unclassified"));
    EXPECT_EQ(cell("Country", 3, 0), QStringLiteral("Total"));
    EXPECT_EQ(cell("Country", 3, 1), QStringLiteral("5"));
    EXPECT_FALSE(chart("Country")->accessibleName().isEmpty());
    EXPECT_FALSE(table("Country")->accessibleName().isEmpty());

    clickTab(5);
    EXPECT_EQ(cell("Decade", 0, 0), QStringLiteral("1940s"));
    EXPECT_EQ(cell("Decade", 3, 0), QStringLiteral("Unknown"));
}

TEST_F(StatisticsWindowTest, CountAndValue_SwitchWhatTheBarsMeasure) {
    open();
    clickTab(3); // condition: Mint 1 stamp worth 6.67, Used 1 stamp worth 10
    ASSERT_TRUE(find<QRadioButton>(QStringLiteral("optValue"))->isEnabled());
    EXPECT_EQ(chart("Condition")->chart()->title(), QStringLiteral("Stamps by condition"));
    EXPECT_EQ(cell("Condition", 0, 0), QStringLiteral("Mint")); // ties by name
    click("optValue");
    EXPECT_EQ(w->measure(), Measure::Value);
    EXPECT_EQ(chart("Condition")->chart()->title(), QStringLiteral("Catalogue value by condition"));
    EXPECT_EQ(cell("Condition", 0, 0), QStringLiteral("Used")); // the largest value first
    auto* series = qobject_cast<QAbstractBarSeries*>(chart("Condition")->chart()->series().front());
    QBarSet* bars = series->barSets().front();
    // Drawn from the bottom: the last row first.
    EXPECT_DOUBLE_EQ(bars->at(bars->count() - 1), 10.0);
    click("optCount");
    EXPECT_EQ(cell("Condition", 0, 0), QStringLiteral("Mint"));
    clickTab(6);
    EXPECT_FALSE(find<QRadioButton>(QStringLiteral("optCount"))->isEnabled());
}

TEST_F(StatisticsWindowTest, AClickOnABarOrARow_AsksToShowThoseStamps) {
    open();
    QSignalSpy asked(w.get(), &StatisticsWindow::showStampsRequested);
    clickTab(1);
    clickBar(chart("Country"), 2); // drawn from the bottom: the top bar is the first row
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked[0][0].toString(),
              QStringLiteral("(not wantlist and not sold) and (CouID = 1)"));
    EXPECT_EQ(asked[0][1].toString(), QStringLiteral("Country: Austria"));

    QTableWidget* t = table("Country");
    t->setFocus();
    t->setCurrentCell(2, 0);
    QTest::keyClick(t, Qt::Key_Return);
    ASSERT_EQ(asked.size(), 2);
    EXPECT_EQ(asked[1][0].toString(),
              QStringLiteral("(not wantlist and not sold) and (CouID is null or CouID not in "
                             "(select CouID from country))"));

    clickTab(0);
    clickBar(chart("Glance"), 1); // the want list
    ASSERT_EQ(asked.size(), 3);
    EXPECT_EQ(asked[2][0].toString(), QStringLiteral("(wantlist)"));
}

TEST_F(StatisticsWindowTest, Filter_IsNamedInTheTitleAndBoundsEveryFigure) {
    open({QStringLiteral("CouID = 2"), QStringLiteral("Country is Sweden")});
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Statistics (filtered: Country is Sweden)"));
    EXPECT_EQ(cell("Glance", 0, 1), QStringLiteral("1"));  // C
    EXPECT_EQ(cell("Glance", 11, 1), QStringLiteral("1")); // S sold
}

TEST_F(StatisticsWindowTest, Export_WritesThePictureAndTheFiguresWhole) {
    open();
    clickTab(1);
    const QString png = path(QStringLiteral("chart.png"));
    const QString svg = path(QStringLiteral("chart.SVG"));
    const QString csv = path(QStringLiteral("figures.csv"));
    dialogs.texts = {png, svg, csv};
    click("cmdExportChart");
    click("cmdExportChart");
    click("cmdExportFigures");
    EXPECT_TRUE(dialogs.messageTexts().isEmpty())
        << dialogs.messageTexts().join('\n').toStdString();
    const QImage image(png, "PNG");
    EXPECT_EQ(image.size(), chart("Country")->size());
    EXPECT_TRUE(bytesOf(svg).contains("<svg"));
    EXPECT_TRUE(bytesOf(svg).contains("Austria"));
    EXPECT_EQ(bytesOf(csv), QByteArray("Country,Stamps,Quantity,Catalogue value\r\n"
                                       "Austria,2,3,16.6666\r\n"
                                       "Sweden,1,3,0.60\r\n"
                                       "Unclassified,2,5,11.5004\r\n"
                                       "Total,5,11,28.767\r\n"));
    // The save dialog opened on the tab's own name.
    ASSERT_GE(dialogs.prompts.size(), 3u);
    EXPECT_EQ(dialogs.prompts[2].kind, QStringLiteral("save"));
}

TEST_F(StatisticsWindowTest, Export_RefusesTheCollectionsFilesAndAsksBeforeReplacing) {
    open();
    const QString collection = path(QStringLiteral("stamp.mdb"));
    const QByteArray before = bytesOf(collection);
    dialogs.texts = {collection};
    click("cmdExportFigures");
    ASSERT_EQ(dialogs.messageTexts().size(), 1);
    EXPECT_TRUE(dialogs.messageTexts()[0].contains(QStringLiteral("Nothing has been written")));
    EXPECT_EQ(bytesOf(collection), before);

    const QString mine = path(QStringLiteral("mine.csv"));
    QFile f(mine);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("keep me");
    f.close();
    dialogs.texts = {mine};
    dialogs.answers = {Answer::No};
    click("cmdExportFigures");
    EXPECT_EQ(bytesOf(mine), QByteArray("keep me"));
    dialogs.texts = {mine};
    dialogs.answers = {Answer::Yes};
    click("cmdExportFigures");
    EXPECT_TRUE(bytesOf(mine).startsWith("Figure,Value\r\nStamps in the collection,5\r\n"));
}

TEST(StatisticsMenu, ReportsMenu_OpensTheWindowOnTheCollection) {
    QTemporaryDir dir;
    makeStatsCollection(dir.filePath(QStringLiteral("stamp.mdb")))->close();
    ScriptedDialogs dialogs;
    Program program(dialogs, dir.path());
    {
        frmMain main(program);
        main.load();
        main.show();
        main.findChild<QAction*>(QStringLiteral("mnuRptStats"))->trigger();
        auto* window = main.findChild<StatisticsWindow*>(QStringLiteral("frmStats"));
        ASSERT_NE(window, nullptr);
        EXPECT_SOON(window->isVisible());
        EXPECT_EQ(window->findChild<QTableWidget*>(QStringLiteral("grdGlance"))->item(0, 1)->text(),
                  QStringLiteral("5"));
        // Asked again, the same window comes forward, with the figures of the collection as
        // it is now.
        program.CollectionDb->execute(
            QStringLiteral("insert into stamp(descr, quantity) values ('New', 1)"));
        main.findChild<QAction*>(QStringLiteral("mnuRptStats"))->trigger();
        EXPECT_EQ(main.findChildren<StatisticsWindow*>().size(), 1);
        EXPECT_EQ(window->findChild<QTableWidget*>(QStringLiteral("grdGlance"))->item(0, 1)->text(),
                  QStringLiteral("6"));
    }
    program.closeCollection();
}
