#include "host/app/calc/FormulaColumns.h"

#include "host/model/Worksheet.h"

#include <algorithm>

namespace kelvor {
namespace {

std::uint32_t lastColumn(const Worksheet& sheet) {
    std::uint32_t last = 0;
    for (const auto& [row, cells] : sheet.rows()) {
        if (!cells.empty()) {
            last = std::max<std::uint32_t>(last, cells.back().column);
        }
    }
    return last;
}

// Once per text: the cells of a filled column share one, compared without reading it.
void addText(std::vector<FormulaText>& texts, const FormulaText& text) {
    if (std::find(texts.rbegin(), texts.rend(), text) == texts.rend()) {
        texts.push_back(text);
    }
}

} // namespace

ColumnChoice chooseColumns(const Worksheet& sheet, const FormulaColumns& recorded,
                           const std::function<bool(const FormulaText& text)>& current) {
    ColumnChoice choice;
    if (recorded.empty()) {
        return choice;
    }
    const std::uint32_t last = lastColumn(sheet);
    for (std::uint32_t column = 1; column <= last; ++column) {
        const auto found = recorded.find(column);
        const bool unchanged = found != recorded.end() &&
                               sheet.columnsRevision(column, column) == found->second.revision;
        if (unchanged &&
            std::all_of(found->second.texts.begin(), found->second.texts.end(),
                        [&current](const FormulaText& text) { return current(text); })) {
            if (!found->second.texts.empty()) {
                choice.passedBy.push_back(column);
            }
        } else {
            choice.walk.push_back(column);
        }
    }
    // Walking most columns one by one costs more than walking the sheet once.
    choice.whole = choice.walk.size() * 2 > last;
    if (choice.whole) {
        choice.walk.clear();
        choice.passedBy.clear();
    }
    return choice;
}

void appendFormulasOfColumns(Worksheet& sheet, const std::vector<std::uint32_t>& columns,
                             std::vector<FormulaCell>& formulas) {
    for (const std::uint32_t column : columns) {
        for (const auto& [row, cells] : sheet.rows()) {
            const auto at = std::lower_bound(
                cells.begin(), cells.end(), column,
                [](const ColumnCell& cell, std::uint32_t wanted) { return cell.column < wanted; });
            if (at != cells.end() && at->column == column && calculable(at->cell)) {
                formulas.push_back({&at->cell, row, column});
            }
        }
    }
}

FormulaColumns recordColumns(const Worksheet& sheet) {
    FormulaColumns columns;
    const std::uint32_t last = lastColumn(sheet);
    for (std::uint32_t column = 1; column <= last; ++column) {
        columns[column].revision = sheet.columnsRevision(column, column);
    }
    for (const auto& [row, cells] : sheet.rows()) {
        for (const auto& [column, cell] : cells) {
            if (!calculable(cell)) {
                continue;
            }
            addText(columns[column].texts, cell.formula);
        }
    }
    return columns;
}

void updateColumns(FormulaColumns& columns, const Worksheet& sheet,
                   const std::vector<std::uint32_t>& walked, const FormulaCell* first,
                   const FormulaCell* last) {
    for (const std::uint32_t column : walked) {
        columns[column].texts.clear();
    }
    for (const FormulaCell* f = first; f != last; ++f) {
        addText(columns[f->column].texts, f->cell->formula);
    }
    const std::uint32_t end = lastColumn(sheet);
    for (std::uint32_t column = 1; column <= end; ++column) {
        columns[column].revision = sheet.columnsRevision(column, column);
    }
}

} // namespace kelvor
