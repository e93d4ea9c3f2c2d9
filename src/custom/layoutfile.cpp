#include "custom/layoutfile.h"

#include "regional/regional.h"
#include "util/translation.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringList>
#include <cmath>
#include <optional>

namespace perlinex::custom {

namespace {

constexpr int LineCount = 22;
constexpr QChar Separator = u';';
constexpr QChar Escape = u'\\';

// Numbers ----------------------------------------------------------------------------------

// A plain decimal with at most `significant` digits, "." as its point, never an exponent.
QString plainDecimal(double value, int significant) {
    const QString g = QString::number(value, 'g', significant);
    const qsizetype e = g.indexOf(u'e');
    if (e < 0)
        return g;
    const int exponent = g.mid(e + 1).toInt();
    QString f = QString::number(value, 'f', std::max(0, significant - 1 - exponent));
    if (f.contains(u'.')) {
        while (f.endsWith(u'0'))
            f.chop(1);
        if (f.endsWith(u'.'))
            f.chop(1);
    }
    return f;
}

std::optional<qlonglong> wholeNumber(const QString& text) {
    static const QRegularExpression whole(QStringLiteral(R"(^\s*[+-]?\d+\s*$)"));
    if (!whole.match(text).hasMatch())
        return std::nullopt;
    bool ok = false;
    const qlonglong n = text.trimmed().toLongLong(&ok);
    return ok ? std::optional<qlonglong>(n) : std::nullopt;
}

std::optional<double> decimalNumber(const QString& text) {
    static const QRegularExpression decimal(QStringLiteral(R"(^\s*[+-]?(\d+(\.\d*)?|\.\d+)\s*$)"));
    if (!decimal.match(text).hasMatch())
        return std::nullopt;
    bool ok = false;
    const double d = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(d) ? std::optional<double>(d) : std::nullopt;
}

// Lines and items ----------------------------------------------------------------------------

QString decode(const QByteArray& bytes) {
    QByteArray b = bytes;
    if (b.startsWith("\xEF\xBB\xBF"))
        b.remove(0, 3);
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(b);
    // A file from an older program in an 8-bit code page is not UTF-8; its letters are read as
    // Latin-1 rather than lost.
    if (utf8.hasError())
        return QString::fromLatin1(b);
    return text;
}

// CR LF, LF and CR each end a line; a last line without an ending counts too.
QStringList splitLines(const QString& text) {
    QStringList lines;
    QString current;
    bool pending = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            lines << current;
            current.clear();
            pending = false;
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
        } else {
            current += c;
            pending = true;
        }
    }
    if (pending)
        lines << current;
    return lines;
}

// The items of a list line; an empty line has none.
QStringList plainItems(const QString& line) {
    return line.isEmpty() ? QStringList() : line.split(Separator);
}

QStringList escapedItems(const QString& line) {
    QStringList items;
    if (line.isEmpty())
        return items;
    QString item;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == Escape && i + 1 < line.size() &&
            (line[i + 1] == Separator || line[i + 1] == Escape)) {
            item += line[++i];
        } else if (c == Separator) {
            items << item;
            item.clear();
        } else {
            item += c;
        }
    }
    items << item;
    return items;
}

QString escapeItem(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == Separator || c == Escape)
            out += Escape;
        // A line break would split the file's lines.
        out += (c == u'\r' || c == u'\n') ? QChar(u' ') : c;
    }
    return out;
}

QString oneLine(QString text) {
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    return text;
}

QString flag(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

// Lines 8 and 9: a printed number, one space before it when not negative and one after.
QString sortText(int position) {
    return (position >= 0 ? QStringLiteral(" ") : QString()) + QString::number(position) +
           QStringLiteral(" ");
}

// The reader ---------------------------------------------------------------------------------

struct Invalid {
    int line;
    QString problem;
};

class Reader {
public:
    Reader(const QStringList& lines, const FieldCatalogue& catalogue, const QString& useWith)
        : lines_(lines), catalogue_(catalogue), currentUseWith_(useWith) {}

    Layout read();

private:
    [[noreturn]] static void fail(int line, const QString& problem) {
        throw Invalid{line, problem};
    }
    const QString& line(int number) const { return lines_[number - 1]; }
    int choice(int number, int first, int last) const;
    void readFields(Layout& layout, const FieldCatalogue& offered) const;
    template <typename Store>
    void readList(Layout& layout, int number, bool escaped, Store&& store) const;
    static bool yesNo(int number, const QString& item);
    static QDateTime dateTime(int number, const QString& item);

    const QStringList& lines_;
    const FieldCatalogue& catalogue_;
    QString currentUseWith_;
};

int Reader::choice(int number, int first, int last) const {
    const std::optional<qlonglong> n = wholeNumber(line(number));
    if (!n || *n < first || *n > last)
        fail(number, translate("LayoutFile", "\"%1\" is not a whole number from %2 to %3")
                         .arg(line(number))
                         .arg(first)
                         .arg(last));
    return int(*n);
}

bool Reader::yesNo(int number, const QString& item) {
    const std::optional<qlonglong> n = wholeNumber(item);
    if (!n || (*n != 0 && *n != 1))
        fail(number, translate("LayoutFile", "\"%1\" is neither 0 nor 1").arg(item));
    return *n == 1;
}

QDateTime Reader::dateTime(int number, const QString& item) {
    const std::optional<double> serial = decimalNumber(item);
    if (!serial)
        fail(number, translate("LayoutFile", "\"%1\" is not a number").arg(item));
    if (*serial == 0)
        return QDateTime();
    const QDateTime value = regional::fromSerial(*serial);
    if (!value.isValid() || value.date().year() < 100 || value.date().year() > 9999)
        fail(number,
             translate("LayoutFile", "%1 is not a date from the years 100 to 9999").arg(item));
    return value;
}

template <typename Store>
void Reader::readList(Layout& layout, int number, bool escaped, Store&& store) const {
    const QStringList items = escaped ? escapedItems(line(number)) : plainItems(line(number));
    if (items.size() > layout.maxSpecId())
        fail(number, translate("LayoutFile", "it has %1 items for %2 fields")
                         .arg(items.size())
                         .arg(layout.maxSpecId()));
    for (qsizetype k = 0; k < items.size(); ++k)
        store(layout.setting(int(k) + 1), items[k]);
}

void Reader::readFields(Layout& layout, const FieldCatalogue& offered) const {
    for (const QString& item : plainItems(line(11))) {
        const std::optional<double> id = decimalNumber(item);
        if (!id)
            fail(11, translate("LayoutFile", "\"%1\" is not a field's number").arg(item));
        // Fields no longer offered, and a field named twice, are passed over.
        if (*id != std::trunc(*id) || std::fabs(*id) > 32767)
            continue;
        const int specid = int(*id);
        if (offered.find(specid) && !layout.fields.contains(specid))
            layout.fields << specid;
    }
}

Layout Reader::read() {
    if (lines_.size() < LineCount)
        fail(lines_.size() + 1, translate("LayoutFile", "the file has %1 lines of %2")
                                    .arg(lines_.size())
                                    .arg(LineCount));

    // The main table is compared as text, never put into a query.
    QString useWith = currentUseWith_;
    if (line(1).compare(currentUseWith_, Qt::CaseInsensitive) != 0) {
        const std::optional<QString> named =
            line(1).size() > 20 ? std::nullopt : catalogue_.mainTableNamed(line(1));
        if (!named)
            fail(1, translate("LayoutFile", "the field catalogue has no fields for \"%1\"")
                        .arg(line(1)));
        useWith = *named;
    }
    const FieldCatalogue offered = catalogue_.offeredFor(useWith);
    Layout layout = Layout::defaults(offered, useWith);

    layout.title = line(2);
    layout.target = Target(choice(3, 1, 3));
    layout.orientation = Orientation(choice(4, 0, 1));
    layout.showDate = choice(5, 0, 1) == 1;
    layout.pageNumbers = PageNumbers(choice(6, 0, 2));
    layout.unit = WidthUnit(choice(7, 0, 1));
    const int last = int(offered.size()) - 1;
    layout.sort[0] = choice(8, -1, last);
    layout.sort[1] = choice(9, -1, last);
    if (!decimalNumber(line(10)))
        fail(10, translate("LayoutFile", "\"%1\" is not a number").arg(line(10)));
    readFields(layout, offered);

    readList(layout, 12, false,
             [](FieldSettings& s, const QString& item) { s.critTrue = yesNo(12, item); });
    readList(layout, 13, false,
             [](FieldSettings& s, const QString& item) { s.critFalse = yesNo(13, item); });
    readList(layout, 14, true, [](FieldSettings& s, const QString& item) { s.startsWith = item; });
    readList(layout, 15, false,
             [](FieldSettings& s, const QString& item) { s.rangeFrom = dateTime(15, item); });
    readList(layout, 16, false,
             [](FieldSettings& s, const QString& item) { s.rangeTo = dateTime(16, item); });
    readList(layout, 17, true, [](FieldSettings& s, const QString& item) { s.lessThan = item; });
    readList(layout, 18, true, [](FieldSettings& s, const QString& item) { s.greaterThan = item; });
    readList(layout, 19, false, [](FieldSettings& s, const QString& item) {
        const std::optional<double> w = decimalNumber(item);
        if (!w || *w < 0)
            fail(19, translate("LayoutFile", "\"%1\" is not a width").arg(item));
        s.colWidth = float(*w);
    });
    readList(layout, 20, false,
             [](FieldSettings& s, const QString& item) { s.hideField = yesNo(20, item); });
    readList(layout, 21, false,
             [](FieldSettings& s, const QString& item) { s.showTotal = yesNo(21, item); });
    // Line 22 (money) is not read: the catalogue says which fields are money.
    return layout;
}

} // namespace

QString invalidLayoutMessage() {
    return translate("LayoutFile",
                     "This does not appear to be a valid report file for this program.");
}

QString invalidLayoutTitle() {
    return translate("LayoutFile", "Invalid Report File");
}

QString serialText(const QDateTime& value) {
    if (!value.isValid())
        return QStringLiteral("0");
    return plainDecimal(regional::toSerial(value), 15);
}

QString widthText(float width) {
    return plainDecimal(double(width), 7);
}

QByteArray writeLayout(const Layout& layout) {
    QStringList lines;
    lines << oneLine(layout.useWith) << oneLine(layout.title) << QString::number(int(layout.target))
          << QString::number(int(layout.orientation)) << flag(layout.showDate)
          << QString::number(int(layout.pageNumbers)) << QString::number(int(layout.unit))
          << sortText(layout.sort[0]) << sortText(layout.sort[1])
          << QString::number(layout.fields.size());
    QStringList fields;
    for (const int specid : layout.fields)
        fields << QString::number(specid);
    lines << fields.join(Separator);

    const auto list = [&](auto&& item) {
        QStringList items;
        for (int k = 1; k <= layout.maxSpecId(); ++k)
            items << item(layout.setting(k));
        lines << items.join(Separator);
    };
    list([](const FieldSettings& s) { return flag(s.critTrue); });
    list([](const FieldSettings& s) { return flag(s.critFalse); });
    list([](const FieldSettings& s) { return escapeItem(s.startsWith); });
    list([](const FieldSettings& s) { return serialText(s.rangeFrom); });
    list([](const FieldSettings& s) { return serialText(s.rangeTo); });
    list([](const FieldSettings& s) { return escapeItem(s.lessThan); });
    list([](const FieldSettings& s) { return escapeItem(s.greaterThan); });
    list([](const FieldSettings& s) { return widthText(s.colWidth); });
    list([](const FieldSettings& s) { return flag(s.hideField); });
    list([](const FieldSettings& s) { return flag(s.showTotal); });
    list([](const FieldSettings& s) { return flag(s.isCurrency); });
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

LayoutRead readLayout(const QByteArray& bytes, const FieldCatalogue& catalogue,
                      const QString& currentUseWith) {
    const QStringList lines = splitLines(decode(bytes));
    try {
        return LayoutRead{Reader(lines, catalogue, currentUseWith).read(), QString(), 0};
    } catch (const Invalid& e) {
        return LayoutRead{std::nullopt, e.problem, e.line};
    }
}

} // namespace perlinex::custom
