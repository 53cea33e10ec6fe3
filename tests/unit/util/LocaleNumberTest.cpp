// Numbers as a locale writes them, read without the system's locale support.
#include "util/NumberText.h"

#include <gtest/gtest.h>

namespace kelvor {
namespace {

const NumberSeparators English{};
const NumberSeparators German{.decimalPoint = ",", .groupSeparator = "."};
// A no-break space between groups; people type an ordinary blank there.
const NumberSeparators French{.decimalPoint = ",", .groupSeparator = "\xE2\x80\xAF"};

TEST(LocaleNumberTest, ReadsSeparatorsSignsAndExponents) {
    EXPECT_EQ(parseLocaleNumber("\t1,234,567.25 ", English), 1234567.25);
    EXPECT_EQ(parseLocaleNumber("+.5", English), 0.5);
    EXPECT_EQ(parseLocaleNumber("5.", English), 5.0);
    EXPECT_EQ(parseLocaleNumber("-1.5E-3", English), -0.0015);
    EXPECT_EQ(parseLocaleNumber("\xE2\x88\x92"
                                "2",
                                English),
              -2.0); // the minus sign
    EXPECT_EQ(parseLocaleNumber("1.234.567,25", German), 1234567.25);
    EXPECT_EQ(parseLocaleNumber("1\xE2\x80\xAF"
                                "234,5",
                                French),
              1234.5);
    EXPECT_EQ(parseLocaleNumber("1 234,5", French), 1234.5);
}

TEST(LocaleNumberTest, RefusesMisplacedSeparatorsAndOtherText) {
    for (const char* text : {"",      "  ",        "1,23", "12,3456", "1234,567", ",123", "1,234,",
                             "1.2.3", "1,234.5,6", "1e",   "e5",      "1e5.5",    "--1",  "1-",
                             "0x10",  "1 2",       "inf",  "nan",     "1e400",    "\xFF"}) {
        EXPECT_FALSE(parseLocaleNumber(text, English)) << text;
    }
    EXPECT_FALSE(parseLocaleNumber("1.5", German));
    EXPECT_FALSE(parseLocaleNumber("1,5.0", German));
}

TEST(LocaleNumberTest, WritesTheLocalesDecimalSeparator) {
    EXPECT_EQ(formatSingle(0.5F, German), "0,5");
    EXPECT_EQ(formatSingle(-2.5e-7F, French), "-2,5E-07");
    EXPECT_EQ(parseLocaleNumber(formatSingle(1234.5F, French), French), 1234.5);
}

} // namespace
} // namespace kelvor
