#pragma once

#include "export/XlConstants.h"
#include "host/model/SeriesValues.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kelvor {

// The chart's size on its chart sheet, in points; text box positions are relative to it.
inline constexpr double kChartSheetWidth = 682.5;
inline constexpr double kChartSheetHeight = 495.0;

struct Border {
    int colorIndex = xl::xlAutomatic;
    int weight = xl::xlThin;
    int lineStyle = xl::xlAutomatic;
    bool operator==(const Border&) const = default;
};

struct ChartText {
    std::string text;
    std::string fontName; // empty: the chart's default font
    double fontSize = 0;  // 0: the chart's default size
    bool bold = false;
    bool operator==(const ChartText&) const = default;
};

struct ChartSeries {
    std::string name;
    // A1 references with their sheet, as "='Data 3'!$B$16:$B$115" (the '=' may be left out),
    // or empty for values of their own; the values are those of the last calculation.
    std::string xValuesRef;
    std::string valuesRef;
    SeriesValues xValues;
    SeriesValues values;
    int axisGroup = 1; // 1 primary, 2 secondary
    Border border;
    // Tells the series apart while others are added and deleted; unique within its chart.
    std::uint32_t id = 0;
    // Number formats of the referenced cells, for the cached values and the axis labels.
    std::string xFormat = "General";
    std::string valuesFormat = "General";
    // The cell the name was taken from, as "='Data 3'!$B$15", or empty for a name of its own;
    // `name` then holds that cell's text.
    std::string nameRef{};
    bool operator==(const ChartSeries&) const = default;
};

struct ChartAxis {
    bool hasTitle = false;
    ChartText title;
    bool hasMajorGridlines = false;
    bool hasMinorGridlines = false;
    Border majorGridlines;
    bool operator==(const ChartAxis&) const = default;
};

struct TextBox {
    double left = 0; // points from the chart's top left corner
    double top = 0;
    double width = 0;
    double height = 0;
    std::string text;
    std::string fontName = "Arial";
    double fontSize = 10;
    bool bold = false;
    int horizontalAlignment = xl::xlLeft;
    int verticalAlignment = xl::xlTop;
    int orientation = xl::xlHorizontal;
    bool autoSize = false;
    bool fillVisible = true;
    int fillSchemeColor = 9;
    std::int32_t fillRgb = -1; // red in the low byte; -1: the scheme colour
    double fillTransparency = 0;
    bool lineVisible = true;
    double lineWeight = 0.75;
    int lineSchemeColor = 64;
    std::int32_t lineRgb = -1;
    double lineTransparency = 0;
    int lineDashStyle = 1; // solid
    int lineStyle = 1;     // single
    int placement = xl::xlMoveAndSize;
    bool printObject = true;
    bool operator==(const TextBox&) const = default;
};

enum class AxisType { Category = 1, Value = 2 };
enum class AxisGroup { Primary = 1, Secondary = 2 };

struct Chart {
    int chartType = xl::xlXYScatterLinesNoMarkers;
    bool hasTitle = false;
    ChartText title;
    bool hasLegend = true;
    Border plotAreaBorder;
    int plotAreaInteriorColorIndex = xl::xlAutomatic;
    std::vector<ChartSeries> series;
    std::uint32_t seriesMade = 0; // the last series id given out
    std::vector<TextBox> textBoxes;

    ChartAxis& axis(AxisType type, AxisGroup group) { return axes_[index(type, group)]; }
    const ChartAxis& axis(AxisType type, AxisGroup group) const {
        return axes_[index(type, group)];
    }
    bool operator==(const Chart&) const = default;

private:
    std::array<ChartAxis, 4> axes_{};

    static std::size_t index(AxisType type, AxisGroup group) {
        return (static_cast<std::size_t>(group) - 1) * 2 + static_cast<std::size_t>(type) - 1;
    }
};

} // namespace kelvor
