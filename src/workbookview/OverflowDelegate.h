#pragma once

#include <QFont>
#include <QStyledItemDelegate>

namespace kelvor {

// Draws a cell's text as the spreadsheet does: text too long for its cell runs on over the
// empty cells to its right instead of being cut short, a General number too wide for its
// column loses decimals, and other numbers that cannot fit show "#" marks. Whether a text
// fits is decided with the measure the application fits its columns with, not with the
// screen's font, whose hinted widths differ: what fits a column in the application (and on
// paper) fits on screen, squeezed a little where the screen's font is wider.
class OverflowDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    // How a cell's text is put on screen.
    struct Layout {
        QString text; // lines separated by '\n'
        QFont font;
        QRect room; // the cell, or it and the empty cells its text runs on over
        QRectF box; // the room inside the cell's margins, where the text is aligned
        Qt::Alignment alignment;
        double squeeze = 1.0; // horizontal scale that brings the text into its room
        bool overflows = false;
    };

    using QStyledItemDelegate::QStyledItemDelegate;
    // Pixels of a digit of the sheet's standard font: column widths count them.
    void setDigitWidth(int pixels) { digit_ = pixels; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    Layout layout(const QStyleOptionViewItem& option, const QModelIndex& index) const;

    // The cell's margins, as in the column's width beyond its characters.
    static constexpr int LeftMargin = 2;
    static constexpr int RightMargin = 3;

private:
    // The characters of the standard font's digits that a cell this wide holds.
    double characters(int pixels) const;

    int digit_ = 7;
};

} // namespace kelvor
