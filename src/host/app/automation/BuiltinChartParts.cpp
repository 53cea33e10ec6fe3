#include "host/app/automation/BuiltinChartParts.h"

#include "export/XlConstants.h"
#include "host/app/automation/BuiltinRange.h"
#include "host/app/chartdata/ChartReference.h"
#include "host/app/chartformat/ChartAccess.h"
#include "host/app/chartformat/ChartSelection.h"
#include "host/app/chartformat/ChartText.h"
#include "host/app/errors/HostErrors.h"

#include <cmath>

namespace kelvor {

namespace {

using xl::msoTextOrientationDownward;
using xl::msoTextOrientationUpward;
using xl::msoTextOrientationVertical;
using xl::xlDownward;
using xl::xlUpward;
using xl::xlVertical;

void checkTitle(const Chart& chart, const std::optional<AxisKey>& axis) {
    if (!axis) {
        if (!chart.hasTitle) {
            throw methodError("Unable to get the ChartTitle property of the Chart class");
        }
        return;
    }
    checkAxis(chart, axis->first, axis->second);
    if (!chart.axis(axis->first, axis->second).hasTitle) {
        throw methodError("Unable to get the AxisTitle property of the Axis class");
    }
}

ChartText& titleOf(Chart& chart, const std::optional<AxisKey>& axis) {
    checkTitle(chart, axis);
    return axis ? chart.axis(axis->first, axis->second).title : chart.title;
}

class TitleText : public TextTarget {
public:
    TitleText(SheetRef sheet, std::optional<AxisKey> axis)
        : sheet_(std::move(sheet)), axis_(axis) {}

    void edit(const std::function<void(TextRun&)>& change) override {
        check();
        editChart(sheet_, [&](Chart& chart) {
            auto& title = titleOf(chart, axis_);
            TextRun run{title.text, title.fontName, title.fontSize, title.bold};
            change(run);
        });
    }

    void check() override { checkTitle(chartSheetOf(sheet_).chart(), axis_); }

private:
    SheetRef sheet_;
    std::optional<AxisKey> axis_;
};

// The reference a series keeps to the cells of a range of this workbook.
std::string referenceTo(const xl::RangePtr& range, const SheetRef& chart) {
    const auto* cells = dynamic_cast<const BuiltinRange*>(range.get());
    if (cells == nullptr) {
        throw hostError(xl::ErrTypeMismatch, xl::errorDescription(xl::ErrTypeMismatch));
    }
    if (cells->sheetRef().book != chart.book) {
        throw objectError(); // a chart plots cells of its own workbook only
    }
    return seriesReference(cells->sheetRef().worksheet().name(), cells->areas());
}

} // namespace

BuiltinChartElement::BuiltinChartElement(SheetRef sheet, ChartElementRef element)
    : sheet_(std::move(sheet)), element_(element) {}

void BuiltinChartElement::Select() {
    selectChartElement(sheet_, element_);
}

BuiltinChartTitle::BuiltinChartTitle(SheetRef sheet, std::optional<AxisKey> axis)
    : sheet_(std::move(sheet)), axis_(axis) {}

std::shared_ptr<xl::Characters> BuiltinChartTitle::Characters() {
    auto target = std::make_shared<TitleText>(sheet_, axis_);
    target->check();
    return std::make_shared<BuiltinCharacters>(std::move(target), 1);
}

std::shared_ptr<xl::TextFont> BuiltinChartTitle::Font() {
    auto target = std::make_shared<TitleText>(sheet_, axis_);
    target->check();
    return std::make_shared<BuiltinTextFont>(std::move(target));
}

void BuiltinChartTitle::setCaption(const std::string& text) {
    TitleText(sheet_, axis_).edit([&](TextRun& run) { run.text = text; });
}

BuiltinAxis::BuiltinAxis(SheetRef sheet, AxisType type, AxisGroup group)
    : sheet_(std::move(sheet)), type_(type), group_(group) {}

const ChartAxis& BuiltinAxis::axis() const {
    const auto& chart = chartSheetOf(sheet_).chart();
    checkAxis(chart, type_, group_);
    return chart.axis(type_, group_);
}

void BuiltinAxis::edit(const std::function<void(ChartAxis&)>& change) {
    axis();
    editChart(sheet_, [&](Chart& chart) { change(chart.axis(type_, group_)); });
}

void BuiltinAxis::setHasTitle(bool has) {
    edit([&](ChartAxis& axis) { axis.hasTitle = has; });
}

std::shared_ptr<xl::ChartTextElement> BuiltinAxis::AxisTitle() {
    if (!axis().hasTitle) {
        throw methodError("Unable to get the AxisTitle property of the Axis class");
    }
    return std::make_shared<BuiltinChartTitle>(sheet_, AxisKey{type_, group_});
}

void BuiltinAxis::setHasMajorGridlines(bool has) {
    edit([&](ChartAxis& axis) { axis.hasMajorGridlines = has; });
}

void BuiltinAxis::setHasMinorGridlines(bool has) {
    edit([&](ChartAxis& axis) { axis.hasMinorGridlines = has; });
}

std::shared_ptr<xl::ChartElement> BuiltinAxis::MajorGridlines() {
    if (!axis().hasMajorGridlines) {
        throw methodError("Unable to get the MajorGridlines property of the Axis class");
    }
    return std::make_shared<BuiltinChartElement>(
        sheet_, ChartElementRef{ChartElementRef::Kind::MajorGridlines, type_, group_});
}

BuiltinSeries::BuiltinSeries(SheetRef sheet, std::uint32_t id)
    : sheet_(std::move(sheet)), id_(id) {}

void BuiltinSeries::edit(const std::function<void(ChartSeries&)>& change) {
    seriesWithId(chartSheetOf(sheet_).chart(), id_); // fails before the chart counts as changed
    editChart(sheet_, [&](Chart& c) { change(seriesWithId(c, id_)); });
}

void BuiltinSeries::Select() {
    selectChartElement(sheet_, ChartElementRef{ChartElementRef::Kind::Series, AxisType::Category,
                                               AxisGroup::Primary, id_});
}

void BuiltinSeries::Delete() {
    seriesWithId(chartSheetOf(sheet_).chart(), id_);
    editChart(sheet_, [&](Chart& chart) {
        std::erase_if(chart.series, [&](const ChartSeries& s) { return s.id == id_; });
    });
    auto& selected = sheet_.view().chartSelection;
    if (selected.kind == ChartElementRef::Kind::Series && selected.id == id_) {
        selected = {};
    }
}

void BuiltinSeries::setAxisGroup(std::int16_t group) {
    if (group != xl::xlPrimary && group != xl::xlSecondary) {
        chartSheetOf(sheet_);
        throw methodError("Unable to set the AxisGroup property of the Series class");
    }
    edit([&](ChartSeries& series) { series.axisGroup = group; });
}

void BuiltinSeries::setName(const std::string& name) {
    edit([&](ChartSeries& series) {
        series.name = name;
        series.nameRef.clear(); // a name of its own, no longer the cell's
    });
}

void BuiltinSeries::setValues(const xl::RangePtr& values) {
    chartSheetOf(sheet_);
    const auto reference = referenceTo(values, sheet_);
    edit([&](ChartSeries& series) {
        series.valuesRef = reference;
        series.values.clear();
    });
}

void BuiltinSeries::setXValues(const xl::RangePtr& xValues) {
    chartSheetOf(sheet_);
    const auto reference = referenceTo(xValues, sheet_);
    edit([&](ChartSeries& series) {
        series.xValuesRef = reference;
        series.xValues.clear();
    });
}

std::shared_ptr<xl::Border> BuiltinSeries::Border() {
    seriesWithId(chartSheetOf(sheet_).chart(), id_);
    return std::make_shared<BuiltinBorder>(sheet_, ChartElementRef{ChartElementRef::Kind::Series,
                                                                   AxisType::Category,
                                                                   AxisGroup::Primary, id_});
}

BuiltinSeriesCollection::BuiltinSeriesCollection(SheetRef sheet) : sheet_(std::move(sheet)) {}

std::int32_t BuiltinSeriesCollection::Count() {
    return static_cast<std::int32_t>(chartSheetOf(sheet_).chart().series.size());
}

std::shared_ptr<xl::Series> BuiltinSeriesCollection::Item(std::int32_t index) {
    const auto& series = chartSheetOf(sheet_).chart().series;
    if (index < 1 || static_cast<std::size_t>(index) > series.size()) {
        throw methodError("Invalid Parameter");
    }
    return std::make_shared<BuiltinSeries>(sheet_, series[static_cast<std::size_t>(index) - 1].id);
}

std::shared_ptr<xl::Series> BuiltinSeriesCollection::NewSeries() {
    std::uint32_t id = 0;
    editChart(sheet_, [&](Chart& chart) {
        ChartSeries series;
        series.id = id = ++chart.seriesMade;
        chart.series.push_back(std::move(series));
    });
    return std::make_shared<BuiltinSeries>(sheet_, id);
}

BuiltinShapes::BuiltinShapes(SheetRef sheet) : sheet_(std::move(sheet)) {}

std::shared_ptr<xl::ChartElement> BuiltinShapes::AddTextbox(std::int32_t orientation, double left,
                                                            double top, double width,
                                                            double height) {
    chartSheetOf(sheet_);
    int textOrientation = xl::xlHorizontal;
    switch (orientation) {
    case xl::msoTextOrientationHorizontal:
        break;
    case msoTextOrientationUpward:
        textOrientation = xlUpward;
        break;
    case msoTextOrientationDownward:
        textOrientation = xlDownward;
        break;
    case msoTextOrientationVertical:
        textOrientation = xlVertical;
        break;
    default:
        throw methodError("The specified value is out of range.");
    }
    if (!std::isfinite(left) || !std::isfinite(top) || !std::isfinite(width) ||
        !std::isfinite(height) || width < 0 || height < 0) {
        throw methodError("The specified value is out of range.");
    }
    std::uint32_t index = 0;
    editChart(sheet_, [&](Chart& chart) {
        TextBox box;
        box.left = left;
        box.top = top;
        box.width = width;
        box.height = height;
        box.orientation = textOrientation;
        index = static_cast<std::uint32_t>(chart.textBoxes.size());
        chart.textBoxes.push_back(std::move(box));
    });
    return std::make_shared<BuiltinChartElement>(
        sheet_, ChartElementRef{ChartElementRef::Kind::TextBox, AxisType::Category,
                                AxisGroup::Primary, index});
}

std::shared_ptr<xl::ChartElement> BuiltinShapes::Item(std::int32_t index) {
    const auto& chart = chartSheetOf(sheet_).chart();
    if (index < 1 || static_cast<std::size_t>(index) > chart.textBoxes.size()) {
        throw methodError("The index into the specified collection is out of bounds.");
    }
    return std::make_shared<BuiltinChartElement>(
        sheet_, ChartElementRef{ChartElementRef::Kind::TextBox, AxisType::Category,
                                AxisGroup::Primary, static_cast<std::uint32_t>(index - 1)});
}

} // namespace kelvor
