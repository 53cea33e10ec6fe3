#include "host/app/fit/RowFit.h"
#include "ChartExportFixture.h"
#include "XlsxPackage.h"

#include <gtest/gtest.h>

namespace kelvor::test {
namespace {

TEST(RowFitTest, LinesAreAsHighAsTheApplicationMakesThem) {
    EXPECT_DOUBLE_EQ(lineHeight(10), 12.75);
    EXPECT_DOUBLE_EQ(lineHeight(12), 15.75);
    EXPECT_DOUBLE_EQ(lineHeight(8), 10.5);
}

class RowFitTestExport : public ChartExportFixture {};

// The two-line column headers need their height in the file: readers that do not fit rows
// themselves would draw them over the row above.
TEST_F(RowFitTestExport, HeaderRowsOfTwoLinesAreWrittenTwoLinesHigh) {
    exportReport(sampleReport("rate-paper-core-n-mm-150.txt"));
    exportReport(sampleReport("load-stack-creep-lbf-in.txt"));
    const auto package = test::readPackage(builtin().workbookFile(index));
    const auto part = [&](const std::string& sheet) {
        const auto id = book().sheet(book().indexOf(sheet).value()).id();
        return package.at("xl/worksheets/sheet" + std::to_string(id) + ".xml").content;
    };
    const std::string rate = part("Data 1");
    EXPECT_NE(rate.find("<row r=\"15\" ht=\"25.5\">"), std::string::npos);
    EXPECT_NE(rate.find("<row r=\"14\">"), std::string::npos); // one line: the default
    EXPECT_NE(part("Data 2").find("<row r=\"13\" ht=\"25.5\">"), std::string::npos);
}

} // namespace
} // namespace kelvor::test
