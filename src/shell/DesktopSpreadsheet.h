#pragma once

#include "export/Spreadsheet.h"
#include "platform/PlatformConfig.h"

#include <filesystem>
#include <memory>
#include <string>

namespace kelvor {

// The spreadsheet application the reports go to when it is not the built-in one: on Windows
// the desktop's, over automation, when the settings ask for it or, without a choice there,
// when the system has it registered. Nothing elsewhere, and nothing for "Built-in". `said`
// receives the line for the log naming which one it is.
std::unique_ptr<xl::ApplicationFactory> desktopSpreadsheet(const PlatformConfig& config,
                                                           const std::filesystem::path& folder,
                                                           std::string& said);

} // namespace kelvor
