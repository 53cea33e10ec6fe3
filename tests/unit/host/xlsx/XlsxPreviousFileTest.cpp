// Parts of sheets that did not change are taken from the file the writer wrote last: the file
// grows in place, or they are copied from it into a whole new one. That file may be cut short,
// replaced or removed between two writes: the package must then come out as a fresh writer
// writes it, never with bytes taken from a file that is not the one written.
#include "DiskLimits.h"
#include "TestFiles.h"
#include "XlsxPackage.h"

#include "host/model/Workbook.h"
#include "host/xlsx/XlsxError.h"
#include "host/xlsx/XlsxWriter.h"
#include "host/xlsx/ZipArchive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>

namespace kelvor {
namespace {

namespace fs = std::filesystem;

class XlsxPreviousFileTest : public testing::Test {
protected:
    XlsxPreviousFileTest() {
        for (int k = 1; k <= 3; ++k) {
            addTest(k);
        }
        writer.write(book, file);
    }

    void addTest(int k) {
        auto& data = book.addWorksheet("Data " + std::to_string(k));
        for (std::uint32_t row = 1; row <= 200; ++row) {
            data.setValue(row, 1, row * 0.001 * k);
            data.setValue(row, 2, row * 1.5 + k);
        }
        book.addChartSheet("Data " + std::to_string(k) + " Plot").editChart([&](Chart& chart) {
            ChartSeries series;
            series.name = "Test " + std::to_string(k);
            for (int i = 0; i < 200; ++i) {
                series.xValues.push_back(i * 0.001);
                series.values.push_back(i * 1.5 + k);
            }
            chart.series.push_back(std::move(series));
            chart.textBoxes.push_back(TextBox{});
            chart.textBoxes.back().text = "Sample " + std::to_string(k);
        });
    }

    // The next report: a new test, and the first sheet's cell changed as a summary would be.
    void changeBook() {
        addTest(static_cast<int>(book.sheetCount() / 2) + 1);
        asWorksheet(book.sheet(0))->setValue(1, 3, std::string("count"));
    }

    // Writes with the kept writer and a fresh one; every part must read the same, checksums
    // checked by the independent reader. The core properties hold each writer's own time.
    void expectSameAsFresh(const std::string& what) {
        writer.write(book, file);
        XlsxWriter fresh;
        fresh.write(book, freshFile);
        auto mine = test::readPackage(file);
        auto theirs = test::readPackage(freshFile);
        mine.erase("docProps/core.xml");
        theirs.erase("docProps/core.xml");
        ASSERT_EQ(mine.size(), theirs.size()) << what;
        for (const auto& [name, entry] : theirs) {
            EXPECT_EQ(mine[name].content, entry.content) << what << ": " << name;
        }
    }

    bool copied(const std::string& part) const {
        const auto& parts = writer.copiedParts();
        return std::find(parts.begin(), parts.end(), part) != parts.end();
    }

    test::TempDir dir;
    fs::path file = dir.path() / "Channel 1.xlsx";
    fs::path freshFile = dir.path() / "fresh.xlsx";
    Workbook book;
    XlsxWriter writer;
};

TEST_F(XlsxPreviousFileTest, UnchangedSheetsAreCopiedFromTheFileWrittenLast) {
    changeBook();
    expectSameAsFresh("a test more");
    // Data 2, its chart sheet's six parts: all copied; the changed first sheet and the new
    // test's parts are made.
    EXPECT_TRUE(copied("xl/worksheets/sheet3.xml"));
    EXPECT_TRUE(copied("xl/charts/chart4.xml"));
    EXPECT_TRUE(copied("xl/drawings/drawing4.xml"));
    EXPECT_FALSE(copied("xl/worksheets/sheet1.xml"));
    EXPECT_FALSE(copied("xl/worksheets/sheet7.xml"));
    // Nothing unchanged is held in memory: every part reused is copied.
    EXPECT_EQ(writer.copiedParts(), writer.reusedParts());

    // Parts copied once are copied again from where the last write put them.
    changeBook();
    expectSameAsFresh("two tests more");
    EXPECT_TRUE(copied("xl/worksheets/sheet7.xml"));
    EXPECT_TRUE(copied("xl/worksheets/sheet3.xml"));
}

TEST_F(XlsxPreviousFileTest, AFileChangedBetweenWritesIsNotCopiedFrom) {
    const std::vector<std::pair<std::string, std::function<void()>>> changes{
        {"cut short", [&] { fs::resize_file(file, fs::file_size(file) / 2); }},
        {"cut by its last byte", [&] { fs::resize_file(file, fs::file_size(file) - 1); }},
        {"replaced by a copy",
         [&] {
             // Same bytes, another file: nothing says it stays as it is.
             fs::copy_file(file, dir.path() / "copy.xlsx");
             fs::rename(dir.path() / "copy.xlsx", file);
         }},
        {"replaced by another workbook",
         [&] {
             Workbook other;
             other.addWorksheet("Data 1").setValue(1, 1, 42.0);
             XlsxWriter().write(other, dir.path() / "other.xlsx");
             fs::rename(dir.path() / "other.xlsx", file);
         }},
        {"removed", [&] { fs::remove(file); }},
        {"grown", [&] { test::writeBytes(file, test::fileBytes(file) + "more"); }},
    };
    for (const auto& [what, change] : changes) {
        changeBook();
        change();
        expectSameAsFresh(what);
        EXPECT_TRUE(writer.copiedParts().empty()) << what;
        // The file just written is copied from again.
        changeBook();
        expectSameAsFresh(what + ", then a test more");
        EXPECT_FALSE(writer.copiedParts().empty()) << what;
    }
}

TEST_F(XlsxPreviousFileTest, AWorkbookWrittenElsewhereCopiesFromItsEarlierFile) {
    changeBook();
    const auto moved = dir.path() / "Channel 1 (2).xlsx";
    writer.write(book, moved);
    EXPECT_FALSE(writer.copiedParts().empty());
    fs::remove(file);
    file = moved;
    changeBook();
    expectSameAsFresh("written under its new name");
    EXPECT_FALSE(writer.copiedParts().empty());
}

TEST_F(XlsxPreviousFileTest, AFailedWriteLeavesTheEarlierFileToCopyFrom) {
    changeBook();
    // A folder in the way of the target: the write fails, the earlier file stays.
    const auto blocked = dir.path() / "blocked.xlsx";
    fs::create_directory(blocked);
    EXPECT_THROW(writer.write(book, blocked), XlsxError);
    changeBook();
    expectSameAsFresh("after a failed write");
    EXPECT_FALSE(writer.copiedParts().empty());
}

// A hard link sees a file grown in place, and keeps the old one when the file is replaced.
bool grewInPlace(const fs::path& file, const fs::path& link) {
    return test::fileBytes(file) == test::fileBytes(link);
}

TEST_F(XlsxPreviousFileTest, TheFileGrowsInPlaceUntilReplacedPartsOutweighTheOnesInUse) {
    // A big first sheet changed at every write, as the summary's plot is.
    auto& first = *asWorksheet(book.sheet(0));
    for (std::uint32_t row = 201; row <= 3000; ++row) {
        first.setValue(row, 1, row * 0.25);
        first.setValue(row, 2, std::string("row ") + std::to_string(row));
    }
    writer.write(book, file);
    const auto link = dir.path() / "link.xlsx";
    int grown = 0;
    bool replaced = false;
    for (int round = 0; round < 40 && !replaced; ++round) {
        fs::remove(link);
        fs::create_hard_link(file, link);
        const auto before = fs::file_size(file);
        changeBook();
        first.setValue(1, 4, round * 1.0);
        expectSameAsFresh("round " + std::to_string(round));
        ASSERT_TRUE(zipFileEndsWhole(file));
        if (grewInPlace(file, link)) {
            ++grown;
            // The earlier bytes stay as they were: only the end of the file is new.
            EXPECT_EQ(test::fileBytes(file).substr(0, before),
                      test::fileBytes(link).substr(0, before));
            EXPECT_GT(fs::file_size(file), before);
        } else {
            replaced = true;
            // Written whole, without the unused bytes: shorter than the file it replaced.
            EXPECT_LT(fs::file_size(file), before);
        }
    }
    EXPECT_GE(grown, 2);
    EXPECT_TRUE(replaced);
}

TEST_F(XlsxPreviousFileTest, AFileTornAtItsEndIsToldApart) {
    EXPECT_TRUE(zipFileEndsWhole(file));
    const auto whole = test::fileBytes(file);
    test::writeBytes(file, whole.substr(0, whole.size() - 1));
    EXPECT_FALSE(zipFileEndsWhole(file)) << "cut by a byte";
    test::writeBytes(file, whole + std::string(5000, '\x7f'));
    EXPECT_FALSE(zipFileEndsWhole(file)) << "a torn tail behind a whole archive";
    test::writeBytes(file, "");
    EXPECT_FALSE(zipFileEndsWhole(file)) << "empty";
    EXPECT_FALSE(zipFileEndsWhole(dir.path() / "missing.xlsx"));
    // Written again, it is whole and reads as a fresh writer's.
    changeBook();
    expectSameAsFresh("after a torn end");
    EXPECT_TRUE(zipFileEndsWhole(file));
}

TEST_F(XlsxPreviousFileTest, AGrowthThatFailsLeavesTheFileAsItWasAndTheNextWriteGoesOn) {
    if (!test::FileSizeLimit::available()) {
        GTEST_SKIP() << "this system has no file-size limit to fail a write with";
    }
    const auto before = test::fileBytes(file);
    changeBook();
    {
        test::FileSizeLimit limit(before.size() + 100);
        EXPECT_THROW(writer.write(book, file), XlsxError);
    }
    EXPECT_EQ(test::fileBytes(file), before);
    EXPECT_TRUE(zipFileEndsWhole(file));
    changeBook();
    expectSameAsFresh("after a failed growth");
    EXPECT_FALSE(writer.copiedParts().empty());
}

} // namespace
} // namespace kelvor
