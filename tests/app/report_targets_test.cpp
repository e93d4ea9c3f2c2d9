#include "command_support.h"
#include "custom/fieldcatalogue.h"
#include "custom/layout.h"
#include "custom/layoutfile.h"
#include "db/catalogue.h"
#include "db/sqlite/cataloguefile.h"
#include "db/sqlite/folderlock.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

// Where `perlinex report` may write: never over a file of the collection or the layout being
// read, never over something that is not a regular file or is read-only; any name the user
// gives fits, another program's files beside it stay, and a full disk is said.
using namespace perlinex;

namespace {

void writeBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

// Every entry under a folder, links not followed: its kind, and a regular file's bytes or a
// link's target. Equal snapshots mean nothing was changed, added or left behind.
QMap<QString, QByteArray> snapshot(const QString& folder) {
    QMap<QString, QByteArray> entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        struct stat st {};
        if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
            continue;
        QByteArray what = QByteArray::number(st.st_mode & S_IFMT) + ':';
        if (S_ISREG(st.st_mode))
            what += bytesOf(path);
        else if (S_ISLNK(st.st_mode))
            what += QFile::encodeName(QFileInfo(path).symLinkTarget());
        entries.insert(QDir(folder).relativeFilePath(path), what);
    }
    return entries;
}

// A collection in "c" with a picture, a layout file of the stamps' descriptions in "out",
// where the reports go.
class ReportTargets : public TempFolderTest {
public:
    QString app, pictures, out, layout;

    void SetUp() override {
        TempFolderTest::SetUp();
        app = path(QStringLiteral("c"));
        pictures = QDir(app).filePath(QStringLiteral("images"));
        out = path(QStringLiteral("out"));
        ASSERT_EQ(run({QStringLiteral("generate"), app, QStringLiteral("--stamps"),
                       QStringLiteral("300")})
                      .status,
                  0);
        writeBytes(QDir(pictures).filePath(QStringLiteral("x.jpg")), "a picture");
        QDir().mkpath(out);
        layout = QDir(out).filePath(QStringLiteral("list.rpt"));
        custom::Layout l = custom::Layout::defaults(catalogue().offeredFor(QStringLiteral("stamp")),
                                                    QStringLiteral("stamp"));
        l.fields = {1}; // the description
        l.target = custom::Target::TextFile;
        writeBytes(layout, custom::writeLayout(l));
    }

    custom::FieldCatalogue catalogue() const {
        const auto spec = db::openCatalogue(app);
        custom::FieldCatalogue c = custom::FieldCatalogue::read(*spec);
        spec->close();
        return c;
    }
    QString inOut(const char* name) const { return QDir(out).filePath(QString::fromLatin1(name)); }
    QString inApp(const char* name) const { return QDir(app).filePath(QString::fromLatin1(name)); }

    // The command with its arguments; "LAYOUT" stands for the layout file.
    Outcome report(QStringList args, const QString& output) {
        args.replaceInStrings(QStringLiteral("LAYOUT"), layout);
        return run(
            QStringList{QStringLiteral("report")} + args +
            QStringList{QStringLiteral("--output"), output, QStringLiteral("--folder"), app});
    }
};

const QStringList kText{"value", "--to", "text"};
const QStringList kHtml{"value", "--to", "html"};
const QStringList kPdf{"value", "--to", "pdf"};
const QStringList kLayoutText{"--layout", "LAYOUT", "--to", "text"};
const QStringList kLayoutHtml{"--layout", "LAYOUT", "--to", "html"};

struct Refusal {
    const char* name;
    // Makes the target and returns the name given to --output.
    std::function<QString(const ReportTargets&)> target;
    QStringList command;
    const char* told;
};

void PrintTo(const Refusal& r, std::ostream* os) {
    *os << r.name;
}

class RefusedTarget : public ReportTargets, public ::testing::WithParamInterface<Refusal> {};

void link(const QString& to, const QString& name) {
    ASSERT_TRUE(QFile::link(to, name)) << name.toStdString();
}

void hardLink(const QString& to, const QString& name) {
    ASSERT_EQ(::link(QFile::encodeName(to).constData(), QFile::encodeName(name).constData()), 0);
}

QString makeSocket(const QString& name) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray native = QFile::encodeName(name);
    EXPECT_LT(size_t(native.size()), sizeof(address.sun_path));
    std::memcpy(address.sun_path, native.constData(), size_t(native.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    EXPECT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
    ::close(fd);
    return name;
}

const Refusal kRefusals[] = {
    {"TheCollection", [](const ReportTargets& t) { return t.inApp("stamp.mdb"); }, kText,
     "is the collection"},
    {"TheFieldCatalogue", [](const ReportTargets& t) { return t.inApp("rptspec.mdb"); }, kHtml,
     "is the field catalogue"},
    {"APicture", [](const ReportTargets& t) { return t.inApp("images/x.jpg"); }, kPdf,
     "is in the collection's pictures folder"},
    {"ANewFileAmongThePictures", [](const ReportTargets& t) { return t.inApp("images/new.txt"); },
     kLayoutText, "is in the collection's pictures folder"},
    {"TheLock",
     [](const ReportTargets& t) { return db::FolderLock::lockFileOf(t.inApp("stamp.mdb")); }, kText,
     "is the collection's lock file"},
    {"TheCompactionCopy", [](const ReportTargets& t) { return t.inApp("stampdb.bak"); },
     kLayoutHtml, "kept by the last compaction"},
    {"ALinkToTheCollection",
     [](const ReportTargets& t) {
         link(t.inApp("stamp.mdb"), t.inOut("mine.txt"));
         return t.inOut("mine.txt");
     },
     kText, "leads to the collection"},
    {"APathThroughALinkedFolder",
     [](const ReportTargets& t) {
         link(t.app, t.inOut("folder"));
         return t.inOut("folder/rptspec.mdb");
     },
     kPdf, "leads to the field catalogue"},
    {"AHardLinkOfTheCollection",
     [](const ReportTargets& t) {
         hardLink(t.inApp("stamp.mdb"), t.inOut("copy.txt"));
         return t.inOut("copy.txt");
     },
     kLayoutText, "a hard link) for the collection"},
    {"AHardLinkOfAPicture",
     [](const ReportTargets& t) {
         hardLink(t.inApp("images/x.jpg"), t.inOut("picture.txt"));
         return t.inOut("picture.txt");
     },
     kText, "a hard link) for a file in the collection's pictures folder"},
    {"APictureWhereTheLinkedPicturesFolderLeads",
     [](const ReportTargets& t) {
         const QString elsewhere = t.inOut("pictures");
         EXPECT_TRUE(QDir().rename(t.inApp("images"), elsewhere));
         link(elsewhere, t.inApp("images"));
         return t.inOut("pictures/x.jpg");
     },
     kHtml, "leads into the collection's pictures folder"},
    {"TheLayoutBeingRead", [](const ReportTargets& t) { return t.layout; }, kLayoutText,
     "is the layout file being read"},
    {"AFifo",
     [](const ReportTargets& t) {
         EXPECT_EQ(::mkfifo(QFile::encodeName(t.inOut("fifo")).constData(), 0644), 0);
         return t.inOut("fifo");
     },
     kText, "is a named pipe (FIFO), not a regular file"},
    {"ASocket", [](const ReportTargets& t) { return makeSocket(t.inOut("socket")); }, kHtml,
     "is a socket, not a regular file"},
    {"AFolder",
     [](const ReportTargets& t) {
         QDir().mkpath(t.inOut("folder.txt"));
         return t.inOut("folder.txt");
     },
     kLayoutText, "is a folder, not a regular file"},
    // No write permission at all: read-only to root as well.
    {"AReadOnlyFile",
     [](const ReportTargets& t) {
         writeBytes(t.inOut("kept.txt"), "keep me");
         QFile::setPermissions(t.inOut("kept.txt"), QFile::ReadOwner | QFile::ReadOther);
         return t.inOut("kept.txt");
     },
     kText, "is read-only"},
};

} // namespace

TEST_P(RefusedTarget, ExitsWithOneAndChangesNothing) {
    const Refusal& r = GetParam();
    const QString target = r.target(*this);
    const auto collectionBefore = snapshot(app);
    const auto outBefore = snapshot(out);

    const Outcome o = report(r.command, target);
    EXPECT_EQ(o.status, 1);
    EXPECT_TRUE(o.err.contains(QString::fromLatin1(r.told))) << o.err.toStdString();
    EXPECT_TRUE(o.out.isEmpty()) << o.out.toStdString();
    EXPECT_EQ(snapshot(app), collectionBefore);
    EXPECT_EQ(snapshot(out), outBefore);
}

INSTANTIATE_TEST_SUITE_P(ReportTargets, RefusedTarget, ::testing::ValuesIn(kRefusals),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ReportTargets, ADashSendsTextAndHtmlToStandardOutputAndRefusesAPdf) {
    for (const QStringList& command : {kText, kHtml, kLayoutText, kLayoutHtml}) {
        SCOPED_TRACE(command.join(u' ').toStdString());
        ASSERT_EQ(report(command, inOut("file")).status, 0);
        const Outcome o = report(command, QStringLiteral("-"));
        EXPECT_EQ(o.status, 0) << o.err.toStdString();
        EXPECT_EQ(o.out, QString::fromUtf8(bytesOf(inOut("file"))));
        EXPECT_TRUE(o.err.isEmpty()) << o.err.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("-")));

    // A PDF, asked for or the layout's own target, is a wrong argument.
    custom::Layout onScreen =
        *custom::readLayout(bytesOf(layout), catalogue(), QStringLiteral("stamp")).layout;
    onScreen.target = custom::Target::Screen;
    writeBytes(layout, custom::writeLayout(onScreen));
    for (const QStringList& command : {kPdf, QStringList{"--layout", "LAYOUT", "--to", "pdf"},
                                       QStringList{"--layout", "LAYOUT"}}) {
        const Outcome o = report(command, QStringLiteral("-"));
        EXPECT_EQ(o.status, 2) << command.join(u' ').toStdString();
        EXPECT_TRUE(o.err.contains(QStringLiteral("cannot go to standard output")))
            << o.err.toStdString();
        EXPECT_TRUE(o.out.isEmpty());
    }
    EXPECT_TRUE(run({QStringLiteral("--help")}).out.contains(QStringLiteral("--output -")));
}

TEST_F(ReportTargets, TheLongestNameFitsAndAnotherProgramsPartFileStays) {
    // 255 bytes, the most a name may have; a temporary name made from it would not fit.
    const QString stem(251, QLatin1Char('n'));
    const struct {
        QStringList command;
        const char* suffix;
    } cases[] = {{kText, ".txt"}, {kHtml, ".htm"}, {kPdf, ".pdf"}, {kLayoutText, ".txt"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command.join(u' ').toStdString());
        const QString name = QDir(out).filePath(stem + QLatin1String(c.suffix));
        const Outcome o = report(c.command, name);
        EXPECT_EQ(o.status, 0) << o.err.toStdString();
        EXPECT_GT(QFileInfo(name).size(), 0);

        const QString shortName = inOut("value") + QLatin1String(c.suffix);
        const QString theirs = shortName + QStringLiteral(".part");
        writeBytes(theirs, "someone else's");
        EXPECT_EQ(report(c.command, shortName).status, 0);
        EXPECT_GT(QFileInfo(shortName).size(), 0);
        EXPECT_EQ(bytesOf(theirs), "someone else's");
    }
    // Nothing of ours is left beside them.
    for (const QString& entry : QDir(out).entryList(QDir::Files | QDir::Hidden))
        EXPECT_FALSE(entry.startsWith(QLatin1Char('.'))) << entry.toStdString();
}

TEST_F(ReportTargets, AFullDiskIsSaidAndLeavesTheOldFile) {
    for (const QStringList& command : {kText, kHtml, kPdf, kLayoutHtml}) {
        SCOPED_TRACE(command.join(u' ').toStdString());
        const QString target = inOut("report");
        writeBytes(target, "the old report");
        const auto before = snapshot(out);
        QStringList args = QStringList{QStringLiteral("report")} + command +
                           QStringList{"--output", target, "--folder", app};
        args.replaceInStrings(QStringLiteral("LAYOUT"), layout);
        QProcess shell;
        // 4 KB: the reports of 300 stamps need more.
        shell.start(QStringLiteral("sh"),
                    QStringList{"-c", "ulimit -f 4; exec \"$0\" \"$@\"", PERLINEX_PROGRAM} + args);
        ASSERT_TRUE(shell.waitForFinished(-1));
        EXPECT_EQ(shell.exitStatus(), QProcess::NormalExit) << "killed by the limit";
        EXPECT_EQ(shell.exitCode(), 1);
        const QString said = QString::fromUtf8(shell.readAllStandardError());
        EXPECT_TRUE(said.contains(QStringLiteral("there is not enough space on the disk")))
            << said.toStdString();
        EXPECT_EQ(snapshot(out), before);
    }
}

TEST_F(ReportTargets, AnotherUsersFileIsNotReplacedThroughAWritableFolder) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "an unprivileged child is started from root; AReadOnlyFile covers the rest";
    // The child, user nobody, may write in "shared" but not the file root made there.
    const QString shared = path(QStringLiteral("shared"));
    const QString program = path(QStringLiteral("perlinex"));
    ASSERT_TRUE(QDir().mkpath(shared));
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(shared).constData(), 0777), 0);
    ASSERT_TRUE(QFile::copy(QStringLiteral(PERLINEX_PROGRAM), program));
    const auto asNobody = [&](const QStringList& args) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), shared);
        child.setProcessEnvironment(env);
        child.start(QStringLiteral("setpriv"),
                    QStringList{"--reuid=65534", "--regid=65534", "--clear-groups", program} +
                        args);
        EXPECT_TRUE(child.waitForFinished(-1));
        return Outcome{child.exitCode(), QString::fromUtf8(child.readAllStandardOutput()),
                       QString::fromUtf8(child.readAllStandardError())};
    };
    const QString collection = QDir(shared).filePath(QStringLiteral("c"));
    const Outcome made = asNobody({"generate", collection, "--stamps", "5"});
    ASSERT_EQ(made.status, 0) << made.err.toStdString();
    const QString theirs = QDir(shared).filePath(QStringLiteral("roots.txt"));
    writeBytes(theirs, "root's own");

    const Outcome o =
        asNobody({"report", "value", "--to", "text", "--output", theirs, "--folder", collection});
    EXPECT_EQ(o.status, 1);
    EXPECT_TRUE(o.err.contains(QStringLiteral("is read-only"))) << o.err.toStdString();
    EXPECT_EQ(bytesOf(theirs), "root's own");
    EXPECT_EQ(QFileInfo(theirs).ownerId(), 0u);
}
