#include "platform/LineSettings.h"

#include "platform/SerialPort.h"

#include <cctype>
#include <charconv>
#include <string_view>
#include <vector>

namespace kelvor {
namespace {

[[noreturn]] void invalid() {
    throw CommError(ErrInvalidPropertyValue, "Invalid property value");
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
        text.remove_prefix(1);
    }
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
        text.remove_suffix(1);
    }
    return text;
}

int number(std::string_view text) {
    text = trimmed(text);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value <= 0) {
        invalid();
    }
    return value;
}

} // namespace

LineSettings parseLineSettings(const std::string& text) {
    std::vector<std::string_view> parts;
    std::string_view rest(text);
    for (std::size_t comma; (comma = rest.find(',')) != std::string_view::npos;) {
        parts.push_back(rest.substr(0, comma));
        rest.remove_prefix(comma + 1);
    }
    parts.push_back(rest);
    if (parts.size() != 4) {
        invalid();
    }
    LineSettings settings;
    settings.baudRate = number(parts[0]);
    const std::string_view parity = trimmed(parts[1]);
    if (parity.size() != 1 ||
        std::string_view("NEOMS").find(static_cast<char>(
            std::toupper(static_cast<unsigned char>(parity[0])))) == std::string_view::npos) {
        invalid();
    }
    settings.parity = static_cast<char>(std::toupper(static_cast<unsigned char>(parity[0])));
    settings.dataBits = number(parts[2]);
    if (settings.dataBits < 5 || settings.dataBits > 8) {
        invalid();
    }
    const std::string_view stop = trimmed(parts[3]);
    if (stop != "1" && stop != "1.5" && stop != "2") {
        invalid();
    }
    settings.stopBits = stop == "2" ? 2 : stop == "1.5" ? 1.5 : 1;
    return settings;
}

} // namespace kelvor
