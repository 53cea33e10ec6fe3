#pragma once

#include "capture/ReportExport.h"
#include "platform/Prompts.h"
#include "platform/SerialPort.h"

#include <functional>
#include <iostream>
#include <string>
#include <utility>

namespace kelvor::screens {

// A line that opens and stays quiet, except for what is queued on it.
class QuietPort : public SerialPort {
public:
    void setCommPort(std::int16_t) override {}
    void setSettings(const std::string&) override {}
    void setHandshaking(int) override {}
    void setPortOpen(bool open) override { open_ = open; }
    bool portOpen() const override { return open_; }
    int inBufferCount() override { return static_cast<int>(queued.size()); }
    std::string input() override { return std::exchange(queued, {}); }
    std::string queued;

private:
    bool open_ = false;
};

// Messages go to the terminal: nobody is there to answer a box.
class NoPrompts : public Prompts {
public:
    PromptResult show(const std::string& text, const std::string&, PromptIcon,
                      PromptButtons) override {
        std::cerr << "message: " << text << "\n";
        return PromptResult::Ok;
    }
    void beep() override {}
};

// The real export, with a chance to act while one channel's light says "To Excel": the light
// is painted red on the tick before its report is handed over, and stays red until the export
// returns.
class WatchedExport : public ReportExport {
public:
    explicit WatchedExport(ReportExport& inner) : inner_(inner) {}

    // Runs `action` once, when the next report of `channel` is handed over.
    void whileExporting(int channel, std::function<void()> action) {
        channel_ = channel;
        action_ = std::move(action);
    }

    using ReportExport::exportReport;
    ExportOutcome exportReport(int channel, std::string& reportText, const ReportOrigin& origin,
                               std::int32_t& workbookIndex) override {
        if (channel == channel_ && action_) {
            std::exchange(action_, {})();
        }
        return inner_.exportReport(channel, reportText, origin, workbookIndex);
    }

private:
    ReportExport& inner_;
    int channel_ = -1;
    std::function<void()> action_;
};

} // namespace kelvor::screens
