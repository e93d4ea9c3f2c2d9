#include "db/sqlite/pendingpicture.h"

#include "db/dberror.h"
#include "db/sqlite/maintenance.h"
#include "db/sqlite/sqlitecall.h"
#include "db/sqlite/sqlitefile.h"
#include "util/durablefile.h"
#include "util/translation.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QtEndian>
#include <bit>
#include <cerrno>
#include <set>

namespace perlinex::db {

namespace {

// The state of a stamp that has no row (yet): a new stamp's store has not been committed.
const QByteArray NoRow = QByteArrayLiteral("none");

// A picture that a store left waiting beside the stamp's picture file.
struct Waiting {
    QString file;
    std::int64_t id = 0;
    QByteArray rowBefore; // the row's state before the store
};

QString waitingName(std::int64_t id, const QByteArray& rowBefore) {
    return QStringLiteral(".%1.%2.pending")
        .arg(pictureFileName(id), QString::fromLatin1(rowBefore));
}

// The waiting pictures in folder (or only the file named, when it is there and one).
QList<Waiting> waitingIn(const QString& folder, const QString& only = QString()) {
    static const QRegularExpression name(
        QStringLiteral(R"(^\.(\d{8,})\.jpg\.(none|[0-9a-f]{32})\.pending$)"));
    QList<Waiting> out;
    const QDir dir(folder);
    const QStringList entries = only.isEmpty()
                                    ? dir.entryList(QDir::Files | QDir::Hidden, QDir::Name)
                                : QFileInfo(only).isFile() ? QStringList{QFileInfo(only).fileName()}
                                                           : QStringList();
    for (const QString& entry : entries) {
        const QRegularExpressionMatch m = name.match(entry);
        bool ok = false;
        const std::int64_t id = m.hasMatch() ? m.captured(1).toLongLong(&ok) : 0;
        if (ok)
            out.push_back({dir.filePath(entry), id, m.captured(2).toLatin1()});
    }
    return out;
}

// Waiting pictures this program wrote and could neither put in place nor remove.
std::set<QString>& leftWaiting() {
    static std::set<QString> files;
    return files;
}

// Notes the waiting pictures of a folder the first time this program stores a picture there.
void noteWaitingOnce(const QString& folder) {
    static std::set<QString> read;
    if (!read.insert(QDir(folder).absolutePath()).second)
        return;
    for (const Waiting& w : waitingIn(folder))
        leftWaiting().insert(w.file);
}

void addNumber(QCryptographicHash& hash, std::uint64_t n) {
    const std::uint64_t le = qToLittleEndian(n);
    hash.addData(QByteArrayView(reinterpret_cast<const char*>(&le), sizeof le));
}

// The stamp's row as stored, every column by its kind and exact bytes, as a short digest; NoRow
// when there is no such row. Any store that changes the row changes it.
QByteArray rowState(Database& collection, std::int64_t id) {
    detail::Statement st(handleOf(collection),
                         QStringLiteral("SELECT * FROM stamp WHERE rowid = ?"));
    st.bindInt(1, id);
    if (!st.step())
        return NoRow;
    sqlite3_stmt* row = st.get();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (int i = 0; i < st.columnCount(); ++i) {
        const int type = sqlite3_column_type(row, i);
        addNumber(hash, std::uint64_t(type));
        if (type == SQLITE_INTEGER) {
            addNumber(hash, std::uint64_t(sqlite3_column_int64(row, i)));
        } else if (type == SQLITE_FLOAT) {
            addNumber(hash, std::bit_cast<std::uint64_t>(sqlite3_column_double(row, i)));
        } else if (type != SQLITE_NULL) {
            const auto* bytes = static_cast<const char*>(sqlite3_column_blob(row, i));
            const int size = sqlite3_column_bytes(row, i);
            addNumber(hash, std::uint64_t(size));
            hash.addData(QByteArrayView(bytes, size));
        }
    }
    return hash.result().left(16).toHex();
}

void removeWaiting(const QString& file) {
    if (!QFile::remove(file) && QFileInfo(file).isFile())
        throw durable::FileError(durable::FileError::Kind::CannotWrite,
                                 translate("PendingPicture", "Could not remove '%1'.").arg(file));
    durable::syncFolderOf(file);
}

void putInPlace(const QString& waiting, const QString& picture) {
    if (QFileInfo(picture).isSymLink()) {
        // The link stays and the file it leads to is replaced, wherever that is.
        durable::copyDurably(waiting, picture);
        removeWaiting(waiting);
        return;
    }
    durable::renameOver(waiting, picture);
}

// Puts the waiting picture in place when its row was stored since, else removes it. True when
// it was put in place.
bool settle(const Waiting& w, const QString& folder, const QByteArray& rowNow) {
    const bool stored = rowNow != NoRow && rowNow != w.rowBefore;
    if (stored)
        putInPlace(w.file, QDir(folder).filePath(pictureFileName(w.id)));
    else
        removeWaiting(w.file);
    return stored;
}

// A folder or a device where the picture goes would only fail the rename after the row is
// stored; it is refused before.
void refuseNonFile(const QString& picture) {
    const QFileInfo info(picture);
    if (!info.exists() || info.isFile())
        return;
    const int error = info.isDir() ? EISDIR : EEXIST;
    throw durable::FileError(durable::FileError::Kind::CannotWrite,
                             translate("PendingPicture", "Could not write '%1': %2.")
                                 .arg(picture, durable::systemError(error)),
                             error);
}

} // namespace

QString pictureFileName(std::int64_t id) {
    return QStringLiteral("%1.jpg").arg(id, 8, 10, QLatin1Char('0'));
}

PendingPicture::PendingPicture(Database& collection, const QString& imagesFolder, std::int64_t id,
                               const QByteArray& jpeg)
    : picture_(QDir(imagesFolder).filePath(pictureFileName(id))) {
    const QByteArray before = rowState(collection, id);
    // A picture that an earlier store of this stamp left waiting (its placing failed) is
    // settled first, by the row as it stands. Only this program writes the folder (under its
    // lock): the folder is read once, and after that only the pictures this program could not
    // settle are looked at, so an import of many pictures does not read it for every one.
    noteWaitingOnce(imagesFolder);
    for (auto it = leftWaiting().begin(); it != leftWaiting().end();) {
        const QFileInfo file(*it);
        const QList<Waiting> left = waitingIn(file.absolutePath(), *it);
        if (left.isEmpty()) {
            it = leftWaiting().erase(it); // settled or removed since
        } else if (left.front().id == id &&
                   file.absolutePath() == QFileInfo(picture_).absolutePath()) {
            settle(left.front(), imagesFolder, before);
            it = leftWaiting().erase(it);
        } else {
            ++it;
        }
    }
    refuseNonFile(picture_);
    QDir().mkpath(imagesFolder);
    pending_ = QDir(imagesFolder).filePath(waitingName(id, before));
    reachStep("picture-write");
    try {
        QFile::remove(pending_);
        durable::writeBytes(pending_, jpeg.constData(), jpeg.size());
        durable::takeOwnerAndPermissions(pending_, picture_);
        durable::syncPath(pending_, false);
        durable::syncFolderOf(pending_);
        reachStep("picture-row");
    } catch (...) {
        QFile::remove(pending_);
        throw;
    }
}

PendingPicture::~PendingPicture() {
    discard();
}

void PendingPicture::finish() {
    // The row is stored: from here on the waiting picture is never discarded, only put in
    // place, now or by the next start.
    settled_ = true;
    reachStep("picture-place");
    try {
        putInPlace(pending_, picture_);
    } catch (...) {
        leftWaiting().insert(pending_);
        throw;
    }
    reachStep("picture-placed");
}

void PendingPicture::discard() noexcept {
    if (settled_)
        return;
    settled_ = true;
    try {
        removeWaiting(pending_);
    } catch (...) {
        // Left for the next store of the stamp or the next start, which find the row as it
        // was and remove it.
        leftWaiting().insert(pending_);
    }
}

PictureRecovery recoverPendingPictures(const QString& imagesFolder, const QString& collectionPath) {
    PictureRecovery result;
    const QList<Waiting> waiting = waitingIn(imagesFolder);
    if (waiting.isEmpty())
        return result;
    try {
        const auto collection = openDatabaseFile(collectionPath, OpenMode::Exclusive);
        for (const Waiting& w : waiting)
            (settle(w, imagesFolder, rowState(*collection, w.id)) ? result.finished
                                                                  : result.discarded)
                << w.id;
    } catch (const DbError& e) {
        result.unsettled = e.text();
    } catch (const durable::FileError& e) {
        result.unsettled = e.text();
    }
    return result;
}

} // namespace perlinex::db
