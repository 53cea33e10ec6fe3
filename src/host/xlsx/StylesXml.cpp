#include "host/xlsx/StylesXml.h"

#include "host/model/Styles.h"
#include "host/xlsx/XmlText.h"

#include <map>
#include <vector>

namespace kelvor {

namespace {

// Custom number formats are numbered from 164 on; lower ids are the built-in ones.
constexpr std::uint32_t kFirstCustomFormat = 164;

const char* alignmentName(HorizontalAlignment alignment) {
    switch (alignment) {
    case HorizontalAlignment::Left:
        return "left";
    case HorizontalAlignment::Center:
        return "center";
    case HorizontalAlignment::Right:
        return "right";
    case HorizontalAlignment::General:
        break;
    }
    return "general";
}

void appendFont(std::string& out, const Font& font) {
    out += "<font>";
    out += font.bold ? "<b/>" : "";
    out += "<sz val=\"";
    xml::appendNumber(out, font.size);
    out += "\"/><name val=\"";
    xml::appendAttribute(out, font.name.empty() ? std::string_view("Arial") : font.name);
    out += "\"/></font>";
}

void appendCount(std::string& out, const char* element, std::size_t count) {
    out += '<';
    out += element;
    out += " count=\"";
    xml::appendUnsigned(out, count);
    out += "\">";
}

// The distinct number formats and fonts the styles use, numbered in order of first use, and
// one cell format (xf) per style.
struct StyleTables {
    struct Xf {
        std::uint32_t numFmtId;
        std::uint32_t fontId;
        const Style* style;
    };
    std::map<std::string, std::uint32_t> formatIds;
    std::vector<const std::string*> formats;
    std::map<Font, std::uint32_t> fontIds;
    std::vector<const Font*> fonts;
    std::vector<Xf> xfs;

    explicit StyleTables(const Styles& styles) {
        for (StyleId id = 0; id < styles.size(); ++id) {
            const auto& style = styles.style(id);
            xfs.push_back({formatId(style.numberFormat), fontId(style.font), &style});
        }
    }

    std::uint32_t formatId(const std::string& numberFormat) {
        if (numberFormat.empty() || numberFormat == "General") {
            return 0;
        }
        const auto [it, added] = formatIds.try_emplace(
            numberFormat, kFirstCustomFormat + static_cast<std::uint32_t>(formats.size()));
        if (added) {
            formats.push_back(&it->first);
        }
        return it->second;
    }

    std::uint32_t fontId(const Font& font) {
        const auto [it, added] =
            fontIds.try_emplace(font, static_cast<std::uint32_t>(fonts.size()));
        if (added) {
            fonts.push_back(&it->first);
        }
        return it->second;
    }
};

void appendNumberFormats(std::string& out, const std::vector<const std::string*>& formats) {
    if (formats.empty()) {
        return;
    }
    appendCount(out, "numFmts", formats.size());
    for (std::size_t i = 0; i < formats.size(); ++i) {
        out += "<numFmt numFmtId=\"";
        xml::appendUnsigned(out, kFirstCustomFormat + i);
        out += "\" formatCode=\"";
        xml::appendAttribute(out, *formats[i]);
        out += "\"/>";
    }
    out += "</numFmts>";
}

void appendXf(std::string& out, const StyleTables::Xf& xf) {
    out += "<xf numFmtId=\"";
    xml::appendUnsigned(out, xf.numFmtId);
    out += "\" fontId=\"";
    xml::appendUnsigned(out, xf.fontId);
    out += "\" fillId=\"0\" borderId=\"0\" xfId=\"0\"";
    out += xf.numFmtId != 0 ? " applyNumberFormat=\"1\"" : "";
    out += xf.fontId != 0 ? " applyFont=\"1\"" : "";
    const bool aligned = xf.style->horizontal != HorizontalAlignment::General || xf.style->wrapText;
    if (!aligned) {
        out += "/>";
        return;
    }
    out += " applyAlignment=\"1\"><alignment";
    if (xf.style->horizontal != HorizontalAlignment::General) {
        out += " horizontal=\"";
        out += alignmentName(xf.style->horizontal);
        out += '"';
    }
    out += xf.style->wrapText ? " wrapText=\"1\"" : "";
    out += "/></xf>";
}

} // namespace

std::string stylesXml(const Styles& styles) {
    const StyleTables tables(styles);
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                      "<styleSheet "
                      "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">";
    appendNumberFormats(out, tables.formats);
    appendCount(out, "fonts", tables.fonts.size());
    for (const auto* font : tables.fonts) {
        appendFont(out, *font);
    }
    out += "</fonts><fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill>"
           "<fill><patternFill patternType=\"gray125\"/></fill></fills>"
           "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border>"
           "</borders><cellStyleXfs count=\"1\">"
           "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs>";
    appendCount(out, "cellXfs", tables.xfs.size());
    for (const auto& xf : tables.xfs) {
        appendXf(out, xf);
    }
    out += "</cellXfs><cellStyles count=\"1\">"
           "<cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles></styleSheet>";
    return out;
}

} // namespace kelvor
