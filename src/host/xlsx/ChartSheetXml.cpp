#include "host/model/ChartSheet.h"
#include "host/xlsx/ChartFormatXml.h"
#include "host/xlsx/ChartXml.h"
#include "host/xlsx/PageLayoutXml.h"
#include "host/xlsx/XmlText.h"

#include <algorithm>
#include <cmath>

namespace kelvor {

namespace {

constexpr std::string_view kXmlDeclaration =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
constexpr long long kEmuPerPoint = 12700;
// The chart's size on its sheet, in points; text box positions are relative to it.
constexpr double kChartWidth = 682.5;
constexpr double kChartHeight = 495.0;

long long emu(double points) {
    return std::llround(std::clamp(points, 0.0, 20000.0) * kEmuPerPoint);
}

std::string fraction(double points, double whole) {
    std::string out;
    xml::appendNumber(out, std::isfinite(points) ? std::clamp(points / whole, 0.0, 1.0) : 0.0);
    return out;
}

const char* horizontalAlignment(int alignment) {
    switch (alignment) {
    case -4108:
        return "ctr";
    case -4152:
        return "r";
    default:
        return "l";
    }
}

const char* verticalAnchor(int alignment) {
    switch (alignment) {
    case -4108:
        return "ctr";
    case -4107:
        return "b";
    default:
        return "t";
    }
}

void appendParagraphs(std::string& out, const TextBox& box) {
    std::string_view text = box.text;
    while (true) {
        const auto end = text.find('\n');
        auto line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        out += "<a:p><a:pPr algn=\"";
        out += horizontalAlignment(box.horizontalAlignment);
        out += "\"/>";
        if (!line.empty()) {
            out += "<a:r>";
            appendRunProperties(out, "a:rPr", box.fontName, box.fontSize, box.bold);
            out += "<a:t>";
            xml::appendText(out, line);
            out += "</a:t></a:r>";
        }
        appendRunProperties(out, "a:endParaRPr", box.fontName, box.fontSize, box.bold);
        out += "</a:p>";
        if (end == std::string_view::npos) {
            return;
        }
        text.remove_prefix(end + 1);
    }
}

void appendTextBox(std::string& out, const TextBox& box, std::size_t index) {
    const auto width = emu(box.width);
    const auto height = emu(box.height);
    out += "<cdr:absSizeAnchor xmlns:cdr=\"http://schemas.openxmlformats.org/drawingml/2006/"
           "chartDrawing\"><cdr:from><cdr:x>" +
           fraction(box.left, kChartWidth) + "</cdr:x><cdr:y>" + fraction(box.top, kChartHeight) +
           "</cdr:y></cdr:from><cdr:ext cx=\"" + std::to_string(width) + "\" cy=\"" +
           std::to_string(height) + "\"/>";
    out += "<cdr:sp macro=\"\" textlink=\"\"><cdr:nvSpPr><cdr:cNvPr id=\"" +
           std::to_string(index + 2) + "\" name=\"Text Box " + std::to_string(index + 1) +
           "\"/><cdr:cNvSpPr txBox=\"1\"/></cdr:nvSpPr><cdr:spPr><a:xfrm><a:off x=\"0\" y=\"0\"/>"
           "<a:ext cx=\"" +
           std::to_string(width) + "\" cy=\"" + std::to_string(height) +
           "\"/></a:xfrm><a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom>";
    if (box.fillVisible) {
        out += "<a:solidFill><a:srgbClr val=\"" + std::string(schemeColor(box.fillSchemeColor)) +
               "\"/></a:solidFill>";
    } else {
        out += "<a:noFill/>";
    }
    if (box.lineVisible) {
        appendLine(out,
                   std::isfinite(box.lineWeight) ? std::clamp(box.lineWeight, 0.0, 100.0) : 0.75,
                   schemeColor(box.lineSchemeColor));
    } else {
        out += "<a:ln><a:noFill/></a:ln>";
    }
    out += "</cdr:spPr><cdr:txBody><a:bodyPr vertOverflow=\"overflow\" horzOverflow=\"overflow\" ";
    out += box.autoSize ? "wrap=\"none\"" : "wrap=\"square\"";
    out += " anchor=\"";
    out += verticalAnchor(box.verticalAlignment);
    out += box.autoSize ? "\"><a:spAutoFit/></a:bodyPr>" : "\"/>";
    out += "<a:lstStyle/>";
    appendParagraphs(out, box);
    out += "</cdr:txBody></cdr:sp></cdr:absSizeAnchor>";
}

} // namespace

ChartPartNames::ChartPartNames(std::uint32_t sheetId) {
    const auto id = std::to_string(sheetId);
    chartsheet = "xl/chartsheets/sheet" + id + ".xml";
    chartsheetRelationships = "xl/chartsheets/_rels/sheet" + id + ".xml.rels";
    drawing = "xl/drawings/drawing" + id + ".xml";
    drawingRelationships = "xl/drawings/_rels/drawing" + id + ".xml.rels";
    chart = "xl/charts/chart" + id + ".xml";
    chartRelationships = "xl/charts/_rels/chart" + id + ".xml.rels";
    shapes = "xl/drawings/shapes" + id + ".xml";
}

std::string relationshipXml(const std::string& targetPart, RelationshipKind kind) {
    const char* type = kind == RelationshipKind::Drawing ? "drawing"
                       : kind == RelationshipKind::Chart ? "chart"
                                                         : "chartUserShapes";
    std::string out(kXmlDeclaration);
    out += "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
           "<Relationship Id=\"rId1\" "
           "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
    out += type;
    out += "\" Target=\"../";
    xml::appendAttribute(out, std::string_view(targetPart).substr(3)); // below xl/
    out += "\"/></Relationships>";
    return out;
}

std::string chartsheetXml(const ChartSheet& sheet) {
    std::string out(kXmlDeclaration);
    out += "<chartsheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
           "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
           "<sheetViews><sheetView zoomToFit=\"1\" workbookViewId=\"0\"/></sheetViews>";
    appendPageLayout(out, sheet.pageSetup(), Orientation::Landscape);
    out += "<drawing r:id=\"rId1\"/></chartsheet>";
    return out;
}

std::string drawingXml() {
    std::string out(kXmlDeclaration);
    out += "<xdr:wsDr "
           "xmlns:xdr=\"http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing\" "
           "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\">"
           "<xdr:absoluteAnchor><xdr:pos x=\"0\" y=\"0\"/><xdr:ext cx=\"" +
           std::to_string(emu(kChartWidth)) + "\" cy=\"" + std::to_string(emu(kChartHeight)) +
           "\"/><xdr:graphicFrame macro=\"\"><xdr:nvGraphicFramePr>"
           "<xdr:cNvPr id=\"2\" name=\"Chart 1\"/><xdr:cNvGraphicFramePr>"
           "<a:graphicFrameLocks noGrp=\"1\"/></xdr:cNvGraphicFramePr></xdr:nvGraphicFramePr>"
           "<xdr:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"0\" cy=\"0\"/></xdr:xfrm><a:graphic>"
           "<a:graphicData uri=\"http://schemas.openxmlformats.org/drawingml/2006/chart\">"
           "<c:chart xmlns:c=\"http://schemas.openxmlformats.org/drawingml/2006/chart\" "
           "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" "
           "r:id=\"rId1\"/></a:graphicData></a:graphic></xdr:graphicFrame><xdr:clientData/>"
           "</xdr:absoluteAnchor></xdr:wsDr>";
    return out;
}

std::string chartShapesXml(const Chart& chart) {
    std::string out(kXmlDeclaration);
    out += "<c:userShapes xmlns:c=\"http://schemas.openxmlformats.org/drawingml/2006/chart\" "
           "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\">";
    for (std::size_t i = 0; i < chart.textBoxes.size(); ++i) {
        appendTextBox(out, chart.textBoxes[i], i);
    }
    out += "</c:userShapes>";
    return out;
}

} // namespace kelvor
