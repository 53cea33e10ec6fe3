#include "export/ExportContext.h"

namespace kelvor {

xl::Application& ExportContext::application() const {
    if (!ExcelApp) {
        throw xl::programError(xl::ErrObjectNotSet);
    }
    return *ExcelApp;
}

} // namespace kelvor
