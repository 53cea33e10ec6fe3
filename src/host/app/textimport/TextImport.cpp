#include "host/app/textimport/TextImport.h"

#include "host/app/cells/CellEditing.h"
#include "host/app/errors/HostErrors.h"
#include "host/app/numformat/FieldValue.h"
#include "host/app/numformat/ValueFormat.h"
#include "host/app/textimport/TextSplit.h"
#include "host/model/CellAddress.h"

#include <map>

namespace kelvor {

namespace {

constexpr std::int16_t kTextFormat = 2;
constexpr std::int16_t kSkipColumn = 9;

// Source cell text the way the split sees it: text as it is, anything else as displayed.
std::string sourceText(const Workbook& book, const Cell& cell) {
    if (const auto* text = cell.text()) {
        return *text;
    }
    return displayText(cell.value(), book.styles().style(cell.style()).numberFormat);
}

struct SplitRow {
    std::uint32_t offset;                            // rows below the first source row
    std::vector<std::pair<FieldValue, bool>> fields; // value, stored as text
};

} // namespace

CellRange pasteText(Worksheet& sheet, std::uint32_t row, std::uint32_t column,
                    std::string_view text) {
    const auto lines = splitLines(text);
    if (lines.size() > std::size_t{kMaxRows - row + 1}) {
        throw methodError("Paste method of Worksheet class failed");
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto target = row + static_cast<std::uint32_t>(i);
        if (lines[i].empty()) {
            putValue(sheet, target, column, std::monostate{});
        } else {
            putValue(sheet, target, column, std::string(lines[i]));
        }
    }
    const auto count = static_cast<std::uint32_t>(std::max<std::size_t>(lines.size(), 1));
    return {row, column, row + count - 1, column};
}

void textToColumns(Workbook& book, const Worksheet& source, const CellRange& area,
                   Worksheet& destination, std::uint32_t row, std::uint32_t column,
                   const xl::TextToColumnsOptions& options) {
    if (area.firstColumn != area.lastColumn) {
        throw methodError("The spreadsheet can convert only one column at a time.");
    }
    const auto rule = splitRule(options);
    std::map<std::int32_t, std::int16_t> formats;
    for (const auto& [field, format] : options.fieldInfo) {
        formats[field] = format;
    }
    std::vector<SplitRow> rows;
    std::size_t widest = 0;
    forEachStored(source, area, [&](std::uint32_t r, std::uint32_t, const Cell& cell) {
        if (cell.isEmpty()) {
            return;
        }
        SplitRow split{r - area.firstRow, {}};
        const auto fields = splitLine(sourceText(book, cell), rule);
        for (std::size_t i = 0; i < fields.size(); ++i) {
            const auto found = formats.find(static_cast<std::int32_t>(i + 1));
            const auto format = found == formats.end() ? 1 : found->second;
            if (format == kSkipColumn) {
                continue;
            }
            if (format == kTextFormat) {
                split.fields.emplace_back(FieldValue{fields[i], "@"}, true);
            } else {
                split.fields.emplace_back(readGeneral(fields[i]), false);
            }
        }
        widest = std::max(widest, split.fields.size());
        rows.push_back(std::move(split));
    });
    if (rows.empty()) {
        return;
    }
    if (std::uint64_t{row} + rows.back().offset > kMaxRows ||
        std::uint64_t{column} + widest - 1 > kMaxColumns) {
        throw methodError("TextToColumns method of Range class failed");
    }
    std::map<std::pair<StyleId, std::string>, StyleId> formatted;
    for (auto& split : rows) {
        const auto target = row + split.offset;
        for (std::size_t i = 0; i < split.fields.size(); ++i) {
            auto& [field, asText] = split.fields[i];
            const auto c = column + static_cast<std::uint32_t>(i);
            if (asText && std::get<SharedText>(field.value).empty()) {
                field.value = std::monostate{};
            }
            putValue(destination, target, c, std::move(field.value));
            if (field.numberFormat.empty()) {
                continue;
            }
            const auto old = effectiveStyle(destination, target, c);
            auto [slot, fresh] = formatted.try_emplace({old, field.numberFormat}, 0);
            if (fresh) {
                Style style = book.styles().style(old);
                style.numberFormat = field.numberFormat;
                slot->second = book.styles().intern(style);
            }
            destination.setStyle(target, c, slot->second);
        }
    }
}

} // namespace kelvor
