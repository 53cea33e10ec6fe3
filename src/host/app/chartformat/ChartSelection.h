#pragma once

#include "export/SpreadsheetCharts.h"
#include "host/app/state/ApplicationState.h"

namespace kelvor {

// The element selected on a chart sheet, as the application's Selection offers it. Members
// the element lacks fail with 438: Border on plot area, gridlines and series, Interior on the
// plot area, the text members on a text box.
class BuiltinChartSelection : public xl::ChartSelection {
public:
    BuiltinChartSelection(SheetRef sheet, ChartElementRef element);

    std::shared_ptr<xl::Border> Border() override;
    std::shared_ptr<xl::Interior> Interior() override;
    std::shared_ptr<xl::Characters> Characters(std::int16_t start) override;
    // The font keeps its size when the chart is resized either way: it is printed at one size.
    void setAutoScaleFont(bool on) override;
    void setHorizontalAlignment(std::int32_t alignment) override;
    void setVerticalAlignment(std::int32_t alignment) override;
    void setOrientation(std::int32_t orientation) override;
    void setAutoSize(bool on) override;
    void setLeft(double points) override;
    std::shared_ptr<xl::ShapeRange> ShapeRange() override;
    void setPlacement(std::int32_t placement) override;
    void setPrintObject(bool on) override;

private:
    // The selected text box's position; 438 when the selection is something else.
    std::uint32_t textBox() const;

    SheetRef sheet_;
    ChartElementRef element_;
};

// The line of the plot area, a series or an axis's major gridlines.
class BuiltinBorder : public xl::Border {
public:
    BuiltinBorder(SheetRef sheet, ChartElementRef element);
    void setColorIndex(std::int16_t index) override;
    void setWeight(std::int32_t weight) override;
    void setLineStyle(std::int32_t style) override;

private:
    void edit(const std::function<void(kelvor::Border&)>& change);

    SheetRef sheet_;
    ChartElementRef element_;
};

// The plot area's fill.
class BuiltinInterior : public xl::Interior {
public:
    explicit BuiltinInterior(SheetRef sheet);
    void setColorIndex(std::int32_t index) override;

private:
    SheetRef sheet_;
};

} // namespace kelvor
