// The workbook window shows what the printout shows: values that fit their columns in the
// application, both lines of a two-line header, and any sheet of a big batch within reach.
#include "WorkbookWindowFixture.h"
#include "host/app/fit/ColumnWidth.h"
#include "host/model/Workbook.h"
#include "workbookview/SheetGrid.h"
#include "workbookview/SheetJump.h"
#include "workbookview/WorkbookWindow.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QFontMetrics>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

namespace kelvor {
namespace {

using WorkbookAsPrintedTest = WorkbookWindowTest;

// Column A is fitted by the application to its widest date; the screen's hinted font is
// wider than that measure, which used to turn most dates into "#" marks.
TEST_F(WorkbookAsPrintedTest, EveryDateOfAConstantLoadSheetFitsItsFittedColumn) {
    exportTo(1, "load-stack-creep-lbf-in.txt");
    WorkbookWindow window(app().openBook(channels[1].WorkbookIndex), "Press B");
    auto& data = viewOf<SheetGrid>(window, "Data 1");
    const int room =
        data.columnWidth(0) - OverflowDelegate::LeftMargin - OverflowDelegate::RightMargin;
    for (int row = 14; row <= 301; ++row) {
        ASSERT_EQ(data.drawn(row, 1), data.displayed(row, 1)) << "row " << row;
        ASSERT_LE(data.drawnWidth(row, 1), room) << "row " << row;
    }
    EXPECT_EQ(data.drawn(265, 1), "3/9/23 23:45:00"); // one of the widest
}

TEST_F(WorkbookAsPrintedTest, TwoLineHeadersShowBothLinesInARowHighEnoughForThem) {
    exportTo(1, "load-stack-creep-lbf-in.txt");
    WorkbookWindow window(app().openBook(channels[1].WorkbookIndex), "Press B");
    auto& data = viewOf<SheetGrid>(window, "Data 1");
    const int line = QFontMetrics(data.font()).height();
    EXPECT_GE(data.rowHeight(12), 2 * line); // row 13, the header row
    EXPECT_LT(data.rowHeight(13), 2 * line); // a data row keeps one line's height
    EXPECT_EQ(data.drawn(13, 3), "DEFLECTION\n(in)");
    EXPECT_EQ(data.drawn(13, 4), "TEMPERATURE\n(\u00BA F)");
    EXPECT_LE(data.drawnWidth(13, 4),
              data.columnWidth(3) - OverflowDelegate::LeftMargin - OverflowDelegate::RightMargin);
}

TEST(SheetGridRowsTest, RowsAreAsHighAsTheWorkbookHoldsOrAsTheirWrappedLines) {
    Workbook book;
    Worksheet& sheet = book.addWorksheet("Data 1");
    Style wrapped;
    wrapped.wrapText = true;
    sheet.setValue(2, 1, std::string("FORCE\n(lbf)"));
    sheet.setStyle(2, 1, book.styles().intern(wrapped));
    sheet.setValue(3, 1, std::string("one\ntwo\nthree")); // not wrapped: one line high
    sheet.setValue(4, 1, 1.5);
    sheet.setRowHeights({{4, 30.0}});
    SheetGrid grid(sheet, book.styles());
    EXPECT_EQ(grid.rowHeight(0), grid.rowHeight(2));
    EXPECT_EQ(grid.rowHeight(1), sheetPixels(25.5)); // not fitted yet: its two lines
    EXPECT_EQ(grid.rowHeight(3), sheetPixels(30.0));
}

// A text that does not fit by the application's measure still shows "#", however narrow the
// screen's font would draw it.
TEST(SheetGridRowsTest, ADateOneStepNarrowerThanItsFitShowsMarks) {
    Workbook book;
    Worksheet& sheet = book.addWorksheet("Data 1");
    Style dated;
    dated.numberFormat = "m/d/yy h:mm:ss";
    sheet.setValue(1, 1, 44992.375); // 3/7/23 9:00:00
    sheet.setValue(1, 2, 44992.375);
    sheet.setStyle(1, 1, book.styles().intern(dated));
    sheet.setStyle(1, 2, book.styles().intern(dated));
    const double fitted = fittedColumnWidth("3/7/23 9:00:00", Font{});
    sheet.setColumnWidth(1, fitted);
    sheet.setColumnWidth(2, fitted - 1.0 / 7);
    SheetGrid grid(sheet, book.styles());
    EXPECT_EQ(grid.drawn(1, 1), "3/7/23 9:00:00");
    EXPECT_TRUE(grid.drawn(1, 2).startsWith("#"));
}

// A 300-test batch: 600 sheets and the summary's.
class SheetJumpTest : public ::testing::Test {
protected:
    SheetJumpTest() {
        auto state = std::make_shared<BookState>("Press A 2023-03-07");
        Workbook& model = state->model;
        for (int n = 1; n <= 300; ++n) {
            model.addWorksheet("Data " + std::to_string(n));
            model.addChartSheet("Data " + std::to_string(n) + " Plot");
        }
        model.addWorksheet("Summary");
        model.addChartSheet("Summary Plot");
        model.setActiveSheet(model.sheetCount() - 1);
        window = std::make_unique<WorkbookWindow>(state, "Press A");
    }

    void type(const QString& text) {
        QLineEdit* field = window->sheetJump()->field();
        field->clear();
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
    }

    std::unique_ptr<WorkbookWindow> window;
};

TEST_F(SheetJumpTest, TypingPartOfANameGoesToThatSheet) {
    EXPECT_EQ(window->currentTab(), "Summary Plot");
    type("Data 29");
    EXPECT_EQ(window->currentTab(), "Data 29"); // the exact name before "Data 290"
    type("data 29 p");
    EXPECT_EQ(window->currentTab(), "Data 29 Plot"); // any case, the first that holds it
    type("summary");
    EXPECT_EQ(window->currentTab(), "Summary");
    type("no such sheet");
    EXPECT_EQ(window->currentTab(), "Summary");
    EXPECT_TRUE(window->builtViews() < 6); // only the sheets gone to were built

    // The completer offers every sheet whose name holds the text, in workbook order.
    QCompleter* completer = window->sheetJump()->completer();
    completer->setCompletionPrefix("7 plot");
    QStringList offered;
    for (int i = 0; completer->setCurrentRow(i); ++i) {
        offered.append(completer->currentCompletion());
    }
    ASSERT_EQ(offered.size(), 30);
    EXPECT_EQ(offered.front(), "Data 7 Plot");
    EXPECT_EQ(offered.back(), "Data 297 Plot");
}

TEST_F(SheetJumpTest, TheSheetListHoldsEverySheetInOrderAndGoesThere) {
    QMenu* menu = window->sheetJump()->sheetMenu();
    QStringList listed;
    for (QAction* action : menu->actions()) {
        listed.append(action->text());
    }
    EXPECT_EQ(listed, window->tabNames());
    ASSERT_EQ(listed.size(), 602);
    menu->actions().at(401)->trigger();
    EXPECT_EQ(window->currentTab(), "Data 201 Plot");
}

TEST_F(SheetJumpTest, CtrlGPutsTheCursorInTheGoToField) {
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window.get(), Qt::Key_G, Qt::ControlModifier);
    EXPECT_TRUE(window->sheetJump()->field()->hasFocus());
}

} // namespace
} // namespace kelvor
