#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kelvor {

// The code points of well-formed UTF-8 text; nothing for anything else (overlong forms,
// surrogates, cut-off sequences, values beyond U+10FFFF).
std::optional<std::u32string> decodeUtf8(std::string_view bytes);

// Appends a code point (not a surrogate) as UTF-8.
void appendUtf8(std::string& out, char32_t c);

// The length of UTF-8 text in UTF-16 code units, the unit spreadsheet programs count their
// limits in: a character beyond U+FFFF counts two, a byte that is no part of a well-formed
// character counts one (it would be shown as one replacement character).
std::size_t utf16Length(std::string_view bytes);

// Whether a code point is white space: the ASCII blanks and Unicode's space separators.
bool isWhiteSpace(char32_t c);

// The text without white space at its ends, every run of white space inside it one blank.
// Bytes that are not well-formed UTF-8 are kept as they are.
std::string simplifiedWhiteSpace(std::string_view utf8);

// ASCII letters in lower case; every other byte kept.
std::string asciiLowercase(std::string_view text);

} // namespace kelvor
