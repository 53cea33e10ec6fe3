#pragma once

#include "host/model/Styles.h"

#include <string_view>

namespace kelvor {

// The width, in characters of the default font's digits, that a column needs to show the
// text in the given font: the widest of its lines (a line feed starts a new one), measured
// with the proportional widths of the common sans-serif faces. The cell's margins are not
// included: the package adds them when it stores the width.
double fittedColumnWidth(std::string_view text, const Font& font);

} // namespace kelvor
