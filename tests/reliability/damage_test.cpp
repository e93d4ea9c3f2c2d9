#include "reliability_support.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"

#include "db/sqlite/collectionfile.h"
#include "ui/errorhandler.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

using namespace reliability;
using perlinex::Answer;
using perlinex::Buttons;

namespace {

enum class Damage { Header, IndexPage, TablePage };

constexpr int kStamps = 2000;

std::int64_t queryInt(const QString& file, const char* sql) {
    sqlite3* h = nullptr;
    sqlite3_stmt* st = nullptr;
    std::int64_t value = -1;
    if (sqlite3_open_v2(QFile::encodeName(file).constData(), &h, SQLITE_OPEN_READONLY, nullptr) ==
            SQLITE_OK &&
        sqlite3_prepare_v2(h, sql, -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
        value = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    sqlite3_close(h);
    if (value < 0)
        throw std::runtime_error(std::string("could not read ") + sql);
    return value;
}

// Goes down a b-tree from its root through the middle child of each interior page: a root
// holding a few child pointers is mostly free space, a leaf is full of rows.
int leafUnder(const QByteArray& file, int pageSize, int page) {
    for (int depth = 0; depth < 10; ++depth) {
        const auto* p = reinterpret_cast<const uchar*>(file.constData()) +
                        std::int64_t(page - 1) * pageSize + (page == 1 ? 100 : 0);
        const auto be16 = [&](int at) { return (p[at] << 8) | p[at + 1]; };
        const int type = p[0];
        if (type == 0x0a || type == 0x0d)
            return page;
        if (type != 0x02 && type != 0x05)
            break;
        const int cells = be16(3);
        const auto* cell = p - (page == 1 ? 100 : 0) + be16(12 + 2 * (cells / 2));
        page = (cell[0] << 24) | (cell[1] << 16) | (cell[2] << 8) | cell[3];
    }
    throw std::runtime_error("no leaf page found");
}

void damage(const QString& file, Damage kind) {
    QByteArray bytes = fileBytes(file);
    if (kind == Damage::Header) {
        bytes.replace(0, 16, QByteArray(16, '\xa5'));
    } else {
        const int pageSize = int(queryInt(file, "PRAGMA page_size"));
        const int root =
            int(queryInt(file, kind == Damage::IndexPage
                                   ? "SELECT rootpage FROM sqlite_master WHERE type = 'index' AND "
                                     "tbl_name = 'stamp' ORDER BY name LIMIT 1"
                                   : "SELECT rootpage FROM sqlite_master WHERE type = 'table' AND "
                                     "name = 'stamp'"));
        const int leaf = leafUnder(bytes, pageSize, root);
        // The middle of the rows the page holds (they fill it from its end), never its free
        // space, whatever the rows' width.
        const auto* p =
            reinterpret_cast<const uchar*>(bytes.constData()) + std::int64_t(leaf - 1) * pageSize;
        const int rowsStart = (p[5] << 8) | p[6];
        bytes.replace(std::int64_t(leaf - 1) * pageSize + (rowsStart + pageSize) / 2 - 64, 128,
                      QByteArray(128, '\xff'));
    }
    writeFile(file, bytes);
}

std::string damageName(const ::testing::TestParamInfo<Damage>& info) {
    switch (info.param) {
    case Damage::Header:
        return "Header";
    case Damage::IndexPage:
        return "IndexPage";
    case Damage::TablePage:
        return "TablePage";
    }
    return "";
}

class DamagedCollection : public TempFolderTest, public ::testing::WithParamInterface<Damage> {
protected:
    // Made once; each test damages a copy of its own.
    static inline std::unique_ptr<QTemporaryDir> pristine;
    static QString pristinePath() { return pristine->filePath(QStringLiteral("stamp.mdb")); }

    static void SetUpTestSuite() {
        pristine = std::make_unique<QTemporaryDir>();
        makeCollection(pristine->path(), kStamps);
    }
    static void TearDownTestSuite() { pristine.reset(); }

    ScriptedDialogs dialogs;
    perlinex::ProgramState state{dialogs};
    QString app, dbPath;
    QStringList original;

    void SetUp() override {
        TempFolderTest::SetUp();
        app = path(QStringLiteral("app"));
        dbPath = QDir(app).filePath(QStringLiteral("stamp.mdb"));
        QDir().mkpath(app);
        ASSERT_TRUE(QFile::copy(pristinePath(), dbPath));
        original = stampsOf(dbPath);
        ASSERT_EQ(original.size(), kStamps);
        state.AppFolder = app;
        state.DbPath = dbPath;
    }
    void TearDown() override { state.closeCollection(); }

    // A compaction keeps the collection as it is now as stampdb.bak; stamps added afterwards
    // tell a put-back copy from a salvaged file.
    QStringList keepCopyThenAddStamps() {
        db::compactCollection(app);
        addStamps(*db::openCollection(dbPath), QStringLiteral("Later"), 1, 10);
        return stampsOf(QDir(app).filePath(QString::fromLatin1(db::CompactBackupFileName)));
    }

    QStringList damagedCopies() const {
        return QDir(app).entryList({QStringLiteral("stamp-damaged-*.mdb")}, QDir::Files);
    }

    // The handler's work on opening the damaged collection, checked in what every path shares.
    void openThroughTheHandler(const QByteArray& damaged) {
        // The handler repairs, opens the collection again and unwinds the procedure that met
        // the damage, so that nothing goes on with record sets of the old file.
        EXPECT_THROW(perlinex::trap(state, [&] { state.openCollection(); }),
                     perlinex::CollectionReopened);
        ASSERT_TRUE(state.CollectionDb && state.CollectionDb->isOpen()) << "not reopened";
        state.closeCollection();
        const QStringList copies = damagedCopies();
        ASSERT_EQ(copies.size(), 1) << copies.join(QLatin1Char(',')).toStdString();
        EXPECT_TRUE(fileBytes(QDir(app).filePath(copies[0])) == damaged)
            << "the damaged file was not kept as it was";
        QString why;
        EXPECT_TRUE(db::isIntactCollection(dbPath, &why)) << why.toStdString();
    }

    // A salvage recovers every stamp unless a page of the stamps themselves was lost.
    void expectSalvaged(const QStringList& all) {
        const QStringList now = stampsOf(dbPath);
        if (GetParam() != Damage::TablePage) {
            EXPECT_EQ(now, all);
            return;
        }
        int foreign = 0;
        for (const QString& s : now)
            foreign += all.contains(s) ? 0 : 1;
        EXPECT_EQ(foreign, 0) << "salvage produced stamps that were never stored";
        EXPECT_GE(now.size(), all.size() - 100) << "more lost than one page holds";
    }
};

} // namespace

TEST_P(DamagedCollection, IsRefusedAtOpenAndNotWrittenTo) {
    damage(dbPath, GetParam());
    const QByteArray damaged = fileBytes(dbPath);
    const QStringList files = entriesOf(app);
    try {
        db::openCollection(dbPath);
        ADD_FAILURE() << "the damage went unnoticed";
    } catch (const db::DbError& e) {
        EXPECT_EQ(e.number(), db::err::DamagedFile) << e.text().toStdString();
    }
    EXPECT_TRUE(fileBytes(dbPath) == damaged);
    EXPECT_EQ(entriesOf(app), files);
}

TEST_P(DamagedCollection, IsRepairedAndTheDamagedFileKept) {
    damage(dbPath, GetParam());
    const QByteArray damaged = fileBytes(dbPath);
    openThroughTheHandler(damaged);
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    const auto& told = dialogs.prompts[0];
    EXPECT_EQ(told.buttons, Buttons::Ok);
    EXPECT_TRUE(told.text.contains(QLatin1String("damaged"))) << told.text.toStdString();
    EXPECT_TRUE(told.text.contains(damagedCopies().value(0))) << told.text.toStdString();
    expectSalvaged(original);
}

TEST_P(DamagedCollection, OffersTheCompactionCopyAndPutsItBackOnYes) {
    const QStringList keptStamps = keepCopyThenAddStamps();
    damage(dbPath, GetParam());
    const QByteArray damaged = fileBytes(dbPath);
    dialogs.answers.push_back(Answer::Yes);
    openThroughTheHandler(damaged);
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    const auto& asked = dialogs.prompts[0];
    EXPECT_EQ(asked.buttons, Buttons::YesNo);
    EXPECT_TRUE(asked.text.contains(QLatin1String("stampdb.bak"))) << asked.text.toStdString();
    EXPECT_TRUE(asked.text.contains(QLatin1String("damaged"))) << asked.text.toStdString();
    EXPECT_EQ(stampsOf(dbPath), keptStamps);
}

TEST_P(DamagedCollection, SalvagesOnNoAndKeepsTheCompactionCopy) {
    const QString kept = QDir(app).filePath(QString::fromLatin1(db::CompactBackupFileName));
    const QStringList keptStamps = keepCopyThenAddStamps();
    const QStringList beforeDamage = stampsOf(dbPath);
    damage(dbPath, GetParam());
    const QByteArray damaged = fileBytes(dbPath);
    dialogs.answers.push_back(Answer::No);
    openThroughTheHandler(damaged);
    ASSERT_EQ(dialogs.prompts.size(), 2u);
    EXPECT_EQ(dialogs.prompts[0].buttons, Buttons::YesNo);
    EXPECT_TRUE(dialogs.prompts[1].text.contains(damagedCopies().value(0)))
        << dialogs.prompts[1].text.toStdString();
    expectSalvaged(beforeDamage);
    EXPECT_EQ(stampsOf(kept), keptStamps);
}

INSTANTIATE_TEST_SUITE_P(Kinds, DamagedCollection,
                         ::testing::Values(Damage::Header, Damage::IndexPage, Damage::TablePage),
                         damageName);
