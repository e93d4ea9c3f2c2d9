#include "exchange/tellicofile.h"

#include "util/durablefile.h"
#include "util/translation.h"

#include <QFile>
#include <QHash>
#include <QXmlStreamReader>
#include <vector>
#include <zip.h>

namespace perlinex::exchange {

namespace {

// Tellico's field types and flags that the import needs.
constexpr int DateType = 12;
constexpr int ImageType = 10;
constexpr int AllowMultiple = 1;
constexpr int Derived = 32;
constexpr int StampCollectionType = 9;

struct TellicoField {
    QString name;
    QString title;
    int type = 1;
    int flags = 0;
};

// The fields of Tellico's stamp collection, which a file names only as "_default".
const std::vector<TellicoField>& stampDefaults() {
    static const std::vector<TellicoField> fields = {
        {QStringLiteral("title"), QStringLiteral("Title"), 1, 8 | Derived},
        {QStringLiteral("description"), QStringLiteral("Description"), 1, 0},
        {QStringLiteral("denomination"), QStringLiteral("Denomination"), 1, 0},
        {QStringLiteral("currency"), QStringLiteral("Currency"), 1, 0},
        {QStringLiteral("country"), QStringLiteral("Country"), 1, 0},
        {QStringLiteral("year"), QStringLiteral("Issue Year"), 6, AllowMultiple},
        {QStringLiteral("color"), QStringLiteral("Color"), 1, 0},
        {QStringLiteral("scott"), QStringLiteral("Scott#"), 1, 0},
        {QStringLiteral("grade"), QStringLiteral("Grade"), 3, 0},
        {QStringLiteral("cancelled"), QStringLiteral("Cancelled"), 4, 0},
        {QStringLiteral("hinged"), QStringLiteral("Hinged"), 1, 0},
        {QStringLiteral("centering"), QStringLiteral("Centering"), 1, 0},
        {QStringLiteral("gummed"), QStringLiteral("Gummed"), 1, 0},
        {QStringLiteral("pur_date"), QStringLiteral("Purchase Date"), 1, 0},
        {QStringLiteral("pur_price"), QStringLiteral("Purchase Price"), 1, 0},
        {QStringLiteral("location"), QStringLiteral("Location"), 1, 0},
        {QStringLiteral("gift"), QStringLiteral("Gift"), 4, 0},
        {QStringLiteral("image"), QStringLiteral("Image"), ImageType, 0},
        {QStringLiteral("comments"), QStringLiteral("Comments"), 2, 0},
        {QStringLiteral("id"), QStringLiteral("ID"), 6, 8},
        {QStringLiteral("cdate"), QStringLiteral("Date Created"), DateType, 8},
        {QStringLiteral("mdate"), QStringLiteral("Date Modified"), DateType, 8},
    };
    return fields;
}

QString collectionTypeName(int type) {
    switch (type) {
    case 1:
        return translate("TellicoCollection", "custom");
    case 2:
        return translate("TellicoCollection", "book");
    case 3:
        return translate("TellicoCollection", "video");
    case 4:
        return translate("TellicoCollection", "music");
    case 5:
        return translate("TellicoCollection", "bibliography");
    case 6:
        return translate("TellicoCollection", "comic book");
    case 7:
        return translate("TellicoCollection", "wine");
    case 8:
        return translate("TellicoCollection", "coin");
    case 10:
        return translate("TellicoCollection", "card");
    case 11:
        return translate("TellicoCollection", "video game");
    case 12:
        return translate("TellicoCollection", "file catalog");
    case 13:
        return translate("TellicoCollection", "board game");
    default:
        return translate("TellicoCollection", "type %1").arg(type);
    }
}

QString zipError(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    const QString text = QString::fromLocal8Bit(zip_error_strerror(&error));
    zip_error_fini(&error);
    return text;
}

QByteArray readEntry(zip_t* archive, zip_int64_t index, QString* why) {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive, zip_uint64_t(index), 0, &stat) != 0 ||
        !(stat.valid & ZIP_STAT_SIZE) || stat.size > zip_uint64_t(1) << 30) {
        *why = translate("TellicoCollection", "it cannot be read from the archive");
        return QByteArray();
    }
    zip_file_t* file = zip_fopen_index(archive, zip_uint64_t(index), 0);
    if (!file) {
        *why = QString::fromLocal8Bit(zip_strerror(archive));
        return QByteArray();
    }
    QByteArray bytes(qsizetype(stat.size), Qt::Uninitialized);
    const zip_int64_t got = zip_fread(file, bytes.data(), stat.size);
    if (got != zip_int64_t(stat.size)) {
        *why = QString::fromLocal8Bit(zip_file_strerror(file));
        bytes.clear();
    }
    zip_fclose(file);
    return bytes;
}

// The text of a value element: a date's year, month and day as yyyy-mm-dd, a table row's
// columns joined, otherwise its text.
QString valueText(QXmlStreamReader& xml, int type) {
    if (type != DateType) {
        QString text;
        QStringList columns;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isCharacters())
                text += xml.text();
            else if (xml.isStartElement())
                columns << xml.readElementText(QXmlStreamReader::IncludeChildElements);
            else if (xml.isEndElement())
                break;
        }
        return columns.isEmpty() ? text : columns.join(QStringLiteral(" - "));
    }
    QString year, month, day;
    while (xml.readNextStartElement()) {
        const QString part = xml.readElementText();
        if (xml.name() == QLatin1String("year"))
            year = part;
        else if (xml.name() == QLatin1String("month"))
            month = part;
        else if (xml.name() == QLatin1String("day"))
            day = part;
    }
    if (year.isEmpty())
        return QString();
    return QStringLiteral("%1-%2-%3")
        .arg(year)
        .arg(month.isEmpty() ? QStringLiteral("01") : month.rightJustified(2, QLatin1Char('0')))
        .arg(day.isEmpty() ? QStringLiteral("01") : day.rightJustified(2, QLatin1Char('0')));
}

} // namespace

void TellicoCollection::ZipCloser::operator()(zip* archive) const {
    zip_discard(archive);
}

TellicoCollection::TellicoCollection(const QString& path) : path_(path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw durable::FileError(
            durable::FileError::Kind::CannotRead,
            translate("TellicoCollection", "The file '%1' could not be read: %2.")
                .arg(path, file.errorString()));
    const QByteArray start = file.read(5);
    file.close();
    if (start.startsWith("<?xml") || start.startsWith("<")) {
        file.open(QIODevice::ReadOnly);
        readXml(file.readAll());
        return;
    }
    int error = 0;
    archive_.reset(zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error));
    if (!archive_)
        throw ImportError(
            translate("TellicoCollection", "'%1' is not a Tellico collection file: %2.")
                .arg(path, zipError(error)));
    const zip_int64_t index = zip_name_locate(archive_.get(), "tellico.xml", 0);
    if (index < 0)
        throw ImportError(
            translate("TellicoCollection",
                      "'%1' is not a Tellico collection file: it holds no tellico.xml.")
                .arg(path));
    QString why;
    const QByteArray xml = readEntry(archive_.get(), index, &why);
    if (xml.isEmpty())
        throw ImportError(
            translate("TellicoCollection", "The collection in '%1' could not be read: %2.")
                .arg(path, why));
    readXml(xml);
}

TellicoCollection::~TellicoCollection() = default;

void TellicoCollection::readXml(const QByteArray& bytes) {
    QXmlStreamReader xml(bytes);
    if (!xml.readNextStartElement() ||
        (xml.name() != QLatin1String("tellico") && xml.name() != QLatin1String("bookcase")))
        throw ImportError(
            translate("TellicoCollection", "'%1' is not a Tellico collection file.").arg(path_));
    std::vector<TellicoField> fields;
    QHash<QString, int> columnOf; // by field name
    bool found = false;
    while (xml.readNextStartElement()) {
        if (xml.name() != QLatin1String("collection")) {
            xml.skipCurrentElement();
            continue;
        }
        found = true;
        const int type = xml.attributes().value(QLatin1String("type")).toInt();
        if (type != StampCollectionType)
            throw ImportError(
                translate("TellicoCollection",
                          "'%1' holds a %2 collection of Tellico, not a stamp collection; "
                          "only stamp collections can be imported.")
                    .arg(path_, collectionTypeName(type)));
        title_ = xml.attributes().value(QLatin1String("title")).toString();
        while (xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("fields")) {
                while (xml.readNextStartElement()) {
                    const auto a = xml.attributes();
                    const QString name = a.value(QLatin1String("name")).toString();
                    if (name == QLatin1String("_default"))
                        fields.insert(fields.end(), stampDefaults().begin(), stampDefaults().end());
                    else if (xml.name() == QLatin1String("field"))
                        fields.push_back({name, a.value(QLatin1String("title")).toString(),
                                          a.value(QLatin1String("type")).toInt(),
                                          a.value(QLatin1String("flags")).toInt()});
                    xml.skipCurrentElement();
                }
                table_.headers.clear();
                columnOf.clear();
                for (std::size_t i = 0; i < fields.size(); ++i)
                    if (!(fields[i].flags & Derived) && !columnOf.contains(fields[i].name)) {
                        columnOf.insert(fields[i].name, int(table_.headers.size()));
                        table_.headers << fields[i].title;
                    }
            } else if (xml.name() == QLatin1String("entry")) {
                CsvRecord row;
                row.line = xml.lineNumber();
                for (qsizetype i = 0; i < table_.headers.size(); ++i)
                    row.cells << QString();
                while (xml.readNextStartElement()) {
                    const QString name = xml.name().toString();
                    const auto field =
                        std::find_if(fields.begin(), fields.end(), [&](const TellicoField& f) {
                            return f.name == name ||
                                   (f.flags & AllowMultiple && f.name + QLatin1Char('s') == name);
                        });
                    if (field == fields.end() || !columnOf.contains(field->name)) {
                        xml.skipCurrentElement();
                        continue;
                    }
                    QString value;
                    if (field->name != name) { // several values, one element each
                        QStringList values;
                        while (xml.readNextStartElement())
                            values << valueText(xml, field->type);
                        value = values.join(QStringLiteral("; "));
                    } else {
                        value = valueText(xml, field->type);
                    }
                    row.cells[columnOf.value(field->name)] = value;
                }
                table_.rows.push_back(std::move(row));
            } else if (xml.name() == QLatin1String("images")) {
                while (xml.readNextStartElement()) {
                    const QString id = xml.attributes().value(QLatin1String("id")).toString();
                    const QByteArray data = xml.readElementText().toLatin1();
                    if (!id.isEmpty() && !data.trimmed().isEmpty())
                        embedded_.insert(id, QByteArray::fromBase64(data));
                }
            } else {
                xml.skipCurrentElement();
            }
        }
    }
    if (xml.hasError())
        throw ImportError(translate("TellicoCollection",
                                    "The collection in '%1' could not be read: %2 (line %3).")
                              .arg(path_, xml.errorString())
                              .arg(xml.lineNumber()));
    if (!found)
        throw ImportError(translate("TellicoCollection", "'%1' holds no collection.").arg(path_));
}

bool TellicoCollection::has(const QString& name) const {
    if (embedded_.contains(name))
        return true;
    return archive_ && zip_name_locate(archive_.get(),
                                       QByteArray("images/" + name.toUtf8()).constData(), 0) >= 0;
}

QByteArray TellicoCollection::read(const QString& name, QString* why) const {
    if (const auto found = embedded_.constFind(name); found != embedded_.cend())
        return *found;
    const zip_int64_t index =
        archive_
            ? zip_name_locate(archive_.get(), QByteArray("images/" + name.toUtf8()).constData(), 0)
            : -1;
    if (index < 0) {
        *why = translate("TellicoCollection", "it is not in the collection file");
        return QByteArray();
    }
    return readEntry(archive_.get(), index, why);
}

} // namespace perlinex::exchange
