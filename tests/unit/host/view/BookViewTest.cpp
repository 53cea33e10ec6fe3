// The workbook window's read-only view of one workbook.
#include "host/view/BookView.h"
#include "host/app/state/ApplicationState.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

namespace kelvor {
namespace {

TEST(BookViewTest, ReadsTheBookAsItIsNowNotAsItWasWhenMade) {
    auto book = std::make_shared<BookState>("Press A");
    book->model.addWorksheet("Data 1");
    const BookView view(book);
    // An export after the window opened: the view shows it.
    book->model.addWorksheet("Data 2");
    book->file.path = "/tmp/Press A.xlsx";
    EXPECT_EQ(view.workbook().sheetCount(), 2U);
    EXPECT_EQ(&view.workbook(), &book->model);
    EXPECT_EQ(view.filePath(), book->file.path);
    EXPECT_EQ(&view.book(), book.get());
}

TEST(BookViewTest, KeepsAClosedBookAliveForItsWindow) {
    auto book = std::make_shared<BookState>("Press A");
    book->model.addWorksheet("Data 1");
    const std::weak_ptr<BookState> held = book;
    const BookView view(std::move(book));
    EXPECT_FALSE(held.expired());
    EXPECT_EQ(view.workbook().sheet(0).name(), "Data 1");
}

TEST(BookViewTest, RefusesNoBook) {
    EXPECT_THROW(BookView{std::shared_ptr<const BookState>{}}, std::invalid_argument);
}

} // namespace
} // namespace kelvor
