#include "shell/BatchListing.h"

#include "batches/BatchReopening.h"
#include "batches/MutedPrompts.h"
#include "export/ExportContext.h"
#include "host/app/automation/BuiltinApplication.h"
#include "host/app/automation/BuiltinApplicationFactory.h"
#include "util/LocalTime.h"
#include "util/PathText.h"

#include <exception>

namespace kelvor {
namespace {

std::optional<LabTime> labTime(const std::optional<WallClock::time_point>& when) {
    if (!when) {
        return std::nullopt;
    }
    return localDateTime(*when);
}

// Every application it makes holds its writes from the start, so that an ended batch's file
// is never written over by a copy made to be looked at, not even by a replacement application
// the export starts after a failure.
class HoldingFactory final : public xl::ApplicationFactory {
public:
    explicit HoldingFactory(BuiltinApplicationFactory& inner) : inner_(inner) {}
    std::shared_ptr<xl::Application> create() override {
        auto made = inner_.create();
        if (auto* builtin = dynamic_cast<BuiltinApplication*>(made.get())) {
            builtin->holdWrites(true);
        }
        last_ = std::dynamic_pointer_cast<BuiltinApplication>(made);
        return made;
    }
    std::shared_ptr<BuiltinApplication> last() const { return last_; }

private:
    BuiltinApplicationFactory& inner_;
    std::shared_ptr<BuiltinApplication> last_;
};

} // namespace

std::vector<BatchRow> batchRows(const BatchJournal& journal, int channel,
                                const std::filesystem::path& workbookFolder) {
    std::vector<BatchRow> rows;
    for (const BatchInfo* batch : journal.book().batchesOf(channel)) {
        BatchRow row;
        row.fileName = batch->workbook + ".xlsx";
        row.path = workbookFolder / pathFromUtf8(row.fileName);
        row.open = batch->state == BatchInfo::State::Open;
        row.firstTest = labTime(batch->firstReport);
        row.lastTest = labTime(batch->lastReport);
        row.tests = static_cast<int>(batch->reports);
        rows.push_back(std::move(row));
    }
    return rows;
}

std::optional<BookView> openEndedBatch(BuiltinApplicationFactory& factory,
                                       const BatchJournal& journal, const BatchRow& row,
                                       EventLog* log) {
    const BatchInfo* found = nullptr;
    for (const BatchInfo& batch : journal.book().batches()) {
        if (batch.workbook + ".xlsx" == row.fileName && batch.state != BatchInfo::State::Open) {
            found = &batch;
        }
    }
    if (found == nullptr) {
        return std::nullopt;
    }
    HoldingFactory holding(factory);
    MutedPrompts muted;
    ChannelTable channels{};
    float traceOffset = 0.0F;
    ExportContext replay(holding, muted, channels, traceOffset);
    try {
        replay.ExcelApp = holding.create();
        const BatchReplay played =
            replayBatch({replay, channels, traceOffset}, journal, *found, log);
        const auto application = holding.last();
        if (!application) {
            return std::nullopt;
        }
        auto book = application->openBook(played.index);
        if (!book) {
            return std::nullopt;
        }
        return BookView(std::move(book));
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

} // namespace kelvor
