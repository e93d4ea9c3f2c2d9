#include "child_lines.h"
#include "db/dberror.h"
#include "db/pg/pgpictures.h"
#include "db/pg/pgstore.h"
#include "db/recordset.h"

#include <QByteArray>
#include <QString>
#include <cstdio>
#include <cstring>

// A desk of a shared collection for the reliability tests, to be killed in the middle of a
// store.
//   server_desk <server> <collection> <tag> <count> <held stamp> [<wait after>]
//     prints "backend <pid>" (its connection's server process), then in one transaction
//     changes the held stamp's notes to <tag> and stores <count> new stamps "<tag> <i>", each
//     with a picture, printing "stored <i> <number>" after each; then "committing", the
//     commit, and "committed". With <wait after> it prints "waiting" after that many stamps
//     and waits for stdin to end, to be killed there.
// Every line is flushed at once: the test kills this program at any moment and trusts what it
// has read.

namespace db = perlinex::db;
using child::say;
using child::waitForInputToEnd;

namespace {

void waitToBeKilled() {
    say(QStringLiteral("waiting"));
    waitForInputToEnd();
}

// The bytes of a picture of some size, told apart by the stamp's number.
QByteArray pictureOf(std::int64_t stamp) {
    QByteArray jpeg("\xff\xd8\xff\xe0", 4);
    for (int i = 0; i < 4096; ++i)
        jpeg.append(reinterpret_cast<const char*>(&stamp), sizeof stamp);
    return jpeg.append("\xff\xd9", 2);
}

int store(db::Database& collection, const QString& tag, int count, std::int64_t held,
          int waitAfter) {
    say(QStringLiteral("backend %1")
            .arg(collection.scalar(QStringLiteral("select pg_backend_pid()")).toInteger()));
    collection.transaction([&] {
        auto heldStamp = collection.openRecordSet(
            QStringLiteral("Select * from stamp where stampid = %1").arg(held));
        heldStamp->edit();
        heldStamp->setField(QStringLiteral("notes"), db::Value(tag));
        heldStamp->update();
        auto stamps = collection.openRecordSet(QStringLiteral("Select * from stamp"));
        for (int i = 1; i <= count; ++i) {
            if (i - 1 == waitAfter)
                waitToBeKilled();
            stamps->addNew();
            const std::int64_t id = stamps->field(QStringLiteral("stampid")).toInteger();
            stamps->setField(QStringLiteral("descr"),
                             db::Value(QStringLiteral("%1 %2").arg(tag).arg(i)));
            stamps->update();
            db::putServerPicture(collection, id, pictureOf(id));
            say(QStringLiteral("stored %1 %2").arg(i).arg(id));
        }
        if (waitAfter == count)
            waitToBeKilled();
        say(QStringLiteral("committing"));
    });
    say(QStringLiteral("committed"));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 6) {
        std::fputs("usage: server_desk <server> <collection> <tag> <count> <held stamp> "
                   "[<wait after>]\n",
                   stderr);
        return 64;
    }
    try {
        auto collection = db::openServerDatabase(QString::fromLocal8Bit(argv[1]),
                                                 QString::fromLocal8Bit(argv[2]));
        return store(*collection, QString::fromLocal8Bit(argv[3]), std::atoi(argv[4]),
                     std::atoll(argv[5]), argc > 6 ? std::atoi(argv[6]) : -1);
    } catch (const db::DbError& e) {
        say(QStringLiteral("error %1 %2").arg(e.number()).arg(e.text()));
        return 3;
    }
}
