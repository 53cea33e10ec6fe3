#include "FakeExport.h"
#include "TestFiles.h"

#include "batches/BatchReopening.h"
#include "batches/JournalingExport.h"
#include "util/PathText.h"

#include <gtest/gtest.h>

namespace kelvor::test {
namespace {

class RecoveryTest : public ::testing::Test {
protected:
    RecoveryTest() {
        channels[0].Description = "Press A";
        channels[1].Description = "Press B";
    }

    std::filesystem::path archive(int channel, const std::string& name, const std::string& text) {
        const auto folder = dir.path() / "Received" / ("Channel " + std::to_string(channel + 1));
        std::filesystem::create_directories(folder);
        writeBytes(folder / name, text);
        return folder / name;
    }

    BatchJournal journal() {
        return BatchJournal(batchJournalPath(dir.path()), WallClock::now, {});
    }

    // One start: the journal loaded, what no record names recovered through the fake.
    std::size_t start(FakeExport& fake, std::size_t limit = SIZE_MAX) {
        auto j = journal();
        auto files = archivedReports(dir.path());
        std::vector<std::string> existing;
        j.load(existing);
        JournalingExport journaling(fake, j, channels, traceOffset, [](std::int32_t at) {
            return at > 0 ? "Book" + std::to_string(at) : "";
        });
        if (files.size() > limit) {
            files.resize(limit); // killed after `limit` files
        }
        return recoverReports(journaling, j, channels, files, nullptr);
    }

    TempDir dir;
    ChannelTable channels;
    float traceOffset = 0.5F;
};

TEST_F(RecoveryTest, ReportsNoRecordNamesGoToTheirChannelOldestFirstExactlyOnce) {
    // The first start with batches: the archive as it is belongs to no batch.
    archive(0, "2026-01-01 08-00-00.txt", "old");
    {
        auto j = journal();
        std::vector<std::string> existing;
        for (const auto& report : archivedReports(dir.path())) {
            existing.push_back(report.recorded);
        }
        j.load(existing);
        // One report went through the journaling export before the kill.
        j.reported(0, "Book1", utf8Of(archive(0, "2026-12-07 10-00-00.txt", "exported")), true, "",
                   "Press A", 0.5F);
    }
    archive(0, "2026-12-07 10-00-05 (cut short).txt", "cut");
    archive(0, "2026-12-07 10-00-05.txt", "after the cut");
    archive(1, "2026-12-07 09-00-00.txt", "channel 2");
    archive(0, "2026-12-07 10-00-04.txt", "");
    archive(0, "2026-12-07 10-00-03 (2).txt", "three two");
    archive(0, "2026-12-07 10-00-03.txt", "three");

    FakeExport fake;
    fake.assignWorkbookIndex = 1;
    EXPECT_EQ(start(fake), 5U); // the empty file is journaled, not exported
    std::vector<std::string> texts;
    for (const auto& call : fake.calls) {
        texts.push_back(std::to_string(call.channel) + ":" + call.report);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"0:three", "0:three two", "0:cut", "0:after the cut",
                                               "1:channel 2"}));
    EXPECT_EQ(fake.calls[2].cutShortBy, "the reader ended before its export");
    EXPECT_EQ(fake.calls[3].cutShortBy, "");
    EXPECT_EQ(channels[0].WorkbookIndex, 1);

    // The next start finds nothing left.
    FakeExport again;
    EXPECT_EQ(start(again), 0U);
    EXPECT_TRUE(again.calls.empty());
}

TEST_F(RecoveryTest, AKillDuringRecoveryLosesNoneAndDoublesNone) {
    {
        auto j = journal();
        j.load({});
    }
    for (int i = 0; i < 6; ++i) {
        archive(i % 2, "2026-12-07 10-00-0" + std::to_string(i) + ".txt",
                "report " + std::to_string(i));
    }
    std::vector<std::string> seen;
    for (const std::size_t limit : {2U, 1U, 0U, 6U}) {
        FakeExport fake;
        start(fake, limit);
        for (const auto& call : fake.calls) {
            seen.push_back(call.report);
        }
    }
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen, (std::vector<std::string>{"report 0", "report 1", "report 2", "report 3",
                                              "report 4", "report 5"}));
}

TEST_F(RecoveryTest, AFailedExportIsJournaledAsHandedOver) {
    {
        auto j = journal();
        j.load({});
    }
    archive(0, "2026-12-07 10-00-00.txt", "not taken");
    FakeExport fake;
    fake.consume = false; // not pasted
    EXPECT_EQ(start(fake), 1U);
    auto j = journal();
    j.load({});
    ASSERT_EQ(j.records().size(), 1U); // no workbook, so no batch was opened
    EXPECT_FALSE(j.records()[0].pasted);
    EXPECT_EQ(j.records()[0].workbook, "");
    EXPECT_TRUE(j.book().names("Received/Channel 1/2026-12-07 10-00-00.txt"));
}

TEST(RecoveryNotice, SaysHowManyInPlainWords) {
    EXPECT_EQ(recoveryNotice(1),
              "1 report received before the reader ended was added to its workbook.");
    EXPECT_EQ(recoveryNotice(2),
              "2 reports received before the reader ended were added to their workbooks.");
}

} // namespace
} // namespace kelvor::test
