#include "printing/SheetCsv.h"

#include "platform/DurableFile.h"
#include "util/CsvText.h"
#include "workbookview/WorksheetModel.h"

namespace kelvor {

std::string sheetCsv(const Worksheet& sheet, const Styles& styles) {
    std::string text = "\xEF\xBB\xBF";
    const auto used = sheet.usedRange();
    if (!used) {
        return text;
    }
    // The grid's own model: the same text for each cell as the window shows.
    const WorksheetModel model(sheet, styles);
    std::vector<std::string> fields(used->lastColumn);
    for (std::uint32_t row = 1; row <= used->lastRow; ++row) {
        for (std::uint32_t column = 1; column <= used->lastColumn; ++column) {
            fields[column - 1] =
                model
                    .data(model.index(static_cast<int>(row - 1), static_cast<int>(column - 1)),
                          Qt::DisplayRole)
                    .toString()
                    .toStdString();
        }
        text += csvRecord(fields);
    }
    return text;
}

std::string saveSheetCsv(const Worksheet& sheet, const Styles& styles,
                         const std::filesystem::path& path) {
    try {
        ReplacingFile file(path);
        file.write(sheetCsv(sheet, styles));
        file.commit();
    } catch (const FileError& error) {
        return "The CSV file could not be saved: " + std::string(error.what());
    }
    return {};
}

} // namespace kelvor
