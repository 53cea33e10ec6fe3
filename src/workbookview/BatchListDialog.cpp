#include "workbookview/BatchListDialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <system_error>

namespace kelvor {
namespace {

// Newest first: a batch without tests has only just started, so it comes before all others.
bool newer(const BatchRow& a, const BatchRow& b) {
    const auto started = [](const BatchRow& row) {
        return row.firstTest ? row.firstTest : row.lastTest;
    };
    const auto first = started(a);
    const auto second = started(b);
    if (first.has_value() != second.has_value()) {
        return !first.has_value();
    }
    if (first != second) {
        return *first > *second;
    }
    return a.open && !b.open;
}

QString stateText(const BatchRow& row, bool onDisk) {
    if (row.open) {
        return onDisk ? "open" : "open, file not written yet";
    }
    return onDisk ? "closed" : "closed, file no longer on disk";
}

QString timeText(const std::optional<LabTime>& when) {
    return when ? QString::fromStdString(labTimeText(*when)) : QString();
}

} // namespace

BatchListDialog::BatchListDialog(const QString& title, Actions actions, QWidget* parent)
    : QDialog(parent), actions_(std::move(actions)),
      empty_(new QLabel("No batches yet: the channel's next report starts one.", this)),
      table_(new QTableWidget(0, ColumnCount, this)), open_(new QPushButton("Open", this)),
      program_(new QPushButton("Open in Spreadsheet Program", this)),
      folder_(new QPushButton("Open Folder", this)) {
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(empty_);
    layout->addWidget(table_, 1);
    table_->setHorizontalHeaderLabels({"File", "State", "First Test", "Last Test", "Tests"});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->verticalHeader()->hide();
    table_->setWordWrap(false);
    table_->horizontalHeader()->setSectionResizeMode(FileColumn, QHeaderView::Stretch);
    for (int column = StateColumn; column < ColumnCount; ++column) {
        table_->horizontalHeader()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
    connect(table_, &QTableWidget::itemSelectionChanged, this, [this] { updateButtons(); });
    connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        selectRow(row);
        act(actions_.open);
    });

    auto* buttons = new QHBoxLayout();
    buttons->addWidget(open_);
    buttons->addWidget(program_);
    buttons->addWidget(folder_);
    buttons->addStretch(1);
    auto* close = new QPushButton("Close", this);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    open_->setDefault(true); // Enter opens, as a double-click does
    connect(open_, &QPushButton::clicked, this, [this] { act(actions_.open); });
    connect(program_, &QPushButton::clicked, this, [this] { act(actions_.openInProgram); });
    connect(folder_, &QPushButton::clicked, this, [this] { act(actions_.openFolder); });
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    resize(760, 300);
    setRows({});
}

void BatchListDialog::setRows(std::vector<BatchRow> rows) {
    const BatchRow* before = chosen();
    const std::filesystem::path wanted = before != nullptr ? before->path : std::filesystem::path();
    std::stable_sort(rows.begin(), rows.end(), newer);
    rows_ = std::move(rows);
    onDisk_.clear();
    const QSignalBlocker quiet(table_);
    table_->clearContents();
    table_->setRowCount(rowCount());
    int select = rows_.empty() ? -1 : 0;
    for (int r = 0; r < rowCount(); ++r) {
        const BatchRow& batch = row(r);
        std::error_code error;
        onDisk_.push_back(std::filesystem::is_regular_file(batch.path, error));
        const QString file = QString::fromStdString(
            batch.fileName.empty() ? batch.path.filename().string() : batch.fileName);
        const QString cells[ColumnCount] = {file, stateText(batch, onDisk_.back()),
                                            timeText(batch.firstTest), timeText(batch.lastTest),
                                            QString::number(batch.tests)};
        for (int column = 0; column < ColumnCount; ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            QFont font = item->font();
            font.setBold(batch.open);
            item->setFont(font);
            if (column == TestsColumn) {
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            item->setToolTip(QString::fromStdString(batch.path.string()));
            table_->setItem(r, column, item);
        }
        if (!wanted.empty() && batch.path == wanted) {
            select = r;
        }
    }
    empty_->setVisible(rows_.empty());
    if (select >= 0) {
        table_->selectRow(select);
    }
    updateButtons();
}

QString BatchListDialog::text(int row, Column column) const {
    const QTableWidgetItem* item = table_->item(row, column);
    return item != nullptr ? item->text() : QString();
}

bool BatchListDialog::isBold(int row) const {
    const QTableWidgetItem* item = table_->item(row, FileColumn);
    return item != nullptr && item->font().bold();
}

void BatchListDialog::selectRow(int row) {
    table_->selectRow(row);
}

const BatchRow* BatchListDialog::chosen() const {
    const auto selected = table_->selectionModel()->selectedRows();
    if (selected.isEmpty()) {
        return nullptr;
    }
    const int index = selected.front().row();
    return index < rowCount() ? &row(index) : nullptr;
}

void BatchListDialog::updateButtons() {
    const BatchRow* batch = chosen();
    open_->setEnabled(batch != nullptr);
    folder_->setEnabled(batch != nullptr);
    // A file that is not on disk has nothing for the spreadsheet program to open.
    const bool onDisk =
        batch != nullptr && onDisk_.at(static_cast<std::size_t>(batch - rows_.data()));
    program_->setEnabled(onDisk);
}

void BatchListDialog::act(const std::function<void(const BatchRow&)>& action) {
    const BatchRow* batch = chosen();
    if (batch == nullptr || !action) {
        return;
    }
    // The action may change the list (a batch opened, a window shown): it acts on a copy.
    const BatchRow copy = *batch;
    action(copy);
}

} // namespace kelvor
