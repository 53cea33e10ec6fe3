#pragma once

#include <filesystem>

namespace kelvor {

// Whether the program may create files in the folder (tried with a temporary file that is
// removed again at once).
bool canWriteIn(const std::filesystem::path& folder);

// The folder of the settings file, and with it of the log and, by default, the workbooks: the
// program's own folder when it may write there, otherwise `<documents>/KelvorReader2` (a
// program installed under Program Files may not write beside itself). A settings file that
// the installation put beside the program is copied there the first time, so it still holds.
// The program's folder when there are no documents either.
std::filesystem::path settingsFolder(const std::filesystem::path& programFolder,
                                     const std::filesystem::path& documentsFolder,
                                     const std::filesystem::path& settingsFileName);

} // namespace kelvor
