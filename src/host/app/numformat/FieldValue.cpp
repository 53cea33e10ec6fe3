#include "host/app/numformat/FieldValue.h"

#include "util/DateSerial.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

namespace kelvor {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

// Reads 1 to `maxDigits` digits at `pos`.
std::optional<int> readDigits(std::string_view text, std::size_t& pos, std::size_t maxDigits) {
    const auto start = pos;
    int value = 0;
    while (pos < text.size() && isDigit(text[pos]) && pos - start < maxDigits) {
        value = value * 10 + (text[pos] - '0');
        ++pos;
    }
    if (pos == start || (pos < text.size() && isDigit(text[pos]))) {
        return std::nullopt;
    }
    return value;
}

// m/d/yy or m/d/yyyy (or with '-'), the whole text.
std::optional<std::int64_t> readDate(std::string_view text) {
    std::size_t pos = 0;
    const auto month = readDigits(text, pos, 2);
    if (!month || pos >= text.size() || (text[pos] != '/' && text[pos] != '-')) {
        return std::nullopt;
    }
    const char separator = text[pos++];
    const auto day = readDigits(text, pos, 2);
    if (!day || pos >= text.size() || text[pos] != separator) {
        return std::nullopt;
    }
    const auto yearStart = ++pos;
    auto year = readDigits(text, pos, 4);
    const auto yearDigits = pos - yearStart;
    if (!year || pos != text.size() || yearDigits == 3) {
        return std::nullopt;
    }
    if (yearDigits <= 2) {
        // Two-digit years: 00-29 this century, 30-99 the last one.
        *year += *year < 30 ? 2000 : 1900;
    }
    return dateSerial(*year, *month, *day);
}

// h:mm, h:mm:ss or h:mm:ss.fff, optionally followed by AM/PM (or A/P), the whole text.
std::optional<double> readTime(std::string_view text) {
    std::size_t pos = 0;
    auto hours = readDigits(text, pos, 2);
    if (!hours || pos >= text.size() || text[pos] != ':') {
        return std::nullopt;
    }
    ++pos;
    const auto minutes = readDigits(text, pos, 2);
    if (!minutes || *minutes > 59) {
        return std::nullopt;
    }
    double seconds = 0;
    if (pos < text.size() && text[pos] == ':') {
        ++pos;
        const auto whole = readDigits(text, pos, 2);
        if (!whole || *whole > 59) {
            return std::nullopt;
        }
        seconds = *whole;
        if (pos < text.size() && text[pos] == '.') {
            double scale = 0.1;
            for (++pos; pos < text.size() && isDigit(text[pos]); ++pos, scale /= 10) {
                seconds += (text[pos] - '0') * scale;
            }
        }
    }
    const auto suffix = trimBlanks(text.substr(pos));
    if (!suffix.empty()) {
        const bool am = equalsNoCase(suffix, "AM") || equalsNoCase(suffix, "A");
        const bool pm = equalsNoCase(suffix, "PM") || equalsNoCase(suffix, "P");
        if ((!am && !pm) || *hours > 12) {
            return std::nullopt;
        }
        *hours = *hours % 12 + (pm ? 12 : 0);
    } else if (*hours > 23) {
        return std::nullopt;
    }
    return (*hours * 3600 + *minutes * 60 + seconds) / 86400.0;
}

// For a number text out of the double range: whether it is too small rather than too large.
bool isUnderflow(std::string_view number) {
    const auto e = number.find_first_of("eE");
    long exponent = 0;
    if (e != std::string_view::npos) {
        auto digits = number.substr(e + 1);
        const bool negative = !digits.empty() && digits.front() == '-';
        if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) {
            digits.remove_prefix(1);
        }
        for (const char c : digits) {
            exponent = std::min(exponent * 10 + (c - '0'), 100000L);
        }
        exponent = negative ? -exponent : exponent;
        number = number.substr(0, e);
    }
    // The power of ten of the first significant digit decides.
    const auto point = std::min(number.find('.'), number.size());
    const auto first = number.find_first_of("123456789");
    if (first == std::string_view::npos) {
        return true;
    }
    const long magnitude =
        first < point ? static_cast<long>(point - first) : -static_cast<long>(first - point - 1);
    return magnitude + exponent <= 0;
}

struct DateTime {
    std::optional<std::int64_t> date;
    std::optional<double> time;
};

std::optional<DateTime> readDateTime(std::string_view text) {
    if (const auto date = readDate(text)) {
        return DateTime{date, std::nullopt};
    }
    if (const auto time = readTime(text)) {
        return DateTime{std::nullopt, time};
    }
    const auto blank = text.find(' ');
    if (blank == std::string_view::npos) {
        return std::nullopt;
    }
    const auto date = readDate(text.substr(0, blank));
    const auto time = readTime(trimBlanks(text.substr(blank)));
    if (!date || !time) {
        return std::nullopt;
    }
    return DateTime{date, time};
}

} // namespace

std::optional<double> readNumber(std::string_view text) {
    text = trimBlanks(text);
    std::size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    const auto body = text.substr(pos);
    // Only the forms a person types: digits, one point, an exponent. No hex, inf or nan.
    std::size_t i = 0;
    std::size_t digits = 0;
    while (i < body.size() && isDigit(body[i])) {
        ++i, ++digits;
    }
    if (i < body.size() && body[i] == '.') {
        ++i;
        while (i < body.size() && isDigit(body[i])) {
            ++i, ++digits;
        }
    }
    if (digits == 0) {
        return std::nullopt;
    }
    if (i < body.size() && (body[i] == 'e' || body[i] == 'E')) {
        auto j = i + 1;
        if (j < body.size() && (body[j] == '+' || body[j] == '-')) {
            ++j;
        }
        if (j >= body.size() || !isDigit(body[j])) {
            return std::nullopt;
        }
        while (j < body.size() && isDigit(body[j])) {
            ++j;
        }
        i = j;
    }
    if (i != body.size()) {
        return std::nullopt;
    }
    double value = 0;
    const auto [end, error] = std::from_chars(body.data(), body.data() + body.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Too small reads as 0, as the spreadsheet takes it; too large is no number.
        return isUnderflow(body) ? std::optional<double>(0.0) : std::nullopt;
    }
    if (error != std::errc() || end != body.data() + body.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

std::optional<double> readTimeValue(std::string_view text) {
    const auto found = readDateTime(trimBlanks(text));
    if (!found) {
        return std::nullopt;
    }
    return found->time.value_or(0.0);
}

FieldValue readGeneral(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    if (const auto number = readNumber(text)) {
        return {*number, {}};
    }
    const auto trimmed = trimBlanks(text);
    if (equalsNoCase(trimmed, "TRUE") || equalsNoCase(trimmed, "FALSE")) {
        return {equalsNoCase(trimmed, "TRUE"), {}};
    }
    if (const auto found = readDateTime(trimmed)) {
        const double date = found->date ? static_cast<double>(*found->date) : 0.0;
        const double time = found->time.value_or(0.0);
        const char* format =
            found->date ? (found->time ? kDateTimeFormat : kDateFormat) : kTimeFormat;
        return {date + time, format};
    }
    return {std::string(text), {}};
}

} // namespace kelvor
