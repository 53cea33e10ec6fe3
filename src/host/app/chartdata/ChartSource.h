#pragma once

#include "host/model/Chart.h"
#include "host/model/Worksheet.h"

#include <optional>
#include <string>
#include <vector>

namespace kelvor {

// The series a chart takes from a block of cells, plotted by columns (each column one
// series) or by rows. With more than one column (row) the first gives the X values of all
// series. When the first row (column) holds text, it names the series and the data start
// behind it. Values are references to the cells; their cached values are left empty.
std::vector<ChartSeries> seriesFromSource(const Worksheet& sheet, const CellRange& area,
                                          bool byColumns);

// The one series a new chart makes from the selection of the sheet that was active: all the
// selection's cells as its values. Nothing when no cell of the selection holds a number.
std::optional<ChartSeries> defaultSeries(const Worksheet& sheet,
                                         const std::vector<CellRange>& selection);

} // namespace kelvor
