#pragma once

#include "util/LocalTime.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace kelvor {

// The record of the unattended hours: one line per event, with its local date and time.
// The file is kept below a size limit; when a line would pass it, the file becomes the one
// older generation ("<name>.1") and a new file starts. Writing never throws: a log that
// cannot be written must not stop the reader.
class EventLog {
public:
    using Clock = std::function<WallClock::time_point()>;
    static constexpr std::uintmax_t DefaultLimit = 4U * 1024U * 1024U;

    // A log that writes nothing (tests that do not look at it).
    EventLog() = default;
    explicit EventLog(std::filesystem::path file, std::uintmax_t limitBytes = DefaultLimit,
                      Clock clock = WallClock::now);

    void write(std::string_view event);
    const std::filesystem::path& file() const { return file_; }
    std::filesystem::path olderFile() const;

private:
    std::filesystem::path file_;
    std::uintmax_t limit_ = DefaultLimit;
    Clock clock_;
};

// A message as one log line: line breaks of the message become " / ".
std::string oneLine(std::string_view text);

} // namespace kelvor
