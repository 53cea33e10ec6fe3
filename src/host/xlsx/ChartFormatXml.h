#pragma once

#include "host/model/Chart.h"

#include <optional>
#include <string>
#include <string_view>

namespace kelvor {

// RGB hex ("0000FF") of a colour index 1 to 56 of the spreadsheet's standard palette; nothing
// for automatic, none or an unknown index.
std::optional<std::string_view> paletteColor(int colorIndex);

// RGB hex of a shape scheme colour: 8 to 63 follow the palette, 64 is the window text colour.
std::string_view schemeColor(int schemeColor);

// <c:spPr> with the fill (when an interior colour index is given) and the border line; nothing
// at all when every setting is automatic.
void appendShapeProperties(std::string& out, const Border& border,
                           std::optional<int> interiorColorIndex);

// <a:ln> for a line of the given weight in points and colour.
void appendLine(std::string& out, double weightPoints, std::string_view rgb);

// Run properties (element a:rPr, a:defRPr or a:endParaRPr) for a font; an empty name or a size
// of 0 leaves the chart's default.
void appendRunProperties(std::string& out, std::string_view element, std::string_view fontName,
                         double fontSize, bool bold);

} // namespace kelvor
