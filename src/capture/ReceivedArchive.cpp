#include "capture/ReceivedArchive.h"
#include "util/PathText.h"

#include <system_error>

namespace kelvor {
namespace {

// "<stem>.txt", then "<stem> (2).txt", "(3)", ...: the first name not taken.
std::filesystem::path freeName(const std::filesystem::path& folder, const std::string& stem) {
    for (int n = 1;; ++n) {
        const std::string name = n == 1 ? stem : stem + " (" + std::to_string(n) + ")";
        auto path = folder / pathFromUtf8(name + ".txt");
        std::error_code error;
        if (!std::filesystem::exists(path, error)) {
            return path;
        }
    }
}

} // namespace

ReceivedArchive::ReceivedArchive(std::filesystem::path folder, Clock clock, Trouble trouble)
    : folder_(std::move(folder)), clock_(std::move(clock)), trouble_(std::move(trouble)) {}

std::filesystem::path ReceivedArchive::channelFolder(int channel) const {
    return folder_ / ("Channel " + std::to_string(channel + 1));
}

void ReceivedArchive::begin(int channel) {
    Report& report = reports_.at(static_cast<std::size_t>(channel));
    report = Report{};
    const auto folder = channelFolder(channel);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    report.path = freeName(folder, localTimeText(clock_(), "%Y-%m-%d %H-%M-%S"));
    try {
        report.file = AppendFile::createNew(report.path);
    } catch (const FileError& e) {
        failed(report, e.reason());
    }
}

void ReceivedArchive::append(int channel, std::string_view bytes) {
    Report& report = reports_.at(static_cast<std::size_t>(channel));
    if (!report.file) {
        return;
    }
    try {
        report.file->append(bytes);
    } catch (const FileError& e) {
        failed(report, e.reason());
    }
}

std::string ReceivedArchive::finish(int channel, bool cutShort) {
    Report& report = reports_.at(static_cast<std::size_t>(channel));
    if (!report.file) {
        report = Report{};
        return {};
    }
    try {
        report.file->sync();
        report.file->close();
        troubleTold_ = false; // a whole report was kept: the next trouble is news again
    } catch (const FileError& e) {
        failed(report, e.reason());
        report = Report{};
        return {};
    }
    auto path = cutShort ? markCutShort(report.path) : report.path;
    report = Report{};
    return utf8Of(path);
}

std::filesystem::path ReceivedArchive::markCutShort(const std::filesystem::path& path) {
    const auto marked = freeName(path.parent_path(), utf8Of(path.stem()) + " (cut short)");
    std::error_code error;
    std::filesystem::rename(path, marked, error);
    return error ? path : marked;
}

void ReceivedArchive::failed(Report& report, const std::string& reason) {
    const auto path = report.path;
    report.file.reset();
    if (troubleTold_ || !trouble_) {
        return;
    }
    troubleTold_ = true;
    trouble_("The received report could not be kept in the archive file " + utf8Of(path) + ": " +
             reason + ". Reports are still put into the workbooks.");
}

} // namespace kelvor
