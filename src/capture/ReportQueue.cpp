#include "capture/ReportQueue.h"

#include <exception>
#include <utility>

namespace kelvor {

namespace {
constexpr const char* ProgramTitle = "KelvorReader2";
} // namespace

void ReportQueue::note(const std::string& event) {
    if (w_.log != nullptr) {
        w_.log->write(event);
    }
}

void ReportQueue::push(int channel, std::string text, std::string archiveFile) {
    queues_.at(index(channel)).push_back({std::move(text), std::move(archiveFile)});
}

std::string ReportQueue::exportOldest(int n) {
    auto& queue = queues_.at(index(n));
    if (exporting_ || queue.empty()) {
        return {};
    }
    QueuedReport report = std::move(queue.front());
    queue.pop_front();
    const std::string name = channelName(w_.channels, n);
    const std::size_t characters = report.text.size();

    exporting_ = true;
    ExportOutcome outcome;
    try {
        outcome = w_.exporter.exportReport(n, report.text, report.archiveFile,
                                           w_.channels[n].WorkbookIndex);
    } catch (const std::exception& error) {
        // The export tells its own failures; this is one it could not, told here once.
        std::string text =
            "The report of " + name + " could not be put into its workbook: " + error.what() + ".";
        if (!report.archiveFile.empty()) {
            text += "\rIt is kept as received in " + report.archiveFile + ".";
        }
        w_.prompts.show(text, ProgramTitle, PromptIcon::Critical, PromptButtons::Ok);
    }
    exporting_ = false;

    if (outcome.notReport) {
        // Only a beep told it so far: whoever comes later reads it here.
        const std::string told =
            "last transmission was not a test report: " + std::to_string(characters) +
            " characters, " +
            (report.archiveFile.empty() ? "not kept" : "kept in " + report.archiveFile);
        note(name + ": " + told);
        return told;
    }
    if (outcome.pasted) {
        note(name + ": report exported to " + outcome.workbook + ", sheet " + outcome.sheet);
    } else {
        note(name + ": report not put on a data sheet" +
             (report.archiveFile.empty() ? "" : " (kept in " + report.archiveFile + ")"));
    }
    return {};
}

} // namespace kelvor
