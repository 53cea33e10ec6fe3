#include "FdLine.h"
#include "ReportPlayer.h"
#include "SimIo.h"
#include "TerminalHolders.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
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

// A reader elsewhere still trying an old path of the same number would take the line away from
// the reader it was made for: such a pair is passed by, and held until a free one is found.
TEST(FdLine, APtyAnotherProcessHoldsIsPassedBy) {
    FdLine line = FdLine::openPty();
    EXPECT_FALSE(heldByAnotherProcess(line.path())); // its own slave does not count

    int opened[2];
    int release[2];
    ASSERT_EQ(::pipe(opened), 0);
    ASSERT_EQ(::pipe(release), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(release[1]); // or its read below would never see the end
        const int fd = ::open(line.path().c_str(), O_RDONLY | O_NOCTTY);
        char byte = fd >= 0 ? 'y' : 'n';
        (void)!::write(opened[1], &byte, 1);
        (void)!::read(release[0], &byte, 1); // until the test lets go
        ::_exit(0);
    }
    char answer = 0;
    ASSERT_EQ(::read(opened[0], &answer, 1), 1);
    ASSERT_EQ(answer, 'y');
    EXPECT_TRUE(heldByAnotherProcess(line.path()));
    ::close(release[1]);
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    EXPECT_FALSE(heldByAnotherProcess(line.path()));
    for (const int fd : {opened[0], opened[1], release[0]}) {
        ::close(fd);
    }
    EXPECT_FALSE(heldByAnotherProcess("/dev/null/none"));

    std::vector<std::string> seen;
    const FdLine fresh = FdLine::openPty([&](const std::string& device) {
        seen.push_back(device);
        return seen.size() == 1;
    });
    ASSERT_EQ(seen.size(), 2U);
    EXPECT_NE(seen[0], seen[1]);
    EXPECT_EQ(fresh.path(), seen[1]);
}

} // namespace
} // namespace kelvor
