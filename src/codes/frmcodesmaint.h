#pragma once

#include "ui/program.h"

#include <QDialog>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace perlinex {

namespace db {
class DbError;
class RecordSet;
} // namespace db

// The code table window: browse, add, rename, find and delete the entries of one of the nine
// code tables. It is modeless and works on the table it loaded, whatever MaintTable says later.
//
// The main window creates it once and calls showTable(n) for every pick of the Maintain menu;
// closing the window (or "&Ok") releases its record set, and the next showTable opens it again.
class frmCodesMaint : public QDialog {
    Q_OBJECT
public:
    // Loads the table program.MaintTable names (1..9) when it names one; the window is not shown.
    explicit frmCodesMaint(Program& program, QWidget* parent = nullptr);
    ~frmCodesMaint() override;

    // Shows the window on code table maintTable (1..9) and brings it forward. A pending change
    // on another table is offered for saving first; cancelling that keeps the current table.
    void showTable(int maintTable);
    // Raises the main window's reload flag for this window's table; runs on every activation.
    void activate();
    // Another desk changed the entries of a code table: the one shown is read again, on the
    // same entry while it is there, unless an entry is being typed here.
    void followOtherDesks(int maintTable);

    int table() const { return table_; }
    int helpTopic() const { return helpTopic_; }
    bool isEditing() const { return editing_; }
    bool isAdding() const { return adding_; }

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void load(int maintTable);
    void release();
    void bringForward();
    bool step(const std::function<void()>& fn);
    bool deletedElsewhere(const db::DbError& e) const;
    void tellDeletedElsewhere();

    bool hasEntries();
    std::optional<std::int64_t> currentId() const;
    QString idCriterion(std::int64_t id) const;
    void showEntry();
    void clearDesc();
    void setDescEnabled(bool enabled);
    bool checkDescription();
    bool checkDistinct();
    bool storeDescription();
    void setEditSet();
    void setBrowseSet();
    void makeDefault(QPushButton* button);
    void recordChanged();

    void addNewClicked();
    void startAdding();
    void addAnother();
    bool updateEntry();
    void cancelChanges();
    void deleteEntry();
    void findEntry();
    void moveFirst();
    void movePrevious();
    void moveNext();
    void moveLast();
    void okClicked();

    Program& program_;
    int table_ = 0;
    int helpTopic_ = 0;
    std::unique_ptr<db::RecordSet> entries_;
    bool editing_ = false;
    bool adding_ = false;
    bool quiet_ = false; // set while the window itself changes the box's text

    QLabel* lblDesc = nullptr;
    QLineEdit* txtDesc = nullptr;
    QPushButton* cmdFirst = nullptr;
    QPushButton* cmdPrevious = nullptr;
    QPushButton* cmdNext = nullptr;
    QPushButton* cmdLast = nullptr;
    QPushButton* cmdAddNew = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdDelete = nullptr;
    QPushButton* cmdFind = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdUpdate = nullptr;
};

} // namespace perlinex
