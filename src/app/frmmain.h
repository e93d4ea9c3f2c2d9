#pragma once

#include "app/stamppictures.h"
#include "browse/stampbrowser.h"
#include "record/stampentry.h"
#include "record/stampvalidator.h"
#include "ui/program.h"

#include <QHash>
#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QSplitter;
class QTabWidget;

namespace perlinex {

class CollectionPane;
class DateField;
class Thumbnails;
class PictureView;
class frmCodesMaint;
class SharedFollower;
class frmFind;
namespace reports {
class FixedReports;
}

// The main window: one stamp at a time on four tabs and every menu of the program. The
// browsing model (the order, the current stamp, the modes, the moves, storing) is the
// browser's; the record form is a view of it, its controls the working copy of the shown
// stamp, their checks and conversions the record validator's.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMain(Program& program, QWidget* parent = nullptr);
    ~frmMain() override;

    // Start-up: opens the collection and shows its first record.
    void load();
    // Closes the stamp set and the collection (the window stays).
    void unload();
    // Refills the code lists whose reload flag is raised; runs on every activation.
    void activate();
    // After a damaged collection was repaired and opened again: opens the stamp set anew and
    // shows a record. A record being typed stays on screen to be stored again.
    void reopenStampSet();

    // Shows the current record's picture on the "Image" tab.
    void ShowStampPicture();
    void RecordChanged();

    browse::StampBrowser& browser() { return browser_; }
    CollectionPane& collectionList() const { return *pane_; }
    // "Collection &List" of the View menu: the list beside the record, or not.
    void showList(bool shown);
    bool isEditing() const { return browser_.mode() == browse::StampBrowser::Mode::Editing; }
    bool isAdding() const { return browser_.mode() == browse::StampBrowser::Mode::Adding; }

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
    // "Custom &Reports": the designer, on the layout in layoutFile when one is named.
    void customReports(const QString& layoutFile = QString());
    void maintain(int maintTable);
    void loadPicture();
    void pastePicture();
    void copyPicture();
    void packDatabase();
    void backup();
    // "&Export CSV..." of the stamps shown, in their order; "&Import..." of a CSV or Tellico file.
    void exportCsv();
    void backupShared();
    void importStamps();
    void exitProgram();
    // "Stat&istics...": over the listed stamps; a click on a bar lists that bar's stamps.
    void statistics();
    // "&New Collection...", "&Open Collection..." and "Open &Recent" (frmmain_open.cpp).
    void newCollection();
    void openCollection();
    // Closes the collection shown and opens the one in folder with the start-up checks; a
    // folder without one is offered a new one when ask is set. Back to the one shown when the
    // other cannot be opened. False when nothing changed.
    bool openFolder(const QString& folder, bool ask);
    // "Open &Shared Collection...": asks for the address (SERVER[#COLLECTION]) and opens it.
    void openSharedCollection();
    // Closes the collection shown and opens the shared one; back to the one shown when it
    // cannot be opened. False when nothing changed.
    bool openShared(const QString& address);

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The field events of eventFilter; true when the event was eaten.
    bool filterFieldEvent(const db::StampField& field, QObject* watched, QEvent* event);

private:
    struct FieldControl {
        const db::StampField* field;
        QWidget* widget;
    };

    // Layout (frmmain_layout.cpp).
    void buildControls();
    void buildMenus();
    void connectFieldEvents();
    QWidget* makeControl(const db::StampField& field);
    QWidget* buildPage(const char* const (*rows)[2], int rowCount);
    QWidget* buildNotesTab();
    QWidget* buildImageTab();
    void addCell(QGridLayout* grid, int row, int column, const char* fields);
    void setTabChain();
    void buildKeys();
    void buildList(QWidget* record);
    void showPosition();
    void fillRecent();
    void listStamps(const QString& condition, const QString& description);
    void openRecent(const QString& folder);
    bool takeFolder(const QString& folder, bool ask);
    bool takeShared(const QString& address);
    // Closes the collection shown and opens the one take takes, or the one shown again.
    bool switchCollection(const std::function<bool()>& take);
    // Starts following other desks' stores on a shared collection.
    void followOtherDesks();
    void turnPage(int step);

    // Field entry (frmmain_entry.cpp).
    QWidget* control(const QString& field) const;
    const db::StampField* fieldOf(const QObject* widget) const;
    record::StampEntry readEntry() const;
    std::optional<std::int64_t> pickedCode(const QComboBox* combo, const QString& field) const;
    void writeEntry(const record::StampEntry& entry);
    bool leaveField(const db::StampField& field);
    bool leaveFocusedField();
    void refuse(const record::Refusal& refusal);
    void setWantListCaption();
    QString showLong(const db::StampField& field, QLineEdit* box, const QString& text);
    QString shownWhole(const QString& field, const QString& typed) const;
    bool changesValue(const QKeyEvent* key) const;
    bool movesOnByEnter(const db::StampField& field, const QKeyEvent* key) const;

    void fillCodeList(QComboBox* combo, const db::CodeTable& table);
    void selectCode(QComboBox* combo, std::optional<std::int64_t> id);
    // The browser's views (frmmain.cpp).
    void ShowStamp();
    void ClearStamp();
    void DisableFields();
    void EnableFields();
    void SetEditMode();
    void SetBrowseMode();
    void showCurrent();
    void followMode();
    void showOrder();
    bool changing() const { return browser_.isChanging(); }
    bool hasRows() const { return browser_.rowCount() > 0; }
    void openBrowser();
    bool storeTyped(browse::StampBrowser::AfterStore after);
    bool refuseWhileEditing(const QString& title);
    QString deleteQuestion() const;
    // Runs a user's action; damage met on the way repairs the collection and the window
    // opens its record set again rather than going on with the old one.
    void guard(const std::function<void()>& action);
    // The check of the file's structure beside the window, once its first record is painted;
    // damage it reports is confirmed on the collection's own connection, then repaired.
    void checkStructure();
    void confirmDamage();
    void closeOtherWindows();
    // After an import: the code lists refilled and the first stamp that came in shown.
    void showImported(std::int64_t firstId);
    void updateTitle();
    void restorePlace();
    void keepPlace() const;
    void keepUnchanged();
    void showWhetherEmpty();

    static constexpr int ImageTab = 3;

    Program& program_;
    record::StampValidator validator_;
    StampPictures pictures_;
    browse::StampBrowser browser_;
    // Where the browser was when the collection closed under it (a repair): a record being
    // typed then stays on screen to be stored again.
    struct Held {
        browse::StampBrowser::Mode mode;
        std::optional<std::int64_t> id;
    };
    std::optional<Held> held_;
    bool showing_ = false; // the controls are being filled, not typed into
    bool PictureChanged = false;
    bool checking_ = false; // a leave check is showing its message
    bool painted_ = false;
    bool checkPending_ = false; // load() asked for the structure check, not yet started

    std::vector<FieldControl> fields_;
    // Values longer than their field, by field: as shown (cut) and as stored.
    QHash<QString, std::pair<QString, QString>> longValues_;
    std::vector<QComboBox*> codeLists_;

    QLineEdit* txtDescr = nullptr;
    QLineEdit* txtQuantity = nullptr;
    QCheckBox* chkWantList = nullptr;
    QCheckBox* chkForSale = nullptr;
    QCheckBox* chkSold = nullptr;
    QTabWidget* SSTab1 = nullptr;
    QLabel* lblPrice = nullptr;
    QLabel* lblEmpty = nullptr;
    PictureView* Image1 = nullptr;
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

    CollectionPane* pane_ = nullptr;
    QSplitter* splList = nullptr;
    QLabel* lblPosition = nullptr;
    Thumbnails* thumbnails_ = nullptr;
    // On a shared collection: what other desks store, shown as it comes.
    std::unique_ptr<SharedFollower> follower_;
    QAction* mnuViewList = nullptr;
    QMenu* mnuRecent = nullptr;
    QAction* mnuExit = nullptr;
    QAction* mnuPack = nullptr;
    QAction* mnuImport = nullptr;
    std::array<QAction*, 4> mnuSort{};   // 1..3
    std::array<QAction*, 10> mnuMaint{}; // 1..9
    std::array<QAction*, 4> mnuRptOut{}; // 1..3

    std::unique_ptr<reports::FixedReports> reports_;
    frmCodesMaint* codesWindow_ = nullptr;
    frmFind* findDialog_ = nullptr;
};

} // namespace perlinex
