#include "printing/PdfFile.h"

#include "platform/DurableFile.h"
#include "printing/SheetPrinting.h"

#include <QBuffer>
#include <QPageSize>
#include <QPdfWriter>

namespace kelvor {

namespace {

// The paper the first sheet asks for; sheets of one workbook share it.
QPageSize paperOf(const Workbook& book, const std::vector<std::uint32_t>& sheetIds) {
    for (std::size_t i = 0; i < book.sheetCount(); ++i) {
        const Sheet& sheet = book.sheet(i);
        if (sheetIds.empty() || sheet.id() != sheetIds.front()) {
            continue;
        }
        const PageSetup* setup = nullptr;
        if (const auto* worksheet = asWorksheet(sheet)) {
            setup = &worksheet->pageSetup();
        } else if (const auto* chartSheet = asChartSheet(sheet)) {
            setup = &chartSheet->pageSetup();
        }
        if (setup != nullptr && setup->paperSize == PaperLetter) {
            return QPageSize(QPageSize::Letter);
        }
    }
    return QPageSize(QPageSize::A4);
}

} // namespace

std::string savePdf(const BookView& book, const std::vector<std::uint32_t>& sheetIds,
                    const std::filesystem::path& path) {
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setPageSize(paperOf(book.workbook(), sheetIds));
        writer.setTitle(QString::fromStdWString(book.filePath().stem().wstring()));
        writer.setCreator("KelvorReader2");
        printSheets(book, sheetIds, writer);
    } // the writer ends the document here
    if (bytes.isEmpty()) {
        return "The PDF could not be made.";
    }
    try {
        ReplacingFile file(path);
        file.write(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
        file.commit();
    } catch (const FileError& error) {
        return "The PDF could not be saved: " + std::string(error.what());
    }
    return {};
}

} // namespace kelvor
