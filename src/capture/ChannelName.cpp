#include "capture/ChannelName.h"

namespace kelvor {

std::string channelName(int channel, const std::string& description) {
    const std::string number = "Channel " + std::to_string(channel + 1);
    return description.empty() ? number : number + " (" + description + ")";
}

std::string channelName(const ChannelTable& channels, int channel) {
    return channelName(channel, channels.at(static_cast<std::size_t>(channel)).Description);
}

} // namespace kelvor
