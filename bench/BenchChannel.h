#pragma once

// Channel workbooks in one built-in application, in a folder of their own, fed reports
// through the real export step.
#include "export/ExportContext.h"
#include "export/ReportExportStep.h"
#include "host/app/automation/BuiltinApplicationFactory.h"

#include "BenchReports.h"

#include <array>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace kelvor::bench {

// Channel 1's workbook already holding `earlierTests` 1,000-point tests. Released on destruction,
// where the last file write happens, outside any timing; the folder goes with it.
class BenchChannel {
public:
    BenchChannel(const std::string& name, int earlierTests)
        : folder_(std::filesystem::temp_directory_path() /
                  ("kelvor-bench-" + std::to_string(::getpid()) + "-" + name)) {
        for (int i = 0; i < earlierTests; ++i) {
            exportReport(rateReport(1000, i));
        }
    }
    ~BenchChannel() {
        ctx_.ExcelApp.reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    BenchChannel(const BenchChannel&) = delete;
    BenchChannel& operator=(const BenchChannel&) = delete;

    // `channel` from 0 to 5.
    void exportReport(std::string report, int channel = 0) {
        step_.exportReport(channel, report, "", workbookIndex_.at(channel));
    }

private:
    std::filesystem::path folder_;
    BuiltinApplicationFactory factory_{folder_};
    SilentPrompts prompts_;
    ChannelTable channels_;
    float traceOffset_ = 0.5F;
    ExportContext ctx_{factory_, prompts_, channels_, traceOffset_};
    ReportExportStep step_{ctx_};
    std::array<std::int32_t, 6> workbookIndex_{};
};

} // namespace kelvor::bench
