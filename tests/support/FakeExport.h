#pragma once

#include "capture/ReportExport.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kelvor {

// Records every export. Consumes the report (as a successful export does) unless told
// not to, and then says it was pasted; `during` runs inside the call, standing in for the
// ticks a message loop lets through.
class FakeExport : public ReportExport {
public:
    struct Call {
        int channel;
        std::string report;
        std::int32_t workbookIndex;
        std::string archiveFile;
        std::string cutShortBy;
    };

    using ReportExport::exportReport;
    ExportOutcome exportReport(int channel, std::string& reportText, const ReportOrigin& origin,
                               std::int32_t& workbookIndex) override;

    std::vector<Call> calls;
    bool consume = true;
    bool notReport = false;               // consumed as a transmission that is no test report
    std::int32_t assignWorkbookIndex = 0; // written back when non-zero
    std::function<void(int channel)> during;
};

} // namespace kelvor
