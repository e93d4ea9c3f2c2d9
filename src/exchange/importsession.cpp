#include "exchange/importsession.h"

#include "exchange/tellicofile.h"

#include <QFile>
#include <QFileInfo>

namespace perlinex::exchange {

bool isTellicoFile(const QString& path) {
    if (path.endsWith(QLatin1String(".tc"), Qt::CaseInsensitive))
        return true;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false; // read as CSV, which says why it cannot be read
    const QByteArray start = file.read(1024);
    return start.startsWith("PK\x03\x04") ||
           (start.trimmed().startsWith("<?xml") && start.contains("<tellico"));
}

ImportSession::ImportSession(db::Database& collection, const regional::Regional& regional,
                             const QString& path)
    : collection_(collection), regional_(regional), path_(path) {
    if (isTellicoFile(path)) {
        tellico_ = std::make_unique<TellicoCollection>(path);
        columns_ = ColumnMap::match(tellico_->table().headers);
    } else {
        folderPictures_ = std::make_unique<FolderPictures>(QFileInfo(path).absolutePath());
        readCsv({});
        detected_ = format_;
    }
    replan();
}

ImportSession::~ImportSession() = default;

QString ImportSession::title() const {
    return tellico_ ? tellico_->title() : QString();
}

const SourceTable& ImportSession::table() const {
    return tellico_ ? tellico_->table() : csv_->table;
}

const PictureSource& ImportSession::pictures() const {
    if (tellico_)
        return *tellico_;
    return *folderPictures_;
}

void ImportSession::readCsv(const CsvReadOptions& options) {
    CsvSource read = readCsvFile(path_, options); // a file that cannot be read changes nothing
    plan_.reset();
    const bool sameHeaders = csv_ && columns_ && csv_->table.headers == read.table.headers;
    csv_ = std::move(read);
    format_ = csv_->format;
    if (!sameHeaders)
        columns_ = ColumnMap::match(csv_->table.headers);
}

void ImportSession::setFormat(const CsvFormat& format) {
    if (tellico_)
        return;
    readCsv({format.encoding, format.delimiter});
    replan();
}

void ImportSession::setDecimalSeparator(QChar decimal) {
    decimal_ = decimal;
    replan();
}

void ImportSession::setRole(int column, const ColumnRole& role) {
    plan_.reset();
    columns_->setRole(column, role);
    replan();
}

void ImportSession::setNewCodes(NewCodes newCodes) {
    if (newCodes == newCodes_)
        return;
    newCodes_ = newCodes;
    replan();
}

void ImportSession::replan() {
    plan_.reset();
    plan_.emplace(collection_, table(), *columns_, regional_, &pictures(), decimal_, newCodes_);
    // Found in the amounts of the columns as they are matched now, until one is chosen.
    if (!decimal_)
        detectedDecimal_ = plan_->decimalSeparator();
}

ImportOutcome ImportSession::store(const QString& imagesFolder, const PictureConverter& convert,
                                   const ImportChoices& choices, const WorkProgress& progress) {
    return storeImport(collection_, imagesFolder, *plan_, regional_, &pictures(), convert, choices,
                       progress);
}

} // namespace perlinex::exchange
