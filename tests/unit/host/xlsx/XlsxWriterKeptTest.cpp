// A writer kept from one write to the next must write what a fresh writer writes: whatever it
// keeps (parts, rows, series pieces) has to notice every change of what it wrote.
//
// The field-driven test changes every field of the model structs the writer reads, one at a
// time. C++ cannot list a struct's fields, so each struct's fields are bound by name with a
// structured binding (fieldsOf below): a field added later makes the binding fail to compile
// until it is bound here and given a change. Each change is checked to alter its own field
// and no other, so a change that misses its field, or a table that skips one, fails too. Chart
// has a private member and cannot be bound; its size is compared with a twin of its fields
// instead, which misses only a field small enough to hide in padding.
#include "XlsxPackage.h"

#include "host/model/Workbook.h"
#include "host/xlsx/XlsxWriter.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace kelvor {
namespace {

using Package = std::map<std::string, test::PackageEntry>;

auto fieldsOf(ChartSeries& s) {
    auto& [name, xValuesRef, valuesRef, xValues, values, axisGroup, border, id, xFormat,
           valuesFormat, nameRef] = s;
    return std::tie(name, xValuesRef, valuesRef, xValues, values, axisGroup, border, id, xFormat,
                    valuesFormat, nameRef);
}
auto fieldsOf(Border& b) {
    auto& [colorIndex, weight, lineStyle] = b;
    return std::tie(colorIndex, weight, lineStyle);
}
auto fieldsOf(ChartText& t) {
    auto& [text, fontName, fontSize, bold] = t;
    return std::tie(text, fontName, fontSize, bold);
}
auto fieldsOf(ChartAxis& a) {
    auto& [hasTitle, title, hasMajorGridlines, hasMinorGridlines, majorGridlines] = a;
    return std::tie(hasTitle, title, hasMajorGridlines, hasMinorGridlines, majorGridlines);
}
auto fieldsOf(TextBox& b) {
    auto& [left, top, width, height, text, fontName, fontSize, bold, horizontalAlignment,
           verticalAlignment, orientation, autoSize, fillVisible, fillSchemeColor, fillRgb,
           fillTransparency, lineVisible, lineWeight, lineSchemeColor, lineRgb, lineTransparency,
           lineDashStyle, lineStyle, placement, printObject] = b;
    return std::tie(left, top, width, height, text, fontName, fontSize, bold, horizontalAlignment,
                    verticalAlignment, orientation, autoSize, fillVisible, fillSchemeColor, fillRgb,
                    fillTransparency, lineVisible, lineWeight, lineSchemeColor, lineRgb,
                    lineTransparency, lineDashStyle, lineStyle, placement, printObject);
}
auto fieldsOf(PageSetup& p) {
    auto& [leftMargin, rightMargin, topMargin, bottomMargin, headerMargin, footerMargin, leftHeader,
           centerHeader, rightHeader, leftFooter, centerFooter, rightFooter, printTitleRows,
           paperSize] = p;
    return std::tie(leftMargin, rightMargin, topMargin, bottomMargin, headerMargin, footerMargin,
                    leftHeader, centerHeader, rightHeader, leftFooter, centerFooter, rightFooter,
                    printTitleRows, paperSize);
}
auto fieldsOf(SheetSelection& s) {
    auto& [areas, activeRow, activeColumn] = s;
    return std::tie(areas, activeRow, activeColumn);
}
auto fieldsOf(ColumnFormat& f) {
    auto& [width, autoFitted, style] = f;
    return std::tie(width, autoFitted, style);
}

// Chart's fields in their order; its size must be Chart's.
struct ChartTwin {
    int chartType;
    bool hasTitle;
    ChartText title;
    bool hasLegend;
    Border plotAreaBorder;
    int plotAreaInteriorColorIndex;
    std::vector<ChartSeries> series;
    std::uint32_t seriesMade;
    std::vector<TextBox> textBoxes;
    std::array<ChartAxis, 4> axes;
};
static_assert(sizeof(ChartTwin) == sizeof(Chart), "a field of Chart needs a change below");

// Which fields of `after` differ from `before`, by position.
template <class T> std::vector<std::size_t> changedFields(T before, T after) {
    std::vector<std::size_t> changed;
    auto a = fieldsOf(before);
    auto b = fieldsOf(after);
    [&]<std::size_t... I>(std::index_sequence<I...>) {
        ((std::get<I>(a) == std::get<I>(b) ? void() : changed.push_back(I)), ...);
    }
    (std::make_index_sequence<std::tuple_size_v<decltype(a)>>{});
    return changed;
}

template <class T> using Changes = std::vector<std::function<void(T&)>>;

// Each change alters one field of `sample` and nothing else, and every field has a change (a
// field holding a struct has one for each of its own fields).
template <class T> void expectOnePerField(const T& sample, const Changes<T>& changes) {
    T copy = sample;
    std::vector<bool> covered(std::tuple_size_v<decltype(fieldsOf(copy))>, false);
    for (std::size_t k = 0; k < changes.size(); ++k) {
        T changed = sample;
        changes[k](changed);
        const auto fields = changedFields(sample, changed);
        ASSERT_EQ(fields.size(), 1u) << "change " << k;
        covered[fields[0]] = true;
    }
    for (std::size_t field = 0; field < covered.size(); ++field) {
        EXPECT_TRUE(covered[field]) << "no change for field " << field;
    }
}

const std::string& textOf(std::string& s) {
    return s += "x";
}

Changes<Border> borderChanges() {
    return {[](Border& b) { b.colorIndex = 5; }, [](Border& b) { b.weight = xl::xlThick; },
            [](Border& b) { b.lineStyle = xl::xlDash; }};
}
Changes<ChartText> textChanges() {
    return {[](ChartText& t) { textOf(t.text); }, [](ChartText& t) { t.fontName = "Courier"; },
            [](ChartText& t) { t.fontSize = 17; }, [](ChartText& t) { t.bold = !t.bold; }};
}

// The changes of a part, applied through the whole that holds it.
template <class Whole, class Part>
void addChanges(Changes<Whole>& to, const Changes<Part>& changes,
                std::function<Part&(Whole&)> part) {
    for (const auto& change : changes) {
        to.push_back([=](Whole& whole) { change(part(whole)); });
    }
}

Changes<ChartSeries> seriesChanges() {
    Changes<ChartSeries> changes{
        [](ChartSeries& s) { textOf(s.name); },
        [](ChartSeries& s) { s.xValuesRef = "'Data 1'!$A$2:$A$9"; },
        [](ChartSeries& s) { s.valuesRef = "'Data 1'!$B$2:$B$9"; },
        [](ChartSeries& s) { s.xValues.set(2, 7.25); },
        [](ChartSeries& s) { s.values.push_back(3.5); },
        [](ChartSeries& s) { s.axisGroup = 2; },
    };
    addChanges<ChartSeries, Border>(changes, borderChanges(),
                                    [](ChartSeries& s) -> Border& { return s.border; });
    changes.push_back([](ChartSeries& s) { s.id += 40; }); // not written
    changes.push_back([](ChartSeries& s) { s.xFormat = "0.00"; });
    changes.push_back([](ChartSeries& s) { s.valuesFormat = "0.0"; });
    changes.push_back([](ChartSeries& s) { s.nameRef = "'Data 1'!$C$1"; });
    return changes;
}

Changes<ChartAxis> axisChanges() {
    Changes<ChartAxis> changes{[](ChartAxis& a) { a.hasTitle = !a.hasTitle; }};
    addChanges<ChartAxis, ChartText>(changes, textChanges(),
                                     [](ChartAxis& a) -> ChartText& { return a.title; });
    changes.push_back([](ChartAxis& a) { a.hasMajorGridlines = !a.hasMajorGridlines; });
    changes.push_back([](ChartAxis& a) { a.hasMinorGridlines = !a.hasMinorGridlines; });
    addChanges<ChartAxis, Border>(changes, borderChanges(),
                                  [](ChartAxis& a) -> Border& { return a.majorGridlines; });
    return changes;
}

Changes<TextBox> textBoxChanges() {
    return {[](TextBox& b) { b.left += 3; },
            [](TextBox& b) { b.top += 3; },
            [](TextBox& b) { b.width += 3; },
            [](TextBox& b) { b.height += 3; },
            [](TextBox& b) { textOf(b.text); },
            [](TextBox& b) { b.fontName = "Courier"; },
            [](TextBox& b) { b.fontSize = 13; },
            [](TextBox& b) { b.bold = !b.bold; },
            [](TextBox& b) { b.horizontalAlignment = xl::xlCenter; },
            [](TextBox& b) { b.verticalAlignment = xl::xlCenter; },
            [](TextBox& b) { b.orientation = xl::xlUpward; },
            [](TextBox& b) { b.autoSize = !b.autoSize; },
            [](TextBox& b) { b.fillVisible = !b.fillVisible; },
            [](TextBox& b) { b.fillSchemeColor = 10; },
            [](TextBox& b) { b.fillRgb = 0x00FF00; },
            [](TextBox& b) { b.fillTransparency = 0.5; },
            [](TextBox& b) { b.lineVisible = !b.lineVisible; },
            [](TextBox& b) { b.lineWeight = 2.25; },
            [](TextBox& b) { b.lineSchemeColor = 8; },
            [](TextBox& b) { b.lineRgb = 0x0000FF; },
            [](TextBox& b) { b.lineTransparency = 0.25; },
            [](TextBox& b) { b.lineDashStyle = 4; },
            [](TextBox& b) { b.lineStyle = 2; },
            [](TextBox& b) { b.placement = xl::xlFreeFloating; },
            [](TextBox& b) { b.printObject = !b.printObject; }};
}

Changes<PageSetup> pageChanges() {
    return {[](PageSetup& p) { p.leftMargin += 1; },
            [](PageSetup& p) { p.rightMargin += 1; },
            [](PageSetup& p) { p.topMargin += 1; },
            [](PageSetup& p) { p.bottomMargin += 1; },
            [](PageSetup& p) { p.headerMargin += 1; },
            [](PageSetup& p) { p.footerMargin += 1; },
            [](PageSetup& p) { textOf(p.leftHeader); },
            [](PageSetup& p) { textOf(p.centerHeader); },
            [](PageSetup& p) { textOf(p.rightHeader); },
            [](PageSetup& p) { textOf(p.leftFooter); },
            [](PageSetup& p) { textOf(p.centerFooter); },
            [](PageSetup& p) { textOf(p.rightFooter); },
            [](PageSetup& p) { p.printTitleRows = "$2:$3"; },
            [](PageSetup& p) { p.paperSize = PaperLetter; }};
}

Changes<SheetSelection> selectionChanges() {
    return {[](SheetSelection& s) {
                s.areas.push_back({4, 2, 6, 3});
            },
            [](SheetSelection& s) { s.activeRow = 5; },
            [](SheetSelection& s) { s.activeColumn = 3; }};
}

// One at a time: GCC 12 warns falsely on the list constructor inlined here.
SeriesValues numbers(std::initializer_list<double> list) {
    SeriesValues values;
    for (const double value : list) {
        values.push_back(value);
    }
    return values;
}

ChartSeries sampleSeries(int k) {
    ChartSeries s;
    s.name = "Test " + std::to_string(k);
    s.xValues = numbers({0.5, 1.0, 1.5, 2.0});
    s.values = numbers({k * 1.0, k * 2.0, std::nan(""), k * 4.0});
    s.id = static_cast<std::uint32_t>(k);
    return s;
}

TextBox sampleTextBox() {
    TextBox box;
    box.left = 20;
    box.top = 30;
    box.width = 120;
    box.height = 40;
    box.text = "Sample B-7";
    return box;
}

class XlsxWriterKeptTest : public testing::Test {
protected:
    XlsxWriterKeptTest() {
        auto& data = book.addWorksheet("Data 1");
        for (std::uint32_t row = 1; row <= 12; ++row) {
            data.setValue(row, 1, row * 0.5);
            data.setValue(row, 2, std::string("load ") + std::to_string(row));
            data.setFormula(row, 4, "=RC1*2", FormulaNotation::R1C1, row * 1.0);
        }
        data.setColumnWidth(2, 14.5);
        book.addChartSheet("Data 1 Plot").editChart([](Chart& chart) {
            chart.hasTitle = true;
            chart.title.text = "Force against deflection";
            chart.series = {sampleSeries(1), sampleSeries(2)};
            chart.textBoxes = {sampleTextBox()};
            for (auto type : {AxisType::Category, AxisType::Value}) {
                chart.axis(type, AxisGroup::Primary).hasTitle = true;
                chart.axis(type, AxisGroup::Primary).title.text = "axis";
            }
        });
        kept.write(book, keptFile);
    }

    Worksheet& data() { return *asWorksheet(book.sheet(*book.indexOf("Data 1"))); }
    ChartSheet& plot() { return *asChartSheet(book.sheet(*book.indexOf("Data 1 Plot"))); }

    // Writes with both writers; every part must read the same. The core properties hold each
    // writer's own creation time and are left out.
    void expectSameAsFresh(const std::string& what) {
        kept.write(book, keptFile);
        XlsxWriter fresh;
        fresh.write(book, freshFile);
        auto mine = test::readPackage(keptFile);
        auto theirs = test::readPackage(freshFile);
        mine.erase("docProps/core.xml");
        theirs.erase("docProps/core.xml");
        ASSERT_EQ(names(mine), names(theirs)) << what;
        for (const auto& [name, entry] : theirs) {
            EXPECT_EQ(mine[name].content, entry.content) << what << ": " << name;
        }
    }

    static std::vector<std::string> names(const Package& package) {
        std::vector<std::string> result;
        for (const auto& [name, entry] : package) {
            result.push_back(name);
        }
        return result;
    }

    test::TempDir dir;
    std::filesystem::path keptFile = dir.path() / "kept.xlsx";
    std::filesystem::path freshFile = dir.path() / "fresh.xlsx";
    Workbook book;
    XlsxWriter kept;
};

TEST_F(XlsxWriterKeptTest, ASeriesNameNoLongerTakenFromACellIsWrittenAsItsOwn) {
    plot().editChart([](Chart& chart) { chart.series[0].nameRef = "'Data 1'!$B$1"; });
    expectSameAsFresh("name taken from a cell");
    plot().editChart([](Chart& chart) { chart.series[0].nameRef.clear(); });
    expectSameAsFresh("name of its own again");
}

Changes<ColumnFormat> columnChanges() {
    return {[](ColumnFormat& f) { f.width = f.width.value_or(8) + 2; },
            [](ColumnFormat& f) { f.autoFitted = !f.autoFitted; },
            [](ColumnFormat& f) { f.style = 1; }};
}

TEST_F(XlsxWriterKeptTest, EveryFieldChangedIsWrittenAsAFreshWriterWritesIt) {
    auto series = sampleSeries(1);
    series.values = numbers({1.0, 2.0, 3.0}); // no gap: a gap (NaN) differs from itself
    expectOnePerField(series, seriesChanges());
    expectOnePerField(Border{}, borderChanges());
    expectOnePerField(ChartText{}, textChanges());
    expectOnePerField(ChartAxis{}, axisChanges());
    expectOnePerField(sampleTextBox(), textBoxChanges());
    expectOnePerField(PageSetup{}, pageChanges());
    expectOnePerField(SheetSelection{}, selectionChanges());
    expectOnePerField(ColumnFormat{8.5, false, 0}, columnChanges());
    book.styles().intern(Style{"0.000", HorizontalAlignment::Right, false, {}});

    // The chart, field by field (in ChartTwin's order), each part through all of its fields.
    Changes<Chart> chart{[](Chart& c) { c.chartType = xl::xlXYScatter; },
                         [](Chart& c) { c.hasTitle = !c.hasTitle; }};
    addChanges<Chart, ChartText>(chart, textChanges(),
                                 [](Chart& c) -> ChartText& { return c.title; });
    chart.push_back([](Chart& c) { c.hasLegend = !c.hasLegend; });
    addChanges<Chart, Border>(chart, borderChanges(),
                              [](Chart& c) -> Border& { return c.plotAreaBorder; });
    chart.push_back([](Chart& c) { c.plotAreaInteriorColorIndex = 15; });
    addChanges<Chart, ChartSeries>(chart, seriesChanges(),
                                   [](Chart& c) -> ChartSeries& { return c.series[1]; });
    chart.push_back([](Chart& c) { c.series.push_back(sampleSeries(3)); });
    chart.push_back([](Chart& c) { c.series.erase(c.series.begin()); });
    chart.push_back([](Chart& c) { c.seriesMade += 5; }); // not written
    addChanges<Chart, TextBox>(chart, textBoxChanges(),
                               [](Chart& c) -> TextBox& { return c.textBoxes[0]; });
    chart.push_back([](Chart& c) { c.textBoxes.push_back(sampleTextBox()); });
    for (auto type : {AxisType::Category, AxisType::Value}) {
        for (auto group : {AxisGroup::Primary, AxisGroup::Secondary}) {
            addChanges<Chart, ChartAxis>(
                chart, axisChanges(), [=](Chart& c) -> ChartAxis& { return c.axis(type, group); });
        }
    }
    chart.push_back([](Chart& c) { c.textBoxes.clear(); });
    for (std::size_t k = 0; k < chart.size(); ++k) {
        plot().editChart(chart[k]);
        expectSameAsFresh("chart change " + std::to_string(k));
    }

    for (auto* sheet : std::initializer_list<Sheet*>{&data(), &plot()}) {
        for (std::size_t k = 0; k < pageChanges().size(); ++k) {
            auto page = asWorksheet(*sheet) ? data().pageSetup() : plot().pageSetup();
            pageChanges()[k](page);
            if (asWorksheet(*sheet)) {
                data().setPageSetup(page);
            } else {
                plot().setPageSetup(page);
            }
            expectSameAsFresh(sheet->name() + " page change " + std::to_string(k));
        }
    }
    for (std::size_t k = 0; k < selectionChanges().size(); ++k) {
        auto selection = data().selection();
        selectionChanges()[k](selection);
        data().setSelection(selection);
        expectSameAsFresh("selection change " + std::to_string(k));
    }
    for (std::size_t k = 0; k < columnChanges().size(); ++k) {
        auto format = *data().columnFormat(2);
        columnChanges()[k](format);
        data().setColumnWidth(2, *format.width, format.autoFitted);
        data().setColumnStyle(2, format.style);
        expectSameAsFresh("column change " + std::to_string(k));
    }

    // The cells (Cell: value, formula, style, notation; `calculated` is bookkeeping).
    const std::vector<std::pair<std::string, std::function<void(Worksheet&)>>> cells{
        {"value", [](Worksheet& s) { s.setValue(3, 1, 99.5); }},
        {"text", [](Worksheet& s) { s.setValue(4, 2, std::string("changed")); }},
        {"value at a row's end", [](Worksheet& s) { s.setValue(5, 9, true); }},
        {"formula", [](Worksheet& s) { s.setFormula(6, 4, "=RC1*3", FormulaNotation::R1C1, 3.0); }},
        {"notation", [](Worksheet& s) { s.setFormula(7, 4, "=A7*2", FormulaNotation::A1, 7.0); }},
        {"cached result", [](Worksheet& s) { s.setCachedValue(8, 4, 123.0); }},
        {"style", [](Worksheet& s) { s.setStyle(9, 1, 1); }},
        {"removed", [](Worksheet& s) { s.removeCell(10, 2); }},
        {"columns deleted", [](Worksheet& s) { s.deleteColumns(1, 1); }},
        {"new row", [](Worksheet& s) { s.setValue(40, 3, 1.25); }},
        {"row heights",
         [](Worksheet& s) {
             s.setRowHeights({{2, 30.0}, {40, 25.5}});
         }},
    };
    for (const auto& [what, change] : cells) {
        change(data());
        expectSameAsFresh(what);
    }

    // The sheets themselves: Sheet's name and visibility, their order, the active one.
    book.renameSheet(0, "Data 1 renamed");
    expectSameAsFresh("renamed");
    book.sheet(0).setHidden(true);
    expectSameAsFresh("hidden");
    book.moveSheet(0, 1);
    expectSameAsFresh("moved");
    book.setActiveSheet(1);
    expectSameAsFresh("active sheet");
    book.putBackSheet(book.takeSheet(0));
    expectSameAsFresh("put back");
}

} // namespace
} // namespace kelvor
