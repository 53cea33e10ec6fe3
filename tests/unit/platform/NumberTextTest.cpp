#include "platform/LocaleNumbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kelvor {
namespace {

const QLocale English(QLocale::English, QLocale::UnitedStates);
const QLocale German(QLocale::German, QLocale::Germany);

TEST(NumberTextTest, ReadsTheNumberAtTheStartOfTheText) {
    const struct {
        const char* text;
        double expected;
    } cases[] = {
        {"1abc", 1},       {"3.5", 3.5},   {" 2 5", 25},   {"abc", 0},        {"", 0},
        {"0.75 mm", 0.75}, {"NaN", 0},     {"\t-\n4", -4}, {"+7", 7},         {".5", 0.5},
        {"5.", 5},         {"1.2.3", 1.2}, {"1e3", 1000},  {"1 E - 2", 0.01}, {"2D2", 200},
        {"3e", 3},         {"3e+x", 3},    {"-", 0},       {".", 0},          {"- .x", 0},
        {"1,5", 1},        {"12\r3", 12},  {"0x10", 0},    {"1e-400", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(leadingNumber(c.text), c.expected) << '"' << c.text << '"';
    }
}

TEST(NumberTextTest, OverflowGivesInfinityOfItsSign) {
    EXPECT_EQ(leadingNumber("1e400"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(leadingNumber("-1e400"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(leadingNumber(std::string(400, '9')), std::numeric_limits<double>::infinity());
    EXPECT_EQ(leadingNumber("1e99999999999999999999"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(leadingNumber("0." + std::string(400, '0') + "1"), 0.0);
    EXPECT_EQ(leadingNumber(std::string(10000, '1')), std::numeric_limits<double>::infinity());
}

TEST(NumberTextTest, HalvesGoToEven) {
    EXPECT_EQ(roundToInt32(2.5), 2);
    EXPECT_EQ(roundToInt32(3.5), 4);
    EXPECT_EQ(roundToInt32(-2.5), -2);
    EXPECT_EQ(roundToInt32(-3.5), -4);
    EXPECT_EQ(roundToInt32(0.5), 0);
    EXPECT_EQ(roundToInt32(2.4999999999999996), 2);
    EXPECT_EQ(roundToInt32(-0.49999999999999994), 0);
    EXPECT_EQ(roundToInt32(2.6), 3);
}

TEST(NumberTextTest, RejectsWhatDoesNotFit) {
    EXPECT_EQ(roundToInt32(2147483647.0), 2147483647);
    EXPECT_EQ(roundToInt32(2147483647.4), 2147483647);
    EXPECT_EQ(roundToInt32(-2147483648.0), -2147483648);
    EXPECT_EQ(roundToInt32(-2147483648.5), -2147483648); // half to even stays inside
    EXPECT_FALSE(roundToInt32(2147483647.5));
    EXPECT_FALSE(roundToInt32(-2147483649.0));
    EXPECT_FALSE(roundToInt32(std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(roundToInt32(std::nan("")));
}

TEST(NumberTextTest, FollowsTheLocale) {
    EXPECT_EQ(parseLocaleNumber(" 0.5 ", English), 0.5);
    EXPECT_EQ(parseLocaleNumber("1,234.5", English), 1234.5);
    EXPECT_EQ(parseLocaleNumber("-2e3", English), -2000.0);
    EXPECT_EQ(parseLocaleNumber("0,5", German), 0.5);
    EXPECT_EQ(parseLocaleNumber("1.234,5", German), 1234.5);
    EXPECT_FALSE(parseLocaleNumber("0,5", English));
    for (const char* text : {"abc", "", "1x", "inf", "nan", "1e400", "1.2.3", "\xff"}) {
        EXPECT_FALSE(parseLocaleNumber(text, English)) << text;
    }
}

TEST(NumberTextTest, ShortestTextThatReadsBackTheSameSingle) {
    const struct {
        float value;
        const char* expected;
    } cases[] = {
        {0.5F, "0.5"},
        {0.75F, "0.75"},
        {0.1F, "0.1"},
        {1.0F / 3.0F, "0.3333333"},
        {-2.25F, "-2.25"},
        {2880.0F, "2880"},
        {1234567.0F, "1234567"},
        {10000000.0F, "1E+07"},
        {16777217.0F, "1.677722E+07"},
        {1e20F, "1E+20"},
        {0.0001F, "0.0001"},
        {0.00001F, "1E-05"},
        {-1.5e-10F, "-1.5E-10"},
        {-0.0F, "0"},
        {123.456F, "123.456"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatSingle(c.value, English), c.expected) << c.expected;
    }
}

TEST(NumberTextTest, UsesTheLocaleDecimalSeparatorWithoutGrouping) {
    EXPECT_EQ(formatSingle(0.5F, German), "0,5");
    EXPECT_EQ(formatSingle(1234.5F, German), "1234,5");
    EXPECT_EQ(formatSingle(1234.5F, English), "1234.5");
    EXPECT_EQ(formatSingle(2.5e-7F, German), "2,5E-07");
    for (const float value : {0.5F, 1234.5F, -0.001F, 3.0e12F, 0.1F}) {
        const auto back = parseLocaleNumber(formatSingle(value, German), German);
        ASSERT_TRUE(back);
        EXPECT_EQ(static_cast<float>(*back), value);
    }
}

} // namespace
} // namespace kelvor
