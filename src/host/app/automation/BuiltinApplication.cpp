#include "host/app/automation/BuiltinApplication.h"

#include "export/XlConstants.h"
#include "host/app/automation/BuiltinChart.h"
#include "host/app/automation/BuiltinRange.h"
#include "host/app/automation/BuiltinSheet.h"
#include "host/app/automation/BuiltinWorkbooks.h"
#include "host/app/chartformat/ChartAccess.h"
#include "host/app/chartformat/ChartSelection.h"
#include "host/app/errors/HostErrors.h"
#include "host/app/files/WriteNotices.h"

#include <algorithm>
#include <filesystem>
#include <utility>

namespace kelvor {

namespace {

using xl::xlCalculationSemiautomatic;

// The selection of a sheet as it stood when the application was asked for it.
class BuiltinSelection : public xl::Selection {
public:
    BuiltinSelection(SheetRef sheet, std::vector<CellRange> areas, ChartElementRef element)
        : sheet_(std::move(sheet)), areas_(std::move(areas)), element_(element) {}

    xl::RangePtr AsRange() override {
        sheet_.worksheet(); // a chart sheet's selection is no range
        return std::make_shared<BuiltinRange>(sheet_, areas_);
    }

    std::shared_ptr<xl::ChartSelection> AsChartSelection() override {
        chartSheetOf(sheet_); // a worksheet's selection is a range
        return std::make_shared<BuiltinChartSelection>(sheet_, element_);
    }

private:
    SheetRef sheet_;
    std::vector<CellRange> areas_;
    ChartElementRef element_;
};

} // namespace

BuiltinApplication::BuiltinApplication(std::filesystem::path workbookFolder, Notify notify,
                                       BuiltinOptions options)
    : state_(std::make_shared<ApplicationState>(std::move(workbookFolder), std::move(notify),
                                                options)) {}

BuiltinApplication::~BuiltinApplication() {
    if (state_->running) {
        writeWorkbooks(true);
        state_->running = false;
    }
}

void BuiltinApplication::close() {
    state_->checkRunning();
    writeWorkbooks(true);
    state_->running = false;
    state_->tellChanged();
}

void BuiltinApplication::writeHeld() noexcept {
    if (state_->running && state_->screenUpdating) {
        writeWorkbooks(false);
        try {
            state_->tellChanged();
        } catch (...) {
            // A window that could not look again looks at the next export.
        }
    }
}

void BuiltinApplication::adoptHeldWrites() {
    state_->checkRunning();
    state_->adoptChanged();
    state_->writesHeld = false;
    // Files that could not be adopted as they are (torn by an earlier end) are written now.
    writeWorkbooks(false);
    state_->tellChanged();
}

void BuiltinApplication::writeWorkbooks(bool last) noexcept {
    try {
        const auto failures = state_->writeChanged(last);
        if (failures.empty()) {
            return;
        }
        std::vector<std::filesystem::path> rescued;
        if (last && !state_->options.rescueFolder.empty()) {
            try {
                rescued = state_->rescueChanged(state_->options.rescueFolder);
            } catch (...) {
                // Nothing rescued; the user is still told below.
            }
        }
        if (state_->notify) {
            state_->notify(writeFailureMessage(failures, last, rescued));
        }
    } catch (...) {
        // Telling the user failed as well; the workbooks stay in memory and unwritten.
    }
}

const std::shared_ptr<BookState>& BuiltinApplication::activeBook() const {
    state_->checkRunning();
    if (!state_->activeBook) {
        throw nothingActiveError();
    }
    return state_->activeBook;
}

SheetRef BuiltinApplication::activeSheetRef() const {
    const auto& book = activeBook();
    const auto index = book->model.activeSheet();
    if (!index) {
        throw nothingActiveError();
    }
    return sheetAt(state_, book, *index);
}

void BuiltinApplication::setVisible(bool visible) {
    state_->checkRunning();
    state_->visible = visible;
}

void BuiltinApplication::setDisplayAlerts(bool display) {
    state_->checkRunning();
    state_->displayAlerts = display; // the built-in application never asks anyway
}

void BuiltinApplication::setScreenUpdating(bool updating) {
    state_->checkRunning();
    state_->screenUpdating = updating;
    if (updating) {
        writeWorkbooks(false);
        state_->tellChanged();
    }
}

void BuiltinApplication::setCalculation(std::int32_t mode) {
    state_->checkRunning();
    if (mode == xl::xlCalculationManual) {
        state_->settle(); // what automatic calculation owed is done before it stops
        state_->automatic = false;
    } else if (mode == xl::xlCalculationAutomatic || mode == xlCalculationSemiautomatic) {
        state_->automatic = true;
        state_->settle();
    } else {
        throw methodError("Unable to set the Calculation property of the Application class");
    }
}

void BuiltinApplication::Calculate() {
    state_->checkRunning();
    state_->calculateAll();
}

void BuiltinApplication::setCutCopyMode(bool mode) {
    state_->checkRunning();
    if (!mode && std::holds_alternative<CopiedRange>(state_->clipboard)) {
        state_->clipboard = std::monostate{};
    }
}

std::shared_ptr<xl::Workbooks> BuiltinApplication::Workbooks() {
    state_->checkRunning();
    return std::make_shared<BuiltinWorkbooks>(state_);
}

xl::WorkbookPtr BuiltinApplication::ActiveWorkbook() {
    return std::make_shared<BuiltinWorkbook>(state_, activeBook());
}

xl::SheetPtr BuiltinApplication::ActiveSheet() {
    return std::make_shared<BuiltinSheet>(activeSheetRef());
}

std::shared_ptr<xl::Sheets> BuiltinApplication::Sheets() {
    return std::make_shared<BuiltinSheets>(state_, activeBook(), false);
}

std::shared_ptr<xl::Sheets> BuiltinApplication::Worksheets() {
    return std::make_shared<BuiltinSheets>(state_, activeBook(), true);
}

std::shared_ptr<xl::Selection> BuiltinApplication::Selection() {
    const auto sheet = activeSheetRef();
    const auto* worksheet = asWorksheet(sheet.sheet());
    return std::make_shared<BuiltinSelection>(
        sheet, worksheet != nullptr ? worksheet->selection().areas : std::vector<CellRange>{},
        sheet.view().chartSelection);
}

xl::RangePtr BuiltinApplication::ActiveCell() {
    const auto sheet = activeSheetRef();
    if (sheet.sheet().kind() != SheetKind::Worksheet) {
        throw nothingActiveError();
    }
    const auto& selection = sheet.worksheet().selection();
    return std::make_shared<BuiltinRange>(
        sheet, std::vector{CellRange{selection.activeRow, selection.activeColumn,
                                     selection.activeRow, selection.activeColumn}});
}

std::shared_ptr<xl::Chart> BuiltinApplication::ActiveChart() {
    const auto sheet = activeSheetRef();
    if (sheet.sheet().kind() != SheetKind::ChartSheet) {
        throw nothingActiveError();
    }
    return std::make_shared<BuiltinChart>(sheet);
}

void BuiltinApplication::setClipboardText(const std::string& text) {
    state_->checkRunning();
    state_->clipboard = text;
}

void BuiltinApplication::clearClipboard() {
    state_->checkRunning();
    state_->clipboard = std::monostate{};
}

const Workbook& BuiltinApplication::workbookModel(std::int32_t index) const {
    if (index < 1 || static_cast<std::size_t>(index) > state_->books.size()) {
        throw subscriptError();
    }
    return state_->books[static_cast<std::size_t>(index) - 1]->model;
}

Workbook& BuiltinApplication::workbookModel(std::int32_t index) {
    return const_cast<Workbook&>(std::as_const(*this).workbookModel(index));
}

std::shared_ptr<const BookState> BuiltinApplication::openBook(std::int32_t index) const {
    if (!state_->running || index < 1 || static_cast<std::size_t>(index) > state_->books.size()) {
        return nullptr;
    }
    return state_->books[static_cast<std::size_t>(index) - 1];
}

bool BuiltinApplication::isOpen(const BookState& book) const {
    return state_->running && std::ranges::any_of(state_->books, [&](const auto& open) {
               return open.get() == &book;
           });
}

std::filesystem::path BuiltinApplication::workbookFile(std::int32_t index) const {
    if (index < 1 || static_cast<std::size_t>(index) > state_->books.size()) {
        throw subscriptError();
    }
    return state_->books[static_cast<std::size_t>(index) - 1]->file.path;
}

} // namespace kelvor
