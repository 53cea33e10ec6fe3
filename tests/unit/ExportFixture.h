#pragma once

#include "ScriptedPrompts.h"
#include "XlsxPackage.h"

#include "capture/ChannelInfo.h"
#include "export/ExportContext.h"
#include "host/app/automation/BuiltinApplication.h"
#include "host/app/automation/BuiltinApplicationFactory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelvor::test {

// The export layer wired to the built-in application over a temporary workbook folder.
class ExportFixture : public ::testing::Test {
protected:
    explicit ExportFixture(BuiltinOptions options = {})
        : factory(dir.path() / "Workbooks", {}, options) {}

    // The application ExcelApp holds now.
    BuiltinApplication& builtin() {
        auto* app = dynamic_cast<BuiltinApplication*>(ctx.ExcelApp.get());
        EXPECT_NE(app, nullptr);
        return *app;
    }

    std::vector<std::string> sheetNames() {
        std::vector<std::string> names;
        const auto sheets = ctx.application().Sheets();
        for (int i = 1; i <= sheets->Count(); ++i) {
            names.push_back(sheets->Item(i)->Name());
        }
        return names;
    }

    // Adds a worksheet named `name` at the end of the active workbook.
    void addWorksheet(const std::string& name) {
        auto& app = ctx.application();
        app.Sheets()->Add(app.Sheets()->Item(app.Sheets()->Count()))->setName(name);
    }

    std::string cell(std::int32_t row, std::int32_t column) {
        const auto value = ctx.application().ActiveSheet()->Cells(row, column)->Value();
        const auto* text = std::get_if<std::string>(&value);
        return text != nullptr ? *text : "<not text>";
    }

    test::TempDir dir;
    BuiltinApplicationFactory factory;
    ScriptedPrompts prompts;
    ChannelTable channels;
    float traceOffset = 0.5F;
    ExportContext ctx{factory, prompts, channels, traceOffset};
};

// Lines joined the way a tester sends them.
inline std::string reportText(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

// A constant-rate report whose column-header line stands at `headerRow` (11 or more), with
// three data lines.
inline std::vector<std::string> rateReportLines(int headerRow) {
    std::vector<std::string> lines = {"CONSTANT RATE TEST DATA",
                                      "Kelvor 4410 serial 2207",
                                      "Force units in lbf",
                                      "Deflection units in in",
                                      "Test speed: 0.50 in/min",
                                      "Sample: Carton 7",
                                      "Operator: RB",
                                      ""};
    for (int row = 9; row <= headerRow - 2; ++row) {
        lines.push_back("Note " + std::to_string(row) + ": value " + std::to_string(row));
    }
    lines.push_back("3 points");
    lines.push_back("DEFLECTION,FORCE");
    lines.insert(lines.end(), {"0.000,0.0", "0.100,55.2", "0.200,120.4"});
    return lines;
}

} // namespace kelvor::test
