// The built-in application with a workbook folder that is not the right one for a while: it
// writes nothing there, tells nothing itself, and writes everything once the folder is back.
#include "TestFiles.h"
#include "XlsxPackage.h"

#include "host/app/automation/BuiltinApplication.h"

#include <gtest/gtest.h>

namespace kelvor {
namespace {

namespace fs = std::filesystem;

bool packageHolds(const fs::path& file, const std::string& text) {
    for (const auto& [name, entry] : test::readPackage(file)) {
        if (name.starts_with("xl/") && entry.content.find(text) != std::string::npos) {
            return true;
        }
    }
    return false;
}

class BuiltinApplicationFolderTest : public testing::Test {
protected:
    std::unique_ptr<BuiltinApplication> start() {
        return std::make_unique<BuiltinApplication>(
            folder, [this](const std::string& message) { messages.push_back(message); },
            BuiltinOptions{.rescueFolder = rescue, .folderIsOurs = [this] { return ours; }});
    }

    void exportReport(BuiltinApplication& app, const std::string& text) {
        app.setScreenUpdating(false);
        app.ActiveSheet()->Range("A1")->setValue(text);
        app.setScreenUpdating(true);
    }

    test::TempDir dir;
    fs::path folder = dir.path() / "Workbooks";
    fs::path rescue = dir.path() / "rescued";
    bool ours = true;
    std::vector<std::string> messages;
};

TEST_F(BuiltinApplicationFolderTest, NothingIsWrittenIntoAFolderThatIsAwayAndAllOnceItIsBack) {
    ours = false;
    auto app = start();
    EXPECT_FALSE(fs::exists(folder)) << "not even made";
    app->Workbooks()->Add();
    exportReport(*app, "first report");
    exportReport(*app, "second report");
    EXPECT_FALSE(fs::exists(folder));
    EXPECT_TRUE(messages.empty()) << messages.front();
    app->writeHeld();
    EXPECT_FALSE(fs::exists(folder));

    ours = true;
    app->writeHeld();
    ASSERT_TRUE(fs::exists(folder / "Book1.xlsx"));
    EXPECT_TRUE(packageHolds(folder / "Book1.xlsx", "second report"));
    EXPECT_TRUE(messages.empty());
}

TEST_F(BuiltinApplicationFolderTest, AWriteHeldDuringAnExportWaitsForItsEnd) {
    auto app = start();
    app->Workbooks()->Add();
    app->setScreenUpdating(false);
    app->ActiveSheet()->Range("A1")->setValue(std::string("half an export"));
    app->writeHeld();
    EXPECT_FALSE(fs::exists(folder / "Book1.xlsx"));
    app->setScreenUpdating(true);
    EXPECT_TRUE(fs::exists(folder / "Book1.xlsx"));
}

TEST_F(BuiltinApplicationFolderTest, AtTheEndWorkbooksGoToTheRescueFolderNotTheWrongOne) {
    auto app = start();
    app->Workbooks()->Add();
    exportReport(*app, "kept report");
    ours = false;
    exportReport(*app, "report after the share dropped");
    app->close();
    EXPECT_FALSE(packageHolds(folder / "Book1.xlsx", "report after the share dropped"));
    ASSERT_TRUE(fs::exists(rescue / "Book1.xlsx"));
    EXPECT_TRUE(packageHolds(rescue / "Book1.xlsx", "report after the share dropped"));
    ASSERT_EQ(messages.size(), 1U);
    EXPECT_NE(messages[0].find("the workbook folder is not the one the reader wrote to before"),
              std::string::npos)
        << messages[0];
    EXPECT_NE(messages[0].find("It was saved as " + (rescue / "Book1.xlsx").string()),
              std::string::npos)
        << messages[0];
}

} // namespace
} // namespace kelvor
