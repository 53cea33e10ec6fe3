#include "host/model/Palette.h"

#include <array>
#include <cstddef>

namespace kelvor {

namespace {

constexpr std::array<std::string_view, 56> kPalette{
    "000000", "FFFFFF", "FF0000", "00FF00", "0000FF", "FFFF00", "FF00FF", "00FFFF",
    "800000", "008000", "000080", "808000", "800080", "008080", "C0C0C0", "808080",
    "9999FF", "993366", "FFFFCC", "CCFFFF", "660066", "FF8080", "0066CC", "CCCCFF",
    "000080", "FF00FF", "FFFF00", "00FFFF", "800080", "800000", "008080", "0000FF",
    "00CCFF", "CCFFFF", "CCFFCC", "FFFF99", "99CCFF", "FF99CC", "CC99FF", "FFCC99",
    "3366FF", "33CCCC", "99CC00", "FFCC00", "FF9900", "FF6600", "666699", "969696",
    "003366", "339966", "003300", "333300", "993300", "993366", "333399", "333333"};

} // namespace

std::optional<std::string_view> paletteColor(int colorIndex) {
    if (colorIndex < 1 || colorIndex > 56) {
        return std::nullopt;
    }
    return kPalette[static_cast<std::size_t>(colorIndex - 1)];
}

std::string_view schemeColor(int scheme) {
    return paletteColor(scheme - 7).value_or(scheme == 65 ? "FFFFFF" : "000000");
}

} // namespace kelvor
