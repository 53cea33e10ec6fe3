#pragma once

#include <string>

namespace kelvor {

// A serial line's settings text, as the port control takes it: "9600,N,8,1" (baud rate,
// parity letter N/E/O/M/S, data bits, stop bits).
struct LineSettings {
    int baudRate = 9600;
    char parity = 'N';
    int dataBits = 8;
    double stopBits = 1; // 1, 1.5 or 2
};

// The settings a text gives; a text the control would refuse throws CommError 380.
LineSettings parseLineSettings(const std::string& text);

// The port numbers the control reports: "Invalid property value" and friends.
inline constexpr int ErrInvalidPropertyValue = 380;
inline constexpr int ErrInvalidPortNumber = 8002;
inline constexpr int ErrPortAlreadyOpen = 8005;
inline constexpr int ErrPortNotAvailable = 8010;
inline constexpr int ErrPortNotOpen = 8012;

} // namespace kelvor
