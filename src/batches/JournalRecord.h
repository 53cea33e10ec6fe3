#pragma once

#include "util/LocalTime.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelvor {

// One line of the batch journal: what became of the channels' batches and their reports.
struct JournalRecord {
    enum class Kind {
        Open,      // a channel's new batch: its workbook
        Report,    // a report handed to the export, and the workbook it went to
        Summarize, // "Summarize Now" on a batch's workbook
        Close,     // Close Workbook ended the batch for good
        Known,     // an archive file older than the journal: no batch's business
        Told,      // the reader was told of this many damaged records
    };

    Kind kind = Kind::Report;
    WallClock::time_point when{};
    int channel = -1;         // Open, Report, Summarize, Close
    std::string workbook;     // the workbook's file name without folder or extension; empty for
                              // a report that reached no workbook
    std::string archiveFile;  // Report, Known: relative to the workbook folder, "/" between parts
    bool pasted = false;      // Report: it is on a data sheet
    std::string cutShortBy;   // Report: why it ended before its tester fell silent
    std::string description;  // Open, Report: the channel's description at the time
    float traceOffset = 0.0F; // Report, Summarize: the summary trace offset at the time
    std::size_t damaged = 0;  // Told
};

// The line (with its newline) that keeps the record: tab-separated fields, the first the
// CRC-32 of the rest of the line in 8 hex digits. Tabs, line breaks and backslashes inside a
// field are written as \t, \n, \r and \\.
std::string journalLine(const JournalRecord& record);

// The record a line (without its newline) keeps; nothing when the line is damaged (checksum,
// fields) or of a kind this version does not know.
std::optional<JournalRecord> parseJournalLine(std::string_view line);

// CRC-32 (the zip and PNG polynomial).
std::uint32_t crc32Of(std::string_view bytes);

// "2026-12-07T14:03:05Z" and back; nothing for any other text.
std::string utcTimeText(WallClock::time_point when);
std::optional<WallClock::time_point> parseUtcTime(std::string_view text);

} // namespace kelvor
