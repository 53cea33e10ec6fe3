// A summary never disappears: an export that takes it away without building it again (a
// transmission that is no test report, a constant-load test) puts it back as Summarize Now
// would build it.
#include "ChartExportFixture.h"

#include <gtest/gtest.h>

#include <sstream>

namespace kelvor::test {
namespace {

class SummaryKeptTest : public ChartExportFixture {
protected:
    // The Summary's cells and the plot's series as text, to compare whole.
    std::string summaryShown() {
        std::ostringstream out;
        for (std::uint32_t row = 1; row <= 16; ++row) {
            for (std::uint32_t column = 1; column <= 4; ++column) {
                const CellValue held = value("Summary", row, column);
                if (const auto* number = std::get_if<double>(&held)) {
                    out << row << ',' << column << '=' << *number << '\n';
                } else if (const auto* heldText = textOf(held)) {
                    out << row << ',' << column << '=' << *heldText << '\n';
                }
            }
        }
        for (const auto& series : chart("Summary Plot").series) {
            out << series.name << ' ' << series.xValues.size() << '\n';
        }
        return out.str();
    }

    std::vector<std::string> summarySheets() {
        const auto all = names();
        return {all.end() - 3, all.end()};
    }

    void exportThreeRateTests() {
        exportReport(rateReport("400", "0.25"));
        exportReport(rateReport("380", "0.22"));
        exportReport(rateReport("460", "0.31"));
    }
};

const std::vector<std::string> SummarySheets = {"Summary", "Summary Plot", "Summary XOffset"};

TEST_F(SummaryKeptTest, NoiseLeavesTheSummaryAsItWas) {
    exportThreeRateTests();
    const std::string before = summaryShown();
    const std::size_t sheets = names().size();

    exportReport("+++ATH0\r\nNO CARRIER\r\n");
    EXPECT_EQ(prompts.beeps, 1);
    EXPECT_TRUE(prompts.shown.empty()) << ::testing::PrintToString(promptTexts());
    EXPECT_EQ(names().size(), sheets);
    EXPECT_EQ(summarySheets(), SummarySheets);
    EXPECT_EQ(summaryShown(), before);
    EXPECT_TRUE(book().sheet(book().indexOf("Summary XOffset").value()).hidden());
    // The removal walk's last sheet stays in view, as without a summary.
    EXPECT_EQ(activeName(), "Data 1");
}

TEST_F(SummaryKeptTest, AConstantLoadTestLeavesTheSummarizeNowSummary) {
    exportThreeRateTests();
    const std::string before = summaryShown();

    exportReport(sampleReport("load-stack-creep-lbf-in.txt"));
    EXPECT_TRUE(prompts.shown.empty()) << ::testing::PrintToString(promptTexts());
    EXPECT_EQ(summarySheets(), SummarySheets);
    EXPECT_EQ(names().at(names().size() - 4), "Data 4 Plot");
    EXPECT_EQ(activeName(), "Data 4 Plot");
    EXPECT_EQ(summaryShown(), before);

    rebuildSummary();
    EXPECT_EQ(summaryShown(), before);
}

// Nothing to put back: a workbook that never had a summary gets none from such a report.
TEST_F(SummaryKeptTest, AWorkbookWithoutASummaryGetsNone) {
    exportReport(sampleReport("load-stack-creep-lbf-in.txt"));
    exportReport("line noise\r\n");
    EXPECT_EQ(names(), (std::vector<std::string>{"Data 1", "Data 1 Plot"}));
}

} // namespace
} // namespace kelvor::test
