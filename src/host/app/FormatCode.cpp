#include "host/app/FormatCode.h"

#include "util/DateSerial.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>

namespace kelvor::host {

namespace {

bool equalsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string twoDigits(long value) {
    return (value < 10 ? "0" : "") + std::to_string(value);
}

} // namespace

// Splits at ';' outside quotes, brackets and escapes.
std::vector<std::string_view> formatSections(std::string_view format) {
    std::vector<std::string_view> out;
    std::size_t start = 0;
    bool quoted = false;
    bool bracket = false;
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c == '\\' && !quoted) {
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && c == '[') {
            bracket = true;
        } else if (!quoted && c == ']') {
            bracket = false;
        } else if (!quoted && !bracket && c == ';') {
            out.push_back(format.substr(start, i - start));
            start = i + 1;
        }
    }
    out.push_back(format.substr(start));
    return out;
}

std::vector<FormatToken> tokenizeFormat(std::string_view section) {
    std::vector<FormatToken> tokens;
    const auto literal = [&](std::string text) { tokens.push_back({std::move(text), true}); };
    for (std::size_t i = 0; i < section.size(); ++i) {
        const char c = section[i];
        if (c == '"') {
            const auto end = section.find('"', i + 1);
            literal(std::string(section.substr(i + 1, end - i - 1)));
            i = end == std::string_view::npos ? section.size() : end;
        } else if (c == '\\' && i + 1 < section.size()) {
            literal(std::string(1, section[++i]));
        } else if (c == '_' && i + 1 < section.size()) {
            literal(" ");
            ++i;
        } else if (c == '*' && i + 1 < section.size()) {
            ++i; // fill characters take no room in a text
        } else if (c == '[') {
            const auto end = section.find(']', i);
            const auto inside = section.substr(i + 1, end - i - 1);
            const auto lower =
                std::tolower(static_cast<unsigned char>(inside.empty() ? 0 : inside[0]));
            if (lower == 'h' || lower == 'm' || lower == 's') {
                tokens.push_back({"[" + std::string(inside) + "]", false});
            } // colours and conditions show nothing
            i = end == std::string_view::npos ? section.size() : end;
        } else if (equalsNoCase(section.substr(i, 5), "AM/PM") ||
                   equalsNoCase(section.substr(i, 3), "A/P")) {
            const auto length = equalsNoCase(section.substr(i, 5), "AM/PM") ? 5u : 3u;
            tokens.push_back({std::string(section.substr(i, length)), false});
            i += length - 1;
        } else if (std::string_view("yYmMdDhHsS0#?.,%eE").find(c) != std::string_view::npos) {
            // A run of the same code letter is one token.
            auto end = i + 1;
            const auto lower = std::tolower(static_cast<unsigned char>(c));
            while (c != '.' && end < section.size() &&
                   std::tolower(static_cast<unsigned char>(section[end])) == lower) {
                ++end;
            }
            tokens.push_back({std::string(section.substr(i, end - i)), false});
            i = end - 1;
        } else if (equalsNoCase(section.substr(i, 7), "General")) {
            tokens.push_back({"General", false});
            i += 6;
        } else {
            literal(std::string(1, c));
        }
    }
    return tokens;
}

bool isDateCode(const FormatToken& t) {
    if (t.literal) {
        return false;
    }
    const auto c = std::tolower(static_cast<unsigned char>(t.text[0]));
    return c == 'y' || c == 'm' || c == 'd' || c == 'h' || c == 's' || c == '[' || c == 'a';
}

bool isDateFormat(std::string_view format) {
    const auto sections = formatSections(format);
    if (sections.empty()) {
        return false;
    }
    const auto tokens = tokenizeFormat(sections.front());
    return std::any_of(tokens.begin(), tokens.end(), isDateCode);
}

std::string dateText(double value, const std::vector<FormatToken>& tokens) {
    static constexpr std::array<const char*, 12> months = {
        "January", "February", "March",     "April",   "May",      "June",
        "July",    "August",   "September", "October", "November", "December"};
    static constexpr std::array<const char*, 7> days = {
        "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    // Round to the finest unit shown: whole seconds, or the fraction after "ss".
    int fractionDigits = 0;
    for (std::size_t i = 0; i + 1 < tokens.size(); ++i) {
        if (!tokens[i].literal &&
            std::tolower(static_cast<unsigned char>(tokens[i].text[0])) == 's' &&
            tokens[i + 1].text == "." && i + 2 < tokens.size() && tokens[i + 2].text[0] == '0') {
            fractionDigits = static_cast<int>(std::min<std::size_t>(tokens[i + 2].text.size(), 3));
        }
    }
    if (!(value >= 0 && value < static_cast<double>(kLastDateSerial + 1))) {
        return "########";
    }
    const double scale = 86400.0 * std::pow(10.0, fractionDigits);
    const auto ticks = static_cast<long long>(std::floor(value * scale + 0.5));
    const auto perDay = static_cast<long long>(scale);
    const long long serial = ticks / perDay;
    const long long dayTicks = ticks % perDay;
    const auto date = civilDate(serial);
    if (value < 0 || !date) {
        return "########";
    }
    const auto unit = static_cast<long long>(std::pow(10.0, fractionDigits));
    const long long secondsOfDay = dayTicks / unit;
    const long hour = static_cast<long>(secondsOfDay / 3600);
    const long minute = static_cast<long>(secondsOfDay / 60 % 60);
    const long second = static_cast<long>(secondsOfDay % 60);
    const bool twelveHour = std::any_of(tokens.begin(), tokens.end(), [](const FormatToken& t) {
        return !t.literal && std::tolower(static_cast<unsigned char>(t.text[0])) == 'a';
    });

    std::string out;
    const auto codeAt = [&](std::size_t j) -> char {
        return j < tokens.size() && !tokens[j].literal
                   ? static_cast<char>(std::tolower(static_cast<unsigned char>(tokens[j].text[0])))
                   : '\0';
    };
    char previousCode = '\0';
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const auto& t = tokens[i];
        if (t.literal) {
            out += t.text;
            continue;
        }
        const char code = codeAt(i);
        const auto n = t.text.size();
        if (code == 'y') {
            out += n <= 2 ? twoDigits(date->year % 100) : std::to_string(date->year);
        } else if (code == 'm') {
            std::size_t next = i + 1;
            while (next < tokens.size() && tokens[next].literal) {
                ++next;
            }
            const bool minutes = n <= 2 && (previousCode == 'h' || codeAt(next) == 's');
            if (minutes) {
                out += n == 2 ? twoDigits(minute) : std::to_string(minute);
            } else if (n <= 2) {
                out += n == 2 ? twoDigits(date->month) : std::to_string(date->month);
            } else {
                const std::string name = months[static_cast<std::size_t>(date->month - 1)];
                out += n == 3 ? name.substr(0, 3) : n == 4 ? name : name.substr(0, 1);
            }
        } else if (code == 'd') {
            if (n <= 2) {
                out += n == 2 ? twoDigits(date->day) : std::to_string(date->day);
            } else {
                const std::string name = days[static_cast<std::size_t>(weekday(serial))];
                out += n == 3 ? name.substr(0, 3) : name;
            }
        } else if (code == 'h') {
            const long shown = twelveHour ? (hour % 12 == 0 ? 12 : hour % 12) : hour;
            out += n >= 2 ? twoDigits(shown) : std::to_string(shown);
        } else if (code == 's') {
            out += n >= 2 ? twoDigits(second) : std::to_string(second);
        } else if (code == '[') {
            const auto c = std::tolower(static_cast<unsigned char>(t.text[1]));
            const long long total = c == 'h'   ? serial * 24 + hour
                                    : c == 'm' ? (serial * 24 + hour) * 60 + minute
                                               : secondsOfDay + serial * 86400;
            out += std::to_string(total);
        } else if (code == 'a') {
            const bool pm = hour >= 12;
            if (n == 5) {
                const bool upper = std::isupper(static_cast<unsigned char>(t.text[0]));
                out += pm ? (upper ? "PM" : "pm") : (upper ? "AM" : "am");
            } else {
                out += pm ? t.text.substr(2, 1) : t.text.substr(0, 1);
            }
        } else if (t.text == "." && fractionDigits > 0 && previousCode == 's') {
            out += '.';
            out += std::to_string(dayTicks % unit + unit).substr(1);
            ++i; // the zeros after the point were just written
        } else {
            out += t.text;
        }
        if (code == '[') {
            previousCode = static_cast<char>(std::tolower(static_cast<unsigned char>(t.text[1])));
        } else if (code != '.') {
            previousCode = code;
        }
    }
    return out;
}

} // namespace kelvor::host
