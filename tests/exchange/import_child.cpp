// A second program for the killed-import test:
//   import_child <program folder> <file.csv>
// imports the file as `perlinex import` does, pictures taken as they are, printing "waiting" and
// waiting for standard input to end once half of the stamps are written, to be killed there.
// Prints "stored N" when it was not killed.
#include "db/database.h"
#include "db/schema.h"
#include "db/sqlite/collectionfile.h"
#include "db/sqlite/folderlock.h"
#include "exchange/importplan.h"
#include "exchange/importstore.h"
#include "regional/regional.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

using namespace perlinex;
using namespace perlinex::exchange;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fputs("usage: import_child <program folder> <file.csv>\n", stderr);
        return 64;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString file = QString::fromLocal8Bit(argv[2]);
    const QString path = QDir(folder).filePath(QStringLiteral("stamp.mdb"));
    const auto lock = db::FolderLock::take(path);
    const auto collection = db::openCollection(path);
    const CsvSource source = readCsvFile(file);
    const ColumnMap columns = ColumnMap::match(source.table.headers);
    const FolderPictures pictures(QFileInfo(file).absolutePath());
    const regional::Regional regional;
    const ImportPlan plan(*collection, source.table, columns, regional, &pictures);
    const auto same = [](const QByteArray& bytes, QString*) { return bytes; };
    const ImportOutcome out =
        storeImport(*collection, QDir(folder).filePath(QStringLiteral("images")), plan, regional,
                    &pictures, same, {}, [](std::int64_t done, std::int64_t total) {
                        if (done >= total / 2 && done < total) {
                            std::puts("waiting");
                            std::fflush(stdout);
                            while (std::getchar() != EOF) {
                            }
                        }
                        return true;
                    });
    std::printf("stored %lld\n", static_cast<long long>(out.stored));
    return 0;
}
