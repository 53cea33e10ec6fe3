#include "ChartExportFixture.h"

#include <gtest/gtest.h>

namespace kelvor::test {
namespace {

constexpr const char* DateTimeFormat = "m/d/yy h:mm:ss";

class LoadSheetTest : public ChartExportFixture {
protected:
    // No cell in columns `first` to I of the data sheet: the work columns are clean again.
    bool columnsEmptyFrom(std::uint32_t first) {
        for (const auto& [row, cells] : worksheet("Data 1").rows()) {
            for (const auto& held : cells) {
                if (held.column >= first && held.column <= 9) {
                    return false;
                }
            }
        }
        return true;
    }
};

TEST_F(LoadSheetTest, ForceAndHumiditySampleIsReworkedAndCharted) {
    EXPECT_EQ(exportReport(sampleReport("load-stack-creep-lbf-in.txt")), "");
    EXPECT_TRUE(prompts.shown.empty()) << ::testing::PrintToString(promptTexts());
    const std::string s = "Data 1";

    // Date and time of day combined in A; the time column gone.
    EXPECT_EQ(text(s, 13, 1), "DATE");
    EXPECT_DOUBLE_EQ(number(s, 14, 1), 44992.375); // 3/7/23 09:00:00
    EXPECT_EQ(style(s, 14, 1).numberFormat, DateTimeFormat);
    EXPECT_NEAR(number(s, 301, 1), 44995.0 + 8.75 / 24, 1e-9); // 3/10/23 08:45:00
    EXPECT_FALSE(worksheet(s).cell(14, 1)->hasFormula());
    EXPECT_EQ(number(s, 14, 2), 149.7);
    EXPECT_EQ(number(s, 14, 3), 0.0326);
    EXPECT_EQ(number(s, 14, 4), 72.7);
    EXPECT_EQ(number(s, 14, 5), 44.0);
    EXPECT_TRUE(columnsEmptyFrom(6));

    EXPECT_EQ(text(s, 13, 2), "FORCE\n(lbf)");
    EXPECT_EQ(text(s, 13, 3), "DEFLECTION\n(in)");
    EXPECT_EQ(text(s, 13, 4), "TEMPERATURE\n(\xC2\xBA F)");
    EXPECT_EQ(text(s, 13, 5), "HUMIDITY\n(%)");
    for (std::uint32_t column = 2; column <= 5; ++column) {
        EXPECT_EQ(style(s, 13, column).horizontal, HorizontalAlignment::Right);
        ASSERT_NE(worksheet(s).columnFormat(column), nullptr);
        EXPECT_TRUE(worksheet(s).columnFormat(column)->autoFitted);
    }
    EXPECT_TRUE(worksheet(s).columnFormat(1)->autoFitted);
    EXPECT_EQ(worksheet(s).pageSetup().printTitleRows, "$13:$13");

    // The chart sheet is last and active; the summary is not rebuilt.
    EXPECT_EQ(names(), (std::vector<std::string>{"Data 1", "Data 1 Plot"}));
    EXPECT_EQ(activeName(), "Data 1 Plot");
    const Chart& plot = chart("Data 1 Plot");
    EXPECT_EQ(plot.title.text, "CONSTANT LOAD TEST DATA");
    EXPECT_EQ(plot.title.fontName, "Arial");
    EXPECT_TRUE(plot.title.bold);
    EXPECT_EQ(plot.title.fontSize, 12.0);
    EXPECT_EQ(plot.axis(AxisType::Category, AxisGroup::Primary).title.text, "Time");
    EXPECT_EQ(plot.axis(AxisType::Value, AxisGroup::Primary).title.text, "Force (lbf)");
    const ChartAxis& secondary = plot.axis(AxisType::Value, AxisGroup::Secondary);
    EXPECT_TRUE(secondary.hasTitle);
    EXPECT_EQ(secondary.title.text, "Deflection (in)");
    ASSERT_EQ(plot.series.size(), 2U);
    EXPECT_EQ(plot.series.at(0).name, "FORCE\n(lbf)");
    EXPECT_EQ(plot.series.at(0).axisGroup, 1);
    EXPECT_EQ(plot.series.at(1).name, "DEFLECTION\n(in)");
    EXPECT_EQ(plot.series.at(1).axisGroup, 2);
    ASSERT_EQ(plot.series.at(1).values.size(), 288U);
    EXPECT_EQ(plot.series.at(1).values.front(), 0.0326);
    EXPECT_DOUBLE_EQ(plot.series.at(1).xValues.front(), 44992.375);

    ASSERT_EQ(plot.textBoxes.size(), 1U);
    const TextBox& box = plot.textBoxes[0];
    // The box grows to fit its text; the application keeps it on the page.
    EXPECT_NEAR(box.left, 580.0, 10.0);
    EXPECT_EQ(box.top, 20.0);
    EXPECT_EQ(box.fontSize, 6.0);
    EXPECT_TRUE(box.text.starts_with("Line 2 crusher\nForce units in lbf\n"));
    EXPECT_TRUE(box.text.ends_with("Duration: 72 h\n")) << box.text;
    EXPECT_EQ(chartPage("Data 1 Plot").rightFooter, "File: &F  Sheet:&A");
}

TEST_F(LoadSheetTest, WithoutForceTheDeflectionIsTheOnlyValueAxis) {
    exportReport(sampleReport("load-tube-creep-no-force-n-mm.txt"));
    EXPECT_TRUE(prompts.shown.empty()) << ::testing::PrintToString(promptTexts());
    const std::string s = "Data 1";
    EXPECT_DOUBLE_EQ(number(s, 17, 1), 45089.6875); // 06/12/2023 16:30:00
    EXPECT_EQ(text(s, 16, 2), "DEFLECTION\n(mm)");
    EXPECT_EQ(text(s, 16, 3), "TEMPERATURE\n(\xC2\xBA F)");
    EXPECT_EQ(text(s, 16, 4), "HUMIDITY\n(%)");
    EXPECT_EQ(number(s, 17, 2), 0.305);
    EXPECT_TRUE(columnsEmptyFrom(5));

    const Chart& plot = chart("Data 1 Plot");
    ASSERT_EQ(plot.series.size(), 1U);
    EXPECT_EQ(plot.series.at(0).axisGroup, 1);
    EXPECT_EQ(plot.series.at(0).values.size(), 240U);
    EXPECT_EQ(plot.axis(AxisType::Value, AxisGroup::Primary).title.text, "Deflection (mm)");
    EXPECT_FALSE(plot.axis(AxisType::Value, AxisGroup::Secondary).hasTitle);
}

TEST_F(LoadSheetTest, WithoutHumidityNoTemperatureLineIsRead) {
    exportReport(sampleReport("load-bottle-creep-no-humidity-kgf-mm.txt"));
    EXPECT_TRUE(prompts.shown.empty()) << ::testing::PrintToString(promptTexts());
    const std::string s = "Data 1";
    EXPECT_EQ(text(s, 12, 2), "FORCE\n(kgf)");
    EXPECT_EQ(text(s, 12, 3), "DEFLECTION\n(mm)");
    EXPECT_TRUE(empty(s, 12, 4));
    // Across midnight: 8/31/23 06:10:00 on the last line.
    EXPECT_NEAR(number(s, 108, 1), 45169.0 + (6.0 + 10.0 / 60) / 24, 1e-9);
    EXPECT_EQ(chart("Data 1 Plot").series.size(), 2U);
}

TEST_F(LoadSheetTest, ALaterRateReportSummarisesWithoutTheLoadSheet) {
    exportReport(sampleReport("load-stack-creep-lbf-in.txt"));
    exportReport(rateReport("400", "0.25", {"0.05,40.5", "0.10,88.0"}, {}, "N"));
    EXPECT_TRUE(prompts.shown.empty()) << ::testing::PrintToString(promptTexts());
    EXPECT_EQ(number("Summary", 3, 2), 1.0);
    EXPECT_EQ(text("Summary", 11, 1), "Data 2");
    // The load sheet's units are not taken either.
    EXPECT_EQ(text("Summary", 4, 2), "N");
    EXPECT_EQ(chart("Summary Plot").series.size(), 1U);
}

} // namespace
} // namespace kelvor::test
