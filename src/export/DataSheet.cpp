#include "export/DataSheet.h"

#include "export/AlertsOff.h"
#include "export/CellText.h"
#include "export/ErrorMessage.h"
#include "export/Summary.h"
#include "util/AnsiText.h"

#include <limits>

namespace kelvor {

namespace {

constexpr std::string_view TestWord = "CONSTANT";
// A host error that ends the procedure without a message.
constexpr int SilentError = 8002;

std::int16_t toCounter(std::int32_t value) {
    if (value > std::numeric_limits<std::int16_t>::max()) {
        throw xl::programError(xl::ErrOverflow);
    }
    return static_cast<std::int16_t>(value);
}

} // namespace

bool isSummarySheetName(const std::string& name) {
    return name == SummarySheetName || name == SummaryPlotSheetName ||
           name == SummaryXOffsetSheetName;
}

// The name is read from the very sheet at position p, and that sheet is the one deleted:
// which sheet the application activates after a deletion must not decide what goes next.
void removeSummarySheets(xl::Application& app) {
    for (std::int16_t p = toCounter(app.Sheets()->Count()); p >= 1; --p) {
        const xl::SheetPtr sheet = app.Sheets()->Item(p);
        sheet->Activate();
        if (isSummarySheetName(sheet->Name())) {
            sheet->Delete();
        }
    }
}

AddedDataSheet AddDataSheet(ExportContext& ctx, std::string& text, std::int32_t workbookIndex) {
    AddedDataSheet added;
    try {
        xl::Application& app = ctx.application();
        app.Workbooks()->Item(workbookIndex)->Activate();
        app.clearClipboard();
        withAlertsOff(app, [&] { added.summaryTakenAway = setSummaryAside(app); });

        NormalizeTestTitle(text);
        if (text.find(TestWord) == std::string::npos) {
            // Not a test report: dropped without a message; the caller beeps.
            added.decided = true;
            text.clear();
            return added;
        }

        // The testers send Windows-1252; the application keeps UTF-8.
        app.setClipboardText(windows1252ToUtf8(text));
        added.pasted = true;
        added.decided = true;
        const xl::WorkbookPtr book = app.ActiveWorkbook();
        // A new workbook's "Data 1" takes the first report. Once it holds one (a report
        // whose layout failed leaves no chart sheet behind it), the next report gets a sheet
        // of its own instead of being pasted over the earlier one.
        if (book->Sheets()->Count() != 1 || !cellText(*app.ActiveSheet(), 1, 1).empty()) {
            const xl::SheetPtr last = book->Sheets()->Item(book->Sheets()->Count());
            book->Sheets()->Add(last);
            // The name it was to get, also when another sheet has it already.
            added.sheetName = "Data " + std::to_string(book->Worksheets()->Count());
            app.ActiveSheet()->setName(added.sheetName);
        }
        added.sheetName = app.ActiveSheet()->Name();
        app.ActiveSheet()->Paste();
        text.clear();
        app.clearClipboard();
    } catch (const xl::HostError& error) {
        if (error.number() != SilentError) {
            showErrorMessage(ctx, error);
            added.messageShown = true;
        }
    }
    return added;
}

void NormalizeTestTitle(std::string& text) {
    if (text.size() < 9) {
        return;
    }
    const auto position = text.find(TestWord);
    if (position == std::string::npos) {
        if (text.starts_with(TestWord.substr(1))) {
            text.insert(0, 1, 'C');
        }
    } else if (position > 0) {
        text.erase(0, position);
    }
}

} // namespace kelvor
