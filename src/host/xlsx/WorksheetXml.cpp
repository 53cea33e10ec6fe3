#include "host/xlsx/WorksheetXml.h"

#include "host/model/CellAddress.h"
#include "host/model/Worksheet.h"
#include "host/xlsx/FormulaA1.h"
#include "host/xlsx/PageLayoutXml.h"
#include "host/xlsx/XmlText.h"

#include <cmath>

namespace kelvor {

namespace {

// Longest text a cell can hold in the common spreadsheet programs; longer text makes them
// refuse or repair the file.
constexpr std::size_t kMaxCellText = 32767;

void appendColumn(std::string& out, std::uint32_t column) {
    char letters[4];
    int n = 0;
    for (; column > 0; column = (column - 1) / 26) {
        letters[n++] = static_cast<char>('A' + (column - 1) % 26);
    }
    while (n > 0) {
        out += letters[--n];
    }
}

void appendCellRef(std::string& out, std::uint32_t row, std::uint32_t column) {
    appendColumn(out, column);
    xml::appendUnsigned(out, row);
}

const char* typeAttribute(const Cell& cell) {
    const auto& v = cell.value;
    if (std::holds_alternative<std::string>(v)) {
        return cell.hasFormula() ? " t=\"str\"" : " t=\"inlineStr\"";
    }
    if (std::holds_alternative<bool>(v)) {
        return " t=\"b\"";
    }
    if (std::holds_alternative<CellError>(v) ||
        (std::holds_alternative<double>(v) && !std::isfinite(std::get<double>(v)))) {
        return " t=\"e\"";
    }
    return "";
}

void appendValue(std::string& out, const Cell& cell) {
    struct Visitor {
        std::string& out;
        bool formula;
        void operator()(std::monostate) const {}
        void operator()(double number) const {
            out += "<v>";
            if (std::isfinite(number)) {
                xml::appendNumber(out, number);
            } else {
                out += errorText(CellError::Num); // files cannot hold infinities or NaN
            }
            out += "</v>";
        }
        void operator()(const std::string& text) const {
            const auto clipped = xml::clipUtf16(text, kMaxCellText);
            if (formula) {
                out += "<v>";
            } else {
                // Without the marker readers trim blanks at either end of the text.
                out += xml::hasEdgeSpace(clipped) ? "<is><t xml:space=\"preserve\">" : "<is><t>";
            }
            xml::appendText(out, clipped, xml::Escape::SpreadsheetText);
            out += formula ? "</v>" : "</t></is>";
        }
        void operator()(bool flag) const { out += flag ? "<v>1</v>" : "<v>0</v>"; }
        void operator()(CellError error) const {
            out += "<v>";
            out += errorText(error);
            out += "</v>";
        }
    };
    std::visit(Visitor{out, cell.hasFormula()}, cell.value);
}

void appendCell(std::string& out, std::uint32_t row, std::uint32_t column, const Cell& cell) {
    out += "<c r=\"";
    appendCellRef(out, row, column);
    out += '"';
    if (cell.style != 0) {
        out += " s=\"";
        xml::appendUnsigned(out, cell.style);
        out += '"';
    }
    out += typeAttribute(cell);
    if (cell.isEmpty()) {
        out += "/>";
        return;
    }
    out += '>';
    if (cell.hasFormula()) {
        std::string_view text = cell.formula;
        if (text.front() == '=') {
            text.remove_prefix(1);
        }
        out += "<f>";
        xml::appendText(out, cell.notation == FormulaNotation::R1C1 ? r1c1ToA1(text, row, column)
                                                                    : std::string(text));
        out += "</f>";
    }
    appendValue(out, cell);
    out += "</c>";
}

void appendColumns(std::string& out, const Worksheet& sheet) {
    if (sheet.columnFormats().empty()) {
        return;
    }
    out += "<cols>";
    for (const auto& [column, format] : sheet.columnFormats()) {
        out += "<col min=\"";
        xml::appendUnsigned(out, column);
        out += "\" max=\"";
        xml::appendUnsigned(out, column);
        out += "\" width=\"";
        // A column of default width still needs one when it carries a style.
        xml::appendNumber(out, packageColumnWidth(format.width.value_or(8.43)));
        out += '"';
        if (format.style != 0) {
            out += " style=\"";
            xml::appendUnsigned(out, format.style);
            out += '"';
        }
        if (format.width) {
            out += *format.width == 0.0 ? " hidden=\"1\"" : "";
            out += format.autoFitted ? " bestFit=\"1\"" : "";
            out += " customWidth=\"1\"";
        }
        out += "/>";
    }
    out += "</cols>";
}

} // namespace

double packageColumnWidth(double characters) {
    return std::trunc((characters * 7.0 + 5.0) / 7.0 * 256.0) / 256.0;
}

std::string worksheetXml(const Worksheet& sheet) {
    std::string out;
    out.reserve(200 + sheet.cellCount() * 40);
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
           "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
           "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
           "<dimension ref=\"";
    if (const auto used = sheet.usedRange()) {
        appendCellRef(out, used->firstRow, used->firstColumn);
        out += ':';
        appendCellRef(out, used->lastRow, used->lastColumn);
    } else {
        out += "A1";
    }
    out += "\"/><sheetViews><sheetView workbookViewId=\"0\"/></sheetViews>"
           "<sheetFormatPr defaultRowHeight=\"12.75\"/>";
    appendColumns(out, sheet);
    out += "<sheetData>";
    for (const auto& [row, cells] : sheet.rows()) {
        out += "<row r=\"";
        xml::appendUnsigned(out, row);
        out += "\">";
        for (const auto& [column, cell] : cells) {
            appendCell(out, row, column, cell);
        }
        out += "</row>";
    }
    out += "</sheetData>";
    appendPageLayout(out, sheet.pageSetup(), Orientation::Portrait);
    out += "</worksheet>";
    return out;
}

} // namespace kelvor
