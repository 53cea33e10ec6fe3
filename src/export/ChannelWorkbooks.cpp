#include "export/ChannelWorkbooks.h"

#include "export/AlertsOff.h"

namespace kelvor {

void StartExcel(ExportContext& ctx) {
    ctx.ExcelApp = ctx.factory.create();
    ctx.ExcelApp->setVisible(true);
}

void ActivateChannelWorkbook(ExportContext& ctx, std::int32_t& workbookIndex) {
    // Each step is one unit: after a restart the failed step runs again against the new
    // application and the procedure continues from there.
    bool found = false;
    int restarts = 0;
    int step = 1;
    while (step <= 4) {
        try {
            switch (step) {
            case 1:
                if (!ctx.ExcelApp) {
                    StartExcel(ctx);
                }
                break;
            case 2:
                // Also shows an application the user has hidden.
                ctx.application().setVisible(true);
                break;
            case 3:
                // Positions are taken as stored; a closed workbook is never looked for.
                if (workbookIndex > 0 && workbookIndex <= ctx.application().Workbooks()->Count()) {
                    ctx.application().Workbooks()->Item(workbookIndex)->Activate();
                    found = true;
                }
                break;
            case 4:
                if (!found) {
                    NewChannelWorkbook(ctx, workbookIndex);
                }
                break;
            }
            ++step;
        } catch (const xl::HostError&) {
            if (restarts == MaxApplicationRestarts) {
                throw;
            }
            ++restarts;
            StartExcel(ctx); // a failure here goes to the caller
        }
    }
}

void NewChannelWorkbook(ExportContext& ctx, std::int32_t& workbookIndex) {
    xl::Application& app = ctx.application();
    app.Workbooks()->Add();
    workbookIndex = app.Workbooks()->Count();
    withAlertsOff(app, [&] {
        // Keep only the last of the application's default sheets.
        const std::int32_t defaultSheets = app.Worksheets()->Count();
        for (std::int32_t i = 1; i < defaultSheets; ++i) {
            app.Sheets()->Item(1)->Delete();
        }
    });
    app.ActiveSheet()->setName("Data 1");
}

void ReleaseExcel(ExportContext& ctx) {
    ctx.ExcelApp.reset();
}

} // namespace kelvor
