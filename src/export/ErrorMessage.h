#pragma once

#include "export/ExportContext.h"
#include "export/HostError.h"
#include "platform/Prompts.h"

#include <exception>

namespace kelvor {

// The "Error # ..." box of the export procedures and of "Summarize Now": titled "Error", an
// OK button only, no icon; it stands in front of `owner`.
void showErrorMessage(Prompts& prompts, const xl::HostError& error, PromptOwner owner = {});
// The same box with a text of its own (a failure that is no host error).
void showErrorBox(Prompts& prompts, const std::string& text, PromptOwner owner = {});
// The text of the box during an export: the error as it stands, then the channel being
// exported, a plain sentence on what was wrong with the report when the error's own words
// say nothing to an operator, and the file that keeps the report as received.
std::string exportErrorText(const ExportContext& ctx, const xl::HostError& error);
// That box, in front of the window the export belongs to.
void showErrorMessage(ExportContext& ctx, const xl::HostError& error);

// A failure that did not come from the application (a fault of the program itself), numbered
// as an internal error so it can be told the same way.
xl::HostError internalError(const std::exception& error);

} // namespace kelvor
