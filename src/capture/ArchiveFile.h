#pragma once

#include "platform/DurableFile.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kelvor {

// One report's archive file, and the bytes of it that the folder has not taken yet. The file
// is created under the name the report got at its first byte; bytes the disk refused wait
// here and are written after the ones it kept, so the file ends up exactly as received
// however often writing failed in between.
class ArchiveFile {
public:
    explicit ArchiveFile(std::filesystem::path path) : path_(std::move(path)) {}

    void add(std::string_view bytes) { pending_ += bytes; }
    // The report is complete (or cut short): the last write syncs and closes the file, and a
    // report cut short is renamed to say so.
    void end(bool cutShort);

    // Writes what waits: creates the file, or goes on with it from the bytes known to be in
    // it (anything a failed write left beyond them is cut off first). FileError when the
    // folder does not take it; the bytes keep waiting then. A file that took the report's name
    // meanwhile makes it take the next name neither on disk nor `taken`.
    void write(const std::function<bool(const std::filesystem::path&)>& taken = {});
    // Lets go of the open file after a failure; the next write opens it again.
    void release() noexcept { file_.reset(); }

    // From now on written as a new file at `path` (outside the folder the start went to
    // when `kept()` is not 0).
    void moveTo(std::filesystem::path path);
    // Nothing more is kept: what waits is let go and later bytes are ignored.
    void drop();

    bool done() const { return ended_ && pending_.empty() && !file_ && created_; }
    bool dropped() const { return dropped_; }
    bool ended() const { return ended_; }
    bool moved() const { return moved_; }
    // Whether a write of it ever failed.
    bool wasHeld() const { return wasHeld_; }
    void markHeld() { wasHeld_ = true; }
    std::size_t waiting() const { return pending_.size(); }
    std::uint64_t kept() const { return kept_; }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
    std::optional<AppendFile> file_;
    std::string pending_;
    std::uint64_t kept_ = 0; // bytes known to be in the file
    bool created_ = false;
    bool ended_ = false;
    bool cutShort_ = false;
    bool wasHeld_ = false;
    bool dropped_ = false;
    bool moved_ = false;
};

// "<stem>.txt", then "<stem> (2).txt", "(3)", ...: the first name neither on disk nor
// `taken` by a report still waiting for its file.
std::filesystem::path
freeArchiveName(const std::filesystem::path& folder, const std::string& stem,
                const std::function<bool(const std::filesystem::path&)>& taken = {});

} // namespace kelvor
