#include "batches/ArchiveFiles.h"

#include "capture/ChannelInfo.h"
#include "util/PathText.h"

#include <algorithm>
#include <cctype>
#include <string_view>
#include <system_error>

namespace kelvor {

namespace {

bool digits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
}

// " (n)" at the start of `rest`: n, and `rest` after it.
std::optional<int> numberSuffix(std::string_view& rest) {
    if (rest.size() < 4 || rest.substr(0, 2) != " (") {
        return std::nullopt;
    }
    const auto close = rest.find(')');
    if (close == std::string_view::npos || !digits(rest.substr(2, close - 2)) || close - 2 > 6) {
        return std::nullopt;
    }
    const int n = std::stoi(std::string(rest.substr(2, close - 2)));
    rest.remove_prefix(close + 1);
    return n;
}

} // namespace

std::optional<ArchiveNameKey> archiveNameKey(const std::string& fileName) {
    std::string_view name(fileName);
    if (name.size() < 23 || name.substr(name.size() - 4) != ".txt") {
        return std::nullopt;
    }
    name.remove_suffix(4);
    // 2026-12-07 14-03-05
    const auto time = name.substr(0, 19);
    for (std::size_t i = 0; i < time.size(); ++i) {
        const bool separator = i == 4 || i == 7 || i == 13 || i == 16 || i == 10;
        const char want = i == 10 ? ' ' : '-';
        if (separator ? time[i] != want : std::isdigit(static_cast<unsigned char>(time[i])) == 0) {
            return std::nullopt;
        }
    }
    ArchiveNameKey key;
    key.time = std::string(time);
    std::string_view rest = name.substr(19);
    if (const auto n = numberSuffix(rest)) {
        key.number = *n;
    }
    constexpr std::string_view CutShort = " (cut short)";
    if (rest.substr(0, CutShort.size()) == CutShort) {
        key.plain = false;
        rest.remove_prefix(CutShort.size());
        if (const auto m = numberSuffix(rest)) {
            key.cutShortNumber = *m;
        }
    }
    if (!rest.empty()) {
        return std::nullopt;
    }
    return key;
}

std::vector<ArchivedReport> archivedReports(const std::filesystem::path& workbookFolder) {
    std::vector<ArchivedReport> out;
    for (int channel = 0; channel < ChannelCount; ++channel) {
        const std::string folderName = "Channel " + std::to_string(channel + 1);
        const auto folder = workbookFolder / "Received" / folderName;
        std::error_code error;
        std::vector<std::pair<ArchiveNameKey, ArchivedReport>> found;
        for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
             it.increment(error)) {
            std::error_code typeError;
            if (!it->is_regular_file(typeError)) {
                continue;
            }
            const std::string name = utf8Of(it->path().filename());
            const auto key = archiveNameKey(name);
            if (!key) {
                continue;
            }
            ArchivedReport report;
            report.channel = channel;
            report.recorded = "Received/" + folderName + "/" + name;
            report.path = it->path();
            report.cutShort = key->cutShort();
            found.emplace_back(*key, std::move(report));
        }
        std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
            return a.first != b.first ? a.first < b.first : a.second.recorded < b.second.recorded;
        });
        for (auto& [key, report] : found) {
            out.push_back(std::move(report));
        }
    }
    return out;
}

} // namespace kelvor
