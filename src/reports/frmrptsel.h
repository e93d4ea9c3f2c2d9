#pragma once

#include "ui/program.h"

#include <QDialog>
#include <cstdint>
#include <optional>

class QListWidget;
class QPushButton;
class QRadioButton;

namespace perlinex::reports {

// The selection dialog of the category reports: every entry of the category, or one chosen
// from its list. choose() shows it modal and gives the entry (-1 for all of them), or nothing
// when the user cancelled.
class frmRptSel : public QDialog {
    Q_OBJECT
public:
    // Takes the captions of the category (a code table number: 3, 4, 8 or 9) and fills the
    // list with the category's entries in description order.
    frmRptSel(Program& program, int category, QWidget* parent = nullptr);

    std::optional<std::int32_t> choose();

private:
    void loadEntries(int category);
    void allChosen();
    void okClicked();

    Program& program_;
    std::optional<std::int32_t> chosen_;
    QWidget* VideoSoftElastic1 = nullptr;
    QRadioButton* optAll = nullptr;
    QRadioButton* optSelected = nullptr;
    QListWidget* List1 = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;
};

} // namespace perlinex::reports
