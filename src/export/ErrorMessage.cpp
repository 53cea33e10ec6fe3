#include "export/ErrorMessage.h"

#include "Version.h"

namespace kelvor {

void showErrorMessage(Prompts& prompts, const xl::HostError& error) {
    prompts.show(xl::errorMessageText(error), "Error", PromptIcon::Critical, PromptButtons::Ok);
}

void showErrorMessage(ExportContext& ctx, const xl::HostError& error) {
    std::string text = xl::errorMessageText(error);
    if (!ctx.ReportArchiveFile.empty()) {
        text += "\r\rThe report is kept as received in " + ctx.ReportArchiveFile + ".";
    }
    ++ctx.MessagesShown;
    ctx.prompts.show(text, "Error", PromptIcon::Critical, PromptButtons::Ok);
}

xl::HostError internalError(const std::exception& error) {
    return xl::HostError(51, ProgramTitle, std::string("Internal error: ") + error.what());
}

} // namespace kelvor
