#include "host/app/automation/BuiltinRange.h"

#include "export/XlConstants.h"
#include "host/app/numformat/FormatCode.h"

#include "host/app/automation/BuiltinFont.h"
#include "host/app/automation/CellVariant.h"
#include "host/app/cells/CellEditing.h"
#include "host/app/cells/CellMoves.h"
#include "host/app/cells/RangeAddress.h"
#include "host/app/errors/HostErrors.h"
#include "host/app/fit/ColumnWidth.h"
#include "host/app/numformat/FieldValue.h"
#include "host/app/numformat/ValueFormat.h"
#include "host/app/textimport/TextImport.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace kelvor {

namespace {

using xl::xlGeneral;
using xl::xlPasteAll;
using xl::xlPasteFormats;
using xl::xlPasteFormulas;

template <class F> void forEachCell(const std::vector<CellRange>& areas, F visit) {
    for (const auto& area : areas) {
        for (auto row = area.firstRow; row <= area.lastRow; ++row) {
            for (auto column = area.firstColumn; column <= area.lastColumn; ++column) {
                visit(row, column);
            }
        }
    }
}

bool contains(const CellRange& area, std::uint32_t row, std::uint32_t column) {
    return row >= area.firstRow && row <= area.lastRow && column >= area.firstColumn &&
           column <= area.lastColumn;
}

} // namespace

void selectAreas(const SheetRef& sheet, std::vector<CellRange> areas) {
    SheetSelection selection;
    selection.activeRow = areas.front().firstRow;
    selection.activeColumn = areas.front().firstColumn;
    selection.areas = std::move(areas);
    sheet.worksheet().setSelection(std::move(selection));
}

BuiltinRange::BuiltinRange(SheetRef sheet, std::vector<CellRange> areas, bool columns)
    : sheet_(std::move(sheet)), areas_(std::move(areas)), columns_(columns) {}

void BuiltinRange::Select() {
    worksheet();
    if (!sheet_.isActive()) {
        throw methodError("Select method of Range class failed");
    }
    selectAreas(sheet_, areas_);
}

void BuiltinRange::Activate() {
    worksheet();
    if (!sheet_.isActive()) {
        throw methodError("Activate method of Range class failed");
    }
    auto& sheet = sheet_.worksheet();
    SheetSelection selection = sheet.selection();
    const auto& first = areas_.front();
    const bool oneCell = areas_.size() == 1 && cellCount(first) == 1;
    if (oneCell && std::any_of(selection.areas.begin(), selection.areas.end(), [&](const auto& a) {
            return contains(a, first.firstRow, first.firstColumn);
        })) {
        selection.activeRow = first.firstRow; // the selection stays, the active cell moves
        selection.activeColumn = first.firstColumn;
        sheet.setSelection(std::move(selection));
        return;
    }
    selectAreas(sheet_, areas_);
}

const Cell* BuiltinRange::settledFirstCell() {
    auto& sheet = worksheet();
    app().settle();
    return sheet.cell(areas_.front().firstRow, areas_.front().firstColumn);
}

xl::Variant BuiltinRange::Value() {
    const Cell* cell = settledFirstCell();
    if (cell == nullptr) {
        return {};
    }
    // A number shown as a date is handed over as a date, as automation does.
    const auto number = cell->number();
    if (number && isDateFormat(sheet_.book->model.styles().style(cell->style()).numberFormat)) {
        return xl::Date{*number};
    }
    return toVariant(cell->value());
}

void BuiltinRange::setValue(const xl::Variant& value) {
    auto& sheet = worksheet();
    const auto cellValue = toCellValue(value);
    modelCall([&] {
        forEachCell(areas_, [&](std::uint32_t row, std::uint32_t column) {
            putValue(sheet, row, column, cellValue);
        });
    });
    // A value on several lines shows them all, as when it is typed with line breaks.
    if (const auto* text = textOf(cellValue); text && text->find('\n') != std::string::npos) {
        restyleAll([](Style& style) { style.wrapText = true; });
    }
    app().edited(*sheet_.book);
}

std::string BuiltinRange::Text() {
    const Cell* cell = settledFirstCell();
    if (cell == nullptr) {
        return {};
    }
    return displayText(cell->value(),
                       sheet_.book->model.styles().style(cell->style()).numberFormat);
}

void BuiltinRange::setFormulaR1C1(const std::string& formula) {
    auto& sheet = worksheet();
    if (!formula.starts_with('=')) {
        // No formula: the text is taken as if typed.
        const auto typed = readGeneral(formula);
        modelCall([&] {
            forEachCell(areas_, [&](std::uint32_t row, std::uint32_t column) {
                putValue(sheet, row, column, typed.value);
            });
        });
        if (!typed.numberFormat.empty()) {
            restyleAll([&](Style& style) { style.numberFormat = typed.numberFormat; });
        }
        app().edited(*sheet_.book);
        return;
    }
    modelCall([&] { app().formulas.get(formula); }); // the application refuses bad syntax
    // R1C1 text does not change from cell to cell: the whole range shares one.
    const FormulaText shared(formula);
    modelCall([&] {
        forEachCell(areas_, [&](std::uint32_t row, std::uint32_t column) {
            putFormula(sheet, row, column, shared);
        });
    });
    sheet_.book->hasFormulas = true;
    app().edited(*sheet_.book);
}

void BuiltinRange::restyleAll(const std::function<void(Style&)>& edit) {
    auto& sheet = worksheet();
    modelCall([&] { restyle(sheet_.book->model, sheet, areas_, edit); });
}

void BuiltinRange::setNumberFormat(const std::string& format) {
    restyleAll([&](Style& style) { style.numberFormat = format.empty() ? "General" : format; });
}

void BuiltinRange::setHorizontalAlignment(std::int32_t alignment) {
    HorizontalAlignment value;
    switch (alignment) {
    case xlGeneral:
        value = HorizontalAlignment::General;
        break;
    case xl::xlLeft:
        value = HorizontalAlignment::Left;
        break;
    case xl::xlCenter:
        value = HorizontalAlignment::Center;
        break;
    case xl::xlRight:
        value = HorizontalAlignment::Right;
        break;
    default:
        throw methodError("Unable to set the HorizontalAlignment property of the Range class");
    }
    restyleAll([&](Style& style) { style.horizontal = value; });
}

void BuiltinRange::setVerticalAlignment(std::int32_t alignment) {
    worksheet();
    // Top, centre, bottom, justify, distributed. The files keep the default, bottom.
    if (alignment != xl::xlTop && alignment != xl::xlCenter && alignment != xl::xlBottom &&
        alignment != -4130 && alignment != -4117) {
        throw methodError("Unable to set the VerticalAlignment property of the Range class");
    }
}

void BuiltinRange::setWrapText(bool wrap) {
    restyleAll([&](Style& style) { style.wrapText = wrap; });
}

void BuiltinRange::setOrientation(std::int16_t degrees) {
    worksheet();
    // Degrees, or horizontal, vertical, upward, downward. The files keep horizontal text.
    if ((degrees < -90 || degrees > 90) && degrees != xl::xlHorizontal && degrees != -4166 &&
        degrees != -4171 && degrees != -4170) {
        throw methodError("Unable to set the Orientation property of the Range class");
    }
}

void BuiltinRange::setAddIndent(bool) {
    worksheet(); // no indents here: nothing to change
}

void BuiltinRange::setShrinkToFit(bool) {
    worksheet(); // text is never shrunk here: nothing to change
}

void BuiltinRange::setMergeCells(bool merge) {
    worksheet();
    if (merge) {
        throw methodError("Merging cells is not available in this spreadsheet application.");
    }
}

std::shared_ptr<xl::Font> BuiltinRange::Font() {
    worksheet();
    return std::make_shared<BuiltinFont>(sheet_, areas_);
}

xl::RangePtr BuiltinRange::Columns() {
    worksheet();
    return std::make_shared<BuiltinRange>(sheet_, areas_, true);
}

void BuiltinRange::AutoFit() {
    auto& sheet = worksheet();
    if (!columns_ && !std::all_of(areas_.begin(), areas_.end(), isWholeColumns)) {
        throw methodError("AutoFit method of Range class failed");
    }
    app().settle();
    const auto& styles = sheet_.book->model.styles();
    std::map<std::uint32_t, double> widths;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> multiLine;
    for (const auto& area : areas_) {
        forEachStored(sheet, area, [&](std::uint32_t row, std::uint32_t column, const Cell& cell) {
            if (cell.kind() == CellKind::Empty) {
                return;
            }
            const auto& style = styles.style(cell.style());
            const auto text = displayText(cell.value(), style.numberFormat);
            auto& width = widths[column];
            width = std::max(width, fittedColumnWidth(text, style.font));
            if (text.find('\n') != std::string::npos && !style.wrapText) {
                multiLine.emplace_back(row, column);
            }
        });
    }
    modelCall([&] {
        for (const auto& [column, width] : widths) {
            sheet.setColumnWidth(column, width, true);
        }
        for (const auto& [row, column] : multiLine) {
            restyle(sheet_.book->model, sheet, {CellRange{row, column, row, column}},
                    [](Style& style) { style.wrapText = true; });
        }
    });
}

void BuiltinRange::TextToColumns(const xl::RangePtr& destination,
                                 const xl::TextToColumnsOptions& options) {
    auto& source = worksheet();
    if (areas_.size() != 1) {
        throw methodError("TextToColumns method of Range class failed");
    }
    SheetRef target = sheet_;
    CellRange corner = areas_.front();
    if (destination) {
        const auto* range = dynamic_cast<const BuiltinRange*>(destination.get());
        if (range == nullptr || range->sheet_.book != sheet_.book) {
            throw methodError("TextToColumns method of Range class failed");
        }
        target = range->sheet_;
        corner = range->areas_.front();
    }
    auto& output = target.worksheet();
    app().settle();
    modelCall([&] {
        textToColumns(sheet_.book->model, source, areas_.front(), output, corner.firstRow,
                      corner.firstColumn, options);
    });
    app().edited(*sheet_.book);
}

void BuiltinRange::FillDown() {
    auto& sheet = worksheet();
    modelCall([&] {
        for (const auto& area : areas_) {
            fillDown(sheet, area);
        }
    });
    sheet_.book->hasFormulas = true;
    app().edited(*sheet_.book);
}

void BuiltinRange::Copy() {
    worksheet();
    if (areas_.size() != 1) {
        throw methodError("That command cannot be used on multiple selections.");
    }
    app().clipboard = CopiedRange{sheet_.book, sheet_.sheetId, areas_.front()};
}

void BuiltinRange::PasteSpecial(std::int32_t paste, std::int32_t operation, bool skipBlanks,
                                bool transpose) {
    auto& sheet = worksheet();
    const auto* copied = std::get_if<CopiedRange>(&app().clipboard);
    const auto sourceBook = copied ? copied->book.lock() : nullptr;
    const auto failed = [] { return methodError("PasteSpecial method of Range class failed"); };
    if (!sourceBook || operation != xl::xlNone) {
        throw failed();
    }
    PasteKind kind;
    switch (paste) {
    case xl::xlPasteValues:
        kind = PasteKind::Values;
        break;
    case xlPasteAll:
        kind = PasteKind::All;
        break;
    case xlPasteFormats:
        kind = PasteKind::Formats;
        break;
    case xlPasteFormulas:
        kind = PasteKind::Formulas;
        break;
    default:
        throw failed();
    }
    const SheetRef source{sheet_.app, sourceBook, copied->sheetId};
    const Worksheet* from = nullptr;
    try {
        from = &source.worksheet();
    } catch (const xl::HostError&) {
        throw failed(); // the copied cells are gone
    }
    app().settle();
    const auto block = readBlock(*from, copied->area);
    const auto& first = areas_.front();
    const auto pasted = modelCall([&] {
        return writeBlock(sheet_.book->model, sheet, first.firstRow, first.firstColumn, block,
                          sourceBook->model.styles(), kind, skipBlanks, transpose);
    });
    if (kind == PasteKind::All || kind == PasteKind::Formulas) {
        sheet_.book->hasFormulas = true;
    }
    if (sheet_.isActive()) {
        selectAreas(sheet_, {pasted});
    }
    app().edited(*sheet_.book);
}

void BuiltinRange::Delete(std::int32_t shift) {
    auto& sheet = worksheet();
    auto areas = areas_;
    // Right to left and bottom to top, so that each area still stands where it was named.
    std::sort(areas.begin(), areas.end(), [](const CellRange& a, const CellRange& b) {
        return a.firstColumn != b.firstColumn ? a.firstColumn > b.firstColumn
                                              : a.firstRow > b.firstRow;
    });
    modelCall([&] {
        for (const auto& area : areas) {
            deleteCells(sheet, area, shift);
        }
    });
    if (const auto* copied = std::get_if<CopiedRange>(&app().clipboard);
        copied && copied->book.lock() == sheet_.book && copied->sheetId == sheet_.sheetId) {
        app().clipboard = std::monostate{}; // the marked cells moved: copy mode ends
    }
    app().edited(*sheet_.book);
}

} // namespace kelvor
