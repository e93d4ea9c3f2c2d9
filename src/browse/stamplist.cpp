#include "browse/stamplist.h"

#include "db/search.h"

#include <algorithm>

namespace perlinex::browse {

void StampList::read(db::Database& db, const StampOrder& order) {
    all_ = orderedStamps(db, order);
    if (isNarrowed())
        narrowTo(db);
}

void StampList::narrow(db::Database& db, const QStringList& words, const QString& condition) {
    if (words != words_ || condition.trimmed() != condition_)
        kept_.clear();
    words_ = words;
    condition_ = condition.trimmed();
    narrowTo(db);
}

void StampList::narrowTo(db::Database& db) {
    narrowed_.clear();
    if (!isNarrowed())
        return;
    // The matches come in number order; the list keeps its own order and takes those it finds.
    std::vector<std::int64_t> matches = db::stampsMatching(db, words_, condition_);
    for (std::int64_t id : kept_)
        matches.insert(std::lower_bound(matches.begin(), matches.end(), id), id);
    if (matches.empty())
        return;
    narrowed_.reserve(matches.size());
    const std::int64_t first = matches.front();
    const std::int64_t span = matches.back() - first + 1;
    // Numbers handed out one after the other fit a table of marks, read in one pass.
    if (span <= 8 * std::int64_t(all_.size()) + 4096) {
        std::vector<bool> marked(std::size_t(span), false);
        for (std::int64_t id : matches)
            marked[std::size_t(id - first)] = true;
        for (std::int64_t id : all_)
            if (id >= first && id - first < span && marked[std::size_t(id - first)])
                narrowed_.push_back(id);
        return;
    }
    for (std::int64_t id : all_)
        if (std::binary_search(matches.begin(), matches.end(), id))
            narrowed_.push_back(id);
}

void StampList::clear() {
    all_.clear();
    narrowed_.clear();
    kept_.clear();
}

std::int64_t StampList::rowOf(std::int64_t id) const {
    const std::vector<std::int64_t>& r = rows();
    const auto it = std::find(r.begin(), r.end(), id);
    return it == r.end() ? -1 : std::int64_t(it - r.begin());
}

void StampList::remove(std::int64_t id) {
    std::erase(all_, id);
    std::erase(narrowed_, id);
}

} // namespace perlinex::browse
