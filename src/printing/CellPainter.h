#pragma once

#include "host/model/Styles.h"
#include "host/model/Worksheet.h"
#include "workbookview/SheetGrid.h"

#include <QPointF>

#include <vector>

class QPainter;

namespace kelvor {

// Draws a worksheet's cells on paper as the workbook window's grid draws them on screen: the
// same display texts, fonts, alignment, overflow and "#" marks and column widths. Rows are as
// high as the workbook has them (12.75 points unless fitted), not as the screen's font wants
// them, so that pages hold the rows a spreadsheet prints on them. Its units are the grid's
// pixels (96 to the inch); no grid lines and no selection, as a spreadsheet prints by default.
class CellPainter {
public:
    CellPainter(const Worksheet& sheet, const Styles& styles);

    // The last row and column holding something; 0 for an empty sheet.
    int lastRow() const { return lastRow_; }
    int lastColumn() const { return lastColumn_; }
    // Sizes of rows 1 to lastRow and columns 1 to lastColumn, in pixels.
    std::vector<double> rowHeights() const;
    std::vector<double> columnWidths() const;

    // Rows `firstRow` to `lastRow` of columns `firstColumn` to `lastColumn`, their top left
    // corner at `at`; returns the height drawn. Nothing is drawn outside the block.
    double paint(QPainter& painter, QPointF at, int firstRow, int lastRow, int firstColumn,
                 int lastColumn) const;

private:
    double rowPixels(int row) const { return rowHeights_[static_cast<std::size_t>(row - 1)]; }

    SheetGrid grid_;
    std::vector<double> rowHeights_;
    int lastRow_ = 0;
    int lastColumn_ = 0;
};

// Points to the grid's pixels.
inline constexpr double PixelsPerPoint = 96.0 / 72.0;

} // namespace kelvor
