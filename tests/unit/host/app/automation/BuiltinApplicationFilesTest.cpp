#include "DiskLimits.h"
#include "XlsxPackage.h"

#include "host/app/automation/BuiltinApplication.h"
#include "host/app/automation/BuiltinApplicationFactory.h"
#include "platform/DurableFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include <unistd.h>

namespace kelvor {
namespace {

namespace fs = std::filesystem;

std::string sheetXml(const fs::path& file) {
    auto entries = test::readPackage(file);
    for (const auto& [name, entry] : entries) {
        if (name.starts_with("xl/worksheets/")) {
            return entry.content;
        }
    }
    ADD_FAILURE() << "no worksheet in " << file;
    return {};
}

class BuiltinApplicationFilesTest : public testing::Test {
protected:
    std::unique_ptr<BuiltinApplication> start() {
        return std::make_unique<BuiltinApplication>(
            folder, [this](const std::string& message) { messages.push_back(message); });
    }

    test::TempDir dir;
    fs::path folder = dir.path() / "Workbooks";
    std::vector<std::string> messages;
};

TEST_F(BuiltinApplicationFilesTest, WorkbooksAreWrittenWhenScreenUpdatingReturnsAndOnRelease) {
    auto app = start();
    EXPECT_TRUE(fs::is_directory(folder)); // made when missing
    app->Workbooks()->Add();
    app->setScreenUpdating(false);
    app->ActiveSheet()->Range("A1")->setValue(std::string("first report"));
    EXPECT_FALSE(fs::exists(folder / "Book1.xlsx"));
    app->setScreenUpdating(true);
    ASSERT_TRUE(fs::exists(folder / "Book1.xlsx"));
    EXPECT_NE(sheetXml(folder / "Book1.xlsx").find("first report"), std::string::npos);

    // Unchanged workbooks are not rewritten.
    fs::remove(folder / "Book1.xlsx");
    app->setScreenUpdating(true);
    EXPECT_FALSE(fs::exists(folder / "Book1.xlsx"));

    // Formula results are calculated before a write, as when the file is saved.
    app->setCalculation(xl::xlCalculationManual);
    app->ActiveSheet()->Range("B1")->setFormulaR1C1("=1+1");
    app->Workbooks()->Add();
    app->ActiveSheet()->Range("A1")->setValue(2.0);
    app.reset(); // released: both are written
    EXPECT_NE(sheetXml(folder / "Book1.xlsx").find("<f>1+1</f><v>2</v>"), std::string::npos);
    EXPECT_TRUE(fs::exists(folder / "Book2.xlsx"));
    EXPECT_TRUE(messages.empty());
}

TEST_F(BuiltinApplicationFilesTest, ExistingFilesAreNeverOverwritten) {
    fs::create_directories(folder);
    std::ofstream(folder / "Book1.xlsx") << "the user's own file";
    {
        auto app = start();
        app->Workbooks()->Add();
        EXPECT_EQ(app->workbookFile(1), folder / "Book1 (2).xlsx");
    }
    // A second run, or a restarted application in the same run, counts from Book1 again.
    BuiltinApplicationFactory factory(folder);
    const auto first = factory.create();
    first->Workbooks()->Add();
    first->setScreenUpdating(true);
    const auto second = factory.create();
    second->Workbooks()->Add();
    first->Workbooks()->Add();
    EXPECT_EQ(factory.created()[0]->workbookFile(1), folder / "Book1 (3).xlsx");
    EXPECT_EQ(factory.created()[1]->workbookFile(1), folder / "Book1 (4).xlsx");
    EXPECT_EQ(factory.created()[0]->workbookFile(2), folder / "Book2.xlsx");

    std::ifstream in(folder / "Book1.xlsx");
    std::string content;
    std::getline(in, content);
    EXPECT_EQ(content, "the user's own file");

    // A file that appears before the workbook's first write moves it to a free name.
    const auto third = factory.create();
    third->Workbooks()->Add();
    const auto claimed = factory.created()[2]->workbookFile(1);
    std::ofstream(claimed) << "appeared meanwhile";
    third->setScreenUpdating(true);
    EXPECT_NE(factory.created()[2]->workbookFile(1), claimed);
    EXPECT_TRUE(fs::exists(factory.created()[2]->workbookFile(1)));
}

TEST_F(BuiltinApplicationFilesTest, AFailingFolderIsToldOnceAndTheWorkbookIsWrittenLater) {
    // A file where the folder should be: the folder cannot be made.
    fs::create_directories(dir.path());
    std::ofstream(folder) << "not a folder";
    auto app = start();
    app->Workbooks()->Add();
    app->ActiveSheet()->Range("A1")->setValue(std::string("kept in memory"));
    app->Workbooks()->Add();
    EXPECT_NO_THROW(app->setScreenUpdating(true));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("The workbook files " + (folder / "Book1.xlsx").string() + ", "),
              std::string::npos)
        << messages[0];
    EXPECT_NE(messages[0].find("could not be written: not a folder"), std::string::npos)
        << messages[0];
    EXPECT_NE(messages[0].find("The workbooks stay open and are written again after the next "
                               "report."),
              std::string::npos);

    app->setScreenUpdating(true);
    EXPECT_EQ(messages.size(), 2u); // told again on the next occasion, once

    fs::remove(folder);
    app->setScreenUpdating(true);
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_NE(sheetXml(folder / "Book1.xlsx").find("kept in memory"), std::string::npos);
    EXPECT_TRUE(fs::exists(folder / "Book2.xlsx"));
}

TEST_F(BuiltinApplicationFilesTest,
       AFullDiskKeepsTheEarlierFileAndTheWorkbookIsWrittenAtTheNextChance) {
    auto app = start();
    app->Workbooks()->Add();
    app->ActiveSheet()->Range("A1")->setValue(std::string("first report"));
    app->setScreenUpdating(true);
    const auto book = folder / "Book1.xlsx";
    const auto earlier = test::fileBytes(book);

    app->ActiveSheet()->Range("A2")->setValue(std::string("second report"));
    {
        // A file-size limit fails writes the way a full disk does, without root.
        test::FileSizeLimit limit(512);
        app->setScreenUpdating(true);
    }
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "The workbook file " + book.string() +
                               " could not be written: file too large for the disk or for the "
                               "file-size limit of this program. The workbook stays open and is "
                               "written again after the next report.");
    EXPECT_EQ(test::fileBytes(book), earlier);
    EXPECT_EQ(test::fileNamesIn(folder), std::vector<std::string>{"Book1.xlsx"});

    // Room again: the next occasion writes everything, without a word.
    app->ActiveSheet()->Range("A3")->setValue(std::string("third report"));
    app->setScreenUpdating(true);
    EXPECT_EQ(messages.size(), 1u);
    const auto xml = sheetXml(book);
    for (const char* text : {"first report", "second report", "third report"}) {
        EXPECT_NE(xml.find(text), std::string::npos) << text;
    }
}

TEST_F(BuiltinApplicationFilesTest, WorkbooksFailingForDifferentReasonsAreToldEach) {
    auto app = start();
    app->Workbooks()->Add();
    app->Workbooks()->Add();
    app->setScreenUpdating(true);
    // The first workbook's file is replaced by a folder; the second cannot grow.
    fs::remove(folder / "Book1.xlsx");
    fs::create_directory(folder / "Book1.xlsx");
    app->Workbooks()->Item(1)->Activate();
    app->ActiveSheet()->Range("A1")->setValue(std::string("first"));
    app->Workbooks()->Item(2)->Activate();
    app->ActiveSheet()->Range("A1")->setValue(std::string("second"));
    {
        test::FileSizeLimit limit(512);
        app->setScreenUpdating(true);
    }
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].find(
                  "The workbook files could not be written: " + (folder / "Book1.xlsx").string() +
                  " (a folder stands where the file should be); " +
                  (folder / "Book2.xlsx").string() + " (file too large"),
              0u)
        << messages[0];
}

TEST_F(BuiltinApplicationFilesTest, TemporaryFilesOfAKilledRunAreRemovedAtStart) {
    const fs::path rescue = dir.path() / "rescued";
    fs::create_directories(folder);
    fs::create_directories(rescue);
    // Left by killed writes, and files that are not this program's temporary files.
    std::ofstream(folder / ".Book1.xlsx.999999999.kelvor-tmp") << "cut off";
    std::ofstream(rescue / (".Book2.xlsx." + std::to_string(::getpid()) + ".kelvor-tmp"))
        << "cut off";
    std::ofstream(folder / "Book1.xlsx") << "a workbook";
    std::ofstream(folder / "Book1.xlsx.k3Jq9Z") << "someone else's";

    BuiltinApplicationFactory factory(folder, {}, {.rescueFolder = rescue});
    EXPECT_EQ(test::fileNamesIn(folder),
              (std::vector<std::string>{"Book1.xlsx", "Book1.xlsx.k3Jq9Z"}));
    EXPECT_TRUE(test::fileNamesIn(rescue).empty());
}

TEST_F(BuiltinApplicationFilesTest, AFailureOnReleaseIsToldAndNeverThrows) {
    auto app = start();
    app->Workbooks()->Add();
    fs::remove_all(folder);
    std::ofstream(folder) << "not a folder";
    EXPECT_NO_THROW(app.reset());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].find("The workbook file " + (folder / "Book1.xlsx").string() +
                               " could not be written: "),
              0u)
        << messages[0];
    EXPECT_NE(messages[0].find("lost"), std::string::npos);
}

TEST_F(BuiltinApplicationFilesTest, AFailureOnReleaseSavesTheWorkbooksInTheRescueFolder) {
    const fs::path rescue = dir.path() / "rescued";
    auto app = std::make_unique<BuiltinApplication>(
        folder, [this](const std::string& message) { messages.push_back(message); },
        BuiltinOptions{.rescueFolder = rescue});
    app->Workbooks()->Add();
    app->ActiveSheet()->Range("A1")->setValue(std::string("received report"));
    app->setScreenUpdating(true);
    app->Workbooks()->Add();
    app->ActiveSheet()->Range("A1")->setValue(std::string("second report"));
    app->Workbooks()->Item(1)->Activate();
    app->ActiveSheet()->Range("A2")->setValue(std::string("later report"));
    fs::remove_all(folder);
    std::ofstream(folder) << "not a folder";

    EXPECT_NO_THROW(app.reset());

    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find(" could not be written: "), std::string::npos) << messages[0];
    EXPECT_NE(messages[0].find("They were saved as " + (rescue / "Book1.xlsx").string() + ", " +
                               (rescue / "Book2.xlsx").string() + " instead."),
              std::string::npos)
        << messages[0];
    const auto first = sheetXml(rescue / "Book1.xlsx");
    EXPECT_NE(first.find("received report"), std::string::npos);
    EXPECT_NE(first.find("later report"), std::string::npos);
    EXPECT_NE(sheetXml(rescue / "Book2.xlsx").find("second report"), std::string::npos);
}

TEST_F(BuiltinApplicationFilesTest, ARescueFolderThatFailsTooLeavesTheLostMessage) {
    const fs::path rescue = dir.path() / "rescued";
    std::ofstream(rescue) << "not a folder either";
    auto app = std::make_unique<BuiltinApplication>(
        folder, [this](const std::string& message) { messages.push_back(message); },
        BuiltinOptions{.rescueFolder = rescue});
    app->Workbooks()->Add();
    fs::remove_all(folder);
    std::ofstream(folder) << "not a folder";
    EXPECT_NO_THROW(app.reset());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("Its changes since it was last written are lost."),
              std::string::npos)
        << messages[0];
}

} // namespace
} // namespace kelvor
