#pragma once

#include "ExportFixture.h"

#include "export/ReportExportStep.h"
#include "export/Summary.h"
#include "host/model/Workbook.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace kelvor::test {

// A report file of samples/, as the tester sends it.
inline std::string sampleReport(const std::string& file) {
    std::ifstream in(std::string(KELVOR_SOURCE_DIR) + "/samples/" + file, std::ios::binary);
    EXPECT_TRUE(in.good()) << file;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A constant-rate report in the testers' usual layout: results on lines 11 and 12, the point
// count on line 14, the column-header line on line 15. `points` defaults to the number of data
// lines.
inline std::string rateReport(const std::string& force, const std::string& deformation,
                              const std::vector<std::string>& data = {"0.05,40.5", "0.10,88.0",
                                                                      "0.15,120.25", "0.20,101.0"},
                              std::optional<std::string> points = {},
                              const std::string& forceUnit = "lbf") {
    std::vector<std::string> lines = {"CONSTANT RATE TEST DATA",
                                      "KELVOR CT-2000  UNIT 03",
                                      "Force units in " + forceUnit,
                                      "Deflection units in in",
                                      "Date: 4/2/24",
                                      "Sample ID: RSC-9",
                                      "Operator: T4",
                                      "Preload 2.0 lbf",
                                      "Test Speed: 0.50 in/min",
                                      "Board Grade: 44 ECT",
                                      "Peak Force: " + force,
                                      "Deformation at Peak: " + deformation,
                                      "Test stopped at 40% drop",
                                      points.value_or(std::to_string(data.size()) + " POINTS"),
                                      "DEFLECTION,FORCE"};
    lines.insert(lines.end(), data.begin(), data.end());
    return reportText(lines);
}

// Reports exported the way a completed report is, through the report export step of channel 1,
// into one channel workbook of the built-in application; the workbook is inspected through its
// model.
class ChartExportFixture : public ExportFixture {
protected:
    ChartExportFixture() { channels[1].Description = "Line 2 crusher"; }

    // Returns what the step left of the text.
    std::string exportReport(std::string text, const std::string& cutShortBy = {}) {
        ReportExportStep step(ctx);
        step.exportReport(1, text, ReportOrigin{"", cutShortBy}, index);
        return text;
    }

    const Workbook& book() { return builtin().workbookModel(index); }
    Workbook& editableBook() { return builtin().workbookModel(index); }

    std::vector<std::string> names() {
        std::vector<std::string> result;
        for (std::size_t i = 0; i < book().sheetCount(); ++i) {
            result.push_back(book().sheet(i).name());
        }
        return result;
    }

    std::string activeName() { return book().sheet(book().activeSheet().value()).name(); }

    const Worksheet& worksheet(const std::string& name) {
        const auto at = book().indexOf(name);
        EXPECT_TRUE(at.has_value()) << name;
        const Worksheet* sheet = asWorksheet(book().sheet(at.value()));
        EXPECT_NE(sheet, nullptr) << name;
        return *sheet;
    }

    const Chart& chart(const std::string& name) {
        const auto at = book().indexOf(name);
        EXPECT_TRUE(at.has_value()) << name;
        const ChartSheet* sheet = asChartSheet(book().sheet(at.value()));
        EXPECT_NE(sheet, nullptr) << name;
        return sheet->chart();
    }

    const PageSetup& chartPage(const std::string& name) {
        return asChartSheet(book().sheet(book().indexOf(name).value()))->pageSetup();
    }

    CellValue value(const std::string& sheet, std::uint32_t row, std::uint32_t column) {
        const Cell* cell = worksheet(sheet).cell(row, column);
        return cell != nullptr ? cell->value() : CellValue{};
    }

    std::string text(const std::string& sheet, std::uint32_t row, std::uint32_t column) {
        const CellValue held = value(sheet, row, column);
        const auto* heldText = textOf(held);
        return heldText != nullptr ? *heldText : "<not text>";
    }

    double number(const std::string& sheet, std::uint32_t row, std::uint32_t column) {
        const CellValue held = value(sheet, row, column);
        const auto* heldNumber = std::get_if<double>(&held);
        EXPECT_NE(heldNumber, nullptr) << sheet << " R" << row << "C" << column;
        return heldNumber != nullptr ? *heldNumber : -1.0;
    }

    bool empty(const std::string& sheet, std::uint32_t row, std::uint32_t column) {
        return worksheet(sheet).cell(row, column) == nullptr;
    }

    const Style& style(const std::string& sheet, std::uint32_t row, std::uint32_t column) {
        const Cell* cell = worksheet(sheet).cell(row, column);
        return book().styles().style(cell != nullptr ? cell->style() : 0);
    }

    // The cell as the application displays it.
    std::string shown(const std::string& sheet, const std::string& address) {
        auto& app = ctx.application();
        const xl::SheetPtr found = app.ActiveWorkbook()->Sheets()->Item(
            static_cast<std::int32_t>(book().indexOf(sheet).value() + 1));
        return found->Range(address)->Text();
    }

    std::vector<std::string> promptTexts() {
        std::vector<std::string> texts;
        for (const auto& shownPrompt : prompts.shown) {
            texts.push_back(shownPrompt.text);
        }
        return texts;
    }

    // BuildSummary the way its callers run it: screen updating off and calculation manual
    // around it, so the workbook is calculated and written afterwards.
    void rebuildSummary() {
        auto& app = ctx.application();
        app.setScreenUpdating(false);
        app.setCalculation(xl::xlCalculationManual);
        BuildSummary(ctx);
        app.setCalculation(xl::xlCalculationAutomatic);
        app.setScreenUpdating(true);
    }

    // Five constant-rate tests with known results on Data 1 and Data 3 to Data 6, and a
    // constant-load test between them on Data 2. Forces 400, 380, 460, 380, 430; deformations
    // .25, .22, .31, .27, .28; test t's curve reaches 30 t at 0.15.
    void exportFiveRateTests() {
        const auto curve = [](int t) {
            return std::vector<std::string>{
                "0.05," + std::to_string(10 * t), "0.10," + std::to_string(20 * t),
                "0.15," + std::to_string(30 * t), "0.20," + std::to_string(25 * t)};
        };
        exportReport(rateReport("400.0", "0.250", curve(1)));
        exportReport(sampleReport("load-stack-creep-lbf-in.txt"));
        exportReport(rateReport("380.0", "0.220", curve(3)));
        exportReport(rateReport("460.0", "0.310", curve(4)));
        exportReport(rateReport("380.0", "0.270", curve(5)));
        exportReport(rateReport("430.0", "0.280", curve(6)));
    }

    std::int32_t index = 0;
};

} // namespace kelvor::test
