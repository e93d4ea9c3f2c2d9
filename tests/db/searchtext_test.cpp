#include "db/sqlite/collectionfile.h"
#include "db/sqlite/searchtext.h"
#include "db/textcompare.h"
#include "support/collection_fixture.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace perlinex;
using namespace perlinex::db;

namespace {

class SearchTextTest : public CollectionTest {
protected:
    // The descriptions of the stamps that hold every word of the typed filter.
    QStringList matching(const QString& typed) {
        QStringList out;
        for (std::int64_t id : stampsMatching(*db, filterWords(typed)))
            out << db->scalar(QStringLiteral("select descr from stamp where stampid = %1").arg(id))
                       .toText();
        return out;
    }

    std::int64_t country(const QString& desc) {
        return codeId(QStringLiteral("country"), QStringLiteral("CouID"), QStringLiteral("Coudesc"),
                      desc);
    }
};

} // namespace

TEST(AccentFreeKey, DropsCaseAndAccentsAlone) {
    const std::vector<std::pair<QString, QString>> cases = {
        {QStringLiteral("Österreich"), QStringLiteral("osterreich")},
        {QStringLiteral("CÔTE D'IVOIRE"), QStringLiteral("cote d'ivoire")},
        {QStringLiteral("São Tomé"), QStringLiteral("sao tome")},
        {QStringLiteral("ΕΛΛΆΣ"), QStringLiteral("ελλασ")},
        {QStringLiteral("Łódź"), QStringLiteral("łodz")}, // a stroke is no accent
        {QStringLiteral("SG 12a-b"), QStringLiteral("sg 12a-b")},
    };
    for (const auto& [text, folded] : cases)
        EXPECT_EQ(accentFreeKey(text), folded) << text.toStdString();
}

TEST(FilterWords, SplitAtSpacesFoldedWithoutRepeats) {
    EXPECT_EQ(filterWords(QStringLiteral("  Penny  BLACK\tpenny ")),
              (QStringList{QStringLiteral("penny"), QStringLiteral("black")}));
    EXPECT_TRUE(filterWords(QStringLiteral(" \t ")).isEmpty());
    // A combining accent typed alone folds to nothing and narrows nothing.
    EXPECT_TRUE(filterWords(QString(QChar(0x0301))).isEmpty());
}

TEST_F(SearchTextTest, EveryWordInAnyOfTheFiveFieldsWithoutRegardToCaseOrAccents) {
    const std::int64_t austria = country(QStringLiteral("Austria"));
    db->execute(
        QStringLiteral("update country set Coudesc = 'Österreich' where CouID = %1").arg(austria));
    const std::int64_t topic =
        codeId(QStringLiteral("topic"), QStringLiteral("topID"), QStringLiteral("TopDesc"),
               db->scalar(QStringLiteral("select min(TopDesc) from topic")).toText());
    const QString topicName =
        db->scalar(QStringLiteral("select TopDesc from topic where topID = %1").arg(topic))
            .toText();
    addStamp(QStringLiteral("Penny Black"), QStringLiteral("SG 1"),
             {{QStringLiteral("CouID"), Value(austria)}});
    addStamp(QStringLiteral("Twopence Blue"), QStringLiteral("SG 2"),
             {{QStringLiteral("notes"), Value(QStringLiteral("plate 4, très fine"))},
              {QStringLiteral("topID"), Value(topic)}});
    addStamp(QStringLiteral("Mulready"), QStringLiteral("ME 1"));

    struct Case {
        const char* typed;
        QStringList expected;
    };
    const std::vector<Case> cases = {
        {"", {"Penny Black", "Twopence Blue", "Mulready"}},
        {"penny", {"Penny Black"}},
        {"PENNY black", {"Penny Black"}},
        {"bl", {"Penny Black", "Twopence Blue"}},
        {"osterreich", {"Penny Black"}}, // the country's description, accent dropped
        {"ÖSTER penny", {"Penny Black"}},
        {"tres FINE", {"Twopence Blue"}}, // the notes
        {"sg", {"Penny Black", "Twopence Blue"}},
        {"sg me", {}},                 // every word must be there
        {"black sg", {"Penny Black"}}, // words from two fields
        {"penny sg 1", {"Penny Black"}},
        {"y b", {"Penny Black"}}, // inside words too
        {"k sg", {"Penny Black"}},
        {"black\nsg", {"Penny Black"}},
        {"zzz", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(matching(QString::fromUtf8(c.typed)), c.expected) << c.typed;
    EXPECT_EQ(matching(topicName.toUpper()), QStringList{QStringLiteral("Twopence Blue")});
    // A word never runs from one field into the next: "black" ends one, "sg" starts another.
    EXPECT_TRUE(matching(QStringLiteral("blacksg")).isEmpty());
}

// The stored text follows every change, whoever writes it: a stamp's own fields, and the
// description of the entry it refers to.
TEST_F(SearchTextTest, FollowsEveryChangeOfTheStampOrOfItsEntries) {
    const std::int64_t a = country(QStringLiteral("Austria"));
    const std::int64_t id =
        addStamp(QStringLiteral("Eagle"), QString(), {{QStringLiteral("CouID"), Value(a)}});
    const auto text = [&] {
        return db->scalar(QStringLiteral("select foldedtext from stamp where stampid = %1").arg(id))
            .toText();
    };
    EXPECT_EQ(text(), QStringLiteral("eagle\n\naustria"));

    db->execute(QStringLiteral("update stamp set descr = 'Adler', notes = 'Zähnung' where "
                               "stampid = %1")
                    .arg(id));
    EXPECT_EQ(text(), QStringLiteral("adler\n\naustria\nzahnung"));
    db->execute(
        QStringLiteral("update country set Coudesc = 'Österreich' where CouID = %1").arg(a));
    EXPECT_EQ(text(), QStringLiteral("adler\n\nosterreich\nzahnung"));
    db->execute(QStringLiteral("delete from country where CouID = %1").arg(a));
    EXPECT_EQ(text(), QStringLiteral("adler\n\nzahnung"));
    db->execute(
        QStringLiteral("insert into country (CouID, Coudesc) values (%1, 'Austria')").arg(a));
    EXPECT_EQ(text(), QStringLiteral("adler\n\naustria\nzahnung"));
    // Other fields leave it alone; the stamp's other entries are not searched.
    db->execute(
        QStringLiteral("update stamp set Color = 'Red', gumID = 1 where stampid = %1").arg(id));
    EXPECT_EQ(text(), QStringLiteral("adler\n\naustria\nzahnung"));
}

// A collection of the first version has no search text: opened for change it gets one, filled
// for every stamp; opened read-only it is searched all the same.
TEST_F(SearchTextTest, AnOlderCollectionIsUpgradedOrSearchedAsItIs) {
    addStamp(QStringLiteral("Penny Black"), QString(),
             {{QStringLiteral("CouID"), Value(country(QStringLiteral("Austria")))}});
    QStringList drops;
    for (const char* t : {"stamp", "country", "topic"})
        for (const char* what : {"add", "change", "remove"})
            drops << QStringLiteral("drop trigger if exists %1_search_%2;")
                         .arg(QLatin1String(t), QLatin1String(what));
    db->execute(drops.join(QLatin1Char(' ')) +
                QStringLiteral(" alter table stamp drop column foldedtext;"
                               " update meta set version = 1"));
    db->close();

    db = openCollection(dbPath, StructureCheck::AtOpen, OpenMode::ReadOnly);
    EXPECT_FALSE(hasSearchText(*db));
    EXPECT_EQ(matching(QStringLiteral("AUSTRIA black")),
              QStringList{QStringLiteral("Penny Black")});
    db->close();

    db = openCollection(dbPath);
    ASSERT_TRUE(hasSearchText(*db));
    EXPECT_EQ(db->scalar(QStringLiteral("select version from meta")).toInteger(), SchemaVersion);
    EXPECT_EQ(db->scalar(QStringLiteral("select foldedtext from stamp")).toText(),
              QStringLiteral("penny black\n\naustria"));
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("stamp-before-upgrade-*.mdb")}).size(), 1);
    addStamp(QStringLiteral("Ägypten"));
    EXPECT_EQ(matching(QStringLiteral("agypten")), QStringList{QStringLiteral("Ägypten")});
}
