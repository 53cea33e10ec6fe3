// "Summarize Now" carried out by the real spreadsheet export and the built-in application.
#include "ManualTimer.h"
#include "ScriptedPrompts.h"
#include "dialogs/Dialogs.h"
#include "dialogs/FrmSetup.h"
#include "export/ExportContext.h"
#include "host/app/automation/BuiltinApplicationFactory.h"
#include "shell/ExportSummary.h"
#include "shell/Main.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTemporaryDir>

#include <string>
#include <vector>

namespace kelvor {
namespace {

class SummarizeNowExport : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QWidget owner;
    AppState state;
    ManualTimer commStart;
    ScriptedPrompts prompts;
    BuiltinApplicationFactory factory{dir.filePath("Workbooks").toStdString()};
    ExportContext ctx{factory, prompts, state.ChannelInfo, state.SummaryTraceOffset};
    ExportSummary summary{ctx, state.ChannelInfo};
    Dialogs dialogs{owner, Dialogs::Services{.ChannelInfo = state.ChannelInfo,
                                             .SummaryTraceOffset = state.SummaryTraceOffset,
                                             .ReleaseText = state.ReleaseText,
                                             .CommStart = commStart,
                                             .prompts = prompts,
                                             .summary = summary,
                                             .Platform = state.Platform,
                                             .IniPath = state.IniPath,
                                             .locale = QLocale(QLocale::English)}};

    void SetUp() override {
        Main(state);
        state.SummaryTraceOffset = 0.5F;
    }
    std::vector<std::string> sheetNames() {
        std::vector<std::string> names;
        const auto sheets = ctx.application().Sheets();
        for (int i = 1; i <= sheets->Count(); ++i) {
            names.push_back(sheets->Item(i)->Name());
        }
        return names;
    }
};

TEST_F(SummarizeNowExport, NoChannelEnabledStartsNoSpreadsheetApplication) {
    dialogs.showSetup().Command1Click(3);
    EXPECT_TRUE(factory.created().empty());
    EXPECT_EQ(ctx.ExcelApp, nullptr);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(SummarizeNowExport, ChannelThatNeverExportedGetsItsWorkbookAndASummary) {
    state.ChannelInfo[3].Enabled = 1;
    FrmSetup& setup = dialogs.showSetup();
    setup.TraceOffset().setText("0.25");
    setup.Command1Click(3);
    ASSERT_TRUE(prompts.shown.empty()) << prompts.shown.front().text;
    ASSERT_EQ(factory.created().size(), 1U);
    EXPECT_EQ(state.ChannelInfo[3].WorkbookIndex, 1);
    EXPECT_EQ(sheetNames(),
              (std::vector<std::string>{"Data 1", "Summary", "Summary Plot", "Summary XOffset"}));
    EXPECT_EQ(ctx.application().Sheets()->Item(4)->Visible(), xl::xlSheetHidden);
    EXPECT_FLOAT_EQ(state.SummaryTraceOffset, 0.25F);
    EXPECT_EQ(dialogs.setup(), &setup); // the dialog stays open
}

} // namespace
} // namespace kelvor
