// An import killed half-way, as a crash or a power cut would stop it: once the next start has
// settled what it left, the collection and its pictures are exactly as before.
#include "db/schema.h"
#include "db/sqlite/collectionfile.h"
#include "db/sqlite/maintenance.h"
#include "db/sqlite/pendingpicture.h"
#include "exchange_support.h"
#include "support/temp_folder.h"

#include <QDirIterator>
#include <QProcess>
#include <gtest/gtest.h>

using namespace exchange_test;

namespace {

QMap<QString, QByteArray> filesUnder(const QString& folder) {
    QMap<QString, QByteArray> out;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        out.insert(QDir(folder).relativeFilePath(file), readBytes(file));
    }
    return out;
}

class KilledImport : public TempFolderTest {};

} // namespace

TEST_F(KilledImport, LeavesTheCollectionAndItsPicturesAsTheyWere) {
    const QString app = path(QStringLiteral("app"));
    const QString dbPath = QDir(app).filePath(QStringLiteral("stamp.mdb"));
    QDir().mkpath(app);
    {
        auto collection = db::createCollection(dbPath);
        collection->execute(QStringLiteral("insert into stamp (descr, catnum, catsort) values "
                                           "('Held', 'SG 1', '                   1')"));
    }
    const QString images = QDir(app).filePath(QStringLiteral("images"));
    writeBytes(QDir(images).filePath(db::pictureFileName(1)), "the held stamp's picture");
    QByteArray csv = "descr,country,picture\n";
    for (int i = 0; i < 2000; ++i)
        csv += QStringLiteral("Stamp %1,Land %2,%3\n")
                   .arg(i)
                   .arg(i % 5)
                   .arg(i % 10 == 0 ? QStringLiteral("p.png") : QString())
                   .toUtf8();
    writeBytes(path(QStringLiteral("in/stamps.csv")), csv);
    writeBytes(path(QStringLiteral("in/p.png")), "an imported picture");
    const QByteArray collectionBefore = readBytes(dbPath);
    const auto picturesBefore = filesUnder(images);
    const auto stampsBefore = storedStamps(*db::openCollection(dbPath));

    QProcess child;
    child.start(QStringLiteral(PERLINEX_IMPORT_CHILD),
                {app, path(QStringLiteral("in/stamps.csv"))});
    ASSERT_TRUE(child.waitForStarted(30000));
    while (!child.peek(1 << 16).contains("waiting\n") && child.state() == QProcess::Running)
        child.waitForReadyRead(1000);
    ASSERT_TRUE(child.peek(1 << 16).contains("waiting\n"))
        << child.readAllStandardError().constData();
    // Half of the stamps and their pictures are written, none of it committed.
    EXPECT_FALSE(QDir(images)
                     .entryList({QStringLiteral(".*.pending")}, QDir::Files | QDir::Hidden)
                     .isEmpty());
    child.kill();
    ASSERT_TRUE(child.waitForFinished(30000));

    // The next start: the pictures left waiting are settled, the engine rolls its journal back.
    const db::PictureRecovery recovery = db::recoverPendingPictures(images, dbPath);
    EXPECT_TRUE(recovery.finished.isEmpty());
    EXPECT_FALSE(recovery.discarded.isEmpty());
    auto collection = db::openCollection(dbPath);
    EXPECT_EQ(storedStamps(*collection), stampsBefore);
    EXPECT_EQ(collection
                  ->scalar(QStringLiteral("select count(*) from country where Coudesc like "
                                          "'Land*'"))
                  .toInteger(),
              0);
    collection->close();
    EXPECT_EQ(filesUnder(images), picturesBefore);
    EXPECT_EQ(readBytes(dbPath), collectionBefore);
}
