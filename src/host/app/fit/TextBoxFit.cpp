#include "host/app/fit/TextBoxFit.h"

#include "export/XlConstants.h"
#include "host/app/fit/ColumnWidth.h"

#include <algorithm>

namespace kelvor {

namespace {

// Inner margins of a text box: a tenth of an inch at the sides, half that above and below.
constexpr double kSideMargin = 7.2;
constexpr double kTopMargin = 3.6;
constexpr double kLineHeight = 1.2; // of the font size
// A column width counts digits of the 10-point default font, 5.56 points each.
constexpr double kDigitPoints = 5.56;

using xl::xlDownward;
using xl::xlUpward;
using xl::xlVertical;

} // namespace

void fitTextBox(TextBox& box) {
    const double size = box.fontSize > 0 ? box.fontSize : 10.0;
    std::size_t lines = 1;
    for (const char c : box.text) {
        lines += c == '\n' ? 1 : 0;
    }
    const Font font{box.fontName, size, box.bold};
    double width = fittedColumnWidth(box.text, font) * kDigitPoints + 2 * kSideMargin;
    double height = static_cast<double>(lines) * size * kLineHeight + 2 * kTopMargin;
    if (box.orientation == xlUpward || box.orientation == xlDownward ||
        box.orientation == xlVertical) {
        std::swap(width, height);
    }
    box.width = width;
    box.height = height;
    box.left = std::max(0.0, std::min(box.left, kChartSheetWidth - width));
    box.top = std::max(0.0, std::min(box.top, kChartSheetHeight - height));
}

} // namespace kelvor
