#include "platform/ProgramFolders.h"

namespace kelvor {

// Linux has no folder of installed programs that stays writable to some of their runs: a
// packaged program's folder is read-only to the user, which canWriteIn already notices.
std::vector<std::filesystem::path> installationFolders() {
    return {};
}

} // namespace kelvor
