#include "ChartExportFixture.h"
#include "XlsxPackage.h"

#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <tuple>

namespace kelvor::test {
namespace {

// What a sheet holds, comparable between two builds.
struct SheetSnapshot {
    std::string name;
    bool hidden = false;
    std::string cells;
    std::optional<Chart> chart;
    bool operator==(const SheetSnapshot&) const = default;
};

void PrintTo(const SheetSnapshot& sheet, std::ostream* out) {
    *out << sheet.name << (sheet.hidden ? " (hidden)\n" : "\n") << sheet.cells;
    if (sheet.chart) {
        for (const auto& series : sheet.chart->series) {
            *out << "series " << series.name << ' ' << series.xValuesRef << ' ' << series.valuesRef
                 << ' ' << series.values.size() << '\n';
        }
        for (const auto& box : sheet.chart->textBoxes) {
            *out << "box " << box.text << '\n';
        }
    }
}

std::string describe(const CellValue& value) {
    std::ostringstream out;
    std::visit(
        [&](const auto& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::monostate>) {
                out << "()";
            } else if constexpr (std::is_same_v<T, CellError>) {
                out << errorText(v);
            } else {
                out << v;
            }
        },
        value);
    return out.str();
}

class SummaryTest : public ChartExportFixture {
protected:
    std::vector<SheetSnapshot> snapshot() {
        std::vector<SheetSnapshot> sheets;
        for (std::size_t i = 0; i < book().sheetCount(); ++i) {
            const Sheet& sheet = book().sheet(i);
            SheetSnapshot shot{sheet.name(), sheet.hidden(), {}, {}};
            if (const Worksheet* cells = asWorksheet(sheet)) {
                std::ostringstream out;
                for (const auto& [row, held] : cells->rows()) {
                    for (const auto& [column, cell] : held) {
                        const Style& format = book().styles().style(cell.style());
                        out << row << ',' << column << '=' << describe(cell.value()) << '|'
                            << cell.formula << '|' << format.numberFormat << '|' << format.font.bold
                            << '\n';
                    }
                }
                for (const auto& [column, format] : cells->columnFormats()) {
                    out << 'C' << column << '=' << format.width.value_or(-1) << '\n';
                }
                shot.cells = out.str();
            } else {
                shot.chart = asChartSheet(sheet)->chart();
            }
            sheets.push_back(std::move(shot));
        }
        return sheets;
    }

    void expectLabels() {
        const std::vector<std::tuple<std::uint32_t, std::uint32_t, std::string>> labels = {
            {1, 1, "Kelvor CONSTANT RATE TEST DATA SUMMARY"},
            {3, 1, "Number of Tests:"},
            {5, 1, "Maximum Force:"},
            {6, 1, "Minimum Force:"},
            {7, 1, "Average Force:"},
            {8, 1, "Standard Deviation:"},
            {5, 3, "Deformation:"},
            {6, 3, "Deformation:"},
            {7, 3, "Average Deformation:"},
            {8, 3, "Standard Deviation:"}};
        for (const auto& [row, column, label] : labels) {
            EXPECT_EQ(text("Summary", row, column), label);
            if (row >= 3) {
                EXPECT_EQ(style("Summary", row, column).horizontal, HorizontalAlignment::Right);
            }
        }
    }
};

TEST_F(SummaryTest, FiveTestsGiveExactStatistics) {
    exportFiveRateTests();
    EXPECT_TRUE(prompts.shown.empty()) << ::testing::PrintToString(promptTexts());
    const std::string s = "Summary";
    expectLabels();
    EXPECT_EQ(text(s, 4, 2), "lbf");
    EXPECT_EQ(text(s, 4, 4), "in");
    for (std::uint32_t column : {2U, 4U}) {
        EXPECT_EQ(style(s, 4, column).horizontal, HorizontalAlignment::Right);
        EXPECT_TRUE(style(s, 4, column).font.bold);
    }

    EXPECT_EQ(number(s, 3, 2), 5.0);
    EXPECT_EQ(number(s, 5, 2), 460.0);
    EXPECT_EQ(number(s, 5, 4), 0.31);
    // Two tests share the smallest force: the first in sheet order gives the deformation.
    EXPECT_EQ(number(s, 6, 2), 380.0);
    EXPECT_EQ(number(s, 6, 4), 0.22);
    EXPECT_DOUBLE_EQ(number(s, 7, 2), 410.0);
    EXPECT_DOUBLE_EQ(number(s, 7, 4), 0.266);
    // Population standard deviations: sqrt(960) and sqrt(0.000904).
    EXPECT_NEAR(number(s, 8, 2), 30.983866769659336, 1e-9);
    EXPECT_NEAR(number(s, 8, 4), 0.030066592756745813, 1e-12);
    EXPECT_EQ(style(s, 8, 2).numberFormat, "0.000");
    EXPECT_EQ(style(s, 8, 4).numberFormat, "0.000");
    EXPECT_EQ(shown(s, "B8"), "30.984");
    EXPECT_EQ(shown(s, "D8"), "0.030");
    EXPECT_EQ(style(s, 7, 2).numberFormat, "General");

    const std::vector<std::string> tests = {"Data 1", "Data 3", "Data 4", "Data 5", "Data 6"};
    const std::vector<double> forces = {400, 380, 460, 380, 430};
    const std::vector<double> deformations = {0.25, 0.22, 0.31, 0.27, 0.28};
    for (std::uint32_t k = 0; k < 5; ++k) {
        EXPECT_EQ(text(s, 11 + k, 1), tests[k]);
        EXPECT_EQ(number(s, 11 + k, 2), forces[k]);
        EXPECT_TRUE(empty(s, 11 + k, 3));
        EXPECT_EQ(number(s, 11 + k, 4), deformations[k]);
    }
    for (std::uint32_t column = 1; column <= 4; ++column) {
        EXPECT_TRUE(empty(s, 2, column));
        EXPECT_TRUE(empty(s, 9, column));
        EXPECT_TRUE(empty(s, 10, column));
        EXPECT_TRUE(empty(s, 16, column));
    }
}

TEST_F(SummaryTest, BuildingTwiceGivesTheSameWorkbook) {
    exportFiveRateTests();
    const auto first = snapshot();
    rebuildSummary();
    EXPECT_EQ(snapshot(), first);
    rebuildSummary();
    EXPECT_EQ(snapshot(), first);
    EXPECT_TRUE(builtin().displayAlerts());
}

TEST_F(SummaryTest, OnlyVisibleRateWorksheetsAreCounted) {
    exportReport(rateReport("400", "0.25"));
    exportReport(rateReport("500", "0.35"));
    // A title with a trailing blank is laid out but is no constant-rate sheet.
    exportReport(reportText({"CONSTANT RATE TEST DATA ", "x", "Force units in kN"}));
    exportReport(rateReport("600", "0.45", {"0.1,10"}, {}, "N"));
    ASSERT_EQ(names()[5], "Data 4");
    auto& app = ctx.application();
    app.Sheets()->Item(3)->setVisible(xl::xlSheetHidden); // Data 2
    app.Sheets()->Item(6)->setVisible(xl::xlSheetHidden); // Data 4, the N report
    rebuildSummary();
    EXPECT_TRUE(prompts.shown.empty()) << ::testing::PrintToString(promptTexts());

    EXPECT_EQ(number("Summary", 3, 2), 1.0);
    EXPECT_EQ(text("Summary", 11, 1), "Data 1");
    EXPECT_TRUE(empty("Summary", 12, 1));
    // The counted test gives the units; a hidden sheet in other units is none of its tests.
    EXPECT_EQ(text("Summary", 4, 2), "lbf");
    EXPECT_EQ(chart("Summary Plot").series.size(), 1U);

    // With no test counted, hidden sheets still give their units; the last one wins.
    app.Sheets()->Item(1)->setVisible(xl::xlSheetHidden); // Data 1
    rebuildSummary();
    EXPECT_TRUE(empty("Summary", 3, 2));
    EXPECT_EQ(text("Summary", 4, 2), "N");
}

TEST_F(SummaryTest, TheLastSheetNeverGivesTheUnits) {
    exportReport(rateReport("400", "0.25"));
    // A constant-rate worksheet of the user's at the very end.
    addWorksheet("Mine");
    auto& app = ctx.application();
    const xl::SheetPtr mine = app.ActiveSheet();
    mine->Range("A1")->setValue(std::string("CONSTANT RATE TEST DATA"));
    mine->Range("A3")->setValue(std::string("Force units in kN"));
    mine->Range("A4")->setValue(std::string("Deflection units in cm"));
    mine->Range("B11")->setValue(999.0);
    mine->Range("B12")->setValue(9.0);
    mine->Range("A14")->setValue(std::string("1 POINTS"));
    mine->Range("A15")->setValue(std::string("DEFLECTION"));
    rebuildSummary();

    EXPECT_EQ(text("Summary", 4, 2), "lbf");
    EXPECT_EQ(text("Summary", 4, 4), "in");
    // As many tests in each: the earlier test's units, the other test left out.
    EXPECT_EQ(number("Summary", 3, 2), 1.0);
    EXPECT_EQ(text("Summary", 13, 1),
              "Mine left out: its units (kN, cm) differ from the summary's (lbf, in)");

    // In the same units it is counted all the same: the Summary sheet now stands behind it.
    const auto last = book().indexOf("Mine").value() + 1;
    app.Sheets()
        ->Item(static_cast<std::int32_t>(last))
        ->Range("A3")
        ->setValue(std::string("Force units in lbf"));
    app.Sheets()
        ->Item(static_cast<std::int32_t>(last))
        ->Range("A4")
        ->setValue(std::string("Deflection units in in"));
    rebuildSummary();
    EXPECT_EQ(number("Summary", 3, 2), 2.0);
    EXPECT_EQ(number("Summary", 5, 2), 999.0);
    EXPECT_EQ(text("Summary", 12, 1), "Mine");
}

TEST_F(SummaryTest, WithoutTestsOnlyTheLabelsAreWritten) {
    exportReport(sampleReport("load-stack-creep-lbf-in.txt"));
    rebuildSummary();
    expectLabels();
    EXPECT_TRUE(empty("Summary", 3, 2));
    for (std::uint32_t row = 5; row <= 8; ++row) {
        EXPECT_TRUE(empty("Summary", row, 2)) << row;
        EXPECT_TRUE(empty("Summary", row, 4)) << row;
    }
    EXPECT_EQ(style("Summary", 8, 2).numberFormat, "General");
    EXPECT_EQ(shown("Summary", "B4"), "");
}

TEST_F(SummaryTest, OneTestHasNoSpread) {
    exportReport(rateReport("385.6", "0.2400"));
    EXPECT_EQ(number("Summary", 3, 2), 1.0);
    for (std::uint32_t row = 5; row <= 7; ++row) {
        EXPECT_EQ(number("Summary", row, 2), 385.6) << row;
        EXPECT_EQ(number("Summary", row, 4), 0.24) << row;
    }
    EXPECT_EQ(shown("Summary", "B8"), "0.000");
    EXPECT_EQ(shown("Summary", "D8"), "0.000");
}

TEST_F(SummaryTest, ExtremesComeFromTheCountedTestsOnly) {
    // Forces far above any usual range are still the minimum; equal largest forces keep the
    // first one's deformation.
    exportReport(rateReport("7250.5", "1.5"));
    exportReport(rateReport("9100", "2.5"));
    exportReport(rateReport("9100", "3.5"));
    EXPECT_EQ(number("Summary", 5, 2), 9100.0);
    EXPECT_EQ(number("Summary", 5, 4), 2.5);
    EXPECT_EQ(number("Summary", 6, 2), 7250.5);
    EXPECT_EQ(number("Summary", 6, 4), 1.5);

    // Negative forces only: the maximum is the largest of them, not 0.
    index = 0;
    exportReport(rateReport("-12.5", "0.1"));
    exportReport(rateReport("-3", "0.05"));
    EXPECT_EQ(index, 2);
    EXPECT_EQ(number("Summary", 5, 2), -3.0);
    EXPECT_EQ(number("Summary", 5, 4), 0.05);
    EXPECT_EQ(number("Summary", 6, 2), -12.5);
    EXPECT_EQ(number("Summary", 6, 4), 0.1);
    EXPECT_DOUBLE_EQ(number("Summary", 7, 2), -7.75);

    // Results that are not numbers do not count as 0: the test is left out.
    index = 0;
    exportReport(rateReport("n/a", "--"));
    EXPECT_TRUE(empty("Summary", 11, 2));
    EXPECT_TRUE(empty("Summary", 6, 2));
    EXPECT_EQ(text("Summary", 12, 1), "Data 1 left out: its force result \"n/a\" is not a number");
    EXPECT_TRUE(prompts.shown.empty()) << ::testing::PrintToString(promptTexts());
}

TEST_F(SummaryTest, AResultThatReadsAsADateCountsAsTheTextItShows) {
    // "1/2/2024" becomes a date when the sheet is split; the summary reads the text the
    // date turns into, whose leading number is the month.
    exportReport(rateReport("1/2/2024", "12/31/2023"));
    EXPECT_EQ(number("Summary", 11, 2), 1.0);
    EXPECT_EQ(number("Summary", 11, 4), 12.0);
    EXPECT_TRUE(prompts.shown.empty()) << ::testing::PrintToString(promptTexts());
}

TEST_F(SummaryTest, SelectionsAreWrittenWithTheirSheets) {
    exportReport(rateReport("400", "0.25"));
    const auto package = test::readPackage(builtin().workbookFile(index));
    const auto part = [&](const std::string& sheet) {
        const auto id = book().sheet(book().indexOf(sheet).value()).id();
        return package.at("xl/worksheets/sheet" + std::to_string(id) + ".xml").content;
    };
    // A reader opens each sheet showing what the export left selected.
    EXPECT_NE(part("Summary").find("<sheetView workbookViewId=\"0\"><selection "
                                   "activeCell=\"D8\" sqref=\"B8 D8\"/></sheetView>"),
              std::string::npos);
    EXPECT_NE(part("Data 1").find("<selection activeCell=\"A1\" sqref=\"A1:A2\"/>"),
              std::string::npos);
}

} // namespace
} // namespace kelvor::test
