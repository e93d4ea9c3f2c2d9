#include "exchange/importsession.h"
#include "exchange_support.h"
#include "support/collection_fixture.h"

#include <gtest/gtest.h>

using namespace exchange_test;
using namespace perlinex;
using namespace perlinex::exchange;

namespace {

class Session : public CollectionTest {
protected:
    regional::Regional regional{QLocale(QLocale::English, QLocale::UnitedStates)};

    ImportSession open(const QString& name, const QByteArray& bytes) {
        writeBytes(path(name), bytes);
        return ImportSession(*db, regional, path(name));
    }

    static QString previewOf(const ImportSession& s, int stamp, const char* caption) {
        const ImportPlan& plan = s.plan();
        return plan.previewRow(plan.stamps()[std::size_t(stamp)])
            .value(ImportPlan::previewHeader().indexOf(QLatin1String(caption)));
    }

    static ColumnRole target(const char* name) {
        for (const ColumnRole& r : ColumnMap::targets())
            if (roleName(r) == QLatin1String(name) && r.kind != ColumnRole::Kind::Notes)
                return r;
        throw std::runtime_error(std::string("no target ") + name);
    }
};

} // namespace

TEST_F(Session, ReadingTheFileAnotherWayPlansItAnewAndKeepsTheUsersMatches) {
    // Windows-1252 with semicolons and decimal commas, as a German spreadsheet saves it.
    ImportSession s = open(QStringLiteral("de.csv"), "Description;Scott#;Price Paid\n"
                                                     "\xC9"
                                                     "cu;SG 1;1,50\n");
    EXPECT_EQ(s.detectedFormat().encoding, TextEncoding::Windows1252);
    EXPECT_EQ(s.detectedFormat().delimiter, QLatin1Char(';'));
    EXPECT_EQ(s.detectedDecimalSeparator(), QLatin1Char(','));
    EXPECT_EQ(previewOf(s, 0, "Description"), QStringLiteral("Écu"));
    EXPECT_EQ(previewOf(s, 0, "Price Paid"), QStringLiteral("1.50"));

    s.setRole(1, target("misc1"));
    EXPECT_EQ(previewOf(s, 0, "Misc. 1"), QStringLiteral("SG 1"));
    EXPECT_EQ(previewOf(s, 0, "Catalog Num"), QString());
    // The same headers in another encoding: the user's match stays, the text changes.
    s.setFormat({TextEncoding::Utf8, QLatin1Char(';')});
    EXPECT_EQ(previewOf(s, 0, "Description"), QStringLiteral("\uFFFD") + QStringLiteral("cu"));
    EXPECT_EQ(previewOf(s, 0, "Misc. 1"), QStringLiteral("SG 1"));
    EXPECT_EQ(s.detectedFormat().encoding, TextEncoding::Windows1252);
    // Other headers (another delimiter) are matched anew: one column, no description.
    s.setFormat({TextEncoding::Windows1252, QLatin1Char(',')});
    EXPECT_EQ(s.columns().columnCount(), 1);
    EXPECT_TRUE(s.plan().hasRefusals());
    s.setFormat({TextEncoding::Windows1252, QLatin1Char(';')});
    EXPECT_EQ(roleName(s.columns().role(1)), QStringLiteral("catnum"));
    // With a decimal point chosen, "1,50" is a badly grouped number: its line is refused
    // rather than read as 150.
    s.setDecimalSeparator(QLatin1Char('.'));
    EXPECT_EQ(s.decimalSeparator(), QLatin1Char('.'));
    EXPECT_EQ(s.detectedDecimalSeparator(), QLatin1Char(','));
    ASSERT_TRUE(s.plan().hasRefusals());
    EXPECT_EQ(s.plan().problems().front().column, QStringLiteral("Price Paid"));
}

TEST_F(Session, NewClassificationsAreAddedOrKeptInTheNotesAndOnlyThoseStoredAreAsked) {
    ImportSession s = open(QStringLiteral("codes.csv"), "descr,country,Year\n"
                                                        "One,Narnia,1900\n"
                                                        "Two,Atlantis,19.0.0\n");
    ASSERT_EQ(s.plan().newCodes().size(), 2u);
    ImportChoices goodOnly;
    goodOnly.goodLinesOnly = true;
    // The refused line's country is never added, so it is not asked about.
    const std::vector<NewCode> used = newCodesUsed(s.plan(), stampsToStore(s.plan(), goodOnly));
    ASSERT_EQ(used.size(), 1u);
    EXPECT_EQ(used[0].description, QStringLiteral("Narnia"));

    s.setNewCodes(NewCodes::KeepInNotes);
    EXPECT_TRUE(s.plan().newCodes().empty());
    EXPECT_EQ(previewOf(s, 0, "Country"), QString());
    EXPECT_EQ(previewOf(s, 0, "Notes"), QStringLiteral("country: Narnia"));
    const std::int64_t countries =
        db->scalar(QStringLiteral("select count(*) from country")).toInteger();
    const ImportOutcome out = s.store(path(QStringLiteral("images")), {}, goodOnly);
    EXPECT_EQ(out.stored, 1);
    EXPECT_EQ(out.newCodes, 0);
    EXPECT_EQ(db->scalar(QStringLiteral("select count(*) from country")).toInteger(), countries);
}

TEST_F(Session, ATellicoFileIsKnownByItsContentAsWellAsItsName) {
    writeTellicoFile(path(QStringLiteral("zipped.zip")),
                     tellicoXml(9, QStringLiteral("<entry id=\"1\"><description>Penny "
                                                  "Black</description></entry>")));
    writeBytes(path(QStringLiteral("plain.xml")),
               tellicoXml(9, QStringLiteral("<entry id=\"1\"><description>Penny "
                                            "Red</description></entry>")));
    writeBytes(path(QStringLiteral("tellico.csv")), "descr\nTellico\n");
    EXPECT_TRUE(isTellicoFile(path(QStringLiteral("zipped.zip"))));
    EXPECT_TRUE(isTellicoFile(path(QStringLiteral("plain.xml"))));
    EXPECT_FALSE(isTellicoFile(path(QStringLiteral("tellico.csv"))));
    const ImportSession s(*db, regional, path(QStringLiteral("zipped.zip")));
    EXPECT_TRUE(s.isTellico());
    EXPECT_EQ(s.title(), QStringLiteral("My Stamps"));
    EXPECT_EQ(previewOf(s, 0, "Description"), QStringLiteral("Penny Black"));
    writeTellicoFile(path(QStringLiteral("books.tc")), tellicoXml(2, QString()));
    EXPECT_THROW(ImportSession(*db, regional, path(QStringLiteral("books.tc"))), ImportError);
}
