#pragma once

#include "db/dberror.h"
#include "ui/program.h"

#include <QDialog>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace perlinex {

// The find dialog: the user picks a field of the field catalogue, an operator or value and a
// direction; "&Find" moves the stamps it searches to the match.
//
// The main window creates it once and calls findIn() each time. The buttons only hide the
// dialog, so every choice is still there the next time it is shown.
class frmFind : public QDialog {
    Q_OBJECT
public:
    // Reads the catalogue rows of program.FindUseWith and fills the lists. A catalogue that
    // cannot be read is reported, and the dialog then offers no fields.
    explicit frmFind(Program& program, QWidget* parent = nullptr);
    ~frmFind() override;

    // The criterion the current choices make, or empty when they make none (a failed check,
    // no field, a kind of field that cannot be searched).
    QString criterion() const;
    // The chosen direction: 1 first, 2 previous, 3 next, 4 last.
    int direction() const;
    // Damage the search met in the collection, handed to the main window once the dialog is
    // closed: the repair takes the stamp set the dialog searches away from under it.
    std::optional<db::DbError> takeDamage();

    // What a search ended in: the stamp found, or none when nothing matched.
    struct Found {
        std::optional<std::int64_t> stamp;
    };
    // Shows the dialog modal over stamps (positioned on the stamp shown) and gives what Find
    // found, or nothing when the dialog was closed without a search.
    std::optional<Found> findIn(db::RecordSet& stamps);
    // The stamps searched while the dialog is shown, none searched yet (findIn sets them; tests
    // showing the dialog themselves too).
    void searchIn(db::RecordSet* stamps);
    // True once Find made a search since searchIn.
    bool searched() const { return searched_; }

private:
    // One catalogue row offered in lstField.
    struct FindField {
        std::int64_t specid = 0;
        QString desc;
        QString fieldname;
        QString fileName;
        QString linkfield;
        int datatype = 0;
        bool ismemo = false;
    };

    // The outcome of turning the choices into a criterion: either the criterion, or the
    // message that says why there is none.
    struct Built {
        QString criterion;
        QString message;
        QString title;
        bool focusText = false;
        bool valueCheck = false; // one of the checks of the typed or chosen value failed
    };

    void loadFields();
    std::optional<db::DbError> damage_;
    const FindField* selectedField() const;
    void ShowFieldInput();
    void fillSel(const FindField& field);
    void showInputs(QListWidget* list, bool withText, const QString& operatorCaption);
    Built build() const;
    void findClicked();
    void moveStampsFirst();

    Program& program_;
    db::RecordSet* stamps_ = nullptr;
    bool searched_ = false;
    std::vector<FindField> FindFields;

    QLabel* Label1 = nullptr;
    QLabel* lblOperator = nullptr;
    QLabel* lblToFind = nullptr;
    QListWidget* lstField = nullptr;
    QListWidget* lstNum = nullptr;
    QListWidget* lstText = nullptr;
    QListWidget* lstBool = nullptr;
    QListWidget* lstSel = nullptr;
    QLineEdit* txtToFind = nullptr;
    QRadioButton* optWhere[5] = {}; // 1..4
    QPushButton* cmdFind = nullptr;
    QPushButton* cmdCancel = nullptr;
};

} // namespace perlinex
