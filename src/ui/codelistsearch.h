#pragma once

#include <QList>
#include <QObject>
#include <QStringList>

class QComboBox;
class QFrame;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QListWidget;

namespace perlinex {

// Type-to-find for a pick-only list of code entries (a combo box the user cannot type free
// text into). What is typed, spaces included, narrows a list of the entries that start with it,
// then those that contain it, without regard to case and accents; the list opens under the box
// with the first match highlighted. Return or Tab takes the highlighted entry (Tab then moves
// on, as it would have); Escape, or a click elsewhere, leaves the value as it was. Nothing is
// taken that the user did not take: "Mauri" stores neither Mauritania nor Mauritius.
//
// A pick emits the box's activated() signal, as a pick from its own list does.
class CodeListSearch : public QObject {
    Q_OBJECT
public:
    static CodeListSearch* attach(QComboBox* box);

    // The rows of the entries that match what is typed: those that start with it, then those
    // that contain it, each in the entries' order.
    static QList<int> matches(const QStringList& entries, const QString& typed);

    bool isOpen() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit CodeListSearch(QComboBox* box);

    void open(const QString& typed);
    void refill();
    void place();
    bool searchKey(QKeyEvent* key);
    void take(int moveFocus);
    void close();

    QComboBox* box_;
    QFrame* popup_;
    QLineEdit* typed_;
    QListWidget* found_;
    QLabel* none_;
};

} // namespace perlinex
