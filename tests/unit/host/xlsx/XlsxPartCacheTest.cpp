// Parts joined from pieces kept between writes: the package must read back, checksums and
// all, exactly as if each part had been compressed whole.
#include "XlsxPackage.h"

#include "host/model/Workbook.h"
#include "host/xlsx/ChartXml.h"
#include "host/xlsx/WorksheetXml.h"
#include "host/xlsx/XlsxWriter.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kelvor {
namespace {

std::string offsetFormula(int test) {
    return "='Data " + std::to_string(test) + "'!RC1 +  " + std::to_string(test) + ".5";
}

class XlsxPartCacheTest : public testing::Test {
protected:
    // The offset sheet and summary plot as the summary rebuilds them: removed and made anew,
    // one test more each time.
    void rebuild(int tests) {
        if (const auto at = book.indexOf("Summary XOffset")) {
            book.removeSheet(*at);
            book.removeSheet(*book.indexOf("Summary Plot"));
        }
        auto& plot = book.addChartSheet("Summary Plot");
        auto& offsets = book.addWorksheet("Summary XOffset");
        plot.editChart([&](Chart& chart) {
            for (int k = 1; k <= tests; ++k) {
                ChartSeries series;
                series.name = "Data " + std::to_string(k);
                series.valuesRef = "'Data 1'!$B$16:$B$40";
                for (int row = 16; row <= 40; ++row) {
                    offsets.setFormula(static_cast<std::uint32_t>(row),
                                       static_cast<std::uint32_t>(k), offsetFormula(k),
                                       FormulaNotation::R1C1, 0.001 * row + k + 0.5);
                    series.values.push_back(std::sin(row * 0.1));
                    series.xValues.push_back(0.001 * row + k + 0.5);
                }
                series.values.set(3, std::nan("")); // a gap
                chart.series.push_back(std::move(series));
            }
        });
    }

    // Writes and reads the package back; libzip checks every entry's checksum.
    void writeAndCompare() {
        writer.write(book, file);
        const auto entries = test::readPackage(file);
        const auto& offsets = *asWorksheet(book.sheet(*book.indexOf("Summary XOffset")));
        const auto& plot = *asChartSheet(book.sheet(*book.indexOf("Summary Plot")));
        EXPECT_EQ(entries.at("xl/worksheets/sheet" + std::to_string(offsets.id()) + ".xml").content,
                  worksheetXml(offsets));
        EXPECT_EQ(entries.at("xl/charts/chart" + std::to_string(plot.id()) + ".xml").content,
                  chartXml(plot.chart()));
    }

    test::TempDir dir;
    std::filesystem::path file = dir.path() / "Book1.xlsx";
    Workbook book;
    XlsxWriter writer;
};

TEST_F(XlsxPartCacheTest, RebuiltSheetsReadBackExactlyWriteAfterWrite) {
    book.addWorksheet("Data 1");
    // Past the first sight of the names, past the second, and past a full chain of additions.
    for (int tests = 1; tests <= 12; ++tests) {
        rebuild(tests);
        writeAndCompare();
    }
    // Changes inside the rows and the series, not at their end.
    rebuild(12);
    auto& offsets = *asWorksheet(book.sheet(*book.indexOf("Summary XOffset")));
    offsets.setCachedValue(20, 1, 99.0);
    offsets.setFormula(30, 2, "=1", FormulaNotation::R1C1, 1.0);
    asChartSheet(book.sheet(*book.indexOf("Summary Plot")))->editChart([](Chart& chart) {
        chart.series[0].values.set(0, 42);
        chart.series[5].name = "renamed";
    });
    writeAndCompare();
    // Fewer tests: every row shorter than before.
    rebuild(3);
    writeAndCompare();
}

TEST_F(XlsxPartCacheTest, ColumnsOfOneFormulaAreWrittenAsSharedFormulas) {
    auto& sheet = book.addWorksheet("Summary XOffset");
    for (std::uint32_t row = 16; row <= 18; ++row) {
        sheet.setFormula(row, 2, "='Data 3'!RC1 +  .5", FormulaNotation::R1C1, 1.0);
        sheet.setFormula(row, 3, "=R[-1]C", FormulaNotation::R1C1, 2.0); // row 15 and up
    }
    sheet.setFormula(20, 2, "='Data 3'!RC1 +  .5", FormulaNotation::R1C1, 1.0); // after a gap
    sheet.setFormula(1, 4, "=R[-1]C", FormulaNotation::R1C1);                   // off the sheet
    sheet.setFormula(2, 4, "=R[-1]C", FormulaNotation::R1C1);
    const auto xml = worksheetXml(sheet);
    EXPECT_NE(xml.find("<c r=\"B16\"><f t=\"shared\" ref=\"B16:B18\" si=\"0\">'Data 3'!$A16 "
                       "+  .5</f><v>1</v></c>"),
              std::string::npos)
        << xml;
    EXPECT_NE(xml.find("<c r=\"B17\"><f t=\"shared\" si=\"0\"/><v>1</v></c>"), std::string::npos);
    EXPECT_NE(xml.find("<c r=\"C16\"><f t=\"shared\" ref=\"C16:C18\" si=\"1\">C15</f>"),
              std::string::npos);
    EXPECT_NE(xml.find("<c r=\"B20\"><f>'Data 3'!$A20 +  .5</f>"), std::string::npos);
    EXPECT_NE(xml.find("<c r=\"D1\"><f>#REF!</f>"), std::string::npos);
    EXPECT_NE(xml.find("<c r=\"D2\"><f>D1</f>"), std::string::npos);
}

} // namespace
} // namespace kelvor
