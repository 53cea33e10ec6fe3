#include "DiskLimits.h"

#ifndef _WIN32
#include <csignal>

#include <sys/mount.h>
#include <sys/resource.h>
#endif

namespace kelvor::test {

#ifndef _WIN32

struct FileSizeLimit::Saved {
    rlimit limit{};
    struct sigaction action {};
};

bool FileSizeLimit::available() {
    return true;
}

FileSizeLimit::FileSizeLimit(std::uint64_t bytes) : saved_(std::make_unique<Saved>()) {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGXFSZ, &ignore, &saved_->action);
    getrlimit(RLIMIT_FSIZE, &saved_->limit);
    rlimit limit = saved_->limit;
    limit.rlim_cur =
        static_cast<rlim_t>(bytes); // the hard limit stays, so the old one can come back
    setrlimit(RLIMIT_FSIZE, &limit);
}

void FileSizeLimit::lift() {
    setrlimit(RLIMIT_FSIZE, &saved_->limit);
    sigaction(SIGXFSZ, &saved_->action, nullptr);
}

SmallDisk::SmallDisk(const std::filesystem::path& where, const std::string& options,
                     unsigned long flags)
    : path_(where) {
    std::filesystem::create_directories(path_);
    mounted_ = ::mount("tmpfs", path_.c_str(), "tmpfs", flags, options.c_str()) == 0;
}

SmallDisk::~SmallDisk() {
    if (mounted_) {
        ::umount2(path_.c_str(), MNT_DETACH);
    }
}

#else

struct FileSizeLimit::Saved {};

bool FileSizeLimit::available() {
    return false;
}

FileSizeLimit::FileSizeLimit(std::uint64_t) {}

void FileSizeLimit::lift() {}

SmallDisk::SmallDisk(const std::filesystem::path& where, const std::string&, unsigned long)
    : path_(where) {
    std::filesystem::create_directories(path_);
}

SmallDisk::~SmallDisk() = default;

#endif

FileSizeLimit::~FileSizeLimit() {
    lift();
}

} // namespace kelvor::test
