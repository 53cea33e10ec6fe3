#pragma once

#include "host/model/Chart.h"

#include <optional>
#include <string>
#include <string_view>

namespace kelvor {

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
