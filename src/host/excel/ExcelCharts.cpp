// Chart sheets, their series, axes and shapes.

#include "host/excel/ComValues.h"
#include "host/excel/ExcelObjects.h"

namespace kelvor::com {

namespace {

class ExcelSeries : public xl::Series, public ExcelHandle {
public:
    using ExcelHandle::ExcelHandle;
    void Select() override { object().call(L"Select"); }
    void Delete() override { object().call(L"Delete"); }
    void setAxisGroup(std::int16_t group) override { object().put(L"AxisGroup", i2(group)); }
    void setName(const std::string& name) override { object().put(L"Name", text(name)); }
    void setValues(const xl::RangePtr& values) override {
        object().put(L"Values", argument(values));
    }
    void setXValues(const xl::RangePtr& values) override {
        object().put(L"XValues", argument(values));
    }
    std::shared_ptr<xl::Border> Border() override {
        return makeBorder(object().child(L"Border", L"Border"));
    }
};

class ExcelSeriesCollection : public xl::SeriesCollection, public ExcelHandle {
public:
    using ExcelHandle::ExcelHandle;
    std::int32_t Count() override { return toInt32(*object().get(L"Count").get()); }
    // A series' index goes as a 16-bit integer.
    std::shared_ptr<xl::Series> Item(std::int32_t index) override {
        return std::make_shared<ExcelSeries>(
            object().child(L"Item", L"Series", {i2(static_cast<std::int16_t>(index))}));
    }
    std::shared_ptr<xl::Series> NewSeries() override {
        return std::make_shared<ExcelSeries>(object().child(L"NewSeries", L"Series"));
    }
};

class ExcelAxis : public xl::Axis, public ExcelHandle {
public:
    using ExcelHandle::ExcelHandle;
    void setHasTitle(bool has) override { object().put(L"HasTitle", boolean(has)); }
    std::shared_ptr<xl::ChartTextElement> AxisTitle() override {
        return makeChartTextElement(object().child(L"AxisTitle", L"AxisTitle"));
    }
    void setHasMajorGridlines(bool has) override {
        object().put(L"HasMajorGridlines", boolean(has));
    }
    void setHasMinorGridlines(bool has) override {
        object().put(L"HasMinorGridlines", boolean(has));
    }
    std::shared_ptr<xl::ChartElement> MajorGridlines() override {
        return makeChartElement(object().child(L"MajorGridlines", L"Gridlines"));
    }
};

class ExcelShapes : public xl::Shapes, public ExcelHandle {
public:
    using ExcelHandle::ExcelHandle;
    std::shared_ptr<xl::ChartElement> AddTextbox(std::int32_t orientation, double left, double top,
                                                 double width, double height) override {
        return makeChartElement(object().child(
            L"AddTextbox", L"Shape",
            {i4(orientation), r4(static_cast<float>(left)), r4(static_cast<float>(top)),
             r4(static_cast<float>(width)), r4(static_cast<float>(height))}));
    }
    std::shared_ptr<xl::ChartElement> Item(std::int32_t index) override {
        return makeChartElement(object().child(L"Item", L"Shape", {i4(index)}));
    }
};

class ExcelChart : public xl::Chart, public ExcelHandle {
public:
    using ExcelHandle::ExcelHandle;
    void Activate() override { object().call(L"Activate"); }
    void Move(const xl::SheetPtr& after) override {
        std::vector<NamedArg> named;
        named.push_back({L"After", argument(after)});
        object().call(L"Move", {}, std::move(named));
    }
    std::string Name() override { return toText(*object().get(L"Name").get()); }
    void setName(const std::string& name) override { object().put(L"Name", text(name)); }
    void setChartType(std::int32_t type) override { object().put(L"ChartType", i4(type)); }
    void SetSourceData(const xl::RangePtr& source, std::int32_t plotBy) override {
        std::vector<NamedArg> named;
        named.push_back({L"Source", argument(source)});
        named.push_back({L"PlotBy", i4(plotBy)});
        object().call(L"SetSourceData", {}, std::move(named));
    }
    void setHasTitle(bool has) override { object().put(L"HasTitle", boolean(has)); }
    std::shared_ptr<xl::ChartTextElement> ChartTitle() override {
        return makeChartTextElement(object().child(L"ChartTitle", L"ChartTitle"));
    }
    std::shared_ptr<xl::Axis> Axes(std::int32_t type, std::int32_t group) override {
        return std::make_shared<ExcelAxis>(object().child(L"Axes", L"Axis", {i4(type), i4(group)}));
    }
    void setHasLegend(bool has) override { object().put(L"HasLegend", boolean(has)); }
    std::shared_ptr<xl::ChartElement> PlotArea() override {
        return makeChartElement(object().child(L"PlotArea", L"PlotArea"));
    }
    std::shared_ptr<xl::SeriesCollection> SeriesCollection() override {
        return std::make_shared<ExcelSeriesCollection>(
            object().child(L"SeriesCollection", L"SeriesCollection"));
    }
    std::shared_ptr<xl::Shapes> Shapes() override {
        return std::make_shared<ExcelShapes>(object().child(L"Shapes", L"Shapes"));
    }
    std::shared_ptr<xl::PageSetup> PageSetup() override {
        return makePageSetup(object().child(L"PageSetup", L"PageSetup"));
    }
    void Deselect() override { object().call(L"Deselect"); }
};

class ExcelCharts : public xl::Charts, public ExcelHandle {
public:
    using ExcelHandle::ExcelHandle;
    std::int32_t Count() override { return toInt32(*object().get(L"Count").get()); }
    std::shared_ptr<xl::Chart> Add(const xl::SheetPtr& after) override {
        std::vector<NamedArg> named;
        named.push_back({L"After", argument(after)});
        return makeChart(object().child(L"Add", L"Chart", {}, std::move(named)));
    }
};

} // namespace

std::shared_ptr<xl::Chart> makeChart(ComObject o) {
    return std::make_shared<ExcelChart>(std::move(o));
}
std::shared_ptr<xl::Charts> makeCharts(ComObject o) {
    return std::make_shared<ExcelCharts>(std::move(o));
}

} // namespace kelvor::com
