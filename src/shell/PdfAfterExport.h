#pragma once

#include "capture/ChannelInfo.h"
#include "capture/ReportExport.h"
#include "export/ExportContext.h"
#include "shell/PdfQueue.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <set>
#include <string>

namespace kelvor {

// The export that, for a channel that saves a PDF of each test, queues the sheets the export
// made (the data sheet and its chart sheet) for PDF files in
// <workbook folder>/PDF/<workbook file name>/<sheet>.pdf. The export returns first; the
// queue writes them later, never while any export of any channel runs. A report that made no
// data sheet makes no PDF.
class PdfAfterExport final : public ReportExport {
public:
    struct Wiring {
        ReportExport& inner;
        PdfQueue& queue;
        const ExportContext& exports; // its application holds the workbooks
        const ChannelTable& channels;
        std::function<bool(int channel)> enabled;
        std::filesystem::path workbookFolder;
    };

    explicit PdfAfterExport(Wiring wiring) : w_(std::move(wiring)) {}

    using ReportExport::exportReport;
    ExportOutcome exportReport(int channel, std::string& reportText, const ReportOrigin& origin,
                               std::int32_t& workbookIndex) override;

    // Where the PDF of a sheet of the workbook whose file is `workbookFile` goes.
    static std::filesystem::path pdfPath(const std::filesystem::path& workbookFolder,
                                         const std::filesystem::path& workbookFile,
                                         const std::string& sheetName);

private:
    void queueSheets(int channel, const ExportOutcome& outcome, std::int32_t workbookIndex,
                     const std::set<std::uint64_t>& before);

    Wiring w_;
};

} // namespace kelvor
