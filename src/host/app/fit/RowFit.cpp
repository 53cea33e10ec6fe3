#include "host/app/fit/RowFit.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace kelvor {

namespace {

constexpr double DefaultRowHeight = 12.75;

std::size_t lineCount(const CellValue& value) {
    const auto* text = textOf(value);
    return text == nullptr
               ? 1
               : 1 + static_cast<std::size_t>(std::count(text->begin(), text->end(), '\n'));
}

} // namespace

double lineHeight(double fontSize) {
    return std::ceil(fontSize * 1.275 / 0.75 - 1e-9) * 0.75;
}

std::optional<double> fittedRowHeight(const Row& cells, const Styles& styles) {
    double height = 0;
    for (const auto& [column, cell] : cells) {
        const Style& style = styles.style(cell.style());
        if (style.wrapText) {
            height = std::max(height, static_cast<double>(lineCount(cell.value())) *
                                          lineHeight(style.font.size));
        }
    }
    return height > DefaultRowHeight ? std::optional(height) : std::nullopt;
}

void fitRowHeights(Worksheet& sheet, const Styles& styles) {
    std::map<std::uint32_t, double> heights;
    for (const auto& [row, cells] : sheet.rows()) {
        if (const auto height = fittedRowHeight(cells, styles)) {
            heights.emplace(row, *height);
        }
    }
    sheet.setRowHeights(std::move(heights));
}

} // namespace kelvor
