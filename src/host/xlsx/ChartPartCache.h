#pragma once

#include "host/model/Chart.h"
#include "host/xlsx/ZipArchive.h"

#include <cstdint>
#include <string>
#include <unordered_map>

namespace kelvor {

// Compresses chart parts series by series and keeps each series' compressed XML from one
// write to the next. A chart that is made anew on every export (the summary plot) holds the
// same series as before plus one: only the new series is compressed, the rest is joined from
// the pieces kept. Pieces not used by a write are dropped after it.
class ChartPartCache {
public:
    CompressedPart compress(std::string name, const Chart& chart);
    // Drops the pieces the writes since the last call did not use.
    void endWrite();

private:
    struct Piece {
        ChartSeries series;
        std::size_t index;
        int chartType;
        SharedFragment fragment;
        bool used;
    };

    SharedFragment seriesFragment(const ChartSeries& series, std::size_t index, int chartType);

    std::unordered_multimap<std::uint64_t, Piece> pieces_;
};

} // namespace kelvor
