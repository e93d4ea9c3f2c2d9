#pragma once

#include "db/database.h"
#include "db/recordset.h"
#include "db/schema.h"
#include "db/sqlite/collectionfile.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"

#include <QFile>
#include <QStringList>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

// A small collection whose stamps meet the reports' edge cases: text that means something in
// HTML, bars and semicolons, a tab and a line break, a letter outside ASCII, missing and
// non-numeric values, losses, quantities, stamps of no country, type, format or topic, two
// sold stamps (one of quantity 3) and two on the want list.
//
// Entries: country 1 Österreich, 2 Sweden, 3 United States; type 1 Airmail, 2 Definitive;
// format 1 Single, 2 Block; topic 1 Ships; condition 1 Mint.
inline std::unique_ptr<perlinex::db::Database> makeReportCollection(const QString& path) {
    using perlinex::Currency;
    using perlinex::db::Value;
    auto db = perlinex::db::createCollection(path, false);
    db->execute(QStringLiteral(
        "insert into country(Coudesc) values ('Österreich'); insert into country(Coudesc) values "
        "('Sweden'); insert into country(Coudesc) values ('United States'); insert into "
        "type(Typedesc) values ('Airmail'); insert into type(Typedesc) values ('Definitive'); "
        "insert into format(FormDesc) values ('Single'); insert into format(FormDesc) values "
        "('Block'); insert into topic(TopDesc) values ('Ships'); insert into condition(conDesc) "
        "values ('Mint')"));
    const auto money = [](const char* text) {
        return Value(*Currency::fromPlainText(QString::fromLatin1(text)));
    };
    using Fields = std::vector<std::pair<const char*, Value>>;
    const auto add = [&](const QString& descr, const char* catnum, const Fields& fields) {
        auto rs = db->openRecordSet(QStringLiteral("Select * from stamp"));
        rs->addNew();
        const std::int64_t id = rs->field(QStringLiteral("stampid")).toInteger();
        rs->setField(QStringLiteral("descr"), Value(descr));
        rs->setField(QStringLiteral("catnum"), Value(catnum));
        for (const auto& [name, value] : fields)
            rs->setField(QString::fromLatin1(name), value);
        rs->update();
        return id;
    };
    const Value yes(true);
    add(QStringLiteral("Airmail <Zeppelin> & \"Graf\""), "C13",
        {{"quantity", 3},
         {"pricepaid", money("1.5")},
         {"catvalue", money("2")},
         {"CouID", 3},
         {"typeID", 1},
         {"formID", 1},
         {"topID", 1},
         {"face", money("0.65")},
         {"Year", 1930},
         {"forsale", yes},
         {"priceask", money("2.5")}});
    add(QStringLiteral("Bar | and; semi"), "SG 2|b;",
        {{"quantity", 4}, {"catvalue", money("0.75")}, {"formID", 2}, {"forsale", yes}});
    const std::int64_t tab = add(QStringLiteral("Tab\there\r\nnew line"), "7",
                                 {{"quantity", 1},
                                  {"pricepaid", money("5")},
                                  {"catvalue", money("1.25")},
                                  {"CouID", 2},
                                  {"typeID", 2},
                                  {"formID", 1},
                                  {"topID", 1},
                                  {"Year", 1855},
                                  {"forsale", yes}});
    add(QStringLiteral("Österreich 1850"), "ANK 1",
        {{"quantity", 2},
         {"pricepaid", money("100")},
         {"catvalue", money("80")},
         {"CouID", 1},
         {"typeID", 2},
         {"face", money("0.09")},
         {"Year", 1850}});
    add(QStringLiteral("Sold Stamp"), "S1",
        {{"quantity", 3},
         {"pricepaid", money("1.5")},
         {"priceask", money("2")},
         {"sold", yes},
         {"CouID", 2}});
    add(QStringLiteral("Another Sold"), "S2",
        {{"pricepaid", money("5")}, {"priceask", money("2")}, {"sold", yes}});
    add(QStringLiteral("Inverted Jenny"), "C3a",
        {{"wantlist", yes}, {"face", money("0.24")}, {"CouID", 3}, {"ConID", 1}});
    const std::int64_t odd =
        add(QStringLiteral("Want Odd Face"), "", {{"wantlist", yes}, {"pricepaid", money("100")}});
    // Values another program may have left that are no numbers.
    db->execute(QStringLiteral("update stamp set face = 'abc', priceask = 'n/a' where stampid = %1")
                    .arg(tab));
    db->execute(QStringLiteral("update stamp set face = 'abc' where stampid = %1").arg(odd));
    return db;
}

// Records the save dialog's filter and opening path too.
class RecordingDialogs : public ScriptedDialogs {
public:
    QStringList saveFilters;
    QStringList savePaths;
    std::optional<QString> saveFileName(const QString& title, const QString& filter,
                                        const QString& initialPath) override {
        saveFilters << filter;
        savePaths << initialPath;
        return ScriptedDialogs::saveFileName(title, filter, initialPath);
    }
};

inline QString fileText(const QString& fileName) {
    QFile f(fileName);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QStringLiteral("<none>");
}

inline void writeFileText(const QString& fileName, const QByteArray& bytes) {
    QFile f(fileName);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

// Lines ended by CR LF, as report files have them.
inline QString crlf(const QStringList& lines) {
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}
