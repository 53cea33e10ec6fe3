#include "capture/SerialCapture.h"

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
constexpr const char* ProgramTitle = "KelvorReader2";
constexpr const char* CompleteCaption = "To Excel";

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

SerialCapture::SerialCapture(Wiring wiring) : w_(std::move(wiring)) {
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

// Runs one step of opening the ports. A failure asks the user: Retry repeats the step,
// anything else abandons the whole open. Returns false when abandoned.
bool SerialCapture::runOpenStep(const std::function<void()>& step) {
    for (;;) {
        try {
            step();
            return true;
        } catch (const CommError& error) {
            const PromptResult answer =
                w_.prompts.show(communicationErrorText(error), ProgramTitle, PromptIcon::Critical,
                                PromptButtons::RetryCancel);
            if (answer != PromptResult::Retry) {
                return false;
            }
        }
    }
}

bool SerialCapture::openChannel(int n) {
    ChannelRecord& ch = w_.channels[n];
    SerialPort& port = *w_.ports[n];
    if (ch.Enabled != 0) {
        const bool opened = runOpenStep([&] { port.setCommPort(narrowPortNumber(ch.CommPort)); }) &&
                            runOpenStep([&] { port.setSettings(LineSettings); }) &&
                            runOpenStep([&] { port.setHandshaking(RtsCtsHandshaking); }) &&
                            runOpenStep([&] { port.setPortOpen(true); });
        if (!opened) {
            return false;
        }
        ch.Status = StatusReady;
    } else {
        const bool closed = runOpenStep([&] {
            if (port.portOpen()) {
                port.setPortOpen(false);
            }
        });
        if (!closed) {
            return false;
        }
        ch.Status = StatusOff;
    }
    w_.lights.setTooltip(n, ch.Description);
    // Text still held was received: a report the export has not taken yet, or one cut short
    // when the ports were closed. It goes out on the next status ticks instead of being
    // dropped here.
    if (!ch.ReceivedText.empty()) {
        ch.Status = StatusComplete;
    }
    return true;
}

void SerialCapture::CommOpen() {
    for (int n = 0; n < ChannelCount; ++n) {
        if (!openChannel(n)) {
            CommClose();
            if (w_.showSetup) {
                w_.showSetup();
            }
            return;
        }
    }
    w_.statusUpdate.setEnabled(true);
}

void SerialCapture::CommClose() {
    for (int n = 0; n < ChannelCount; ++n) {
        SerialPort& port = *w_.ports[n];
        bool wasOpen = false;
        try {
            wasOpen = port.portOpen();
            if (wasOpen) {
                port.setPortOpen(false);
            }
        } catch (const CommError&) {
            // A port that fails while closing is gone either way; closing goes on with the
            // others so none is left open behind it.
        }
        if (wasOpen) {
            // A report already received (or cut short by the closing) is still exported; a
            // running or waiting export finishes and turns the channel off itself.
            ChannelRecord& ch = w_.channels[n];
            if (ch.Status != StatusExporting) {
                ch.Status = ch.ReceivedText.empty() ? StatusOff : StatusComplete;
            }
            w_.statusUpdate.setEnabled(true);
        }
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
    SerialPort& port = *w_.ports[n];
    std::string input;
    bool gotInput = false;
    try {
        if (!port.portOpen()) {
            portLost(n);
            return;
        }
        if (port.inBufferCount() != 0) {
            input = port.input();
            gotInput = true;
        }
    } catch (const CommError&) {
        try {
            port.setPortOpen(false);
        } catch (const CommError&) {
            // Already gone; nothing more to release.
        }
        portLost(n);
        return;
    }

    if (gotInput) {
        ch.ReceivedText += input;
        ch.IdleTicks = 0;
        ch.Status = StatusReceiving;
        w_.statusUpdate.setEnabled(true);
    } else if (ch.Status == StatusReceiving) {
        ++ch.IdleTicks;
    }
    if (ch.Status == StatusReceiving && ch.IdleTicks > QuietTicksLimit) {
        ch.Status = StatusComplete;
        w_.statusUpdate.setEnabled(true);
    }
}

// The port went away under an enabled channel (adapter pulled, device error). What was
// received so far still goes out as a report; an idle channel simply turns off.
void SerialCapture::portLost(int n) {
    ChannelRecord& ch = w_.channels[n];
    if (ch.Status == StatusReceiving) {
        ch.Status = StatusComplete;
        w_.statusUpdate.setEnabled(true);
    } else if (ch.Status == StatusReady) {
        ch.Status = StatusOff;
        w_.statusUpdate.setEnabled(true);
    }
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
            break;
        case StatusExporting:
            exportChannel(n);
            break;
        default:
            break;
        }
    }
}

void SerialCapture::exportChannel(int n) {
    // A message box of a running export lets this tick come round again; that export
    // still owns the channel.
    if (exporting_[n]) {
        return;
    }
    ChannelRecord& ch = w_.channels[n];

    // The export works on its own copy so input arriving during its message boxes
    // collects separately instead of being emptied together with this report.
    std::string report = std::move(ch.ReceivedText);
    ch.ReceivedText.clear();

    exporting_[n] = true;
    try {
        w_.exporter.exportReport(n, report, ch.WorkbookIndex);
    } catch (...) {
        exporting_[n] = false;
        ch.ReceivedText.insert(0, report);
        throw;
    }
    exporting_[n] = false;

    const bool newInput = !ch.ReceivedText.empty();
    if (!report.empty()) {
        // Not taken: keep it in front of whatever came since, to go out with the next one.
        ch.ReceivedText.insert(0, report);
    }
    if (ch.Status == StatusExporting && !newInput) {
        bool open = false;
        try {
            open = w_.ports[n]->portOpen();
        } catch (const CommError&) {
            open = false;
        }
        ch.Status = open ? StatusReady : StatusOff;
    }
    w_.statusUpdate.setEnabled(true);
}

} // namespace kelvor
