#include "util/durablefile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

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
        fail(errno, QStringLiteral("Could not write '%1'").arg(shown));
}

} // namespace

void takeOwnerAndPermissions(const QString& file, const QString& from) {
    struct stat old {};
    if (::stat(native(from).constData(), &old) == 0 && S_ISREG(old.st_mode))
        giveOwnerAndPermissions(old, file, file);
}

QString systemError(int error) {
    if (error == ENOSPC || error == EFBIG || error == EDQUOT)
        return QStringLiteral("there is not enough space on the disk");
    return QString::fromLocal8Bit(std::strerror(error));
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
        fail(errno, QStringLiteral("Could not open '%1' to write it to disk").arg(path));
    const int rc = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    // Some file systems cannot sync a folder; the file itself must reach the disk.
    if (rc != 0 && !directory)
        fail(error, QStringLiteral("Could not write '%1' to disk").arg(path));
}

void syncFolderOf(const QString& path) {
    syncPath(QFileInfo(path).absolutePath(), true);
}

void renameOver(const QString& from, const QString& to) {
    if (::rename(native(from).constData(), native(to).constData()) != 0)
        fail(errno, QStringLiteral("Could not rename '%1' to '%2'").arg(from, to));
    syncFolderOf(to);
}

void copyDurably(const QString& from, const QString& to) {
    replaceFile(to, [&](const QString& temp) {
        QFile in(from);
        if (!in.open(QIODevice::ReadOnly)) {
            if (!QFileInfo::exists(from))
                fail(ENOENT, QStringLiteral("Could not read '%1'").arg(from));
            throw FileError(FileError::Kind::CannotRead,
                            QStringLiteral("Could not read '%1': %2.").arg(from, in.errorString()));
        }
        const int out = ::open(native(temp).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out < 0)
            fail(errno, QStringLiteral("Could not write '%1'").arg(to));
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
                    fail(error, QStringLiteral("Could not write '%1'").arg(to));
                }
                p += n;
                left -= n;
            }
        }
        if (in.error() != QFileDevice::NoError) {
            ::close(out);
            throw FileError(FileError::Kind::CannotRead,
                            QStringLiteral("Could not read '%1': %2.").arg(from, in.errorString()));
        }
        if (::close(out) != 0)
            fail(errno, QStringLiteral("Could not write '%1'").arg(to));
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

void replaceFile(const QString& path, const std::function<void(const QString& temp)>& write,
                 Keep keep) {
    const QString target = landingOf(path);
    const QString temp = partName(target);
    QFile::remove(temp);
    try {
        write(temp);
        struct stat old {};
        if (::stat(native(target).constData(), &old) == 0 && S_ISREG(old.st_mode)) {
            giveOwnerAndPermissions(old, temp, path);
            if (keep == Keep::PermissionsAndTimes) {
                const struct timespec times[2] = {old.st_atim, old.st_mtim};
                if (::utimensat(AT_FDCWD, native(temp).constData(), times, 0) != 0)
                    fail(errno, QStringLiteral("Could not write '%1'").arg(path));
            }
        }
        syncPath(temp, false);
        renameOver(temp, target);
    } catch (...) {
        QFile::remove(temp);
        throw;
    }
}

void writeBytes(const QString& path, const char* bytes, qint64 size) {
    const int fd = ::open(native(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        fail(errno, QStringLiteral("Could not write '%1'").arg(path));
    while (size > 0) {
        const ssize_t n = ::write(fd, bytes, size_t(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int error = n == 0 ? EIO : errno;
            ::close(fd);
            fail(error, QStringLiteral("Could not write '%1'").arg(path));
        }
        bytes += n;
        size -= n;
    }
    if (::close(fd) != 0)
        fail(errno, QStringLiteral("Could not write '%1'").arg(path));
}

} // namespace perlinex::durable
