#include "printing/PdfFile.h"

#include "util/PathText.h"

#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <optional>

namespace kelvor {

namespace {

std::optional<std::size_t> indexOfId(const Workbook& model, std::uint32_t id) {
    for (std::size_t i = 0; i < model.sheetCount(); ++i) {
        if (model.sheet(i).id() == id) {
            return i;
        }
    }
    return std::nullopt;
}

} // namespace

// One plain page per sheet with the sheet's name on it.
std::string savePdf(const BookView& book, const std::vector<std::uint32_t>& sheetIds,
                    const std::filesystem::path& path) {
    const Workbook& model = book.workbook();
    std::vector<std::string> names;
    for (const std::uint32_t id : sheetIds) {
        const auto index = indexOfId(model, id);
        if (!index) {
            return "the sheet is no longer in the workbook";
        }
        names.push_back(model.sheet(*index).name());
    }
    if (names.empty()) {
        return "no sheet to write";
    }
    // A temporary file beside the PDF, renamed over it only when every byte is written.
    QSaveFile file(QString::fromStdString(utf8Of(path)));
    if (!file.open(QIODevice::WriteOnly)) {
        return "the file could not be made: " + file.errorString().toStdString();
    }
    {
        QPdfWriter writer(&file);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setTitle(QString::fromStdString(names.front()));
        writer.setCreator("KelvorReader2");
        QPainter painter(&writer);
        if (!painter.isActive()) {
            file.cancelWriting();
            return "the PDF could not be begun";
        }
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (i != 0) {
                writer.newPage();
            }
            painter.drawText(QRect(0, 0, writer.width(), writer.height() / 8), Qt::AlignCenter,
                             QString::fromStdString(names[i]));
        }
    }
    if (!file.commit()) {
        return "the file could not be written: " + file.errorString().toStdString();
    }
    return {};
}

} // namespace kelvor
