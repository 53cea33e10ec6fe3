#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace kelvor {

inline constexpr int ChannelCount = 6;

enum ChannelStatus : std::int32_t {
    StatusOff = 0,
    StatusReady = 1,
    StatusReceiving = 2,
    StatusComplete = 3,
    StatusExporting = 4,
};

// One tester slot. Text is kept as received: one byte a character (Windows-1252 from the
// testers), so nothing is lost before the export decides how to store it.
struct ChannelRecord {
    std::string Description;
    std::int32_t Enabled = 0;
    std::int32_t CommPort = 0;
    std::int32_t Status = StatusOff;
    std::string ReceivedText;
    std::int32_t IdleTicks = 0;
    std::int32_t WorkbookIndex = 0;
};

using ChannelTable = std::array<ChannelRecord, ChannelCount>;

} // namespace kelvor
