#pragma once

#include <string>

namespace kelvor {

// Paper sizes as the written file numbers them (pageSetup paperSize).
inline constexpr int PaperLetter = 1;
inline constexpr int PaperA4 = 9;

// Print layout of a sheet. Margins are in points; header and footer texts may hold the
// spreadsheet's codes (&P page, &N pages, &F file, &A sheet).
struct PageSetup {
    double leftMargin = 50.4;
    double rightMargin = 50.4;
    double topMargin = 54.0;
    double bottomMargin = 54.0;
    double headerMargin = 21.6;
    double footerMargin = 21.6;
    std::string leftHeader;
    std::string centerHeader;
    std::string rightHeader;
    std::string leftFooter;
    std::string centerFooter;
    std::string rightFooter;
    // Rows repeated on every printed page, as "$15:$15"; empty for none.
    std::string printTitleRows;
    // The paper other programs print the sheet on: PaperA4, PaperLetter.
    int paperSize = PaperA4;

    bool operator==(const PageSetup&) const = default;
};

// Throws std::invalid_argument unless every margin is finite and not negative.
void checkMargins(const PageSetup& pageSetup);

} // namespace kelvor
