#include "host/app/calc/Formula.h"
#include "host/app/cells/RangeAddress.h"
#include "host/app/numformat/FieldValue.h"
#include "host/app/textimport/TextSplit.h"
#include "util/DateSerial.h"

#include <gtest/gtest.h>

namespace kelvor {
namespace {

TEST(BuiltinApplicationValuesTest, CountsLikeTheSpreadsheetAroundItsPhantomLeapDay) {
    EXPECT_EQ(dateSerial(1900, 1, 1), 1);
    EXPECT_EQ(dateSerial(1900, 2, 28), 59);
    EXPECT_EQ(dateSerial(1900, 2, 29), 60);
    EXPECT_EQ(dateSerial(1900, 3, 1), 61);
    EXPECT_EQ(dateSerial(2000, 2, 29), 36585);
    EXPECT_EQ(dateSerial(9999, 12, 31), kLastDateSerial);
    EXPECT_EQ(dateSerial(1899, 12, 31), std::nullopt);
    EXPECT_EQ(dateSerial(2023, 2, 29), std::nullopt);
    EXPECT_EQ(dateSerial(2100, 2, 29), std::nullopt);
    EXPECT_EQ(dateSerial(2024, 4, 31), std::nullopt);
    EXPECT_EQ(dateSerial(2024, 13, 1), std::nullopt);
    EXPECT_EQ(dateSerial(10000, 1, 1), std::nullopt);

    EXPECT_EQ(civilDate(0), (CivilDate{1900, 1, 0}));
    EXPECT_EQ(civilDate(59), (CivilDate{1900, 2, 28}));
    EXPECT_EQ(civilDate(60), (CivilDate{1900, 2, 29}));
    EXPECT_EQ(civilDate(61), (CivilDate{1900, 3, 1}));
    EXPECT_EQ(civilDate(-1), std::nullopt);
    EXPECT_EQ(civilDate(kLastDateSerial + 1), std::nullopt);
    for (std::int64_t serial = 1; serial <= kLastDateSerial; serial += 997) {
        const auto date = civilDate(serial);
        ASSERT_TRUE(date);
        EXPECT_EQ(dateSerial(date->year, date->month, date->day), serial);
    }
    EXPECT_EQ(weekday(1), 0);     // Sunday, as the spreadsheet counts
    EXPECT_EQ(weekday(45365), 4); // 2024-03-14, a Thursday
}

TEST(BuiltinApplicationValuesTest, ReadsWhatATesterSendsAsTheSpreadsheetWould) {
    const auto number = [](const char* text) {
        const auto read = readGeneral(text);
        const auto* n = std::get_if<double>(&read.value);
        return n != nullptr ? *n : -999.0;
    };
    EXPECT_EQ(number("  0.125  "), 0.125);
    EXPECT_EQ(number("-7"), -7);
    EXPECT_EQ(number("5."), 5);
    EXPECT_EQ(number("1.5E-3"), 0.0015);
    EXPECT_EQ(number("1/2/03"), 37623);     // two-digit years below 30: this century
    EXPECT_EQ(number("12/31/1929"), 10958); // four digits taken as written
    EXPECT_EQ(number("1-2-2003"), 37623);   // dashes as well as slashes
    EXPECT_EQ(number("12:00 AM"), 0);
    EXPECT_EQ(number("12:00 PM"), 0.5);
    EXPECT_DOUBLE_EQ(number("0:00:01.5"), 1.5 / 86400);
    for (const char* text :
         {"1,5", "0x10", "inf", "nan", "1e", "1.2.3", "--1", "1 2", "E5", "13/1/2024", "1/2",
          "1/2/123", "24:00", "13:00 PM", "1:00X", "3/14/2024T13:05"}) {
        const auto read = readGeneral(text);
        ASSERT_TRUE(std::holds_alternative<SharedText>(read.value)) << text;
        EXPECT_EQ(*textOf(read.value), text);
        EXPECT_EQ(read.numberFormat, "");
    }
    EXPECT_EQ(readGeneral("3/14/2024").numberFormat, "m/d/yyyy");
    EXPECT_EQ(readGeneral("13:05").numberFormat, "h:mm:ss");
    EXPECT_EQ(readGeneral("3/14/2024  1:05 pm").numberFormat, "m/d/yyyy h:mm");
    EXPECT_TRUE(std::holds_alternative<std::monostate>(readGeneral("").value));
    EXPECT_EQ(*textOf(readGeneral(" ").value), " ");

    EXPECT_DOUBLE_EQ(*readTimeValue("3/14/2024 6:00"), 0.25);
    EXPECT_EQ(readTimeValue("3/14/2024"), 0.0);
    EXPECT_EQ(readTimeValue("soon"), std::nullopt);
}

std::vector<std::string> split(std::string_view line, SplitRule rule) {
    return splitLine(line, rule);
}

TEST(BuiltinApplicationValuesTest, DelimitersAndQualifier) {
    SplitRule tabs;
    tabs.tab = true;
    tabs.semicolon = true;
    EXPECT_EQ(split("a\tb;c,d", tabs), (std::vector<std::string>{"a", "b", "c,d"}));
    EXPECT_EQ(split("", tabs), std::vector<std::string>{""});
    EXPECT_EQ(split(";", tabs), (std::vector<std::string>{"", ""}));

    SplitRule spaces;
    spaces.space = true;
    spaces.consecutiveAsOne = true;
    EXPECT_EQ(split("1   2 \"a  b\"  3", spaces),
              (std::vector<std::string>{"1", "2", "a  b", "3"}));

    SplitRule degree; // a delimiter of more than one byte in UTF-8
    degree.other = "\u00BA";
    EXPECT_EQ(split("20\u00BAC\u00BA", degree), (std::vector<std::string>{"20", "C", ""}));

    xl::TextToColumnsOptions options;
    options.other = true;
    options.otherChar = "\u00BAx"; // only its first character counts
    EXPECT_EQ(splitRule(options).other, "\u00BA");
    options.dataType = 2; // fixed width is not offered
    EXPECT_THROW(splitRule(options), xl::HostError);
}

TEST(BuiltinApplicationValuesTest, LinesEndAtAnyLineBreak) {
    using Lines = std::vector<std::string_view>;
    EXPECT_EQ(splitLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(splitLines("a\r\n"), Lines{"a"});
    EXPECT_EQ(splitLines("a\r"), Lines{"a"});
    EXPECT_EQ(splitLines("\n\n"), (Lines{"", ""}));
    EXPECT_EQ(splitLines("a\n\rb"), (Lines{"a", "", "b"})); // LF CR is two breaks
    EXPECT_TRUE(splitLines("").empty());
}

TEST(BuiltinApplicationValuesTest, ReferencesFunctionsAndNames) {
    const auto root = parseR1C1("='Data 3'!RC1 +  .5");
    ASSERT_EQ(root->kind, FormulaNode::Kind::Binary);
    const auto& ref = root->operands[0]->reference;
    EXPECT_EQ(ref.sheet, "Data 3");
    EXPECT_TRUE(ref.rowRelative);
    EXPECT_EQ(ref.row, 0);
    EXPECT_FALSE(ref.columnRelative);
    EXPECT_EQ(ref.column, 1);
    EXPECT_EQ(root->operands[1]->number, 0.5);

    EXPECT_EQ(parseR1C1("='It''s'!R2C[-3]")->reference.sheet, "It's");
    EXPECT_EQ(parseR1C1("=Sheet2!R[+1]C")->reference.row, 1);
    EXPECT_TRUE(parseR1C1("=C[2]")->reference.wholeColumn);
    EXPECT_TRUE(parseR1C1("=R3")->reference.wholeRow);
    // Names that begin like references are names or functions.
    EXPECT_EQ(parseR1C1("=ROUND(1)")->kind, FormulaNode::Kind::Call);
    EXPECT_EQ(parseR1C1("=ROUND(1)")->text, "ROUND");
    EXPECT_EQ(parseR1C1("=RC1x")->kind, FormulaNode::Kind::Name);
    EXPECT_EQ(parseR1C1("=timevalue(\"1:00\")")->text, "TIMEVALUE");
    EXPECT_EQ(parseR1C1("=true")->kind, FormulaNode::Kind::Boolean);

    for (const char* bad : {"", "1+1", "=", "=R1C1:R2C2", "=1 2", "=\"open", "=R0C1", "=f(1,",
                            "=1+*2", "=Sheet!", "=R[1C"}) {
        EXPECT_THROW(parseR1C1(bad), FormulaSyntaxError) << bad;
    }
}

TEST(BuiltinApplicationValuesTest, AreasOfAnAddress) {
    using Areas = std::vector<CellRange>;
    EXPECT_EQ(parseAddress("a1"), (Areas{{1, 1, 1, 1}}));
    EXPECT_EQ(parseAddress("$B$8,D8"), (Areas{{8, 2, 8, 2}, {8, 4, 8, 4}}));
    EXPECT_EQ(parseAddress("B115:A16"), (Areas{{16, 1, 115, 2}}));
    EXPECT_EQ(parseAddress("H:H"), (Areas{{1, 8, 1048576, 8}}));
    EXPECT_EQ(parseAddress("$15:$15"), (Areas{{15, 1, 15, 16384}}));
    EXPECT_EQ(parseAddress("XFD1048576"), (Areas{{1048576, 16384, 1048576, 16384}}));
    for (const char* bad : {"A", "15", "A1,", ",A1", "A1:B2:C3", "AAAA1", "A01x", "A-1", "R1C1"}) {
        EXPECT_EQ(parseAddress(bad), std::nullopt) << bad;
    }
}

} // namespace
} // namespace kelvor
