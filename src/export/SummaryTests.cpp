#include "export/SummaryTests.h"

#include "export/DataSheet.h"
#include "export/RateResults.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace kelvor {

namespace {

std::string unitsText(const RateUnits& units) {
    return "(" + units.force + ", " + units.deflection + ")";
}

void countUnits(UnitCounts& counts, const std::vector<RateTestReading>& readings) {
    for (const RateTestReading& reading : readings) {
        if (!reading.problem.empty()) {
            continue;
        }
        auto found = counts.begin();
        while (found != counts.end() && !(found->first == reading.test.units)) {
            ++found;
        }
        if (found == counts.end()) {
            counts.emplace_back(reading.test.units, 1);
        } else {
            ++found->second;
        }
    }
}

// A tie goes to the pair met first, which is the earlier test's.
RateUnits majorityUnits(const UnitCounts& counts, const RateUnits& fallback) {
    const std::pair<RateUnits, std::size_t>* best = nullptr;
    for (const auto& pair : counts) {
        if (best == nullptr || pair.second > best->second) {
            best = &pair;
        }
    }
    return best != nullptr ? best->first : fallback;
}

// Counts the test in the summary's table, or leaves it out with a note.
void countTest(SummaryTests& summary, RateTestReading& reading) {
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
        return;
    }
    if (!reading.remark.empty()) {
        summary.notes.push_back(test.name + " " + reading.remark);
    }
    summary.tests.push_back(std::move(reading.test));
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
    SummaryTests summary;
    countUnits(summary.unitCounts, read.tests);
    summary.units = majorityUnits(summary.unitCounts, read.lastUnits);
    for (RateTestReading& reading : read.tests) {
        countTest(summary, reading);
    }
    return summary;
}

bool countTestsBehind(SummaryTests& summary, std::vector<RateTestReading>& readings) {
    countUnits(summary.unitCounts, readings);
    // Only while the summary's units stay ahead of every other pair is the choice sure to be
    // the same, whatever order the pairs were met in.
    const auto own = std::find_if(summary.unitCounts.begin(), summary.unitCounts.end(),
                                  [&](const auto& pair) { return pair.first == summary.units; });
    if (own == summary.unitCounts.end()) {
        return false;
    }
    for (const auto& pair : summary.unitCounts) {
        if (&pair != &*own && pair.second >= own->second) {
            return false;
        }
    }
    for (RateTestReading& reading : readings) {
        countTest(summary, reading);
    }
    return true;
}

} // namespace kelvor
