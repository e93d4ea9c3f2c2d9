#include "custom/layoutcommand.h"

#include "custom/customreport.h"
#include "custom/fieldcatalogue.h"
#include "custom/layoutfile.h"
#include "custom/reportplan.h"
#include "db/catalogue.h"
#include "db/database.h"
#include "db/dberror.h"
#include "db/schema.h"
#include "db/sqlite/cataloguefile.h"
#include "db/sqlite/collectionfile.h"
#include "db/sqlite/collectionhold.h"
#include "db/sqlite/maintenance.h"
#include "regional/regional.h"
#include "reports/reportcommand.h"
#include "ui/program.h"
#include "util/commandreport.h"
#include "util/durablefile.h"
#include "util/textfields.h"
#include "util/translation.h"

#include <QCommandLineParser>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <stdexcept>

namespace perlinex::custom {

namespace {

int wrong(QTextStream& err, const QString& what) {
    return commandMisuse(err, what, layoutReportCommandUsage());
}

enum class Output { Text, Html, Pdf };

Output outputOf(Target target) {
    switch (target) {
    case Target::TextFile:
        return Output::Text;
    case Target::WebTable:
        return Output::Html;
    case Target::Screen:
        break;
    }
    return Output::Pdf;
}

QString extensionOf(Output output) {
    switch (output) {
    case Output::Text:
        return QStringLiteral(".txt");
    case Output::Html:
        return QStringLiteral(".htm");
    case Output::Pdf:
        break;
    }
    return QStringLiteral(".pdf");
}

// A layout file is a few kilobytes; anything much larger is not one.
constexpr qint64 MostLayoutBytes = 4 << 20;

} // namespace

bool isLayoutReportCommand(const QStringList& arguments) {
    if (arguments.value(1) != QLatin1String("report"))
        return false;
    for (const QString& a : arguments.mid(2))
        if (a == QLatin1String("--layout") || a.startsWith(QLatin1String("--layout=")))
            return true;
    return false;
}

QString layoutReportCommandUsage() {
    return translate(
               "CommandLine",
               "  perlinex report --layout FILE.rpt [--to text|html|pdf] [--output FILE] "
               "[--folder DIR]\n"
               "      generate a saved custom report layout; --to defaults to the layout's own\n"
               "      target (Screen/Printer writes a PDF), --output to stamp.txt, stamp.htm or\n"
               "      stamp.pdf in the current folder; --output - writes a text or HTML report to\n"
               "      standard output. The layout file and the collection's files are never\n"
               "      written over. --folder is the collection's folder\n"
               "      (default: %1).\n")
        .arg(QDir::toNativeSeparators(defaultCollectionFolder()));
}

int runLayoutReportCommand(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    QCommandLineParser parser;
    const QCommandLineOption layoutOption(QStringLiteral("layout"), QString(),
                                          QStringLiteral("FILE"));
    const QCommandLineOption to(QStringLiteral("to"), QString(), QStringLiteral("TARGET"));
    const QCommandLineOption output(QStringLiteral("output"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption folder(QStringLiteral("folder"), QString(), QStringLiteral("DIR"));
    parser.addOptions({layoutOption, to, output, folder});
    if (!parser.parse(arguments))
        return wrong(err, parser.errorText());
    const QStringList positional = parser.positionalArguments();
    if (positional != QStringList{QStringLiteral("report")})
        return wrong(err, positional.value(0) == QLatin1String("report")
                              ? translate("CommandLine", "a layout report takes no NAME: %1")
                                    .arg(positional.mid(1).join(QLatin1Char(' ')))
                              : translate("CommandLine", "--layout belongs to the report command"));
    const QString layoutFile = parser.value(layoutOption);
    if (layoutFile.isEmpty())
        return wrong(err, translate("CommandLine", "report needs --layout FILE.rpt"));
    std::optional<Output> chosen;
    if (parser.isSet(to)) {
        const QString t = parser.value(to);
        if (t == QLatin1String("text"))
            chosen = Output::Text;
        else if (t == QLatin1String("html"))
            chosen = Output::Html;
        else if (t == QLatin1String("pdf"))
            chosen = Output::Pdf;
        else
            return wrong(err,
                         translate("CommandLine", "--to takes text, html or pdf, not %1").arg(t));
    }
    if (parser.isSet(output) && parser.value(output).isEmpty())
        return wrong(err, translate("CommandLine", "--output needs a file name"));
    const bool toStandardOutput = parser.value(output) == QLatin1String("-");
    if (toStandardOutput && chosen == Output::Pdf)
        return wrong(err,
                     translate("CommandLine",
                               "a PDF cannot go to standard output; name a file with --output"));
    const QString appFolder =
        parser.isSet(folder) ? parser.value(folder) : defaultCollectionFolder();

    QFile file(layoutFile);
    if (!file.open(QIODevice::ReadOnly))
        return commandFailure(err,
                              translate("CommandLine", "the layout file '%1' could not be read: %2")
                                  .arg(layoutFile, file.errorString()));
    const QByteArray bytes = file.read(MostLayoutBytes + 1);
    file.close();

    try {
        // Refused before anything is read: neither the collection's own files nor the layout
        // being read are ever a target.
        durable::ProtectedFiles keep = db::collectionFiles(appFolder);
        keep.addFile(layoutFile, translate("CommandLine", "the layout file being read %1")
                                     .arg(QDir::toNativeSeparators(layoutFile)));
        if (parser.isSet(output) && !toStandardOutput)
            durable::checkUserTarget(parser.value(output), keep);
        // Like every command; a report only reads, so it works on a collection that cannot be
        // changed, and the structure check gives way to what the query meets.
        const db::CollectionHold hold = db::holdCollection(appFolder, db::Purpose::Read);
        if (!hold.rolledBack.isEmpty())
            err << "perlinex: " << hold.rolledBack << "\n";
        const QString& collection = hold.path;

        FieldCatalogue catalogue;
        {
            const std::unique_ptr<db::Database> spec = db::openCatalogue(appFolder);
            catalogue = FieldCatalogue::read(*spec);
            spec->close();
        }
        for (const QString& refused : catalogue.refusedRows())
            err << "perlinex: " << refused << "\n";
        const LayoutRead read =
            bytes.size() > MostLayoutBytes
                ? LayoutRead{std::nullopt, translate("CommandLine", "the file is too large"), 0}
                : readLayout(bytes, catalogue, QStringLiteral("stamp"));
        if (!read.layout) {
            const QString where =
                read.line > 0
                    ? translate("CommandLine", "line %1: %2").arg(read.line).arg(read.problem)
                    : read.problem;
            return commandFailure(
                err, QStringLiteral("%1: %2 (%3)").arg(layoutFile, invalidLayoutMessage(), where));
        }
        const Layout& layout = *read.layout;
        const regional::Regional regional;
        const PlanResult planned =
            planReport(layout, catalogue.offeredFor(layout.useWith), regional);
        if (!planned.plan)
            return commandFailure(err, planned.problem.message);
        const ReportPlan& plan = *planned.plan;

        const Output target = chosen.value_or(outputOf(layout.target));
        if (toStandardOutput && target == Output::Pdf)
            return wrong(err,
                         translate("CommandLine",
                                   "the layout's report goes to the screen, as a PDF, which cannot "
                                   "go to standard output; add --to text or --to html"));
        const QString fileName = parser.isSet(output)
                                     ? parser.value(output)
                                     : QDir::current().filePath(plan.useWith + extensionOf(target));

        const std::unique_ptr<db::Database> db =
            db::openCollection(collection, db::StructureCheck::Deferred, hold.openMode());
        CustomReportData data(*db, plan);
        if (data.isEmpty())
            return commandFailure(err, noRecordsMessage());
        const reports::FileTarget fileTarget =
            target == Output::Text ? reports::FileTarget::Text : reports::FileTarget::Html;
        if (toStandardOutput)
            return reports::writeToStandardOutput(out, err, [&](QIODevice& device) {
                writeReport(data, fileTarget, device, translate("CommandLine", "standard output"),
                            regional);
            });
        std::int64_t rows = 0;
        if (target == Output::Pdf) {
            QString error;
            rows = writePdf(data, fileName, regional, QDate::currentDate(), keep, &error);
            if (rows < 0)
                return commandFailure(
                    err, translate("CommandLine", "the file '%1' could not be written: %2")
                             .arg(fileName, error));
        } else {
            rows = writeReportFile(data, fileTarget, fileName, regional, keep);
        }
        out << translate("CommandLine", "Wrote %1 (%2)").arg(fileName, stampCount(rows)) << "\n";
        out.flush();
        return 0;
    } catch (const db::DbError& e) {
        return commandFailure(err, e.text());
    } catch (const durable::FileError& e) {
        return commandFailure(err, e.text());
    } catch (const std::overflow_error&) {
        return commandFailure(
            err, translate("CommandLine", "the report's totals are too large to be added up"));
    }
}

} // namespace perlinex::custom
