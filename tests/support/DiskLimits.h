#pragma once

// Disks that fail on purpose: a file-size limit on this process, or a small tmpfs of its own.
// Windows has neither: there a limit is not available and a small disk is never mounted.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace kelvor::test {

// A file-size limit on this process; writes beyond it fail with EFBIG instead of a signal.
class FileSizeLimit {
public:
    // Whether this system limits the size of a process's files (POSIX does, Windows does not).
    static bool available();

    explicit FileSizeLimit(std::uint64_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    void lift();

private:
    struct Saved; // the limit and the signal action to put back
    std::unique_ptr<Saved> saved_;
};

// A tmpfs of its own, mounted when this process may (root); unmounted with the object.
class SmallDisk {
public:
    // flags: the mount(2) flags (MS_RDONLY...).
    explicit SmallDisk(const std::filesystem::path& where, const std::string& options,
                       unsigned long flags = 0);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return mounted_; }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
    bool mounted_ = false;
};

} // namespace kelvor::test
