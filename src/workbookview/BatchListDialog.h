#pragma once

#include "workbookview/BatchRow.h"

#include <QDialog>

#include <functional>
#include <vector>

class QLabel;
class QPushButton;
class QTableWidget;

namespace kelvor {

// A channel's batches, newest first, the open one in bold: Open (or a double-click) shows the
// chosen batch's workbook, the other buttons open its file in the spreadsheet program or its
// folder. It only shows rows and passes the user's choice on; what opening means is its
// owner's.
class BatchListDialog : public QDialog {
    Q_OBJECT
public:
    struct Actions {
        std::function<void(const BatchRow&)> open = {};
        std::function<void(const BatchRow&)> openInProgram = {};
        std::function<void(const BatchRow&)> openFolder = {};
    };
    enum Column { FileColumn, StateColumn, FirstColumn, LastColumn, TestsColumn, ColumnCount };

    BatchListDialog(const QString& title, Actions actions, QWidget* parent = nullptr);

    // Shows these batches, newest first, keeping the chosen one chosen if it is still there.
    void setRows(std::vector<BatchRow> rows);

    // What the user sees and does, for the owner's tests.
    int rowCount() const { return static_cast<int>(rows_.size()); }
    const BatchRow& row(int index) const { return rows_.at(static_cast<std::size_t>(index)); }
    QString text(int row, Column column) const;
    bool isBold(int row) const;
    void selectRow(int row);
    QTableWidget* table() const { return table_; }
    QPushButton* openButton() const { return open_; }
    QPushButton* programButton() const { return program_; }
    QPushButton* folderButton() const { return folder_; }
    QLabel* emptyNote() const { return empty_; }

private:
    const BatchRow* chosen() const;
    void updateButtons();
    void act(const std::function<void(const BatchRow&)>& action);

    Actions actions_;
    std::vector<BatchRow> rows_;
    std::vector<bool> onDisk_;
    QLabel* empty_;
    QTableWidget* table_;
    QPushButton* open_;
    QPushButton* program_;
    QPushButton* folder_;
};

} // namespace kelvor
