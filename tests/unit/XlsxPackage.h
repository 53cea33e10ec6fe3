#pragma once

#include "TestFiles.h"

#include <filesystem>
#include <map>
#include <string>

namespace kelvor::test {

struct PackageEntry {
    std::string content;    // inflated
    std::string compressed; // the stored deflate bytes
};

// Reads every entry of a zip archive with libzip, an implementation independent of ours,
// after its consistency check. Fails the current test (and returns nothing) when the archive
// is unreadable.
std::map<std::string, PackageEntry> readPackage(const std::filesystem::path& path);

// Empty when the XML is well-formed, otherwise the parser's complaint.
std::string xmlError(const std::string& xml);

} // namespace kelvor::test
