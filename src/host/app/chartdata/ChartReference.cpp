#include "host/app/chartdata/ChartReference.h"

#include "host/app/cells/RangeAddress.h"
#include "host/model/CellAddress.h"

namespace kelvor {

namespace {

void appendCell(std::string& out, std::uint32_t row, std::uint32_t column) {
    out += '$';
    out += columnName(column);
    out += '$';
    out += std::to_string(row);
}

void appendArea(std::string& out, std::string_view sheet, const CellRange& area) {
    out += '\'';
    for (const char c : sheet) {
        out += c;
        if (c == '\'') {
            out += '\''; // doubled inside the quotes
        }
    }
    out += "'!";
    appendCell(out, area.firstRow, area.firstColumn);
    if (area.lastRow != area.firstRow || area.lastColumn != area.firstColumn) {
        out += ':';
        appendCell(out, area.lastRow, area.lastColumn);
    }
}

// One "'Sheet'!$A$1:$B$2" piece from the front of `text`, which then starts behind it.
std::optional<SheetArea> takeArea(std::string_view& text) {
    SheetArea result;
    std::size_t i = 0;
    if (!text.empty() && text.front() == '\'') {
        for (i = 1;; ++i) {
            if (i >= text.size()) {
                return std::nullopt;
            }
            if (text[i] == '\'') {
                if (i + 1 < text.size() && text[i + 1] == '\'') {
                    result.sheet += '\'';
                    ++i;
                    continue;
                }
                ++i;
                break;
            }
            result.sheet += text[i];
        }
    } else {
        i = text.find('!');
        if (i == std::string_view::npos) {
            return std::nullopt;
        }
        result.sheet = std::string(text.substr(0, i));
    }
    if (i >= text.size() || text[i] != '!' || result.sheet.empty()) {
        return std::nullopt;
    }
    text.remove_prefix(i + 1);
    const auto end = text.find(',');
    const auto areas = parseAddress(text.substr(0, end));
    if (!areas || areas->size() != 1) {
        return std::nullopt;
    }
    result.area = areas->front();
    text.remove_prefix(end == std::string_view::npos ? text.size() : end);
    return result;
}

} // namespace

std::string seriesReference(std::string_view sheet, const std::vector<CellRange>& areas) {
    std::string out;
    if (areas.size() > 1) {
        out += '(';
    }
    for (std::size_t i = 0; i < areas.size(); ++i) {
        if (i > 0) {
            out += ',';
        }
        appendArea(out, sheet, areas[i]);
    }
    if (areas.size() > 1) {
        out += ')';
    }
    return out;
}

std::optional<std::vector<SheetArea>> parseSeriesReference(std::string_view reference) {
    if (!reference.empty() && reference.front() == '=') {
        reference.remove_prefix(1);
    }
    if (reference.size() >= 2 && reference.front() == '(' && reference.back() == ')') {
        reference = reference.substr(1, reference.size() - 2);
    }
    std::vector<SheetArea> out;
    while (true) {
        auto area = takeArea(reference);
        if (!area) {
            return std::nullopt;
        }
        out.push_back(std::move(*area));
        if (reference.empty()) {
            return out;
        }
        reference.remove_prefix(1); // the comma
    }
}

} // namespace kelvor
