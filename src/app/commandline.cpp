#include "app/commandline.h"

#include "db/catalogue.h"
#include "db/dberror.h"
#include "db/schema.h"
#include "generator/generator.h"
#include "ui/program.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStandardPaths>

namespace perlinex::app {

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("CommandLine", text);
}

QString usage() {
    return tr("Usage:\n"
              "  perlinex [FOLDER]                                 open the collection in "
              "FOLDER\n"
              "  perlinex new FOLDER                               make a new, empty "
              "collection\n"
              "  perlinex generate FOLDER --stamps N [--seed S]    make a collection of N "
              "generated stamps\n"
              "  perlinex --help                                   show this text\n"
              "  perlinex --version                                show the program's "
              "version\n");
}

const QStringList& subcommands() {
    static const QStringList names{QStringLiteral("new"), QStringLiteral("generate")};
    return names;
}

// Wrong arguments: what is wrong, then the usage; exit status 2.
int wrong(QTextStream& err, const QString& what) {
    err << "perlinex: " << what << "\n" << usage();
    return 2;
}

// Makes the folder if needed and refuses one that already holds a collection.
bool prepareNewFolder(const QString& folder, QTextStream& err) {
    if (!QDir().mkpath(folder)) {
        err << "perlinex: " << tr("cannot make the folder %1").arg(folder) << "\n";
        return false;
    }
    if (QFileInfo::exists(QDir(folder).filePath(QString::fromLatin1(db::CollectionFileName)))) {
        err << "perlinex: "
            << tr("%1 already holds a collection (stamp.mdb); it has been left as it is.")
                   .arg(folder)
            << "\n";
        return false;
    }
    return true;
}

int newCollection(const QStringList& args, QTextStream& out, QTextStream& err) {
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("FOLDER"), QString());
    if (!parser.parse(args))
        return wrong(err, parser.errorText());
    if (parser.positionalArguments().size() != 2)
        return wrong(err, tr("new needs exactly one FOLDER"));
    const QString folder = parser.positionalArguments()[1];
    if (!prepareNewFolder(folder, err))
        return 1;
    const QDir dir(folder);
    db::createCollection(dir.filePath(QString::fromLatin1(db::CollectionFileName)))->close();
    db::openCatalogue(folder)->close();
    out << tr("Made a new, empty collection in %1").arg(dir.absolutePath()) << "\n";
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
        return wrong(err, tr("generate needs exactly one FOLDER"));
    if (!parser.isSet(stamps))
        return wrong(err, tr("generate needs --stamps N"));
    generator::GeneratorOptions options;
    bool ok = false;
    options.stamps = parser.value(stamps).toLongLong(&ok);
    if (!ok || options.stamps < 0)
        return wrong(err, tr("--stamps needs a whole number, not %1").arg(parser.value(stamps)));
    if (parser.isSet(seed)) {
        options.seed = parser.value(seed).toULongLong(&ok);
        if (!ok)
            return wrong(err, tr("--seed needs a whole number, not %1").arg(parser.value(seed)));
    }
    const QString folder = parser.positionalArguments()[1];
    if (!prepareNewFolder(folder, err))
        return 1;
    QElapsedTimer timer;
    timer.start();
    generator::generateCollection(
        QDir(folder).filePath(QString::fromLatin1(db::CollectionFileName)), options);
    db::openCatalogue(folder)->close();
    out << tr("Generated %1 stamps in %2 (%3 ms)")
               .arg(options.stamps)
               .arg(QDir(folder).absolutePath())
               .arg(timer.elapsed())
        << "\n";
    return 0;
}

} // namespace

CommandLine parseCommandLine(const QStringList& arguments) {
    const QStringList args = arguments.mid(1);
    CommandLine c;
    // One plain folder opens the window; everything else is for runCommand to do or explain.
    if (args.isEmpty())
        return c;
    if (args.size() == 1 && !args[0].startsWith(QLatin1Char('-')) &&
        !subcommands().contains(args[0])) {
        c.folder = args[0];
        return c;
    }
    c.action = CommandLine::Action::RunCommand;
    return c;
}

int runCommand(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    if (parseCommandLine(arguments).action == CommandLine::Action::OpenWindow)
        return -1;
    const QStringList args = arguments.mid(1);
    const QString first = args.value(0);
    try {
        if (first == QLatin1String("new"))
            return newCollection(arguments, out, err);
        if (first == QLatin1String("generate"))
            return generate(arguments, out, err);
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
        out << usage();
        return 0;
    }
    if (parser.isSet(version)) {
        out << "perlinex " << QStringLiteral(PERLINEX_VERSION) << "\n";
        return 0;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1)
        return wrong(err, tr("unknown command: %1").arg(positional.join(QLatin1Char(' '))));
    return wrong(err, tr("unexpected arguments: %1").arg(args.join(QLatin1Char(' '))));
}

QString defaultFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

bool prepareCollectionFolder(Program& program, bool ask) {
    if (!QFileInfo::exists(program.DbPath)) {
        if (ask) {
            const Answer a =
                program.dialogs().message(tr("There is no collection in %1. Make a new, empty one?")
                                              .arg(QDir::toNativeSeparators(program.AppFolder)),
                                          ProgramTitle, Buttons::YesNo, Icon::Question);
            if (a != Answer::Yes)
                return false;
        }
        if (!QDir().mkpath(program.AppFolder))
            throw db::DbError(db::err::InvalidPath,
                              tr("The folder '%1' could not be made.").arg(program.AppFolder));
        db::createCollection(program.DbPath)->close();
    }
    db::openCatalogue(program.AppFolder)->close();
    return true;
}

} // namespace perlinex::app
