#include "export/CellText.h"

#include "util/DateSerial.h"

#include <cmath>
#include <cstdio>
#include <type_traits>

namespace kelvor {

namespace {

// A date as automation turns it into text on the testers' (US) systems: "1/2/2024",
// "9:15:00 AM", or both; the date alone at midnight, the time alone on day 0.
std::string dateText(double serial) {
    const double day = std::floor(serial);
    auto seconds = static_cast<long long>(std::llround((serial - day) * 86400.0));
    const auto civil = civilDate(static_cast<std::int64_t>(day) + seconds / 86400);
    if (!civil || !std::isfinite(serial)) {
        return numberText(serial);
    }
    seconds %= 86400;
    char text[48];
    std::string out;
    if (day != 0.0) {
        std::snprintf(text, sizeof text, "%d/%d/%d", civil->month, civil->day, civil->year);
        out = text;
    }
    if (seconds != 0 || day == 0.0) {
        const auto hour = static_cast<int>(seconds / 3600);
        std::snprintf(text, sizeof text, "%d:%02d:%02d %s", hour % 12 == 0 ? 12 : hour % 12,
                      static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60),
                      hour < 12 ? "AM" : "PM");
        out += (out.empty() ? "" : " ") + std::string(text);
    }
    return out;
}

} // namespace

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
            } else if constexpr (std::is_same_v<T, xl::Date>) {
                return dateText(v.serial);
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
