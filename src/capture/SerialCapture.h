#pragma once

#include "capture/ChannelInfo.h"
#include "capture/ReportArchive.h"
#include "capture/ReportExport.h"
#include "capture/ReportQueue.h"
#include "capture/StatusLights.h"
#include "platform/Prompts.h"
#include "platform/SerialPort.h"
#include "platform/Timer.h"
#include "util/EventLog.h"

#include <array>
#include <functional>
#include <memory>
#include <string>

namespace kelvor {

// The six serial lines and the per-channel state machine that turns received characters
// into complete reports. Driven by three timers: CommStart opens the ports, CommPoll reads
// them, StatusUpdate repaints the lights and runs pending exports.
//
// Nothing received is lost and nothing waits for a person: every report is archived as it
// arrives, complete reports queue per channel and go to the export one at a time, in order,
// whatever the export does with them; a line that vanishes is closed and opened again by
// itself while its channel stays enabled. A port that cannot be opened is told once, in a box
// that holds nothing up, and tried again the same way until it opens or the box is cancelled.
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
        std::function<void()> showSetup;  // shown after Cancel of a communication error
        ReportArchive* archive = nullptr; // not owned; none: reports are not archived
        EventLog* log = nullptr;          // not owned; none: nothing is logged
        // The device behind a port number, named in the lights' tooltips; none: not named.
        std::function<std::string(int)> deviceForPort = {};
    };

    // Poll ticks between two tries to open a vanished or unopenable line again (about 3 s).
    static constexpr int ReopenTicks = 30;

    explicit SerialCapture(Wiring wiring);

    void CommOpen();
    void CommClose();

    void CommStartTick();
    void CommPollTick();
    void StatusUpdateTick();

    // At the end of the program: reports under way are finished as cut short and every
    // queued report is exported now, without waiting for ticks.
    void finishHeldReports();

    // Complete reports of a channel that wait for their export.
    std::size_t queuedReports(int channel) const;
    // Whether the channel's line vanished and is being waited for.
    bool lineLost(int channel) const { return lost_.at(static_cast<std::size_t>(channel)); }

    // The light colour and caption a channel shows for its status.
    static std::uint32_t lightColour(std::int32_t status);

private:
    void openPort(int n);
    void openChannel(int n);
    void openFailed(int n, const CommError& error);
    void answered(int n, PromptResult answer);
    void closePort(int n);
    void pollChannel(int n);
    void receive(int n, const std::string& input);
    // `cutShortBy` says why the report ended before its tester fell silent; empty when it
    // did not.
    void finishReport(int n, const std::string& cutShortBy);
    void exportNext(int n);
    void afterExport(int n);
    void portLost(int n, const std::string& why);
    void tryReopen(int n);
    void reopen(int n);
    void withdrawQuestion(int n);
    std::string channelName(int n) const;
    std::string tooltip(int n, const std::string& text) const;
    void note(const std::string& event);

    Wiring w_;
    ReportQueue queue_;
    std::array<bool, ChannelCount> opened_{}; // opened by us and not known to be gone
    std::array<bool, ChannelCount> lost_{};
    std::array<int, ChannelCount> reopenCountdown_{};
    std::array<bool, ChannelCount> asking_{}; // a box about the failed open waits for an answer
    std::array<QuestionId, ChannelCount> question_{}; // ... and names it
    // Answers that come after this object has gone are dropped.
    std::shared_ptr<SerialCapture*> self_ = std::make_shared<SerialCapture*>(this);
};

} // namespace kelvor
