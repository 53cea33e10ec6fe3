// Where the settings file lives: beside the program, or in the documents when that folder
// cannot be written.
#include "TestFiles.h"

#include "platform/ProgramFolders.h"

#include <gtest/gtest.h>

#include <fstream>

namespace kelvor {
namespace {

namespace fs = std::filesystem;

TEST(ProgramFoldersTest, BesideTheProgramWhenItsFolderIsWritable) {
    const test::TempDir dir;
    const auto program = dir.path() / "bin";
    fs::create_directories(program);
    EXPECT_TRUE(canWriteIn(program));
    EXPECT_EQ(settingsFolder(program, dir.path() / "Documents", "KelvrReader.ini"), program);
    EXPECT_EQ(test::fileNamesIn(program), std::vector<std::string>{}); // the check left nothing
    EXPECT_FALSE(fs::exists(dir.path() / "Documents"));
}

TEST(ProgramFoldersTest, InTheDocumentsWhenTheProgramsFolderCannotBeWritten) {
    const test::TempDir dir;
    // A file stands where the program's folder would have its files: nothing can be made there.
    std::ofstream(dir.path() / "Program Files") << "not a folder";
    const auto program = dir.path() / "Program Files" / "KelvorReader2";
    EXPECT_FALSE(canWriteIn(program));
    const auto documents = dir.path() / "Documents";
    EXPECT_EQ(settingsFolder(program, documents, "KelvrReader.ini"), documents / "KelvorReader2");
    EXPECT_TRUE(fs::is_directory(documents / "KelvorReader2"));
    // No documents folder to go to either: the program's folder, and the reader says what it
    // cannot write.
    EXPECT_EQ(settingsFolder(program, {}, "KelvrReader.ini"), program);
}

} // namespace
} // namespace kelvor
