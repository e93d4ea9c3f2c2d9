#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// The table form of the print document. A table text is a string of sections, each ended by
// ";": first the column format, then one section per row with its cells separated by "|".
// The text form cannot carry a "|" or ";" inside a value; code that has the values in hand
// uses TableFormat and cell lists directly (PrintDocument::addTable, addRow).
namespace perlinex::reports {

enum class Align : quint8 { Left, Center, Right };

struct Column {
    int width = 0; // twips, 1440 to the inch
    Align align = Align::Left;
    friend bool operator==(const Column&, const Column&) = default;
};

// The column format of a table: one entry per column.
class TableFormat {
public:
    // A width a format entry gets when it has none that can be read: half an inch.
    static constexpr int DefaultWidth = 720;

    TableFormat() = default;
    explicit TableFormat(QList<Column> columns) : columns_(std::move(columns)) {}

    // Reads a format section such as "2880|1440|>1400;" (what follows the ";" is not read). An
    // entry is a width in twips, preceded by ">" for right alignment, "^" for centred or "<" for
    // left, the default.
    static TableFormat parse(QStringView section);
    // The section again, with its closing ";".
    QString toText() const;

    const QList<Column>& columns() const { return columns_; }
    qsizetype columnCount() const { return columns_.size(); }
    bool isEmpty() const { return columns_.isEmpty(); }
    int width() const; // twips

    friend bool operator==(const TableFormat&, const TableFormat&) = default;

private:
    QList<Column> columns_;
};

struct TableText {
    TableFormat format;
    QList<QStringList> rows;
};

// The whole table text: format section, then rows.
TableText parseTableText(QStringView text);
// Rows only ("a|b;c|d;"; the last ";" may be missing). An empty text has no rows; an empty
// section between two ";" is a row with one empty cell.
QList<QStringList> parseTableRows(QStringView body);

} // namespace perlinex::reports
