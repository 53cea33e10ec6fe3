#pragma once

#include "capture/ChannelInfo.h"
#include "export/Spreadsheet.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kelvor {

// What one FormatDataSheet call reads from a report's header block; nothing survives the call.
struct ReportHeader {
    static constexpr std::int16_t LastHeaderLine = 20;

    std::int16_t HeaderRow = 0;
    double PointCount = 0.0;
    // Entries 3 to HeaderRow - 3 are filled.
    std::array<std::string, LastHeaderLine + 1> HeaderLines;
    // The channel's description and the header lines, each followed by a line feed.
    std::string InfoText;
    std::string ForceUnit;
    std::string DeflectionUnit;
};

inline constexpr std::string_view ForceUnitPrefix = "Force units in ";
inline constexpr std::string_view DeflectionUnitPrefix = "Deflection units in ";
inline constexpr std::string_view TemperatureUnitPrefix = "Temperature units in ";

// The first row from 11 on whose column A, without surrounding blanks, is `headerWord`.
// Overflow (6) when the row counter passes 32767.
std::int16_t FindHeaderRow(xl::Sheet& sheet, std::string_view headerWord);

// The leading number of the line above the header row; 0 when it does not begin with one.
double ReadPointCount(xl::Sheet& sheet, std::int16_t headerRow);

// Fills HeaderLines 3 to headerRow - 3 and InfoText. Subscript out of range (9) for a channel
// outside the table or a header line past 20.
void CollectHeaderLines(xl::Sheet& sheet, std::int16_t headerRow, std::int32_t channel,
                        const ChannelTable& channels, ReportHeader& header);

// The line without its first Len(prefix) characters and without surrounding blanks; only the
// prefix's length counts. Invalid procedure call (5) when the line is shorter than the prefix.
std::string UnitFromLine(std::string_view line, std::string_view prefix);

// Puts "(label)" on a line of its own below the cell's trimmed text and aligns it right.
void LabelHeaderCell(xl::Sheet& sheet, std::int32_t row, std::int32_t column,
                     std::string_view label);

} // namespace kelvor
