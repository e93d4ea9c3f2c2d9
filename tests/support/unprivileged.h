#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>
#include <grp.h>
#include <gtest/gtest.h>
#include <unistd.h>
#include <utility>

// Permission cases hold only for a user the permission bits bind: the superuser writes into a
// read-only file. So a case runs as a user without privileges: as root (as CI runs), the user
// nobody; as anyone else, that user, for whom the bits bind already.
namespace unprivileged {

inline constexpr unsigned NobodyId = 65534;

inline bool asRoot() {
    return ::geteuid() == 0;
}

// The program and arguments that run program with args as that user.
inline std::pair<QString, QStringList> command(const QString& program, const QStringList& args) {
    if (!asRoot())
        return {program, args};
    return {QStringLiteral("setpriv"), QStringList{QStringLiteral("--reuid=%1").arg(NobodyId),
                                                   QStringLiteral("--regid=%1").arg(NobodyId),
                                                   QStringLiteral("--clear-groups"), program} +
                                           args};
}

// The program as that user can start it: as root, a copy in folder, which that user can reach
// (the build tree may lie where it cannot, such as under /root).
inline QString reachableCopy(const QString& program, const QString& folder) {
    if (!asRoot())
        return program;
    const QString copy = QDir(folder).filePath(QFileInfo(program).fileName());
    QFile::remove(copy);
    QFile::copy(program, copy);
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                    QFile::ReadUser | QFile::WriteUser | QFile::ExeUser |
                                    QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                    QFile::ExeOther);
    return copy;
}

// Makes this process that user; for a forked child only. False when that failed.
inline bool becomeUnprivileged() {
    if (!asRoot())
        return true;
    return ::setgroups(0, nullptr) == 0 && ::setgid(NobodyId) == 0 && ::setuid(NobodyId) == 0;
}

// Takes the write bits off a file, or off a folder and everything in it.
inline void makeReadOnly(const QString& path) {
    const auto strip = [](const QString& p) {
        QFile::setPermissions(p, QFile::permissions(p) & ~(QFile::WriteOwner | QFile::WriteUser |
                                                           QFile::WriteGroup | QFile::WriteOther));
    };
    if (QFileInfo(path).isDir()) {
        QDirIterator it(path, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            strip(it.next());
    }
    strip(path);
}

// Lets everyone read (and, with writable, write) a file or folder: what the user of the cases
// needs of the files a test made.
inline void openToAll(const QString& path, bool writable) {
    QFile::Permissions p = QFile::ReadOwner | QFile::ReadUser | QFile::ReadGroup |
                           QFile::ReadOther | QFile::WriteOwner | QFile::WriteUser;
    if (QFileInfo(path).isDir())
        p |= QFile::ExeOwner | QFile::ExeUser | QFile::ExeGroup | QFile::ExeOther;
    if (writable)
        p |= QFile::WriteGroup | QFile::WriteOther;
    QFile::setPermissions(path, p);
}

// Gives the owner back the write bits of a folder and everything in it, so that it can be
// removed.
inline void restoreWriting(const QString& path) {
    QFile::setPermissions(path, QFile::permissions(path) | QFile::WriteOwner | QFile::WriteUser);
    QDirIterator it(path, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString p = it.next();
        QFile::setPermissions(p, QFile::permissions(p) | QFile::WriteOwner | QFile::WriteUser);
    }
}

// The environment of a child run as that user: a home in folder that it can write, and the
// leak checker's suppressions, when they are set, copied where it can read them.
inline QProcessEnvironment environmentIn(const QString& folder) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QString home = QDir(folder).filePath(QStringLiteral("home"));
    QDir().mkpath(home);
    openToAll(home, true);
    environment.insert(QStringLiteral("HOME"), home);
    environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    static const QRegularExpression suppressions(QStringLiteral("suppressions=([^:]+)"));
    QString leaks = environment.value(QStringLiteral("LSAN_OPTIONS"));
    const QRegularExpressionMatch m = suppressions.match(leaks);
    if (m.hasMatch()) {
        const QString copy = QDir(folder).filePath(QStringLiteral("lsan.supp"));
        QFile::remove(copy);
        QFile::copy(m.captured(1), copy);
        openToAll(copy, false);
        leaks.replace(m.capturedStart(1), m.capturedLength(1), copy);
        environment.insert(QStringLiteral("LSAN_OPTIONS"), leaks);
    }
    return environment;
}

// True when this process may run a permission test itself: it is not the superuser. As the
// superuser, runs the current test in a child process as nobody instead, reports the child's
// failures here, and returns false: the caller then returns.
inline bool runsHere() {
    if (!asRoot())
        return true;
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const QString filter = QStringLiteral("%1.%2").arg(QString::fromUtf8(info->test_suite_name()),
                                                       QString::fromUtf8(info->name()));
    QTemporaryDir folder(QDir::temp().filePath(QStringLiteral("perlinex-unprivileged-XXXXXX")));
    if (!folder.isValid()) {
        ADD_FAILURE() << "no temporary folder for the unprivileged run";
        return false;
    }
    openToAll(folder.path(), false);
    QProcessEnvironment environment = environmentIn(folder.path());
    const QString home = environment.value(QStringLiteral("HOME"));
    environment.insert(QStringLiteral("TMPDIR"), home);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    const QString program = reachableCopy(QCoreApplication::applicationFilePath(), folder.path());
    const auto [command, arguments] =
        unprivileged::command(program, {QStringLiteral("--gtest_filter=") + filter,
                                        QStringLiteral("-platform"), QStringLiteral("offscreen")});
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(command, arguments);
    if (!child.waitForStarted(30000) || !child.waitForFinished(600000)) {
        ADD_FAILURE() << "the unprivileged run of " << filter.toStdString() << " did not end";
        return false;
    }
    const QByteArray said = child.readAll();
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << said.constData();
    EXPECT_EQ(child.exitCode(), 0) << said.constData();
    // A run that found no test, or skipped it, proves nothing.
    EXPECT_TRUE(said.contains("[  PASSED  ] 1 test.")) << said.constData();
    return false;
}

} // namespace unprivileged

// Opens a permission test: as the superuser, the test runs as nobody in a child instead.
#define RUN_UNPRIVILEGED()                                                                         \
    if (!unprivileged::runsHere())                                                                 \
    return
