#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstdint>
#include <vector>

namespace perlinex::reports {

// Rows of cells packed into one text buffer. A report of 100,000 rows keeps a few bytes per
// cell besides its text, instead of a string object per cell.
class RowStore {
public:
    std::uint32_t append(const QStringList& cells);
    std::uint32_t rowCount() const { return std::uint32_t(rowEnds_.size()); }
    int cellCount(std::uint32_t row) const { return int(rowEnds_[row] - firstCell(row)); }
    // Valid until the next append.
    QStringView cell(std::uint32_t row, int index) const;
    void clear();

private:
    std::uint32_t firstCell(std::uint32_t row) const { return row == 0 ? 0 : rowEnds_[row - 1]; }

    QString text_;
    std::vector<std::uint32_t> cellEnds_; // end offset in text_ of every cell
    std::vector<std::uint32_t> rowEnds_;  // end index in cellEnds_ of every row
};

// One table call: a run of rows in one format, the first of them possibly the table's header
// row, which comes again at the top of every page the table continues on.
struct TableBlock {
    std::uint32_t firstRow = 0;
    std::uint32_t endRow = 0;
    std::uint32_t format = 0; // index into the document's formats
    bool hasHeader = false;
    QColor headerShade; // invalid: no shading
    QColor bodyShade;
};

// Rows and the tables they belong to, in the order they were added.
struct TableStore {
    RowStore rows;
    std::vector<TableBlock> blocks;

    // The block that holds the row; the row must be in the store.
    const TableBlock& blockOf(std::uint32_t row) const;
    void clear() {
        rows.clear();
        blocks.clear();
    }
};

} // namespace perlinex::reports
