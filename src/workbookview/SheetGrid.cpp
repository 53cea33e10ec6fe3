#include "workbookview/SheetGrid.h"

#include "host/app/ValueFormat.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace kelvor {

namespace {

// A sheet never shows fewer rows and columns than a small screen's worth, like an empty sheet.
constexpr int MinRows = 40;
constexpr int MinColumns = 12;
constexpr double DefaultColumnWidth = 8.43; // characters

// Sheets are drawn at 96 dots an inch in whole pixels, the scale their column widths were
// measured for, whatever the screen's own: 10 pt is 13 pixels.
int sheetPixels(double points) {
    return std::max(1, static_cast<int>(std::lround(points * 96.0 / 72.0 - 0.01)));
}

bool isNumber(const CellValue& value) {
    return std::holds_alternative<double>(value);
}

} // namespace

QString columnLetters(int column) {
    QString letters;
    while (column > 0) {
        const int digit = (column - 1) % 26;
        letters.prepend(QChar('A' + digit));
        column = (column - 1) / 26;
    }
    return letters;
}

WorksheetModel::WorksheetModel(const Worksheet& sheet, const Styles& styles, QObject* parent)
    : QAbstractTableModel(parent), sheet_(sheet), styles_(styles) {
    const auto used = sheet_.usedRange();
    rows_ = std::max(MinRows, used ? static_cast<int>(used->lastRow) + 1 : 0);
    columns_ = std::max(MinColumns, used ? static_cast<int>(used->lastColumn) + 1 : 0);
}

int WorksheetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int WorksheetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns_;
}

QVariant WorksheetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    const auto row = static_cast<std::uint32_t>(index.row() + 1);
    const auto column = static_cast<std::uint32_t>(index.column() + 1);
    const Cell* cell = sheet_.cell(row, column);
    // A column's own style applies to the empty cells in it.
    const ColumnFormat* columnFormat = cell == nullptr ? sheet_.columnFormat(column) : nullptr;
    const Style& style = styles_.style(cell != nullptr           ? cell->style
                                       : columnFormat != nullptr ? columnFormat->style
                                                                 : 0);
    switch (role) {
    case Qt::DisplayRole:
        if (cell == nullptr) {
            return {};
        }
        return QString::fromStdString(displayText(cell->value, style.numberFormat));
    case NumberRole:
        if (cell == nullptr || !isNumber(cell->value)) {
            return {};
        }
        if (style.numberFormat == "General") {
            return std::get<double>(cell->value);
        }
        return true;
    case Qt::FontRole: {
        QFont font(QString::fromStdString(style.font.name));
        font.setPixelSize(sheetPixels(style.font.size));
        font.setBold(style.font.bold);
        return font;
    }
    case Qt::TextAlignmentRole: {
        Qt::Alignment vertical = Qt::AlignBottom;
        switch (style.horizontal) {
        case HorizontalAlignment::Left:
            return QVariant::fromValue(Qt::AlignLeft | vertical);
        case HorizontalAlignment::Center:
            return QVariant::fromValue(Qt::AlignHCenter | vertical);
        case HorizontalAlignment::Right:
            return QVariant::fromValue(Qt::AlignRight | vertical);
        case HorizontalAlignment::General:
            break;
        }
        // General: numbers to the right, truth values centred, text to the left.
        if (cell != nullptr && isNumber(cell->value)) {
            return QVariant::fromValue(Qt::AlignRight | vertical);
        }
        if (cell != nullptr && std::holds_alternative<bool>(cell->value)) {
            return QVariant::fromValue(Qt::AlignHCenter | vertical);
        }
        return QVariant::fromValue(Qt::AlignLeft | vertical);
    }
    default:
        return {};
    }
}

QVariant WorksheetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    return orientation == Qt::Horizontal ? QVariant(columnLetters(section + 1))
                                         : QVariant(section + 1);
}

namespace {

// The text of a number narrowed to `room` pixels, as the spreadsheet narrows it.
QString fittedNumber(const QString& shown, const QVariant& number, const QFontMetrics& metrics,
                     int room) {
    if (metrics.horizontalAdvance(shown) <= room) {
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
            if (metrics.horizontalAdvance(text) <= room) {
                return text;
            }
        }
    }
    const int hash = std::max(1, metrics.horizontalAdvance('#'));
    return QString(std::max(1, room / hash), '#');
}

} // namespace

void OverflowDelegate::initStyleOption(QStyleOptionViewItem* option,
                                       const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    const QVariant number = index.data(WorksheetModel::NumberRole);
    if (number.isValid()) {
        option->text = fittedNumber(option->text, number, QFontMetrics(option->font),
                                    option->rect.width() - 6);
    }
}

QString OverflowDelegate::drawnText(const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    QStyleOptionViewItem copy = option;
    initStyleOption(&copy, index);
    return copy.text;
}

void OverflowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    const QString text = index.data(Qt::DisplayRole).toString();
    const auto alignment = index.data(Qt::TextAlignmentRole).value<Qt::Alignment>();
    const auto* view = qobject_cast<const QTableView*>(option.widget);
    if (text.isEmpty() || view == nullptr || !(alignment & Qt::AlignLeft) ||
        index.data(WorksheetModel::NumberRole).isValid() || text.contains('\n')) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QFont font = option.font;
    if (const QVariant own = index.data(Qt::FontRole); own.isValid()) {
        font = own.value<QFont>();
    }
    const QFontMetrics metrics(font);
    QRect room = option.rect;
    // Over the empty cells to the right, as far as the text needs.
    for (int column = index.column() + 1; metrics.horizontalAdvance(text) + 6 > room.width() &&
                                          column < index.model()->columnCount();
         ++column) {
        if (!index.model()->index(index.row(), column).data(Qt::DisplayRole).toString().isEmpty()) {
            break;
        }
        room.setRight(room.right() + view->columnWidth(column));
    }
    if (option.state & QStyle::State_Selected) {
        painter->fillRect(option.rect, option.palette.highlight());
    }
    painter->save();
    painter->setFont(font);
    painter->setPen(option.palette.color(
        option.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
    painter->setClipRect(room);
    painter->drawText(room.adjusted(3, 0, -3, 0), static_cast<int>(alignment | Qt::TextSingleLine),
                      text);
    painter->restore();
}

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
    // Widths count characters of the standard font's digits, plus the cell's margins.
    const int digit = QFontMetrics(standard).horizontalAdvance('0');
    const auto pixels = [digit](double characters) {
        return static_cast<int>(std::lround(characters * digit + 5));
    };
    horizontalHeader()->setDefaultSectionSize(pixels(DefaultColumnWidth));
    for (const auto& [column, format] : sheet.columnFormats()) {
        if (format.width && static_cast<int>(column) <= model_.columnCount()) {
            setColumnWidth(static_cast<int>(column) - 1, pixels(*format.width));
            setColumnHidden(static_cast<int>(column) - 1, *format.width <= 0);
        }
    }
}

QString SheetGrid::displayed(int row, int column) const {
    return model_.data(model_.index(row - 1, column - 1), Qt::DisplayRole).toString();
}

QString SheetGrid::drawn(int row, int column) const {
    const QModelIndex index = model_.index(row - 1, column - 1);
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    return delegate_.drawnText(option, index);
}

bool SheetGrid::isBold(int row, int column) const {
    return model_.data(model_.index(row - 1, column - 1), Qt::FontRole).value<QFont>().bold();
}

Qt::Alignment SheetGrid::alignment(int row, int column) const {
    return model_.data(model_.index(row - 1, column - 1), Qt::TextAlignmentRole)
        .value<Qt::Alignment>();
}

} // namespace kelvor
