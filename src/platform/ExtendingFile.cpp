#include "platform/ExtendingFile.h"

namespace kelvor {

ExtendingFile::ExtendingFile(std::filesystem::path path, std::uint64_t size)
    : path_(std::move(path)), original_(size),
      file_(AppendFile::openExisting(path_, size, AppendFile::OthersOpen::Refused)) {
    buffer_.reserve(ReplacingFileBufferSize);
}

ExtendingFile::~ExtendingFile() {
    if (!committed_ && !failed_) {
        cutBack();
    }
}

void ExtendingFile::write(std::string_view bytes) {
    if (failed_ || committed_) {
        throw FileError(path_, failed_ ? "an earlier write to the file failed"
                                       : "the file was already written");
    }
    if (buffer_.size() + bytes.size() <= ReplacingFileBufferSize) {
        buffer_.append(bytes);
        return;
    }
    flushBuffer();
    if (bytes.size() < ReplacingFileBufferSize) {
        buffer_.append(bytes);
        return;
    }
    try {
        file_.append(bytes);
    } catch (const FileError& error) {
        fail(error);
    }
}

void ExtendingFile::flushBuffer() {
    if (buffer_.empty()) {
        return;
    }
    try {
        file_.append(buffer_);
    } catch (const FileError& error) {
        fail(error);
    }
    buffer_.clear();
}

void ExtendingFile::commit() {
    flushBuffer();
    try {
        file_.sync();
        stamp_ = file_.stamp();
        file_.close();
    } catch (const FileError& error) {
        fail(error);
    }
    committed_ = true;
}

void ExtendingFile::fail(const FileError& error) {
    failed_ = true;
    cutBack();
    throw error;
}

// The appends made so far go again, so the file is what it was before this one began.
void ExtendingFile::cutBack() noexcept {
    stamp_ = {};
    try {
        file_.close();
        auto again = AppendFile::openExisting(path_, original_);
        again.sync();
        stamp_ = again.stamp();
        again.close();
    } catch (...) {
        // The file keeps a torn tail; its end tells the next reader so.
    }
}

} // namespace kelvor
