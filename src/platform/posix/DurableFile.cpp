#include "platform/DurableFile.h"

#include "platform/DurableFileParts.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <mutex>
#include <set>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvor {

namespace {

using durable::folderOf;
using durable::TemporarySuffix;

// Temporary files this process has open: never leftovers, whatever their lock says. Kept by
// name alone, which carries this process's id: however a folder is spelled, a file of ours is
// recognised (at worst a leftover of the same name elsewhere waits for the next start).
struct OpenTemporaries {
    std::mutex mutex;
    std::set<std::string> paths;
};

OpenTemporaries& openTemporaries() {
    static OpenTemporaries instance;
    return instance;
}

void registerTemporary(const std::filesystem::path& path, bool open) {
    auto& registry = openTemporaries();
    const std::lock_guard lock(registry.mutex);
    if (open) {
        registry.paths.insert(path.filename().string());
    } else {
        registry.paths.erase(path.filename().string());
    }
}

bool isOpenHere(const std::filesystem::path& path) {
    auto& registry = openTemporaries();
    const std::lock_guard lock(registry.mutex);
    return registry.paths.contains(path.filename().string());
}

// Writes every byte, through interrupted and short writes; 0 or the errno of the failure.
int writeAll(int fd, std::string_view bytes) {
    // Some systems refuse single writes of 2 GiB or more.
    constexpr std::size_t MaxChunk = 1U << 30;
    while (!bytes.empty()) {
        const auto n = ::write(fd, bytes.data(), std::min(bytes.size(), MaxChunk));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (n == 0) {
            return ENOSPC; // nothing taken and no reason given: the disk had no room
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

// 0 or the errno of the failure. A file system that cannot sync at all (EINVAL) is accepted:
// refusing every write there would help nobody.
int syncFd(int fd) {
    while (::fsync(fd) != 0) {
        if (errno == EINTR) {
            continue;
        }
        return errno == EINVAL ? 0 : errno;
    }
    return 0;
}

int openRetrying(const char* path, int flags, mode_t mode = 0) {
    for (;;) {
        const int fd = ::open(path, flags, mode);
        if (fd >= 0 || errno != EINTR) {
            return fd;
        }
    }
}

void syncFolder(const std::filesystem::path& folder) {
    const int fd = openRetrying(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        syncFd(fd);
        ::close(fd);
    }
}

// The process id a temporary file name carries; 0 when it carries none.
pid_t pidOf(std::string_view name) {
    if (!isTemporaryFileName(std::string(name))) {
        return 0;
    }
    name.remove_suffix(TemporarySuffix.size());
    auto token = name.substr(name.rfind('.') + 1);
    token = token.substr(0, token.find('-'));
    if (token.size() > 9) {
        return 0;
    }
    return static_cast<pid_t>(std::stol(std::string(token)));
}

bool processAlive(pid_t pid) {
    return pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM);
}

// Whether the file is a temporary file nobody writes any more. Its writer holds a lock on it
// for as long as it is open, which also tells a leftover from a file of a live process that
// happens to carry a reused process id. Where the file system has no locks, the process id
// alone decides.
bool abandoned(int fd, const std::filesystem::path& path) {
    if (isOpenHere(path)) {
        return false;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        return true;
    }
    if (errno == EWOULDBLOCK || errno == EINTR) {
        return false;
    }
    const pid_t pid = pidOf(path.filename().string());
    return pid == ::getpid() || !processAlive(pid);
}

} // namespace

void durable::releaseHandle(std::intptr_t handle) noexcept {
    ::close(static_cast<int>(handle));
}

AppendFile AppendFile::createNew(const std::filesystem::path& path) {
    const int fd =
        openRetrying(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0666);
    if (fd < 0) {
        throw FileError(path, fileErrorReason(errno));
    }
    return AppendFile(path, fd);
}

AppendFile AppendFile::openExisting(const std::filesystem::path& path, std::uint64_t keptSize,
                                    OthersOpen /*others*/) {
    const int fd = openRetrying(path.c_str(), O_WRONLY | O_APPEND | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        throw FileError(path, fileErrorReason(errno));
    }
    AppendFile file(path, fd);
    struct stat now {};
    if (::fstat(fd, &now) != 0) {
        throw FileError(path, fileErrorReason(errno));
    }
    if (static_cast<std::uint64_t>(now.st_size) < keptSize) {
        throw FileError(path, "the file is shorter than what was written to it (" +
                                  std::to_string(now.st_size) + " of " + std::to_string(keptSize) +
                                  " bytes)");
    }
    if (static_cast<std::uint64_t>(now.st_size) > keptSize) {
        int result = 0;
        while ((result = ::ftruncate(fd, static_cast<off_t>(keptSize))) != 0 && errno == EINTR) {
        }
        if (result != 0) {
            throw FileError(path, fileErrorReason(errno));
        }
    }
    file.size_ = static_cast<std::size_t>(keptSize);
    return file;
}

AppendFile AppendFile::openForAppend(const std::filesystem::path& path) {
    const int fd = openRetrying(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (fd < 0) {
        throw FileError(path, fileErrorReason(errno));
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        const int error = errno;
        ::close(fd);
        throw FileError(path, fileErrorReason(error));
    }
    return AppendFile(path, fd, static_cast<std::size_t>(status.st_size));
}

void AppendFile::append(std::string_view bytes) {
    if (handle_ < 0) {
        throw FileError(path_, "the file is closed");
    }
    const int fd = static_cast<int>(handle_);
    if (const int error = writeAll(fd, bytes); error != 0) {
        // A reader of the file finds whole appends only, never the head of a cut-off one.
        while (::ftruncate(fd, static_cast<off_t>(size_)) != 0 && errno == EINTR) {
        }
        throw FileError(path_, fileErrorReason(error));
    }
    size_ += bytes.size();
}

void AppendFile::sync() {
    if (handle_ < 0) {
        throw FileError(path_, "the file is closed");
    }
    if (const int error = syncFd(static_cast<int>(handle_)); error != 0) {
        throw FileError(path_, fileErrorReason(error));
    }
}

void AppendFile::close() {
    if (handle_ < 0) {
        return;
    }
    const int fd = static_cast<int>(std::exchange(handle_, -1));
    // The descriptor is released even when close fails, so it is never closed twice.
    if (::close(fd) != 0 && errno != EINTR) {
        throw FileError(path_, fileErrorReason(errno));
    }
}

ReplacingFile::ReplacingFile(std::filesystem::path target) : target_(std::move(target)) {
    struct stat existing {};
    const bool exists = ::stat(target_.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        throw FileError(target_, fileErrorReason(EISDIR));
    }
    for (int attempt = 0;; ++attempt) {
        auto candidate =
            durable::temporaryName(target_, attempt, static_cast<unsigned long>(::getpid()));
        const int fd =
            openRetrying(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST && attempt < 100) {
                continue;
            }
            throw FileError(target_, fileErrorReason(errno));
        }
        // The lock marks the file as in use for leftover removal in other processes. One of
        // them may have taken the file between its creation and the lock: then start over.
        ::flock(fd, LOCK_EX | LOCK_NB);
        struct stat opened {};
        struct stat named {};
        if (::fstat(fd, &opened) != 0 || ::lstat(candidate.c_str(), &named) != 0 ||
            opened.st_ino != named.st_ino || opened.st_dev != named.st_dev) {
            ::close(fd);
            if (attempt < 100) {
                continue;
            }
            throw FileError(target_, "the temporary file was removed while it was written");
        }
        handle_ = fd;
        temporary_ = std::move(candidate);
        break;
    }
    registerTemporary(temporary_, true);
    if (exists) {
        // The replacement keeps the permissions the file had.
        ::fchmod(static_cast<int>(handle_), existing.st_mode & 07777);
    }
    buffer_.reserve(ReplacingFileBufferSize);
}

ReplacingFile::~ReplacingFile() {
    if (!committed_) {
        discard();
    }
}

void ReplacingFile::writeThrough(std::string_view bytes) {
    if (const int error = writeAll(static_cast<int>(handle_), bytes); error != 0) {
        fail(fileErrorReason(error));
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
    const int fd = static_cast<int>(handle_);
    if (const int error = syncFd(fd); error != 0) {
        fail(fileErrorReason(error));
    }
    // What the file system holds now must be all that was written.
    struct stat synced {};
    if (::fstat(fd, &synced) != 0) {
        fail(fileErrorReason(errno));
    }
    if (static_cast<std::uint64_t>(synced.st_size) != written_) {
        fail("the disk kept only " + std::to_string(synced.st_size) + " of " +
             std::to_string(written_) + " bytes");
    }
    const FileStamp stamp = durable::stampOfHandle(fd);
    handle_ = -1;
    if (::close(fd) != 0 && errno != EINTR) {
        fail(fileErrorReason(errno));
    }
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
        fail(fileErrorReason(errno));
    }
    committed_ = true;
    stamp_ = stamp;
    registerTemporary(temporary_, false);
    // The new file is complete and synced; should syncing the folder fail, a crash could
    // bring back the earlier file, which is whole as well. Reporting the write as failed
    // would be the bigger lie.
    syncFolder(folderOf(target_));
}

void ReplacingFile::discard() noexcept {
    if (handle_ >= 0) {
        ::close(static_cast<int>(std::exchange(handle_, -1)));
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        registerTemporary(temporary_, false);
        temporary_.clear();
    }
}

void removeLeftoverTemporaryFiles(const std::filesystem::path& folder) {
    forEachTemporaryFile(folder, [](const std::filesystem::path& path) {
        const int fd = openRetrying(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            return;
        }
        if (abandoned(fd, path)) {
            ::unlink(path.c_str());
        }
        ::close(fd);
    });
}

void ignoreFileSizeLimitSignal() {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    ::sigaction(SIGXFSZ, &ignore, nullptr);
}

} // namespace kelvor
