#include "host/app/cells/CellEditing.h"

#include "host/app/cells/RangeAddress.h"
#include "host/model/CellAddress.h"

#include <map>

namespace kelvor {

namespace {

StyleId columnStyle(const Worksheet& sheet, std::uint32_t column) {
    const auto* format = sheet.columnFormat(column);
    return format == nullptr ? 0 : format->style;
}

void prepareNewCell(Worksheet& sheet, std::uint32_t row, std::uint32_t column) {
    if (sheet.cell(row, column) == nullptr) {
        if (const auto style = columnStyle(sheet, column); style != 0) {
            sheet.setStyle(row, column, style);
        }
    }
}

} // namespace

void putValue(Worksheet& sheet, std::uint32_t row, std::uint32_t column, CellValue value) {
    prepareNewCell(sheet, row, column);
    sheet.setValue(row, column, std::move(value));
}

void putFormula(Worksheet& sheet, std::uint32_t row, std::uint32_t column, FormulaText formula) {
    prepareNewCell(sheet, row, column);
    sheet.setFormula(row, column, std::move(formula), FormulaNotation::R1C1);
}

void forEachStored(const Worksheet& sheet, const CellRange& area,
                   const std::function<void(std::uint32_t, std::uint32_t, const Cell&)>& visit) {
    const auto& rows = sheet.rows();
    for (auto r = rows.lower_bound(area.firstRow); r != rows.end() && r->row() <= area.lastRow;
         ++r) {
        for (const auto& [column, cell] : r->cells()) {
            if (column > area.lastColumn) {
                break;
            }
            if (column >= area.firstColumn) {
                visit(r->row(), column, cell);
            }
        }
    }
}

StyleId effectiveStyle(const Worksheet& sheet, std::uint32_t row, std::uint32_t column) {
    const Cell* cell = sheet.cell(row, column);
    return cell != nullptr ? cell->style() : columnStyle(sheet, column);
}

void restyle(Workbook& book, Worksheet& sheet, const std::vector<CellRange>& areas,
             const std::function<void(Style&)>& edit) {
    std::map<StyleId, StyleId> converted;
    const auto convert = [&](StyleId id) {
        if (const auto found = converted.find(id); found != converted.end()) {
            return found->second;
        }
        Style style = book.styles().style(id);
        edit(style);
        const auto result = book.styles().intern(style);
        converted.emplace(id, result);
        return result;
    };
    const auto restyleStored = [&](const CellRange& area) {
        std::vector<std::pair<std::uint32_t, std::uint32_t>> stored;
        forEachStored(sheet, area, [&](std::uint32_t row, std::uint32_t column, const Cell&) {
            stored.emplace_back(row, column);
        });
        for (const auto& [row, column] : stored) {
            sheet.setStyle(row, column, convert(sheet.cell(row, column)->style()));
        }
    };
    for (const auto& area : areas) {
        const bool wholeRows = area.firstColumn == 1 && area.lastColumn == kMaxColumns;
        if (isWholeColumns(area)) {
            for (auto column = area.firstColumn; column <= area.lastColumn; ++column) {
                sheet.setColumnStyle(column, convert(columnStyle(sheet, column)));
            }
            restyleStored(area);
        } else if (wholeRows || cellCount(area) > kMaxFormattedCells) {
            restyleStored(area);
        } else {
            for (auto row = area.firstRow; row <= area.lastRow; ++row) {
                for (auto column = area.firstColumn; column <= area.lastColumn; ++column) {
                    sheet.setStyle(row, column, convert(effectiveStyle(sheet, row, column)));
                }
            }
        }
    }
}

} // namespace kelvor
