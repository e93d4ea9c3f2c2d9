#include "app/pictureview.h"
#include "db/catalogue.h"
#include "db/pg/pgpictures.h"
#include "main_window_fixture.h"
#include "support/server_fixture.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QTabWidget>

namespace {

// The main window on a folder collection, a shared collection on the test server, and another
// desk working on that one.
class SharedWindowTest : public MainWindowTest {
protected:
    QString collection = freshCollectionName();
    std::unique_ptr<db::Database> other;

    void SetUp() override {
        MainWindowTest::SetUp();
        SKIP_WITHOUT_SERVER();
        db::createServerCollection(serverUnderTest(), collection, true, [](db::Database& db) {
            auto rs = db.openRecordSet(QStringLiteral("select * from stamp"));
            for (const char* d : {"Inverted Jenny", "Penny Black"}) {
                rs->addNew();
                rs->setField(QStringLiteral("descr"), Value(QString::fromUtf8(d)));
                rs->update();
            }
        })->close();
        other = db::openServerDatabase(serverUnderTest(), collection);
    }
    void TearDown() override {
        MainWindowTest::TearDown();
        if (other)
            other->close();
        if (!serverUnderTest().isEmpty())
            db::dropServerCollection(serverUnderTest(), collection);
    }
    QString address() const { return serverUnderTest() + QLatin1Char('#') + collection; }
    std::int64_t idOf(const char* descr) {
        return other
            ->scalar(QStringLiteral("select stampid from stamp where descr = '%1'")
                         .arg(QLatin1String(descr)))
            .toInteger();
    }
    // The other desk stores a stamp's field as its record window does.
    void storeElsewhere(const char* descr, const QString& field, const Value& value) {
        auto rs = other->openRecordSet(
            QStringLiteral("select * from stamp where stampid = %1").arg(idOf(descr)));
        rs->edit();
        rs->setField(field, value);
        rs->update();
    }
    void openShared() {
        dialogs.texts.push_back(address());
        act("mnuOpenShared")->trigger();
    }
};

} // namespace

// Opened from the File menu, the shared collection is named in the title and the recent list,
// and the window follows what another desk stores, without touching the record being edited.
TEST_F(SharedWindowTest, OpensFromTheFileMenuAndFollowsAnotherDesk) {
    open({{"Local stamp", "1"}});
    openShared();
    EXPECT_TRUE(w->windowTitle().contains(collection)) << w->windowTitle().toStdString();
    EXPECT_EQ(text("txtDescr"), QStringLiteral("Inverted Jenny"));
    QMenu* recent = w->findChild<QMenu*>(QStringLiteral("mnuRecent"));
    ASSERT_GE(recent->actions().size(), 2);
    EXPECT_TRUE(recent->actions()[0]->text().contains(collection));

    // Another desk adds a stamp and changes the one shown: both show within the wait.
    {
        auto rs = other->openRecordSet(QStringLiteral("select * from stamp"));
        rs->addNew();
        rs->setField(QStringLiteral("descr"), Value(QStringLiteral("Basel Dove")));
        rs->update();
    }
    storeElsewhere("Inverted Jenny", QStringLiteral("year"), Value(std::int16_t(1918)));
    ASSERT_SOON(text("txtYear") == QStringLiteral("1918"));
    ASSERT_SOON(w->findChild<QWidget*>(QStringLiteral("lblPosition"))
                    ->property("text")
                    .toString()
                    .contains(QStringLiteral("of 3")));
    // A code entry another desk adds reaches this desk's list of it.
    {
        auto rs = other->openRecordSet(QStringLiteral("select * from country"));
        rs->addNew();
        rs->setField(QStringLiteral("coudesc"), Value(QStringLiteral("Ruritania")));
        rs->update();
    }
    auto* countries = find<QComboBox>("cmbCou");
    ASSERT_SOON(countries->findText(QStringLiteral("Ruritania")) >= 0);

    // The user edits; the other desk's store shows in the list but leaves the typed record.
    type("txtDescr", QStringLiteral("Jenny, mine"));
    storeElsewhere("Inverted Jenny", QStringLiteral("descr"),
                   Value(QStringLiteral("Jenny, theirs")));
    auto* list = find<QAbstractItemView>("lstStamps");
    const auto listed = [list] {
        QStringList out;
        for (int row = 0; row < list->model()->rowCount(); ++row)
            out << list->model()->index(row, 0).data().toString();
        return out;
    };
    ASSERT_SOON(listed().contains(QStringLiteral("Jenny, theirs")));
    EXPECT_EQ(text("txtDescr"), QStringLiteral("Jenny, mine"));
    EXPECT_TRUE(w->isEditing());

    // Stored, it asks; No shows theirs, and nothing of this edit is stored.
    dialogs.answers.push_back(Answer::No);
    QTest::keyClick(edit("txtDescr"), Qt::Key_S, Qt::ControlModifier);
    ASSERT_FALSE(dialogs.prompts.empty());
    EXPECT_EQ(dialogs.prompts.back().title, QStringLiteral("Stamp Changed"));
    EXPECT_EQ(text("txtDescr"), QStringLiteral("Jenny, theirs"));
    EXPECT_TRUE(browsing());

    // Again, and Yes stores this one over theirs.
    type("txtDescr", QStringLiteral("Jenny, mine"));
    storeElsewhere("Jenny, theirs", QStringLiteral("notes"), Value(QStringLiteral("their note")));
    dialogs.answers.push_back(Answer::Yes);
    QTest::keyClick(edit("txtDescr"), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(dialogs.prompts.back().title, QStringLiteral("Stamp Changed"));
    EXPECT_EQ(other->scalar(QStringLiteral("select notes from stamp where descr = 'Jenny, mine'"))
                  .toText(),
              QStringLiteral("their note"));
    EXPECT_TRUE(browsing());

    // The folder collection is one recent entry away, and the shared one stays on the list.
    act("mnuRecent2")->trigger();
    EXPECT_EQ(text("txtDescr"), QStringLiteral("Local stamp"));
    EXPECT_FALSE(w->windowTitle().contains(collection));
    EXPECT_TRUE(recent->actions()[1]->text().contains(collection));
}

// A picture another desk stores shows on the Image page; one stored here goes to the server
// with the stamp's row, where every desk reads it.
TEST_F(SharedWindowTest, PicturesLiveOnTheServer) {
    open({{"Local stamp", "1"}});
    openShared();
    QImage red(40, 30, QImage::Format_RGB32);
    red.fill(Qt::red);
    QByteArray jpeg;
    {
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(red.save(&buffer, "JPG"));
    }
    db::putServerPicture(*other, idOf("Inverted Jenny"), jpeg);
    auto* tabs = find<QTabWidget>("SSTab1");
    tabs->setCurrentIndex(tabs->count() - 1);
    auto* view = find<PictureView>("Image1");
    ASSERT_SOON(!view->file().isEmpty());

    // Pasted here and stored, the picture is on the server for the other desk.
    QImage blue(50, 20, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    QGuiApplication::clipboard()->setImage(blue);
    click("cmdPicPaste");
    QTest::keyClick(edit("txtDescr"), Qt::Key_S, Qt::ControlModifier);
    const QImage stored = QImage::fromData(db::serverPicture(*other, idOf("Inverted Jenny")));
    EXPECT_EQ(stored.size(), blue.size());
}

// Import and the statistics open on a shared collection as on a folder; Pack has the server
// tidy it while it stays open.
TEST_F(SharedWindowTest, ImportStatisticsAndPackWorkOnIt) {
    open({{"Local stamp", "1"}});
    openShared();
    // Import asks for its file, as on a folder collection.
    const std::size_t asked = dialogs.prompts.size();
    act("mnuImport")->trigger();
    ASSERT_EQ(dialogs.prompts.size(), asked + 1);
    EXPECT_EQ(dialogs.prompts.back().kind, QStringLiteral("open"));
    ASSERT_TRUE(program->CollectionDb);

    // The statistics of the shared collection open without a question.
    act("mnuRptStats")->trigger();
    EXPECT_EQ(dialogs.prompts.size(), asked + 1);
    QWidget* stats = shownWindow("frmStats");
    ASSERT_NE(stats, nullptr);
    stats->close();
    dialogs.answers.push_back(Answer::Yes);
    act("mnuPack")->trigger();
    EXPECT_EQ(dialogs.prompts.back().buttons, Buttons::YesNo);
    ASSERT_TRUE(program->CollectionDb);
    EXPECT_EQ(text("txtDescr"), QStringLiteral("Inverted Jenny"));
    // Every table of the collection, and none of it left out.
    const auto count = [&](const char* sql) {
        return other->scalar(QString::fromLatin1(sql).arg(collection)).toInteger();
    };
    EXPECT_EQ(count("select count(*) from pg_stat_user_tables where schemaname = '%1' and "
                    "last_vacuum is not null"),
              count("select count(*) from pg_tables where schemaname = '%1'"));
}

// The field catalogue of Find and custom reports is the shared collection's own, on the
// server: nothing is made in this desk's folder, and Find looks through the server's stamps.
TEST_F(SharedWindowTest, FindUsesTheCollectionsOwnFieldCatalogue) {
    open({{"Local stamp", "1"}});
    openShared();
    {
        const auto catalogue = program->openFieldCatalogue();
        EXPECT_EQ(catalogue->storeKind(), db::StoreKind::Server);
        EXPECT_EQ(catalogue->scalar(QStringLiteral("select count(*) from RptSpec")).toInteger(),
                  db::shippedCatalogueRows().size());
        catalogue->close();
    }
    EXPECT_FALSE(
        QFileInfo::exists(QDir(program->AppFolder).filePath(QStringLiteral("rptspec.mdb"))));
    answerFind(QStringLiteral("Description"), QStringLiteral("Contains"), QStringLiteral("black"),
               1);
    click("cmdFind");
    EXPECT_EQ(text("txtDescr"), QStringLiteral("Penny Black"));
}

// The code table window follows another desk's entries; an entry another desk deletes while
// it is being edited here is said to be gone, and the program goes on.
TEST_F(SharedWindowTest, CodeTableWindowFollowsAnotherDesk) {
    open({{"Local stamp", "1"}});
    openShared();
    act("mnuMaint5")->trigger(); // gum
    QWidget* codes = shownWindow("frmCodesMaint");
    ASSERT_NE(codes, nullptr);
    auto* desc = codes->findChild<QLineEdit*>(QStringLiteral("txtDesc"));
    auto* first = codes->findChild<QPushButton*>(QStringLiteral("cmdFirst"));

    {
        auto rs = other->openRecordSet(QStringLiteral("select * from gum"));
        rs->addNew();
        rs->setField(QStringLiteral("gumdesc"), Value(QStringLiteral("Aaa shared gum")));
        rs->update();
    }
    ASSERT_SOON((first->click(), desc->text() == QStringLiteral("Aaa shared gum")));

    QTest::keyClicks(desc, QStringLiteral(" typed here"));
    other->execute(QStringLiteral("delete from gum where gumdesc = 'Aaa shared gum'"));
    codes->findChild<QPushButton*>(QStringLiteral("cmdUpdate"))->click();
    ASSERT_FALSE(dialogs.prompts.empty());
    EXPECT_TRUE(dialogs.prompts.back().text.contains(QStringLiteral("deleted by another user")))
        << dialogs.prompts.back().text.toStdString();
    ASSERT_TRUE(program->CollectionDb && program->CollectionDb->isOpen());
    EXPECT_TRUE(codes->findChild<QPushButton*>(QStringLiteral("cmdOK"))->isVisible());
    EXPECT_NE(desc->text(), QStringLiteral("Aaa shared gum typed here"));
    EXPECT_EQ(other
                  ->scalar(QStringLiteral("select count(*) from gum where gumdesc in ('Aaa shared "
                                          "gum', 'Aaa shared gum typed here')"))
                  .toInteger(),
              0);
}
