#include "host/app/cells/RangeAddress.h"

#include "host/model/CellAddress.h"

#include <algorithm>
#include <cctype>

namespace kelvor {

namespace {

struct Reader {
    std::string_view text;
    std::size_t pos = 0;

    bool done() const { return pos >= text.size(); }

    std::optional<std::uint32_t> column() {
        const auto start = pos;
        if (!done() && text[pos] == '$') {
            ++pos;
        }
        std::uint64_t value = 0;
        const auto first = pos;
        while (!done() && std::isalpha(static_cast<unsigned char>(text[pos])) && pos - first < 4) {
            value = value * 26 + static_cast<std::uint64_t>(
                                     std::toupper(static_cast<unsigned char>(text[pos])) - 'A' + 1);
            ++pos;
        }
        if (pos == first || value > kMaxColumns ||
            (!done() && std::isalpha(static_cast<unsigned char>(text[pos])))) {
            pos = start;
            return std::nullopt;
        }
        return static_cast<std::uint32_t>(value);
    }

    std::optional<std::uint32_t> row() {
        const auto start = pos;
        if (!done() && text[pos] == '$') {
            ++pos;
        }
        std::uint64_t value = 0;
        const auto first = pos;
        while (!done() && std::isdigit(static_cast<unsigned char>(text[pos])) && pos - first < 8) {
            value = value * 10 + static_cast<std::uint64_t>(text[pos] - '0');
            ++pos;
        }
        if (pos == first || value < 1 || value > kMaxRows ||
            (!done() && std::isdigit(static_cast<unsigned char>(text[pos])))) {
            pos = start;
            return std::nullopt;
        }
        return static_cast<std::uint32_t>(value);
    }

    bool accept(char c) {
        if (!done() && text[pos] == c) {
            ++pos;
            return true;
        }
        return false;
    }

    // One cell, a cell range, whole columns or whole rows.
    std::optional<CellRange> area() {
        if (const auto c1 = column()) {
            if (const auto r1 = row()) {
                if (!accept(':')) {
                    return CellRange{*r1, *c1, *r1, *c1};
                }
                const auto c2 = column();
                const auto r2 = c2 ? row() : std::nullopt;
                if (!r2) {
                    return std::nullopt;
                }
                return boundingArea({*r1, *c1, *r1, *c1}, {*r2, *c2, *r2, *c2});
            }
            const auto c2 = accept(':') ? column() : std::nullopt;
            if (!c2) {
                return std::nullopt;
            }
            return CellRange{1, std::min(*c1, *c2), kMaxRows, std::max(*c1, *c2)};
        }
        const auto r1 = row();
        const auto r2 = r1 && accept(':') ? row() : std::nullopt;
        if (!r2) {
            return std::nullopt;
        }
        return CellRange{std::min(*r1, *r2), 1, std::max(*r1, *r2), kMaxColumns};
    }
};

} // namespace

std::optional<std::vector<CellRange>> parseAddress(std::string_view address) {
    Reader reader{address};
    std::vector<CellRange> areas;
    do {
        const auto area = reader.area();
        if (!area) {
            return std::nullopt;
        }
        areas.push_back(*area);
    } while (reader.accept(','));
    if (!reader.done()) {
        return std::nullopt;
    }
    return areas;
}

bool isWholeColumns(const CellRange& area) {
    return area.firstRow == 1 && area.lastRow == kMaxRows;
}

CellRange boundingArea(const CellRange& a, const CellRange& b) {
    return {std::min(a.firstRow, b.firstRow), std::min(a.firstColumn, b.firstColumn),
            std::max(a.lastRow, b.lastRow), std::max(a.lastColumn, b.lastColumn)};
}

std::uint64_t cellCount(const CellRange& area) {
    return std::uint64_t{area.lastRow - area.firstRow + 1} *
           (area.lastColumn - area.firstColumn + 1);
}

} // namespace kelvor
