#pragma once

#include <cstdint>
#include <string>

namespace kelvor {

inline constexpr std::uint32_t kMaxRows = 1048576;
inline constexpr std::uint32_t kMaxColumns = 16384;

// "A" for 1, "Z" for 26, "AA" for 27 ... "XFD" for 16384.
std::string columnName(std::uint32_t column);

// "B12" for row 12, column 2.
std::string cellName(std::uint32_t row, std::uint32_t column);

// Throws std::out_of_range unless 1 <= row <= kMaxRows and 1 <= column <= kMaxColumns.
void checkCellPosition(std::uint32_t row, std::uint32_t column);

} // namespace kelvor
