#pragma once

#include <QString>
#include <stdexcept>

namespace perlinex::db {

// The numbered errors the store reports. The common error handler treats a few of them
// specially; every other number is reported with its text.
namespace err {
constexpr int Overflow = 6;
constexpr int NoDatabase = 91;
constexpr int Interrupted = 3009;
constexpr int UpdateWithoutEdit = 3020;
constexpr int NoCurrentRecord = 3021;
constexpr int FileNotFound = 3024;
constexpr int DuplicateKey = 3022; // a second row with the same value in a unique index
constexpr int DiskFull = 3026;
constexpr int ReadOnly = 3027;
constexpr int DiskError = 3040;
constexpr int InvalidPath = 3044;
constexpr int FileInUse = 3045;
constexpr int DamagedFile = 3049;
constexpr int CannotOpen = 3051;
constexpr int SyntaxError = 3075;
constexpr int TableMissing = 3078;
constexpr int FieldTooSmall = 3163;
constexpr int RecordDeleted = 3167;
constexpr int ServerError = 3146;       // the server refused a statement; its message says why
constexpr int ServerUnreachable = 3151; // no connection to the server, or it was lost
constexpr int ChangedElsewhere = 3197;  // another program stored the row since it was read
constexpr int LockedRow = 3168;
constexpr int NotSupported = 3251;
constexpr int LockedRow2 = 3260;
constexpr int FieldMissing = 3265;
constexpr int NullNotAllowed = 3314;
constexpr int ValidationFailed = 3316;
constexpr int NotACollection = 3343;
constexpr int NewerVersion = 3344;
constexpr int ObjectInvalid = 3420;
constexpr int TypeMismatch = 3421;
constexpr int TooManyRows = 3624; // a table's counter has handed out its largest number
constexpr int DialogCancelled = 32755;
} // namespace err

// Every failure of the store: a number the error handler understands, a text in the user's
// words, and the statement that failed, which is for the log and never shown.
class DbError : public std::runtime_error {
public:
    DbError(int number, const QString& text, const QString& statement = QString())
        : std::runtime_error(text.toStdString()), number_(number), text_(text),
          statement_(statement) {}
    int number() const { return number_; }
    const QString& text() const { return text_; }
    const QString& statement() const { return statement_; }

private:
    int number_;
    QString text_;
    QString statement_;
};

} // namespace perlinex::db
