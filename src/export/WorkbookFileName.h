#pragma once

#include "util/LocalTime.h"

#include <string>

namespace kelvor {

// The name a channel's new workbook file takes, without folder or extension: the channel's
// description and the local date and time the workbook was started, "Com Channel 1 2026-12-07
// 14-03". Characters that file names on Windows or Linux cannot hold become "_"; a channel
// without a description is called "Channel <n>" (n = channel + 1).
std::string channelWorkbookFileName(const std::string& description, int channel,
                                    WallClock::time_point started);

} // namespace kelvor
