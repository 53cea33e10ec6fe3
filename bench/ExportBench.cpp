// Cost of one report export into a channel workbook that already holds earlier tests:
// data sheet, layout, chart, summary rebuild and the workbook file write.
//
//   build/bench/kelvor_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only
//   build/bench/kelvor_bench --benchmark_filter='RateExport/100/'   (one size per process for
//                                                                     a fair peak-memory figure)
//   build/bench/kelvor_bench --benchmark_filter='RoundsAfter/earlier:300/'
//                                        (what `./dev bench` runs: the median of three exports)
//   build/bench/kelvor_bench --benchmark_filter=HeadinglessExport
//                                        (a report without its heading line)
#include "export/ExportContext.h"
#include "export/ReportExportStep.h"
#include "host/app/automation/BuiltinApplicationFactory.h"
#include "platform/Prompts.h"

#include "BenchChannel.h"
#include "BenchReports.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

using kelvor::bench::BenchChannel;
using kelvor::bench::rateReport;

long peakRssKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void RateExport(benchmark::State& state) {
    const int earlierTests = static_cast<int>(state.range(0));
    const int points = static_cast<int>(state.range(1));
    BenchChannel channel(std::to_string(earlierTests) + "-" + std::to_string(points), earlierTests);
    int seed = earlierTests;
    for (auto _ : state) {
        channel.exportReport(rateReport(points, seed++));
    }
    state.counters["peak_rss_MiB"] = static_cast<double>(peakRssKiB()) / 1024.0;
}

// Three 1,000-point exports after `earlier` ones, each timed on its own; the median and the
// process's peak memory go into counters for `./dev bench` to print beside the C peer's.
void RoundsAfter(benchmark::State& state) {
    const int earlierTests = static_cast<int>(state.range(0));
    std::vector<double> roundsMs;
    {
        BenchChannel channel("rounds-" + std::to_string(earlierTests), earlierTests);
        int seed = earlierTests;
        for (auto _ : state) {
            std::string report = rateReport(1000, seed++);
            const auto start = std::chrono::steady_clock::now();
            channel.exportReport(std::move(report));
            const std::chrono::duration<double, std::milli> took =
                std::chrono::steady_clock::now() - start;
            roundsMs.push_back(took.count());
            state.SetIterationTime(took.count() / 1000.0);
        }
        state.counters["peak_rss_MiB"] = static_cast<double>(peakRssKiB()) / 1024.0;
    }
    std::sort(roundsMs.begin(), roundsMs.end());
    state.counters["median_ms"] = roundsMs[roundsMs.size() / 2];
}

// A report whose heading line is misspelt, into a fresh workbook: the export looks for the
// heading through every row the data sheet can hold (32757) before it tells the operator, and
// must end far below what one would take for a hang (a second or two).
void HeadinglessExport(benchmark::State& state) {
    BenchChannel channel("headingless", 0);
    int seed = 0;
    for (auto _ : state) {
        std::string report = rateReport(4, seed++);
        report.replace(report.find("DEFLECTION,FORCE"), 10, "DEFLECTIN");
        channel.exportReport(std::move(report));
    }
}

} // namespace

BENCHMARK(RoundsAfter)
    ->ArgName("earlier")
    ->Arg(10)
    ->Arg(100)
    ->Arg(300)
    ->Arg(1000)
    ->Arg(3000)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);

BENCHMARK(RateExport)
    ->ArgNames({"earlier", "points"})
    ->Args({100, 10})
    ->Args({100, 1000})
    ->Args({10, 1000})
    ->Args({300, 1000})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

BENCHMARK(HeadinglessExport)->Unit(benchmark::kMillisecond)->Iterations(10);

BENCHMARK_MAIN();
