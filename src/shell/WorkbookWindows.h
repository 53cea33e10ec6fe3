#pragma once

#include "capture/ChannelInfo.h"
#include "export/ExportContext.h"
#include "host/view/BookView.h"
#include "platform/Prompts.h"
#include "util/EventLog.h"
#include "workbookview/BatchRow.h"

#include <QObject>
#include <QUrl>

#include <array>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class QMenu;
class QWidget;

namespace kelvor {

class BatchListDialog;
class WorkbookWindow;
class BuiltinApplication;
struct BookState;

// What the status lights offer for the channel's workbook: a double-click shows its window, the
// context menu shows it, opens the written file in the desktop's spreadsheet program, opens
// its folder, lists the channel's batches, switches a PDF of each test, or closes the workbook to
// end the batch. Keeps one window per channel, one per closed batch opened from the list, and
// follows the workbooks when the application says they changed.
class WorkbookWindows final : public QObject {
    Q_OBJECT
public:
    struct Wiring {
        std::array<QWidget*, ChannelCount> lights;
        ExportContext& exports;
        ChannelTable& channels;
        Prompts& prompts;
        std::filesystem::path workbookFolder = {};     // where new workbooks' files go
        EventLog* log = nullptr;                       // not owned; none: nothing is logged
        std::function<bool(const QUrl&)> openUrl = {}; // empty: the desktop's
        // Close Workbook ended the channel's batch of that workbook (its file name).
        std::function<void(int channel, const std::string& workbook)> closed = {};
        // The channel's batches, open and closed; empty: its current workbook, if any.
        std::function<std::vector<BatchRow>(int channel)> batches = {};
        // A closed batch's workbook for a read-only window; empty or nullopt: it cannot be
        // shown here, only in the spreadsheet program.
        std::function<std::optional<BookView>(const BatchRow&)> openReadOnly = {};
        // Whether each test of the channel is also saved as a PDF, and the user's switch of
        // it; either empty: the menu does not offer it.
        std::function<bool(int channel)> savesPdf = {};
        std::function<void(int channel, bool on)> setSavesPdf = {};
    };

    explicit WorkbookWindows(Wiring wiring);
    ~WorkbookWindows() override;

    void showWorkbook(int channel);
    void openInSpreadsheetProgram(int channel);
    void openWorkbookFolder(int channel);
    void closeWorkbook(int channel);
    void showBatches(int channel);

    // The application wrote or closed workbooks: open windows look again, and those whose
    // workbook is gone close.
    void workbooksChanged();

    // The channel's window, if one is open.
    WorkbookWindow* window(int channel) const;
    // The channel's batch list, if it was shown; a closed batch's window, if one is open.
    BatchListDialog* batchList(int channel) const;
    WorkbookWindow* closedBatchWindow(const std::filesystem::path& file) const;
    // The light's context menu, as a right-click shows it.
    std::unique_ptr<QMenu> contextMenu(int channel);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    BuiltinApplication* application() const;
    // The channel's open workbook, or null after telling the user there is none.
    std::shared_ptr<const BookState> bookOf(int channel, bool tell);
    // With the desktop's spreadsheet application, the channel's workbook is shown there
    // (true); false when the reports go to the built-in one.
    bool showInDesktopSpreadsheet(int channel);
    PromptOwner ownerFor(int channel) const;
    void tell(int channel, const std::string& message);
    bool open(const QUrl& url);
    std::unique_ptr<WorkbookWindow> makeWindow(int channel, BookView book, bool closedBatch);

    std::vector<BatchRow> batchesOf(int channel);
    void refreshBatchLists();
    void openBatch(int channel, const BatchRow& batch);
    void openBatchInProgram(int channel, const BatchRow& batch);
    void openBatchFolder(int channel, const BatchRow& batch);
    void tellFromList(int channel, const std::string& message);

    Wiring w_;
    std::array<std::unique_ptr<WorkbookWindow>, ChannelCount> windows_;
    std::array<std::unique_ptr<BatchListDialog>, ChannelCount> batchLists_;
    std::map<std::filesystem::path, std::unique_ptr<WorkbookWindow>> closedWindows_;
};

} // namespace kelvor
