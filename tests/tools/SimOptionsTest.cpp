#include "SimOptions.h"

#include <gtest/gtest.h>

namespace kelvor {
namespace {

using Kind = SimCommand::Kind;

TEST(SimOptions, DefaultsMatchTheTesterLine) {
    const SimCommand command = parseSimCommand({"--pty", "a.txt"});
    ASSERT_EQ(command.kind, Kind::Run) << command.error;
    const PlayOptions& play = command.options.play;
    EXPECT_TRUE(command.options.pty);
    EXPECT_FALSE(command.options.waitForLine);
    EXPECT_FALSE(command.options.stepByLine);
    EXPECT_DOUBLE_EQ(play.rate, 960.0);
    EXPECT_DOUBLE_EQ(play.pause, 2.0);
    EXPECT_EQ(play.bursts, 1);
    EXPECT_DOUBLE_EQ(play.burstPause, 0.5);
    EXPECT_EQ(play.repeat, 1);
    EXPECT_DOUBLE_EQ(play.hold, 2.0);
    EXPECT_EQ(command.options.files, std::vector<std::string>{"a.txt"});
}

TEST(SimOptions, ReadsEveryOptionInBothSpellingsAndKeepsFileOrder) {
    const SimCommand command =
        parseSimCommand({"b.txt", "--device", "/dev/ttyS1", "--wait", "--step", "--rate=0",
                         "--pause", "0.25", "--bursts=3", "--burst-pause", "1.5", "a.txt",
                         "--repeat", "4", "--hold=0", "--", "--odd-name.txt"});
    ASSERT_EQ(command.kind, Kind::Run) << command.error;
    const SimOptions& options = command.options;
    EXPECT_EQ(options.device, "/dev/ttyS1");
    EXPECT_FALSE(options.pty);
    EXPECT_TRUE(options.waitForLine);
    EXPECT_TRUE(options.stepByLine);
    EXPECT_DOUBLE_EQ(options.play.rate, 0.0);
    EXPECT_DOUBLE_EQ(options.play.pause, 0.25);
    EXPECT_EQ(options.play.bursts, 3);
    EXPECT_DOUBLE_EQ(options.play.burstPause, 1.5);
    EXPECT_EQ(options.play.repeat, 4);
    EXPECT_DOUBLE_EQ(options.play.hold, 0.0);
    EXPECT_EQ(options.files, (std::vector<std::string>{"b.txt", "a.txt", "--odd-name.txt"}));
}

TEST(SimOptions, HelpWinsOverMissingArguments) {
    EXPECT_EQ(parseSimCommand({"--help"}).kind, Kind::Help);
    EXPECT_NE(simUsage().find("--burst-pause SEC"), std::string::npos);
}

TEST(SimOptions, RejectsBadCommandLinesWithAReason) {
    const std::vector<std::vector<std::string>> bad = {
        {"a.txt"},                                    // no line
        {"--pty", "--device", "/dev/ttyS0", "a.txt"}, // two lines
        {"--pty"},                                    // no file
        {"--pty", "--speed", "9", "a.txt"},           // unknown option
        {"--pty", "-r", "a.txt"},                     // unknown short option
        {"--pty", "a.txt", "--rate"},                 // value missing
        {"--pty", "--rate", "fast", "a.txt"},
        {"--pty", "--rate", "-5", "a.txt"},
        {"--pty", "--rate", "nan", "a.txt"},
        {"--pty", "--pause", "1.5s", "a.txt"},
        {"--pty", "--hold", "inf", "a.txt"},
        {"--pty", "--bursts", "0", "a.txt"},
        {"--pty", "--bursts", "2.5", "a.txt"},
        {"--pty", "--repeat", "99999999999", "a.txt"},
        {"--pty=yes", "a.txt"},
        {"--device=", "a.txt"},
    };
    for (const auto& args : bad) {
        const SimCommand command = parseSimCommand(args);
        EXPECT_EQ(command.kind, Kind::Invalid) << ::testing::PrintToString(args);
        EXPECT_FALSE(command.error.empty());
    }
}

} // namespace
} // namespace kelvor
