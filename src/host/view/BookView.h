#pragma once

#include "host/model/Workbook.h"

#include <filesystem>
#include <memory>

namespace kelvor {

struct BookState;

// One workbook of the built-in application as a window shows it: the model, read-only, and
// the file it is mirrored to; never the application's state or the writer. It keeps the
// workbook alive as a handle does, so a window over a workbook the application closed shows
// its last state until the window goes.
class BookView {
public:
    // Implicit: a window is made from the book the application hands out.
    BookView(std::shared_ptr<const BookState> book);
    BookView(std::shared_ptr<BookState> book);

    const Workbook& workbook() const;
    const std::filesystem::path& filePath() const;

    // Which of the application's books this is, for the window's owner to compare; the view
    // itself never reads it.
    const BookState& book() const { return *book_; }

private:
    std::shared_ptr<const BookState> book_;
};

} // namespace kelvor
