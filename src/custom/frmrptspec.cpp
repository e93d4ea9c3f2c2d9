#include "custom/frmrptspec.h"

#include "custom/criteriadatefield.h"
#include "custom/generatereport.h"
#include "custom/layoutfile.h"
#include "db/catalogue.h"
#include "db/dberror.h"
#include "reports/fixedreports.h"
#include "reports/reporttargets.h"
#include "ui/filetarget.h"
#include "ui/slotguard.h"
#include "ui/typingguard.h"
#include "util/durablefile.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTabWidget>
#include <cmath>

namespace perlinex::custom {

namespace {

// A layout file is a few kilobytes; anything much larger is not one.
constexpr qint64 MostLayoutBytes = 4 << 20;

// The date a time criterion is kept on, so that its serial number is the time of day alone.
const QDate TimeDay(1899, 12, 30);

QString numberForEditing(double value, const QLocale& locale) {
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    return plain.toString(value, 'g', 7);
}

// A time typed in the user's way ("1:30 PM", "13:30") or as hours, minutes and seconds.
std::optional<QTime> timeOfDay(const QString& typed, const QLocale& locale) {
    const QString text = typed.trimmed();
    for (const QLocale::FormatType type : {QLocale::ShortFormat, QLocale::LongFormat}) {
        const QTime t = locale.toTime(text, type);
        if (t.isValid())
            return t;
    }
    static const QRegularExpression plain(
        QStringLiteral(R"(^(\d{1,2})(?:[:.](\d{2}))?(?:[:.](\d{2}))?\s*([AaPp][Mm])?$)"));
    const QRegularExpressionMatch m = plain.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    int h = m.captured(1).toInt();
    const QString half = m.captured(4).toUpper();
    if (!half.isEmpty()) {
        if (h < 1 || h > 12)
            return std::nullopt;
        h = h % 12 + (half == QLatin1String("PM") ? 12 : 0);
    }
    const QTime t(h, m.captured(2).toInt(), m.captured(3).toInt());
    return t.isValid() ? std::optional<QTime>(t) : std::nullopt;
}

} // namespace

// Making the window ---------------------------------------------------------------------------

frmRptSpec* frmRptSpec::create(Program& program, reports::FixedReports& reports, QWidget* parent,
                               const QString& useWith) {
    try {
        QString remade;
        const std::unique_ptr<db::Database> spec = program.openFieldCatalogue(&remade);
        FieldCatalogue catalogue = FieldCatalogue::read(*spec);
        spec->close();
        if (!remade.isEmpty())
            program.dialogs().message(remade, ProgramTitle, Buttons::Ok, Icon::Information);
        if (!catalogue.refusedRows().isEmpty())
            program.dialogs().message(catalogue.refusedRows().join(u'\n'), ProgramTitle,
                                      Buttons::Ok, Icon::Warning);
        return new frmRptSpec(program, reports, std::move(catalogue), parent, useWith);
    } catch (const db::DbError& e) {
        program.dialogs().message(
            tr("The custom reports cannot be opened: the field catalogue could not be read.\n\n%1")
                .arg(e.text()),
            ProgramTitle, Buttons::Ok, Icon::Warning);
        return nullptr;
    }
}

frmRptSpec::frmRptSpec(Program& program, reports::FixedReports& reports, FieldCatalogue catalogue,
                       QWidget* parent, const QString& useWith)
    : QMainWindow(parent, Qt::Window), program_(program), reports_(reports),
      catalogue_(std::move(catalogue)), useWith_(useWith),
      folder_(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)) {
    setObjectName(QStringLiteral("frmRptSpec"));
    setWindowTitle(tr("Custom Report"));
    if (folder_.isEmpty() || !QFileInfo(folder_).isDir())
        folder_ = QDir::homePath();
    buildControls();
    cmbPageNum->addItems({tr("At Bottom"), tr("In Header"), tr("No Page Numbers")});
    optWidth[0]->setChecked(true);
    connectControls();
    TypingGuard::guardFieldsOf(this);
    ResetLayout();
}

frmRptSpec::~frmRptSpec() = default;

void frmRptSpec::connectControls() {
    connectGuarded(cmdAdd, &QPushButton::clicked, this, [this] { add(); });
    connectGuarded(List1, &QListWidget::itemDoubleClicked, this, [this] { add(); });
    connectGuarded(cmdRemove, &QPushButton::clicked, this, [this] { remove(); });
    connectGuarded(cmdUp, &QPushButton::clicked, this, [this] { move(-1); });
    connectGuarded(cmdDown, &QPushButton::clicked, this, [this] { move(1); });
    connectGuarded(List2, &QListWidget::itemSelectionChanged, this, [this] {
        if (!filling_)
            ShowFieldDetails();
    });

    // Check boxes and options take effect at once.
    connectGuarded(chkHide, &QCheckBox::clicked, this, [this](bool on) {
        markChanged();
        if (FieldSettings* s = current())
            s->hideField = on;
    });
    connectGuarded(chkTotal, &QCheckBox::clicked, this, [this](bool on) {
        markChanged();
        if (FieldSettings* s = current())
            s->showTotal = on;
    });
    connectGuarded(optTrue, &QRadioButton::clicked, this, [this] {
        markChanged();
        if (FieldSettings* s = current()) {
            s->critTrue = true;
            s->critFalse = false;
        }
    });
    connectGuarded(optFalse, &QRadioButton::clicked, this, [this] {
        markChanged();
        if (FieldSettings* s = current()) {
            s->critTrue = false;
            s->critFalse = true;
        }
    });

    // Boxes are taken over when they lose the focus.
    for (QLineEdit* box :
         {txtWidth, txtStarting, txtGreater, txtLess, txtStartTime, txtEndTime, txtTitle}) {
        connectGuarded(box, &QLineEdit::textEdited, this, [this] { markChanged(); });
        if (box != txtTitle)
            box->installEventFilter(this);
    }
    for (CriteriaDateField* box : {dcStartDate, dcEndDate}) {
        connectGuarded(box, &DateField::changed, this, [this] { markChanged(); });
        box->installEventFilter(this);
        // A picked date is taken over at once; a wrong typed one waits for the box to be left.
        box->afterPopup = [this, box] {
            if (program_.regional.isDate(box->text()))
                commit(box);
        };
    }

    for (QRadioButton* option : {optReportTo[1], optReportTo[2], optReportTo[3], optOrient[0],
                                 optOrient[1], optWidth[0], optWidth[1]})
        connectGuarded(option, &QRadioButton::clicked, this, [this] { markChanged(); });
    for (int i = 1; i <= 3; ++i)
        connectGuarded(optReportTo[std::size_t(i)], &QRadioButton::toggled, this,
                       [this] { showTargetFrames(); });
    for (QComboBox* list : {cmbPageNum, cmbSort1, cmbSort2})
        connectGuarded(list, &QComboBox::activated, this, [this] { markChanged(); });
    connectGuarded(chkDate, &QCheckBox::clicked, this, [this] { markChanged(); });

    connectGuarded(cmdGenerate, &QPushButton::clicked, this, [this] { generate(); });
    connectGuarded(cmdCancel, &QPushButton::clicked, this, [this] { close(); });
}

// The layout ------------------------------------------------------------------------------------

void frmRptSpec::ResetLayout() {
    filling_ = true;
    problem_ = {};
    cmbPageNum->setCurrentIndex(0);
    offered_ = catalogue_.offeredFor(useWith_);
    layout_ = Layout::defaults(offered_, useWith_);
    List1->clear();
    List2->clear();
    cmbSort1->clear();
    cmbSort2->clear();
    for (const SpecRow& row : offered_.rows()) {
        auto* item = new QListWidgetItem(row.desc, List1);
        item->setData(Qt::UserRole, row.specid);
        cmbSort1->addItem(row.desc, row.specid);
        cmbSort2->addItem(row.desc, row.specid);
    }
    cmbSort1->setCurrentIndex(-1);
    cmbSort2->setCurrentIndex(-1);

    chkDate->setChecked(true);
    chkHide->setChecked(false);
    chkTotal->setChecked(false);
    for (QLineEdit* box : {txtLess, txtGreater, txtStarting, txtWidth, txtStartTime, txtEndTime})
        box->clear();
    dcStartDate->setText(QString());
    dcEndDate->setText(QString());
    for (QRadioButton* option : {optTrue, optFalse}) {
        option->setAutoExclusive(false);
        option->setChecked(false);
        option->setAutoExclusive(true);
    }
    optOrient[0]->setChecked(true);
    optReportTo[1]->setChecked(true);
    txtTitle->setText(layout_.title);
    showTargetFrames();

    currentSpecId_ = 0;
    for (QGroupBox* box : fraSel)
        if (box)
            box->setVisible(false);
    currentDataType_ = 0;
    frame1->setVisible(false);
    filling_ = false;
    layoutChanged_ = false;
}

void frmRptSpec::applyLayout(const Layout& layout) {
    filling_ = true;
    txtTitle->setText(layout.title);
    optReportTo[std::size_t(layout.target)]->setChecked(true);
    optOrient[std::size_t(layout.orientation)]->setChecked(true);
    chkDate->setChecked(layout.showDate);
    cmbPageNum->setCurrentIndex(int(layout.pageNumbers));
    optWidth[std::size_t(layout.unit)]->setChecked(true);
    cmbSort1->setCurrentIndex(layout.sort[0]);
    cmbSort2->setCurrentIndex(layout.sort[1]);
    layout_.settings = layout.settings;
    for (const int specid : layout.fields) {
        for (int i = 0; i < List1->count(); ++i) {
            if (List1->item(i)->data(Qt::UserRole).toInt() == specid) {
                List2->addItem(List1->takeItem(i));
                break;
            }
        }
    }
    showTargetFrames();
    filling_ = false;
    if (List2->count() > 0)
        List2->setCurrentRow(0);
    ShowFieldDetails();
}

Layout frmRptSpec::layout() const {
    Layout l = layout_;
    l.useWith = useWith_;
    l.title = txtTitle->text();
    for (int i = 1; i <= 3; ++i)
        if (optReportTo[std::size_t(i)]->isChecked())
            l.target = Target(i);
    l.orientation = optOrient[1]->isChecked() ? Orientation::Landscape : Orientation::Portrait;
    l.showDate = chkDate->isChecked();
    l.pageNumbers = PageNumbers(std::max(0, cmbPageNum->currentIndex()));
    l.unit = optWidth[1]->isChecked() ? WidthUnit::Centimetres : WidthUnit::Inches;
    l.sort = {cmbSort1->currentIndex(), cmbSort2->currentIndex()};
    l.fields.clear();
    for (int i = 0; i < List2->count(); ++i)
        l.fields << List2->item(i)->data(Qt::UserRole).toInt();
    return l;
}

void frmRptSpec::showTargetFrames() {
    const bool screen = optReportTo[1]->isChecked();
    fraOrient->setVisible(screen);
    fraFormat->setVisible(screen);
}

// The report list -----------------------------------------------------------------------------

int frmRptSpec::selectedReportRow() const {
    const QList<QListWidgetItem*> items = List2->selectedItems();
    return items.isEmpty() ? -1 : List2->row(items.first());
}

FieldSettings* frmRptSpec::current() {
    if (currentSpecId_ < 1 || currentSpecId_ > layout_.maxSpecId())
        return nullptr;
    return &layout_.setting(currentSpecId_);
}

void frmRptSpec::insertAvailable(int specid, const QString& caption) {
    // In the catalogue's caption order, as the list was filled.
    const int position = offered_.positionOf(specid);
    int row = 0;
    while (row < List1->count() &&
           offered_.positionOf(List1->item(row)->data(Qt::UserRole).toInt()) < position)
        ++row;
    auto* item = new QListWidgetItem(caption);
    item->setData(Qt::UserRole, specid);
    List1->insertItem(row, item);
}

void frmRptSpec::add() {
    markChanged();
    const QList<QListWidgetItem*> items = List1->selectedItems();
    if (items.isEmpty()) {
        program_.dialogs().message(
            tr("You must select a field from the list of available fields to add to the report."));
        return;
    }
    filling_ = true;
    List2->addItem(List1->takeItem(List1->row(items.first())));
    List1->clearSelection();
    List1->setCurrentItem(nullptr);
    List2->setCurrentRow(List2->count() - 1);
    filling_ = false;
    frame1->setVisible(true);
    ShowFieldDetails();
}

void frmRptSpec::remove() {
    markChanged();
    const int row = selectedReportRow();
    if (row < 0) {
        program_.dialogs().message(tr("You must select a field to remove from the report."));
        return;
    }
    filling_ = true;
    QListWidgetItem* item = List2->takeItem(row);
    insertAvailable(item->data(Qt::UserRole).toInt(), item->text());
    delete item;
    List2->clearSelection();
    List2->setCurrentItem(nullptr);
    filling_ = false;
    ShowFieldDetails();
}

void frmRptSpec::move(int step) {
    markChanged();
    const int row = selectedReportRow();
    if (row < 0) {
        program_.dialogs().message(step < 0
                                       ? tr("You must select the field to move up in the list")
                                       : tr("You must select the field to move down in the list"));
        return;
    }
    const int to = row + step;
    if (List2->count() < 2 || to < 0 || to >= List2->count())
        return;
    filling_ = true;
    QListWidgetItem* item = List2->takeItem(row);
    List2->insertItem(to, item);
    List2->setCurrentRow(to);
    filling_ = false;
    ShowFieldDetails();
}

void frmRptSpec::ShowFieldDetails() {
    const int row = selectedReportRow();
    if (row < 0) {
        frame1->setVisible(false);
        currentSpecId_ = 0;
        return;
    }
    frame1->setVisible(true);
    if (currentDataType_ >= 1 && currentDataType_ <= 5)
        fraSel[std::size_t(currentDataType_)]->setVisible(false);
    currentSpecId_ = List2->item(row)->data(Qt::UserRole).toInt();
    const SpecRow* spec = offered_.find(currentSpecId_);
    currentDataType_ = spec ? spec->datatype : 0;
    frame1->setTitle(tr("Details For ") + (spec ? spec->desc : QString()));
    if (currentDataType_ >= 1 && currentDataType_ <= 5)
        fraSel[std::size_t(currentDataType_)]->setVisible(true);

    const FieldSettings& s = layout_.setting(currentSpecId_);
    const regional::Regional& regional = program_.regional;
    txtWidth->setText(numberForEditing(double(s.colWidth), regional.locale()));
    chkHide->setChecked(s.hideField);
    switch (DataType(currentDataType_)) {
    case DataType::Text:
        txtStarting->setText(s.startsWith);
        break;
    case DataType::Number:
        txtLess->setText(s.lessThan);
        txtGreater->setText(s.greaterThan);
        chkTotal->setChecked(s.showTotal);
        break;
    case DataType::Date:
        dcStartDate->setText(s.rangeFrom.isValid() ? regional.formatShortDate(s.rangeFrom.date())
                                                   : QString());
        dcEndDate->setText(s.rangeTo.isValid() ? regional.formatShortDate(s.rangeTo.date())
                                               : QString());
        break;
    case DataType::Time:
        txtStartTime->setText(s.rangeFrom.isValid() ? regional.formatMediumTime(s.rangeFrom.time())
                                                    : QString());
        txtEndTime->setText(s.rangeTo.isValid() ? regional.formatMediumTime(s.rangeTo.time())
                                                : QString());
        break;
    case DataType::YesNo:
        for (QRadioButton* option : {optTrue, optFalse})
            option->setAutoExclusive(false);
        optTrue->setChecked(s.critTrue);
        optFalse->setChecked(s.critFalse);
        for (QRadioButton* option : {optTrue, optFalse})
            option->setAutoExclusive(true);
        break;
    }
}

// Taking over typed settings ------------------------------------------------------------------

bool frmRptSpec::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        // Another window coming forward, or a menu opening, does not leave the box.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            commit(static_cast<QWidget*>(watched));
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmRptSpec::commitFocused() {
    QWidget* focused = QApplication::focusWidget();
    for (QWidget* box :
         std::initializer_list<QWidget*>{txtWidth, txtStarting, txtGreater, txtLess, dcStartDate,
                                         dcEndDate, txtStartTime, txtEndTime})
        if (focused == box || (focused && box->isAncestorOf(focused)))
            commit(box);
}

bool frmRptSpec::commit(QWidget* box) {
    FieldSettings* s = current();
    if (!s || !box->isVisible())
        return true;
    const regional::Regional& regional = program_.regional;
    if (box == txtWidth) {
        const std::optional<double> width = regional.toDouble(txtWidth->text());
        // A negative width would make a column that runs backwards.
        if (!width || !std::isfinite(*width) || *width < 0) {
            refuse(txtWidth, tr("You must enter a valid number for the column width"), false);
            return false;
        }
        s->colWidth = float(*width);
        if (*width == 0) {
            s->hideField = true;
            chkHide->setChecked(true);
        }
    } else if (box == txtStarting) {
        s->startsWith = txtStarting->text();
    } else if (box == txtGreater || box == txtLess) {
        const QString text = static_cast<QLineEdit*>(box)->text();
        QString& bound = box == txtGreater ? s->greaterThan : s->lessThan;
        if (text.trimmed().isEmpty()) {
            bound.clear();
        } else if (regional.isNumeric(text)) {
            bound = text;
        } else {
            refuse(box, tr("You must enter a number or leave this selection field blank"));
            return false;
        }
    } else if (box == dcStartDate || box == dcEndDate) {
        const QString text = static_cast<DateField*>(box)->text();
        QDateTime& value = box == dcStartDate ? s->rangeFrom : s->rangeTo;
        const std::optional<QDate> date = regional.toDate(text);
        if (text.trimmed().isEmpty()) {
            value = QDateTime();
        } else if (date && date->year() >= 100 && date->year() <= 9999) {
            value = QDateTime(*date, QTime(0, 0));
        } else {
            refuse(box, tr("You must enter a valid date or leave this selection field blank."));
            return false;
        }
    } else if (box == txtStartTime || box == txtEndTime) {
        const QString text = static_cast<QLineEdit*>(box)->text();
        QDateTime& value = box == txtStartTime ? s->rangeFrom : s->rangeTo;
        const std::optional<QTime> time = timeOfDay(text, regional.locale());
        if (text.trimmed().isEmpty()) {
            value = QDateTime();
        } else if (time) {
            value = QDateTime(TimeDay, *time);
        } else {
            refuse(box, tr("You must enter a valid time or leave this selection field blank."));
            return false;
        }
    }
    return true;
}

void frmRptSpec::refuse(QWidget* box, const QString& message, bool focusBack) {
    problem_ = {box, message, focusBack};
    // After the focus has settled: a message box in the middle of a focus change would upset
    // the widget that is receiving it.
    QMetaObject::invokeMethod(
        this, [this] { showProblem(); }, Qt::QueuedConnection);
}

void frmRptSpec::showProblem() {
    if (!problem_.box)
        return;
    const Problem problem = problem_;
    problem_ = {};
    program_.dialogs().message(problem.message);
    if (problem.focusBack && problem.box && problem.box->isVisible())
        problem.box->setFocus(Qt::OtherFocusReason);
}

// File menu -------------------------------------------------------------------------------------

void frmRptSpec::setCaption() {
    if (layoutFile_.isEmpty()) {
        setWindowTitle(tr("Custom Report"));
        return;
    }
    QString shown = QDir::toNativeSeparators(layoutFile_);
    shown.remove(QStringLiteral(".rpt"));
    setWindowTitle(tr("Custom Report - ") + shown);
}

void frmRptSpec::savePrompt() {
    if (!layoutChanged_)
        return;
    if (program_.dialogs().message(tr("Do you wish to save the current report?"),
                                   tr("Save Current Report"), Buttons::YesNo,
                                   Icon::None) == Answer::Yes)
        save();
}

void frmRptSpec::newLayout() {
    savePrompt();
    ResetLayout();
    layoutFile_.clear();
    layoutChanged_ = false;
    setCaption();
}

void frmRptSpec::openLayout() {
    savePrompt();
    const std::optional<QString> chosen =
        program_.dialogs().openFileName(tr("Open"), tr("Report Files (*.rpt)|*.rpt"), folder_);
    if (!chosen || chosen->isEmpty())
        return;
    readLayoutFile(*chosen);
}

void frmRptSpec::openLayoutFile(const QString& path) {
    savePrompt();
    readLayoutFile(path);
}

void frmRptSpec::readLayoutFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        program_.dialogs().message(tr("The report file '%1' could not be read: %2")
                                       .arg(QDir::toNativeSeparators(path), file.errorString()),
                                   ProgramTitle, Buttons::Ok, Icon::Warning);
        return;
    }
    const QByteArray bytes = file.read(MostLayoutBytes + 1);
    const LayoutRead read =
        bytes.size() > MostLayoutBytes ? LayoutRead{} : readLayout(bytes, catalogue_, useWith_);
    // A file that is not a layout changes nothing: the window keeps what it had, and its file,
    // so that a Save cannot write a half-read layout over somebody else's file.
    if (!read.layout) {
        program_.dialogs().message(invalidLayoutMessage(), invalidLayoutTitle(), Buttons::Ok,
                                   Icon::None);
        return;
    }
    useWith_ = read.layout->useWith;
    ResetLayout();
    applyLayout(*read.layout);
    layoutFile_ = path;
    folder_ = QFileInfo(path).absolutePath();
    layoutChanged_ = false;
    setCaption();
}

void frmRptSpec::save() {
    if (layoutFile_.isEmpty()) {
        saveAs();
        return;
    }
    // Cleared only once written: a failed or cancelled save must still ask before closing.
    if (writeLayoutFile())
        layoutChanged_ = false;
}

bool frmRptSpec::ConfirmReplaceLayout(const QString& path) {
    if (!QFileInfo(path).isFile())
        return true;
    return program_.dialogs().message(
               tr("The report file '%1' already exists.  Do you wish to replace it?").arg(path),
               tr("File Exists"), Buttons::YesNo, Icon::None) == Answer::Yes;
}

void frmRptSpec::saveAs() {
    const std::optional<QString> chosen =
        program_.dialogs().saveFileName(tr("Save As"), tr("Report Files (*.rpt)|*.rpt"), folder_);
    if (!chosen || chosen->isEmpty())
        return;
    QString path = *chosen;
    // Open lists layout files by their extension.
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".rpt");
    if (!mayWriteFile(program_.dialogs(), path, program_.collectionFiles()))
        return;
    if (!ConfirmReplaceLayout(path))
        return;
    const QString previous = layoutFile_;
    layoutFile_ = path;
    if (!writeLayoutFile()) {
        layoutFile_ = previous;
        return;
    }
    folder_ = QFileInfo(path).absolutePath();
    layoutChanged_ = false;
}

bool frmRptSpec::writeLayoutFile() {
    try {
        const QByteArray bytes = writeLayout(layout());
        reports::writeFileWhole(layoutFile_, program_.collectionFiles(), [&](QIODevice& file) {
            if (file.write(bytes) != bytes.size())
                reports::writeFailed(file, layoutFile_);
        });
    } catch (const durable::FileError& e) {
        program_.dialogs().message(
            tr("The report file '%1' could not be written; nothing has been changed.\n%2")
                .arg(QDir::toNativeSeparators(layoutFile_), e.text()),
            ProgramTitle, Buttons::Ok, Icon::Warning);
        return false;
    }
    setCaption();
    return true;
}

void frmRptSpec::closeEvent(QCloseEvent* event) {
    savePrompt();
    event->accept();
}

// Generating ------------------------------------------------------------------------------------

void frmRptSpec::generate() {
    // The value being typed is part of the report; a refused one is said first, and stops it.
    commitFocused();
    if (problem_.box) {
        showProblem();
        return;
    }
    generateReport(program_, reports_, layout(), offered_, layoutFile_, this);
}

namespace {

frmRptSpec* designerOf(const Program& program) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* designer = qobject_cast<frmRptSpec*>(w);
            designer && designer->program() == &program && designer->isVisible())
            return designer;
    return nullptr;
}

} // namespace

bool closeCustomReports(const Program& program) {
    frmRptSpec* designer = designerOf(program);
    return !designer || designer->close();
}

frmRptSpec* showCustomReports(Program& program, reports::FixedReports& reports, QWidget* parent) {
    frmRptSpec* window = designerOf(program);
    if (!window) {
        window = frmRptSpec::create(program, reports, parent);
        if (!window)
            return nullptr;
        window->setAttribute(Qt::WA_DeleteOnClose);
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

} // namespace perlinex::custom
