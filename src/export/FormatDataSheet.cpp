#include "export/FormatDataSheet.h"

#include "export/CellText.h"
#include "export/ErrorMessage.h"
#include "export/LoadSheet.h"
#include "export/RateSheet.h"
#include "export/ReportLines.h"

#include <string>

namespace kelvor {

namespace {

void layOutPage(xl::Sheet& sheet) {
    const auto page = sheet.PageSetup();
    page->setLeftMargin(54.0);
    page->setRightMargin(54.0);
    page->setTopMargin(72);
    page->setBottomMargin(72);
    page->setCenterHeader("File: &F  Sheet:&A");
    page->setCenterFooter("Page &P of &N");
}

} // namespace

bool FormatDataSheet(ExportContext& ctx, std::int32_t channel, const AddedDataSheet& added) {
    try {
        if (!added.pasted) {
            return false;
        }
        xl::Application& app = ctx.application();
        app.ActiveSheet()->Columns("A:A")->Select();
        app.Selection()->AsRange()->TextToColumns(app.ActiveSheet()->Range("A1"),
                                                  reportLineSplit());
        layOutPage(*app.ActiveSheet());

        // A first line that names neither test kind keeps the split and the layout only.
        const std::string title = cellText(*app.ActiveSheet(), 1, 1);
        if (title == RateTestTitle) {
            FormatRateSheet(ctx, channel, added.sheetName);
        } else if (title == LoadTestTitle) {
            FormatLoadSheet(ctx, channel, added.sheetName);
        }
    } catch (const xl::HostError& error) {
        showErrorMessage(ctx, error);
        return true;
    }
    return false;
}

} // namespace kelvor
