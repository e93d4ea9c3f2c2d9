#pragma once

#include <QDialog>
#include <QIcon>
#include <QPixmap>

namespace perlinex {

// The about window's picture: a postage stamp with a perforated edge, drawn in the colours of
// the program's icon. Height is 5/4 of the width.
QPixmap stampPicture(int width);

// The program's icon, which every window shows: the SVG that is also installed in the icon
// theme, so the window and the menu entry look alike. It needs Qt's SVG plugins.
QIcon programIcon();

// The program's version as the build sets it from the project's version, "0.1.0".
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
