#pragma once

#include <QIODevice>
#include <QString>
#include <functional>
#include <stdexcept>
#include <sys/types.h>
#include <vector>

// Files that are whole or absent: every new file is written under a temporary name beside
// its target, written to disk, and then renamed over the target in one step, so that a crash,
// a full disk or a killed program never leaves a half-written file under a real name.
namespace perlinex::durable {

class FileError : public std::runtime_error {
public:
    // CannotRead: the source of a copy is there but could not be read. Refused: a file the user
    // named that must not be written (see checkUserTarget); nothing was written.
    enum class Kind { DiskFull, NotFound, CannotRead, CannotWrite, Refused, Other };
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

// Copies a file; the target name only ever holds a whole copy (written as replaceOwnFile
// writes, for the program's own copies). A source that cannot be read
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
// passed on. The temporary file is made empty under a short name of its own (".perlinex-
// XXXXXXXX.part"), so that any name the user gives fits and no one else's file is touched.
enum class Keep { Permissions, PermissionsAndTimes };
void replaceFile(const QString& target, const std::function<void(const QString& temp)>& write,
                 Keep keep = Keep::Permissions);

// Gives file the permissions, and where this program may give it away the owner, of the
// regular file from (through links); nothing when from is no regular file.
void takeOwnerAndPermissions(const QString& file, const QString& from);

// As replaceFile, for the program's own files in a folder that only one program writes at a
// time (a collection's folder, under its lock): the temporary file is partName(target), which
// is removed first and which the next start removes when a killed program left it.
void replaceOwnFile(const QString& target, const std::function<void(const QString& temp)>& write,
                    Keep keep = Keep::Permissions);

// Files and folders that a file the user names must never replace: a collection's files, a
// layout being read. They are known by what they are, not by how they are spelt: a target
// that leads to one through symbolic links (on the file or on any folder of its path), or
// that is a hard link of one, is one of them.
class ProtectedFiles {
public:
    // A file, which need not exist yet; what names it for the user ("the collection
    // /home/ann/stamps/stamp.mdb").
    void addFile(const QString& path, const QString& what);
    // A folder and everything in it.
    void addFolder(const QString& path, const QString& what);
    void add(const ProtectedFiles& other);

    // Why target must not be written, for the user; empty when it is none of them.
    QString refusal(const QString& target) const;

private:
    struct Entry {
        QString path;     // as given, made absolute
        QString resolved; // where it leads
        QString what;
        bool folder = false;
        bool exists = false;
        dev_t device = 0;
        ino_t inode = 0;
    };
    std::vector<Entry> entries_;
};

// Throws FileError (Refused) when target, a file the user named, must not be written: one of
// keep's files or anything in its folders; an existing entry that is not a regular file (a
// folder, a device, a named pipe, a socket), which would be replaced by a file; or an existing
// file that is read-only (also to root: a file without any write permission), which would be
// replaced behind its owner's back.
void checkUserTarget(const QString& target, const ProtectedFiles& keep);

// checkUserTarget, then replaceFile: every writer of a file the user names goes through it.
void replaceUserFile(const QString& target, const ProtectedFiles& keep,
                     const std::function<void(const QString& temp)>& write);

// Where a path leads: symbolic links followed, on the file and on every folder of its path,
// as far as they lead; a name that does not exist is kept under its folder's real path.
QString resolvedPath(const QString& path);

// A file replaceFile hands its writer, as a device to write to: every write goes straight to
// the system, and a failed one keeps the system's reason, so that a full disk is told as such.
// Errors name the file the user knows (name), not the temporary one.
class OutputFile : public QIODevice {
public:
    OutputFile(const QString& path, const QString& name);
    ~OutputFile() override;
    // Opens the file empty for writing; throws FileError.
    void open();
    // Closes it; throws FileError when any write or the close failed.
    void finish();
    // Throws the FileError of the first failed write (or a general one when none failed).
    [[noreturn]] void fail() const;
    bool failed() const { return error_ != 0; }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override;

private:
    QString path_;
    QString name_;
    int fd_ = -1;
    int error_ = 0;
};

// Writes bytes as the whole of a new file at path (which replaceFile hands its writer).
void writeBytes(const QString& path, const char* bytes, qint64 size);

// A filter (for QDir::entryList) that matches the temporary names replaceFile gives; only
// where no other program writes (under the collection's lock) may a match be taken for a
// leftover of a killed program.
QString tempNameFilter();

// The fixed temporary name beside a target of replaceOwnFile and keepCopy.
QString partName(const QString& target);

// folder/stem + suffix, or folder/stem-2 + suffix, -3, ... for the first name not yet taken.
QString unusedName(const QString& folder, const QString& stem, const QString& suffix);

// What errno says, for a message.
QString systemError(int error);

} // namespace perlinex::durable
