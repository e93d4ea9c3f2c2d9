#include "db/dberror.h"
#include "db/sqlite/folderlock.h"
#include "support/temp_folder.h"

#include <QFile>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

using perlinex::db::DbError;
using perlinex::db::FolderLock;
namespace err = perlinex::db::err;

namespace {

using Kind = FolderLock::Kind;

struct Meeting {
    Kind first;
    Kind second;
    bool sameCollection;
    bool secondGetsIn;
};

class FolderLockTest : public TempFolderTest {
protected:
    // Whether the lock can be taken now; "in use" is the only refusal expected.
    bool takes(const QString& name, Kind kind) {
        try {
            FolderLock::take(path(name), kind);
            return true;
        } catch (const DbError& e) {
            EXPECT_EQ(e.number(), err::FileInUse) << e.text().toStdString();
            EXPECT_TRUE(e.text().contains(QStringLiteral("another Perlinex program")));
            return false;
        }
    }
};

} // namespace

TEST_F(FolderLockTest, ReadersShareAndAWriterKeepsEveryoneElseOut) {
    const Meeting meetings[] = {
        {Kind::Exclusive, Kind::Exclusive, true, false},
        {Kind::Exclusive, Kind::Shared, true, false},
        {Kind::Shared, Kind::Exclusive, true, false},
        {Kind::Shared, Kind::Shared, true, true},
        // Writers of two collections in one folder do not meet.
        {Kind::Exclusive, Kind::Exclusive, false, true},
    };
    for (const Meeting& m : meetings) {
        SCOPED_TRACE(testing::Message() << int(m.first) << " then " << int(m.second)
                                        << (m.sameCollection ? " on one collection" : ""));
        const auto first = FolderLock::take(path("stamp.mdb"), m.first);
        EXPECT_EQ(first->kind(), m.first);
        EXPECT_EQ(takes(m.sameCollection ? "stamp.mdb" : "other.mdb", m.second), m.secondGetsIn);
    }
    // Each lock goes with its holder.
    EXPECT_TRUE(takes("stamp.mdb", Kind::Exclusive));
}

TEST_F(FolderLockTest, AWriterIsKeptOutByAReaderThatCouldNotMakeTheLockFile) {
    // Such a reader holds only its shared lock on the collection's folder.
    const int folder = ::open(QFile::encodeName(dir.path()).constData(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(folder, 0);
    ASSERT_EQ(::flock(folder, LOCK_SH | LOCK_NB), 0);
    EXPECT_FALSE(takes("stamp.mdb", Kind::Exclusive));
    EXPECT_TRUE(takes("stamp.mdb", Kind::Shared));
    ::close(folder);
    EXPECT_TRUE(takes("stamp.mdb", Kind::Exclusive));
}
