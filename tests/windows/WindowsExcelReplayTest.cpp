// The export through the automation back end, call by call, against a local automation server
// of our own registered as "Excel.Application": each scenario runs once into the built-in
// application with every interface member recorded as the automation call it stands for, and
// once through the back end into the replay server, which answers from that recording and
// fails on any difference (member, kind of call, argument types and values, named arguments,
// order). Out of process, so an application that ends in the middle is a real one ending.

#include "ReplayRecorder.h"
#include "ReplayServerRun.h"
#include "ScriptedPrompts.h"
#include "TestFiles.h"

#include "export/ExportContext.h"
#include "export/ReportExportStep.h"
#include "export/SummarizeChannel.h"
#include "host/app/automation/BuiltinApplicationFactory.h"
#include "host/excel/ExcelApplication.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <functional>
#include <thread>

namespace kelvor::test {

namespace {

using replay::CallLog;
using replay::RecorderOptions;

std::string lines(const std::vector<std::string>& list, const char* end = "\r\n") {
    std::string text;
    for (const std::string& line : list) {
        text += line + end;
    }
    return text;
}

// Header row 14, results in rows 10 and 11.
std::string rateReport(const std::string& peak, const std::string& deformation) {
    return lines({"CONSTANT RATE TEST DATA",
                  "Kelvor 4410 serial 3318",
                  "Force units in lbf",
                  "Deflection units in in",
                  "Test speed: 0.50 in/min",
                  "Sample: Carton 12",
                  "Operator: MK",
                  "",
                  "Preload: 2.0 lbf",
                  "Peak force: " + peak,
                  "Deformation at peak: " + deformation,
                  "Result: PASS",
                  "6 points",
                  "DEFLECTION,FORCE",
                  "0.000,0.0",
                  "0.080,96.4",
                  "0.160,201.7",
                  "0.240,344.0",
                  "0.320,480.2",
                  "0.412," + peak});
}

// Header row 15, one more header line, and a point count with text after it.
std::string secondRateReport() {
    return lines({"CONSTANT RATE TEST DATA",
                  "Kelvor 4410 serial 3318",
                  "Force units in lbf",
                  "Deflection units in in",
                  "Test speed: 0.50 in/min",
                  "Sample: Carton 13",
                  "Operator: \"MK\", night shift",
                  "",
                  "Preload: 2.0 lbf",
                  "Result: PASS",
                  "Peak force: 598.1",
                  "Deformation at peak: 0.398",
                  "Cycle 2 of 3",
                  "5 points recorded",
                  "DEFLECTION,FORCE",
                  "0.000,0.0",
                  "0.100,150.9",
                  "0.200,322.5",
                  "0.300,470.0",
                  "0.398,598.1"});
}

// Date, time, force, deflection, temperature and humidity: the degree sign's label.
std::string loadReport() {
    return lines({"CONSTANT LOAD TEST DATA", "Kelvor 5120 serial 0871", "Force units in lbf",
                  "Deflection units in in", "Temperature units in F", "Sample: Stack 4",
                  "Load: 250 lbf", "Operator: MK", "Start: 03/14/26 08:00:00", "", "4 points",
                  "DATE,TIME,FORCE,DEFLECTION,TEMPERATURE,HUMIDITY",
                  "3/14/26,08:00:00,250.1,0.0102,71.8,45", "3/14/26,09:00:00,250.0,0.0154,72.0,46",
                  "3/14/26,10:00:00,249.8,0.0181,72.3,46",
                  "3/14/26,11:00:00,250.2,0.0197,72.1,47"});
}

// Deflection alone, with LF line ends and a stray character before the title.
std::string loadReportWithoutForce() {
    return "x" + lines({"CONSTANT LOAD TEST DATA", "Kelvor 5120 serial 0902", "Force units in lbf",
                        "Deflection units in mm", "Sample: Foam 2", "", "", "", "", "3 points",
                        "DATE,TIME,DEFLECTION", "3/15/26,12:00:00,0.41", "3/15/26,12:30:00,0.57",
                        "3/15/26,13:00:00,0.66"},
                       "\n");
}

// The export's steps as the reader takes them, the same in both runs. `endApplication` makes
// the application end after that many more calls (recording only: the replay server ends by
// itself where the recording says so).
struct Drive {
    ExportContext& ctx;
    ChannelTable& channels;
    std::function<void(int)> endApplication;

    ExportOutcome report(int channel, std::string text) {
        ReportExportStep step(ctx);
        return step.exportReport(channel, text, "", channels[channel].WorkbookIndex);
    }
    void summarizeNow() {
        for (int n = 0; n < ChannelCount; ++n) {
            if (channels[n].Enabled != 0) {
                const ExportingChannel naming(ctx, n);
                SummarizeChannel(ctx, n, channels[n].ReceivedText, channels[n].WorkbookIndex);
            }
        }
    }
};

using Scenario = std::function<void(Drive&)>;

// What a run leaves for comparing the two.
struct RunResult {
    std::vector<std::string> messages;
    std::vector<std::int32_t> workbookIndexes;
    std::vector<std::string> outcomes;
};

std::string utf8(const std::wstring& text) {
    const int size = static_cast<int>(text.size());
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, out.data(), n, nullptr, nullptr);
    return out;
}

class ExcelReplay : public ::testing::Test {
protected:
    ExcelReplay() {
        replay::ReplayServerRun::unregister();
        channels[0].Description = "Pr\xC3\xBC"
                                  "fstand 2"; // "Prüfstand 2"
        channels[0].Enabled = 1;
        channels[1].Description = "Press B";
    }

    // Records the scenario into the built-in application, replays it through the back end
    // and checks that the server found no difference and was called for every recorded call.
    // Returns the replayed run. `duringReplay` runs between the two.
    RunResult check(const Scenario& scenario, RecorderOptions options = {},
                    const std::function<void()>& duringReplay = {}) {
        const RunResult replayed = recordAndReplay(scenario, options, duringReplay);
        EXPECT_EQ(replayed.messages, recorded.messages);
        EXPECT_EQ(replayed.workbookIndexes, recorded.workbookIndexes);
        EXPECT_EQ(replayed.outcomes, recorded.outcomes);
        EXPECT_EQ(results.size(), applications);
        std::size_t checked = 0;
        for (std::size_t i = 0; i < results.size(); ++i) {
            const replay::ServerResult& r = results[i];
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

    // `tamper` may change the recording before it is replayed.
    RunResult recordAndReplay(const Scenario& scenario, RecorderOptions options,
                              const std::function<void()>& duringReplay = {},
                              const std::function<void(std::vector<std::string>&)>& tamper = {}) {
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

    // The recorded cell writes of column A made by a Paste without the clipboard: a cell read
    // as Cells(row, 1) and its Value put at once. (row, value) in order.
    std::vector<std::pair<int, std::string>> columnAWrites() const {
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

    // How many recorded lines contain `text`.
    std::size_t recordedCount(const std::string& text) const {
        std::size_t n = 0;
        for (const std::string& line : recordedLines) {
            n += line.find(text) != std::string::npos ? 1 : 0;
        }
        return n;
    }

    std::filesystem::path workbooks() const { return dir.path() / "Workbooks"; }
    // Kept beside the test program, one per scenario, for reading and comparing.
    static std::filesystem::path recording() {
        const std::filesystem::path folder =
            replay::ReplayServerRun::serverProgram().parent_path() / "replay-recordings";
        std::filesystem::create_directories(folder);
        return folder /
               (std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                ".txt");
    }

    RunResult record(const Scenario& scenario, const RecorderOptions& options) {
        BuiltinApplicationFactory builtins(dir.path() / "Built-in");
        auto log = std::make_shared<CallLog>(options);
        replay::RecordingFactory factory(builtins, log);
        RunResult result =
            run(factory, scenario, [&](int calls) { log->endApplicationAfter(calls); });
        log->write(recording());
        recordedLines = log->lines();
        recordedCalls = log->calls();
        applications = 0;
        for (const std::string& line : log->lines()) {
            applications += line.starts_with("start ") ? 1 : 0;
        }
        return result;
    }

    RunResult replayRun(const Scenario& scenario) {
        replay::ReplayServerRun server(recording(), dir.path() / "Results");
        RunResult result;
        {
            com::ExcelApplicationFactory factory(workbooks());
            result = run(factory, scenario, [](int) {});
        }
        results = server.results(applications);
        return result;
    }

    RunResult run(xl::ApplicationFactory& factory, const Scenario& scenario,
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

    TempDir dir;
    ChannelTable channels;
    float traceOffset = 0.5F;
    std::vector<ExportOutcome> outcomes; // what the scenario's reports became
    RunResult recorded;
    std::vector<std::string> recordedLines;
    std::size_t recordedCalls = 0;
    std::size_t applications = 0;
    std::vector<replay::ServerResult> results;
};

TEST_F(ExcelReplay, ConstantRateAndConstantLoadReports) {
    channels[1].Enabled = 1;
    const RunResult replayed = check([this](Drive& d) {
        outcomes.push_back(d.report(0, rateReport("612.5", "0.412")));
        outcomes.push_back(d.report(0, loadReport()));
        outcomes.push_back(d.report(1, loadReportWithoutForce()));
        outcomes.push_back(d.report(1, "no test report here\r\n"));
    });
    EXPECT_TRUE(replayed.messages.empty());
    // Each report reached the sheet through the system clipboard, which the server read.
    EXPECT_EQ(recordedCount("clipboard BSTR:\"CONSTANT "), 3U);
    // The description and the degree sign crossed as the same characters.
    EXPECT_EQ(recordedCount("Workbooks\\\\Pr\xC3\xBC"
                            "fstand 2 "),
              1U);
    EXPECT_EQ(recordedCount("(\xC2\xBA F)\""), 1U);
}

TEST_F(ExcelReplay, SummaryAndItsPlotOverSeveralRateReports) {
    traceOffset = 0.25F;
    const RunResult replayed = check([this](Drive& d) {
        outcomes.push_back(d.report(0, rateReport("612.5", "0.412")));
        outcomes.push_back(d.report(0, secondRateReport()));
        outcomes.push_back(d.report(0, rateReport("633.0", "0.430")));
    });
    EXPECT_TRUE(replayed.messages.empty());
    EXPECT_EQ(recordedCount("put FormulaR1C1 BSTR:\"='Data 3'!RC1 +  .5\""), 1U);
    EXPECT_EQ(recordedCount("put Name BSTR:\"Summary Plot\""), 3U);
    // Sheets told worksheet from chart sheet by their type information, across processes.
    ASSERT_EQ(results.size(), 1U);
    EXPECT_GT(results[0].typeInfo, 0U);
}

TEST_F(ExcelReplay, SummarizeNowWithAChannelThatNeverExported) {
    channels[1].Enabled = 1;
    const RunResult replayed = check([this](Drive& d) {
        outcomes.push_back(d.report(0, rateReport("612.5", "0.412")));
        outcomes.push_back(d.report(0, loadReport()));
        d.channels[0].ReceivedText = secondRateReport(); // cut off when the ports were closed
        d.summarizeNow();
    });
    EXPECT_TRUE(replayed.messages.empty());
    EXPECT_EQ(replayed.workbookIndexes[1], 2); // made by the summary, with its "Data 1"
    EXPECT_EQ(recordedCount("call SaveAs "), 2U);
    // Built after the first report, again after the load report (the summary stays), for the
    // report cut off, then once for each channel by Summarize Now.
    EXPECT_EQ(recordedCount("put Name BSTR:\"Summary\""), 5U);
}

TEST_F(ExcelReplay, DuplicateSheetNameShowsTheApplicationsError) {
    const RunResult replayed = check([this](Drive& d) {
        outcomes.push_back(d.report(0, loadReport()));
        outcomes.push_back(d.report(0, loadReport()));
        // The user deletes "Data 1": the next data sheet is to be "Data 2" again.
        d.ctx.application().Sheets()->Item(1)->Delete();
        outcomes.push_back(d.report(0, loadReport()));
    });
    // The server raised the recorded error as its own exception, number, source, description.
    EXPECT_EQ(recordedCount("put Name BSTR:\"Data 2\"\tERROR 1004 "), 1U);
    ASSERT_EQ(replayed.messages.size(), 1U);
    EXPECT_NE(replayed.messages[0].find("Error #  1004 was generated by KelvorReader2 Spreadsheet\r"
                                        "That name is already taken. Try a different one."),
              std::string::npos)
        << replayed.messages[0];
}

TEST_F(ExcelReplay, ApplicationEndingInTheMiddleOfAnExportIsReplaced) {
    const RunResult replayed = check([this](Drive& d) {
        outcomes.push_back(d.report(0, rateReport("612.5", "0.412")));
        // Shown and its workbooks read, then it is gone before the workbook is activated.
        d.endApplication(2);
        outcomes.push_back(d.report(0, secondRateReport()));
    });
    ASSERT_EQ(results.size(), 2U);
    EXPECT_NE(results[0].note.find("ended at"), std::string::npos) << results[0].note;
    EXPECT_TRUE(replayed.messages.empty());
    // The report landed in the new application's first workbook.
    EXPECT_EQ(replayed.workbookIndexes[0], 1);
    EXPECT_TRUE(replayed.outcomes[1].starts_with("pasted ")) << replayed.outcomes[1];
}

TEST_F(ExcelReplay, ADifferenceFailsTheCallAndIsTold) {
    const Scenario oneReport = [this](Drive& d) { outcomes.push_back(d.report(0, loadReport())); };
    // A Boolean where the recording has a 32-bit integer, and a named argument renamed.
    const std::vector<std::pair<std::string, std::string>> edits = {
        {"put ScreenUpdating BOOL:false", "put ScreenUpdating I4:0"},
        {"call TextToColumns Destination=", "call TextToColumns Target="}};
    for (const auto& [from, to] : edits) {
        const RunResult replayed =
            recordAndReplay(oneReport, {}, {}, [&](std::vector<std::string>& lines) {
                for (std::string& line : lines) {
                    if (const std::size_t at = line.find(from); at != std::string::npos) {
                        line.replace(at, from.size(), to);
                        break;
                    }
                }
            });
        ASSERT_FALSE(results.empty());
        EXPECT_NE(results[0].difference.find(to), std::string::npos) << results[0].difference;
        EXPECT_NE(results[0].difference.find("but received #"), std::string::npos);
        EXPECT_LT(results[0].checked, results[0].expected);
        ASSERT_FALSE(replayed.messages.empty());
        EXPECT_NE(replayed.messages[0].find("replay: "), std::string::npos);
    }
}

TEST_F(ExcelReplay, ReportLinesGoIntoColumnAWhenTheClipboardIsHeld) {
    HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread holder;
    const RunResult replayed = check(
        [this](Drive& d) {
            outcomes.push_back(d.report(0, loadReportWithoutForce()));
            outcomes.push_back(d.report(0, rateReport("612.5", "0.412")));
        },
        RecorderOptions{.clipboard = false, .workbookFolder = {}},
        [&] {
            // Another program holds the clipboard open for the whole replayed export.
            holder = std::thread([&] {
                HWND window = CreateWindowExW(0, L"STATIC", L"holder", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                              nullptr, nullptr, nullptr);
                const bool held = OpenClipboard(window) != FALSE;
                SetEvent(opened);
                WaitForSingleObject(done, INFINITE);
                if (held) {
                    CloseClipboard();
                }
                DestroyWindow(window);
            });
            WaitForSingleObject(opened, INFINITE);
        });
    SetEvent(done);
    holder.join();
    CloseHandle(opened);
    CloseHandle(done);
    EXPECT_TRUE(replayed.messages.empty());
    EXPECT_EQ(recordedCount("clipboard "), 0U);
    // Row 1 from the title on, the stray character dropped; empty lines stay empty cells.
    const auto writes = columnAWrites();
    ASSERT_GE(writes.size(), 10U);
    const std::vector<int> rows = {1, 2, 3, 4, 5, 10, 11, 12, 13, 14};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(writes[i].first, rows[i]);
    }
    EXPECT_EQ(writes[0].second, "BSTR:\"CONSTANT LOAD TEST DATA\"");
    EXPECT_EQ(writes[9].second, "BSTR:\"3/15/26,13:00:00,0.66\"");
}

} // namespace

} // namespace kelvor::test
