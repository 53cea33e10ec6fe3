// Each member the procedures call, as the back end puts it to the application: the member's
// name, property write or call, the type of every argument and the names of named ones.

#include "WindowsFakeDispatch.h"

#include "export/SpreadsheetCharts.h"
#include "host/excel/ExcelApplication.h"

#include <gtest/gtest.h>

namespace kelvor::test {

namespace {

// Answers every read and call with another object named after the member, counts and types
// with fixed values, and accepts every write.
com::DispatchPtr anything(const std::wstring& type, const std::shared_ptr<FakeLog>& log) {
    return makeFakeDispatch(type, log, [log](const FakeCall& call, VARIANT* result, EXCEPINFO*) {
        if (call.isPut() || result == nullptr) {
            return S_OK;
        }
        if (call.member == L"Count") {
            result->vt = VT_I4;
            result->lVal = 2;
        } else if (call.member == L"Type") {
            result->vt = VT_I4;
            result->lVal = xl::xlChart;
        } else {
            answerObject(result, anything(call.member, log));
        }
        return S_OK;
    });
}

class ExcelMembers : public ::testing::Test {
protected:
    std::shared_ptr<FakeLog> log = std::make_shared<FakeLog>();
    std::shared_ptr<xl::Application> app =
        com::makeExcelApplication(anything(L"Application", log), "C:\\books");

    // The calls made since the last look.
    std::vector<std::string> made() {
        std::vector<std::string> calls(log->calls.begin() + static_cast<long>(seen_),
                                       log->calls.end());
        seen_ = log->calls.size();
        return calls;
    }

private:
    std::size_t seen_ = 0;
};

using Calls = std::vector<std::string>;

TEST_F(ExcelMembers, ApplicationPropertiesAreWrittenWithTheirTypes) {
    app->setVisible(true);
    app->setDisplayAlerts(false);
    app->setScreenUpdating(false);
    app->setCalculation(xl::xlCalculationManual);
    app->Calculate();
    app->setCutCopyMode(false);
    EXPECT_EQ(made(), (Calls{"Application.Visible=VT_BOOL", "Application.DisplayAlerts=VT_BOOL",
                             "Application.ScreenUpdating=VT_BOOL", "Application.Calculation=VT_I4",
                             "Application.Calculate()", "Application.CutCopyMode=VT_BOOL"}));
}

TEST_F(ExcelMembers, SheetsAreAddedAndChartsMovedBehindTheSheetNamedAfter) {
    const auto book = app->ActiveWorkbook();
    const auto last = book->Sheets()->Item(2);
    made();
    book->Sheets()->Add(last);
    book->Charts()->Add(last)->Move(last);
    EXPECT_EQ(made(), (Calls{"ActiveWorkbook.Sheets()", "Sheets.Add(After:VT_DISPATCH)",
                             "ActiveWorkbook.Charts()", "Charts.Add(After:VT_DISPATCH)",
                             "Add.Move(After:VT_DISPATCH)"}));
}

TEST_F(ExcelMembers, RangesTakeTheirFormatsAlignmentsAndValues) {
    const auto sheet = app->ActiveSheet();
    const auto range = sheet->Range("A5:A7");
    sheet->Range("B8", "D8");
    sheet->Cells(3, 2)->setValue(12.5);
    range->setNumberFormat("0.00");
    range->setHorizontalAlignment(xl::xlCenter);
    range->setOrientation(0);
    range->setWrapText(false);
    range->Font()->setSize(10);
    range->Font()->setName("Arial");
    EXPECT_EQ(made(), (Calls{"Application.ActiveSheet()", "ActiveSheet.Range(VT_BSTR)",
                             "ActiveSheet.Range(VT_BSTR,VT_BSTR)", "ActiveSheet.Cells(VT_I4,VT_I4)",
                             "Cells.Value=VT_R8", "Range.NumberFormat=VT_BSTR",
                             "Range.HorizontalAlignment=VT_I4", "Range.Orientation=VT_I2",
                             "Range.WrapText=VT_BOOL", "Range.Font()", "Font.Size=VT_R8",
                             "Range.Font()", "Font.Name=VT_BSTR"}));
}

TEST_F(ExcelMembers, TextToColumnsPasteSpecialAndDeleteUseNamedArguments) {
    const auto sheet = app->ActiveSheet();
    const auto range = sheet->Range("A5:A7");
    xl::TextToColumnsOptions options;
    options.other = true;
    options.otherChar = ":";
    options.fieldInfo = {{1, 1}, {2, 1}};
    made();
    range->TextToColumns(sheet->Range("A5"), options);
    range->PasteSpecial(xl::xlPasteValues, xl::xlNone, false, false);
    range->Delete(xl::xlShiftUp);
    EXPECT_EQ(made(), (Calls{"ActiveSheet.Range(VT_BSTR)",
                             "Range.TextToColumns(Destination:VT_DISPATCH,DataType:VT_I4,"
                             "TextQualifier:VT_I4,ConsecutiveDelimiter:VT_BOOL,Tab:VT_BOOL,"
                             "Semicolon:VT_BOOL,Comma:VT_BOOL,Space:VT_BOOL,Other:VT_BOOL,"
                             "OtherChar:VT_BSTR,FieldInfo:VT_ARRAY|VT_VARIANT)",
                             "Range.PasteSpecial(Paste:VT_I4,Operation:VT_I4,"
                             "SkipBlanks:VT_BOOL,Transpose:VT_BOOL)",
                             "Range.Delete(Shift:VT_I4)"}));
}

TEST_F(ExcelMembers, ChartMembersTakeTheirTypes) {
    const auto chart = app->ActiveChart();
    const auto data = app->ActiveSheet()->Range("A1:B9");
    made();
    chart->SetSourceData(data, xl::xlColumns);
    chart->setChartType(xl::xlXYScatterLinesNoMarkers);
    chart->Shapes()->AddTextbox(1, 475, 0, 50, 50);
    auto series = chart->SeriesCollection()->NewSeries();
    series->setXValues(data);
    series->setAxisGroup(2);
    chart->Axes(xl::xlValue, xl::xlPrimary)->setHasMajorGridlines(true);
    EXPECT_EQ(made(), (Calls{"ActiveChart.SetSourceData(Source:VT_DISPATCH,PlotBy:VT_I4)",
                             "ActiveChart.ChartType=VT_I4", "ActiveChart.Shapes()",
                             "Shapes.AddTextbox(VT_I4,VT_R4,VT_R4,VT_R4,VT_R4)",
                             "ActiveChart.SeriesCollection()", "SeriesCollection.NewSeries()",
                             "NewSeries.XValues=VT_DISPATCH", "NewSeries.AxisGroup=VT_I2",
                             "ActiveChart.Axes(VT_I4,VT_I4)", "Axes.HasMajorGridlines=VT_BOOL"}));
}

TEST_F(ExcelMembers, SelectionFormatsTheSelectedChartElement) {
    const auto selected = app->Selection()->AsChartSelection();
    made();
    selected->Characters(1)->Font()->setColorIndex(1);
    selected->Border()->setColorIndex(16);
    selected->ShapeRange()->Line()->setWeight(0.75);
    selected->ShapeRange()->Fill()->ForeColor()->setSchemeColor(64);
    selected->setPlacement(xl::xlMove);
    EXPECT_EQ(made(),
              (Calls{"Selection.Characters(Start:VT_I2)", "Characters.Font()",
                     "Font.ColorIndex=VT_I4", "Selection.Border()", "Border.ColorIndex=VT_I2",
                     "Selection.ShapeRange()", "ShapeRange.Line()", "Line.Weight=VT_R4",
                     "Selection.ShapeRange()", "ShapeRange.Fill()", "Fill.ForeColor()",
                     "ForeColor.SchemeColor=VT_I2", "Selection.Placement=VT_I4"}));
}

TEST_F(ExcelMembers, ObjectsFromElsewhereAreRefused) {
    // Only the back end's own objects have a dispatch to pass.
    class Stranger : public xl::Sheet {
    public:
        std::string Name() override { return {}; }
        void setName(const std::string&) override {}
        std::int32_t Type() override { return 0; }
        std::int32_t Visible() override { return 0; }
        void setVisible(std::int32_t) override {}
        void Activate() override {}
        void Delete() override {}
        std::shared_ptr<xl::PageSetup> PageSetup() override { return nullptr; }
        xl::RangePtr Range(const std::string&) override { return nullptr; }
        xl::RangePtr Range(const std::string&, const std::string&) override { return nullptr; }
        xl::RangePtr Cells(std::int32_t, std::int32_t) override { return nullptr; }
        xl::RangePtr Columns(const std::string&) override { return nullptr; }
        void Paste() override {}
        std::shared_ptr<xl::Chart> AsChart() override { return nullptr; }
    };
    try {
        app->Sheets()->Add(std::make_shared<Stranger>());
        FAIL() << "a foreign sheet was passed";
    } catch (const xl::HostError& e) {
        EXPECT_EQ(e.number(), xl::ErrTypeMismatch);
    }
}

} // namespace

} // namespace kelvor::test
