#pragma once

#include "capture/ChannelInfo.h"
#include "capture/StatusLights.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kelvor {

// Keeps every paint and the last tooltip of each light.
class RecordingLights : public StatusLights {
public:
    struct Paint {
        int channel;
        std::uint32_t colour;
        std::string caption;
        bool operator==(const Paint&) const = default;
    };

    void paintLight(int channel, std::uint32_t colour, const std::string& caption) override;
    void setTooltip(int channel, const std::string& text) override;

    std::optional<Paint> lastPaint(int channel) const;
    std::vector<Paint> paintsOf(int channel) const;

    std::vector<Paint> paints;
    std::array<std::string, ChannelCount> tooltips;
};

} // namespace kelvor
