#include "util/DateSerial.h"

namespace kelvor {

namespace {

// Days from 1970-01-01 to the proleptic Gregorian date (H. Hinnant's algorithm).
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

CivilDate civilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<int>(y + (m <= 2 ? 1 : 0)), static_cast<int>(m), static_cast<int>(d)};
}

bool isLeap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeap(year) ? 29 : days[month - 1];
}

// 1899-12-30 counts as serial 0 for every day from 1900-03-01 on.
const std::int64_t kEpoch = daysFromCivil(1899, 12, 30);

} // namespace

std::optional<std::int64_t> dateSerial(int year, int month, int day) {
    if (year < 1900 || year > 9999 || month < 1 || month > 12 || day < 1) {
        return std::nullopt;
    }
    if (year == 1900 && month == 2 && day == 29) {
        return 60;
    }
    if (day > daysInMonth(year, month)) {
        return std::nullopt;
    }
    const auto serial =
        daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kEpoch;
    // Before the phantom leap day the count is one lower.
    return serial < 61 ? serial - 1 : serial;
}

std::optional<CivilDate> civilDate(std::int64_t serial) {
    if (serial < 0 || serial > kLastDateSerial) {
        return std::nullopt;
    }
    if (serial == 0) {
        return CivilDate{1900, 1, 0};
    }
    if (serial == 60) {
        return CivilDate{1900, 2, 29};
    }
    return civilFromDays(kEpoch + (serial < 60 ? serial + 1 : serial));
}

int weekday(std::int64_t serial) {
    return static_cast<int>(((serial - 1) % 7 + 7) % 7);
}

} // namespace kelvor
