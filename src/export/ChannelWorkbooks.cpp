#include "export/ChannelWorkbooks.h"

#include "export/AlertsOff.h"
#include "export/WorkbookFileName.h"

namespace kelvor {

void StartExcel(ExportContext& ctx) {
    ctx.ExcelApp = ctx.factory.create();
    ctx.ExcelApp->setVisible(true);
}

void ActivateChannelWorkbook(ExportContext& ctx, std::int32_t& workbookIndex, int channel) {
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
                    NewChannelWorkbook(ctx, workbookIndex, channel);
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

namespace {

// NewChannelWorkbook with the naming of the file left to `name`.
template <typename Naming>
void addChannelWorkbook(ExportContext& ctx, std::int32_t& workbookIndex, Naming name) {
    xl::Application& app = ctx.application();
    const xl::WorkbookPtr book = app.Workbooks()->Add();
    workbookIndex = app.Workbooks()->Count();
    // Named before anything is written, so the page headers' file name says which channel
    // and batch a printout belongs to.
    name(*book);
    withAlertsOff(app, [&] {
        // Keep only the last of the application's default sheets.
        const std::int32_t defaultSheets = app.Worksheets()->Count();
        for (std::int32_t i = 1; i < defaultSheets; ++i) {
            app.Sheets()->Item(1)->Delete();
        }
    });
    app.ActiveSheet()->setName("Data 1");
}

} // namespace

void NewChannelWorkbook(ExportContext& ctx, std::int32_t& workbookIndex, int channel) {
    addChannelWorkbook(ctx, workbookIndex, [&](xl::Workbook& book) {
        if (channel >= 0 && channel < ChannelCount) {
            book.setFileName(channelWorkbookFileName(ctx.ChannelInfo[channel].Description, channel,
                                                     ctx.clock()));
        }
    });
}

void ReopenChannelWorkbook(ExportContext& ctx, std::int32_t& workbookIndex,
                           const std::string& fileName) {
    if (!ctx.ExcelApp) {
        StartExcel(ctx);
    }
    addChannelWorkbook(ctx, workbookIndex, [&](xl::Workbook& book) { book.reopenFile(fileName); });
}

bool CloseChannelWorkbook(ExportContext& ctx, ChannelTable& channels, int channel) {
    const std::int32_t closing = channels.at(channel).WorkbookIndex;
    if (!ctx.ExcelApp || closing <= 0 || closing > ctx.ExcelApp->Workbooks()->Count()) {
        return false;
    }
    ctx.ExcelApp->Workbooks()->Item(closing)->Close();
    for (auto& record : channels) {
        if (record.WorkbookIndex == closing) {
            record.WorkbookIndex = 0;
        } else if (record.WorkbookIndex > closing) {
            --record.WorkbookIndex;
        }
    }
    return true;
}

void ReleaseExcel(ExportContext& ctx) {
    ctx.ExcelApp.reset();
}

} // namespace kelvor
