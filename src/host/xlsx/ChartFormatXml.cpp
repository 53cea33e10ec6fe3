#include "host/xlsx/ChartFormatXml.h"

#include "host/xlsx/XmlText.h"

#include <array>
#include <cmath>

namespace kelvor {

namespace {

constexpr std::array<std::string_view, 56> kPalette{
    "000000", "FFFFFF", "FF0000", "00FF00", "0000FF", "FFFF00", "FF00FF", "00FFFF",
    "800000", "008000", "000080", "808000", "800080", "008080", "C0C0C0", "808080",
    "9999FF", "993366", "FFFFCC", "CCFFFF", "660066", "FF8080", "0066CC", "CCCCFF",
    "000080", "FF00FF", "FFFF00", "00FFFF", "800080", "800000", "008080", "0000FF",
    "00CCFF", "CCFFFF", "CCFFCC", "FFFF99", "99CCFF", "FF99CC", "CC99FF", "FFCC99",
    "3366FF", "33CCCC", "99CC00", "FFCC00", "FF9900", "FF6600", "666699", "969696",
    "003366", "339966", "003300", "333300", "993300", "993366", "333399", "333333"};

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

std::optional<std::string_view> paletteColor(int colorIndex) {
    if (colorIndex < 1 || colorIndex > 56) {
        return std::nullopt;
    }
    return kPalette[static_cast<std::size_t>(colorIndex - 1)];
}

std::string_view schemeColor(int scheme) {
    return paletteColor(scheme - 7).value_or(scheme == 65 ? "FFFFFF" : "000000");
}

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
