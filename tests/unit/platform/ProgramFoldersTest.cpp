// Where the settings file lives: beside the program, or in the documents when the program is
// installed or its folder cannot be written.
#include "TestFiles.h"

#include "platform/ProgramFolders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

namespace kelvor {
namespace {

namespace fs = std::filesystem;

TEST(ProgramFoldersTest, BesideTheProgramWhenItsFolderIsWritable) {
    const test::TempDir dir;
    const auto program = dir.path() / "bin";
    fs::create_directories(program);
    EXPECT_TRUE(canWriteIn(program));
    // A program beside, not below, an installation folder is not installed.
    const std::vector<fs::path> installed{dir.path() / "bi", dir.path() / "bin2"};
    EXPECT_EQ(settingsFolder(program, dir.path() / "Documents", "KelvrReader.ini", installed),
              program);
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
    EXPECT_EQ(settingsFolder(program, documents, "KelvrReader.ini", {}),
              documents / "KelvorReader2");
    EXPECT_TRUE(fs::is_directory(documents / "KelvorReader2"));
    // No documents folder to go to either: the program's folder, and the reader says what it
    // cannot write.
    EXPECT_EQ(settingsFolder(program, {}, "KelvrReader.ini", {}), program);
}

// Wine, an elevated run or a lax administrator leave Program Files writable; an installed
// program still keeps every run's files in one place, the documents.
TEST(ProgramFoldersTest, InTheDocumentsWhenInstalledEvenIfWritable) {
    const test::TempDir dir;
    const auto programFiles = dir.path() / "Program Files";
    const auto program = programFiles / "KelvorReader2";
    fs::create_directories(program);
    ASSERT_TRUE(canWriteIn(program));
    test::writeBytes(program / "KelvrReader.ini", "[KelvorReaderCH0]\r\nEnabled=1\r\n");
    const auto documents = dir.path() / "Documents";
    const auto expected = documents / "KelvorReader2";

    EXPECT_EQ(settingsFolder(program, documents, "KelvrReader.ini", {programFiles}), expected);
    // The settings the installation brought come along the first time ...
    EXPECT_EQ(test::fileBytes(expected / "KelvrReader.ini"), "[KelvorReaderCH0]\r\nEnabled=1\r\n");
    // ... and never again over what the user has set since.
    test::writeBytes(expected / "KelvrReader.ini", "[KelvorReaderCH0]\r\nEnabled=0\r\n");
    EXPECT_EQ(settingsFolder(program, documents, "KelvrReader.ini", {programFiles}), expected);
    EXPECT_EQ(test::fileBytes(expected / "KelvrReader.ini"), "[KelvorReaderCH0]\r\nEnabled=0\r\n");
    EXPECT_EQ(test::fileNamesIn(program), std::vector<std::string>{"KelvrReader.ini"});
}

TEST(ProgramFoldersTest, WithinComparesWholeNamesRegardlessOfCase) {
    const fs::path programFiles = "/C/Program Files";
    EXPECT_TRUE(isWithin("/C/Program Files/KelvorReader2", programFiles));
    EXPECT_TRUE(isWithin("/C/PROGRAM FILES/kelvorreader2", programFiles));
    EXPECT_TRUE(isWithin("/C/Program Files", programFiles));
    EXPECT_TRUE(isWithin("/C/Program Files/KelvorReader2", "/C/Program Files/"));
    EXPECT_TRUE(isWithin("/C/Program Files/./KelvorReader2/", programFiles));
    // Names that only begin alike are other folders.
    EXPECT_FALSE(isWithin("/C/Program Files (x86)/KelvorReader2", programFiles));
    EXPECT_FALSE(isWithin("/C/Program/KelvorReader2", programFiles));
    EXPECT_FALSE(isWithin("/C/Programs/Program Files/KelvorReader2", programFiles));
    EXPECT_FALSE(isWithin("/C/Program Files/../Tools/KelvorReader2", programFiles));
    // An unknown folder (an unset variable) holds nothing.
    EXPECT_FALSE(isWithin("/C/Program Files/KelvorReader2", ""));
    // Letters beyond ASCII are compared as they are.
    EXPECT_TRUE(isWithin(u8"/D/Prüfstand/KelvorReader2", u8"/D/Prüfstand"));
    EXPECT_FALSE(isWithin(u8"/D/PRÜFSTAND/KelvorReader2", u8"/D/Prüfstand"));
}

#ifdef _WIN32
TEST(ProgramFoldersTest, WindowsNamesItsProgramFilesFolders) {
    const auto folders = installationFolders();
    ASSERT_FALSE(folders.empty());
    for (const auto& folder : folders) {
        EXPECT_TRUE(folder.is_absolute()) << folder.string();
        EXPECT_TRUE(fs::is_directory(folder)) << folder.string();
    }
    // Separators and case as Windows writes them, the program's folder as Qt gives it.
    const auto front = folders.front().wstring();
    std::wstring qtStyle = front;
    std::replace(qtStyle.begin(), qtStyle.end(), L'\\', L'/');
    EXPECT_TRUE(isWithin(qtStyle + L"/KelvorReader2", folders.front()));
}
#endif

} // namespace
} // namespace kelvor
