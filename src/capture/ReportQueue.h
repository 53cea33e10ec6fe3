#pragma once

#include "capture/ChannelInfo.h"
#include "capture/ChannelName.h"
#include "capture/ReportExport.h"
#include "platform/Prompts.h"
#include "util/EventLog.h"

#include <array>
#include <cstddef>
#include <deque>
#include <string>

namespace kelvor {

// Complete reports waiting for their export, per channel, in the order they arrived. Each is
// handed to the export exactly once, one export at a time across all channels: whatever the
// export does with a report, it leaves the queue.
class ReportQueue {
public:
    struct Wiring {
        ChannelTable& channels;
        Prompts& prompts;
        ReportExport& exporter;
        EventLog* log = nullptr; // not owned; none: nothing is logged
    };

    explicit ReportQueue(Wiring wiring) : w_(wiring) {}

    void push(int channel, std::string text, ReportOrigin origin);
    std::size_t size(int channel) const { return queues_.at(index(channel)).size(); }
    bool empty(int channel) const { return queues_.at(index(channel)).empty(); }
    // An export is running (a message loop inside it may call back in here).
    bool exporting() const { return exporting_; }

    // Exports the channel's oldest report; does nothing while another export runs or when
    // nothing waits. Returns what the channel's light should tell of it: why a transmission
    // was dropped, empty otherwise.
    std::string exportOldest(int channel);

private:
    struct QueuedReport {
        std::string text;
        ReportOrigin origin;
    };

    static std::size_t index(int channel) { return static_cast<std::size_t>(channel); }
    void note(const std::string& event);

    Wiring w_;
    std::array<std::deque<QueuedReport>, ChannelCount> queues_;
    bool exporting_ = false;
};

} // namespace kelvor
