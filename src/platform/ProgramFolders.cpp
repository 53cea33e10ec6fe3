#include "platform/ProgramFolders.h"

#include "platform/DurableFile.h"

#include <algorithm>

namespace kelvor {

namespace {

// The names along a path, without the empty one a trailing separator leaves, each with its
// ASCII letters in lower case; separators in the generic form so that `C:\` and `C:/` meet.
std::vector<std::string> foldedNames(const std::filesystem::path& path) {
    std::vector<std::string> names;
    for (const auto& element : path.lexically_normal()) {
        const auto text = element.generic_u8string();
        if (text.empty()) {
            continue;
        }
        std::string name(text.begin(), text.end());
        std::transform(name.begin(), name.end(), name.begin(),
                       [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
        names.push_back(std::move(name));
    }
    return names;
}

bool isInstalled(const std::filesystem::path& programFolder,
                 const std::vector<std::filesystem::path>& installationFolders) {
    return std::any_of(installationFolders.begin(), installationFolders.end(),
                       [&](const auto& parent) { return isWithin(programFolder, parent); });
}

} // namespace

bool canWriteIn(const std::filesystem::path& folder) {
    try {
        ReplacingFile probe(folder / ".write-check");
        return true; // never committed: the temporary file goes with the object
    } catch (const FileError&) {
        return false;
    }
}

bool isWithin(const std::filesystem::path& folder, const std::filesystem::path& parent) {
    const auto names = foldedNames(folder);
    const auto parentNames = foldedNames(parent);
    return !parentNames.empty() && parentNames.size() <= names.size() &&
           std::equal(parentNames.begin(), parentNames.end(), names.begin());
}

std::filesystem::path
settingsFolder(const std::filesystem::path& programFolder,
               const std::filesystem::path& documentsFolder,
               const std::filesystem::path& settingsFileName,
               const std::vector<std::filesystem::path>& installationFolders) {
    const bool besideProgram =
        !isInstalled(programFolder, installationFolders) && canWriteIn(programFolder);
    if (besideProgram || documentsFolder.empty()) {
        return programFolder;
    }
    const auto folder = documentsFolder / "KelvorReader2";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!canWriteIn(folder)) {
        return programFolder; // nowhere better: the reader tells what it cannot write
    }
    if (!std::filesystem::exists(folder / settingsFileName, error)) {
        std::filesystem::copy_file(programFolder / settingsFileName, folder / settingsFileName,
                                   error);
    }
    return folder;
}

} // namespace kelvor
