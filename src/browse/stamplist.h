#pragma once

#include "browse/stamporder.h"

#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

namespace perlinex::browse {

// The stamps of the collection list: every stamp's number in the order, and those the filter
// leaves. Numbers only; a row is read when it is shown.
class StampList {
public:
    // Every stamp of the collection, in the order; the filter's words (and the stamp it keeps)
    // are applied again.
    void read(db::Database& db, const StampOrder& order);
    // Narrows to the stamps that hold every (folded) word and meet the condition (the program's
    // dialect over table stamp); no words and no condition show every stamp.
    void narrow(db::Database& db, const QStringList& words, const QString& condition = QString());
    // Keeps a stamp listed whether it matches the words or not, until the words change (a
    // stamp just stored stays in view); applied at the next read.
    void keep(std::int64_t id) { kept_.push_back(id); }
    void clear();

    std::int64_t size() const { return std::int64_t(rows().size()); }
    std::int64_t total() const { return std::int64_t(all_.size()); }
    bool isNarrowed() const { return !words_.isEmpty() || !condition_.isEmpty(); }
    std::int64_t at(std::int64_t row) const { return rows()[std::size_t(row)]; }
    // The row of a stamp, or -1 when it is not listed.
    std::int64_t rowOf(std::int64_t id) const;
    // Takes a deleted stamp out.
    void remove(std::int64_t id);

private:
    void narrowTo(db::Database& db);
    const std::vector<std::int64_t>& rows() const { return isNarrowed() ? narrowed_ : all_; }

    std::vector<std::int64_t> all_;
    std::vector<std::int64_t> narrowed_;
    QStringList words_;
    QString condition_;
    std::vector<std::int64_t> kept_;
};

} // namespace perlinex::browse
