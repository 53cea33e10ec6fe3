#include "export/SheetFileName.h"

#include <algorithm>
#include <array>

namespace kelvor {

namespace {

constexpr std::string_view Unsafe = "<>:\"/\\|?*%";

// Windows opens a device for these names, whatever extension follows them.
constexpr std::array<std::string_view, 22> DeviceNames = {
    "CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7",
    "COM8", "COM9", "LPT1", "LPT2", "LPT3", "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9"};

void appendEscaped(std::string& out, char c) {
    constexpr std::string_view Hex = "0123456789ABCDEF";
    const auto byte = static_cast<unsigned char>(c);
    out += '%';
    out += Hex[byte >> 4U];
    out += Hex[byte & 0x0FU];
}

bool isDeviceName(std::string_view name) {
    // The part before the first dot, without the blanks Windows drops.
    std::string_view stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ') {
        stem.remove_suffix(1);
    }
    std::string upper(stem);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
    return std::find(DeviceNames.begin(), DeviceNames.end(), upper) != DeviceNames.end();
}

} // namespace

std::string sheetFileName(std::string_view sheetName) {
    const auto edge = [](char c) { return c == '.' || c == ' '; };
    std::size_t lead = 0;
    while (lead < sheetName.size() && edge(sheetName[lead])) {
        ++lead;
    }
    std::size_t tail = sheetName.size();
    while (tail > lead && edge(sheetName[tail - 1])) {
        --tail;
    }
    const bool device = isDeviceName(sheetName);
    std::string out;
    for (std::size_t i = 0; i < sheetName.size(); ++i) {
        const char c = sheetName[i];
        const auto byte = static_cast<unsigned char>(c);
        const bool escape = byte < 0x20 || byte == 0x7F ||
                            Unsafe.find(c) != std::string_view::npos || i < lead || i >= tail ||
                            (device && i == 0);
        if (escape) {
            appendEscaped(out, c);
        } else {
            out += c;
        }
    }
    return out.empty() ? std::string("%") : out;
}

} // namespace kelvor
