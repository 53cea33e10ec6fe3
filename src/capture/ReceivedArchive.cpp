#include "capture/ReceivedArchive.h"

#include "util/PathText.h"

#include <algorithm>

namespace kelvor {

namespace {

std::string channelFolderName(int channel) {
    return "Channel " + std::to_string(channel + 1);
}

std::string amount(std::size_t bytes) {
    constexpr std::size_t MiB = 1024U * 1024U;
    return bytes % MiB == 0 ? std::to_string(bytes / MiB) + " MiB"
                            : std::to_string(bytes) + " bytes";
}

} // namespace

ReceivedArchive::ReceivedArchive(std::filesystem::path folder, Clock clock, Trouble trouble,
                                 ArchiveOptions options)
    : folder_(std::move(folder)), clock_(std::move(clock)), trouble_(std::move(trouble)),
      options_(std::move(options)) {}

ReceivedArchive::~ReceivedArchive() {
    try {
        close();
    } catch (...) {
        // Ending must not fail; what could not be logged is gone with the log.
    }
}

std::filesystem::path ReceivedArchive::channelFolder(int channel) const {
    return folder_ / channelFolderName(channel);
}

void ReceivedArchive::begin(int channel) {
    retryHeld();
    auto& current = current_.at(static_cast<std::size_t>(channel));
    if (current) {
        // A report that was never finished: kept as far as it came.
        current->end(true);
        if (!tryWrite(*current) && !current->dropped()) {
            held_.emplace_back(channel, std::move(current));
        }
    }
    const auto path =
        freeArchiveName(channelFolder(channel), localTimeText(clock_(), "%Y-%m-%d %H-%M-%S"),
                        [this](const std::filesystem::path& name) { return taken(name); });
    current = std::make_unique<ArchiveFile>(path);
    // The file is made now, so that the name is on disk from the report's first byte.
    tryWrite(*current);
}

void ReceivedArchive::append(int channel, std::string_view bytes) {
    retryHeld();
    auto& current = current_.at(static_cast<std::size_t>(channel));
    if (!current || current->dropped()) {
        return;
    }
    current->add(bytes);
    if (!tryWrite(*current) && heldBytes() > options_.holdLimit) {
        overflow(*current, channel);
    }
}

std::string ReceivedArchive::finish(int channel, bool cutShort) {
    retryHeld();
    auto file = std::move(current_.at(static_cast<std::size_t>(channel)));
    if (!file || file->dropped()) {
        return {};
    }
    file->end(cutShort);
    if (tryWrite(*file)) {
        troubleTold_ = false; // a whole report was kept: the next trouble is news again
        written(*file);
        tellWrittenLater();
        return utf8Of(file->path());
    }
    held_.emplace_back(channel, std::move(file));
    return {};
}

void ReceivedArchive::retryHeld() {
    // Oldest first; once the folder refused one, the others wait for the next try (those
    // gone to the spill folder are tried all the same).
    bool refused = false;
    for (auto held = held_.begin(); held != held_.end();) {
        auto& file = *held->second;
        if ((refused && !file.moved()) || !tryWrite(file)) {
            refused = refused || !file.moved();
            ++held;
            continue;
        }
        written(file);
        held = held_.erase(held);
    }
    tellWrittenLater();
}

void ReceivedArchive::close() {
    if (closed_) {
        return;
    }
    closed_ = true;
    for (int channel = 0; channel < ChannelCount; ++channel) {
        auto& current = current_.at(static_cast<std::size_t>(channel));
        if (current) {
            current->end(true);
            held_.emplace_back(channel, std::move(current));
        }
    }
    retryHeld();
    for (auto& [channel, file] : held_) {
        const auto was = file->path();
        const auto waiting = file->waiting();
        if (file->moved() && tryWrite(*file)) {
            continue;
        }
        if (spill(*file, channel)) {
            log("Archive: held report " + utf8Of(was) + " written to " + utf8Of(file->path()) +
                " instead, as the reader ends");
        } else {
            log("Archive: held report " + utf8Of(was) + " is lost as the reader ends (" +
                std::to_string(waiting) + " bytes not written)");
        }
    }
    held_.clear();
}

std::size_t ReceivedArchive::heldBytes() const {
    std::size_t bytes = 0;
    for (const auto& file : current_) {
        bytes += file ? file->waiting() : 0;
    }
    for (const auto& [channel, file] : held_) {
        bytes += file->waiting();
    }
    return bytes;
}

std::size_t ReceivedArchive::heldReports() const {
    return held_.size() + static_cast<std::size_t>(std::ranges::count_if(
                              current_, [](const auto& f) { return f && f->waiting() > 0; }));
}

bool ReceivedArchive::tryWrite(ArchiveFile& file) {
    if (file.dropped()) {
        return false;
    }
    // A moved report lies outside the folder: no share or drive of the folder's decides.
    if (!file.moved() && options_.folderIsOurs && !options_.folderIsOurs()) {
        file.release();
        file.markHeld(); // the folder's check tells the user itself
        return false;
    }
    try {
        file.write([this](const std::filesystem::path& path) { return taken(path); });
        return true;
    } catch (const FileError& e) {
        file.release();
        file.markHeld();
        failed(file, e.reason());
        return false;
    }
}

void ReceivedArchive::failed(const ArchiveFile& file, const std::string& reason) {
    if (troubleTold_ || !trouble_) {
        return;
    }
    troubleTold_ = true;
    trouble_("The received report could not be kept in the archive file " + utf8Of(file.path()) +
             ": " + reason + ". Reports are still put into the workbooks.");
}

// The held bytes passed the limit: this report goes to the spill folder, or is let go.
void ReceivedArchive::overflow(ArchiveFile& file, int channel) {
    const auto was = file.path();
    const bool spilled = spill(file, channel);
    const std::string what =
        spilled ? "report " + utf8Of(was) + " is written to " + utf8Of(file.path()) + " instead"
                : "report " + utf8Of(was) + " is not kept in the archive";
    log("Archive: more than " + amount(options_.holdLimit) + " wait for " + utf8Of(folder_) + "; " +
        what);
    if (!overflowTold_ && trouble_) {
        overflowTold_ = true;
        trouble_("The reader cannot hold more received reports in memory for the archive folder " +
                 utf8Of(folder_) + " (more than " + amount(options_.holdLimit) + "). The " + what +
                 (spilled ? "" : " (it is still put into its workbook)") + ".");
    }
}

bool ReceivedArchive::spill(ArchiveFile& file, int channel) {
    if (!file.moved() && !options_.spillFolder.empty()) {
        std::string stem = utf8Of(file.path().stem());
        if (file.kept() > 0) {
            stem += " (from byte " + std::to_string(file.kept()) + ")";
        }
        file.moveTo(freeArchiveName(options_.spillFolder / channelFolderName(channel), stem));
        if (tryWrite(file)) {
            return true;
        }
    }
    file.drop();
    return false;
}

bool ReceivedArchive::taken(const std::filesystem::path& path) const {
    const auto is = [&](const auto& file) { return file && file->path() == path; };
    return std::ranges::any_of(current_, is) ||
           std::ranges::any_of(held_, [&](const auto& held) { return is(held.second); });
}

void ReceivedArchive::written(const ArchiveFile& file) {
    if (file.wasHeld() && file.done()) {
        writtenLater_.push_back(utf8Of(file.path()));
    }
}

void ReceivedArchive::tellWrittenLater() {
    if (writtenLater_.empty() || heldReports() > 0) {
        return;
    }
    std::string names;
    for (const auto& name : writtenLater_) {
        names += (names.empty() ? "" : ", ") + name;
    }
    log("Archive: " + std::to_string(writtenLater_.size()) + " held report" +
        (writtenLater_.size() == 1 ? "" : "s") + " written: " + names);
    writtenLater_.clear();
}

void ReceivedArchive::log(const std::string& line) const {
    if (options_.log) {
        options_.log(line);
    }
}

} // namespace kelvor
