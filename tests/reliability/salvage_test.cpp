#include "reliability_support.h"
#include "support/temp_folder.h"

#include "db/sqlite/collectionfile.h"
#include "db/sqlite/salvage.h"
#include "db/sqlite/sqliteengine.h"
#include "db/textcompare.h"
#include "generator/generator.h"

#include <QTemporaryDir>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <iostream>
#include <map>
#include <memory>

using namespace reliability;

namespace {

// Reads a file through the engine, bypassing the store, for what the store does not offer.
class Sql {
public:
    explicit Sql(const QString& file) {
        if (sqlite3_open_v2(QFile::encodeName(file).constData(), &h_, SQLITE_OPEN_READONLY,
                            nullptr) != SQLITE_OK)
            throw std::runtime_error("could not open " + file.toStdString());
    }
    ~Sql() { sqlite3_close(h_); }
    Sql(const Sql&) = delete;
    Sql& operator=(const Sql&) = delete;

    template <typename Fn> void each(const QString& sql, Fn&& fn) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(h_, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(h_));
        while (sqlite3_step(st) == SQLITE_ROW)
            fn(st);
        sqlite3_finalize(st);
    }
    std::int64_t value(const QString& sql) {
        std::int64_t v = -1;
        each(sql, [&](sqlite3_stmt* st) { v = sqlite3_column_int64(st, 0); });
        return v;
    }

private:
    sqlite3* h_ = nullptr;
};

// Every row of a table by key, each value with its storage class, so that 1, 1.0 and '1'
// differ.
using Rows = std::map<std::int64_t, QStringList>;
Rows rowsOf(const QString& file, const QString& table) {
    Rows rows;
    Sql(file).each(QStringLiteral("SELECT rowid, * FROM \"%1\"").arg(table), [&](sqlite3_stmt* st) {
        QStringList values;
        for (int i = 1; i < sqlite3_column_count(st); ++i) {
            const int type = sqlite3_column_type(st, i);
            const QString v =
                type == SQLITE_FLOAT
                    ? QString::number(sqlite3_column_double(st, i), 'g', 17)
                    : QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)),
                                        sqlite3_column_bytes(st, i));
            values << QStringLiteral("%1:%2").arg(type).arg(v);
        }
        rows[sqlite3_column_int64(st, 0)] = values;
    });
    return rows;
}

// The counter's high-water mark; -2 and less when the table has several.
std::int64_t counterOf(const QString& file, const QString& table) {
    return Sql(file).value(QStringLiteral("SELECT CASE count(*) WHEN 1 THEN max(seq) ELSE "
                                          "-count(*) END FROM sqlite_sequence WHERE name = '%1'")
                               .arg(table));
}

// Every recovered row is one that was stored, under its own key and with every value; a
// value whose end could not be read may come back as its beginning.
void expectFaithful(const Rows& recovered, const Rows& original,
                    const std::vector<int>& cutColumns = {}) {
    int checked = 0;
    for (const auto& [key, values] : recovered) {
        const auto it = original.find(key);
        ASSERT_TRUE(it != original.end()) << "key " << key << " was never stored";
        ASSERT_EQ(values.size(), it->second.size());
        for (int i = 0; i < values.size(); ++i)
            if (values[i] != it->second[i] &&
                !(std::find(cutColumns.begin(), cutColumns.end(), i) != cutColumns.end() &&
                  it->second[i].startsWith(values[i])))
                ADD_FAILURE() << "key " << key << " column " << i << ": "
                              << values[i].left(60).toStdString() << " instead of "
                              << it->second[i].left(60).toStdString();
        ++checked;
    }
    EXPECT_EQ(checked, int(recovered.size()));
}

// Pseudo-random bytes, the same for the same seed.
void trash(QByteArray& bytes, qint64 from, qint64 count, std::uint32_t seed) {
    for (qint64 i = 0; i < count && from + i < bytes.size(); ++i) {
        seed = seed * 1103515245u + 12345u;
        bytes[from + i] = char(seed >> 16);
    }
}

void zero(QByteArray& bytes, int from, int to) {
    bytes.replace(from, to - from + 1, QByteArray(to - from + 1, '\0'));
}

constexpr int kGenerated = 4000;
constexpr int kDeletedAtEnd = 5; // the counter's high-water mark stays above the last key
const QString kCodeTables[] = {"cancel", "Condition", "country", "format", "gum",
                               "paper",  "Perf",      "topic",   "type"};

// Where things lie in the intact collection, for damaging it on purpose.
struct Layout {
    int pageSize = 0;
    int pages = 0;
    int stampRoot = 0;
    int indexLeaf = 0;
    int stampLeaf = 0;
    // Stamps whose rows lie within the first n pages.
    std::function<std::int64_t(int)> stampsWithin;
};

struct DamageKind {
    const char* name;
    std::function<void(QByteArray&, const Layout&)> apply;
    bool cutsFile = false;
};

void truncateTo(QByteArray& bytes, qint64 size) {
    bytes.truncate(size);
}

// The header's text-encoding field, which the engine reads before any text.
void setEncoding(QByteArray& bytes, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[56 + i] = char(value >> (24 - 8 * i));
}

const DamageKind kDamageKinds[] = {
    {"PageSizeZeroed", [](QByteArray& b, const Layout&) { zero(b, 16, 17); }},
    {"VersionBytesZeroed", [](QByteArray& b, const Layout&) { zero(b, 18, 19); }},
    {"PageCountZeroed", [](QByteArray& b, const Layout&) { zero(b, 28, 31); }},
    {"HeaderZeroed", [](QByteArray& b, const Layout&) { zero(b, 16, 99); }},
    {"SchemaPageTrashed",
     [](QByteArray& b, const Layout& l) { trash(b, 100, l.pageSize - 100, 1); }},
    {"StampRootTrashed",
     [](QByteArray& b, const Layout& l) {
         trash(b, qint64(l.stampRoot - 1) * l.pageSize, l.pageSize, 2);
     }},
    {"IndexPageTrashed",
     [](QByteArray& b, const Layout& l) {
         trash(b, qint64(l.indexLeaf - 1) * l.pageSize, l.pageSize, 3);
     }},
    {"DataPageTrashed",
     [](QByteArray& b, const Layout& l) {
         trash(b, qint64(l.stampLeaf - 1) * l.pageSize, l.pageSize, 4);
     }},
    {"CutByOnePage", [](QByteArray& b, const Layout& l) { truncateTo(b, b.size() - l.pageSize); },
     true},
    {"CutInHalf", [](QByteArray& b, const Layout&) { truncateTo(b, b.size() / 2); }, true},
    {"CutTo8KB", [](QByteArray& b, const Layout&) { truncateTo(b, 8192); }, true},
    {"EncodingSaysUtf16le", [](QByteArray& b, const Layout&) { setEncoding(b, 2); }},
    {"EncodingSaysUtf16be", [](QByteArray& b, const Layout&) { setEncoding(b, 3); }},
    {"EncodingGarbled", [](QByteArray& b, const Layout&) { setEncoding(b, 0xa5a5a5a6); }},
};

class SalvageOfDamage : public TempFolderTest, public ::testing::WithParamInterface<DamageKind> {
protected:
    static inline std::unique_ptr<QTemporaryDir> pristineDir;
    static inline QString pristine;
    static inline Layout layout;
    static inline Rows stamps;
    static inline std::map<QString, Rows> codes;

    // A generated collection with some long notes, whose last stamps were deleted.
    static void SetUpTestSuite() {
        pristineDir = std::make_unique<QTemporaryDir>();
        pristine = pristineDir->filePath(QStringLiteral("stamp.mdb"));
        perlinex::generator::generateCollection(pristine, {kGenerated, 7});
        {
            auto collection = db::openCollection(pristine);
            rawExec(*collection, QStringLiteral("UPDATE stamp SET notes = stampid || "
                                                "hex(zeroblob(12000)) WHERE stampid % 300 = 0; "
                                                "DELETE FROM stamp WHERE stampid > %1")
                                     .arg(kGenerated - kDeletedAtEnd));
        }
        stamps = rowsOf(pristine, QStringLiteral("stamp"));
        for (const QString& t : kCodeTables)
            codes[t] = rowsOf(pristine, t);
        Sql sql(pristine);
        layout.pageSize = int(sql.value(QStringLiteral("PRAGMA page_size")));
        layout.pages = int(sql.value(QStringLiteral("PRAGMA page_count")));
        layout.stampRoot = int(
            sql.value(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = 'stamp'")));
        layout.indexLeaf = int(sql.value(QStringLiteral(
            "SELECT pageno FROM dbstat WHERE name = 'stamp_descr' AND pagetype = 'leaf' "
            "ORDER BY path LIMIT 1 OFFSET 3")));
        layout.stampLeaf = int(sql.value(QStringLiteral(
            "SELECT pageno FROM dbstat WHERE name = 'stamp' AND pagetype = 'leaf' ORDER BY path "
            "LIMIT 1 OFFSET (SELECT count(*) / 2 FROM dbstat WHERE name = 'stamp' AND "
            "pagetype = 'leaf')")));
        layout.stampsWithin = [](int pages) {
            return Sql(pristine).value(
                QStringLiteral("SELECT coalesce(sum(ncell), 0) FROM dbstat WHERE name = 'stamp' "
                               "AND pagetype = 'leaf' AND pageno <= %1")
                    .arg(pages));
        };
    }
    static void TearDownTestSuite() { pristineDir.reset(); }
};

} // namespace

TEST_P(SalvageOfDamage, RecoversWhatThePagesStillHold) {
    ASSERT_EQ(std::int64_t(stamps.size()), kGenerated - kDeletedAtEnd);
    const QString dbPath = path(QStringLiteral("stamp.mdb"));
    QByteArray bytes = fileBytes(pristine);
    GetParam().apply(bytes, layout);
    writeFile(dbPath, bytes);

    const db::RepairReport report = db::repairCollection(dbPath);

    const Rows now = rowsOf(dbPath, QStringLiteral("stamp"));
    // The notes of a row cut short come back as their beginning, and so does the search text
    // made from them (the notes are its last part).
    const int notesColumn = 32;
    const int searchTextColumn = 35;
    expectFaithful(now, stamps,
                   report.cutRows > 0 ? std::vector<int>{notesColumn, searchTextColumn}
                                      : std::vector<int>{});
    EXPECT_EQ(report.stamps, std::int64_t(now.size()));
    const std::int64_t held = GetParam().cutsFile
                                  ? layout.stampsWithin(int(bytes.size() / layout.pageSize))
                                  : std::int64_t(stamps.size());
    EXPECT_GE(double(now.size()), 0.95 * double(held));
    EXPECT_LE(std::int64_t(now.size()), held);
    // The caller compares what came back with what the file held.
    EXPECT_GE(double(report.expectedStamps), 0.95 * double(stamps.size()));
    EXPECT_LE(report.expectedStamps, kGenerated);
    std::cout << "[ salvage  ] " << GetParam().name << ": " << now.size() << " of " << held
              << " stamps the pages held (" << stamps.size() << " stored), expected "
              << report.expectedStamps << ", " << report.codes << " code entries, "
              << report.lostRows << " lost, " << report.cutRows << " cut\n";

    // No key is handed out twice: the counter keeps its mark where its page survived.
    if (!GetParam().cutsFile || bytes.size() > 3 * layout.pageSize) {
        EXPECT_EQ(counterOf(dbPath, QStringLiteral("stamp")), kGenerated);
    }
    if (!now.empty()) {
        EXPECT_GE(counterOf(dbPath, QStringLiteral("stamp")), now.rbegin()->first);
    }

    std::int64_t codeRows = 0;
    for (const QString& t : kCodeTables) {
        const Rows table = rowsOf(dbPath, t);
        SCOPED_TRACE(t.toStdString());
        expectFaithful(table, codes[t]);
        if (!GetParam().cutsFile) {
            EXPECT_EQ(table.size(), codes[t].size());
        }
        codeRows += std::int64_t(table.size());
    }
    EXPECT_EQ(report.codes, codeRows);
}

INSTANTIATE_TEST_SUITE_P(Kinds, SalvageOfDamage, ::testing::ValuesIn(kDamageKinds),
                         [](const auto& info) { return std::string(info.param.name); });

namespace {

// Small collections damaged by hand, read by salvageCollection directly.
class SalvageReader : public TempFolderTest {
protected:
    QString dbPath;
    Rows original;

    void makeStamps(int count, const QString& pragmas = QString()) {
        dbPath = makeCollection(dir.path(), count);
        if (!pragmas.isEmpty())
            rawExec(*db::openCollection(dbPath), pragmas);
        original = rowsOf(dbPath, QStringLiteral("stamp"));
    }

    void damage(const std::function<void(QByteArray&)>& fn) {
        QByteArray bytes = fileBytes(dbPath);
        fn(bytes);
        writeFile(dbPath, bytes);
    }

    // Salvages into a fresh collection beside the file and returns what came back.
    db::SalvageOutcome salvage(Rows* stampsBack = nullptr) {
        const QString fresh = path(QStringLiteral("fresh.mdb"));
        QFile::remove(fresh);
        db::SalvageOutcome out;
        {
            auto collection = db::createCollection(fresh, false);
            collection->transaction([&] { out = db::salvageCollection(dbPath, *collection); });
        }
        if (stampsBack)
            *stampsBack = rowsOf(fresh, QStringLiteral("stamp"));
        return out;
    }

    // The pages of the one long value's overflow chain, in chain order.
    std::vector<int> overflowChain() {
        std::vector<int> pages;
        Sql(dbPath).each(QStringLiteral("SELECT pageno FROM dbstat WHERE name = 'stamp' AND "
                                        "pagetype = 'overflow' ORDER BY path"),
                         [&](sqlite3_stmt* st) { pages.push_back(sqlite3_column_int(st, 0)); });
        return pages;
    }

    void setNextPage(QByteArray& bytes, int page, std::uint32_t next) {
        const qint64 at = qint64(page - 1) * 4096;
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = char(next >> (24 - 8 * i));
    }
};

} // namespace

TEST_F(SalvageReader, OverflowChainIsFollowedWholeAndStopsWhereItBreaks) {
    makeStamps(30, QStringLiteral("UPDATE stamp SET notes = hex(randomblob(5242880)) "
                                  "WHERE stampid = 7"));
    ASSERT_EQ(original[7][32].size(), 2 + 10 * 1024 * 1024);
    const std::vector<int> chain = overflowChain();
    ASSERT_GT(chain.size(), 2000u);
    const QByteArray intact = fileBytes(dbPath);
    struct Case {
        const char* name;
        std::function<void(QByteArray&)> damage;
        bool whole;
    } cases[] = {
        {"intact chain, header page size lost", [](QByteArray& b) { zero(b, 16, 17); }, true},
        {"chain turning back on itself",
         [&](QByteArray& b) { setNextPage(b, chain[1000], std::uint32_t(chain[10])); }, false},
        {"chain leading past the end",
         [&](QByteArray& b) { setNextPage(b, chain[1000], 0x7fffffff); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(dbPath, intact);
        damage(c.damage);
        Rows back;
        const db::SalvageOutcome out = salvage(&back);
        EXPECT_EQ(out.stamps, 30);
        EXPECT_EQ(out.cutRows, c.whole ? 0 : 1);
        const QString& notes = back[7][32];
        if (c.whole) {
            EXPECT_EQ(notes, original[7][32]);
        } else {
            // Everything up to the broken link, nothing invented after it.
            EXPECT_GT(notes.size(), 1000 * 4092);
            EXPECT_LT(notes.size(), 1002 * 4092);
            EXPECT_TRUE(original[7][32].startsWith(notes));
        }
        back.erase(7);
        Rows rest = original;
        rest.erase(7);
        EXPECT_EQ(back, rest);
    }
}

TEST_F(SalvageReader, CyclicChildPointerEndsTheWalkAndTheCutOffLeafIsFound) {
    makeStamps(2000);
    const int root = int(Sql(dbPath).value(
        QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = 'stamp'")));
    damage([&](QByteArray& b) {
        ASSERT_EQ(b[qint64(root - 1) * 4096], char(5)) << "the stamp root is not interior";
        const qint64 rightmost = qint64(root - 1) * 4096 + 8;
        for (int i = 0; i < 4; ++i)
            b[rightmost + i] = char(std::uint32_t(root) >> (24 - 8 * i));
    });
    Rows back;
    const db::SalvageOutcome out = salvage(&back);
    EXPECT_EQ(back, original);
    EXPECT_EQ(out.stampCounter, 2000);
}

TEST_F(SalvageReader, PageSizeFieldOfOneMeans65536AndTablesArePlacedWithoutTheirList) {
    makeStamps(300, QStringLiteral("PRAGMA page_size = 65536; VACUUM"));
    std::map<QString, Rows> codes;
    for (const QString& t : kCodeTables)
        codes[t] = rowsOf(dbPath, t);
    const QByteArray intact = fileBytes(dbPath);
    ASSERT_EQ(intact[16], char(0));
    ASSERT_EQ(intact[17], char(1));

    damage([](QByteArray& b) { zero(b, 18, 19); });
    Rows back;
    db::SalvageOutcome out = salvage(&back);
    EXPECT_EQ(out.pageSize, 65536);
    EXPECT_FALSE(out.pageSizeGuessed);
    EXPECT_EQ(back, original);

    // The whole table list lies on page 1 with pages this large: without it, the stamps are
    // told by their shape and the nine code tables by the order of their root pages.
    writeFile(dbPath, intact);
    damage([](QByteArray& b) { trash(b, 100, 65536 - 100, 9); });
    const QString fresh = path(QStringLiteral("fresh.mdb"));
    out = salvage(&back);
    EXPECT_FALSE(out.schemaFound);
    EXPECT_EQ(back, original);
    EXPECT_EQ(counterOf(fresh, QStringLiteral("stamp")), 300);
    for (const QString& t : kCodeTables) {
        SCOPED_TRACE(t.toStdString());
        ASSERT_FALSE(codes[t].empty());
        EXPECT_EQ(rowsOf(fresh, t), codes[t]);
        EXPECT_EQ(counterOf(fresh, t), codes[t].rbegin()->first);
    }
}

TEST_F(SalvageReader, FreePagesGiveBackNeitherDeletedRowsNorStaleCopies) {
    // As an engine built without secure deletion leaves them: free pages keep their rows.
    makeStamps(2000, QStringLiteral("PRAGMA secure_delete = OFF; DELETE FROM stamp WHERE "
                                    "stampid BETWEEN 500 AND 1200; UPDATE stamp SET descr = "
                                    "descr || ' v2'"));
    ASSERT_GT(Sql(dbPath).value(QStringLiteral("PRAGMA freelist_count")), 10);
    const int leaf = int(Sql(dbPath).value(QStringLiteral(
        "SELECT pageno FROM dbstat WHERE name = 'stamp' AND pagetype = 'leaf' LIMIT 1 OFFSET 5")));
    // The header's pointer to the free pages is lost and the stamps' b-tree is broken, so
    // the search for stamps goes through the pages no b-tree reaches.
    damage([&](QByteArray& b) {
        zero(b, 32, 39);
        trash(b, qint64(leaf - 1) * 4096, 4096, 6);
    });
    Rows back;
    const db::SalvageOutcome out = salvage(&back);
    expectFaithful(back, original);
    EXPECT_GE(back.size() + 60, original.size());
    EXPECT_EQ(out.stampCounter, 2000);
}

TEST_F(SalvageReader, Utf16FileGivesItsTextsAsStored) {
    // Our own tables in a file the engine keeps in UTF-16, with letters beyond ASCII.
    const QString model = path(QStringLiteral("model.mdb"));
    db::createCollection(model, false)->close();
    dbPath = path(QStringLiteral("utf16.mdb"));
    sqlite3* h = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(dbPath).constData(), &h), SQLITE_OK);
    db::sqlite::registerTextFunctions(h);
    QString script = QStringLiteral("PRAGMA encoding = 'UTF-16be'; BEGIN;");
    Sql(model).each(QStringLiteral("SELECT sql FROM sqlite_master WHERE sql IS NOT NULL AND "
                                   "name <> 'sqlite_sequence' ORDER BY rowid"),
                    [&](sqlite3_stmt* st) {
                        script += QString::fromUtf8(
                                      reinterpret_cast<const char*>(sqlite3_column_text(st, 0))) +
                                  QLatin1Char(';');
                    });
    script += QStringLiteral(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 150) INSERT "
        "INTO stamp (descr, catnum, catsort, notes) SELECT 'Ærø Škoda 東京 ' || i, 'Mi ' || i, "
        "i, 'Überdruck ' || i FROM n; INSERT INTO country (Coudesc) VALUES ('Österreich'); "
        "COMMIT;");
    ASSERT_EQ(sqlite3_exec(h, script.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK)
        << sqlite3_errmsg(h);
    sqlite3_close(h);
    original = rowsOf(dbPath, QStringLiteral("stamp"));
    const QByteArray intact = fileBytes(dbPath);
    // The texts tell their encoding, whatever the header's field says.
    for (const std::uint32_t encoding : {3u, 0u, 1u, 2u}) {
        SCOPED_TRACE(encoding);
        writeFile(dbPath, intact);
        damage([&](QByteArray& b) {
            zero(b, 16, 17);
            setEncoding(b, encoding);
        });
        Rows back;
        const db::SalvageOutcome out = salvage(&back);
        EXPECT_EQ(back, original);
        EXPECT_EQ(out.codes, 1);
        EXPECT_EQ(out.mendedStamps, 0);
        EXPECT_EQ(rowsOf(path(QStringLiteral("fresh.mdb")), QStringLiteral("country")),
                  (Rows{{1, {QStringLiteral("1:1"), QStringLiteral("3:Österreich")}}}));
    }
}

TEST_F(SalvageReader, TextsThatDoNotDecodeAreMendedAndCounted) {
    makeStamps(300, QStringLiteral("UPDATE stamp SET descr = 'Mark-' || stampid || '-Münster' "
                                   "WHERE stampid IN (40, 41, 260)"));
    // In stamp 40 a lone continuation byte, in 41 a cut two-byte sequence, in 260 an
    // overlong one; each keeps its length, so the rows still read. The table and every index
    // that holds the description get the same bytes.
    damage([](QByteArray& b) {
        for (const auto& [key, bad] : {std::pair{"40", "\x80\x80"}, std::pair{"41", "\xc3("},
                                       std::pair{"260", "\xc0\xaf"}}) {
            const QByteArray text = QByteArray("Mark-") + key + "-M\xc3\xbcnster";
            qsizetype at = b.indexOf(text);
            ASSERT_GE(at, 0) << key;
            for (; at >= 0; at = b.indexOf(text, at + 1))
                b.replace(at + text.size() - 7, 2, bad);
        }
    });
    Rows back;
    const db::SalvageOutcome out = salvage(&back);
    EXPECT_EQ(out.stamps, 300);
    EXPECT_EQ(out.mendedStamps, 3);
    EXPECT_EQ(out.lostRows, 0);
    const QString fresh = path(QStringLiteral("fresh.mdb"));
    // The column holds text: the bad bytes became U+FFFD, the rest is as stored.
    QStringList stored;
    Sql(fresh).each(QStringLiteral("SELECT hex(descr) FROM stamp WHERE stampid IN (40, 260)"),
                    [&](sqlite3_stmt* st) {
                        stored << QString::fromLatin1(
                            reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
                    });
    const QString hexMended =
        QString::fromLatin1(QByteArray("M\xef\xbf\xbd\xef\xbf\xbdnster").toHex().toUpper());
    ASSERT_EQ(stored.size(), 2);
    for (const QString& h : stored)
        EXPECT_TRUE(h.endsWith(hexMended)) << h.toStdString();
    const QString mark = QStringLiteral("3:Mark-%1-M%2nster");
    const QString bad2 = QString(2, QChar(0xfffd));
    EXPECT_EQ(back[40][1], mark.arg(40).arg(bad2));
    EXPECT_EQ(back[41][1], mark.arg(41).arg(QString(QChar(0xfffd)) + QLatin1Char('(')));
    EXPECT_EQ(back[260][1], mark.arg(260).arg(bad2));
    for (const std::int64_t key : {40, 41, 260}) {
        back.erase(key);
        original.erase(key);
    }
    EXPECT_EQ(back, original);
}

TEST_F(SalvageReader, AFileCutToItsFirstPageCannotTellWhatItHeld) {
    makeStamps(300);
    const QByteArray intact = fileBytes(dbPath);
    for (const int size : {0, 100, 4096}) {
        SCOPED_TRACE(size);
        writeFile(dbPath, intact.left(size));
        const db::SalvageOutcome out = salvage();
        EXPECT_EQ(out.stamps, 0);
        EXPECT_FALSE(out.stampsHeldKnown);
    }
    // A whole, empty collection tells that it held none.
    dbPath = makeCollection(path(QStringLiteral("empty")), 0);
    damage([](QByteArray& b) { zero(b, 16, 17); });
    const db::SalvageOutcome out = salvage();
    EXPECT_TRUE(out.stampsHeldKnown);
    EXPECT_EQ(out.expectedStamps, 0);
}

TEST_F(SalvageReader, HostileBytesNeitherCrashNorInventRows) {
    makeStamps(200);
    const QByteArray intact = fileBytes(dbPath);
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(seed);
        QByteArray bytes = intact;
        // A burst of garbage somewhere, headers included, every few seeds the whole file.
        const qint64 from = qint64(seed * 7919u) % bytes.size();
        trash(bytes, seed % 8 ? from : 0, seed % 8 ? 3000 : bytes.size(), seed);
        writeFile(dbPath, bytes);
        Rows back;
        const db::SalvageOutcome out = salvage(&back);
        EXPECT_LE(out.stamps, 200);
        EXPECT_EQ(out.stamps, std::int64_t(back.size()));
    }
}

TEST_F(SalvageReader, CheckCollectionNamesTheProblemsAndChangesNothing) {
    makeStamps(500);
    EXPECT_EQ(db::checkCollection(dbPath), QStringList());
    const int leaf = int(Sql(dbPath).value(QStringLiteral(
        "SELECT pageno FROM dbstat WHERE name = 'stamp' AND pagetype = 'leaf' LIMIT 1")));
    damage([&](QByteArray& b) { trash(b, qint64(leaf - 1) * 4096 + 2000, 200, 5); });
    const QByteArray damaged = fileBytes(dbPath);
    EXPECT_FALSE(db::checkCollection(dbPath).isEmpty());
    EXPECT_EQ(fileBytes(dbPath), damaged);
    EXPECT_FALSE(QFile::exists(dbPath + QStringLiteral("-journal")));
}
