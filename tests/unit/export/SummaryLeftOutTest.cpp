#include "ChartExportFixture.h"
#include "ExportFakes.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kelvor::test {
namespace {

// A sample report with one thing a tester should never send, and the note the Summary sheet
// then carries for its sheet.
struct Malformed {
    std::string label;
    std::string from;
    std::string to;
    std::string note;
};

void PrintTo(const Malformed& malformed, std::ostream* out) {
    *out << malformed.label;
}

std::string malformedShipper(const Malformed& m) {
    std::string report = sampleReport("rate-shipper-lbf-in-50.txt");
    const auto at = report.find(m.from);
    EXPECT_NE(at, std::string::npos) << m.from;
    return report.replace(at, m.from.size(), m.to);
}

class SummaryLeftOutTest : public ChartExportFixture,
                           public ::testing::WithParamInterface<Malformed> {};

// Whatever the bad report did to its own export, every later summary is whole and counts the
// good tests only.
TEST_P(SummaryLeftOutTest, MalformedReportThenThreeValidOnes) {
    exportReport(malformedShipper(GetParam()));
    const std::size_t ownBoxes = prompts.shown.size();
    EXPECT_LE(ownBoxes, 1U);
    for (const char* file : {"rate-paper-core-n-mm-150.txt", "rate-bottle-topload-kgf-mm-300.txt",
                             "rate-shipper-lbf-in-50.txt"}) {
        // In the shipper's units, so that none of them is left out for its units.
        std::string report = sampleReport(file);
        const auto units = report.find("Force units in ");
        const auto end = report.find("\r\n", report.find("Deflection units in "));
        exportReport(
            report.replace(units, end - units, "Force units in lbf\r\nDeflection units in in"));
        EXPECT_EQ(prompts.shown.size(), ownBoxes)
            << file << ::testing::PrintToString(promptTexts());
    }

    const auto sheets = names();
    ASSERT_GE(sheets.size(), 9U) << ::testing::PrintToString(sheets);
    EXPECT_EQ(
        std::vector<std::string>(sheets.end() - 9, sheets.end()),
        (std::vector<std::string>{"Data 2", "Data 2 Plot", "Data 3", "Data 3 Plot", "Data 4",
                                  "Data 4 Plot", "Summary", "Summary Plot", "Summary XOffset"}));
    EXPECT_EQ(number("Summary", 3, 2), 3.0);
    EXPECT_EQ(number("Summary", 5, 2), 3421.8);
    EXPECT_EQ(number("Summary", 6, 2), 38.74);
    for (std::uint32_t k = 0; k < 3; ++k) {
        EXPECT_EQ(text("Summary", 11 + k, 1), "Data " + std::to_string(2 + k));
        EXPECT_EQ(chart("Data " + std::to_string(2 + k) + " Plot").series.size(), 1U);
    }
    EXPECT_TRUE(empty("Summary", 14, 1));
    // Below the list, on the page the table prints on.
    EXPECT_EQ(text("Summary", 15, 1), "Data 1 left out: " + GetParam().note);
    EXPECT_TRUE(empty("Summary", 16, 1));
    const Chart& plot = chart("Summary Plot");
    ASSERT_EQ(plot.series.size(), 3U);
    EXPECT_EQ(plot.series.at(0).name, "Data 2");
    EXPECT_TRUE(book().sheet(book().indexOf("Summary XOffset").value()).hidden());
    const auto package = test::readPackage(builtin().workbookFile(index));
    EXPECT_NE(package.at("xl/workbook.xml").content.find("name=\"Summary Plot\""),
              std::string::npos);
}

class SummaryLeftOutTestNotes : public ChartExportFixture {};

TEST_F(SummaryLeftOutTestNotes, EachLeftOutSheetIsNotedInSheetOrder) {
    exportReport(rateReport("400", "0.25"));
    exportReport(rateReport("380", "0.22", {"0.05,40.5", "0.10,88.0"}, "2.5 POINTS"));
    std::string unitless = rateReport("500", "0.35");
    unitless.replace(unitless.find("Force units in "), 15, "");
    exportReport(unitless);
    exportReport(rateReport("460", "0.31"));
    EXPECT_EQ(prompts.shown.size(), 2U) << ::testing::PrintToString(promptTexts());

    EXPECT_EQ(number("Summary", 3, 2), 2.0);
    EXPECT_EQ(text("Summary", 12, 1), "Data 4");
    EXPECT_EQ(text("Summary", 4, 2), "lbf");
    EXPECT_TRUE(empty("Summary", 13, 1));
    EXPECT_EQ(text("Summary", 14, 1), "Data 2 left out: its point count is not a whole number");
    EXPECT_EQ(text("Summary", 15, 1), "Data 3 left out: its units lines cannot be read");
    EXPECT_TRUE(empty("Summary", 16, 1));
    // The counted tests keep neighbouring offset columns and shifts.
    EXPECT_EQ(worksheet("Summary XOffset").cell(16, 2)->formula, "='Data 4'!RC1 +  .5");
    EXPECT_EQ(chart("Summary Plot").series.at(1).name, "Data 4");

    // A hidden sheet is never listed, so it gets no note, and its units are passed over.
    ctx.application().Sheets()->Item(4)->setVisible(xl::xlSheetHidden); // Data 3
    rebuildSummary();
    EXPECT_EQ(text("Summary", 14, 1), "Data 2 left out: its point count is not a whole number");
    EXPECT_TRUE(empty("Summary", 15, 1));
    EXPECT_EQ(text("Summary", 4, 2), "lbf");
    EXPECT_EQ(prompts.shown.size(), 2U);
}

// Wherever the application refuses a call, the summary sheets are afterwards all there or
// none of them, and nothing else was added.
TEST_F(SummaryLeftOutTestNotes, FailedSummaryLeavesNoHalfBuiltSheets) {
    exportReport(rateReport("400", "0.25"));
    exportReport(rateReport("380", "0.22"));
    exportReport(rateReport("460", "0.31"));
    const auto complete = names();
    const std::vector<std::string> tests(complete.begin(), complete.end() - 3);
    const auto real = ctx.ExcelApp;
    for (int call = 1; call < 2000; ++call) {
        const auto failing = std::make_shared<FailingApplication>(real, call);
        ctx.ExcelApp = failing;
        try {
            BuildSummary(ctx);
        } catch (const xl::HostError& error) {
            EXPECT_EQ(error.number(), 1004);
        }
        ctx.ExcelApp = real;
        EXPECT_TRUE(builtin().displayAlerts()) << call;
        if (!failing->failed()) {
            EXPECT_EQ(names(), complete);
            EXPECT_EQ(chart("Summary Plot").series.size(), 3U);
            EXPECT_GT(call, 50); // every call of the build before was refused once
            return;
        }
        ASSERT_EQ(names(), tests) << "refused call " << call;
    }
    ADD_FAILURE() << "the summary never got through";
}

INSTANTIATE_TEST_SUITE_P(
    Reports, SummaryLeftOutTest,
    ::testing::Values(Malformed{"NoUnitsLines", "Force units in lbf\r\nDeflection units in in\r\n",
                                "", "its units lines cannot be read"},
                      Malformed{"HugePointCount", "\r\n52 POINTS", "\r\n99999999 POINTS",
                                "its point count reaches beyond the sheet"},
                      Malformed{"FractionalPointCount", "\r\n52 POINTS", "\r\n52.5 POINTS",
                                "its point count is not a whole number"},
                      Malformed{"PointCountBeyondDouble", "\r\n52 POINTS", "\r\n1E+400 POINTS",
                                "its point count reaches beyond the sheet"},
                      Malformed{"ResultBeyondDouble", "Peak Force: 385.6", "Peak Force: 1E+400",
                                "its force result is too large"}),
    [](const auto& test) { return test.param.label; });

} // namespace
} // namespace kelvor::test
