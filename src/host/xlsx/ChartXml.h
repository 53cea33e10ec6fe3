#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kelvor {

struct Chart;
struct ChartSeries;
class ChartSheet;

// The parts a chart sheet takes in the package, named after the sheet's id so that they keep
// their names (and cached bytes) when sheets move.
struct ChartPartNames {
    explicit ChartPartNames(std::uint32_t sheetId);
    std::string chartsheet;
    std::string chartsheetRelationships;
    std::string drawing;
    std::string drawingRelationships;
    std::string chart;
    std::string chartRelationships;
    std::string shapes; // the chart's text boxes
};

enum class RelationshipKind { Drawing, Chart, ChartShapes };

// The relationships part of a part in a folder below xl/, pointing at one target part.
std::string relationshipXml(const std::string& targetPart, RelationshipKind kind);

std::string chartsheetXml(const ChartSheet& sheet);
// A drawing that holds the chart over the whole sheet.
std::string drawingXml();
// The chart, always as an XY scatter chart (the only kind the program draws), with a second
// pair of axes when a series lies on the secondary group. Its text boxes, if any, are the
// part of relationship rId1.
std::string chartXml(const Chart& chart);
std::string chartShapesXml(const Chart& chart);

// Receives the chart part in document order: the XML between the series, and each series,
// whose XML seriesXml gives. A writer can keep the pieces of series that did not change.
class ChartXmlSink {
public:
    virtual ~ChartXmlSink() = default;
    virtual void text(std::string_view xml) = 0;
    virtual void series(const ChartSeries& series, std::size_t index, int chartType) = 0;
};

void writeChartXml(const Chart& chart, ChartXmlSink& sink);
// The series at position `index` of a chart of the given type.
std::string seriesXml(const ChartSeries& series, std::size_t index, int chartType);

} // namespace kelvor
