#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelvor {

// The leading decimal number of a text, read the way the BASIC Val function reads it: blanks,
// tabs and line feeds are ignored anywhere, a point is the decimal separator, the exponent may
// be written with E or D, and whatever follows the number is ignored. 0 when the text does not
// begin with a number. A number too large for a double gives an infinity of its sign.
double leadingNumber(std::string_view text);
// The same number, or nothing when the text does not begin with one.
std::optional<double> findLeadingNumber(std::string_view text);

// The nearest 32-bit whole number, halves going to the even neighbour; nothing when the value
// is not finite or lies outside the 32-bit range.
std::optional<std::int32_t> roundToInt32(double value);

// How a locale writes numbers (each entry one character, as UTF-8); the platform layer fills
// it from the system's settings. The default is the English way.
struct NumberSeparators {
    std::string decimalPoint = ".";
    std::string groupSeparator = ",";
    std::string minusSign = "-";
    std::string plusSign = "+";
};

// The whole text read as a number in the given locale: white space around it, the locale's
// signs, group separators (in groups of three before the decimal point) and decimal
// separator, and an exponent are allowed. Nothing for any other text, and for numbers beyond
// the range of a double.
std::optional<double> parseLocaleNumber(std::string_view text, const NumberSeparators& locale);

// A single-precision value as text: the fewest significant digits (at most seven) that read
// back as the same value, the locale's decimal separator, no group separators, and exponent
// form ("1E+20", "1E-05") only for very large or very small values.
std::string formatSingle(float value, const NumberSeparators& locale);

} // namespace kelvor
