#include "host/model/CellAddress.h"

#include <algorithm>
#include <stdexcept>

namespace kelvor {

std::string columnName(std::uint32_t column) {
    std::string name;
    while (column > 0) {
        const auto digit = (column - 1) % 26;
        name.push_back(static_cast<char>('A' + digit));
        column = (column - 1) / 26;
    }
    std::reverse(name.begin(), name.end());
    return name;
}

std::string cellName(std::uint32_t row, std::uint32_t column) {
    return columnName(column) + std::to_string(row);
}

void checkCellPosition(std::uint32_t row, std::uint32_t column) {
    if (row < 1 || row > kMaxRows || column < 1 || column > kMaxColumns) {
        throw std::out_of_range("cell position outside the sheet: row " + std::to_string(row) +
                                ", column " + std::to_string(column));
    }
}

} // namespace kelvor
