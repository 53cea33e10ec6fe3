#include "host/app/chartdata/ChartSource.h"

#include "host/app/chartdata/ChartCaches.h"
#include "host/app/chartdata/ChartReference.h"
#include "host/app/numformat/ValueFormat.h"

namespace kelvor {

namespace {

// The source block seen as lines (the columns when plotting by columns) of equal length.
class SourceLines {
public:
    SourceLines(const CellRange& area, bool byColumns) : area_(area), byColumns_(byColumns) {}

    std::uint32_t count() const {
        return byColumns_ ? area_.lastColumn - area_.firstColumn + 1
                          : area_.lastRow - area_.firstRow + 1;
    }
    std::uint32_t length() const {
        return byColumns_ ? area_.lastRow - area_.firstRow + 1
                          : area_.lastColumn - area_.firstColumn + 1;
    }
    // Positions `from` to the end of line `line`, both 0-based.
    CellRange part(std::uint32_t line, std::uint32_t from) const {
        if (byColumns_) {
            const auto column = area_.firstColumn + line;
            return {area_.firstRow + from, column, area_.lastRow, column};
        }
        const auto row = area_.firstRow + line;
        return {row, area_.firstColumn + from, row, area_.lastColumn};
    }
    const Cell* head(const Worksheet& sheet, std::uint32_t line) const {
        const auto start = part(line, 0);
        return sheet.cell(start.firstRow, start.firstColumn);
    }

private:
    CellRange area_;
    bool byColumns_;
};

bool holdsText(const Cell* cell) {
    return cell != nullptr && cell->kind() == CellKind::Text;
}

} // namespace

std::vector<ChartSeries> seriesFromSource(const Worksheet& sheet, const CellRange& area,
                                          bool byColumns) {
    const SourceLines lines(area, byColumns);
    const bool withX = lines.count() > 1;
    const std::uint32_t firstValues = withX ? 1 : 0;
    bool header = false;
    for (auto line = firstValues; line < lines.count() && lines.length() > 1; ++line) {
        header = header || holdsText(lines.head(sheet, line));
    }
    const std::uint32_t from = header ? 1 : 0;
    std::vector<ChartSeries> out;
    for (auto line = firstValues; line < lines.count(); ++line) {
        ChartSeries series;
        if (const Cell* name = lines.head(sheet, line); header && name != nullptr) {
            series.name = displayText(name->value(), "General");
            const CellRange head = lines.part(line, 0);
            series.nameRef = seriesReference(
                sheet.name(),
                {CellRange{head.firstRow, head.firstColumn, head.firstRow, head.firstColumn}});
        }
        if (withX) {
            series.xValuesRef = seriesReference(sheet.name(), {lines.part(0, from)});
        }
        series.valuesRef = seriesReference(sheet.name(), {lines.part(line, from)});
        out.push_back(std::move(series));
    }
    return out;
}

std::optional<ChartSeries> defaultSeries(const Worksheet& sheet,
                                         const std::vector<CellRange>& selection) {
    if (!holdsNumber(sheet, selection)) {
        return std::nullopt;
    }
    ChartSeries series;
    series.valuesRef = seriesReference(sheet.name(), selection);
    return series;
}

} // namespace kelvor
