#pragma once

#include "custom/fieldcatalogue.h"
#include "custom/layout.h"
#include "ui/program.h"

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace perlinex::reports {
class FixedReports;
}

namespace perlinex::custom {

class CriteriaDateField;

// The custom report designer "Custom Report": the user picks catalogue fields into an ordered
// report list, sets each field's width, hiding, total and criteria, chooses title, sorting,
// page layout and target, keeps layouts in .rpt files, and generates the report.
//
// It stands beside the main window (not modal) and is deleted when closed, after asking
// whether to save a changed layout. A field's setting typed into a box is taken over when the
// box loses the focus; check boxes and options take effect when clicked.
class frmRptSpec : public QMainWindow {
    Q_OBJECT
public:
    // Reads the field catalogue of the program's folder; nullptr, after telling the user why,
    // when it cannot be read.
    static frmRptSpec* create(Program& program, reports::FixedReports& reports,
                              QWidget* parent = nullptr,
                              const QString& useWith = QStringLiteral("stamp"));
    frmRptSpec(Program& program, reports::FixedReports& reports, FieldCatalogue catalogue,
               QWidget* parent = nullptr, const QString& useWith = QStringLiteral("stamp"));
    ~frmRptSpec() override;

    // The layout as the window holds it: its controls and every field's settings.
    Layout layout() const;
    const FieldCatalogue& offeredFields() const { return offered_; }
    const FieldSettings& settings(int specid) const { return layout_.setting(specid); }
    QString layoutFile() const { return layoutFile_; }
    bool isLayoutChanged() const { return layoutChanged_; }
    int currentSpecId() const { return currentSpecId_; }
    const Program* program() const { return &program_; }

    // The File menu's commands and "Generate Report".
    void newLayout();
    void openLayout();
    // Opens the layout in the file, as Open does with the file chosen (a layout file named on
    // the command line).
    void openLayoutFile(const QString& path);
    void save();
    void saveAs();
    void generate();

    // Loads the catalogue's fields for the main table and puts the layout in its default state.
    void ResetLayout();
    // Shows the selected report field's settings in the details frame.
    void ShowFieldDetails();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Problem {
        QPointer<QWidget> box;
        QString message;
        bool focusBack = true;
    };

    void buildControls();
    QWidget* buildFieldsPage();
    QWidget* buildOptionsPage();
    QWidget* buildSortingPage();
    void buildMenu();
    void connectControls();
    void orderTabs();

    void markChanged() { layoutChanged_ = true; }
    void savePrompt();
    void readLayoutFile(const QString& path);
    bool writeLayoutFile();
    bool ConfirmReplaceLayout(const QString& path);
    void applyLayout(const Layout& layout);
    void showTargetFrames();
    void setCaption();

    void add();
    void remove();
    void move(int step);
    void insertAvailable(int specid, const QString& caption);
    int selectedReportRow() const;

    // Takes over the value of a box that is losing the focus; false when it was refused.
    bool commit(QWidget* box);
    void refuse(QWidget* box, const QString& message, bool focusBack = true);
    void showProblem();
    void commitFocused();
    FieldSettings* current();

    Program& program_;
    reports::FixedReports& reports_;
    FieldCatalogue catalogue_; // every row of the catalogue
    FieldCatalogue offered_;   // the rows offered for useWith_
    QString useWith_;
    Layout layout_; // the fields' settings; the rest lives in the controls
    QString layoutFile_;
    QString folder_; // where the file dialogs open
    bool layoutChanged_ = false;
    int currentSpecId_ = 0;
    int currentDataType_ = 0;
    bool filling_ = false; // the lists are being changed by the program, not the user
    Problem problem_;

    QMenu* mnuFileMenu = nullptr;
    QTabWidget* Tab1 = nullptr;
    QListWidget* List1 = nullptr;
    QListWidget* List2 = nullptr;
    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdRemove = nullptr;
    QPushButton* cmdUp = nullptr;
    QPushButton* cmdDown = nullptr;
    QGroupBox* frame1 = nullptr;
    QLineEdit* txtWidth = nullptr;
    QCheckBox* chkHide = nullptr;
    std::array<QGroupBox*, 6> fraSel{}; // 1..5, by data type
    QLineEdit* txtStarting = nullptr;
    QLineEdit* txtGreater = nullptr;
    QLineEdit* txtLess = nullptr;
    QCheckBox* chkTotal = nullptr;
    CriteriaDateField* dcStartDate = nullptr;
    CriteriaDateField* dcEndDate = nullptr;
    QRadioButton* optTrue = nullptr;
    QRadioButton* optFalse = nullptr;
    QLineEdit* txtStartTime = nullptr;
    QLineEdit* txtEndTime = nullptr;

    QLineEdit* txtTitle = nullptr;
    std::array<QRadioButton*, 4> optReportTo{}; // 1..3
    QGroupBox* fraOrient = nullptr;
    std::array<QRadioButton*, 2> optOrient{};
    QGroupBox* fraFormat = nullptr;
    std::array<QRadioButton*, 2> optWidth{};
    QComboBox* cmbPageNum = nullptr;
    QCheckBox* chkDate = nullptr;

    QComboBox* cmbSort1 = nullptr;
    QComboBox* cmbSort2 = nullptr;

    QPushButton* cmdGenerate = nullptr;
    QPushButton* cmdCancel = nullptr;
};

// "Custom &Reports" of the main window: shows the one designer window, making it first when
// there is none (nullptr when the field catalogue cannot be read; the user has been told).
frmRptSpec* showCustomReports(Program& program, reports::FixedReports& reports, QWidget* parent);

// Closes the program's designer window, if one is open, after its save prompt; for the main
// window as it closes, since a window closed with its parent is not asked. False when the
// user chose to keep the designer open (Cancel at the prompt).
bool closeCustomReports(const Program& program);

} // namespace perlinex::custom
