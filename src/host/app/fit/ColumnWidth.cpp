#include "host/app/fit/ColumnWidth.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kelvor {

namespace {

// Advance widths of the printable ASCII characters in thousandths of the font size, as the
// common sans-serif faces (Arial, Helvetica, Liberation Sans) have them; a digit is 556.
constexpr std::array<int, 95> kAdvance = {
    278, 278, 355, 556, 556, 889, 667,  191, 333, 333, 389, 584, 278, 333, 278, 278, // ' '../
    556, 556, 556, 556, 556, 556, 556,  556, 556, 556,                               // 0..9
    278, 278, 584, 584, 584, 556, 1015,                                              // :..@
    667, 667, 722, 722, 667, 611, 778,  722, 278, 500, 667, 556, 833,                // A..M
    722, 778, 667, 778, 722, 667, 611,  722, 667, 944, 667, 667, 611,                // N..Z
    278, 278, 278, 469, 556, 333,                                                    // [..`
    556, 556, 500, 556, 556, 278, 556,  556, 222, 222, 500, 222, 833,                // a..m
    556, 556, 556, 556, 333, 500, 278,  556, 500, 722, 500, 500, 500,                // n..z
    334, 260, 334, 584};                                                             // {..~
constexpr double kDigit = 556;
constexpr double kDefaultSize = 10;

// Width of one line in digit widths of the font.
double lineWidth(std::string_view line) {
    double total = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const auto c = static_cast<unsigned char>(line[i]);
        if (c >= 0x20 && c < 0x7F) {
            total += kAdvance[c - 0x20];
        } else if (c >= 0xE3 && c <= 0xED) {
            total += 1000; // East Asian scripts fill the whole em
        } else if (c >= 0xC0 || c < 0x20 || c == 0x7F) {
            total += c < 0x20 || c == 0x7F ? 0 : kDigit; // one character starts here
        }
        // UTF-8 continuation bytes add nothing
    }
    return total / kDigit;
}

} // namespace

double fittedColumnWidth(std::string_view text, const Font& font) {
    double widest = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        widest = std::max(widest, lineWidth(text.substr(start, end - start)));
        start = end + 1;
    }
    const double scale = font.size / kDefaultSize * (font.bold ? 1.08 : 1.0);
    // Whole pixels, as the spreadsheet rounds a fitted width.
    const double pixels = std::ceil(widest * scale * 7.0);
    return std::min(255.0, pixels / 7.0);
}

} // namespace kelvor
