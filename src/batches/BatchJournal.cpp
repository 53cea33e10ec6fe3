#include "batches/BatchJournal.h"

#include "util/PathText.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <system_error>

namespace kelvor {

using Kind = JournalRecord::Kind;

std::filesystem::path batchJournalPath(const std::filesystem::path& workbookFolder) {
    return workbookFolder / "Received" / "Batches.journal";
}

JournalReading readJournal(const std::filesystem::path& path) {
    JournalReading reading;
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return reading;
    }
    reading.existed = true;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        reading.failure = "it could not be opened";
        return reading;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        reading.failure = "it could not be read";
        return reading;
    }
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            reading.tornEnd = true; // a kill while the line was appended
            break;
        }
        const std::string_view line(text.data() + start, end - start);
        start = end + 1;
        if (line.empty()) {
            continue;
        }
        if (auto record = parseJournalLine(line)) {
            if (record->kind == Kind::Told) {
                reading.damagedTold = std::max(reading.damagedTold, record->damaged);
            }
            reading.records.push_back(std::move(*record));
        } else {
            ++reading.damaged;
        }
    }
    return reading;
}

BatchInfo* BatchBook::current(const std::string& workbook) {
    // The latest batch of that name: a file name comes back only when its file was removed.
    for (auto it = batches_.rbegin(); it != batches_.rend(); ++it) {
        if (it->workbook == workbook) {
            return &*it;
        }
    }
    return nullptr;
}

BatchInfo& BatchBook::opened(int channel, const std::string& workbook, WallClock::time_point when) {
    // A channel has one batch at a time: a new workbook ends the one before.
    for (auto& batch : batches_) {
        if (batch.channel == channel && batch.state == BatchInfo::State::Open) {
            batch.state = BatchInfo::State::Superseded;
        }
        if (batch.workbook == workbook && batch.state == BatchInfo::State::Open) {
            batch.state = BatchInfo::State::Superseded;
        }
    }
    BatchInfo batch;
    batch.channel = channel;
    batch.workbook = workbook;
    batch.opened = when;
    batches_.push_back(std::move(batch));
    return batches_.back();
}

void BatchBook::apply(const JournalRecord& record, std::size_t position) {
    switch (record.kind) {
    case Kind::Open:
        opened(record.channel, record.workbook, record.when);
        break;
    case Kind::Report:
    case Kind::Summarize: {
        if (record.kind == Kind::Report) {
            named_.insert(record.archiveFile);
        }
        if (record.workbook.empty()) {
            break;
        }
        BatchInfo* batch = current(record.workbook);
        if (batch == nullptr || batch->state != BatchInfo::State::Open) {
            // Its `open` record was damaged (or the batch was closed meanwhile, which the
            // program does not do): the record still belongs to a batch of that workbook.
            if (batch == nullptr) {
                batch = &opened(record.channel, record.workbook, record.when);
            }
        }
        batch->entries.push_back(position);
        if (record.kind == Kind::Report) {
            ++batch->reports;
            if (!batch->firstReport) {
                batch->firstReport = record.when;
            }
            batch->lastReport = record.when;
        }
        break;
    }
    case Kind::Close:
        if (BatchInfo* batch = current(record.workbook)) {
            batch->state = BatchInfo::State::Closed;
        }
        break;
    case Kind::Known:
        named_.insert(record.archiveFile);
        break;
    case Kind::Told:
        break;
    }
}

std::vector<const BatchInfo*> BatchBook::batchesOf(int channel) const {
    std::vector<const BatchInfo*> out;
    for (const auto& batch : batches_) {
        if (batch.channel == channel) {
            out.push_back(&batch);
        }
    }
    return out;
}

std::vector<const BatchInfo*> BatchBook::openBatches() const {
    std::vector<const BatchInfo*> out;
    for (const auto& batch : batches_) {
        if (batch.state == BatchInfo::State::Open) {
            out.push_back(&batch);
        }
    }
    return out;
}

const BatchInfo* BatchBook::openBatchNamed(const std::string& workbook) const {
    for (const auto& batch : batches_) {
        if (batch.workbook == workbook && batch.state == BatchInfo::State::Open) {
            return &batch;
        }
    }
    return nullptr;
}

BatchJournal::BatchJournal(std::filesystem::path file, Clock clock, Trouble trouble)
    : file_(std::move(file)), workbookFolder_(file_.parent_path().parent_path()),
      clock_(std::move(clock)), trouble_(std::move(trouble)) {}

const JournalReading& BatchJournal::load(const std::vector<std::string>& existingArchiveFiles) {
    if (folderIsOurs_ && !folderIsOurs_()) {
        // The journal of the folder that is missing cannot be read, and none may be made in
        // the folder at its path: this run's records wait for the real one to return.
        reading_ = JournalReading{};
        records_.clear();
        book_ = BatchBook{};
        written_ = 0;
        return reading_;
    }
    reading_ = readJournal(file_);
    bool wasMade = reading_.existed;
    if (!reading_.existed) {
        // Made whole or not at all: a kill half-way through must not leave a journal that
        // names only some of the old reports, the rest of which would then be "recovered".
        std::string text;
        for (const auto& archive : existingArchiveFiles) {
            JournalRecord known;
            known.kind = Kind::Known;
            known.when = clock_();
            known.archiveFile = archive;
            text += journalLine(known);
            reading_.records.push_back(known);
        }
        try {
            std::error_code ignored;
            std::filesystem::create_directories(file_.parent_path(), ignored);
            ReplacingFile made(file_);
            made.write(text);
            made.commit();
            wasMade = true;
        } catch (const FileError& e) {
            failed(e.reason());
        }
    } else if (reading_.tornEnd) {
        // The cut-off line is worth nothing; the next record starts on a line of its own.
        std::error_code error;
        const auto size = std::filesystem::file_size(file_, error);
        std::ifstream in(file_, std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
        const auto whole = text.rfind('\n');
        if (!error && size == text.size()) {
            std::filesystem::resize_file(file_, whole == std::string::npos ? 0 : whole + 1, error);
        }
        freshLine_ = !error;
    }
    records_ = reading_.records;
    // Records of a journal that could not be made are written with the first that can be.
    written_ = wasMade ? records_.size() : 0;
    book_ = BatchBook{};
    for (std::size_t i = 0; i < records_.size(); ++i) {
        book_.apply(records_[i], i);
    }
    return reading_;
}

std::string BatchJournal::relativeArchivePath(const std::string& archiveFile) const {
    if (archiveFile.empty()) {
        return {};
    }
    const auto path = pathFromUtf8(archiveFile);
    const auto relative =
        path.lexically_normal().lexically_relative(workbookFolder_.lexically_normal());
    if (relative.empty() || *relative.begin() == "..") {
        return utf8Of(path.generic_string());
    }
    std::string out;
    for (const auto& part : relative) {
        if (!out.empty()) {
            out += '/';
        }
        out += utf8Of(part);
    }
    return out;
}

std::filesystem::path BatchJournal::archivePath(const std::string& recorded) const {
    // Recorded with '/' on every system; the system's own separators in what the user reads.
    auto path = pathFromUtf8(recorded);
    path.make_preferred();
    return path.is_absolute() ? path : workbookFolder_ / path;
}

void BatchJournal::openedIfNew(int channel, const std::string& workbook,
                               const std::string& description) {
    if (workbook.empty() || book_.openBatchNamed(workbook) != nullptr) {
        return;
    }
    JournalRecord open;
    open.kind = Kind::Open;
    open.channel = channel;
    open.workbook = workbook;
    open.description = description;
    append(std::move(open));
}

void BatchJournal::reported(int channel, const std::string& workbook,
                            const std::string& archiveFile, bool pasted,
                            const std::string& cutShortBy, const std::string& description,
                            float traceOffset) {
    openedIfNew(channel, workbook, description);
    JournalRecord report;
    report.kind = Kind::Report;
    report.channel = channel;
    report.workbook = workbook;
    report.archiveFile = relativeArchivePath(archiveFile);
    report.pasted = pasted;
    report.cutShortBy = cutShortBy;
    report.description = description;
    report.traceOffset = traceOffset;
    append(std::move(report));
}

void BatchJournal::summarized(int channel, const std::string& workbook,
                              const std::string& description, float traceOffset) {
    if (workbook.empty()) {
        return;
    }
    openedIfNew(channel, workbook, description);
    JournalRecord summary;
    summary.kind = Kind::Summarize;
    summary.channel = channel;
    summary.workbook = workbook;
    summary.traceOffset = traceOffset;
    append(std::move(summary));
}

void BatchJournal::closed(int channel, const std::string& workbook) {
    JournalRecord close;
    close.kind = Kind::Close;
    close.channel = channel;
    close.workbook = workbook;
    append(std::move(close));
}

void BatchJournal::damageTold() {
    JournalRecord told;
    told.kind = Kind::Told;
    told.damaged = reading_.damaged;
    append(std::move(told));
}

void BatchJournal::append(JournalRecord record) {
    record.when = clock_();
    // Known to the running program whether or not it reached the file.
    records_.push_back(record);
    book_.apply(records_.back(), records_.size() - 1);
    retryHeld();
}

void BatchJournal::retryHeld() {
    if (written_ == records_.size() || (folderIsOurs_ && !folderIsOurs_())) {
        return;
    }
    try {
        if (!out_) {
            std::error_code ignored;
            std::filesystem::create_directories(file_.parent_path(), ignored);
            out_ = AppendFile::openForAppend(file_);
        }
        for (; written_ < records_.size(); ++written_) {
            const std::string line = journalLine(records_[written_]);
            // A record is complete only with its newline; one cut off before it stays on a
            // line of its own, so the next record is read whole.
            out_->append(freshLine_ ? line : "\n" + line);
            freshLine_ = true;
        }
        out_->sync();
        troubleTold_ = false;
    } catch (const FileError& e) {
        out_.reset();
        freshLine_ = false;
        failed(e.reason());
    }
}

void BatchJournal::failed(const std::string& reason) {
    if (troubleTold_ || !trouble_) {
        return;
    }
    troubleTold_ = true;
    trouble_("The batch journal " + utf8Of(file_) + " could not be written: " + reason +
             ". Reports are still put into the workbooks.");
}

} // namespace kelvor
