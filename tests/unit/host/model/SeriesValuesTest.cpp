#include "host/model/SeriesValues.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace kelvor {
namespace {

std::uint64_t bits(double value) {
    return std::bit_cast<std::uint64_t>(value);
}

void expectSameBits(const SeriesValues& kept, const std::vector<double>& given) {
    ASSERT_EQ(kept.size(), given.size());
    for (std::size_t i = 0; i < given.size(); ++i) {
        ASSERT_EQ(bits(kept[i]), bits(given[i])) << "number " << i << " given " << given[i];
    }
}

// Numbers read from a report's text, as the cells hold them: decimals of up to six places.
TEST(SeriesValuesTest, DecimalsReadFromTextComeBackBitForBitInHalfTheRoom) {
    std::mt19937 random(7);
    for (int places = 0; places <= 6; ++places) {
        std::vector<double> read;
        // Nine digits in all at most, as a tester prints them.
        const int wholeLimit =
            places <= 4 ? 99999 : static_cast<int>(std::pow(10, 10 - places)) - 1;
        std::uniform_int_distribution<int> digits(-wholeLimit, wholeLimit);
        for (int i = 0; i < 1000; ++i) {
            char text[32];
            const int whole = digits(random);
            std::snprintf(text, sizeof text, "%d.%0*d", whole / 10, places == 0 ? 1 : places,
                          std::abs(digits(random)) %
                              static_cast<int>(std::pow(10, std::max(places, 1))));
            read.push_back(std::strtod(text, nullptr));
        }
        const SeriesValues kept(read);
        expectSameBits(kept, read);
        EXPECT_EQ(kept.bytesHeld(), read.size() * 4) << places << " places";
        EXPECT_EQ(kept.toVector(), read);
    }
}

// Anything that is not a short decimal keeps its doubles, and reads back unchanged.
TEST(SeriesValuesTest, OtherNumbersKeepTheirDoubles) {
    const double gap = std::numeric_limits<double>::quiet_NaN();
    const std::vector<std::vector<double>> arrays{
        {0.1, 1.0 / 3.0},   // computed
        {1.5, -0.0, 2.0},   // a negative zero is not the integer 0
        {3e9, 1.0},         // past 32 bits
        {21474837.4, 0.01}, // in range alone, not at the places of both
        {1.0, std::numeric_limits<double>::infinity()},
        {1.0, -std::numeric_limits<double>::quiet_NaN()}, // not the usual gap
        {0.1 + 0.2},
        {1e-12},
    };
    for (const auto& numbers : arrays) {
        const SeriesValues kept(numbers);
        expectSameBits(kept, numbers);
        EXPECT_EQ(kept.bytesHeld(), numbers.size() * sizeof(double)) << kept;
    }
    // Gaps of the usual kind, whole numbers and the largest that fit stay compact.
    const std::vector<double> compact{gap, 2147483646.0, -2147483646.0, gap, 0.0};
    const SeriesValues kept(compact);
    expectSameBits(kept, compact);
    EXPECT_EQ(kept.bytesHeld(), compact.size() * 4);
    EXPECT_FALSE(kept == SeriesValues(compact)); // gaps differ from gaps, as in a vector
    EXPECT_TRUE(kept.sameBits(SeriesValues(compact)));
}

// A report's curve: each number a small step from the last. Kept in 16 bits from a base per
// block, gaps and the blocks' edges included; a block that spans too much keeps 32 bits for all.
TEST(SeriesValuesTest, CurvesThatMoveLittleAreKeptInAQuarterOfTheRoom) {
    const double gap = std::numeric_limits<double>::quiet_NaN();
    std::mt19937 random(11);
    std::uniform_int_distribution<int> step(-300, 900);
    for (const int places : {0, 1, 3}) {
        std::vector<double> curve;
        long long at = -2000000; // far from zero: steps are taken from a base, not from 0
        for (int i = 0; i < 1000; ++i) {
            at += step(random);
            char text[32];
            std::snprintf(text, sizeof text, "%.*f", places,
                          static_cast<double>(at) / std::pow(10.0, places));
            curve.push_back(i % 97 == 5 ? gap : std::strtod(text, nullptr));
        }
        const SeriesValues kept(curve);
        expectSameBits(kept, curve);
        const std::size_t blocks = (curve.size() + SeriesValues::kBlock - 1) / SeriesValues::kBlock;
        EXPECT_EQ(kept.bytesHeld(), curve.size() * 2 + blocks * 4) << places << " places";
        EXPECT_TRUE(kept.sameBits(SeriesValues(curve)));
        EXPECT_EQ(kept.fingerprint(), SeriesValues(curve).fingerprint());
    }

    // The widest a block may span, at both ends of 32 bits, and a block of gaps only.
    std::vector<double> edges(SeriesValues::kBlock, 2147483646.0);
    edges[7] = 2147483646.0 - 65534;
    edges.resize(2 * SeriesValues::kBlock, -2147483646.0);
    edges[SeriesValues::kBlock + 3] = -2147483646.0 + 65534;
    edges.resize(3 * SeriesValues::kBlock, gap);
    edges.push_back(0.0);
    const SeriesValues kept(edges);
    expectSameBits(kept, edges);
    EXPECT_EQ(kept.bytesHeld(), edges.size() * 2 + 4 * 4);

    // One number past that in one block: all of them keep 32 bits.
    std::vector<double> wide(3 * SeriesValues::kBlock, 5.0);
    wide[2 * SeriesValues::kBlock + 1] = 5.0 + 65535;
    const SeriesValues kept32(wide);
    expectSameBits(kept32, wide);
    EXPECT_EQ(kept32.bytesHeld(), wide.size() * 4);

    // A change keeps doubles and leaves the compact copy as it was.
    SeriesValues changed = kept;
    changed.set(0, 1.5);
    EXPECT_EQ(changed[0], 1.5);
    EXPECT_EQ(bits(changed[1]), bits(edges[1]));
    expectSameBits(kept, edges);
}

TEST(SeriesValuesTest, ChangesLeaveCopiesAndCompareAndHashByTheNumbersRead) {
    const SeriesValues first{1.25, 2.5, 3.75};
    SeriesValues copy = first;
    EXPECT_TRUE(copy.sharedWith(first));
    copy.set(1, 1.0 / 3.0);
    copy.push_back(4.0);
    EXPECT_FALSE(copy.sharedWith(first));
    EXPECT_EQ(first.toVector(), (std::vector<double>{1.25, 2.5, 3.75}));
    EXPECT_EQ(copy.size(), 4U);
    EXPECT_EQ(bits(copy[1]), bits(1.0 / 3.0));
    EXPECT_EQ(copy.back(), 4.0);
    EXPECT_THROW((void)copy.at(4), std::out_of_range);

    // Kept as doubles after a change, as integers when read afresh: still the same numbers.
    SeriesValues edited = first;
    edited.set(0, 1.25);
    EXPECT_EQ(edited.bytesHeld(), 3 * sizeof(double));
    EXPECT_EQ(edited, first);
    EXPECT_TRUE(edited.sameBits(first));
    EXPECT_EQ(edited.fingerprint(), first.fingerprint());
    edited.set(2, 3.5);
    EXPECT_NE(edited.fingerprint(), first.fingerprint());
    EXPECT_NE(SeriesValues({1.0, 2.0}).fingerprint(), SeriesValues({2.0, 1.0}).fingerprint());
    EXPECT_EQ(SeriesValues().fingerprint(), SeriesValues(std::vector<double>{}).fingerprint());
}

} // namespace
} // namespace kelvor
