#include "imaging/filereplace.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace perlinex::imaging {

namespace {

// The file a write to path lands in: through a symbolic link, the file it points to, so the
// link survives the rename.
QString resolvedTarget(const QString& path) {
    const QFileInfo info(path);
    if (!info.isSymLink())
        return path;
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.symLinkTarget() : canonical;
}

// A temporary file that is removed again unless it was renamed into place.
class TempFile {
public:
    TempFile() = default;
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile() {
        closeFd();
        if (!name_.isEmpty())
            ::unlink(name_.constData());
    }

    // Hidden and named after the target, so that a leftover after a crash never looks like
    // a picture file of the same stamp.
    bool create(const QString& target) {
        const QFileInfo info(target);
        for (int attempt = 0; attempt < 100; ++attempt) {
            const QString name =
                info.absolutePath() +
                QStringLiteral("/.%1.%2.tmp")
                    .arg(info.fileName())
                    .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
            const QByteArray native = QFile::encodeName(name);
            fd_ = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd_ >= 0) {
                name_ = native;
                return true;
            }
            if (errno != EEXIST)
                return false;
        }
        return false;
    }

    bool writeAll(const unsigned char* bytes, std::size_t size) {
        while (size > 0) {
            const ssize_t n = ::write(fd_, bytes, size);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                if (n == 0)
                    errno = EIO;
                return false;
            }
            bytes += n;
            size -= std::size_t(n);
        }
        return true;
    }

    // Permissions, owner and the access and modification times of the file being replaced.
    bool takeOver(const struct stat& old) {
        if (::geteuid() == 0 && (old.st_uid != ::geteuid() || old.st_gid != ::getegid())) {
            if (::fchown(fd_, old.st_uid, old.st_gid) != 0) {
                // Keeping the permissions below still matters more than the owner.
            }
        }
        const struct timespec times[2] = {old.st_atim, old.st_mtim};
        return ::fchmod(fd_, old.st_mode & 07777) == 0 && ::futimens(fd_, times) == 0;
    }

    bool syncAndClose() {
        if (::fsync(fd_) != 0)
            return false;
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

    bool renameTo(const QByteArray& target) {
        if (::rename(name_.constData(), target.constData()) != 0)
            return false;
        name_.clear();
        return true;
    }

private:
    void closeFd() {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }

    int fd_ = -1;
    QByteArray name_;
};

// Makes the rename itself durable. Some file systems refuse to sync a folder; the picture is
// in place by then, so that is not reported as a failed write.
void syncFolder(const QString& target) {
    const QByteArray folder = QFile::encodeName(QFileInfo(target).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    if (::fsync(fd) != 0) {
        // See above: best effort only.
    }
    ::close(fd);
}

} // namespace

bool replaceFile(const QString& path, const unsigned char* bytes, std::size_t size,
                 FileWriteFailure& failure) {
    const QString target = resolvedTarget(path);
    const QByteArray native = QFile::encodeName(target);
    struct stat old {};
    const bool replacing = ::stat(native.constData(), &old) == 0 && S_ISREG(old.st_mode);

    TempFile temp;
    const bool written = temp.create(target) && temp.writeAll(bytes, size) &&
                         (!replacing || temp.takeOver(old)) && temp.syncAndClose() &&
                         temp.renameTo(native);
    if (!written) {
        const int code = errno;
        failure = {code, QString::fromLocal8Bit(std::strerror(code))};
        return false;
    }
    syncFolder(target);
    return true;
}

} // namespace perlinex::imaging
