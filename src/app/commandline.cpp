#include "app/commandline.h"

#include "db/catalogue.h"
#include "db/dberror.h"
#include "db/recordset.h"
#include "db/schema.h"
#include "generator/generator.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

namespace perlinex::app {

namespace {

const char* const kUsage =
    "Usage:\n"
    "  perlinex [FOLDER]                                 open the collection in FOLDER\n"
    "  perlinex new FOLDER                               make a new, empty collection\n"
    "  perlinex generate FOLDER --stamps N [--seed S]    make a collection of N generated stamps\n";

// Makes the folder if needed and refuses one that already holds a collection.
bool prepareFolder(const QString& folder, QTextStream& err) {
    if (!QDir().mkpath(folder)) {
        err << "perlinex: cannot make the folder " << folder << "\n";
        return false;
    }
    if (QFileInfo::exists(QDir(folder).filePath(QString::fromLatin1(db::CollectionFileName)))) {
        err << "perlinex: " << folder
            << " already holds a collection (stamp.mdb); it has been left as it is.\n";
        return false;
    }
    return true;
}

int newCollection(const QString& folder, QTextStream& out, QTextStream& err) {
    if (!prepareFolder(folder, err))
        return 1;
    const QDir dir(folder);
    db::createCollection(dir.filePath(QString::fromLatin1(db::CollectionFileName)))->close();
    db::openCatalogue(folder)->close();
    out << "Made a new, empty collection in " << dir.absolutePath() << "\n";
    return 0;
}

int generate(const QStringList& args, QTextStream& out, QTextStream& err) {
    if (args.size() < 2) {
        err << kUsage;
        return 2;
    }
    bench::GeneratorOptions options;
    bool haveStamps = false;
    for (int i = 2; i < args.size(); ++i) {
        bool ok = false;
        if (args[i] == QLatin1String("--stamps") && i + 1 < args.size()) {
            options.stamps = args[++i].toLongLong(&ok);
            haveStamps = ok && options.stamps >= 0;
        } else if (args[i] == QLatin1String("--seed") && i + 1 < args.size()) {
            options.seed = args[++i].toULongLong(&ok);
        } else {
            ok = false;
        }
        if (!ok) {
            err << "perlinex: unexpected argument " << args[i] << "\n" << kUsage;
            return 2;
        }
    }
    if (!haveStamps) {
        err << "perlinex: generate needs --stamps N\n" << kUsage;
        return 2;
    }
    const QString folder = args[1];
    if (!prepareFolder(folder, err))
        return 1;
    QElapsedTimer timer;
    timer.start();
    bench::generateCollection(QDir(folder).filePath(QString::fromLatin1(db::CollectionFileName)),
                              options);
    db::openCatalogue(folder)->close();
    out << "Generated " << options.stamps << " stamps in " << QDir(folder).absolutePath() << " ("
        << timer.elapsed() << " ms)\n";
    return 0;
}

} // namespace

int runCommand(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    const QStringList args = arguments.mid(1);
    try {
        if (!args.isEmpty() &&
            (args[0] == QLatin1String("--help") || args[0] == QLatin1String("-h"))) {
            out << kUsage;
            return 0;
        }
        if (!args.isEmpty() && args[0] == QLatin1String("new")) {
            if (args.size() != 2) {
                err << kUsage;
                return 2;
            }
            return newCollection(args[1], out, err);
        }
        if (!args.isEmpty() && args[0] == QLatin1String("generate"))
            return generate(args, out, err);
    } catch (const db::DbError& e) {
        err << "perlinex: " << e.text() << "\n";
        return 1;
    }
    return -1;
}

} // namespace perlinex::app
