#include "capture/ReportQueue.h"

#include "Version.h"

#include <exception>
#include <utility>

namespace kelvor {

void ReportQueue::note(const std::string& event) {
    if (w_.log != nullptr) {
        w_.log->write(event);
    }
}

void ReportQueue::push(int channel, std::string text, ReportOrigin origin) {
    queues_.at(index(channel)).push_back({std::move(text), std::move(origin)});
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
    const std::string& archiveFile = report.origin.archiveFile;

    exporting_ = true;
    ExportOutcome outcome;
    try {
        outcome =
            w_.exporter.exportReport(n, report.text, report.origin, w_.channels[n].WorkbookIndex);
    } catch (const std::exception& error) {
        // The export tells its own failures; this is one it could not, told here once.
        std::string text =
            "The report of " + name + " could not be put into its workbook: " + error.what() + ".";
        if (!archiveFile.empty()) {
            text += "\rIt is kept as received in " + archiveFile + ".";
        }
        w_.prompts.show(text, ProgramTitle, PromptIcon::Critical, PromptButtons::Ok);
    }
    exporting_ = false;

    if (outcome.notReport) {
        // Only a beep told it so far: whoever comes later reads it here.
        const std::string told =
            "last transmission was not a test report: " + std::to_string(characters) +
            " characters, " + (archiveFile.empty() ? "not kept" : "kept in " + archiveFile);
        note(name + ": " + told);
        return told;
    }
    if (outcome.pasted) {
        note(name + ": report exported to " + outcome.workbook + ", sheet " + outcome.sheet);
    } else {
        note(name + ": report not put on a data sheet" +
             (archiveFile.empty() ? "" : " (kept in " + archiveFile + ")"));
    }
    return {};
}

} // namespace kelvor
