#pragma once

#include "platform/DurableFile.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace kelvor {

// Grows a file this program wrote by appending behind its last byte, never touching a byte it
// had: a big archive whose unchanged entries stay where they lie. commit() hands every byte to
// the system and syncs. Any failure throws FileError and cuts the file back to the bytes it
// had, as does destruction without a commit. A process killed part-way leaves those bytes
// followed by a torn tail; whoever reads the file next must tell that by the file's end.
class ExtendingFile {
public:
    // Opens the file, which must hold at least `size` bytes; bytes beyond them are cut off.
    // Fails with FileHeldOpenReason where a replacement of the file would (see AppendFile).
    ExtendingFile(std::filesystem::path path, std::uint64_t size);
    ~ExtendingFile();
    ExtendingFile(const ExtendingFile&) = delete;
    ExtendingFile& operator=(const ExtendingFile&) = delete;

    void write(std::string_view bytes);
    void commit();
    // The file after commit(), or after a failure cut it back; zero when unknown.
    const FileStamp& stamp() const { return stamp_; }

private:
    void flushBuffer();
    [[noreturn]] void fail(const FileError& error);
    void cutBack() noexcept;

    std::filesystem::path path_;
    std::uint64_t original_;
    AppendFile file_;
    std::string buffer_;
    bool committed_ = false;
    bool failed_ = false;
    FileStamp stamp_;
};

} // namespace kelvor
