#pragma once

#include <QDialog>
#include <QPixmap>

namespace perlinex {

// The program's picture: a postage stamp with a perforated edge, drawn rather than loaded so
// that the program carries no image files. Height is 5/4 of the width.
QPixmap stampPicture(int width);

// The program's version, "0.1.0".
QString programVersion();

// "About Perlinex": the program's name, version, what it is and its picture; used modeless.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);
};

// Shows the one about window of the parent, making it when there is none, and brings it
// forward. It deletes itself when closed.
frmAbout* showAbout(QWidget* parent);

} // namespace perlinex
