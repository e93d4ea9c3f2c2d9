#include "app/commandline.h"
#include "db/recordset.h"
#include "db/schema.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace perlinex;

namespace {

struct Outcome {
    int status;
    QString out;
    QString err;
};

Outcome run(const QStringList& args) {
    QString out;
    QString err;
    QTextStream o(&out);
    QTextStream e(&err);
    const int status = app::runCommand(QStringList{QStringLiteral("perlinex")} + args, o, e);
    o.flush();
    e.flush();
    return {status, out, err};
}

QStringList descriptions(const QString& folder) {
    auto db = db::openCollection(QDir(folder).filePath(QStringLiteral("stamp.mdb")));
    auto rs = db->openRecordSet(
        QStringLiteral("select descr, catnum, pricepaid from stamp order by stampid"),
        db::RecordSetKind::Snapshot);
    QStringList out;
    for (; !rs->eof(); rs->moveNext())
        out << rs->field(0).toText() + QLatin1Char('|') + rs->field(1).toText() + QLatin1Char('|') +
                   rs->field(2).toText();
    return out;
}

} // namespace

TEST(CommandLine, NewMakesACollectionAndRefusesAFolderThatHasOne) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("mine"));
    EXPECT_EQ(run({QStringLiteral("new"), folder}).status, 0);
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/stamp.mdb")));
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/rptspec.mdb")));
    EXPECT_TRUE(descriptions(folder).isEmpty());

    const qint64 size = QFileInfo(folder + QStringLiteral("/stamp.mdb")).size();
    const Outcome again = run({QStringLiteral("new"), folder});
    EXPECT_EQ(again.status, 1);
    EXPECT_TRUE(again.err.contains(QStringLiteral("already holds a collection")));
    EXPECT_EQ(QFileInfo(folder + QStringLiteral("/stamp.mdb")).size(), size);
    EXPECT_EQ(
        run({QStringLiteral("generate"), folder, QStringLiteral("--stamps"), QStringLiteral("5")})
            .status,
        1);
}

TEST(CommandLine, GenerateIsTheSameForTheSameSeed) {
    QTemporaryDir dir;
    const QString a = dir.filePath(QStringLiteral("a"));
    const QString b = dir.filePath(QStringLiteral("b"));
    const QString c = dir.filePath(QStringLiteral("c"));
    EXPECT_EQ(run({QStringLiteral("generate"), a, QStringLiteral("--stamps"), QStringLiteral("40"),
                   QStringLiteral("--seed"), QStringLiteral("5")})
                  .status,
              0);
    run({QStringLiteral("generate"), b, QStringLiteral("--stamps"), QStringLiteral("40"),
         QStringLiteral("--seed"), QStringLiteral("5")});
    run({QStringLiteral("generate"), c, QStringLiteral("--stamps"), QStringLiteral("40"),
         QStringLiteral("--seed"), QStringLiteral("6")});
    EXPECT_EQ(descriptions(a).size(), 40);
    EXPECT_EQ(descriptions(a), descriptions(b));
    EXPECT_NE(descriptions(a), descriptions(c));
}

TEST(CommandLine, BadArgumentsAreExplained) {
    QTemporaryDir dir;
    const Outcome noCount = run({QStringLiteral("generate"), dir.filePath(QStringLiteral("x"))});
    EXPECT_EQ(noCount.status, 2);
    EXPECT_TRUE(noCount.err.contains(QStringLiteral("--stamps")));
    EXPECT_EQ(run({QStringLiteral("generate"), dir.filePath(QStringLiteral("x")),
                   QStringLiteral("--stamps"), QStringLiteral("many")})
                  .status,
              2);
    EXPECT_EQ(run({QStringLiteral("new")}).status, 2);
    EXPECT_EQ(run({dir.path()}).status, -1); // a folder: for the window
}
