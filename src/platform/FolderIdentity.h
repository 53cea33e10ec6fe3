#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace kelvor {

// The marker file that names a folder as this reader's, and the line it is recognised by.
inline constexpr const char* FolderMarkerName = "KelvorReader2 folder.txt";

// Whether the folder at a path is still the one this reader wrote to. A network share that
// dropped, or a drive that is missing, leaves an empty folder (a bare mount point) or none at
// the same path; what is written there is hidden once the share returns. The reader keeps a
// marker file with a random identity in the folder and remembers the identity in a state file
// of its own, outside the folder; before each write the writers ask isOurs().
//
// The folder is marked anew on a first start (no identity remembered) and when the settings
// name another folder than the one remembered; a marker found there already is taken over, so
// that a folder used before is recognised again. Asking is cheap: the marker is read only when
// its file changed since the last look.
class FolderIdentity {
public:
    struct Hooks {
        // Told to the user once when the folder stops being recognised.
        std::function<void(const std::string& message)> tell;
        // A line for the log: lost, returned, marked.
        std::function<void(const std::string& line)> log;
        // A new random identity; none: from the system's random source.
        std::function<std::string()> newIdentity;
    };

    // `markerFolder`: where the marker goes inside the folder (the folder itself, or a
    // subfolder of it that the reader owns).
    FolderIdentity(std::filesystem::path folder, std::filesystem::path markerFolder,
                   std::filesystem::path stateFile, Hooks hooks);

    // True when nothing may keep a write out of the folder: it is the one remembered, or it
    // was never marked because the marker could not be written yet (tried again here).
    bool isOurs();

    const std::filesystem::path& folder() const { return folder_; }
    const std::filesystem::path& markerPath() const { return marker_; }
    const std::string& identity() const { return identity_; }

    // The message the user is told when the folder is not recognised.
    std::string notOursMessage() const;

private:
    // The marker's file as last looked at: a change of either makes it read again.
    struct Seen {
        std::filesystem::file_time_type modified{};
        std::uintmax_t size = 0;
        bool operator==(const Seen&) const = default;
    };

    std::optional<Seen> look() const;
    bool readMatches() const;
    bool writeMarker();
    bool writeState() const;
    void log(const std::string& line) const;
    void changed(bool ours);

    std::filesystem::path folder_;
    std::filesystem::path marker_;
    std::filesystem::path stateFile_;
    Hooks hooks_;
    std::string identity_;
    bool markPending_ = false; // the marker still has to be written
    std::optional<Seen> seen_; // the marker as it was at the last read that matched
    bool ours_ = true;
    bool told_ = false;
};

// 32 hexadecimal digits from the system's random source.
std::string randomFolderIdentity();

} // namespace kelvor
