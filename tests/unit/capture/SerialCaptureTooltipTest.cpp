// The lights' tooltips name the device behind each channel's port.
#include "capture/SerialCapture.h"

#include "FakeExport.h"
#include "FakeSerialPort.h"
#include "ManualTimer.h"
#include "RecordingLights.h"
#include "ScriptedPrompts.h"

#include <gtest/gtest.h>

namespace kelvor {
namespace {

class SerialCaptureTooltipTest : public ::testing::Test {
protected:
    ChannelTable channels{};
    std::array<FakeSerialPort, ChannelCount> ports;
    ManualTimer commStart, commPoll, statusUpdate;
    RecordingLights lights;
    ScriptedPrompts prompts;
    FakeExport exporter;
    SerialCapture capture{
        {.channels = channels,
         .ports = {&ports[0], &ports[1], &ports[2], &ports[3], &ports[4], &ports[5]},
         .commStart = commStart,
         .commPoll = commPoll,
         .statusUpdate = statusUpdate,
         .lights = lights,
         .prompts = prompts,
         .exporter = exporter,
         .showSetup = {},
         .deviceForPort = [](int port) {
             return port == 3   ? std::string("/dev/ttyUSB1")
                    : port >= 1 ? "/dev/ttyS" + std::to_string(port - 1)
                                : std::string();
         }}};

    void SetUp() override {
        for (int n = 0; n < ChannelCount; ++n) {
            channels[n].Description = "Press " + std::string(1, static_cast<char>('A' + n));
            channels[n].CommPort = n + 1;
        }
    }
    void runStatusTicks() {
        for (int ticks = 0; statusUpdate.isEnabled() && ticks < 20; ++ticks) {
            capture.StatusUpdateTick();
        }
    }
};

TEST_F(SerialCaptureTooltipTest, TheDeviceIsTheSecondLineWhateverTheLightTells) {
    channels[0].Enabled = 1;
    channels[0].CommPort = 3;
    channels[1].Enabled = 1;
    ports[1].failOpen(1000, 8002, "Invalid Port Number");
    channels[2].CommPort = 0; // a port number without a device
    capture.CommOpen();
    EXPECT_EQ(lights.tooltips[0], "Press A\nCom 3: /dev/ttyUSB1");
    EXPECT_EQ(lights.tooltips[1], "Press B - not open: Invalid Port Number\nCom 2: /dev/ttyS1");
    EXPECT_EQ(lights.tooltips[2], "Press C");
    EXPECT_EQ(lights.tooltips[5], "Press F\nCom 6: /dev/ttyS5"); // disabled, still wired

    exporter.notReport = true;
    ports[0].queueInput("line noise");
    for (int tick = 0; tick < 12; ++tick) {
        capture.CommPollTick();
    }
    runStatusTicks();
    const std::string& told = lights.tooltips[0];
    EXPECT_EQ(
        told.rfind("Press A\nCom 3: /dev/ttyUSB1\nlast transmission was not a test report", 0), 0U)
        << told;
}

} // namespace
} // namespace kelvor
