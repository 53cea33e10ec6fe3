#pragma once

#include "host/model/Styles.h"
#include "host/model/Worksheet.h"

#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <QTableView>

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

private:
    const Worksheet& sheet_;
    const Styles& styles_;
    int rows_;
    int columns_;
};

// Draws a cell's text as the spreadsheet does: text too long for its cell runs on over the
// empty cells to its right instead of being cut short, a General number too wide for its
// column loses decimals, and other numbers that cannot fit show "#" marks.
class OverflowDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    // The text drawn for the cell in that space.
    QString drawnText(const QStyleOptionViewItem& option, const QModelIndex& index) const;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

// The grid of one worksheet, its columns as wide as the workbook sets them.
class SheetGrid : public QTableView {
    Q_OBJECT
public:
    SheetGrid(const Worksheet& sheet, const Styles& styles, QWidget* parent = nullptr);

    // The text of a cell (1-based row and column) as its number format displays it, and as
    // it is drawn in the column's width.
    QString displayed(int row, int column) const;
    QString drawn(int row, int column) const;
    bool isBold(int row, int column) const;
    Qt::Alignment alignment(int row, int column) const;

private:
    WorksheetModel model_;
    OverflowDelegate delegate_;
};

// Column letters as the spreadsheet writes them: 1 "A", 27 "AA".
QString columnLetters(int column);

} // namespace kelvor
