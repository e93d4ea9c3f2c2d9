#include "util/durablefile.h"
#include "util/translation.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <utility>

#include <linux/fs.h>

namespace perlinex::durable {

namespace {

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

} // namespace

FileError::Kind kindOf(int error) {
    switch (error) {
    case ENOSPC:
    case EFBIG:
    case EDQUOT:
        return FileError::Kind::DiskFull;
    case ENOENT:
        return FileError::Kind::NotFound;
    case EACCES:
    case EPERM:
    case EROFS:
        return FileError::Kind::CannotWrite;
    default:
        return FileError::Kind::Other;
    }
}

namespace {

[[noreturn]] void fail(int error, const QString& what) {
    throw FileError(kindOf(error), QStringLiteral("%1: %2.").arg(what, systemError(error)), error);
}

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// The file a write to path lands in: through a symbolic link, the file it leads to, so that
// the rename keeps the link.
QString landingOf(const QString& path) {
    const QFileInfo info(path);
    if (!info.isSymLink())
        return path;
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.symLinkTarget() : canonical;
}

// Gives file the owner (where we may give it away) and the permissions that old describes;
// shown names the file in a message.
void giveOwnerAndPermissions(const struct stat& old, const QString& file, const QString& shown) {
    const QByteArray f = native(file);
    // The owner only where we may give it away; the permissions matter more.
    if (::geteuid() == 0 && (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) &&
        ::chown(f.constData(), old.st_uid, old.st_gid) != 0) {
    }
    if (::chmod(f.constData(), old.st_mode & 07777) != 0)
        fail(errno, translate("DurableFile", "Could not write '%1'").arg(shown));
}

} // namespace

void takeOwnerAndPermissions(const QString& file, const QString& from) {
    struct stat old {};
    if (::stat(native(from).constData(), &old) == 0 && S_ISREG(old.st_mode))
        giveOwnerAndPermissions(old, file, file);
}

QString systemError(int error) {
    if (error == ENOSPC || error == EFBIG || error == EDQUOT)
        return translate("DurableFile", "there is not enough space on the disk");
    return QString::fromLocal8Bit(std::strerror(error));
}

QString tempNameFilter() {
    return QStringLiteral(".perlinex-*.part");
}

QString partName(const QString& target) {
    return target + QStringLiteral(".part");
}

QString unusedName(const QString& folder, const QString& stem, const QString& suffix) {
    const QDir dir(folder);
    QString candidate = dir.filePath(stem + suffix);
    // A link that leads nowhere still takes its name.
    for (int n = 2; QFileInfo::exists(candidate) || QFileInfo(candidate).isSymLink(); ++n)
        candidate = dir.filePath(QStringLiteral("%1-%2%3").arg(stem).arg(n).arg(suffix));
    return candidate;
}

void syncPath(const QString& path, bool directory) {
    const int fd =
        ::open(native(path).constData(), directory ? (O_RDONLY | O_DIRECTORY) : O_RDONLY);
    if (fd < 0)
        fail(errno, translate("DurableFile", "Could not open '%1' to write it to disk").arg(path));
    const int rc = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    // Some file systems cannot sync a folder; the file itself must reach the disk.
    if (rc != 0 && !directory)
        fail(error, translate("DurableFile", "Could not write '%1' to disk").arg(path));
}

void syncFolderOf(const QString& path) {
    syncPath(QFileInfo(path).absolutePath(), true);
}

void renameOver(const QString& from, const QString& to) {
    if (::rename(native(from).constData(), native(to).constData()) != 0)
        fail(errno, translate("DurableFile", "Could not rename '%1' to '%2'").arg(from, to));
    syncFolderOf(to);
}

void copyDurably(const QString& from, const QString& to) {
    replaceOwnFile(to, [&](const QString& temp) {
        QFile in(from);
        if (!in.open(QIODevice::ReadOnly)) {
            if (!QFileInfo::exists(from))
                fail(ENOENT, translate("DurableFile", "Could not read '%1'").arg(from));
            throw FileError(
                FileError::Kind::CannotRead,
                translate("DurableFile", "Could not read '%1': %2.").arg(from, in.errorString()));
        }
        const int out = ::open(native(temp).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out < 0)
            fail(errno, translate("DurableFile", "Could not write '%1'").arg(to));
        QByteArray buffer;
        while (!(buffer = in.read(1 << 20)).isEmpty()) {
            const char* p = buffer.constData();
            qint64 left = buffer.size();
            while (left > 0) {
                const ssize_t n = ::write(out, p, size_t(left));
                if (n < 0) {
                    if (errno == EINTR)
                        continue;
                    const int error = errno;
                    ::close(out);
                    fail(error, translate("DurableFile", "Could not write '%1'").arg(to));
                }
                p += n;
                left -= n;
            }
        }
        if (in.error() != QFileDevice::NoError) {
            ::close(out);
            throw FileError(
                FileError::Kind::CannotRead,
                translate("DurableFile", "Could not read '%1': %2.").arg(from, in.errorString()));
        }
        if (::close(out) != 0)
            fail(errno, translate("DurableFile", "Could not write '%1'").arg(to));
    });
}

void keepCopy(const QString& from, const QString& to) {
    const QString temp = partName(to);
    QFile::remove(temp);
    if (::link(native(from).constData(), native(temp).constData()) == 0) {
        try {
            renameOver(temp, to);
        } catch (...) {
            QFile::remove(temp);
            throw;
        }
        return;
    }
    copyDurably(from, to);
}

void exchangeFolders(const QString& a, const QString& b) {
#ifdef SYS_renameat2
    if (::syscall(SYS_renameat2, AT_FDCWD, native(a).constData(), AT_FDCWD, native(b).constData(),
                  RENAME_EXCHANGE) == 0) {
        syncFolderOf(a);
        return;
    }
#endif
    const QString temp = a + QStringLiteral(".swap");
    QDir(temp).removeRecursively();
    renameOver(a, temp);
    renameOver(b, a);
    renameOver(temp, b);
}

namespace {

// A new, empty file beside target under a short name that no one else has: created
// exclusively, so that another's file of the same name is never opened or removed.
QString newTempBeside(const QString& target) {
    const QDir folder(QFileInfo(target).absolutePath());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name = QStringLiteral(".perlinex-%1.part")
                                 .arg(QRandomGenerator::global()->bounded(Q_INT64_C(36) * 36 * 36 *
                                                                          36 * 36 * 36 * 36 * 36),
                                      8, 36, QLatin1Char('0'));
        const QString temp = folder.filePath(name);
        const int fd =
            ::open(native(temp).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            return temp;
        }
        if (errno != EEXIST)
            fail(errno, translate("DurableFile", "Could not write '%1'").arg(target));
    }
    fail(EEXIST, translate("DurableFile", "Could not write '%1'").arg(target));
}

// The new file takes the old one's place: with its permissions (and owner, where we may give
// it away) and, when asked, its times.
void keepAttributes(const QString& temp, const QString& target, const QString& path, Keep keep) {
    struct stat old {};
    if (::stat(native(target).constData(), &old) != 0 || !S_ISREG(old.st_mode))
        return;
    giveOwnerAndPermissions(old, temp, path);
    if (keep == Keep::PermissionsAndTimes) {
        const struct timespec times[2] = {old.st_atim, old.st_mtim};
        if (::utimensat(AT_FDCWD, native(temp).constData(), times, 0) != 0)
            fail(errno, translate("DurableFile", "Could not write '%1'").arg(path));
    }
}

enum class TempName { Unique, Fixed };

void replaceThrough(const QString& path, const std::function<void(const QString& temp)>& write,
                    Keep keep, TempName naming) {
    const QString target = landingOf(path);
    QString temp;
    if (naming == TempName::Fixed) {
        temp = partName(target);
        QFile::remove(temp);
    } else {
        temp = newTempBeside(target);
    }
    try {
        write(temp);
        keepAttributes(temp, target, path, keep);
        syncPath(temp, false);
        renameOver(temp, target);
    } catch (...) {
        QFile::remove(temp);
        throw;
    }
}

} // namespace

void replaceFile(const QString& path, const std::function<void(const QString& temp)>& write,
                 Keep keep) {
    replaceThrough(path, write, keep, TempName::Unique);
}

void replaceOwnFile(const QString& path, const std::function<void(const QString& temp)>& write,
                    Keep keep) {
    replaceThrough(path, write, keep, TempName::Fixed);
}

void writeBytes(const QString& path, const char* bytes, qint64 size) {
    const int fd = ::open(native(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        fail(errno, translate("DurableFile", "Could not write '%1'").arg(path));
    while (size > 0) {
        const ssize_t n = ::write(fd, bytes, size_t(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int error = n == 0 ? EIO : errno;
            ::close(fd);
            fail(error, translate("DurableFile", "Could not write '%1'").arg(path));
        }
        bytes += n;
        size -= n;
    }
    if (::close(fd) != 0)
        fail(errno, translate("DurableFile", "Could not write '%1'").arg(path));
}

OutputFile::OutputFile(const QString& path, const QString& name) : path_(path), name_(name) {}

OutputFile::~OutputFile() {
    if (fd_ >= 0)
        ::close(fd_);
}

void OutputFile::open() {
    fd_ = ::open(native(path_).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd_ < 0)
        durable::fail(errno, translate("DurableFile", "Could not write '%1'").arg(name_));
    QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 OutputFile::writeData(const char* data, qint64 size) {
    if (error_ != 0)
        return -1;
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd_, data + done, size_t(size - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            // A write that stops short without a reason is the file system running out of room.
            error_ = n == 0 ? ENOSPC : errno;
            setErrorString(systemError(error_));
            return -1;
        }
        done += n;
    }
    return done;
}

void OutputFile::finish() {
    QIODevice::close();
    const int fd = std::exchange(fd_, -1);
    if (fd >= 0 && ::close(fd) != 0 && error_ == 0)
        error_ = errno;
    if (error_ != 0)
        fail();
}

void OutputFile::fail() const {
    durable::fail(error_ != 0 ? error_ : EIO,
                  translate("DurableFile", "Could not write '%1'").arg(name_));
}

// Files the user names -----------------------------------------------------------------

QString resolvedPath(const QString& path) {
    QString current = QDir::current().absoluteFilePath(path);
    // Each turn follows one link that leads nowhere (yet); the kernel's own limit on links.
    for (int links = 0; links < 40; ++links) {
        if (char* real = ::realpath(native(current).constData(), nullptr)) {
            const QString resolved = QFile::decodeName(real);
            std::free(real);
            return resolved;
        }
        const QFileInfo info(current);
        if (info.isSymLink()) {
            current = info.symLinkTarget();
            continue;
        }
        const qsizetype slash = current.lastIndexOf(QLatin1Char('/'));
        const QString folder = slash > 0 ? current.left(slash) : QStringLiteral("/");
        if (char* real = ::realpath(native(folder).constData(), nullptr)) {
            const QString resolved = QDir(QFile::decodeName(real)).filePath(current.mid(slash + 1));
            std::free(real);
            return resolved;
        }
        return current;
    }
    return current;
}

namespace {

bool isWithin(const QString& path, const QString& folder) {
    return path == folder ||
           path.startsWith(folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/'));
}

// True when one of the folders on path's way to the root is the given one: a folder reached
// under another name (a bind mount) is the same folder.
bool hasAncestor(const QString& path, dev_t device, ino_t inode) {
    QString folder = path;
    for (;;) {
        struct stat st {};
        if (::stat(native(folder).constData(), &st) == 0 && st.st_dev == device &&
            st.st_ino == inode)
            return true;
        const qsizetype slash = folder.lastIndexOf(QLatin1Char('/'));
        if (slash <= 0)
            return false;
        folder = folder.left(slash);
    }
}

// True when a file of the folder (or of its subfolders) is the file st describes.
bool folderHolds(const QString& folder, const struct stat& file) {
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        struct stat st {};
        if (::lstat(native(it.next()).constData(), &st) == 0 && st.st_dev == file.st_dev &&
            st.st_ino == file.st_ino)
            return true;
    }
    return false;
}

QString whatKindOf(mode_t mode) {
    if (S_ISDIR(mode))
        return translate("DurableFile", "a folder");
    if (S_ISFIFO(mode))
        return translate("DurableFile", "a named pipe (FIFO)");
    if (S_ISSOCK(mode))
        return translate("DurableFile", "a socket");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return translate("DurableFile", "a device");
    return translate("DurableFile", "a special file");
}

[[noreturn]] void refuse(const QString& text) {
    throw FileError(FileError::Kind::Refused, text);
}

} // namespace

void ProtectedFiles::addFile(const QString& path, const QString& what) {
    Entry e{QDir::current().absoluteFilePath(path), resolvedPath(path), what, false};
    struct stat st {};
    if (::stat(native(e.resolved).constData(), &st) == 0) {
        e.exists = true;
        e.folder = S_ISDIR(st.st_mode);
        e.device = st.st_dev;
        e.inode = st.st_ino;
    }
    entries_.push_back(e);
}

void ProtectedFiles::addFolder(const QString& path, const QString& what) {
    addFile(path, what);
    entries_.back().folder = true;
}

void ProtectedFiles::add(const ProtectedFiles& other) {
    entries_.insert(entries_.end(), other.entries_.begin(), other.entries_.end());
}

QString ProtectedFiles::refusal(const QString& target) const {
    const QString given = QDir::current().absoluteFilePath(target);
    const QString resolved = resolvedPath(target);
    struct stat st {};
    const bool exists = ::stat(native(resolved).constData(), &st) == 0;
    const bool linked = exists && S_ISREG(st.st_mode) && st.st_nlink > 1;
    for (const Entry& e : entries_) {
        const bool sameFile = exists && e.exists && st.st_dev == e.device && st.st_ino == e.inode;
        if (!e.folder) {
            if (QDir::cleanPath(given) == QDir::cleanPath(e.path))
                return translate("DurableFile", "'%1' is %2, which Perlinex never writes over.")
                    .arg(shown(target), e.what);
            if (resolved == e.resolved)
                return translate("DurableFile",
                                 "'%1' leads to %2, which Perlinex never writes over.")
                    .arg(shown(target), e.what);
            if (sameFile)
                return translate(
                           "DurableFile",
                           "'%1' is another name (a hard link) for %2, which Perlinex never writes "
                           "over.")
                    .arg(shown(target), e.what);
            continue;
        }
        if (isWithin(QDir::cleanPath(given), QDir::cleanPath(e.path)))
            return translate("DurableFile", "'%1' is in %2, where Perlinex never writes a file.")
                .arg(shown(target), e.what);
        if (isWithin(resolved, e.resolved) ||
            (e.exists && hasAncestor(QFileInfo(resolved).absolutePath(), e.device, e.inode)))
            return translate("DurableFile",
                             "'%1' leads into %2, where Perlinex never writes a file.")
                .arg(shown(target), e.what);
        if (linked && e.exists && folderHolds(e.resolved, st))
            return translate(
                       "DurableFile",
                       "'%1' is another name (a hard link) for a file in %2, which Perlinex never "
                       "writes over.")
                .arg(shown(target), e.what);
    }
    return QString();
}

void checkUserTarget(const QString& target, const ProtectedFiles& keep) {
    const QString why = keep.refusal(target);
    if (!why.isEmpty())
        refuse(why);
    const QByteArray landing = native(landingOf(target));
    struct stat st {};
    if (::stat(landing.constData(), &st) != 0)
        return; // a new file; what stops it being made is said when it is written
    if (!S_ISREG(st.st_mode))
        refuse(
            translate("DurableFile",
                      "'%1' is %2, not a regular file; Perlinex writes a file only where there is "
                      "none or a regular file.")
                .arg(shown(target), whatKindOf(st.st_mode)));
    if ((st.st_mode & 0222) == 0 || ::access(landing.constData(), W_OK) != 0)
        refuse(translate(
                   "DurableFile",
                   "'%1' is read-only; Perlinex does not replace a file that may not be changed.")
                   .arg(shown(target)));
}

void replaceUserFile(const QString& target, const ProtectedFiles& keep,
                     const std::function<void(const QString& temp)>& write) {
    checkUserTarget(target, keep);
    replaceFile(target, write);
}

} // namespace perlinex::durable
