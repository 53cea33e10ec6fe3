#pragma once

#include <optional>
#include <string_view>

namespace kelvor {

// The colours the model's colour indexes stand for, as the writer writes them and the
// workbook window draws them.

// RGB hex ("0000FF") of a colour index 1 to 56 of the spreadsheet's standard palette; nothing
// for automatic, none or an unknown index.
std::optional<std::string_view> paletteColor(int colorIndex);

// RGB hex of a shape scheme colour: 8 to 63 follow the palette, 64 is the window text colour.
std::string_view schemeColor(int schemeColor);

} // namespace kelvor
