// The workbook window over workbooks made by the real export from sample reports.
#include "workbookview/WorkbookWindow.h"
#include "WorkbookWindowFixture.h"
#include "export/ExportContext.h"
#include "export/ReportExportStep.h"
#include "host/app/automation/BuiltinApplication.h"
#include "host/app/automation/BuiltinApplicationFactory.h"
#include "host/model/Workbook.h"
#include "shell/WorkbookWindows.h"
#include "workbookview/ChartView.h"
#include "workbookview/SheetGrid.h"

#include <gtest/gtest.h>

#include <QAbstractAxis>
#include <QApplication>
#include <QChart>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QValueAxis>

#include <ctime>
#include <fstream>
#include <iterator>
#include <string>

namespace kelvor {
namespace {

TEST_F(WorkbookWindowTest, ConstantRateWorkbookShowsItsSheetsAsDisplayed) {
    exportTo(0, "rate-shipper-lbf-in-50.txt");
    WorkbookWindow window(app().openBook(channels[0].WorkbookIndex), "Press A");
    const auto& model = window.book().model;
    EXPECT_EQ(window.windowTitle(),
              "Press A - " + QString::fromStdString(window.book().file.path.filename().string()));
    EXPECT_TRUE(window.windowTitle().endsWith(".xlsx"));
    // The summary's helper sheet is hidden and gets no tab.
    EXPECT_EQ(window.tabNames(), (QStringList{"Data 1", "Data 1 Plot", "Summary", "Summary Plot"}));
    EXPECT_GT(model.sheetCount(), 4U);
    // The workbook's active sheet is the one shown first; nothing else was built yet.
    EXPECT_EQ(window.currentTab(),
              QString::fromStdString(model.sheet(model.activeSheet().value()).name()));
    EXPECT_EQ(window.builtViews(), 1);

    auto& data = viewOf<SheetGrid>(window, "Data 1");
    EXPECT_EQ(data.displayed(1, 1), "CONSTANT RATE TEST DATA");
    EXPECT_EQ(data.displayed(5, 2), "2/13/2023");
    EXPECT_EQ(data.displayed(11, 2), "385.6");
    EXPECT_EQ(data.displayed(15, 2), "FORCE\n(lbf)");
    EXPECT_EQ(data.displayed(16, 1), "0.0075");
    EXPECT_TRUE(data.alignment(16, 1) & Qt::AlignRight);
    EXPECT_TRUE(data.alignment(1, 1) & Qt::AlignLeft);
    EXPECT_GT(data.columnWidth(0), data.columnWidth(5)); // widened for its text

    auto& summary = viewOf<SheetGrid>(window, "Summary");
    EXPECT_EQ(summary.displayed(4, 2), "lbf");
    EXPECT_TRUE(summary.isBold(4, 2));
    EXPECT_FALSE(summary.isBold(5, 2));
    EXPECT_EQ(summary.displayed(8, 2), "0.000");
    EXPECT_EQ(summary.displayed(11, 1), "Data 1");
    EXPECT_EQ(summary.drawn(8, 2), "0.000");

    auto& plot = viewOf<ChartView>(window, "Data 1 Plot");
    EXPECT_EQ(plot.chart()->series().size(), 1);
    QStringList titles;
    for (auto* axis : plot.chart()->axes()) {
        titles.append(axis->titleText());
    }
    EXPECT_EQ(titles, (QStringList{"Deformation (in)", "Force (lbf)"}));
    ASSERT_EQ(plot.textBoxTexts().size(), 1);
    EXPECT_TRUE(plot.textBoxTexts()[0].startsWith("Press A\n"));
    EXPECT_TRUE(plot.textBoxTexts()[0].contains("Peak Force: 385.6"));

    auto& summaryPlot = viewOf<ChartView>(window, "Summary Plot");
    EXPECT_TRUE(summaryPlot.textBoxTexts().join("").contains("Number of Tests: 1"));
    EXPECT_EQ(window.builtViews(), 4);
}

TEST_F(WorkbookWindowTest, ConstantLoadChartHasDatesAndASecondaryAxis) {
    exportTo(1, "load-stack-creep-lbf-in.txt");
    WorkbookWindow window(app().openBook(channels[1].WorkbookIndex), "Press B");
    EXPECT_EQ(window.tabNames(), (QStringList{"Data 1", "Data 1 Plot"}));

    auto& data = viewOf<SheetGrid>(window, "Data 1");
    EXPECT_EQ(data.displayed(14, 1), "3/7/23 9:00:00");
    EXPECT_EQ(data.displayed(14, 2), "149.7");

    auto& plot = viewOf<ChartView>(window, "Data 1 Plot");
    EXPECT_EQ(plot.chart()->series().size(), 2);
    const auto axes = plot.chart()->axes();
    ASSERT_EQ(axes.size(), 3);
    EXPECT_EQ(axes[0]->type(), QAbstractAxis::AxisTypeDateTime);
    EXPECT_EQ(axes[0]->titleText(), "Time");
    EXPECT_EQ(axes[1]->titleText(), "Force (lbf)");
    EXPECT_EQ(axes[2]->titleText(), "Deflection (in)");
    EXPECT_EQ(axes[2]->alignment(), Qt::AlignRight);
    // Each series on its own value axis.
    const auto series = plot.chart()->series();
    EXPECT_TRUE(series[0]->attachedAxes().contains(axes[1]));
    EXPECT_TRUE(series[1]->attachedAxes().contains(axes[2]));
    EXPECT_TRUE(plot.textBoxTexts().join("").contains("Test Load: 150.0"));
}

TEST_F(WorkbookWindowTest, FollowsNewExportsWhileOpen) {
    WorkbookWindows windows(
        {.lights = lights, .exports = ctx, .channels = channels, .prompts = prompts});
    changed = [&] { windows.workbooksChanged(); };
    exportTo(0, "rate-shipper-lbf-in-50.txt");
    windows.showWorkbook(0);
    WorkbookWindow* window = windows.window(0);
    ASSERT_NE(window, nullptr);
    window->showTab("Data 1");
    const QWidget* firstData = window->currentView();

    exportTo(0, "rate-doublewall-box-lbf-in-1000.txt"); // in the same units: both are counted
    ASSERT_EQ(windows.window(0), window);
    EXPECT_EQ(window->tabNames(), (QStringList{"Data 1", "Data 1 Plot", "Data 2", "Data 2 Plot",
                                               "Summary", "Summary Plot"}));
    // The export's new chart is shown; the sheets it did not touch keep their views.
    EXPECT_EQ(window->currentTab(), "Summary Plot");
    window->showTab("Data 1");
    EXPECT_EQ(window->currentView(), firstData);
    auto* summaryPlot =
        (window->showTab("Summary Plot"), dynamic_cast<ChartView*>(window->currentView()));
    ASSERT_NE(summaryPlot, nullptr);
    EXPECT_EQ(summaryPlot->chart()->series().size(), 2);
}

TEST_F(WorkbookWindowTest, LightsOpenTheWindowAndCloseWorkbookStartsANewBatch) {
    std::vector<QUrl> opened;
    WorkbookWindows windows({.lights = lights,
                             .exports = ctx,
                             .channels = channels,
                             .prompts = prompts,
                             .workbookFolder = dir.filePath("Workbooks").toStdString(),
                             .openUrl = [&](const QUrl& url) {
                                 opened.push_back(url);
                                 return true;
                             }});
    changed = [&] { windows.workbooksChanged(); };

    // Nothing exported yet: the menu offers the folder only, the light says so.
    auto empty = windows.contextMenu(0);
    QStringList items;
    for (QAction* action : empty->actions()) {
        if (!action->isSeparator()) {
            items.append(action->text() + (action->isEnabled() ? "" : " (off)"));
        }
    }
    EXPECT_EQ(items, (QStringList{"Show Workbook (off)", "Open in Spreadsheet Program (off)",
                                  "Open Workbook Folder", "Batches…", "Close Workbook (off)"}));
    windows.showWorkbook(0);
    EXPECT_EQ(windows.window(0), nullptr);
    ASSERT_EQ(prompts.shown.size(), 1U);
    prompts.shown.clear();
    windows.openWorkbookFolder(0);
    ASSERT_EQ(opened.size(), 1U);
    EXPECT_EQ(opened[0].toLocalFile(), dir.filePath("Workbooks"));
    opened.clear();

    exportTo(0, "rate-shipper-lbf-in-50.txt");
    exportTo(1, "load-stack-creep-lbf-in.txt");
    exportTo(2, "rate-paper-core-n-mm-150.txt");
    const auto firstFile = app().workbookFile(channels[1].WorkbookIndex);

    QMouseEvent doubleClick(QEvent::MouseButtonDblClick, QPointF(5, 5), QPointF(5, 5),
                            Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&labels[1], &doubleClick);
    ASSERT_NE(windows.window(1), nullptr);
    EXPECT_TRUE(windows.window(1)->windowTitle().startsWith("Press B - Press B "));
    // Windows shows it in the caption and the taskbar; a window without one gets a blank.
    EXPECT_FALSE(windows.window(1)->windowIcon().isNull());

    windows.openInSpreadsheetProgram(1);
    windows.openWorkbookFolder(1);
    ASSERT_EQ(opened.size(), 2U);
    EXPECT_EQ(opened[0].toLocalFile().toStdString(), firstFile.string());
    EXPECT_EQ(opened[1].toLocalFile().toStdString(), firstFile.parent_path().string());

    // Close Workbook: written, gone from the application and from the screen.
    auto menu = windows.contextMenu(1);
    menu->actions().back()->trigger();
    EXPECT_EQ(windows.window(1), nullptr);
    EXPECT_EQ(channels[1].WorkbookIndex, 0);
    EXPECT_EQ(channels[2].WorkbookIndex, 2);
    EXPECT_TRUE(prompts.shown.empty());

    // The next report of that channel starts a new file, named for the new batch; the
    // others go on in their own workbooks.
    now += std::chrono::minutes(2);
    exportTo(1, "load-bottle-creep-no-humidity-kgf-mm.txt");
    exportTo(2, "rate-bottle-topload-kgf-mm-300.txt");
    exportTo(0, "rate-paper-core-n-mm-150.txt");
    const auto newFile = app().workbookFile(channels[1].WorkbookIndex);
    EXPECT_NE(newFile, firstFile);
    EXPECT_EQ(newFile.filename().string().substr(0, 8), "Press B ");
    EXPECT_EQ(app().workbookModel(channels[1].WorkbookIndex).sheetCount(), 2U);
    EXPECT_TRUE(std::filesystem::exists(firstFile));
    const auto sheetsOf = [&](int channel) {
        const auto& model = app().workbookModel(channels[channel].WorkbookIndex);
        return model.indexOf("Data 2").has_value() &&
               model.name().starts_with(channels[channel].Description);
    };
    EXPECT_TRUE(sheetsOf(0));
    EXPECT_TRUE(sheetsOf(2));
}

TEST(SheetGridTest, NumbersTooWideForTheirColumnNarrowAsInTheSpreadsheet) {
    Workbook book;
    Worksheet& sheet = book.addWorksheet("Data 1");
    Style fixed;
    fixed.numberFormat = "0.000";
    sheet.setValue(1, 1, 1.6966666667);
    sheet.setValue(1, 2, 12345.678);
    sheet.setStyle(1, 2, book.styles().intern(fixed));
    sheet.setValue(1, 3, std::string("A long title that runs on"));
    sheet.setColumnWidth(1, 4);
    sheet.setColumnWidth(2, 4);
    SheetGrid grid(sheet, book.styles());
    EXPECT_EQ(grid.displayed(1, 1), "1.696666667");
    EXPECT_EQ(grid.drawn(1, 1), "1.7");
    EXPECT_EQ(grid.displayed(1, 2), "12345.678");
    EXPECT_TRUE(grid.drawn(1, 2).startsWith("##"));
    EXPECT_EQ(grid.drawn(1, 3), "A long title that runs on"); // text is never shortened
}

// The Windows style asks more of a header section (23 pixels) than a row of the sheet has.
TEST(SheetGridTest, RowsKeepTheSheetsHeightInTheWindowsStyle) {
    struct StyleForTheTest {
        QString usual = QApplication::style()->name();
        StyleForTheTest() { QApplication::setStyle("Windows"); }
        ~StyleForTheTest() { QApplication::setStyle(usual); }
    } windows;
    Workbook book;
    Worksheet& sheet = book.addWorksheet("Summary");
    sheet.setValue(1, 1, std::string("Number of Tests:"));
    SheetGrid grid(sheet, book.styles());
    EXPECT_EQ(grid.rowHeight(0), QFontMetrics(grid.font()).height() + 4);
}

// Close Workbook ends the batch for good: the journal is told which workbook it was.
TEST_F(WorkbookWindowTest, CloseWorkbookSaysWhichBatchEnded) {
    std::vector<std::pair<int, std::string>> ended;
    WorkbookWindows windows({.lights = lights,
                             .exports = ctx,
                             .channels = channels,
                             .prompts = prompts,
                             .workbookFolder = dir.filePath("Workbooks").toStdString(),
                             .closed = [&](int channel, const std::string& workbook) {
                                 ended.emplace_back(channel, workbook);
                             }});
    changed = [&] { windows.workbooksChanged(); };
    exportTo(1, "load-stack-creep-lbf-in.txt");
    const auto file = app().workbookFile(channels[1].WorkbookIndex);
    windows.closeWorkbook(1);
    ASSERT_EQ(ended.size(), 1U);
    EXPECT_EQ(ended[0].first, 1);
    EXPECT_EQ(ended[0].second, file.stem().string());
    windows.closeWorkbook(1); // nothing open: nothing ended
    EXPECT_EQ(ended.size(), 1U);
}

} // namespace
} // namespace kelvor
