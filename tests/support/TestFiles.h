#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace kelvor::test {

// A file's bytes, exactly; empty when it cannot be read.
std::string fileBytes(const std::filesystem::path& path);

// Writes the bytes as the file's whole content.
void writeBytes(const std::filesystem::path& path, const std::string& bytes);

// The names of what a folder holds (as UTF-8), sorted.
std::vector<std::string> fileNamesIn(const std::filesystem::path& folder);

// A fresh folder below the system's temporary folder, removed with the object. Its path holds
// Latin, Greek and Cyrillic letters and blanks ("Prüfstand Ω/Пресс ..."), as a lab's folder
// names may: every test writing files there shows that such paths come through.
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
