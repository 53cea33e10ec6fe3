#include "util/NumberText.h"

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

} // namespace

double leadingNumber(std::string_view text) {
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
        return 0.0;
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

std::optional<double> parseLocaleNumber(std::string_view text, const QLocale& locale) {
    bool ok = false;
    const double value =
        locale.toDouble(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), &ok);
    if (!ok || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::string formatSingle(float value, const QLocale& locale) {
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

    const std::string point = locale.decimalPoint().toStdString();
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
