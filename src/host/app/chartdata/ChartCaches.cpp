#include "host/app/chartdata/ChartCaches.h"

#include "host/app/chartdata/ChartReference.h"
#include "host/model/CellAddress.h"
#include "host/model/Workbook.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <tuple>
#include <unordered_set>
#include <utility>

namespace kelvor {

namespace {

// A whole-column or whole-row reference stops at the sheet's used range: a chart shows nothing
// past it, and would otherwise drag a million gaps along. Other areas keep their size.
std::optional<CellRange> clipped(const Worksheet& sheet, CellRange area) {
    if (area.lastRow != kMaxRows && area.lastColumn != kMaxColumns) {
        return area;
    }
    const auto used = sheet.usedRange();
    if (!used) {
        return std::nullopt;
    }
    area.lastRow = std::min(area.lastRow, used->lastRow);
    area.lastColumn = std::min(area.lastColumn, used->lastColumn);
    if (area.lastRow < area.firstRow || area.lastColumn < area.firstColumn) {
        return std::nullopt;
    }
    return area;
}

// Visits the stored cells of the area, row by row.
template <class F> void forEachStoredCell(const Worksheet& sheet, const CellRange& area, F visit) {
    const auto& rows = sheet.rows();
    for (auto row = rows.lower_bound(area.firstRow);
         row != rows.end() && row->row() <= area.lastRow; ++row) {
        const auto& cells = row->cells();
        auto cell = std::lower_bound(
            cells.begin(), cells.end(), area.firstColumn,
            [](const ColumnCell& c, std::uint32_t column) { return c.column < column; });
        for (; cell != cells.end() && cell->column <= area.lastColumn; ++cell) {
            visit(row->row(), cell->column, cell->cell);
        }
    }
}

} // namespace

std::vector<double> chartValues(const Worksheet& sheet, const CellRange& whole) {
    const auto area = clipped(sheet, whole);
    if (!area) {
        return {};
    }
    const std::size_t width = area->lastColumn - area->firstColumn + 1;
    const std::size_t height = area->lastRow - area->firstRow + 1;
    std::vector<double> out(width * height, std::numeric_limits<double>::quiet_NaN());
    forEachStoredCell(sheet, *area, [&](std::uint32_t row, std::uint32_t column, const Cell& cell) {
        if (const auto n = cell.number()) {
            out[(row - area->firstRow) * width + (column - area->firstColumn)] = *n;
        }
    });
    return out;
}

namespace {

class Refresher {
public:
    Refresher(Workbook& book, ChartCacheState& state) : book_(book), state_(state) {}

    // The charts among the first `count` sheets only; what is kept of the others stays.
    void runFront(std::size_t count) {
        for (std::size_t i = 0; i < count && i < book_.sheetCount(); ++i) {
            if (auto* sheet = asChartSheet(book_.sheet(i))) {
                refresh(*sheet);
            }
        }
        for (auto& [reference, values] : state_.references) {
            values.used = false;
        }
    }

    void run() {
        std::unordered_set<std::uint64_t> charts;
        for (std::size_t i = 0; i < book_.sheetCount(); ++i) {
            if (auto* sheet = asChartSheet(book_.sheet(i))) {
                charts.insert(sheet->key());
                refresh(*sheet);
            }
        }
        std::erase_if(state_.charts,
                      [&](const auto& entry) { return !charts.contains(entry.first); });
        std::erase_if(state_.references, [](const auto& entry) { return !entry.second.used; });
        for (auto& [reference, values] : state_.references) {
            values.used = false;
        }
    }

private:
    using Source = ChartCacheStamp::Source;

    const Worksheet* worksheetNamed(const std::string& name) {
        const auto [slot, fresh] = byName_.try_emplace(name, nullptr);
        if (fresh) {
            const auto index = book_.indexOf(name);
            slot->second = index ? asWorksheet(book_.sheet(*index)) : nullptr;
        }
        return slot->second;
    }

    // Whether a worksheet has the name, and the revision of the columns read there (0: none).
    std::pair<bool, std::uint64_t> stateOf(const std::string& name, std::uint32_t first,
                                           std::uint32_t last) {
        const auto* sheet = worksheetNamed(name);
        return {sheet != nullptr, sheet ? sheet->columnsRevision(first, last) : 0};
    }

    Source source(const std::string& name, std::uint32_t first, std::uint32_t last) {
        const auto [found, revision] = stateOf(name, first, last);
        return Source{name, found, revision, first, last};
    }

    // Without making each source anew: a summary plot has hundreds.
    bool current(const std::vector<Source>& sources) {
        return std::all_of(sources.begin(), sources.end(), [&](const auto& s) {
            return stateOf(s.name, s.firstColumn, s.lastColumn) == std::pair{s.found, s.revision};
        });
    }

    // The values a reference stands for now, empty when it names nothing that exists, and
    // the number format of its first cell.
    const ChartCacheState::Values& values(const std::string& reference,
                                          std::vector<Source>& chartSources) {
        auto& known = state_.references[reference];
        if (known.used || (!known.sources.empty() && current(known.sources))) {
            known.used = true;
        } else {
            known = {};
            known.used = true;
            if (const auto areas = parseSeriesReference(reference)) {
                std::vector<double> read;
                for (const auto& [name, area] : *areas) {
                    std::uint32_t first = area.firstColumn;
                    std::uint32_t last = area.lastColumn;
                    for (const auto& [other, otherArea] : *areas) {
                        if (other == name) {
                            first = std::min(first, otherArea.firstColumn);
                            last = std::max(last, otherArea.lastColumn);
                        }
                    }
                    if (std::none_of(known.sources.begin(), known.sources.end(),
                                     [&](const auto& s) { return s.name == name; })) {
                        known.sources.push_back(source(name, first, last));
                    }
                    if (const auto* sheet = worksheetNamed(name)) {
                        if (read.empty()) {
                            known.format = formatOf(*sheet, area);
                        }
                        const auto part = chartValues(*sheet, area);
                        read.insert(read.end(), part.begin(), part.end());
                    }
                }
                known.values = std::move(read);
            }
        }
        // Told apart once the chart's series are all read (withoutRepeats): a summary plot has
        // hundreds, each naming its own sheet and the offset sheet.
        chartSources.insert(chartSources.end(), known.sources.begin(), known.sources.end());
        return known;
    }

    std::string formatOf(const Worksheet& sheet, const CellRange& area) const {
        const Cell* first = sheet.cell(area.firstRow, area.firstColumn);
        return first == nullptr ? "General" : book_.styles().style(first->style()).numberFormat;
    }

    static void withoutRepeats(std::vector<Source>& sources) {
        const auto fields = [](const Source& s) {
            return std::tie(s.name, s.firstColumn, s.lastColumn, s.found, s.revision);
        };
        std::sort(sources.begin(), sources.end(),
                  [&](const Source& a, const Source& b) { return fields(a) < fields(b); });
        sources.erase(std::unique(sources.begin(), sources.end()), sources.end());
    }

    static bool same(const SeriesValues& a, const SeriesValues& b) {
        // Gaps (NaN) compare equal to gaps here.
        return a.sharedWith(b) ||
               std::equal(a.begin(), a.end(), b.begin(), b.end(), [](double x, double y) {
                   return x == y || (std::isnan(x) && std::isnan(y));
               });
    }

    void refresh(ChartSheet& sheet) {
        const auto found = state_.charts.find(sheet.key());
        if (found != state_.charts.end() && found->second.chartRevision == sheet.revision() &&
            current(found->second.sources)) {
            return;
        }
        ChartCacheStamp stamp;
        const auto& series = sheet.chart().series;
        // Only the series whose values differ are assigned: a summary plot holds hundreds.
        std::vector<const ChartCacheState::Values*> xValues(series.size(), nullptr);
        std::vector<const ChartCacheState::Values*> yValues(series.size(), nullptr);
        bool changed = false;
        for (std::size_t i = 0; i < series.size(); ++i) {
            if (!series[i].xValuesRef.empty()) {
                const auto& now = values(series[i].xValuesRef, stamp.sources);
                if (!same(now.values, series[i].xValues) || now.format != series[i].xFormat) {
                    xValues[i] = &now;
                    changed = true;
                }
            }
            if (!series[i].valuesRef.empty()) {
                const auto& now = values(series[i].valuesRef, stamp.sources);
                if (!same(now.values, series[i].values) || now.format != series[i].valuesFormat) {
                    yValues[i] = &now;
                    changed = true;
                }
            }
        }
        if (changed) {
            sheet.editChart([&](Chart& chart) {
                for (std::size_t i = 0; i < chart.series.size(); ++i) {
                    if (xValues[i] != nullptr) {
                        chart.series[i].xValues = xValues[i]->values;
                        chart.series[i].xFormat = xValues[i]->format;
                    }
                    if (yValues[i] != nullptr) {
                        chart.series[i].values = yValues[i]->values;
                        chart.series[i].valuesFormat = yValues[i]->format;
                    }
                }
            });
        }
        withoutRepeats(stamp.sources);
        stamp.chartRevision = sheet.revision();
        state_.charts[sheet.key()] = std::move(stamp);
    }

    Workbook& book_;
    ChartCacheState& state_;
    std::unordered_map<std::string, const Worksheet*> byName_;
};

} // namespace

void refreshChartCaches(Workbook& book, ChartCacheState& state) {
    Refresher(book, state).run();
}

void refreshChartCaches(Workbook& book, ChartCacheState& state, std::size_t sheets) {
    Refresher(book, state).runFront(sheets);
}

bool holdsNumber(const Worksheet& sheet, const std::vector<CellRange>& areas) {
    for (const auto& area : areas) {
        bool found = false;
        forEachStoredCell(sheet, area, [&](std::uint32_t, std::uint32_t, const Cell& cell) {
            found = found || cell.kind() == CellKind::Number;
        });
        if (found) {
            return true;
        }
    }
    return false;
}

} // namespace kelvor
