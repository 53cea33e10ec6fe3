#include "host/app/state/SheetsAside.h"

#include "export/SummaryFollow.h"
#include "host/app/errors/HostErrors.h"
#include "host/app/state/ApplicationState.h"

#include <algorithm>
#include <atomic>
#include <string>
#include <utility>

namespace kelvor {

namespace {

std::uint64_t nextToken() {
    static std::atomic<std::uint64_t> counter{0};
    return ++counter;
}

bool unchangedInFront(const BookState& book) {
    const auto& marked = book.aside.marked;
    if (book.model.sheetCount() < marked.size()) {
        return false;
    }
    for (std::size_t i = 0; i < marked.size(); ++i) {
        const Sheet& sheet = book.model.sheet(i);
        if (sheet.key() != marked[i].first || sheet.revision() != marked[i].second) {
            return false;
        }
    }
    return true;
}

// The default names a sheet made now would have been given first are used up the same way,
// so that later sheets are named as after a rebuild.
void countAsMade(BookState& book, const Sheet& sheet) {
    const bool chart = sheet.kind() == SheetKind::ChartSheet;
    int& made = chart ? book.chartsMade : book.sheetsMade;
    const std::string prefix = chart ? "Chart" : "Sheet";
    while (book.model.indexOf(prefix + std::to_string(++made))) {
    }
}

class BuiltinSummaryFollow : public xl::SummaryFollow {
public:
    BuiltinSummaryFollow(std::shared_ptr<ApplicationState> app, std::shared_ptr<BookState> book)
        : app_(std::move(app)), book_(std::move(book)) {}

    void setAside(std::int32_t index) override {
        app_->checkOpen(*book_);
        if (index < 1 || static_cast<std::size_t>(index) > book_->model.sheetCount()) {
            throw subscriptError();
        }
        setSheetAside(*app_, *book_, static_cast<std::size_t>(index) - 1);
        app_->edited(*book_);
    }

    std::uint64_t mark(std::int32_t count) override {
        app_->checkOpen(*book_);
        return markSheets(*book_, static_cast<std::size_t>(std::max(count, 0)));
    }

    bool putBack(std::uint64_t token, std::int32_t count) override {
        app_->checkOpen(*book_);
        const bool back =
            putSheetsBack(*book_, token, static_cast<std::size_t>(std::max(count, 0)));
        app_->edited(*book_);
        return back;
    }

    void drop() override {
        app_->checkOpen(*book_);
        dropSheetsAside(*book_);
    }

private:
    std::shared_ptr<ApplicationState> app_;
    std::shared_ptr<BookState> book_;
};

} // namespace

void setSheetAside(ApplicationState& app, BookState& book, std::size_t index) {
    book.aside.sheets.push_back(takeOutSheet(app, book, index));
}

std::uint64_t markSheets(BookState& book, std::size_t count) {
    // Their charts' cached values are brought up to date first, as the next write would:
    // that is no change of the sheets.
    refreshChartCaches(book.model, book.chartCaches, count);
    auto& aside = book.aside;
    aside.marked.clear();
    for (std::size_t i = 0; i < count && i < book.model.sheetCount(); ++i) {
        const Sheet& sheet = book.model.sheet(i);
        aside.marked.emplace_back(sheet.key(), sheet.revision());
    }
    aside.token = nextToken();
    return aside.token;
}

bool putSheetsBack(BookState& book, std::uint64_t token, std::size_t count) {
    auto& aside = book.aside;
    if (token == 0 || token != aside.token || aside.sheets.size() != count ||
        !unchangedInFront(book)) {
        dropSheetsAside(book);
        return false;
    }
    auto sheets = std::move(aside.sheets);
    aside.sheets.clear();
    for (auto sheet = sheets.rbegin(); sheet != sheets.rend(); ++sheet) {
        if (book.model.indexOf((*sheet)->name())) {
            return false; // its name was taken meanwhile: the caller rebuilds
        }
        countAsMade(book, **sheet);
        book.model.putBackSheet(std::move(*sheet));
    }
    return true;
}

void dropSheetsAside(BookState& book) {
    book.aside.sheets.clear();
}

std::shared_ptr<xl::SummaryFollow> summaryFollowOf(std::shared_ptr<ApplicationState> app,
                                                   std::shared_ptr<BookState> book) {
    return std::make_shared<BuiltinSummaryFollow>(std::move(app), std::move(book));
}

} // namespace kelvor
