// How the commands reach a collection, tried as a user does from a shell: the program itself
// runs as a child, beside a real second program.
#include "reliability_support.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"
#include "support/unprivileged.h"

#include "custom/fieldcatalogue.h"
#include "custom/layout.h"
#include "custom/layoutfile.h"
#include "db/catalogue.h"
#include "db/sqlite/cataloguefile.h"
#include "db/sqlite/collectionfile.h"
#include "ui/errorhandler.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

using namespace reliability;

namespace {

const QString kProgram = QStringLiteral(PERLINEX_PROGRAM);
const QString kWriter = QStringLiteral(PERLINEX_STORE_WRITER);

struct Outcome {
    int status = -1;
    QString out;
    QString err;
};

Outcome
runChild(const QString& program, const QStringList& args,
         const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    QProcess child;
    child.setProcessEnvironment(environment);
    child.start(program, args);
    child.closeWriteChannel();
    if (!child.waitForFinished(120000)) {
        child.kill();
        child.waitForFinished();
        return {-1, QString(), QStringLiteral("did not finish")};
    }
    return {child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1,
            QString::fromUtf8(child.readAllStandardOutput()),
            QString::fromUtf8(child.readAllStandardError())};
}

std::ostream& operator<<(std::ostream& os, const Outcome& o) {
    return os << "status " << o.status << "\nout: " << o.out.toStdString()
              << "\nerr: " << o.err.toStdString();
}

// A second program (see store_writer.cpp), running until it is let go or killed.
class SecondProgram {
public:
    SecondProgram(const QString& target, const char* mode) {
        process_.start(kWriter, {target, QString::fromLatin1(mode)});
        while (!process_.canReadLine() && process_.waitForReadyRead(10000)) {
        }
        said_ = QString::fromUtf8(process_.readLine()).trimmed();
    }
    ~SecondProgram() {
        process_.closeWriteChannel();
        if (!process_.waitForFinished(10000))
            kill();
    }
    SecondProgram(const SecondProgram&) = delete;
    SecondProgram& operator=(const SecondProgram&) = delete;
    const QString& said() const { return said_; }
    void kill() {
        process_.kill();
        process_.waitForFinished(10000);
    }

private:
    QProcess process_;
    QString said_;
};

// A layout of the stamps' descriptions and quantities, for report --layout; the catalogue it
// is made from is kept in scratch.
QString writeLayoutFile(const QString& file, const QString& scratch) {
    QDir().mkpath(scratch);
    const auto catalogue = perlinex::custom::FieldCatalogue::read(*db::openCatalogue(scratch));
    auto layout = perlinex::custom::Layout::defaults(catalogue, QStringLiteral("stamp"));
    layout.fields = {1, 7};
    layout.target = perlinex::custom::Target::TextFile;
    writeFile(file, perlinex::custom::writeLayout(layout));
    return file;
}

QStringList damagedCopiesIn(const QString& folder) {
    return QDir(folder).entryList({QStringLiteral("stamp-damaged-*")});
}

} // namespace

// stamp.mdb is a link into another folder; a window holds the collection.
class LinkedCollectionHeld : public TempFolderTest {
protected:
    QString app, data, real, layout, out;
    void SetUp() override {
        TempFolderTest::SetUp();
        app = path(QStringLiteral("app"));
        data = path(QStringLiteral("data"));
        out = path(QStringLiteral("out"));
        QDir().mkpath(app);
        QDir().mkpath(out);
        real = QDir(data).filePath(QStringLiteral("mine.mdb"));
        ASSERT_TRUE(QFile::rename(makeCollection(data, 40), real));
        ASSERT_TRUE(QFile::link(QStringLiteral("../data/mine.mdb"),
                                QDir(app).filePath(QStringLiteral("stamp.mdb"))));
        db::openCatalogue(app)->close();
        layout = writeLayoutFile(path(QStringLiteral("mine.rpt")), path(QStringLiteral("scratch")));
    }
};

TEST_F(LinkedCollectionHeld, EveryCommandIsRefusedAsInUseAndChangesNothing) {
    SecondProgram window(app, "--window");
    ASSERT_EQ(window.said(), QStringLiteral("open"));
    const QByteArray before = fileBytes(real);
    const QStringList dataBefore = entriesOf(data);

    const QStringList commands[] = {
        {QStringLiteral("check"), app},
        {QStringLiteral("repair"), app, QStringLiteral("--yes")},
        {QStringLiteral("report"), QStringLiteral("value"), QStringLiteral("--to"),
         QStringLiteral("text"), QStringLiteral("--output"), QDir(out).filePath("value.txt"),
         QStringLiteral("--folder"), app},
        {QStringLiteral("report"), QStringLiteral("--layout"), layout, QStringLiteral("--output"),
         QDir(out).filePath("layout.txt"), QStringLiteral("--folder"), app},
        {QStringLiteral("new"), app},
        {QStringLiteral("generate"), app, QStringLiteral("--stamps"), QStringLiteral("3")},
    };
    for (const QStringList& args : commands) {
        SCOPED_TRACE(args.join(QLatin1Char(' ')).toStdString());
        const Outcome o = runChild(kProgram, args);
        EXPECT_EQ(o.status, 1) << o;
        EXPECT_TRUE(o.err.contains(QLatin1String("in use"))) << o;
        EXPECT_TRUE(o.err.contains(QLatin1String("another Perlinex program"))) << o;
    }
    EXPECT_EQ(fileBytes(real), before);
    EXPECT_EQ(entriesOf(data), dataBefore);
    EXPECT_EQ(entriesOf(out), QStringList());
    EXPECT_TRUE(QFileInfo(QDir(app).filePath(QStringLiteral("stamp.mdb"))).isSymLink());
}

// A child killed in the middle of a store leaves the engine's rollback journal: the collection
// is whole once that store is undone, and no command calls it damaged.
TEST(StoreCutShort, IsUndoneAndTheCollectionIsWholeForEveryCommand) {
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out"));
    QDir().mkpath(out);
    const QStringList commands[] = {
        {QStringLiteral("check")},
        {QStringLiteral("repair"), QStringLiteral("--yes")},
        {QStringLiteral("report"), QStringLiteral("value"), QStringLiteral("--to"),
         QStringLiteral("text"), QStringLiteral("--output"), QDir(out).filePath("value.txt"),
         QStringLiteral("--folder")},
    };
    static const QByteArray journalMagic("\xd9\xd5\x05\xf9\x20\xa1\x63\xd7", 8);
    int run = 0;
    for (const QStringList& command : commands) {
        SCOPED_TRACE(command.join(QLatin1Char(' ')).toStdString());
        const QString folder = dir.filePath(QStringLiteral("c%1").arg(run++));
        const QString dbPath = makeCollection(folder, 30);
        const QStringList before = stampsOf(dbPath);
        {
            SecondProgram writer(folder, "--cut-short");
            ASSERT_EQ(writer.said(), QStringLiteral("storing"));
            writer.kill();
        }
        ASSERT_TRUE(fileBytes(dbPath + QStringLiteral("-journal")).startsWith(journalMagic));

        const Outcome o = runChild(kProgram, command + QStringList{folder});
        EXPECT_EQ(o.status, 0) << o;
        EXPECT_TRUE(o.err.contains(QLatin1String("stopped in the middle of a store"))) << o;
        EXPECT_TRUE(o.err.contains(QLatin1String("undone"))) << o;
        EXPECT_FALSE(o.out.contains(QLatin1String("damaged"))) << o;
        EXPECT_EQ(damagedCopiesIn(folder), QStringList());
        EXPECT_FALSE(QFileInfo::exists(dbPath + QStringLiteral("-journal")));
        EXPECT_EQ(stampsOf(dbPath), before);
        const Outcome again = runChild(kProgram, {QStringLiteral("check"), folder});
        EXPECT_EQ(again.status, 0) << again;
        EXPECT_TRUE(again.err.isEmpty()) << again;
    }
}

namespace {

struct Holder {
    const char* name;
    const char* mode;
    bool atFolder; // the holder is given the folder (else the collection file)
    const char* told;
    const char* notTold;
};

const Holder kHolders[] = {
    {"AnotherProgram", "--reading", false, "in use by another program", "Perlinex"},
    {"Perlinex", "--window", true, "another Perlinex program", "in use by another program"},
};

class InUse : public TempFolderTest, public ::testing::WithParamInterface<Holder> {};

} // namespace

// The refusal names what is known: Perlinex only when the folder's lock says so.
TEST_P(InUse, TheRefusalNamesWhatHoldsTheCollection) {
    const Holder& h = GetParam();
    const QString folder = path(QStringLiteral("app"));
    const QString dbPath = makeCollection(folder, 10);
    SecondProgram holder(h.atFolder ? folder : dbPath, h.mode);
    ASSERT_TRUE(holder.said() == QLatin1String("reading") || holder.said() == QLatin1String("open"))
        << holder.said().toStdString();

    const Outcome o = runChild(kProgram, {QStringLiteral("report"), QStringLiteral("value"),
                                          QStringLiteral("--to"), QStringLiteral("text"),
                                          QStringLiteral("--output"), path("value.txt"),
                                          QStringLiteral("--folder"), folder});
    EXPECT_EQ(o.status, 1) << o;
    EXPECT_TRUE(o.err.contains(QLatin1String(h.told))) << o;
    EXPECT_FALSE(o.err.contains(QLatin1String(h.notTold))) << o;
    EXPECT_FALSE(QFileInfo::exists(path("value.txt")));

    // The window's way in, in this process, keeps the number the error handler knows.
    ScriptedDialogs dialogs;
    perlinex::ProgramState state(dialogs);
    state.AppFolder = folder;
    try {
        state.lockFolder();
        state.openCollection();
        ADD_FAILURE() << "opened a collection another program holds";
    } catch (const db::DbError& e) {
        EXPECT_EQ(e.number(), db::err::FileInUse);
        EXPECT_TRUE(e.text().contains(QLatin1String(h.told))) << e.text().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Holders, InUse, ::testing::ValuesIn(kHolders),
                         [](const auto& info) { return std::string(info.param.name); });

namespace {

// How a collection is read-only for the user the cases run as.
enum class ReadOnlyKind { Folder, File };

class ReadOnlyCollection : public ::testing::TestWithParam<ReadOnlyKind> {
protected:
    QTemporaryDir dir;
    QString base, folder, dbPath, empty, out, layout, program;
    QProcessEnvironment environment;

    QString at(const char* name) const { return QDir(base).filePath(QString::fromLatin1(name)); }

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        base = dir.path();
        unprivileged::openToAll(base, false);
        folder = at("stamps");
        dbPath = makeCollection(folder, 25);
        empty = at("empty");
        out = at("out");
        QDir().mkpath(empty);
        QDir().mkpath(out);
        unprivileged::openToAll(out, true);
        environment = unprivileged::environmentIn(base);
        layout = writeLayoutFile(at("mine.rpt"), at("scratch"));
        program = unprivileged::reachableCopy(kProgram, base);
        unprivileged::makeReadOnly(empty);
        if (GetParam() == ReadOnlyKind::Folder) {
            unprivileged::makeReadOnly(folder);
        } else {
            unprivileged::openToAll(folder, true);
            unprivileged::makeReadOnly(dbPath);
        }
    }
    void TearDown() override { unprivileged::restoreWriting(base); }

    Outcome perlinexAsUser(const QStringList& args) {
        const auto [command, arguments] = unprivileged::command(program, args);
        return runChild(command, arguments, environment);
    }
};

std::string kindName(const ::testing::TestParamInfo<ReadOnlyKind>& info) {
    return info.param == ReadOnlyKind::Folder ? "ReadOnlyFolder" : "ReadOnlyFile";
}

} // namespace

// Commands that only read work on a collection that cannot be changed; those that would change
// it are refused with the reason; the collection is left as it was.
TEST_P(ReadOnlyCollection, ReadingCommandsWorkAndChangingOnesAreRefused) {
    const QMap<QString, QByteArray> before = folderContents(folder);
    const QStringList entriesBefore = entriesOf(folder);
    struct Case {
        QStringList args;
        int status;
        const char* said;
        QString written; // the file a report writes
    };
    const Case cases[] = {
        {{QStringLiteral("check"), folder}, 0, "is whole", QString()},
        {{QStringLiteral("report"), QStringLiteral("value"), QStringLiteral("--to"),
          QStringLiteral("html"), QStringLiteral("--output"), QDir(out).filePath("value.htm"),
          QStringLiteral("--folder"), folder},
         0,
         "(25 stamps)",
         QDir(out).filePath("value.htm")},
        {{QStringLiteral("report"), QStringLiteral("--layout"), layout, QStringLiteral("--output"),
          QDir(out).filePath("layout.txt"), QStringLiteral("--folder"), folder},
         0,
         "(25 stamps)",
         QDir(out).filePath("layout.txt")},
        {{QStringLiteral("repair"), folder, QStringLiteral("--yes")},
         1,
         "cannot be changed",
         QString()},
        {{QStringLiteral("new"), empty}, 1, "cannot be made", QString()},
        {{QStringLiteral("generate"), empty, QStringLiteral("--stamps"), QStringLiteral("3")},
         1,
         "cannot be made",
         QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        const Outcome o = perlinexAsUser(c.args);
        EXPECT_EQ(o.status, c.status) << o;
        EXPECT_TRUE((c.status == 0 ? o.out : o.err).contains(QLatin1String(c.said))) << o;
        if (!c.written.isEmpty()) {
            EXPECT_GT(QFileInfo(c.written).size(), 0) << c.written.toStdString();
        }
    }
    // A read-only file's writable folder may gain the lock file and the field catalogue.
    QMap<QString, QByteArray> after = folderContents(folder);
    QStringList entries = entriesOf(folder);
    for (const QString& made : {QStringLiteral("stamp.mdb.lock"), QStringLiteral("rptspec.mdb")}) {
        after.remove(made);
        entries.removeAll(made);
    }
    EXPECT_EQ(after, before);
    EXPECT_EQ(entries, entriesBefore);
    EXPECT_EQ(entriesOf(empty), QStringList());
}

INSTANTIATE_TEST_SUITE_P(Kinds, ReadOnlyCollection,
                         ::testing::Values(ReadOnlyKind::Folder, ReadOnlyKind::File), kindName);
