#include "app/servercommand.h"

#include "db/collectioncopy.h"
#include "db/dberror.h"
#include "db/pg/pgpictures.h"
#include "db/pg/pgstore.h"
#include "db/sqlite/cataloguefile.h"
#include "db/sqlite/collectionfile.h"
#include "db/sqlite/collectionhold.h"
#include "db/sqlite/pendingpicture.h"
#include "db/sqlite/sqlitefile.h"
#include "util/commandreport.h"
#include "util/durablefile.h"
#include "util/translation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSet>
#include <optional>
#include <unistd.h>

namespace perlinex::app {

namespace {

int wrong(QTextStream& err, const QString& what) {
    return commandMisuse(err, what, serverCommandUsage());
}

QString imagesFolderOf(const QString& folder) {
    return QDir(folder).filePath(QStringLiteral("images"));
}

// Progress of a long copy on a terminal, a line rewritten in place; nothing when the error
// stream goes to a file or another program.
db::CopyProgress terminalProgress(QTextStream& err) {
    if (!::isatty(STDERR_FILENO))
        return {};
    return [&err, shown = std::int64_t(-1)](std::int64_t done, std::int64_t total) mutable {
        const std::int64_t percent = total > 0 ? done * 100 / total : 100;
        if (percent != shown) {
            shown = percent;
            err << "\r" << translate("ServerCommand", "%1% of the stamps copied").arg(percent);
            if (done == total)
                err << "\n";
            err.flush();
        }
        return true;
    };
}

QString counted(std::int64_t n) {
    return QLocale().toString(qlonglong(n));
}

int init(const QStringList& args, QTextStream& out, QTextStream& err) {
    if (args.size() != 3)
        return wrong(err, translate("ServerCommand", "server init needs exactly one SERVER"));
    const db::ServerAddress address = db::parseServerAddress(args[2]);
    db::createServerCollection(address.server, address.collection)->close();
    out << translate("ServerCommand", "Made a new, empty shared collection %1 on %2")
               .arg(address.collection, address.server)
        << "\n";
    return 0;
}

// What a copy of a folder's collection to the server stored.
struct Pushed {
    db::CopyCount copied;
    std::int64_t pictures = 0;
};

// Stores the collection of folder, opened as local, with its pictures into shared.
Pushed copyFolderTo(db::Database& local, const QString& folder, db::Database& shared,
                    QTextStream& err) {
    Pushed pushed;
    pushed.copied = db::copyCollectionRows(local, shared, terminalProgress(err));
    // The pictures of stamps the collection holds; a file left by a stamp deleted meanwhile
    // stays behind.
    QSet<std::int64_t> stamps;
    const auto ids = local.query(QStringLiteral("SELECT stampid FROM stamp"));
    while (ids->next())
        stamps.insert(ids->integer(0));
    const QDir images(imagesFolderOf(folder));
    for (const std::int64_t id : stamps) {
        QFile file(images.filePath(db::pictureFileName(id)));
        if (!file.exists())
            continue;
        if (!file.open(QIODevice::ReadOnly))
            throw db::DbError(db::err::CannotOpen,
                              translate("ServerCommand", "Cannot read the picture %1: %2")
                                  .arg(file.fileName(), file.errorString()));
        db::putServerPicture(shared, id, file.readAll());
        ++pushed.pictures;
    }
    return pushed;
}

// The collection of a folder to copy to the server, held while it is read.
struct LocalCollection {
    db::CollectionHold hold;
    std::unique_ptr<db::Database> db;
};

LocalCollection openLocal(const QString& folder, QTextStream& err) {
    LocalCollection c{db::holdCollection(folder, db::Purpose::Read), nullptr};
    if (!c.hold.rolledBack.isEmpty())
        err << "perlinex: " << c.hold.rolledBack << "\n";
    c.db = db::openCollection(c.hold.path, db::StructureCheck::AtOpen, c.hold.openMode());
    return c;
}

void tellPushed(QTextStream& out, const Pushed& pushed, const db::ServerAddress& address) {
    out << translate("ServerCommand",
                     "Copied to the shared collection %4 on %5: stamps %1, code entries %2, "
                     "pictures %3")
               .arg(counted(pushed.copied.stamps), counted(pushed.copied.codes),
                    counted(pushed.pictures), address.collection, address.server)
        << "\n";
}

int push(const QStringList& args, QTextStream& out, QTextStream& err) {
    if (args.size() != 4)
        return wrong(err, translate("ServerCommand", "server push needs a FOLDER and a SERVER"));
    const QString folder = args[2];
    const db::ServerAddress address = db::parseServerAddress(args[3]);
    const LocalCollection local = openLocal(folder, err);
    Pushed pushed;
    db::createServerCollection(
        address.server, address.collection, false,
        [&](db::Database& shared) { pushed = copyFolderTo(*local.db, folder, shared, err); })
        ->close();
    tellPushed(out, pushed, address);
    return 0;
}

// Puts a collection folder (a backup made of a shared collection, or any other) in the place
// of a shared collection. It replaces everything the other desks stored, so it is done only
// when asked for with --yes.
int restore(const QStringList& args, QTextStream& out, QTextStream& err) {
    QStringList rest = args.mid(2);
    const bool confirmed = rest.removeAll(QStringLiteral("--yes")) > 0;
    if (rest.size() != 2)
        return wrong(err, translate("ServerCommand", "server restore needs a FOLDER and a SERVER"));
    const QString folder = rest[0];
    const db::ServerAddress address = db::parseServerAddress(rest[1]);
    const LocalCollection local = openLocal(folder, err);
    if (!confirmed) {
        err << translate("ServerCommand",
                         "perlinex: this replaces the shared collection %1 on %2, and everything "
                         "the desks stored in it, with the collection in %3. Nothing has been "
                         "changed; run it again with --yes to replace it.")
                   .arg(address.collection, address.server, folder)
            << "\n";
        return 1;
    }
    Pushed pushed;
    db::replaceServerCollection(address.server, address.collection, [&](db::Database& shared) {
        pushed = copyFolderTo(*local.db, folder, shared, err);
    });
    tellPushed(out, pushed, address);
    return 0;
}

// Writes the shared collection's pictures into a new images folder; the files written, so
// that a copy that fails later can take them away.
QStringList writePictures(db::Database& shared, const QString& imagesFolder) {
    QStringList written;
    const std::vector<std::int64_t> ids = db::stampsWithServerPictures(shared);
    if (!ids.empty() && !QDir().mkpath(imagesFolder))
        throw db::DbError(
            db::err::CannotOpen,
            translate("ServerCommand", "Cannot make the folder %1").arg(imagesFolder));
    try {
        for (const std::int64_t id : ids) {
            const QByteArray jpeg = db::serverPicture(shared, id);
            const QString path = QDir(imagesFolder).filePath(db::pictureFileName(id));
            durable::replaceOwnFile(path, [&](const QString& temp) {
                durable::writeBytes(temp, jpeg.constData(), jpeg.size());
            });
            written << path;
        }
    } catch (const durable::FileError& e) {
        for (const QString& path : written)
            QFile::remove(path);
        throw db::DbError(e.kind() == durable::FileError::Kind::DiskFull ? db::err::DiskFull
                                                                         : db::err::CannotOpen,
                          e.text());
    }
    return written;
}

int pull(const QStringList& args, QTextStream& out, QTextStream& err) {
    if (args.size() != 4)
        return wrong(err, translate("ServerCommand", "server pull needs a SERVER and a FOLDER"));
    const db::ServerAddress address = db::parseServerAddress(args[2]);
    const QString folder = args[3];
    const auto shared = db::openServerDatabase(address.server, address.collection);
    const PulledCollection made = pullCollection(*shared, folder, terminalProgress(err));
    out << translate("ServerCommand",
                     "Made a collection in %1 from the shared collection %2 on %3: stamps %4, "
                     "code entries %5, pictures %6")
               .arg(QDir(folder).absolutePath(), address.collection, address.server,
                    counted(made.copied.stamps), counted(made.copied.codes), counted(made.pictures))
        << "\n";
    return 0;
}

} // namespace

PulledCollection pullCollection(db::Database& shared, const QString& folder,
                                const db::CopyProgress& progress) {
    const db::CollectionHold hold = db::holdNewCollection(folder);
    // The pictures first, then the collection file, which takes its name only when whole: a
    // pull cut short leaves no collection behind.
    const QStringList pictures = writePictures(shared, imagesFolderOf(folder));
    PulledCollection made;
    try {
        db::createDatabaseFile(hold.path, [&](db::Database& local) {
            db::fillNewCollection(local, false);
            made.copied = db::copyCollectionRows(shared, local, progress);
        });
    } catch (...) {
        for (const QString& path : pictures)
            QFile::remove(path);
        throw;
    }
    made.pictures = pictures.size();
    db::openCatalogue(folder)->close();
    return made;
}

QString serverCommandUsage() {
    return translate(
        "ServerCommand",
        "  perlinex --server SERVER[#COLLECTION]\n"
        "      open a collection shared on a PostgreSQL server in the window; other desks\n"
        "      may work on it at the same time.\n"
        "  perlinex server init SERVER[#COLLECTION]\n"
        "      make a new, empty collection shared on a PostgreSQL server. SERVER is a\n"
        "      postgresql:// address or the name of a service in the service file; the\n"
        "      password comes from ~/.pgpass or the service file, never the address.\n"
        "      COLLECTION names the collection there (default: stamps).\n"
        "  perlinex server push FOLDER SERVER[#COLLECTION]\n"
        "      copy the collection in FOLDER, with its pictures, to a new shared collection;\n"
        "      all of it or nothing.\n"
        "  perlinex server pull SERVER[#COLLECTION] FOLDER\n"
        "      make a new collection in FOLDER from a shared one, with its pictures; all of\n"
        "      it or nothing.\n"
        "  perlinex server restore FOLDER SERVER[#COLLECTION] --yes\n"
        "      replace a shared collection, and all the desks stored in it, with the\n"
        "      collection in FOLDER (such as a backup of it); all of it or nothing.\n"
        "  perlinex check --server SERVER[#COLLECTION]\n"
        "      check a shared collection through the server; nothing is changed.\n");
}

int runServerCommand(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    const QStringList args = arguments.mid(1);
    const QString what = args.value(1);
    if (what == QLatin1String("init"))
        return init(args, out, err);
    if (what == QLatin1String("push"))
        return push(args, out, err);
    if (what == QLatin1String("pull"))
        return pull(args, out, err);
    if (what == QLatin1String("restore"))
        return restore(args, out, err);
    return wrong(err, translate("ServerCommand", "server needs init, push, pull or restore"));
}

} // namespace perlinex::app
