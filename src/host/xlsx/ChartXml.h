#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kelvor {

struct Chart;
struct ChartSeries;

// The chart, always as an XY scatter chart (the only kind the program draws), with a second
// pair of axes when a series lies on the secondary group. Its text boxes, if any, are the
// part of relationship rId1.
std::string chartXml(const Chart& chart);

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
