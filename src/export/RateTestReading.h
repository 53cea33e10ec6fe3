#pragma once

#include "export/Spreadsheet.h"

#include <cstdint>
#include <optional>
#include <string>

namespace kelvor {

// What the summary takes from one constant-rate sheet, checked before it is used: one sheet
// that cannot be read must not stop the summary of all the others.

struct RateUnits {
    std::string force;
    std::string deflection;
    bool operator==(const RateUnits&) const = default;
};

// The units from A3 and A4; nothing when either line is shorter than its prefix.
std::optional<RateUnits> readRateUnits(xl::Sheet& sheet);

// A counted test as the Summary sheet and the Summary Plot use it.
struct RateTest {
    std::int32_t sheetIndex = 0;
    std::string name;
    double force = 0;
    double deformation = 0;
    // Rows R + 1 and R + N of the data; for a count below 1 the second lies above the first.
    std::int32_t firstDataRow = 0;
    std::int32_t lastDataRow = 0;
    RateUnits units;
};

// The test of a counted sheet, or in `problem` why the summary leaves it out, worded to follow
// "<sheet> left out: ". `test.name` is always read. `remark` is what a counted test's reader
// must know all the same, worded to follow "<sheet> ".
struct RateTestReading {
    RateTest test;
    std::string problem;
    std::string remark;
    // "was cut short: <cause>" when its report was, also told in `problem` or `remark`.
    std::string cutShort;
};

RateTestReading readRateTest(xl::Sheet& sheet, std::int32_t sheetIndex);

} // namespace kelvor
