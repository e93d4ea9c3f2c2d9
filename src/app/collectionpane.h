#pragma once

#include <QByteArray>
#include <QWidget>
#include <functional>

class QLineEdit;
class QTableView;

namespace perlinex {

namespace regional {
class Regional;
}
namespace browse {
class StampBrowser;
class StampListModel;
} // namespace browse

// The collection list beside the record: the filter box above the list of stamps, both views
// of the browser. Selecting a row makes its stamp current and a move selects its row; a click
// on a heading sorts by that column (again, the other way); both are unavailable while a stamp
// is changed. The columns can be hidden (the heading's context menu) and moved.
class CollectionPane : public QWidget {
    Q_OBJECT
public:
    // run carries out what the user asks under the window's error handling.
    using Runner = std::function<void(const std::function<void()>&)>;

    CollectionPane(browse::StampBrowser& browser, const regional::Regional& regional, Runner run,
                   QWidget* parent = nullptr);
    ~CollectionPane() override;

    QLineEdit* filterBox() const { return filter_; }
    QTableView* view() const { return view_; }
    browse::StampListModel& model() const { return *model_; }

    // Ctrl+F and Ctrl+L: the filter box, its text selected.
    void focusFilter();
    // The columns' order, widths and which are hidden, to remember between runs.
    QByteArray columnState() const;
    void restoreColumnState(const QByteArray& state);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showCurrent();
    void followMode();
    void rowChosen(int row);
    void headingClicked(int column);
    void showSortIndicator();
    void columnMenu(const QPoint& at);

    browse::StampBrowser& browser_;
    Runner run_;
    browse::StampListModel* model_ = nullptr;
    QLineEdit* filter_ = nullptr;
    QTableView* view_ = nullptr;
    bool following_ = false; // selecting the browser's current row, not the user's choice
};

} // namespace perlinex
