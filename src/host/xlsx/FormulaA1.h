#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kelvor {

// Rewrites the cell references of a formula in R1C1 notation as A1 references seen from the
// cell at (row, column): "=RC[-7]+TIMEVALUE(RC[-6])" in H16 becomes "=A16+TIMEVALUE(B16)",
// "='Data 3'!RC1 + .5" in C20 becomes "='Data 3'!$A20 + .5". Text in double quotes and quoted
// sheet names stay as they are; a reference that falls outside the sheet becomes #REF!.
// Whole-row and whole-column references (R2, C[1]) are left unchanged.
std::string r1c1ToA1(std::string_view formula, std::uint32_t row, std::uint32_t column);

} // namespace kelvor
