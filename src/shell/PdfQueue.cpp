#include "shell/PdfQueue.h"

#include "Version.h"
#include "printing/PdfFile.h"
#include "util/PathText.h"

#include <exception>
#include <system_error>

namespace kelvor {

namespace {

bool holdsSheet(const BookView& book, std::uint32_t id) {
    const Workbook& model = book.workbook();
    for (std::size_t i = 0; i < model.sheetCount(); ++i) {
        if (model.sheet(i).id() == id) {
            return true;
        }
    }
    return false;
}

void erase(std::string& text, const std::string& part) {
    if (part.empty()) {
        return;
    }
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at)) {
        text.erase(at, part.size());
    }
}

// What a failure is about, without the file it happened to: a full disk or a folder that may
// not be written fails every PDF the same way.
std::string causeOf(std::string reason, const std::filesystem::path& path) {
    erase(reason, utf8Of(path));
    erase(reason, utf8Of(path.parent_path()));
    erase(reason, utf8Of(path.filename()));
    return reason;
}

} // namespace

PdfQueue::PdfQueue(Wiring wiring) : w_(std::move(wiring)) {
    turn_.setSingleShot(true);
    turn_.setInterval(0);
    connect(&turn_, &QTimer::timeout, this, &PdfQueue::writeNext);
}

void PdfQueue::add(PdfJob job) {
    jobs_.push_back(std::move(job));
    if (!turn_.isActive()) {
        turn_.start();
    }
}

void PdfQueue::release() {
    if (--held_ == 0 && !jobs_.empty() && !turn_.isActive()) {
        turn_.start();
    }
}

void PdfQueue::writeNext() {
    if (jobs_.empty() || held_ > 0) {
        return; // the last hold to go starts the next turn
    }
    const PdfJob job = std::move(jobs_.front());
    jobs_.pop_front();
    if (!jobs_.empty()) {
        turn_.start(); // the next sheet on the next turn, after whatever else is waiting
    }
    if (w_.folderIsOurs && !w_.folderIsOurs()) {
        note(job.channelName + ": PDF not written, " + utf8Of(job.path) +
             ": the workbook folder is not the one the reader wrote to before");
        return;
    }
    const std::string reason = writeOne(job);
    if (!reason.empty()) {
        failed(job, reason);
        return;
    }
    told_.clear(); // written: the next trouble is news again
    note(job.channelName + ": PDF written, " + utf8Of(job.path));
}

std::string PdfQueue::writeOne(const PdfJob& job) {
    if (!holdsSheet(job.book, job.sheetId)) {
        return "the sheet is no longer in the workbook";
    }
    std::error_code error;
    std::filesystem::create_directories(job.path.parent_path(), error);
    if (error) {
        return "its folder could not be made (" + error.message() + ")";
    }
    try {
        return w_.write ? w_.write(job.book, {job.sheetId}, job.path)
                        : savePdf(job.book, {job.sheetId}, job.path);
    } catch (const std::exception& failure) {
        return failure.what();
    }
}

void PdfQueue::failed(const PdfJob& job, const std::string& reason) {
    note(job.channelName + ": PDF not written, " + utf8Of(job.path) + ": " + reason);
    if (!told_.insert(causeOf(reason, job.path)).second) {
        return;
    }
    w_.prompts.show("The PDF " + utf8Of(job.path) + " could not be written: " + reason +
                        ". The reports are in their workbooks; the PDFs of the next tests are "
                        "tried as they come.",
                    ProgramTitle, PromptIcon::Exclamation, PromptButtons::Ok);
}

void PdfQueue::note(const std::string& line) const {
    if (w_.log != nullptr) {
        w_.log->write(line);
    }
}

} // namespace kelvor
