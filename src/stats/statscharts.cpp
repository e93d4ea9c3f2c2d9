#include "stats/statscharts.h"
#include "util/translation.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QHorizontalBarSeries>
#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace perlinex::stats {

namespace {

// Money as a bar's length; a sum too large to add up draws nothing.
double drawn(const MoneySum& sum) {
    return sum.tooLarge ? 0.0 : sum.amount.toDouble();
}

QChart* newChart(const QString& title) {
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->setAlignment(Qt::AlignBottom);
    return chart;
}

// Bars of one or more sets over categories, with their axes; a click on a bar picks its
// category's index.
void addBars(QChart* chart, QAbstractBarSeries* series, const QStringList& categories, bool across,
             const PickRow& onPick) {
    chart->addSeries(series);
    auto* categoryAxis = new QBarCategoryAxis;
    categoryAxis->append(categories);
    categoryAxis->setTruncateLabels(false); // a country's name is what the bar is about
    if (!across && categories.size() > 8)
        categoryAxis->setLabelsAngle(-90); // the decades side by side would overlap
    auto* valueAxis = new QValueAxis;
    valueAxis->setLabelFormat(QStringLiteral("%.0f"));
    chart->addAxis(categoryAxis, across ? Qt::AlignLeft : Qt::AlignBottom);
    chart->addAxis(valueAxis, across ? Qt::AlignBottom : Qt::AlignLeft);
    series->attachAxis(categoryAxis);
    series->attachAxis(valueAxis);
    valueAxis->setMin(0);
    valueAxis->applyNiceNumbers();
    for (QBarSet* set : series->barSets())
        QObject::connect(set, &QBarSet::clicked, chart, [onPick](int index) { onPick(index); });
}

} // namespace

QString measureTitle(Breakdown breakdown, Measure measure) {
    switch (breakdown) {
    case Breakdown::Country:
        return measure == Measure::Count ? translate("Statistics", "Stamps by country")
                                         : translate("Statistics", "Catalogue value by country");
    case Breakdown::Topic:
        return measure == Measure::Count ? translate("Statistics", "Stamps by topic")
                                         : translate("Statistics", "Catalogue value by topic");
    case Breakdown::Condition:
        return measure == Measure::Count ? translate("Statistics", "Stamps by condition")
                                         : translate("Statistics", "Catalogue value by condition");
    case Breakdown::Type:
        return measure == Measure::Count ? translate("Statistics", "Stamps by type")
                                         : translate("Statistics", "Catalogue value by type");
    case Breakdown::Decade:
        return measure == Measure::Count
                   ? translate("Statistics", "Stamps by decade of issue")
                   : translate("Statistics", "Catalogue value by decade of issue");
    case Breakdown::PurchaseYear:
        return translate("Statistics", "Catalogue value against price paid by year of purchase");
    }
    return QString();
}

QChart* glanceChart(const std::array<ShownPart, 4>& parts, const PickRow& onPick) {
    QChart* chart = newChart(translate("Statistics", "The collection at a glance"));
    auto* stamps = new QBarSet(translate("Statistics", "Stamps"));
    auto* quantity = new QBarSet(translate("Statistics", "Quantity"));
    QStringList categories;
    for (const ShownPart& p : parts) {
        categories << p.label;
        stamps->append(double(p.figures->stamps));
        quantity->append(double(p.figures->quantity));
    }
    auto* series = new QBarSeries;
    series->append(stamps);
    series->append(quantity);
    addBars(chart, series, categories, false, onPick);
    return chart;
}

QChart* breakdownChart(Breakdown breakdown, const std::vector<ShownGroup>& rows, Measure measure,
                       const PickRow& onPick) {
    QChart* chart = newChart(measureTitle(breakdown, measure));
    auto* set = new QBarSet(measure == Measure::Count ? translate("Statistics", "Stamps")
                                                      : translate("Statistics", "Catalogue value"));
    const auto length = [measure](const ShownGroup& r) {
        return measure == Measure::Count ? double(r.figures.stamps) : drawn(r.figures.value);
    };
    QStringList categories;
    const bool across = breakdown != Breakdown::Decade;
    const int n = int(rows.size());
    QAbstractBarSeries* series = nullptr;
    if (across) {
        // The first category is drawn at the bottom: the rows go in from the last.
        for (int i = n - 1; i >= 0; --i) {
            categories << rows[std::size_t(i)].label;
            set->append(length(rows[std::size_t(i)]));
        }
        series = new QHorizontalBarSeries;
    } else {
        for (const ShownGroup& r : rows) {
            categories << r.label;
            set->append(length(r));
        }
        series = new QBarSeries;
    }
    series->append(set);
    chart->legend()->hide();
    addBars(chart, series, categories, across,
            [onPick, across, n](int index) { onPick(across ? n - 1 - index : index); });
    return chart;
}

QChart* purchaseChart(const std::vector<ShownGroup>& rows, const PickRow& onPick) {
    QChart* chart = newChart(measureTitle(Breakdown::PurchaseYear, Measure::Value));
    auto* value = new QLineSeries;
    value->setName(translate("Statistics", "Catalogue value"));
    auto* paid = new QLineSeries;
    paid->setName(translate("Statistics", "Price paid"));
    std::vector<std::pair<double, int>> years; // year, row
    for (int i = 0; i < int(rows.size()); ++i) {
        const ShownGroup& r = rows[std::size_t(i)];
        if (!r.key)
            continue;
        value->append(double(*r.key), drawn(r.figures.value));
        paid->append(double(*r.key), drawn(r.figures.paid));
        years.emplace_back(double(*r.key), i);
    }
    chart->addSeries(value);
    chart->addSeries(paid);
    auto* yearAxis = new QValueAxis;
    yearAxis->setLabelFormat(QStringLiteral("%.0f"));
    yearAxis->setTitleText(translate("Statistics", "Year of purchase"));
    auto* moneyAxis = new QValueAxis;
    moneyAxis->setLabelFormat(QStringLiteral("%.0f"));
    chart->addAxis(yearAxis, Qt::AlignBottom);
    chart->addAxis(moneyAxis, Qt::AlignLeft);
    for (QLineSeries* s : {value, paid}) {
        s->setPointsVisible(true);
        s->attachAxis(yearAxis);
        s->attachAxis(moneyAxis);
        // A click near a point picks the year nearest to it.
        QObject::connect(s, &QLineSeries::clicked, chart, [years, onPick](const QPointF& p) {
            const std::pair<double, int>* nearest = nullptr;
            for (const auto& y : years)
                if (!nearest || std::abs(y.first - p.x()) < std::abs(nearest->first - p.x()))
                    nearest = &y;
            if (nearest)
                onPick(nearest->second);
        });
    }
    if (!years.empty()) {
        const double first = years.front().first;
        const double last = std::max(years.back().first, first + 1);
        yearAxis->setRange(first, last);
        // Ticks on round years: every year over a few, then every five or ten.
        const double span = last - first;
        const double step = span <= 8 ? 1 : span <= 40 ? 5 : 10;
        yearAxis->setTickType(QValueAxis::TicksDynamic);
        yearAxis->setTickAnchor(std::ceil(first / step) * step);
        yearAxis->setTickInterval(step);
    }
    moneyAxis->setMin(0);
    moneyAxis->applyNiceNumbers();
    return chart;
}

} // namespace perlinex::stats
