#pragma once

#include "XlsxPackage.h"

#include "export/SpreadsheetCharts.h"
#include "host/app/automation/BuiltinApplication.h"

#include <gtest/gtest.h>

#include <string>

namespace kelvor {

// Runs `call` and returns the number of the HostError it throws (0 when none).
template <class F> int errorOf(F call) {
    try {
        call();
    } catch (const xl::HostError& e) {
        return e.number();
    }
    return 0;
}

// An application with one workbook whose sheet "Data 1" holds a small constant-rate table:
// header row 15 (text), deformation in A16:A20, force in B16:B20.
class ChartTest : public testing::Test {
protected:
    ChartTest() {
        app.Workbooks()->Add();
        data = app.ActiveSheet();
        data->setName("Data 1");
        data->Range("A1")->setValue(std::string("CONSTANT RATE TEST DATA"));
        data->Range("A15")->setValue(std::string("DEFLECTION\n(in)"));
        data->Range("B15")->setValue(std::string("FORCE\n(lbf)"));
        for (int i = 0; i < 5; ++i) {
            data->Cells(16 + i, 1)->setValue(0.1 * i);
            data->Cells(16 + i, 2)->setValue(10.0 * i * i);
        }
    }

    // The model of the active workbook's chart sheet of that name.
    const Chart& chartModel(const std::string& name) {
        const auto& book = app.workbookModel(1);
        const auto index = book.indexOf(name);
        EXPECT_TRUE(index.has_value()) << name;
        return asChartSheet(book.sheet(index.value_or(0)))->chart();
    }

    // Adds a chart sheet at the end plotting A16:B20 of "Data 1", the way the export does.
    std::shared_ptr<xl::Chart> addDataChart() {
        data->Activate();
        data->Range("A1:A2")->Select();
        const auto after = app.Worksheets()->Item(app.Worksheets()->Count());
        app.ActiveWorkbook()->Charts()->Add(after);
        auto chart = app.ActiveChart();
        chart->Move(app.Sheets()->Item(app.Sheets()->Count()));
        chart->setChartType(xl::xlXYScatterLinesNoMarkers);
        chart->SetSourceData(data->Range("A16", "B20"), xl::xlColumns);
        return chart;
    }

    test::TempDir dir;
    BuiltinApplication app{dir.path() / "Workbooks"};
    xl::SheetPtr data;
};

} // namespace kelvor
