// The main window on a collection whose values another program wrote with kinds the fields do
// not expect: they are shown as far as they can be, and kept.
#include "db/sqlite/sqlitefile.h"
#include "main_window_fixture.h"

#include "db/sqlite/sqlitecall.h"

#include <QComboBox>
#include <QDir>
#include <QPlainTextEdit>
#include <QTabWidget>

namespace {

// Every field that the odd stamp holds with a kind of its own, as the engine quotes it.
const QString OddFields = QStringLiteral(
    "quote(Year) || ' ' || quote(quantity) || ' ' || quote(CouID) || ' ' || quote(issued) || ' ' "
    "|| quote(pricepaid) || ' ' || quote(catvalue) || ' ' || quote(face) || ' ' || quote(notes)");

void writeOddValues(db::Database& d) {
    // As another program may: without the fields' rules.
    db::detail::exec(db::handleOf(d), QStringLiteral(R"(
        PRAGMA ignore_check_constraints = ON;
        UPDATE stamp SET Year = 'x', quantity = 'many', CouID = 'abc', issued = 12345,
            pricepaid = 1e308, catvalue = 'dear', face = 'ten', notes = x'00ff10'
            WHERE descr = 'A odd';
        PRAGMA ignore_check_constraints = OFF;)"));
}

} // namespace

TEST_F(MainWindowTest, ValuesOfUnexpectedKinds_AreShownAndKeptNotRepaired) {
    open({{"A odd", "1"}, {"B plain", "2"}}, false, writeOddValues);
    db::Database& d = *program->CollectionDb;
    const QString oddSql =
        QStringLiteral("select %1 from stamp where descr like 'A*'").arg(OddFields);
    const std::string stored = d.scalar(oddSql).toText().toStdString();
    ASSERT_EQ(stored, "'x' 'many' 'abc' 12345 1.0e+308 'dear' 'ten' X'00FF10'");
    // The structure check once the first record is on screen finds nothing to repair.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_TRUE(dialogs.prompts.empty())
        << dialogs.messageTexts().join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(QDir(dir.path()).entryList({QStringLiteral("stamp-damaged-*")}).isEmpty());
    EXPECT_EQ(stampCount(), 2);

    EXPECT_EQ(text("txtDescr"), QStringLiteral("A odd"));
    EXPECT_EQ(text("txtYear"), QStringLiteral("x"));
    EXPECT_EQ(text("txtQuantity"), QStringLiteral("many"));
    EXPECT_EQ(text("txtPricePaid"), QStringLiteral("too large"));
    EXPECT_EQ(text("txtCatValue"), QStringLiteral("dear"));
    EXPECT_EQ(text("txtFace"), QStringLiteral("ten"));
    EXPECT_EQ(find<QComboBox>("cmbCou")->currentIndex(), -1);
    EXPECT_EQ(find<QComboBox>("dcIssued")->currentText(), QString());
    EXPECT_EQ(find<QPlainTextEdit>("txtNotes")->toPlainText(), QString());

    // Browsing there and back, and tabbing through the odd fields, neither asks nor changes.
    click("cmdNext");
    EXPECT_EQ(text("txtDescr"), QStringLiteral("B plain"));
    click("cmdFirst");
    find<QTabWidget>("SSTab1")->setCurrentIndex(1);
    for (const char* field : {"txtYear", "txtQuantity", "txtFace", "txtPricePaid", "txtCatValue"}) {
        edit(field)->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(edit(field)->hasFocus()) << field;
        leaveTo("txtDescr");
    }
    QCoreApplication::processEvents();
    EXPECT_TRUE(dialogs.prompts.empty())
        << dialogs.messageTexts().join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(browsing());
    EXPECT_EQ(d.scalar(oddSql).toText().toStdString(), stored);

    // An edit of another field stores that field alone.
    type("txtDescr", QStringLiteral("A odd, edited"));
    leaveTo("txtYear");
    leaveTo("txtDescr");
    click("cmdUpdate");
    ASSERT_SOON(browsing());
    EXPECT_TRUE(dialogs.prompts.empty())
        << dialogs.messageTexts().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(d.scalar(QStringLiteral("select count(*) from stamp where descr = 'A odd, edited'"))
                  .toInteger(),
              1);
    EXPECT_EQ(d.scalar(oddSql).toText().toStdString(), stored);
    EXPECT_EQ(stampCount(), 2);
}
