// Where pages break and what their headers and footers read.
#include "printing/PageFrame.h"
#include "printing/SheetPages.h"

#include <gtest/gtest.h>

namespace kelvor {
namespace {

TEST(PageCodeTest, CodesAreFilledInAndFormattingCodesLeftOut) {
    const PageFacts facts{"Press A 2023-03-07.xlsx", "Data 1", 3, 20};
    EXPECT_EQ(pageCodeText("File: &F  Sheet:&A", facts),
              "File: Press A 2023-03-07.xlsx  Sheet:Data 1");
    EXPECT_EQ(pageCodeText("Page &P of &N", facts), "Page 3 of 20");
    EXPECT_EQ(pageCodeText("&\"Arial,Bold\"&8Load && Rate&B&I", facts), "Load & Rate");
    EXPECT_EQ(pageCodeText("&K00FF00green &12&p/&n", facts), "green 3/20");
    EXPECT_EQ(pageCodeText("trailing &", facts), "trailing ");
    EXPECT_EQ(pageCodeText("\xC2\xBA F &\"unclosed", facts), "\u00BA F ");
}

TEST(PrintTitleRowsTest, OnlyWholeRowSpansAreTitles) {
    EXPECT_EQ(titleRowSpan("$15:$15"), (RowSpan{15, 15}));
    EXPECT_EQ(titleRowSpan("3:4"), (RowSpan{3, 4}));
    EXPECT_EQ(titleRowSpan(""), std::nullopt);
    EXPECT_EQ(titleRowSpan("$A:$B"), std::nullopt);
    EXPECT_EQ(titleRowSpan("$5:$4"), std::nullopt);
    EXPECT_EQ(titleRowSpan("$0:$1"), std::nullopt);
    EXPECT_EQ(titleRowSpan("$1:$2x"), std::nullopt);
}

TEST(PaginateTest, TitleRowsTakeTheirRoomOnEveryPageBelowThem) {
    // Ten rows of 10 on pages of 35: titles at row 2 on pages after the first.
    const std::vector<double> rows(10, 10.0);
    const auto pages = paginate(rows, {50.0}, RowSpan{2, 2}, 35, 100);
    const std::vector<PageCells> expected{
        {1, 3, 1, 1}, {4, 5, 1, 1}, {6, 7, 1, 1}, {8, 9, 1, 1}, {10, 10, 1, 1}};
    EXPECT_EQ(pages, expected); // after the first, two rows and the title row a page
}

TEST(PaginateTest, ColumnsGoDownFirstThenOverAndOversizedItemsGetPagesOfTheirOwn) {
    const std::vector<double> rows{10, 50, 10};
    const std::vector<double> columns{30, 30, 30, 120};
    const auto pages = paginate(rows, columns, std::nullopt, 40, 70);
    const std::vector<PageCells> expected{{1, 1, 1, 2}, {2, 2, 1, 2}, {3, 3, 1, 2},
                                          {1, 1, 3, 3}, {2, 2, 3, 3}, {3, 3, 3, 3},
                                          {1, 1, 4, 4}, {2, 2, 4, 4}, {3, 3, 4, 4}};
    EXPECT_EQ(pages, expected);
    EXPECT_TRUE(paginate({}, columns, std::nullopt, 40, 70).empty());
}

TEST(PaginateTest, TitlesBeyondTheSheetAndHiddenColumnsTakeNoRoom) {
    const auto pages = paginate({10, 10, 10}, {0, 40, 0}, RowSpan{9, 9}, 30, 40);
    ASSERT_EQ(pages.size(), 1U);
    EXPECT_EQ(pages[0], (PageCells{1, 3, 1, 3}));
}

} // namespace
} // namespace kelvor
