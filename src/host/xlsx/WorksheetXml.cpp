#include "host/xlsx/WorksheetXml.h"

#include "host/model/CellAddress.h"
#include "host/model/Worksheet.h"
#include "host/xlsx/FormulaA1.h"
#include "host/xlsx/PageLayoutXml.h"
#include "host/xlsx/SharedFormulas.h"
#include "host/xlsx/XmlText.h"

#include <algorithm>
#include <cmath>
#include <vector>

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
    switch (cell.kind()) {
    case CellKind::Text:
        return cell.hasFormula() ? " t=\"str\"" : " t=\"inlineStr\"";
    case CellKind::Boolean:
        return " t=\"b\"";
    case CellKind::Error:
        return " t=\"e\"";
    case CellKind::Number:
        return std::isfinite(*cell.number()) ? "" : " t=\"e\"";
    case CellKind::Empty:
        break;
    }
    return "";
}

void appendTextValue(std::string& out, const std::string& text, bool formula) {
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

void appendValue(std::string& out, const Cell& cell) {
    switch (cell.kind()) {
    case CellKind::Number: {
        const double number = *cell.number();
        out += "<v>";
        if (std::isfinite(number)) {
            xml::appendNumber(out, number);
        } else {
            out += errorText(CellError::Num); // files cannot hold infinities or NaN
        }
        out += "</v>";
        return;
    }
    case CellKind::Text:
        appendTextValue(out, *cell.text(), cell.hasFormula());
        return;
    case CellKind::Boolean:
        out += *cell.boolean() ? "<v>1</v>" : "<v>0</v>";
        return;
    case CellKind::Error:
        out += "<v>";
        out += errorText(std::get<CellError>(cell.value()));
        out += "</v>";
        return;
    case CellKind::Empty:
        return;
    }
}

void appendFormula(std::string& out, std::uint32_t row, std::uint32_t column, const Cell& cell,
                   SharedFormulas& shared) {
    const auto* run = cell.notation() == FormulaNotation::R1C1 ? shared.find(row, column) : nullptr;
    if (run != nullptr && row != run->firstRow) {
        out += "<f t=\"shared\" si=\"";
        xml::appendUnsigned(out, run->index);
        out += "\"/>";
        return;
    }
    std::string_view text = cell.formula.str();
    if (text.front() == '=') {
        text.remove_prefix(1);
    }
    if (run != nullptr) {
        out += "<f t=\"shared\" ref=\"";
        appendCellRef(out, run->firstRow, column);
        out += ':';
        appendCellRef(out, run->lastRow, column);
        out += "\" si=\"";
        xml::appendUnsigned(out, run->index);
        out += "\">";
    } else {
        out += "<f>";
    }
    xml::appendText(out, cell.notation() == FormulaNotation::R1C1 ? r1c1ToA1(text, row, column)
                                                                  : std::string(text));
    out += "</f>";
}

void appendCell(std::string& out, std::uint32_t row, std::uint32_t column, const Cell& cell,
                SharedFormulas& shared) {
    out += "<c r=\"";
    appendCellRef(out, row, column);
    out += '"';
    if (cell.style() != 0) {
        out += " s=\"";
        xml::appendUnsigned(out, cell.style());
        out += '"';
    }
    out += typeAttribute(cell);
    if (cell.isEmpty()) {
        out += "/>";
        return;
    }
    out += '>';
    if (cell.hasFormula()) {
        appendFormula(out, row, column, cell, shared);
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

namespace {

// The selection as it was left, so a reader opens the sheet showing it; A1 alone is every
// reader's default and is not written.
void appendSheetViews(std::string& out, const SheetSelection& selection) {
    out += "<sheetViews><sheetView workbookViewId=\"0\"";
    if (selection == SheetSelection{}) {
        out += "/></sheetViews>";
        return;
    }
    out += "><selection activeCell=\"";
    appendCellRef(out, selection.activeRow, selection.activeColumn);
    out += "\" sqref=\"";
    bool first = true;
    for (const CellRange& area : selection.areas) {
        out += first ? "" : " ";
        first = false;
        appendCellRef(out, area.firstRow, area.firstColumn);
        if (area.lastRow != area.firstRow || area.lastColumn != area.firstColumn) {
            out += ':';
            appendCellRef(out, area.lastRow, area.lastColumn);
        }
    }
    out += "\"/></sheetView></sheetViews>";
}

} // namespace

void writeWorksheetXml(const Worksheet& sheet, WorksheetXmlSink& sink) {
    SharedFormulas shared(sheet);
    writeWorksheetXml(sheet, shared, sink);
}

void writeWorksheetXml(const Worksheet& sheet, SharedFormulas& shared, WorksheetXmlSink& sink) {
    std::string out;
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
    out += "\"/>";
    appendSheetViews(out, sheet.selection());
    out += "<sheetFormatPr defaultRowHeight=\"12.75\"/>";
    appendColumns(out, sheet);
    out += "<sheetData>";
    sink.text(out);
    std::string head;
    std::string rowXml;
    bool first = true;
    for (const auto& [row, cells] : sheet.rows()) {
        head.clear();
        head += "<row r=\"";
        xml::appendUnsigned(head, row);
        if (const auto height = sheet.rowHeights().find(row); height != sheet.rowHeights().end()) {
            // Readers that do not fit rows themselves need the height written out.
            head += "\" ht=\"";
            xml::appendNumber(head, height->second);
        }
        head += "\">";
        const auto from = sink.firstWanted(row, head, cells.back().column);
        rowXml.clear();
        if (from <= 1) {
            rowXml += head;
        }
        const auto start =
            std::lower_bound(cells.begin(), cells.end(), from,
                             [](const ColumnCell& c, std::uint32_t col) { return c.column < col; });
        for (auto c = start; c != cells.end(); ++c) {
            appendCell(rowXml, row, c->column, c->cell, shared);
        }
        if (!first) {
            sink.text("</row>");
        }
        first = false;
        sink.row(row, rowXml);
    }
    out.clear();
    out += first ? "</sheetData>" : "</row></sheetData>";
    appendPageLayout(out, sheet.pageSetup(), Orientation::Portrait);
    out += "</worksheet>";
    sink.text(out);
}

std::string worksheetXml(const Worksheet& sheet) {
    struct Whole : WorksheetXmlSink {
        std::string out;
        void text(std::string_view xml) override { out += xml; }
        void row(std::uint32_t, std::string_view xml) override { out += xml; }
    } whole;
    whole.out.reserve(200 + sheet.cellCount() * 40);
    writeWorksheetXml(sheet, whole);
    return std::move(whole.out);
}

} // namespace kelvor
