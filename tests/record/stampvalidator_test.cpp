#include "record/stampvalidator.h"
#include "support/wait.h"

#include <gtest/gtest.h>

using namespace perlinex;
using record::StampEntry;
using record::StampValidator;

namespace {

const regional::Regional& us() {
    static const regional::Regional r(QLocale(QLocale::English, QLocale::UnitedStates));
    return r;
}

StampEntry entry(std::initializer_list<std::pair<const char*, const char*>> texts) {
    StampEntry e = StampEntry::blank();
    e.setText(QStringLiteral("descr"), QStringLiteral("A stamp"));
    for (const auto& [field, text] : texts)
        e.setText(QLatin1String(field), QString::fromUtf8(text));
    return e;
}

struct LeaveCase {
    const char* name;
    const char* field;
    std::initializer_list<std::pair<const char*, const char*>> texts;
    const char* refusal; // start of the message, or nullptr when the field passes
    bool critical;
    // Texts after a pass.
    std::initializer_list<std::pair<const char*, const char*>> after;
};

} // namespace

TEST(StampValidator, LeavingAField) {
    const LeaveCase cases[] = {
        {"price as currency and its total",
         "pricepaid",
         {{"quantity", "3"}, {"pricepaid", "1.5"}},
         nullptr,
         false,
         {{"pricepaid", "$1.50"}, {"totalpaid", "$4.50"}}},
        {"price while quantity is bad: no total",
         "catvalue",
         {{"quantity", "abc"}, {"catvalue", "2"}, {"totalval", "$9.00"}},
         nullptr,
         false,
         {{"catvalue", "$2.00"}, {"totalval", "$9.00"}}},
        {"empty price empties its total",
         "priceask",
         {{"priceask", ""}, {"totalsales", "$3.00"}},
         nullptr,
         false,
         {{"totalsales", ""}}},
        {"price of spaces",
         "pricepaid",
         {{"pricepaid", "  "}},
         "You must enter a valid number or leave the field blank",
         false,
         {}},
        {"price not a number",
         "pricepaid",
         {{"pricepaid", "ten"}},
         "You must enter a valid number or leave the field blank",
         false,
         {}},
        {"total too large for money",
         "pricepaid",
         {{"quantity", "2000000000"}, {"pricepaid", "1000000000000"}},
         "The Price Paid times the quantity is more than",
         true,
         {}},
        {"quantity recomputes numeric prices only",
         "quantity",
         {{"quantity", "2"}, {"pricepaid", "$1.00"}, {"catvalue", "x"}, {"totalval", "old"}},
         nullptr,
         false,
         {{"totalpaid", "$2.00"}, {"totalval", "old"}, {"quantity", "2"}}},
        {"quantity empty",
         "quantity",
         {{"quantity", ""}},
         "You must enter a number in the Quantity field",
         true,
         {}},
        {"quantity not whole",
         "quantity",
         {{"quantity", "2.5"}},
         "The quantity must be a whole number",
         true,
         {}},
        {"quantity makes a total too large",
         "quantity",
         {{"quantity", "2000000000"}, {"priceask", "$1,000,000,000,000.00"}},
         "The Selling Price times the quantity",
         true,
         {}},
        {"face blank of spaces", "face", {{"face", "   "}}, nullptr, false, {{"face", "   "}}},
        {"face not a number",
         "face",
         {{"face", "1/2"}},
         "You must enter a number in the 'Face Value' field, or leave it blank",
         true,
         {}},
        {"face kept as typed", "face", {{"face", "0.5"}}, nullptr, false, {{"face", "0.5"}}},
        {"year out of range",
         "Year",
         {{"Year", "40000"}},
         "The year must be a whole number",
         true,
         {}},
        {"year not a number",
         "Year",
         {{"Year", "abc"}},
         "You must enter a number in the Year field, or leave it blank",
         true,
         {}},
        {"issue date not a date",
         "issued",
         {{"issued", "31/12/2020"}},
         "You must enter a valid issue date",
         false,
         {}},
        {"purchase date that does not exist",
         "purchased",
         {{"purchased", "4/31/2001"}},
         "You must enter a valid purchase date",
         false,
         {}},
        {"date of spaces is blank", "datesold", {{"datesold", "  "}}, nullptr, false, {}},
        {"description is not checked on leaving", "descr", {{"descr", ""}}, nullptr, false, {}},
    };
    const StampValidator v(us());
    for (const LeaveCase& c : cases) {
        StampEntry e = entry(c.texts);
        const StampEntry before = e;
        const auto r = v.leave(QLatin1String(c.field), e);
        if (!c.refusal) {
            EXPECT_FALSE(r.has_value()) << c.name << ": " << r->text.toStdString();
            for (const auto& [field, text] : c.after)
                EXPECT_EQ(e.text(QLatin1String(field)), QString::fromUtf8(text))
                    << c.name << " " << field;
            continue;
        }
        ASSERT_TRUE(r.has_value()) << c.name;
        EXPECT_TRUE(r->text.startsWith(QString::fromUtf8(c.refusal)))
            << c.name << ": " << r->text.toStdString();
        EXPECT_EQ(r->field.toLower(), QString::fromLatin1(c.field).toLower()) << c.name;
        EXPECT_EQ(r->critical, c.critical) << c.name;
        EXPECT_TRUE(e == before) << c.name << ": a refused field rewrote the entry";
    }
}

TEST(StampValidator, TheWholeRecordBeforeAStore) {
    struct Case {
        const char* name;
        std::initializer_list<std::pair<const char*, const char*>> texts;
        bool forSaleAndSold;
        const char* field; // refused field, or nullptr
        const char* title; // empty for the program's own
    };
    const Case cases[] = {
        {"fine", {}, false, nullptr, ""},
        {"spaces are a description", {{"descr", "  "}}, false, nullptr, ""},
        {"empty description first, even with a bad quantity",
         {{"descr", ""}, {"quantity", "x"}},
         true,
         "descr",
         ""},
        {"quantity not a number",
         {{"quantity", ""}},
         true,
         "quantity",
         "Non-numeric Quantity Entered"},
        {"quantity out of range",
         {{"quantity", "3000000000"}},
         false,
         "quantity",
         "Invalid Quantity"},
        {"for sale and sold", {}, true, "forsale", "Sale Status Error"},
        {"year that does not convert", {{"Year", "abc"}}, false, "Year", ""},
        {"price that does not convert", {{"catvalue", "1..2"}}, false, "catvalue", ""},
        {"purchase date that does not exist", {{"purchased", "4/31/2001"}}, false, "purchased", ""},
        {"description longer than its field",
         {{"descr", "................................"
                    "................................"
                    "................."}},
         false,
         "descr",
         ""},
    };
    const StampValidator v(us());
    for (const Case& c : cases) {
        StampEntry e = entry(c.texts);
        e.setTicked(QStringLiteral("forsale"), c.forSaleAndSold);
        e.setTicked(QStringLiteral("sold"), c.forSaleAndSold);
        const auto r = v.validate(e);
        if (!c.field) {
            EXPECT_FALSE(r.has_value()) << c.name << ": " << r->text.toStdString();
            continue;
        }
        ASSERT_TRUE(r.has_value()) << c.name;
        EXPECT_EQ(r->field.toLower(), QString::fromLatin1(c.field).toLower()) << c.name;
        EXPECT_EQ(r->title, QString::fromUtf8(c.title)) << c.name;
    }
}

TEST(StampValidator, AValueLongerThanItsFieldPassesWhileTheUserLeavesItAlone) {
    const StampValidator v(us());
    StampEntry shown = entry({});
    shown.setText(QStringLiteral("descr"), QString(5000, QLatin1Char('d')));
    StampEntry typed = shown;
    typed.setText(QStringLiteral("Color"), QStringLiteral("red"));
    EXPECT_FALSE(v.validate(typed, &shown).has_value());
    const auto changes = v.changes(typed, &shown);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_STREQ(changes[0].field->name, "Color");
    typed.setText(QStringLiteral("descr"), QString(5001, QLatin1Char('d')));
    ASSERT_TRUE(v.validate(typed, &shown).has_value());
}

TEST(StampValidator, ChangesOfAnEditAndTheValuesOfANewRecord) {
    const StampValidator v(us());
    db::Value stored[64];
    auto row = [&](const char* name) { return stored[db::stampFieldIndex(QLatin1String(name))]; };
    stored[db::stampFieldIndex(QStringLiteral("descr"))] = db::Value(QStringLiteral("Penny"));
    stored[db::stampFieldIndex(QStringLiteral("quantity"))] = db::Value(std::int64_t(2));
    // Four decimals stored, two shown: an untouched price is not rounded by a store.
    stored[db::stampFieldIndex(QStringLiteral("pricepaid"))] = db::Value(Currency::fromRaw(12345));
    stored[db::stampFieldIndex(QStringLiteral("CouID"))] = db::Value(std::int64_t(7));
    const StampEntry shown = v.show(row);
    EXPECT_EQ(shown.text(QStringLiteral("pricepaid")), QStringLiteral("$1.23"));
    EXPECT_EQ(shown.code(QStringLiteral("CouID")), 7);

    auto names = [](const std::vector<record::Change>& cs) {
        QStringList out;
        for (const auto& c : cs)
            out << QLatin1String(c.field->name);
        return out;
    };
    EXPECT_TRUE(v.changes(shown, &shown).empty());
    StampEntry edited = shown;
    edited.setText(QStringLiteral("catnum"), QStringLiteral("SG 12a"));
    edited.setText(QStringLiteral("quantity"), QStringLiteral("3"));
    const auto cs = v.changes(edited, &shown);
    // The sort key follows the number, and every total follows the quantity.
    EXPECT_EQ(names(cs), (QStringList{"catnum", "catsort", "quantity", "totalpaid", "totalval",
                                      "totalsales"}));
    EXPECT_EQ(cs[1].value.toText(), QString(18, QLatin1Char(' ')) + QStringLiteral("12"));
    EXPECT_EQ(cs[3].value.toCurrency(), Currency::fromRaw(36900)); // 3 x $1.23 shown
    EXPECT_TRUE(cs[4].value.isNull());

    const auto all = v.changes(StampEntry::blank(), nullptr);
    EXPECT_EQ(all.size(), db::stampFields().size() - 1); // all but the counter
    for (const auto& c : all) {
        if (c.field->name == QLatin1String("quantity"))
            EXPECT_EQ(c.value.toInteger(), 1);
        else if (c.field->kind == db::FieldKind::Boolean)
            EXPECT_FALSE(c.value.toBool());
        else if (c.field->kind == db::FieldKind::Text || c.field->kind == db::FieldKind::LongText)
            EXPECT_FALSE(c.value.isNull()) << c.field->name; // an empty box stores empty text
        else
            EXPECT_TRUE(c.value.isNull()) << c.field->name;
    }
}
