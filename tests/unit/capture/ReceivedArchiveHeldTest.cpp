// Reports whose archive files the folder does not take for a while: held in memory and
// written, byte for byte, once it does.
#include "DiskLimits.h"
#include "LocalMoment.h"
#include "TestFiles.h"
#include "capture/ReceivedArchive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

namespace kelvor {
namespace {

namespace fs = std::filesystem;
using test::fileBytes;
using test::localMoment;

std::string reportText(std::size_t size, char seed) {
    std::string text;
    for (std::size_t i = 0; i < size; ++i) {
        text.push_back(static_cast<char>(seed + static_cast<char>(i % 251)));
    }
    return text;
}

class ReceivedArchiveHeldTest : public ::testing::Test {
protected:
    ReceivedArchive& make(std::size_t holdLimit = DefaultArchiveHoldLimit,
                          fs::path spillFolder = {}) {
        archive = std::make_unique<ReceivedArchive>(
            received, [this] { return now; },
            [this](const std::string& message) { told.push_back(message); },
            ArchiveOptions{.holdLimit = holdLimit,
                           .folderIsOurs = [this] { return folderIsOurs; },
                           .spillFolder = std::move(spillFolder),
                           .log = [this](const std::string& line) { logged.push_back(line); }});
        return *archive;
    }

    bool loggedContaining(const std::string& text) const {
        return std::ranges::any_of(
            logged, [&](const auto& line) { return line.find(text) != std::string::npos; });
    }

    test::TempDir dir;
    fs::path received = dir.path() / "Received";
    fs::path channel1 = received / "Channel 1";
    WallClock::time_point now = localMoment(2026, 12, 7, 14, 3, 22);
    bool folderIsOurs = true;
    std::vector<std::string> told;
    std::vector<std::string> logged;
    std::unique_ptr<ReceivedArchive> archive;
};

TEST_F(ReceivedArchiveHeldTest, AWriteCutShortByTheDiskGoesOnFromTheLastKeptByteOnceThereIsRoom) {
    if (!test::FileSizeLimit::available()) {
        GTEST_SKIP() << "no file-size limit on this system";
    }
    auto& a = make();
    const std::string text = reportText(300, 'A');
    const fs::path file = channel1 / "2026-12-07 14-03-22.txt";
    {
        // The second append fits only in part: the disk takes 40 of its 80 bytes, then fails.
        test::FileSizeLimit limit(100);
        a.begin(0);
        a.append(0, text.substr(0, 60));
        a.append(0, text.substr(60, 80));
        EXPECT_EQ(a.heldBytes(), 80U);
        EXPECT_EQ(fileBytes(file), text.substr(0, 60));
        now += std::chrono::seconds(3);
        a.append(0, text.substr(140, 60));
        EXPECT_EQ(a.finish(0, false), ""); // not in its file yet
        EXPECT_EQ(a.heldReports(), 1U);
        ASSERT_EQ(told.size(), 1U);
        EXPECT_NE(told[0].find("could not be kept in the archive file"), std::string::npos);
        EXPECT_NE(told[0].find("Reports are still put into the workbooks."), std::string::npos);
        a.retryHeld();
        EXPECT_EQ(told.size(), 1U) << "told once while the trouble lasts";
    }
    // As if cutting off the failed write had failed too: bytes beyond the kept ones.
    std::ofstream(file, std::ios::app | std::ios::binary) << "torn";

    a.retryHeld();
    EXPECT_EQ(a.heldBytes(), 0U);
    EXPECT_EQ(fileBytes(file), text.substr(0, 200)); // same name, every byte once
    EXPECT_TRUE(loggedContaining("Archive: 1 held report written: " + file.string()));

    // The next report is news again and goes straight to its file.
    a.begin(0);
    a.append(0, text.substr(200));
    EXPECT_EQ(a.finish(0, true), (channel1 / "2026-12-07 14-03-25 (cut short).txt").string());
}

TEST_F(ReceivedArchiveHeldTest, AFolderThatIsNotOursGetsNothingUntilItReturns) {
    auto& a = make();
    folderIsOurs = false;
    const std::string first = reportText(500, 'a');
    a.begin(0);
    a.append(0, first);
    now += std::chrono::seconds(1);
    EXPECT_EQ(a.finish(0, false), "");
    a.begin(0);
    a.append(0, "second, cut short");
    a.finish(0, true);
    a.begin(1);
    a.append(1, "third, another channel");
    a.finish(1, false);
    a.retryHeld();
    EXPECT_FALSE(fs::exists(received)) << "not even a folder is made in the wrong place";
    EXPECT_TRUE(told.empty()) << "the folder's own check tells";
    EXPECT_EQ(a.heldReports(), 3U);

    folderIsOurs = true;
    a.retryHeld();
    EXPECT_EQ(a.heldReports(), 0U);
    // Each under the name of its first byte, in the order received.
    EXPECT_EQ(fileBytes(channel1 / "2026-12-07 14-03-22.txt"), first);
    EXPECT_EQ(fileBytes(channel1 / "2026-12-07 14-03-23 (cut short).txt"), "second, cut short");
    EXPECT_EQ(fileBytes(received / "Channel 2" / "2026-12-07 14-03-23.txt"),
              "third, another channel");
    EXPECT_TRUE(loggedContaining("Archive: 3 held reports written"));
}

TEST_F(ReceivedArchiveHeldTest, ReportsHeldInOneSecondKeepNamesOfTheirOwn) {
    auto& a = make();
    folderIsOurs = false;
    for (const char* text : {"one", "two"}) {
        a.begin(0);
        a.append(0, text);
        a.finish(0, false);
    }
    // A file that came with the returning folder under a held report's name is not touched.
    fs::create_directories(channel1);
    test::writeBytes(channel1 / "2026-12-07 14-03-22.txt", "somebody else's");
    folderIsOurs = true;
    a.begin(0); // a later call writes what was held
    EXPECT_EQ(a.heldReports(), 0U);
    EXPECT_EQ(fileBytes(channel1 / "2026-12-07 14-03-22.txt"), "somebody else's");
    EXPECT_EQ(fileBytes(channel1 / "2026-12-07 14-03-22 (2).txt"), "two");
    EXPECT_EQ(fileBytes(channel1 / "2026-12-07 14-03-22 (3).txt"), "one");
}

TEST_F(ReceivedArchiveHeldTest, BeyondTheLimitAReportGoesToTheSpillFolderWhole) {
    const fs::path spill = dir.path() / "rescued" / "Received";
    auto& a = make(1000, spill);
    folderIsOurs = false;
    const std::string big = reportText(700, 'k');
    a.begin(0);
    a.append(0, big);
    a.finish(0, false);
    now += std::chrono::seconds(1);
    a.begin(0);
    a.append(0, big.substr(0, 200));
    a.append(0, big.substr(200)); // 1,400 bytes would be held
    a.append(0, "tail");
    a.finish(0, false);
    EXPECT_EQ(a.heldBytes(), 700U);
    EXPECT_EQ(fileBytes(spill / "Channel 1" / "2026-12-07 14-03-23.txt"), big + "tail");
    ASSERT_EQ(told.size(), 1U);
    EXPECT_NE(told[0].find("is written to " + (spill / "Channel 1").string()), std::string::npos)
        << told[0];
    EXPECT_TRUE(loggedContaining("more than 1000 bytes wait for"));

    // At the end the held report goes there as well rather than be lost.
    a.close();
    EXPECT_EQ(fileBytes(spill / "Channel 1" / "2026-12-07 14-03-22.txt"), big);
    EXPECT_TRUE(loggedContaining("instead, as the reader ends"));
}

TEST_F(ReceivedArchiveHeldTest, WithoutASpillFolderWhatIsNotKeptIsToldAndLogged) {
    auto& a = make(100);
    folderIsOurs = false;
    a.begin(0);
    a.append(0, reportText(150, 'x'));
    a.append(0, "more");
    EXPECT_EQ(a.finish(0, false), "");
    EXPECT_EQ(a.heldBytes(), 0U);
    ASSERT_EQ(told.size(), 1U);
    EXPECT_NE(told[0].find("is not kept in the archive (it is still put into its workbook)"),
              std::string::npos)
        << told[0];
    a.begin(1);
    a.append(1, "small");
    a.finish(1, false);
    a.close();
    EXPECT_TRUE(loggedContaining("is not kept in the archive"));
    EXPECT_TRUE(loggedContaining("is lost as the reader ends (5 bytes not written)"));
}

} // namespace
} // namespace kelvor
