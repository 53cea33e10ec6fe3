#include "BurstSplitter.h"

#include <gtest/gtest.h>

#include <string>

namespace kelvor {
namespace {

std::string joined(const std::vector<std::string_view>& pieces) {
    std::string all;
    for (auto piece : pieces) {
        all.append(piece);
    }
    return all;
}

TEST(BurstSplitter, CutsOnlyAfterCrLfAndCoversTheText) {
    std::string text;
    for (int i = 0; i < 40; ++i) {
        text += std::to_string(i * 0.0125) + "," + std::to_string(i * 7.5) + "\r\n";
    }
    for (int bursts : {1, 2, 3, 7, 40}) {
        const auto pieces = splitIntoBursts(text, bursts);
        ASSERT_EQ(pieces.size(), static_cast<std::size_t>(bursts)) << bursts;
        EXPECT_EQ(joined(pieces), text);
        for (auto piece : pieces) {
            EXPECT_TRUE(piece.ends_with("\r\n")) << bursts << ": " << piece;
        }
    }
}

TEST(BurstSplitter, PiecesAreRoughlyEvenInSize) {
    std::string text;
    for (int i = 0; i < 300; ++i) {
        text += "0.1234,567.8\r\n"; // 14 bytes a line
    }
    const auto pieces = splitIntoBursts(text, 4);
    ASSERT_EQ(pieces.size(), 4u);
    for (auto piece : pieces) {
        EXPECT_NEAR(static_cast<double>(piece.size()), static_cast<double>(text.size()) / 4, 14.0);
    }
}

TEST(BurstSplitter, NeverSplitsALineAndGivesFewerPiecesThanAskedForShortTexts) {
    const std::string text = "CONSTANT LOAD TEST DATA\r\nA very long second line of text\r\nx\r\n";
    const auto pieces = splitIntoBursts(text, 10);
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(pieces[1], "A very long second line of text\r\n");
    EXPECT_EQ(joined(pieces), text);

    EXPECT_TRUE(splitIntoBursts("", 3).empty());
    EXPECT_EQ(splitIntoBursts("no line end at all", 5).size(), 1u);
}

TEST(BurstSplitter, UnevenLinesStillGiveOnePiecePerLineWhenAskedForAsMany) {
    // A long title followed by short lines: even cuts by size would swallow several lines.
    const std::string text = "CONSTANT RATE TEST DATA, A LONG FIRST LINE\r\n1\r\n2\r\n3\r\n";
    const auto pieces = splitIntoBursts(text, 4);
    ASSERT_EQ(pieces.size(), 4u);
    EXPECT_EQ(pieces[1], "1\r\n");
    EXPECT_EQ(pieces[3], "3\r\n");
}

TEST(BurstSplitter, LastLineWithoutEndAndBareCrLinesAreLinesToo) {
    const std::string text = "one\rtwo\rthree\rfour";
    const auto pieces = splitIntoBursts(text, 4);
    ASSERT_EQ(pieces.size(), 4u);
    EXPECT_EQ(pieces[0], "one\r");
    EXPECT_EQ(pieces[2], "three\r");
    EXPECT_EQ(pieces[3], "four");
}

} // namespace
} // namespace kelvor
