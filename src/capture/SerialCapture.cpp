#include "capture/SerialCapture.h"

#include "Version.h"

#include <cassert>
#include <functional>
#include <limits>
#include <string>
#include <utility>

namespace kelvor {

namespace {

constexpr std::int32_t QuietTicksLimit = 10;
constexpr const char* LineSettings = "9600,N,8,1";
constexpr int RtsCtsHandshaking = 2;
constexpr const char* CompleteCaption = "To Excel";
// Why a report held when its port closes on purpose (setup, the end of the program) ended.
constexpr const char* PortClosed = "its port was closed";

// The serial control takes a 16-bit port number; anything wider is an overflow, as it was
// for the control itself.
std::int16_t narrowPortNumber(std::int32_t port) {
    if (port > std::numeric_limits<std::int16_t>::max() ||
        port < std::numeric_limits<std::int16_t>::min()) {
        throw CommError(6, "Overflow");
    }
    return static_cast<std::int16_t>(port);
}

std::string communicationErrorText(const CommError& error) {
    return "Communication Error: " + std::to_string(error.number()) + "\r" + error.description();
}

} // namespace

SerialCapture::SerialCapture(Wiring wiring)
    : w_(std::move(wiring)), queue_({w_.channels, w_.prompts, w_.exporter, w_.log}) {
    for ([[maybe_unused]] SerialPort* port : w_.ports) {
        assert(port != nullptr);
    }
}

std::uint32_t SerialCapture::lightColour(std::int32_t status) {
    switch (status) {
    case StatusReady:
        return ColourYellow;
    case StatusReceiving:
        return ColourGreen;
    case StatusComplete:
    case StatusExporting: // stays as painted when the report was found complete
        return ColourRed;
    default:
        return ColourButtonFace;
    }
}

std::size_t SerialCapture::queuedReports(int channel) const {
    return queue_.size(channel);
}

std::string SerialCapture::channelName(int n) const {
    return kelvor::channelName(w_.channels, n);
}

// The device goes on the second line: the first stays the channel's description, as the user
// wrote it, and what the light tells of its last transmission follows.
std::string SerialCapture::tooltip(int n, const std::string& text) const {
    const std::int32_t port = w_.channels[n].CommPort;
    const std::string device = w_.deviceForPort ? w_.deviceForPort(port) : std::string();
    if (device.empty()) {
        return text;
    }
    const std::string line = "Com " + std::to_string(port) + ": " + device;
    const auto firstLineEnd = text.find('\n');
    if (firstLineEnd == std::string::npos) {
        return text + "\n" + line;
    }
    return text.substr(0, firstLineEnd) + "\n" + line + text.substr(firstLineEnd);
}

void SerialCapture::note(const std::string& event) {
    if (w_.log != nullptr) {
        w_.log->write(event);
    }
}

// The steps that open a channel's port, in the order the serial control wants them.
void SerialCapture::openPort(int n) {
    SerialPort& port = *w_.ports[n];
    port.setCommPort(narrowPortNumber(w_.channels[n].CommPort));
    port.setSettings(LineSettings);
    port.setHandshaking(RtsCtsHandshaking);
    port.setPortOpen(true);
}

void SerialCapture::openChannel(int n) {
    ChannelRecord& ch = w_.channels[n];
    SerialPort& port = *w_.ports[n];
    lost_[n] = false;
    w_.lights.setTooltip(n, tooltip(n, ch.Description));
    if (ch.Enabled != 0) {
        // Opening a port that is open already is no error: it simply stays open.
        bool alreadyOpen = false;
        try {
            alreadyOpen = port.portOpen();
        } catch (const CommError&) {
        }
        if (alreadyOpen) {
            opened_[n] = true;
            ch.Status = StatusReady;
        } else {
            if (opened_[n]) {
                closePort(n); // open in the system, but its line is gone
            }
            try {
                openPort(n);
                opened_[n] = true;
                ch.Status = StatusReady;
                note(channelName(n) + ": port " + std::to_string(ch.CommPort) + " opened");
            } catch (const CommError& error) {
                openFailed(n, error);
            }
        }
    } else {
        bool open = opened_[n];
        try {
            open = port.portOpen() || open;
        } catch (const CommError&) {
        }
        if (open) {
            closePort(n);
        }
        ch.Status = StatusOff;
    }
    // Text still held was received: it is finished as a report and exported, not dropped.
    finishReport(n, PortClosed);
    if (!queue_.empty(n)) {
        ch.Status = StatusComplete;
    }
}

// The channel waits for its port like a vanished line does; the others go on. The box says
// so once and holds nothing up.
void SerialCapture::openFailed(int n, const CommError& error) {
    closePort(n);
    lost_[n] = true;
    reopenCountdown_[n] = ReopenTicks;
    ChannelRecord& ch = w_.channels[n];
    if (ch.Status != StatusComplete && ch.Status != StatusExporting) {
        ch.Status = StatusOff;
    }
    const std::string why = communicationErrorText(error);
    note(channelName(n) + ": opening port " + std::to_string(ch.CommPort) + " failed: " + why +
         "; tried again every few seconds");
    w_.lights.setTooltip(n, tooltip(n, ch.Description + " - not open: " + error.description()));
    if (asking_[n]) {
        return;
    }
    asking_[n] = true;
    std::weak_ptr<SerialCapture*> self = self_;
    question_[n] =
        w_.prompts.ask(why + "\r" + channelName(n) + ", port " + std::to_string(ch.CommPort) +
                           ": tried again every few seconds. Retry tries now; Cancel stops trying "
                           "and opens the setup.",
                       ProgramTitle, PromptIcon::Critical, [self, n](PromptResult answer) {
                           if (const auto capture = self.lock()) {
                               (*capture)->answered(n, answer);
                           }
                       });
    w_.statusUpdate.setEnabled(true);
}

// The box about a port that could not be opened goes once the port is open, or closed on
// purpose: an answer to it would come too late to mean anything.
void SerialCapture::withdrawQuestion(int n) {
    if (asking_[n]) {
        asking_[n] = false;
        w_.prompts.withdraw(std::exchange(question_[n], 0));
    }
}

// Whatever the answer, and whenever it comes, the other channels have gone on recording.
void SerialCapture::answered(int n, PromptResult answer) {
    asking_[n] = false;
    question_[n] = 0;
    const bool stillWaiting = lost_[n] && w_.channels[n].Enabled != 0;
    if (answer == PromptResult::Retry) {
        if (stillWaiting) {
            try {
                reopen(n);
            } catch (const CommError& error) {
                openFailed(n, error);
            }
        }
        return;
    }
    if (stillWaiting) {
        lost_[n] = false; // given up until the ports are opened again
        closePort(n);
        note(channelName(n) + ": no more tries to open port " +
             std::to_string(w_.channels[n].CommPort));
    }
    if (w_.showSetup) {
        w_.showSetup();
    }
}

void SerialCapture::CommOpen() {
    for (int n = 0; n < ChannelCount; ++n) {
        openChannel(n);
    }
    w_.statusUpdate.setEnabled(true);
}

// Closes the port for real, also one whose line is gone (it no longer reads as open, but
// the operating system still holds it).
void SerialCapture::closePort(int n) {
    opened_[n] = false;
    try {
        w_.ports[n]->setPortOpen(false);
    } catch (const CommError&) {
        // Gone either way; nothing more to release.
    }
}

void SerialCapture::CommClose() {
    for (int n = 0; n < ChannelCount; ++n) {
        SerialPort& port = *w_.ports[n];
        bool wasOpen = opened_[n];
        try {
            wasOpen = port.portOpen() || wasOpen;
        } catch (const CommError&) {
        }
        lost_[n] = false; // closed on purpose: nothing to wait for
        withdrawQuestion(n);
        if (!wasOpen) {
            continue;
        }
        closePort(n);
        // A report cut short by the closing is still archived and exported; a running or
        // waiting export finishes and turns the channel off itself.
        ChannelRecord& ch = w_.channels[n];
        finishReport(n, PortClosed);
        if (ch.Status != StatusExporting) {
            ch.Status = queue_.empty(n) ? StatusOff : StatusComplete;
        }
        w_.statusUpdate.setEnabled(true);
    }
}

void SerialCapture::CommStartTick() {
    w_.commStart.setEnabled(false);
    CommOpen();
    w_.commPoll.setEnabled(true);
}

void SerialCapture::CommPollTick() {
    for (int n = 0; n < ChannelCount; ++n) {
        pollChannel(n);
    }
}

void SerialCapture::pollChannel(int n) {
    ChannelRecord& ch = w_.channels[n];
    if (ch.Enabled == 0) {
        return;
    }
    if (lost_[n]) {
        tryReopen(n);
        return;
    }
    if (!opened_[n]) {
        return; // closed, or never opened: nothing to read
    }
    SerialPort& port = *w_.ports[n];
    std::string input;
    bool gotInput = false;
    try {
        if (!port.portOpen()) {
            portLost(n, "the port closed");
            return;
        }
        if (port.inBufferCount() != 0) {
            input = port.input();
            gotInput = true;
        }
    } catch (const CommError& error) {
        portLost(n, error.description());
        return;
    }

    if (gotInput) {
        receive(n, input);
        ch.IdleTicks = 0;
        ch.Status = StatusReceiving;
        w_.statusUpdate.setEnabled(true);
    } else if (ch.Status == StatusReceiving) {
        ++ch.IdleTicks;
    }
    if (ch.Status == StatusReceiving && ch.IdleTicks > QuietTicksLimit) {
        finishReport(n, {});
        ch.Status = StatusComplete;
        w_.statusUpdate.setEnabled(true);
    }
}

void SerialCapture::receive(int n, const std::string& input) {
    ChannelRecord& ch = w_.channels[n];
    if (ch.ReceivedText.empty() && w_.archive != nullptr) {
        w_.archive->begin(n);
    }
    if (w_.archive != nullptr) {
        w_.archive->append(n, input);
    }
    ch.ReceivedText += input;
}

// The text under way becomes a complete report in the channel's queue.
void SerialCapture::finishReport(int n, const std::string& cutShortBy) {
    ChannelRecord& ch = w_.channels[n];
    ch.IdleTicks = 0;
    if (ch.ReceivedText.empty()) {
        return;
    }
    const bool cutShort = !cutShortBy.empty();
    std::string file = w_.archive != nullptr ? w_.archive->finish(n, cutShort) : std::string();
    note(channelName(n) + ": report received, " + std::to_string(ch.ReceivedText.size()) +
         " bytes" + (cutShort ? ", cut short" : "") +
         (file.empty() ? ", not archived" : ", archived as " + file));
    queue_.push(n, std::exchange(ch.ReceivedText, {}), ReportOrigin{std::move(file), cutShortBy});
}

// The line went away under an enabled channel (adapter pulled, device error). Its port is
// closed for real, what was received so far still goes out as a report, and the line is
// tried again every few seconds.
void SerialCapture::portLost(int n, const std::string& why) {
    closePort(n);
    lost_[n] = true;
    reopenCountdown_[n] = ReopenTicks;
    note(channelName(n) + ": line lost (" + why + "); waiting for it to return");
    ChannelRecord& ch = w_.channels[n];
    finishReport(n, "the line was lost");
    if (ch.Status != StatusExporting) {
        ch.Status = queue_.empty(n) ? StatusOff : StatusComplete;
    }
    w_.statusUpdate.setEnabled(true);
}

// Quietly: nobody may be there to answer a box, and the next try comes by itself.
void SerialCapture::tryReopen(int n) {
    if (--reopenCountdown_[n] > 0) {
        return;
    }
    reopenCountdown_[n] = ReopenTicks;
    try {
        reopen(n);
    } catch (const CommError&) {
        closePort(n);
    }
}

// Opens the port of a channel that waits for its line; throws as the port does.
void SerialCapture::reopen(int n) {
    openPort(n);
    lost_[n] = false;
    opened_[n] = true;
    withdrawQuestion(n);
    ChannelRecord& ch = w_.channels[n];
    note(channelName(n) + ": line back, port " + std::to_string(ch.CommPort) + " opened again");
    w_.lights.setTooltip(n, tooltip(n, ch.Description));
    if (ch.Status == StatusOff) {
        ch.Status = StatusReady;
    }
    w_.statusUpdate.setEnabled(true);
}

void SerialCapture::StatusUpdateTick() {
    w_.statusUpdate.setEnabled(false);
    for (int n = 0; n < ChannelCount; ++n) {
        ChannelRecord& ch = w_.channels[n];
        switch (ch.Status) {
        case StatusOff:
        case StatusReady:
            w_.lights.paintLight(n, lightColour(ch.Status), "");
            break;
        case StatusReceiving:
            w_.lights.paintLight(n, ColourGreen, std::to_string(ch.ReceivedText.size()));
            break;
        case StatusComplete:
            // Painted now, exported on the next tick, so the user sees the red light first.
            w_.lights.paintLight(n, ColourRed, CompleteCaption);
            ch.Status = StatusExporting;
            w_.statusUpdate.setEnabled(true);
            continue;
        default:
            break;
        }
        exportNext(n);
    }
}

void SerialCapture::exportNext(int n) {
    // A message loop inside a running export may let this tick come round again; the
    // queued reports wait for that export to end.
    if (queue_.exporting()) {
        return;
    }
    if (!queue_.empty(n)) {
        // The light tells of the channel's last transmission beside its description.
        const std::string told = queue_.exportOldest(n);
        const std::string& description = w_.channels[n].Description;
        w_.lights.setTooltip(n, tooltip(n, told.empty() ? description : description + "\n" + told));
    }
    afterExport(n);
}

// The light goes back to ready once nothing is left to export; more reports ask for
// another tick each.
void SerialCapture::afterExport(int n) {
    ChannelRecord& ch = w_.channels[n];
    if (!queue_.empty(n)) {
        w_.statusUpdate.setEnabled(true);
        return;
    }
    if (ch.Status == StatusExporting) {
        bool open = false;
        try {
            open = opened_[n] && w_.ports[n]->portOpen();
        } catch (const CommError&) {
            open = false;
        }
        ch.Status = open ? StatusReady : StatusOff;
        w_.statusUpdate.setEnabled(true);
    }
}

void SerialCapture::finishHeldReports() {
    if (queue_.exporting()) {
        return; // the running export ends first; what waits is in the archive
    }
    for (int n = 0; n < ChannelCount; ++n) {
        finishReport(n, "the reader was closed");
        while (!queue_.empty(n)) {
            exportNext(n);
        }
    }
}

} // namespace kelvor
