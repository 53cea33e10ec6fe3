#pragma once

#include "export/ExportContext.h"
#include "export/HostError.h"
#include "platform/Prompts.h"

#include <exception>

namespace kelvor {

// The "Error # ..." box of the export procedures and of "Summarize Now": titled "Error", an
// OK button only, no icon.
void showErrorMessage(Prompts& prompts, const xl::HostError& error);
// The same box with a text of its own (a failure that is no host error).
void showErrorBox(Prompts& prompts, const std::string& text);
// The same box during an export: it also names the file that keeps the report as received,
// and is counted, so the report's failure is told once.
void showErrorMessage(ExportContext& ctx, const xl::HostError& error);

// A failure that did not come from the application (a fault of the program itself), numbered
// as an internal error so it can be told the same way.
xl::HostError internalError(const std::exception& error);

} // namespace kelvor
