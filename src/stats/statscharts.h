#pragma once

#include "stats/statstable.h"

#include <QString>
#include <functional>
#include <vector>

class QChart;

// The charts of the Statistics window, made from the rows its tables show. Each chart hands a
// click on one of its bars (or points) to onPick with the index of that row.
namespace perlinex::stats {

using PickRow = std::function<void(int row)>;

// The parts of the collection: stamps and quantities side by side.
QChart* glanceChart(const std::array<ShownPart, 4>& parts, const PickRow& onPick);

// A breakdown's rows as bars of their count or catalogue value: across for the code tables,
// whose long names read best on the left, the largest at the top; upright for the decades.
QChart* breakdownChart(Breakdown breakdown, const std::vector<ShownGroup>& rows, Measure measure,
                       const PickRow& onPick);

// Catalogue value and price paid over the years of purchase, as two lines; the rows of no
// known year are left out of the drawing.
QChart* purchaseChart(const std::vector<ShownGroup>& rows, const PickRow& onPick);

// What a breakdown's bars count, for the chart's title and its value axis.
QString measureTitle(Breakdown breakdown, Measure measure);

} // namespace perlinex::stats
