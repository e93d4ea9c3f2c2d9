#include "db/codeentries.h"

#include "db/textcompare.h"
#include "support/collection_fixture.h"

using namespace perlinex::db;

TEST(TextFolding, CaseAndAccentsDoNotTellTextsApart) {
    struct Case {
        const char* a;
        const char* b;
        bool same;
    } cases[] = {
        {"Aden", "aden", true},
        {"Côte d'Ivoire", "COTE D'IVOIRE", true},
        {"Curaçao", "curacao", true},
        {"Åland Islands", "aland islands", true},
        {"Россия", "РОССИЯ", true},
        {"Aden", "Aden ", false}, // a space is a difference one can see
        {"Perf 10½", "Perf 10", false},
        {"Mauritania", "Mauritius", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(sameTextIgnoringAccents(QString::fromUtf8(c.a), QString::fromUtf8(c.b)), c.same)
            << c.a << " / " << c.b;
    EXPECT_EQ(accentFreeKey(QStringLiteral("São Tomé")), QStringLiteral("sao tome"));
}

class CodeEntriesTest : public CollectionTest {};

TEST_F(CodeEntriesTest, FindsTheEntryADescriptionCannotBeToldApartFrom) {
    const CodeTable& countries = *codeTable(3);
    const auto aden = indistinctEntry(*db, countries, QStringLiteral("aden"));
    ASSERT_TRUE(aden);
    EXPECT_EQ(aden->description, QStringLiteral("Aden"));
    EXPECT_EQ(aden->id, codeId("country", "CouID", "Coudesc", "Aden"));
    EXPECT_EQ(indistinctEntry(*db, countries, QStringLiteral("cote d'ivoire"))->description,
              QString::fromUtf8("Côte d'Ivoire"));
    // The entry being renamed is no duplicate of itself; another table's entries do not count.
    EXPECT_FALSE(indistinctEntry(*db, countries, QStringLiteral("ADEN"), aden->id));
    EXPECT_FALSE(indistinctEntry(*db, *codeTable(5), QStringLiteral("aden")));
    EXPECT_FALSE(indistinctEntry(*db, countries, QStringLiteral("Adenia")));
}
