#include "workbookview/SheetGrid.h"

#include "host/app/fit/RowFit.h"

#include <QFontMetrics>
#include <QHeaderView>

#include <algorithm>
#include <cmath>

namespace kelvor {

namespace {

constexpr double DefaultColumnWidth = 8.43; // characters

} // namespace

SheetGrid::SheetGrid(const Worksheet& sheet, const Styles& styles, QWidget* parent)
    : QTableView(parent), model_(sheet, styles) {
    setModel(&model_);
    setItemDelegate(&delegate_);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone); // cut off at the border, as the spreadsheet does
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    QFont standard("Arial");
    standard.setPixelSize(sheetPixels(10));
    setFont(standard);
    // Rows are as high as the sheet's, even where the style wants more room for a header
    // section than that (the Windows style 23 pixels, not 19).
    const int rowHeight = QFontMetrics(standard).height() + 4;
    verticalHeader()->setMinimumSectionSize(rowHeight);
    verticalHeader()->setDefaultSectionSize(rowHeight);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // The heights the workbook holds; rows it has not fitted yet get their wrapped lines'.
    const auto& heights = sheet.rowHeights();
    for (const auto& [row, cells] : sheet.rows()) {
        if (static_cast<int>(row) <= model_.rowCount() && !heights.contains(row)) {
            if (const auto height = fittedRowHeight(cells, styles)) {
                setRowHeight(static_cast<int>(row) - 1, sheetPixels(*height));
            }
        }
    }
    for (const auto& [row, height] : heights) {
        if (static_cast<int>(row) <= model_.rowCount()) {
            setRowHeight(static_cast<int>(row) - 1, sheetPixels(height));
        }
    }
    // Widths count characters of the standard font's digits, plus the cell's margins.
    const int digit = QFontMetrics(standard).horizontalAdvance('0');
    delegate_.setDigitWidth(digit);
    const auto pixels = [digit](double characters) {
        return static_cast<int>(std::lround(characters * digit + OverflowDelegate::LeftMargin +
                                            OverflowDelegate::RightMargin));
    };
    horizontalHeader()->setDefaultSectionSize(pixels(DefaultColumnWidth));
    for (const auto& [column, format] : sheet.columnFormats()) {
        if (format.width && static_cast<int>(column) <= model_.columnCount()) {
            setColumnWidth(static_cast<int>(column) - 1, pixels(*format.width));
            setColumnHidden(static_cast<int>(column) - 1, *format.width <= 0);
        }
    }
}

OverflowDelegate::Layout SheetGrid::layoutOf(int row, int column) const {
    const QModelIndex index = model_.index(row - 1, column - 1);
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    return delegate_.layout(option, index);
}

QString SheetGrid::displayed(int row, int column) const {
    return model_.data(model_.index(row - 1, column - 1), Qt::DisplayRole).toString();
}

QString SheetGrid::drawn(int row, int column) const {
    return layoutOf(row, column).text;
}

double SheetGrid::drawnWidth(int row, int column) const {
    const auto cell = layoutOf(row, column);
    const QFontMetrics metrics(cell.font);
    int widest = 0;
    for (const QString& line : cell.text.split('\n')) {
        widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    return widest * cell.squeeze;
}

bool SheetGrid::isBold(int row, int column) const {
    return model_.data(model_.index(row - 1, column - 1), Qt::FontRole).value<QFont>().bold();
}

Qt::Alignment SheetGrid::alignment(int row, int column) const {
    return model_.data(model_.index(row - 1, column - 1), Qt::TextAlignmentRole)
        .value<Qt::Alignment>();
}

} // namespace kelvor
