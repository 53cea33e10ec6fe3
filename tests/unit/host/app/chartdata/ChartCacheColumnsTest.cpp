// Chart caches remember what they read by the columns they read: a column added beside them
// leaves them as they are, any change in their columns (or of the whole grid) is read again.
#include "host/app/chartdata/ChartCaches.h"
#include "host/model/Workbook.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kelvor {
namespace {

class ChartCacheColumnsTest : public ::testing::Test {
protected:
    ChartCacheColumnsTest() {
        for (std::uint32_t row = 1; row <= 4; ++row) {
            sheet.setValue(row, 1, 1.0 * row);
            sheet.setValue(row, 3, 10.0 * row);
        }
        auto& plot = book.addChartSheet("Plot");
        plot.editChart([](Chart& chart) {
            ChartSeries series;
            series.xValuesRef = "'Offsets'!$A$1:$A$4";
            series.valuesRef = "'Offsets'!$C$1:$C$4";
            chart.series.push_back(std::move(series));
        });
        refresh();
    }

    void refresh() { refreshChartCaches(book, state); }
    const ChartSeries& series() { return asChartSheet(book.sheet(1))->chart().series.at(0); }

    Workbook book;
    Worksheet& sheet = book.addWorksheet("Offsets");
    ChartCacheState state;
};

TEST_F(ChartCacheColumnsTest, ChangesInTheColumnsReadAreReadAgainOthersNot) {
    EXPECT_EQ(series().xValues, (std::vector<double>{1, 2, 3, 4}));
    const auto chartRevision = book.sheet(1).revision();

    sheet.setFormula(2, 2, "=RC[-1]", FormulaNotation::R1C1, 5.0); // a column between
    sheet.setValue(9, 4, 1.0);                                     // one beside
    refresh();
    EXPECT_EQ(book.sheet(1).revision(), chartRevision);

    sheet.setValue(3, 1, -3.0);
    sheet.setCachedValue(*sheet.cell(4, 3), 99.0, 3);
    refresh();
    EXPECT_EQ(series().xValues, (std::vector<double>{1, 2, -3, 4}));
    EXPECT_EQ(series().values, (std::vector<double>{10, 20, 30, 99}));

    // A cached value stored without its column, and columns deleted, move or change anything.
    sheet.setCachedValue(*sheet.cell(1, 3), 7.0);
    refresh();
    EXPECT_EQ(series().values.at(0), 7.0);
    sheet.deleteColumns(2, 1); // C moves to B, D to C: column C now holds D's one value
    refresh();
    EXPECT_TRUE(std::isnan(series().values.at(0)));
}

TEST_F(ChartCacheColumnsTest, AnotherSheetUnderTheNameIsReadTheSameSheetPutBackIsNot) {
    // Set aside and put back under a new id, as the summary's offset sheet at every export.
    book.putBackSheet(book.takeSheet(*book.indexOf("Offsets")));
    const auto chartRevision = book.sheet(0).revision();
    refresh();
    EXPECT_EQ(book.sheet(0).revision(), chartRevision);
    EXPECT_EQ(asChartSheet(book.sheet(0))->chart().series.at(0).xValues,
              (std::vector<double>{1, 2, 3, 4}));

    // Made anew under the same name with the same shape: its own revisions tell it apart.
    book.removeSheet(*book.indexOf("Offsets"));
    auto& other = book.addWorksheet("Offsets");
    for (std::uint32_t row = 1; row <= 4; ++row) {
        other.setValue(row, 1, -1.0 * row);
    }
    refresh();
    EXPECT_EQ(asChartSheet(book.sheet(0))->chart().series.at(0).xValues,
              (std::vector<double>{-1, -2, -3, -4}));
    // And without any cell in the columns read.
    book.removeSheet(*book.indexOf("Offsets"));
    book.addWorksheet("Offsets").setValue(1, 5, 1.0);
    refresh();
    EXPECT_TRUE(std::isnan(asChartSheet(book.sheet(0))->chart().series.at(0).xValues.at(0)));
}

} // namespace
} // namespace kelvor
