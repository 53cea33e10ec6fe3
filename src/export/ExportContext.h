#pragma once

#include "capture/ChannelInfo.h"
#include "export/Spreadsheet.h"
#include "export/SummaryMemo.h"
#include "platform/Prompts.h"
#include "util/LocalTime.h"

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
    // Whether the newest report was recognised and went onto a data sheet, and that sheet.
    bool ReportPasted = false;
    std::string DataSheetName;
    // Whether the newest AddDataSheet removed the workbook's summary sheets.
    bool SummaryTakenAway = false;
    // While a received report is exported: the file that keeps it as received.
    std::string ReportArchiveFile;
    // ... and why it was cut short; empty when it was not.
    std::string ReportCutShortBy;
    // Error boxes shown by the export procedures so far.
    int MessagesShown = 0;
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

} // namespace kelvor
