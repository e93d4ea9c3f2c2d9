#include "db/sqlite/collectionfile.h"
#include "reliability_support.h"
#include "support/temp_folder.h"

#include <QDateTime>
#include <functional>
#include <gtest/gtest.h>

using namespace reliability;

namespace {

// How stamp.mdb leads to the real file: the ways a user sets a link up.
enum class LinkKind { Relative, Absolute, Chain };

class LinkedCollection : public TempFolderTest, public ::testing::WithParamInterface<LinkKind> {
protected:
    QString app, data, link, real;
    void SetUp() override {
        TempFolderTest::SetUp();
        app = path(QStringLiteral("app"));
        data = path(QStringLiteral("data"));
        QDir().mkpath(app);
        real = makeCollection(data, 300);
        ASSERT_TRUE(QFile::rename(real, QDir(data).filePath(QStringLiteral("mine.mdb"))));
        real = QDir(data).filePath(QStringLiteral("mine.mdb"));
        link = QDir(app).filePath(QStringLiteral("stamp.mdb"));
        switch (GetParam()) {
        case LinkKind::Relative:
            ASSERT_TRUE(QFile::link(QStringLiteral("../data/mine.mdb"), link));
            break;
        case LinkKind::Absolute:
            ASSERT_TRUE(QFile::link(real, link));
            break;
        case LinkKind::Chain:
            ASSERT_TRUE(QFile::link(real, path(QStringLiteral("between.mdb"))));
            ASSERT_TRUE(QFile::link(path(QStringLiteral("between.mdb")), link));
            break;
        }
    }
    QString inData(const char* name) const {
        return QDir(data).filePath(QString::fromLatin1(name));
    }
    void change(const QString& sql) { rawExec(*db::openCollection(real), sql); }
    // The link still leads, as before, to the real file, which is a plain file.
    void expectLinkKept() {
        EXPECT_TRUE(QFileInfo(link).isSymLink());
        EXPECT_EQ(QFileInfo(link).canonicalFilePath(), QFileInfo(real).canonicalFilePath());
        EXPECT_FALSE(QFileInfo(real).isSymLink());
    }
};

std::string kindName(const ::testing::TestParamInfo<LinkKind>& info) {
    switch (info.param) {
    case LinkKind::Relative:
        return "Relative";
    case LinkKind::Absolute:
        return "Absolute";
    case LinkKind::Chain:
        return "Chain";
    }
    return "?";
}

} // namespace

TEST_P(LinkedCollection, PackCompactsTheRealFileAndKeepsItsCopyBesideIt) {
    change(QStringLiteral("DELETE FROM stamp WHERE quantity % 2 = 0"));
    const QStringList expected = stampsOf(real);
    const QByteArray before = fileBytes(real);

    EXPECT_EQ(db::resolvedCollectionPath(app), QFileInfo(real).canonicalFilePath());
    db::compactCollection(app);

    expectLinkKept();
    EXPECT_EQ(stampsOf(link), expected);
    EXPECT_LT(QFileInfo(real).size(), before.size());
    EXPECT_FALSE(QFileInfo(inData("stampdb.bak")).isSymLink());
    EXPECT_EQ(fileBytes(inData("stampdb.bak")), before);
    EXPECT_EQ(entriesOf(app), QStringList{QStringLiteral("stamp.mdb")});
    EXPECT_FALSE(QFileInfo::exists(inData("stampnew.mdb")));
}

TEST_P(LinkedCollection, BackupAndRestoreReplaceTheRealFile) {
    writeFile(QDir(app).filePath(QStringLiteral("images/1.jpg")), "one");
    const QString destination = path(QStringLiteral("backups"));
    QDir().mkpath(destination);
    const db::BackupReport backup = db::backupCollection(app, destination);
    const QString backupDb = QDir(backup.folder).filePath(QStringLiteral("stamp.mdb"));
    EXPECT_FALSE(QFileInfo(backupDb).isSymLink());
    const QStringList backedUp = stampsOf(backupDb);
    EXPECT_EQ(backedUp, stampsOf(real));

    change(QStringLiteral("DELETE FROM stamp WHERE quantity < 100"));
    const QStringList changed = stampsOf(real);
    db::restoreCollection(backup.folder, app);

    expectLinkKept();
    EXPECT_EQ(stampsOf(link), backedUp);
    EXPECT_EQ(stampsOf(inData("stamp-before-restore.mdb")), changed);
    EXPECT_EQ(fileBytes(QDir(app).filePath(QStringLiteral("images/1.jpg"))), "one");
    EXPECT_FALSE(QFileInfo::exists(inData("mine.mdb.incoming")));
}

TEST_P(LinkedCollection, RepairReplacesTheRealFile) {
    const QStringList expected = stampsOf(real);
    const db::RepairReport report = db::repairCollection(link);
    expectLinkKept();
    EXPECT_EQ(stampsOf(link), expected);
    EXPECT_EQ(QFileInfo(report.damagedCopy).absolutePath(), QFileInfo(real).absolutePath());
}

INSTANTIATE_TEST_SUITE_P(Kinds, LinkedCollection,
                         ::testing::Values(LinkKind::Relative, LinkKind::Absolute, LinkKind::Chain),
                         kindName);

namespace {

struct BrokenLink {
    const char* name;
    std::function<void(const QString& app)> make;
    const char* told;
};

const BrokenLink kBrokenLinks[] = {
    {"LeadsNowhere",
     [](const QString& app) {
         QFile::link(QStringLiteral("../moved/mine.mdb"), QDir(app).filePath("stamp.mdb"));
     },
     "which does not exist"},
    {"LeadsRoundInACircle",
     [](const QString& app) {
         QFile::link(QDir(app).filePath("other.mdb"), QDir(app).filePath("stamp.mdb"));
         QFile::link(QDir(app).filePath("stamp.mdb"), QDir(app).filePath("other.mdb"));
     },
     "circle"},
};

void PrintTo(const BrokenLink& p, std::ostream* os) {
    *os << p.name;
}

class BrokenCollectionLink : public TempFolderTest,
                             public ::testing::WithParamInterface<BrokenLink> {};

} // namespace

TEST_P(BrokenCollectionLink, IsRefusedWithWhatIsWrongAndLeftAlone) {
    const QString app = path(QStringLiteral("app"));
    const QString destination = path(QStringLiteral("backups"));
    QDir().mkpath(app);
    QDir().mkpath(destination);
    const QString backup =
        QFileInfo(makeCollection(path(QStringLiteral("backup")), 5)).absolutePath();
    GetParam().make(app);
    const QStringList before = entriesOf(app);

    const std::function<void()> operations[] = {
        [&] { db::resolvedCollectionPath(app); },
        [&] { db::compactCollection(app); },
        [&] { db::backupCollection(app, destination); },
        [&] { db::restoreCollection(backup, app); },
    };
    for (const auto& operation : operations) {
        try {
            operation();
            ADD_FAILURE() << "worked through a broken link";
        } catch (const db::DbError& e) {
            EXPECT_EQ(e.number(), db::err::FileNotFound);
            EXPECT_TRUE(e.text().contains(QLatin1String("symbolic link")))
                << e.text().toStdString();
            EXPECT_TRUE(e.text().contains(QLatin1String(GetParam().told)))
                << e.text().toStdString();
        }
    }
    EXPECT_EQ(entriesOf(app), before);
    EXPECT_TRUE(QFileInfo(QDir(app).filePath(QStringLiteral("stamp.mdb"))).isSymLink());
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("moved"))));
    EXPECT_EQ(entriesOf(destination), QStringList());
}

INSTANTIATE_TEST_SUITE_P(Kinds, BrokenCollectionLink, ::testing::ValuesIn(kBrokenLinks),
                         [](const auto& info) { return std::string(info.param.name); });
