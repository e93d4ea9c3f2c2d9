#include "reports/rowstore.h"

#include <algorithm>

namespace perlinex::reports {

std::uint32_t RowStore::append(const QStringList& cells) {
    for (const QString& c : cells) {
        text_ += c;
        cellEnds_.push_back(std::uint32_t(text_.size()));
    }
    rowEnds_.push_back(std::uint32_t(cellEnds_.size()));
    return rowCount() - 1;
}

QStringView RowStore::cell(std::uint32_t row, int index) const {
    const std::uint32_t c = firstCell(row) + std::uint32_t(index);
    const std::uint32_t begin = c == 0 ? 0 : cellEnds_[c - 1];
    return QStringView(text_).sliced(begin, cellEnds_[c] - begin);
}

void RowStore::clear() {
    text_ = QString();
    cellEnds_ = {};
    rowEnds_ = {};
}

const TableBlock& TableStore::blockOf(std::uint32_t row) const {
    auto it = std::upper_bound(blocks.begin(), blocks.end(), row,
                               [](std::uint32_t r, const TableBlock& b) { return r < b.firstRow; });
    return *(it - 1);
}

} // namespace perlinex::reports
