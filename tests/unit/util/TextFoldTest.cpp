// UTF-8 text helpers and sheet names in the scripts a lab may use.
#include "host/model/SheetName.h"
#include "util/CaseFold.h"
#include "util/Utf8Text.h"

#include <gtest/gtest.h>

namespace kelvor {
namespace {

TEST(TextFoldTest, DecodesWellFormedTextOnly) {
    EXPECT_EQ(decodeUtf8("A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"),
              std::u32string(U"A\u00E9\u20AC\U0001F600"));
    EXPECT_EQ(decodeUtf8(""), std::u32string());
    for (const std::string_view bad :
         {"\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\x80", "ab\xFF"}) {
        EXPECT_FALSE(decodeUtf8(bad)) << bad;
    }
}

TEST(TextFoldTest, CountsUtf16UnitsLikeASpreadsheetProgram) {
    EXPECT_EQ(utf16Length("Kopfzeile"), 9u);
    EXPECT_EQ(utf16Length("\xD0\x9F\xD1\x80\xD0\xB5\xD1\x81\xD1\x81"), 5u); // Пресс
    EXPECT_EQ(utf16Length("\xF0\x9F\x98\x80"), 2u);                         // beyond U+FFFF
    EXPECT_EQ(utf16Length("a\xFF\xFE"), 3u); // each stray byte one replacement character
}

TEST(TextFoldTest, SimplifiesWhiteSpaceOfEveryKind) {
    EXPECT_EQ(simplifiedWhiteSpace("  Bold \t\r\n Italic  "), "Bold Italic");
    // No-break and em spaces are white space too; other letters stay as they are.
    EXPECT_EQ(simplifiedWhiteSpace("\xC2\xA0"
                                   "fett\xE2\x80\x83\xC3\xBC"
                                   "ber "),
              "fett \xC3\xBC"
              "ber");
    EXPECT_EQ(simplifiedWhiteSpace(" \xFF "), "\xFF");
    EXPECT_EQ(asciiLowercase("BOLD \xC3\x84"), "bold \xC3\x84");
}

TEST(TextFoldTest, FoldsLatinGreekAndCyrillicLetters) {
    EXPECT_EQ(foldCase(U'A'), U'a');
    EXPECT_EQ(foldCase(U'\u00C4'), U'\u00E4'); // Ä
    EXPECT_EQ(foldCase(U'\u0178'), U'\u00FF'); // Ÿ
    EXPECT_EQ(foldCase(U'\u0141'), U'\u0142'); // Ł
    EXPECT_EQ(foldCase(U'\u01C5'), U'\u01C6'); // ǅ, a title-case digraph
    EXPECT_EQ(foldCase(U'\u03A3'), U'\u03C3'); // Σ
    EXPECT_EQ(foldCase(U'\u03C2'), U'\u03C3'); // final ς
    EXPECT_EQ(foldCase(U'\u0386'), U'\u03AC'); // Ά
    EXPECT_EQ(foldCase(U'\u0401'), U'\u0451'); // Ё
    EXPECT_EQ(foldCase(U'\u042F'), U'\u044F'); // Я
    EXPECT_EQ(foldCase(U'\u0490'), U'\u0491'); // Ґ
    EXPECT_EQ(foldCase(U'\uFF21'), U'\uFF41'); // fullwidth A
    // Unchanged: lower case, digits, letters without case, code points between pairs.
    for (const char32_t same : {U'a', U'7', U'\u00DF', U'\u0101', U'\u05D0', U'\u4E2D'}) {
        EXPECT_EQ(foldCase(same), same) << static_cast<unsigned>(same);
    }
}

TEST(TextFoldTest, NamesInOtherScriptsCompareWithoutRegardToCase) {
    EXPECT_TRUE(sameSheetName("\xD0\x94\xD0\xB0\xD0\xBD\xD0\xBD\xD1\x8B\xD0\xB5 1",
                              "\xD0\x94\xD0\x90\xD0\x9D\xD0\x9D\xD0\xAB\xD0\x95 1")); // Данные
    EXPECT_TRUE(sameSheetName("\xCE\x94\xCE\xBF\xCE\xBA\xCE\xB9\xCE\xBC\xCE\xAE",
                              "\xCE\x94\xCE\x9F\xCE\x9A\xCE\x99\xCE\x9C\xCE\x89")); // Δοκιμή
    EXPECT_TRUE(sameSheetName("Pr\xC3\xBC"
                              "fung \xC5\x81\xC3\xB3"
                              "d\xC5\xBA",
                              "PR\xC3\x9C"
                              "FUNG \xC5\x81\xC3\x93"
                              "D\xC5\xB9")); // Łódź
    EXPECT_FALSE(sameSheetName("\xD0\x94\xD0\xB0\xD0\xBD\xD0\xBD\xD1\x8B\xD0\xB5 1",
                               "\xD0\x94\xD0\xB0\xD0\xBD\xD0\xBD\xD1\x8B\xD0\xB5 2"));
    EXPECT_FALSE(sameSheetName("Stra\xC3\x9F"
                               "e",
                               "STRASSE"));                // one letter is not two
    EXPECT_FALSE(sameSheetName("Data \xFF", "Data \xFE")); // not text: bytes decide
}

TEST(TextFoldTest, LatinNamesCompareWithoutRegardToCaseAndSignsFoldToLetters) {
    EXPECT_TRUE(sameSheetName("Summary Plot", "SUMMARY plot"));
    EXPECT_FALSE(sameSheetName("Data 1", "Data 10"));
    EXPECT_FALSE(sameSheetName("Data 1", "Data_1"));
    EXPECT_FALSE(sameSheetName("[a]", "{A}")); // only letters have a case
    EXPECT_TRUE(sameSheetName("\xE2\x84\xAA"
                              "elvin",
                              "KELVIN")); // the Kelvin sign folds to a Latin k
}

TEST(TextFoldTest, LengthCountsUtf16UnitsAndByteOrderMarksAreRefused) {
    // 31 Cyrillic letters fit, as 31 Latin ones do; 16 characters beyond U+FFFF do not.
    std::string cyrillic;
    for (int i = 0; i < 31; ++i) {
        cyrillic += "\xD0\x96";
    }
    EXPECT_TRUE(isValidSheetName(cyrillic));
    EXPECT_FALSE(isValidSheetName(cyrillic + "\xD0\x96"));
    std::string wide;
    for (int i = 0; i < 16; ++i) {
        wide += "\xF0\x9F\x98\x80";
    }
    EXPECT_FALSE(isValidSheetName(wide));
    EXPECT_TRUE(isValidSheetName(wide.substr(4)));
    EXPECT_FALSE(isValidSheetName("\xEF\xBB\xBF"
                                  "Data 1"));
    EXPECT_FALSE(isValidSheetName("\xEF\xBF\xBE"));
}

} // namespace
} // namespace kelvor
