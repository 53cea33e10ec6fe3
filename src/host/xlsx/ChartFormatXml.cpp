#include "host/xlsx/ChartFormatXml.h"

#include "host/model/Palette.h"
#include "host/xlsx/XmlText.h"

#include <cmath>

namespace kelvor {

namespace {

constexpr long long kEmuPerPoint = 12700;

std::optional<double> weightPoints(int weight) {
    switch (weight) {
    case 1: // hairline
        return 0.25;
    case 2: // thin
        return 0.75;
    case -4138: // medium
        return 1.5;
    case 4: // thick
        return 2.25;
    default:
        return std::nullopt;
    }
}

std::optional<std::string_view> dashName(int lineStyle) {
    switch (lineStyle) {
    case 1:
        return "solid";
    case -4118:
        return "sysDot";
    case -4115:
        return "dash";
    case 4:
        return "dashDot";
    case 5:
        return "lgDashDotDot";
    default:
        return std::nullopt;
    }
}

void appendSolidFill(std::string& out, std::string_view rgb) {
    out += "<a:solidFill><a:srgbClr val=\"";
    out += rgb;
    out += "\"/></a:solidFill>";
}

} // namespace

void appendShapeProperties(std::string& out, const Border& border,
                           std::optional<int> interiorColorIndex, std::string_view automaticRgb) {
    std::string fill;
    if (interiorColorIndex == xl::xlNone) {
        fill = "<a:noFill/>";
    } else if (const auto rgb = paletteColor(interiorColorIndex.value_or(xl::xlAutomatic))) {
        appendSolidFill(fill, *rgb);
    }
    std::string line;
    if (border.lineStyle == xl::xlNone) {
        line = "<a:ln><a:noFill/></a:ln>";
    } else {
        const auto weight = weightPoints(border.weight);
        const auto rgb = paletteColor(border.colorIndex);
        const auto dash = dashName(border.lineStyle);
        if (weight || rgb || dash) {
            line = "<a:ln";
            if (weight) {
                line += " w=\"" + std::to_string(std::llround(*weight * kEmuPerPoint)) + '"';
            }
            line += '>';
            appendSolidFill(line, rgb.value_or(automaticRgb));
            if (dash) {
                line += "<a:prstDash val=\"" + std::string(*dash) + "\"/>";
            }
            line += "</a:ln>";
        }
    }
    if (!fill.empty() || !line.empty()) {
        out += "<c:spPr>" + fill + line + "</c:spPr>";
    }
}

void appendRunProperties(std::string& out, std::string_view element, std::string_view fontName,
                         double fontSize, bool bold) {
    out += '<';
    out += element;
    out += " lang=\"en-US\"";
    out += bold ? " b=\"1\"" : " b=\"0\"";
    if (fontSize >= 1.0 && fontSize <= 4000.0) {
        out += " sz=\"" + std::to_string(std::lround(fontSize * 100)) + '"';
    }
    if (fontName.empty()) {
        out += "/>";
        return;
    }
    out += "><a:latin typeface=\"";
    xml::appendAttribute(out, fontName);
    out += "\"/></";
    out += element;
    out += '>';
}

} // namespace kelvor
