// The batch list read from the journal, and an ended batch shown again from the archive
// without its file being touched.
#include "ScriptedPrompts.h"
#include "TestFiles.h"

#include "batches/JournalingExport.h"
#include "export/ChannelWorkbooks.h"
#include "export/ReportExportStep.h"
#include "host/app/automation/BuiltinApplicationFactory.h"
#include "shell/BatchListing.h"
#include "util/PathText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace kelvor::test {
namespace {

std::string sample(const std::string& name) {
    return fileBytes(std::filesystem::path(KELVOR_SOURCE_DIR) / "samples" / name);
}

class BatchListingTest : public ::testing::Test {
protected:
    BatchListingTest() {
        channels[0].Description = "Press A";
        journal.load({});
    }

    void exportReport(const std::string& name, const std::string& sampleName) {
        const auto folder = books / "Received" / "Channel 1";
        std::filesystem::create_directories(folder);
        writeBytes(folder / name, sample(sampleName));
        std::string text = sample(sampleName);
        journaling.exportReport(0, text, ReportOrigin{utf8Of(folder / name), {}},
                                channels[0].WorkbookIndex);
    }

    void closeBatch() {
        const std::string name = workbookNameAt(ctx, channels[0].WorkbookIndex);
        ASSERT_TRUE(CloseChannelWorkbook(ctx, channels, 0));
        journal.closed(0, name);
    }

    TempDir dir;
    std::filesystem::path books = dir.path() / "Workbooks";
    BuiltinApplicationFactory factory{books};
    ScriptedPrompts prompts;
    ChannelTable channels{};
    float traceOffset = 0.0F;
    ExportContext ctx{factory, prompts, channels, traceOffset};
    ReportExportStep step{ctx};
    BatchJournal journal{batchJournalPath(books), WallClock::now, {}};
    JournalingExport journaling{step, journal, channels, traceOffset,
                                [this](std::int32_t at) { return workbookNameAt(ctx, at); }};
};

TEST_F(BatchListingTest, ListsEndedAndOpenBatchesAndShowsAnEndedOneWithoutWritingIt) {
    exportReport("2026-12-08 08-00-00.txt", "rate-shipper-lbf-in-50.txt");
    exportReport("2026-12-08 08-05-00.txt", "rate-paper-core-n-mm-150.txt");
    closeBatch();
    exportReport("2026-12-08 09-00-00.txt", "load-stack-creep-lbf-in.txt");

    const auto rows = batchRows(journal, 0, books);
    ASSERT_EQ(rows.size(), 2U);
    EXPECT_FALSE(rows[0].open);
    EXPECT_EQ(rows[0].tests, 2);
    EXPECT_TRUE(rows[0].firstTest.has_value());
    EXPECT_TRUE(rows[1].open);
    EXPECT_EQ(rows[1].tests, 1);
    EXPECT_NE(rows[0].fileName, rows[1].fileName);
    EXPECT_EQ(rows[0].path, books / pathFromUtf8(rows[0].fileName));
    ASSERT_TRUE(std::filesystem::exists(rows[0].path));
    EXPECT_TRUE(batchRows(journal, 1, books).empty());

    const std::string before = fileBytes(rows[0].path);
    {
        const auto shown = openEndedBatch(factory, journal, rows[0], nullptr);
        ASSERT_TRUE(shown.has_value());
        std::vector<std::string> names;
        for (std::size_t i = 0; i < shown->workbook().sheetCount(); ++i) {
            names.push_back(shown->workbook().sheet(i).name());
        }
        EXPECT_NE(std::find(names.begin(), names.end(), "Data 1"), names.end());
        EXPECT_NE(std::find(names.begin(), names.end(), "Data 2"), names.end());
        EXPECT_EQ(shown->filePath(), rows[0].path);
        // The open batch is the application's own; a read-only copy of it is not made.
        EXPECT_FALSE(openEndedBatch(factory, journal, rows[1], nullptr).has_value());
    }
    // The copy and its application are gone: the ended batch's file is as it was.
    EXPECT_EQ(fileBytes(rows[0].path), before);
    EXPECT_EQ(ctx.application().Workbooks()->Count(), 1);
}

} // namespace
} // namespace kelvor::test
