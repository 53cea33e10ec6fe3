#include "FdLine.h"
#include "ReportPlayer.h"
#include "SimIo.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <thread>
#include <unistd.h>

namespace kelvor {
namespace {

using namespace std::chrono_literals;

TEST(FdLine, APlayedSampleArrivesUnchangedThroughThePty) {
    FdLine line = FdLine::openPty();
    UniqueFd reader(::open(line.path().c_str(), O_RDONLY | O_NOCTTY | O_CLOEXEC));
    ASSERT_TRUE(reader) << line.path();

    const std::string samples = std::string(KELVOR_SOURCE_DIR) + "/samples/";
    const ReportFile report{"core", test::readFile(samples + "rate-paper-core-n-mm-150.txt")};
    ASSERT_NE(report.bytes.find('\xB0'), std::string::npos); // a Windows-1252 degree sign
    const ReportFile awkward{"awkward", test::awkwardBytes()};
    const std::string expected = report.bytes + awkward.bytes + report.bytes;

    PlayOptions options;
    options.rate = 0;
    options.pause = 0;
    options.hold = 0;
    options.bursts = 3;
    options.burstPause = 0;
    SteadyPlayClock clock;
    PlayResult result;
    std::thread player([&] {
        result = ReportPlayer(clock, line, options).play({report, awkward, report});
    });
    const std::string got = test::readFor(reader.get(), expected.size(), 20s);
    player.join();

    EXPECT_EQ(result.dropped, 0u);
    ASSERT_EQ(got.size(), expected.size());
    EXPECT_TRUE(got == expected) << "bytes differ from the first one at "
                                 << std::mismatch(got.begin(), got.end(), expected.begin()).first -
                                        got.begin();
}

TEST(FdLine, APtyNobodyReadsFillsUpWithoutBlocking) {
    FdLine line = FdLine::openPty();
    const std::string block(4096, 'x');
    std::size_t total = 0;
    for (int i = 0; i < 1000; ++i) { // far more than any pty buffers
        const std::size_t n = line.writeSome(block);
        total += n;
        if (n == 0) {
            break;
        }
    }
    EXPECT_GT(total, 0u);
    EXPECT_LT(total, 1000u * block.size());
}

} // namespace
} // namespace kelvor
