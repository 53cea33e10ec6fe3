#include "TestFiles.h"

#include "util/PathText.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace kelvor::test {

namespace {

// Lab folders are named in any script: the tests' folders hold Latin, Greek and Cyrillic
// letters and blanks ("Prüfstand Ω/Пресс …"), so every file the tests write, and every path
// they hand to another program, shows that such names come through.
const char* const BaseFolder = "KelvorReader2 tests/Pr\xC3\xBC"
                               "fstand \xCE\xA9";
const char* const LeafPrefix = "\xD0\x9F\xD1\x80\xD0\xB5\xD1\x81\xD1\x81 ";

} // namespace

TempDir::TempDir() {
    const auto base = std::filesystem::temp_directory_path() / pathFromUtf8(BaseFolder);
    std::filesystem::create_directories(base);
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        // A number no other test run picks.
        auto candidate = base / pathFromUtf8(LeafPrefix + std::to_string(random() % 1000000000));
        if (std::filesystem::create_directory(candidate)) {
            path_ = std::move(candidate);
            return;
        }
    }
    throw std::runtime_error("no fresh temporary folder below " + utf8Of(base));
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::vector<std::string> fileNamesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(utf8Of(entry.path().filename()));
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace kelvor::test
