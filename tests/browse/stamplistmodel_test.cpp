#include "browse/stamplistmodel.h"
#include "browse_support.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace perlinex;
using namespace perlinex::browse;
using db::Value;

namespace {

class StampListModelTest : public BrowserTest {
protected:
    std::unique_ptr<StampListModel> model;

    void openList() {
        open();
        model = std::make_unique<StampListModel>(*browser, regional);
    }
    void TearDown() override {
        model.reset();
        BrowserTest::TearDown();
    }
    QString cell(int row, const char* field) const {
        return model->data(model->index(row, listColumnNamed(QLatin1String(field)))).toString();
    }
};

} // namespace

TEST_F(StampListModelTest, ColumnsComeFromTheFieldTableAndShowWhatTheRecordShows) {
    const std::int64_t austria = codeId(QStringLiteral("country"), QStringLiteral("CouID"),
                                        QStringLiteral("Coudesc"), QStringLiteral("Austria"));
    addStamp(QStringLiteral("Penny Black"), QStringLiteral("SG 1"),
             {{QStringLiteral("CouID"), Value(austria)},
              {QStringLiteral("Year"), Value(1840)},
              {QStringLiteral("face"), Value(Currency::fromRaw(5000))},
              {QStringLiteral("quantity"), Value(3)},
              {QStringLiteral("pricepaid"), Value(Currency::fromRaw(12345600))},
              {QStringLiteral("catvalue"), Value(Currency::fromRaw(-15000))},
              {QStringLiteral("used"), Value(true)},
              {QStringLiteral("forsale"), Value(true)}});
    addStamp(QStringLiteral("Blank"));
    openList();
    EXPECT_EQ(model->columnCount(), int(db::listedFields().size()));
    EXPECT_EQ(model->headings(),
              QStringList({"Description", "Catalog Num", "Country", "Year", "Face Value",
                           "Quantity", "Condition", "Price Paid", "Catalog Value", "Used",
                           "Want List", "For Sale", "Sold"}));
    ASSERT_EQ(model->rowCount(), 2);
    EXPECT_EQ(model->rowTexts(1),
              QStringList({"Penny Black", "SG 1", "Austria", "1840", "0.5", "3", "", "$1,234.56",
                           "($1.50)", StampListModel::mark(), "", StampListModel::mark(), ""}));
    EXPECT_EQ(cell(0, "descr"), QStringLiteral("Blank"));
    EXPECT_EQ(cell(0, "pricepaid"), QString());
    EXPECT_EQ(cell(0, "quantity"), QStringLiteral("1"));
    EXPECT_EQ(model->data(model->index(1, listColumnNamed(QStringLiteral("pricepaid"))),
                          Qt::TextAlignmentRole)
                      .toInt() &
                  Qt::AlignRight,
              Qt::AlignRight);
}

TEST_F(StampListModelTest, FollowsTheBrowsersListAndSortsByAColumn) {
    for (const char* d : {"Charlie", "alpha", "Bravo"})
        addStamp(QLatin1String(d));
    openList();
    QSignalSpy resets(model.get(), &QAbstractItemModel::modelReset);
    EXPECT_EQ(cell(0, "descr"), QStringLiteral("alpha"));
    model->sort(0, Qt::DescendingOrder);
    EXPECT_EQ(cell(0, "descr"), QStringLiteral("Charlie"));
    EXPECT_EQ(browser->order(), StampOrder::ofColumn(0, true));
    browser->setFilter(QStringLiteral("AL"));
    EXPECT_EQ(model->rowCount(), 1);
    EXPECT_EQ(cell(0, "descr"), QStringLiteral("alpha"));
    // A stamp changed through the browser is read again, not taken from what was kept.
    browser->beginEdit();
    record::StampEntry e = browser->shown();
    e.setText(QStringLiteral("descr"), QStringLiteral("Alpine"));
    ASSERT_TRUE(browser->store(e).stored);
    EXPECT_EQ(cell(0, "descr"), QStringLiteral("Alpine"));
    EXPECT_EQ(resets.count(), 3);
}

TEST_F(StampListModelTest, EveryRowReadsRightWhileScrollingFarPastWhatIsKept) {
    // Rows read are kept a few hundred at a time; whatever was let go is read again right
    // (the memory it takes at a million stamps is measured in bench/).
    auto add = db->prepare(
        QStringLiteral("insert into stamp (descr, catnum, catsort) values (?, '', '')"));
    db->transaction([&] {
        for (int i = 0; i < 3000; ++i)
            add->run({Value(QStringLiteral("Stamp %1").arg(i, 5, 10, QLatin1Char('0')))});
    });
    openList();
    for (int row = 0; row < model->rowCount(); ++row)
        ASSERT_EQ(cell(row, "descr"), QStringLiteral("Stamp %1").arg(row, 5, 10, QLatin1Char('0')));
}
