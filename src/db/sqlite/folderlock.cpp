#include "db/sqlite/folderlock.h"

#include "db/dberror.h"
#include "util/translation.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <utility>

namespace perlinex::db {

namespace {

QString systemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

[[noreturn]] void inUse(const QString& collectionPath) {
    throw DbError(err::FileInUse, QStringLiteral("'%1' is already in use: another Perlinex program "
                                                 "has it open. Close that program and try again.")
                                      .arg(collectionPath));
}

// Closes the descriptor when the lock is not handed on.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

// Locks fd without waiting; throws "in use" when another program holds a lock in the way.
void lockOrRefuse(int fd, int operation, const QString& collectionPath) {
    if (::flock(fd, operation | LOCK_NB) == 0)
        return;
    const int error = errno;
    if (error == EWOULDBLOCK)
        inUse(collectionPath);
    throw DbError(err::CannotOpen,
                  translate("FolderLock", "The collection '%1' cannot be locked: %2.")
                      .arg(collectionPath, systemError(error)));
}

int openFolder(const QString& collectionPath) {
    const QString folder = QFileInfo(collectionPath).absolutePath();
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        throw DbError(err::CannotOpen, QStringLiteral("The collection '%1' cannot be locked: its "
                                                      "folder cannot be opened (%2).")
                                           .arg(collectionPath, systemError(errno)));
    return fd;
}

} // namespace

QString FolderLock::lockFileOf(const QString& collectionPath) {
    return collectionPath + QStringLiteral(".lock");
}

std::unique_ptr<FolderLock> FolderLock::take(const QString& collectionPath, Kind kind) {
    const QByteArray lockPath = QFile::encodeName(lockFileOf(collectionPath));
    if (kind == Kind::Exclusive) {
        // An flock needs no write access: a lock file made by another user serves as well.
        Descriptor lockFile(::open(lockPath.constData(), O_RDONLY | O_CREAT | O_CLOEXEC, 0644));
        if (lockFile.get() < 0)
            throw DbError(err::CannotOpen,
                          QStringLiteral("The collection in '%1' cannot be used: its lock file "
                                         "could not be made (%2).")
                              .arg(QFileInfo(collectionPath).absolutePath(), systemError(errno)));
        lockOrRefuse(lockFile.get(), LOCK_EX, collectionPath);
        // A reader that could not make the lock file holds the folder's lock as long as it reads.
        // Another writer holds it only for this moment, so that is waited for a little.
        Descriptor folder(openFolder(collectionPath));
        for (int attempt = 0; ::flock(folder.get(), LOCK_EX | LOCK_NB) != 0; ++attempt) {
            if (errno != EWOULDBLOCK || attempt == 20)
                lockOrRefuse(folder.get(), LOCK_EX, collectionPath);
            ::usleep(5000);
        }
        return std::unique_ptr<FolderLock>(new FolderLock(kind, lockFile.release(), -1));
    }
    // The folder first, then the lock file: a writer that started meanwhile has made the lock
    // file before it tries the folder, so one of the two is always refused.
    Descriptor folder(openFolder(collectionPath));
    lockOrRefuse(folder.get(), LOCK_SH, collectionPath);
    int fd = ::open(lockPath.constData(), O_RDONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        fd = ::open(lockPath.constData(), O_RDONLY | O_CLOEXEC);
    Descriptor lockFile(fd);
    if (lockFile.get() < 0 && errno != ENOENT && errno != EROFS && errno != EACCES)
        throw DbError(err::CannotOpen,
                      translate("FolderLock", "The collection '%1' cannot be locked: %2.")
                          .arg(collectionPath, systemError(errno)));
    if (lockFile.get() >= 0)
        lockOrRefuse(lockFile.get(), LOCK_SH, collectionPath);
    return std::unique_ptr<FolderLock>(new FolderLock(kind, lockFile.release(), folder.release()));
}

FolderLock::~FolderLock() {
    // Closing the files lets the locks go; the lock file itself stays for the next program.
    if (lockFile_ >= 0)
        ::close(lockFile_);
    if (folder_ >= 0)
        ::close(folder_);
}

} // namespace perlinex::db
