#include "ReplayFixture.h"

#include "ScriptedPrompts.h"

#include "export/ReportExportStep.h"
#include "export/SummarizeChannel.h"
#include "host/app/automation/BuiltinApplicationFactory.h"
#include "host/excel/ExcelApplication.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <fstream>

namespace kelvor::test::replay {

namespace {

std::string utf8(const std::wstring& text) {
    const int size = static_cast<int>(text.size());
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, out.data(), n, nullptr, nullptr);
    return out;
}

} // namespace

ExportOutcome Drive::report(int channel, std::string text) {
    ReportExportStep step(ctx);
    return step.exportReport(channel, text, "", channels[channel].WorkbookIndex);
}

void Drive::summarizeNow() {
    for (int n = 0; n < ChannelCount; ++n) {
        if (channels[n].Enabled != 0) {
            const ExportingChannel naming(ctx, n);
            SummarizeChannel(ctx, n, channels[n].ReceivedText, channels[n].WorkbookIndex);
        }
    }
}
ExcelReplay::ExcelReplay() {
    ReplayServerRun::unregister();
    channels[0].Description = "Pr\xC3\xBC"
                              "fstand 2"; // "Prüfstand 2"
    channels[0].Enabled = 1;
    channels[1].Description = "Press B";
}

RunResult ExcelReplay::check(const Scenario& scenario, RecorderOptions options,
                             const std::function<void()>& duringReplay) {
    const RunResult replayed = recordAndReplay(scenario, options, duringReplay);
    EXPECT_EQ(replayed.messages, recorded.messages);
    EXPECT_EQ(replayed.workbookIndexes, recorded.workbookIndexes);
    EXPECT_EQ(replayed.outcomes, recorded.outcomes);
    EXPECT_EQ(results.size(), applications);
    std::size_t checked = 0;
    for (std::size_t i = 0; i < results.size(); ++i) {
        const ServerResult& r = results[i];
        EXPECT_TRUE(r.found) << "application " << i + 1 << " was never started";
        EXPECT_EQ(r.difference, "") << "application " << i + 1;
        EXPECT_EQ(r.checked, r.expected) << "application " << i + 1 << ": " << r.note;
        checked += r.checked;
    }
    EXPECT_EQ(checked, recordedCalls);
    std::printf("replay: %zu calls checked in %zu applications (%s)\n", checked, results.size(),
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
    return replayed;
}

RunResult
ExcelReplay::recordAndReplay(const Scenario& scenario, RecorderOptions options,
                             const std::function<void()>& duringReplay,
                             const std::function<void(std::vector<std::string>&)>& tamper) {
    options.workbookFolder = utf8(workbooks().wstring());
    recorded = record(scenario, options);
    if (tamper) {
        std::vector<std::string> edited = recordedLines;
        tamper(edited);
        std::ofstream out(recording(), std::ios::binary);
        for (const std::string& line : edited) {
            out << line << '\n';
        }
    }
    if (duringReplay) {
        duringReplay();
    }
    return replayRun(scenario);
}

std::vector<std::pair<int, std::string>> ExcelReplay::columnAWrites() const {
    std::vector<std::pair<int, std::string>> writes;
    for (std::size_t i = 0; i + 1 < recordedLines.size(); ++i) {
        const std::string& line = recordedLines[i];
        const std::size_t cells = line.find(" get Cells I4:");
        const std::size_t answer = line.find('\t');
        if (cells == std::string::npos || answer == std::string::npos ||
            line.find(" I4:1\t") == std::string::npos) {
            continue;
        }
        const std::string id = line.substr(answer + 1, line.find(' ', answer) - answer - 1);
        const std::string put = id + " put Value ";
        if (recordedLines[i + 1].starts_with(put)) {
            const std::string& next = recordedLines[i + 1];
            writes.emplace_back(std::stoi(line.substr(cells + 14)),
                                next.substr(put.size(), next.find('\t') - put.size()));
        }
    }
    return writes;
}

std::size_t ExcelReplay::recordedCount(const std::string& text) const {
    std::size_t n = 0;
    for (const std::string& line : recordedLines) {
        n += line.find(text) != std::string::npos ? 1 : 0;
    }
    return n;
}

// Kept beside the test program, one per scenario, for reading and comparing.
std::filesystem::path ExcelReplay::recording() {
    const std::filesystem::path folder =
        ReplayServerRun::serverProgram().parent_path() / "replay-recordings";
    std::filesystem::create_directories(folder);
    return folder /
           (std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".txt");
}

RunResult ExcelReplay::record(const Scenario& scenario, const RecorderOptions& options) {
    BuiltinApplicationFactory builtins(dir.path() / "Built-in");
    auto log = std::make_shared<CallLog>(options);
    RecordingFactory factory(builtins, log);
    RunResult result = run(factory, scenario, [&](int calls) { log->endApplicationAfter(calls); });
    log->write(recording());
    recordedLines = log->lines();
    recordedCalls = log->calls();
    applications = 0;
    for (const std::string& line : log->lines()) {
        applications += line.starts_with("start ") ? 1 : 0;
    }
    return result;
}

RunResult ExcelReplay::replayRun(const Scenario& scenario) {
    ReplayServerRun server(recording(), dir.path() / "Results");
    RunResult result;
    {
        com::ExcelApplicationFactory factory(workbooks());
        result = run(factory, scenario, [](int) {});
    }
    results = server.results(applications);
    return result;
}

RunResult ExcelReplay::run(xl::ApplicationFactory& factory, const Scenario& scenario,
                           std::function<void(int)> endApplication) {
    ScriptedPrompts prompts;
    ChannelTable table = channels;
    float offset = traceOffset;
    RunResult result;
    {
        ExportContext ctx(factory, prompts, table, offset);
        // Both runs name their workbook files after the same moment.
        ctx.clock = [] { return WallClock::time_point(std::chrono::seconds(1'773'500'000)); };
        Drive drive{ctx, table, std::move(endApplication)};
        scenario(drive);
        for (const ExportOutcome& o : outcomes) {
            result.outcomes.push_back((o.pasted ? "pasted " : "") + o.workbook + "/" + o.sheet +
                                      (o.notReport ? " not a report" : ""));
        }
        outcomes.clear();
    }
    for (const ScriptedPrompts::Shown& shown : prompts.shown) {
        result.messages.push_back(shown.title + ": " + shown.text);
    }
    for (const ChannelRecord& record : table) {
        result.workbookIndexes.push_back(record.WorkbookIndex);
    }
    return result;
}

} // namespace kelvor::test::replay
