#pragma once

#include "host/model/Styles.h"
#include "host/model/Worksheet.h"
#include "workbookview/OverflowDelegate.h"
#include "workbookview/WorksheetModel.h"

#include <QTableView>

namespace kelvor {

// The grid of one worksheet, its columns as wide and its rows as high as the workbook sets
// them; a row of automatic height is as high as its wrapped lines, as the application fits it.
class SheetGrid : public QTableView {
    Q_OBJECT
public:
    SheetGrid(const Worksheet& sheet, const Styles& styles, QWidget* parent = nullptr);

    // The text of a cell (1-based row and column) as its number format displays it, and as
    // it is drawn in the column's width (lines separated by '\n').
    QString displayed(int row, int column) const;
    QString drawn(int row, int column) const;
    // The pixels the drawn text takes across, after any squeeze into its room.
    double drawnWidth(int row, int column) const;
    bool isBold(int row, int column) const;
    Qt::Alignment alignment(int row, int column) const;

private:
    OverflowDelegate::Layout layoutOf(int row, int column) const;

    WorksheetModel model_;
    OverflowDelegate delegate_;
};

} // namespace kelvor
