#include "db/textcompare.h"

#include <QByteArray>
#include <QList>
#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace perlinex::db {

namespace {

bool isAscii(const unsigned char* s, int n) {
    for (int i = 0; i < n; ++i)
        if (s[i] & 0x80)
            return false;
    return true;
}

unsigned char asciiFold(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? c + 32 : c;
}

// Case-folded code points, optionally with combining marks dropped after decomposition.
std::vector<char32_t> foldedCodePoints(const QString& s, bool dropMarks) {
    QString t = s.toCaseFolded();
    if (dropMarks)
        t = t.normalized(QString::NormalizationForm_D);
    std::vector<char32_t> out;
    out.reserve(t.size());
    for (char32_t cp : t.toUcs4()) {
        if (dropMarks && QChar::category(cp) == QChar::Mark_NonSpacing)
            continue;
        out.push_back(cp);
    }
    return out;
}

// Bytes of plain ASCII, lower-cased: most texts take this way, without decoding.
QByteArray foldAscii(const unsigned char* s, int n) {
    QByteArray out(reinterpret_cast<const char*>(s), n);
    for (char& c : out)
        c = char(asciiFold(static_cast<unsigned char>(c)));
    return out;
}

int compareCodePoints(const std::vector<char32_t>& a, const std::vector<char32_t>& b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i)
        if (a[i] != b[i])
            return a[i] < b[i] ? -1 : 1;
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// A compiled like pattern over case-folded code points.
struct Pattern {
    enum class Op { Star, AnyOne, Digit, Literal, Class };
    struct Item {
        Op op;
        char32_t ch = 0;
        bool negated = false;
        std::vector<std::pair<char32_t, char32_t>> ranges;
    };
    std::vector<Item> items;

    static Item make(Op op, char32_t ch = 0) {
        Item item;
        item.op = op;
        item.ch = ch;
        return item;
    }

    explicit Pattern(const QString& text) {
        const std::vector<char32_t> p = foldedCodePoints(text, false);
        for (size_t i = 0; i < p.size(); ++i) {
            const char32_t c = p[i];
            if (c == '*') {
                if (items.empty() || items.back().op != Op::Star)
                    items.push_back(make(Op::Star));
            } else if (c == '?') {
                items.push_back(make(Op::AnyOne));
            } else if (c == '#') {
                items.push_back(make(Op::Digit));
            } else if (c == '[') {
                size_t j = i + 1;
                Item item = make(Op::Class);
                if (j < p.size() && p[j] == '!') {
                    item.negated = true;
                    ++j;
                }
                const size_t start = j;
                while (j < p.size() && (p[j] != ']' || j == start))
                    ++j;
                if (j >= p.size()) { // no closing bracket: a literal "["
                    items.push_back(make(Op::Literal, c));
                    continue;
                }
                for (size_t k = start; k < j; ++k) {
                    if (k + 2 < j && p[k + 1] == '-') {
                        item.ranges.emplace_back(p[k], p[k + 2]);
                        k += 2;
                    } else {
                        item.ranges.emplace_back(p[k], p[k]);
                    }
                }
                items.push_back(item);
                i = j;
            } else {
                items.push_back(make(Op::Literal, c));
            }
        }
    }

    static bool matchesOne(const Item& item, char32_t c) {
        switch (item.op) {
        case Op::AnyOne:
            return true;
        case Op::Digit:
            return c >= '0' && c <= '9';
        case Op::Literal:
            return c == item.ch;
        case Op::Class: {
            bool in = false;
            for (const auto& [lo, hi] : item.ranges)
                if (c >= lo && c <= hi) {
                    in = true;
                    break;
                }
            return in != item.negated;
        }
        case Op::Star:
            break;
        }
        return false;
    }

    // Each item but the star takes exactly one character, so the classic single-backtrack
    // wildcard walk is complete.
    template <typename Text> bool matches(const Text& s) const {
        size_t si = 0, pi = 0;
        size_t starPi = SIZE_MAX, starSi = 0;
        while (si < s.size()) {
            if (pi < items.size() && items[pi].op == Op::Star) {
                starPi = pi++;
                starSi = si;
            } else if (pi < items.size() && matchesOne(items[pi], char32_t(s[si]))) {
                ++pi;
                ++si;
            } else if (starPi != SIZE_MAX) {
                pi = starPi + 1;
                si = ++starSi;
            } else {
                return false;
            }
        }
        while (pi < items.size() && items[pi].op == Op::Star)
            ++pi;
        return pi == items.size();
    }

    bool matchesText(const unsigned char* s, int n) const {
        if (isAscii(s, n)) {
            std::string folded(reinterpret_cast<const char*>(s), size_t(n));
            for (char& c : folded)
                c = char(asciiFold(static_cast<unsigned char>(c)));
            return matches(folded);
        }
        return matches(
            foldedCodePoints(QString::fromUtf8(reinterpret_cast<const char*>(s), n), false));
    }
};

} // namespace

int compareText(const QString& a, const QString& b) {
    const int primary = compareCodePoints(foldedCodePoints(a, true), foldedCodePoints(b, true));
    if (primary != 0)
        return primary;
    return compareCodePoints(foldedCodePoints(a, false), foldedCodePoints(b, false));
}

QString accentFreeKey(const QString& text) {
    const std::vector<char32_t> folded = foldedCodePoints(text, true);
    return QString::fromUcs4(folded.data(), qsizetype(folded.size()));
}

bool sameTextIgnoringAccents(const QString& a, const QString& b) {
    return compareCodePoints(foldedCodePoints(a, true), foldedCodePoints(b, true)) == 0;
}

bool likeMatch(const QString& value, const QString& pattern) {
    return Pattern(pattern).matches(foldedCodePoints(value, false));
}

// Reports and indexes compare texts millions of times, most of them plain letters that differ
// early or not at all: those are decided here, byte by byte, as compareText would decide them.
// A text with another letter before the first difference (or in the rest of the longer one)
// goes through compareText whole.
int compareUtf8Text(const char* a, int na, const char* b, int nb) {
    const auto* ua = reinterpret_cast<const unsigned char*>(a);
    const auto* ub = reinterpret_cast<const unsigned char*>(b);
    if (na == nb && std::memcmp(ua, ub, size_t(na)) == 0)
        return 0;
    const int n = std::min(na, nb);
    int i = 0;
    for (; i < n; ++i) {
        if ((ua[i] | ub[i]) & 0x80)
            break;
        const int d = int(asciiFold(ua[i])) - int(asciiFold(ub[i]));
        if (d != 0)
            return d;
    }
    if (i == n && isAscii(ua + n, na - n) && isAscii(ub + n, nb - n))
        return na - nb;
    return compareText(QString::fromUtf8(a, na), QString::fromUtf8(b, nb));
}

QByteArray searchTextUtf8(const std::vector<std::pair<const char*, int>>& texts) {
    QByteArray out;
    for (const auto& [t, n] : texts) {
        if (!t)
            continue;
        const auto* u = reinterpret_cast<const unsigned char*>(t);
        if (!out.isEmpty())
            out += '\n';
        if (isAscii(u, n))
            out += foldAscii(u, n);
        else
            out += accentFreeKey(QString::fromUtf8(t, n)).toUtf8();
    }
    return out;
}

struct detail::CompiledLike : Pattern {
    using Pattern::Pattern;
};

LikePattern::LikePattern(const QString& pattern)
    : pattern_(std::make_unique<detail::CompiledLike>(pattern)) {}

LikePattern::~LikePattern() = default;

bool LikePattern::matchesUtf8(const char* text, int size) const {
    return pattern_->matchesText(reinterpret_cast<const unsigned char*>(text), size);
}

namespace {

// Characters below U+0002 are written as two, so that the key holds no NUL and its separator
// (U+0001 U+0001) is below every character of a text.
void appendEscaped(QString& key, const std::vector<char32_t>& codePoints) {
    for (char32_t cp : codePoints) {
        if (cp < 2) {
            key += QChar(1);
            key += QChar(ushort(cp + 2));
        } else {
            key += QString::fromUcs4(&cp, 1);
        }
    }
}

} // namespace

QString sortKey(const QString& text) {
    QString key;
    key.reserve(text.size() * 2 + 2);
    // Plain ASCII folds to its lower case at both levels, without decoding or normalising.
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; })) {
        std::vector<char32_t> folded;
        folded.reserve(std::size_t(text.size()));
        for (const QChar c : text)
            folded.push_back(char32_t(asciiFold(static_cast<unsigned char>(c.unicode()))));
        appendEscaped(key, folded);
        key += QChar(1);
        key += QChar(1);
        appendEscaped(key, folded);
        return key;
    }
    appendEscaped(key, foldedCodePoints(text, true));
    key += QChar(1);
    key += QChar(1);
    appendEscaped(key, foldedCodePoints(text, false));
    return key;
}

Value sortKeyValue(const Value& value) {
    if (value.isNull())
        return value;
    return Value(sortKey(value.toText()));
}

} // namespace perlinex::db
