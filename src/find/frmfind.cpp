#include "find/frmfind.h"

#include "db/catalogue.h"
#include "db/dberror.h"
#include "db/dialect.h"
#include "db/recordset.h"
#include "ui/busycursor.h"
#include "ui/errorhandler.h"
#include "ui/slotguard.h"
#include "ui/typingguard.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <iterator>

namespace perlinex {

using db::DbError;

namespace {

QString title() {
    return frmFind::tr("Find a Stamp");
}

enum DataType { Text = 1, Number = 2, Date = 3, YesNo = 4 };

// The comparisons of lstNum, by item data 1..6.
const char* const kComparisons[7] = {"", " = ", " <> ", " < ", " > ", " <= ", " >= "};

void fill(QListWidget* list, const QStringList& captions) {
    for (int i = 0; i < captions.size(); ++i) {
        auto* item = new QListWidgetItem(captions[i], list);
        item->setData(Qt::UserRole, i + 1);
    }
    list->setCurrentRow(0);
}

// The item data of the chosen entry; the first entry's when none is chosen, which only a
// ctrl-click that clears the selection leaves behind.
int choice(const QListWidget* list) {
    const QList<QListWidgetItem*> items = list->selectedItems();
    return items.isEmpty() ? 1 : items.first()->data(Qt::UserRole).toInt();
}

QListWidget* makeList(QWidget* parent, const char* name) {
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    return list;
}

} // namespace

frmFind::frmFind(Program& program, QWidget* parent) : QDialog(parent), program_(program) {
    setObjectName(QStringLiteral("frmFind"));
    setWindowTitle(title());
    setModal(true);

    Label1 = new QLabel(tr("Field to Find"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    lblOperator = new QLabel(tr("Operator"), this);
    lblOperator->setObjectName(QStringLiteral("lblOperator"));
    lblToFind = new QLabel(tr("What to Find"), this);
    lblToFind->setObjectName(QStringLiteral("lblToFind"));

    lstField = makeList(this, "lstField");
    lstNum = makeList(this, "lstNum");
    lstText = makeList(this, "lstText");
    lstBool = makeList(this, "lstBool");
    lstSel = makeList(this, "lstSel");
    // The comparison lists share one place under "Operator", which names none of them.
    lstNum->setAccessibleName(tr("Comparison"));
    lstText->setAccessibleName(tr("Comparison"));
    lstBool->setAccessibleName(tr("Value to find"));
    lstSel->setAccessibleName(tr("Value to find"));
    txtToFind = new QLineEdit(this);
    txtToFind->setObjectName(QStringLiteral("txtToFind"));
    Label1->setBuddy(lstField);
    lblToFind->setBuddy(txtToFind);

    const char* const directions[5] = {"", QT_TR_NOOP("FindFirst"), QT_TR_NOOP("Find Previous"),
                                       QT_TR_NOOP("Find Next"), QT_TR_NOOP("Find Last")};
    auto* where = new QHBoxLayout;
    for (int i = 1; i <= 4; ++i) {
        optWhere[i] = new QRadioButton(tr(directions[i]), this);
        optWhere[i]->setObjectName(QStringLiteral("optWhere%1").arg(i));
        where->addWidget(optWhere[i]);
    }
    optWhere[1]->setChecked(true);

    cmdFind = new QPushButton(tr("&Find"), this);
    cmdFind->setObjectName(QStringLiteral("cmdFind"));
    cmdFind->setDefault(true);
    cmdCancel = new QPushButton(tr("&Close"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setAutoDefault(false);

    auto* grid = new QGridLayout;
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(lblOperator, 0, 1);
    grid->addWidget(lstField, 1, 0);
    // The four value lists share one place; ShowFieldInput shows at most one of them.
    for (QListWidget* l : {lstNum, lstText, lstBool, lstSel})
        grid->addWidget(l, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdFind);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(lblToFind);
    layout->addWidget(txtToFind);
    layout->addLayout(where);
    layout->addLayout(buttons);

    QWidget* order[] = {lstField,    lstNum,  txtToFind, optWhere[1], optWhere[2], optWhere[3],
                        optWhere[4], cmdFind, cmdCancel, lstSel,      lstBool,     lstText};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    loadFields();
    fill(lstNum, {QStringLiteral("="), tr("not ="), QStringLiteral("<"), QStringLiteral(">"),
                  QStringLiteral("<="), QStringLiteral(">=")});
    fill(lstText, {tr("Contains"), tr("Begins With"), tr("Ends With"), tr("Equals")});
    fill(lstBool, {tr("True"), tr("False")});
    if (lstField->count() > 0)
        lstField->setCurrentRow(0);
    ShowFieldInput();

    // Connected only now, so that filling the lists does not move the main window's stamps.
    connectGuarded(lstField, &QListWidget::itemSelectionChanged, this,
                   [this] { ShowFieldInput(); });
    connectGuarded(txtToFind, &QLineEdit::textChanged, this, [this] { moveStampsFirst(); });
    connectGuarded(lstBool, &QListWidget::itemSelectionChanged, this,
                   [this] { moveStampsFirst(); });
    connectGuarded(cmdFind, &QPushButton::clicked, this, [this] { findClicked(); });
    connectGuarded(cmdCancel, &QPushButton::clicked, this, [this] { reject(); });
    TypingGuard::guardFieldsOf(this);
}

frmFind::~frmFind() = default;

// Loading ------------------------------------------------------------------------------------

void frmFind::loadFields() {
    FindFields.clear();
    QStringList refused;
    try {
        // The rows are copied out at once, so the read-only catalogue need not stay open.
        auto catalogue = program_.openFieldCatalogue();
        auto rows = catalogue->openRecordSet(QStringLiteral("Select * from RptSpec where usewith "
                                                            "= %1 order by [desc]")
                                                 .arg(db::quoteText(program_.FindUseWith)),
                                             db::RecordSetKind::Snapshot);
        for (; !rows->eof(); rows->moveNext()) {
            FindField f;
            f.specid = rows->field(QStringLiteral("specid")).toInteger();
            f.desc = rows->field(QStringLiteral("Desc")).toText();
            f.fieldname = rows->field(QStringLiteral("fieldname")).toText();
            f.fileName = rows->field(QStringLiteral("FileName")).toText();
            f.linkfield = rows->field(QStringLiteral("linkfield")).toText();
            f.datatype = int(rows->field(QStringLiteral("datatype")).toInteger());
            f.ismemo = rows->field(QStringLiteral("ismemo")).toBool();
            // The catalogue is data: a row whose names are not the collection's is left out.
            const QString problem = db::catalogueRowProblem(
                {f.specid, f.desc, program_.FindUseWith, f.fieldname, f.fileName, f.linkfield});
            if (problem.isEmpty())
                FindFields.push_back(f);
            else
                refused << problem;
        }
        rows->close();
        catalogue->close();
    } catch (const DbError& e) {
        FindFields.clear();
        program_.dialogs().message(tr("The list of fields to search could not be read, so there is "
                                      "nothing to search by: %1")
                                       .arg(e.text()),
                                   title(), Buttons::Ok, Icon::Warning);
    }
    if (!refused.isEmpty())
        program_.dialogs().message(refused.join(u'\n'), title(), Buttons::Ok, Icon::Warning);
    for (const FindField& f : FindFields) {
        auto* item = new QListWidgetItem(f.desc, lstField);
        item->setData(Qt::UserRole, qlonglong(f.specid));
    }
}

const frmFind::FindField* frmFind::selectedField() const {
    const QList<QListWidgetItem*> items = lstField->selectedItems();
    if (items.isEmpty())
        return nullptr;
    const std::int64_t specid = items.first()->data(Qt::UserRole).toLongLong();
    for (const FindField& f : FindFields)
        if (f.specid == specid)
            return &f;
    return nullptr;
}

// The input that suits the field ----------------------------------------------------------

void frmFind::showInputs(QListWidget* list, bool withText, const QString& operatorCaption) {
    for (QListWidget* l : {lstText, lstNum, lstBool, lstSel})
        l->setVisible(l == list);
    lblToFind->setVisible(withText);
    txtToFind->setVisible(withText);
    lblOperator->setText(operatorCaption);
}

void frmFind::ShowFieldInput() {
    const FindField* f = selectedField();
    if (!f)
        return;
    const QString op = tr("Operator");
    const QString value = tr("Select Value");
    switch (f->datatype) {
    case Text:
        if (f->linkfield.isEmpty()) {
            showInputs(lstText, true, op);
        } else {
            showInputs(lstSel, false, value);
            fillSel(*f);
        }
        break;
    case Number:
    case Date:
        showInputs(lstNum, true, op);
        break;
    case YesNo:
        showInputs(lstBool, false, value);
        break;
    default:
        break;
    }
}

void frmFind::fillSel(const FindField& field) {
    lstSel->clear();
    const QStringList parts = field.linkfield.split(QLatin1Char(';'));
    const QString idColumn = parts.size() == 2 ? parts[1] : field.linkfield;
    const QString table = field.fileName.isEmpty() ? program_.FindUseWith : field.fileName;
    try {
        const QString name = db::quoteName(field.fieldname);
        QString sql = QStringLiteral("select %1 as id, %2 as descr from %3")
                          .arg(db::quoteName(idColumn), name, db::quoteName(table));
        if (!field.ismemo)
            sql += QStringLiteral(" order by ") + name;
        if (!program_.CollectionDb)
            throw DbError(db::err::NoDatabase, tr("The collection is not open."));
        auto rows = program_.CollectionDb->openRecordSet(sql, db::RecordSetKind::Snapshot);
        for (; !rows->eof(); rows->moveNext()) {
            auto* item = new QListWidgetItem(rows->field(QStringLiteral("descr")).toText(), lstSel);
            item->setData(Qt::UserRole, qlonglong(rows->field(QStringLiteral("id")).toInteger()));
        }
    } catch (const DbError& e) {
        // A catalogue row that names a missing table is the catalogue's fault, not the
        // collection's: say so and leave the list empty rather than end the program.
        lstSel->clear();
        program_.dialogs().message(
            tr("The values of %1 could not be read: %2").arg(field.desc, e.text()), title(),
            Buttons::Ok, Icon::Warning);
    }
}

void frmFind::moveStampsFirst() {
    if (stamps_)
        trap(program_, [&] { stamps_->moveFirst(); });
}

void frmFind::searchIn(db::RecordSet* stamps) {
    stamps_ = stamps;
    searched_ = false;
}

std::optional<frmFind::Found> frmFind::findIn(db::RecordSet& stamps) {
    searchIn(&stamps);
    exec();
    stamps_ = nullptr;
    if (!searched_)
        return std::nullopt;
    if (stamps.noMatch())
        return Found{};
    return Found{stamps.field(QStringLiteral("stampid")).toInteger()};
}

// The criterion ------------------------------------------------------------------------------

frmFind::Built frmFind::build() const {
    Built b;
    const FindField* f = selectedField();
    if (!f) {
        if (lstField->count() == 0)
            b.message = tr("There are no fields to search.");
        else
            b.message = tr("You must select the field to find from the first list.");
        b.title = title();
        return b;
    }
    // The catalogue's names go in as names only.
    const QString F = db::quoteName(f->fieldname);
    const QString typed = txtToFind->text();
    switch (f->datatype) {
    case Text:
        if (f->linkfield.isEmpty()) {
            // Quoted and with its wildcards escaped, a typed text can neither break the
            // criterion (O'Brien) nor widen it (50*): it matches itself, without regard to case.
            const QString esc = db::escapeLike(typed);
            const QString star = QStringLiteral("*");
            QString pattern;
            switch (choice(lstText)) {
            case 2:
                pattern = esc + star;
                break;
            case 3:
                pattern = star + esc;
                break;
            case 4:
                pattern = esc;
                break;
            default:
                pattern = star + esc + star;
                break;
            }
            b.criterion = F + QStringLiteral(" like ") + db::quoteText(pattern);
        } else {
            const QList<QListWidgetItem*> items = lstSel->selectedItems();
            if (items.isEmpty()) {
                b.message = tr("You must select the value to find from the second list.");
                b.title = tr("No Value Selected");
                b.valueCheck = true;
                return b;
            }
            b.criterion = db::quoteName(f->linkfield.section(QLatin1Char(';'), 0, 0)) +
                          QStringLiteral(" = ") +
                          QString::number(items.first()->data(Qt::UserRole).toLongLong());
        }
        break;
    case Number: {
        // Read in the user's own way of writing numbers (1,5 in German, $3), written in the
        // engine's plain form.
        const auto v = program_.regional.toDouble(typed);
        if (!v) {
            b.message = tr("You must enter a valid number for this field.");
            b.title = tr("Search Value Not Numeric");
            b.valueCheck = true;
            b.focusText = true;
            return b;
        }
        b.criterion = F + QString::fromLatin1(kComparisons[choice(lstNum)]) +
                      QString::number(*v, 'g', QLocale::FloatingPointShortest);
        break;
    }
    case Date: {
        // The engine reads date literals month first; read the typed date in the user's
        // order and write it in the engine's.
        const auto d = program_.regional.toDate(typed);
        if (!d) {
            b.message = tr("You must enter a valid date for this field.");
            b.title = tr("Search Value Not Date");
            b.valueCheck = true;
            b.focusText = true;
            return b;
        }
        b.criterion = F + QString::fromLatin1(kComparisons[choice(lstNum)]) + db::dateLiteral(*d);
        break;
    }
    case YesNo:
        b.criterion =
            F + (choice(lstBool) == 1 ? QStringLiteral(" = true") : QStringLiteral(" = false"));
        break;
    default:
        b.message = tr("The field %1 cannot be searched.").arg(f->desc);
        b.title = title();
        break;
    }
    return b;
}

QString frmFind::criterion() const {
    return build().criterion;
}

int frmFind::direction() const {
    for (int i = 1; i <= 4; ++i)
        if (optWhere[i]->isChecked())
            return i;
    return 1;
}

// The search ---------------------------------------------------------------------------------

std::optional<db::DbError> frmFind::takeDamage() {
    std::optional<db::DbError> d;
    d.swap(damage_);
    return d;
}

void frmFind::findClicked() {
    const bool wasSearched = searched_;
    searched_ = true;
    const Built b = build();
    if (b.criterion.isEmpty()) {
        // A failed value check counts as a click on Find; with no field or an unsearchable one
        // the click did nothing at all.
        if (!b.valueCheck)
            searched_ = wasSearched;
        program_.dialogs().message(b.message, b.title, Buttons::Ok, Icon::None);
        if (b.focusText)
            txtToFind->setFocus();
        return;
    }
    try {
        if (!stamps_)
            throw DbError(db::err::NoDatabase, tr("No stamps are open."));
        db::RecordSet& stamps = *stamps_;
        BusyCursor busy; // a search may read the whole collection
        switch (direction()) {
        case 2:
            stamps.findPrevious(b.criterion);
            break;
        case 3:
            stamps.findNext(b.criterion);
            break;
        case 4:
            stamps.findLast(b.criterion);
            break;
        default:
            stamps.findFirst(b.criterion);
            break;
        }
    } catch (const DbError& e) {
        if (e.number() == db::err::DamagedFile) {
            damage_ = e;
            searched_ = false;
            reject();
            return;
        }
        // No search was made, so the stamp shown stays as it was, and closing now counts as
        // cancelled. The common handler would end the program for an error such as this one.
        searched_ = wasSearched;
        program_.dialogs().message(tr("The search could not be made: ") + e.text(), title(),
                                   Buttons::Ok, Icon::Warning);
        return;
    }
    accept();
}

} // namespace perlinex
