#include "util/Utf8Text.h"

namespace kelvor {

namespace {

// One code point from the front of `bytes`: its value and length, or length 0 when the bytes
// there are no well-formed character.
struct Decoded {
    char32_t value = 0;
    std::size_t length = 0;
};

Decoded decodeOne(std::string_view bytes) {
    const auto lead = static_cast<unsigned char>(bytes[0]);
    if (lead < 0x80) {
        return {lead, 1};
    }
    std::size_t length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        value = lead & 0x1Fu;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        value = lead & 0x0Fu;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        value = lead & 0x07u;
        minimum = 0x10000;
    } else {
        return {};
    }
    if (bytes.size() < length) {
        return {};
    }
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(bytes[k]);
        if ((next & 0xC0) != 0x80) {
            return {};
        }
        value = (value << 6) | (next & 0x3Fu);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return {};
    }
    return {value, length};
}

} // namespace

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::optional<std::u32string> decodeUtf8(std::string_view bytes) {
    std::u32string out;
    out.reserve(bytes.size());
    while (!bytes.empty()) {
        const auto one = decodeOne(bytes);
        if (one.length == 0) {
            return std::nullopt;
        }
        out += one.value;
        bytes.remove_prefix(one.length);
    }
    return out;
}

std::size_t utf16Length(std::string_view bytes) {
    std::size_t units = 0;
    while (!bytes.empty()) {
        const auto one = decodeOne(bytes);
        units += one.value > 0xFFFF ? 2 : 1;
        bytes.remove_prefix(one.length == 0 ? 1 : one.length);
    }
    return units;
}

bool isWhiteSpace(char32_t c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
           c == 0x205F || c == 0x3000;
}

std::string simplifiedWhiteSpace(std::string_view utf8) {
    std::string out;
    bool pendingBlank = false;
    while (!utf8.empty()) {
        const auto one = decodeOne(utf8);
        const std::size_t length = one.length == 0 ? 1 : one.length;
        if (one.length != 0 && isWhiteSpace(one.value)) {
            pendingBlank = !out.empty();
        } else {
            if (pendingBlank) {
                out += ' ';
                pendingBlank = false;
            }
            if (one.length == 0) {
                out += utf8[0];
            } else {
                appendUtf8(out, one.value);
            }
        }
        utf8.remove_prefix(length);
    }
    return out;
}

std::string asciiLowercase(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

} // namespace kelvor
