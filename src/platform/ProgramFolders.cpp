#include "platform/ProgramFolders.h"

#include "platform/DurableFile.h"

namespace kelvor {

bool canWriteIn(const std::filesystem::path& folder) {
    try {
        ReplacingFile probe(folder / ".write-check");
        return true; // never committed: the temporary file goes with the object
    } catch (const FileError&) {
        return false;
    }
}

std::filesystem::path settingsFolder(const std::filesystem::path& programFolder,
                                     const std::filesystem::path& documentsFolder,
                                     const std::filesystem::path& settingsFileName) {
    if (canWriteIn(programFolder) || documentsFolder.empty()) {
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
