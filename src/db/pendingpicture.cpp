#include "db/pendingpicture.h"

#include "db/dberror.h"
#include "db/maintenance.h"
#include "db/sqlitecall.h"
#include "util/durablefile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QtEndian>
#include <bit>
#include <cerrno>

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

QList<Waiting> waitingIn(const QString& folder) {
    static const QRegularExpression name(
        QStringLiteral(R"(^\.(\d{8,})\.jpg\.(none|[0-9a-f]{32})\.pending$)"));
    QList<Waiting> out;
    const QDir dir(folder);
    for (const QString& entry : dir.entryList(QDir::Files | QDir::Hidden, QDir::Name)) {
        const QRegularExpressionMatch m = name.match(entry);
        bool ok = false;
        const std::int64_t id = m.hasMatch() ? m.captured(1).toLongLong(&ok) : 0;
        if (ok)
            out.push_back({dir.filePath(entry), id, m.captured(2).toLatin1()});
    }
    return out;
}

void addNumber(QCryptographicHash& hash, std::uint64_t n) {
    const std::uint64_t le = qToLittleEndian(n);
    hash.addData(QByteArrayView(reinterpret_cast<const char*>(&le), sizeof le));
}

// The stamp's row as stored, every column by its kind and exact bytes, as a short digest; NoRow
// when there is no such row. Any store that changes the row changes it.
QByteArray rowState(Database& collection, std::int64_t id) {
    detail::Statement st(collection.handle(),
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
                                 QStringLiteral("Could not remove '%1'.").arg(file));
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
    throw durable::FileError(
        durable::FileError::Kind::CannotWrite,
        QStringLiteral("Could not write '%1': %2.").arg(picture, durable::systemError(error)),
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
    // settled first, by the row as it stands.
    for (const Waiting& w : waitingIn(imagesFolder))
        if (w.id == id)
            settle(w, imagesFolder, before);
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
    putInPlace(pending_, picture_);
    reachStep("picture-placed");
}

void PendingPicture::discard() noexcept {
    if (settled_)
        return;
    settled_ = true;
    try {
        removeWaiting(pending_);
    } catch (...) {
        // Left for the next start, which finds the row as it was and removes it.
    }
}

PictureRecovery recoverPendingPictures(const QString& imagesFolder, const QString& collectionPath) {
    PictureRecovery result;
    const QList<Waiting> waiting = waitingIn(imagesFolder);
    if (waiting.isEmpty())
        return result;
    try {
        const auto collection = Database::open(collectionPath, OpenMode::Exclusive);
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
