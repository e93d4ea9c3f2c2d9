#include "reliability_support.h"
#include "support/temp_folder.h"
#include "support/unprivileged.h"

#include <QDateTime>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace reliability;

namespace {

const QByteArray kOne("penny black scan");
const QByteArray kTwo("seahorse scan");

// What stands in the images folder besides the two readable pictures, and what the backup
// must then report. A condition made with permissions is tried as an unprivileged user (the
// superuser reads whatever the permissions say).
struct Unreadable {
    const char* name;
    std::function<bool(const QString& images)> make;
    QStringList notCopied;
    QStringList copied; // pictures the backup still holds
    bool byPermissions = false;
};

bool chmodNone(const QString& path) {
    return ::chmod(QFile::encodeName(path).constData(), 0) == 0 &&
           ::access(QFile::encodeName(path).constData(), R_OK) != 0;
}

bool replaceImagesFolder(const QString& images, const std::function<bool()>& make) {
    QDir(images).removeRecursively();
    return make();
}

const Unreadable kUnreadable[] = {
    {"PictureLeadsNowhere",
     [](const QString& images) {
         return QFile::link(QStringLiteral("/nonexistent/scan.jpg"),
                            QDir(images).filePath("gone.jpg"));
     },
     {"images/gone.jpg"},
     {"pb1.jpg", "gb/seahorse.png"}},
    {"PictureIsAPipe",
     [](const QString& images) {
         return ::mkfifo(QFile::encodeName(QDir(images).filePath("pipe.jpg")).constData(), 0644) ==
                0;
     },
     {"images/pipe.jpg"},
     {"pb1.jpg", "gb/seahorse.png"}},
    {"ImagesIsAFile",
     [](const QString& images) {
         return replaceImagesFolder(images, [&] {
             writeFile(images, "not a folder");
             return true;
         });
     },
     {"images"},
     {}},
    {"ImagesLeadsNowhere",
     [](const QString& images) {
         return replaceImagesFolder(
             images, [&] { return QFile::link(QStringLiteral("/nonexistent/images"), images); });
     },
     {"images"},
     {}},
    {"PictureWithoutPermission",
     [](const QString& images) { return chmodNone(QDir(images).filePath("pb1.jpg")); },
     {"images/pb1.jpg"},
     {"gb/seahorse.png"},
     true},
    {"FolderWithoutPermission",
     [](const QString& images) { return chmodNone(QDir(images).filePath("gb")); },
     {"images/gb"},
     {"pb1.jpg"},
     true},
    {"ImagesWithoutPermission",
     [](const QString& images) { return chmodNone(images); },
     {"images"},
     {},
     true},
};

class BackupOfPictures : public TempFolderTest {
protected:
    QString app, images, destination, dbPath;
    void SetUp() override {
        TempFolderTest::SetUp();
        app = path(QStringLiteral("app"));
        images = QDir(app).filePath(QStringLiteral("images"));
        destination = path(QStringLiteral("backups"));
        QDir().mkpath(destination);
        dbPath = makeCollection(app, 50);
        writeFile(QDir(images).filePath(QStringLiteral("pb1.jpg")), kOne);
        writeFile(QDir(images).filePath(QStringLiteral("gb/seahorse.png")), kTwo);
    }
    void TearDown() override {
        // Whatever a test took away, so that the folder can be removed.
        for (const QString& p : {images, QDir(images).filePath(QStringLiteral("gb")),
                                 QDir(images).filePath(QStringLiteral("pb1.jpg"))})
            ::chmod(QFile::encodeName(p).constData(), 0755);
    }
};

QStringList pathsOf(const QList<db::NotCopied>& items) {
    QStringList out;
    for (const db::NotCopied& n : items)
        out << n.path;
    return out;
}

void PrintTo(const Unreadable& p, std::ostream* os) {
    *os << p.name;
}

class UnreadablePictures : public BackupOfPictures,
                           public ::testing::WithParamInterface<Unreadable> {};

} // namespace

TEST_P(UnreadablePictures, MakeAnIncompleteBackupThatSaysWhatIsMissing) {
    if (GetParam().byPermissions)
        RUN_UNPRIVILEGED();
    ASSERT_TRUE(GetParam().make(images));
    const QStringList stamps = stampsOf(dbPath);

    db::BackupReport report;
    ASSERT_NO_THROW(report = db::backupCollection(app, destination));

    // The collection itself is whole in the backup.
    EXPECT_TRUE(db::isBackupFolder(report.folder));
    EXPECT_EQ(stampsOf(QDir(report.folder).filePath(QStringLiteral("stamp.mdb"))), stamps);
    EXPECT_FALSE(report.complete());
    EXPECT_EQ(pathsOf(report.notCopied), GetParam().notCopied);
    for (const db::NotCopied& n : report.notCopied)
        EXPECT_FALSE(n.why.isEmpty()) << n.path.toStdString();
    QStringList copied =
        folderContents(QDir(report.folder).filePath(QStringLiteral("images"))).keys();
    QStringList expected = GetParam().copied;
    copied.sort();
    expected.sort();
    EXPECT_EQ(copied, expected);

    const QString message = report.message();
    EXPECT_TRUE(message.contains(QLatin1String("incomplete"))) << message.toStdString();
    EXPECT_FALSE(message.contains(QLatin1String("and its pictures"))) << message.toStdString();
    const QString listed = QString::fromUtf8(
        fileBytes(QDir(report.folder).filePath(QStringLiteral("incomplete.txt"))));
    for (const QString& p : GetParam().notCopied) {
        EXPECT_TRUE(message.contains(p)) << message.toStdString();
        EXPECT_TRUE(listed.contains(p)) << listed.toStdString();
    }
    // Nothing half-made beside the backup.
    EXPECT_EQ(entriesOf(destination), QStringList{QFileInfo(report.folder).fileName()});
}

INSTANTIATE_TEST_SUITE_P(Kinds, UnreadablePictures, ::testing::ValuesIn(kUnreadable),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(BackupOfPictures, FollowsLinksOnceAndCallsAFullCopyComplete) {
    const QString elsewhere = path(QStringLiteral("scans/perf.jpg"));
    writeFile(elsewhere, "perforation gauge");
    ASSERT_TRUE(QFile::link(elsewhere, QDir(images).filePath(QStringLiteral("perf.jpg"))));
    // A link back up the tree must not make the copy go round for ever.
    ASSERT_TRUE(QFile::link(images, QDir(images).filePath(QStringLiteral("gb/all"))));

    const db::BackupReport report = db::backupCollection(app, destination);

    EXPECT_TRUE(report.complete())
        << pathsOf(report.notCopied).join(QLatin1Char(',')).toStdString();
    const auto copied = folderContents(QDir(report.folder).filePath(QStringLiteral("images")));
    EXPECT_EQ(copied.value(QStringLiteral("perf.jpg")), "perforation gauge");
    EXPECT_EQ(copied.value(QStringLiteral("pb1.jpg")), kOne);
    EXPECT_EQ(copied.value(QStringLiteral("gb/seahorse.png")), kTwo);
    EXPECT_EQ(copied.size(), 3);
    EXPECT_FALSE(QFileInfo::exists(QDir(report.folder).filePath(QStringLiteral("incomplete.txt"))));
    EXPECT_TRUE(report.message().contains(QLatin1String("and its pictures")));
}
