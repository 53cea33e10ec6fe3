// The workbook folder recognised by its marker: a first start marks it, a later start knows it,
// a folder swapped for another (an empty mount point) is refused until the right one returns.
#include "platform/FolderIdentity.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

namespace kelvor {
namespace {

namespace fs = std::filesystem;

class FolderIdentityTest : public ::testing::Test {
protected:
    std::unique_ptr<FolderIdentity> start(const fs::path& workbooks) {
        return std::make_unique<FolderIdentity>(
            workbooks, workbooks / "Received", state,
            FolderIdentity::Hooks{
                .tell = [this](const std::string& message) { told.push_back(message); },
                .log = [this](const std::string& line) { logged.push_back(line); },
                .newIdentity = [this] { return "identity-" + std::to_string(++made); }});
    }

    test::TempDir dir;
    fs::path folder = dir.path() / "Workbooks";
    fs::path marker = folder / "Received" / FolderMarkerName;
    fs::path state = dir.path() / "KelvorReader.folder";
    std::vector<std::string> told;
    std::vector<std::string> logged;
    int made = 0;
};

TEST_F(FolderIdentityTest, AFirstStartMarksTheFolderAndALaterStartKnowsIt) {
    {
        auto first = start(folder);
        EXPECT_TRUE(first->isOurs());
        EXPECT_EQ(first->identity(), "identity-1");
        const std::string text = test::fileBytes(marker);
        EXPECT_NE(text.find("Identity: identity-1"), std::string::npos);
        EXPECT_NE(text.find("Do not delete"), std::string::npos);
        EXPECT_NE(test::fileBytes(state).find("Identity: identity-1"), std::string::npos);
    }
    auto again = start(folder);
    EXPECT_TRUE(again->isOurs());
    EXPECT_EQ(again->identity(), "identity-1");
    EXPECT_EQ(made, 1);
    EXPECT_TRUE(told.empty());
}

TEST_F(FolderIdentityTest, ASwappedFolderIsRefusedAndToldOnceUntilTheRightOneReturns) {
    auto identity = start(folder);
    // The share drops: an empty folder stands at its path.
    const fs::path away = dir.path() / "share away";
    fs::rename(folder, away);
    fs::create_directories(folder);
    EXPECT_FALSE(identity->isOurs());
    EXPECT_FALSE(identity->isOurs());
    ASSERT_EQ(told.size(), 1U);
    EXPECT_EQ(told[0], identity->notOursMessage());
    EXPECT_NE(told[0].find(folder.string() + " is not the one the reader wrote to before"),
              std::string::npos);
    EXPECT_TRUE(fs::is_empty(folder)) << "asking writes nothing there";

    // Another reader's folder, marked by that reader, is not this one's either.
    fs::create_directories(folder / "Received");
    test::writeBytes(marker, "KelvorReader2 workbook folder\r\nIdentity: someone-else\r\n");
    EXPECT_FALSE(identity->isOurs());
    fs::remove_all(folder);
    EXPECT_FALSE(identity->isOurs()); // no folder at all

    fs::rename(away, folder);
    EXPECT_TRUE(identity->isOurs());
    EXPECT_EQ(told.size(), 1U);
    EXPECT_NE(logged.back().find("is back"), std::string::npos) << logged.back();

    // A second absence is news again.
    fs::rename(folder, away);
    EXPECT_FALSE(identity->isOurs());
    EXPECT_EQ(told.size(), 2U);
}

TEST_F(FolderIdentityTest, AStartAtAFolderThatIsAwayRefusesItFromTheStart) {
    start(folder);
    fs::rename(folder, dir.path() / "away");
    auto later = start(folder);
    EXPECT_FALSE(later->isOurs());
    EXPECT_EQ(told.size(), 1U);
    EXPECT_FALSE(fs::exists(folder)) << "no marker made for a folder that is away";
}

TEST_F(FolderIdentityTest, AnotherFolderInTheSettingsIsMarkedAnewAndAMarkedOneTakenOver) {
    start(folder);
    const fs::path other = dir.path() / "Other workbooks";
    auto moved = start(other);
    EXPECT_TRUE(moved->isOurs());
    EXPECT_EQ(moved->identity(), "identity-2");
    EXPECT_TRUE(fs::exists(other / "Received" / FolderMarkerName));

    // Back to the first folder: its marker is known again rather than replaced.
    auto back = start(folder);
    EXPECT_TRUE(back->isOurs());
    EXPECT_EQ(back->identity(), "identity-1");
    EXPECT_EQ(made, 2);
    EXPECT_TRUE(told.empty());
}

TEST_F(FolderIdentityTest, AMarkerThatCannotBeWrittenYetIsTriedAgainAndTheFolderTrusted) {
    fs::create_directories(folder);
    test::writeBytes(folder / "Received", "a file where the archive folder should be");
    auto identity = start(folder);
    EXPECT_TRUE(identity->isOurs());
    EXPECT_FALSE(fs::exists(marker));
    fs::remove(folder / "Received");
    EXPECT_TRUE(identity->isOurs());
    EXPECT_TRUE(fs::exists(marker));
    // From now on the marker decides.
    fs::remove(marker);
    EXPECT_FALSE(identity->isOurs());
}

} // namespace
} // namespace kelvor
