#include "host/xlsx/XmlText.h"

#include <charconv>
#include <optional>

namespace kelvor::xml {

namespace {

bool isHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// "_xHHHH_" at pos: the form in which spreadsheet files spell characters XML cannot hold.
bool startsEscapeSequence(std::string_view text, std::size_t pos) {
    if (pos + 7 > text.size() || text[pos + 1] != 'x' || text[pos + 6] != '_') {
        return false;
    }
    for (std::size_t i = pos + 2; i < pos + 6; ++i) {
        if (!isHex(text[i])) {
            return false;
        }
    }
    return true;
}

struct Decoded {
    char32_t codePoint;
    std::size_t length;
};

// One well-formed UTF-8 sequence starting at pos (its first byte is 0x80 or above).
std::optional<Decoded> decodeUtf8(std::string_view text, std::size_t pos) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[pos + i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, cp = lead & 0x1Fu, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, cp = lead & 0x0Fu, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, cp = lead & 0x07u, minimum = 0x10000;
    } else {
        return std::nullopt;
    }
    if (pos + length > text.size()) {
        return std::nullopt;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0u) != 0x80u) {
            return std::nullopt;
        }
        cp = (cp << 6) | (byte(i) & 0x3Fu);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return std::nullopt;
    }
    return Decoded{cp, length};
}

void append(std::string& out, std::string_view text, bool attribute, Escape escape) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        const char c = text[pos];
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x80) {
            const auto decoded = decodeUtf8(text, pos);
            if (!decoded) {
                out += "\xEF\xBF\xBD";
                ++pos;
            } else {
                if (decoded->codePoint != 0xFFFE && decoded->codePoint != 0xFFFF) {
                    out.append(text.substr(pos, decoded->length));
                }
                pos += decoded->length;
            }
            continue;
        }
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += attribute ? "&quot;" : "\"";
            break;
        case '\r':
            out += "&#13;";
            break;
        case '\n':
            out += attribute ? "&#10;" : "\n";
            break;
        case '\t':
            out += attribute ? "&#9;" : "\t";
            break;
        case '_':
            out += escape == Escape::SpreadsheetText && startsEscapeSequence(text, pos) ? "_x005F_"
                                                                                        : "_";
            break;
        default:
            // Other control characters cannot appear in XML 1.0 at all: dropped.
            if (u >= 0x20) {
                out += c;
            }
        }
        ++pos;
    }
}

} // namespace

void appendText(std::string& out, std::string_view text, Escape escape) {
    append(out, text, false, escape);
}

void appendAttribute(std::string& out, std::string_view text) {
    append(out, text, true, Escape::Plain);
}

bool hasEdgeSpace(std::string_view text) {
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    return !text.empty() && (isSpace(text.front()) || isSpace(text.back()));
}

std::string_view clipUtf16(std::string_view text, std::size_t maxUnits) {
    if (text.size() <= maxUnits) {
        return text; // a UTF-16 unit never takes less than one UTF-8 byte
    }
    std::size_t units = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto lead = static_cast<unsigned char>(text[pos]);
        std::size_t length = 1;
        std::size_t needed = 1;
        if (lead >= 0xF0) {
            length = 4, needed = 2;
        } else if (lead >= 0xE0) {
            length = 3;
        } else if (lead >= 0xC0) {
            length = 2;
        }
        if (units + needed > maxUnits) {
            break;
        }
        units += needed;
        pos = std::min(text.size(), pos + length);
    }
    return text.substr(0, pos);
}

void appendNumber(std::string& out, double value) {
    if (value == 0.0) {
        out += '0'; // also for -0
        return;
    }
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

void appendUnsigned(std::string& out, std::uint64_t value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

} // namespace kelvor::xml
