#include "db/collectioncopy.h"
#include "regional/regional.h"
#include "stats/statstable.h"
#include "stats_support.h"
#include "support/server_fixture.h"

#include <gtest/gtest.h>

using namespace perlinex;
using namespace perlinex::stats;

namespace {

class SharedStatisticsTest : public TempFolderTest {
protected:
    QString collection = freshCollectionName();
    std::unique_ptr<db::Database> file, shared;
    const regional::Regional regional{QLocale(QLocale::English, QLocale::UnitedStates)};

    void SetUp() override {
        TempFolderTest::SetUp();
        SKIP_WITHOUT_SERVER();
        file = makeStatsCollection(path(QStringLiteral("stamp.mdb")));
        shared =
            db::createServerCollection(serverUnderTest(), collection, false,
                                       [&](db::Database& d) { db::copyCollectionRows(*file, d); });
    }
    void TearDown() override {
        if (shared)
            shared->close();
        if (file)
            file->close();
        if (!serverUnderTest().isEmpty())
            db::dropServerCollection(serverUnderTest(), collection);
    }
};

void expectSameFigures(const Figures& a, const Figures& b) {
    EXPECT_EQ(a.stamps, b.stamps);
    EXPECT_EQ(a.quantity, b.quantity);
    EXPECT_EQ(a.paid, b.paid);
    EXPECT_EQ(a.value, b.value);
    EXPECT_EQ(a.asked, b.asked);
    EXPECT_EQ(a.willPay, b.willPay);
}

} // namespace

// The same stamps give the same figures on the file and on a server, and a row's condition
// (what a click on its bar lists) picks out on the server exactly the stamps the row counts.
TEST_F(SharedStatisticsTest, FiguresAndTheirStampsAreTheFileOnes) {
    CollectionStatistics onFile(*file, regional, {});
    CollectionStatistics onServer(*shared, regional, {});
    const Glance a = onFile.glance(), b = onServer.glance();
    expectSameFigures(a.collection, b.collection);
    expectSameFigures(a.wantList, b.wantList);
    expectSameFigures(a.forSale, b.forSale);
    expectSameFigures(a.sold, b.sold);
    for (const Breakdown breakdown :
         {Breakdown::Country, Breakdown::Condition, Breakdown::Decade, Breakdown::PurchaseYear}) {
        SCOPED_TRACE(int(breakdown));
        const std::vector<ShownGroup> fileRows =
            shownGroups(breakdown, onFile.groups(breakdown), Measure::Count, {});
        const std::vector<ShownGroup> serverRows = shownGroups(
            breakdown, onServer.groups(breakdown), Measure::Count, {}, db::StoreKind::Server);
        ASSERT_EQ(fileRows.size(), serverRows.size());
        ASSERT_FALSE(serverRows.empty());
        for (std::size_t i = 0; i < serverRows.size(); ++i) {
            SCOPED_TRACE(serverRows[i].label.toStdString());
            EXPECT_EQ(fileRows[i].label, serverRows[i].label);
            expectSameFigures(fileRows[i].figures, serverRows[i].figures);
            EXPECT_EQ(shared
                          ->scalar(QStringLiteral("select count(*) from stamp where %1")
                                       .arg(serverRows[i].condition))
                          .toInteger(),
                      serverRows[i].figures.stamps);
        }
    }
}
