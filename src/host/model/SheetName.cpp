#include "host/model/SheetName.h"

#include "util/CaseFold.h"
#include "util/Utf8Text.h"

namespace kelvor {

bool isValidSheetName(std::string_view name) {
    const auto text = decodeUtf8(name);
    // A leading byte order mark is no part of a name typed anywhere.
    if (!text || text->empty() || text->front() == 0xFEFF || utf16Length(name) > 31) {
        return false;
    }
    if (text->front() == U'\'' || text->back() == U'\'') {
        return false;
    }
    for (const char32_t c : *text) {
        if (c < 0x20 || std::u32string_view(U":\\/?*[]").find(c) != std::u32string_view::npos ||
            c == 0xFFFE || c == 0xFFFF) {
            return false;
        }
    }
    return true;
}

bool sameSheetName(std::string_view a, std::string_view b) {
    if (a == b) {
        return true;
    }
    const auto left = decodeUtf8(a);
    const auto right = decodeUtf8(b);
    return left && right && equalIgnoringCase(*left, *right);
}

} // namespace kelvor
