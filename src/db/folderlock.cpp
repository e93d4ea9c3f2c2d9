#include "db/folderlock.h"

#include "db/dberror.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace perlinex::db {

QString FolderLock::lockFileOf(const QString& collectionPath) {
    return collectionPath + QStringLiteral(".lock");
}

std::unique_ptr<FolderLock> FolderLock::take(const QString& collectionPath) {
    const QString path = lockFileOf(collectionPath);
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        throw DbError(err::CannotOpen,
                      QStringLiteral("The collection in '%1' cannot be used: its lock file "
                                     "could not be made (%2).")
                          .arg(QFileInfo(collectionPath).absolutePath(),
                               QString::fromLocal8Bit(std::strerror(errno))));
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EWOULDBLOCK)
            throw DbError(err::FileInUse,
                          QStringLiteral("'%1' is already in use: another Perlinex program has "
                                         "it open. Close that program and try again.")
                              .arg(collectionPath));
        throw DbError(err::CannotOpen,
                      QStringLiteral("The collection '%1' cannot be locked: %2.")
                          .arg(collectionPath, QString::fromLocal8Bit(std::strerror(error))));
    }
    return std::unique_ptr<FolderLock>(new FolderLock(fd));
}

FolderLock::~FolderLock() {
    // Closing the file lets the lock go; the file itself stays for the next program.
    ::close(fd_);
}

} // namespace perlinex::db
