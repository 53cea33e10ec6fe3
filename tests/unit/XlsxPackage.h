#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

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

// A file's bytes, exactly; empty when it cannot be read.
std::string fileBytes(const std::filesystem::path& path);

// The names of what a folder holds, sorted.
std::vector<std::string> fileNamesIn(const std::filesystem::path& folder);

// A fresh folder below the system's temporary folder, removed with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace kelvor::test
