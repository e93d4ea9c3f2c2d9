#pragma once

#include "ui/program.h"

#include <QMainWindow>
#include <array>
#include <memory>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace perlinex {

class DateField;
class frmCodesMaint;
class frmFind;

// The main window: one stamp at a time on four tabs, the modes of browsing, editing and
// adding, navigation in three sort orders, and every menu of the program. Its controls are
// the working copy of the current record.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMain(Program& program, QWidget* parent = nullptr);
    ~frmMain() override;

    // Start-up: opens the collection and shows its first record.
    void load();
    // Closes the stamp set and the collection (the window stays, hidden or not).
    void unload();
    // Refills the code lists whose reload flag is raised; runs on every activation.
    void activate();

    void ShowStamp();
    void StoreStamp();
    void ClearStamp();
    void DisableFields();
    void EnableFields();
    void SetEditMode();
    void SetBrowseMode();
    void RecordChanged();
    bool ValidateStamp();

    bool isEditing() const { return Editing; }
    bool isAdding() const { return Adding; }

    // Menu and button actions, public so that tests and menus share them.
    void moveFirst();
    void movePrevious();
    void moveNext();
    void moveLast();
    void addNew();
    void update();
    void cancel();
    void deleteStamp();
    void find();
    void sortBy(int order);
    void maintain(int maintTable);
    void packDatabase();
    void backup();
    void exitProgram();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct CodeList {
        QComboBox* combo;
        int maintTable;
        const char* field; // reference field of stamp
    };

    void buildControls();
    void buildMenus();
    void connectFieldEvents();
    QWidget* buildGeneralTab();
    QWidget* buildPricesTab();
    QWidget* buildNotesTab();
    QWidget* buildImageTab();

    void fillCodeList(const CodeList& list);
    void selectCode(QComboBox* combo, const db::Value& id);
    QList<QWidget*> recordControls() const;
    bool hasRows() const;
    void showOrClear();
    void findStamp(std::int64_t id);

    // Checks made when the user leaves a field; false when the field was refused.
    bool leaveMoney(QLineEdit* price, QLineEdit* total);
    void showTotal(QLineEdit* total, Currency unitPrice, std::int32_t quantity);
    bool leaveQuantity();
    bool leaveFace();
    bool leaveYear();
    void refuse(QWidget* field, const QString& text, const QString& title, Icon icon);
    void setWantListCaption();

    Program& program_;
    bool Editing = false;
    bool Adding = false;
    bool PictureChanged = false;
    bool checking_ = false; // a leave check is showing its message
    int sortOrder_ = 1;

    QLineEdit* txtDescr = nullptr;
    QLineEdit* txtCatNum = nullptr;
    QLineEdit* txtFace = nullptr;
    QLineEdit* txtYear = nullptr;
    QLineEdit* txtQuantity = nullptr;
    QCheckBox* chkUsed = nullptr;
    QCheckBox* chkWantList = nullptr;
    QTabWidget* SSTab1 = nullptr;
    QComboBox* cmbCou = nullptr;
    QComboBox* cmbType = nullptr;
    QComboBox* cmbForm = nullptr;
    QComboBox* cmbPap = nullptr;
    QComboBox* cmbCan = nullptr;
    QComboBox* cmbPerf = nullptr;
    QComboBox* cmbTop = nullptr;
    QComboBox* cmbGum = nullptr;
    QComboBox* cmbCon = nullptr;
    QLineEdit* txtColor = nullptr;
    QLineEdit* txtWatermark = nullptr;
    QLineEdit* txtErrors = nullptr;
    DateField* dcIssued = nullptr;
    QLabel* lblPrice = nullptr;
    QLineEdit* txtPricePaid = nullptr;
    QLineEdit* txtTotalPaid = nullptr;
    QLineEdit* txtCatValue = nullptr;
    QLineEdit* txtTotalVal = nullptr;
    QLineEdit* txtPriceAsk = nullptr;
    QLineEdit* txtTotalSales = nullptr;
    QCheckBox* chkForSale = nullptr;
    QCheckBox* chkSold = nullptr;
    DateField* dcPurchased = nullptr;
    DateField* dcDateSold = nullptr;
    QPlainTextEdit* txtNotes = nullptr;
    QLineEdit* txtMisc1 = nullptr;
    QLineEdit* txtMisc2 = nullptr;
    QLabel* Image1 = nullptr;
    QPushButton* cmdPicLoad = nullptr;
    QPushButton* cmdPicPaste = nullptr;
    QPushButton* cmdPicCopy = nullptr;

    QPushButton* cmdFirst = nullptr;
    QPushButton* cmdPrevious = nullptr;
    QPushButton* cmdNext = nullptr;
    QPushButton* cmdLast = nullptr;
    QPushButton* cmdAddNew = nullptr;
    QPushButton* cmdDelete = nullptr;
    QPushButton* cmdFind = nullptr;
    QPushButton* cmdHelp = nullptr;
    QPushButton* cmdUpdate = nullptr;
    QPushButton* cmdCancel = nullptr;

    QAction* mnuExit = nullptr;
    std::array<QAction*, 4> mnuSort{};   // 1..3
    std::array<QAction*, 10> mnuMaint{}; // 1..9
    std::array<QAction*, 4> mnuRptOut{}; // 1..3

    std::vector<CodeList> codeLists_;
    frmCodesMaint* codesWindow_ = nullptr;
    frmFind* findDialog_ = nullptr;
};

} // namespace perlinex
