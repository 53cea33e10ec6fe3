#include "export/SummarizeChannel.h"

#include "export/ChannelWorkbooks.h"
#include "export/DataSheet.h"
#include "export/FormatDataSheet.h"
#include "export/Summary.h"

#include <exception>
#include <memory>

namespace kelvor {

void SummarizeChannel(ExportContext& ctx, std::int32_t channel, std::string& receivedText,
                      std::int32_t& workbookIndex) {
    ActivateChannelWorkbook(ctx, workbookIndex, channel);
    ctx.application(); // none started: the "object not set" error
    // Held for the whole summary: the application must outlive it, whatever happens to the
    // shared reference meanwhile (the program ending, for one).
    const std::shared_ptr<xl::Application> held = ctx.ExcelApp;
    xl::Application& app = *held;
    app.setScreenUpdating(false);
    app.setCalculation(xl::xlCalculationManual);
    try {
        // Nothing received is not pasted, and FormatDataSheet then does nothing.
        const AddedDataSheet added = AddDataSheet(ctx, receivedText, workbookIndex);
        if (added.decided) {
            FormatDataSheet(ctx, channel, added);
        }
        BuildSummary(ctx);
    } catch (...) {
        const std::exception_ptr failure = std::current_exception();
        try {
            app.setCalculation(xl::xlCalculationAutomatic);
            app.setScreenUpdating(true);
        } catch (...) {
            // The application no longer answers; the first failure is the one to tell.
        }
        std::rethrow_exception(failure);
    }
    app.setCalculation(xl::xlCalculationAutomatic);
    app.setScreenUpdating(true);
}

} // namespace kelvor
