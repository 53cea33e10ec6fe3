#include "host/xlsx/XlsxError.h"
#include "util/PathText.h"

namespace kelvor {

XlsxError::XlsxError(std::string reason) : std::runtime_error(reason), reason_(std::move(reason)) {}

XlsxError::XlsxError(std::filesystem::path path, std::string reason)
    : std::runtime_error("Cannot write the workbook file " + utf8Of(path) + ": " + reason),
      path_(std::move(path)), reason_(std::move(reason)) {}

} // namespace kelvor
