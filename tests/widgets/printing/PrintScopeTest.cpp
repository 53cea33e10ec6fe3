// Which sheets "the sheet shown", "this test" and "the whole workbook" take.
#include "printing/PrintScope.h"

#include <gtest/gtest.h>

namespace kelvor {
namespace {

class PrintScopeTest : public ::testing::Test {
protected:
    PrintScopeTest() {
        for (const char* name : {"Data 1", "Data 1 Plot", "Data 2", "Data 2 Plot", "Data 3"}) {
            add(name);
        }
        add("Summary XOffset").setHidden(true);
        add("Summary");
        add("Summary Plot");
    }
    Sheet& add(const std::string& name) {
        return name.ends_with("Plot") ? static_cast<Sheet&>(book.addChartSheet(name))
                                      : book.addWorksheet(name);
    }
    std::uint32_t id(const std::string& name) const { return book.sheet(*book.indexOf(name)).id(); }
    std::vector<std::uint32_t> ids(std::initializer_list<const char*> names) const {
        std::vector<std::uint32_t> out;
        for (const char* name : names) {
            out.push_back(id(name));
        }
        return out;
    }

    Workbook book;
};

TEST_F(PrintScopeTest, ATestIsItsDataSheetAndItsChartFromEitherOne) {
    EXPECT_EQ(sheetsToPrint(book, id("Data 2"), PrintScope::Test), ids({"Data 2", "Data 2 Plot"}));
    EXPECT_EQ(sheetsToPrint(book, id("Data 2 Plot"), PrintScope::Test),
              ids({"Data 2", "Data 2 Plot"}));
    EXPECT_EQ(sheetsToPrint(book, id("Summary Plot"), PrintScope::Test),
              ids({"Summary", "Summary Plot"}));
    // A report that was not charted has no chart to go with it.
    EXPECT_EQ(sheetsToPrint(book, id("Data 3"), PrintScope::Test), ids({"Data 3"}));
    EXPECT_EQ(sheetsToPrint(book, id("Data 2 Plot"), PrintScope::Sheet), ids({"Data 2 Plot"}));
}

TEST_F(PrintScopeTest, TheWorkbookIsItsVisibleSheetsInOrderAndHiddenPartnersStayOut) {
    EXPECT_EQ(sheetsToPrint(book, id("Data 1"), PrintScope::Workbook),
              ids({"Data 1", "Data 1 Plot", "Data 2", "Data 2 Plot", "Data 3", "Summary",
                   "Summary Plot"}));
    book.sheet(*book.indexOf("Data 1 Plot")).setHidden(true);
    EXPECT_EQ(sheetsToPrint(book, id("Data 1"), PrintScope::Test), ids({"Data 1"}));
    EXPECT_TRUE(sheetsToPrint(book, 999, PrintScope::Sheet).empty());
}

} // namespace
} // namespace kelvor
