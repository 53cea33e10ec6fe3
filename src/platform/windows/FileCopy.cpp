#include "platform/FileCopy.h"

#include "platform/DurableFileParts.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace kelvor {

namespace {

HANDLE asHandle(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle); // NOLINT: the system's handle kept as a number
}

FileStamp stampOf(const BY_HANDLE_FILE_INFORMATION& info) {
    const auto high = [](DWORD a, DWORD b) {
        return (static_cast<std::uint64_t>(a) << 32) | static_cast<std::uint64_t>(b);
    };
    return {high(info.nFileSizeHigh, info.nFileSizeLow),
            static_cast<std::int64_t>(
                high(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime)),
            info.dwVolumeSerialNumber, high(info.nFileIndexHigh, info.nFileIndexLow)};
}

} // namespace

FileStamp durable::stampOfHandle(std::intptr_t handle) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(asHandle(handle), &info)) {
        return {};
    }
    return stampOf(info);
}

std::unique_ptr<SourceFile> SourceFile::openUnchanged(const std::filesystem::path& path,
                                                      const FileStamp& expected) {
    // Shared for every use: the reader must never stand in the way of the file's replacement.
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file, &info) || stampOf(info) != expected) {
        CloseHandle(file);
        return nullptr;
    }
    return std::unique_ptr<SourceFile>(
        new SourceFile(path, reinterpret_cast<std::intptr_t>(file))); // NOLINT: as a number
}

SourceFile::~SourceFile() {
    CloseHandle(asHandle(handle_));
}

bool SourceFile::read(std::uint64_t offset, std::uint64_t size, unsigned char* out) const {
    while (size > 0) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFU);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD got = 0;
        const auto want = static_cast<DWORD>(std::min<std::uint64_t>(size, 1U << 30));
        if (!ReadFile(asHandle(handle_), out, want, &got, &at) || got == 0) {
            return false;
        }
        out += got;
        offset += got;
        size -= got;
    }
    return true;
}

// Read and written in pieces through the ordinary write path.
bool ReplacingFile::copyFrom(const SourceFile& source, std::uint64_t offset, std::uint64_t size) {
    if (!failure_.empty()) {
        throw FileError(target_, failure_);
    }
    flushBuffer();
    const std::uint64_t start = written_;
    std::vector<unsigned char> piece;
    for (std::uint64_t done = 0; done < size;) {
        piece.resize(std::min<std::uint64_t>(size - done, 1U << 20));
        if (!source.read(offset + done, piece.size(), piece.data())) {
            // What did arrive is cut off again: the file ends where it did.
            LARGE_INTEGER kept{};
            kept.QuadPart = static_cast<LONGLONG>(start);
            if (!SetFilePointerEx(asHandle(handle_), kept, nullptr, FILE_BEGIN) ||
                !SetEndOfFile(asHandle(handle_))) {
                fail("the file could not be cut back");
            }
            written_ = start;
            return false;
        }
        // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): bytes as characters
        writeThrough(std::string_view(reinterpret_cast<const char*>(piece.data()), piece.size()));
        done += piece.size();
        written_ += piece.size();
    }
    return true;
}

} // namespace kelvor
