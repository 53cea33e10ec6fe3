#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

namespace kelvor {

// A date and time as the lab's clocks show it, with no time zone: what a batch list shows.
using LabTime = std::chrono::local_seconds;

// One batch (one workbook) of a channel as its batch list shows it. A batch with no test yet
// has no times.
struct BatchRow {
    std::string fileName;
    std::filesystem::path path;
    bool open = false; // the channel's current workbook, still growing
    std::optional<LabTime> firstTest;
    std::optional<LabTime> lastTest;
    int tests = 0;
};

// "2024-03-05 14:07": the app's dates are year first everywhere (file names, the log).
std::string labTimeText(LabTime when);

} // namespace kelvor
