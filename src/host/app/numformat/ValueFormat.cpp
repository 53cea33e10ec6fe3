#include "host/app/numformat/ValueFormat.h"

#include "host/app/numformat/FormatCode.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <vector>

namespace kelvor {

namespace {

// A number's first 15 significant digits, the precision the spreadsheet keeps:
// value = 0.digits * 10^exponent.
struct Decimal {
    std::string digits;
    int exponent = 0;
};

Decimal decimalOf(double magnitude) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                      std::chars_format::scientific, 14);
    const std::string_view text(buffer.data(),
                                static_cast<std::size_t>(result.ptr - buffer.data()));
    const auto e = text.find('e');
    Decimal d;
    for (const char c : text.substr(0, e)) {
        if (c != '.') {
            d.digits += c;
        }
    }
    int exponent = 0;
    std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(),
                    exponent);
    d.exponent = exponent + 1;
    return d;
}

// Rounds half away from zero to `decimals` places; the integer digits (no leading zeros,
// possibly empty) and exactly `decimals` fraction digits.
std::pair<std::string, std::string> roundFixed(double magnitude, int decimals) {
    if (magnitude == 0) {
        return {"", std::string(static_cast<std::size_t>(decimals), '0')};
    }
    Decimal d = decimalOf(magnitude);
    const int keep = d.exponent + decimals; // digits kept
    if (keep < 0) {
        return {"", std::string(static_cast<std::size_t>(decimals), '0')};
    }
    std::string digits = d.digits;
    if (static_cast<std::size_t>(keep) < digits.size()) {
        const bool up = digits[static_cast<std::size_t>(keep)] >= '5';
        digits.resize(static_cast<std::size_t>(keep));
        if (up) {
            int i = keep - 1;
            for (; i >= 0 && digits[static_cast<std::size_t>(i)] == '9'; --i) {
                digits[static_cast<std::size_t>(i)] = '0';
            }
            if (i >= 0) {
                ++digits[static_cast<std::size_t>(i)];
            } else {
                digits.insert(digits.begin(), '1');
                ++d.exponent;
            }
        }
    }
    digits.resize(static_cast<std::size_t>(d.exponent + decimals), '0');
    std::string whole;
    std::string fraction;
    if (d.exponent > 0) {
        whole = digits.substr(0, static_cast<std::size_t>(d.exponent));
        fraction = digits.substr(static_cast<std::size_t>(d.exponent));
    } else {
        fraction = std::string(static_cast<std::size_t>(-d.exponent), '0') + digits;
        fraction.resize(static_cast<std::size_t>(decimals), '0');
    }
    whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size()));
    return {whole, fraction};
}

std::string trimmedFixed(double magnitude, int decimals) {
    auto [whole, fraction] = roundFixed(magnitude, decimals);
    while (!fraction.empty() && fraction.back() == '0') {
        fraction.pop_back();
    }
    return (whole.empty() ? "0" : whole) + (fraction.empty() ? "" : "." + fraction);
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string scientific(double magnitude) {
    int exponent = static_cast<int>(std::floor(std::log10(magnitude)));
    // Eleven characters: d.ddddd and E+xx, one digit fewer for a three-digit exponent.
    const int decimals = std::abs(exponent) >= 100 ? 4 : 5;
    auto mantissa = magnitude / std::pow(10.0, exponent);
    auto text = trimmedFixed(mantissa, decimals);
    if (text.starts_with("10")) {
        ++exponent;
        text = trimmedFixed(magnitude / std::pow(10.0, exponent), decimals);
    }
    const auto power = std::to_string(std::abs(exponent));
    return text + (exponent < 0 ? "E-" : "E+") + (power.size() < 2 ? "0" : "") + power;
}

std::string numberText(double value, const std::vector<FormatToken>& tokens, bool showMinus) {
    std::string prefix;
    std::string suffix;
    int minWhole = 0;
    int minDecimals = 0;
    int maxDecimals = 0;
    bool grouping = false;
    bool inFraction = false;
    bool seenDigit = false;
    int scaleDown = 0; // thousands dropped by trailing commas
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const auto& t = tokens[i];
        const char c = t.literal ? '\0' : t.text[0];
        if (c == '0' || c == '#' || c == '?') {
            const auto n = static_cast<int>(t.text.size());
            if (inFraction) {
                maxDecimals += n;
                minDecimals += c == '0' ? n : 0;
            } else {
                minWhole += c == '0' ? n : 0;
                if (scaleDown > 0) { // a comma between digits groups rather than scales
                    grouping = true;
                    scaleDown = 0;
                }
            }
            seenDigit = true;
        } else if (c == '.' && !inFraction) {
            inFraction = true;
            seenDigit = true;
        } else if (c == ',' && seenDigit && !inFraction) {
            scaleDown += static_cast<int>(t.text.size());
        } else if (c == '%') {
            value *= 100;
            suffix += '%';
        } else {
            (seenDigit ? suffix : prefix) += t.text;
        }
    }
    value /= std::pow(1000.0, scaleDown);
    auto [whole, fraction] = roundFixed(std::fabs(value), maxDecimals);
    while (static_cast<int>(fraction.size()) > minDecimals && fraction.back() == '0') {
        fraction.pop_back();
    }
    if (static_cast<int>(whole.size()) < minWhole) {
        whole.insert(0, static_cast<std::size_t>(minWhole) - whole.size(), '0');
    }
    if (grouping) {
        for (int i = static_cast<int>(whole.size()) - 3; i > 0; i -= 3) {
            whole.insert(static_cast<std::size_t>(i), ",");
        }
    }
    const bool zero = whole.find_first_not_of("0,") == std::string::npos &&
                      fraction.find_first_not_of('0') == std::string::npos;
    const bool hasPoint =
        maxDecimals > 0 || std::any_of(tokens.begin(), tokens.end(), [](const FormatToken& t) {
            return !t.literal && t.text == ".";
        });
    return (showMinus && value < 0 && !zero ? "-" : "") + prefix + whole +
           (hasPoint ? "." + fraction : "") + suffix;
}

std::string formatNumber(double value, std::string_view format) {
    const auto parts = formatSections(format);
    std::size_t which = 0;
    if (parts.size() >= 2 && value < 0) {
        which = 1;
    } else if (parts.size() >= 3 && value == 0) {
        which = 2;
    }
    const auto tokens = tokenizeFormat(parts[which]);
    const bool useMinus = which == 0;
    const double shown = which == 1 ? -value : value;
    if (std::any_of(tokens.begin(), tokens.end(), isDateCode)) {
        return dateText(shown, tokens);
    }
    const bool numeric = std::any_of(tokens.begin(), tokens.end(), [](const FormatToken& t) {
        return !t.literal && (t.text[0] == '0' || t.text[0] == '#' || t.text[0] == '?');
    });
    const bool exponent = std::any_of(tokens.begin(), tokens.end(), [](const FormatToken& t) {
        return !t.literal && (t.text[0] == 'e' || t.text[0] == 'E');
    });
    if (!numeric || exponent) {
        // General, text-only sections and forms this reader does not know show as General,
        // with the section's literals around it.
        std::string out;
        bool placed = false;
        for (const auto& t : tokens) {
            if (t.literal && t.text != "@") {
                out += t.text;
            } else if (!placed && (t.text == "General" || exponent)) {
                out += generalText(useMinus ? shown : std::fabs(shown));
                placed = true;
            }
        }
        return placed || !out.empty() ? out : generalText(shown);
    }
    return numberText(shown, tokens, useMinus);
}

std::string formatText(const std::string& text, std::string_view format) {
    const auto parts = formatSections(format);
    const auto textSection = parts.size() >= 4 ? parts[3] : parts[0];
    if (parts.size() < 4 && textSection.find('@') == std::string_view::npos) {
        return text;
    }
    std::string out;
    for (const auto& t : tokenizeFormat(textSection)) {
        out += t.literal && t.text == "@" ? text : t.literal ? t.text : "";
    }
    return out;
}

} // namespace

std::string generalText(double number) {
    if (number == 0 || !std::isfinite(number)) {
        return std::isfinite(number) ? "0" : "#NUM!";
    }
    const double magnitude = std::fabs(number);
    const std::string sign = number < 0 ? "-" : "";
    if (magnitude < 1e-4) {
        return sign + scientific(magnitude);
    }
    const auto wholeDigits = static_cast<int>(std::floor(std::log10(magnitude))) + 1;
    if (wholeDigits > 11) {
        return sign + scientific(magnitude);
    }
    // Eleven characters, one taken by the point.
    const auto text = trimmedFixed(magnitude, std::max(0, 10 - std::max(wholeDigits, 1)));
    if (text.size() > 11 && text.find('.') == std::string::npos) {
        return sign + scientific(magnitude);
    }
    return sign + text;
}

std::string displayText(const CellValue& value, std::string_view numberFormat) {
    if (const auto* number = std::get_if<double>(&value)) {
        if (!std::isfinite(*number)) {
            return "#NUM!";
        }
        if (numberFormat.empty() || equalsNoCase(numberFormat, "General")) {
            return generalText(*number);
        }
        return formatNumber(*number, numberFormat);
    }
    if (const auto* text = textOf(value)) {
        return formatText(*text, numberFormat);
    }
    if (const auto* flag = std::get_if<bool>(&value)) {
        return *flag ? "TRUE" : "FALSE";
    }
    if (const auto* error = std::get_if<CellError>(&value)) {
        return std::string(errorText(*error));
    }
    return {};
}

} // namespace kelvor
