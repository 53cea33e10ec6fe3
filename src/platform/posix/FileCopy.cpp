#include "platform/FileCopy.h"

#include "platform/DurableFileParts.h"

#include <algorithm>
#include <cerrno>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvor {

namespace {

FileStamp stampOf(const struct stat& status) {
    return {static_cast<std::uint64_t>(status.st_size),
            static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 +
                status.st_mtim.tv_nsec,
            static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
}

// Writes every byte, through interrupted and short writes; 0 or the errno of the failure.
int writeAll(int fd, const unsigned char* bytes, std::size_t size) {
    while (size > 0) {
        const auto n = ::write(fd, bytes, size);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (n == 0) {
            return ENOSPC;
        }
        bytes += n;
        size -= static_cast<std::size_t>(n);
    }
    return 0;
}

} // namespace

FileStamp durable::stampOfHandle(std::intptr_t handle) {
    struct stat status {};
    return ::fstat(static_cast<int>(handle), &status) == 0 ? stampOf(status) : FileStamp{};
}

std::unique_ptr<SourceFile> SourceFile::openUnchanged(const std::filesystem::path& path,
                                                      const FileStamp& expected) {
    int fd = -1;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        return nullptr;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || stampOf(status) != expected) {
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<SourceFile>(new SourceFile(path, fd));
}

SourceFile::~SourceFile() {
    ::close(static_cast<int>(handle_));
}

bool SourceFile::read(std::uint64_t offset, std::uint64_t size, unsigned char* out) const {
    while (size > 0) {
        const auto n = ::pread(static_cast<int>(handle_), out, size, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        out += n;
        offset += static_cast<std::uint64_t>(n);
        size -= static_cast<std::uint64_t>(n);
    }
    return true;
}

// The kernel copies between the files without the bytes passing through the process; where it
// cannot (another file system, an old kernel), they are read and written in pieces.
bool ReplacingFile::copyFrom(const SourceFile& source, std::uint64_t offset, std::uint64_t size) {
    if (!failure_.empty()) {
        throw FileError(target_, failure_);
    }
    flushBuffer();
    const int out = static_cast<int>(handle_);
    const int in = static_cast<int>(source.handle());
    auto at = static_cast<off_t>(offset);
    std::uint64_t left = size;
    bool kernelCopy = true;
    std::vector<unsigned char> piece;
    // A write that fails fails the file; a source that ends early or cannot be read is told.
    int error = 0;
    bool ended = false;
    while (left > 0 && error == 0 && !ended) {
        if (kernelCopy) {
            const auto n = ::copy_file_range(in, &at, out, nullptr, left, 0);
            if (n > 0) {
                left -= static_cast<std::uint64_t>(n);
            } else if (n == 0) {
                ended = true;
            } else if (errno == ENOSPC || errno == EFBIG || errno == EDQUOT) {
                error = errno;
            } else if (errno != EINTR) {
                // Let the plain copy below tell which side failed, if either did.
                kernelCopy = false;
            }
            continue;
        }
        piece.resize(std::min<std::uint64_t>(left, 1U << 20));
        if (!source.read(static_cast<std::uint64_t>(at), piece.size(), piece.data())) {
            ended = true;
            continue;
        }
        error = writeAll(out, piece.data(), piece.size());
        at += static_cast<off_t>(piece.size());
        left -= piece.size();
    }
    if (error != 0) {
        fail(fileErrorReason(error));
    }
    if (!ended) {
        written_ += size;
        return true;
    }
    // Whatever part of the range did arrive is cut off again: the file ends where it did.
    const auto kept = static_cast<off_t>(written_);
    if (::ftruncate(out, kept) != 0 || ::lseek(out, kept, SEEK_SET) != kept) {
        fail(fileErrorReason(errno));
    }
    return false;
}

} // namespace kelvor
