#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kelvor::xml {

enum class Escape {
    Plain,
    // Spreadsheet text: a literal "_xHHHH_" is protected so that readers do not decode it.
    SpreadsheetText,
};

// Appends UTF-8 text as XML element content. Markup characters are escaped, CR is kept as a
// character reference, code points XML 1.0 cannot hold are dropped and invalid UTF-8 becomes
// U+FFFD, so no text can break the document.
void appendText(std::string& out, std::string_view text, Escape escape = Escape::Plain);

// The same for an attribute value in double quotes; tab and LF are kept as references too.
void appendAttribute(std::string& out, std::string_view text);

// Whether the text begins or ends with white space that XML would not keep by default.
bool hasEdgeSpace(std::string_view text);

// The longest prefix of the UTF-8 text that fits into maxUnits UTF-16 code units, cut only
// between characters.
std::string_view clipUtf16(std::string_view text, std::size_t maxUnits);

// Shortest text that reads back as the same double, "." as decimal point, whatever the
// locale. The value must be finite.
void appendNumber(std::string& out, double value);

void appendUnsigned(std::string& out, std::uint64_t value);

} // namespace kelvor::xml
