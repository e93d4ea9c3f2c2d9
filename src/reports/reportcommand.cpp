#include "reports/reportcommand.h"

#include "db/database.h"
#include "db/dberror.h"
#include "db/fields.h"
#include "db/schema.h"
#include "db/sqlite/collectionfile.h"
#include "db/sqlite/collectionhold.h"
#include "db/sqlite/maintenance.h"
#include "regional/regional.h"
#include "reports/frmoutput.h"
#include "reports/pageoutput.h"
#include "reports/printdocument.h"
#include "reports/reportdefinitions.h"
#include "reports/reportrows.h"
#include "reports/reporttargets.h"
#include "ui/program.h"
#include "util/commandreport.h"
#include "util/durablefile.h"
#include "util/textfields.h"
#include "util/translation.h"

#include <QCommandLineParser>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <stdexcept>

namespace perlinex::reports {

namespace {

int wrong(QTextStream& err, const QString& what) {
    return commandMisuse(err, what, reportCommandUsage());
}

QStringList reportNames() {
    QStringList names;
    for (const ReportDefinition& d : reportDefinitions())
        names << QString::fromLatin1(d.commandName);
    return names;
}

// True when the category of the report has an entry of that number.
bool hasEntry(db::Database& db, const ReportDefinition& definition, std::int32_t id) {
    const db::CodeTable& table = *db::codeTable(definition.category);
    return db.scalar(QStringLiteral("select count(*) from %1 where %2 = %3")
                         .arg(QLatin1String(table.table), QLatin1String(table.idField))
                         .arg(id))
               .toInteger() > 0;
}

// The preview's pages, with the grey heading row on each, written as a PDF file.
std::int64_t writePdf(ReportData& data, const QString& fileName, const regional::Regional& regional,
                      const durable::ProtectedFiles& keep, QString* error) {
    const ReportDefinition& definition = data.definition();
    PrintDocument document;
    // The shades the window's program starts with.
    const PageHeading heading = PageHeading::fromText(
        true, QString::fromLatin1(definition.tableFormat), reportText(definition.tableHeading),
        QColor(0, 0, 0), QColor(200, 200, 200));
    QObject::connect(&document, &PrintDocument::pageStarted,
                     [&document, &heading] { addPageHeading(document, heading); });
    const std::int64_t rows = fillPreview(document, data, regional, QDate::currentDate());
    document.layoutAll();
    return exportPdf(document, fileName, keep, {}, error) == OutputResult::Done ? rows : -1;
}

} // namespace

int writeToStandardOutput(QTextStream& out, QTextStream& err,
                          const std::function<void(QIODevice& device)>& write) {
    TextStreamDevice device(out);
    write(device);
    out.flush();
    if (out.status() != QTextStream::Ok)
        return commandFailure(
            err, translate("CommandLine", "the report could not be written to standard output"));
    return 0;
}

QString reportCommandUsage() {
    return translate(
               "CommandLine",
               "  perlinex report NAME [--entry ID] --to text|html|pdf --output FILE [--folder "
               "DIR]\n"
               "      write a fixed report; NAME is one of %1.\n"
               "      --entry picks one entry of a category report by its number (default: "
               "all);\n"
               "      --folder is the collection's folder\n"
               "      (default: %2).\n"
               "      --output - writes a text or HTML report to standard output. A report is\n"
               "      never written over a file of the collection (stamp.mdb, rptspec.mdb,\n"
               "      stampdb.bak, the lock, anything in images/), nor over a folder, device,\n"
               "      pipe or read-only file.\n")
        .arg(reportNames().join(QStringLiteral(", ")),
             QDir::toNativeSeparators(defaultCollectionFolder()));
}

int runReportCommand(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    QCommandLineParser parser;
    const QCommandLineOption entry(QStringLiteral("entry"), QString(), QStringLiteral("ID"));
    const QCommandLineOption to(QStringLiteral("to"), QString(), QStringLiteral("TARGET"));
    const QCommandLineOption output(QStringLiteral("output"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption folder(QStringLiteral("folder"), QString(), QStringLiteral("DIR"));
    parser.addOptions({entry, to, output, folder});
    if (!parser.parse(arguments))
        return wrong(err, parser.errorText());
    const QStringList positional = parser.positionalArguments();
    if (positional.value(0) != QLatin1String("report") || positional.size() != 2)
        return wrong(err, translate("CommandLine", "report needs exactly one NAME"));
    const ReportDefinition* definition = reportByCommandName(positional[1]);
    if (!definition)
        return wrong(err,
                     translate("CommandLine", "there is no report called %1").arg(positional[1]));

    const QString target = parser.value(to);
    if (target != QLatin1String("text") && target != QLatin1String("html") &&
        target != QLatin1String("pdf"))
        return wrong(
            err, parser.isSet(to)
                     ? translate("CommandLine", "--to takes text, html or pdf, not %1").arg(target)
                     : translate("CommandLine", "report needs --to text|html|pdf"));
    const QString fileName = parser.value(output);
    if (fileName.isEmpty())
        return wrong(err, translate("CommandLine", "report needs --output FILE"));
    const bool toStandardOutput = fileName == QLatin1String("-");
    if (toStandardOutput && target == QLatin1String("pdf"))
        return wrong(err,
                     translate("CommandLine",
                               "a PDF cannot go to standard output; name a file with --output"));
    std::int32_t codeId = -1;
    if (parser.isSet(entry)) {
        if (!isCategoryReport(*definition))
            return wrong(err,
                         translate("CommandLine",
                                   "--entry is for the category reports (country, type, format, "
                                   "topic) only"));
        bool ok = false;
        codeId = parser.value(entry).toInt(&ok);
        if (!ok || codeId < 0)
            return wrong(err,
                         translate("CommandLine",
                                   "--entry needs a positive whole number (an entry's number), "
                                   "not %1")
                             .arg(parser.value(entry)));
    }
    const QString appFolder =
        parser.isSet(folder) ? parser.value(folder) : defaultCollectionFolder();

    try {
        // Refused before anything is read: the collection's own files are never a target.
        const durable::ProtectedFiles keep = db::collectionFiles(appFolder);
        if (!toStandardOutput)
            durable::checkUserTarget(fileName, keep);
        // Like every command; a report only reads, so it works on a collection that cannot be
        // changed, and the structure check gives way to what the query meets.
        const db::CollectionHold hold = db::holdCollection(appFolder, db::Purpose::Read);
        if (!hold.rolledBack.isEmpty())
            err << "perlinex: " << hold.rolledBack << "\n";
        const QString& collection = hold.path;
        const std::unique_ptr<db::Database> db =
            db::openCollection(collection, db::StructureCheck::Deferred, hold.openMode());
        if (codeId >= 0 && !hasEntry(*db, *definition, codeId))
            return commandFailure(
                err, translate("CommandLine", "There is no %1 number %2")
                         .arg(db::fieldText(db::codeTable(definition->category)->findNoun))
                         .arg(codeId));
        ReportData data(*db, *definition, codeId);
        if (data.isEmpty())
            return commandFailure(err, reportText(definition->emptyMessage));
        const regional::Regional regional;
        const FileTarget fileTarget =
            target == QLatin1String("text") ? FileTarget::Text : FileTarget::Html;
        if (toStandardOutput)
            return writeToStandardOutput(out, err, [&](QIODevice& device) {
                writeReport(data, fileTarget, device, translate("CommandLine", "standard output"),
                            regional);
            });
        std::int64_t rows = 0;
        if (target == QLatin1String("pdf")) {
            QString error;
            rows = writePdf(data, fileName, regional, keep, &error);
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
            err, translate("CommandLine", "the report's amounts are too large to be added up"));
    }
}

} // namespace perlinex::reports
