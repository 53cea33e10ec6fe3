#pragma once

#include "export/Spreadsheet.h"

#include <string>
#include <string_view>
#include <vector>

namespace kelvor {

// The delimiters and text qualifier of one column split.
struct SplitRule {
    bool tab = false;
    bool semicolon = false;
    bool comma = false;
    bool space = false;
    std::string other; // one character (UTF-8), empty for none
    bool consecutiveAsOne = false;
    char qualifier = '"'; // '\0' for none
};

// Throws 1004 for options the column split does not take (fixed width, an unknown qualifier).
SplitRule splitRule(const xl::TextToColumnsOptions& options);

// The fields of one line. A field that begins with the qualifier runs to the closing one and
// may hold delimiters; a doubled qualifier inside stands for one; text after the closing
// qualifier up to the next delimiter is kept; an unterminated field runs to the end of the
// line. Elsewhere the qualifier is an ordinary character.
std::vector<std::string> splitLine(std::string_view line, const SplitRule& rule);

// The lines of pasted text: split at CR LF, LF or a lone CR; a final line break adds no line.
std::vector<std::string_view> splitLines(std::string_view text);

} // namespace kelvor
