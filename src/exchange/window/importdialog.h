#pragma once

#include "db/dberror.h"
#include "exchange/importsession.h"
#include "ui/program.h"

#include <QDialog>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace perlinex::exchange {

// The import dialog ("&File > &Import..."): the file, how it is read (delimiter, encoding,
// decimal separator) as found and changeable, the field each column fills, the first stamps
// exactly as they will be stored, the refused lines and the new classifications. Import stores
// it all in one step, with a progress window and Cancel. What it shows is worked out by an
// ImportSession; the dialog only shows it and hands on the user's choices.
class ImportDialog : public QDialog {
    Q_OBJECT
public:
    ImportDialog(Program& program, PictureConverter convert, QWidget* parent = nullptr);
    ~ImportDialog() override;

    // Asks for a file through the open dialog, and opens it. False when none was opened.
    bool chooseFile();
    // Opens a file; false, after telling why, when it cannot be imported.
    bool openFile(const QString& path);

    // What was stored, once the dialog is accepted.
    const std::optional<ImportOutcome>& outcome() const { return outcome_; }
    // Damage to the collection met on the way: the dialog was closed, and the caller hands it
    // to the error handler.
    std::optional<db::DbError> takeDamage();
    // Called on each report of the storing's progress, before it goes on.
    void watchProgress(std::function<void(std::int64_t done, std::int64_t total)> watch);

    // The Import button: the last questions, then the store.
    void importStamps();

    // What the main window says once the stamps are in.
    static QString summary(const ImportOutcome& outcome);

private:
    void build();
    QComboBox* formatCombo(const char* name);
    // Runs a change of the session; a failure is told and the dialog shows what holds.
    bool rework(const std::function<void()>& change);
    void showSession();
    void showFormat();
    void showColumns();
    void showPreview();
    void showProblems();
    void showNewCodes();
    void delimiterChosen(int index);
    void encodingChosen(int index);
    void decimalChosen(int index);
    void columnChosen(int column, int index);
    bool confirmChoices(ImportChoices& choices);
    ImportOutcome storeWithProgress(const ImportChoices& choices);

    Program& program_;
    PictureConverter convert_;
    std::unique_ptr<ImportSession> session_;
    std::optional<ImportOutcome> outcome_;
    std::optional<db::DbError> damage_;
    std::function<void(std::int64_t, std::int64_t)> watch_;
    // The targets each column's list offers, in its order.
    std::vector<ColumnRole> targets_;

    QLineEdit* txtFile = nullptr;
    QLabel* lblSource = nullptr;
    QComboBox* cboDelimiter = nullptr;
    QComboBox* cboEncoding = nullptr;
    QComboBox* cboDecimal = nullptr;
    QWidget* columnsPane = nullptr;
    QGridLayout* columnsGrid = nullptr;
    QLabel* lblColumns = nullptr;
    QTableWidget* grdPreview = nullptr;
    QLabel* lblSummary = nullptr;
    QTableWidget* grdProblems = nullptr;
    QCheckBox* chkGoodLinesOnly = nullptr;
    QListWidget* lstNewCodes = nullptr;
    QPushButton* cmdImport = nullptr;
};

} // namespace perlinex::exchange
