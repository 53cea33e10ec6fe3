#pragma once

#include "capture/ChannelInfo.h"
#include "capture/ReportArchive.h"
#include "platform/DurableFile.h"
#include "util/LocalTime.h"

#include <array>
#include <filesystem>
#include <functional>
#include <optional>

namespace kelvor {

// The received-report archive: one file per report in "Channel <n>/" (n = 1 to 6) below its
// folder, named by the local date and time of the report's first byte. Bytes are appended as
// they arrive and the file is synced when the report completes, so a killed program or a
// power cut loses at most the last poll's bytes. Files are never rewritten or removed; a
// report cut short is renamed to say so. When a file cannot be written the reader is told
// once (until writing works again) and the report goes on to its export all the same.
class ReceivedArchive final : public ReportArchive {
public:
    using Clock = std::function<WallClock::time_point()>;
    using Trouble = std::function<void(const std::string& message)>;

    ReceivedArchive(std::filesystem::path folder, Clock clock, Trouble trouble);

    void begin(int channel) override;
    void append(int channel, std::string_view bytes) override;
    std::string finish(int channel, bool cutShort) override;

    std::filesystem::path channelFolder(int channel) const;

private:
    struct Report {
        std::optional<AppendFile> file;
        std::filesystem::path path;
    };

    void failed(Report& report, const std::string& reason);
    std::filesystem::path markCutShort(const std::filesystem::path& path);

    std::filesystem::path folder_;
    Clock clock_;
    Trouble trouble_;
    std::array<Report, ChannelCount> reports_;
    bool troubleTold_ = false;
};

} // namespace kelvor
