#pragma once

#include "capture/ChannelInfo.h"
#include "platform/PlatformConfig.h"

#include <string>

namespace kelvor {

// Values that live for the whole run and that several windows and procedures share.
struct AppState {
    std::string ReleaseText;
    std::string IniPath;
    ChannelTable ChannelInfo;
    float SummaryTraceOffset = 0.0F;
    // The devices behind the port numbers, read at load; the setup dialog changes them.
    PlatformConfig Platform;
};

} // namespace kelvor
