#pragma once

#include "host/view/BookView.h"

#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class QHBoxLayout;
class QListView;
class QStackedWidget;
class QStringListModel;
class QToolButton;

namespace kelvor {

class SheetJump;

// The built-in spreadsheet application's window onto one workbook: the visible sheets as tabs
// in workbook order, each shown as a read-only grid or a drawn chart. It only reads the
// workbook, through its view. A sheet's view is built when its tab is first shown and again only
// after the sheet changed. refresh() follows the workbook after an export: new tabs appear and the
// workbook's active sheet is shown, without taking the focus. Beside the tabs, a sheet list
// and a "Go to Sheet…" field (Ctrl+G) reach any sheet of a batch of hundreds; "Batches…" asks
// its owner for the channel's list of batches. A closed batch's window says so in its title.
class WorkbookWindow : public QWidget {
    Q_OBJECT
public:
    enum class Batch { Open, Closed };

    WorkbookWindow(BookView book, QString channelDescription, QWidget* parent = nullptr);
    WorkbookWindow(BookView book, QString channelDescription, Batch batch,
                   QWidget* parent = nullptr);
    ~WorkbookWindow() override;

    void refresh();
    // Which book it shows, for its owner to compare with the application's.
    const BookState& book() const { return book_.book(); }

    // What the user sees, for tests and the benchmark.
    QStringList tabNames() const;
    QString currentTab() const;
    void showTab(const QString& name);
    // The view of the current sheet, built when its tab was shown.
    QWidget* currentView() const;
    int builtViews() const { return static_cast<int>(views_.size()); }
    SheetJump* sheetJump() const { return jump_; }
    QToolButton* batchesButton() const { return batches_; }
    bool closedBatch() const { return batch_ == Batch::Closed; }
    // The book it reads, and the sheet it shows (none while the workbook has no visible sheet).
    const BookView& bookView() const { return book_; }
    std::optional<std::uint32_t> currentSheetId() const;
    // A command of a layer above, put beside "Batches…".
    void addCommandButton(QToolButton* button);

signals:
    void batchesRequested();

private:
    struct Tab {
        std::uint32_t sheetId;
        std::uint64_t revision;
        QString name;
    };

    std::vector<Tab> visibleSheets() const;
    int currentIndex() const;
    void setCurrentIndex(int index);
    void showCurrent();
    QWidget* buildView(std::uint32_t sheetId);
    void updateTitle();

    BookView book_;
    QString description_;
    Batch batch_;
    // The sheet tabs: a one-row list, since a tab bar grows slow with hundreds of sheets.
    QStringListModel* tabNames_;
    QListView* tabs_;
    SheetJump* jump_;
    QToolButton* batches_;
    QHBoxLayout* tabRow_ = nullptr;
    QStackedWidget* pages_;
    std::vector<Tab> shown_;
    // Built views by sheet id, with the revision they show.
    std::map<std::uint32_t, std::pair<std::uint64_t, QWidget*>> views_;
    std::optional<std::uint32_t> lastActive_;
};

} // namespace kelvor
