#pragma once

#include <QString>
#include <functional>
#include <stdexcept>

// Files that are whole or absent: every new file is written under a temporary name beside
// its target, written to disk, and then renamed over the target in one step, so that a crash,
// a full disk or a killed program never leaves a half-written file under a real name.
namespace perlinex::durable {

class FileError : public std::runtime_error {
public:
    // CannotRead: the source of a copy is there but could not be read.
    enum class Kind { DiskFull, NotFound, CannotRead, CannotWrite, Other };
    FileError(Kind kind, const QString& text, int systemError = 0)
        : std::runtime_error(text.toStdString()), kind_(kind), text_(text),
          systemError_(systemError) {}
    Kind kind() const { return kind_; }
    const QString& text() const { return text_; }
    // The system's error number (errno) behind it, 0 when there is none.
    int systemError() const { return systemError_; }

private:
    Kind kind_;
    QString text_;
    int systemError_;
};

// The kind of failure a system error number (errno) stands for.
FileError::Kind kindOf(int systemError);

// Writes a file or folder's entry to disk (fsync).
void syncPath(const QString& path, bool directory);
void syncFolderOf(const QString& path);

// Renames in one step, replacing the target, and writes the folder's new entry to disk.
void renameOver(const QString& from, const QString& to);

// Copies a file; the target name only ever holds a whole copy. A source that cannot be read
// is reported as CannotRead (NotFound when it is missing or a link that leads nowhere).
void copyDurably(const QString& from, const QString& to);

// Keeps a copy of a file under another name: a hard link where the file system has them
// (instant, and the original never moves), otherwise a durable copy.
void keepCopy(const QString& from, const QString& to);

// Swaps two folders' names, in one step where the system can.
void exchangeFolders(const QString& a, const QString& b);

// Makes target anew: write is handed the path of a temporary file beside it and must fill it;
// the file is then written to disk and renamed over target. Through a symbolic link the file
// it leads to is replaced and the link kept. When target already existed the
// new file keeps its permissions, and with KeepTimes also its access and modification times.
// On any failure the temporary file is removed, target is left as it was, and the error is
// passed on.
enum class Keep { Permissions, PermissionsAndTimes };
void replaceFile(const QString& target, const std::function<void(const QString& temp)>& write,
                 Keep keep = Keep::Permissions);

// Gives file the permissions, and where this program may give it away the owner, of the
// regular file from (through links); nothing when from is no regular file.
void takeOwnerAndPermissions(const QString& file, const QString& from);

// Writes bytes as the whole of a new file at path (which replaceFile hands its writer).
void writeBytes(const QString& path, const char* bytes, qint64 size);

// The temporary name used beside a target while it is being written.
QString partName(const QString& target);

// folder/stem + suffix, or folder/stem-2 + suffix, -3, ... for the first name not yet taken.
QString unusedName(const QString& folder, const QString& stem, const QString& suffix);

// What errno says, for a message.
QString systemError(int error);

} // namespace perlinex::durable
