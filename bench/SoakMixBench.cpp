// What an export costs in CPU as six channels' batches grow through the soak's mix of reports
// (`samples/*.txt` in turn, each channel from another one, as `bench/soak` plays them), without
// the serial lines: the soak's CPU a minute is flat only when the last exports of its batches
// cost about what the first did.
//
//   build/bench/kelvor_bench --benchmark_filter=SoakMix
//
// Each round exports one report to every channel. `first_ms` and `last_ms` are the mean CPU
// time (user and system) of an export in rounds 3–14 and in the last twelve; `growth` is their
// ratio less one.
#include "BenchChannel.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <fstream>
#include <iterator>
#include <numeric>
#include <sstream>
#include <vector>

namespace {

std::vector<std::string> sampleReports() {
    std::vector<std::filesystem::path> paths;
    for (const auto& entry : std::filesystem::directory_iterator(KELVOR_SAMPLES_DIR)) {
        if (entry.path().extension() == ".txt") {
            paths.push_back(entry.path());
        }
    }
    std::sort(paths.begin(), paths.end());
    std::vector<std::string> reports;
    for (const auto& path : paths) {
        std::ifstream in(path, std::ios::binary);
        reports.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return reports;
}

double cpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double meanOf(std::vector<double>::const_iterator first, std::vector<double>::const_iterator last) {
    return std::accumulate(first, last, 0.0) / static_cast<double>(std::distance(first, last));
}

void SoakMix(benchmark::State& state) {
    const auto reports = sampleReports();
    const auto rounds = static_cast<std::size_t>(state.range(0));
    constexpr std::size_t kWindow = 12;
    constexpr int kChannels = 6;
    for (auto _ : state) {
        kelvor::bench::BenchChannel channels("soak-mix", 0);
        std::vector<double> costs; // a round's, by export
        for (std::size_t i = 0; i < rounds; ++i) {
            const double start = cpuMs();
            for (int c = 0; c < kChannels; ++c) {
                channels.exportReport(reports[(i + c) % reports.size()], c);
            }
            costs.push_back((cpuMs() - start) / kChannels);
        }
        const double first = meanOf(costs.begin() + 2, costs.begin() + 2 + kWindow);
        const double last = meanOf(costs.end() - kWindow, costs.end());
        state.counters["first_ms"] = first;
        state.counters["last_ms"] = last;
        state.counters["growth"] = last / first - 1.0;
    }
}

} // namespace

// 120 rounds: what each channel of the ten-minute soak receives.
BENCHMARK(SoakMix)->Arg(120)->Unit(benchmark::kMillisecond)->Iterations(1);
