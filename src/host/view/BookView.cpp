#include "host/view/BookView.h"

#include "host/app/state/ApplicationState.h"

#include <stdexcept>

namespace kelvor {

BookView::BookView(std::shared_ptr<const BookState> book) : book_(std::move(book)) {
    if (book_ == nullptr) {
        throw std::invalid_argument("a view needs a workbook");
    }
}

BookView::BookView(std::shared_ptr<BookState> book)
    : BookView(std::shared_ptr<const BookState>(std::move(book))) {}

const Workbook& BookView::workbook() const {
    return book_->model;
}

const std::filesystem::path& BookView::filePath() const {
    return book_->file.path;
}

} // namespace kelvor
