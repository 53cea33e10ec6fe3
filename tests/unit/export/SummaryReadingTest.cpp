// A summary counts only what it can stand behind: tests in other units or with results that are
// no numbers are left out, a test short of its points is counted, each with a note below the
// table.
#include "ChartExportFixture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kelvor::test {
namespace {

std::string withDeflectionUnit(std::string report, const std::string& unit) {
    const std::string line = "Deflection units in in";
    report.replace(report.find(line), line.size(), "Deflection units in " + unit);
    return report;
}

std::string metric(const std::string& force, const std::string& deformation) {
    return withDeflectionUnit(
        rateReport(force, deformation, {"0.5,40", "1.0,90", "1.5,70"}, {}, "N"), "mm");
}

class SummaryReadingTest : public ChartExportFixture {
protected:
    void expectNoMessages() {
        EXPECT_TRUE(prompts.shown.empty()) << ::testing::PrintToString(promptTexts());
    }
};

TEST_F(SummaryReadingTest, TestsInOtherUnitsThanMostAreLeftOut) {
    exportReport(rateReport("400", "0.25"));
    exportReport(metric("1800", "6.5"));
    exportReport(rateReport("380", "0.22"));
    exportReport(rateReport("460", "0.31"));
    expectNoMessages();

    EXPECT_EQ(text("Summary", 4, 2), "lbf");
    EXPECT_EQ(text("Summary", 4, 4), "in");
    EXPECT_EQ(number("Summary", 3, 2), 3.0);
    EXPECT_EQ(number("Summary", 5, 2), 460.0);
    EXPECT_EQ(number("Summary", 5, 4), 0.31);
    EXPECT_EQ(number("Summary", 6, 2), 380.0);
    EXPECT_EQ(number("Summary", 6, 4), 0.22);
    EXPECT_DOUBLE_EQ(number("Summary", 7, 2), 1240.0 / 3);
    EXPECT_DOUBLE_EQ(number("Summary", 7, 4), 0.78 / 3);
    EXPECT_EQ(text("Summary", 11, 1), "Data 1");
    EXPECT_EQ(text("Summary", 12, 1), "Data 3");
    EXPECT_EQ(text("Summary", 13, 1), "Data 4");
    EXPECT_TRUE(empty("Summary", 14, 1));
    EXPECT_EQ(text("Summary", 15, 1),
              "Data 2 left out: its units (N, mm) differ from the summary's (lbf, in)");
    EXPECT_TRUE(empty("Summary", 16, 1));

    const Chart& plot = chart("Summary Plot");
    ASSERT_EQ(plot.series.size(), 3U);
    EXPECT_EQ(plot.series.at(1).name, "Data 3");
    EXPECT_EQ(worksheet("Summary XOffset").cell(16, 2)->formula, "='Data 3'!RC1 +  .5");
}

TEST_F(SummaryReadingTest, EquallyManyUnitsGoToTheEarlierTestsAndTheMajorityMayTurn) {
    exportReport(metric("1800", "6.5"));
    exportReport(rateReport("400", "0.25"));
    EXPECT_EQ(text("Summary", 4, 2), "N");
    EXPECT_EQ(text("Summary", 4, 4), "mm");
    EXPECT_EQ(number("Summary", 3, 2), 1.0);
    EXPECT_EQ(number("Summary", 5, 2), 1800.0);
    EXPECT_EQ(text("Summary", 11, 1), "Data 1");
    EXPECT_EQ(text("Summary", 13, 1),
              "Data 2 left out: its units (lbf, in) differ from the summary's (N, mm)");

    exportReport(rateReport("380", "0.22"));
    EXPECT_EQ(text("Summary", 4, 2), "lbf");
    EXPECT_EQ(number("Summary", 3, 2), 2.0);
    EXPECT_EQ(number("Summary", 5, 2), 400.0);
    EXPECT_EQ(text("Summary", 11, 1), "Data 2");
    EXPECT_EQ(text("Summary", 12, 1), "Data 3");
    EXPECT_EQ(text("Summary", 14, 1),
              "Data 1 left out: its units (N, mm) differ from the summary's (lbf, in)");
    EXPECT_EQ(chart("Summary Plot").series.size(), 2U);
    expectNoMessages();
}

struct BadResult {
    std::string label;
    std::string force;
    std::string deformation;
    std::string note;
};

void PrintTo(const BadResult& bad, std::ostream* out) {
    *out << bad.label;
}

class SummaryReadingTestBadResult : public SummaryReadingTest,
                                    public ::testing::WithParamInterface<BadResult> {};

// Such a result once counted as 0: the smallest force and the averages came out wrong.
TEST_P(SummaryReadingTestBadResult, IsLeftOutWithItsText) {
    exportReport(rateReport("400", "0.25"));
    exportReport(rateReport(GetParam().force, GetParam().deformation));
    exportReport(rateReport("380", "0.21"));

    EXPECT_EQ(number("Summary", 3, 2), 2.0);
    EXPECT_EQ(number("Summary", 6, 2), 380.0);
    EXPECT_EQ(number("Summary", 6, 4), 0.21);
    EXPECT_EQ(number("Summary", 7, 2), 390.0);
    EXPECT_DOUBLE_EQ(number("Summary", 7, 4), 0.23);
    EXPECT_EQ(text("Summary", 12, 1), "Data 3");
    EXPECT_EQ(text("Summary", 14, 1), "Data 2 left out: " + GetParam().note);
    EXPECT_EQ(chart("Summary Plot").series.size(), 2U);
}

INSTANTIATE_TEST_SUITE_P(
    Reports, SummaryReadingTestBadResult,
    ::testing::Values(
        BadResult{"ForceErr", "ERR", "0.30", "its force result \"ERR\" is not a number"},
        BadResult{"ForceNaN", "NaN", "0.30", "its force result \"NaN\" is not a number"},
        BadResult{"ForceInf", "inf", "0.30", "its force result \"inf\" is not a number"},
        BadResult{"ForceMissing", "", "0.30", "its force result is missing"},
        BadResult{"DeformationErr", "420", "ERR", "its deformation result \"ERR\" is not a number"},
        BadResult{"DeformationMinusInf", "420", "-inf",
                  "its deformation result \"-inf\" is not a number"}),
    [](const auto& test) { return test.param.label; });

TEST_F(SummaryReadingTest, AReportShortOfItsPointsIsCountedWithANote) {
    std::vector<std::string> twenty;
    for (int i = 1; i <= 20; ++i) {
        twenty.push_back("0." + std::to_string(10 + i) + "," + std::to_string(10 * i));
    }
    exportReport(rateReport("400", "0.25"));
    exportReport(rateReport("200", "0.30", twenty, "52 POINTS"));
    exportReport(rateReport("380", "0.22", {"0.05,40.5"}, "1 POINTS"));
    expectNoMessages();

    EXPECT_EQ(number("Summary", 3, 2), 3.0);
    EXPECT_EQ(number("Summary", 6, 2), 200.0);
    EXPECT_EQ(text("Summary", 12, 1), "Data 2");
    EXPECT_EQ(number("Summary", 12, 2), 200.0);
    EXPECT_TRUE(empty("Summary", 14, 1));
    EXPECT_EQ(text("Summary", 15, 1), "Data 2 holds 20 of its 52 points");
    EXPECT_TRUE(empty("Summary", 16, 1));
    ASSERT_EQ(chart("Summary Plot").series.size(), 3U);

    // A single point held of many: the halving finds it.
    exportReport(rateReport("390", "0.23", {"0.05,40.5"}, "1000 POINTS"));
    EXPECT_EQ(text("Summary", 16, 1), "Data 2 holds 20 of its 52 points");
    EXPECT_EQ(text("Summary", 17, 1), "Data 4 holds 1 of its 1000 points");
}

// The cause travels with the report onto its data sheet, printed at the foot of its pages, and
// the summary reads it from there; a summary made again later still knows it.
TEST_F(SummaryReadingTest, AReportCutShortIsCountedWithItsCause) {
    std::vector<std::string> seven;
    for (int i = 1; i <= 7; ++i) {
        seven.push_back("0." + std::to_string(10 + i) + "," + std::to_string(10 * i));
    }
    exportReport(rateReport("400", "0.25"));
    exportReport(rateReport("200", "0.30", seven, "52 POINTS"), "the line was lost");
    exportReport(rateReport("380", "0.22"), "its port was closed");
    exportReport(rateReport("390", "0.24"));
    exportReport(metric("1800", "6.5"), "the line was lost");
    expectNoMessages();

    EXPECT_EQ(worksheet("Data 2").pageSetup().leftFooter, "Cut short: the line was lost");
    EXPECT_EQ(worksheet("Data 2").pageSetup().centerFooter, "Page &P of &N");
    EXPECT_EQ(worksheet("Data 4").pageSetup().leftFooter, "");
    EXPECT_EQ(number("Summary", 3, 2), 4.0);
    EXPECT_EQ(text("Summary", 12, 1), "Data 2");
    EXPECT_TRUE(empty("Summary", 15, 1));
    EXPECT_EQ(text("Summary", 16, 1),
              "Data 2 was cut short: the line was lost; it holds 7 of its 52 points");
    EXPECT_EQ(text("Summary", 17, 1), "Data 3 was cut short: its port was closed");
    EXPECT_EQ(text("Summary", 18, 1),
              "Data 5 left out: its units (N, mm) differ from the summary's (lbf, in); it was cut "
              "short: the line was lost");
    EXPECT_TRUE(empty("Summary", 19, 1));

    // A report that ends by itself after one that was cut short carries no mark.
    exportReport(rateReport("410", "0.26"));
    EXPECT_EQ(worksheet("Data 6").pageSetup().leftFooter, "");
    EXPECT_EQ(number("Summary", 3, 2), 5.0);
    EXPECT_EQ(text("Summary", 18, 1), "Data 3 was cut short: its port was closed");
    EXPECT_TRUE(text("Summary", 19, 1).starts_with("Data 5 left out: its units"));
}

} // namespace
} // namespace kelvor::test
