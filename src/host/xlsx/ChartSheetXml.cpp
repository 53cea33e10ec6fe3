#include "host/xlsx/ChartSheetXml.h"

#include "host/model/ChartSheet.h"
#include "host/model/Palette.h"
#include "host/xlsx/ChartFormatXml.h"
#include "host/xlsx/PageLayoutXml.h"
#include "host/xlsx/XmlText.h"

#include <algorithm>
#include <cmath>

namespace kelvor {

namespace {

constexpr std::string_view kXmlDeclaration =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
constexpr long long kEmuPerPoint = 12700;
constexpr double kChartWidth = kChartSheetWidth;
constexpr double kChartHeight = kChartSheetHeight;

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

// "RRGGBB" of a colour given with red in the low byte, as the object model takes it.
std::string rgbHex(std::int32_t rgb) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (const int shift : {0, 8, 16}) {
        const auto part = (static_cast<unsigned>(rgb) >> shift) & 0xFFu;
        out += kDigits[part >> 4];
        out += kDigits[part & 0xFu];
    }
    return out;
}

void appendColor(std::string& out, std::string_view rgb, double transparency) {
    out += "<a:solidFill><a:srgbClr val=\"";
    out += rgb;
    if (transparency > 0 && transparency <= 1) {
        out += "\"><a:alpha val=\"" + std::to_string(std::lround((1 - transparency) * 100000)) +
               "\"/></a:srgbClr></a:solidFill>";
    } else {
        out += "\"/></a:solidFill>";
    }
}

const char* dashName(int msoDashStyle) {
    switch (msoDashStyle) {
    case 2:
    case 3:
        return "sysDot";
    case 4:
        return "dash";
    case 5:
        return "dashDot";
    case 6:
        return "lgDashDotDot";
    case 7:
        return "lgDash";
    case 8:
        return "lgDashDot";
    default:
        return "solid";
    }
}

const char* compoundName(int msoLineStyle) {
    switch (msoLineStyle) {
    case 2:
        return "dbl";
    case 3:
        return "thinThick";
    case 4:
        return "thickThin";
    case 5:
        return "tri";
    default:
        return "sng";
    }
}

// Text turned with the box: nothing for horizontal text.
const char* verticalText(int orientation) {
    switch (orientation) {
    case -4171: // upward
        return " vert=\"vert270\"";
    case -4170: // downward
        return " vert=\"vert\"";
    case -4166: // stacked letters
        return " vert=\"wordArtVert\"";
    default:
        return "";
    }
}

void appendOutline(std::string& out, const TextBox& box) {
    if (!box.lineVisible) {
        out += "<a:ln><a:noFill/></a:ln>";
        return;
    }
    const double weight =
        std::isfinite(box.lineWeight) ? std::clamp(box.lineWeight, 0.0, 100.0) : 0.75;
    out += "<a:ln w=\"" + std::to_string(std::llround(weight * kEmuPerPoint)) + "\" cmpd=\"" +
           compoundName(box.lineStyle) + "\">";
    appendColor(
        out, box.lineRgb >= 0 ? rgbHex(box.lineRgb) : std::string(schemeColor(box.lineSchemeColor)),
        box.lineTransparency);
    out += "<a:prstDash val=\"";
    out += dashName(box.lineDashStyle);
    out += "\"/></a:ln>";
}

// Where the box stands on the chart. A box that moves and sizes with the chart is anchored
// by fractions of the chart's size, any other by its size in points. Whether the box prints
// has no place in a chart drawing: it always prints.
void appendAnchorStart(std::string& out, const TextBox& box, long long width, long long height) {
    const char* kind = box.placement == xl::xlMoveAndSize ? "relSizeAnchor" : "absSizeAnchor";
    out += "<cdr:";
    out += kind;
    out += " xmlns:cdr=\"http://schemas.openxmlformats.org/drawingml/2006/chartDrawing\">"
           "<cdr:from><cdr:x>" +
           fraction(box.left, kChartWidth) + "</cdr:x><cdr:y>" + fraction(box.top, kChartHeight) +
           "</cdr:y></cdr:from>";
    if (box.placement == xl::xlMoveAndSize) {
        out += "<cdr:to><cdr:x>" + fraction(box.left + box.width, kChartWidth) + "</cdr:x><cdr:y>" +
               fraction(box.top + box.height, kChartHeight) + "</cdr:y></cdr:to>";
    } else {
        out +=
            "<cdr:ext cx=\"" + std::to_string(width) + "\" cy=\"" + std::to_string(height) + "\"/>";
    }
}

void appendTextBox(std::string& out, const TextBox& box, std::size_t index) {
    const auto width = emu(box.width);
    const auto height = emu(box.height);
    appendAnchorStart(out, box, width, height);
    out += "<cdr:sp macro=\"\" textlink=\"\"><cdr:nvSpPr><cdr:cNvPr id=\"" +
           std::to_string(index + 2) + "\" name=\"Text Box " + std::to_string(index + 1) +
           "\"/><cdr:cNvSpPr txBox=\"1\"/></cdr:nvSpPr><cdr:spPr><a:xfrm><a:off x=\"0\" y=\"0\"/>"
           "<a:ext cx=\"" +
           std::to_string(width) + "\" cy=\"" + std::to_string(height) +
           "\"/></a:xfrm><a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom>";
    if (box.fillVisible) {
        appendColor(out,
                    box.fillRgb >= 0 ? rgbHex(box.fillRgb)
                                     : std::string(schemeColor(box.fillSchemeColor)),
                    box.fillTransparency);
    } else {
        out += "<a:noFill/>";
    }
    appendOutline(out, box);
    out += "</cdr:spPr><cdr:txBody><a:bodyPr vertOverflow=\"overflow\" horzOverflow=\"overflow\"";
    out += verticalText(box.orientation);
    out += box.autoSize ? " wrap=\"none\"" : " wrap=\"square\"";
    out += " anchor=\"";
    out += verticalAnchor(box.verticalAlignment);
    out += box.autoSize ? "\"><a:spAutoFit/></a:bodyPr>" : "\"/>";
    out += "<a:lstStyle/>";
    appendParagraphs(out, box);
    out += "</cdr:txBody></cdr:sp></cdr:";
    out += box.placement == xl::xlMoveAndSize ? "relSizeAnchor>" : "absSizeAnchor>";
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
