#include "db/dberror.h"
#include "db/folderlock.h"
#include "db/maintenance.h"
#include "db/recordset.h"
#include "db/schema.h"
#include "kill_at_io.h"

#include <QFileInfo>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstring>

// A second program for the reliability tests.
//   store_writer <stamp.mdb>          stores "Record N" from the next free N on, printing N
//                                     only after update() returned, until it is killed
//   store_writer <stamp.mdb> --hold   opens the collection, prints "open", waits for stdin to end
//   store_writer <stamp.mdb> --open   tries once; prints "opened" or "error <number> <text>"
//   store_writer <stamp.mdb> --start  starts as the program does: takes the folder's lock,
//                                     makes the collection when there is none, opens it,
//                                     prints "open" and waits for stdin to end
//   store_writer <backup> --restore <program folder> [<step>]
//                                     restores the backup, printing the name of each step as it
//                                     begins and "restored" at the end; at <step> it prints
//                                     "waiting" and waits for stdin to end, to be killed there
// Every line is flushed at once: the test kills this program at any moment and trusts what it
// has read. With PERLINEX_KILL_AT_IO=N it kills itself just before its N-th change to a file.

namespace db = perlinex::db;

namespace {

void say(const QString& line) {
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

int store(db::Database& collection) {
    auto set = collection.openRecordSet(QStringLiteral("Select * from stamp order by [descr]"));
    std::int64_t n =
        collection.scalar(QStringLiteral("Select Max(quantity) from stamp")).toInteger();
    for (;;) {
        ++n;
        set->addNew();
        set->setField(QStringLiteral("descr"), db::Value(QStringLiteral("Record %1").arg(n)));
        set->setField(QStringLiteral("quantity"), db::Value(n));
        set->update();
        say(QString::number(n));
    }
}

int restore(const QString& backup, const QString& appFolder, const char* waitAt) {
    db::setStepHook([waitAt](const char* step) {
        say(QString::fromLatin1(step));
        if (waitAt && std::strcmp(step, waitAt) == 0) {
            say(QStringLiteral("waiting"));
            while (std::getchar() != EOF) {
            }
        }
    });
    db::restoreCollection(backup, appFolder);
    say(QStringLiteral("restored"));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: store_writer <stamp.mdb> [--hold | --open | --start]\n"
                   "       store_writer <backup> --restore <program folder> [<step>]\n",
                   stderr);
        return 64;
    }
    installKillAtIo();
    const QString path = QString::fromLocal8Bit(argv[1]);
    const char* mode = argc > 2 ? argv[2] : "";
    try {
        if (std::strcmp(mode, "--restore") == 0 && argc > 3)
            return restore(path, QString::fromLocal8Bit(argv[3]), argc > 4 ? argv[4] : nullptr);
        std::unique_ptr<db::FolderLock> lock;
        if (std::strcmp(mode, "--start") == 0) {
            lock = db::FolderLock::take(path);
            if (!QFileInfo::exists(path))
                db::createCollection(path)->close();
        }
        auto collection = db::openCollection(path);
        if (std::strcmp(mode, "--open") == 0) {
            say(QStringLiteral("opened"));
            return 0;
        }
        say(QStringLiteral("open"));
        if (std::strcmp(mode, "--hold") == 0 || std::strcmp(mode, "--start") == 0) {
            while (std::getchar() != EOF) {
            }
            return 0;
        }
        return store(*collection);
    } catch (const db::DbError& e) {
        say(QStringLiteral("error %1 %2").arg(e.number()).arg(e.text()));
        return 3;
    }
}
