// Sheets saved as PDF, read back with poppler: what the page setup asks for is on paper.
#include "PdfTools.h"
#include "WorkbookWindowFixture.h"
#include "host/app/state/ApplicationState.h"
#include "printing/PdfFile.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include <filesystem>
#include <fstream>

namespace kelvor {
namespace {

namespace fs = std::filesystem;
using test::pdfInfo;
using test::pdfPages;

std::uint32_t idOf(const Workbook& book, const std::string& name) {
    const auto index = book.indexOf(name);
    EXPECT_TRUE(index.has_value()) << name;
    return index ? book.sheet(*index).id() : 0;
}

int pageCount(const fs::path& pdf) {
    const auto found = QRegularExpression(R"(Pages:\s+(\d+))").match(pdfInfo(pdf));
    return found.hasMatch() ? found.captured(1).toInt() : -1;
}

class SheetPdfTest : public WorkbookWindowTest {
protected:
    BookView channelBook(int channel) { return app().openBook(channels[channel].WorkbookIndex); }
    fs::path out(const std::string& name) {
        return fs::path(dir.filePath("out").toStdString()) / name;
    }
    void SetUp() override { fs::create_directories(out("")); }
};

TEST_F(SheetPdfTest, ADataSheetRepeatsItsColumnHeadersAndNumbersItsPages) {
    KELVOR_NEED_TOOL("pdftotext");
    exportTo(0, "rate-doublewall-box-lbf-in-1000.txt");
    const BookView book = channelBook(0);
    const fs::path pdf = out("data.pdf");
    ASSERT_EQ(savePdf(book, {idOf(book.workbook(), "Data 1")}, pdf), "");
    const QStringList pages = pdfPages(pdf);
    // Rows of 12.75 points as the workbook has them, not as high as the screen's font: 51 data
    // rows and the two-line title row fill an A4 page inside one-inch margins, as another
    // spreadsheet fills it.
    ASSERT_EQ(pages.size(), 20);
    EXPECT_EQ(pageCount(pdf), pages.size());
    const QString file = QString::fromStdString(book.filePath().filename().string());
    const QRegularExpression header("File: " + QRegularExpression::escape(file) +
                                    R"(\s+Sheet:Data 1\b)");
    for (int p = 0; p < pages.size(); ++p) {
        const QString& page = pages[p];
        EXPECT_TRUE(header.match(page).hasMatch()) << "page " << p + 1 << "\n"
                                                   << page.toStdString();
        EXPECT_TRUE(page.contains(QString("Page %1 of %2").arg(p + 1).arg(pages.size())))
            << "page " << p + 1;
        EXPECT_TRUE(page.contains("DEFLECTION")) << "page " << p + 1;
        EXPECT_TRUE(page.contains("(lbf)")) << "page " << p + 1;
    }
    // Every point once, in order, none lost at a page break.
    const QRegularExpression point(R"(^\s*(\d+(?:\.\d+)?)\s+\d+(?:\.\d+)?\s*$)",
                                   QRegularExpression::MultilineOption);
    QStringList deflections;
    for (const QString& page : pages) {
        for (auto it = point.globalMatch(page); it.hasNext();) {
            deflections.append(it.next().captured(1));
        }
    }
    ASSERT_EQ(deflections.size(), 1000);
    for (int n = 1; n <= 1000; ++n) {
        ASSERT_EQ(deflections[n - 1].toDouble(), n / 1000.0) << "point " << n;
    }
    // The header lines stand on the first page only.
    EXPECT_TRUE(pages.front().contains("CONSTANT RATE TEST DATA"));
    EXPECT_FALSE(pages.back().contains("CONSTANT RATE TEST DATA"));
}

TEST_F(SheetPdfTest, AChartSheetPrintsOnOneLandscapePageAfterItsPortraitDataPages) {
    KELVOR_NEED_TOOL("pdfinfo");
    exportTo(0, "rate-shipper-lbf-in-50.txt");
    const BookView book = channelBook(0);
    const fs::path pdf = out("test.pdf");
    ASSERT_EQ(
        savePdf(book, {idOf(book.workbook(), "Data 1"), idOf(book.workbook(), "Data 1 Plot")}, pdf),
        "");
    const int pages = pageCount(pdf);
    ASSERT_GE(pages, 2);
    const QRegularExpression size(R"(Page\s+(\d+) size:\s+([\d.]+) x ([\d.]+) pts)");
    auto sizes = size.globalMatch(pdfInfo(pdf, 1, pages));
    int seen = 0;
    while (sizes.hasNext()) {
        const auto page = sizes.next();
        const bool landscape = page.captured(2).toDouble() > page.captured(3).toDouble();
        EXPECT_EQ(landscape, page.captured(1).toInt() == pages)
            << "page " << page.captured(1).toInt();
        EXPECT_NEAR(std::max(page.captured(2).toDouble(), page.captured(3).toDouble()), 841.9, 0.5);
        ++seen;
    }
    EXPECT_EQ(seen, pages);
    if (test::hasTool("pdftotext")) {
        const QString chart = pdfPages(pdf).last();
        EXPECT_TRUE(chart.contains("Sheet:Data 1 Plot")) << chart.toStdString();
        // Title, axis titles and the info box, drawn by the window's chart view.
        EXPECT_TRUE(chart.contains("FORCE vs DEFORMATION")) << chart.toStdString();
        EXPECT_TRUE(chart.contains("Deformation (in)"));
        EXPECT_TRUE(chart.contains("Force units in lbf"));
    }
}

// A sheet wider than the page: the columns that do not fit go on pages of their own, after
// all the rows of the first columns.
TEST_F(SheetPdfTest, AWideSheetBreaksIntoColumnsDownFirstThenOver) {
    KELVOR_NEED_TOOL("pdftotext");
    auto state = std::make_shared<BookState>("Wide");
    state->file.path = out("Wide.xlsx");
    Worksheet& sheet = state->model.addWorksheet("Wide");
    for (std::uint32_t row = 1; row <= 80; ++row) {
        for (std::uint32_t column = 1; column <= 16; ++column) {
            sheet.setValue(row, column, "R" + std::to_string(row) + "C" + std::to_string(column));
        }
    }
    PageSetup setup;
    setup.centerFooter = "Page &P of &N";
    sheet.setPageSetup(setup);
    const fs::path pdf = out("wide.pdf");
    ASSERT_EQ(savePdf(BookView(state), {sheet.id()}, pdf), "");
    const QStringList pages = pdfPages(pdf);
    ASSERT_EQ(pages.size(), 4) << "two bands of rows by two bands of columns";
    const QRegularExpression word(R"(\bR(\d+)C(\d+)\b)");
    for (int p = 0; p < 4; ++p) {
        int lowRow = 1000, highRow = 0, lowColumn = 1000, highColumn = 0;
        for (auto it = word.globalMatch(pages[p]); it.hasNext();) {
            const auto cell = it.next();
            lowRow = std::min(lowRow, cell.captured(1).toInt());
            highRow = std::max(highRow, cell.captured(1).toInt());
            lowColumn = std::min(lowColumn, cell.captured(2).toInt());
            highColumn = std::max(highColumn, cell.captured(2).toInt());
        }
        const bool secondRows = p % 2 == 1;
        const bool secondColumns = p >= 2;
        EXPECT_EQ(lowRow == 1, !secondRows) << "page " << p + 1;
        EXPECT_EQ(highRow == 80, secondRows) << "page " << p + 1;
        EXPECT_EQ(lowColumn == 1, !secondColumns) << "page " << p + 1;
        EXPECT_EQ(highColumn == 16, secondColumns) << "page " << p + 1;
        EXPECT_TRUE(pages[p].contains(QString("Page %1 of 4").arg(p + 1)));
    }
}

// A long text runs on over the empty cells to its right, across the break into the next
// columns' page too.
TEST_F(SheetPdfTest, ATextRunsOnOverThePageBreakBetweenColumns) {
    KELVOR_NEED_TOOL("pdftotext");
    auto state = std::make_shared<BookState>("Note");
    state->file.path = out("Note.xlsx");
    Worksheet& sheet = state->model.addWorksheet("Note");
    sheet.setValue(1, 10, std::string("aaaa bbbb cccc dddd eeee ffff gggg hhhh iiii jjjj kkkk"));
    sheet.setValue(2, 14, std::string("end"));
    const fs::path pdf = out("note.pdf");
    ASSERT_EQ(savePdf(BookView(state), {sheet.id()}, pdf), "");
    const QStringList pages = pdfPages(pdf);
    ASSERT_EQ(pages.size(), 2);
    EXPECT_TRUE(pages[0].contains("aaaa")) << pages[0].toStdString();
    EXPECT_FALSE(pages[0].contains("kkkk"));
    // (The text's start is clipped off the second page, which the text layer still holds.)
    EXPECT_TRUE(pages[1].contains("kkkk")) << pages[1].toStdString();
    EXPECT_TRUE(pages[1].contains("end"));
}

TEST_F(SheetPdfTest, AFolderThatCannotBeWrittenLeavesNoFileAndSaysWhy) {
    exportTo(0, "rate-shipper-lbf-in-50.txt");
    const BookView book = channelBook(0);
    const std::uint32_t data = idOf(book.workbook(), "Data 1");
    const fs::path missing = out("no such folder") / "data.pdf";
    const std::string failure = savePdf(book, {data}, missing);
    EXPECT_NE(failure, "");
    EXPECT_EQ(failure.find('\n'), std::string::npos);
    EXPECT_FALSE(fs::exists(missing.parent_path()));

    // The name taken by a folder: the folder stays as it was, nothing beside it.
    const fs::path taken = out("taken.pdf");
    fs::create_directory(taken);
    EXPECT_NE(savePdf(book, {data}, taken), "");
    EXPECT_TRUE(fs::is_directory(taken));
    EXPECT_EQ(std::distance(fs::directory_iterator(out("")), fs::directory_iterator()), 1);
}

TEST_F(SheetPdfTest, AReadOnlyFolderLeavesNoFileAndSaysWhy) {
    exportTo(0, "rate-shipper-lbf-in-50.txt");
    const BookView book = channelBook(0);
    const std::uint32_t data = idOf(book.workbook(), "Data 1");
    // The superuser writes into any folder: the test then skips.
    const fs::path locked = out("locked");
    fs::create_directory(locked);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    const std::string refused = savePdf(book, {data}, locked / "data.pdf");
    const bool written = fs::exists(locked / "data.pdf");
    const auto left = std::distance(fs::directory_iterator(locked), fs::directory_iterator());
    fs::permissions(locked, fs::perms::owner_all);
    if (written) {
        GTEST_SKIP() << "running as a user who writes into read-only folders";
    }
    EXPECT_NE(refused, "");
    EXPECT_EQ(left, 0);
}

TEST_F(SheetPdfTest, ASavedPdfReplacesTheFileBeforeIt) {
    exportTo(0, "rate-shipper-lbf-in-50.txt");
    const BookView book = channelBook(0);
    const fs::path pdf = out("data.pdf");
    {
        std::ofstream old(pdf);
        old << "an older file";
    }
    ASSERT_EQ(savePdf(book, {idOf(book.workbook(), "Data 1")}, pdf), "");
    std::ifstream in(pdf, std::ios::binary);
    std::string start(5, '\0');
    in.read(start.data(), 5);
    EXPECT_EQ(start, "%PDF-");
    EXPECT_EQ(std::distance(fs::directory_iterator(out("")), fs::directory_iterator()), 1);
}

} // namespace
} // namespace kelvor
