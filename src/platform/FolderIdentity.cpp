#include "platform/FolderIdentity.h"

#include "platform/DurableFile.h"
#include "util/PathText.h"

#include <array>
#include <fstream>
#include <random>
#include <sstream>

namespace kelvor {

namespace {

constexpr std::string_view IdentityKey = "Identity: ";
constexpr std::string_view FolderKey = "Folder: ";
// Markers and state files are a few lines; anything longer is not ours.
constexpr std::streamsize MaxReadBytes = 4096;

std::string readSmallFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return {};
    }
    std::string text(static_cast<std::size_t>(MaxReadBytes), '\0');
    in.read(text.data(), MaxReadBytes);
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

// The value of the line "<key><value>"; empty when there is none.
std::string valueOf(const std::string& text, std::string_view key) {
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.starts_with(key)) {
            return line.substr(key.size());
        }
    }
    return {};
}

std::string folderKey(const std::filesystem::path& folder) {
    std::error_code error;
    const auto absolute = std::filesystem::absolute(folder, error);
    return utf8Of((error ? folder : absolute).lexically_normal());
}

bool writeWhole(const std::filesystem::path& path, const std::string& text) {
    try {
        ReplacingFile file(path);
        file.write(text);
        file.commit();
        return true;
    } catch (const FileError&) {
        return false;
    }
}

} // namespace

std::string randomFolderIdentity() {
    std::random_device source;
    static constexpr std::array<char, 16> Digits = {'0', '1', '2', '3', '4', '5', '6', '7',
                                                    '8', '9', 'a', 'b', 'c', 'd', 'e', 'f'};
    std::string identity;
    for (int word = 0; word < 4; ++word) {
        auto bits = static_cast<std::uint32_t>(source());
        for (int digit = 0; digit < 8; ++digit, bits >>= 4U) {
            identity.push_back(Digits[bits & 0xFU]);
        }
    }
    return identity;
}

FolderIdentity::FolderIdentity(std::filesystem::path folder, std::filesystem::path markerFolder,
                               std::filesystem::path stateFile, Hooks hooks)
    : folder_(std::move(folder)), marker_(std::move(markerFolder) / FolderMarkerName),
      stateFile_(std::move(stateFile)), hooks_(std::move(hooks)) {
    const std::string state = readSmallFile(stateFile_);
    const std::string remembered = valueOf(state, IdentityKey);
    if (!remembered.empty() && valueOf(state, FolderKey) == folderKey(folder_)) {
        identity_ = remembered;
        isOurs();
        return;
    }
    // A folder this reader has not written to before, as far as it remembers. A marker found
    // there is kept: the folder was this reader's, or is shared on purpose.
    identity_ = valueOf(readSmallFile(marker_), IdentityKey);
    if (identity_.empty()) {
        identity_ = hooks_.newIdentity ? hooks_.newIdentity() : randomFolderIdentity();
        markPending_ = !writeMarker();
        log(markPending_ ? "Workbook folder " + utf8Of(folder_) +
                               ": its marker file could not be written yet; tried again "
                               "before the next write"
                         : "Workbook folder " + utf8Of(folder_) + " marked as this reader's (" +
                               utf8Of(marker_) + ")");
    } else {
        log("Workbook folder " + utf8Of(folder_) + " recognised by its marker file " +
            utf8Of(marker_));
    }
    if (!writeState()) {
        log("The workbook folder's identity could not be kept in " + utf8Of(stateFile_) +
            "; the next start marks the folder anew");
    }
}

bool FolderIdentity::isOurs() {
    if (markPending_) {
        // Until its marker is written the folder is taken on trust, as the settings name it.
        markPending_ = !writeMarker();
        if (!markPending_) {
            log("Workbook folder " + utf8Of(folder_) + " marked as this reader's (" +
                utf8Of(marker_) + ")");
        }
        return true;
    }
    const auto now = look();
    bool ours = false;
    if (now && now == seen_) {
        ours = true;
    } else if (now && readMatches()) {
        seen_ = now;
        ours = true;
    }
    if (ours != ours_) {
        changed(ours);
    }
    return ours;
}

std::string FolderIdentity::notOursMessage() const {
    return "The workbook folder " + utf8Of(folder_) +
           " is not the one the reader wrote to before (a network share or drive may be "
           "missing). Nothing is written there until it returns; received reports are held.";
}

std::optional<FolderIdentity::Seen> FolderIdentity::look() const {
    std::error_code error;
    const auto modified = std::filesystem::last_write_time(marker_, error);
    if (error) {
        return std::nullopt;
    }
    const auto size = std::filesystem::file_size(marker_, error);
    if (error) {
        return std::nullopt;
    }
    return Seen{modified, size};
}

bool FolderIdentity::readMatches() const {
    return valueOf(readSmallFile(marker_), IdentityKey) == identity_;
}

bool FolderIdentity::writeMarker() {
    std::error_code error;
    std::filesystem::create_directories(marker_.parent_path(), error);
    return writeWhole(marker_,
                      "KelvorReader2 workbook folder\r\n" + std::string(IdentityKey) + identity_ +
                          "\r\n"
                          "The KelvorReader2 reader writes its workbooks and received reports "
                          "here and knows this folder by this file. Do not delete or change "
                          "it.\r\n");
}

bool FolderIdentity::writeState() const {
    return writeWhole(stateFile_, "KelvorReader2 workbook folder, as last written to\n" +
                                      std::string(FolderKey) + folderKey(folder_) + "\n" +
                                      std::string(IdentityKey) + identity_ + "\n");
}

void FolderIdentity::log(const std::string& line) const {
    if (hooks_.log) {
        hooks_.log(line);
    }
}

void FolderIdentity::changed(bool ours) {
    ours_ = ours;
    if (ours) {
        told_ = false;
        log("Workbook folder " + utf8Of(folder_) +
            " is back; what was held for it is written there again");
        return;
    }
    log("Workbook folder " + utf8Of(folder_) + " is not the one written to before: its marker " +
        utf8Of(marker_) + " is missing or names another folder. Nothing is written there until " +
        "it returns. (If this is the right folder and its marker was deleted, remove " +
        utf8Of(stateFile_) + " and start the reader again.)");
    if (!told_ && hooks_.tell) {
        told_ = true;
        hooks_.tell(notOursMessage());
    }
}

} // namespace kelvor
