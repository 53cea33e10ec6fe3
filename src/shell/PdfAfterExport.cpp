#include "shell/PdfAfterExport.h"

#include "capture/ChannelName.h"
#include "export/DataSheet.h"
#include "export/SheetFileName.h"
#include "host/app/automation/BuiltinApplication.h"
#include "util/PathText.h"

#include <optional>

namespace kelvor {

namespace {

std::optional<BookView> bookAt(const ExportContext& exports, std::int32_t workbookIndex) {
    const auto* app = dynamic_cast<const BuiltinApplication*>(exports.ExcelApp.get());
    if (app == nullptr || app->closed() || workbookIndex <= 0) {
        return std::nullopt;
    }
    auto book = app->openBook(workbookIndex);
    if (book == nullptr) {
        return std::nullopt;
    }
    return BookView(std::move(book));
}

// Sheet keys are never given twice in a run, so a sheet whose key was not there before the
// export was made by it, in whichever workbook it went to.
std::set<std::uint64_t> sheetKeys(const std::optional<BookView>& book) {
    std::set<std::uint64_t> keys;
    if (book) {
        const Workbook& model = book->workbook();
        for (std::size_t i = 0; i < model.sheetCount(); ++i) {
            keys.insert(model.sheet(i).key());
        }
    }
    return keys;
}

} // namespace

ExportOutcome PdfAfterExport::exportReport(int channel, std::string& reportText,
                                           const ReportOrigin& origin,
                                           std::int32_t& workbookIndex) {
    const PdfQueue::Hold hold(w_.queue);
    if (!w_.enabled || !w_.enabled(channel)) {
        return w_.inner.exportReport(channel, reportText, origin, workbookIndex);
    }
    const auto before = sheetKeys(bookAt(w_.exports, workbookIndex));
    ExportOutcome outcome = w_.inner.exportReport(channel, reportText, origin, workbookIndex);
    if (outcome.pasted) {
        queueSheets(channel, outcome, workbookIndex, before);
    }
    return outcome;
}

void PdfAfterExport::queueSheets(int channel, const ExportOutcome& outcome,
                                 std::int32_t workbookIndex,
                                 const std::set<std::uint64_t>& before) {
    const auto book = bookAt(w_.exports, workbookIndex);
    if (!book) {
        return;
    }
    const Workbook& model = book->workbook();
    const std::string name = channelName(w_.channels, channel);
    const auto queue = [&](const Sheet& sheet) {
        w_.queue.add({.channelName = name,
                      .book = *book,
                      .sheetId = sheet.id(),
                      .path = pdfPath(w_.workbookFolder, book->filePath(), sheet.name())});
    };
    if (const auto data = model.indexOf(outcome.sheet);
        data && asWorksheet(model.sheet(*data)) != nullptr) {
        queue(model.sheet(*data));
    }
    // The test's chart, whatever name it ended with; the summary plot is the batch's, not the
    // test's.
    for (std::size_t i = 0; i < model.sheetCount(); ++i) {
        const Sheet& sheet = model.sheet(i);
        if (asChartSheet(sheet) != nullptr && !before.contains(sheet.key()) &&
            sheet.name() != SummaryPlotSheetName) {
            queue(sheet);
        }
    }
}

std::filesystem::path PdfAfterExport::pdfPath(const std::filesystem::path& workbookFolder,
                                              const std::filesystem::path& workbookFile,
                                              const std::string& sheetName) {
    return workbookFolder / "PDF" / workbookFile.stem() /
           pathFromUtf8(sheetFileName(sheetName) + ".pdf");
}

} // namespace kelvor
