#pragma once

#include "batches/ArchiveFiles.h"
#include "batches/BatchJournal.h"
#include "capture/ChannelInfo.h"
#include "capture/ReportExport.h"
#include "export/ExportContext.h"
#include "util/EventLog.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace kelvor {

// What reopening the open batches did.
struct ReopenedBatches {
    std::size_t batches = 0;          // workbooks made again
    std::size_t reports = 0;          // reports played again into them
    std::vector<std::string> missing; // archive files the journal names that are gone
    std::vector<std::string> failed;  // workbooks that could not be made again, and why
};

struct ReopenWiring {
    ExportContext& exports;      // the program's: it receives the application and its workbooks
    ChannelTable& channels;      // each reopened batch's channel gets its workbook position
    const BatchJournal& journal; // loaded
    // The application's file writes held, and the held workbooks counted as written to their
    // files (which hold them already); either may be empty.
    std::function<void()> holdWrites;
    std::function<void()> adoptHeldWrites;
    EventLog* log = nullptr;
};

// Where one batch is played again: an export context and the channel table and trace offset
// it refers to, which the replay sets to what each record kept.
struct ReplayTarget {
    ExportContext& exports;
    ChannelTable& channels;
    float& traceOffset;
};

struct BatchReplay {
    std::int32_t index = 0;           // the workbook's position in the application
    std::size_t played = 0;           // reports played again
    std::vector<std::string> missing; // archive files the journal names that are gone
};

// Makes the batch's workbook again under its own file name in the target's application and
// plays its reports and "Summarize Now"s into it, in journal order. Messages go to the
// target's prompts. Throws when the workbook cannot be made.
BatchReplay replayBatch(const ReplayTarget& target, const BatchJournal& journal,
                        const BatchInfo& batch, EventLog* log);

// Makes every batch the journal has open again, in the order they were opened: its workbook
// under its own file name, its reports (from their archive files) and its "Summarize Now"s
// played again through the export step in journal order, with the channel description and
// trace offset each had then, with no message shown and nothing written, so that the workbook
// is what its file holds and nothing is written before its next real change. One log line per
// batch.
ReopenedBatches reopenBatches(const ReopenWiring& wiring);

// Puts every archive file that no record names into its channel's workbook, oldest first,
// through `journaling` (which journals each as it goes, so a kill meanwhile loses none and
// doubles none). Empty files are journaled without an export. Returns how many were exported.
std::size_t recoverReports(ReportExport& journaling, BatchJournal& journal, ChannelTable& channels,
                           const std::vector<ArchivedReport>& archive, EventLog* log);

// "2 reports received before the reader ended were added to their workbooks."
std::string recoveryNotice(std::size_t reports);
// The reader is told of archive files a reopened workbook missed.
std::string missingNotice(const std::vector<std::string>& missing);
// ... and of damaged journal records.
std::string damagedNotice(const std::filesystem::path& journal, std::size_t damaged);

// The whole start: loads the journal (making it, on a first start, with the archive as it
// is), reopens the open batches, recovers what no record names; tells (through `tell`, a box
// that waits for nobody) and logs what the reader should know.
struct BatchStart {
    ReopenWiring reopen;
    BatchJournal& journal;
    ReportExport& journaling;
    std::filesystem::path workbookFolder;
    std::function<void(const std::string&)> tell;
    // False for an application that keeps its own workbooks open across runs: playing the
    // open batches into it again would open each of them twice.
    bool reopenOpenBatches = true;
};
void startBatches(BatchStart& start);

} // namespace kelvor
