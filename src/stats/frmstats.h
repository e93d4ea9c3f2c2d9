#pragma once

#include "stats/statistics.h"
#include "stats/statstable.h"
#include "ui/program.h"

#include <QWidget>
#include <array>
#include <functional>
#include <optional>
#include <vector>

class QChartView;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableWidget;

namespace perlinex::stats {

// The Statistics window ("&Reports > Stat&istics..."): a tab for the collection at a glance and
// one for each breakdown, each a chart with a table of its exact figures beside it. A tab's
// figures are computed the first time it is shown, from the collection the program has open
// (or from the stamps of the collection list's filter, which the title then names). Count and
// Value switch what the bars measure. A click on a bar, or Enter or a double click on a row of
// a table, asks for the collection list to show those stamps.
class StatisticsWindow : public QWidget {
    Q_OBJECT
public:
    StatisticsWindow(Program& program, StampFilter filter = {}, QWidget* parent = nullptr);
    ~StatisticsWindow() override;

    const StampFilter& filter() const { return filter_; }
    // Forgets every figure, so that each tab asks the collection again when it is shown; the
    // tab on screen at once.
    void recompute();
    Measure measure() const { return measure_; }
    void setMeasure(Measure measure);

    // The buttons' commands: the chart shown as PNG or SVG, its figures as CSV, through the
    // save dialog.
    void exportChart();
    void exportFigures();

signals:
    // Asks the collection list to show exactly these stamps: a condition over table stamp in
    // the program's dialect, and what they are.
    void showStampsRequested(const QString& condition, const QString& description);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct Page {
        std::optional<Breakdown> breakdown; // none: the glance
        QString name;                       // in objectNames and file names
        QChartView* chart = nullptr;
        QTableWidget* table = nullptr;
        bool computed = false;
        Glance glance;
        std::vector<Group> groups;
        std::vector<ShownGroup> rows;
        FigureTable shown; // as the table shows it
    };

    void build();
    Page& currentPage();
    void showPage(int index);
    bool compute(Page& page);
    void refresh(Page& page);
    void fillTable(Page& page);
    void pickRow(const Page& page, int row);
    void updateMeasureButtons();
    std::optional<QString> chooseFile(const QString& title, const QString& filter,
                                      const QString& defaultName);
    // Asks for the file and writes it; a failure is told, and changes nothing.
    void exportFile(const QString& title, const QString& filter, const QString& defaultName,
                    const std::function<void(const QString& file)>& write);

    Program& program_;
    StampFilter filter_;
    Measure measure_ = Measure::Count;
    QString folder_;
    std::array<Page, 7> pages_;

    QTabWidget* tabStats = nullptr;
    QRadioButton* optCount = nullptr;
    QRadioButton* optValue = nullptr;
    QPushButton* cmdExportChart = nullptr;
    QPushButton* cmdExportFigures = nullptr;
    QPushButton* cmdHelp = nullptr;
    QPushButton* cmdClose = nullptr;
};

// The name of the window's help page.
inline const QString StatisticsHelpPage = QStringLiteral("statistics.html");

// Opens the Statistics window, or brings forward the one already open with its figures taken
// anew (the collection may have changed since).
StatisticsWindow* showStatistics(Program& program, QWidget* parent, StampFilter filter = {});

} // namespace perlinex::stats
