#include "db/sqlite/collectionfile.h"
#include "reliability_support.h"
#include "support/temp_folder.h"

#include <QDateTime>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

using namespace reliability;

namespace {

const QDateTime kWhen(QDate(2024, 5, 1), QTime(10, 30));

// A program folder with pictures, a compaction copy and a backup: everything each maintenance
// operation needs to get to its last step.
class MaintenanceScene : public TempFolderTest {
public:
    QString app, images, dbPath, destination, backup, kept;

protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        // The full-disk child must fill this test's folder; see the maintenance tests.
        GTEST_FLAG_SET(death_test_style, "fast");
        app = path(QStringLiteral("app"));
        images = QDir(app).filePath(QStringLiteral("images"));
        destination = path(QStringLiteral("backups"));
        QDir().mkpath(destination);
        dbPath = makeCollection(app, 2000);
        writeFile(QDir(images).filePath(QStringLiteral("pb1.jpg")), QByteArray(30000, 'p'));
        writeFile(QDir(images).filePath(QStringLiteral("gb/seahorse.png")), "seahorse");
        db::compactCollection(app);
        kept = QDir(app).filePath(QString::fromLatin1(db::CompactBackupFileName));
        backup = db::backupCollection(app, destination, kWhen).folder;
        addStamps(*db::openCollection(dbPath), QStringLiteral("Later"), 1, 30);
    }
    void TearDown() override { db::setStepHook({}); }

    QStringList partialFiles() const { return partialFilesIn({app, images, destination}); }
};

// A restore stopped at each of its steps is in restore_recovery_test.cpp.
struct Operation {
    const char* name;
    std::vector<const char*> steps;
    std::function<void(MaintenanceScene&)> run;
    // Whole files an operation that fails late may leave: a copy of what it was replacing.
    QStringList mayKeep;
};

const Operation kOperations[] = {
    {"Compaction",
     {"remove-old-target", "compact", "verify", "keep-previous", "replace", "done"},
     [](MaintenanceScene& s) { db::compactCollection(s.app); },
     {}},
    {"Backup",
     {"copy-collection", "verify", "copy-images", "finish"},
     [](MaintenanceScene& s) { db::backupCollection(s.app, s.destination, kWhen.addSecs(60)); },
     {}},
    {"Repair",
     {"keep-damaged", "recover", "verify", "replace"},
     [](MaintenanceScene& s) { db::repairCollection(s.dbPath); },
     {}},
    {"PutBackTheCompactionCopy",
     {"copy-in", "keep-current", "replace"},
     [](MaintenanceScene& s) {
         db::replaceCollectionWith(s.kept, s.dbPath, QStringLiteral("damaged"));
     },
     {"stamp-damaged-*"}},
};

struct FailedStep {
    const Operation* operation;
    const char* step;
};

void PrintTo(const FailedStep& p, std::ostream* os) {
    *os << p.operation->name << " at " << p.step;
}

std::vector<FailedStep> everyStep() {
    std::vector<FailedStep> out;
    for (const Operation& op : kOperations)
        for (const char* step : op.steps)
            out.push_back({&op, step});
    return out;
}

std::string failedStepName(const ::testing::TestParamInfo<FailedStep>& info) {
    std::string name = std::string(info.param.operation->name) + "_" + info.param.step;
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
}

class FailedMaintenance : public MaintenanceScene,
                          public ::testing::WithParamInterface<FailedStep> {};

} // namespace

TEST_P(FailedMaintenance, LeavesNoPartialFileAndAWholeCollection) {
    const Operation& op = *GetParam().operation;
    const QStringList before = entriesOf(app);
    const QStringList backupsBefore = entriesOf(destination);

    db::setStepHook(failAt(GetParam().step));
    QString error;
    try {
        op.run(*this);
    } catch (const db::DbError& e) {
        error = e.text();
    }
    db::setStepHook({});
    EXPECT_FALSE(error.isEmpty());

    EXPECT_EQ(partialFiles(), QStringList());
    QString why;
    EXPECT_TRUE(db::isIntactCollection(dbPath, &why)) << why.toStdString();
    EXPECT_TRUE(db::isIntactCollection(kept, &why)) << why.toStdString();
    QStringList added = entriesOf(app);
    for (const QString& name : before)
        added.removeAll(name);
    for (const QString& name : added)
        EXPECT_TRUE(QDir::match(op.mayKeep, name)) << name.toStdString();
    EXPECT_EQ(entriesOf(destination), backupsBefore);
}

INSTANTIATE_TEST_SUITE_P(EveryStep, FailedMaintenance, ::testing::ValuesIn(everyStep()),
                         failedStepName);

namespace {

struct FullDiskCase {
    const char* name;
    // The file-size limit, from the collection's size: below it, the collection cannot be
    // copied; above it, it can, and only a bigger picture cannot.
    bool collectionFits;
    std::function<void(MaintenanceScene&)> run;
};

// Compaction and the backup of the collection on a full disk are in full_disk_test.cpp.
const FullDiskCase kFullDiskCases[] = {
    {"BackupOfAPicture", true,
     [](MaintenanceScene& s) { db::backupCollection(s.app, s.destination, kWhen.addSecs(60)); }},
    {"RestoreOfTheCollection", false,
     [](MaintenanceScene& s) { db::restoreCollection(s.backup, s.app); }},
    {"RestoreOfAPicture", true,
     [](MaintenanceScene& s) { db::restoreCollection(s.backup, s.app); }},
    {"Repair", false, [](MaintenanceScene& s) { db::repairCollection(s.dbPath); }},
    {"PutBackTheCompactionCopy", false,
     [](MaintenanceScene& s) {
         db::replaceCollectionWith(s.kept, s.dbPath, QStringLiteral("damaged"));
     }},
};

void PrintTo(const FullDiskCase& p, std::ostream* os) {
    *os << p.name;
}

class FullDiskDuring : public MaintenanceScene,
                       public ::testing::WithParamInterface<FullDiskCase> {};

} // namespace

TEST_P(FullDiskDuring, SaysTheDiskIsFullAndLeavesNoPartialFile) {
    const std::int64_t size = QFileInfo(dbPath).size();
    const std::int64_t limit = GetParam().collectionFits ? size + 64 * 1024 : size / 3;
    if (GetParam().collectionFits) {
        // The same picture in the program folder and in the backup, too big for the disk.
        const QByteArray big(int(limit + 200 * 1024), 's');
        writeFile(QDir(images).filePath(QStringLiteral("sheet.tif")), big);
        writeFile(QDir(backup).filePath(QStringLiteral("images/sheet.tif")), big);
    }
    const QStringList stamps = stampsOf(dbPath);
    const QStringList before = entriesOf(app);
    const QStringList backupsBefore = entriesOf(destination);
    const auto pictures = folderContents(images);

    EXPECT_EXIT(onFullDisk(limit, [&] { GetParam().run(*this); }), ::testing::ExitedWithCode(0),
                "DbError 3026: .*not enough space on the disk");

    EXPECT_EQ(partialFiles(), QStringList());
    EXPECT_EQ(stampsOf(dbPath), stamps);
    EXPECT_EQ(folderContents(images), pictures);
    QStringList added = entriesOf(app);
    for (const QString& name : before)
        added.removeAll(name);
    // A restore keeps the collection it was to replace before it copies it in.
    added.removeAll(QStringLiteral("stamp-before-restore.mdb"));
    EXPECT_EQ(added, QStringList());
    EXPECT_EQ(entriesOf(destination), backupsBefore);
}

INSTANTIATE_TEST_SUITE_P(Operations, FullDiskDuring, ::testing::ValuesIn(kFullDiskCases),
                         [](const auto& info) { return std::string(info.param.name); });
