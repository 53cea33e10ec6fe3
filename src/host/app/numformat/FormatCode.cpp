#include "host/app/numformat/FormatCode.h"

#include "util/DateSerial.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <optional>

namespace kelvor {

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

namespace {

constexpr std::array<const char*, 12> MonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};
constexpr std::array<const char*, 7> DayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                 "Thursday", "Friday", "Saturday"};

// Digits shown after the seconds ("ss.00"): the value is rounded to them, at most three.
int secondsFractionDigits(const std::vector<FormatToken>& tokens) {
    int digits = 0;
    for (std::size_t i = 0; i + 1 < tokens.size(); ++i) {
        if (!tokens[i].literal &&
            std::tolower(static_cast<unsigned char>(tokens[i].text[0])) == 's' &&
            tokens[i + 1].text == "." && i + 2 < tokens.size() && tokens[i + 2].text[0] == '0') {
            digits = static_cast<int>(std::min<std::size_t>(tokens[i + 2].text.size(), 3));
        }
    }
    return digits;
}

// One moment as the codes show it, rounded to the finest unit shown.
struct DateParts {
    long long serial;
    CivilDate date;
    long long unit;     // ticks a second
    long long dayTicks; // ticks since midnight
    long long secondsOfDay;
    long hour;
    long minute;
    long second;
};

std::optional<DateParts> dateParts(double value, int fractionDigits) {
    if (!(value >= 0 && value < static_cast<double>(kLastDateSerial + 1))) {
        return std::nullopt;
    }
    const double scale = 86400.0 * std::pow(10.0, fractionDigits);
    const auto ticks = static_cast<long long>(std::floor(value * scale + 0.5));
    const auto perDay = static_cast<long long>(scale);
    DateParts parts{};
    parts.serial = ticks / perDay;
    parts.dayTicks = ticks % perDay;
    const auto date = civilDate(parts.serial);
    if (!date) {
        return std::nullopt;
    }
    parts.date = *date;
    parts.unit = static_cast<long long>(std::pow(10.0, fractionDigits));
    parts.secondsOfDay = parts.dayTicks / parts.unit;
    parts.hour = static_cast<long>(parts.secondsOfDay / 3600);
    parts.minute = static_cast<long>(parts.secondsOfDay / 60 % 60);
    parts.second = static_cast<long>(parts.secondsOfDay % 60);
    return parts;
}

char codeOf(const FormatToken& token) {
    return token.literal
               ? '\0'
               : static_cast<char>(std::tolower(static_cast<unsigned char>(token.text[0])));
}

// "m" is minutes right after an hour or before seconds, the month otherwise.
std::string monthOrMinutes(const DateParts& p, std::size_t n, bool minutes) {
    if (minutes) {
        return n == 2 ? twoDigits(p.minute) : std::to_string(p.minute);
    }
    if (n <= 2) {
        return n == 2 ? twoDigits(p.date.month) : std::to_string(p.date.month);
    }
    const std::string name = MonthNames[static_cast<std::size_t>(p.date.month - 1)];
    return n == 3 ? name.substr(0, 3) : n == 4 ? name : name.substr(0, 1);
}

std::string dayText(const DateParts& p, std::size_t n) {
    if (n <= 2) {
        return n == 2 ? twoDigits(p.date.day) : std::to_string(p.date.day);
    }
    const std::string name = DayNames[static_cast<std::size_t>(weekday(p.serial))];
    return n == 3 ? name.substr(0, 3) : name;
}

std::string amPmText(const DateParts& p, const std::string& code) {
    const bool pm = p.hour >= 12;
    if (code.size() == 5) {
        const bool upper = std::isupper(static_cast<unsigned char>(code[0]));
        return pm ? (upper ? "PM" : "pm") : (upper ? "AM" : "am");
    }
    return pm ? code.substr(2, 1) : code.substr(0, 1);
}

// "[h]", "[m]", "[s]": the time elapsed since day 0 in that unit.
std::string elapsedText(const DateParts& p, char unit) {
    const long long total = unit == 'h'   ? p.serial * 24 + p.hour
                            : unit == 'm' ? (p.serial * 24 + p.hour) * 60 + p.minute
                                          : p.secondsOfDay + p.serial * 86400;
    return std::to_string(total);
}

} // namespace

std::string dateText(double value, const std::vector<FormatToken>& tokens) {
    const int fractionDigits = secondsFractionDigits(tokens);
    const auto parts = dateParts(value, fractionDigits);
    if (!parts) {
        return "########";
    }
    const DateParts& p = *parts;
    const bool twelveHour = std::any_of(tokens.begin(), tokens.end(),
                                        [](const FormatToken& t) { return codeOf(t) == 'a'; });
    std::string out;
    char previousCode = '\0';
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const auto& t = tokens[i];
        if (t.literal) {
            out += t.text;
            continue;
        }
        const char code = codeOf(t);
        const auto n = t.text.size();
        if (code == 'y') {
            out += n <= 2 ? twoDigits(p.date.year % 100) : std::to_string(p.date.year);
        } else if (code == 'm') {
            std::size_t next = i + 1;
            while (next < tokens.size() && tokens[next].literal) {
                ++next;
            }
            const bool beforeSeconds = next < tokens.size() && codeOf(tokens[next]) == 's';
            out += monthOrMinutes(p, n, n <= 2 && (previousCode == 'h' || beforeSeconds));
        } else if (code == 'd') {
            out += dayText(p, n);
        } else if (code == 'h') {
            const long shown = twelveHour ? (p.hour % 12 == 0 ? 12 : p.hour % 12) : p.hour;
            out += n >= 2 ? twoDigits(shown) : std::to_string(shown);
        } else if (code == 's') {
            out += n >= 2 ? twoDigits(p.second) : std::to_string(p.second);
        } else if (code == '[') {
            out += elapsedText(
                p, static_cast<char>(std::tolower(static_cast<unsigned char>(t.text[1]))));
        } else if (code == 'a') {
            out += amPmText(p, t.text);
        } else if (t.text == "." && fractionDigits > 0 && previousCode == 's') {
            out += '.';
            out += std::to_string(p.dayTicks % p.unit + p.unit).substr(1);
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

} // namespace kelvor
