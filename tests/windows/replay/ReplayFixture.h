#pragma once

// The replay scenarios' fixture: a scenario of export steps runs once into the built-in
// application with every interface member recorded, and once through the automation back end
// into the replay server registered as "Excel.Application", which answers from the recording
// and says what it found.

#include "ReplayRecorder.h"
#include "ReplayServerRun.h"

#include "TestFiles.h"
#include "capture/ChannelInfo.h"
#include "capture/ReportExport.h"
#include "export/ExportContext.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace kelvor::test::replay {

// The export's steps as the reader takes them, the same in both runs. `endApplication` makes
// the application end after that many more calls (recording only: the replay server ends by
// itself where the recording says so).
struct Drive {
    ExportContext& ctx;
    ChannelTable& channels;
    std::function<void(int)> endApplication;

    // A complete report of the channel, as the export step takes it.
    ExportOutcome report(int channel, std::string text);
    // "Summarize Now": every enabled channel.
    void summarizeNow();
};

using Scenario = std::function<void(Drive&)>;

// What a run leaves for comparing the two.
struct RunResult {
    std::vector<std::string> messages;
    std::vector<std::int32_t> workbookIndexes;
    std::vector<std::string> outcomes;
};

class ExcelReplay : public ::testing::Test {
protected:
    ExcelReplay();

    // Records the scenario into the built-in application, replays it through the back end
    // and checks that the server found no difference and was called for every recorded call.
    // Returns the replayed run. `duringReplay` runs between the two.
    RunResult check(const Scenario& scenario, RecorderOptions options = {},
                    const std::function<void()>& duringReplay = {});
    // `tamper` may change the recording before it is replayed.
    RunResult recordAndReplay(const Scenario& scenario, RecorderOptions options,
                              const std::function<void()>& duringReplay = {},
                              const std::function<void(std::vector<std::string>&)>& tamper = {});

    // The recorded cell writes of column A made by a Paste without the clipboard: a cell read
    // as Cells(row, 1) and its Value put at once. (row, value) in order.
    std::vector<std::pair<int, std::string>> columnAWrites() const;
    // How many recorded lines contain `text`.
    std::size_t recordedCount(const std::string& text) const;

    TempDir dir;
    ChannelTable channels;
    float traceOffset = 0.5F;
    std::vector<ExportOutcome> outcomes; // what the scenario's reports became
    RunResult recorded;
    std::vector<std::string> recordedLines;
    std::size_t recordedCalls = 0;
    std::size_t applications = 0;
    std::vector<ServerResult> results;

private:
    std::filesystem::path workbooks() const { return dir.path() / "Workbooks"; }
    static std::filesystem::path recording();
    RunResult record(const Scenario& scenario, const RecorderOptions& options);
    RunResult replayRun(const Scenario& scenario);
    RunResult run(xl::ApplicationFactory& factory, const Scenario& scenario,
                  std::function<void(int)> endApplication);
};

} // namespace kelvor::test::replay
