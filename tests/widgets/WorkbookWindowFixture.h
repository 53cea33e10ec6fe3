#pragma once

// Workbooks made by the real export from sample reports, for the workbook window to show.
#include "ScriptedPrompts.h"
#include "capture/ChannelInfo.h"
#include "export/ExportContext.h"
#include "export/ReportExportStep.h"
#include "host/app/automation/BuiltinApplication.h"
#include "host/app/automation/BuiltinApplicationFactory.h"
#include "workbookview/WorkbookWindow.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QTemporaryDir>

#include <array>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

namespace kelvor {

inline std::string sample(const std::string& file) {
    std::ifstream in(std::string(KELVOR_SOURCE_DIR) + "/samples/" + file, std::ios::binary);
    EXPECT_TRUE(in.good()) << file;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class WorkbookWindowTest : public ::testing::Test {
protected:
    WorkbookWindowTest() {
        for (int n = 0; n < ChannelCount; ++n) {
            channels[n].Description = "Press " + std::string(1, static_cast<char>('A' + n));
            lights[n] = &labels[n];
        }
        ctx.clock = [this] { return now; };
    }

    void exportTo(int channel, const std::string& file) {
        std::string text = sample(file);
        ReportExportStep(ctx).exportReport(channel, text, "", channels[channel].WorkbookIndex);
        ASSERT_TRUE(text.empty()) << file;
    }

    BuiltinApplication& app() { return dynamic_cast<BuiltinApplication&>(*ctx.ExcelApp); }

    template <class View> View& viewOf(WorkbookWindow& window, const QString& tab) {
        window.showTab(tab);
        EXPECT_EQ(window.currentTab(), tab);
        auto* view = dynamic_cast<View*>(window.currentView());
        EXPECT_NE(view, nullptr) << tab.toStdString();
        return *view;
    }

    QTemporaryDir dir;
    ScriptedPrompts prompts;
    std::function<void()> changed;
    BuiltinApplicationFactory factory{
        dir.filePath("Workbooks").toStdString(), {}, {.workbooksChanged = [this] {
            if (changed) {
                changed();
            }
        }}};
    ChannelTable channels;
    float offset = 0.5F;
    ExportContext ctx{factory, prompts, channels, offset};
    WallClock::time_point now = WallClock::now();
    std::array<QLabel, ChannelCount> labels;
    std::array<QWidget*, ChannelCount> lights{};
};

} // namespace kelvor
