#include "export/ErrorMessage.h"

#include "Version.h"
#include "capture/ChannelName.h"
#include "export/ReportProblem.h"

namespace kelvor {

void showErrorBox(Prompts& prompts, const std::string& text, PromptOwner owner) {
    prompts.showFor(owner, text, "Error", PromptIcon::None, PromptButtons::Ok);
}

void showErrorMessage(Prompts& prompts, const xl::HostError& error, PromptOwner owner) {
    showErrorBox(prompts, xl::errorMessageText(error), owner);
}

std::string exportErrorText(const ExportContext& ctx, const xl::HostError& error) {
    std::string text = xl::errorMessageText(error);
    if (ctx.Channel >= 0 && ctx.Channel < ChannelCount) {
        text += "\r" + channelName(ctx.ChannelInfo, ctx.Channel);
    }
    const std::string problem = reportProblemSentence(error);
    if (!problem.empty()) {
        text += "\r" + problem;
    }
    if (!ctx.ReportArchiveFile.empty()) {
        text += "\r\rThe report is kept as received in " + ctx.ReportArchiveFile + ".";
    }
    return text;
}

void showErrorMessage(ExportContext& ctx, const xl::HostError& error) {
    const std::string text = exportErrorText(ctx, error);
    showErrorBox(ctx.prompts, text, ctx.MessageOwner);
}

xl::HostError internalError(const std::exception& error) {
    return xl::HostError(xl::ErrInternal, ProgramTitle,
                         std::string("Internal error: ") + error.what());
}

} // namespace kelvor
