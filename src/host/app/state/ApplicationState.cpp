#include "host/app/state/ApplicationState.h"

#include "host/app/errors/HostErrors.h"
#include "host/app/files/WriteNotices.h"
#include "host/app/fit/RowFit.h"

#include <algorithm>

namespace kelvor {

namespace {

std::size_t findSheet(const BookState& book, std::uint32_t id) {
    for (std::size_t i = 0; i < book.model.sheetCount(); ++i) {
        if (book.model.sheet(i).id() == id) {
            return i;
        }
    }
    throw disconnectedError();
}

// The sheet that takes over from `index`: the next visible one to its right, else the
// nearest visible one to its left.
std::optional<std::size_t> successor(const Workbook& model, std::size_t index) {
    for (auto i = index + 1; i < model.sheetCount(); ++i) {
        if (!model.sheet(i).hidden()) {
            return i;
        }
    }
    for (auto i = index; i-- > 0;) {
        if (!model.sheet(i).hidden()) {
            return i;
        }
    }
    return std::nullopt;
}

void checkOtherVisible(const Workbook& model, std::size_t index) {
    for (std::size_t i = 0; i < model.sheetCount(); ++i) {
        if (i != index && !model.sheet(i).hidden()) {
            return;
        }
    }
    throw methodError("A workbook must contain at least one visible sheet.");
}

bool clipboardBookIs(const Clipboard& clipboard, const BookState& book) {
    const auto* copied = std::get_if<CopiedRange>(&clipboard);
    return copied != nullptr && copied->book.lock().get() == &book;
}

} // namespace

ApplicationState::ApplicationState(std::filesystem::path folder, Notify notifyUser,
                                   BuiltinOptions opts)
    : files(std::move(folder), opts.folderIsOurs), notify(std::move(notifyUser)), options(opts) {}

void ApplicationState::checkRunning() const {
    if (!running) {
        throw applicationGoneError();
    }
}

void ApplicationState::checkOpen(const BookState& book) const {
    checkRunning();
    for (const auto& open : books) {
        if (open.get() == &book) {
            return;
        }
    }
    throw disconnectedError();
}

std::shared_ptr<BookState> ApplicationState::addBook() {
    checkRunning();
    const auto name = "Book" + std::to_string(++booksMade);
    auto book = std::make_shared<BookState>(name);
    book->model.setPaperSize(options.paperSize);
    for (int i = 0; i < std::max(1, options.defaultSheetCount); ++i) {
        book->model.addWorksheet("Sheet" + std::to_string(++book->sheetsMade));
    }
    book->model.setActiveSheet(0);
    book->file.path = files.claim(name);
    books.push_back(book);
    activeBook = book;
    return book;
}

void ApplicationState::settle() {
    if (automatic) {
        for (const auto& book : books) {
            if (book->stale) {
                calculate(*book);
            }
        }
    }
}

SheetsStamp SheetsStamp::of(const Workbook& book) {
    SheetsStamp stamp;
    stamp.count = book.sheetCount();
    for (std::size_t i = 0; i < book.sheetCount(); ++i) {
        const Sheet& sheet = book.sheet(i);
        stamp.keySum += sheet.key();
        stamp.keyMix ^= sheet.key() * 0x9E3779B97F4A7C15ULL;
        stamp.newest = std::max(stamp.newest, sheet.revision());
    }
    return stamp;
}

// Every open workbook is calculated at an export's Calculate; those whose sheets did not change
// since are passed by.
void ApplicationState::calculate(BookState& book) {
    if (book.hasFormulas && book.calculated != SheetsStamp::of(book.model)) {
        std::vector<std::uint64_t> aside;
        for (const auto& sheet : book.aside.sheets) {
            aside.push_back(sheet->key());
        }
        calculateWorkbook(book.model, formulas, aside);
        book.calculated = SheetsStamp::of(book.model);
    }
    book.stale = false;
}

void ApplicationState::calculateAll() {
    for (const auto& book : books) {
        calculate(*book);
    }
}

namespace {

// Rows of automatic height follow their wrapped text before the workbook is written; a sheet
// is looked at again only when it changed since.
void fitRows(BookState& book) {
    for (std::size_t i = 0; i < book.model.sheetCount(); ++i) {
        auto* sheet = asWorksheet(book.model.sheet(i));
        if (sheet == nullptr) {
            continue;
        }
        auto [fitted, added] = book.rowsFitted.try_emplace(sheet->key(), 0);
        if (!added && fitted->second == sheet->revision()) {
            continue;
        }
        fitRowHeights(*sheet, book.model.styles());
        fitted->second = sheet->revision();
    }
}

} // namespace

std::vector<WriteFailure> ApplicationState::writeChanged(bool last) {
    std::vector<WriteFailure> failures;
    if (writesHeld) {
        return failures;
    }
    for (const auto& book : books) {
        auto failure = writeBook(*book);
        // The last word on a workbook is always told.
        if (worthTelling(book->file, failure) || (last && failure)) {
            failures.push_back(std::move(*failure));
        }
    }
    return failures;
}

// Results are brought up to date before a workbook is written, as when it is saved.
void ApplicationState::prepareWrite(BookState& book) {
    if (book.stale) {
        calculate(book);
    }
    refreshChartCaches(book.model, book.chartCaches);
    fitRows(book);
}

std::optional<WriteFailure> ApplicationState::writeBook(BookState& book) {
    if (!WorkbookFiles::changed(book.model, book.file)) {
        return std::nullopt;
    }
    prepareWrite(book);
    return files.write(book.model, book.model.name(), book.file);
}

void ApplicationState::adoptChanged() {
    for (const auto& book : books) {
        if (WorkbookFiles::changed(book->model, book->file)) {
            prepareWrite(*book);
            WorkbookFiles::adopt(book->model, book->file);
        }
    }
}

void ApplicationState::removeBook(const BookState& book) {
    formulas.forget(book.model);
    std::erase_if(books, [&](const auto& open) { return open.get() == &book; });
    if (activeBook.get() == &book) {
        activeBook = books.empty() ? nullptr : books.back();
    }
    if (clipboardBookIs(clipboard, book)) {
        clipboard = std::monostate{};
    }
}

void ApplicationState::tellChanged() const {
    if (options.workbooksChanged) {
        options.workbooksChanged();
    }
}

std::vector<std::filesystem::path>
ApplicationState::rescueChanged(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> written;
    const WorkbookFiles rescue(folder);
    for (const auto& book : books) {
        if (!WorkbookFiles::changed(book->model, book->file)) {
            continue;
        }
        BookFile copy;
        copy.path = rescue.claim(book->model.name());
        if (!rescue.write(book->model, book->model.name(), copy)) {
            written.push_back(copy.path);
        }
    }
    return written;
}

std::size_t SheetRef::index() const {
    app->checkOpen(*book);
    if (position < book->model.sheetCount() && book->model.sheet(position).id() == sheetId) {
        return position;
    }
    position = findSheet(*book, sheetId);
    return position;
}

Sheet& SheetRef::sheet() const {
    return book->model.sheet(index());
}

Worksheet& SheetRef::worksheet() const {
    auto* worksheet = asWorksheet(sheet());
    if (worksheet == nullptr) {
        throw unsupportedError();
    }
    return *worksheet;
}

SheetView& SheetRef::view() const {
    index();
    return book->views[sheetId];
}

bool SheetRef::isActive() const {
    return app->activeBook == book && book->model.activeSheet() == index();
}

SheetRef sheetAt(const std::shared_ptr<ApplicationState>& app,
                 const std::shared_ptr<BookState>& book, std::size_t index) {
    return {app, book, book->model.sheet(index).id(), index};
}

void activateSheet(ApplicationState& app, const std::shared_ptr<BookState>& book,
                   std::size_t index) {
    book->model.setActiveSheet(index);
    app.activeBook = book;
}

std::size_t addWorksheet(BookState& book, std::optional<std::size_t> position) {
    auto& model = book.model;
    std::string name;
    do {
        name = "Sheet" + std::to_string(++book.sheetsMade);
    } while (model.indexOf(name));
    const auto at = position.value_or(model.activeSheet().value_or(0));
    model.addWorksheet(name, at);
    model.setActiveSheet(at);
    return at;
}

void deleteSheet(ApplicationState& app, BookState& book, std::size_t index) {
    takeOutSheet(app, book, index);
}

std::unique_ptr<Sheet> takeOutSheet(ApplicationState& app, BookState& book, std::size_t index) {
    auto& model = book.model;
    checkOtherVisible(model, index);
    const auto id = model.sheet(index).id();
    std::optional<std::uint32_t> next;
    if (model.activeSheet() == index) {
        next = model.sheet(*successor(model, index)).id();
    }
    auto sheet = model.takeSheet(index);
    book.views.erase(id);
    if (next) {
        model.setActiveSheet(findSheet(book, *next));
    }
    if (const auto* copied = std::get_if<CopiedRange>(&app.clipboard);
        copied && copied->book.lock().get() == &book && copied->sheetId == id) {
        app.clipboard = std::monostate{};
    }
    return sheet;
}

void setSheetHidden(BookState& book, std::size_t index, bool hidden) {
    auto& model = book.model;
    if (hidden == model.sheet(index).hidden()) {
        return;
    }
    if (hidden) {
        checkOtherVisible(model, index);
        if (model.activeSheet() == index) {
            model.setActiveSheet(*successor(model, index));
        }
    }
    model.sheet(index).setHidden(hidden);
}

} // namespace kelvor
