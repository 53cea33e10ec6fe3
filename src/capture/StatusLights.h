#pragma once

#include <cstdint>
#include <string>

namespace kelvor {

// Colour values as stored by the status display: red in the low byte, then green, then blue.
// A value with the top bit set names a system colour by index instead (15 = button face).
inline constexpr std::uint32_t ColourButtonFace = 0x8000000FU;
inline constexpr std::uint32_t ColourYellow = 65535U;
inline constexpr std::uint32_t ColourGreen = 65280U;
inline constexpr std::uint32_t ColourRed = 255U;

// The six status lights of the main window, seen from the capture logic.
class StatusLights {
public:
    virtual ~StatusLights() = default;
    virtual void paintLight(int channel, std::uint32_t colour, const std::string& caption) = 0;
    virtual void setTooltip(int channel, const std::string& text) = 0;
};

} // namespace kelvor
