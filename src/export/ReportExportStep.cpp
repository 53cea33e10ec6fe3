#include "export/ReportExportStep.h"

#include "export/ChannelWorkbooks.h"
#include "export/DataSheet.h"
#include "export/ErrorMessage.h"
#include "export/FormatDataSheet.h"

namespace kelvor {

void ReportExportStep::exportReport(int channel, std::string& reportText,
                                    std::int32_t& workbookIndex) {
    // The procedures below report their own failures. What still escapes (no application
    // could be started, or a fault of the program) is told once here; the report stays with
    // the channel unless AddDataSheet already took it, so nothing received is lost.
    bool applicationReady = false;
    bool decided = false;
    try {
        ActivateChannelWorkbook(ctx_, workbookIndex);
        applicationReady = true;
        xl::Application& app = ctx_.application();
        app.setScreenUpdating(false);
        app.setCalculation(xl::xlCalculationManual);

        // A failure before AddDataSheet has looked at the report leaves ReportPasted
        // undecided; the previous report's value must not format a sheet or silence the beep.
        ctx_.ReportPasted = false;
        decided = AddDataSheet(ctx_, reportText, workbookIndex);
        if (decided) {
            FormatDataSheet(ctx_, channel);
        }

        app.setCalculation(xl::xlCalculationAutomatic);
        app.setScreenUpdating(true);
    } catch (const xl::HostError& error) {
        showErrorMessage(ctx_.prompts, error);
        if (applicationReady) {
            restoreApplicationQuietly();
        }
        return;
    } catch (const std::exception& error) {
        showErrorMessage(ctx_.prompts, internalError(error));
        if (applicationReady) {
            restoreApplicationQuietly();
        }
        return;
    }
    if (decided && !ctx_.ReportPasted) {
        ctx_.prompts.beep();
    }
}

// After a failure that was already told, give the user back a working application as far as
// it still answers; a second message about the same trouble would say nothing new.
void ReportExportStep::restoreApplicationQuietly() {
    if (!ctx_.ExcelApp) {
        return;
    }
    try {
        ctx_.ExcelApp->setCalculation(xl::xlCalculationAutomatic);
    } catch (const std::exception&) {
    }
    try {
        ctx_.ExcelApp->setScreenUpdating(true);
    } catch (const std::exception&) {
    }
}

} // namespace kelvor
