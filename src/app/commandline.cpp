#include "app/commandline.h"

#include "app/exchangecommand.h"
#include "app/servercommand.h"
#include "app/terminaldialogs.h"
#include "browse/listcommand.h"
#include "custom/layoutcommand.h"
#include "db/catalogue.h"
#include "db/dberror.h"
#include "db/pg/pgcheck.h"
#include "db/pg/pgstore.h"
#include "db/schema.h"
#include "db/sqlite/cataloguefile.h"
#include "db/sqlite/collectionfile.h"
#include "db/sqlite/collectionhold.h"
#include "db/sqlite/maintenance.h"
#include "db/sqlite/pendingpicture.h"
#include "generator/generator.h"
#include "reports/reportcommand.h"
#include "stats/statscommand.h"
#include "ui/program.h"
#include "util/commandreport.h"
#include "util/textfields.h"
#include "util/translation.h"

#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStandardPaths>
#include <optional>

namespace perlinex::app {

namespace {

QString usage() {
    return translate(
               "CommandLine",
               "Usage:\n"
               "  perlinex [FOLDER]                                 open the collection in "
               "FOLDER\n"
               "  perlinex FILE.rpt                                 open a report layout in "
               "the designer\n"
               "  perlinex new FOLDER                               make a new, empty "
               "collection\n"
               "  perlinex generate FOLDER --stamps N [--seed S]    make a collection of N "
               "generated stamps\n"
               "  perlinex check [FOLDER]                           check the collection; nothing "
               "is changed\n"
               "  perlinex repair [FOLDER] [--yes]                  repair a damaged collection\n"
               "  perlinex --help                                   show this text\n"
               "  perlinex --version                                show the program's "
               "version\n"
               "  Without a FOLDER, the collection is the one in %1.\n")
        .arg(QDir::toNativeSeparators(defaultFolder()));
}

const QStringList& subcommands() {
    static const QStringList names{QStringLiteral("new"),    QStringLiteral("generate"),
                                   QStringLiteral("check"),  QStringLiteral("repair"),
                                   QStringLiteral("report"), QStringLiteral("export"),
                                   QStringLiteral("import"), QStringLiteral("statistics"),
                                   QStringLiteral("list"),   QStringLiteral("server")};
    return names;
}

// A layout file rather than a folder: named .rpt, and not a folder that happens to be.
bool isLayoutFileName(const QString& argument) {
    return argument.endsWith(QLatin1String(".rpt"), Qt::CaseInsensitive) &&
           !QFileInfo(argument).isDir();
}

// Wrong arguments: what is wrong, then the usage; exit status 2.
int wrong(QTextStream& err, const QString& what) {
    return commandMisuse(err, what,
                         usage() + reports::reportCommandUsage() +
                             custom::layoutReportCommandUsage() + exchangeCommandUsage() +
                             stats::statisticsCommandUsage() + browse::listCommandUsage() +
                             serverCommandUsage());
}

// Makes the folder if needed, takes its collection as every command does, and refuses one
// that already holds a collection.
std::optional<db::CollectionHold> prepareNewFolder(const QString& folder, QTextStream& err) {
    try {
        return db::holdNewCollection(folder);
    } catch (const db::DbError& e) {
        if (e.number() != db::err::InvalidPath)
            throw;
        err << "perlinex: " << e.text() << "\n";
        return std::nullopt;
    }
}

// A store cut short that the hold rolled back is told, as a note beside the command's output.
void tellRolledBack(const db::CollectionHold& hold, QTextStream& err) {
    if (!hold.rolledBack.isEmpty())
        err << "perlinex: " << hold.rolledBack << "\n";
}

int newCollection(const QStringList& args, QTextStream& out, QTextStream& err) {
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("FOLDER"), QString());
    if (!parser.parse(args))
        return wrong(err, parser.errorText());
    if (parser.positionalArguments().size() != 2)
        return wrong(err, translate("CommandLine", "new needs exactly one FOLDER"));
    const QString folder = parser.positionalArguments()[1];
    const auto hold = prepareNewFolder(folder, err);
    if (!hold)
        return 1;
    const QDir dir(folder);
    db::createCollection(hold->path)->close();
    db::openCatalogue(folder)->close();
    out << translate("CommandLine", "Made a new, empty collection in %1").arg(dir.absolutePath())
        << "\n";
    return 0;
}

int generate(const QStringList& args, QTextStream& out, QTextStream& err) {
    QCommandLineParser parser;
    const QCommandLineOption stamps(QStringLiteral("stamps"), QString(), QStringLiteral("N"));
    const QCommandLineOption seed(QStringLiteral("seed"), QString(), QStringLiteral("S"));
    parser.addOptions({stamps, seed});
    if (!parser.parse(args))
        return wrong(err, parser.errorText());
    if (parser.positionalArguments().size() != 2)
        return wrong(err, translate("CommandLine", "generate needs exactly one FOLDER"));
    if (!parser.isSet(stamps))
        return wrong(err, translate("CommandLine", "generate needs --stamps N"));
    generator::GeneratorOptions options;
    bool ok = false;
    options.stamps = parser.value(stamps).toLongLong(&ok);
    if (!ok || options.stamps < 0)
        return wrong(err, translate("CommandLine", "--stamps needs a positive whole number, not %1")
                              .arg(parser.value(stamps)));
    if (parser.isSet(seed)) {
        options.seed = parser.value(seed).toULongLong(&ok);
        if (!ok)
            return wrong(err,
                         translate("CommandLine", "--seed needs a positive whole number, not %1")
                             .arg(parser.value(seed)));
    }
    const QString folder = parser.positionalArguments()[1];
    const auto hold = prepareNewFolder(folder, err);
    if (!hold)
        return 1;
    QElapsedTimer timer;
    timer.start();
    generator::generateCollection(hold->path, options);
    db::openCatalogue(folder)->close();
    out << translate("CommandLine", "Generated %1 in %2 (%3 ms)")
               .arg(stampCount(options.stamps), QDir(folder).absolutePath())
               .arg(timer.elapsed())
        << "\n";
    return 0;
}

// The collection a check or repair works on, held for this program: in its own argument's
// folder or the default one. Nothing when the arguments are wrong.
struct Target {
    QString folder;
    db::CollectionHold hold;
};

std::optional<Target> targetOf(const QCommandLineParser& parser, db::Purpose purpose,
                               QTextStream& err, int* status) {
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 2) {
        *status =
            wrong(err, translate("CommandLine", "%1 takes one FOLDER at most").arg(positional[0]));
        return std::nullopt;
    }
    Target t;
    t.folder = positional.size() == 2 ? positional[1] : defaultFolder();
    t.hold = db::holdCollection(t.folder, purpose);
    tellRolledBack(t.hold, err);
    return t;
}

// A shared collection checked by the server's own look at it; nothing is changed.
int checkShared(const QString& named, QTextStream& out) {
    const db::ServerAddress address = db::parseServerAddress(named);
    const auto shared = db::openServerDatabase(address.server, address.collection);
    const QStringList problems = db::checkServerCollection(*shared);
    const QString where =
        translate("CommandLine", "%1 on %2").arg(address.collection, address.server);
    if (problems.isEmpty()) {
        out << translate("CommandLine", "The shared collection %1 is whole.").arg(where) << "\n";
        return 0;
    }
    out << translate("CommandLine", "The shared collection %1 is damaged:").arg(where) << "\n";
    for (const QString& p : problems)
        out << "  " << p << "\n";
    out << translate("CommandLine", "Nothing has been changed.") << "\n";
    return 1;
}

int check(const QStringList& args, QTextStream& out, QTextStream& err) {
    QCommandLineParser parser;
    const QCommandLineOption server(QStringLiteral("server"), QString(), QStringLiteral("SERVER"));
    parser.addOption(server);
    if (!parser.parse(args))
        return wrong(err, parser.errorText());
    if (parser.isSet(server)) {
        if (parser.positionalArguments().size() > 1)
            return wrong(err,
                         translate("CommandLine", "check takes a FOLDER or --server, not both"));
        return checkShared(parser.value(server), out);
    }
    int status = 0;
    const auto target = targetOf(parser, db::Purpose::Read, err, &status);
    if (!target)
        return status;
    const QStringList problems = db::checkCollection(target->hold.path);
    if (problems.isEmpty()) {
        out << translate("CommandLine", "The collection in %1 is whole.").arg(target->folder)
            << "\n";
        return 0;
    }
    out << translate("CommandLine", "The collection in %1 is damaged:").arg(target->folder) << "\n";
    for (const QString& p : problems)
        out << "  " << p << "\n";
    out << translate("CommandLine", "Nothing has been changed. \"perlinex repair\" repairs it.")
        << "\n";
    return 1;
}

int repair(const QStringList& args, QTextStream& in, QTextStream& out, QTextStream& err) {
    QCommandLineParser parser;
    const QCommandLineOption yes(QStringLiteral("yes"), QString());
    parser.addOption(yes);
    if (!parser.parse(args))
        return wrong(err, parser.errorText());
    int status = 0;
    auto target = targetOf(parser, db::Purpose::Change, err, &status);
    if (!target)
        return status;
    const QStringList problems = db::checkCollection(target->hold.path);
    if (problems.isEmpty()) {
        out << translate("CommandLine",
                         "The collection in %1 is whole; there is nothing to repair.")
                   .arg(target->folder)
            << "\n";
        return 0;
    }
    // The same way as the window takes: the damaged copy kept, the compaction's copy offered,
    // then the salvage.
    TerminalDialogs dialogs(in, out, parser.isSet(yes));
    ProgramState state(dialogs);
    state.AppFolder = target->folder;
    state.DbPath = target->hold.path;
    state.FolderLock = std::move(target->hold.lock);
    try {
        repairAndReopen(state,
                        db::DbError(db::err::DamagedFile, problems.join(QLatin1String("; "))));
    } catch (const ProgramEnded&) {
        return 1;
    }
    state.closeCollection();
    return 0;
}

// A store cut short leaves its stamp's new picture waiting: it takes its place when the row
// was stored, and goes when not. Like a store rolled back, this needs no word to the user;
// the log says it.
void settlePendingPictures(Program& program) {
    const db::PictureRecovery pictures =
        db::recoverPendingPictures(program.imagesFolder(), program.DbPath);
    QTextStream log(stderr);
    for (std::int64_t id : pictures.finished)
        log << "perlinex: "
            << translate(
                   "CommandLine",
                   "the picture of stamp %1, stored when the program was stopped, has been put "
                   "in place")
                   .arg(id)
            << "\n";
    for (std::int64_t id : pictures.discarded)
        log << "perlinex: "
            << translate(
                   "CommandLine",
                   "the picture of stamp %1, whose record was not stored when the program was "
                   "stopped, has been removed")
                   .arg(id)
            << "\n";
    if (!pictures.unsettled.isEmpty())
        log << "perlinex: "
            << translate("CommandLine",
                         "pictures of a store cut short are left for a later start: %1")
                   .arg(pictures.unsettled)
            << "\n";
}

} // namespace

void quietenToolkitWarnings() {
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type != QtCriticalMsg && type != QtFatalMsg)
            return;
        QTextStream(stderr) << "perlinex: " << text << "\n";
    });
}

bool commandDraws(const QStringList& arguments) {
    return arguments.value(1) == QLatin1String("report");
}

CommandLine parseCommandLine(const QStringList& arguments) {
    const QStringList args = arguments.mid(1);
    CommandLine c;
    // One plain folder opens the window; everything else is for runCommand to do or explain.
    if (args.isEmpty())
        return c;
    if (args.size() == 2 && args[0] == QLatin1String("--server") && !args[1].isEmpty()) {
        c.server = args[1];
        return c;
    }
    if (args.size() == 1 && !args[0].startsWith(QLatin1Char('-')) &&
        !subcommands().contains(args[0])) {
        if (isLayoutFileName(args[0]))
            c.layoutFile = QFileInfo(args[0]).absoluteFilePath();
        else
            c.folder = args[0];
        return c;
    }
    c.action = CommandLine::Action::RunCommand;
    return c;
}

int runCommand(const QStringList& arguments, QTextStream& out, QTextStream& err, QTextStream* in) {
    if (parseCommandLine(arguments).action == CommandLine::Action::OpenWindow)
        return -1;
    const QStringList args = arguments.mid(1);
    const QString first = args.value(0);
    try {
        if (first == QLatin1String("new"))
            return newCollection(arguments, out, err);
        if (first == QLatin1String("generate"))
            return generate(arguments, out, err);
        if (first == QLatin1String("report"))
            return custom::isLayoutReportCommand(arguments)
                       ? custom::runLayoutReportCommand(arguments, out, err)
                       : reports::runReportCommand(arguments, out, err);
        if (first == QLatin1String("export"))
            return runExportCommand(arguments, out, err);
        if (first == QLatin1String("import"))
            return runImportCommand(arguments, out, err);
        if (first == QLatin1String("statistics"))
            return stats::runStatisticsCommand(arguments, out, err);
        if (first == QLatin1String("check"))
            return check(arguments, out, err);
        if (first == QLatin1String("list"))
            return browse::runListCommand(arguments, out, err);
        if (first == QLatin1String("server"))
            return runServerCommand(arguments, out, err);
        if (first == QLatin1String("repair")) {
            QTextStream standardInput(stdin);
            return repair(arguments, in ? *in : standardInput, out, err);
        }
    } catch (const db::DbError& e) {
        err << "perlinex: " << e.text() << "\n";
        return 1;
    }
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  QString());
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")},
                                     QString());
    parser.addOptions({help, version});
    if (!parser.parse(arguments))
        return wrong(err, parser.errorText());
    if (parser.isSet(help)) {
        out << usage() << reports::reportCommandUsage() << custom::layoutReportCommandUsage()
            << exchangeCommandUsage() << stats::statisticsCommandUsage()
            << browse::listCommandUsage() << serverCommandUsage();
        return 0;
    }
    if (parser.isSet(version)) {
        out << "perlinex " << QStringLiteral(PERLINEX_VERSION) << "\n";
        return 0;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1)
        return wrong(
            err,
            translate("CommandLine", "unknown command: %1").arg(positional.join(QLatin1Char(' '))));
    return wrong(
        err, translate("CommandLine", "unexpected arguments: %1").arg(args.join(QLatin1Char(' '))));
}

QString defaultFolder() {
    return defaultCollectionFolder();
}

bool prepareCollectionFolder(Program& program, bool ask) {
    if (program.shared()) {
        program.openCollection();
        if (!QDir().mkpath(program.imagesFolder()))
            throw db::DbError(db::err::InvalidPath,
                              translate("CommandLine", "The folder '%1' could not be made.")
                                  .arg(program.AppFolder));
        program.openFieldCatalogue()->close();
        return true;
    }
    // A collection reached through a symbolic link is worked on where the link leads.
    program.DbPath = db::resolvedCollectionPath(program.AppFolder);
    if (ask && !QFileInfo::exists(program.DbPath)) {
        const Answer a = program.dialogs().message(
            translate("CommandLine", "There is no collection in %1. Make a new, empty one?")
                .arg(QDir::toNativeSeparators(program.AppFolder)),
            ProgramTitle, Buttons::YesNo, Icon::Question);
        if (a != Answer::Yes)
            return false;
    }
    if (!QDir().mkpath(program.AppFolder))
        throw db::DbError(
            db::err::InvalidPath,
            translate("CommandLine", "The folder '%1' could not be made.").arg(program.AppFolder));
    // Under the lock: of two programs started together one makes the collection, the other is
    // told it is in use; and a restore cut short is settled before anything else is read.
    program.lockFolder();
    if (program.ReadOnly) {
        // Nothing is settled or cleaned up in a collection that cannot be changed; only what
        // the user must know is said.
        if (db::hasInterruptedRestore(program.AppFolder))
            program.dialogs().message(
                translate(
                    "CommandLine",
                    "A restore of a backup into %1 was cut short, and it cannot be finished while "
                    "the collection is read-only: the pictures may not belong to the collection "
                    "shown. Open the folder where it can be changed to finish the restore.")
                    .arg(QDir::toNativeSeparators(program.AppFolder)),
                translate("CommandLine", "Restore Backup"), Buttons::Ok, Icon::Warning);
    } else {
        const db::RestoreRecovery recovery = db::recoverInterruptedRestore(program.AppFolder);
        if (!recovery.message.isEmpty())
            program.dialogs().message(recovery.message, translate("CommandLine", "Restore Backup"),
                                      Buttons::Ok, Icon::Information);
        settlePendingPictures(program);
    }
    if (!QFileInfo::exists(program.DbPath))
        db::createCollection(program.DbPath)->close();
    QString remade;
    db::openCatalogue(program.AppFolder, &remade)->close();
    if (!remade.isEmpty())
        program.dialogs().message(remade, ProgramTitle, Buttons::Ok, Icon::Information);
    return true;
}

} // namespace perlinex::app
