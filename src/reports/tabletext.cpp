#include "reports/tabletext.h"

namespace perlinex::reports {

namespace {

constexpr QChar CellSep = u'|';
constexpr QChar SectionEnd = u';';

// The text up to the first section end.
QStringView firstSection(QStringView s) {
    const qsizetype end = s.indexOf(SectionEnd);
    return (end < 0 ? s : s.first(end)).trimmed();
}

Column parseColumn(QStringView entry) {
    Column c;
    entry = entry.trimmed();
    while (!entry.isEmpty()) {
        const QChar f = entry.front();
        if (f == u'>')
            c.align = Align::Right;
        else if (f == u'^')
            c.align = Align::Center;
        else if (f == u'<')
            c.align = Align::Left;
        else
            break;
        entry = entry.sliced(1);
    }
    bool ok = false;
    const int width = entry.trimmed().toInt(&ok);
    c.width = ok && width >= 0 ? width : TableFormat::DefaultWidth;
    return c;
}

QStringList splitCells(QStringView row) {
    QStringList cells;
    for (QStringView cell : row.tokenize(CellSep))
        cells.append(cell.toString());
    return cells;
}

} // namespace

TableFormat TableFormat::parse(QStringView section) {
    section = firstSection(section);
    QList<Column> columns;
    if (section.isEmpty())
        return TableFormat();
    for (QStringView entry : section.tokenize(CellSep))
        columns.append(parseColumn(entry));
    return TableFormat(std::move(columns));
}

QString TableFormat::toText() const {
    QString out;
    for (qsizetype i = 0; i < columns_.size(); ++i) {
        if (i > 0)
            out += CellSep;
        if (columns_[i].align == Align::Right)
            out += u'>';
        else if (columns_[i].align == Align::Center)
            out += u'^';
        out += QString::number(columns_[i].width);
    }
    return out + SectionEnd;
}

int TableFormat::width() const {
    int w = 0;
    for (const Column& c : columns_)
        w += c.width;
    return w;
}

QList<QStringList> parseTableRows(QStringView body) {
    QList<QStringList> rows;
    if (body.isEmpty())
        return rows;
    if (body.endsWith(SectionEnd))
        body.chop(1);
    for (QStringView section : body.tokenize(SectionEnd))
        rows.append(splitCells(section));
    return rows;
}

TableText parseTableText(QStringView text) {
    TableText t;
    const qsizetype end = text.indexOf(SectionEnd);
    if (end < 0) {
        t.format = TableFormat::parse(text);
        return t;
    }
    t.format = TableFormat::parse(text.first(end));
    t.rows = parseTableRows(text.sliced(end + 1));
    return t;
}

} // namespace perlinex::reports
