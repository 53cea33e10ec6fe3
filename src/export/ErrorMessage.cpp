#include "export/ErrorMessage.h"

#include "Version.h"

namespace kelvor {

void showErrorBox(Prompts& prompts, const std::string& text) {
    prompts.show(text, "Error", PromptIcon::None, PromptButtons::Ok);
}

void showErrorMessage(Prompts& prompts, const xl::HostError& error) {
    showErrorBox(prompts, xl::errorMessageText(error));
}

void showErrorMessage(ExportContext& ctx, const xl::HostError& error) {
    std::string text = xl::errorMessageText(error);
    if (!ctx.ReportArchiveFile.empty()) {
        text += "\r\rThe report is kept as received in " + ctx.ReportArchiveFile + ".";
    }
    ++ctx.MessagesShown;
    showErrorBox(ctx.prompts, text);
}

xl::HostError internalError(const std::exception& error) {
    return xl::HostError(xl::ErrInternal, ProgramTitle,
                         std::string("Internal error: ") + error.what());
}

} // namespace kelvor
