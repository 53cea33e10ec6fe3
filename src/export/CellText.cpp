#include "export/CellText.h"

#include <cstdio>
#include <type_traits>

namespace kelvor {

std::string numberText(double value) {
    if (value == 0.0) {
        return "0"; // also for a negative zero
    }
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    return buffer;
}

std::string cellText(const xl::Variant& value) {
    return std::visit(
        [](const auto& v) -> std::string {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, double>) {
                return numberText(v);
            } else if constexpr (std::is_same_v<T, std::string>) {
                return v;
            } else if constexpr (std::is_same_v<T, bool>) {
                return v ? "True" : "False";
            } else {
                return {};
            }
        },
        value);
}

std::string cellText(xl::Sheet& sheet, std::int32_t row, std::int32_t column) {
    return cellText(sheet.Cells(row, column)->Value());
}

std::string_view trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::string cellAddress(char column, double row) {
    return std::string(1, column) + numberText(row);
}

} // namespace kelvor
