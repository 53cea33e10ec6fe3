// A channel's batch list: what it shows, and what its buttons open, over workbooks made by the
// real export.
#include "WorkbookWindowFixture.h"
#include "platform/widgets/QtPrompts.h"
#include "shell/WorkbookWindows.h"
#include "workbookview/BatchListDialog.h"
#include "workbookview/WorkbookWindow.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

#include <fstream>

namespace kelvor {
namespace {

using namespace std::chrono_literals;
using std::chrono::local_days;
using std::chrono::March;

constexpr LabTime at(int day, std::chrono::minutes time) {
    return LabTime(local_days(std::chrono::year(2024) / March / day) + time);
}

BatchRow batch(std::filesystem::path path, bool open, std::optional<LabTime> first,
               std::optional<LabTime> last, int tests) {
    return {path.filename().string(), path, open, first, last, tests};
}

std::filesystem::path touch(const std::filesystem::path& file) {
    std::ofstream(file) << "x";
    return file;
}

void doubleClick(BatchListDialog& list, int row) {
    QTableWidget* table = list.table();
    const QRect cell = table->visualItemRect(table->item(row, BatchListDialog::FileColumn));
    // As the system sends it: a click, then the second press as a double-click. QTest's
    // double-click on a widget sends the second part alone.
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseRelease(table->viewport(), Qt::LeftButton, {}, cell.center());
}

QAction* item(QMenu& menu, const QString& text) {
    for (QAction* action : menu.actions()) {
        if (action->text() == text) {
            return action;
        }
    }
    ADD_FAILURE() << text.toStdString();
    return nullptr;
}

TEST_F(WorkbookWindowTest, BatchListShowsNewestFirstWithCountsTimesAndMissingFiles) {
    const std::filesystem::path folder = dir.path().toStdString();
    const auto oldest = touch(folder / "Press A 2024-03-01 08-00.xlsx");
    const auto open = touch(folder / "Press A 2024-03-09 07-30.xlsx");
    const auto gone = folder / "Press A 2024-03-05 10-15.xlsx";
    const auto starting = folder / "Press A 2024-03-10 06-00.xlsx";
    std::vector<BatchRow> opened;
    BatchListDialog list("Batches of Channel 1 (Press A)",
                         {.open = [&](const BatchRow& row) { opened.push_back(row); }});
    list.setRows({batch(oldest, false, at(1, 8h), at(4, 17h + 59min), 212),
                  batch(open, true, at(9, 7h + 30min), at(9, 14h + 7min), 3),
                  batch(gone, false, at(5, 10h + 15min), at(8, 9h), 40)});
    ASSERT_EQ(list.rowCount(), 3);
    const auto line = [&](int row) {
        QStringList cells;
        for (int column = 0; column < BatchListDialog::ColumnCount; ++column) {
            cells.append(list.text(row, static_cast<BatchListDialog::Column>(column)));
        }
        return cells.join(" | ");
    };
    EXPECT_EQ(line(0), "Press A 2024-03-09 07-30.xlsx | open | 2024-03-09 07:30 | "
                       "2024-03-09 14:07 | 3");
    EXPECT_EQ(line(1), "Press A 2024-03-05 10-15.xlsx | closed, file no longer on disk | "
                       "2024-03-05 10:15 | 2024-03-08 09:00 | 40");
    EXPECT_EQ(line(2), "Press A 2024-03-01 08-00.xlsx | closed | 2024-03-01 08:00 | "
                       "2024-03-04 17:59 | 212");
    EXPECT_TRUE(list.isBold(0));
    EXPECT_FALSE(list.isBold(1));
    EXPECT_FALSE(list.isBold(2));
    EXPECT_FALSE(list.emptyNote()->isVisibleTo(&list));

    // The newest is chosen first; a file no longer on disk has nothing for the program.
    EXPECT_TRUE(list.programButton()->isEnabled());
    list.selectRow(1);
    EXPECT_FALSE(list.programButton()->isEnabled());
    EXPECT_TRUE(list.openButton()->isEnabled());
    EXPECT_TRUE(list.folderButton()->isEnabled());
    list.selectRow(2);
    EXPECT_TRUE(list.programButton()->isEnabled());

    // Asked again (a new batch began): the chosen batch stays chosen, the new one has no times
    // yet and is the newest.
    list.setRows({batch(oldest, false, at(1, 8h), at(4, 17h + 59min), 212),
                  batch(open, false, at(9, 7h + 30min), at(9, 14h + 7min), 3),
                  batch(starting, true, std::nullopt, std::nullopt, 0)});
    EXPECT_EQ(list.text(0, BatchListDialog::StateColumn), "open, file not written yet");
    EXPECT_EQ(list.text(0, BatchListDialog::FirstColumn), "");
    EXPECT_EQ(list.text(0, BatchListDialog::TestsColumn), "0");
    EXPECT_EQ(list.text(1, BatchListDialog::StateColumn), "closed");
    EXPECT_FALSE(list.isBold(1));

    list.show();
    doubleClick(list, 2);
    ASSERT_EQ(opened.size(), 1U);
    EXPECT_EQ(opened[0].path, oldest);
    EXPECT_EQ(opened[0].tests, 212);

    list.setRows({});
    EXPECT_TRUE(list.emptyNote()->isVisible());
    EXPECT_FALSE(list.openButton()->isEnabled());
    EXPECT_FALSE(list.folderButton()->isEnabled());
    list.openButton()->click();
    EXPECT_EQ(opened.size(), 1U);
}

class BatchListTest : public WorkbookWindowTest {
protected:
    BatchListTest() {
        changed = [this] { windows.workbooksChanged(); };
    }

    BatchListDialog& showList(int channel) {
        auto menu = windows.contextMenu(channel);
        item(*menu, "Batches…")->trigger();
        BatchListDialog* list = windows.batchList(channel);
        EXPECT_NE(list, nullptr);
        EXPECT_TRUE(list->isVisible());
        return *list;
    }

    int rowOf(const BatchListDialog& list, const std::filesystem::path& file) {
        for (int row = 0; row < list.rowCount(); ++row) {
            if (list.row(row).path == file) {
                return row;
            }
        }
        ADD_FAILURE() << file;
        return -1;
    }

    std::vector<BatchRow> rows;
    std::vector<BatchRow> askedToOpen;
    std::shared_ptr<const BookState> closedBook;
    std::vector<QUrl> opened;
    WorkbookWindows windows{
        {.lights = lights,
         .exports = ctx,
         .channels = channels,
         .prompts = prompts,
         .openUrl =
             [this](const QUrl& url) {
                 opened.push_back(url);
                 return true;
             },
         .batches = [this](int channel) { return channel == 1 ? rows : std::vector<BatchRow>{}; },
         .openReadOnly = [this](const BatchRow& row) -> std::optional<BookView> {
             askedToOpen.push_back(row);
             if (closedBook != nullptr && row.path == closedBook->file.path) {
                 return BookView(closedBook);
             }
             return std::nullopt;
         }}};
};

TEST_F(BatchListTest, OpenShowsTheOpenBatchOrAClosedOneReadOnly) {
    exportTo(1, "load-stack-creep-lbf-in.txt");
    closedBook = app().openBook(channels[1].WorkbookIndex);
    const auto closedFile = closedBook->file.path;
    windows.closeWorkbook(1);
    now += std::chrono::minutes(2);
    exportTo(1, "load-bottle-creep-no-humidity-kgf-mm.txt");
    const auto openFile = app().workbookFile(channels[1].WorkbookIndex);
    const auto goneFile = closedFile.parent_path() / "Press B 2024-01-02 03-04.xlsx";
    rows = {batch(goneFile, false, at(1, 9h), at(2, 9h), 5),
            batch(openFile, true, at(20, 11h), at(20, 11h), 1),
            batch(closedFile, false, at(10, 11h), at(10, 11h), 1)};

    BatchListDialog& list = showList(1);
    EXPECT_EQ(list.windowTitle(), "Batches of Channel 2 (Press B)");
    ASSERT_EQ(list.rowCount(), 3);
    EXPECT_EQ(list.row(0).path, openFile);
    EXPECT_EQ(list.row(1).path, closedFile);
    EXPECT_EQ(list.row(2).path, goneFile);

    // The open batch: its workbook window, as Show Workbook shows it.
    list.selectRow(0);
    list.openButton()->click();
    ASSERT_NE(windows.window(1), nullptr);
    EXPECT_TRUE(windows.window(1)->isVisible());
    EXPECT_EQ(windows.window(1)->book().file.path, openFile);
    EXPECT_FALSE(windows.window(1)->windowTitle().contains("closed"));
    EXPECT_TRUE(askedToOpen.empty());

    // A closed batch: a read-only window over the book it was given, once however often asked.
    doubleClick(list, 1);
    WorkbookWindow* closed = windows.closedBatchWindow(closedFile);
    ASSERT_NE(closed, nullptr);
    EXPECT_TRUE(closed->isVisible());
    EXPECT_EQ(&closed->book(), closedBook.get());
    EXPECT_EQ(closed->windowTitle(), "Press B - " +
                                         QString::fromStdString(closedFile.filename().string()) +
                                         " (closed batch, read-only)");
    EXPECT_EQ(closed->tabNames(), (QStringList{"Data 1", "Data 1 Plot"}));
    list.openButton()->click();
    EXPECT_EQ(windows.closedBatchWindow(closedFile), closed);
    EXPECT_EQ(askedToOpen.size(), 1U);
    EXPECT_NE(windows.window(1), closed);

    // Given nothing: the user is told, in front of the list, and nothing opens.
    EXPECT_TRUE(prompts.shown.empty());
    list.selectRow(2);
    list.openButton()->click();
    ASSERT_EQ(prompts.shown.size(), 1U);
    EXPECT_EQ(prompts.shown[0].text, "The closed batch " + goneFile.string() +
                                         " cannot be opened here. Its file is no longer on disk.");
    EXPECT_EQ(prompts.shown[0].owner, QtPrompts::ownerOf(list));
    EXPECT_EQ(windows.closedBatchWindow(goneFile), nullptr);

    // An export to the channel leaves the closed batch's window as it was.
    exportTo(1, "load-bottle-creep-no-humidity-kgf-mm.txt");
    EXPECT_EQ(windows.closedBatchWindow(closedFile), closed);
    EXPECT_EQ(closed->tabNames(), (QStringList{"Data 1", "Data 1 Plot"}));

    // A batch the list still calls open that the application has closed is not the channel's
    // workbook any more: it is asked for as a closed one.
    windows.closeWorkbook(1);
    prompts.shown.clear();
    list.selectRow(rowOf(list, openFile));
    list.openButton()->click();
    ASSERT_EQ(askedToOpen.size(), 3U);
    EXPECT_EQ(askedToOpen.back().path, openFile);
    EXPECT_EQ(windows.window(1), nullptr);
    ASSERT_EQ(prompts.shown.size(), 1U);
    EXPECT_EQ(prompts.shown[0].text, "The closed batch " + openFile.string() +
                                         " cannot be opened here. Open in Spreadsheet Program "
                                         "shows it.");
}

TEST_F(BatchListTest, FilesAndFoldersOpenThroughTheDesktop) {
    exportTo(1, "load-stack-creep-lbf-in.txt");
    const auto file = app().workbookFile(channels[1].WorkbookIndex);
    const auto gone = file.parent_path() / "elsewhere" / "Press B 2024-01-02 03-04.xlsx";
    rows = {batch(file, true, at(20, 11h), at(20, 11h), 1),
            batch(gone, false, at(1, 9h), at(2, 9h), 5)};
    BatchListDialog& list = showList(1);
    list.selectRow(rowOf(list, file));
    list.programButton()->click();
    list.folderButton()->click();
    list.selectRow(rowOf(list, gone));
    EXPECT_FALSE(list.programButton()->isEnabled());
    list.programButton()->click(); // disabled: nothing happens
    list.folderButton()->click();
    ASSERT_EQ(opened.size(), 3U);
    EXPECT_EQ(opened[0].toLocalFile().toStdString(), file.string());
    EXPECT_EQ(opened[1].toLocalFile().toStdString(), file.parent_path().string());
    EXPECT_EQ(opened[2].toLocalFile().toStdString(), gone.parent_path().string());
    EXPECT_TRUE(prompts.shown.empty());

    // The workbook window asks for the same list.
    list.hide();
    windows.showWorkbook(1);
    windows.window(1)->batchesButton()->click();
    EXPECT_EQ(windows.batchList(1), &list);
    EXPECT_TRUE(list.isVisible());
}

// Without a record of batches, the list holds the channel's current workbook as the
// application has it, and follows it.
TEST_F(WorkbookWindowTest, BatchListWithoutARecordShowsTheCurrentWorkbook) {
    WorkbookWindows windows(
        {.lights = lights, .exports = ctx, .channels = channels, .prompts = prompts});
    changed = [&] { windows.workbooksChanged(); };
    windows.showBatches(0);
    BatchListDialog* list = windows.batchList(0);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->rowCount(), 0);
    EXPECT_TRUE(list->emptyNote()->isVisible());

    exportTo(0, "rate-shipper-lbf-in-50.txt");
    exportTo(0, "rate-doublewall-box-lbf-in-1000.txt");
    ASSERT_EQ(list->rowCount(), 1);
    const auto file = app().workbookFile(channels[0].WorkbookIndex);
    EXPECT_EQ(list->row(0).path, file);
    EXPECT_EQ(list->text(0, BatchListDialog::FileColumn),
              QString::fromStdString(file.filename().string()));
    EXPECT_EQ(list->text(0, BatchListDialog::StateColumn), "open");
    EXPECT_EQ(list->text(0, BatchListDialog::TestsColumn), "2");
    EXPECT_TRUE(list->isBold(0));
    list->openButton()->click();
    ASSERT_NE(windows.window(0), nullptr);
    EXPECT_TRUE(windows.window(0)->isVisible());

    windows.closeWorkbook(0);
    EXPECT_EQ(list->rowCount(), 0);
    EXPECT_TRUE(prompts.shown.empty());
}

} // namespace
} // namespace kelvor
