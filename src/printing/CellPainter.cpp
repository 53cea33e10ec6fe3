#include "printing/CellPainter.h"

#include "host/app/fit/RowFit.h"

#include <QAbstractItemDelegate>
#include <QPainter>
#include <QStyleOptionViewItem>

#include <cmath>

namespace kelvor {

CellPainter::CellPainter(const Worksheet& sheet, const Styles& styles) : grid_(sheet, styles) {
    if (const auto used = sheet.usedRange()) {
        lastRow_ = static_cast<int>(used->lastRow);
        lastColumn_ = static_cast<int>(used->lastColumn);
    }
    rowHeights_.assign(static_cast<std::size_t>(lastRow_), lineHeight(10) * PixelsPerPoint);
    const auto& fitted = sheet.rowHeights();
    for (const auto& [row, rowCells] : sheet.rows()) {
        if (static_cast<int>(row) <= lastRow_ && !fitted.contains(row)) {
            if (const auto height = fittedRowHeight(rowCells, styles)) {
                rowHeights_[row - 1] = *height * PixelsPerPoint;
            }
        }
    }
    for (const auto& [row, height] : fitted) {
        if (static_cast<int>(row) <= lastRow_) {
            rowHeights_[row - 1] = height * PixelsPerPoint;
        }
    }
}

std::vector<double> CellPainter::rowHeights() const {
    return rowHeights_;
}

std::vector<double> CellPainter::columnWidths() const {
    std::vector<double> widths;
    widths.reserve(static_cast<std::size_t>(lastColumn_));
    for (int column = 0; column < lastColumn_; ++column) {
        widths.push_back(grid_.isColumnHidden(column) ? 0 : grid_.columnWidth(column));
    }
    return widths;
}

double CellPainter::paint(QPainter& painter, QPointF at, int firstRow, int lastRow, int firstColumn,
                          int lastColumn) const {
    const QAbstractItemModel& model = *grid_.model();
    QAbstractItemDelegate& delegate = *grid_.itemDelegate();
    QStyleOptionViewItem option;
    option.initFrom(&grid_);
    option.widget = &grid_;
    option.state = QStyle::State_Enabled;
    option.palette.setColor(QPalette::Text, Qt::black);
    option.font = grid_.font();
    int width = 0;
    for (int column = firstColumn; column <= lastColumn; ++column) {
        width += grid_.isColumnHidden(column - 1) ? 0 : grid_.columnWidth(column - 1);
    }
    double height = 0;
    for (int row = firstRow; row <= lastRow; ++row) {
        height += rowPixels(row);
    }
    painter.save();
    painter.translate(at);
    painter.setClipRect(QRectF(0, 0, width, height), Qt::IntersectClip);
    double y = 0;
    for (int row = firstRow; row <= lastRow; ++row) {
        const double bottom = y + rowPixels(row);
        const int top = static_cast<int>(std::lround(y));
        const int rowHeight = static_cast<int>(std::lround(bottom)) - top;
        // A text from the columns before the block may run on into it, as on screen.
        int x = 0;
        for (int column = firstColumn - 1; column >= 1; --column) {
            x -= grid_.isColumnHidden(column - 1) ? 0 : grid_.columnWidth(column - 1);
            const QModelIndex index = model.index(row - 1, column - 1);
            if (!index.data(Qt::DisplayRole).toString().isEmpty()) {
                option.rect = QRect(x, top, grid_.columnWidth(column - 1) - 1, rowHeight - 1);
                delegate.paint(&painter, option, index);
                break;
            }
        }
        x = 0;
        for (int column = firstColumn; column <= lastColumn; ++column) {
            if (grid_.isColumnHidden(column - 1)) {
                continue;
            }
            const int columnWidth = grid_.columnWidth(column - 1);
            // The cell's rectangle leaves its grid lines out, as on screen.
            option.rect = QRect(x, top, columnWidth - 1, rowHeight - 1);
            delegate.paint(&painter, option, model.index(row - 1, column - 1));
            x += columnWidth;
        }
        y = bottom;
    }
    painter.restore();
    return height;
}

} // namespace kelvor
