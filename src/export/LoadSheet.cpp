#include "export/LoadSheet.h"

namespace kelvor {

// The constant-load rework and chart are not built yet.
void FormatLoadSheet(ExportContext& /*ctx*/, std::int32_t /*channel*/) {}

} // namespace kelvor
