#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kelvor {

// A report file of the received-report archive, as the journal names it.
struct ArchivedReport {
    int channel = -1;           // 0 to 5
    std::string recorded;       // "Received/Channel 1/2026-12-07 14-03-05.txt"
    std::filesystem::path path; // the file itself
    bool cutShort = false;      // its name says it was cut short
};

// The order the archive's names give: "<%Y-%m-%d %H-%M-%S>[ (n)][ (cut short)][ (m)]" by time,
// then n, then m. Of "X (cut short)" and "X" the one cut short came first: "X" was free again
// only once the first was renamed. Nothing for a name the archive does not give.
struct ArchiveNameKey {
    std::string time;
    int number = 1;
    bool plain = true; // not cut short
    int cutShortNumber = 1;
    auto operator<=>(const ArchiveNameKey&) const = default;
    bool cutShort() const { return !plain; }
};
std::optional<ArchiveNameKey> archiveNameKey(const std::string& fileName);

// Every report file below `workbookFolder`/Received/Channel 1 ... 6, each channel's in the order
// they arrived, channel by channel. Files named otherwise are no reports of the archive.
std::vector<ArchivedReport> archivedReports(const std::filesystem::path& workbookFolder);

} // namespace kelvor
