#pragma once

#include "host/model/SeriesValues.h"
#include "host/model/Worksheet.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace kelvor {
class Workbook;
}

namespace kelvor {

// What a chart's cached values were taken from: the chart's revision after the refresh and
// the state of every sheet its series refer to. While both stand, the caches are current.
struct ChartCacheStamp {
    struct Source {
        std::string name;
        bool found = false; // a worksheet of that name
        // Of the columns read (Worksheet::columnsRevision): a column added beside them, as
        // the summary's offset sheet gains one per test, leaves them current. No two sheets
        // share a revision, so it tells another sheet under the name too; the offset sheet,
        // set aside and put back under a new id at every export, keeps its own.
        std::uint64_t revision = 0;
        std::uint32_t firstColumn = 0;
        std::uint32_t lastColumn = 0;
        bool operator==(const Source&) const = default;
    };
    std::uint64_t chartRevision = 0;
    std::vector<Source> sources;
};

// What the refresh keeps from one write of a workbook to the next.
struct ChartCacheState {
    // By chart sheet key.
    std::unordered_map<std::uint64_t, ChartCacheStamp> charts;
    // The values of each reference read in the last refresh: a rebuilt chart that plots the
    // same unchanged cells as before takes them from here.
    struct Values {
        std::vector<ChartCacheStamp::Source> sources;
        SeriesValues values;            // shared with the series that show them
        std::string format = "General"; // of the first cell
        bool used = false;
    };
    std::unordered_map<std::string, Values> references;
};

// Brings the cached values of every chart series that refers to cells up to date with the
// cells' current values, so the file shows each curve without a recalculation. Charts whose
// sources did not change since the last refresh are skipped, and a chart is only touched when
// a value really changed, so unchanged chart parts keep their written bytes.
void refreshChartCaches(Workbook& book, ChartCacheState& state);
// The same for the charts among the first `sheets` sheets only.
void refreshChartCaches(Workbook& book, ChartCacheState& state, std::size_t sheets);

// Whether any cell of the areas holds a number.
bool holdsNumber(const Worksheet& sheet, const std::vector<CellRange>& areas);

// The values of an area, row by row, as a chart plots them: numbers as they are, anything
// else a gap (NaN). Whole columns or rows stop at the sheet's last used cell.
std::vector<double> chartValues(const Worksheet& sheet, const CellRange& area);

} // namespace kelvor
