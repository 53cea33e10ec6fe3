#include "util/AnsiText.h"

#include <gtest/gtest.h>

namespace kelvor {
namespace {

TEST(AnsiTextTest, RecognisesOnlyWellFormedUtf8) {
    EXPECT_TRUE(isValidUtf8(""));
    EXPECT_TRUE(isValidUtf8("plain"));
    EXPECT_TRUE(isValidUtf8("\xc3\xa4 \xe2\x82\xac \xf0\x9f\x98\x80"));
    EXPECT_FALSE(isValidUtf8("\xe4"));             // Windows-1252 a-umlaut
    EXPECT_FALSE(isValidUtf8("\xc3"));             // cut short
    EXPECT_FALSE(isValidUtf8("\xc0\xaf"));         // overlong
    EXPECT_FALSE(isValidUtf8("\xed\xa0\x80"));     // surrogate
    EXPECT_FALSE(isValidUtf8("\xf4\x90\x80\x80")); // beyond U+10FFFF
    EXPECT_FALSE(isValidUtf8("\x80"));
}

TEST(AnsiTextTest, ConvertsWindows1252) {
    EXPECT_EQ(windows1252ToUtf8("a\xe4\x80\x9f\xff\x81"),
              "a\xc3\xa4\xe2\x82\xac\xc5\xb8\xc3\xbf\xc2\x81");
    EXPECT_EQ(utf8FromUtf8OrWindows1252("\xc3\xa4"), "\xc3\xa4");
    EXPECT_EQ(utf8FromUtf8OrWindows1252("\xc3\xa4\xe4"), "\xc3\x83\xc2\xa4\xc3\xa4");
}

TEST(AnsiTextTest, CutsWholeCharacters) {
    EXPECT_EQ(firstCodePoints("a\xc3\xa4\xe2\x82\xac"
                              "b",
                              3),
              "a\xc3\xa4\xe2\x82\xac");
    EXPECT_EQ(firstCodePoints("ab", 5), "ab");
    EXPECT_EQ(firstCodePoints("\xc3\xa4", 0), "");
}

} // namespace
} // namespace kelvor
