// Chart sheets, their series, axes and shapes.

#include "RecordedObjects.h"

namespace kelvor::test::replay {

namespace {

auto count = [](std::int32_t n) { return i4(n); };

class RecordedSeries : public Recorded<xl::Series> {
public:
    using Recorded::Recorded;
    void Select() override {
        method("Select", [&] { to().Select(); });
    }
    void Delete() override {
        method("Delete", [&] { to().Delete(); });
    }
    void setAxisGroup(std::int16_t g) override {
        put("AxisGroup", i2(g), [&] { to().setAxisGroup(g); });
    }
    void setName(const std::string& s) override {
        put("Name", bstr(s), [&] { to().setName(s); });
    }
    void setValues(const xl::RangePtr& r) override {
        put("Values", argumentOf(r), [&] { to().setValues(innerOf(r)); });
    }
    void setXValues(const xl::RangePtr& r) override {
        put("XValues", argumentOf(r), [&] { to().setXValues(innerOf(r)); });
    }
    std::shared_ptr<xl::Border> Border() override {
        return child(
            "get", "Border", "Border", [&] { return to().Border(); }, recordBorder);
    }
};

std::shared_ptr<xl::Series> recordSeries(std::shared_ptr<xl::Series> inner, Handle h) {
    return std::make_shared<RecordedSeries>(std::move(inner), std::move(h));
}

class RecordedSeriesCollection : public Recorded<xl::SeriesCollection> {
public:
    using Recorded::Recorded;
    std::int32_t Count() override {
        return get<std::int32_t>(
            "Count", [&] { return to().Count(); }, count);
    }
    // The series' index goes as a 16-bit integer.
    std::shared_ptr<xl::Series> Item(std::int32_t index) override {
        return child("get", "Item", "Series", [&] { return to().Item(index); }, recordSeries,
                     {i2(static_cast<std::int16_t>(index))});
    }
    std::shared_ptr<xl::Series> NewSeries() override {
        return child(
            "call", "NewSeries", "Series", [&] { return to().NewSeries(); }, recordSeries);
    }
};

class RecordedAxis : public Recorded<xl::Axis> {
public:
    using Recorded::Recorded;
    void setHasTitle(bool b) override {
        put("HasTitle", boolean(b), [&] { to().setHasTitle(b); });
    }
    std::shared_ptr<xl::ChartTextElement> AxisTitle() override {
        return child(
            "get", "AxisTitle", "AxisTitle", [&] { return to().AxisTitle(); },
            recordChartTextElement);
    }
    void setHasMajorGridlines(bool b) override {
        put("HasMajorGridlines", boolean(b), [&] { to().setHasMajorGridlines(b); });
    }
    void setHasMinorGridlines(bool b) override {
        put("HasMinorGridlines", boolean(b), [&] { to().setHasMinorGridlines(b); });
    }
    std::shared_ptr<xl::ChartElement> MajorGridlines() override {
        return child(
            "get", "MajorGridlines", "Gridlines", [&] { return to().MajorGridlines(); },
            recordChartElement);
    }
};

class RecordedShapes : public Recorded<xl::Shapes> {
public:
    using Recorded::Recorded;
    // Orientation as a 32-bit integer, the position in single-precision points.
    std::shared_ptr<xl::ChartElement> AddTextbox(std::int32_t orientation, double left, double top,
                                                 double width, double height) override {
        return child("call", "AddTextbox", "Shape",
                     [&] { return to().AddTextbox(orientation, left, top, width, height); },
                     recordChartElement,
                     {i4(orientation), r4(static_cast<float>(left)), r4(static_cast<float>(top)),
                      r4(static_cast<float>(width)), r4(static_cast<float>(height))});
    }
    std::shared_ptr<xl::ChartElement> Item(std::int32_t index) override {
        return child("get", "Item", "Shape", [&] { return to().Item(index); }, recordChartElement,
                     {i4(index)});
    }
};

class RecordedChart : public Recorded<xl::Chart> {
public:
    using Recorded::Recorded;
    void Activate() override {
        method("Activate", [&] { to().Activate(); });
    }
    void Move(const xl::SheetPtr& after) override {
        method("Move", [&] { to().Move(innerOf(after)); }, {}, {{"After", argumentOf(after)}});
    }
    std::string Name() override {
        return get<std::string>(
            "Name", [&] { return to().Name(); }, [](const std::string& s) { return bstr(s); });
    }
    void setName(const std::string& s) override {
        put("Name", bstr(s), [&] { to().setName(s); });
    }
    void setChartType(std::int32_t t) override {
        put("ChartType", i4(t), [&] { to().setChartType(t); });
    }
    void SetSourceData(const xl::RangePtr& source, std::int32_t plotBy) override {
        method("SetSourceData", [&] { to().SetSourceData(innerOf(source), plotBy); }, {},
               {{"Source", argumentOf(source)}, {"PlotBy", i4(plotBy)}});
    }
    void setHasTitle(bool b) override {
        put("HasTitle", boolean(b), [&] { to().setHasTitle(b); });
    }
    std::shared_ptr<xl::ChartTextElement> ChartTitle() override {
        return child(
            "get", "ChartTitle", "ChartTitle", [&] { return to().ChartTitle(); },
            recordChartTextElement);
    }
    std::shared_ptr<xl::Axis> Axes(std::int32_t type, std::int32_t group) override {
        return child(
            "get", "Axes", "Axis", [&] { return to().Axes(type, group); },
            [](std::shared_ptr<xl::Axis> inner, Handle h) {
                return std::make_shared<RecordedAxis>(std::move(inner), std::move(h));
            },
            {i4(type), i4(group)});
    }
    void setHasLegend(bool b) override {
        put("HasLegend", boolean(b), [&] { to().setHasLegend(b); });
    }
    std::shared_ptr<xl::ChartElement> PlotArea() override {
        return child(
            "get", "PlotArea", "PlotArea", [&] { return to().PlotArea(); }, recordChartElement);
    }
    std::shared_ptr<xl::SeriesCollection> SeriesCollection() override {
        return child(
            "get", "SeriesCollection", "SeriesCollection", [&] { return to().SeriesCollection(); },
            [](std::shared_ptr<xl::SeriesCollection> inner, Handle h) {
                return std::make_shared<RecordedSeriesCollection>(std::move(inner), std::move(h));
            });
    }
    std::shared_ptr<xl::Shapes> Shapes() override {
        return child(
            "get", "Shapes", "Shapes", [&] { return to().Shapes(); },
            [](std::shared_ptr<xl::Shapes> inner, Handle h) {
                return std::make_shared<RecordedShapes>(std::move(inner), std::move(h));
            });
    }
    std::shared_ptr<xl::PageSetup> PageSetup() override {
        return child(
            "get", "PageSetup", "PageSetup", [&] { return to().PageSetup(); }, recordPageSetup);
    }
    void Deselect() override {
        method("Deselect", [&] { to().Deselect(); });
    }
};

class RecordedCharts : public Recorded<xl::Charts> {
public:
    using Recorded::Recorded;
    std::int32_t Count() override {
        return get<std::int32_t>(
            "Count", [&] { return to().Count(); }, count);
    }
    std::shared_ptr<xl::Chart> Add(const xl::SheetPtr& after) override {
        return child("call", "Add", "Chart", [&] { return to().Add(innerOf(after)); }, recordChart,
                     {}, {{"After", argumentOf(after)}});
    }
};

} // namespace

std::shared_ptr<xl::Chart> recordChart(std::shared_ptr<xl::Chart> inner, Handle h) {
    return std::make_shared<RecordedChart>(std::move(inner), std::move(h));
}
std::shared_ptr<xl::Charts> recordCharts(std::shared_ptr<xl::Charts> inner, Handle h) {
    return std::make_shared<RecordedCharts>(std::move(inner), std::move(h));
}

} // namespace kelvor::test::replay
