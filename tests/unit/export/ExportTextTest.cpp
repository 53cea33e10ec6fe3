#include "export/CellText.h"
#include "export/DataSheet.h"
#include "export/HostError.h"
#include "export/ReportHeader.h"

#include <gtest/gtest.h>

#include <string>

namespace kelvor {
namespace {

std::string normalized(std::string text) {
    NormalizeTestTitle(text);
    return text;
}

TEST(ExportTextTest, StartsTheTextAtItsTitle) {
    EXPECT_EQ(normalized("\x11\xFF"
                         "CONSTANT RATE TEST DATA\r\n"),
              "CONSTANT RATE TEST DATA\r\n");
    EXPECT_EQ(normalized("ONSTANT LOAD TEST DATA\r\n"), "CONSTANT LOAD TEST DATA\r\n");
    EXPECT_EQ(normalized("CONSTANT RATE TEST DATA"), "CONSTANT RATE TEST DATA");
    // Only the first occurrence counts; what follows it is kept whole.
    EXPECT_EQ(normalized("ab\nCONSTANT x CONSTANT"), "CONSTANT x CONSTANT");
    // A NUL in front of the title is dropped like any other stray byte, one behind it kept.
    EXPECT_EQ(normalized(std::string("\0\0CONSTANT\0RATE", 15)), std::string("CONSTANT\0RATE", 13));
}

TEST(ExportTextTest, LeavesShortAndUnrecognisedTextsAlone) {
    EXPECT_EQ(normalized("ONSTANT1"), "ONSTANT1");    // 8 characters
    EXPECT_EQ(normalized("xCONSTAN"), "xCONSTAN");    // 8 characters
    EXPECT_EQ(normalized("ONSTANT12"), "CONSTANT12"); // 9 characters
    EXPECT_EQ(normalized("xONSTANT LOAD"), "xONSTANT LOAD");
    EXPECT_EQ(normalized("constant rate test data"), "constant rate test data");
    EXPECT_EQ(normalized(""), "");
}

int errorNumberOf(const auto& call) {
    try {
        call();
    } catch (const xl::HostError& error) {
        return error.number();
    }
    return 0;
}

TEST(ExportTextTest, TakesTheTextBehindThePrefixLength) {
    EXPECT_EQ(UnitFromLine("Force units in lbf", ForceUnitPrefix), "lbf");
    EXPECT_EQ(UnitFromLine("Force units in  lbf  ", ForceUnitPrefix), "lbf");
    EXPECT_EQ(UnitFromLine("Units of force: lbf", ForceUnitPrefix), "lbf");
    EXPECT_EQ(UnitFromLine("Deflection units in mm", DeflectionUnitPrefix), "mm");
    EXPECT_EQ(UnitFromLine("Force units in ", ForceUnitPrefix), "");
    // Lengths are counted in characters, not in bytes of the stored text.
    EXPECT_EQ(UnitFromLine("Déflection units in µm", DeflectionUnitPrefix), "µm");
}

TEST(ExportTextTest, LineShorterThanThePrefixIsAnInvalidCall) {
    EXPECT_EQ(errorNumberOf([] { UnitFromLine("lbf", ForceUnitPrefix); }), 5);
    EXPECT_EQ(errorNumberOf([] { UnitFromLine("Force units in", ForceUnitPrefix); }), 5);
    EXPECT_EQ(errorNumberOf([] { UnitFromLine("", DeflectionUnitPrefix); }), 5);
}

TEST(ExportTextTest, NumbersReadTheWayTheRuntimeWritesThem) {
    EXPECT_EQ(numberText(150), "150");
    EXPECT_EQ(numberText(-0.0), "0");
    EXPECT_EQ(numberText(115.5), "115.5");
    EXPECT_EQ(numberText(0.1 + 0.2), "0.3");
    EXPECT_EQ(numberText(123456789012345.0), "123456789012345");
    EXPECT_EQ(numberText(1e15), "1E+15");
    EXPECT_EQ(numberText(0.0001), "0.0001");
    EXPECT_EQ(numberText(0.00001), "1E-05");
    EXPECT_EQ(cellText(xl::Variant{}), "");
    EXPECT_EQ(cellText(xl::Variant{true}), "True");
    EXPECT_EQ(cellText(xl::Variant{std::string("DATE")}), "DATE");
}

TEST(ExportTextTest, DatesReadTheWayTheRuntimeWritesThem) {
    EXPECT_EQ(cellText(xl::Variant{xl::Date{45293}}), "1/2/2024");
    EXPECT_EQ(cellText(xl::Variant{xl::Date{45365 + (13 * 60 + 5) / 1440.0}}),
              "3/14/2024 1:05:00 PM");
    EXPECT_EQ(cellText(xl::Variant{xl::Date{0.25}}), "6:00:00 AM");
    EXPECT_EQ(cellText(xl::Variant{xl::Date{0}}), "12:00:00 AM");
    EXPECT_EQ(cellText(xl::Variant{xl::Date{36162.9999999}}), "1/3/1999"); // rounds to midnight
}

TEST(ExportTextTest, AddressesKeepTheRowAsWritten) {
    EXPECT_EQ(cellAddress('A', 16), "A16");
    EXPECT_EQ(cellAddress('B', 115), "B115");
    EXPECT_EQ(cellAddress('B', 115.5), "B115.5");
    EXPECT_EQ(trimBlanks("  DEFLECTION \t "), "DEFLECTION \t");
    EXPECT_EQ(trimBlanks("   "), "");
}

} // namespace
} // namespace kelvor
