#pragma once

#include "capture/ChannelInfo.h"
#include "capture/ReportExport.h"
#include "capture/StatusLights.h"
#include "capture/Timer.h"
#include "platform/Prompts.h"
#include "platform/SerialPort.h"

#include <array>
#include <functional>

namespace kelvor {

// The six serial lines and the per-channel state machine that turns received characters
// into complete reports. Driven by three timers: CommStart opens the ports, CommPoll reads
// them, StatusUpdate repaints the lights and runs pending exports.
class SerialCapture {
public:
    struct Wiring {
        ChannelTable& channels;
        std::array<SerialPort*, ChannelCount> ports; // not owned
        Timer& commStart;
        Timer& commPoll;
        Timer& statusUpdate;
        StatusLights& lights;
        Prompts& prompts;
        ReportExport& exporter;
        std::function<void()> showSetup; // shown after Cancel of a communication error
    };

    explicit SerialCapture(Wiring wiring);

    void CommOpen();
    void CommClose();

    void CommStartTick();
    void CommPollTick();
    void StatusUpdateTick();

    // The light colour and caption a channel shows for its status.
    static std::uint32_t lightColour(std::int32_t status);

private:
    bool runOpenStep(const std::function<void()>& step);
    bool openChannel(int n);
    void pollChannel(int n);
    void exportChannel(int n);
    void portLost(int n);

    Wiring w_;
    std::array<bool, ChannelCount> exporting_{};
};

} // namespace kelvor
