#include "export/RateTestReading.h"

#include "export/CellText.h"
#include "export/RateResults.h"
#include "export/ReportHeader.h"

#include <cmath>
#include <utility>

namespace kelvor {

namespace {

// The application's last row: a data range reaching further cannot be addressed.
constexpr double LastSheetRow = 1048576;

// A result the statistics can square.
bool summable(double value) {
    return std::isfinite(value) && std::isfinite(value * value);
}

RateTestReading leftOut(RateTest test, const char* problem) {
    return {std::move(test), problem};
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

RateTestReading readRateTest(xl::Sheet& sheet, std::int32_t sheetIndex) {
    RateTest test;
    test.sheetIndex = sheetIndex;
    test.name = sheet.Name();
    if (!readRateUnits(sheet)) {
        return leftOut(std::move(test), "its units lines cannot be read");
    }
    const std::optional<std::int16_t> headerRow = findResultHeaderRow(sheet);
    if (!headerRow) {
        return leftOut(std::move(test), "its DEFLECTION header row is missing");
    }
    const std::int32_t row = *headerRow;
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
    return {std::move(test), {}};
}

} // namespace kelvor
