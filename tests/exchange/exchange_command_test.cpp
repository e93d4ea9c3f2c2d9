// perlinex export and perlinex import, run as main() runs them.
#include "app/command_support.h"
#include "db/schema.h"
#include "db/sqlite/collectionfile.h"
#include "db/sqlite/pendingpicture.h"
#include "exchange/csvexport.h"
#include "exchange/csvtext.h"
#include "exchange_support.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

using namespace exchange_test;

namespace {

class ExchangeCommand : public TempFolderTest {
protected:
    QString app, other;

    void SetUp() override {
        TempFolderTest::SetUp();
        app = path(QStringLiteral("app"));
        other = path(QStringLiteral("other"));
        ASSERT_EQ(
            run({QStringLiteral("generate"), app, QStringLiteral("--stamps"), QStringLiteral("20")})
                .status,
            0);
        ASSERT_EQ(run({QStringLiteral("new"), other}).status, 0);
        writeBytes(path(QStringLiteral("good.csv")), "Description,Year\nOne,1900\nTwo,1901\n");
        writeBytes(path(QStringLiteral("bad.csv")),
                   "Description,Year\nOne,1900\nTwo,19.0.1\nThree,1902\n");
        writeBytes(path(QStringLiteral("german.csv")), "Beschreibung;Preis\nMarke;54,91 €\n");
        writeTellicoFile(path(QStringLiteral("books.tc")), tellicoXml(2, QString()));
    }

    std::int64_t stampsIn(const QString& folder) {
        auto collection = db::openCollection(QDir(folder).filePath(QStringLiteral("stamp.mdb")));
        return collection->scalar(QStringLiteral("select count(*) from stamp")).toInteger();
    }

    QStringList args(const char* words) {
        QStringList out;
        for (QString w : QString::fromUtf8(words).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            w.replace(QStringLiteral("APP"), app);
            w.replace(QStringLiteral("OTHER"), other);
            w.replace(QStringLiteral("TMP/"), dir.path() + QLatin1Char('/'));
            out << w;
        }
        return out;
    }
};

} // namespace

TEST_F(ExchangeCommand, ExitStatusesSayWhatHappened) {
    struct Case {
        const char* args;
        int status;
        std::int64_t stored; // stamps in OTHER afterwards
        const char* said;    // on standard error, or standard output for status 0
    };
    const Case cases[] = {
        {"export --folder APP", 2, 0, "export needs --csv FILE"},
        {"export --csv TMP/x.csv --folder TMP/nothing", 1, 0, "there is no collection"},
        {"export --csv APP/stamp.mdb --folder APP", 1, 0, "the collection"},
        {"import --folder OTHER", 2, 0, "either --csv FILE or --tellico FILE"},
        {"import --csv TMP/good.csv --tellico TMP/books.tc --folder OTHER", 2, 0, "either"},
        {"import --csv TMP/good.csv --map Year --folder OTHER", 2, 0, "COLUMN=FIELD"},
        {"import --csv TMP/good.csv --map Nowhere=descr --folder OTHER", 2, 0, "no column Nowhere"},
        {"import --csv TMP/good.csv --encoding ebcdic --folder OTHER", 2, 0, "--encoding"},
        {"import --csv TMP/missing.csv --folder OTHER", 1, 0, "could not be read"},
        {"import --tellico TMP/books.tc --folder OTHER", 1, 0, "book collection"},
        {"import --csv TMP/bad.csv --folder OTHER", 1, 0, "line 3, column Year: refused"},
        {"import --csv TMP/bad.csv --folder OTHER --dry-run", 1, 0, "line 3"},
        {"import --csv TMP/good.csv --folder OTHER --dry-run", 0, 0, "nothing has been stored"},
        {"import --csv TMP/bad.csv --folder OTHER --good-lines-only", 0, 2, "Stored 2 stamps"},
        {"import --csv TMP/german.csv --map Beschreibung=descr --map 2=pricepaid --folder OTHER", 0,
         3, "Stored 1 stamp (numbers"},
        {"import --csv TMP/good.csv --folder OTHER --skip-duplicates", 0, 4,
         "Stored 1 stamp (numbers"},
    };
    for (const Case& c : cases) {
        const Outcome o = run(args(c.args));
        EXPECT_EQ(o.status, c.status) << c.args << "\n" << o.err.toStdString();
        EXPECT_TRUE((c.status == 0 ? o.out : o.err).contains(QString::fromUtf8(c.said)))
            << c.args << "\nout: " << o.out.toStdString() << "\nerr: " << o.err.toStdString();
        EXPECT_EQ(stampsIn(other), c.stored) << c.args;
    }
    // The German file's amount came in with its decimal comma.
    auto collection = db::openCollection(QDir(other).filePath(QStringLiteral("stamp.mdb")));
    EXPECT_EQ(
        collection->scalar(QStringLiteral("select pricepaid from stamp where descr = 'Marke'"))
            .toCurrency(),
        perlinex::Currency::fromRaw(549100));
}

TEST_F(ExchangeCommand, ExportToStandardOutputAndBackGivesTheSameFile) {
    const Outcome exported = run(args("export --csv - --folder APP"));
    ASSERT_EQ(exported.status, 0) << exported.err.toStdString();
    EXPECT_TRUE(exported.out.startsWith(QStringLiteral("descr,catnum,face,Year,")));
    EXPECT_EQ(exported.out.count(QStringLiteral("\r\n")), 21);
    writeBytes(path(QStringLiteral("all.csv")), exported.out.toUtf8());
    ASSERT_EQ(run(args("import --csv TMP/all.csv --folder OTHER")).status, 0);
    const Outcome again = run(args("export --csv - --folder OTHER"));
    EXPECT_EQ(again.out, exported.out);
    // A second import finds every stamp held already.
    const Outcome twice = run(args("import --csv TMP/all.csv --folder APP --dry-run"));
    EXPECT_TRUE(twice.out.contains(QStringLiteral("20 stamps equal ones in the collection")))
        << twice.out.toStdString();
}

// An export with a filter writes what `perlinex list --filter` lists: the same stamps in the
// same order, whatever the case and accents of the words and however stamps tie in the order.
TEST_F(ExchangeCommand, ExportOfAFilterWritesTheStampsTheListLists) {
    {
        auto collection = db::openCollection(QDir(app).filePath(QStringLiteral("stamp.mdb")));
        collection->execute(QStringLiteral("insert into stamp (descr, catnum) values "
                                           "('Posthorn Åland red', 'B 2'), "
                                           "('Posthorn Åland red', 'A 1'), "
                                           "('posthorn aland', 'C 3')"));
    }
    const auto pairs = [](const QList<QStringList>& rows) {
        QStringList out;
        for (const QStringList& cells : rows)
            out << cells.value(0) + QLatin1Char('|') + cells.value(1);
        return out;
    };
    struct Case {
        const char* filter;
        int listed; // stamps the list keeps
    };
    const Case cases[] = {
        {"red", -1},      {"RED cross", 2}, {"posthorn ALAND", 3},
        {"åland red", 2}, {"nowhere", 0},   {"", 23},
    };
    for (const Case& c : cases) {
        const QString filter = QString::fromUtf8(c.filter);
        const Outcome exported =
            run({QStringLiteral("export"), QStringLiteral("--csv"), QStringLiteral("-"),
                 QStringLiteral("--filter"), filter, QStringLiteral("--folder"), app});
        ASSERT_EQ(exported.status, 0) << c.filter << exported.err.toStdString();
        QList<QStringList> written;
        for (const ex::CsvRecord& r : ex::parseCsv(exported.out, QLatin1Char(',')).records)
            written << r.cells;
        ASSERT_FALSE(written.isEmpty());
        EXPECT_EQ(written.takeFirst(), ex::exportColumns());

        const Outcome listed = run({QStringLiteral("list"), QStringLiteral("--filter"), filter,
                                    QStringLiteral("--folder"), app});
        ASSERT_EQ(listed.status, 0) << listed.err.toStdString();
        QList<QStringList> rows;
        for (const QString& line : listed.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            rows << line.split(QLatin1Char('\t'));
        rows.removeFirst(); // the headings

        EXPECT_EQ(pairs(written), pairs(rows)) << c.filter;
        if (c.listed >= 0)
            EXPECT_EQ(written.size(), c.listed) << c.filter;
        else
            EXPECT_TRUE(written.size() > 2 && written.size() < 23) << written.size();
    }
}

TEST_F(ExchangeCommand, TellicoPicturesBecomeTheStampsJpegs) {
    writeTellicoFile(path(QStringLiteral("stamps.tc")),
                     tellicoXml(9, QStringLiteral("<entry id=\"1\"><description>Penny</description>"
                                                  "<image>p.png</image></entry>")),
                     {{QStringLiteral("p.png"), pngPicture(qRgb(200, 30, 30))}});
    const Outcome o = run(args("import --tellico TMP/stamps.tc --folder OTHER"));
    ASSERT_EQ(o.status, 0) << o.err.toStdString();
    const QByteArray jpeg = readBytes(QDir(other).filePath(QStringLiteral("images/00000001.jpg")));
    EXPECT_TRUE(jpeg.startsWith("\xFF\xD8\xFF")) << jpeg.left(8).toHex().constData();
    const QImage back = QImage::fromData(jpeg);
    EXPECT_EQ(back.size(), QSize(6, 4));
}

TEST(ExchangeUsage, HelpNamesBothCommands) {
    const Outcome o = run({QStringLiteral("--help")});
    EXPECT_TRUE(o.out.contains(QStringLiteral("perlinex export --csv FILE|-")));
    EXPECT_TRUE(o.out.contains(QStringLiteral("perlinex import --tellico FILE.tc")));
}
