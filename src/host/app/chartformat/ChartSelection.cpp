#include "host/app/chartformat/ChartSelection.h"

#include "export/XlConstants.h"
#include "host/app/chartformat/ChartAccess.h"
#include "host/app/chartformat/ChartText.h"
#include "host/app/chartformat/TextBoxFormat.h"
#include "host/app/errors/HostErrors.h"

#include <cmath>

namespace kelvor {

namespace {

using xl::xlDash;
using xl::xlDashDot;
using xl::xlDashDotDot;
using xl::xlDistributed;
using xl::xlDouble;
using xl::xlDownward;
using xl::xlFreeFloating;
using xl::xlJustify;
using xl::xlMedium;
using xl::xlMove;
using xl::xlSlantDashDot;
using xl::xlThick;
using xl::xlUpward;
using xl::xlVertical;

bool isColorIndex(std::int32_t index) {
    return index == xl::xlAutomatic || index == xl::xlNone || (index >= 1 && index <= 56);
}

xl::HostError propertyError(const char* property, const char* owner) {
    return methodError(std::string("Unable to set the ") + property + " property of the " + owner +
                       " class");
}

kelvor::Border& borderOf(Chart& chart, const ChartElementRef& element) {
    switch (element.kind) {
    case ChartElementRef::Kind::PlotArea:
        return chart.plotAreaBorder;
    case ChartElementRef::Kind::MajorGridlines:
        return chart.axis(element.axisType, element.axisGroup).majorGridlines;
    case ChartElementRef::Kind::Series:
        return seriesWithId(chart, element.id).border;
    default:
        throw unsupportedError();
    }
}

} // namespace

BuiltinChartSelection::BuiltinChartSelection(SheetRef sheet, ChartElementRef element)
    : sheet_(std::move(sheet)), element_(element) {}

std::uint32_t BuiltinChartSelection::textBox() const {
    if (element_.kind != ChartElementRef::Kind::TextBox) {
        chartSheetOf(sheet_);
        throw unsupportedError();
    }
    return element_.id;
}

std::shared_ptr<xl::Border> BuiltinChartSelection::Border() {
    if (element_.kind != ChartElementRef::Kind::PlotArea &&
        element_.kind != ChartElementRef::Kind::MajorGridlines &&
        element_.kind != ChartElementRef::Kind::Series) {
        throw unsupportedError();
    }
    if (!hasElement(chartSheetOf(sheet_).chart(), element_)) {
        throw objectError();
    }
    return std::make_shared<BuiltinBorder>(sheet_, element_);
}

std::shared_ptr<xl::Interior> BuiltinChartSelection::Interior() {
    chartSheetOf(sheet_);
    if (element_.kind != ChartElementRef::Kind::PlotArea) {
        throw unsupportedError();
    }
    return std::make_shared<BuiltinInterior>(sheet_);
}

std::shared_ptr<xl::Characters> BuiltinChartSelection::Characters(std::int16_t start) {
    auto target = std::make_shared<TextBoxText>(sheet_, textBox());
    target->check();
    return std::make_shared<BuiltinCharacters>(std::move(target), start);
}

void BuiltinChartSelection::setAutoScaleFont(bool) {
    TextBoxText(sheet_, textBox()).check();
}

void BuiltinChartSelection::setHorizontalAlignment(std::int32_t alignment) {
    const auto box = textBox();
    if (alignment != xl::xlLeft && alignment != xl::xlCenter && alignment != xl::xlRight &&
        alignment != xlJustify && alignment != xlDistributed) {
        throw propertyError("HorizontalAlignment", "TextBox");
    }
    editTextBox(sheet_, box, [&](TextBox& b) { b.horizontalAlignment = alignment; });
}

void BuiltinChartSelection::setVerticalAlignment(std::int32_t alignment) {
    const auto box = textBox();
    if (alignment != xl::xlTop && alignment != xl::xlCenter && alignment != xl::xlBottom &&
        alignment != xlJustify && alignment != xlDistributed) {
        throw propertyError("VerticalAlignment", "TextBox");
    }
    editTextBox(sheet_, box, [&](TextBox& b) { b.verticalAlignment = alignment; });
}

void BuiltinChartSelection::setOrientation(std::int32_t orientation) {
    const auto box = textBox();
    if (orientation != xl::xlHorizontal && orientation != xlUpward && orientation != xlDownward &&
        orientation != xlVertical) {
        throw propertyError("Orientation", "TextBox");
    }
    editTextBox(sheet_, box, [&](TextBox& b) { b.orientation = orientation; });
}

void BuiltinChartSelection::setAutoSize(bool on) {
    editTextBox(sheet_, textBox(), [&](TextBox& b) { b.autoSize = on; });
}

void BuiltinChartSelection::setLeft(double points) {
    const auto box = textBox();
    if (!std::isfinite(points)) {
        throw propertyError("Left", "TextBox");
    }
    editTextBox(sheet_, box, [&](TextBox& b) { b.left = points; });
}

std::shared_ptr<xl::ShapeRange> BuiltinChartSelection::ShapeRange() {
    const auto box = textBox();
    TextBoxText(sheet_, box).check();
    return std::make_shared<BuiltinShapeRange>(sheet_, box);
}

void BuiltinChartSelection::setPlacement(std::int32_t placement) {
    const auto box = textBox();
    if (placement != xl::xlMoveAndSize && placement != xlMove && placement != xlFreeFloating) {
        throw propertyError("Placement", "TextBox");
    }
    editTextBox(sheet_, box, [&](TextBox& b) { b.placement = placement; });
}

void BuiltinChartSelection::setPrintObject(bool on) {
    editTextBox(sheet_, textBox(), [&](TextBox& b) { b.printObject = on; });
}

BuiltinBorder::BuiltinBorder(SheetRef sheet, ChartElementRef element)
    : sheet_(std::move(sheet)), element_(element) {}

void BuiltinBorder::edit(const std::function<void(kelvor::Border&)>& change) {
    if (!hasElement(chartSheetOf(sheet_).chart(), element_)) {
        throw objectError();
    }
    editChart(sheet_, [&](Chart& chart) { change(borderOf(chart, element_)); });
}

void BuiltinBorder::setColorIndex(std::int16_t index) {
    if (!isColorIndex(index)) {
        throw propertyError("ColorIndex", "Border");
    }
    edit([&](kelvor::Border& border) { border.colorIndex = index; });
}

void BuiltinBorder::setWeight(std::int32_t weight) {
    if (weight != xl::xlHairline && weight != xl::xlThin && weight != xlMedium &&
        weight != xlThick) {
        throw propertyError("Weight", "Border");
    }
    edit([&](kelvor::Border& border) { border.weight = weight; });
}

void BuiltinBorder::setLineStyle(std::int32_t style) {
    if (style != xl::xlContinuous && style != xlDash && style != xl::xlDot && style != xlDashDot &&
        style != xlDashDotDot && style != xlDouble && style != xlSlantDashDot &&
        style != xl::xlNone && style != xl::xlAutomatic) {
        throw propertyError("LineStyle", "Border");
    }
    edit([&](kelvor::Border& border) { border.lineStyle = style; });
}

BuiltinInterior::BuiltinInterior(SheetRef sheet) : sheet_(std::move(sheet)) {}

void BuiltinInterior::setColorIndex(std::int32_t index) {
    if (!isColorIndex(index)) {
        throw propertyError("ColorIndex", "Interior");
    }
    editChart(sheet_, [&](Chart& chart) { chart.plotAreaInteriorColorIndex = index; });
}

} // namespace kelvor
