#include "db/sqlite/salvage.h"

#include "db/database.h"
#include "db/dberror.h"
#include "db/sqlite/collectionfile.h"
#include "db/sqlite/sqlitecall.h"
#include "db/sqlite/sqlitefile.h"
#include "util/translation.h"

#include <QFile>
#include <QSet>
#include <QStringDecoder>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace perlinex::db {

namespace {

using Page = std::uint32_t;
using Key = std::int64_t;

constexpr int kHeaderSize = 100;
constexpr int kMaxDepth = 20;                       // the engine's own limit on b-tree depth
constexpr std::int64_t kMaxPayload = 1'000'000'000; // the engine's longest value
constexpr int kMaxColumns = 32767;
constexpr Key kNoKey = std::numeric_limits<Key>::min();

std::uint32_t be16(const uchar* p) {
    return std::uint32_t(p[0]) << 8 | p[1];
}
std::uint32_t be32(const uchar* p) {
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

// Reads a varint of at most n bytes into v; returns its length, or 0 when it runs past n.
int readVarint(const uchar* p, std::size_t n, std::uint64_t& v) {
    v = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        if (i >= n)
            return 0;
        v = (v << 7) | (p[i] & 0x7f);
        if (!(p[i] & 0x80))
            return int(i + 1);
    }
    if (n < 9)
        return 0;
    v = (v << 8) | p[8];
    return 9;
}

// ---- The file ----------------------------------------------------------------------------

// The bytes of one page; fewer than a page when the file ends inside it.
struct PageBytes {
    const uchar* data = nullptr;
    std::size_t size = 0;
    explicit operator bool() const { return data != nullptr; }
};

class FileImage {
public:
    explicit FileImage(const QString& path) : file_(path) {
        if (!file_.open(QIODevice::ReadOnly))
            throw DbError(
                err::CannotOpen,
                translate("Salvage", "Could not read '%1': %2").arg(path, file_.errorString()));
        size_ = file_.size();
        if (size_ > 0) {
            data_ = file_.map(0, size_);
            if (!data_) {
                buffer_ = file_.readAll();
                data_ = reinterpret_cast<const uchar*>(buffer_.constData());
                size_ = buffer_.size();
            }
        }
    }
    std::int64_t size() const { return size_; }
    const uchar* data() const { return data_; }

    void setPageSize(int pageSize) {
        pageSize_ = pageSize;
        const std::int64_t pages = (size_ + pageSize - 1) / pageSize;
        pageCount_ = Page(std::min<std::int64_t>(pages, std::numeric_limits<Page>::max() - 1));
    }
    int pageSize() const { return pageSize_; }
    Page pageCount() const { return pageCount_; }
    bool exists(Page n) const { return n >= 1 && n <= pageCount_; }
    PageBytes page(Page n) const {
        if (!exists(n))
            return {};
        const std::int64_t at = std::int64_t(n - 1) * pageSize_;
        return {data_ + at, std::size_t(std::min<std::int64_t>(pageSize_, size_ - at))};
    }

private:
    QFile file_;
    QByteArray buffer_;
    const uchar* data_ = nullptr;
    std::int64_t size_ = 0;
    int pageSize_ = 4096;
    Page pageCount_ = 0;
};

// ---- B-tree pages ------------------------------------------------------------------------

enum PageType { InteriorIndex = 2, InteriorTable = 5, LeafIndex = 10, LeafTable = 13 };

struct BtreePage {
    Page number = 0;
    PageBytes bytes;
    int type = 0;
    int cellCount = 0;
    int pointers = 0;   // offset of the cell pointer array
    int end = 0;        // where cells may end: the usable size or the file's end
    Page rightmost = 0; // interior pages only
    bool leaf() const { return type == LeafTable || type == LeafIndex; }
    bool table() const { return type == LeafTable || type == InteriorTable; }
    // The offset of cell i, or 0 when its pointer leaves the page.
    int cell(int i) const {
        const int at = int(be16(bytes.data + pointers + 2 * i));
        return at >= pointers + 2 * cellCount && at + 4 <= end ? at : 0;
    }
};

// Reads a page's b-tree header. Lenient: only what is needed to reach its cells is checked,
// so that a page with a few bad cells still yields the others. Strict: the page must look
// as the engine writes it, which tells b-tree pages from other bytes when searching.
std::optional<BtreePage> readBtreePage(const FileImage& file, Page number, int usable,
                                       bool strict) {
    const PageBytes bytes = file.page(number);
    const int h = number == 1 ? kHeaderSize : 0;
    const int end = int(std::min<std::size_t>(bytes.size, std::size_t(usable)));
    if (!bytes || h + 8 > end)
        return std::nullopt;
    const uchar* d = bytes.data + h;
    BtreePage p{number, bytes, d[0], int(be16(d + 3)), 0, end, 0};
    if (p.type != InteriorIndex && p.type != InteriorTable && p.type != LeafIndex &&
        p.type != LeafTable)
        return std::nullopt;
    p.pointers = h + (p.leaf() ? 8 : 12);
    if (p.pointers + 2 * p.cellCount > end)
        return std::nullopt;
    if (!p.leaf())
        p.rightmost = be32(d + 8);
    if (!strict)
        return p;
    const int content = be16(d + 5) == 0 ? 65536 : int(be16(d + 5));
    const int freeblock = int(be16(d + 1));
    if (content > usable || (p.cellCount > 0 && content < p.pointers + 2 * p.cellCount) ||
        d[7] > 60 || (freeblock != 0 && (freeblock < p.pointers || freeblock + 4 > usable)) ||
        (!p.leaf() && p.rightmost == 0))
        return std::nullopt;
    for (int i = 0; i < p.cellCount; ++i) {
        const int at = int(be16(bytes.data + p.pointers + 2 * i));
        if (at < content || at + 4 > usable)
            return std::nullopt;
    }
    return p;
}

// ---- Cells and records -------------------------------------------------------------------

// A table-leaf cell: its key and the part of its payload stored on the page.
struct LeafCell {
    Key key = 0;
    const uchar* local = nullptr;
    std::size_t localSize = 0;
    std::int64_t payloadSize = 0;
    Page overflow = 0;
};

struct Payload {
    QByteArray bytes;
    bool complete = true; // false when an overflow page was missing or a chain went wrong
};

class CellReader {
public:
    CellReader(const FileImage& file, int usable) : file_(file), usable_(usable) {}

    std::optional<LeafCell> leafCell(const BtreePage& page, int at) const {
        const uchar* p = page.bytes.data + at;
        const std::size_t room = std::size_t(page.end - at);
        std::uint64_t size = 0, key = 0;
        const int a = readVarint(p, room, size);
        const int b = a ? readVarint(p + a, room - a, key) : 0;
        if (!b || size > std::uint64_t(kMaxPayload) ||
            size > std::uint64_t(file_.pageCount()) * std::uint64_t(usable_))
            return std::nullopt;
        LeafCell c{Key(key), p + a + b, localSize(std::int64_t(size)), std::int64_t(size), 0};
        const std::size_t used = std::size_t(a + b) + c.localSize;
        const bool spills = c.localSize < std::size_t(size);
        if (used + (spills ? 4 : 0) > room)
            return std::nullopt;
        if (spills)
            c.overflow = be32(p + used);
        return c;
    }

    // An interior table cell: the child page and the highest key under it.
    std::optional<std::pair<Page, Key>> interiorCell(const BtreePage& page, int at) const {
        std::uint64_t key = 0;
        if (at + 5 > page.end || !readVarint(page.bytes.data + at + 4, page.end - at - 4, key))
            return std::nullopt;
        return std::make_pair(be32(page.bytes.data + at), Key(key));
    }

    // The whole payload, following the overflow chain as far as it holds together.
    Payload payload(const LeafCell& c) const {
        Payload out;
        out.bytes.reserve(qsizetype(std::min<std::int64_t>(c.payloadSize, 1 << 20)));
        out.bytes.append(reinterpret_cast<const char*>(c.local), qsizetype(c.localSize));
        std::int64_t left = c.payloadSize - std::int64_t(c.localSize);
        std::unordered_set<Page> seen;
        for (Page next = c.overflow; left > 0;) {
            const PageBytes page = file_.page(next);
            if (next < 2 || !page || page.size < 4 || !seen.insert(next).second) {
                out.complete = false;
                break;
            }
            const std::int64_t want = std::min<std::int64_t>(left, usable_ - 4);
            const std::int64_t take = std::min<std::int64_t>(want, std::int64_t(page.size) - 4);
            out.bytes.append(reinterpret_cast<const char*>(page.data + 4), qsizetype(take));
            left -= take;
            if (take < want) {
                out.complete = false;
                break;
            }
            next = be32(page.data);
        }
        return out;
    }

private:
    // How much of a table-leaf payload of the given size the page keeps; the rest overflows.
    std::size_t localSize(std::int64_t size) const {
        const std::int64_t u = usable_, most = u - 35, least = (u - 12) * 32 / 255 - 23;
        if (size <= most)
            return std::size_t(size);
        const std::int64_t k = least + (size - least) % (u - 4);
        return std::size_t(k <= most ? k : least);
    }

    const FileImage& file_;
    int usable_;
};

enum KindBit : std::uint8_t { KNull = 1, KInt = 2, KReal = 4, KText = 8, KBlob = 16, KAny = 31 };

struct Field {
    KindBit kind = KNull;
    std::int64_t integer = 0;
    double real = 0;
    QByteArray bytes;
};

struct Record {
    std::vector<Field> fields;
    bool cut = false; // a value ran past the readable payload and was kept as far as it went
};

std::int64_t serialLength(std::uint64_t type) {
    static constexpr int kFixed[] = {0, 1, 2, 3, 4, 6, 8, 8, 0, 0};
    if (type < 10)
        return kFixed[type];
    return type >= 12 ? std::int64_t((type - 12) / 2) : -1;
}

KindBit serialKind(std::uint64_t type) {
    if (type == 0)
        return KNull;
    if (type == 7)
        return KReal;
    if (type < 10)
        return KInt;
    return type % 2 ? KText : KBlob;
}

// The serial types of a record whose header lies within the given bytes.
std::optional<std::vector<std::uint64_t>> recordTypes(const uchar* p, std::size_t n,
                                                      std::size_t* headerSize = nullptr) {
    std::uint64_t size = 0;
    const int a = readVarint(p, n, size);
    if (!a || size > n || size < std::uint64_t(a))
        return std::nullopt;
    std::vector<std::uint64_t> types;
    for (std::size_t at = std::size_t(a); at < size;) {
        std::uint64_t t = 0;
        const int b = readVarint(p + at, std::size_t(size) - at, t);
        if (!b || t == 10 || t == 11 || types.size() >= std::size_t(kMaxColumns))
            return std::nullopt;
        types.push_back(t);
        at += std::size_t(b);
    }
    if (headerSize)
        *headerSize = std::size_t(size);
    return types;
}

std::optional<Record> decodeRecord(const Payload& payload) {
    const auto* p = reinterpret_cast<const uchar*>(payload.bytes.constData());
    const std::size_t n = std::size_t(payload.bytes.size());
    std::size_t at = 0;
    const auto types = recordTypes(p, n, &at);
    if (!types)
        return std::nullopt;
    Record r;
    r.fields.reserve(types->size());
    for (const std::uint64_t t : *types) {
        Field f;
        f.kind = serialKind(t);
        const std::size_t len = std::size_t(serialLength(t));
        if (at + len > n) {
            // Past the readable part: a text keeps what was read, anything else is unknown.
            if (payload.complete)
                return std::nullopt;
            r.cut = true;
            if (at < n && (f.kind == KText || f.kind == KBlob))
                f.bytes = payload.bytes.mid(qsizetype(at));
            else
                f.kind = KNull;
            at = n;
            r.fields.push_back(std::move(f));
            continue;
        }
        if (f.kind == KInt) {
            if (t == 8 || t == 9) {
                f.integer = t == 8 ? 0 : 1;
            } else {
                std::uint64_t v = (p[at] & 0x80) ? ~std::uint64_t(0) : 0;
                for (std::size_t i = 0; i < len; ++i)
                    v = (v << 8) | p[at + i];
                f.integer = std::int64_t(v);
            }
        } else if (f.kind == KReal) {
            std::uint64_t v = 0;
            for (int i = 0; i < 8; ++i)
                v = (v << 8) | p[at + i];
            std::memcpy(&f.real, &v, sizeof v);
        } else if (f.kind != KNull) {
            f.bytes = payload.bytes.mid(qsizetype(at), qsizetype(len));
        }
        at += len;
        r.fields.push_back(std::move(f));
    }
    if (payload.complete && at != n)
        return std::nullopt;
    return r;
}

// ---- What a table's rows look like -------------------------------------------------------

struct Shape {
    std::vector<std::uint8_t> kinds; // allowed KindBits per stored column
    int key = -1;                    // the column that aliases the row key: stored as null
};

std::uint8_t kindsOfDeclared(const QString& declared, bool notNull) {
    std::uint8_t k = KAny;
    switch (detail::kindOfDeclaredType(declared)) {
    case Value::Kind::Text:
        k = KText;
        break;
    case Value::Kind::Bool:
        k = KInt;
        break;
    case Value::Kind::Integer:
    case Value::Kind::Money:
    case Value::Kind::Real:
        k = KInt | KReal;
        break;
    case Value::Kind::Date:
        k = KText | KInt | KReal;
        break;
    default:
        break;
    }
    return notNull ? std::uint8_t(k & ~KNull) : std::uint8_t(k | KNull);
}

// sqlite_master: type, name, table, root page, SQL; sqlite_sequence: name, counter.
const Shape kMasterShape{{KText, KText, KText, KInt | KNull, KText | KNull}, -1};
const Shape kSequenceShape{{KText, KInt}, -1};

// A row fits a table's shape when it has all of its columns, each of an allowed kind, and
// the key's column is null. kindOf(i) gives the kind of column i.
template <typename KindOf>
bool fitsShape(std::size_t columns, KindOf&& kindOf, const Shape& shape) {
    if (columns != shape.kinds.size())
        return false;
    for (std::size_t i = 0; i < columns; ++i) {
        const KindBit kind = kindOf(i);
        if (!(kind & shape.kinds[i]) || (int(i) == shape.key && kind != KNull))
            return false;
    }
    return true;
}

// The text as UTF-8, which is what the fresh collection keeps. A sequence that does not
// decode (a damaged byte in a text) becomes U+FFFD, so that no text column ever holds bytes
// that are not text; mended tells that it did.
QByteArray utf8Of(const QByteArray& bytes, int encoding, bool* mended) {
    const auto kind = encoding == 2   ? QStringDecoder::Utf16LE
                      : encoding == 3 ? QStringDecoder::Utf16BE
                                      : QStringDecoder::Utf8;
    QStringDecoder decoder(kind, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        *mended = true;
    else if (encoding == 1)
        return bytes; // as stored, byte for byte
    return text.toUtf8();
}

// The encoding one stored text suggests: UTF-16 keeps a zero byte beside every Latin letter,
// on the odd side in little-endian and on the even side in big-endian; UTF-8 text holds no zero
// byte, and an odd length cannot be UTF-16. 0 when it tells nothing.
int encodingSuggestedBy(const uchar* p, std::size_t n) {
    if (n % 2)
        return 1;
    std::size_t evenZeros = 0, oddZeros = 0;
    for (std::size_t i = 0; i < n; ++i)
        if (!p[i])
            ++(i % 2 ? oddZeros : evenZeros);
    if (!evenZeros && !oddZeros)
        return 1;
    if (evenZeros && oddZeros)
        return 0;
    return oddZeros ? 2 : 3;
}

// Drops the end of a cut text back to a whole character.
void trimToWholeCharacter(QByteArray& bytes, int encoding) {
    if (encoding != 1) {
        bytes.truncate(bytes.size() & ~qsizetype(1));
        return;
    }
    qsizetype start = bytes.size();
    while (start > 0 && (uchar(bytes[start - 1]) & 0xc0) == 0x80 && bytes.size() - start < 3)
        --start;
    if (start > 0 && uchar(bytes[start - 1]) >= 0xc0) {
        const uchar lead = uchar(bytes[start - 1]);
        const qsizetype need = lead >= 0xf0 ? 4 : lead >= 0xe0 ? 3 : 2;
        if (bytes.size() - (start - 1) < need)
            bytes.truncate(start - 1);
    }
}

// The engine stores no NaN: a row holding one is damage, not data. A text cut short loses its
// last, partial character rather than have it replaced.
bool valuesSound(Record& r, int encoding) {
    for (Field& f : r.fields) {
        if (f.kind == KReal && std::isnan(f.real))
            return false;
        if (f.kind == KText && r.cut)
            trimToWholeCharacter(f.bytes, encoding);
    }
    return true;
}

// The column names of a CREATE TABLE statement, in order; empty when it cannot be read.
QStringList columnsOfCreate(const QString& sql) {
    const qsizetype open = sql.indexOf(QLatin1Char('('));
    if (open < 0)
        return {};
    QStringList definitions;
    QString current;
    QChar quote;
    int depth = 0;
    bool closed = false;
    for (qsizetype i = open + 1; i < sql.size() && !closed; ++i) {
        const QChar c = sql[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`')) {
            quote = c;
        } else if (c == QLatin1Char('[')) {
            quote = QLatin1Char(']');
        } else if (c == QLatin1Char('(')) {
            ++depth;
        } else if (c == QLatin1Char(')') && depth-- == 0) {
            closed = true;
            continue;
        } else if (c == QLatin1Char(',') && depth == 0) {
            definitions << current;
            current.clear();
            continue;
        }
        current += c;
    }
    if (!closed)
        return {};
    definitions << current;
    static const QStringList constraints = {QStringLiteral("CONSTRAINT"), QStringLiteral("PRIMARY"),
                                            QStringLiteral("UNIQUE"), QStringLiteral("CHECK"),
                                            QStringLiteral("FOREIGN")};
    QStringList names;
    for (const QString& d : definitions) {
        const QString t = d.trimmed();
        if (t.isEmpty())
            return {};
        const QChar q = t[0];
        const QChar close = q == QLatin1Char('[') ? QLatin1Char(']') : q;
        if (q == QLatin1Char('"') || q == QLatin1Char('`') || q == QLatin1Char('[') ||
            q == QLatin1Char('\'')) {
            const qsizetype end = t.indexOf(close, 1);
            if (end < 0)
                return {};
            names << t.mid(1, end - 1);
            continue;
        }
        qsizetype end = 0;
        while (end < t.size() && !t[end].isSpace())
            ++end;
        const QString word = t.left(end);
        if (!constraints.contains(word.toUpper()))
            names << word;
    }
    return names;
}

// ---- B-tree walking ----------------------------------------------------------------------

// The keys (low, high] a subtree holds; high is open on the right edge of the tree.
struct KeyRange {
    Key low = kNoKey;
    Key high = 0;
    bool open = true;
    // Its width in row keys, with the open end taken as top.
    std::int64_t width(Key top) const {
        const Key from = std::max<Key>(low, 0);
        const Key to = open ? top : high;
        return to > from ? to - from : 0;
    }
};

struct TreeScan {
    std::vector<std::pair<Page, KeyRange>> leaves; // in key order
    std::vector<KeyRange> lost;                    // subtrees that could not be read
    bool broken = false;
    Key highestKey = 0; // among the interior pages' keys
};

// Goes down table b-trees, taking each page for one tree only: a page reached twice (a cycle
// or two trees sharing it) is damage.
class Forest {
public:
    Forest(const FileImage& file, int usable)
        : file_(file), cells_(file, usable), usable_(usable), owned_(file.pageCount() + 1, 0) {}

    TreeScan walk(Page root) {
        TreeScan out;
        descend(root, KeyRange{}, 0, out);
        return out;
    }
    bool owned(Page p) const { return p < owned_.size() && owned_[p]; }

private:
    void descend(Page page, KeyRange range, int depth, TreeScan& out) {
        std::optional<BtreePage> p;
        if (depth <= kMaxDepth && file_.exists(page) && !owned_[page]) {
            p = readBtreePage(file_, page, usable_, false);
            // A damaged interior page would send the walk into pages of other trees, so it
            // must look exactly as the engine writes one; a page whose keys lie outside the
            // range its parent gives belongs to another tree.
            if (p && (!p->table() || (!p->leaf() && !readBtreePage(file_, page, usable_, true)) ||
                      !keysWithin(*p, range)))
                p.reset();
        }
        if (!p) {
            out.broken = true;
            out.lost.push_back(range);
            return;
        }
        owned_[page] = 1;
        if (p->leaf()) {
            out.leaves.emplace_back(page, range);
            return;
        }
        Key previous = range.low;
        for (int i = 0; i < p->cellCount; ++i) {
            const int at = p->cell(i);
            const auto cell = at ? cells_.interiorCell(*p, at) : std::nullopt;
            if (!cell) {
                out.broken = true; // its child is lost; the next child's range covers its keys
                continue;
            }
            Key key = cell->second;
            if (key <= previous || (!range.open && key > range.high)) {
                out.broken = true;
                key = std::max(previous, range.open ? key : std::min(key, range.high));
            } else {
                out.highestKey = std::max(out.highestKey, key);
            }
            descend(cell->first, KeyRange{previous, key, false}, depth + 1, out);
            previous = key;
        }
        descend(p->rightmost, KeyRange{previous, range.high, range.open}, depth + 1, out);
    }

    std::optional<Key> keyOf(const BtreePage& p, int i) const {
        const int at = p.cell(i);
        if (!at)
            return std::nullopt;
        if (p.leaf()) {
            const auto c = cells_.leafCell(p, at);
            return c ? std::optional<Key>(c->key) : std::nullopt;
        }
        const auto c = cells_.interiorCell(p, at);
        return c ? std::optional<Key>(c->second) : std::nullopt;
    }

    bool keysWithin(const BtreePage& p, const KeyRange& range) const {
        if (p.cellCount == 0)
            return true;
        const auto first = keyOf(p, 0), last = keyOf(p, p.cellCount - 1);
        return (!first || range.low == kNoKey || *first > range.low) &&
               (!last || range.open || *last <= range.high);
    }

    const FileImage& file_;
    CellReader cells_;
    int usable_;
    std::vector<std::uint8_t> owned_;
};

// Table pages that no readable b-tree reaches, gathered under the topmost page above them
// that no readable b-tree reaches either: one group is one lost tree or subtree.
struct OrphanGroup {
    Page top = 0;
    std::vector<Page> leaves;
};

// ---- Writing rows ------------------------------------------------------------------------

// One table of the fresh collection and how the damaged file stores it.
struct Target {
    QString name;
    QStringList columns;
    int keyColumn = -1;
    std::vector<std::uint8_t> kinds; // per column of the fresh table
    int creationOrder = 0;
    bool code = false;

    Page root = 0;                  // in the damaged file; 0 when unknown
    std::vector<int> storedToFresh; // stored column -> fresh column, -1 for none
    Shape stored;                   // the shape of its rows in the damaged file
    TreeScan tree;
    bool needsSearch() const { return root == 0 || tree.broken; }

    // What was read, for the counters and the estimate.
    Key counter = 0;                // the high-water mark the damaged file's sqlite_sequence holds
    Key highestKey = 0;             // of rows and interior pages
    Key highestRowKey = 0;          // of rows only
    std::int64_t treeCells = 0;     // cells on the leaves of its b-tree
    std::int64_t openLeafWidth = 0; // the keys spanned by its rightmost leaf
    std::int64_t searched = 0;      // rows found outside its b-tree
    std::int64_t written = 0;
    std::int64_t lost = 0;
    std::int64_t cut = 0;
    std::int64_t mended = 0; // rows written with characters that could not be read replaced
    std::unordered_set<Key> keys;

    void mapColumns(const QStringList& storedNames) {
        storedToFresh.clear();
        int found = 0;
        for (const QString& n : storedNames) {
            int to = -1;
            for (int i = 0; i < columns.size(); ++i)
                if (columns[i].compare(n, Qt::CaseInsensitive) == 0 &&
                    std::find(storedToFresh.begin(), storedToFresh.end(), i) == storedToFresh.end())
                    to = i;
            found += to >= 0 ? 1 : 0;
            storedToFresh.push_back(to);
        }
        // A table list too damaged to name the columns: take them in our own order.
        if (found * 2 < columns.size()) {
            storedToFresh.clear();
            for (int i = 0; i < columns.size(); ++i)
                storedToFresh.push_back(i);
        }
        stored = Shape{};
        for (std::size_t i = 0; i < storedToFresh.size(); ++i) {
            const int to = storedToFresh[i];
            stored.kinds.push_back(to < 0 ? std::uint8_t(KAny) : kinds[std::size_t(to)]);
            if (to >= 0 && to == keyColumn)
                stored.key = int(i);
        }
    }
};

// Inserts rows into one fresh table, each key once.
class RowWriter {
public:
    RowWriter(sqlite3* db, Target& t, int encoding) : db_(db), t_(t), encoding_(encoding) {}

    // False when the key was there already.
    bool write(Key key, Record& r) {
        if (t_.keys.count(key))
            return false;
        t_.highestKey = std::max(t_.highestKey, key);
        t_.highestRowKey = std::max(t_.highestRowKey, key);
        detail::Statement& st = statementFor(r.fields.size());
        st.reset();
        sqlite3_stmt* s = st.get();
        sqlite3_bind_int64(s, 1, key);
        int index = 2;
        bool mended = false;
        for (std::size_t i = 0; i < r.fields.size(); ++i) {
            const int to = t_.storedToFresh[i];
            if (to < 0 || to == t_.keyColumn)
                continue;
            Field& f = r.fields[i];
            if (f.kind == KText)
                f.bytes = utf8Of(f.bytes, encoding_, &mended);
            bind(s, index++, f);
        }
        try {
            st.step();
        } catch (const DbError& e) {
            // Refused by a NOT NULL or CHECK rule: the row was damaged; anything else is the
            // new file's failure and ends the repair.
            if (e.number() != err::NullNotAllowed && e.number() != err::ValidationFailed)
                throw;
            ++t_.lost;
            return true;
        }
        t_.keys.insert(key);
        ++t_.written;
        t_.cut += r.cut ? 1 : 0;
        t_.mended += mended ? 1 : 0;
        return true;
    }

private:
    detail::Statement& statementFor(std::size_t stored) {
        auto it = statements_.find(stored);
        if (it != statements_.end())
            return it->second;
        QStringList names{t_.keyColumn >= 0 ? t_.columns[t_.keyColumn] : QStringLiteral("rowid")};
        for (std::size_t i = 0; i < stored; ++i) {
            const int to = t_.storedToFresh[i];
            if (to >= 0 && to != t_.keyColumn)
                names << t_.columns[to];
        }
        QStringList quoted, marks;
        for (const QString& n : names) {
            quoted << QStringLiteral("\"%1\"").arg(n);
            marks << QStringLiteral("?");
        }
        return statements_
            .emplace(stored,
                     detail::Statement(db_, QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)")
                                                .arg(t_.name, quoted.join(QLatin1Char(',')),
                                                     marks.join(QLatin1Char(',')))))
            .first->second;
    }

    void bind(sqlite3_stmt* s, int index, const Field& f) const {
        switch (f.kind) {
        case KInt:
            sqlite3_bind_int64(s, index, f.integer);
            break;
        case KReal:
            sqlite3_bind_double(s, index, f.real);
            break;
        case KText:
            sqlite3_bind_text(s, index, f.bytes.constData(), int(f.bytes.size()), SQLITE_TRANSIENT);
            break;
        case KBlob:
            sqlite3_bind_blob(s, index, f.bytes.constData(), int(f.bytes.size()), SQLITE_TRANSIENT);
            break;
        default:
            sqlite3_bind_null(s, index);
        }
    }

    sqlite3* db_;
    Target& t_;
    int encoding_;
    std::map<std::size_t, detail::Statement> statements_;
};

// ---- The salvage -------------------------------------------------------------------------

struct SchemaEntry {
    QString type, name;
    Page root = 0;
    QString sql;
};

class Salvager {
public:
    Salvager(const QString& path, Database& fresh) : file_(path), fresh_(fresh) {}

    SalvageOutcome run() {
        describeTargets();
        correctHeader();
        readFreelist();
        Forest forest(file_, usable_);
        readSchema(forest);
        walkTrees(forest);
        findOrphans(forest);
        copyLiveRows();
        copyOrphanRows();
        writeCounters();
        finish();
        return out_;
    }

private:
    // The fresh collection names the tables and their columns, in the order it made them.
    void describeTargets() {
        sqlite3* db = handleOf(fresh_);
        detail::Statement tables(db,
                                 QStringLiteral("SELECT name FROM sqlite_master WHERE type = "
                                                "'table' AND substr(name, 1, 7) <> 'sqlite_' AND "
                                                "lower(name) <> 'meta' ORDER BY rootpage"));
        while (tables.step()) {
            Target t;
            t.name = tables.columnText(0);
            t.creationOrder = int(targets_.size());
            t.code = codeTableByName(t.name) != nullptr;
            detail::Statement cols(db, QStringLiteral("PRAGMA table_info(\"%1\")").arg(t.name));
            int primary = 0;
            while (cols.step()) {
                t.columns << cols.columnText(1);
                const QString type = cols.columnText(2);
                if (cols.columnInt(5) > 0) {
                    ++primary;
                    if (type.compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0)
                        t.keyColumn = int(t.columns.size()) - 1;
                }
                t.kinds.push_back(kindsOfDeclared(type, cols.columnInt(3) != 0));
            }
            if (primary != 1)
                t.keyColumn = -1;
            if (t.keyColumn >= 0)
                t.kinds[std::size_t(t.keyColumn)] = KNull;
            t.mapColumns(t.columns);
            targets_.push_back(std::move(t));
        }
    }

    QString textOf(const QByteArray& bytes) const {
        if (encoding_ == 1)
            return QString::fromUtf8(bytes);
        QStringDecoder decoder(encoding_ == 2 ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
        return decoder.decode(bytes);
    }

    Target* target(const QString& name) {
        for (Target& t : targets_)
            if (t.name.compare(name, Qt::CaseInsensitive) == 0)
                return &t;
        return nullptr;
    }

    // Page size and usable size from the header where they fit the pages, otherwise from the
    // pages themselves; the page count always from the file's length.
    void correctHeader() {
        const uchar* h = file_.data();
        const bool hasHeader = file_.size() >= kHeaderSize;
        int stated = 0, reserved = 0;
        std::uint32_t statedEncoding = 0;
        if (hasHeader) {
            stated = int(be16(h + 16));
            stated = stated == 1 ? 65536 : stated;
            reserved = h[20];
            statedEncoding = be32(h + 56);
        }
        int best = 0;
        double bestScore = -1;
        std::vector<std::pair<int, double>> scores;
        bool anyFirstPage = false;
        for (int size = 512; size <= 65536; size *= 2) {
            const int usable = size - reserved >= 480 ? size - reserved : size;
            file_.setPageSize(size);
            const bool first = readBtreePage(file_, 1, usable, true).has_value();
            anyFirstPage = anyFirstPage || first;
            scores.emplace_back(first ? size : -size, pageScore(usable));
            bestScore = std::max(bestScore, scores.back().second);
        }
        // The smallest size whose page 1 reads and whose pages look as well as the best do:
        // a multiple of the true size also lands on page starts, a fraction of it does not.
        for (const auto& [size, score] : scores)
            if ((size > 0 || !anyFirstPage) && score >= 0.75 * bestScore) {
                best = std::abs(size);
                break;
            }
        if (best == 0)
            best = stated >= 512 && stated <= 65536 && !(stated & (stated - 1)) ? stated : 4096;
        out_.pageSize = best;
        out_.pageSizeGuessed = best != stated;
        if (out_.pageSizeGuessed)
            out_.notes << QStringLiteral("page size %1 in the header, %2 found from the pages")
                              .arg(stated)
                              .arg(best);
        file_.setPageSize(best);
        usable_ = best - reserved >= 480 ? best - reserved : best;
        if (hasHeader && be32(h + 28) > file_.pageCount() && !out_.pageSizeGuessed)
            out_.notes << translate("Salvage",
                                    "the file ends after %1 of the %2 pages its header counts")
                              .arg(file_.pageCount())
                              .arg(be32(h + 28));
        if (file_.size() % best)
            out_.notes << translate("Salvage", "the last page is cut short");
        encoding_ = encodingOfTexts();
        if (hasHeader && statedEncoding != std::uint32_t(encoding_))
            out_.notes << QStringLiteral("text encoding %1 in the header, %2 found from the texts")
                              .arg(statedEncoding)
                              .arg(encoding_);
    }

    // The header's encoding field is one damaged byte away from garbling every text, so the
    // stored texts decide, the table list's first among them; without a text that tells,
    // UTF-8, in which Perlinex always writes.
    int encodingOfTexts() const {
        std::int64_t votes[4] = {};
        std::int64_t texts = 0;
        const CellReader cells(file_, usable_);
        for (Page p = 1; p <= file_.pageCount() && texts < 1000; ++p) {
            const auto page = readBtreePage(file_, p, usable_, true);
            if (!page || page->type != LeafTable)
                continue;
            for (int i = 0; i < page->cellCount; ++i) {
                const int at = page->cell(i);
                const auto cell = at ? cells.leafCell(*page, at) : std::nullopt;
                std::size_t offset = 0;
                const auto types =
                    cell ? recordTypes(cell->local, cell->localSize, &offset) : std::nullopt;
                for (std::size_t c = 0; types && c < types->size(); ++c) {
                    const auto length = std::size_t(serialLength((*types)[c]));
                    if (offset + length > cell->localSize)
                        break;
                    if (serialKind((*types)[c]) == KText && length >= 2) {
                        ++votes[encodingSuggestedBy(cell->local + offset, length)];
                        ++texts;
                    }
                    offset += length;
                }
            }
        }
        const int utf16 = votes[2] >= votes[3] ? 2 : 3;
        return votes[utf16] > votes[1] ? utf16 : 1;
    }

    // The share of sampled pages that read as b-tree pages under the current page size.
    double pageScore(int usable) const {
        const Page count = std::min<Page>(file_.pageCount(), 2049);
        if (count < 2)
            return 0;
        int good = 0;
        for (Page p = 2; p <= count; ++p)
            good += readBtreePage(file_, p, usable, true) ? 1 : 0;
        return double(good) / double(count - 1);
    }

    // The free pages keep rows deleted long ago and stale copies of rows that moved: they are
    // left out of any search. Without the header's pointer to the list, its trunk pages are
    // known by their shape.
    void readFreelist() {
        free_.assign(file_.pageCount() + 1, 0);
        const Page first = file_.size() >= kHeaderSize ? be32(file_.data() + 32) : 0;
        std::vector<Page> leaves;
        bool chained = first != 0;
        Page trunk = first;
        for (Page steps = 0; trunk && chained && steps < file_.pageCount(); ++steps) {
            leaves.clear();
            chained = !isFree(trunk) && trunkLeaves(trunk, leaves);
            if (chained)
                markFree(trunk, leaves);
            trunk = chained ? be32(file_.page(trunk).data) : 0;
        }
        if (first && chained)
            return;
        for (Page p = 2; p <= file_.pageCount(); ++p) {
            leaves.clear();
            if (trunkLeaves(p, leaves) && !leaves.empty())
                markFree(p, leaves);
        }
    }

    // The page numbers a freelist trunk page lists; false when the page is not one.
    bool trunkLeaves(Page trunk, std::vector<Page>& leaves) const {
        const PageBytes p = file_.page(trunk);
        if (trunk < 2 || !p || p.size < 8)
            return false;
        const Page next = be32(p.data);
        const std::size_t count = be32(p.data + 4);
        if ((next != 0 && (next < 2 || !file_.exists(next) || next == trunk)) ||
            count > (std::size_t(usable_) - 8) / 4 || 8 + 4 * count > p.size)
            return false;
        for (std::size_t i = 0; i < count; ++i) {
            const Page leaf = be32(p.data + 8 + 4 * i);
            if (leaf < 2 || !file_.exists(leaf) || leaf == trunk)
                return false;
            leaves.push_back(leaf);
        }
        return true;
    }

    void markFree(Page trunk, const std::vector<Page>& leaves) {
        free_[trunk] = 1;
        for (Page leaf : leaves)
            free_[leaf] = 1;
    }

    bool isFree(Page p) const { return p < free_.size() && free_[p]; }

    // The table list, from its b-tree and, where that is broken, from any page holding rows
    // of its shape; then the roots and column orders of our tables in the damaged file.
    void readSchema(Forest& forest) {
        const TreeScan tree = forest.walk(1);
        std::vector<SchemaEntry> entries;
        auto take = [&](const Record& r) {
            SchemaEntry e{textOf(r.fields[0].bytes), textOf(r.fields[1].bytes),
                          r.fields[3].kind == KInt && r.fields[3].integer > 0 &&
                                  r.fields[3].integer <= file_.pageCount()
                              ? Page(r.fields[3].integer)
                              : 0,
                          textOf(r.fields[4].bytes)};
            if (e.type == QLatin1String("table") || e.type == QLatin1String("index") ||
                e.type == QLatin1String("view") || e.type == QLatin1String("trigger"))
                entries.push_back(e);
        };
        for (const auto& leaf : tree.leaves)
            forEachRow(leaf.first, kMasterShape, [&](Key, Record& r) { take(r); });
        placeTables(entries);
        const bool incomplete =
            std::any_of(targets_.begin(), targets_.end(), [](const Target& t) { return !t.root; });
        if (tree.broken || incomplete) {
            out_.notes << translate("Salvage",
                                    "the table list is damaged; searching the pages for it");
            entries.clear();
            for (Page p = 2; p <= file_.pageCount(); ++p)
                if (!forest.owned(p) && !isFree(p))
                    forEachRow(p, kMasterShape, [&](Key, Record& r) { take(r); });
            placeTables(entries);
        }
        for (const Target& t : targets_)
            out_.schemaFound = out_.schemaFound && t.root;
        if (!out_.schemaFound)
            out_.notes << translate("Salvage",
                                    "the table list is lost; tables are told by their rows");
    }

    // Takes the roots and column orders of the tables not placed yet.
    void placeTables(const std::vector<SchemaEntry>& entries) {
        for (const SchemaEntry& e : entries) {
            if (e.type != QLatin1String("table") || !e.root)
                continue;
            if (e.name == QLatin1String("sqlite_sequence")) {
                sequenceRoot_ = sequenceRoot_ ? sequenceRoot_ : e.root;
                continue;
            }
            Target* t = target(e.name);
            if (!t) {
                otherRoots_.push_back(e.root);
                continue;
            }
            if (t->root)
                continue;
            t->root = e.root;
            const QStringList names = columnsOfCreate(e.sql);
            if (!names.isEmpty())
                t->mapColumns(names);
        }
    }

    // Our tables first, then every other table so that its pages count as reached.
    void walkTrees(Forest& forest) {
        for (Target& t : targets_)
            if (t.root)
                t.tree = forest.walk(t.root);
        if (sequenceRoot_)
            sequenceTree_ = forest.walk(sequenceRoot_);
        for (Page root : otherRoots_)
            forest.walk(root);
    }

    void findOrphans(const Forest& forest) {
        std::vector<std::optional<BtreePage>> orphan(file_.pageCount() + 1);
        for (Page p = 2; p <= file_.pageCount(); ++p)
            if (!forest.owned(p) && !isFree(p)) {
                auto bp = readBtreePage(file_, p, usable_, true);
                if (bp && bp->table())
                    orphan[p] = bp;
            }
        std::vector<Page> parent(orphan.size(), 0);
        CellReader cells(file_, usable_);
        for (Page p = 2; p < orphan.size(); ++p) {
            if (!orphan[p] || orphan[p]->leaf())
                continue;
            auto adopt = [&](Page child) {
                if (child != p && child < orphan.size() && orphan[child] && !parent[child])
                    parent[child] = p;
            };
            for (int i = 0; i < orphan[p]->cellCount; ++i) {
                const int at = orphan[p]->cell(i);
                if (const auto c = at ? cells.interiorCell(*orphan[p], at) : std::nullopt)
                    adopt(c->first);
            }
            adopt(orphan[p]->rightmost);
        }
        std::map<Page, OrphanGroup> groups;
        for (Page p = 2; p < orphan.size(); ++p) {
            if (!orphan[p] || !orphan[p]->leaf())
                continue;
            Page top = p;
            for (int steps = 0; parent[top] && steps <= kMaxDepth; ++steps)
                top = parent[top];
            OrphanGroup& g = groups[top];
            g.top = top;
            g.leaves.push_back(p);
        }
        for (auto& [top, g] : groups)
            orphans_.push_back(std::move(g));
        // Trees whose leaves are all gone still tell, by their keys, how many rows they held.
        for (Page p = 2; p < orphan.size(); ++p)
            if (orphan[p] && !orphan[p]->leaf() && !parent[p] && !groups.count(p) &&
                orphan[p]->cellCount > 0) {
                const int at = orphan[p]->cell(orphan[p]->cellCount - 1);
                if (const auto c = at ? cells.interiorCell(*orphan[p], at) : std::nullopt)
                    barrenTreeKeys_ = std::max(barrenTreeKeys_, c->second);
            }
    }

    // Calls fn(key, record) for each row of the shape on a table-leaf page; bad counts the
    // cells that do not read as one.
    template <typename Fn> std::int64_t forEachRow(Page page, const Shape& shape, Fn&& fn) {
        const auto p = readBtreePage(file_, page, usable_, false);
        if (!p || p->type != LeafTable)
            return 0;
        const CellReader cells(file_, usable_);
        std::int64_t bad = 0;
        for (int i = 0; i < p->cellCount; ++i) {
            const int at = p->cell(i);
            const auto cell = at ? cells.leafCell(*p, at) : std::nullopt;
            // The record's header usually lies on the page: a row of another shape is passed
            // over without gathering its overflow pages.
            const auto types = cell ? recordTypes(cell->local, cell->localSize) : std::nullopt;
            std::optional<Record> record;
            if (cell &&
                (!types ||
                 fitsShape(
                     types->size(), [&](std::size_t c) { return serialKind((*types)[c]); }, shape)))
                record = decodeRecord(cells.payload(*cell));
            if (record &&
                fitsShape(
                    record->fields.size(), [&](std::size_t c) { return record->fields[c].kind; },
                    shape) &&
                valuesSound(*record, encoding_))
                fn(cell->key, *record);
            else
                ++bad;
        }
        return bad;
    }

    void copyLiveRows() {
        for (Target& t : targets_) {
            RowWriter writer(handleOf(fresh_), t, encoding_);
            for (const auto& [page, range] : t.tree.leaves) {
                Key top = range.low;
                const std::int64_t bad = forEachRow(page, t.stored, [&](Key key, Record& r) {
                    writer.write(key, r);
                    top = std::max(top, key);
                    ++t.treeCells;
                });
                t.lost += bad;
                t.treeCells += bad;
                if (range.open)
                    t.openLeafWidth += KeyRange{range.low, top, false}.width(0);
            }
            t.highestKey = std::max(t.highestKey, t.tree.highestKey);
        }
        for (const auto& leaf : sequenceTree_.leaves)
            forEachRow(leaf.first, kSequenceShape, [&](Key, Record& r) { takeCounter(r); });
    }

    void takeCounter(const Record& r) {
        if (r.fields.size() == 2 && r.fields[1].kind == KInt)
            if (Target* t = target(textOf(r.fields[0].bytes)))
                t->counter = std::max(t->counter, r.fields[1].integer);
    }

    // Rows of broken or unplaced tables from the pages no readable b-tree reaches.
    void copyOrphanRows() {
        const bool sequenceNeeded = !sequenceRoot_ || sequenceTree_.broken;
        // Groups whose rows fit several tables alike (the nine code tables), by those tables.
        std::map<std::vector<Target*>, std::vector<const OrphanGroup*>> unplaced;
        std::vector<const OrphanGroup*> empty;
        for (const OrphanGroup& g : orphans_) {
            // The tables whose shape the group's rows have, with how many rows fit each.
            std::map<Target*, int> fits;
            int rows = 0;
            for (Page leaf : g.leaves) {
                for (Target& t : targets_)
                    if (t.needsSearch())
                        forEachRow(leaf, t.stored, [&](Key, Record&) { ++fits[&t]; });
                if (sequenceNeeded)
                    forEachRow(leaf, kSequenceShape, [&](Key, Record& r) { takeCounter(r); });
                if (auto p = readBtreePage(file_, leaf, usable_, false))
                    rows += p->cellCount;
            }
            if (rows == 0) {
                empty.push_back(&g);
                continue;
            }
            std::vector<Target*> candidates;
            int most = 0;
            for (const auto& [t, n] : fits)
                most = std::max(most, n);
            for (const auto& [t, n] : fits)
                if (n == most && most > 0)
                    candidates.push_back(t);
            std::sort(candidates.begin(), candidates.end(),
                      [](Target* a, Target* b) { return a->creationOrder < b->creationOrder; });
            if (candidates.empty())
                continue;
            Target* owner = candidates.size() == 1 ? candidates[0] : nullptr;
            for (Target* t : candidates)
                if (t->root == g.top)
                    owner = t;
            if (owner)
                copyGroup(g, *owner);
            else
                unplaced[candidates].push_back(&g);
        }
        for (const auto& [tables, groups] : unplaced)
            placeGroups(tables, groups, empty);
    }

    // Groups whose rows fit several tables of one shape, such as the nine code tables.
    void placeGroups(const std::vector<Target*>& tables,
                     const std::vector<const OrphanGroup*>& groups,
                     const std::vector<const OrphanGroup*>& empty) {
        const Shape& shape = tables.front()->stored;
        const bool allUnplaced =
            std::all_of(tables.begin(), tables.end(), [](Target* t) { return t->root == 0; });
        // With the table list lost, each table's root page is one group, and the engine gives
        // tables their root pages in the order it makes them.
        if (allUnplaced) {
            std::vector<const OrphanGroup*> roots = groups;
            if (roots.size() < tables.size())
                roots.insert(roots.end(), empty.begin(), empty.end());
            std::sort(roots.begin(), roots.end(), [](auto* a, auto* b) { return a->top < b->top; });
            if (roots.size() == tables.size()) {
                out_.notes << QStringLiteral("%1 tables of one shape placed by the order of "
                                             "their pages")
                                  .arg(tables.size());
                for (std::size_t i = 0; i < roots.size(); ++i)
                    copyGroup(*roots[i], *tables[i]);
                return;
            }
        }
        // Otherwise by the starter vocabulary they hold, where one table's stands out.
        for (const OrphanGroup* g : groups) {
            std::map<Target*, int> hits;
            for (Target* t : tables) {
                const QStringList words = starterVocabulary(t->name);
                const QSet<QString> vocabulary(words.begin(), words.end());
                for (Page leaf : g->leaves)
                    forEachRow(leaf, shape, [&](Key, Record& r) {
                        for (const Field& f : r.fields)
                            if (f.kind == KText && vocabulary.contains(textOf(f.bytes)))
                                ++hits[t];
                    });
            }
            Target* owner = nullptr;
            int best = 0, second = 0;
            for (const auto& [t, n] : hits) {
                if (n > best) {
                    second = best;
                    best = n;
                    owner = t;
                } else if (n > second) {
                    second = n;
                }
            }
            if (owner && best > second) {
                copyGroup(*g, *owner);
                continue;
            }
            std::int64_t rows = 0;
            for (Page leaf : g->leaves)
                forEachRow(leaf, shape, [&](Key, Record&) { ++rows; });
            unplacedRows_ += rows;
            out_.notes << QStringLiteral("%1 rows under page %2 fit several tables and were "
                                         "left out")
                              .arg(rows)
                              .arg(g->top);
        }
    }

    void copyGroup(const OrphanGroup& g, Target& t) {
        RowWriter writer(handleOf(fresh_), t, encoding_);
        for (Page leaf : g.leaves)
            forEachRow(leaf, t.stored, [&](Key key, Record& r) {
                writer.write(key, r);
                ++t.searched;
            });
    }

    // Raises each counter to the highest key or counter seen, so no key is handed out twice.
    void writeCounters() {
        sqlite3* db = handleOf(fresh_);
        detail::Statement raise(db, QStringLiteral("UPDATE sqlite_sequence SET seq = max(seq, ?) "
                                                   "WHERE name = ?"));
        detail::Statement add(db, QStringLiteral("INSERT INTO sqlite_sequence (name, seq) "
                                                 "VALUES (?, ?)"));
        for (Target& t : targets_) {
            if (t.keyColumn < 0)
                continue;
            const Key high = std::max(t.counter, t.highestKey);
            if (&t == target(QStringLiteral("stamp")))
                out_.stampCounter = high;
            if (high <= 0)
                continue;
            raise.reset();
            raise.bindInt(1, high);
            raise.bind(2, Value(t.name));
            raise.step();
            if (sqlite3_changes(db) == 0) {
                add.reset();
                add.bind(1, Value(t.name));
                add.bindInt(2, high);
                add.step();
            }
        }
    }

    void finish() {
        for (Target& t : targets_) {
            if (t.code)
                out_.codes += t.written;
            out_.lostRows += t.lost;
            out_.cutRows += t.cut;
            if (t.tree.broken && t.written)
                out_.notes << translate("Salvage", "%1: b-tree damaged, %2 rows found by searching")
                                  .arg(t.name)
                                  .arg(t.searched);
        }
        out_.lostRows += unplacedRows_;
        if (Target* stamp = target(QStringLiteral("stamp"))) {
            out_.stamps = stamp->written;
            out_.mendedStamps = stamp->mended;
            const std::optional<std::int64_t> held = estimateRows(*stamp);
            out_.stampsHeldKnown = held.has_value();
            out_.expectedStamps = held.value_or(std::int64_t(stamp->keys.size()) + stamp->lost);
        }
    }

    // The rows the table held: those read, plus for each subtree that could not be read the
    // keys it spans at the density of the parts that could. Without a readable root, the keys
    // up to the counter at the density of the rows found. Nothing when no page of the table,
    // no row and no counter is left to tell.
    std::optional<std::int64_t> estimateRows(Target& t) {
        const auto seen = std::int64_t(t.keys.size()) + t.lost;
        const Key top = std::max(t.counter, t.highestKey);
        double estimate = double(seen);
        if (!t.tree.leaves.empty()) {
            std::int64_t readWidth = t.openLeafWidth, lostWidth = 0;
            for (const auto& [page, range] : t.tree.leaves)
                readWidth += range.open ? 0 : range.width(top);
            for (const KeyRange& r : t.tree.lost)
                lostWidth += r.width(top);
            const double density =
                readWidth > 0 ? std::min(1.0, double(t.treeCells) / double(readWidth)) : 1.0;
            estimate = double(t.treeCells) + density * double(lostWidth);
        } else if (top > 0) {
            const double density = seen > 0 && t.highestRowKey > 0
                                       ? std::min(1.0, double(seen) / double(t.highestRowKey))
                                       : 1.0;
            estimate = density * double(top);
        } else if (t.root == 0 && barrenTreeKeys_ > 0) {
            // Nothing of the table is left but a tree of unknown table whose leaves are lost:
            // in a collection only the stamps fill such trees.
            estimate = double(barrenTreeKeys_);
            out_.notes << QStringLiteral("%1: not found; about %2 rows taken from a tree "
                                         "whose table and leaves are lost")
                              .arg(t.name)
                              .arg(barrenTreeKeys_);
        } else if (seen == 0) {
            return std::nullopt;
        }
        return std::max(seen, std::int64_t(std::llround(estimate)));
    }

    FileImage file_;
    Database& fresh_;
    SalvageOutcome out_;
    int usable_ = 4096;
    int encoding_ = 1;
    std::vector<std::uint8_t> free_;
    std::vector<Target> targets_;
    Page sequenceRoot_ = 0;
    TreeScan sequenceTree_;
    std::vector<Page> otherRoots_;
    std::vector<OrphanGroup> orphans_;
    std::int64_t unplacedRows_ = 0;
    Key barrenTreeKeys_ = 0;
};

} // namespace

SalvageOutcome salvageCollection(const QString& damagedPath, Database& fresh) {
    return Salvager(damagedPath, fresh).run();
}

} // namespace perlinex::db
