#include "host/app/automation/BuiltinSheet.h"

#include "host/app/automation/BuiltinChart.h"
#include "host/app/automation/BuiltinPageSetup.h"
#include "host/app/automation/BuiltinRange.h"
#include "host/app/cells/CellMoves.h"
#include "host/app/cells/RangeAddress.h"
#include "host/app/chartformat/ChartAccess.h"
#include "host/app/errors/HostErrors.h"
#include "host/app/textimport/TextImport.h"
#include "host/model/CellAddress.h"
#include "host/model/SheetName.h"

#include <algorithm>

namespace kelvor {

namespace {

std::vector<CellRange> areasOf(const std::string& address) {
    auto areas = parseAddress(address);
    if (!areas) {
        throw objectError();
    }
    return std::move(*areas);
}

} // namespace

BuiltinSheet::BuiltinSheet(SheetRef sheet) : sheet_(std::move(sheet)) {}

std::string BuiltinSheet::Name() {
    return sheet_.sheet().name();
}

void BuiltinSheet::setName(const std::string& name) {
    const auto index = sheet_.index();
    auto& model = sheet_.book->model;
    if (!isValidSheetName(name) || sameSheetName(name, "History")) {
        throw methodError("You typed an invalid name for a sheet or chart.");
    }
    const auto existing = model.indexOf(name);
    if (existing && existing != index) {
        throw nameTakenError();
    }
    modelCall([&] { model.renameSheet(index, name); });
    sheet_.app->edited(*sheet_.book); // references by name now find another sheet, or none
}

std::int32_t BuiltinSheet::Type() {
    return sheet_.sheet().kind() == SheetKind::Worksheet ? xl::xlWorksheet : xl::xlChart;
}

std::int32_t BuiltinSheet::Visible() {
    return sheet_.sheet().hidden() ? xl::xlSheetHidden : xl::xlSheetVisible;
}

void BuiltinSheet::setVisible(std::int32_t visible) {
    const auto index = sheet_.index();
    constexpr std::int32_t xlSheetVeryHidden = 2;
    if (visible != xl::xlSheetVisible && visible != 1 && visible != xl::xlSheetHidden &&
        visible != xlSheetVeryHidden) {
        throw methodError("Unable to set the Visible property of the Worksheet class");
    }
    const bool hidden = visible == xl::xlSheetHidden || visible == xlSheetVeryHidden;
    setSheetHidden(*sheet_.book, index, hidden);
}

void BuiltinSheet::Activate() {
    // Hidden sheets too: the caller may need to reach one to remove it.
    activateSheet(*sheet_.app, sheet_.book, sheet_.index());
}

void BuiltinSheet::Delete() {
    // Never asks, whatever DisplayAlerts says.
    deleteSheet(*sheet_.app, *sheet_.book, sheet_.index());
    sheet_.app->edited(*sheet_.book);
}

std::shared_ptr<xl::PageSetup> BuiltinSheet::PageSetup() {
    sheet_.index();
    return std::make_shared<BuiltinPageSetup>(sheet_);
}

xl::RangePtr BuiltinSheet::Range(const std::string& address) {
    sheet_.worksheet();
    return std::make_shared<BuiltinRange>(sheet_, areasOf(address));
}

xl::RangePtr BuiltinSheet::Range(const std::string& cell1, const std::string& cell2) {
    sheet_.worksheet();
    auto areas = areasOf(cell1);
    const auto second = areasOf(cell2);
    areas.insert(areas.end(), second.begin(), second.end());
    CellRange bounds = areas.front();
    for (const auto& area : areas) {
        bounds = boundingArea(bounds, area);
    }
    return std::make_shared<BuiltinRange>(sheet_, std::vector{bounds});
}

xl::RangePtr BuiltinSheet::Cells(std::int32_t row, std::int32_t column) {
    sheet_.worksheet();
    if (row < 1 || static_cast<std::uint32_t>(row) > kMaxRows || column < 1 ||
        static_cast<std::uint32_t>(column) > kMaxColumns) {
        throw objectError();
    }
    const auto r = static_cast<std::uint32_t>(row);
    const auto c = static_cast<std::uint32_t>(column);
    return std::make_shared<BuiltinRange>(sheet_, std::vector{CellRange{r, c, r, c}});
}

xl::RangePtr BuiltinSheet::Columns(const std::string& columns) {
    sheet_.worksheet();
    // "A" alone names one column, as "A:A" does.
    const auto areas =
        areasOf(columns.find(':') == std::string::npos ? columns + ":" + columns : columns);
    if (!std::all_of(areas.begin(), areas.end(), isWholeColumns)) {
        throw objectError();
    }
    return std::make_shared<BuiltinRange>(sheet_, areas, true);
}

void BuiltinSheet::Paste() {
    auto& sheet = sheet_.worksheet();
    auto& app = *sheet_.app;
    const auto row = sheet.selection().activeRow;
    const auto column = sheet.selection().activeColumn;
    const auto failed = [] { return methodError("Paste method of Worksheet class failed"); };
    CellRange pasted{};
    if (const auto* text = std::get_if<std::string>(&app.clipboard)) {
        pasted = pasteText(sheet, row, column, *text);
    } else if (const auto* copied = std::get_if<CopiedRange>(&app.clipboard)) {
        const auto sourceBook = copied->book.lock();
        const Worksheet* from = nullptr;
        try {
            from = sourceBook ? &SheetRef{sheet_.app, sourceBook, copied->sheetId}.worksheet()
                              : nullptr;
        } catch (const xl::HostError&) {
            from = nullptr;
        }
        if (from == nullptr) {
            throw failed();
        }
        app.settle();
        const auto block = readBlock(*from, copied->area);
        pasted = modelCall([&] {
            return writeBlock(sheet_.book->model, sheet, row, column, block,
                              sourceBook->model.styles(), PasteKind::All, false, false);
        });
        sheet_.book->hasFormulas = true;
    } else {
        throw failed();
    }
    selectAreas(sheet_, {pasted});
    app.edited(*sheet_.book);
}

std::shared_ptr<xl::Chart> BuiltinSheet::AsChart() {
    chartSheetOf(sheet_);
    return std::make_shared<BuiltinChart>(sheet_);
}

} // namespace kelvor
