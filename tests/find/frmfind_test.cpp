#include "find/frmfind.h"

#include "db/catalogue.h"
#include "db/dialect.h"
#include "db/recordset.h"
#include "db/sqlite/cataloguefile.h"
#include "db/sqlite/collectionfile.h"
#include "db/sqlite/sqlitefile.h"
#include "support/collection_fixture.h"
#include "support/scripted_dialogs.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace perlinex;
using db::Value;

namespace {

const QString Cheese = QStringLiteral("Say \"cheese\" souvenir");
const QString Irish = QStringLiteral("Irish O'Brien");

class FindDialog : public CollectionTest {
protected:
    ScriptedDialogs dialogs;
    std::unique_ptr<Program> program;
    std::unique_ptr<frmFind> dlg;
    std::unique_ptr<db::RecordSet> stamps; // in descr order, what the main window hands it
    std::int64_t ruritania = 0;

    void SetUp() override {
        CollectionTest::SetUp();
        db->execute(QStringLiteral("insert into country (Coudesc) values ('Ruritania')"));
        ruritania = codeId("country", "CouID", "Coudesc", "Ruritania");
        const auto date = [](int y, int m, int d) { return Value(QDate(y, m, d)); };
        // In descr order, the order of the stamps searched.
        addStamp("50* overprint", {}, {{"Year", 1950}});
        addStamp("Blue Mauritius", {},
                 {{"Year", 1847},
                  {"face", 2.0},
                  {"used", true},
                  {"CouID", Value(ruritania)},
                  {"issued", date(1847, 9, 21)}});
        addStamp(Irish, {}, {{"Year", 1990}, {"face", 1.5}, {"issued", date(1990, 1, 3)}});
        addStamp("Penny Black", {}, {{"Year", 1840}});
        addStamp("Penny Red", {}, {{"Year", 1841}});
        addStamp(Cheese, {}, {{"Year", 1995}, {"issued", date(1990, 3, 1)}});
        addStamp("Surcharge 5*");
        addStamp("Surcharge 50");
        addStamp("Tuppenny Violet", {}, {{"Year", 1860}});
        addStamp("Twopenny Blue", {}, {{"Year", 1840}, {"used", true}});
        db->close();
        db.reset();

        program = std::make_unique<Program>(dialogs, dir.path());
        program->DbPath = path(QStringLiteral("stamp.mdb"));
        program->openCollection();
        stamps = program->CollectionDb->openRecordSet(
            QStringLiteral("Select * from stamp order by [descr]"));
        dlg = std::make_unique<frmFind>(*program);
        dlg->searchIn(stamps.get());
    }
    void TearDown() override {
        dlg.reset();
        stamps.reset();
        program->closeCollection();
    }

    template <typename T = QWidget> T* child(const QString& name) {
        T* w = dlg->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    QListWidget* list(const QString& name) { return child<QListWidget>(name); }
    QLineEdit* text() { return child<QLineEdit>(QStringLiteral("txtToFind")); }
    QString current() { return stamps->field(QStringLiteral("descr")).toText(); }
    void goTo(const QString& descr) {
        stamps->findFirst(QStringLiteral("descr = ") + db::quoteText(descr));
        ASSERT_FALSE(stamps->noMatch());
    }
    void click(const QString& name) {
        QTest::mouseClick(child<QAbstractButton>(name), Qt::LeftButton);
    }
    // Clicks the entry with that caption in whichever of the lists is shown.
    void choose(const QStringList& lists, const QString& caption) {
        for (const QString& name : lists) {
            QListWidget* l = list(name);
            const auto items = l->findItems(caption, Qt::MatchExactly);
            if (!l->isVisible() || items.isEmpty())
                continue;
            l->scrollToItem(items.first());
            QTest::mouseClick(l->viewport(), Qt::LeftButton, {},
                              l->visualItemRect(items.first()).center());
            ASSERT_TRUE(items.first()->isSelected());
            return;
        }
        FAIL() << "no shown list offers " << caption.toStdString();
    }
    void choose(const char* listName, const QString& caption) {
        choose(QStringList{QString::fromLatin1(listName)}, caption);
    }
    void type(const QString& t) {
        text()->selectAll();
        QTest::keyClick(text(), Qt::Key_Delete);
        QTest::keyClicks(text(), t);
    }
    // Makes the choices of one search and presses "&Find", from the stamp given or else from
    // the first, where typing puts it.
    void find(const QString& field, const QString& op, const QString& value, int where = 1,
              const QString& from = {}) {
        choose("lstField", field);
        choose({"lstText", "lstNum", "lstBool"}, op);
        if (text()->isVisible())
            type(value);
        click(QStringLiteral("optWhere%1").arg(where));
        if (!from.isEmpty())
            goTo(from);
        click(QStringLiteral("cmdFind"));
    }
    QStringList shownInputs() {
        QStringList out;
        for (const char* n : {"lstNum", "lstText", "lstBool", "lstSel", "txtToFind", "lblToFind"})
            if (child(QString::fromLatin1(n))->isVisible())
                out << QString::fromLatin1(n);
        return out;
    }
};

TEST_F(FindDialog, Load_ShowsTheInputThatSuitsEachField) {
    dlg->show();
    EXPECT_EQ(dlg->windowTitle(), "Find a Stamp");
    QListWidget* fields = list("lstField");
    ASSERT_EQ(fields->count(), 33);
    EXPECT_TRUE(fields->item(0)->isSelected());
    EXPECT_EQ(fields->item(0)->text(), "Cancellation"); // ordered by caption, a code field
    EXPECT_EQ(shownInputs(), QStringList{"lstSel"});
    EXPECT_EQ(child<QLabel>("lblOperator")->text(), "Select Value");
    EXPECT_TRUE(child<QRadioButton>("optWhere1")->isChecked());
    const struct {
        const char* field;
        QStringList inputs;
        const char* label;
    } cases[] = {{"Description", {"lstText", "txtToFind", "lblToFind"}, "Operator"},
                 {"Issue Date", {"lstNum", "txtToFind", "lblToFind"}, "Operator"},
                 {"Used", {"lstBool"}, "Select Value"}};
    for (const auto& c : cases) {
        choose("lstField", c.field);
        EXPECT_EQ(shownInputs(), c.inputs) << c.field;
        EXPECT_EQ(child<QLabel>("lblOperator")->text(), c.label) << c.field;
    }
    EXPECT_TRUE(dialogs.prompts.empty());
}

TEST_F(FindDialog, Find_BuildsTheCriterionAndMovesToTheMatch) {
    const QLocale us, de(QLocale::German, QLocale::Germany),
        gb(QLocale::English, QLocale::UnitedKingdom);
    const struct {
        const char* field;
        const char* op;
        QString value;
        int where;
        QString from;     // current stamp at the search; the first when empty
        QString expected; // empty: no match
        QString criterion;
        const QLocale& locale;
    } cases[] = {
        {"Description", "Contains", "PENNY", 1, {}, "Penny Black", "[descr] like '*PENNY*'", us},
        {"Description", "Ends With", "blue", 1, {}, "Twopenny Blue", {}, us},
        {"Description", "Begins With", "penny r", 1, {}, "Penny Red", {}, us},
        {"Description", "Equals", "blue mauritius", 1, {}, "Blue Mauritius", {}, us},
        {"Description", "Equals", "Blue", 1, {}, {}, {}, us},
        {"Description", "Contains", "", 4, {}, "Twopenny Blue", {}, us},
        // Quotes and wildcards typed by the user match themselves.
        {"Description", "Contains", "o'brien", 1, {}, Irish, "[descr] like '*o''brien*'", us},
        {"Description", "Contains", "\"cheese\"", 1, {}, Cheese, {}, us},
        {"Description", "Ends With", "5*", 4, {}, "Surcharge 5*", "[descr] like '*5[*]'", us},
        {"Description", "Equals", "50?overprint", 1, {}, {}, {}, us},
        // Directions go from the current stamp.
        {"Description", "Contains", "penny", 1, Cheese, "Penny Black", {}, us},
        {"Description", "Contains", "penny", 2, Cheese, "Penny Red", {}, us},
        {"Description", "Contains", "penny", 3, Cheese, "Tuppenny Violet", {}, us},
        {"Description", "Contains", "penny", 4, Cheese, "Twopenny Blue", {}, us},
        {"Description", "Contains", "penny", 3, "Twopenny Blue", {}, {}, us},
        {"Year", "=", "1840", 4, {}, "Twopenny Blue", "[Year] = 1840", us},
        {"Year", "not =", "1840", 1, {}, "50* overprint", "[Year] <> 1840", us},
        {"Year", "<", "1841", 3, "Penny Black", "Twopenny Blue", "[Year] < 1841", us},
        {"Year", ">", "1990", 1, {}, Cheese, "[Year] > 1990", us},
        {"Year", "<=", "1840", 2, "Penny Red", "Penny Black", "[Year] <= 1840", us},
        {"Year", ">=", "1990", 1, {}, Irish, "[Year] >= 1990", us},
        {"Face Value", "=", "$2.00", 1, {}, "Blue Mauritius", "[face] = 2", us},
        {"Face Value", "=", "1,5", 1, {}, Irish, "[face] = 1.5", de},
        {"Issue Date", "=", "3/1/1990", 1, {}, Cheese, "[issued] = #3/1/1990#", us},
        {"Issue Date", "=", "3/1/1990", 1, {}, Irish, "[issued] = #1/3/1990#", gb},
        {"Issue Date", "not =", "9/21/1847", 1, {}, Irish, "[issued] <> #9/21/1847#", us},
        {"Used", "True", {}, 4, {}, "Twopenny Blue", "[used] = true", us},
        {"Used", "False", {}, 1, {}, "50* overprint", "[used] = false", us},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(
            QStringLiteral("%1 %2 %3 %4").arg(c.field, c.op, c.value).arg(c.where).toStdString());
        program->regional = regional::Regional(c.locale);
        dlg->searchIn(stamps.get());
        dlg->show();
        const QString before = c.from.isEmpty() ? QStringLiteral("50* overprint") : c.from;
        find(c.field, c.op, c.value, c.where, c.from);
        EXPECT_FALSE(dlg->isVisible());
        EXPECT_TRUE(dlg->searched());
        EXPECT_EQ(stamps->noMatch(), c.expected.isEmpty());
        EXPECT_EQ(current(), c.expected.isEmpty() ? before : c.expected);
        EXPECT_TRUE(c.criterion.isEmpty() || dlg->criterion() == c.criterion)
            << dlg->criterion().toStdString();
    }
    EXPECT_TRUE(dialogs.prompts.empty());
}

TEST_F(FindDialog, CodeField_FindsTheChosenEntryAndNeedsOne) {
    dlg->show();
    choose("lstField", "Country");
    QStringList shown, countries;
    for (int i = 0; i < list("lstSel")->count(); ++i)
        shown << list("lstSel")->item(i)->text();
    auto rs = program->CollectionDb->openRecordSet(
        QStringLiteral("select Coudesc from country order by Coudesc"),
        db::RecordSetKind::Snapshot);
    for (; !rs->eof(); rs->moveNext())
        countries << rs->field(0).toText();
    EXPECT_EQ(shown, countries);

    click("cmdFind");
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_EQ(dialogs.prompts[0].text, "You must select the value to find from the second list.");
    EXPECT_EQ(dialogs.prompts[0].title, "No Value Selected");
    EXPECT_TRUE(dlg->isVisible());

    choose("lstSel", "Ruritania");
    EXPECT_EQ(dlg->criterion(), QStringLiteral("[CouID] = %1").arg(ruritania));
    click("cmdFind");
    EXPECT_EQ(current(), "Blue Mauritius");
}

TEST_F(FindDialog, ValueChecks_KeepTheDialogOpenWithTheFocusOnTheValue) {
    dlg->show();
    find("Year", "=", "18x0");
    find("Issue Date", "=", "31/4/1990");
    ASSERT_EQ(dialogs.prompts.size(), 2u);
    EXPECT_EQ(dialogs.prompts[0].text, "You must enter a valid number for this field.");
    EXPECT_EQ(dialogs.prompts[0].title, "Search Value Not Numeric");
    EXPECT_EQ(dialogs.prompts[1].text, "You must enter a valid date for this field.");
    EXPECT_EQ(dialogs.prompts[1].title, "Search Value Not Date");
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(dlg->focusWidget(), text());
    EXPECT_TRUE(dlg->criterion().isEmpty());

    // Typing and a click in lstBool start the next search from the first stamp.
    goTo("Penny Red");
    QTest::keyClick(text(), Qt::Key_Backspace);
    EXPECT_EQ(current(), "50* overprint");
    choose("lstField", "Sold");
    goTo("Penny Red");
    choose("lstBool", "False");
    EXPECT_EQ(current(), "50* overprint");
}

TEST_F(FindDialog, Exec_KeepsTheChoicesAndCloseLeavesTheStampAlone) {
    goTo("Penny Red");
    QTimer::singleShot(0, dlg.get(), [this] { click("cmdCancel"); });
    EXPECT_FALSE(dlg->findIn(*stamps).has_value());
    EXPECT_EQ(current(), "Penny Red");

    QTimer::singleShot(0, dlg.get(), [this] { find("Year", ">", "1850", 3); });
    const auto found = dlg->findIn(*stamps);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->stamp, stamps->field(QStringLiteral("stampid")).toInteger());
    EXPECT_EQ(current(), Irish);

    bool checked = false;
    dlg->searchIn(stamps.get());
    QTimer::singleShot(0, dlg.get(), [&] {
        EXPECT_EQ(list("lstField")->selectedItems().value(0)->text(), "Year");
        EXPECT_EQ(list("lstNum")->selectedItems().value(0)->text(), ">");
        EXPECT_EQ(text()->text(), "1850");
        EXPECT_TRUE(child<QRadioButton>("optWhere3")->isChecked());
        checked = true;
        click("cmdFind");
    });
    EXPECT_EQ(dlg->exec(), QDialog::Accepted);
    EXPECT_TRUE(checked);
    EXPECT_EQ(current(), Cheese);

    // A search that matches nothing is a search made, with no stamp found.
    QTimer::singleShot(0, dlg.get(), [this] { find("Year", ">", "2100", 1); });
    const auto none = dlg->findIn(*stamps);
    ASSERT_TRUE(none.has_value());
    EXPECT_FALSE(none->stamp.has_value());
}

TEST_F(FindDialog, ACatalogueRowWhoseNamesAreNotTheCollectionsIsLeftOutAndSaid) {
    const struct {
        const char* row; // what it is
        int specid;
        const char* desc;
        const char* change;
    } cases[] = {
        {"a field the stamp table lacks", 17, "Color", "fieldname = 'colour'"},
        {"a statement for a field", 1, "Description",
         "fieldname = 'descr) from stamp; drop table stamp; --'"},
        {"another table's field", 4, "Year", "fieldname = 'Coudesc from country --'"},
        {"a query for a table", 8, "Country",
         "FileName = 'country where 0 union select stampid, descr from stamp'"},
        {"a condition for a link", 8, "Country", "linkfield = 'CouID or 1 = 1'"},
        {"no link to another table", 9, "Type", "linkfield = null"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row);
        dlg.reset();
        dialogs.prompts.clear();
        const QString catalogue = path(QStringLiteral("rptspec.mdb"));
        QFile::remove(catalogue);
        db::createCatalogue(catalogue);
        db::openDatabaseFile(catalogue, db::OpenMode::Shared)
            ->execute(QStringLiteral("update RptSpec set %1 where specid = %2")
                          .arg(QLatin1String(c.change))
                          .arg(c.specid));
        dlg = std::make_unique<frmFind>(*program);

        // Said once, naming the row; the other fields are offered and searched as ever.
        EXPECT_EQ(dialogs.prompts.size(), 1u);
        const QString said = dialogs.messageTexts().join(u'\n');
        EXPECT_TRUE(said.contains(QStringLiteral("row %1 (%2)").arg(c.specid).arg(c.desc)))
            << said.toStdString();
        EXPECT_TRUE(list("lstField")->findItems(c.desc, Qt::MatchExactly).isEmpty());
        EXPECT_GT(list("lstField")->count(), 20);
        dialogs.prompts.clear();
        dlg->searchIn(stamps.get());
        QTimer::singleShot(0, dlg.get(), [&] { find("Used", "True", {}, 4); });
        EXPECT_EQ(dlg->exec(), QDialog::Accepted);
        EXPECT_TRUE(dialogs.prompts.empty());
        EXPECT_EQ(current(), "Twopenny Blue");
        EXPECT_EQ(
            program->CollectionDb->scalar(QStringLiteral("select count(*) from stamp")).toInteger(),
            10);
    }
}

TEST_F(FindDialog, ACatalogueThatIsNoneIsKeptAsideAndMadeAgain) {
    dlg.reset();
    QFile junk(path(QStringLiteral("rptspec.mdb")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a database");
    junk.close();
    dlg = std::make_unique<frmFind>(*program);
    dlg->show();
    EXPECT_TRUE(dialogs.prompts.empty());
    EXPECT_GT(list("lstField")->count(), 10);
    const QStringList kept =
        QDir(dir.path()).entryList({QStringLiteral("rptspec-bad-*.mdb")}, QDir::Files);
    ASSERT_EQ(kept.size(), 1);
    QFile copy(path(kept[0]));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), QByteArray("not a database"));
}

} // namespace
