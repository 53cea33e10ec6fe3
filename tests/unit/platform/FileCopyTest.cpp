// Bytes copied from an earlier file into a replacing one: only from the very file that was
// committed, and a source that ends early leaves the new file as it was before the copy.
#include "TestFiles.h"

#include "platform/FileCopy.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace kelvor {
namespace {

namespace fs = std::filesystem;

std::string pattern(std::size_t size, char seed) {
    std::string text(size, ' ');
    for (std::size_t i = 0; i < size; ++i) {
        text[i] = static_cast<char>(seed + static_cast<char>(i % 23));
    }
    return text;
}

class FileCopyTest : public testing::Test {
protected:
    // The source as a ReplacingFile commits it, with its stamp.
    FileStamp commitSource(const std::string& bytes) {
        ReplacingFile file(source);
        file.write(bytes);
        file.commit();
        return file.stamp();
    }

    test::TempDir dir;
    fs::path source = dir.path() / "earlier.bin";
    fs::path target = dir.path() / "later.bin";
};

TEST_F(FileCopyTest, RangesOfTheCommittedFileAreCopiedAmongWrittenBytes) {
    // Bigger than the write buffer, so the copy follows bytes the buffer held back.
    const auto earlier = pattern(3 * ReplacingFileBufferSize + 17, 'a');
    const auto stamp = commitSource(earlier);
    EXPECT_NE(stamp, FileStamp{});
    EXPECT_EQ(stamp.size, earlier.size());

    const auto from = SourceFile::openUnchanged(source, stamp);
    ASSERT_NE(from, nullptr);
    ReplacingFile file(target);
    file.write("head");
    ASSERT_TRUE(file.copyFrom(*from, 5, 2 * ReplacingFileBufferSize));
    file.write("middle");
    ASSERT_TRUE(file.copyFrom(*from, earlier.size() - 10, 10));
    file.commit();
    EXPECT_EQ(test::fileBytes(target), "head" + earlier.substr(5, 2 * ReplacingFileBufferSize) +
                                           "middle" + earlier.substr(earlier.size() - 10));
    EXPECT_EQ(file.stamp().size, fs::file_size(target));
}

TEST_F(FileCopyTest, AFileChangedGoneOrPutInItsPlaceIsNotOpened) {
    const auto stamp = commitSource(pattern(1000, 'a'));
    EXPECT_NE(SourceFile::openUnchanged(source, stamp), nullptr);

    fs::resize_file(source, 600);
    EXPECT_EQ(SourceFile::openUnchanged(source, stamp), nullptr) << "cut short";

    const auto again = commitSource(pattern(1000, 'a'));
    test::writeBytes(dir.path() / "other.bin", pattern(1000, 'a'));
    fs::rename(dir.path() / "other.bin", source);
    EXPECT_EQ(SourceFile::openUnchanged(source, again), nullptr) << "another file of that name";

    const auto last = commitSource(pattern(1000, 'a'));
    fs::remove(source);
    EXPECT_EQ(SourceFile::openUnchanged(source, last), nullptr) << "removed";
}

TEST_F(FileCopyTest, ASourceThatEndsEarlyLeavesTheNewFileAsItWas) {
    const auto earlier = pattern(5000, 'a');
    const auto from = SourceFile::openUnchanged(source, commitSource(earlier));
    ASSERT_NE(from, nullptr);
    // Cut short after it was opened: the open file ends early too.
    fs::resize_file(source, 3000);

    ReplacingFile file(target);
    file.write("kept");
    EXPECT_FALSE(file.copyFrom(*from, 1000, 4000));
    EXPECT_TRUE(file.copyFrom(*from, 1000, 2000));
    file.write("end");
    file.commit();
    EXPECT_EQ(test::fileBytes(target), "kept" + earlier.substr(1000, 2000) + "end");

    unsigned char byte = 0;
    EXPECT_FALSE(from->read(2999, 2, &byte));
    EXPECT_TRUE(from->read(2999, 1, &byte));
    EXPECT_EQ(byte, static_cast<unsigned char>(earlier[2999]));
}

} // namespace
} // namespace kelvor
