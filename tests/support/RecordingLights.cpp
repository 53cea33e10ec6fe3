#include "RecordingLights.h"

namespace kelvor {

void RecordingLights::paintLight(int channel, std::uint32_t colour, const std::string& caption) {
    paints.push_back({channel, colour, caption});
}

void RecordingLights::setTooltip(int channel, const std::string& text) {
    tooltips.at(channel) = text;
}

std::optional<RecordingLights::Paint> RecordingLights::lastPaint(int channel) const {
    for (auto it = paints.rbegin(); it != paints.rend(); ++it) {
        if (it->channel == channel) {
            return *it;
        }
    }
    return std::nullopt;
}

std::vector<RecordingLights::Paint> RecordingLights::paintsOf(int channel) const {
    std::vector<Paint> result;
    for (const Paint& p : paints) {
        if (p.channel == channel) {
            result.push_back(p);
        }
    }
    return result;
}

} // namespace kelvor
