#pragma once

// Disks that fail on purpose: a file-size limit on this process, or a small tmpfs of its own.

#include <csignal>
#include <filesystem>
#include <string>

#include <sys/mount.h>
#include <sys/resource.h>

namespace kelvor::test {

// A file-size limit on this process; writes beyond it fail with EFBIG instead of a signal.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        sigemptyset(&ignore.sa_mask);
        sigaction(SIGXFSZ, &ignore, &oldAction_);
        getrlimit(RLIMIT_FSIZE, &oldLimit_);
        rlimit limit = oldLimit_;
        limit.rlim_cur = bytes; // the hard limit stays, so the old one can come back
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { lift(); }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    void lift() {
        setrlimit(RLIMIT_FSIZE, &oldLimit_);
        sigaction(SIGXFSZ, &oldAction_, nullptr);
    }

private:
    rlimit oldLimit_{};
    struct sigaction oldAction_ {};
};

// A tmpfs of its own, mounted when this process may (root); unmounted with the object.
class SmallDisk {
public:
    explicit SmallDisk(const std::filesystem::path& where, const std::string& options,
                       unsigned long flags = 0)
        : path_(where) {
        std::filesystem::create_directories(path_);
        mounted_ = ::mount("tmpfs", path_.c_str(), "tmpfs", flags, options.c_str()) == 0;
    }
    ~SmallDisk() {
        if (mounted_) {
            ::umount2(path_.c_str(), MNT_DETACH);
        }
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return mounted_; }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
    bool mounted_ = false;
};

} // namespace kelvor::test
