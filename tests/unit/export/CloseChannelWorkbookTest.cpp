#include "ChartExportFixture.h"
#include "LocalMoment.h"

#include "export/ChannelWorkbooks.h"
#include "export/ReportExportStep.h"
#include "export/WorkbookFileName.h"
#include "host/app/files/WriteNotices.h"
#include "platform/DurableFile.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>

namespace kelvor::test {
namespace {

namespace fs = std::filesystem;

// 7 December 2026, 14:03:20 local time.
WallClock::time_point batchStart() {
    return localMoment(2026, 12, 7, 14, 3, 20);
}

class CloseChannelWorkbookTest : public ExportFixture {
protected:
    CloseChannelWorkbookTest() {
        for (int n = 0; n < ChannelCount; ++n) {
            channels[n].Description = "Press " + std::string(1, static_cast<char>('A' + n));
        }
        ctx.clock = [this] { return now; };
    }

    void exportTo(int channel) {
        std::string text = rateReport("120.25 lbf", "0.15 in");
        ReportExportStep(ctx).exportReport(channel, text, "", channels[channel].WorkbookIndex);
        ASSERT_TRUE(text.empty()) << "channel " << channel;
    }

    // The data sheets of the channel's workbook.
    std::vector<std::string> dataSheetsOf(int channel) {
        std::vector<std::string> names;
        const auto& model = builtin().workbookModel(channels[channel].WorkbookIndex);
        for (std::size_t i = 0; i < model.sheetCount(); ++i) {
            if (model.sheet(i).name().starts_with("Data ") &&
                !model.sheet(i).name().ends_with(" Plot")) {
                names.push_back(model.sheet(i).name());
            }
        }
        return names;
    }

    fs::path fileOf(int channel) { return builtin().workbookFile(channels[channel].WorkbookIndex); }

    WallClock::time_point now = batchStart();
};

TEST_F(CloseChannelWorkbookTest, NewWorkbooksAreNamedAfterChannelAndStartTime) {
    exportTo(0);
    EXPECT_EQ(fileOf(0).filename(), "Press A 2026-12-07 14-03.xlsx");
    EXPECT_EQ(builtin().workbookModel(1).name(), "Press A 2026-12-07 14-03");
    EXPECT_TRUE(fs::exists(fileOf(0)));

    // Characters no file name may hold, and an empty description.
    channels[1].Description = "Line 2: top/bottom?";
    channels[2].Description = "  ";
    exportTo(1);
    exportTo(2);
    EXPECT_EQ(fileOf(1).filename(), "Line 2_ top_bottom_ 2026-12-07 14-03.xlsx");
    EXPECT_EQ(fileOf(2).filename(), "Channel 3 2026-12-07 14-03.xlsx");
}

TEST_F(CloseChannelWorkbookTest, AnEarlierRunsFileIsNeverOverwritten) {
    fs::create_directories(dir.path() / "Workbooks");
    const auto earlier = dir.path() / "Workbooks" / "Press A 2026-12-07 14-03.xlsx";
    std::ofstream(earlier) << "an earlier run";
    exportTo(0);
    EXPECT_EQ(fileOf(0).filename(), "Press A 2026-12-07 14-03 (2).xlsx");
    std::ifstream in(earlier);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "an earlier run");
}

TEST_F(CloseChannelWorkbookTest, ClosingEndsTheBatchAndKeepsOtherChannelsPositions) {
    exportTo(0);
    exportTo(1);
    exportTo(2);
    ASSERT_EQ(channels[1].WorkbookIndex, 2);
    const auto closedFile = fileOf(1);
    exportTo(1); // "Data 2" in channel 1's workbook, written
    const auto writtenSize = fs::file_size(closedFile);

    ASSERT_TRUE(CloseChannelWorkbook(ctx, channels, 1));
    EXPECT_EQ(channels[0].WorkbookIndex, 1);
    EXPECT_EQ(channels[1].WorkbookIndex, 0);
    EXPECT_EQ(channels[2].WorkbookIndex, 2);
    EXPECT_EQ(ctx.application().Workbooks()->Count(), 2);
    EXPECT_EQ(fs::file_size(closedFile), writtenSize);
    EXPECT_FALSE(CloseChannelWorkbook(ctx, channels, 1)); // nothing left to close

    // Channel 2 goes on in its own workbook; channel 1 starts a new batch in a new file.
    now += std::chrono::minutes(5);
    exportTo(2);
    EXPECT_EQ(dataSheetsOf(2), (std::vector<std::string>{"Data 1", "Data 2"}));
    EXPECT_EQ(fileOf(2).filename(), "Press C 2026-12-07 14-03.xlsx");
    exportTo(1);
    EXPECT_EQ(channels[1].WorkbookIndex, 3);
    EXPECT_EQ(dataSheetsOf(1), std::vector<std::string>{"Data 1"});
    EXPECT_EQ(fileOf(1).filename(), "Press B 2026-12-07 14-08.xlsx");
    EXPECT_TRUE(fs::exists(closedFile));
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(CloseChannelWorkbookTest, AWorkbookThatCannotBeWrittenStaysOpen) {
    exportTo(0);
    exportTo(1);
    // The folder is replaced by a file: nothing can be written there.
    fs::remove_all(dir.path() / "Workbooks");
    std::ofstream(dir.path() / "Workbooks") << "not a folder";
    exportTo(0); // changed again, and its write failed (told once)
    prompts.shown.clear();

    try {
        CloseChannelWorkbook(ctx, channels, 0);
        ADD_FAILURE() << "closed although it could not be written";
    } catch (const xl::HostError& error) {
        EXPECT_NE(error.description().find("could not be written"), std::string::npos);
        EXPECT_NE(error.description().find("stays open"), std::string::npos);
    }
    EXPECT_EQ(channels[0].WorkbookIndex, 1);
    EXPECT_EQ(channels[1].WorkbookIndex, 2);
    EXPECT_EQ(ctx.application().Workbooks()->Count(), 2);
    EXPECT_EQ(dataSheetsOf(0), (std::vector<std::string>{"Data 1", "Data 2"}));

    // Once the folder is back, closing writes the workbook and lets it go.
    fs::remove(dir.path() / "Workbooks");
    EXPECT_TRUE(CloseChannelWorkbook(ctx, channels, 0));
    EXPECT_EQ(channels[1].WorkbookIndex, 1);
    EXPECT_TRUE(fs::exists(dir.path() / "Workbooks" / "Press A 2026-12-07 14-03.xlsx"));
}

TEST(CloseChannelWorkbookTestFileName, LongDescriptionsAreCutBeforeACharacter) {
    const std::string description = std::string(119, 'x') + "\xC3\xA9" + "tail. ";
    const auto name = channelWorkbookFileName(description, 0, batchStart());
    EXPECT_EQ(name, std::string(119, 'x') + " 2026-12-07 14-03");
    // Text from an older settings file in Windows-1252 becomes UTF-8.
    EXPECT_EQ(channelWorkbookFileName("Pr\xE9sse", 0, batchStart()),
              "Pr\xC3\xA9sse 2026-12-07 14-03");
}

TEST(CloseChannelWorkbookTestWriteNotices, AFileHeldOpenIsToldOnceUntilAWriteSucceeds) {
    BookFile file;
    file.path = "Press A 2026-12-07 14-03.xlsx";
    const WriteFailure heldOpen{file.path, FileHeldOpenReason};
    const WriteFailure fullDisk{file.path, "no space left on the disk"};

    EXPECT_TRUE(worthTelling(file, heldOpen));
    EXPECT_FALSE(worthTelling(file, heldOpen));
    EXPECT_FALSE(worthTelling(file, heldOpen));
    // Other failures are told every time, and do not reset the rule.
    EXPECT_TRUE(worthTelling(file, fullDisk));
    EXPECT_FALSE(worthTelling(file, heldOpen));
    // A successful write: the next time it is held open is told again.
    file.written = true;
    EXPECT_FALSE(worthTelling(file, std::nullopt));
    EXPECT_TRUE(worthTelling(file, heldOpen));

    const auto message = writeFailureMessage({heldOpen}, false, {});
    EXPECT_EQ(message, "The workbook file Press A 2026-12-07 14-03.xlsx is open in another "
                       "program and cannot be written until it is closed there. The workbook "
                       "stays open and is written again after the next report.");
}

} // namespace
} // namespace kelvor::test
