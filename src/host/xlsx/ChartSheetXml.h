#pragma once

#include <cstdint>
#include <string>

namespace kelvor {

struct Chart;
class ChartSheet;

// The parts a chart sheet takes in the package, named after the sheet's number (Sheet::id)
// at each write; the writer keeps their bytes by the sheet's key.
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
// The chart's text boxes, the part the chart refers to as relationship rId1.
std::string chartShapesXml(const Chart& chart);

} // namespace kelvor
