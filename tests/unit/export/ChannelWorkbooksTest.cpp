#include "ExportFakes.h"
#include "ExportFixture.h"

#include "export/ChannelWorkbooks.h"
#include "export/ReportExportStep.h"

#include <gtest/gtest.h>

namespace kelvor::test {
namespace {

int errorNumberOf(const auto& call) {
    try {
        call();
    } catch (const xl::HostError& error) {
        return error.number();
    }
    return 0;
}

class ChannelWorkbooksTest : public ExportFixture {};

TEST_F(ChannelWorkbooksTest, FirstCallStartsOneVisibleApplicationWithDataOneWorkbook) {
    std::int32_t index = 0;
    ActivateChannelWorkbook(ctx, index);
    EXPECT_EQ(factory.created().size(), 1U);
    EXPECT_TRUE(builtin().visible());
    EXPECT_TRUE(builtin().displayAlerts());
    EXPECT_EQ(index, 1);
    EXPECT_EQ(sheetNames(), std::vector<std::string>{"Data 1"});

    // The same channel again: no new application, no new workbook.
    ActivateChannelWorkbook(ctx, index);
    EXPECT_EQ(factory.created().size(), 1U);
    EXPECT_EQ(ctx.application().Workbooks()->Count(), 1);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(ChannelWorkbooksTest, ChannelsGetWorkbooksOfTheirOwnByStoredPosition) {
    std::int32_t first = 0;
    std::int32_t second = -3; // zero or below: no workbook yet
    ActivateChannelWorkbook(ctx, first);
    ActivateChannelWorkbook(ctx, second);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 2);

    ActivateChannelWorkbook(ctx, first);
    EXPECT_EQ(ctx.application().ActiveWorkbook()->Name(),
              ctx.application().Workbooks()->Item(1)->Name());

    // A position beyond the open workbooks (the user closed it) gets a new one at the end.
    std::int32_t stale = 7;
    ActivateChannelWorkbook(ctx, stale);
    EXPECT_EQ(stale, 3);
    EXPECT_EQ(ctx.application().Workbooks()->Count(), 3);
}

class ChannelWorkbooksTestThreeSheets : public ExportFixture {
protected:
    ChannelWorkbooksTestThreeSheets() : ExportFixture(BuiltinOptions{.defaultSheetCount = 3}) {}
};

TEST_F(ChannelWorkbooksTestThreeSheets, NewWorkbookKeepsOnlyItsLastDefaultSheet) {
    std::int32_t index = 0;
    ActivateChannelWorkbook(ctx, index);
    EXPECT_EQ(sheetNames(), std::vector<std::string>{"Data 1"});
    EXPECT_TRUE(builtin().displayAlerts());
}

TEST_F(ChannelWorkbooksTest, ApplicationClosedByTheUserIsReplacedWithoutAMessage) {
    ReportExportStep step(ctx);
    std::int32_t index = 0;
    // Pasted and laid out only: no test kind of its own, so nothing more to tell.
    std::string report = reportText({"CONSTANT LOAD TEST NOTES", "x"});
    step.exportReport(0, report, "", index);
    factory.created().front()->close();

    report = reportText({"CONSTANT LOAD TEST NOTES", "y"});
    step.exportReport(0, report, "", index);
    EXPECT_EQ(factory.created().size(), 2U);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_TRUE(report.empty());
    EXPECT_EQ(index, 1);
    EXPECT_TRUE(builtin().visible());
    EXPECT_EQ(sheetNames(), std::vector<std::string>{"Data 1"});
    EXPECT_EQ(cell(2, 1), "y");
}

TEST(ChannelWorkbooksTestRetry, RestartsAreBoundedAndTheLastErrorReachesTheCaller) {
    // Each new application starts, then fails at its first workbook.
    CountingFactory vanishing([] { return std::make_shared<VanishedApplication>(true); });
    ScriptedPrompts prompts;
    ChannelTable channels;
    float offset = 0.5F;
    ExportContext ctx(vanishing, prompts, channels, offset);
    std::int32_t index = 0;
    EXPECT_EQ(errorNumberOf([&] { ActivateChannelWorkbook(ctx, index); }), 462);
    EXPECT_EQ(vanishing.created, 1 + MaxApplicationRestarts);
    EXPECT_NE(ctx.ExcelApp, nullptr);
    EXPECT_EQ(index, 0);
}

TEST(ChannelWorkbooksTestRetry, ApplicationThatCannotBeStartedReachesTheCaller) {
    CountingFactory none([]() -> std::shared_ptr<xl::Application> {
        throw xl::HostError(429, "KelvorReader2", "ActiveX component can't create object");
    });
    ScriptedPrompts prompts;
    ChannelTable channels;
    float offset = 0.5F;
    ExportContext ctx(none, prompts, channels, offset);
    std::int32_t index = 0;
    EXPECT_EQ(errorNumberOf([&] { ActivateChannelWorkbook(ctx, index); }), 429);
    // The first start fails inside a step, the second inside the handler.
    EXPECT_EQ(none.created, 2);
    EXPECT_EQ(ctx.ExcelApp, nullptr);

    // The same for one that starts but cannot even be shown.
    CountingFactory hidden([] { return std::make_shared<VanishedApplication>(); });
    ExportContext hiddenCtx(hidden, prompts, channels, offset);
    EXPECT_EQ(errorNumberOf([&] { ActivateChannelWorkbook(hiddenCtx, index); }), 462);
    EXPECT_EQ(hidden.created, 2);
}

} // namespace
} // namespace kelvor::test
