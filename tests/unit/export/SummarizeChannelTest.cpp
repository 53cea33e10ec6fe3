#include "ChartExportFixture.h"
#include "ExportFakes.h"

#include "export/SummarizeChannel.h"

#include <gtest/gtest.h>

namespace kelvor::test {
namespace {

class SummarizeChannelTest : public ChartExportFixture {
protected:
    void summarize(std::int32_t channel) {
        SummarizeChannel(ctx, channel, channels[channel].ReceivedText,
                         channels[channel].WorkbookIndex);
    }

    void expectApplicationRestored() {
        EXPECT_TRUE(builtin().screenUpdating());
        EXPECT_TRUE(builtin().calculationAutomatic());
        EXPECT_TRUE(builtin().displayAlerts());
    }
};

TEST_F(SummarizeChannelTest, ChannelThatNeverExportedGetsItsWorkbookAndSummary) {
    summarize(3);
    EXPECT_EQ(channels[3].WorkbookIndex, 1);
    index = 1;
    EXPECT_EQ(names(),
              (std::vector<std::string>{"Data 1", "Summary", "Summary Plot", "Summary XOffset"}));
    EXPECT_EQ(worksheet("Data 1").cellCount(), 0U);
    EXPECT_TRUE(empty("Summary", 3, 2));
    EXPECT_TRUE(chart("Summary Plot").series.empty());
    EXPECT_EQ(chart("Summary Plot").axis(AxisType::Value, AxisGroup::Primary).title.text,
              "Force ()");
    EXPECT_EQ(chart("Summary Plot").textBoxes.at(0).text,
              "Number of Tests: \n"
              "Maximum Force:  Deformation: \n"
              "Minimum Force:  Deformation: \n"
              "Average Force:  Average Deformation: \n"
              "Standard Deviation:  Standard Deviation: ");
    EXPECT_TRUE(book().sheet(3).hidden());
    EXPECT_EQ(worksheet("Summary XOffset").cellCount(), 0U);
    EXPECT_TRUE(prompts.shown.empty());
    expectApplicationRestored();
    EXPECT_FALSE(test::readPackage(builtin().workbookFile(1)).empty());
}

TEST_F(SummarizeChannelTest, TextLeftOnTheChannelIsTakenInFirst) {
    channels[2].ReceivedText = rateReport("400", "0.25");
    traceOffset = 1.0F;
    exportReport(rateReport("380", "0.22")); // channel 1's workbook, position 1
    summarize(2);
    EXPECT_EQ(channels[2].ReceivedText, "");
    index = channels[2].WorkbookIndex;
    EXPECT_EQ(index, 2);
    EXPECT_EQ(names(), (std::vector<std::string>{"Data 1", "Data 1 Plot", "Summary", "Summary Plot",
                                                 "Summary XOffset"}));
    EXPECT_EQ(number("Summary", 3, 2), 1.0);
    EXPECT_EQ(number("Summary", 5, 2), 400.0);
    expectApplicationRestored();
}

TEST_F(SummarizeChannelTest, SummaryUsesTheCurrentTraceOffset) {
    exportReport(rateReport("400", "0.25"));
    exportReport(rateReport("380", "0.22"));
    channels[1].WorkbookIndex = index;
    traceOffset = 1.25F;
    summarize(1);
    EXPECT_EQ(worksheet("Summary XOffset").cell(16, 2)->formula, "='Data 2'!RC1 +  1.25");
    EXPECT_EQ(activeName(), "Summary Plot");
}

TEST_F(SummarizeChannelTest, FailedSummaryStillRestoresTheApplicationAndThrows) {
    exportReport(rateReport("400", "0.25"));
    channels[1].WorkbookIndex = index;
    const auto real = ctx.ExcelApp;
    // The application refuses the summary plot's chart.
    ctx.ExcelApp = std::make_shared<FailingApplication>(real, 1, "ActiveChart");

    try {
        summarize(1);
        ADD_FAILURE() << "the summary should fail";
    } catch (const xl::HostError& error) {
        EXPECT_EQ(error.number(), 1004);
    }
    ctx.ExcelApp = real;
    expectApplicationRestored();
    // Not even the finished Summary sheet is left, in the workbook or its file.
    EXPECT_EQ(names(), (std::vector<std::string>{"Data 1", "Data 1 Plot"}));
    const auto package = test::readPackage(builtin().workbookFile(index));
    ASSERT_TRUE(package.contains("xl/workbook.xml"));
    EXPECT_EQ(package.at("xl/workbook.xml").content.find("Summary"), std::string::npos);
}

} // namespace
} // namespace kelvor::test
