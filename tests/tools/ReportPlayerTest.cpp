#include "ReportPlayer.h"
#include "SimFakes.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace kelvor {
namespace {

using test::FakeClock;
using test::RecordingSink;
using namespace std::chrono_literals;

std::string reportOf(int lines) {
    std::string text = "CONSTANT RATE TEST DATA\r\nForce units in lbf\r\n";
    for (int i = 0; i < lines; ++i) {
        text += "0." + std::to_string(1000 + i) + ",12" + std::to_string(i) + ".5\r\n";
    }
    return text;
}

PlayOptions unpaced() {
    PlayOptions options;
    options.rate = 0;
    options.pause = 0;
    options.burstPause = 0;
    options.hold = 0;
    return options;
}

TEST(ReportPlayer, SendsEveryFileByteForByteInOrderAndRepeats) {
    FakeClock clock;
    RecordingSink sink(clock);
    const ReportFile a{"a", reportOf(3) + "\xB0\xB5\r\n"};
    const ReportFile b{"b", "CONSTANT LOAD TEST DATA\r\n"};
    PlayOptions options = unpaced();
    options.repeat = 2;
    options.bursts = 3;
    const PlayResult result = ReportPlayer(clock, sink, options).play({a, b});
    EXPECT_EQ(sink.received, a.bytes + b.bytes + a.bytes + b.bytes);
    EXPECT_EQ(result.sent, sink.received.size());
    EXPECT_EQ(result.dropped, 0u);
}

TEST(ReportPlayer, PacesAtTheRateWithoutDriftWhenSleepsWakeLate) {
    FakeClock clock;
    clock.overshoot = 3ms; // every sleep wakes 3 ms late
    RecordingSink sink(clock);
    PlayOptions options = unpaced();
    options.rate = 1000; // 10-byte chunks every 10 ms
    const ReportFile file{"f", std::string(2000, 'x')};
    ReportPlayer(clock, sink, options).play({file});

    ASSERT_EQ(sink.writes.size(), 200u);
    for (std::size_t k = 0; k < sink.writes.size(); ++k) {
        EXPECT_EQ(sink.writes[k].bytes.size(), 10u);
        // Late by one overshoot at most, never by the sum of them.
        EXPECT_NEAR(sink.writes[k].at, 0.010 * static_cast<double>(k), 0.0031) << k;
    }
}

TEST(ReportPlayer, PausesBetweenBurstsAndFilesAndHoldsAfterTheLastByte) {
    FakeClock clock;
    RecordingSink sink(clock);
    PlayOptions options;
    options.rate = 100; // one byte a chunk, 10 ms each
    options.bursts = 2;
    options.burstPause = 0.5;
    options.pause = 2.0;
    options.hold = 1.5;
    const ReportFile file{"f", "ab\r\ncd\r\n"}; // two bursts of 4 bytes = 40 ms each
    ReportPlayer(clock, sink, options).play({file, file});

    ASSERT_EQ(sink.writes.size(), 16u);
    EXPECT_NEAR(sink.writes[3].at, 0.030, 1e-9);
    EXPECT_NEAR(sink.writes[4].at, 0.040 + 0.5, 1e-9); // second burst
    EXPECT_NEAR(sink.writes[8].at, 0.580 + 2.0, 1e-9); // second file
    EXPECT_NEAR(sink.writes[12].at, 2.620 + 0.5, 1e-9);
    EXPECT_NEAR(clock.secondsSinceStart(), 3.160 + 1.5, 1e-9);
}

TEST(ReportPlayer, ASlowReaderHoldsThePlayerBackWithoutLosingBytesOrRushingAfterwards) {
    FakeClock clock;
    RecordingSink sink(clock);
    sink.room = 25;
    sink.drainPerWait = 25;
    sink.waitCost = 400ms;
    PlayOptions options = unpaced();
    options.rate = 1000;
    const ReportFile file{"f", reportOf(20)};
    const PlayResult result = ReportPlayer(clock, sink, options).play({file});

    EXPECT_EQ(sink.received, file.bytes);
    EXPECT_EQ(result.dropped, 0u);
    EXPECT_GT(sink.waits, 0);
    for (std::size_t k = 1; k < sink.writes.size(); ++k) {
        const auto& previous = sink.writes[k - 1];
        // After a wait the next chunk still keeps its distance at the line's pace.
        EXPECT_GE(sink.writes[k].at - previous.at,
                  static_cast<double>(previous.bytes.size()) / 1000 - 1e-9)
            << k;
    }
}

TEST(ReportPlayer, ALineNobodyReadsDropsTheRestAfterOneStallInsteadOfHanging) {
    FakeClock clock;
    RecordingSink sink(clock);
    sink.room = 100; // a reader never drains the line
    PlayOptions options = unpaced();
    options.rate = 960;
    options.stallLimit = 5.0;
    const ReportFile file{"f", reportOf(200)};
    const PlayResult result = ReportPlayer(clock, sink, options).play({file, file});

    EXPECT_EQ(result.sent, 100u);
    EXPECT_EQ(result.dropped, 2 * file.bytes.size() - 100);
    // One stall of five seconds, then the rest of the schedule at line pace.
    const double playTime = 2.0 * static_cast<double>(file.bytes.size()) / 960;
    EXPECT_NEAR(clock.secondsSinceStart(), playTime + 5.0, 0.05);
    EXPECT_LE(sink.waits, 2);
}

TEST(ReportPlayer, TheLineRecoversWhenAReaderTurnsUpLate) {
    // Nothing is read until eight seconds in; from then on everything is.
    class LateReader : public RecordingSink {
    public:
        using RecordingSink::RecordingSink;
        FakeClock* clock = nullptr;
        std::size_t writeSome(std::string_view bytes) override {
            if (clock->secondsSinceStart() >= 8.0) {
                room = bytes.size();
            }
            return RecordingSink::writeSome(bytes);
        }
    };
    FakeClock clock;
    LateReader sink(clock);
    sink.clock = &clock;
    sink.room = 100;
    PlayOptions options = unpaced();
    options.rate = 960;
    options.stallLimit = 5.0;
    const ReportFile file{"f", reportOf(200)};
    const PlayResult result = ReportPlayer(clock, sink, options).play({file, file});

    EXPECT_GT(result.sent, file.bytes.size());
    EXPECT_EQ(result.sent + result.dropped, 2 * file.bytes.size());
    EXPECT_TRUE(std::string_view(sink.received).ends_with(file.bytes));
}

} // namespace
} // namespace kelvor
