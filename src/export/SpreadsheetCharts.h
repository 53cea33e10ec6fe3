#pragma once

// The chart half of the spreadsheet interface: chart sheets, their elements and text boxes,
// and what a selection of one of them offers. Same rules as Spreadsheet.h: members named as
// the automation object model spells them, 1-based items, xl::HostError on failure (438 for a
// member the selected object does not have).

#include "export/Spreadsheet.h"

#include <cstdint>
#include <memory>
#include <string>

namespace kelvor::xl {

// Line of a chart element (gridlines, plot area, series).
class Border {
public:
    virtual ~Border() = default;
    virtual void setColorIndex(std::int16_t index) = 0;
    virtual void setWeight(std::int32_t weight) = 0;
    virtual void setLineStyle(std::int32_t style) = 0;
};

class Interior {
public:
    virtual ~Interior() = default;
    virtual void setColorIndex(std::int32_t index) = 0;
};

// The full font of a text run (titles, text boxes); the cell Font's members plus these.
class TextFont {
public:
    virtual ~TextFont() = default;
    virtual void setName(const std::string& name) = 0;
    virtual void setFontStyle(const std::string& style) = 0;
    virtual void setSize(double points) = 0;
    virtual void setStrikethrough(bool on) = 0;
    virtual void setSuperscript(bool on) = 0;
    virtual void setSubscript(bool on) = 0;
    virtual void setOutlineFont(bool on) = 0;
    virtual void setShadow(bool on) = 0;
    virtual void setUnderline(std::int32_t style) = 0;
    virtual void setColorIndex(std::int32_t index) = 0;
};

class Characters {
public:
    virtual ~Characters() = default;
    virtual void setText(const std::string& text) = 0;
    virtual std::shared_ptr<TextFont> Font() = 0;
};

// Colour of a shape's fill or line.
class ColorFormat {
public:
    virtual ~ColorFormat() = default;
    virtual void setSchemeColor(std::int16_t index) = 0;
    virtual void setRGB(std::int32_t rgb) = 0; // red in the low byte
};

class FillFormat {
public:
    virtual ~FillFormat() = default;
    virtual void setVisible(std::int32_t visible) = 0; // msoTrue / msoFalse
    virtual void Solid() = 0;
    virtual std::shared_ptr<ColorFormat> ForeColor() = 0;
    virtual void setTransparency(double transparency) = 0;
};

class LineFormat {
public:
    virtual ~LineFormat() = default;
    virtual void setWeight(double points) = 0;
    virtual void setDashStyle(std::int32_t style) = 0;
    virtual void setStyle(std::int32_t style) = 0;
    virtual void setTransparency(double transparency) = 0;
    virtual void setVisible(std::int32_t visible) = 0;
    virtual std::shared_ptr<ColorFormat> ForeColor() = 0;
    virtual std::shared_ptr<ColorFormat> BackColor() = 0;
};

class ShapeRange {
public:
    virtual ~ShapeRange() = default;
    virtual std::shared_ptr<FillFormat> Fill() = 0;
    virtual std::shared_ptr<LineFormat> Line() = 0;
};

// A chart title or axis title.
class ChartTextElement {
public:
    virtual ~ChartTextElement() = default;
    virtual std::shared_ptr<xl::Characters> Characters() = 0;
    virtual std::shared_ptr<TextFont> Font() = 0;
    virtual void setCaption(const std::string& text) = 0;
};

// Gridlines, plot area, series, text box: what can be selected on a chart.
class ChartElement {
public:
    virtual ~ChartElement() = default;
    virtual void Select() = 0;
};

class Series : public ChartElement {
public:
    virtual void Delete() = 0;
    virtual void setAxisGroup(std::int16_t group) = 0;
    virtual void setName(const std::string& name) = 0;
    virtual void setValues(const RangePtr& values) = 0;
    virtual void setXValues(const RangePtr& xValues) = 0;
    virtual std::shared_ptr<xl::Border> Border() = 0;
};

class SeriesCollection {
public:
    virtual ~SeriesCollection() = default;
    virtual std::int32_t Count() = 0;
    virtual std::shared_ptr<Series> Item(std::int32_t index) = 0; // 1004 when out of range
    virtual std::shared_ptr<Series> NewSeries() = 0;
};

class Axis {
public:
    virtual ~Axis() = default;
    virtual void setHasTitle(bool has) = 0;
    virtual std::shared_ptr<ChartTextElement> AxisTitle() = 0;
    virtual void setHasMajorGridlines(bool has) = 0;
    virtual void setHasMinorGridlines(bool has) = 0;
    virtual std::shared_ptr<ChartElement> MajorGridlines() = 0;
};

class Shapes {
public:
    virtual ~Shapes() = default;
    // A text box at a position in points; returns it for selecting.
    virtual std::shared_ptr<ChartElement> AddTextbox(std::int32_t orientation, double left,
                                                     double top, double width, double height) = 0;
    // The index-th shape, for selecting; 1004 when there is none.
    virtual std::shared_ptr<ChartElement> Item(std::int32_t index) = 0;
};

// A chart sheet seen as its chart (the application's ActiveChart).
class Chart {
public:
    virtual ~Chart() = default;
    virtual void Activate() = 0;
    virtual void Move(const SheetPtr& after) = 0;
    virtual std::string Name() = 0;
    virtual void setName(const std::string& name) = 0; // 1004 when the workbook has it
    virtual void setChartType(std::int32_t type) = 0;
    virtual void SetSourceData(const RangePtr& source, std::int32_t plotBy) = 0;
    virtual void setHasTitle(bool has) = 0;
    virtual std::shared_ptr<ChartTextElement> ChartTitle() = 0;
    virtual std::shared_ptr<xl::Axis> Axes(std::int32_t type, std::int32_t group) = 0;
    virtual void setHasLegend(bool has) = 0;
    virtual std::shared_ptr<ChartElement> PlotArea() = 0;
    virtual std::shared_ptr<xl::SeriesCollection> SeriesCollection() = 0;
    virtual std::shared_ptr<xl::Shapes> Shapes() = 0;
    virtual std::shared_ptr<xl::PageSetup> PageSetup() = 0;
    virtual void Deselect() = 0;
};

class Charts {
public:
    virtual ~Charts() = default;
    virtual std::int32_t Count() = 0;
    // Inserts a chart sheet behind `after`; it becomes the active sheet and active chart, and
    // holds one series made from the selection of the sheet that was active before (when that
    // selection is a range of numbers).
    virtual std::shared_ptr<Chart> Add(const SheetPtr& after) = 0;
};

// The selected chart element or text box, as Selection offers it (Selection::AsChartSelection).
class ChartSelection {
public:
    virtual ~ChartSelection() = default;
    virtual std::shared_ptr<xl::Border> Border() = 0;
    virtual std::shared_ptr<xl::Interior> Interior() = 0;
    virtual std::shared_ptr<xl::Characters> Characters(std::int16_t start) = 0;
    virtual void setAutoScaleFont(bool on) = 0;
    virtual void setHorizontalAlignment(std::int32_t alignment) = 0;
    virtual void setVerticalAlignment(std::int32_t alignment) = 0;
    virtual void setOrientation(std::int32_t orientation) = 0;
    virtual void setAutoSize(bool on) = 0;
    virtual void setLeft(double points) = 0; // of a text box, from the chart's left edge
    virtual std::shared_ptr<xl::ShapeRange> ShapeRange() = 0;
    virtual void setPlacement(std::int32_t placement) = 0;
    virtual void setPrintObject(bool on) = 0;
};

} // namespace kelvor::xl
