#include "export/RateResults.h"

#include "export/CellText.h"
#include "export/ReportLines.h"
#include "util/NumberText.h"

#include <limits>
#include <string_view>

namespace kelvor {

namespace {

constexpr std::int16_t FirstHeaderRowCandidate = 11;
constexpr std::string_view DataHeaderWord = "DEFLECTION";

} // namespace

std::int16_t sheetCounter(std::int32_t count) {
    if (count > std::numeric_limits<std::int16_t>::max() ||
        count < std::numeric_limits<std::int16_t>::min()) {
        throw xl::programError(xl::ErrOverflow);
    }
    return static_cast<std::int16_t>(count);
}

bool isRateWorksheet(xl::Sheet& sheet) {
    return sheet.Type() == xl::xlWorksheet && cellText(sheet, 1, 1) == RateTestTitle;
}

bool isCountedRateSheet(xl::Sheet& sheet) {
    // Both are asked, whatever the type says.
    const bool worksheet = sheet.Type() == xl::xlWorksheet;
    const bool visible = sheet.Visible() == xl::xlSheetVisible;
    return worksheet && visible && cellText(sheet, 1, 1) == RateTestTitle;
}

std::optional<std::int16_t> findResultHeaderRow(xl::Sheet& sheet) {
    std::int16_t row = FirstHeaderRowCandidate;
    while (!trimBlanks(cellText(sheet, row, 1)).starts_with(DataHeaderWord)) {
        if (row == std::numeric_limits<std::int16_t>::max()) {
            return std::nullopt;
        }
        ++row;
    }
    return row;
}

double cellNumber(xl::Sheet& sheet, std::int32_t row, std::int32_t column) {
    return leadingNumber(cellText(sheet, row, column));
}

} // namespace kelvor
