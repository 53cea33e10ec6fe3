// The workbook window's "Print" menu, its dialogs answered by the test.
#include "printing/PrintCommands.h"
#include "PdfTools.h"
#include "WorkbookWindowFixture.h"
#include "shell/WorkbookWindows.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QPrinter>
#include <QRegularExpression>
#include <QTest>
#include <QToolButton>

#include <filesystem>

namespace kelvor {
namespace {

namespace fs = std::filesystem;

class PrintCommandsTest : public WorkbookWindowTest {
protected:
    void SetUp() override {
        exportTo(0, "rate-shipper-lbf-in-50.txt");
        exportTo(0, "rate-paper-core-n-mm-150.txt");
        window =
            std::make_unique<WorkbookWindow>(app().openBook(channels[0].WorkbookIndex), "Press A");
        commands = new PrintCommands(
            *window,
            {
                .askScope = [this](QWidget*, const QString& command) -> std::optional<PrintScope> {
                    asked.append(command);
                    return scope;
                },
                .askPrinter =
                    [this](QWidget*, QPrinter& printer) {
                        printer.setOutputFormat(QPrinter::PdfFormat);
                        printer.setOutputFileName(test::pathText(printed));
                        return true;
                    },
                .askSavePath =
                    [this](QWidget*, const QString&, const QString& offered, const QString&) {
                        suggested = offered;
                        return answer;
                    },
                .tell = [this](QWidget*, const QString& message) { told.append(message); },
            });
    }

    int pages(const fs::path& pdf) {
        const auto found = QRegularExpression(R"(Pages:\s+(\d+))").match(test::pdfInfo(pdf));
        return found.hasMatch() ? found.captured(1).toInt() : -1;
    }

    std::unique_ptr<WorkbookWindow> window;
    PrintCommands* commands = nullptr;
    std::optional<PrintScope> scope = PrintScope::Sheet;
    QString answer;
    QString suggested;
    QStringList asked;
    QStringList told;
    fs::path printed = fs::path(dir.filePath("printed.pdf").toStdString());
};

TEST_F(PrintCommandsTest, SaveAsPdfOfATestTakesItsDataSheetAndItsChart) {
    KELVOR_NEED_TOOL("pdfinfo");
    window->showTab("Data 2 Plot");
    answer = dir.filePath("test.pdf");
    scope = PrintScope::Sheet;
    commands->pdfAction()->trigger();
    const int chartOnly = pages(answer.toStdString());
    scope = PrintScope::Test;
    commands->pdfAction()->trigger();
    EXPECT_EQ(asked, QStringList({"Save as PDF", "Save as PDF"}));
    EXPECT_EQ(chartOnly, 1);
    EXPECT_GE(pages(answer.toStdString()), 3); // 150 points take several pages, then the chart
    EXPECT_TRUE(told.isEmpty()) << told.join('\n').toStdString();
    const fs::path book = window->bookView().filePath();
    EXPECT_EQ(suggested.toStdString(),
              (book.parent_path() / (book.stem().string() + " - Data 2 Plot.pdf")).string());
}

TEST_F(PrintCommandsTest, PrintingTheWorkbookPrintsEveryVisibleSheet) {
    KELVOR_NEED_TOOL("pdfinfo");
    scope = PrintScope::Workbook;
    commands->printAction()->trigger();
    ASSERT_TRUE(fs::exists(printed));
    // Data 1, Data 1 Plot, Data 2, Data 2 Plot, Summary, Summary Plot: at least a page each.
    EXPECT_GE(pages(printed), static_cast<int>(window->tabNames().size()));
    EXPECT_EQ(window->tabNames().size(), 6);
}

TEST_F(PrintCommandsTest, CancellingTheScopeOrTheFileDoesNothing) {
    scope.reset();
    commands->pdfAction()->trigger();
    commands->printAction()->trigger();
    EXPECT_TRUE(suggested.isEmpty());
    EXPECT_FALSE(fs::exists(printed));
    scope = PrintScope::Sheet;
    answer.clear();
    commands->pdfAction()->trigger();
    EXPECT_FALSE(suggested.isEmpty());
    EXPECT_TRUE(told.isEmpty());
}

TEST_F(PrintCommandsTest, CsvIsForWorksheetsAndFailuresAreTold) {
    window->showTab("Data 1 Plot");
    commands->csvAction()->trigger();
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(suggested.isEmpty());

    window->showTab("Summary");
    answer = dir.filePath("summary.csv");
    commands->csvAction()->trigger();
    EXPECT_TRUE(fs::exists(answer.toStdString()));
    EXPECT_TRUE(suggested.endsWith(" - Summary.csv"));
    EXPECT_EQ(told.size(), 1);

    answer = dir.filePath("no such folder/summary.csv");
    commands->csvAction()->trigger();
    EXPECT_EQ(told.size(), 2);
    answer = dir.filePath("no such folder/summary.pdf");
    commands->pdfAction()->trigger();
    EXPECT_EQ(told.size(), 3);
}

TEST_F(PrintCommandsTest, TheMenuSitsBesideTheTabsAndCtrlPPrints) {
    auto* button = window->findChild<QToolButton*>();
    bool found = false;
    for (auto* each : window->findChildren<QToolButton*>()) {
        found = found || (each->text() == "Print" && each->menu() != nullptr &&
                          each->menu()->actions().size() == 3);
    }
    EXPECT_NE(button, nullptr);
    EXPECT_TRUE(found);
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    scope.reset();
    QTest::keyClick(window.get(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(asked, QStringList({"Print"}));
}

using ProgramWindowTest = WorkbookWindowTest;

TEST_F(ProgramWindowTest, TheProgramsWorkbookWindowsCarryThePrintCommands) {
    WorkbookWindows windows(
        {.lights = lights, .exports = ctx, .channels = channels, .prompts = prompts});
    exportTo(0, "rate-shipper-lbf-in-50.txt");
    windows.showWorkbook(0);
    ASSERT_NE(windows.window(0), nullptr);
    const auto* commands = windows.window(0)->findChild<PrintCommands*>();
    ASSERT_NE(commands, nullptr);
    EXPECT_EQ(commands->printAction()->shortcut(), QKeySequence(QKeySequence::Print));
}

} // namespace
} // namespace kelvor
