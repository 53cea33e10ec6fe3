// Cost of reopening batches at start: the journal read and every open batch's reports played
// again from the archive through the export step, writes held.
//
//   build/bench/kelvor_bench --benchmark_filter='Reopen/'
//   build/bench/kelvor_bench --benchmark_filter='Reopen/batches:6/tests:300/'
//
// The archive and the journal are written directly (as the reader would have left them), so
// the set-up does not pay for the exports of the first run; an untimed first start writes the
// workbooks' files, which the timed starts find as the reader would.
#include "batches/BatchReopening.h"
#include "export/ExportContext.h"
#include "host/app/automation/BuiltinApplicationFactory.h"
#include "platform/Prompts.h"

#include "BenchReports.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

using kelvor::bench::rateReport;
using kelvor::bench::SilentPrompts;

// A workbook folder whose journal has `batches` open batches of `tests` reports each.
std::filesystem::path preparedFolder(int batches, int tests, int points) {
    const auto folder = std::filesystem::temp_directory_path() /
                        ("kelvor-reopen-bench-" + std::to_string(::getpid()) + "-" +
                         std::to_string(batches) + "-" + std::to_string(tests));
    std::filesystem::remove_all(folder);
    kelvor::BatchJournal journal(kelvor::batchJournalPath(folder), kelvor::WallClock::now, {});
    journal.load({});
    for (int b = 0; b < batches; ++b) {
        const auto channelFolder = folder / "Received" / ("Channel " + std::to_string(b + 1));
        std::filesystem::create_directories(channelFolder);
        for (int t = 0; t < tests; ++t) {
            char name[64];
            std::snprintf(name, sizeof name, "2026-12-07 %02d-%02d-%02d.txt", t / 3600, t / 60 % 60,
                          t % 60);
            std::ofstream(channelFolder / name, std::ios::binary) << rateReport(points, t);
            journal.reported(b, "Channel " + std::to_string(b + 1) + " bench",
                             (channelFolder / name).string(), true, "", "", 0.5F);
        }
    }
    return folder;
}

struct Reopened {
    double ms;
    std::size_t reports;
};

// One start of the reader on the folder: its open batches reopened, their workbooks' files
// adopted when whole and written when not.
Reopened reopenOnce(const std::filesystem::path& folder) {
    const auto start = std::chrono::steady_clock::now();
    kelvor::BuiltinApplicationFactory factory(folder);
    SilentPrompts prompts;
    kelvor::ChannelTable channels;
    float traceOffset = 0.5F;
    kelvor::ExportContext ctx(factory, prompts, channels, traceOffset);
    kelvor::BatchJournal journal(kelvor::batchJournalPath(folder), kelvor::WallClock::now, {});
    journal.load({});
    const auto reopened =
        kelvor::reopenBatches({.exports = ctx,
                               .channels = channels,
                               .journal = journal,
                               .holdWrites = [&] { factory.holdWrites(); },
                               .adoptHeldWrites = [&] { factory.adoptHeldWrites(); },
                               .log = nullptr});
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    ctx.ExcelApp.reset(); // adopted: nothing to write
    return {took.count(), reopened.reports};
}

void Reopen(benchmark::State& state) {
    const int batches = static_cast<int>(state.range(0));
    const int tests = static_cast<int>(state.range(1));
    const int points = static_cast<int>(state.range(2));
    const auto folder = preparedFolder(batches, tests, points);
    // The earlier run left its workbooks' files behind; this start, untimed, writes them, as
    // none was written with the archive and journal.
    reopenOnce(folder);
    for (auto _ : state) {
        const auto reopened = reopenOnce(folder);
        state.SetIterationTime(reopened.ms / 1000.0);
        state.counters["reports"] = static_cast<double>(reopened.reports);
        state.counters["ms_per_report"] =
            reopened.ms / std::max(1.0, static_cast<double>(reopened.reports));
    }
    std::filesystem::remove_all(folder);
}

} // namespace

BENCHMARK(Reopen)
    ->ArgNames({"batches", "tests", "points"})
    ->Args({1, 30, 1000})
    ->Args({6, 300, 1000})
    ->Args({1, 1000, 1000})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
