#include "child_lines.h"
#include "db/dberror.h"
#include "db/recordset.h"
#include "db/schema.h"
#include "db/sqlite/collectionfile.h"
#include "db/sqlite/collectionhold.h"
#include "db/sqlite/folderlock.h"
#include "db/sqlite/maintenance.h"
#include "db/sqlite/pendingpicture.h"
#include "db/sqlite/sqlitefile.h"
#include "kill_at_io.h"

#include <QFile>
#include <QFileInfo>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <sqlite3.h>

// A second program for the reliability tests.
//   store_writer <stamp.mdb>          stores "Record N" from the next free N on, printing N
//                                     only after update() returned, until it is killed
//   store_writer <stamp.mdb> --hold   opens the collection, prints "open", waits for stdin to end
//   store_writer <stamp.mdb> --open   tries once; prints "opened" or "error <number> <text>"
//   store_writer <stamp.mdb> --start  starts as the program does: takes the folder's lock,
//                                     makes the collection when there is none, opens it,
//                                     prints "open" and waits for stdin to end
//   store_writer <folder> --window   takes the collection of a program folder as the window
//                                     does (links resolved, the same lock), opens it, prints
//                                     "open" and waits for stdin to end
//   store_writer <stamp.mdb> --reading
//                                     another program than Perlinex: holds a read transaction
//                                     through the engine alone, prints "reading" and waits for
//                                     stdin to end
//   store_writer <folder> --cut-short begins a large store in the window's way, far enough that
//                                     the collection file itself has been written, prints
//                                     "storing" and waits for stdin to end, to be killed there
//   store_writer <backup> --restore <program folder> [<step>]
//                                     restores the backup, printing the name of each step as it
//                                     begins and "restored" at the end; at <step> it prints
//                                     "waiting" and waits for stdin to end, to be killed there
//   store_writer <stamp.mdb> --picture <images> <id|new> <descr|-> <picture file> [<step>]
//                                     stores a stamp with a new picture as the main window
//                                     does: the number first ("stamp N"), then each step of the
//                                     store as it begins and "stored" at the end; a new
//                                     description only when one other than "-" is given. At
//                                     <step> it waits as --restore does
// Every line is flushed at once: the test kills this program at any moment and trusts what it
// has read. With PERLINEX_KILL_AT_IO=N it kills itself just before its N-th change to a file.

namespace db = perlinex::db;
using child::say;
using child::waitForInputToEnd;

namespace {

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

int holdAsTheWindowDoes(const QString& folder, bool cutShort) {
    const db::CollectionHold hold = db::holdCollection(folder, db::Purpose::Browse);
    auto collection = db::openCollection(hold.path, db::StructureCheck::AtOpen, hold.openMode());
    if (!cutShort) {
        say(QStringLiteral("open"));
        waitForInputToEnd();
        return 0;
    }
    // A cache of a few pages spills the store's pages into the file long before its commit.
    sqlite3* h = db::handleOf(*collection);
    const char* store =
        "PRAGMA cache_size = 2; BEGIN IMMEDIATE; "
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
        "INSERT INTO stamp (descr, quantity, notes) SELECT 'Cut short ' || i, i, "
        "hex(zeroblob(250)) FROM n;";
    if (sqlite3_exec(h, store, nullptr, nullptr, nullptr) != SQLITE_OK) {
        say(QStringLiteral("error %1").arg(QString::fromUtf8(sqlite3_errmsg(h))));
        return 3;
    }
    say(QStringLiteral("storing"));
    waitForInputToEnd();
    return 0;
}

int holdReadTransaction(const QString& path) {
    sqlite3* h = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &h, SQLITE_OPEN_READONLY, nullptr) !=
            SQLITE_OK ||
        sqlite3_exec(h, "BEGIN; SELECT count(*) FROM sqlite_master;", nullptr, nullptr, nullptr) !=
            SQLITE_OK) {
        say(QStringLiteral("error %1").arg(QString::fromUtf8(sqlite3_errmsg(h))));
        return 3;
    }
    say(QStringLiteral("reading"));
    waitForInputToEnd();
    sqlite3_close(h);
    return 0;
}

// Names each step as it begins; at waitAt the program waits to be killed.
void waitAt(const char* waitStep) {
    db::setStepHook([waitStep](const char* step) {
        say(QString::fromLatin1(step));
        if (waitStep && std::strcmp(step, waitStep) == 0) {
            say(QStringLiteral("waiting"));
            while (std::getchar() != EOF) {
            }
        }
    });
}

int restore(const QString& backup, const QString& appFolder, const char* waitStep) {
    waitAt(waitStep);
    db::restoreCollection(backup, appFolder);
    say(QStringLiteral("restored"));
    return 0;
}

// The main window's order: the row is begun and changed, the picture made to wait beside the
// old one, the row stored, and only then the picture put in place.
int storeWithPicture(db::Database& collection, char** args, const char* waitStep) {
    const QString images = QString::fromLocal8Bit(args[0]);
    const QByteArray stamp(args[1]);
    const QString descr = QString::fromLocal8Bit(args[2]);
    QFile file(QString::fromLocal8Bit(args[3]));
    if (!file.open(QIODevice::ReadOnly))
        return 64;
    const QByteArray picture = file.readAll();
    auto set = collection.openRecordSet(QStringLiteral("Select * from stamp order by [descr]"));
    if (stamp == "new") {
        set->addNew();
    } else {
        set->findFirst(QStringLiteral("StampID = %1").arg(stamp.toLongLong()));
        if (set->noMatch())
            return 64;
        set->edit();
    }
    const std::int64_t id = set->field(QStringLiteral("stampid")).toInteger();
    say(QStringLiteral("stamp %1").arg(id));
    if (descr != QLatin1String("-"))
        set->setField(QStringLiteral("descr"), db::Value(descr));
    waitAt(waitStep);
    db::PendingPicture pending(collection, images, id, picture);
    set->update();
    pending.finish();
    say(QStringLiteral("stored"));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: store_writer <stamp.mdb> [--hold | --open | --start | --reading]\n"
                   "       store_writer <folder> [--window | --cut-short]\n"
                   "       store_writer <stamp.mdb> --picture <images> <id|new> <descr|-> "
                   "<picture file> [<step>]\n"
                   "       store_writer <backup> --restore <program folder> [<step>]\n",
                   stderr);
        return 64;
    }
    installKillAtIo();
    const QString path = QString::fromLocal8Bit(argv[1]);
    const char* mode = argc > 2 ? argv[2] : "";
    try {
        if (std::strcmp(mode, "--window") == 0 || std::strcmp(mode, "--cut-short") == 0)
            return holdAsTheWindowDoes(path, std::strcmp(mode, "--cut-short") == 0);
        if (std::strcmp(mode, "--reading") == 0)
            return holdReadTransaction(path);
        if (std::strcmp(mode, "--restore") == 0 && argc > 3)
            return restore(path, QString::fromLocal8Bit(argv[3]), argc > 4 ? argv[4] : nullptr);
        std::unique_ptr<db::FolderLock> lock;
        if (std::strcmp(mode, "--start") == 0) {
            lock = db::FolderLock::take(path);
            if (!QFileInfo::exists(path))
                db::createCollection(path)->close();
        }
        auto collection = db::openCollection(path);
        if (std::strcmp(mode, "--picture") == 0 && argc > 6)
            return storeWithPicture(*collection, argv + 3, argc > 7 ? argv[7] : nullptr);
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
