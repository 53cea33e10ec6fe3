#include "util/EventLog.h"

#include <fstream>

namespace kelvor {

EventLog::EventLog(std::filesystem::path file, std::uintmax_t limitBytes, Clock clock)
    : file_(std::move(file)), limit_(limitBytes), clock_(std::move(clock)) {}

std::filesystem::path EventLog::olderFile() const {
    auto older = file_;
    older += ".1";
    return older;
}

void EventLog::write(std::string_view event) {
    if (file_.empty()) {
        return;
    }
    const std::string line =
        localTimeText(clock_(), "%Y-%m-%d %H:%M:%S") + "  " + oneLine(event) + "\n";
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(file_, error);
    if (!error && size + line.size() > limit_) {
        std::filesystem::rename(file_, olderFile(), error);
    }
    std::ofstream out(file_, std::ios::app | std::ios::binary);
    out << line; // a full disk loses log lines, nothing else
}

std::string oneLine(std::string_view text) {
    std::string line;
    line.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            line += " / ";
        } else {
            line += c;
        }
    }
    return line;
}

} // namespace kelvor
