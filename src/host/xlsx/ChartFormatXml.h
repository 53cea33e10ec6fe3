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
// at all when every setting is automatic. A line that is written with an automatic colour
// takes `automaticRgb`: a line without a colour of its own is not drawn by every reader.
void appendShapeProperties(std::string& out, const Border& border,
                           std::optional<int> interiorColorIndex,
                           std::string_view automaticRgb = "000000");

// Run properties (element a:rPr, a:defRPr or a:endParaRPr) for a font; an empty name or a size
// of 0 leaves the chart's default.
void appendRunProperties(std::string& out, std::string_view element, std::string_view fontName,
                         double fontSize, bool bold);

} // namespace kelvor
