#include "app/commandline.h"
#include "command_support.h"
#include "db/recordset.h"
#include "db/schema.h"
#include "db/sqlite/collectionfile.h"
#include "db/sqlite/sqlitefile.h"
#include "support/scripted_dialogs.h"
#include "ui/program.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace perlinex;

namespace {

bool generated(const QString& folder, int stamps) {
    return run({QStringLiteral("generate"), folder, QStringLiteral("--stamps"),
                QString::number(stamps)})
               .status == 0;
}

QStringList descriptions(const QString& folder) {
    auto db = db::openCollection(QDir(folder).filePath(QStringLiteral("stamp.mdb")));
    auto rs = db->openRecordSet(
        QStringLiteral("select descr, catnum, pricepaid from stamp order by stampid"),
        db::RecordSetKind::Snapshot);
    QStringList out;
    for (; !rs->eof(); rs->moveNext())
        out << rs->field(0).toText() + QLatin1Char('|') + rs->field(1).toText() + QLatin1Char('|') +
                   rs->field(2).toText();
    return out;
}

} // namespace

TEST(CommandLine, NewMakesACollectionAndRefusesAFolderThatHasOne) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("mine"));
    EXPECT_EQ(run({QStringLiteral("new"), folder}).status, 0);
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/stamp.mdb")));
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/rptspec.mdb")));
    EXPECT_TRUE(descriptions(folder).isEmpty());

    const qint64 size = QFileInfo(folder + QStringLiteral("/stamp.mdb")).size();
    const Outcome again = run({QStringLiteral("new"), folder});
    EXPECT_EQ(again.status, 1);
    EXPECT_TRUE(again.err.contains(QStringLiteral("already holds a collection")));
    EXPECT_EQ(QFileInfo(folder + QStringLiteral("/stamp.mdb")).size(), size);
    EXPECT_EQ(
        run({QStringLiteral("generate"), folder, QStringLiteral("--stamps"), QStringLiteral("5")})
            .status,
        1);
}

TEST(CommandLine, GenerateIsTheSameForTheSameSeed) {
    QTemporaryDir dir;
    const QString a = dir.filePath(QStringLiteral("a"));
    const QString b = dir.filePath(QStringLiteral("b"));
    const QString c = dir.filePath(QStringLiteral("c"));
    EXPECT_EQ(run({QStringLiteral("generate"), a, QStringLiteral("--stamps"), QStringLiteral("40"),
                   QStringLiteral("--seed"), QStringLiteral("5")})
                  .status,
              0);
    run({QStringLiteral("generate"), b, QStringLiteral("--stamps"), QStringLiteral("40"),
         QStringLiteral("--seed"), QStringLiteral("5")});
    run({QStringLiteral("generate"), c, QStringLiteral("--stamps"), QStringLiteral("40"),
         QStringLiteral("--seed"), QStringLiteral("6")});
    EXPECT_EQ(descriptions(a).size(), 40);
    EXPECT_EQ(descriptions(a), descriptions(b));
    EXPECT_NE(descriptions(a), descriptions(c));
}

TEST(CommandLine, BadArgumentsAreExplained) {
    QTemporaryDir dir;
    const Outcome noCount = run({QStringLiteral("generate"), dir.filePath(QStringLiteral("x"))});
    EXPECT_EQ(noCount.status, 2);
    EXPECT_TRUE(noCount.err.contains(QStringLiteral("--stamps")));
    EXPECT_EQ(run({QStringLiteral("generate"), dir.filePath(QStringLiteral("x")),
                   QStringLiteral("--stamps"), QStringLiteral("many")})
                  .status,
              2);
    EXPECT_EQ(run({QStringLiteral("new")}).status, 2);
    EXPECT_EQ(run({dir.path()}).status, -1); // a folder: for the window
}

TEST(CommandLine, OptionsAndWordsItDoesNotKnowAreRefusedWithoutMakingAFolder) {
    QTemporaryDir dir;
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path()); // a word taken for a folder would be made here
    struct Case {
        QStringList args;
        int status;
        const char* saying;
    };
    const Case cases[] = {
        {{QStringLiteral("--version")}, 0, "perlinex 0.1.0"},
        {{QStringLiteral("--help")}, 0, "Usage:"},
        {{QStringLiteral("-x")}, 2, "Unknown option 'x'"},
        {{QStringLiteral("report"), QStringLiteral("forsale")}, 2, "report needs --to"},
        {{QStringLiteral("reprot"), QStringLiteral("forsale")}, 2, "unknown command"},
        {{QStringLiteral("a"), QStringLiteral("b")}, 2, "unknown command"},
        {{QStringLiteral("generate"), QStringLiteral("g"), QStringLiteral("--stamps"),
          QStringLiteral("3"), QStringLiteral("--bogus")},
         2,
         "Unknown option 'bogus'"},
    };
    for (const Case& c : cases) {
        const Outcome o = run(c.args);
        EXPECT_EQ(o.status, c.status) << c.args.join(' ').toStdString();
        EXPECT_TRUE((o.out + o.err).contains(QLatin1String(c.saying)))
            << c.args.join(' ').toStdString() << ": " << (o.out + o.err).toStdString();
    }
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
    QDir::setCurrent(before);
    EXPECT_EQ(app::parseCommandLine({QStringLiteral("perlinex"), dir.path()}).folder, dir.path());
}

TEST(CommandLine, AFolderWithoutACollectionIsOnlyFilledWhenTheUserSaysSo) {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    const QString typo = dir.filePath(QStringLiteral("stmaps"));
    Program declined(dialogs, typo);
    dialogs.answers = {Answer::No};
    EXPECT_FALSE(app::prepareCollectionFolder(declined, true));
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_EQ(dialogs.prompts[0].text,
              QStringLiteral("There is no collection in %1. Make a new, empty one?")
                  .arg(QDir::toNativeSeparators(typo)));
    EXPECT_EQ(dialogs.prompts[0].buttons, Buttons::YesNo);
    EXPECT_FALSE(QFileInfo::exists(typo));

    dialogs.answers = {Answer::Yes};
    EXPECT_TRUE(app::prepareCollectionFolder(declined, true));
    EXPECT_TRUE(QFile::exists(typo + QStringLiteral("/stamp.mdb")));
    EXPECT_TRUE(QFile::exists(typo + QStringLiteral("/rptspec.mdb")));

    // The default folder is made on the first start without a question.
    const QString first = dir.filePath(QStringLiteral("default"));
    Program firstStart(dialogs, first);
    EXPECT_TRUE(app::prepareCollectionFolder(firstStart, false));
    EXPECT_EQ(dialogs.prompts.size(), 2u);
    EXPECT_TRUE(QFile::exists(first + QStringLiteral("/stamp.mdb")));
}

// A store killed once its row was stored, before its picture took the old one's place: the
// next start puts the picture there; a picture whose row was never stored goes. ("none": the
// stamp had no row before the store.)
TEST(CommandLine, TheStartSettlesThePicturesThatStoresCutShortLeftWaiting) {
    QTemporaryDir dir;
    db::createCollection(dir.filePath(QStringLiteral("stamp.mdb")))
        ->execute(QStringLiteral("insert into stamp (descr) values ('Penny Black')"));
    const QDir images(dir.filePath(QStringLiteral("images")));
    QDir().mkpath(images.path());
    for (const auto& [name, bytes] :
         {std::pair{"00000001", "stored before the kill"}, std::pair{"00000002", "never stored"}}) {
        QFile f(images.filePath(QStringLiteral(".%1.jpg.none.pending").arg(QLatin1String(name))));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) > 0);
    }
    ScriptedDialogs dialogs;
    Program program(dialogs, dir.path());
    ASSERT_TRUE(app::prepareCollectionFolder(program, false));
    QFile placed(images.filePath(QStringLiteral("00000001.jpg")));
    ASSERT_TRUE(placed.open(QIODevice::ReadOnly));
    EXPECT_EQ(placed.readAll(), QByteArray("stored before the kill"));
    EXPECT_EQ(images.entryList(QDir::Files | QDir::Hidden), QStringList{"00000001.jpg"});
    EXPECT_TRUE(dialogs.prompts.empty());
}

TEST(CommandLine, CheckChangesNothing_RepairAsksBeforeASalvageThatFellShort) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("c"));
    ASSERT_TRUE(generated(folder, 600));
    const QString path = folder + QStringLiteral("/stamp.mdb");
    EXPECT_EQ(run({QStringLiteral("check"), folder}).status, 0);

    // Cut in half: about half the stamps can come back.
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.resize(f.size() / 2 / 4096 * 4096));
    f.close();
    const QByteArray damaged = bytesOf(path);
    const Outcome checked = run({QStringLiteral("check"), folder});
    EXPECT_EQ(checked.status, 1);
    EXPECT_TRUE(checked.out.contains(QStringLiteral("is damaged"))) << checked.out.toStdString();
    EXPECT_EQ(bytesOf(path), damaged);

    // No to replacing it with what was recovered: the damaged file stays as it was.
    const Outcome declined = run({QStringLiteral("repair"), folder}, QStringLiteral("n\n"));
    EXPECT_EQ(declined.status, 1);
    EXPECT_TRUE(declined.out.contains(QStringLiteral("could be recovered")))
        << declined.out.toStdString();
    EXPECT_TRUE(declined.out.contains(QStringLiteral("left as it was")));
    EXPECT_EQ(bytesOf(path), damaged);

    const Outcome repaired = run({QStringLiteral("repair"), folder, QStringLiteral("--yes")});
    EXPECT_EQ(repaired.status, 0) << repaired.err.toStdString();
    EXPECT_TRUE(repaired.out.contains(QStringLiteral("has been repaired")))
        << repaired.out.toStdString();
    EXPECT_EQ(run({QStringLiteral("check"), folder}).status, 0);
    const QStringList recovered = descriptions(folder);
    EXPECT_GT(recovered.size(), 100); // the first half holds the code tables too
    EXPECT_LT(recovered.size(), 600);
    // The declined repair took its copy away again; the accepted one keeps the damaged file.
    EXPECT_EQ(QDir(folder).entryList({QStringLiteral("stamp-damaged-*.mdb")}).size(), 1);
}

TEST(CommandLine, AFileSizeLimitIsReportedAsAFullDiskAndLeavesNoPartialFile) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("limited"));
    QProcess shell;
    // 2 MB is far less than the collection needs.
    shell.start(QStringLiteral("sh"), {QStringLiteral("-c"),
                                       QStringLiteral("ulimit -f 4096; exec \"$0\" generate \"$1\" "
                                                      "--stamps 20000"),
                                       QStringLiteral(PERLINEX_PROGRAM), folder});
    ASSERT_TRUE(shell.waitForFinished(60000));
    EXPECT_EQ(shell.exitStatus(), QProcess::NormalExit) << "killed by the limit";
    EXPECT_EQ(shell.exitCode(), 1);
    const QString said = QString::fromUtf8(shell.readAllStandardError());
    EXPECT_TRUE(said.contains(QStringLiteral("not enough space"))) << said.toStdString();
    EXPECT_FALSE(said.contains(QStringLiteral("INSERT"))) << said.toStdString();
    const QStringList left = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    for (const QString& f : left)
        EXPECT_TRUE(f == QLatin1String("stamp.mdb.lock")) << f.toStdString();
}

TEST(CommandLine, AVersionNoPerlinexWroteIsNotWholeAndNoCommandRewritesIt) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("c"));
    ASSERT_TRUE(generated(folder, 5));
    const QString path = folder + QStringLiteral("/stamp.mdb");
    for (const char* version : {"'abc'", "-5", "4294967297"}) {
        SCOPED_TRACE(version);
        db::openCollection(path)->execute(
            QStringLiteral("update meta set version = %1").arg(QLatin1String(version)));
        const QByteArray before = bytesOf(path);
        const Outcome checked = run({QStringLiteral("check"), folder});
        EXPECT_EQ(checked.status, 1);
        EXPECT_TRUE(checked.out.contains(QStringLiteral("schema version")))
            << checked.out.toStdString();
        const Outcome reported =
            run({QStringLiteral("report"), QStringLiteral("value"), QStringLiteral("--to"),
                 QStringLiteral("text"), QStringLiteral("--output"),
                 dir.filePath(QStringLiteral("value.txt")), QStringLiteral("--folder"), folder});
        EXPECT_EQ(reported.status, 1);
        EXPECT_TRUE(reported.err.contains(QStringLiteral("newer version")))
            << reported.err.toStdString();
        EXPECT_EQ(bytesOf(path), before);
        EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("value.txt"))));
        // Put right for the next case, as a newer program would have it.
        auto db = db::openDatabaseFile(path, db::OpenMode::Exclusive);
        db->execute(QStringLiteral("update meta set version = 1"));
    }
}

TEST(CommandLine, ValuesOfUnexpectedKindsAreWholeAndReportedAsTheyAre) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("c"));
    ASSERT_TRUE(generated(folder, 8));
    const QString path = folder + QStringLiteral("/stamp.mdb");
    {
        auto db = db::openCollection(path);
        db->execute(QStringLiteral("update stamp set forsale = false, wantlist = false"));
        // As another program may write them: without the fields' rules.
        db->execute(QStringLiteral(
            "PRAGMA ignore_check_constraints = ON; "
            "update stamp set descr = 'Odd', quantity = 'many', Year = 'x', issued = 12345, "
            "face = 'ten', pricepaid = 1e308, catvalue = 'dear', priceask = 1e308, "
            "notes = x'00ff10', forsale = true, sold = false where stampid = 1; "
            "update stamp set wantlist = true, pricepaid = 1e308 where stampid = 2"));
    }
    const QByteArray before = bytesOf(path);
    const Outcome checked = run({QStringLiteral("check"), folder});
    EXPECT_EQ(checked.status, 0) << checked.out.toStdString();
    EXPECT_TRUE(checked.out.contains(QStringLiteral("is whole")));

    const auto report = [&](const char* name) {
        return run({QStringLiteral("report"), QLatin1String(name), QStringLiteral("--to"),
                    QStringLiteral("text"), QStringLiteral("--output"),
                    dir.filePath(QLatin1String(name) + QStringLiteral(".txt")),
                    QStringLiteral("--folder"), folder});
    };
    // No total: the price shows as too large, not as an amount.
    const Outcome forSale = report("forsale");
    ASSERT_EQ(forSale.status, 0) << forSale.err.toStdString();
    QFile written(dir.filePath(QStringLiteral("forsale.txt")));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(written.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("Odd\t"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("\ttoo large"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("$0.00"))) << text.toStdString();
    // Totals that would include it cannot be added up; nothing is written.
    for (const char* name : {"wantlist", "value"}) {
        SCOPED_TRACE(name);
        const Outcome totalled = report(name);
        EXPECT_EQ(totalled.status, 1);
        EXPECT_TRUE(totalled.err.contains(QStringLiteral("too large to be added up")))
            << totalled.err.toStdString();
        EXPECT_FALSE(QFile::exists(dir.filePath(QLatin1String(name) + QStringLiteral(".txt"))));
    }
    EXPECT_EQ(bytesOf(path), before);
}

namespace {

// A collection of one stamp, neither wanted nor sold.
QString oneStampCollection(const QTemporaryDir& dir) {
    const QString folder = dir.filePath(QStringLiteral("one"));
    QDir().mkpath(folder);
    auto db = db::createCollection(QDir(folder).filePath(QStringLiteral("stamp.mdb")));
    auto rs = db->openRecordSet(QStringLiteral("select * from stamp"));
    rs->addNew();
    rs->setField(QStringLiteral("descr"), db::Value(QStringLiteral("Penny Black")));
    rs->update();
    db->close();
    return folder;
}

} // namespace

TEST(CommandLine, CountsMissingEntriesBadNumbersAndTheDefaultFolderAreSaidPlainly) {
    QTemporaryDir dir;
    const QString folder = oneStampCollection(dir);
    const Outcome one = run(
        {"report", "value", "--to", "text", "--output", dir.filePath("v.txt"), "--folder", folder});
    EXPECT_EQ(one.status, 0);
    EXPECT_EQ(one.out, QStringLiteral("Wrote %1 (1 stamp)\n").arg(dir.filePath("v.txt")));
    const Outcome generatedOne = run({"generate", dir.filePath("g"), "--stamps", "1"});
    EXPECT_TRUE(generatedOne.out.startsWith(QStringLiteral("Generated 1 stamp in ")))
        << generatedOne.out.toStdString();

    const Outcome missing = run({"report", "country", "--entry", "9999", "--to", "text", "--output",
                                 dir.filePath("c.txt"), "--folder", folder});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, QStringLiteral("perlinex: There is no country number 9999\n"));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("c.txt")));

    const QStringList negative[] = {
        {"generate", dir.filePath("n"), "--stamps", "-5"},
        {"generate", dir.filePath("n"), "--stamps", "3", "--seed", "-5"},
        {"report", "country", "--entry", "-5", "--to", "text", "--output", dir.filePath("c.txt"),
         "--folder", folder},
    };
    for (const QStringList& args : negative) {
        const Outcome o = run(args);
        EXPECT_EQ(o.status, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(o.err.contains(QStringLiteral("a positive whole number")) &&
                    o.err.contains(QStringLiteral("not -5")))
            << o.err.toStdString();
    }

    const Outcome help = run({"--help"});
    EXPECT_TRUE(help.out.contains(QDir::toNativeSeparators(defaultCollectionFolder())))
        << help.out.toStdString();
    EXPECT_FALSE(help.out.contains(QStringLiteral("the program's own")));
}

TEST(CommandLine, ACommandPrintsNoneOfTheToolkitsStartUpWarnings) {
    QTemporaryDir dir;
    const QString folder = oneStampCollection(dir);
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    child.setProcessEnvironment(environment);
    child.start(QStringLiteral(PERLINEX_PROGRAM), {"report", "value", "--to", "pdf", "--output",
                                                   dir.filePath("v.pdf"), "--folder", folder});
    ASSERT_TRUE(child.waitForFinished(120000));
    EXPECT_EQ(child.exitCode(), 0);
    EXPECT_EQ(QString::fromUtf8(child.readAllStandardError()), QString());
    EXPECT_EQ(QString::fromUtf8(child.readAllStandardOutput()),
              QStringLiteral("Wrote %1 (1 stamp)\n").arg(dir.filePath("v.pdf")));
}
