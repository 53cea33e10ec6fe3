#include "printing/CellPainter.h"

#include <QAbstractItemDelegate>
#include <QPainter>
#include <QStyleOptionViewItem>

namespace kelvor {

CellPainter::CellPainter(const Worksheet& sheet, const Styles& styles) : grid_(sheet, styles) {
    if (const auto used = sheet.usedRange()) {
        lastRow_ = static_cast<int>(used->lastRow);
        lastColumn_ = static_cast<int>(used->lastColumn);
    }
}

std::vector<double> CellPainter::rowHeights() const {
    std::vector<double> heights;
    heights.reserve(static_cast<std::size_t>(lastRow_));
    for (int row = 0; row < lastRow_; ++row) {
        heights.push_back(grid_.rowHeight(row));
    }
    return heights;
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
    int height = 0;
    for (int row = firstRow; row <= lastRow; ++row) {
        height += grid_.rowHeight(row - 1);
    }
    painter.save();
    painter.translate(at);
    painter.setClipRect(QRect(0, 0, width, height), Qt::IntersectClip);
    int y = 0;
    for (int row = firstRow; row <= lastRow; ++row) {
        const int rowHeight = grid_.rowHeight(row - 1);
        int x = 0;
        for (int column = firstColumn; column <= lastColumn; ++column) {
            if (grid_.isColumnHidden(column - 1)) {
                continue;
            }
            const int columnWidth = grid_.columnWidth(column - 1);
            // The cell's rectangle leaves its grid lines out, as on screen.
            option.rect = QRect(x, y, columnWidth - 1, rowHeight - 1);
            delegate.paint(&painter, option, model.index(row - 1, column - 1));
            x += columnWidth;
        }
        y += rowHeight;
    }
    painter.restore();
    return height;
}

} // namespace kelvor
