#pragma once

#include "batches/BatchJournal.h"
#include "host/view/BookView.h"
#include "workbookview/BatchRow.h"

#include <filesystem>
#include <optional>
#include <vector>

namespace kelvor {

class BuiltinApplicationFactory;
class EventLog;

// The channel's batches as its batch list shows them, from the journal: open and ended,
// with the times of their first and last reports.
std::vector<BatchRow> batchRows(const BatchJournal& journal, int channel,
                                const std::filesystem::path& workbookFolder);

// A batch that has ended, played again from the archive into an application of its own that
// never writes a file, for a read-only window. Nothing when the journal does not know it or it
// cannot be made again.
std::optional<BookView> openEndedBatch(BuiltinApplicationFactory& factory,
                                       const BatchJournal& journal, const BatchRow& row,
                                       EventLog* log);

} // namespace kelvor
