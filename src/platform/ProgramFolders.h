#pragma once

#include <filesystem>
#include <vector>

namespace kelvor {

// Whether the program may create files in the folder (tried with a temporary file that is
// removed again at once).
bool canWriteIn(const std::filesystem::path& folder);

// The folders an installer puts programs into, whose programs keep the user's files elsewhere:
// on Windows the Program Files folders (64-bit and 32-bit); none elsewhere. One file per
// system, platform/posix/ or platform/windows/InstallationFolders.cpp.
std::vector<std::filesystem::path> installationFolders();

// Whether `folder` is `parent` or lies below it, compared name by name and regardless of the
// case of ASCII letters (Windows' folder names are case-blind). An empty parent holds nothing.
bool isWithin(const std::filesystem::path& folder, const std::filesystem::path& parent);

// The folder of the settings file, and with it of the log and, by default, the workbooks: the
// program's own folder when it may write there and is not installed below one of the
// `installationFolders`, otherwise `<documents>/KelvorReader2`. An installed program always
// uses the documents: writable Program Files (an elevated run, Wine) would otherwise split
// the settings between two places. A settings file that the installation put beside the
// program is copied there the first time, so it still holds. The program's folder when there
// are no documents either.
std::filesystem::path settingsFolder(const std::filesystem::path& programFolder,
                                     const std::filesystem::path& documentsFolder,
                                     const std::filesystem::path& settingsFileName,
                                     const std::vector<std::filesystem::path>& installationFolders);

} // namespace kelvor
