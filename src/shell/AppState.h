#pragma once

#include "capture/ChannelInfo.h"

#include <string>

namespace kelvor {

// Values that live for the whole run and that several windows and procedures share.
struct AppState {
    std::string ReleaseText;
    std::string IniPath;
    ChannelTable ChannelInfo;
    float SummaryTraceOffset = 0.0F;
};

} // namespace kelvor
