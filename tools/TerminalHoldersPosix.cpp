#include "TerminalHolders.h"

#include <filesystem>
#include <system_error>

#include <sys/stat.h>
#include <unistd.h>

namespace kelvor {

bool heldByAnotherProcess(const std::string& device) {
    struct stat wanted {};
    if (::stat(device.c_str(), &wanted) != 0 || !S_ISCHR(wanted.st_mode)) {
        return false;
    }
    namespace fs = std::filesystem;
    const std::string self = std::to_string(::getpid());
    std::error_code error;
    // A process may end while it is looked at; whatever cannot be read is passed by.
    for (const fs::directory_entry& process : fs::directory_iterator("/proc", error)) {
        const std::string name = process.path().filename().string();
        if (name == self || name.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        std::error_code unreadable;
        for (const fs::directory_entry& fd :
             fs::directory_iterator(process.path() / "fd", unreadable)) {
            struct stat open {};
            if (::stat(fd.path().c_str(), &open) == 0 && S_ISCHR(open.st_mode) &&
                open.st_rdev == wanted.st_rdev) {
                return true;
            }
        }
    }
    return false;
}

} // namespace kelvor
