#include "export/SummarizeChannel.h"

#include "export/ChannelWorkbooks.h"
#include "export/DataSheet.h"
#include "export/FormatDataSheet.h"
#include "export/Summary.h"

#include <exception>

namespace kelvor {

void SummarizeChannel(ExportContext& ctx, std::int32_t channel, std::string& receivedText,
                      std::int32_t& workbookIndex) {
    ActivateChannelWorkbook(ctx, workbookIndex);
    xl::Application& app = ctx.application();
    app.setScreenUpdating(false);
    app.setCalculation(xl::xlCalculationManual);
    try {
        // Nothing received leaves ReportPasted false, and FormatDataSheet then does nothing;
        // neither may the previous report's value format a sheet when AddDataSheet fails early.
        ctx.ReportPasted = false;
        if (AddDataSheet(ctx, receivedText, workbookIndex)) {
            FormatDataSheet(ctx, channel);
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
