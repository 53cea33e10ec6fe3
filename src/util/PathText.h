#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kelvor {

// Paths to and from UTF-8 text, alike on every system. A plain std::string goes through the
// narrow code page on Windows, which cannot hold a Cyrillic or Greek channel description on a
// Western PC; these convert to the system's UTF-16 names and back without loss.
std::filesystem::path pathFromUtf8(std::string_view utf8);
std::string utf8Of(const std::filesystem::path& path);

} // namespace kelvor
