#pragma once

#include "host/model/Chart.h"

#include <cstdint>

namespace kelvor {

// What is selected on a chart sheet: nothing (the chart as a whole), its plot area, the major
// gridlines of one axis, a series (by id) or a text box (by position).
struct ChartElementRef {
    enum class Kind { None, PlotArea, MajorGridlines, Series, TextBox };
    Kind kind = Kind::None;
    AxisType axisType = AxisType::Category;
    AxisGroup axisGroup = AxisGroup::Primary;
    std::uint32_t id = 0;
    bool operator==(const ChartElementRef&) const = default;
};

} // namespace kelvor
