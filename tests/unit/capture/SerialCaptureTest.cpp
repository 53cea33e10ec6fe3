#include "capture/SerialCapture.h"

#include "FakeExport.h"
#include "FakeSerialPort.h"
#include "ManualTimer.h"
#include "RecordingLights.h"
#include "ScriptedPrompts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

namespace kelvor {
namespace {

const std::vector<std::string> OpenSequence = {"port 3", "settings 9600,N,8,1", "handshaking 2",
                                               "open"};

// Keeps the archive's calls; each finished report gets a file named after its channel and
// number, "(cut short)" marked as the real archive marks it.
class RecordingArchive : public ReportArchive {
public:
    void begin(int channel) override { open[channel] = ""; }
    void append(int channel, std::string_view bytes) override { open[channel] += bytes; }
    std::string finish(int channel, bool cutShort) override {
        const std::string file = "ch" + std::to_string(channel) + "-" +
                                 std::to_string(files.size()) + (cutShort ? " (cut short)" : "");
        files.push_back({file, open[channel]});
        return file;
    }

    std::array<std::string, ChannelCount> open;
    std::vector<std::pair<std::string, std::string>> files; // name, bytes
};

class SerialCaptureTest : public ::testing::Test {
protected:
    ChannelTable channels{};
    std::array<FakeSerialPort, ChannelCount> ports;
    ManualTimer commStart, commPoll, statusUpdate;
    RecordingLights lights;
    ScriptedPrompts prompts;
    FakeExport exporter;
    RecordingArchive archive;
    int setupShown = 0;
    SerialCapture capture{{channels,
                           {&ports[0], &ports[1], &ports[2], &ports[3], &ports[4], &ports[5]},
                           commStart,
                           commPoll,
                           statusUpdate,
                           lights,
                           prompts,
                           exporter,
                           [this] { ++setupShown; },
                           &archive}};

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
    EXPECT_EQ(capture.queuedReports(3), 1U);
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

const std::string MissingDevice = "Invalid Port Number (/dev/ttyUSB2: No such file or directory)";

TEST_F(SerialCaptureTest, PortThatCannotOpenHoldsUpNoOtherChannelAndIsToldOnce) {
    enable({0, 1, 2, 3, 4, 5});
    channels[2].Description = "Press C";
    ports[2].failOpen(1000, 8002, MissingDevice);

    capture.CommStartTick();

    for (int n : {0, 1, 3, 4, 5}) {
        EXPECT_TRUE(ports[n].portOpen()) << n;
        EXPECT_EQ(channels[n].Status, StatusReady) << n;
    }
    EXPECT_TRUE(commPoll.isEnabled());
    EXPECT_EQ(setupShown, 0);
    ASSERT_EQ(prompts.shown.size(), 1U);
    const std::string& text = prompts.shown[0].text;
    EXPECT_EQ(text.rfind("Communication Error: 8002\r" + MissingDevice + "\r", 0), 0U) << text;
    EXPECT_NE(text.find("Channel 3 (Press C), port 3"), std::string::npos) << text;
    EXPECT_EQ(prompts.shown[0].buttons, PromptButtons::RetryCancel);
    EXPECT_EQ(prompts.shown[0].icon, PromptIcon::Critical);
    EXPECT_EQ(prompts.shown[0].title, "KelvorReader2");
    EXPECT_EQ(channels[2].Status, StatusOff);
    EXPECT_EQ(lights.tooltips[2], "Press C - not open: " + MissingDevice);

    // Nobody answers: the other channels record from the first tick.
    receive(1, "CONSTANT RATE TEST DATA\r\n");
    quietTicks(11);
    runStatusTicks();
    ASSERT_EQ(exporter.calls.size(), 1U);
    EXPECT_EQ(exporter.calls[0].channel, 1);
    EXPECT_EQ(lights.lastPaint(2)->colour, ColourButtonFace);
    EXPECT_TRUE(capture.lineLost(2));

    // Tried again every few seconds, quietly.
    ports[2].log.clear();
    quietTicks(SerialCapture::ReopenTicks * 3);
    EXPECT_EQ(std::count(ports[2].log.begin(), ports[2].log.end(), "open"), 3);
    EXPECT_EQ(prompts.shown.size(), 1U);
}

TEST_F(SerialCaptureTest, PortThatCannotOpenComesBackByItselfWhenTheDeviceAppears) {
    enable({0, 2});
    channels[2].Description = "Press C";
    ports[2].failOpen(2, 8002, MissingDevice);
    capture.CommStartTick();
    quietTicks(SerialCapture::ReopenTicks); // the second failure
    EXPECT_FALSE(ports[2].portOpen());

    quietTicks(SerialCapture::ReopenTicks);
    EXPECT_TRUE(ports[2].portOpen());
    EXPECT_FALSE(capture.lineLost(2));
    EXPECT_EQ(lights.tooltips[2], "Press C");
    runStatusTicks();
    EXPECT_EQ(lights.lastPaint(2)->colour, ColourYellow);
    receive(2, "CONSTANT RATE TEST DATA\r\n");
    quietTicks(11);
    runStatusTicks();
    ASSERT_EQ(exporter.calls.size(), 1U);
    EXPECT_EQ(exporter.calls[0].channel, 2);

    // Its box went when the port opened: no late Retry or Cancel can act on a channel that
    // records again (a Cancel would have stopped it and opened the setup).
    EXPECT_EQ(prompts.waitingQuestions(), 0U);
    EXPECT_EQ(prompts.withdrawn.size(), 1U);
    EXPECT_FALSE(prompts.answerQuestion(PromptResult::Cancel));
    EXPECT_TRUE(ports[2].portOpen());
    EXPECT_EQ(setupShown, 0);
}

TEST_F(SerialCaptureTest, RetryTriesAtOnceAndAsksAgainWhenItStillFails) {
    enable({0, 1});
    ports[1].failOpen(2, 8005, "Port already open (/dev/ttyUSB1: in use by another reader)");
    capture.CommOpen();
    ports[1].log.clear();

    ASSERT_TRUE(prompts.answerQuestion(PromptResult::Retry));
    EXPECT_EQ(ports[1].log, (std::vector<std::string>{"port 2", "settings 9600,N,8,1",
                                                      "handshaking 2", "open", "close"}));
    EXPECT_EQ(prompts.shown.size(), 2U);

    ASSERT_TRUE(prompts.answerQuestion(PromptResult::Retry));
    EXPECT_TRUE(ports[1].portOpen());
    EXPECT_EQ(prompts.waitingQuestions(), 0U);
    EXPECT_EQ(prompts.shown.size(), 2U);
    runStatusTicks();
    EXPECT_EQ(channels[1].Status, StatusReady);
    EXPECT_EQ(setupShown, 0);
}

TEST_F(SerialCaptureTest, CancelStopsTryingThatChannelOnlyAndShowsSetup) {
    enable({0, 1, 2});
    ports[1].failOpen(1000, 8010, "The port is not available (/dev/ttyUSB1: Permission denied)");
    capture.CommStartTick();
    receive(0, "first half ");

    ASSERT_TRUE(prompts.answerQuestion(PromptResult::Cancel));

    EXPECT_EQ(setupShown, 1);
    EXPECT_FALSE(capture.lineLost(1));
    EXPECT_EQ(ports[1].log.back(), "close");
    ports[1].log.clear();
    receive(0, "second half");
    quietTicks(SerialCapture::ReopenTicks * 2);
    EXPECT_TRUE(ports[1].log.empty());
    EXPECT_EQ(ports[1].countReads, 0);
    runStatusTicks();
    ASSERT_EQ(exporter.calls.size(), 1U);
    EXPECT_EQ(exporter.calls[0].report, "first half second half");
    EXPECT_TRUE(ports[0].portOpen());
    EXPECT_TRUE(ports[2].portOpen());
    EXPECT_EQ(channels[1].Status, StatusOff);

    // Opening the ports again (after the setup) tries it again, and tells it again.
    capture.CommOpen();
    EXPECT_EQ(prompts.shown.size(), 2U);
    EXPECT_TRUE(capture.lineLost(1));

    // Closing the ports on purpose (">>") ends the question with the waiting.
    capture.CommClose();
    EXPECT_EQ(prompts.waitingQuestions(), 0U);
    EXPECT_EQ(prompts.withdrawn.size(), 1U);
    capture.CommOpen();
    EXPECT_EQ(prompts.waitingQuestions(), 1U); // asked afresh, not thought still open
}

TEST_F(SerialCaptureTest, AnswerAfterTheCaptureHasGoneIsDropped) {
    ScriptedPrompts lateBoxes;
    {
        SerialCapture gone{{channels,
                            {&ports[0], &ports[1], &ports[2], &ports[3], &ports[4], &ports[5]},
                            commStart,
                            commPoll,
                            statusUpdate,
                            lights,
                            lateBoxes,
                            exporter,
                            [this] { ++setupShown; }}};
        enable({0});
        ports[0].failOpen(1, 8002, MissingDevice);
        gone.CommOpen();
    }
    EXPECT_TRUE(lateBoxes.answerQuestion(PromptResult::Cancel));
    EXPECT_EQ(setupShown, 0);
}

TEST_F(SerialCaptureTest, PortNumberBeyondSixteenBitsIsAnOverflow) {
    for (int port : {32768, -32769}) {
        prompts.shown.clear();
        prompts.answerQuestion(PromptResult::Cancel);
        channels[0].Enabled = 1;
        channels[0].CommPort = port;
        capture.CommOpen();
        ASSERT_EQ(prompts.shown.size(), 1U) << port;
        EXPECT_EQ(prompts.shown[0].text.rfind("Communication Error: 6\rOverflow\r", 0), 0U);
        EXPECT_EQ(std::count(ports[0].log.begin(), ports[0].log.end(), "open"), 0);
    }
    channels[0].CommPort = 32767;
    ports[0].log.clear();
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
    EXPECT_EQ(capture.queuedReports(0), 1U);
    EXPECT_EQ(channels[2].Status, StatusOff);
    EXPECT_EQ(channels[1].Status, StatusReady);
    EXPECT_EQ(statusUpdate.enableRequests, 2);

    runStatusTicks();
    ASSERT_EQ(exporter.calls.size(), 1U);
    EXPECT_EQ(exporter.calls[0].report, "half a report");
    EXPECT_EQ(channels[0].Status, StatusOff);
}

TEST_F(SerialCaptureTest, EveryReportIsArchivedAsReceivedBeforeItsExport) {
    start({0, 1});
    exporter.during = [&](int) {
        // By the time the export runs, the report is complete in its file.
        ASSERT_FALSE(archive.files.empty());
        EXPECT_EQ(archive.files.back().second, exporter.calls.back().report);
    };
    receive(0, "CONSTANT RATE");
    EXPECT_EQ(archive.open[0], "CONSTANT RATE"); // written as it arrives
    receive(0, " TEST DATA\r\n");
    quietTicks(11);
    runStatusTicks();
    receive(1, "cut off by the ");
    capture.CommClose();
    runStatusTicks();

    ASSERT_EQ(archive.files.size(), 2U);
    EXPECT_EQ(archive.files[0].first, "ch0-0");
    EXPECT_EQ(archive.files[0].second, "CONSTANT RATE TEST DATA\r\n");
    EXPECT_EQ(archive.files[1].first, "ch1-1 (cut short)");
    ASSERT_EQ(exporter.calls.size(), 2U);
    EXPECT_EQ(exporter.calls[0].archiveFile, "ch0-0");
    EXPECT_EQ(exporter.calls[1].archiveFile, "ch1-1 (cut short)");
    EXPECT_EQ(exporter.calls[1].report, "cut off by the ");
    // The export is told why, to say so on the sheet.
    EXPECT_EQ(exporter.calls[0].cutShortBy, "");
    EXPECT_EQ(exporter.calls[1].cutShortBy, "its port was closed");
}

TEST_F(SerialCaptureTest, ReportNotTakenLeavesTheQueueAndLaterReportsGoOn) {
    // The export failed on it and told the user; it is in the archive. Holding it in front
    // of the channel's text would make every later report fail the same way.
    start({0});
    exporter.consume = false;
    sendReport(0, "far too long");
    EXPECT_EQ(channels[0].Status, StatusReady);
    EXPECT_EQ(capture.queuedReports(0), 0U);

    exporter.consume = true;
    sendReport(0, "next");
    capture.CommClose();
    capture.CommOpen();
    runStatusTicks();
    ASSERT_EQ(exporter.calls.size(), 2U);
    EXPECT_EQ(exporter.calls[1].report, "next");
    EXPECT_EQ(channels[0].ReceivedText, "");
    EXPECT_EQ(channels[0].Status, StatusReady);
}

// Noise was told only by the beep: the light says it until the next report is exported.
TEST_F(SerialCaptureTest, DroppedTransmissionIsToldOnTheLightUntilTheNextReport) {
    channels[0].Description = "Press A";
    start({0});
    exporter.notReport = true;
    sendReport(0, "+++ATH0 NO CARRIER line noise 1234567");
    EXPECT_EQ(lights.tooltips[0], "Press A\nlast transmission was not a test report: 37 "
                                  "characters, kept in ch0-0");
    runStatusTicks();
    EXPECT_NE(lights.tooltips[0].find("not a test report"), std::string::npos);

    exporter.notReport = false;
    sendReport(0, "CONSTANT RATE TEST DATA\r\n");
    EXPECT_EQ(lights.tooltips[0], "Press A");
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

TEST_F(SerialCaptureTest, InputAfterTheQuietPeriodIsANewReportEvenBeforeTheExport) {
    start({0});
    for (bool waitForExportTick : {false, true}) {
        receive(0, "first");
        quietTicks(11);
        if (waitForExportTick) {
            capture.StatusUpdateTick(); // red, now Exporting
        }
        receive(0, "second");
        EXPECT_EQ(channels[0].Status, StatusReceiving);
        runStatusTicks(); // the complete one goes out meanwhile
        ASSERT_EQ(exporter.calls.size(), 1U);
        EXPECT_EQ(exporter.calls[0].report, "first");
        EXPECT_EQ(lights.lastPaint(0)->colour, ColourGreen);

        quietTicks(11);
        runStatusTicks();
        ASSERT_EQ(exporter.calls.size(), 2U);
        EXPECT_EQ(exporter.calls[1].report, "second");
        EXPECT_EQ(channels[0].Status, StatusReady);
        exporter.calls.clear();
    }
}

TEST_F(SerialCaptureTest, ReportsArrivingDuringAnExportQueueAndGoOutOneByOne) {
    // An export whose message loop runs long (a box nobody answers): the line keeps
    // delivering reports, each complete after its own quiet period.
    start({0, 1});
    int nested = 0;
    exporter.during = [&](int) {
        if (nested++ > 0) {
            return;
        }
        for (const char* report : {"two", "three", "four", "five"}) {
            receive(0, report);
            quietTicks(11);
            capture.StatusUpdateTick();
            capture.StatusUpdateTick();
        }
        receive(1, "other channel");
        quietTicks(11);
        capture.StatusUpdateTick();
        capture.StatusUpdateTick();
        EXPECT_EQ(exporter.calls.size(), 1U); // nothing runs beside the open export
        EXPECT_EQ(capture.queuedReports(0), 4U);
    };
    sendReport(0, "one");

    std::vector<std::string> channel0;
    for (const auto& call : exporter.calls) {
        if (call.channel == 0) {
            channel0.push_back(call.report);
        }
    }
    EXPECT_EQ(channel0, (std::vector<std::string>{"one", "two", "three", "four", "five"}));
    EXPECT_EQ(exporter.calls.size(), 6U);
    EXPECT_EQ(channels[0].Status, StatusReady);
    EXPECT_EQ(channels[1].Status, StatusReady);
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
    ports[2].failOpen(1000, 8010, "The specified port is not available");
    capture.CommOpen();
    channels[1].Enabled = 0;
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

TEST_F(SerialCaptureTest, NestedStatusTickDuringExportStartsNoSecondExport) {
    start({0, 1});
    receive(0, "zero");
    receive(1, "one");
    quietTicks(11);
    capture.StatusUpdateTick();

    int nested = 0;
    exporter.during = [&](int channel) {
        if (channel == 0 && nested++ == 0) {
            capture.StatusUpdateTick(); // a message loop of the export lets the tick through
            EXPECT_EQ(exporter.calls.size(), 1U);
        }
    };
    capture.StatusUpdateTick();
    runStatusTicks();

    ASSERT_EQ(exporter.calls.size(), 2U);
    EXPECT_EQ(exporter.calls[0].channel, 0);
    EXPECT_EQ(exporter.calls[1].channel, 1);
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

TEST_F(SerialCaptureTest, ClosingThePortsDuringAnExportLeavesTheChannelOff) {
    start({0});
    exporter.during = [&](int) { capture.CommClose(); };
    sendReport(0, "report");
    EXPECT_EQ(exporter.calls.size(), 1U);
    EXPECT_EQ(channels[0].Status, StatusOff);
}

TEST_F(SerialCaptureTest, ExportThatThrowsIsToldOnceNamingTheArchiveAndTheChannelGoesOn) {
    start({0});
    exporter.during = [](int) { throw std::runtime_error("host gone"); };
    sendReport(0, "report");
    ASSERT_EQ(prompts.shown.size(), 1U);
    EXPECT_NE(prompts.shown[0].text.find("host gone"), std::string::npos);
    EXPECT_NE(prompts.shown[0].text.find("kept as received in ch0-0"), std::string::npos);
    EXPECT_EQ(channels[0].Status, StatusReady);

    exporter.during = nullptr;
    sendReport(0, "next");
    EXPECT_EQ(exporter.calls.size(), 2U);
    EXPECT_EQ(exporter.calls[1].report, "next");
    EXPECT_EQ(prompts.shown.size(), 1U);
}

TEST_F(SerialCaptureTest, VanishedLineIsClosedExportsWhatArrivedAndComesBackQuietly) {
    start({0, 1, 2});
    receive(0, "partial");
    receive(1, "partial too");
    ports[0].vanish();
    ports[1].breakReads(8012, "The device is not open");
    ports[2].vanish(); // idle at the time

    capture.CommPollTick();
    for (int n : {0, 1, 2}) {
        EXPECT_FALSE(ports[n].held()) << n; // let go for real, not just marked
        EXPECT_TRUE(capture.lineLost(n)) << n;
    }
    EXPECT_EQ(channels[0].Status, StatusComplete);
    EXPECT_EQ(channels[1].Status, StatusComplete);
    EXPECT_EQ(channels[2].Status, StatusOff);
    EXPECT_TRUE(statusUpdate.isEnabled());

    runStatusTicks();
    ASSERT_EQ(exporter.calls.size(), 2U);
    EXPECT_EQ(exporter.calls[0].report, "partial");
    EXPECT_EQ(exporter.calls[0].archiveFile, "ch0-0 (cut short)");
    EXPECT_EQ(exporter.calls[0].cutShortBy, "the line was lost");
    EXPECT_EQ(exporter.calls[1].report, "partial too");
    EXPECT_EQ(exporter.calls[1].cutShortBy, "the line was lost");
    for (int n : {0, 1, 2}) {
        EXPECT_EQ(channels[n].Status, StatusOff) << n;
        EXPECT_EQ(lights.lastPaint(n)->colour, ColourButtonFace) << n;
    }

    // Tried again every few seconds, without reading and without a box.
    ports[2].log.clear();
    const int readsBefore = ports[2].countReads;
    quietTicks(SerialCapture::ReopenTicks - 1);
    EXPECT_TRUE(ports[2].log.empty());
    quietTicks(1);
    EXPECT_EQ(ports[2].log, (std::vector<std::string>{"port 3", "settings 9600,N,8,1",
                                                      "handshaking 2", "open", "close"}));
    EXPECT_EQ(ports[2].countReads, readsBefore);

    ports[0].reappear();
    ports[2].reappear();
    quietTicks(SerialCapture::ReopenTicks);
    EXPECT_TRUE(ports[0].portOpen());
    EXPECT_TRUE(ports[2].portOpen());
    EXPECT_FALSE(capture.lineLost(2));
    runStatusTicks();
    EXPECT_EQ(channels[2].Status, StatusReady);
    EXPECT_EQ(lights.lastPaint(2)->colour, ColourYellow);
    EXPECT_TRUE(prompts.shown.empty());
    sendReport(2, "after the return");
    EXPECT_EQ(exporter.calls.back().report, "after the return");
}

TEST_F(SerialCaptureTest, ClosingThePortsStopsWaitingForAVanishedLine) {
    start({0});
    ports[0].vanish();
    capture.CommPollTick();
    capture.CommClose(); // ">>": the user is changing the setup
    ports[0].reappear();
    ports[0].log.clear();
    quietTicks(2 * SerialCapture::ReopenTicks);
    EXPECT_TRUE(ports[0].log.empty());

    // And opening it again is no "Port already open", whatever state it was left in.
    capture.CommOpen();
    EXPECT_TRUE(ports[0].portOpen());
    EXPECT_TRUE(prompts.shown.empty());
    capture.CommOpen();
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(SerialCaptureTest, EndingFinishesEveryHeldReportWithoutTicks) {
    start({0, 1});
    receive(0, "first");
    quietTicks(11);
    receive(0, "second");
    quietTicks(11);
    EXPECT_EQ(capture.queuedReports(0), 2U);
    receive(1, "under way");

    capture.CommClose();
    capture.finishHeldReports();

    ASSERT_EQ(exporter.calls.size(), 3U);
    EXPECT_EQ(exporter.calls[0].report, "first");
    EXPECT_EQ(exporter.calls[1].report, "second");
    EXPECT_EQ(exporter.calls[2].report, "under way");
    EXPECT_EQ(exporter.calls[2].archiveFile, "ch1-2 (cut short)");
    EXPECT_EQ(exporter.calls[2].cutShortBy, "its port was closed");
    EXPECT_EQ(capture.queuedReports(0), 0U);
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
