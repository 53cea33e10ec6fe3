#include "host/xlsx/PageLayoutXml.h"

#include "host/model/PageSetup.h"
#include "host/xlsx/XmlText.h"

#include <cmath>
#include <utility>

namespace kelvor {

namespace {

void appendInches(std::string& out, const char* name, double points) {
    out += ' ';
    out += name;
    out += "=\"";
    // Rounded so that 21.6 points reads 0.3, not 0.30000000000000004 inches.
    xml::appendNumber(out, std::round(points / 72.0 * 1e12) / 1e12);
    out += '"';
}

// "&Lleft&Ccentre&Rright", leaving out empty sections.
std::string headerFooterText(const std::string& left, const std::string& center,
                             const std::string& right) {
    std::string text;
    for (const auto& [code, section] :
         {std::pair{"&L", &left}, std::pair{"&C", &center}, std::pair{"&R", &right}}) {
        if (!section->empty()) {
            text += code + *section;
        }
    }
    return text;
}

} // namespace

void appendPageLayout(std::string& out, const PageSetup& page, Orientation orientation) {
    out += "<pageMargins";
    appendInches(out, "left", page.leftMargin);
    appendInches(out, "right", page.rightMargin);
    appendInches(out, "top", page.topMargin);
    appendInches(out, "bottom", page.bottomMargin);
    appendInches(out, "header", page.headerMargin);
    appendInches(out, "footer", page.footerMargin);
    out += "/><pageSetup paperSize=\"";
    out += std::to_string(page.paperSize);
    out += orientation == Orientation::Portrait ? "\" orientation=\"portrait\"/>"
                                                : "\" orientation=\"landscape\"/>";
    const auto header = headerFooterText(page.leftHeader, page.centerHeader, page.rightHeader);
    const auto footer = headerFooterText(page.leftFooter, page.centerFooter, page.rightFooter);
    if (header.empty() && footer.empty()) {
        return;
    }
    out += "<headerFooter>";
    if (!header.empty()) {
        out += "<oddHeader>";
        xml::appendText(out, header, xml::Escape::SpreadsheetText);
        out += "</oddHeader>";
    }
    if (!footer.empty()) {
        out += "<oddFooter>";
        xml::appendText(out, footer, xml::Escape::SpreadsheetText);
        out += "</oddFooter>";
    }
    out += "</headerFooter>";
}

} // namespace kelvor
