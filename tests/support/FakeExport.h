#pragma once

#include "capture/ReportExport.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kelvor {

// Records every export. Consumes the report (as a successful export does) unless told
// not to; `during` runs inside the call, standing in for the ticks a message box lets through.
class FakeExport : public ReportExport {
public:
    struct Call {
        int channel;
        std::string report;
        std::int32_t workbookIndex;
    };

    void exportReport(int channel, std::string& reportText, std::int32_t& workbookIndex) override;

    std::vector<Call> calls;
    bool consume = true;
    std::int32_t assignWorkbookIndex = 0; // written back when non-zero
    std::function<void(int channel)> during;
};

} // namespace kelvor
