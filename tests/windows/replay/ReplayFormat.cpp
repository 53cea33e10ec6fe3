#include "ReplayFormat.h"

#include <array>
#include <charconv>
#include <cstdio>

namespace kelvor::test::replay {

namespace {

template <typename T> std::string shortest(T value) {
    std::array<char, 64> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return error == std::errc() ? std::string(buffer.data(), end) : std::string("?");
}

} // namespace

std::string quoted(std::string_view utf8) {
    std::string out = "\"";
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (byte < 0x20 || byte == 0x7F) {
            std::array<char, 8> hex{};
            std::snprintf(hex.data(), hex.size(), "\\x%02X", byte);
            out += hex.data();
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::optional<std::string> unquote(std::string_view& in) {
    if (in.empty() || in.front() != '"') {
        return std::nullopt;
    }
    std::string out;
    std::size_t i = 1;
    for (; i < in.size() && in[i] != '"'; ++i) {
        if (in[i] != '\\') {
            out += in[i];
            continue;
        }
        if (++i == in.size()) {
            return std::nullopt;
        }
        switch (in[i]) {
        case 'r':
            out += '\r';
            break;
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case 'x': {
            if (i + 2 >= in.size()) {
                return std::nullopt;
            }
            unsigned value = 0;
            std::from_chars(in.data() + i + 1, in.data() + i + 3, value, 16);
            out += static_cast<char>(value);
            i += 2;
            break;
        }
        default:
            out += in[i];
        }
    }
    if (i == in.size()) {
        return std::nullopt;
    }
    in.remove_prefix(i + 1);
    return out;
}

std::string numberText(double value) {
    return shortest(value);
}
std::string numberText(float value) {
    return shortest(value);
}

std::string i2(std::int16_t value) {
    return "I2:" + std::to_string(value);
}
std::string i4(std::int32_t value) {
    return "I4:" + std::to_string(value);
}
std::string r4(float value) {
    return "R4:" + numberText(value);
}
std::string r8(double value) {
    return "R8:" + numberText(value);
}
std::string boolean(bool value) {
    return value ? "BOOL:true" : "BOOL:false";
}
std::string bstr(std::string_view utf8) {
    return "BSTR:" + quoted(utf8);
}
std::string date(double serial) {
    return "DATE:" + numberText(serial);
}
std::string empty() {
    return "EMPTY";
}
std::string object(int id) {
    return "DISPATCH:#" + std::to_string(id);
}
std::string array(const std::vector<std::string>& items) {
    std::string out = "ARRAY:(";
    for (std::size_t i = 0; i < items.size(); ++i) {
        out += (i == 0 ? "" : ",") + items[i];
    }
    return out + ")";
}

std::string objectAnswer(int id, std::string_view type) {
    return "#" + std::to_string(id) + " " + std::string(type);
}

std::string errorAnswer(int number, std::string_view source, std::string_view description) {
    return "ERROR " + std::to_string(number) + " " + quoted(source) + " " + quoted(description);
}

std::string callText(int object, std::string_view kind, std::string_view member,
                     const std::vector<std::string>& args,
                     const std::vector<std::pair<std::string, std::string>>& named) {
    std::string out =
        "#" + std::to_string(object) + " " + std::string(kind) + " " + std::string(member);
    for (const std::string& arg : args) {
        out += " " + arg;
    }
    for (const auto& [name, value] : named) {
        out += " " + name + "=" + value;
    }
    return out;
}

} // namespace kelvor::test::replay
