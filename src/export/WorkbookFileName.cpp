#include "export/WorkbookFileName.h"

#include "util/AnsiText.h"

#include <string_view>

namespace kelvor {

namespace {

constexpr std::string_view Forbidden = "<>:\"/\\|?*";
// Keeps the whole name, date included, well inside the usual 255-byte limit.
constexpr std::size_t MaxDescriptionBytes = 120;

std::string cleaned(const std::string& description) {
    std::string text = utf8FromUtf8OrWindows1252(description);
    for (char& c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || Forbidden.find(c) != std::string_view::npos) {
            c = '_';
        }
    }
    if (text.size() > MaxDescriptionBytes) {
        // Cut before a character, never inside one.
        std::size_t end = MaxDescriptionBytes;
        while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0U) == 0x80U) {
            --end;
        }
        text.resize(end);
    }
    // Windows drops trailing dots and blanks; leading blanks hide the name in a listing.
    const auto first = text.find_first_not_of(' ');
    const auto last = text.find_last_not_of(". ");
    if (first == std::string::npos || last == std::string::npos || last < first) {
        return {};
    }
    return text.substr(first, last - first + 1);
}

} // namespace

std::string channelWorkbookFileName(const std::string& description, int channel,
                                    WallClock::time_point started) {
    std::string name = cleaned(description);
    if (name.empty()) {
        name = "Channel " + std::to_string(channel + 1);
    }
    return name + " " + localTimeText(started, "%Y-%m-%d %H-%M");
}

} // namespace kelvor
