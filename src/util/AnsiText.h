#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kelvor {

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool isValidUtf8(std::string_view bytes);

// Windows-1252 bytes as UTF-8. The five bytes that code page leaves undefined become the
// control characters of the same number, as Windows itself maps them.
std::string windows1252ToUtf8(std::string_view bytes);

// Text that may come from either kind of system: kept as it is when it already is UTF-8,
// otherwise taken as Windows-1252.
std::string utf8FromUtf8OrWindows1252(std::string_view bytes);

// The first `count` characters (code points) of UTF-8 text, never splitting a character.
std::string firstCodePoints(std::string_view utf8, std::size_t count);

} // namespace kelvor
