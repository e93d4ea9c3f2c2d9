#include "db/sqlite/collectionfile.h"
#include "support/collection_fixture.h"
#include "support/scripted_dialogs.h"
#include "ui/errorhandler.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace perlinex;
using namespace perlinex::db;

class ErrorHandlerTest : public CollectionTest {
protected:
    ScriptedDialogs dialogs;
    ProgramState program{dialogs};

    void SetUp() override {
        CollectionTest::SetUp();
        db->close();
        db.reset();
        program.AppFolder = dir.path();
        program.DbPath = dbPath;
        program.openCollection();
    }

    // Runs the handler and tells whether it ended the program.
    bool ends(int number, const QString& text = QStringLiteral("some text")) {
        try {
            HandleDbError(program, DbError(number, text));
        } catch (const ProgramEnded&) {
            return true;
        }
        return false;
    }
};

TEST_F(ErrorHandlerTest, ReportsAndEndsForUnrecoverableErrors) {
    EXPECT_TRUE(ends(91));
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_EQ(dialogs.prompts[0].text,
              QStringLiteral("There was an error accessing the database file.  Aborting..."));
    EXPECT_EQ(dialogs.prompts[0].title, QStringLiteral("Perlinex"));
    EXPECT_EQ(dialogs.prompts[0].buttons, Buttons::Ok);
    EXPECT_FALSE(program.CollectionDb); // ending closes the store

    program.openCollection();
    EXPECT_TRUE(ends(3420));
    EXPECT_EQ(
        dialogs.prompts.back().text,
        QStringLiteral(
            "An error has occurred.  You may have forgotten to close a window before packing or "
            "backing up the program's database.  Please rerun the program."));

    EXPECT_TRUE(ends(3075, QStringLiteral("Syntax error in query.")));
    EXPECT_EQ(dialogs.prompts.back().text, QStringLiteral("3075  Syntax error in query."));
    EXPECT_EQ(dialogs.prompts.back().title, QStringLiteral("Perlinex"));
}

TEST_F(ErrorHandlerTest, ReturnsForFileInUseAndCancelledDialog) {
    EXPECT_FALSE(ends(3045));
    EXPECT_TRUE(dialogs.prompts.empty());
    program.DialogCancelled = false;
    EXPECT_FALSE(ends(32755));
    EXPECT_TRUE(program.DialogCancelled);
    EXPECT_TRUE(dialogs.prompts.empty());
}

TEST_F(ErrorHandlerTest, TrapGoesOnWithTheNextStep) {
    QStringList done;
    const bool first =
        trap(program, [&] { throw DbError(err::FileInUse, QStringLiteral("in use")); });
    const bool second = trap(program, [&] { done << QStringLiteral("second"); });
    EXPECT_FALSE(first);
    EXPECT_TRUE(second);
    EXPECT_EQ(done, QStringList{QStringLiteral("second")});
    EXPECT_THROW(trap(program, [&] { throw DbError(1234, QStringLiteral("odd")); }), ProgramEnded);
}

TEST_F(ErrorHandlerTest, LockedRowRetriesSilentlyThenAsksAtThe100thAndEvery99th) {
    int attempts = 0;
    dialogs.answers = {Answer::Yes, Answer::Yes};
    withLockRetry(program, [&] {
        ++attempts;
        if (attempts <= 250)
            throw DbError(attempts % 2 ? err::LockedRow : err::LockedRow2,
                          QStringLiteral("locked"));
    });
    EXPECT_EQ(attempts, 251); // the store succeeded as soon as the lock was gone
    ASSERT_EQ(dialogs.prompts.size(), 2u);
    EXPECT_EQ(dialogs.prompts[0].text,
              QStringLiteral("Could not update locked record.  Do you wish to try again?"));
    EXPECT_EQ(dialogs.prompts[0].title, QStringLiteral("Locked Record"));
    EXPECT_EQ(dialogs.prompts[0].buttons, Buttons::YesNo);
}

TEST_F(ErrorHandlerTest, LockedRowAnsweredNoEndsTheProgram) {
    int attempts = 0;
    dialogs.answers = {Answer::No};
    EXPECT_THROW(withLockRetry(program,
                               [&] {
                                   ++attempts;
                                   throw DbError(err::LockedRow2, QStringLiteral("locked"));
                               }),
                 ProgramEnded);
    EXPECT_EQ(attempts, 100);
}

TEST_F(ErrorHandlerTest, DamagedCollectionIsRepairedKeepingACopy) {
    auto stamps = program.CollectionDb->openRecordSet(QStringLiteral("select * from stamp"));
    for (int i = 0; i < 50; ++i) {
        stamps->addNew();
        stamps->setField(QStringLiteral("descr"), Value(QStringLiteral("Stamp %1").arg(i)));
        stamps->update();
    }
    stamps.reset();
    program.closeCollection();
    // Damage the header's magic: the rest of the file is still readable.
    QFile f(dbPath);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.write("XXXXXX");
    f.close();

    EXPECT_THROW(trap(program, [&] { program.openCollection(); }), CollectionReopened);
    ASSERT_TRUE(program.CollectionDb);
    EXPECT_EQ(
        program.CollectionDb->scalar(QStringLiteral("select count(*) from stamp")).toInteger(), 50);
    ASSERT_FALSE(dialogs.prompts.empty());
    EXPECT_TRUE(dialogs.prompts.back().text.contains(QStringLiteral("50 stamps")));
    const QStringList copies = QDir(dir.path()).entryList({QStringLiteral("stamp-damaged-*.mdb")});
    ASSERT_EQ(copies.size(), 1);
    QFile copy(dir.filePath(copies[0]));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_TRUE(copy.read(6) == QByteArray("XXXXXX")); // the damaged file itself, as it was
    // Counters go on from where they were.
    auto again = program.CollectionDb->openRecordSet(QStringLiteral("select * from stamp"));
    again->addNew();
    EXPECT_EQ(again->field(QStringLiteral("stampid")).toInteger(), 51);
}

TEST_F(ErrorHandlerTest, DamageInAReadOnlyCollectionEndsWithoutARepair) {
    program.closeCollection();
    program.ReadOnly = true;
    program.openCollection();
    EXPECT_EQ(program.CollectionDb->mode(), OpenMode::ReadOnly);
    const QStringList before = QDir(dir.path()).entryList(QDir::Files);
    EXPECT_TRUE(ends(3049, QStringLiteral("a damaged page")));
    ASSERT_EQ(dialogs.prompts.size(), 1u); // no question about a repair
    EXPECT_TRUE(dialogs.prompts[0].text.contains(QStringLiteral("read-only")));
    EXPECT_TRUE(dialogs.prompts[0].text.contains(QStringLiteral("a damaged page")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), before);
}
