#include "workbookview/WorksheetModel.h"

#include "host/app/numformat/ValueFormat.h"

#include <QFont>

#include <algorithm>
#include <cmath>

namespace kelvor {

namespace {

// A sheet never shows fewer rows and columns than a small screen's worth, like an empty sheet.
constexpr int MinRows = 40;
constexpr int MinColumns = 12;

} // namespace

int sheetPixels(double points) {
    return std::max(1, static_cast<int>(std::lround(points * 96.0 / 72.0 - 0.01)));
}

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
    const Style& style = styleOf(cell, column);
    switch (role) {
    case Qt::DisplayRole:
        if (cell == nullptr) {
            return {};
        }
        return QString::fromStdString(displayText(cell->value(), style.numberFormat));
    case NumberRole:
        if (cell == nullptr || cell->kind() != CellKind::Number) {
            return {};
        }
        if (style.numberFormat == "General") {
            return *cell->number();
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
        if (cell != nullptr && cell->kind() == CellKind::Number) {
            return QVariant::fromValue(Qt::AlignRight | vertical);
        }
        if (cell != nullptr && cell->kind() == CellKind::Boolean) {
            return QVariant::fromValue(Qt::AlignHCenter | vertical);
        }
        return QVariant::fromValue(Qt::AlignLeft | vertical);
    }
    default:
        return {};
    }
}

const Style& WorksheetModel::styleOf(const Cell* cell, std::uint32_t column) const {
    if (cell != nullptr) {
        return styles_.style(cell->style());
    }
    // A column's own style applies to the empty cells in it.
    const ColumnFormat* format = sheet_.columnFormat(column);
    return styles_.style(format != nullptr ? format->style : 0);
}

const Font& WorksheetModel::fontOf(const QModelIndex& index) const {
    const auto column = static_cast<std::uint32_t>(index.column() + 1);
    return styleOf(sheet_.cell(static_cast<std::uint32_t>(index.row() + 1), column), column).font;
}

QVariant WorksheetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    return orientation == Qt::Horizontal ? QVariant(columnLetters(section + 1))
                                         : QVariant(section + 1);
}

} // namespace kelvor
