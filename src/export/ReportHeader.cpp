#include "export/ReportHeader.h"

#include "export/CellText.h"
#include "export/HostError.h"
#include "util/AnsiText.h"
#include "util/NumberText.h"

#include <limits>

namespace kelvor {

namespace {

constexpr int FirstHeaderRowCandidate = 11;

bool isContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0U) == 0x80U;
}

// Cell text is UTF-8; lengths count characters, not bytes.
std::size_t characterCount(std::string_view text) {
    std::size_t count = 0;
    for (const char c : text) {
        count += isContinuationByte(c) ? 0 : 1;
    }
    return count;
}

// The text after its first `count` characters.
std::string_view afterCharacters(std::string_view text, std::size_t count) {
    std::size_t at = 0;
    for (std::size_t seen = 0; at < text.size(); ++at) {
        if (!isContinuationByte(text[at]) && seen++ == count) {
            break;
        }
    }
    return text.substr(at);
}

} // namespace

std::int16_t FindHeaderRow(xl::Sheet& sheet, std::string_view headerWord) {
    std::int16_t row = FirstHeaderRowCandidate - 1;
    do {
        if (row == std::numeric_limits<std::int16_t>::max()) {
            throw xl::programError(xl::ErrOverflow);
        }
        ++row;
    } while (trimBlanks(cellText(sheet, row, 1)) != headerWord);
    return row;
}

double ReadPointCount(xl::Sheet& sheet, std::int16_t headerRow) {
    return leadingNumber(cellText(sheet, headerRow - 1, 1));
}

void CollectHeaderLines(xl::Sheet& sheet, std::int16_t headerRow, std::int32_t channel,
                        const ChannelTable& channels, ReportHeader& header) {
    if (channel < 0 || channel >= ChannelCount) {
        throw xl::programError(xl::ErrSubscript);
    }
    // The settings file may come from either kind of system.
    header.InfoText = utf8FromUtf8OrWindows1252(channels[channel].Description) + "\n";
    for (std::int16_t row = 3; row <= headerRow - 3; ++row) {
        if (row > ReportHeader::LastHeaderLine) {
            throw xl::programError(xl::ErrSubscript);
        }
        header.HeaderLines[row] = cellText(sheet, row, 1);
        header.InfoText += header.HeaderLines[row] + "\n";
    }
}

std::string UnitFromLine(std::string_view line, std::string_view prefix) {
    const std::size_t prefixLength = characterCount(prefix);
    if (characterCount(line) < prefixLength) {
        throw xl::programError(xl::ErrInvalidCall);
    }
    return std::string(trimBlanks(afterCharacters(line, prefixLength)));
}

void LabelHeaderCell(xl::Sheet& sheet, std::int32_t row, std::int32_t column,
                     std::string_view label) {
    const xl::RangePtr cell = sheet.Cells(row, column);
    const std::string word(trimBlanks(cellText(cell->Value())));
    cell->setValue(word + "\n(" + std::string(label) + ")");
    cell->setHorizontalAlignment(xl::xlRight);
}

} // namespace kelvor
