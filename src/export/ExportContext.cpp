#include "export/ExportContext.h"

#include "Version.h"

namespace kelvor {

xl::Application& ExportContext::application() const {
    if (!ExcelApp) {
        throw xl::HostError(91, ProgramTitle, "Object variable or With block variable not set");
    }
    return *ExcelApp;
}

} // namespace kelvor
