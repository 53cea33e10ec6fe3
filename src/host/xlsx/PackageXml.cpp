#include "host/xlsx/PackageXml.h"

#include "host/model/CellAddress.h"
#include "host/model/Workbook.h"
#include "host/xlsx/XmlText.h"

#include <charconv>

namespace kelvor {

namespace {

constexpr std::string_view kXmlDeclaration =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
// Text made piece by piece is handed on in pieces of about this size.
constexpr std::size_t kPieceSize = 16 * 1024;

void handOn(std::string& out, const XmlPieces& piece) {
    if (out.size() >= kPieceSize) {
        piece(out);
        out.clear();
    }
}

constexpr std::string_view kRelationshipsOpen =
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
constexpr std::string_view kOfficeRelationships =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

void appendRelationship(std::string& out, std::string_view id, std::string_view type,
                        std::string_view target) {
    out += "<Relationship Id=\"";
    out += id;
    out += "\" Type=\"";
    out += type;
    out += "\" Target=\"";
    xml::appendAttribute(out, target);
    out += "\"/>";
}

std::optional<std::uint32_t> parseRow(std::string_view& text) {
    if (!text.empty() && text.front() == '$') {
        text.remove_prefix(1);
    }
    std::uint32_t row = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), row);
    if (error != std::errc{} || row < 1 || row > kMaxRows) {
        return std::nullopt;
    }
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    return row;
}

// With every sheet hidden a spreadsheet program refuses the file, so the first one is shown.
std::size_t firstVisible(const Workbook& workbook) {
    for (std::size_t i = 0; i < workbook.sheetCount(); ++i) {
        if (!workbook.sheet(i).hidden()) {
            return i;
        }
    }
    return 0;
}

} // namespace

std::string contentTypesXml(const std::vector<PartType>& parts) {
    std::string out;
    contentTypesXml(parts, [&](std::string_view piece) { out += piece; });
    return out;
}

void contentTypesXml(const std::vector<PartType>& parts, const XmlPieces& piece) {
    std::string out(kXmlDeclaration);
    out += "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
           "<Default Extension=\"rels\" "
           "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
           "<Default Extension=\"xml\" ContentType=\"application/xml\"/>";
    for (const auto& part : parts) {
        out += "<Override PartName=\"/";
        xml::appendAttribute(out, part.name);
        out += "\" ContentType=\"";
        out += part.contentType;
        out += "\"/>";
        handOn(out, piece);
    }
    out += "</Types>";
    piece(out);
}

std::string rootRelationshipsXml() {
    std::string out(kXmlDeclaration);
    out += kRelationshipsOpen;
    appendRelationship(out, "rId1", std::string(kOfficeRelationships) + "officeDocument",
                       "xl/workbook.xml");
    appendRelationship(
        out, "rId2",
        "http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties",
        "docProps/core.xml");
    appendRelationship(out, "rId3", std::string(kOfficeRelationships) + "extended-properties",
                       "docProps/app.xml");
    out += "</Relationships>";
    return out;
}

std::string appPropertiesXml() {
    std::string out(kXmlDeclaration);
    out += "<Properties xmlns=\"http://schemas.openxmlformats.org/officeDocument/2006/"
           "extended-properties\"><Application>KelvorReader2</Application></Properties>";
    return out;
}

std::string corePropertiesXml(std::string_view created) {
    std::string out(kXmlDeclaration);
    out += "<cp:coreProperties "
           "xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
           "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" "
           "xmlns:dcterms=\"http://purl.org/dc/terms/\" "
           "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">"
           "<dc:creator>KelvorReader2</dc:creator>"
           "<dcterms:created xsi:type=\"dcterms:W3CDTF\">";
    xml::appendText(out, created);
    out += "</dcterms:created></cp:coreProperties>";
    return out;
}

std::string workbookXml(const Workbook& workbook) {
    const std::size_t shown = firstVisible(workbook);
    const auto active = workbook.activeSheet();
    const std::size_t activeTab =
        active && (*active == shown || !workbook.sheet(*active).hidden()) ? *active : shown;

    std::string out(kXmlDeclaration);
    out += "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
           "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
           "<bookViews><workbookView activeTab=\"";
    xml::appendUnsigned(out, activeTab);
    out += "\"/></bookViews><sheets>";
    std::string definedNames;
    for (std::size_t i = 0; i < workbook.sheetCount(); ++i) {
        const auto& sheet = workbook.sheet(i);
        out += "<sheet name=\"";
        xml::appendAttribute(out, sheet.name());
        out += "\" sheetId=\"";
        xml::appendUnsigned(out, sheet.id());
        out += '"';
        out += sheet.hidden() && i != shown ? " state=\"hidden\"" : "";
        out += " r:id=\"rId";
        xml::appendUnsigned(out, i + 1);
        out += "\"/>";

        const auto* worksheet = asWorksheet(sheet);
        const auto titles = worksheet
                                ? printTitleRowsReference(worksheet->pageSetup().printTitleRows)
                                : std::nullopt;
        if (titles) {
            definedNames += "<definedName name=\"_xlnm.Print_Titles\" localSheetId=\"";
            xml::appendUnsigned(definedNames, i);
            definedNames += "\">";
            xml::appendText(definedNames, quotedSheetName(sheet.name()));
            definedNames += '!';
            xml::appendText(definedNames, *titles);
            definedNames += "</definedName>";
        }
    }
    out += "</sheets>";
    if (!definedNames.empty()) {
        out += "<definedNames>" + definedNames + "</definedNames>";
    }
    out += "</workbook>";
    return out;
}

std::string workbookRelationshipsXml(const Workbook& workbook,
                                     const std::vector<std::string_view>& sheetParts) {
    std::string out;
    workbookRelationshipsXml(workbook, sheetParts, [&](std::string_view piece) { out += piece; });
    return out;
}

void workbookRelationshipsXml(const Workbook& workbook,
                              const std::vector<std::string_view>& sheetParts,
                              const XmlPieces& piece) {
    const std::string worksheet = std::string(kOfficeRelationships) + "worksheet";
    const std::string chartsheet = std::string(kOfficeRelationships) + "chartsheet";
    std::string out(kXmlDeclaration);
    out += kRelationshipsOpen;
    // A line per sheet of a workbook with thousands: no text is made for one.
    std::string id = "rId";
    for (std::size_t i = 0; i < sheetParts.size(); ++i) {
        const bool chart = workbook.sheet(i).kind() == SheetKind::ChartSheet;
        id.resize(3);
        xml::appendUnsigned(id, i + 1);
        appendRelationship(out, id, chart ? chartsheet : worksheet, sheetParts[i]);
        handOn(out, piece);
    }
    id.resize(3);
    xml::appendUnsigned(id, sheetParts.size() + 1);
    appendRelationship(out, id, std::string(kOfficeRelationships) + "styles", "styles.xml");
    out += "</Relationships>";
    piece(out);
}

std::optional<std::string> printTitleRowsReference(std::string_view rows) {
    auto first = parseRow(rows);
    if (!first) {
        return std::nullopt;
    }
    auto last = first;
    if (!rows.empty()) {
        if (rows.front() != ':') {
            return std::nullopt;
        }
        rows.remove_prefix(1);
        last = parseRow(rows);
        if (!last || !rows.empty()) {
            return std::nullopt;
        }
    }
    if (*last < *first) {
        std::swap(first, last);
    }
    return "$" + std::to_string(*first) + ":$" + std::to_string(*last);
}

std::string quotedSheetName(std::string_view name) {
    std::string quoted = "'";
    for (const char c : name) {
        quoted += c;
        if (c == '\'') {
            quoted += '\'';
        }
    }
    return quoted + "'";
}

} // namespace kelvor
