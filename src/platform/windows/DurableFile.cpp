#include "platform/DurableFile.h"

#include "platform/DurableFileParts.h"

#include "util/PathText.h"

#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <system_error>
#include <utility>

// Replaces posix/DurableFile.cpp in a Windows build. A file opened without delete sharing
// cannot be removed while it is open, so a writer's open temporary file guards itself against
// leftover removal.
namespace kelvor {

namespace {

constexpr const char* ReadOnlyFileReason = "the file is read-only";
constexpr std::intptr_t Closed = durable::ClosedHandle;

HANDLE asHandle(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

std::intptr_t asNumber(HANDLE handle) {
    return reinterpret_cast<std::intptr_t>(handle);
}

// The system's error codes in the same words as everywhere else.
std::string reasonOf(DWORD error) {
    switch (error) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return fileErrorReason(ENOSPC);
    case ERROR_FILE_TOO_LARGE:
        return fileErrorReason(EFBIG);
    case ERROR_WRITE_PROTECT:
        return fileErrorReason(EROFS);
    case ERROR_ACCESS_DENIED:
        return fileErrorReason(EACCES);
    case ERROR_PATH_NOT_FOUND:
    case ERROR_FILE_NOT_FOUND:
        return fileErrorReason(ENOENT);
    case ERROR_DIRECTORY:
        return fileErrorReason(ENOTDIR);
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return fileErrorReason(EEXIST);
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return fileErrorReason(EBUSY);
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return fileErrorReason(ENOMEM);
    case ERROR_TOO_MANY_OPEN_FILES:
        return fileErrorReason(EMFILE);
    case ERROR_FILENAME_EXCED_RANGE:
        return fileErrorReason(ENAMETOOLONG);
    case ERROR_NOT_READY:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_NETNAME_DELETED:
    case ERROR_BAD_NETPATH:
        return fileErrorReason(ENODEV);
    case ERROR_CRC:
    case ERROR_IO_DEVICE:
        return fileErrorReason(EIO);
    default:
        return std::system_category().message(static_cast<int>(error)) + " (Windows error " +
               std::to_string(error) + ")";
    }
}

// Why a file could not be replaced. Windows says "access denied" both for a file that another
// program holds open (a spreadsheet program showing the workbook) and for a read-only folder
// or file; the first is told apart by whether the file can be opened for deletion now.
std::string replaceFailure(const std::filesystem::path& target, DWORD error) {
    if (error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION) {
        const HANDLE probe = CreateFileW(target.c_str(), DELETE,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (probe == INVALID_HANDLE_VALUE) {
            if (GetLastError() == ERROR_SHARING_VIOLATION) {
                return FileHeldOpenReason;
            }
        } else {
            CloseHandle(probe);
            const DWORD attributes = GetFileAttributesW(target.c_str());
            if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
                return ReadOnlyFileReason;
            }
        }
    }
    return reasonOf(error);
}

// Every byte written, or false with the system's error left for GetLastError.
bool writeAll(HANDLE file, std::string_view bytes) {
    constexpr std::size_t MaxChunk = 1U << 30;
    while (!bytes.empty()) {
        DWORD written = 0;
        const auto chunk = static_cast<DWORD>(std::min(bytes.size(), MaxChunk));
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) {
            return false;
        }
        if (written == 0) {
            SetLastError(ERROR_DISK_FULL);
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

} // namespace

void durable::releaseHandle(std::intptr_t handle) noexcept {
    CloseHandle(asHandle(handle));
}

AppendFile AppendFile::createNew(const std::filesystem::path& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        throw FileError(path, reasonOf(GetLastError()));
    }
    return AppendFile(path, asNumber(file));
}

AppendFile AppendFile::openExisting(const std::filesystem::path& path, std::uint64_t keptSize,
                                    OthersOpen others) {
    // Asking for the right to delete meets every handle that does not share it, as a
    // replacement of the file does.
    const bool refused = others == OthersOpen::Refused;
    const HANDLE handle =
        CreateFileW(path.c_str(), GENERIC_WRITE | (refused ? DELETE : 0), FILE_SHARE_READ, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        throw FileError(path, refused && error == ERROR_SHARING_VIOLATION ? FileHeldOpenReason
                                                                          : reasonOf(error));
    }
    AppendFile file(path, asNumber(handle));
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(handle, &size)) {
        throw FileError(path, reasonOf(GetLastError()));
    }
    if (static_cast<std::uint64_t>(size.QuadPart) < keptSize) {
        throw FileError(path, "the file is shorter than what was written to it (" +
                                  std::to_string(size.QuadPart) + " of " +
                                  std::to_string(keptSize) + " bytes)");
    }
    // Appends go on from the kept bytes; anything beyond them is cut off.
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(keptSize);
    if (!SetFilePointerEx(handle, end, nullptr, FILE_BEGIN) || !SetEndOfFile(handle)) {
        throw FileError(path, reasonOf(GetLastError()));
    }
    file.size_ = static_cast<std::size_t>(keptSize);
    return file;
}

AppendFile AppendFile::openForAppend(const std::filesystem::path& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        throw FileError(path, reasonOf(GetLastError()));
    }
    LARGE_INTEGER end{};
    if (!SetFilePointerEx(file, LARGE_INTEGER{}, &end, FILE_END)) {
        const DWORD error = GetLastError();
        CloseHandle(file);
        throw FileError(path, reasonOf(error));
    }
    return AppendFile(path, asNumber(file), static_cast<std::size_t>(end.QuadPart));
}

void AppendFile::append(std::string_view bytes) {
    if (handle_ == Closed) {
        throw FileError(path_, "the file is closed");
    }
    const HANDLE file = asHandle(handle_);
    if (!writeAll(file, bytes)) {
        const DWORD error = GetLastError();
        // A reader of the file finds whole appends only, never the head of a cut-off one.
        LARGE_INTEGER end{};
        end.QuadPart = static_cast<LONGLONG>(size_);
        if (SetFilePointerEx(file, end, nullptr, FILE_BEGIN)) {
            SetEndOfFile(file);
        }
        throw FileError(path_, reasonOf(error));
    }
    size_ += bytes.size();
}

void AppendFile::sync() {
    if (handle_ == Closed) {
        throw FileError(path_, "the file is closed");
    }
    if (!FlushFileBuffers(asHandle(handle_))) {
        throw FileError(path_, reasonOf(GetLastError()));
    }
}

void AppendFile::close() {
    if (handle_ == Closed) {
        return;
    }
    if (!CloseHandle(asHandle(std::exchange(handle_, Closed)))) {
        throw FileError(path_, reasonOf(GetLastError()));
    }
}

ReplacingFile::ReplacingFile(std::filesystem::path target) : target_(std::move(target)) {
    const DWORD attributes = GetFileAttributesW(target_.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        throw FileError(target_, fileErrorReason(EISDIR));
    }
    for (int attempt = 0;; ++attempt) {
        auto candidate = durable::temporaryName(target_, attempt, GetCurrentProcessId());
        // No sharing at all: nobody removes or reads the file while it is written.
        const HANDLE file = CreateFileW(candidate.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            const DWORD error = GetLastError();
            if ((error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) && attempt < 100) {
                continue;
            }
            throw FileError(target_, reasonOf(error));
        }
        handle_ = asNumber(file);
        temporary_ = std::move(candidate);
        break;
    }
    buffer_.reserve(ReplacingFileBufferSize);
}

ReplacingFile::~ReplacingFile() {
    if (!committed_) {
        discard();
    }
}

void ReplacingFile::writeThrough(std::string_view bytes) {
    if (!writeAll(asHandle(handle_), bytes)) {
        fail(reasonOf(GetLastError()));
    }
}

void ReplacingFile::commit() {
    if (!failure_.empty()) {
        throw FileError(target_, failure_);
    }
    if (committed_) {
        return;
    }
    flushBuffer();
    const HANDLE file = asHandle(handle_);
    if (!FlushFileBuffers(file)) {
        fail(reasonOf(GetLastError()));
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size)) {
        fail(reasonOf(GetLastError()));
    }
    if (static_cast<std::uint64_t>(size.QuadPart) != written_) {
        fail("the disk kept only " + std::to_string(size.QuadPart) + " of " +
             std::to_string(written_) + " bytes");
    }
    handle_ = Closed;
    if (!CloseHandle(file)) {
        fail(reasonOf(GetLastError()));
    }
    // Windows refuses to replace a read-only file (Wine does not): say so the same way on both.
    if (const DWORD attributes = GetFileAttributesW(target_.c_str());
        attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        fail(ReadOnlyFileReason);
    }
    if (!MoveFileExW(temporary_.c_str(), target_.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        fail(replaceFailure(target_, GetLastError()));
    }
    committed_ = true;
    // Taken from the file in place: the system may still set its time when the handle closes.
    const HANDLE placed =
        CreateFileW(target_.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (placed != INVALID_HANDLE_VALUE) {
        stamp_ = durable::stampOfHandle(asNumber(placed));
        CloseHandle(placed);
    }
}

void ReplacingFile::discard() noexcept {
    if (handle_ != Closed) {
        CloseHandle(asHandle(std::exchange(handle_, Closed)));
    }
    if (!temporary_.empty()) {
        DeleteFileW(temporary_.c_str());
        temporary_.clear();
    }
}

void removeLeftoverTemporaryFiles(const std::filesystem::path& folder) {
    forEachTemporaryFile(folder, [](const std::filesystem::path& path) {
        // A file still being written is open without delete sharing: this fails and skips it.
        DeleteFileW(path.c_str());
    });
}

void ignoreFileSizeLimitSignal() {
    // Windows has no file-size limit signal; a full disk already fails the write.
}

} // namespace kelvor
