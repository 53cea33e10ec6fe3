// Durable files against real failures: a file-size limit, a small tmpfs that fills up, a
// read-only disk or folder, folders and files where the other is expected.
#include "DiskLimits.h"
#include "XlsxPackage.h"

#include "platform/DurableFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include <sys/mount.h>
#include <unistd.h>

namespace kelvor {
namespace {

namespace fs = std::filesystem;

void writeText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// Bytes that differ from position to position, so a misplaced piece shows.
std::string pattern(std::size_t size, char seed = 'a') {
    std::string text(size, ' ');
    for (std::size_t i = 0; i < size; ++i) {
        text[i] = static_cast<char>(seed + static_cast<char>(i % 23));
    }
    return text;
}

testing::AssertionResult failsWith(const std::function<void()>& action, const std::string& words) {
    try {
        action();
    } catch (const FileError& error) {
        if (error.reason().find(words) != std::string::npos) {
            return testing::AssertionSuccess();
        }
        return testing::AssertionFailure() << "reason \"" << error.reason() << "\"";
    }
    return testing::AssertionFailure() << "no FileError";
}

void replace(const fs::path& target, const std::vector<std::string>& pieces) {
    ReplacingFile file(target);
    for (const auto& piece : pieces) {
        file.write(piece);
    }
    file.commit();
}

class DurableFileTest : public testing::Test {
protected:
    test::TempDir dir;
    fs::path target = dir.path() / "Book1.xlsx";
};

TEST_F(DurableFileTest, ReplacesTheWholeFileKeepingItsPermissions) {
    writeText(target, "the earlier workbook");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    // Small pieces gather in the buffer, big ones pass it; their order must survive both.
    std::vector<std::string> pieces;
    std::string expected;
    for (int i = 0; i < 40; ++i) {
        pieces.push_back(pattern(30 + static_cast<std::size_t>(i), 'A'));
        pieces.push_back(pattern(i % 7 == 0 ? 700000 : 9000, static_cast<char>('a' + i % 3)));
    }
    for (const auto& piece : pieces) {
        expected += piece;
    }
    replace(target, pieces);
    EXPECT_EQ(test::fileBytes(target), expected);
    EXPECT_EQ(fs::status(target).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(test::fileNamesIn(dir.path()), std::vector<std::string>{"Book1.xlsx"});
}

TEST_F(DurableFileTest, AnUncommittedFileLeavesTheTargetAndNoTemporaryFile) {
    writeText(target, "the earlier workbook");
    {
        ReplacingFile file(target);
        file.write(pattern(1000));
        EXPECT_TRUE(isTemporaryFileName(file.temporaryPath().filename().string()));
        EXPECT_EQ(file.temporaryPath().parent_path(), dir.path());
        EXPECT_TRUE(fs::exists(file.temporaryPath()));
    }
    EXPECT_EQ(test::fileBytes(target), "the earlier workbook");
    EXPECT_EQ(test::fileNamesIn(dir.path()), std::vector<std::string>{"Book1.xlsx"});
}

TEST_F(DurableFileTest, AFileSizeLimitFailsTheWriteAndKeepsTheEarlierFile) {
    const std::string earlier = pattern(5000, 'e');
    writeText(target, earlier);
    {
        test::FileSizeLimit limit(100000);
        // The second piece crosses the limit: a short write, then "file too large".
        ReplacingFile file(target);
        file.write(pattern(60000));
        file.write(pattern(60000));
        EXPECT_TRUE(failsWith([&] { file.commit(); }, "file too large"));
        EXPECT_TRUE(failsWith([&] { file.write("more"); }, "file too large"));
        EXPECT_EQ(test::fileBytes(target), earlier);
        EXPECT_EQ(test::fileNamesIn(dir.path()), std::vector<std::string>{"Book1.xlsx"});

        // A single write beyond the buffer fails at once.
        ReplacingFile big(target);
        EXPECT_TRUE(failsWith([&] { big.write(pattern(400000)); }, "file too large"));
        EXPECT_EQ(test::fileBytes(target), earlier);

        // An append log keeps whole appends only.
        auto log = AppendFile::createNew(dir.path() / "log.txt");
        log.append(pattern(70000));
        EXPECT_TRUE(failsWith([&] { log.append(pattern(50000)); }, "file too large"));
        EXPECT_EQ(fs::file_size(dir.path() / "log.txt"), 70000u);
        log.append("fits");
        EXPECT_EQ(test::fileBytes(dir.path() / "log.txt"), pattern(70000) + "fits");
    }
    // Once the limit is gone everything is written.
    replace(target, {pattern(60000), pattern(60000)});
    EXPECT_EQ(test::fileBytes(target), pattern(60000) + pattern(60000));
}

TEST_F(DurableFileTest, AFullDiskFailsTheWriteAndKeepsTheEarlierFile) {
    test::SmallDisk disk(dir.path() / "disk", "size=256k");
    if (!disk.mounted()) {
        GTEST_SKIP() << "cannot mount a tmpfs here (needs root)";
    }
    const auto book = disk.path() / "Book1.xlsx";
    const std::string earlier = pattern(40000, 'e');
    replace(book, {earlier});
    {
        // Whatever room is left goes to a filler file.
        std::ofstream filler(disk.path() / "filler", std::ios::binary);
        const std::string block(4096, 'f');
        while (filler.write(block.data(), static_cast<std::streamsize>(block.size()))) {
        }
    }
    EXPECT_TRUE(failsWith([&] { replace(book, {pattern(30000)}); }, "no space left on the disk"));
    EXPECT_EQ(test::fileBytes(book), earlier);
    EXPECT_EQ(test::fileNamesIn(disk.path()), (std::vector<std::string>{"Book1.xlsx", "filler"}));

    auto log = AppendFile::createNew(disk.path() / "log.txt");
    EXPECT_TRUE(failsWith([&] { log.append(pattern(30000)); }, "no space left on the disk"));
    EXPECT_EQ(fs::file_size(disk.path() / "log.txt"), 0u);

    fs::remove(disk.path() / "filler");
    replace(book, {pattern(30000), pattern(50000)});
    EXPECT_EQ(test::fileBytes(book), pattern(30000) + pattern(50000));
    log.append("room again");
    log.sync();
    EXPECT_EQ(test::fileBytes(disk.path() / "log.txt"), "room again");
}

TEST_F(DurableFileTest, AReadOnlyFolderOrDiskIsToldInWords) {
    if (::geteuid() == 0) {
        // Root may write into any folder; only a read-only disk stops it.
        test::SmallDisk disk(dir.path() / "rodisk", "size=64k", MS_RDONLY);
        if (!disk.mounted()) {
            GTEST_SKIP() << "cannot mount a read-only tmpfs";
        }
        EXPECT_TRUE(failsWith([&] { replace(disk.path() / "Book1.xlsx", {"x"}); },
                              "the disk is read-only"));
        return;
    }
    const auto folder = dir.path() / "readonly";
    fs::create_directories(folder);
    writeText(folder / "Book1.xlsx", "the earlier workbook");
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_TRUE(
        failsWith([&] { replace(folder / "Book1.xlsx", {"x"}); }, "the folder is read-only"));
    EXPECT_EQ(test::fileBytes(folder / "Book1.xlsx"), "the earlier workbook");
    fs::permissions(folder, fs::perms::owner_all);
}

TEST_F(DurableFileTest, FoldersAndFilesInTheWrongPlaceAreToldInWords) {
    // A folder where the file should be: it stays as it was.
    fs::create_directories(target / "inside");
    EXPECT_TRUE(failsWith([&] { replace(target, {"x"}); }, "a folder stands where the file"));
    EXPECT_TRUE(fs::is_directory(target / "inside"));
    // A file where the folder should be.
    writeText(dir.path() / "Workbooks", "a file");
    EXPECT_TRUE(failsWith([&] { replace(dir.path() / "Workbooks" / "Book1.xlsx", {"x"}); },
                          "not a folder"));
    EXPECT_TRUE(failsWith([&] { replace(dir.path() / "gone" / "Book1.xlsx", {"x"}); },
                          "the folder does not exist"));
    try {
        replace(dir.path() / "gone" / "Book1.xlsx", {"x"});
    } catch (const FileError& error) {
        EXPECT_EQ(error.path(), dir.path() / "gone" / "Book1.xlsx");
        EXPECT_EQ(std::string(error.what()),
                  (dir.path() / "gone" / "Book1.xlsx").string() + ": " + error.reason());
    }
    EXPECT_EQ(test::fileNamesIn(dir.path()), (std::vector<std::string>{"Book1.xlsx", "Workbooks"}));
}

TEST_F(DurableFileTest, LeftoversOfKilledRunsAreRemovedAndNothingElse) {
    const auto own = std::to_string(::getpid());
    // Killed writers: a dead process, and one whose id this process now carries.
    writeText(dir.path() / ".Book1.xlsx.999999999.kelvor-tmp", "cut off");
    writeText(dir.path() / (".Book2.xlsx." + own + "-3.kelvor-tmp"), "cut off");
    // Not ours, or not a leftover file.
    const std::vector<std::string> kept{
        ".Book1.xlsx.kelvor-tmp", ".Book1.xlsx.12a.kelvor-tmp", ".hidden.txt", "Book1.xlsx",
        "Book1.xlsx.Ab12Cd",      "Book3.xlsx.77.kelvor-tmp"};
    for (const auto& name : kept) {
        writeText(dir.path() / name, "keep");
    }
    fs::create_directory(dir.path() / ".Folder.1.kelvor-tmp");
    fs::create_symlink(dir.path() / "Book1.xlsx", dir.path() / ".Link.1.kelvor-tmp");

    // A write in progress keeps its temporary file.
    ReplacingFile running(dir.path() / "Book4.xlsx");
    running.write("in progress");
    removeLeftoverTemporaryFiles(dir.path());

    auto expected = kept;
    expected.push_back(".Folder.1.kelvor-tmp");
    expected.push_back(".Link.1.kelvor-tmp");
    expected.push_back(running.temporaryPath().filename().string());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(test::fileNamesIn(dir.path()), expected);
    running.commit();
    EXPECT_EQ(test::fileBytes(dir.path() / "Book4.xlsx"), "in progress");

    removeLeftoverTemporaryFiles(dir.path() / "no such folder"); // nothing to do, no error
}

TEST_F(DurableFileTest, AnAppendFileIsNewAndEveryAppendIsReadableAtOnce) {
    const auto path = dir.path() / "report.txt";
    writeText(dir.path() / "taken.txt", "someone's file");
    EXPECT_TRUE(
        failsWith([&] { AppendFile::createNew(dir.path() / "taken.txt"); }, "exists already"));
    EXPECT_EQ(test::fileBytes(dir.path() / "taken.txt"), "someone's file");

    auto file = AppendFile::createNew(path);
    file.append("first line\r\n");
    EXPECT_EQ(test::fileBytes(path), "first line\r\n"); // no buffer held back in this process
    AppendFile moved = std::move(file);
    moved.append("second");
    moved.sync();
    EXPECT_EQ(moved.path(), path);
    EXPECT_EQ(test::fileBytes(path), "first line\r\nsecond");
    moved.close();
    moved.close();
    EXPECT_TRUE(failsWith([&] { moved.append("late"); }, "closed"));
}

} // namespace
} // namespace kelvor
