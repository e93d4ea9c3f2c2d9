#include "generator/generator.h"

#include "db/database.h"
#include "db/fields.h"
#include "db/schema.h"
#include "db/sqlite/collectionfile.h"
#include "db/sqlite/sqlitefile.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <array>
#include <memory>
#include <vector>

namespace perlinex::generator {

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

// One generated stamp: its fields in the order their values are drawn, which a seed fixes.
std::vector<std::pair<QString, db::Value>>
drawStamp(Random& r, const std::array<std::int64_t, 9>& codeCounts) {
    std::vector<std::pair<QString, db::Value>> row;
    auto put = [&](const char* field, const db::Value& v) {
        row.emplace_back(QLatin1String(field), v);
    };
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
    put("descr", db::Value(QStringLiteral("%1 %2 %3")
                               .arg(QString::fromLatin1(r.pick(kSubjects)))
                               .arg(year)
                               .arg(QString::fromLatin1(r.pick(kColours)))));
    put("catnum", db::Value(cat));
    put("catsort", db::Value(db::CatSortKey(cat)));
    put("face", db::Value(money(r, 500)));
    put("Year", db::Value(std::int64_t(year)));
    put("used", db::Value(r.chance(60)));
    put("wantlist", db::Value(wanted));
    put("quantity", db::Value(std::int64_t(quantity)));
    for (const db::CodeTable& t : db::codeTables()) {
        const std::int64_t count = codeCounts[std::size_t(t.number - 1)];
        put(t.idField, count > 0 && r.chance(95) ? db::Value(std::int64_t(r.between(1, int(count))))
                                                 : db::Value());
    }
    put("Color", db::Value(QString::fromLatin1(r.pick(kColours))));
    put("watermark",
        r.chance(50) ? db::Value(QString::fromLatin1(r.pick(kWatermarks))) : db::Value());
    put("Errors", r.chance(4) ? db::Value(QString::fromLatin1(r.pick(kErrors))) : db::Value());
    put("issued", r.chance(90) ? db::Value(issued) : db::Value());
    put("pricepaid", db::Value(paid));
    put("totalpaid", db::Value(paid * quantity));
    put("catvalue", db::Value(value));
    put("totalval", db::Value(value * quantity));
    put("priceask", forSale || sold ? db::Value(ask) : db::Value());
    put("totalsales", forSale || sold ? db::Value(ask * quantity) : db::Value());
    put("forsale", db::Value(forSale));
    put("purchased",
        wanted ? db::Value()
               : db::Value(QDate(r.between(1970, 2025), r.between(1, 12), r.between(1, 28))));
    put("sold", db::Value(sold));
    put("datesold",
        sold ? db::Value(QDate(2025, r.between(1, 12), r.between(1, 28))) : db::Value());
    put("notes", r.chance(10) ? db::Value(QString::fromLatin1(r.pick(kNotes))) : db::Value());
    put("misc1",
        r.chance(5)
            ? db::Value(
                  QStringLiteral("Album %1, page %2").arg(r.between(1, 9)).arg(r.between(1, 60)))
            : db::Value());
    put("misc2",
        r.chance(3) ? db::Value(QStringLiteral("Lot %1").arg(r.between(100, 999))) : db::Value());
    return row;
}

} // namespace

void generateCollection(const QString& path, const GeneratorOptions& options) {
    // Built whole under a temporary name and only then given its own.
    db::createDatabaseFile(path, [&](db::Database& db) {
        db::fillNewCollection(db, true);
        const db::LargerCache cache(db, 131072);
        std::array<std::int64_t, 9> codeCounts{};
        for (const db::CodeTable& t : db::codeTables())
            codeCounts[std::size_t(t.number - 1)] =
                db.scalar(QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(t.table)))
                    .toInteger();
        Random r(options.seed);
        std::unique_ptr<db::Command> insert;
        std::vector<db::Value> values;
        for (std::int64_t i = 0; i < options.stamps; ++i) {
            const auto row = drawStamp(r, codeCounts);
            if (!insert) {
                QStringList names;
                QStringList marks;
                for (const auto& [name, value] : row) {
                    names << name;
                    marks << QStringLiteral("?");
                }
                insert = db.prepare(
                    QStringLiteral("INSERT INTO stamp (%1) VALUES (%2)")
                        .arg(names.join(QLatin1Char(',')), marks.join(QLatin1Char(','))));
            }
            values.clear();
            for (const auto& nv : row)
                values.push_back(nv.second);
            insert->run(values);
        }
    });
}

} // namespace perlinex::generator
