#include "export/SummaryTests.h"

#include "export/DataSheet.h"
#include "export/RateResults.h"

#include <cstddef>
#include <utility>

namespace kelvor {

namespace {

std::string unitsText(const RateUnits& units) {
    return "(" + units.force + ", " + units.deflection + ")";
}

// A tie goes to the pair met first, which is the earlier test's.
RateUnits majorityUnits(const std::vector<RateTestReading>& readings, const RateUnits& fallback) {
    std::vector<std::pair<RateUnits, std::size_t>> pairs;
    for (const RateTestReading& reading : readings) {
        if (!reading.problem.empty()) {
            continue;
        }
        auto found = pairs.begin();
        while (found != pairs.end() && !(found->first == reading.test.units)) {
            ++found;
        }
        if (found == pairs.end()) {
            pairs.emplace_back(reading.test.units, 1);
        } else {
            ++found->second;
        }
    }
    const std::pair<RateUnits, std::size_t>* best = nullptr;
    for (const auto& pair : pairs) {
        if (best == nullptr || pair.second > best->second) {
            best = &pair;
        }
    }
    return best != nullptr ? best->first : fallback;
}

} // namespace

SheetReadings readRateSheets(xl::Application& app, std::int32_t first) {
    SheetReadings read;
    const std::int16_t count = sheetCounter(app.Sheets()->Count());
    for (std::int16_t i = sheetCounter(first); i <= count; ++i) {
        app.Sheets()->Item(i)->Activate();
        const xl::SheetPtr sheet = app.ActiveSheet();
        read.summarySheet = read.summarySheet || isSummarySheetName(sheet->Name());
        if (i < count && isRateWorksheet(*sheet)) {
            if (auto units = readRateUnits(*sheet)) {
                read.lastUnits = std::move(*units);
            }
        }
        if (isCountedRateSheet(*sheet)) {
            read.tests.push_back(readRateTest(*sheet, i));
        }
    }
    return read;
}

SummaryTests collectSummaryTests(xl::Application& app) {
    SheetReadings read = readRateSheets(app, 1);
    std::vector<RateTestReading>& readings = read.tests;

    SummaryTests summary;
    summary.units = majorityUnits(readings, read.lastUnits);
    for (RateTestReading& reading : readings) {
        const RateTest& test = reading.test;
        if (reading.problem.empty() && !(test.units == summary.units)) {
            reading.problem = "its units " + unitsText(test.units) + " differ from the summary's " +
                              unitsText(summary.units);
        }
        if (reading.problem.empty() && !summary.stats.add(test.force, test.deformation)) {
            reading.problem = "its results are too large to summarise with the other tests";
        }
        if (!reading.problem.empty()) {
            const std::string also = reading.cutShort.empty() ? "" : "; it " + reading.cutShort;
            summary.notes.push_back(test.name + " left out: " + reading.problem + also);
            continue;
        }
        if (!reading.remark.empty()) {
            summary.notes.push_back(test.name + " " + reading.remark);
        }
        summary.tests.push_back(std::move(reading.test));
    }
    return summary;
}

bool addsPlainly(const RateUnits& units, SummaryStatistics& stats, const RateTestReading& reading) {
    return reading.problem.empty() && reading.remark.empty() && reading.test.units == units &&
           stats.add(reading.test.force, reading.test.deformation);
}

} // namespace kelvor
