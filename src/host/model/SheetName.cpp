#include "host/model/SheetName.h"

#include "util/CaseFold.h"
#include "util/Utf8Text.h"

#include <algorithm>

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

namespace {

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool sameSheetName(std::string_view a, std::string_view b) {
    if (a == b) {
        return true;
    }
    // Workbooks are looked through by name thousands of times an export. Between ASCII names
    // the case of ASCII letters is the only difference that counts: no other character folds
    // to one of them.
    if (isAscii(a) && isAscii(b)) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                          [](char x, char y) { return asciiLower(x) == asciiLower(y); });
    }
    const auto left = decodeUtf8(a);
    const auto right = decodeUtf8(b);
    return left && right && equalIgnoringCase(*left, *right);
}

std::string sheetNameKey(std::string_view name) {
    if (isAscii(name)) {
        return asciiLowercase(name);
    }
    const auto text = decodeUtf8(name);
    if (!text) {
        // Such names match only themselves; no UTF-8 text holds the byte 0xFF.
        return "\xFF" + std::string(name);
    }
    std::string key;
    for (const char32_t c : *text) {
        appendUtf8(key, foldCase(c));
    }
    return key;
}

} // namespace kelvor
