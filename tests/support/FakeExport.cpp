#include "FakeExport.h"

namespace kelvor {

void FakeExport::exportReport(int channel, std::string& reportText, std::int32_t& workbookIndex) {
    calls.push_back({channel, reportText, workbookIndex});
    if (during) {
        during(channel);
    }
    if (assignWorkbookIndex != 0) {
        workbookIndex = assignWorkbookIndex;
    }
    if (consume) {
        reportText.clear();
    }
}

} // namespace kelvor
