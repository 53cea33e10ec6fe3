#pragma once

#include "export/Spreadsheet.h"
#include "host/app/state/ApplicationState.h"

#include <filesystem>
#include <memory>

namespace kelvor {

// The built-in spreadsheet application: workbooks in memory, each mirrored as an .xlsx file
// in the workbook folder. Files are written when screen updating is switched on (every
// workbook changed since its last write) and when the application is closed or destroyed.
// A write that fails leaves the workbook in memory, still unwritten, to be tried again at the
// next chance; the user is told through `notify`, at most once per occasion. Writing never
// throws.
class BuiltinApplication : public xl::Application {
public:
    BuiltinApplication(std::filesystem::path workbookFolder, Notify notify = {},
                       BuiltinOptions options = {});
    ~BuiltinApplication() override;
    BuiltinApplication(const BuiltinApplication&) = delete;
    BuiltinApplication& operator=(const BuiltinApplication&) = delete;

    // What happens when the user closes the application: its workbooks are written one last
    // time, and from then on every member fails as automation reports a vanished server.
    void close();
    // Writes the workbooks that are still unwritten, as at the end of an export (their folder
    // came back, say); nothing while an export runs. Never throws.
    void writeHeld() noexcept;

    // Held: nothing is written, not even at release (a replay cut off half-way must not
    // replace the whole file). For a batch played again from the journal: `adoptHeldWrites` then
    // makes every changed workbook count as written to its file, which holds it already.
    void holdWrites(bool held) { state_->writesHeld = held; }
    void adoptHeldWrites();

    void setVisible(bool visible) override;
    void setDisplayAlerts(bool display) override;
    void setScreenUpdating(bool updating) override;
    void setCalculation(std::int32_t mode) override;
    void Calculate() override;
    void setCutCopyMode(bool mode) override;
    std::shared_ptr<xl::Workbooks> Workbooks() override;
    xl::WorkbookPtr ActiveWorkbook() override;
    xl::SheetPtr ActiveSheet() override;
    std::shared_ptr<xl::Sheets> Sheets() override;
    std::shared_ptr<xl::Sheets> Worksheets() override;
    std::shared_ptr<xl::Selection> Selection() override;
    xl::RangePtr ActiveCell() override;
    std::shared_ptr<xl::Chart> ActiveChart() override;
    void setClipboardText(const std::string& text) override;
    void clearClipboard() override;

    // For inspection (tests, diagnostics): the state of the application's settings, the
    // model of workbook `index` (1-based) and the file it is mirrored to.
    bool visible() const { return state_->visible; }
    bool displayAlerts() const { return state_->displayAlerts; }
    bool screenUpdating() const { return state_->screenUpdating; }
    bool calculationAutomatic() const { return state_->automatic; }
    bool closed() const { return !state_->running; }
    const Workbook& workbookModel(std::int32_t index) const;
    // Lets tests set up what the interface cannot make yet, such as chart sheets.
    Workbook& workbookModel(std::int32_t index);
    std::filesystem::path workbookFile(std::int32_t index) const;

    // The workbook at position `index` (1-based) for a window that shows it and never
    // changes it; null when there is none. It stays readable after it closed.
    std::shared_ptr<const BookState> openBook(std::int32_t index) const;
    // Whether the workbook is still one of this running application's.
    bool isOpen(const BookState& book) const;

private:
    // Writes the changed workbooks and tells the user about failures, never throwing.
    void writeWorkbooks(bool last) noexcept;
    const std::shared_ptr<BookState>& activeBook() const;
    SheetRef activeSheetRef() const;

    std::shared_ptr<ApplicationState> state_;
};

} // namespace kelvor
