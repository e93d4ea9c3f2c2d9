#include "generator.h"

#include "db/database.h"
#include "db/dberror.h"
#include "db/schema.h"
#include "db/sqlitecall.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <array>
#include <unistd.h>

namespace perlinex::bench {

namespace {

// A small generator of our own, so that a seed gives the same collection everywhere.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ULL + 1) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    int below(int n) { return int(next() % std::uint64_t(n)); }
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    bool chance(int percent) { return below(100) < percent; }
    template <typename T, std::size_t N> const T& pick(const std::array<T, N>& items) {
        return items[std::size_t(below(int(N)))];
    }

private:
    std::uint64_t state_;
};

const std::array<const char*, 24> kSubjects = {
    "Queen Victoria",    "King George V",      "Penny Black",
    "Penny Red",         "Two Pence Blue",     "Europa",
    "Olympic Games",     "Christmas",          "Birds of Prey",
    "Lighthouses",       "Wild Flowers",       "Railway Centenary",
    "Space Exploration", "Famous Composers",   "Butterflies",
    "National Parks",    "Coronation",         "Silver Jubilee",
    "Airmail",           "Tall Ships",         "Castles",
    "Folk Costumes",     "Football World Cup", "Red Cross"};
const std::array<const char*, 12> kColours = {"red",         "blue",   "green",         "black",
                                              "carmine",     "violet", "brown",         "orange",
                                              "ultramarine", "olive",  "multicoloured", "grey"};
const std::array<const char*, 6> kWatermarks = {"Crown CA",     "Multiple Crown",    "Post Horn",
                                                "Crossed Keys", "St Edward's Crown", "None"};
const std::array<const char*, 5> kErrors = {"Inverted watermark", "Missing colour", "Double print",
                                            "Imperf between", "Shifted perfs"};
const std::array<const char*, 6> kNotes = {
    "Bought at the spring auction.",        "From grandfather's album.",
    "Small thin on the reverse.",           "Certificate of authenticity included.",
    "Part of a mixed lot; needs checking.", "Nice centring, fresh colour."};
const std::array<const char*, 5> kPrefixes = {"SG ", "Sc ", "Mi ", "Yv ", ""};

QString catalogueNumber(Random& r) {
    QString n = QString::fromLatin1(r.pick(kPrefixes)) + QString::number(r.between(1, 4999));
    if (r.chance(20))
        n += QChar(QLatin1Char('a' + r.below(6)));
    if (r.chance(10))
        n += QStringLiteral("-") + QString::number(r.between(1, 20));
    return n;
}

Currency money(Random& r, int maxCents) {
    return Currency::fromRaw(std::int64_t(r.between(1, maxCents)) * 100);
}

} // namespace

void generateCollection(const QString& path, const GeneratorOptions& options) {
    // Filled under a temporary name without waiting for the disk, then synced and renamed:
    // only a whole collection ever carries the name.
    const QString temp = path + QStringLiteral(".generating");
    QFile::remove(temp);
    if (QFileInfo::exists(path))
        throw db::DbError(db::err::CannotOpen, QStringLiteral("'%1' already exists.").arg(path));
    auto db = db::createCollection(temp, true);
    sqlite3* h = db->handle();
    db::detail::exec(h, QStringLiteral("PRAGMA synchronous = OFF; PRAGMA cache_size = -131072"));
    std::array<std::int64_t, 9> codeCounts{};
    for (int t = 0; t < 9; ++t)
        codeCounts[t] = db->scalar(QStringLiteral("SELECT count(*) FROM %1")
                                       .arg(QString::fromLatin1(db::codeTables()[t].table)))
                            .toInteger();
    Random r(options.seed);
    db->transaction([&] {
        db::detail::Statement st(
            h, QStringLiteral(
                   "INSERT INTO stamp (descr, catnum, catsort, face, Year, used, wantlist, "
                   "quantity, CanID, ConID, CouID, formID, gumID, papID, perfID, topID, typeID, "
                   "Color, watermark, Errors, issued, pricepaid, totalpaid, catvalue, totalval, "
                   "priceask, totalsales, forsale, purchased, sold, datesold, notes, misc1, misc2) "
                   "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
        for (std::int64_t i = 0; i < options.stamps; ++i) {
            st.reset();
            const int year = r.between(1840, 2025);
            const QString cat = catalogueNumber(r);
            const int quantity = r.chance(80) ? 1 : r.between(2, 12);
            const bool wanted = r.chance(6);
            const bool sold = !wanted && r.chance(8);
            const bool forSale = !wanted && !sold && r.chance(15);
            const Currency paid = money(r, 5000);
            const Currency value = money(r, 20000);
            const Currency ask = money(r, 15000);
            const QDate issued(year, r.between(1, 12), r.between(1, 28));
            int k = 1;
            st.bind(k++, db::Value(QStringLiteral("%1 %2 %3")
                                       .arg(QString::fromLatin1(r.pick(kSubjects)))
                                       .arg(year)
                                       .arg(QString::fromLatin1(r.pick(kColours)))));
            st.bind(k++, db::Value(cat));
            st.bind(k++, db::Value(db::CatSortKey(cat)));
            st.bind(k++, db::Value(money(r, 500)));
            st.bind(k++, db::Value(std::int64_t(year)));
            st.bind(k++, db::Value(r.chance(60)));
            st.bind(k++, db::Value(wanted));
            st.bind(k++, db::Value(std::int64_t(quantity)));
            for (int t = 0; t < 9; ++t)
                st.bind(k++, codeCounts[t] > 0 && r.chance(95)
                                 ? db::Value(std::int64_t(r.between(1, int(codeCounts[t]))))
                                 : db::Value());
            st.bind(k++, db::Value(QString::fromLatin1(r.pick(kColours))));
            st.bind(k++, r.chance(50) ? db::Value(QString::fromLatin1(r.pick(kWatermarks)))
                                      : db::Value());
            st.bind(k++,
                    r.chance(4) ? db::Value(QString::fromLatin1(r.pick(kErrors))) : db::Value());
            st.bind(k++, r.chance(90) ? db::Value(issued) : db::Value());
            st.bind(k++, db::Value(paid));
            st.bind(k++, db::Value(paid * quantity));
            st.bind(k++, db::Value(value));
            st.bind(k++, db::Value(value * quantity));
            st.bind(k++, forSale || sold ? db::Value(ask) : db::Value());
            st.bind(k++, forSale || sold ? db::Value(ask * quantity) : db::Value());
            st.bind(k++, db::Value(forSale));
            st.bind(k++, wanted ? db::Value()
                                : db::Value(QDate(r.between(1970, 2025), r.between(1, 12),
                                                  r.between(1, 28))));
            st.bind(k++, db::Value(sold));
            st.bind(k++, sold ? db::Value(QDate(2025, r.between(1, 12), r.between(1, 28)))
                              : db::Value());
            st.bind(k++,
                    r.chance(10) ? db::Value(QString::fromLatin1(r.pick(kNotes))) : db::Value());
            st.bind(k++, r.chance(5) ? db::Value(QStringLiteral("Album %1, page %2")
                                                     .arg(r.between(1, 9))
                                                     .arg(r.between(1, 60)))
                                     : db::Value());
            st.bind(k++, r.chance(3) ? db::Value(QStringLiteral("Lot %1").arg(r.between(100, 999)))
                                     : db::Value());
            st.step();
        }
    });
    db::detail::exec(h, QStringLiteral("PRAGMA synchronous = FULL"));
    db->close();
    QFile file(temp);
    if (!file.open(QIODevice::ReadWrite) || ::fsync(file.handle()) != 0 || !file.rename(path))
        throw db::DbError(db::err::DiskError, QStringLiteral("Could not write '%1'.").arg(path));
}

} // namespace perlinex::bench
