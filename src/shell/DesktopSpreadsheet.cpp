#include "shell/DesktopSpreadsheet.h"

#ifdef _WIN32
#include "host/excel/ExcelApplication.h"
#endif

namespace kelvor {

std::unique_ptr<xl::ApplicationFactory> desktopSpreadsheet(const PlatformConfig& config,
                                                           const std::filesystem::path& folder,
                                                           std::string& said) {
    std::string why;
    if (config.spreadsheet == SpreadsheetChoice::Automatic && !config.spreadsheetValue.empty()) {
        why = " (the settings' Application=" + config.spreadsheetValue + " names neither)";
    }
#ifdef _WIN32
    const bool excel = config.spreadsheet == SpreadsheetChoice::Excel ||
                       (config.spreadsheet == SpreadsheetChoice::Automatic && [] {
                           com::Apartment apartment;
                           return com::excelInstalled();
                       }());
    if (excel) {
        said = "Spreadsheet application: Excel.Application, over automation" + why;
        return std::make_unique<com::ExcelApplicationFactory>(folder);
    }
#else
    (void)folder;
#endif
    said = "Spreadsheet application: built-in" + why;
    return nullptr;
}

} // namespace kelvor
