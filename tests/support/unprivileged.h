#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

// Permission tests mean nothing to the superuser, who passes every permission check, and the
// tests often run as root (CI does). There such a test runs again in a child process as the
// unprivileged user "nobody", so that its cases are tried everywhere.
namespace support {

inline constexpr uid_t kUnprivilegedId = 65534;

// True when this process may run a permission test itself: it is not the superuser. As the
// superuser, runs the current test in a child process as nobody (from a copy of this test
// program in a folder nobody can read, since the build tree may be in root's home), reports the
// child's failures here, and returns false: the caller then returns.
inline bool runsUnprivileged() {
    if (::geteuid() != 0)
        return true;
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const QString filter = QStringLiteral("%1.%2").arg(QString::fromUtf8(info->test_suite_name()),
                                                       QString::fromUtf8(info->name()));
    QTemporaryDir home(QDir::temp().filePath(QStringLiteral("perlinex-unprivileged-XXXXXX")));
    if (!home.isValid()) {
        ADD_FAILURE() << "no temporary folder for the unprivileged run";
        return false;
    }
    const QByteArray homePath = QFile::encodeName(home.path());
    const QString program = home.filePath(QStringLiteral("test-program"));
    if (::chown(homePath.constData(), kUnprivilegedId, kUnprivilegedId) != 0 ||
        !QFile::copy(QCoreApplication::applicationFilePath(), program) ||
        ::chmod(QFile::encodeName(program).constData(), 0755) != 0) {
        ADD_FAILURE() << "could not prepare the unprivileged run in " << homePath.constData();
        return false;
    }
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("TMPDIR"), home.path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    const QString id = QString::number(kUnprivilegedId);
    child.start(QStringLiteral("setpriv"),
                {QStringLiteral("--reuid=") + id, QStringLiteral("--regid=") + id,
                 QStringLiteral("--clear-groups"), QStringLiteral("--"), program,
                 QStringLiteral("--gtest_filter=") + filter, QStringLiteral("-platform"),
                 QStringLiteral("offscreen")});
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

} // namespace support

// Opens a permission test: as the superuser, the test runs as nobody in a child instead.
#define RUN_UNPRIVILEGED()                                                                         \
    if (!support::runsUnprivileged())                                                              \
    return
