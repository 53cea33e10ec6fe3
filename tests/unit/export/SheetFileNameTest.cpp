#include "export/SheetFileName.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace kelvor {
namespace {

TEST(SheetFileNameTest, OrdinarySheetNamesStayAsTheyAre) {
    EXPECT_EQ(sheetFileName("Data 1"), "Data 1");
    EXPECT_EQ(sheetFileName("Data 12 Plot"), "Data 12 Plot");
    EXPECT_EQ(sheetFileName("Chart3"), "Chart3");
    EXPECT_EQ(sheetFileName("Prüfung (neu), 2.5 kg"), "Prüfung (neu), 2.5 kg");
    EXPECT_EQ(sheetFileName("Console"), "Console"); // only the device name itself is one
}

TEST(SheetFileNameTest, WhatWindowsFileNamesCannotHoldIsEscaped) {
    // Sheet names may hold these; file names on Windows may not.
    EXPECT_EQ(sheetFileName("Force <kN>"), "Force %3CkN%3E");
    EXPECT_EQ(sheetFileName("\"A\" | B"), "%22A%22 %7C B");
    EXPECT_EQ(sheetFileName("Run 1."), "Run 1%2E");
    EXPECT_EQ(sheetFileName("Run 1 . "), "Run 1%20%2E%20");
    EXPECT_EQ(sheetFileName(".hidden"), "%2Ehidden");
    EXPECT_EQ(sheetFileName(" Data"), "%20Data");
    EXPECT_EQ(sheetFileName("..."), "%2E%2E%2E");
    // Characters no sheet name holds, should one come all the same.
    EXPECT_EQ(sheetFileName("a/b\\c:d?e*f"), "a%2Fb%5Cc%3Ad%3Fe%2Af");
    EXPECT_EQ(sheetFileName(std::string("tab\there", 8)), "tab%09here");
}

TEST(SheetFileNameTest, DeviceNamesOfWindowsAreEscaped) {
    EXPECT_EQ(sheetFileName("CON"), "%43ON");
    EXPECT_EQ(sheetFileName("nul"), "%6Eul");
    EXPECT_EQ(sheetFileName("Com1"), "%43om1");
    EXPECT_EQ(sheetFileName("LPT9.x"), "%4CPT9.x");
    EXPECT_EQ(sheetFileName("AUX "), "%41UX%20");
    EXPECT_EQ(sheetFileName("COM10"), "COM10");
}

TEST(SheetFileNameTest, TwoSheetNamesNeverShareAFile) {
    const std::set<std::string> names = {"A<", "A>",  "A_",    "A%3C", "A%",     "A.",     "A",
                                         "A ", "CON", "%43ON", "con",  "Data 1", "Data 1 "};
    std::set<std::string> files;
    for (const auto& name : names) {
        files.insert(sheetFileName(name));
    }
    EXPECT_EQ(files.size(), names.size());
}

} // namespace
} // namespace kelvor
