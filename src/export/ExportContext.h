#pragma once

#include "capture/ChannelInfo.h"
#include "export/Spreadsheet.h"
#include "export/SummaryMemo.h"
#include "platform/Prompts.h"
#include "util/LocalTime.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace kelvor {

// The values the export procedures share for the whole run, and the outside services they
// reach through. One instance lives as long as the main window.
struct ExportContext {
    ExportContext(xl::ApplicationFactory& applicationFactory, Prompts& promptService,
                  const ChannelTable& channels, float& traceOffset)
        : factory(applicationFactory), prompts(promptService), ChannelInfo(channels),
          SummaryTraceOffset(traceOffset) {}

    // The running spreadsheet application; empty until the first export needs one.
    std::shared_ptr<xl::Application> ExcelApp;
    // While a received report is exported: the file that keeps it as received.
    std::string ReportArchiveFile;
    // ... and why it was cut short; empty when it was not.
    std::string ReportCutShortBy;
    // The channel (0-5) whose report or summary is being exported, named by every error box
    // of the export; -1 in between.
    std::int32_t Channel = -1;
    // The window whose action runs the export (the setup dialog's "Summarize Now"): its boxes
    // stand in front of it. None: the main window.
    PromptOwner MessageOwner;
    // The time a new workbook is started at; its file is named after it.
    std::function<WallClock::time_point()> clock = [] { return WallClock::now(); };
    // The last summary of each workbook, for the next export to follow.
    SummaryMemos Summaries;

    xl::ApplicationFactory& factory;
    Prompts& prompts;
    const ChannelTable& ChannelInfo;
    float& SummaryTraceOffset;

    // ExcelApp, or the "object not set" error when no application was started yet.
    xl::Application& application() const;
};

// Names the channel, and the window the messages belong to, for as long as it lives.
class ExportingChannel {
public:
    ExportingChannel(ExportContext& ctx, std::int32_t channel, PromptOwner owner = {})
        : ctx_(ctx), channel_(ctx.Channel), owner_(ctx.MessageOwner) {
        ctx.Channel = channel;
        ctx.MessageOwner = owner;
    }
    ~ExportingChannel() {
        ctx_.Channel = channel_;
        ctx_.MessageOwner = owner_;
    }
    ExportingChannel(const ExportingChannel&) = delete;
    ExportingChannel& operator=(const ExportingChannel&) = delete;

private:
    ExportContext& ctx_;
    std::int32_t channel_;
    PromptOwner owner_;
};

} // namespace kelvor
