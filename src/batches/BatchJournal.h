#pragma once

#include "batches/JournalRecord.h"
#include "platform/DurableFile.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace kelvor {

// What a journal file held.
struct JournalReading {
    std::vector<JournalRecord> records;
    // Lines skipped: a wrong checksum, missing fields, a kind this version does not know.
    std::size_t damaged = 0;
    // Of those, how many an earlier start already told (the journal notes what it told).
    std::size_t damagedTold = 0;
    // The last line had no newline: a write cut off by a kill. Skipped, not counted.
    bool tornEnd = false;
    bool existed = false;
    std::string failure; // the file is there but could not be read; empty when it could
};

// Reads the journal; never throws. A missing file is an empty journal.
JournalReading readJournal(const std::filesystem::path& path);

// One batch: a channel's workbook from its `open` record to its `close` (or the channel's next
// batch).
struct BatchInfo {
    enum class State {
        Open,       // reopened at start
        Closed,     // Close Workbook ended it
        Superseded, // the channel started another workbook without closing this one
    };
    int channel = -1;
    std::string workbook; // its file name without folder or extension
    WallClock::time_point opened{};
    std::optional<WallClock::time_point> firstReport;
    std::optional<WallClock::time_point> lastReport;
    std::size_t reports = 0; // reports handed to its workbook's export
    State state = State::Open;
    // Its `report` and `summarize` records, as positions in the journal's records.
    std::vector<std::size_t> entries;
};

// The batches the records tell of, and which archive files they name.
class BatchBook {
public:
    void apply(const JournalRecord& record, std::size_t position);

    // Every batch of the channel, open and ended, oldest first.
    std::vector<const BatchInfo*> batchesOf(int channel) const;
    // Every batch, in the order they were opened.
    const std::vector<BatchInfo>& batches() const { return batches_; }
    // The batches still open, in the order they were opened.
    std::vector<const BatchInfo*> openBatches() const;
    // The open batch whose workbook has this name; null when none.
    const BatchInfo* openBatchNamed(const std::string& workbook) const;
    // Whether a `report` or `known` record names the archive file (relative path).
    bool names(const std::string& archiveFile) const { return named_.contains(archiveFile); }

private:
    BatchInfo* current(const std::string& workbook);
    BatchInfo& opened(int channel, const std::string& workbook, WallClock::time_point when);

    std::vector<BatchInfo> batches_;
    std::set<std::string> named_;
};

// The batch journal, `Received/Batches.journal` in the workbook folder: one record per line,
// each line with its own checksum, appended and synced like the archive, so that a kill at any
// moment leaves every earlier record whole. Appending never throws: a journal that cannot be
// written is told once (until writing works again) and the reader goes on.
class BatchJournal {
public:
    using Clock = std::function<WallClock::time_point()>;
    using Trouble = std::function<void(const std::string& message)>;

    BatchJournal(std::filesystem::path file, Clock clock, Trouble trouble);

    // Reads the journal. When there is none yet, it is made, as a whole, with a `known` record
    // for each of `existingArchiveFiles`: reports kept before this version are no batch's.
    const JournalReading& load(const std::vector<std::string>& existingArchiveFiles);
    const JournalReading& reading() const { return reading_; }
    const BatchBook& book() const { return book_; }
    const std::vector<JournalRecord>& records() const { return records_; }
    const std::filesystem::path& file() const { return file_; }

    // A report was handed to the export of `channel` and went to `workbook` (empty: none).
    // An `open` record goes first when that workbook has no open batch yet.
    void reported(int channel, const std::string& workbook, const std::string& archiveFile,
                  bool pasted, const std::string& cutShortBy, const std::string& description,
                  float traceOffset);
    void summarized(int channel, const std::string& workbook, const std::string& description,
                    float traceOffset);
    void closed(int channel, const std::string& workbook);
    // Notes that the damaged records read at load were told, so a later start tells only news.
    void damageTold();

    // Asked before each write: while the workbook folder is not the one the journal belongs to
    // (a share dropped), records wait in memory and are written, in order, once it returns.
    void setFolderCheck(std::function<bool()> folderIsOurs) {
        folderIsOurs_ = std::move(folderIsOurs);
    }
    // Writes the records that wait, if the folder takes them now.
    void retryHeld();

    // The archive file as records name it: relative to the workbook folder, "/" between parts.
    std::string relativeArchivePath(const std::string& archiveFile) const;
    std::filesystem::path archivePath(const std::string& recorded) const;

private:
    void openedIfNew(int channel, const std::string& workbook, const std::string& description);
    void append(JournalRecord record);
    void failed(const std::string& reason);

    std::filesystem::path file_;
    std::filesystem::path workbookFolder_;
    Clock clock_;
    Trouble trouble_;
    JournalReading reading_;
    std::vector<JournalRecord> records_;
    BatchBook book_;
    std::optional<AppendFile> out_;
    std::function<bool()> folderIsOurs_;
    std::size_t written_ = 0; // records_ before this are in the file
    bool freshLine_ = true;   // the file ends with a whole line
    bool troubleTold_ = false;
};

// The journal's place in the workbook folder.
std::filesystem::path batchJournalPath(const std::filesystem::path& workbookFolder);

} // namespace kelvor
