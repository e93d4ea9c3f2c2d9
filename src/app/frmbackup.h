#pragma once

#include <QDialog>
#include <QString>

class QLabel;

namespace perlinex {

class Program;

// "Backup": makes a dated copy of the collection and its pictures in a folder the user
// chooses, or puts such a copy back. Shown modally while the collection is closed; errors are
// reported and never end the program.
class frmBackup : public QDialog {
    Q_OBJECT
public:
    explicit frmBackup(Program& program, QWidget* parent = nullptr);

    // The button actions, public so that callers and tests need not go through clicks.
    void makeBackup();
    void restoreBackup();

private:
    // Shows below the explanation how the last operation went.
    void report(const QString& status);
    void fitText();
    void closeStore();

    Program& program_;
    QLabel* status_ = nullptr;
    QString lastFolder_; // where the last backup went or came from: the next dialog starts there
};

} // namespace perlinex
