// Show Workbook when the reports go to the desktop's spreadsheet application: that
// application comes forward on the channel's workbook, and no window of the reader's opens.

#include "../unit/ForwardingApplication.h"
#include "WorkbookWindowFixture.h"

#include "shell/WorkbookWindows.h"

#include <gtest/gtest.h>

namespace kelvor {
namespace {

// Any application that is not the built-in one, as the shell sees it.
class DesktopApplication : public test::ForwardingApplication {
public:
    using ForwardingApplication::ForwardingApplication;
    void setVisible(bool visible) override {
        shown += visible ? 1 : 0;
        ForwardingApplication::setVisible(visible);
    }
    int shown = 0;
};

TEST_F(WorkbookWindowTest, ShowWorkbookBringsTheDesktopApplicationForwardOnTheChannelsBook) {
    WorkbookWindows windows(
        {.lights = lights, .exports = ctx, .channels = channels, .prompts = prompts});
    exportTo(0, "rate-shipper-lbf-in-50.txt");
    exportTo(1, "rate-shipper-lbf-in-50.txt"); // channel 1's workbook is the active one now
    const std::string first = ctx.application().Workbooks()->Item(1)->Name();
    ASSERT_NE(ctx.application().ActiveWorkbook()->Name(), first);
    auto desktop = std::make_shared<DesktopApplication>(ctx.ExcelApp);
    ctx.ExcelApp = desktop;

    windows.showWorkbook(0);
    EXPECT_EQ(desktop->shown, 1);
    EXPECT_EQ(ctx.application().ActiveWorkbook()->Name(), first);
    EXPECT_EQ(windows.window(0), nullptr);
    EXPECT_TRUE(prompts.shown.empty());

    windows.showWorkbook(2); // no report yet
    ASSERT_EQ(prompts.shown.size(), 1U);
    EXPECT_EQ(prompts.shown[0].text,
              "Channel 3 (Press C) has no open workbook yet: its next report starts one.");
    EXPECT_EQ(windows.window(2), nullptr);
}

} // namespace
} // namespace kelvor
