#include "export/ReportExportStep.h"

#include "Version.h"
#include "export/ChannelWorkbooks.h"
#include "export/CutShortMark.h"
#include "export/DataSheet.h"
#include "export/ErrorMessage.h"
#include "export/FormatDataSheet.h"
#include "export/Summary.h"

#include <memory>

namespace kelvor {

ExportOutcome ReportExportStep::exportReport(int channel, std::string& reportText,
                                             const ReportOrigin& origin,
                                             std::int32_t& workbookIndex) {
    const ExportingChannel naming(ctx_, channel);
    ctx_.ReportArchiveFile = origin.archiveFile;
    ctx_.ReportCutShortBy = origin.cutShortBy;
    const Steps steps = runSteps(channel, reportText, workbookIndex);
    ExportOutcome result = outcome(steps.added, reportText);
    if (result.notReport) {
        ctx_.prompts.beep();
    } else if (!result.pasted && !steps.messageShown) {
        // Some failures end a procedure without a message; the report must not vanish
        // silently all the same.
        showErrorMessage(ctx_, xl::HostError(xl::ErrApplicationDefined, ProgramTitle,
                                             "The report could not be put on a data sheet."));
    }
    ctx_.ReportArchiveFile.clear();
    ctx_.ReportCutShortBy.clear();
    return result;
}

// A failure that escapes the procedures leaves the report undecided.
ReportExportStep::Steps ReportExportStep::runSteps(int channel, std::string& reportText,
                                                   std::int32_t& workbookIndex) {
    // The procedures below report their own failures. What still escapes (no application
    // could be started, or a fault of the program) is told once here.
    bool applicationReady = false;
    Steps steps;
    try {
        ActivateChannelWorkbook(ctx_, workbookIndex, channel);
        applicationReady = true;
        // Held for the whole export: the application must outlive it, whatever happens to
        // the shared reference meanwhile.
        const std::shared_ptr<xl::Application> app = ctx_.ExcelApp;
        app->setScreenUpdating(false);
        app->setCalculation(xl::xlCalculationManual);

        steps.added = AddDataSheet(ctx_, reportText, workbookIndex);
        steps.messageShown = steps.added.messageShown;
        if (steps.added.decided && steps.added.pasted) {
            markCutShort();
        }
        if (steps.added.decided && FormatDataSheet(ctx_, channel, steps.added)) {
            steps.messageShown = true;
        }
        if (restoreSummary(steps.added.summaryTakenAway)) {
            steps.messageShown = true;
        }

        app->setCalculation(xl::xlCalculationAutomatic);
        app->setScreenUpdating(true);
    } catch (const xl::HostError& error) {
        showErrorMessage(ctx_, error);
        if (applicationReady) {
            restoreApplicationQuietly();
        }
        return {.added = {}, .messageShown = true};
    } catch (const std::exception& error) {
        showErrorMessage(ctx_, internalError(error));
        if (applicationReady) {
            restoreApplicationQuietly();
        }
        return {.added = {}, .messageShown = true};
    }
    return steps;
}

// A report cut short says so at the foot of every printed page of its data sheet, where the
// summary finds it again however long after.
void ReportExportStep::markCutShort() {
    if (!ctx_.ReportCutShortBy.empty()) {
        ctx_.application().ActiveSheet()->PageSetup()->setLeftFooter(
            cutShortFooter(ctx_.ReportCutShortBy));
    }
}

// A summary the export took away and did not build again (the report was no constant-rate
// test, or its sheet failed before the summary) is built again: a summary never disappears.
// Its failure is told, and leaves the report where it is. Returns whether it was told.
bool ReportExportStep::restoreSummary(bool takenAway) {
    if (!takenAway) {
        return false;
    }
    try {
        xl::Application& app = ctx_.application();
        const auto sheets = app.Sheets();
        for (std::int32_t i = 1; i <= sheets->Count(); ++i) {
            if (sheets->Item(i)->Name() == SummarySheetName) {
                return false;
            }
        }
        // The sheet the export left in view stays in view.
        const xl::SheetPtr shown = app.ActiveSheet();
        UpdateSummary(ctx_);
        shown->Activate();
    } catch (const xl::HostError& error) {
        showErrorMessage(ctx_, error);
        return true;
    }
    return false;
}

ExportOutcome ReportExportStep::outcome(const AddedDataSheet& added,
                                        const std::string& reportText) {
    ExportOutcome result;
    result.pasted = added.decided && added.pasted && reportText.empty();
    result.notReport = added.decided && !added.pasted;
    if (!result.pasted) {
        return result;
    }
    result.sheet = added.sheetName;
    try {
        result.workbook = ctx_.application().ActiveWorkbook()->Name();
    } catch (const std::exception&) {
        // Only the log misses the name.
    }
    return result;
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
