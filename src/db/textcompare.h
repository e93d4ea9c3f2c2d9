#pragma once

#include "db/value.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <utility>
#include <vector>

// Text comparison of the collection: without regard to case (Unicode letters included) and,
// for ordering, with accented letters next to their plain ones. The rules depend only on
// Unicode data, never on the user's locale, so an index built today stays valid tomorrow.
namespace perlinex::db {

namespace detail {
struct CompiledLike;
} // namespace detail

// <0, 0, >0. Equal means equal apart from case; "Osterreich" and "Österreich" differ but
// sort next to each other.
int compareText(const QString& a, const QString& b);

// The text with case and accents folded away: two texts have the same key exactly when they
// are equal apart from case and accents ("aland" and "Åland"), as the order's first level sees
// them.
QString accentFreeKey(const QString& text);

// Equal apart from case and accents.
bool sameTextIgnoringAccents(const QString& a, const QString& b);

// The desktop-engine pattern match: * any run, ? one character, # one digit, [abc], [a-z],
// [!abc]; without regard to case.
bool likeMatch(const QString& value, const QString& pattern);

// compareText of two UTF-8 texts, quickly for plain ASCII ones.
int compareUtf8Text(const char* a, int na, const char* b, int nb);

// The search text of a stamp's texts (null ones given as nullptr): each folded by
// accentFreeKey, one a line. A typed word never holds a line break, so no word matches across
// two fields.
QByteArray searchTextUtf8(const std::vector<std::pair<const char*, int>>& texts);

// A like pattern compiled once to match many values.
class LikePattern {
public:
    explicit LikePattern(const QString& pattern);
    ~LikePattern();
    LikePattern(const LikePattern&) = delete;
    LikePattern& operator=(const LikePattern&) = delete;
    bool matchesUtf8(const char* text, int size) const;

private:
    std::unique_ptr<detail::CompiledLike> pattern_;
};

// The key of a text for the collection's text order: two texts' keys compare, character by
// character as the engine compares plain texts (by code point, which is UTF-8's byte order),
// exactly as compareText compares the texts. A store that cannot order by compareText itself
// keeps this key beside each text it orders by. It holds no NUL.
QString sortKey(const QString& text);
// The key of a stored text value; null for null.
Value sortKeyValue(const Value& value);

} // namespace perlinex::db
