#include "export/CutShortMark.h"

#include <string_view>

namespace kelvor {

namespace {
constexpr std::string_view Prefix = "Cut short: ";
} // namespace

std::string cutShortFooter(const std::string& cause) {
    return std::string(Prefix) + cause;
}

std::optional<std::string> cutShortCause(const std::string& footer) {
    if (!footer.starts_with(Prefix)) {
        return std::nullopt;
    }
    return footer.substr(Prefix.size());
}

} // namespace kelvor
