#include "exchange/window/importdialog.h"

#include "db/fields.h"
#include "ui/busycursor.h"
#include "ui/slotguard.h"
#include "ui/workprogress.h"
#include "util/durablefile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QStandardPaths>
#include <QTableWidget>
#include <QVBoxLayout>

namespace perlinex::exchange {

namespace {

// The preview shows this many stamps; the list of problems at most this many lines.
constexpr int PreviewRows = 20;
constexpr int MaxProblemRows = 1000;
// New classifications named in the question before it says how many more there are.
constexpr int NamedNewCodes = 15;

const QString HelpPage = QStringLiteral("exchange.html");

QString startFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::homePath();
}

bool sameTarget(const ColumnRole& a, const ColumnRole& b) {
    return a.kind == b.kind && a.field == b.field;
}

// A value shown on one line: the line breaks it holds shown as " / ".
QString oneLine(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\n'), QStringLiteral(" / "));
    return text;
}

QTableWidget* readOnlyTable(const char* name) {
    auto* t = new QTableWidget;
    t->setObjectName(QLatin1String(name));
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setTabKeyNavigation(false); // Tab leaves the table for the next control
    t->setWordWrap(false);
    return t;
}

// The lines refused, and the part of the file that could not be read at all.
int refusedLines(const ImportPlan& plan) {
    int n = 0;
    for (const LineProblem& p : plan.problems())
        n += p.refused ? 1 : 0;
    return n;
}

QTableWidgetItem* cell(const QString& text) {
    auto* item = new QTableWidgetItem(oneLine(text));
    if (item->text() != text)
        item->setToolTip(text);
    return item;
}

} // namespace

ImportDialog::ImportDialog(Program& program, PictureConverter convert, QWidget* parent)
    : QDialog(parent), program_(program), convert_(std::move(convert)),
      targets_(ColumnMap::targets()) {
    setObjectName(QStringLiteral("frmImport"));
    setWindowTitle(tr("Import Stamps"));
    build();
    resize(980, 740);
}

ImportDialog::~ImportDialog() = default;

QComboBox* ImportDialog::formatCombo(const char* name) {
    auto* combo = new QComboBox;
    combo->setObjectName(QLatin1String(name));
    return combo;
}

void ImportDialog::build() {
    const auto label = [](const QString& text, QWidget* buddy) {
        auto* l = new QLabel(text);
        l->setBuddy(buddy);
        return l;
    };
    txtFile = new QLineEdit;
    txtFile->setObjectName(QStringLiteral("txtFile"));
    txtFile->setReadOnly(true);
    auto* cmdBrowse = new QPushButton(tr("&Browse..."));
    cmdBrowse->setObjectName(QStringLiteral("cmdBrowse"));
    cmdBrowse->setAutoDefault(false);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(label(tr("&File:"), txtFile));
    fileRow->addWidget(txtFile, 1);
    fileRow->addWidget(cmdBrowse);

    lblSource = new QLabel;
    lblSource->setObjectName(QStringLiteral("lblSource"));
    lblSource->setTextFormat(Qt::PlainText);

    cboDelimiter = formatCombo("cboDelimiter");
    cboEncoding = formatCombo("cboEncoding");
    cboDecimal = formatCombo("cboDecimal");
    auto* formatRow = new QHBoxLayout;
    formatRow->addWidget(label(tr("&Delimiter:"), cboDelimiter));
    formatRow->addWidget(cboDelimiter);
    formatRow->addSpacing(12);
    formatRow->addWidget(label(tr("&Encoding:"), cboEncoding));
    formatRow->addWidget(cboEncoding);
    formatRow->addSpacing(12);
    formatRow->addWidget(label(tr("Decimal se&parator:"), cboDecimal));
    formatRow->addWidget(cboDecimal);
    formatRow->addStretch();

    auto* columnsArea = new QScrollArea;
    columnsArea->setObjectName(QStringLiteral("grdColumns"));
    columnsArea->setWidgetResizable(true);
    columnsPane = new QWidget;
    columnsGrid = new QGridLayout(columnsPane);
    columnsArea->setWidget(columnsPane);
    lblColumns = new QLabel(tr("&Columns of the file and the fields they fill:"));

    grdPreview = readOnlyTable("grdPreview");
    lblSummary = new QLabel;
    lblSummary->setObjectName(QStringLiteral("lblSummary"));
    lblSummary->setWordWrap(true);

    grdProblems = readOnlyTable("grdProblems");
    grdProblems->setColumnCount(3);
    grdProblems->setHorizontalHeaderLabels({tr("Line"), tr("Column"), tr("Reason")});
    grdProblems->horizontalHeader()->setStretchLastSection(true);
    grdProblems->verticalHeader()->hide();
    chkGoodLinesOnly = new QCheckBox(tr("Store only the &good lines; leave the refused ones out"));
    chkGoodLinesOnly->setObjectName(QStringLiteral("chkGoodLinesOnly"));
    lstNewCodes = new QListWidget;
    lstNewCodes->setObjectName(QStringLiteral("lstNewCodes"));

    auto* problems = new QVBoxLayout;
    problems->addWidget(label(tr("Refused &lines and remarks:"), grdProblems));
    problems->addWidget(grdProblems, 1);
    problems->addWidget(chkGoodLinesOnly);
    auto* codes = new QVBoxLayout;
    codes->addWidget(label(tr("&New classifications:"), lstNewCodes));
    codes->addWidget(lstNewCodes, 1);
    auto* lower = new QHBoxLayout;
    lower->addLayout(problems, 3);
    lower->addLayout(codes, 1);

    cmdImport = new QPushButton(tr("&Import"));
    cmdImport->setObjectName(QStringLiteral("cmdImport"));
    cmdImport->setDefault(true);
    auto* cmdCancel = new QPushButton(tr("Cancel"));
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setAutoDefault(false);
    auto* cmdHelp = new QPushButton(tr("&Help"));
    cmdHelp->setObjectName(QStringLiteral("cmdHelp"));
    cmdHelp->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdHelp);
    buttons->addStretch();
    buttons->addWidget(cmdImport);
    buttons->addWidget(cmdCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fileRow);
    layout->addWidget(lblSource);
    layout->addLayout(formatRow);
    layout->addWidget(lblColumns);
    layout->addWidget(columnsArea, 2);
    layout->addWidget(label(tr("Pre&view: the first stamps as they will be stored"), grdPreview));
    layout->addWidget(grdPreview, 2);
    layout->addWidget(lblSummary);
    layout->addLayout(lower, 1);
    layout->addLayout(buttons);

    connectGuarded(cmdBrowse, &QPushButton::clicked, this, [this] { chooseFile(); });
    connectGuarded(cboDelimiter, &QComboBox::activated, this, &ImportDialog::delimiterChosen);
    connectGuarded(cboEncoding, &QComboBox::activated, this, &ImportDialog::encodingChosen);
    connectGuarded(cboDecimal, &QComboBox::activated, this, &ImportDialog::decimalChosen);
    connectGuarded(cmdImport, &QPushButton::clicked, this, &ImportDialog::importStamps);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connectGuarded(cmdHelp, &QPushButton::clicked, this, [this] {
        if (program_.showHelpPage)
            program_.showHelpPage(HelpPage);
    });
}

// ---------------------------------------------------------------------------------------
// The file and the changes of the user

bool ImportDialog::chooseFile() {
    const QString folder = session_ ? QFileInfo(session_->path()).absolutePath() : startFolder();
    const std::optional<QString> file = program_.dialogs().openFileName(
        tr("Import"),
        tr("CSV and Tellico Files (*.csv *.txt *.tc)|*.csv;*.txt;*.tc|CSV Files (*.csv)|*.csv|"
           "Tellico Files (*.tc)|*.tc|All Files (*.*)|*.*"),
        folder);
    if (!file || file->isEmpty())
        return false;
    return openFile(*file);
}

bool ImportDialog::openFile(const QString& path) {
    std::unique_ptr<ImportSession> opened;
    const bool ok = rework([&] {
        const BusyCursor busy;
        opened = std::make_unique<ImportSession>(*program_.CollectionDb, program_.regional, path);
    });
    if (!ok)
        return false;
    session_ = std::move(opened);
    txtFile->setText(QDir::toNativeSeparators(path));
    chkGoodLinesOnly->setChecked(false);
    showSession();
    return true;
}

bool ImportDialog::rework(const std::function<void()>& change) {
    const auto tell = [this](const QString& text) {
        program_.dialogs().message(text, tr("Import"), Buttons::Ok, Icon::Warning);
    };
    try {
        if (!program_.CollectionDb)
            throw db::DbError(db::err::NoDatabase, tr("No collection is open."));
        change();
        return true;
    } catch (const ImportError& e) {
        tell(e.text());
    } catch (const durable::FileError& e) {
        tell(e.text());
    } catch (const db::DbError& e) {
        if (e.number() == db::err::DamagedFile || e.number() == db::err::NoDatabase) {
            damage_ = e;
            reject();
        } else {
            tell(e.text());
        }
    }
    if (session_ && !damage_)
        showSession();
    return false;
}

void ImportDialog::delimiterChosen(int index) {
    CsvFormat format = session_->format();
    format.delimiter = cboDelimiter->itemData(index).toString().front();
    rework([&] {
        const BusyCursor busy;
        session_->setFormat(format);
        showSession();
    });
}

void ImportDialog::encodingChosen(int index) {
    CsvFormat format = session_->format();
    format.encoding = TextEncoding(cboEncoding->itemData(index).toInt());
    rework([&] {
        const BusyCursor busy;
        session_->setFormat(format);
        showSession();
    });
}

void ImportDialog::decimalChosen(int index) {
    const QChar decimal = cboDecimal->itemData(index).toString().front();
    rework([&] {
        const BusyCursor busy;
        session_->setDecimalSeparator(decimal);
        showSession();
    });
}

void ImportDialog::columnChosen(int column, int index) {
    auto* combo = columnsPane->findChild<QComboBox*>(QStringLiteral("cboColumn%1").arg(column + 1));
    const int target = combo->itemData(index).toInt();
    if (target < 0)
        return; // the match it had
    rework([&] {
        const BusyCursor busy;
        session_->setRole(column, targets_[std::size_t(target)]);
        showSession();
    });
}

// ---------------------------------------------------------------------------------------
// Showing what the session worked out

void ImportDialog::showSession() {
    const SourceTable& table = session_->table();
    lblSource->setText(session_->isTellico()
                           ? tr("Tellico stamp collection \"%1\"; entries: %2")
                                 .arg(session_->title())
                                 .arg(table.rows.size())
                           : tr("CSV file; lines below its header: %1").arg(table.rows.size()));
    showFormat();
    showColumns();
    showPreview();
    showProblems();
    showNewCodes();
}

void ImportDialog::showFormat() {
    struct Item {
        QString text;
        QVariant data;
    };
    const auto fill = [this](QComboBox* combo, const std::vector<Item>& items,
                             const QVariant& detected, const QVariant& current) {
        combo->clear();
        for (const Item& item : items)
            combo->addItem(item.data == detected ? tr("%1 (detected)").arg(item.text) : item.text,
                           item.data);
        combo->setCurrentIndex(combo->findData(current));
    };
    const bool csv = !session_->isTellico();
    const CsvFormat& found = session_->detectedFormat();
    const CsvFormat& now = session_->format();
    if (csv) {
        fill(cboDelimiter,
             {{tr("Comma"), QStringLiteral(",")},
              {tr("Semicolon"), QStringLiteral(";")},
              {tr("Tab"), QStringLiteral("\t")}},
             QString(found.delimiter), QString(now.delimiter));
        fill(cboEncoding,
             {{tr("UTF-8"), int(TextEncoding::Utf8)},
              {tr("UTF-16"), int(TextEncoding::Utf16)},
              {tr("Latin-1 / Windows-1252"), int(TextEncoding::Windows1252)}},
             int(found.encoding), int(now.encoding));
    } else {
        cboDelimiter->clear();
        cboEncoding->clear();
    }
    cboDelimiter->setEnabled(csv);
    cboEncoding->setEnabled(csv);
    fill(cboDecimal,
         {{tr("Point (.)"), QStringLiteral(".")}, {tr("Comma (,)"), QStringLiteral(",")}},
         QString(session_->detectedDecimalSeparator()), QString(session_->decimalSeparator()));
}

void ImportDialog::showColumns() {
    const ColumnMap& columns = session_->columns();
    const SourceTable& table = session_->table();
    QList<QComboBox*> combos = columnsPane->findChildren<QComboBox*>();
    bool rebuild = combos.size() != columns.columnCount();
    for (int c = 0; c < columns.columnCount() && !rebuild; ++c)
        rebuild =
            columnsPane->findChild<QLabel*>(QStringLiteral("lblColumn%1").arg(c + 1))->text() !=
            columns.headers()[c];
    if (rebuild) {
        // A file read anew (another one, or another way): a row for each of its columns.
        for (QWidget* child : columnsPane->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            delete child;
        columnsGrid->addWidget(new QLabel(tr("Column")), 0, 0);
        columnsGrid->addWidget(new QLabel(tr("Field")), 0, 1);
        columnsGrid->addWidget(new QLabel(tr("First line")), 0, 2);
        for (int c = 0; c < columns.columnCount(); ++c) {
            auto* header = new QLabel(columns.headers()[c]);
            header->setObjectName(QStringLiteral("lblColumn%1").arg(c + 1));
            header->setTextFormat(Qt::PlainText);
            auto* combo = new QComboBox;
            combo->setObjectName(QStringLiteral("cboColumn%1").arg(c + 1));
            combo->setAccessibleName(columns.headers()[c].isEmpty() ? tr("Column %1").arg(c + 1)
                                                                    : columns.headers()[c]);
            for (std::size_t t = 0; t < targets_.size(); ++t) {
                const ColumnRole& role = targets_[t];
                QString text;
                switch (role.kind) {
                case ColumnRole::Kind::Notes:
                    text = tr("Notes, under the column's name");
                    break;
                case ColumnRole::Kind::Skip:
                    text = tr("Not imported");
                    break;
                case ColumnRole::Kind::Picture:
                    text = tr("Picture");
                    break;
                case ColumnRole::Kind::Field:
                    text = db::fieldText(role.field->caption);
                    break;
                }
                combo->addItem(text, int(t));
            }
            const QString first = table.rows.empty() || c >= table.rows.front().cells.size()
                                      ? QString()
                                      : oneLine(table.rows.front().cells[c]);
            auto* value = new QLabel(first);
            value->setTextFormat(Qt::PlainText);
            columnsGrid->addWidget(header, c + 1, 0);
            columnsGrid->addWidget(combo, c + 1, 1);
            columnsGrid->addWidget(value, c + 1, 2);
            connectGuarded(combo, &QComboBox::activated, this,
                           [this, c](int index) { columnChosen(c, index); });
        }
        columnsGrid->setColumnStretch(2, 1);
        columnsGrid->setRowStretch(columns.columnCount() + 1, 1);
        if (columns.columnCount() > 0)
            lblColumns->setBuddy(columnsPane->findChild<QComboBox*>(QStringLiteral("cboColumn1")));
    }
    for (int c = 0; c < columns.columnCount(); ++c) {
        auto* combo = columnsPane->findChild<QComboBox*>(QStringLiteral("cboColumn%1").arg(c + 1));
        const ColumnRole& role = columns.role(c);
        // A column that fills its field only where another leaves it blank keeps that match
        // until the user gives it another.
        const int fallbackItem = combo->findData(-1);
        if (fallbackItem >= 0 && !role.fallback)
            combo->removeItem(fallbackItem);
        if (role.fallback) {
            if (fallbackItem < 0)
                combo->addItem(tr("%1, where the other column leaves it blank")
                                   .arg(db::fieldText(role.field->caption)),
                               -1);
            combo->setCurrentIndex(combo->findData(-1));
            continue;
        }
        for (std::size_t t = 0; t < targets_.size(); ++t)
            if (sameTarget(targets_[t], role))
                combo->setCurrentIndex(combo->findData(int(t)));
    }
}

void ImportDialog::showPreview() {
    const ImportPlan& plan = session_->plan();
    QHash<std::int64_t, QString> refusals;
    for (const LineProblem& p : plan.problems())
        if (p.refused && !refusals.contains(p.line))
            refusals.insert(p.line, p.reason);
    const QStringList header = ImportPlan::previewHeader();
    const int rows = int(std::min<std::size_t>(plan.stamps().size(), PreviewRows));
    grdPreview->clear();
    grdPreview->setColumnCount(int(header.size()));
    grdPreview->setHorizontalHeaderLabels(header);
    grdPreview->setRowCount(rows);
    QStringList lines;
    for (int r = 0; r < rows; ++r) {
        const PlannedStamp& stamp = plan.stamps()[std::size_t(r)];
        lines << QString::number(stamp.line);
        const QStringList cells = plan.previewRow(stamp);
        for (int c = 0; c < cells.size(); ++c) {
            QTableWidgetItem* item = cell(cells[c]);
            if (stamp.refused) {
                item->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
                item->setToolTip(tr("Refused: %1").arg(refusals.value(stamp.line)));
            }
            grdPreview->setItem(r, c, item);
        }
    }
    grdPreview->setVerticalHeaderLabels(lines);
    grdPreview->resizeColumnsToContents();
}

void ImportDialog::showProblems() {
    const ImportPlan& plan = session_->plan();
    const std::vector<LineProblem>& problems = plan.problems();
    int refusedStamps = 0;
    for (const PlannedStamp& s : plan.stamps())
        refusedStamps += s.refused ? 1 : 0;
    const int refused = refusedLines(plan);
    const int rows = int(std::min<std::size_t>(problems.size(), MaxProblemRows));
    grdProblems->setRowCount(rows);
    for (int r = 0; r < rows; ++r) {
        const LineProblem& p = problems[std::size_t(r)];
        grdProblems->setItem(r, 0, cell(QString::number(p.line)));
        grdProblems->setItem(r, 1, cell(p.column));
        grdProblems->setItem(r, 2, cell(p.refused ? tr("Refused: %1").arg(p.reason) : p.reason));
    }
    grdProblems->resizeColumnToContents(0);
    grdProblems->resizeColumnToContents(1);
    const int stamps = int(plan.stamps().size()) - refusedStamps;
    QString summary = tr("Stamps that can be stored: %1.").arg(stamps);
    if (refused > 0)
        summary += QLatin1Char(' ') + tr("Lines refused: %1.").arg(refused);
    if (const auto broken = session_->table().brokenLine)
        summary += QLatin1Char(' ') + tr("Nothing from line %1 on could be read.").arg(*broken);
    if (plan.duplicateCount() > 0)
        summary += QLatin1Char(' ') +
                   tr("Equal to stamps already in the collection: %1.").arg(plan.duplicateCount());
    if (int(problems.size()) > rows)
        summary += QLatin1Char(' ') +
                   tr("The first %1 of %2 problems are listed.").arg(rows).arg(problems.size());
    lblSummary->setText(summary);
    chkGoodLinesOnly->setEnabled(refused > 0);
}

void ImportDialog::showNewCodes() {
    lstNewCodes->clear();
    for (const NewCode& code : session_->plan().newCodes())
        lstNewCodes->addItem(QStringLiteral("%1: %2").arg(
            db::fieldText(db::referenceField(*code.table).caption), code.description));
    lstNewCodes->setEnabled(lstNewCodes->count() > 0);
}

// ---------------------------------------------------------------------------------------
// Storing

bool ImportDialog::confirmChoices(ImportChoices& choices) {
    DialogService& dialogs = program_.dialogs();
    const QString title = tr("Import");
    const ImportPlan& plan = session_->plan();
    choices.goodLinesOnly = chkGoodLinesOnly->isChecked();
    if (plan.hasRefusals() && !choices.goodLinesOnly) {
        dialogs.message(tr("Lines of the file refused: %1. Each is listed with its reason; "
                           "nothing has been stored.\n\nMend the file and open it again, or "
                           "choose to store only the good lines.")
                            .arg(refusedLines(plan)),
                        title, Buttons::Ok, Icon::Warning);
        return false;
    }
    if (stampsToStore(plan, choices).empty()) {
        dialogs.message(tr("The file holds no stamp that can be stored."), title, Buttons::Ok,
                        Icon::Information);
        return false;
    }
    if (const int same = plan.duplicateCount(); same > 0) {
        const Answer a = dialogs.message(
            tr("Stamps of the file equal to stamps already in the collection (the same "
               "description, catalogue number, country and year, as when a file is imported a "
               "second time): %1.\n\nLeave them out?")
                .arg(same),
            title, Buttons::YesNoCancel, Icon::Question);
        if (a == Answer::Cancel)
            return false;
        choices.skipDuplicates = a == Answer::Yes;
    }
    if (const std::vector<NewCode> codes = newCodesUsed(plan, stampsToStore(plan, choices));
        !codes.empty()) {
        QStringList named;
        for (std::size_t i = 0; i < codes.size() && i < NamedNewCodes; ++i)
            named << QStringLiteral("    %1: %2")
                         .arg(db::fieldText(db::referenceField(*codes[i].table).caption),
                              codes[i].description);
        if (codes.size() > NamedNewCodes)
            named << tr("    and others: %1 more").arg(codes.size() - NamedNewCodes);
        const Answer a = dialogs.message(
            tr("These classifications are not in their code tables yet:\n\n%1\n\nAdd them to the "
               "code tables? Choose No to leave those fields empty and keep the descriptions in "
               "the stamps' notes.")
                .arg(named.join(QLatin1Char('\n'))),
            title, Buttons::YesNoCancel, Icon::Question);
        if (a == Answer::Cancel)
            return false;
        if (a == Answer::No && !rework([&] { session_->setNewCodes(NewCodes::KeepInNotes); }))
            return false;
    }
    return true;
}

ImportOutcome ImportDialog::storeWithProgress(const ImportChoices& choices) {
    perlinex::WorkProgress progress(this, tr("Import"), tr("Storing the stamps..."),
                                    perlinex::WorkProgress::Stop::Offered);
    return session_->store(program_.imagesFolder(), convert_, choices,
                           [&](std::int64_t done, std::int64_t total) {
                               if (watch_)
                                   watch_(done, total);
                               return progress.report(done, total);
                           });
}

void ImportDialog::importStamps() {
    if (!session_)
        return;
    ImportChoices choices;
    if (!confirmChoices(choices)) {
        rework([this] { session_->setNewCodes(NewCodes::Add); });
        return;
    }
    std::optional<ImportOutcome> stored;
    rework([&] { stored = storeWithProgress(choices); });
    if (stored && stored->result == ImportOutcome::Result::Stored) {
        outcome_ = stored;
        accept();
        return;
    }
    if (stored && stored->result == ImportOutcome::Result::Cancelled)
        program_.dialogs().message(
            tr("The import was cancelled. Nothing has been stored: the collection is as it was."),
            tr("Import"), Buttons::Ok, Icon::Information);
    // A failure was told on the way; the collection is as it was, and the dialog as before.
    if (!damage_)
        rework([this] {
            session_->setNewCodes(NewCodes::Add);
            showSession();
        });
}

std::optional<db::DbError> ImportDialog::takeDamage() {
    std::optional<db::DbError> d;
    d.swap(damage_);
    return d;
}

void ImportDialog::watchProgress(std::function<void(std::int64_t, std::int64_t)> watch) {
    watch_ = std::move(watch);
}

QString ImportDialog::summary(const ImportOutcome& outcome) {
    QStringList lines;
    lines << (outcome.stored > 0 ? tr("Stamps imported: %1 (numbers %2 to %3).")
                                       .arg(outcome.stored)
                                       .arg(outcome.firstId)
                                       .arg(outcome.lastId)
                                 : tr("No stamps were imported."));
    if (outcome.leftOut > 0)
        lines << tr("Refused lines left out: %1.").arg(outcome.leftOut);
    if (outcome.skippedDuplicates > 0)
        lines
            << tr("Stamps already in the collection left out: %1.").arg(outcome.skippedDuplicates);
    if (outcome.newCodes > 0)
        lines << tr("New classifications added to the code tables: %1.").arg(outcome.newCodes);
    for (std::size_t i = 0; i < outcome.pictureProblems.size() && i < 5; ++i) {
        const LineProblem& p = outcome.pictureProblems[i];
        lines << (p.line > 0 ? tr("Line %1: %2").arg(p.line).arg(p.reason) : p.reason);
    }
    if (outcome.pictureProblems.size() > 5)
        lines << tr("Other pictures that could not be stored: %1.")
                     .arg(outcome.pictureProblems.size() - 5);
    return lines.join(QLatin1Char('\n'));
}

} // namespace perlinex::exchange
