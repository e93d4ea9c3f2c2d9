#include "app/exchangecommand.h"

#include "app/commandline.h"
#include "app/stamppictures.h"
#include "browse/stampbrowser.h"
#include "db/database.h"
#include "db/dberror.h"
#include "db/schema.h"
#include "db/sqlite/collectionfile.h"
#include "db/sqlite/collectionhold.h"
#include "db/sqlite/maintenance.h"
#include "db/sqlite/pendingpicture.h"
#include "exchange/csvexport.h"
#include "exchange/importplan.h"
#include "exchange/importstore.h"
#include "exchange/tellicofile.h"
#include "imaging/imagingerror.h"
#include "regional/regional.h"
#include "reports/reportcommand.h"
#include "util/commandreport.h"
#include "util/durablefile.h"
#include "util/textfields.h"
#include "util/translation.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <memory>
#include <optional>

namespace perlinex::app {

namespace {

using namespace exchange;

int wrong(QTextStream& err, const QString& what) {
    return commandMisuse(err, what, exchangeCommandUsage());
}

// The collection of a command, reached as every command reaches it (db::holdCollection). An
// import changes it: a restore or a picture store that a kill cut short is settled first, as
// the window's start settles them.
struct OpenCollection {
    QString folder;
    db::CollectionHold hold;
    std::unique_ptr<db::Database> db;
    QString imagesFolder() const { return QDir(folder).filePath(QStringLiteral("images")); }
};

OpenCollection openCollection(const QString& folder, bool writes, QTextStream& err) {
    OpenCollection c;
    c.folder = folder;
    c.hold = db::holdCollection(folder, writes ? db::Purpose::Change : db::Purpose::Read);
    if (!c.hold.rolledBack.isEmpty())
        err << "perlinex: " << c.hold.rolledBack << "\n";
    if (writes) {
        db::recoverInterruptedRestore(folder);
        db::recoverPendingPictures(c.imagesFolder(), c.hold.path);
    }
    c.db = db::openCollection(c.hold.path,
                              writes ? db::StructureCheck::AtOpen : db::StructureCheck::Deferred,
                              c.hold.openMode());
    return c;
}

QString folderOf(const QCommandLineParser& parser, const QCommandLineOption& folder) {
    return parser.isSet(folder) ? parser.value(folder) : defaultFolder();
}

// --- export ---------------------------------------------------------------------------------

// The stamps the collection list keeps for a typed filter, in the list's order.
StampSelection listedStamps(db::Database& collection, const QString& filter) {
    const regional::Regional regional;
    browse::StampBrowser browser(regional);
    browser.setFilter(filter);
    browser.open(collection, true);
    std::vector<std::int64_t> ids;
    ids.reserve(std::size_t(browser.rowCount()));
    for (std::int64_t row = 0; row < browser.rowCount(); ++row)
        ids.push_back(browser.idAt(row));
    browser.close();
    StampSelection selection;
    selection.stamps = std::move(ids);
    return selection;
}

int exportCsv(const QString& target, const QString& folder, const QString& picturesFolder,
              const std::optional<QString>& filter, QTextStream& out, QTextStream& err) {
    const bool toStandardOutput = target == QLatin1String("-");
    ExportOptions options;
    options.picturesFolder = picturesFolder;
    options.keep = db::collectionFiles(folder);
    // Refused before anything is read: the collection's own files are never a target.
    if (!toStandardOutput)
        durable::checkUserTarget(target, options.keep);
    const OpenCollection collection = openCollection(folder, false, err);
    const StampSelection selection =
        filter ? listedStamps(*collection.db, *filter) : StampSelection();
    if (toStandardOutput) {
        options.csvFolder = QDir::currentPath();
        return reports::writeToStandardOutput(out, err, [&](QIODevice& device) {
            writeStampsCsv(*collection.db, collection.imagesFolder(), selection, device,
                           translate("CommandLine", "standard output"), options);
        });
    }
    const ExportOutcome outcome =
        exportStampsCsv(*collection.db, collection.imagesFolder(), selection, target, options);
    out << translate("CommandLine", "Wrote %1 to %2").arg(stampCount(outcome.stamps), target);
    if (!picturesFolder.isEmpty())
        out << translate("CommandLine", ", and %1 pictures to %2")
                   .arg(outcome.pictures)
                   .arg(picturesFolder);
    out << "\n";
    out.flush();
    return 0;
}

// --- import ---------------------------------------------------------------------------------

std::optional<TextEncoding> encodingNamed(const QString& name, bool* ok) {
    *ok = true;
    const QString n = name.toLower();
    if (n == QLatin1String("utf-8") || n == QLatin1String("utf8"))
        return TextEncoding::Utf8;
    if (n == QLatin1String("utf-16") || n == QLatin1String("utf16"))
        return TextEncoding::Utf16;
    if (n == QLatin1String("windows-1252") || n == QLatin1String("latin-1") ||
        n == QLatin1String("latin1") || n == QLatin1String("cp1252"))
        return TextEncoding::Windows1252;
    *ok = false;
    return std::nullopt;
}

QString encodingName(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Utf8:
        return QStringLiteral("UTF-8");
    case TextEncoding::Utf16:
        return QStringLiteral("UTF-16");
    case TextEncoding::Windows1252:
        return QStringLiteral("Windows-1252");
    }
    return QString();
}

std::optional<QChar> delimiterNamed(const QString& name) {
    const QString n = name.toLower();
    if (n == QLatin1String("comma") || n == QLatin1String(","))
        return QLatin1Char(',');
    if (n == QLatin1String("semicolon") || n == QLatin1String(";"))
        return QLatin1Char(';');
    if (n == QLatin1String("tab") || n == QLatin1String("\t"))
        return QLatin1Char('\t');
    return std::nullopt;
}

QString delimiterName(QChar delimiter) {
    if (delimiter == QLatin1Char(';'))
        return translate("CommandLine", "semicolon");
    if (delimiter == QLatin1Char('\t'))
        return translate("CommandLine", "tab");
    return translate("CommandLine", "comma");
}

QString problemText(const LineProblem& p) {
    const QString where =
        p.column.isEmpty()
            ? translate("CommandLine", "line %1").arg(p.line)
            : translate("CommandLine", "line %1, column %2").arg(p.line).arg(p.column);
    return p.refused ? translate("CommandLine", "%1: refused: %2").arg(where, p.reason)
                     : translate("CommandLine", "%1: %2").arg(where, p.reason);
}

void printPlan(const ColumnMap& columns, const ImportPlan& plan, QTextStream& out) {
    out << translate("CommandLine", "Columns:") << "\n";
    for (int c = 0; c < columns.columnCount(); ++c) {
        const ColumnRole& role = columns.role(c);
        out << "  " << columns.headers()[c] << " -> " << roleName(role)
            << (role.fallback ? translate("CommandLine", " (when blank)") : QString()) << "\n";
    }
    out << translate("CommandLine", "The first stamps as they will be stored:") << "\n";
    out << ImportPlan::previewHeader().join(QLatin1Char('\t')) << "\n";
    int shown = 0;
    for (const PlannedStamp& s : plan.stamps()) {
        if (s.refused)
            continue;
        QStringList cells = plan.previewRow(s);
        for (QString& cell : cells)
            cell.replace(QLatin1Char('\n'), QLatin1String(" / "));
        out << cells.join(QLatin1Char('\t')) << "\n";
        if (++shown == 5)
            break;
    }
}

void printNewCodes(const ImportPlan& plan, bool added, QTextStream& out) {
    if (plan.newCodes().empty())
        return;
    out << (added ? translate("CommandLine", "New classifications added:")
                  : translate("CommandLine", "New classifications to be added:"))
        << "\n";
    for (const NewCode& code : plan.newCodes())
        out << "  " << db::fieldText(code.table->label) << ": " << code.description << "\n";
}

struct ImportArguments {
    bool dryRun = false;
    ImportChoices choices;
    std::optional<QChar> decimal;
};

int importTable(const SourceTable& table, ColumnMap& columns, const PictureSource& pictures,
                const ImportArguments& args, const QString& folder, QTextStream& out,
                QTextStream& err) {
    const OpenCollection collection = openCollection(folder, !args.dryRun, err);
    const regional::Regional regional;
    const ImportPlan plan(*collection.db, table, columns, regional, &pictures, args.decimal);
    std::int64_t refused = 0;
    for (const LineProblem& p : plan.problems()) {
        err << "perlinex: " << problemText(p) << "\n";
        refused += p.refused ? 1 : 0;
    }
    err.flush();
    const std::int64_t good = std::int64_t(plan.stamps().size()) - refused;
    if (args.dryRun) {
        printPlan(columns, plan, out);
        printNewCodes(plan, false, out);
        out << translate(
                   "CommandLine",
                   "A dry run: nothing has been stored. %1 stamps would be stored; %2 lines are "
                   "refused; %3 stamps equal ones in the collection.")
                   .arg(good)
                   .arg(refused)
                   .arg(plan.duplicateCount())
            << "\n";
        out.flush();
        return refused > 0 ? 1 : 0;
    }
    if (refused > 0 && !args.choices.goodLinesOnly)
        return commandFailure(
            err, translate("CommandLine",
                           "nothing has been stored: %1 lines were refused. Mend them, or "
                           "store only the good lines with --good-lines-only.")
                     .arg(refused));
    const ImportOutcome outcome = storeImport(*collection.db, collection.imagesFolder(), plan,
                                              regional, &pictures, pictureAsJpeg, args.choices);
    for (const LineProblem& p : outcome.pictureProblems)
        err << "perlinex: " << problemText(p) << "\n";
    err.flush();
    if (outcome.stored == 0 && refused > 0)
        return commandFailure(
            err, translate("CommandLine", "nothing has been stored: every line was refused."));
    printNewCodes(plan, true, out);
    out << translate("CommandLine", "Stored %1").arg(stampCount(outcome.stored));
    if (outcome.stored > 0)
        out << translate("CommandLine", " (numbers %1 to %2)")
                   .arg(outcome.firstId)
                   .arg(outcome.lastId);
    out << ".";
    if (outcome.leftOut > 0)
        out << " "
            << translateCount("CommandLine",
                              QT_TRANSLATE_NOOP("CommandLine", "1 refused line was left out."),
                              QT_TRANSLATE_N_NOOP("CommandLine", "%n refused lines were left out."),
                              outcome.leftOut);
    if (outcome.skippedDuplicates > 0)
        out << " "
            << translateCount(
                   "CommandLine",
                   QT_TRANSLATE_NOOP("CommandLine",
                                     "1 stamp equal to one in the collection was left out."),
                   QT_TRANSLATE_N_NOOP("CommandLine",
                                       "%n stamps equal to ones in the collection were left out."),
                   outcome.skippedDuplicates);
    else if (plan.duplicateCount() > 0)
        out << " "
            << translate("CommandLine",
                         "%1 of them equal stamps already in the collection (the same "
                         "description, catalogue number, country and year); --skip-duplicates "
                         "leaves such stamps out.")
                   .arg(plan.duplicateCount());
    out << "\n";
    out.flush();
    return 0;
}

} // namespace

QByteArray pictureAsJpeg(const QByteArray& picture, QString* why) {
    QImage image;
    if (!image.loadFromData(picture) || image.isNull()) {
        *why = translate("CommandLine", "it is not a picture Perlinex can read");
        return QByteArray();
    }
    try {
        return StampPictures::jpegOf(image);
    } catch (const imaging::ImagingError& e) {
        *why = e.text();
        return QByteArray();
    }
}

QString exchangeCommandUsage() {
    return translate(
        "CommandLine",
        "  perlinex export --csv FILE|- [--filter TEXT] [--folder DIR] [--pictures DIR]\n"
        "      write every stamp, in description order, as a CSV file (- for standard\n"
        "      output); --filter writes only the stamps the list's filter of TEXT keeps,\n"
        "      as perlinex list --filter lists them; --pictures copies the pictures into\n"
        "      DIR and names them in the picture column.\n"
        "  perlinex import --csv FILE [--folder DIR] [--dry-run] [--good-lines-only]\n"
        "                  [--skip-duplicates] [--map COLUMN=FIELD]... [--encoding E]\n"
        "                  [--delimiter comma|semicolon|tab] [--decimal point|comma]\n"
        "  perlinex import --tellico FILE.tc [--folder DIR] [--dry-run] [--good-lines-only]\n"
        "                  [--skip-duplicates] [--map COLUMN=FIELD]...\n"
        "      add the stamps of a CSV file or a Tellico stamp collection, all in one\n"
        "      step. Refused lines are listed on standard error and nothing is stored\n"
        "      (status 1) unless --good-lines-only is given; --dry-run shows what would\n"
        "      be stored; --map gives a column another field, \"notes\" or \"skip\".\n");
}

int runExportCommand(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    QCommandLineParser parser;
    const QCommandLineOption csv(QStringLiteral("csv"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption folder(QStringLiteral("folder"), QString(), QStringLiteral("DIR"));
    const QCommandLineOption pictures(QStringLiteral("pictures"), QString(), QStringLiteral("DIR"));
    const QCommandLineOption filter(QStringLiteral("filter"), QString(), QStringLiteral("TEXT"));
    parser.addOptions({csv, folder, pictures, filter});
    if (!parser.parse(arguments))
        return wrong(err, parser.errorText());
    if (parser.positionalArguments() != QStringList{QStringLiteral("export")})
        return wrong(err, translate("CommandLine", "export takes no other words"));
    if (!parser.isSet(csv) || parser.value(csv).isEmpty())
        return wrong(err, translate("CommandLine", "export needs --csv FILE"));
    if (parser.isSet(pictures) && parser.value(pictures).isEmpty())
        return wrong(err, translate("CommandLine", "--pictures needs a folder"));
    try {
        return exportCsv(parser.value(csv), folderOf(parser, folder), parser.value(pictures),
                         parser.isSet(filter) ? std::optional(parser.value(filter)) : std::nullopt,
                         out, err);
    } catch (const db::DbError& e) {
        return commandFailure(err, e.text());
    } catch (const durable::FileError& e) {
        return commandFailure(err, e.text());
    }
}

int runImportCommand(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    QCommandLineParser parser;
    const QCommandLineOption csv(QStringLiteral("csv"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption tellico(QStringLiteral("tellico"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption folder(QStringLiteral("folder"), QString(), QStringLiteral("DIR"));
    const QCommandLineOption dryRun(QStringLiteral("dry-run"), QString());
    const QCommandLineOption goodLines(QStringLiteral("good-lines-only"), QString());
    const QCommandLineOption skipDuplicates(QStringLiteral("skip-duplicates"), QString());
    const QCommandLineOption map(QStringLiteral("map"), QString(), QStringLiteral("COLUMN=FIELD"));
    const QCommandLineOption encoding(QStringLiteral("encoding"), QString(), QStringLiteral("E"));
    const QCommandLineOption delimiter(QStringLiteral("delimiter"), QString(), QStringLiteral("D"));
    const QCommandLineOption decimal(QStringLiteral("decimal"), QString(), QStringLiteral("D"));
    parser.addOptions({csv, tellico, folder, dryRun, goodLines, skipDuplicates, map, encoding,
                       delimiter, decimal});
    if (!parser.parse(arguments))
        return wrong(err, parser.errorText());
    if (parser.positionalArguments() != QStringList{QStringLiteral("import")})
        return wrong(err, translate("CommandLine", "import takes no other words"));
    if (parser.isSet(csv) == parser.isSet(tellico))
        return wrong(err,
                     translate("CommandLine", "import needs either --csv FILE or --tellico FILE"));
    if (parser.isSet(tellico) &&
        (parser.isSet(encoding) || parser.isSet(delimiter) || parser.isSet(decimal)))
        return wrong(err, translate("CommandLine",
                                    "--encoding, --delimiter and --decimal are for CSV files"));
    CsvReadOptions readOptions;
    if (parser.isSet(encoding)) {
        bool ok = false;
        readOptions.encoding = encodingNamed(parser.value(encoding), &ok);
        if (!ok)
            return wrong(err, translate("CommandLine",
                                        "--encoding takes utf-8, utf-16 or windows-1252, not %1")
                                  .arg(parser.value(encoding)));
    }
    if (parser.isSet(delimiter)) {
        readOptions.delimiter = delimiterNamed(parser.value(delimiter));
        if (!readOptions.delimiter)
            return wrong(
                err, translate("CommandLine", "--delimiter takes comma, semicolon or tab, not %1")
                         .arg(parser.value(delimiter)));
    }
    ImportArguments args;
    args.dryRun = parser.isSet(dryRun);
    args.choices.goodLinesOnly = parser.isSet(goodLines);
    args.choices.skipDuplicates = parser.isSet(skipDuplicates);
    if (parser.isSet(decimal)) {
        const QString d = parser.value(decimal);
        if (d == QLatin1String("point"))
            args.decimal = QLatin1Char('.');
        else if (d == QLatin1String("comma"))
            args.decimal = QLatin1Char(',');
        else
            return wrong(err,
                         translate("CommandLine", "--decimal takes point or comma, not %1").arg(d));
    }
    const QStringList maps = parser.values(map);
    for (const QString& m : maps)
        if (!m.contains(QLatin1Char('=')))
            return wrong(err, translate("CommandLine", "--map needs COLUMN=FIELD, not %1").arg(m));
    const QString appFolder = folderOf(parser, folder);
    try {
        const auto applyMaps = [&](ColumnMap& columns) -> std::optional<int> {
            for (const QString& m : maps) {
                const qsizetype eq = m.lastIndexOf(QLatin1Char('='));
                QString why;
                if (!columns.assign(m.left(eq), m.mid(eq + 1), &why))
                    return wrong(err, translate("CommandLine", "--map %1: %2").arg(m, why));
            }
            return std::nullopt;
        };
        if (parser.isSet(tellico)) {
            const TellicoCollection source(parser.value(tellico));
            ColumnMap columns = ColumnMap::match(source.table().headers);
            if (const auto status = applyMaps(columns))
                return *status;
            out << translate("CommandLine", "Tellico stamp collection \"%1\": %2 entries")
                       .arg(source.title())
                       .arg(source.table().rows.size())
                << "\n";
            return importTable(source.table(), columns, source, args, appFolder, out, err);
        }
        const QString file = parser.value(csv);
        const CsvSource source = readCsvFile(file, readOptions);
        ColumnMap columns = ColumnMap::match(source.table.headers);
        if (const auto status = applyMaps(columns))
            return *status;
        out << translate("CommandLine", "%1: %2, %3-separated, %4 lines")
                   .arg(file, encodingName(source.format.encoding),
                        delimiterName(source.format.delimiter))
                   .arg(source.table.rows.size())
            << "\n";
        const FolderPictures pictures(QFileInfo(file).absolutePath());
        return importTable(source.table, columns, pictures, args, appFolder, out, err);
    } catch (const db::DbError& e) {
        return commandFailure(err, e.text());
    } catch (const durable::FileError& e) {
        return commandFailure(err, e.text());
    } catch (const ImportError& e) {
        return commandFailure(err, e.text());
    }
}

} // namespace perlinex::app
