#include "dialogs/TraceOffsetText.h"

#include "platform/LocaleNumbers.h"

#include <cmath>
#include <limits>
#include <string>

namespace kelvor {

std::optional<float> readTraceOffset(std::string_view text, const QLocale& locale) {
    std::string number(text);
    // The box shows the offset in the user's locale; a comma there must not cut "0,5" to 0.
    const QString point = locale.decimalPoint();
    if (point.size() == 1 && point != "." && point.at(0).unicode() < 0x80) {
        const char separator = static_cast<char>(point.at(0).unicode());
        for (char& c : number) {
            if (c == separator) {
                c = '.';
            }
        }
    }
    const double value = leadingNumber(number);
    if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max()) {
        return std::nullopt;
    }
    return static_cast<float>(value);
}

} // namespace kelvor
