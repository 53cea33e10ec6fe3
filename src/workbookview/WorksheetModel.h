#pragma once

#include "host/model/Styles.h"
#include "host/model/Worksheet.h"

#include <QAbstractTableModel>

namespace kelvor {

// A worksheet's cells as a read-only table: each value as its number format displays it,
// bold and alignment as the cell's style has them. Cells are looked up when drawn, so a
// sheet of any size opens at once.
class WorksheetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // A number's value (double) when its format is General, which gives up decimals to fit
    // the column; true for a number in any other format, which shows "#" when it cannot fit.
    static constexpr int NumberRole = Qt::UserRole + 1;

    WorksheetModel(const Worksheet& sheet, const Styles& styles, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The cell's font as the workbook has it, which the application measures text in.
    const Font& fontOf(const QModelIndex& index) const;

private:
    const Style& styleOf(const Cell* cell, std::uint32_t column) const;

    const Worksheet& sheet_;
    const Styles& styles_;
    int rows_;
    int columns_;
};

// Sheets are drawn at 96 dots an inch in whole pixels, the scale their column widths were
// measured for, whatever the screen's own: 10 pt is 13 pixels.
int sheetPixels(double points);

// Column letters as the spreadsheet writes them: 1 "A", 27 "AA".
QString columnLetters(int column);

} // namespace kelvor
