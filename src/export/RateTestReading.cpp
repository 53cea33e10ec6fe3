#include "export/RateTestReading.h"

#include "export/CellText.h"
#include "export/CutShortMark.h"
#include "export/RateResults.h"
#include "export/ReportHeader.h"
#include "util/NumberText.h"

#include <cmath>
#include <optional>
#include <string>
#include <utility>

namespace kelvor {

namespace {

// The application's last row: a data range reaching further cannot be addressed.
constexpr double LastSheetRow = 1048576;

// A result the statistics can square.
bool summable(double value) {
    return std::isfinite(value) && std::isfinite(value * value);
}

RateTestReading leftOut(RateTest test, std::string problem) {
    return {std::move(test), std::move(problem), {}, {}};
}

// A result that is no number at all (a tester's error text, a value that is no number) says
// so; `what` names the result.
std::optional<std::string> notANumber(xl::Sheet& sheet, std::int32_t row, const char* what) {
    const std::string text = cellText(sheet, row, 2);
    const std::optional<double> value = findLeadingNumber(text);
    if (value && !std::isnan(*value)) {
        return std::nullopt;
    }
    const std::string_view shown = trimBlanks(text);
    if (shown.empty()) {
        return std::string("its ") + what + " result is missing";
    }
    return std::string("its ") + what + " result \"" + std::string(shown) + "\" is not a number";
}

// The data lines of rows first..last, which a tester sends without gaps: the last row that
// holds one, found by halving, so that a whole report costs a single read.
std::int32_t dataLines(xl::Sheet& sheet, std::int32_t first, std::int32_t last) {
    const auto filled = [&](std::int32_t row) { return !cellText(sheet, row, 1).empty(); };
    if (filled(last)) {
        return last - first + 1;
    }
    std::int32_t low = first - 1; // filled, or before the data
    std::int32_t high = last;     // empty
    while (high - low > 1) {
        const std::int32_t middle = low + (high - low) / 2;
        (filled(middle) ? low : high) = middle;
    }
    return low - first + 1;
}

} // namespace

std::optional<RateUnits> readRateUnits(xl::Sheet& sheet) {
    try {
        // The rule the data sheet's own export reads them by.
        return RateUnits{UnitFromLine(cellText(sheet, 3, 1), ForceUnitPrefix),
                         UnitFromLine(cellText(sheet, 4, 1), DeflectionUnitPrefix)};
    } catch (const xl::HostError& error) {
        if (error.number() != xl::ErrInvalidCall) {
            throw;
        }
        return std::nullopt;
    }
}

namespace {

RateTestReading readAsItStands(xl::Sheet& sheet, std::int32_t sheetIndex) {
    RateTest test;
    test.sheetIndex = sheetIndex;
    test.name = sheet.Name();
    std::optional<RateUnits> units = readRateUnits(sheet);
    if (!units) {
        return leftOut(std::move(test), "its units lines cannot be read");
    }
    test.units = std::move(*units);
    const std::optional<std::int16_t> headerRow = findResultHeaderRow(sheet);
    if (!headerRow) {
        return leftOut(std::move(test), "its DEFLECTION header row is missing");
    }
    const std::int32_t row = *headerRow;
    for (const auto& [offset, what] : {std::pair{-4, "force"}, std::pair{-3, "deformation"}}) {
        if (auto problem = notANumber(sheet, row + offset, what)) {
            return leftOut(std::move(test), std::move(*problem));
        }
    }
    test.force = cellNumber(sheet, row - 4, 2);
    if (!summable(test.force)) {
        return leftOut(std::move(test), "its force result is too large");
    }
    test.deformation = cellNumber(sheet, row - 3, 2);
    if (!summable(test.deformation)) {
        return leftOut(std::move(test), "its deformation result is too large");
    }
    const double points = cellNumber(sheet, row - 1, 1);
    const double lastRow = row + points;
    if (!std::isfinite(points) || lastRow < 1 || lastRow > LastSheetRow) {
        return leftOut(std::move(test), "its point count reaches beyond the sheet");
    }
    if (points != std::floor(points)) {
        return leftOut(std::move(test), "its point count is not a whole number");
    }
    test.firstDataRow = row + 1;
    test.lastDataRow = static_cast<std::int32_t>(lastRow);
    std::string remark;
    if (test.lastDataRow > row) {
        const std::int32_t held = dataLines(sheet, test.firstDataRow, test.lastDataRow);
        if (held < test.lastDataRow - row) {
            remark = "holds " + std::to_string(held) + " of its " +
                     std::to_string(test.lastDataRow - row) + " points";
        }
    }
    return {std::move(test), {}, std::move(remark), {}};
}

} // namespace

RateTestReading readRateTest(xl::Sheet& sheet, std::int32_t sheetIndex) {
    RateTestReading reading = readAsItStands(sheet, sheetIndex);
    // Whatever else is wrong with the test, its reader learns that it was cut short.
    if (const auto cause = cutShortCause(sheet.PageSetup()->LeftFooter())) {
        const std::string& cutShort = reading.cutShort = "was cut short: " + *cause;
        if (!reading.problem.empty()) {
            reading.problem += "; it " + cutShort;
        } else if (reading.remark.empty()) {
            reading.remark = cutShort;
        } else {
            reading.remark = cutShort + "; it " + reading.remark;
        }
    }
    return reading;
}

} // namespace kelvor
