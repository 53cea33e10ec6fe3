#include "host/xlsx/SharedFormulas.h"

#include "host/model/Worksheet.h"
#include "host/xlsx/FormulaA1.h"

#include <algorithm>
#include <optional>
#include <tuple>

namespace kelvor {

namespace {

// Every cell of the run must refer inside the sheet: the references move linearly, so the
// first and the last cell tell.
bool sharable(const std::string& formula, std::uint32_t firstRow, std::uint32_t lastRow,
              std::uint32_t column) {
    return r1c1ToA1(formula, firstRow, column).find("#REF!") == std::string::npos &&
           r1c1ToA1(formula, lastRow, column).find("#REF!") == std::string::npos;
}

const std::vector<SharedFormulas::Run> kNoRuns;

// What a cell's shared-formula markup depends on: its run's si, and for the run's top cell
// the run's range.
using CellKey = std::optional<std::tuple<std::uint32_t, std::uint32_t, std::uint32_t>>;

CellKey keyAt(const std::vector<SharedFormulas::Run>& runs, std::uint32_t row) {
    const auto run = std::upper_bound(
        runs.begin(), runs.end(), row,
        [](std::uint32_t r, const SharedFormulas::Run& each) { return r < each.firstRow; });
    if (run == runs.begin() || std::prev(run)->lastRow < row) {
        return std::nullopt;
    }
    const auto& held = *std::prev(run);
    return held.firstRow == row ? std::tuple{held.index, held.firstRow, held.lastRow}
                                : std::tuple{held.index, 0U, 0U};
}

} // namespace

SharedFormulas::SharedFormulas(const Worksheet& sheet) {
    struct Open {
        std::uint32_t firstRow = 0;
        std::uint32_t lastRow = 0;
        const FormulaText* formula = nullptr;
    };
    std::vector<Open> open;
    const auto close = [&](std::uint32_t column, const Open& o) {
        if (o.formula != nullptr && o.lastRow > o.firstRow &&
            sharable(o.formula->str(), o.firstRow, o.lastRow, column)) {
            if (columns_.size() < column) {
                columns_.resize(column);
            }
            // A column's runs close top down.
            columns_[column - 1].runs.push_back({o.firstRow, o.lastRow, count_++});
        }
    };
    for (const auto& [row, cells] : sheet.rows()) {
        for (const auto& [column, cell] : cells) {
            if (!cell.hasFormula() || cell.notation() != FormulaNotation::R1C1) {
                continue;
            }
            if (open.size() < column) {
                open.resize(column);
            }
            auto& o = open[column - 1];
            if (o.formula != nullptr && o.lastRow + 1 == row && *o.formula == cell.formula) {
                o.lastRow = row;
                continue;
            }
            close(column, o);
            o = {row, row, &cell.formula};
        }
    }
    for (std::uint32_t column = 1; column <= open.size(); ++column) {
        close(column, open[column - 1]);
    }
}

const SharedFormulas::Run* SharedFormulas::find(std::uint32_t row, std::uint32_t column) {
    if (column > columns_.size()) {
        return nullptr;
    }
    auto& c = columns_[column - 1];
    while (c.next < c.runs.size() && c.runs[c.next].lastRow < row) {
        ++c.next;
    }
    if (c.next < c.runs.size() && c.runs[c.next].firstRow <= row) {
        return &c.runs[c.next];
    }
    return nullptr;
}

const std::vector<SharedFormulas::Run>& SharedFormulas::runs(std::uint32_t column) const {
    return column >= 1 && column <= columns_.size() ? columns_[column - 1].runs : kNoRuns;
}

std::vector<RowStretch> changedRows(const std::vector<SharedFormulas::Run>& before,
                                    const std::vector<SharedFormulas::Run>& after) {
    // Between these rows every cell's key stays the same under either list.
    std::vector<std::uint32_t> bounds;
    for (const auto* runs : {&before, &after}) {
        for (const auto& run : *runs) {
            bounds.insert(bounds.end(), {run.firstRow, run.firstRow + 1, run.lastRow + 1});
        }
    }
    std::sort(bounds.begin(), bounds.end());
    bounds.erase(std::unique(bounds.begin(), bounds.end()), bounds.end());
    std::vector<RowStretch> changed;
    for (std::size_t i = 0; i + 1 < bounds.size(); ++i) {
        if (keyAt(before, bounds[i]) == keyAt(after, bounds[i])) {
            continue;
        }
        if (!changed.empty() && changed.back().lastRow + 1 == bounds[i]) {
            changed.back().lastRow = bounds[i + 1] - 1;
        } else {
            changed.push_back({bounds[i], bounds[i + 1] - 1});
        }
    }
    return changed;
}

} // namespace kelvor
