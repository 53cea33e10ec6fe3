#pragma once

// Bytes copied from a file this program wrote earlier into a ReplacingFile, for files that
// are mostly what they were: the unchanged parts of a workbook come from its previous file
// instead of from memory.

#include "platform/DurableFile.h"

#include <cstdint>
#include <filesystem>
#include <memory>

namespace kelvor {

// An earlier file opened for reading, known to be the very file a ReplacingFile committed.
class SourceFile {
public:
    // Null when the file is gone, cannot be read, or is not the one `expected` describes (a
    // different file put in its place, or written to since).
    static std::unique_ptr<SourceFile> openUnchanged(const std::filesystem::path& path,
                                                     const FileStamp& expected);
    ~SourceFile();
    SourceFile(const SourceFile&) = delete;
    SourceFile& operator=(const SourceFile&) = delete;

    // Reads `size` bytes from `offset` into `out`; false when the file no longer holds them.
    bool read(std::uint64_t offset, std::uint64_t size, unsigned char* out) const;

    const std::filesystem::path& path() const { return path_; }
    std::intptr_t handle() const { return handle_; }

private:
    SourceFile(std::filesystem::path path, std::intptr_t handle)
        : path_(std::move(path)), handle_(handle) {}

    std::filesystem::path path_;
    std::intptr_t handle_; // the open file as the system knows it
};

} // namespace kelvor
