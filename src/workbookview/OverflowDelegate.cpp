#include "workbookview/OverflowDelegate.h"

#include "host/app/fit/ColumnWidth.h"
#include "workbookview/WorksheetModel.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTableView>

#include <algorithm>

namespace kelvor {

namespace {

// Column widths are whole pixels: a text the application fits exactly may come out half a
// pixel short of it.
constexpr double Tolerance = 0.5;

// A text's width as the application measures it, in characters of the standard font's digits.
double measured(const QString& text, const Font& font) {
    return fittedColumnWidth(text.toStdString(), font);
}

// The text of a number narrowed to `room` characters, as the spreadsheet narrows it.
QString fittedNumber(const QString& shown, const QVariant& number, const Font& font, double room) {
    if (measured(shown, font) <= room) {
        return shown;
    }
    if (number.typeId() == QMetaType::Double && !shown.contains('E')) {
        const qsizetype point = shown.indexOf('.');
        for (int decimals = point < 0 ? -1 : static_cast<int>(shown.size() - point - 2);
             decimals >= 0; --decimals) {
            QString text = QString::number(number.toDouble(), 'f', decimals);
            if (text.contains('.')) {
                while (text.endsWith('0')) {
                    text.chop(1);
                }
                if (text.endsWith('.')) {
                    text.chop(1);
                }
            }
            if (measured(text, font) <= room) {
                return text;
            }
        }
    }
    return QString(std::max(1, static_cast<int>(room / measured("#", font))), '#');
}

int widestLine(const QString& text, const QFontMetrics& metrics) {
    int widest = 0;
    for (const QString& line : text.split('\n')) {
        widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    return widest;
}

} // namespace

double OverflowDelegate::characters(int pixels) const {
    return (pixels - LeftMargin - RightMargin + Tolerance) / digit_;
}

OverflowDelegate::Layout OverflowDelegate::layout(const QStyleOptionViewItem& option,
                                                  const QModelIndex& index) const {
    Layout out;
    out.text = index.data(Qt::DisplayRole).toString();
    out.font = option.font;
    if (const QVariant own = index.data(Qt::FontRole); own.isValid()) {
        out.font = own.value<QFont>();
    }
    out.alignment = index.data(Qt::TextAlignmentRole).value<Qt::Alignment>();
    out.room = option.rect;
    if (out.text.isEmpty()) {
        return out;
    }
    const auto* sheet = qobject_cast<const WorksheetModel*>(index.model());
    const Font font = sheet != nullptr ? sheet->fontOf(index) : Font{};
    const auto* view = qobject_cast<const QTableView*>(option.widget);
    // The columns' own widths, grid line included, as the application counts them; the cell's
    // rectangle leaves the grid line out.
    int span = view != nullptr ? view->columnWidth(index.column()) : out.room.width();
    if (const QVariant number = index.data(WorksheetModel::NumberRole); number.isValid()) {
        out.text = fittedNumber(out.text, number, font, characters(span));
    } else if (view != nullptr && (out.alignment & Qt::AlignLeft) && !out.text.contains('\n')) {
        // Over the empty cells to the right, as far as the text needs.
        const double needed = measured(out.text, font);
        for (int column = index.column() + 1;
             needed > characters(span) && column < index.model()->columnCount(); ++column) {
            if (!index.siblingAtColumn(column).data(Qt::DisplayRole).toString().isEmpty()) {
                break;
            }
            span += view->columnWidth(column);
            out.room.setRight(out.room.right() + view->columnWidth(column));
            out.overflows = true;
        }
    }
    const int box = span - LeftMargin - RightMargin;
    const int wide = widestLine(out.text, QFontMetrics(out.font));
    if (box > 0 && wide > box && measured(out.text, font) <= characters(span)) {
        out.squeeze = static_cast<double>(box) / wide;
    }
    out.box = QRectF(out.room.left() + LeftMargin, out.room.top(), box, out.room.height());
    return out;
}

void OverflowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    const Layout cell = layout(option, index);
    const bool selected = (option.state & QStyle::State_Selected) != 0;
    if (selected) {
        painter->fillRect(option.rect, option.palette.highlight());
    }
    if (cell.text.isEmpty()) {
        return;
    }
    painter->save();
    painter->setFont(cell.font);
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    // Within any clip the painter has already: a printed page's block of cells.
    painter->setClipRect(cell.room, painter->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    painter->translate(cell.box.left(), 0);
    painter->scale(cell.squeeze, 1);
    painter->drawText(QRectF(0, cell.box.top(), cell.box.width() / cell.squeeze, cell.box.height()),
                      static_cast<int>(cell.alignment), cell.text);
    painter->restore();
}

} // namespace kelvor
