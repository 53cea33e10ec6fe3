#pragma once

// Files whose writes are checked to the last byte: a full disk, a file-size limit or a
// vanished folder is reported in words instead of leaving a cut-off file behind.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kelvor {

// A file operation that failed: which file, and why in words a lab technician understands
// ("no space left on the disk", "the folder is read-only", "not a folder", "file too large", ...).
class FileError : public std::runtime_error {
public:
    FileError(std::filesystem::path path, std::string reason); // what() = "<path>: <reason>"
    const std::filesystem::path& path() const;
    const std::string& reason() const;

private:
    std::filesystem::path path_;
    std::string reason_;
};

std::string fileErrorReason(int errorNumber); // errno -> words

// The reason given for a file another program holds open (Windows refuses to replace it).
inline constexpr const char* FileHeldOpenReason = "the file is open in another program";

// What tells a file this program wrote from any other: a file put in its place or written to
// since differs in one of them (a write within the system's clock tick of the last one aside).
struct FileStamp {
    std::uint64_t size = 0;
    std::int64_t modified = 0; // in the system's own units
    std::uint64_t device = 0;
    std::uint64_t node = 0; // the file's number on its device
    bool operator==(const FileStamp&) const = default;
};

// A new file that grows by appending. Every append reaches the operating system before it
// returns (a killed process loses nothing appended); sync() makes it durable on disk.
class AppendFile {
public:
    static AppendFile createNew(const std::filesystem::path& path); // fails if it exists
    // Goes on with a file this program began: what lies beyond its first `keptSize` bytes
    // (the part of a write that failed) is cut off, so the next append follows them exactly.
    // Fails when the file is missing or shorter than that.
    // With OthersOpen::Refused it fails with FileHeldOpenReason where a replacement would:
    // on Windows, while another program holds the file open (a spreadsheet program showing a
    // workbook); elsewhere nothing keeps a file from being written.
    enum class OthersOpen { Allowed, Refused };
    static AppendFile openExisting(const std::filesystem::path& path, std::uint64_t keptSize,
                                   OthersOpen others = OthersOpen::Allowed);
    // The file as it is, made when missing; appends go after its last byte.
    static AppendFile openForAppend(const std::filesystem::path& path);
    // Bytes in the file: those it had when opened and those appended since.
    std::size_t size() const { return size_; }
    // The file as it is now; zero when closed or when the system cannot tell.
    FileStamp stamp() const;
    AppendFile(AppendFile&&) noexcept;
    AppendFile& operator=(AppendFile&&) noexcept;
    ~AppendFile(); // closes, never throws
    // Every byte written, or FileError; an append that fails part-way is cut off again, so
    // the file ends with the last whole append.
    void append(std::string_view bytes);
    void sync(); // fsync, or FileError
    // Idempotent. Throws FileError when the system reports at closing that written bytes were
    // lost (network file systems); the file is closed either way.
    void close();
    const std::filesystem::path& path() const;

private:
    AppendFile(std::filesystem::path path, std::intptr_t handle, std::size_t size = 0);

    std::filesystem::path path_;
    std::intptr_t handle_ = -1; // the open file as the system knows it; -1 when closed
    std::size_t size_ = 0;      // bytes appended so far
};

class SourceFile; // platform/FileCopy.h

// Bytes a ReplacingFile gathers before it hands them to the system.
inline constexpr std::size_t ReplacingFileBufferSize = 256 * 1024;

// Replaces a file as a whole: the bytes go to a temporary file beside the target whose name
// marks it as this program's; commit() checks every write, flushes, syncs, renames it over
// the target and syncs the folder. Any failure throws FileError and leaves the target exactly
// as it was; destroyed without a successful commit, the temporary file is removed.
class ReplacingFile {
public:
    // Creates the temporary file; FileError when it cannot be made or the target is a folder.
    explicit ReplacingFile(std::filesystem::path target);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // May keep the bytes back until the next write or commit; a failure throws FileError here
    // or there. After a failure every call throws it again.
    void write(std::string_view bytes);
    // Appends `size` bytes of `source` from `offset`. False, with nothing appended, when the
    // source no longer holds them; a failed write throws FileError as write() does.
    bool copyFrom(const SourceFile& source, std::uint64_t offset, std::uint64_t size);
    void commit();
    // The committed file as it was renamed into place; zero before commit().
    const FileStamp& stamp() const { return stamp_; }

    const std::filesystem::path& target() const { return target_; }
    const std::filesystem::path& temporaryPath() const { return temporary_; }

private:
    void flushBuffer();
    // Hands every byte to the system, or fails; one definition per operating system.
    void writeThrough(std::string_view bytes);
    [[noreturn]] void fail(std::string reason);
    void discard() noexcept;

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    std::string buffer_;
    std::string failure_;       // the reason of the first failure; empty while all is well
    std::uint64_t written_ = 0; // bytes handed to the system so far
    std::intptr_t handle_ = -1; // the open temporary file as the system knows it; -1: none
    bool committed_ = false;
    FileStamp stamp_;
};

// Removes temporary files that an earlier, killed run of this program left in `folder`
// (only files named the way ReplacingFile names them; never anything else).
void removeLeftoverTemporaryFiles(const std::filesystem::path& folder);

// Whether a file name is one ReplacingFile gives its temporary files.
bool isTemporaryFileName(const std::string& fileName);

// Calls `visit` for each plain file (no link, no folder) in `folder` named as a temporary
// file; each system decides whether it is left over and removes it.
void forEachTemporaryFile(const std::filesystem::path& folder,
                          const std::function<void(const std::filesystem::path&)>& visit);

// A write beyond the process's file-size limit then fails with "file too large" instead of
// ending the program. Call once at start.
void ignoreFileSizeLimitSignal();

} // namespace kelvor
