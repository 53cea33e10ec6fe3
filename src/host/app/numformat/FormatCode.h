#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kelvor {

// One piece of a number format section: a literal to show as it is, or a format code
// ("0", "#", ".", ",", "%", "yyyy", "mm", "d", "h", "ss", "[h]", "AM/PM", "General", ...).
struct FormatToken {
    std::string text;
    bool literal;
};

// The sections of a number format, split at ';' outside quotes, brackets and escapes.
std::vector<std::string_view> formatSections(std::string_view format);

// The pieces of one section. Quoted text and escaped characters become literals, "_x" a
// blank, "*x" nothing; colours and conditions in brackets are dropped.
std::vector<FormatToken> tokenizeFormat(std::string_view section);

// Whether the token belongs to a date or time format.
bool isDateCode(const FormatToken& token);

// Whether a number in this format shows as a date or a time (its first section decides).
bool isDateFormat(std::string_view format);

// A date serial shown through date and time codes: "m" after an hour or before seconds
// means minutes; the value is rounded to the finest unit shown. Dates outside the calendar
// show as "########".
std::string dateText(double serial, const std::vector<FormatToken>& tokens);

} // namespace kelvor
