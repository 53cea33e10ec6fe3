#include "capture/SerialCapture.h"

#include "FakeExport.h"
#include "FakeSerialPort.h"
#include "ManualTimer.h"
#include "RecordingLights.h"
#include "ScriptedPrompts.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace kelvor {
namespace {

const std::vector<std::string> OpenSequence = {"port 3", "settings 9600,N,8,1", "handshaking 2",
                                               "open"};

class SerialCaptureTest : public ::testing::Test {
protected:
    ChannelTable channels{};
    std::array<FakeSerialPort, ChannelCount> ports;
    ManualTimer commStart, commPoll, statusUpdate;
    RecordingLights lights;
    ScriptedPrompts prompts;
    FakeExport exporter;
    int setupShown = 0;
    SerialCapture capture{{channels,
                           {&ports[0], &ports[1], &ports[2], &ports[3], &ports[4], &ports[5]},
                           commStart,
                           commPoll,
                           statusUpdate,
                           lights,
                           prompts,
                           exporter,
                           [this] { ++setupShown; }}};

    void enable(std::initializer_list<int> which) {
        for (int n : which) {
            channels[n].Enabled = 1;
            channels[n].CommPort = n + 1;
        }
    }

    // Opens the given channels and lets the first repaint happen.
    void start(std::initializer_list<int> which) {
        enable(which);
        capture.CommOpen();
        runStatusTicks();
    }

    void receive(int n, const std::string& bytes) {
        ports[n].queueInput(bytes);
        capture.CommPollTick();
    }

    void quietTicks(int count) {
        for (int i = 0; i < count; ++i) {
            capture.CommPollTick();
        }
    }

    // Serves status ticks as long as the logic asks for them (bounded, to catch a loop).
    int runStatusTicks() {
        int ticks = 0;
        while (statusUpdate.isEnabled() && ticks < 20) {
            capture.StatusUpdateTick();
            ++ticks;
        }
        return ticks;
    }

    // Receives a whole report on channel n and lets it go out.
    void sendReport(int n, const std::string& text) {
        receive(n, text);
        quietTicks(11);
        runStatusTicks();
    }
};

TEST_F(SerialCaptureTest, OpenSetsUpEnabledPortsAndClosesDisabledOnes) {
    channels[1].Description = "Press B";
    channels[4].ReceivedText = "left over";
    ports[4].setPortOpen(true); // still open from before, now disabled
    ports[4].log.clear();
    channels[3].ReceivedText = "stale";
    enable({3});
    channels[3].CommPort = 3;

    capture.CommOpen();

    EXPECT_EQ(ports[3].log, OpenSequence);
    EXPECT_EQ(ports[4].log, std::vector<std::string>{"close"});
    EXPECT_TRUE(ports[1].log.empty());
    for (int n = 0; n < ChannelCount; ++n) {
        if (n != 3 && n != 4) {
            EXPECT_EQ(channels[n].Status, StatusOff) << n;
        }
    }
    // Text held from before is a received report, open port or not: it is exported.
    EXPECT_EQ(channels[3].Status, StatusComplete);
    EXPECT_EQ(channels[3].ReceivedText, "stale");
    EXPECT_EQ(channels[4].Status, StatusComplete);
    EXPECT_EQ(statusUpdate.enableRequests, 1);
    runStatusTicks();
    ASSERT_EQ(exporter.calls.size(), 2U);
    EXPECT_EQ(exporter.calls[0].report, "stale");
    EXPECT_EQ(exporter.calls[1].report, "left over");
    EXPECT_EQ(channels[3].Status, StatusReady);
    EXPECT_EQ(channels[4].Status, StatusOff);
    EXPECT_EQ(lights.tooltips[1], "Press B");
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(SerialCaptureTest, RetryRepeatsTheFailedOpenAndCarriesOn) {
    enable({0, 1, 2});
    ports[1].failOpen(1, 8005, "Port already open");
    prompts.script({PromptResult::Retry});

    capture.CommOpen();

    ASSERT_EQ(prompts.shown.size(), 1U);
    EXPECT_EQ(prompts.shown[0].text, "Communication Error: 8005\rPort already open");
    EXPECT_EQ(prompts.shown[0].title, "KelvorReader2");
    EXPECT_EQ(prompts.shown[0].icon, PromptIcon::Critical);
    EXPECT_EQ(prompts.shown[0].buttons, PromptButtons::RetryCancel);
    EXPECT_EQ(ports[1].log, (std::vector<std::string>{"port 2", "settings 9600,N,8,1",
                                                      "handshaking 2", "open", "open"}));
    EXPECT_TRUE(ports[1].portOpen());
    EXPECT_TRUE(ports[2].portOpen());
    EXPECT_EQ(channels[2].Status, StatusReady);
    EXPECT_EQ(statusUpdate.enableRequests, 1);
    EXPECT_EQ(setupShown, 0);
}

TEST_F(SerialCaptureTest, CancelClosesOpenedPortsAndShowsSetup) {
    enable({0, 1, 2, 3, 4, 5});
    ports[2].failOpen(1, 8002, "Invalid Port Number");
    prompts.script({PromptResult::Cancel});

    capture.CommStartTick();

    EXPECT_EQ(setupShown, 1);
    for (int n : {0, 1}) {
        EXPECT_EQ(ports[n].log.back(), "close") << n;
        EXPECT_EQ(channels[n].Status, StatusOff) << n;
    }
    EXPECT_FALSE(ports[2].portOpen());
    for (int n : {3, 4, 5}) {
        EXPECT_TRUE(ports[n].log.empty()) << n;
    }
    // Only the closing of channels 0 and 1 asks for a repaint; the open itself does not.
    EXPECT_EQ(statusUpdate.enableRequests, 2);
    EXPECT_FALSE(commStart.isEnabled());
    EXPECT_TRUE(commPoll.isEnabled());
}

TEST_F(SerialCaptureTest, PortNumberBeyondSixteenBitsIsAnOverflow) {
    for (int port : {32768, -32769}) {
        prompts.shown.clear();
        channels[0].Enabled = 1;
        channels[0].CommPort = port;
        prompts.script({PromptResult::Cancel});
        capture.CommOpen();
        ASSERT_EQ(prompts.shown.size(), 1U) << port;
        EXPECT_EQ(prompts.shown[0].text, "Communication Error: 6\rOverflow");
        EXPECT_TRUE(ports[0].log.empty());
    }
    channels[0].CommPort = 32767;
    capture.CommOpen();
    EXPECT_EQ(ports[0].log.front(), "port 32767");
    EXPECT_EQ(channels[0].Status, StatusReady);
}

TEST_F(SerialCaptureTest, CommCloseTurnsOffOnlyOpenPortsAndExportsWhatArrived) {
    start({0, 2});
    receive(0, "half a report");
    channels[1].Status = StatusReady; // a port that is not open keeps its status
    statusUpdate.enableRequests = 0;

    capture.CommClose();

    EXPECT_FALSE(ports[0].portOpen());
    EXPECT_EQ(channels[0].Status, StatusComplete);
    EXPECT_EQ(channels[0].ReceivedText, "half a report");
    EXPECT_EQ(channels[2].Status, StatusOff);
    EXPECT_EQ(channels[1].Status, StatusReady);
    EXPECT_EQ(statusUpdate.enableRequests, 2);

    runStatusTicks();
    ASSERT_EQ(exporter.calls.size(), 1U);
    EXPECT_EQ(exporter.calls[0].report, "half a report");
    EXPECT_EQ(channels[0].Status, StatusOff);
}

TEST_F(SerialCaptureTest, ReportNotTakenSurvivesReopeningThePorts) {
    // The export failed (it told the user) and kept the report; the user then went through
    // the setup dialog, which closes and reopens the ports.
    start({0});
    exporter.consume = false;
    sendReport(0, "CONSTANT RATE TEST DATA\r\n");
    EXPECT_EQ(channels[0].Status, StatusReady);
    capture.CommClose();
    runStatusTicks();
    EXPECT_EQ(channels[0].Status, StatusOff);

    exporter.consume = true;
    capture.CommOpen();
    runStatusTicks();
    ASSERT_EQ(exporter.calls.size(), 3U);
    EXPECT_EQ(exporter.calls[2].report, "CONSTANT RATE TEST DATA\r\n");
    EXPECT_EQ(channels[0].ReceivedText, "");
    EXPECT_EQ(channels[0].Status, StatusReady);
}

TEST_F(SerialCaptureTest, ReportCompletesOnTheEleventhQuietTick) {
    start({0});
    statusUpdate.enableRequests = 0;

    receive(0, "CONSTANT RATE");
    receive(0, " TEST DATA\r\n");
    EXPECT_EQ(channels[0].Status, StatusReceiving);
    EXPECT_EQ(channels[0].ReceivedText, "CONSTANT RATE TEST DATA\r\n");
    EXPECT_EQ(statusUpdate.enableRequests, 2);

    quietTicks(10);
    EXPECT_EQ(channels[0].Status, StatusReceiving);
    EXPECT_EQ(channels[0].IdleTicks, 10);
    EXPECT_EQ(statusUpdate.enableRequests, 2);

    // A burst inside the quiet period belongs to the same report and restarts the count.
    receive(0, "more");
    EXPECT_EQ(channels[0].IdleTicks, 0);
    quietTicks(10);
    EXPECT_EQ(channels[0].Status, StatusReceiving);
    quietTicks(1);
    EXPECT_EQ(channels[0].Status, StatusComplete);
    EXPECT_EQ(statusUpdate.enableRequests, 4);
    quietTicks(5);
    EXPECT_EQ(statusUpdate.enableRequests, 4);
}

TEST_F(SerialCaptureTest, LightsFollowTheReportThroughItsExport) {
    start({0, 1});
    EXPECT_EQ(lights.lastPaint(0)->colour, ColourYellow);
    EXPECT_EQ(lights.lastPaint(2)->colour, ColourButtonFace);
    EXPECT_EQ(lights.lastPaint(2)->caption, "");

    receive(0, "abcdefghij");
    capture.StatusUpdateTick();
    EXPECT_EQ(*lights.lastPaint(0), (RecordingLights::Paint{0, ColourGreen, "10"}));

    quietTicks(11);
    lights.paints.clear();
    capture.StatusUpdateTick();
    EXPECT_EQ(*lights.lastPaint(0), (RecordingLights::Paint{0, ColourRed, "To Excel"}));
    EXPECT_EQ(channels[0].Status, StatusExporting);
    EXPECT_TRUE(exporter.calls.empty()); // red first, export on the next tick
    EXPECT_TRUE(statusUpdate.isEnabled());

    lights.paints.clear();
    capture.StatusUpdateTick();
    ASSERT_EQ(exporter.calls.size(), 1U);
    EXPECT_EQ(exporter.calls[0].report, "abcdefghij");
    EXPECT_TRUE(lights.paintsOf(0).empty()); // the exporting light stays as it was
    EXPECT_EQ(channels[0].Status, StatusReady);
    EXPECT_EQ(channels[0].ReceivedText, "");

    capture.StatusUpdateTick();
    EXPECT_EQ(*lights.lastPaint(0), (RecordingLights::Paint{0, ColourYellow, ""}));
    EXPECT_FALSE(statusUpdate.isEnabled());

    channels[1].Status = 9;
    lights.paints.clear();
    capture.StatusUpdateTick();
    EXPECT_TRUE(lights.paintsOf(1).empty());
}

TEST_F(SerialCaptureTest, LightColourTable) {
    EXPECT_EQ(SerialCapture::lightColour(StatusOff), 0x8000000FU);
    EXPECT_EQ(SerialCapture::lightColour(StatusReady), 65535U);
    EXPECT_EQ(SerialCapture::lightColour(StatusReceiving), 65280U);
    EXPECT_EQ(SerialCapture::lightColour(StatusComplete), 255U);
    EXPECT_EQ(SerialCapture::lightColour(StatusExporting), 255U);
}

TEST_F(SerialCaptureTest, InputWhileWaitingForExportRestartsTheReport) {
    start({0});
    for (bool waitForExportTick : {false, true}) {
        receive(0, "first ");
        quietTicks(11);
        if (waitForExportTick) {
            capture.StatusUpdateTick(); // red, now Exporting
        }
        receive(0, "second");
        EXPECT_EQ(channels[0].Status, StatusReceiving);
        runStatusTicks();
        EXPECT_TRUE(exporter.calls.empty());

        quietTicks(11);
        runStatusTicks();
        ASSERT_EQ(exporter.calls.size(), 1U);
        EXPECT_EQ(exporter.calls[0].report, "first second");
        exporter.calls.clear();
    }
}

TEST_F(SerialCaptureTest, TwoChannelsCompletingTogetherExportInChannelOrderInOneTick) {
    start({0, 3, 5});
    ports[5].queueInput("five");
    ports[3].queueInput("three");
    capture.CommPollTick();
    quietTicks(11);

    capture.StatusUpdateTick();
    capture.StatusUpdateTick();

    ASSERT_EQ(exporter.calls.size(), 2U);
    EXPECT_EQ(exporter.calls[0].channel, 3);
    EXPECT_EQ(exporter.calls[1].channel, 5);
    EXPECT_EQ(exporter.calls[1].report, "five");
}

TEST_F(SerialCaptureTest, DisabledOrUnopenedChannelIsNeverRead) {
    enable({1, 2});
    ports[2].failOpen(1, 8010, "The specified port is not available");
    prompts.script({PromptResult::Cancel});
    capture.CommOpen(); // channel 1 is closed again
    ports[0].queueInput("noise");
    ports[1].queueInput("noise");
    ports[2].queueInput("noise");

    quietTicks(3);
    runStatusTicks();

    for (int n : {0, 1, 2}) {
        EXPECT_EQ(ports[n].countReads, 0) << n;
        EXPECT_EQ(channels[n].Status, StatusOff) << n;
        EXPECT_EQ(lights.lastPaint(n)->colour, ColourButtonFace) << n;
    }
    EXPECT_TRUE(exporter.calls.empty());
}

TEST_F(SerialCaptureTest, NestedStatusTickDuringExportDoesNotExportTheSameChannelAgain) {
    start({0, 1});
    receive(0, "zero");
    receive(1, "one");
    quietTicks(11);
    capture.StatusUpdateTick();

    int nested = 0;
    exporter.during = [&](int channel) {
        if (channel == 0 && nested++ == 0) {
            capture.StatusUpdateTick(); // a message box of the export lets the tick through
        }
    };
    capture.StatusUpdateTick();

    ASSERT_EQ(exporter.calls.size(), 2U);
    EXPECT_EQ(exporter.calls[0].channel, 0);
    EXPECT_EQ(exporter.calls[1].channel, 1); // done by the nested tick, not repeated after
    runStatusTicks();
    EXPECT_EQ(exporter.calls.size(), 2U);
    EXPECT_EQ(channels[0].Status, StatusReady);
    EXPECT_EQ(channels[1].Status, StatusReady);
}

TEST_F(SerialCaptureTest, InputDuringExportIsKeptAndExportedAfterItsOwnQuietPeriod) {
    start({0});
    exporter.during = [&](int) {
        exporter.during = nullptr;
        receive(0, "next report");
        capture.StatusUpdateTick();
    };
    sendReport(0, "first report");

    ASSERT_EQ(exporter.calls.size(), 1U);
    EXPECT_EQ(exporter.calls[0].report, "first report");
    EXPECT_EQ(channels[0].Status, StatusReceiving);
    EXPECT_EQ(channels[0].ReceivedText, "next report");

    quietTicks(11);
    runStatusTicks();
    ASSERT_EQ(exporter.calls.size(), 2U);
    EXPECT_EQ(exporter.calls[1].report, "next report");
    EXPECT_EQ(channels[0].Status, StatusReady);
}

TEST_F(SerialCaptureTest, ReportNotTakenByTheExportGoesOutWithTheNextOne) {
    start({0});
    exporter.consume = false;
    exporter.during = [&](int) { receive(0, "+late"); };
    sendReport(0, "kept");
    EXPECT_EQ(channels[0].ReceivedText, "kept+late");
    EXPECT_EQ(channels[0].Status, StatusReceiving);

    exporter.consume = true;
    exporter.during = nullptr;
    quietTicks(11);
    runStatusTicks();
    sendReport(0, "+next");

    ASSERT_EQ(exporter.calls.size(), 3U);
    EXPECT_EQ(exporter.calls[1].report, "kept+late");
    EXPECT_EQ(exporter.calls[2].report, "+next");

    exporter.consume = false;
    sendReport(0, "A");
    EXPECT_EQ(channels[0].Status, StatusReady);
    exporter.consume = true;
    sendReport(0, "B");
    EXPECT_EQ(exporter.calls.back().report, "AB");
}

TEST_F(SerialCaptureTest, ClosingThePortsDuringAnExportLeavesTheChannelOff) {
    start({0});
    exporter.during = [&](int) { capture.CommClose(); };
    sendReport(0, "report");
    EXPECT_EQ(exporter.calls.size(), 1U);
    EXPECT_EQ(channels[0].Status, StatusOff);
}

TEST_F(SerialCaptureTest, ExportThatThrowsKeepsTheReportForAnotherTry) {
    start({0});
    exporter.during = [](int) { throw std::runtime_error("host gone"); };
    receive(0, "report");
    quietTicks(11);
    capture.StatusUpdateTick();
    EXPECT_THROW(capture.StatusUpdateTick(), std::runtime_error);
    EXPECT_EQ(channels[0].ReceivedText, "report");

    exporter.during = nullptr;
    capture.StatusUpdateTick();
    EXPECT_EQ(exporter.calls.size(), 2U);
    EXPECT_EQ(exporter.calls[1].report, "report");
    EXPECT_EQ(channels[0].Status, StatusReady);
}

TEST_F(SerialCaptureTest, VanishedPortStillExportsWhatWasReceived) {
    start({0, 1, 2});
    receive(0, "partial");
    receive(1, "partial too");
    ports[0].vanish();
    ports[1].breakReads(8012, "The device is not open");
    ports[2].vanish(); // idle at the time

    capture.CommPollTick();
    EXPECT_EQ(channels[0].Status, StatusComplete);
    EXPECT_EQ(channels[1].Status, StatusComplete);
    EXPECT_EQ(channels[2].Status, StatusOff);
    EXPECT_EQ(ports[1].log.back(), "close");
    EXPECT_TRUE(statusUpdate.isEnabled());

    runStatusTicks();
    ASSERT_EQ(exporter.calls.size(), 2U);
    EXPECT_EQ(exporter.calls[0].report, "partial");
    EXPECT_EQ(exporter.calls[1].report, "partial too");
    for (int n : {0, 1, 2}) {
        EXPECT_EQ(channels[n].Status, StatusOff) << n;
        EXPECT_EQ(lights.lastPaint(n)->colour, ColourButtonFace) << n;
    }
    quietTicks(3);
    EXPECT_EQ(exporter.calls.size(), 2U);
}

TEST_F(SerialCaptureTest, BinaryBytesAndMegabytesArriveUnchanged) {
    start({0});
    std::string binary;
    for (int b = 0; b < 256; ++b) {
        binary.push_back(static_cast<char>(b));
    }
    std::string expected;
    for (int chunk = 0; chunk < 4; ++chunk) { // 1 MiB a tick, no pause in between
        const std::string piece = binary + std::string(1024 * 1024 - 256, static_cast<char>(chunk));
        receive(0, piece);
        expected += piece;
    }
    capture.StatusUpdateTick();
    EXPECT_EQ(lights.lastPaint(0)->caption, std::to_string(expected.size()));

    quietTicks(11);
    runStatusTicks();
    ASSERT_EQ(exporter.calls.size(), 1U);
    EXPECT_TRUE(exporter.calls[0].report == expected);
}

TEST_F(SerialCaptureTest, ExportMayRewriteTheWorkbookPosition) {
    start({2});
    channels[2].WorkbookIndex = 4;
    exporter.assignWorkbookIndex = 7;
    sendReport(2, "report");
    EXPECT_EQ(exporter.calls[0].workbookIndex, 4);
    EXPECT_EQ(channels[2].WorkbookIndex, 7);
}

} // namespace
} // namespace kelvor
