#include "batches/JournalingExport.h"

#include <exception>

namespace kelvor {

ExportOutcome JournalingExport::exportReport(int channel, std::string& reportText,
                                             const ReportOrigin& origin,
                                             std::int32_t& workbookIndex) {
    // As the export sees them: the replay hands the same to the export again.
    const std::string description = channels_.at(static_cast<std::size_t>(channel)).Description;
    const float traceOffset = traceOffset_;
    ExportOutcome outcome;
    std::exception_ptr failure;
    try {
        outcome = inner_.exportReport(channel, reportText, origin, workbookIndex);
    } catch (...) {
        failure = std::current_exception();
    }
    std::string workbook = outcome.pasted ? outcome.workbook : std::string();
    if (workbook.empty() && workbookName_) {
        workbook = workbookName_(workbookIndex);
    }
    journal_.reported(channel, workbook, origin.archiveFile, outcome.pasted, origin.cutShortBy,
                      description, traceOffset);
    if (failure) {
        std::rethrow_exception(failure);
    }
    return outcome;
}

std::string workbookNameAt(const ExportContext& ctx, std::int32_t workbookIndex) {
    if (!ctx.ExcelApp || workbookIndex <= 0) {
        return {};
    }
    try {
        const auto books = ctx.ExcelApp->Workbooks();
        if (workbookIndex > books->Count()) {
            return {};
        }
        return books->Item(workbookIndex)->Name();
    } catch (const std::exception&) {
        return {};
    }
}

} // namespace kelvor
