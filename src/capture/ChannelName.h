#pragma once

#include "capture/ChannelInfo.h"

#include <string>

namespace kelvor {

// "Channel 2 (Press B)": how every message and the log name a channel, numbered from 1 as the
// operator counts them. `channel` is the index 0-5; a channel without a description is named
// by its number alone.
std::string channelName(int channel, const std::string& description);
std::string channelName(const ChannelTable& channels, int channel);

} // namespace kelvor
