#include "util/NumberText.h"

#include "util/Utf8Text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace kelvor {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Walks a text the way Val does: blanks, tabs and line feeds are not there.
class ValScanner {
public:
    explicit ValScanner(std::string_view text) : text_(text) {}

    // The next character that counts, '\0' at the end.
    char peek() {
        while (pos_ < text_.size() &&
               (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\n')) {
            ++pos_;
        }
        return pos_ < text_.size() ? text_[pos_] : '\0';
    }
    void take() { ++pos_; }
    std::size_t position() const { return pos_; }
    void rewind(std::size_t pos) { pos_ = pos; }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

// Far beyond any double's range, small enough to add to a digit count without overflow.
constexpr long ExponentCap = 100000;

// The exponent after E or D; nothing when no digit follows (then the letter is not part of
// the number).
std::optional<long> readExponent(ValScanner& scan) {
    const std::size_t start = scan.position();
    scan.take();
    bool negative = false;
    if (scan.peek() == '+' || scan.peek() == '-') {
        negative = scan.peek() == '-';
        scan.take();
    }
    bool any = false;
    long exponent = 0;
    while (isDigit(scan.peek())) {
        exponent = std::min(exponent * 10 + (scan.peek() - '0'), ExponentCap);
        any = true;
        scan.take();
    }
    if (!any) {
        scan.rewind(start);
        return std::nullopt;
    }
    return negative ? -exponent : exponent;
}

// The single code point a locale entry holds; 0 (matching nothing typed) when it holds none
// or more than one.
char32_t onlyCharacter(const std::string& entry) {
    const auto decoded = decodeUtf8(entry);
    return decoded && decoded->size() == 1 ? decoded->front() : 0;
}

// A number in the locale's way of writing as the C locale writes it ("1.234,5" in German
// becomes "1234.5"), with the group separators checked and dropped; nothing when a character
// is none of a number's or a group separator stands where none may.
std::optional<std::string> cNumberText(std::string_view text, const NumberSeparators& locale) {
    const auto decoded = decodeUtf8(text);
    if (!decoded) {
        return std::nullopt;
    }
    std::u32string_view chars = *decoded;
    while (!chars.empty() && isWhiteSpace(chars.front())) {
        chars.remove_prefix(1);
    }
    while (!chars.empty() && isWhiteSpace(chars.back())) {
        chars.remove_suffix(1);
    }
    const char32_t point = onlyCharacter(locale.decimalPoint);
    const char32_t group = onlyCharacter(locale.groupSeparator);
    const char32_t minus = onlyCharacter(locale.minusSign);
    const char32_t plus = onlyCharacter(locale.plusSign);
    // Where the group separator is a no-break space, people type an ordinary one.
    const bool blankGroups = group == 0xA0 || group == 0x202F;

    std::string number;
    bool afterPoint = false;
    bool afterExponent = false;
    bool inGroups = false; // a group separator came before, and no decimal point since
    int digitsInGroup = 0; // digits since the last group separator
    bool endsInGroup = false;
    for (const char32_t c : chars) {
        endsInGroup = false;
        if ((c != 0 && c == group) || (blankGroups && c == U' ')) {
            // Groups of three, after a first group of one to three digits, and only before
            // the decimal point.
            if (afterPoint || afterExponent || digitsInGroup == 0 || digitsInGroup > 3 ||
                (inGroups && digitsInGroup != 3)) {
                return std::nullopt;
            }
            inGroups = true;
            digitsInGroup = 0;
            endsInGroup = true;
            continue;
        }
        char out = 0;
        if ((plus != 0 && c == plus) || c == U'+') {
            out = '+';
        } else if ((minus != 0 && c == minus) || c == U'-' || c == 0x2212) {
            out = '-';
        } else if (point != 0 && c == point) {
            out = '.';
        } else if (c == U'e' || c == U'E') {
            out = 'e';
        } else if (c >= U'0' && c <= U'9') {
            out = static_cast<char>(c);
        } else {
            return std::nullopt;
        }
        if (out == '.' || out == 'e') {
            if (out == '.' && (afterPoint || afterExponent)) {
                return std::nullopt;
            }
            if (inGroups && digitsInGroup != 3) {
                return std::nullopt;
            }
            inGroups = false;
            (out == '.' ? afterPoint : afterExponent) = true;
        } else if (isDigit(out)) {
            ++digitsInGroup;
        }
        number += out;
    }
    if (endsInGroup || (inGroups && digitsInGroup != 3) || number.empty()) {
        return std::nullopt;
    }
    return number;
}

// "[+-]digits[.digits][e[+-]digits]", with digits on at least one side of the point.
bool isPlainNumber(std::string_view number) {
    std::size_t i = 0;
    const auto digitsFrom = [&](std::size_t from) {
        while (i < number.size() && isDigit(number[i])) {
            ++i;
        }
        return i - from;
    };
    if (i < number.size() && (number[i] == '+' || number[i] == '-')) {
        ++i;
    }
    std::size_t mantissa = digitsFrom(i);
    if (i < number.size() && number[i] == '.') {
        ++i;
        mantissa += digitsFrom(i);
    }
    if (mantissa == 0) {
        return false;
    }
    if (i < number.size() && number[i] == 'e') {
        ++i;
        if (i < number.size() && (number[i] == '+' || number[i] == '-')) {
            ++i;
        }
        if (digitsFrom(i) == 0) {
            return false;
        }
    }
    return i == number.size();
}

} // namespace

double leadingNumber(std::string_view text) {
    return findLeadingNumber(text).value_or(0.0);
}

std::optional<double> findLeadingNumber(std::string_view text) {
    ValScanner scan(text);
    bool negative = false;
    if (scan.peek() == '+' || scan.peek() == '-') {
        negative = scan.peek() == '-';
        scan.take();
    }
    std::string integerPart;
    std::string fractionPart;
    while (isDigit(scan.peek())) {
        integerPart += scan.peek();
        scan.take();
    }
    if (scan.peek() == '.') {
        scan.take();
        while (isDigit(scan.peek())) {
            fractionPart += scan.peek();
            scan.take();
        }
    }
    if (integerPart.empty() && fractionPart.empty()) {
        return std::nullopt;
    }
    long exponent = 0;
    const char marker = scan.peek();
    if (marker == 'E' || marker == 'e' || marker == 'D' || marker == 'd') {
        exponent = readExponent(scan).value_or(0);
    }

    std::string number = (negative ? "-" : "") + (integerPart.empty() ? "0" : integerPart);
    if (!fractionPart.empty()) {
        number += '.' + fractionPart;
    }
    number += 'e' + std::to_string(exponent);
    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec != std::errc::result_out_of_range) {
        return value;
    }
    // Out of range either way: decide by the position of the first significant digit.
    const auto firstSignificant = integerPart.find_first_not_of('0');
    const long magnitude =
        firstSignificant != std::string::npos
            ? static_cast<long>(integerPart.size() - firstSignificant) - 1 + exponent
            : -static_cast<long>(fractionPart.find_first_not_of('0')) - 1 + exponent;
    const double limit = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -limit : limit;
}

std::optional<std::int32_t> roundToInt32(double value) {
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    double whole = 0.0;
    const double fraction = std::modf(value, &whole);
    const double rounded =
        std::fabs(fraction) == 0.5 ? 2.0 * std::round(value / 2.0) : std::round(value);
    if (rounded < static_cast<double>(std::numeric_limits<std::int32_t>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(rounded);
}

std::optional<double> parseLocaleNumber(std::string_view text, const NumberSeparators& locale) {
    auto number = cNumberText(text, locale);
    if (!number || !isPlainNumber(*number)) {
        return std::nullopt;
    }
    std::string_view digits = *number;
    if (digits.front() == '+') {
        digits.remove_prefix(1); // from_chars takes no plus sign
    }
    double value = 0.0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (result.ec != std::errc() || result.ptr != digits.data() + digits.size() ||
        !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::string formatSingle(float value, const NumberSeparators& locale) {
    if (std::isnan(value)) {
        return "NaN";
    }
    if (std::isinf(value)) {
        return value > 0 ? "Infinity" : "-Infinity";
    }
    if (value == 0.0F) {
        return "0";
    }
    char buffer[32];
    char* end = buffer;
    for (int precision = 0; precision < 7; ++precision) {
        end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific,
                            precision)
                  .ptr;
        float back = 0.0F;
        std::from_chars(buffer, end, back);
        if (back == value) {
            break;
        }
    }
    // buffer holds "[-]d[.ddd]e[+-]xx".
    const std::string_view scientific(buffer, static_cast<std::size_t>(end - buffer));
    const auto e = scientific.find('e');
    std::string digits;
    for (const char c : scientific.substr(0, e)) {
        if (isDigit(c)) {
            digits += c;
        }
    }
    digits.erase(std::max<std::size_t>(digits.find_last_not_of('0') + 1, 1));
    int exponent = 0;
    std::from_chars(scientific.data() + e + 2, scientific.data() + scientific.size(), exponent);
    if (scientific[e + 1] == '-') {
        exponent = -exponent;
    }

    const std::string& point = locale.decimalPoint;
    std::string text = value < 0 ? "-" : "";
    if (exponent < -4 || exponent >= 7) {
        text += digits.front();
        if (digits.size() > 1) {
            text += point + digits.substr(1);
        }
        const std::string magnitude = std::to_string(std::abs(exponent));
        text +=
            std::string(exponent < 0 ? "E-" : "E+") + (magnitude.size() < 2 ? "0" : "") + magnitude;
    } else if (exponent >= 0) {
        const auto integerDigits = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= integerDigits) {
            text += digits + std::string(integerDigits - digits.size(), '0');
        } else {
            text += digits.substr(0, integerDigits) + point + digits.substr(integerDigits);
        }
    } else {
        text += "0" + point + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    }
    return text;
}

} // namespace kelvor
