#include "printing/SheetPages.h"

#include <algorithm>
#include <charconv>

namespace kelvor {

namespace {

// "$15" or "15" from `at` on; moves `at` past it.
std::optional<int> rowNumber(const std::string& text, std::size_t& at) {
    if (at < text.size() && text[at] == '$') {
        ++at;
    }
    int row = 0;
    const auto [end, error] = std::from_chars(text.data() + at, text.data() + text.size(), row);
    if (error != std::errc() || row < 1) {
        return std::nullopt;
    }
    at = static_cast<std::size_t>(end - text.data());
    return row;
}

// Where each band begins: items fill a band until the next one would not fit.
// `reserve(start)` is the room taken from the band that begins at `start`.
template <class Reserve>
std::vector<int> bandStarts(const std::vector<double>& sizes, double room, Reserve reserve) {
    std::vector<int> starts;
    const int count = static_cast<int>(sizes.size());
    int at = 1;
    while (at <= count) {
        starts.push_back(at);
        const double free = room - reserve(at);
        double used = sizes[static_cast<std::size_t>(at - 1)];
        ++at;
        while (at <= count && used + sizes[static_cast<std::size_t>(at - 1)] <= free) {
            used += sizes[static_cast<std::size_t>(at - 1)];
            ++at;
        }
    }
    return starts;
}

} // namespace

std::optional<RowSpan> titleRowSpan(const std::string& text) {
    std::size_t at = 0;
    const auto first = rowNumber(text, at);
    if (!first || at >= text.size() || text[at] != ':') {
        return std::nullopt;
    }
    ++at;
    const auto last = rowNumber(text, at);
    if (!last || at != text.size() || *last < *first) {
        return std::nullopt;
    }
    return RowSpan{*first, *last};
}

std::vector<PageCells> paginate(const std::vector<double>& rowHeights,
                                const std::vector<double>& columnWidths,
                                std::optional<RowSpan> titleRows, double roomHeight,
                                double roomWidth) {
    const int rows = static_cast<int>(rowHeights.size());
    const int columns = static_cast<int>(columnWidths.size());
    if (rows == 0 || columns == 0) {
        return {};
    }
    double titleHeight = 0;
    if (titleRows && titleRows->first <= rows) {
        for (int r = titleRows->first; r <= std::min(titleRows->last, rows); ++r) {
            titleHeight += rowHeights[static_cast<std::size_t>(r - 1)];
        }
    } else {
        titleRows.reset();
    }
    const std::vector<int> rowStarts = bandStarts(rowHeights, roomHeight, [&](int start) {
        return titleRows && start > titleRows->last ? titleHeight : 0.0;
    });
    const std::vector<int> columnStarts =
        bandStarts(columnWidths, roomWidth, [](int) { return 0.0; });

    std::vector<PageCells> pages;
    for (std::size_t c = 0; c < columnStarts.size(); ++c) {
        const int lastColumn = c + 1 < columnStarts.size() ? columnStarts[c + 1] - 1 : columns;
        for (std::size_t r = 0; r < rowStarts.size(); ++r) {
            const int lastRow = r + 1 < rowStarts.size() ? rowStarts[r + 1] - 1 : rows;
            pages.push_back({rowStarts[r], lastRow, columnStarts[c], lastColumn});
        }
    }
    return pages;
}

} // namespace kelvor
