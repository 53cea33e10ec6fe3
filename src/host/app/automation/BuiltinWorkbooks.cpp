#include "host/app/automation/BuiltinWorkbooks.h"

#include "host/app/automation/BuiltinChart.h"
#include "host/app/automation/BuiltinSheet.h"
#include "host/app/errors/HostErrors.h"
#include "util/PathText.h"

namespace kelvor {

BuiltinWorkbooks::BuiltinWorkbooks(std::shared_ptr<ApplicationState> app) : app_(std::move(app)) {}

std::int32_t BuiltinWorkbooks::Count() {
    app_->checkRunning();
    return static_cast<std::int32_t>(app_->books.size());
}

xl::WorkbookPtr BuiltinWorkbooks::Item(std::int32_t index) {
    app_->checkRunning();
    if (index < 1 || static_cast<std::size_t>(index) > app_->books.size()) {
        throw subscriptError();
    }
    return std::make_shared<BuiltinWorkbook>(app_,
                                             app_->books[static_cast<std::size_t>(index) - 1]);
}

xl::WorkbookPtr BuiltinWorkbooks::Add() {
    return std::make_shared<BuiltinWorkbook>(app_, app_->addBook());
}

BuiltinWorkbook::BuiltinWorkbook(std::shared_ptr<ApplicationState> app,
                                 std::shared_ptr<BookState> book)
    : app_(std::move(app)), book_(std::move(book)) {}

void BuiltinWorkbook::Activate() {
    app_->checkOpen(*book_);
    app_->activeBook = book_;
}

std::string BuiltinWorkbook::Name() {
    app_->checkOpen(*book_);
    return book_->model.name();
}

std::shared_ptr<xl::Sheets> BuiltinWorkbook::Sheets() {
    app_->checkOpen(*book_);
    return std::make_shared<BuiltinSheets>(app_, book_, false);
}

std::shared_ptr<xl::Sheets> BuiltinWorkbook::Worksheets() {
    app_->checkOpen(*book_);
    return std::make_shared<BuiltinSheets>(app_, book_, true);
}

std::shared_ptr<xl::Charts> BuiltinWorkbook::Charts() {
    app_->checkOpen(*book_);
    return std::make_shared<BuiltinCharts>(app_, book_);
}

void BuiltinWorkbook::setFileName(const std::string& name) {
    app_->checkOpen(*book_);
    if (name.empty()) {
        throw methodError("SaveAs method of Workbook class failed");
    }
    book_->file.path = app_->files.claim(name);
    book_->file.written = false;
    book_->file.lastWritten.clear();
    book_->model.setName(utf8Of(book_->file.path.stem()));
}

void BuiltinWorkbook::reopenFile(const std::string& name) {
    app_->checkOpen(*book_);
    if (name.empty()) {
        throw methodError("SaveAs method of Workbook class failed");
    }
    book_->file.path = app_->files.reclaim(name);
    // The file there is this program's: it is replaced, never given up for another name.
    book_->file.written = true;
    book_->file.lastWritten.clear();
    book_->model.setName(utf8Of(book_->file.path.stem()));
}

void BuiltinWorkbook::Close() {
    app_->checkOpen(*book_);
    if (const auto failure = app_->writeBook(*book_)) {
        throw methodError("The workbook file " + utf8Of(failure->path) + " could not be written: " +
                          failure->reason + ". The workbook stays open.");
    }
    app_->removeBook(*book_);
    app_->tellChanged();
}

std::shared_ptr<xl::SummaryFollow> BuiltinWorkbook::FollowSummary() {
    app_->checkOpen(*book_);
    return summaryFollowOf(app_, book_);
}

BuiltinSheets::BuiltinSheets(std::shared_ptr<ApplicationState> app, std::shared_ptr<BookState> book,
                             bool worksheetsOnly)
    : app_(std::move(app)), book_(std::move(book)), worksheetsOnly_(worksheetsOnly) {}

std::size_t BuiltinSheets::count() const {
    app_->checkOpen(*book_);
    const auto& model = book_->model;
    if (!worksheetsOnly_) {
        return model.sheetCount();
    }
    std::size_t n = 0;
    for (std::size_t i = 0; i < model.sheetCount(); ++i) {
        n += model.sheet(i).kind() == SheetKind::Worksheet ? 1 : 0;
    }
    return n;
}

std::optional<std::size_t> BuiltinSheets::position(std::size_t index) const {
    app_->checkOpen(*book_);
    const auto& model = book_->model;
    if (!worksheetsOnly_) {
        return index < model.sheetCount() ? std::optional(index) : std::nullopt;
    }
    for (std::size_t i = 0; i < model.sheetCount(); ++i) {
        if (model.sheet(i).kind() == SheetKind::Worksheet && index-- == 0) {
            return i;
        }
    }
    return std::nullopt;
}

std::int32_t BuiltinSheets::Count() {
    return static_cast<std::int32_t>(count());
}

xl::SheetPtr BuiltinSheets::Item(std::int32_t index) {
    const auto at = index < 1 ? std::nullopt : position(static_cast<std::size_t>(index) - 1);
    if (!at) {
        throw subscriptError();
    }
    return std::make_shared<BuiltinSheet>(sheetAt(app_, book_, *at));
}

xl::SheetPtr BuiltinSheets::Add(const xl::SheetPtr& after) {
    app_->checkOpen(*book_);
    std::optional<std::size_t> position;
    if (after) {
        const auto* sheet = dynamic_cast<const BuiltinSheet*>(after.get());
        if (sheet == nullptr || sheet->sheetRef().book != book_) {
            throw methodError("Add method of Sheets class failed");
        }
        position = sheet->sheetRef().index() + 1;
    }
    const auto index = modelCall([&] { return addWorksheet(*book_, position); });
    app_->edited(*book_);
    return std::make_shared<BuiltinSheet>(sheetAt(app_, book_, index));
}

} // namespace kelvor
