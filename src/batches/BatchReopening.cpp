#include "batches/BatchReopening.h"

#include "batches/MutedPrompts.h"
#include "capture/ChannelName.h"
#include "export/ChannelWorkbooks.h"
#include "export/ReportExportStep.h"
#include "export/SummarizeChannel.h"
#include "util/PathText.h"

#include <exception>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>

namespace kelvor {

namespace {

using Kind = JournalRecord::Kind;

std::optional<std::string> readWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        return std::nullopt;
    }
    return text;
}

void note(EventLog* log, const std::string& text) {
    if (log != nullptr) {
        log->write(text);
    }
}

std::string plural(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

} // namespace

BatchReplay replayBatch(const ReplayTarget& target, const BatchJournal& journal,
                        const BatchInfo& batch, EventLog* log) {
    BatchReplay result;
    ExportContext& replay = target.exports;
    ReopenChannelWorkbook(replay, result.index, batch.workbook);
    ReportExportStep step(replay);
    const auto& records = journal.records();
    for (const std::size_t at : batch.entries) {
        const JournalRecord& record = records.at(at);
        if (record.channel < 0 || record.channel >= ChannelCount) {
            continue;
        }
        auto& channel = target.channels.at(static_cast<std::size_t>(record.channel));
        target.traceOffset = record.traceOffset;
        if (record.kind == Kind::Summarize) {
            const ExportingChannel naming(replay, record.channel);
            std::string nothing;
            try {
                SummarizeChannel(replay, record.channel, nothing, result.index);
            } catch (const std::exception&) {
                // Told when it first ran.
            }
            continue;
        }
        if (record.archiveFile.empty()) {
            continue; // never kept: nothing to play again
        }
        const auto path = journal.archivePath(record.archiveFile);
        auto text = readWhole(path);
        if (!text) {
            result.missing.push_back(utf8Of(path));
            note(log, channelName(target.channels, record.channel) + ": archive file " +
                          utf8Of(path) + " of batch " + batch.workbook +
                          " is missing; its report was left out");
            continue;
        }
        channel.Description = record.description;
        channel.WorkbookIndex = result.index;
        step.exportReport(record.channel, *text, ReportOrigin{utf8Of(path), record.cutShortBy},
                          result.index);
        ++result.played;
    }
    return result;
}

ReopenedBatches reopenBatches(const ReopenWiring& w) {
    ReopenedBatches result;
    const auto open = w.journal.book().openBatches();
    if (open.empty()) {
        return result;
    }
    // The replay's own context: its messages are muted, and its channel descriptions and
    // trace offset are those each record kept, whatever the settings say today.
    MutedPrompts muted;
    ChannelTable channels = w.channels;
    float traceOffset = w.exports.SummaryTraceOffset;
    ExportContext replay(w.exports.factory, muted, channels, traceOffset);
    replay.clock = w.exports.clock;
    replay.ExcelApp = w.exports.ExcelApp;
    replay.Summaries = std::move(w.exports.Summaries);
    if (w.holdWrites) {
        w.holdWrites();
    }
    const ReplayTarget target{replay, channels, traceOffset};
    for (const BatchInfo* batch : open) {
        const std::size_t messagesBefore = muted.messages();
        BatchReplay played;
        try {
            played = replayBatch(target, w.journal, *batch, w.log);
        } catch (const std::exception& error) {
            result.failed.push_back(batch->workbook + ": " + error.what());
            note(w.log, channelName(w.channels, batch->channel) + ": batch " + batch->workbook +
                            " could not be reopened: " + error.what());
            continue;
        }
        w.channels.at(static_cast<std::size_t>(batch->channel)).WorkbookIndex = played.index;
        ++result.batches;
        result.reports += played.played;
        result.missing.insert(result.missing.end(), played.missing.begin(), played.missing.end());
        const std::size_t missing = played.missing.size();
        note(w.log,
             channelName(w.channels, batch->channel) + ": batch reopened, " + batch->workbook +
                 ", " + plural(played.played, "report", "reports") +
                 (missing != 0 ? ", " + std::to_string(missing) + " missing" : "") +
                 (muted.messages() != messagesBefore
                      ? ", " + plural(muted.messages() - messagesBefore, "message", "messages") +
                            " not shown again"
                      : ""));
    }
    w.exports.ExcelApp = replay.ExcelApp;
    w.exports.Summaries = std::move(replay.Summaries);
    if (w.adoptHeldWrites) {
        w.adoptHeldWrites();
    }
    return result;
}

std::size_t recoverReports(ReportExport& journaling, BatchJournal& journal, ChannelTable& channels,
                           const std::vector<ArchivedReport>& archive, EventLog* log) {
    std::size_t exported = 0;
    for (const ArchivedReport& report : archive) {
        if (journal.book().names(report.recorded)) {
            continue;
        }
        auto& record = channels.at(static_cast<std::size_t>(report.channel));
        const std::string name = channelName(channels, report.channel);
        auto text = readWhole(report.path);
        if (!text) {
            note(log, name + ": archive file " + utf8Of(report.path) +
                          " could not be read; left for the next start");
            continue;
        }
        const std::string cutShortBy = report.cutShort ? "the reader ended before its export" : "";
        if (text->empty()) {
            // Begun, and no byte came: nothing to export, and nothing to look at again.
            journal.reported(report.channel, {}, utf8Of(report.path), false, cutShortBy,
                             record.Description, 0.0F);
            continue;
        }
        ExportOutcome outcome;
        try {
            outcome = journaling.exportReport(report.channel, *text,
                                              ReportOrigin{utf8Of(report.path), cutShortBy},
                                              record.WorkbookIndex);
        } catch (const std::exception& error) {
            note(log, name + ": recovered report " + utf8Of(report.path) +
                          " could not be put into its workbook: " + error.what());
        }
        ++exported;
        note(log,
             name + ": report received before the reader ended, " + utf8Of(report.path) +
                 (outcome.pasted ? ", added to " + outcome.workbook + ", sheet " + outcome.sheet
                                 : ", not put on a data sheet"));
    }
    return exported;
}

std::string recoveryNotice(std::size_t reports) {
    return reports == 1
               ? "1 report received before the reader ended was added to its workbook."
               : std::to_string(reports) +
                     " reports received before the reader ended were added to their workbooks.";
}

std::string missingNotice(const std::vector<std::string>& missing) {
    std::string text = missing.size() == 1
                           ? std::string("A report of a reopened workbook is missing from the "
                                         "archive and was left out of its workbook:")
                           : std::to_string(missing.size()) +
                                 " reports of reopened workbooks are missing from the archive "
                                 "and were left out of their workbooks:";
    const std::size_t shown = std::min<std::size_t>(missing.size(), 5);
    for (std::size_t i = 0; i < shown; ++i) {
        text += "\r" + missing[i];
    }
    if (shown < missing.size()) {
        text += "\r... and " + std::to_string(missing.size() - shown) + " more (see the log).";
    }
    return text;
}

std::string damagedNotice(const std::filesystem::path& journal, std::size_t damaged) {
    return "The batch journal " + utf8Of(journal) + " had " +
           plural(damaged, "damaged record", "damaged records") +
           (damaged == 1 ? "; it was skipped." : "; they were skipped.") +
           " No report is lost: a report they named is kept in the archive and was put into "
           "its workbook again.";
}

void startBatches(BatchStart& s) {
    std::vector<std::string> existing;
    const auto archive = archivedReports(s.workbookFolder);
    for (const auto& report : archive) {
        existing.push_back(report.recorded);
    }
    const JournalReading& reading = s.journal.load(existing);
    if (!reading.existed) {
        note(s.reopen.log, "Batch journal made: " + utf8Of(s.journal.file()) + ", " +
                               plural(existing.size(), "archived report", "archived reports") +
                               " older than it");
    }
    if (!reading.failure.empty()) {
        note(s.reopen.log, "The batch journal " + utf8Of(s.journal.file()) +
                               " could not be read: " + reading.failure);
        s.tell("The batch journal " + utf8Of(s.journal.file()) +
               " could not be read: " + reading.failure +
               ". No workbook was reopened; the reports are still kept in the archive.");
        return; // recovering now would put every archived report in a workbook again
    }
    if (reading.tornEnd) {
        note(s.reopen.log, "The last record of the batch journal was cut off when the reader "
                           "ended; it was skipped");
    }
    if (reading.damaged != 0) {
        const std::string text = damagedNotice(s.journal.file(), reading.damaged);
        note(s.reopen.log, text);
        if (reading.damaged > reading.damagedTold) {
            s.tell(text);
            s.journal.damageTold();
        }
    }
    ReopenedBatches reopened;
    if (s.reopenOpenBatches) {
        reopened = reopenBatches(s.reopen);
    } else {
        note(s.reopen.log, "Open batches are left to the spreadsheet application, which keeps "
                           "its own workbooks");
    }
    if (!reopened.missing.empty()) {
        s.tell(missingNotice(reopened.missing));
    }
    for (const auto& failure : reopened.failed) {
        s.tell("A workbook could not be reopened: " + failure);
    }
    const std::size_t recovered =
        recoverReports(s.journaling, s.journal, s.reopen.channels, archive, s.reopen.log);
    if (recovered != 0) {
        const std::string text = recoveryNotice(recovered);
        note(s.reopen.log, text);
        s.tell(text);
    }
}

} // namespace kelvor
