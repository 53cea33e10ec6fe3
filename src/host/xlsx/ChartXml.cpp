#include "host/xlsx/ChartXml.h"

#include "host/model/Chart.h"
#include "host/model/Palette.h"
#include "host/xlsx/ChartFormatXml.h"
#include "host/xlsx/XmlText.h"

#include <cmath>

namespace kelvor {

namespace {

// The spreadsheet application's own size for a chart title whose size was never set; the
// charts' text boxes are placed for it. Readers left to choose draw titles far larger.
constexpr double kDefaultTitleSize = 12;

// `upward`: the text reads from bottom to top, as the title of a vertical axis does; written
// out, since not every reader turns such a title by itself.
void appendRichText(std::string& out, const ChartText& text, bool upward) {
    out += upward ? "<c:tx><c:rich><a:bodyPr rot=\"-5400000\" vert=\"horz\"/>"
                  : "<c:tx><c:rich><a:bodyPr/>";
    out += "<a:lstStyle/><a:p><a:pPr>";
    std::string runProperties;
    appendRunProperties(runProperties, "a:defRPr", text.fontName, text.fontSize, text.bold);
    out += runProperties;
    out += "</a:pPr><a:r>";
    appendRunProperties(out, "a:rPr", text.fontName, text.fontSize, text.bold);
    out += "<a:t>";
    xml::appendText(out, text.text);
    out += "</a:t></a:r></a:p></c:rich></c:tx>";
}

void appendTitle(std::string& out, const ChartText& title, bool upward = false) {
    out += "<c:title>";
    appendRichText(out, title, upward);
    out += "<c:overlay val=\"0\"/></c:title>";
}

// A reference as the object model takes it, "='Data 3'!$B$16:$B$115", without its '='.
std::string_view referenceText(std::string_view reference) {
    if (!reference.empty() && reference.front() == '=') {
        reference.remove_prefix(1);
    }
    return reference;
}

void appendNumbers(std::string& out, const SeriesValues& values, const std::string& format) {
    out += "<c:formatCode>";
    xml::appendText(out, format.empty() ? std::string("General") : format);
    out += "</c:formatCode><c:ptCount val=\"";
    xml::appendUnsigned(out, values.size());
    out += "\"/>";
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (!std::isfinite(values[i])) {
            continue; // a gap in the curve
        }
        out += "<c:pt idx=\"";
        xml::appendUnsigned(out, i);
        out += "\"><c:v>";
        xml::appendNumber(out, values[i]);
        out += "</c:v></c:pt>";
    }
}

void appendValues(std::string& out, const char* element, const std::string& reference,
                  const SeriesValues& values, const std::string& format) {
    out += '<';
    out += element;
    out += '>';
    const auto formula = referenceText(reference);
    if (formula.empty()) {
        out += "<c:numLit>";
        appendNumbers(out, values, format);
        out += "</c:numLit>";
    } else {
        out += "<c:numRef><c:f>";
        xml::appendText(out, formula);
        out += "</c:f><c:numCache>";
        appendNumbers(out, values, format);
        out += "</c:numCache></c:numRef>";
    }
    out += "</";
    out += element;
    out += '>';
}

} // namespace

std::string seriesXml(const ChartSeries& series, std::size_t index, int chartType) {
    std::string out;
    out.reserve(200 + (series.values.size() + series.xValues.size()) * 40);
    out += "<c:ser><c:idx val=\"";
    xml::appendUnsigned(out, index);
    out += "\"/><c:order val=\"";
    xml::appendUnsigned(out, index);
    out += "\"/>";
    if (!series.nameRef.empty()) {
        // Taken from its cell, with the cell's text cached for readers that do not calculate.
        out += "<c:tx><c:strRef><c:f>";
        xml::appendText(out, referenceText(series.nameRef));
        out += "</c:f><c:strCache><c:ptCount val=\"1\"/><c:pt idx=\"0\"><c:v>";
        xml::appendText(out, series.name);
        out += "</c:v></c:pt></c:strCache></c:strRef></c:tx>";
    } else if (!series.name.empty()) {
        out += "<c:tx><c:v>";
        xml::appendText(out, series.name);
        out += "</c:v></c:tx>";
    }
    if (chartType == xl::xlXYScatter) {
        out += "<c:spPr><a:ln><a:noFill/></a:ln></c:spPr>";
    } else {
        // Automatic series colours take turns through the palette's chart line colours.
        const auto automatic = paletteColor(25 + static_cast<int>(index % 8));
        appendShapeProperties(out, series.border, std::nullopt, automatic.value_or("000080"));
    }
    if (chartType != xl::xlXYScatter && chartType != xl::xlXYScatterSmooth &&
        chartType != xl::xlXYScatterLines) {
        out += "<c:marker><c:symbol val=\"none\"/></c:marker>";
    }
    appendValues(out, "c:xVal", series.xValuesRef, series.xValues, series.xFormat);
    appendValues(out, "c:yVal", series.valuesRef, series.values, series.valuesFormat);
    out += chartType == xl::xlXYScatterSmooth || chartType == xl::xlXYScatterSmoothNoMarkers
               ? "<c:smooth val=\"1\"/></c:ser>"
               : "<c:smooth val=\"0\"/></c:ser>";
    return out;
}

namespace {

void appendGridlines(std::string& out, const char* element, const Border& border) {
    out += '<';
    out += element;
    out += '>';
    appendShapeProperties(out, border, std::nullopt);
    out += "</";
    out += element;
    out += '>';
}

struct AxisPlacement {
    int id;
    int crossId;
    const char* position; // b, l, r
    bool deleted;
    bool crossesAtMaximum;
    std::string format; // of the values it shows, as their cells have it (dates as dates)
};

void appendAxis(std::string& out, const ChartAxis& axis, const AxisPlacement& place) {
    out += "<c:valAx><c:axId val=\"" + std::to_string(place.id) +
           "\"/><c:scaling><c:orientation val=\"minMax\"/></c:scaling><c:delete val=\"";
    out += place.deleted ? "1" : "0";
    out += "\"/><c:axPos val=\"";
    out += place.position;
    out += "\"/>";
    if (axis.hasMajorGridlines) {
        appendGridlines(out, "c:majorGridlines", axis.majorGridlines);
    }
    if (axis.hasMinorGridlines) {
        out += "<c:minorGridlines/>";
    }
    if (axis.hasTitle) {
        appendTitle(out, axis.title, place.position[0] != 'b');
    }
    out += "<c:numFmt formatCode=\"";
    xml::appendAttribute(out, place.format.empty() ? std::string("General") : place.format);
    out += "\" sourceLinked=\"1\"/><c:majorTickMark val=\"out\"/>"
           "<c:minorTickMark val=\"none\"/><c:tickLblPos val=\"nextTo\"/><c:crossAx val=\"" +
           std::to_string(place.crossId) + "\"/>";
    out += place.crossesAtMaximum ? "<c:crosses val=\"max\"/>" : "<c:crosses val=\"autoZero\"/>";
    out += "<c:crossBetween val=\"midCat\"/></c:valAx>";
}

void appendScatterGroup(std::string& out, const Chart& chart, int group, int xAxisId, int yAxisId,
                        ChartXmlSink& sink) {
    out += "<c:scatterChart><c:scatterStyle val=\"lineMarker\"/><c:varyColors val=\"0\"/>";
    for (std::size_t i = 0; i < chart.series.size(); ++i) {
        if ((chart.series[i].axisGroup == 2 ? 2 : 1) == group) {
            sink.text(out);
            out.clear();
            sink.series(chart.series[i], i, chart.chartType);
        }
    }
    out += "<c:axId val=\"" + std::to_string(xAxisId) + "\"/><c:axId val=\"" +
           std::to_string(yAxisId) + "\"/></c:scatterChart>";
}

} // namespace

void writeChartXml(const Chart& chart, ChartXmlSink& sink) {
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                      "<c:chartSpace "
                      "xmlns:c=\"http://schemas.openxmlformats.org/drawingml/2006/chart\" "
                      "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
                      "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                      "relationships\"><c:roundedCorners val=\"0\"/><c:chart>";
    if (chart.hasTitle) {
        ChartText title = chart.title;
        if (title.fontSize == 0) {
            title.fontSize = kDefaultTitleSize;
        }
        appendTitle(out, title);
    }
    out += chart.hasTitle ? "<c:autoTitleDeleted val=\"0\"/>" : "<c:autoTitleDeleted val=\"1\"/>";
    out += "<c:plotArea><c:layout/>";
    bool secondary = false;
    for (const auto& series : chart.series) {
        secondary = secondary || series.axisGroup == 2;
    }
    appendScatterGroup(out, chart, 1, 1001, 1002, sink);
    if (secondary) {
        appendScatterGroup(out, chart, 2, 1003, 1004, sink);
    }
    // An axis shows its numbers as the first series plotted on it has them.
    const auto format = [&](int group, bool x) {
        for (const auto& series : chart.series) {
            if ((series.axisGroup == 2 ? 2 : 1) == group) {
                return x ? series.xFormat : series.valuesFormat;
            }
        }
        return std::string("General");
    };
    appendAxis(out, chart.axis(AxisType::Category, AxisGroup::Primary),
               {1001, 1002, "b", false, false, format(1, true)});
    appendAxis(out, chart.axis(AxisType::Value, AxisGroup::Primary),
               {1002, 1001, "l", false, false, format(1, false)});
    if (secondary) {
        // The secondary X axis exists only to carry the secondary value axis.
        appendAxis(out, chart.axis(AxisType::Category, AxisGroup::Secondary),
                   {1003, 1004, "b", true, false, format(2, true)});
        appendAxis(out, chart.axis(AxisType::Value, AxisGroup::Secondary),
                   {1004, 1003, "r", false, true, format(2, false)});
    }
    appendShapeProperties(out, chart.plotAreaBorder, chart.plotAreaInteriorColorIndex);
    out += "</c:plotArea>";
    if (chart.hasLegend) {
        out += "<c:legend><c:legendPos val=\"r\"/><c:overlay val=\"0\"/></c:legend>";
    }
    out += "<c:plotVisOnly val=\"1\"/><c:dispBlanksAs val=\"gap\"/></c:chart>";
    if (!chart.textBoxes.empty()) {
        out += "<c:userShapes r:id=\"rId1\"/>";
    }
    out += "</c:chartSpace>";
    sink.text(out);
}

std::string chartXml(const Chart& chart) {
    struct Whole : ChartXmlSink {
        std::string out;
        void text(std::string_view xml) override { out += xml; }
        void series(const ChartSeries& s, std::size_t index, int chartType) override {
            out += seriesXml(s, index, chartType);
        }
    } whole;
    writeChartXml(chart, whole);
    return std::move(whole.out);
}

} // namespace kelvor
