#pragma once

#include "capture/ArchiveFile.h"
#include "capture/ChannelInfo.h"
#include "capture/ReportArchive.h"
#include "util/LocalTime.h"

#include <array>
#include <cstddef>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kelvor {

// Bytes the archive holds in memory, in all, while its folder does not take them.
inline constexpr std::size_t DefaultArchiveHoldLimit = 64U * 1024U * 1024U;

struct ArchiveOptions {
    std::size_t holdLimit = DefaultArchiveHoldLimit;
    // Asked before every write into the folder: false keeps everything held (a share that
    // dropped, a drive missing). None: the folder is always taken to be the right one.
    std::function<bool()> folderIsOurs = {};
    // Where a report goes, under "Channel <n>/", that would take the held bytes beyond the
    // limit, and what is still held when the archive is closed. None: it is told and logged
    // as not kept.
    std::filesystem::path spillFolder = {};
    // A line for the log; none: not logged.
    std::function<void(const std::string& line)> log = {};
};

// The received-report archive: one file per report in "Channel <n>/" (n = 1 to 6) below its
// folder, named by the local date and time of the report's first byte. Bytes are appended as
// they arrive and the file is synced when the report completes, so a killed program or a
// power cut loses at most the last poll's bytes. Files are never rewritten or removed; a
// report cut short is renamed to say so.
//
// Bytes the folder does not take (a full disk, a read-only or missing folder, a folder that
// is not the right one) are held in memory, up to a limit, and written as soon as it takes
// them again: at every later call and at every retryHeld(). The reader is told once when
// trouble starts (until a report is kept whole again); the report goes on to its export all
// the same.
class ReceivedArchive final : public ReportArchive {
public:
    using Clock = std::function<WallClock::time_point()>;
    using Trouble = std::function<void(const std::string& message)>;

    ReceivedArchive(std::filesystem::path folder, Clock clock, Trouble trouble,
                    ArchiveOptions options = {});
    // Writes what is still held, or spills it; what neither takes is logged as lost.
    ~ReceivedArchive() override;
    ReceivedArchive(const ReceivedArchive&) = delete;
    ReceivedArchive& operator=(const ReceivedArchive&) = delete;

    void begin(int channel) override;
    void append(int channel, std::string_view bytes) override;
    // The file when the whole report is in it now; empty when (some of) it is still held or
    // it could not be kept.
    std::string finish(int channel, bool cutShort) override;

    // Tries the held reports again, oldest first, stopping at the first the folder refuses.
    void retryHeld();
    // At the end of the program: the last try, then the spill folder for what is left.
    void close();

    // Bytes waiting for the folder, and the reports they belong to.
    std::size_t heldBytes() const;
    std::size_t heldReports() const;

    std::filesystem::path channelFolder(int channel) const;

private:
    bool tryWrite(ArchiveFile& file);
    void failed(const ArchiveFile& file, const std::string& reason);
    void overflow(ArchiveFile& file, int channel);
    bool spill(ArchiveFile& file, int channel);
    bool taken(const std::filesystem::path& path) const;
    void written(const ArchiveFile& file);
    void tellWrittenLater();
    void log(const std::string& line) const;

    std::filesystem::path folder_;
    Clock clock_;
    Trouble trouble_;
    ArchiveOptions options_;
    std::array<std::unique_ptr<ArchiveFile>, ChannelCount> current_;
    // Reports complete or cut short whose bytes are not all in their files yet, oldest first;
    // with the channel each came on.
    std::deque<std::pair<int, std::unique_ptr<ArchiveFile>>> held_;
    std::vector<std::string> writtenLater_; // held reports written since the last log line
    bool troubleTold_ = false;
    bool overflowTold_ = false;
    bool closed_ = false;
};

} // namespace kelvor
