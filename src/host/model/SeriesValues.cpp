#include "host/model/SeriesValues.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

namespace kelvor {

namespace {

constexpr int kMostDecimals = 9;
constexpr std::array<double, kMostDecimals + 1> kPowers{1e0, 1e1, 1e2, 1e3, 1e4,
                                                        1e5, 1e6, 1e7, 1e8, 1e9};
// Stands for a gap: the usual quiet NaN, the one the chart caches write for an empty cell.
constexpr std::int32_t kGap = std::numeric_limits<std::int32_t>::min();
const std::uint64_t kGapBits =
    std::bit_cast<std::uint64_t>(std::numeric_limits<double>::quiet_NaN());

bool isGap(double value) {
    return std::bit_cast<std::uint64_t>(value) == kGapBits;
}

// The integer that gives `value` back bit for bit over 10^decimals, if there is one. Division
// rounds correctly, so k / 10^d is the double nearest the decimal k·10^-d: the same double the
// text of that decimal was read as.
bool scaledAt(double value, int decimals, std::int32_t& scaled) {
    const double up = value * kPowers[decimals];
    if (!(std::fabs(up) < 2147483647.0)) {
        return false;
    }
    const auto k = static_cast<std::int32_t>(std::nearbyint(up));
    if (std::bit_cast<std::uint64_t>(k / kPowers[decimals]) !=
        std::bit_cast<std::uint64_t>(value)) {
        return false;
    }
    scaled = k;
    return true;
}

// The numbers as integers over one power of ten, or nothing when some number has none.
bool encode(const std::vector<double>& values, std::vector<std::int32_t>& out, int& decimals) {
    decimals = 0;
    std::int32_t k = 0;
    // A decimal exact at d places is exact at more, as long as it stays in range: the
    // fewest places of each number, at most, serve them all.
    for (const double value : values) {
        if (isGap(value)) {
            continue;
        }
        while (!scaledAt(value, decimals, k)) {
            if (++decimals > kMostDecimals) {
                return false;
            }
        }
    }
    out.reserve(values.size());
    for (const double value : values) {
        if (isGap(value)) {
            out.push_back(kGap);
        } else if (scaledAt(value, decimals, k)) {
            out.push_back(k);
        } else {
            return false; // out of range at the places another number needs
        }
    }
    return true;
}

constexpr std::int16_t kNarrowGap = std::numeric_limits<std::int16_t>::min();

// The integers as a base per block and 16-bit steps from it, or nothing when some block spans
// more than the steps reach. The base lies midway, so a block may span 65,534.
bool narrow(const std::vector<std::int32_t>& scaled, std::vector<std::int16_t>& steps,
            std::vector<std::int32_t>& bases) {
    constexpr std::int64_t kReach = std::numeric_limits<std::int16_t>::max();
    const std::size_t blocks = (scaled.size() + SeriesValues::kBlock - 1) / SeriesValues::kBlock;
    bases.reserve(blocks);
    for (std::size_t first = 0; first < scaled.size(); first += SeriesValues::kBlock) {
        const std::size_t last = std::min(first + SeriesValues::kBlock, scaled.size());
        std::int64_t low = std::numeric_limits<std::int64_t>::max();
        std::int64_t high = std::numeric_limits<std::int64_t>::min();
        for (std::size_t i = first; i < last; ++i) {
            if (scaled[i] != kGap) {
                low = std::min<std::int64_t>(low, scaled[i]);
                high = std::max<std::int64_t>(high, scaled[i]);
            }
        }
        if (low > high) {
            bases.push_back(0); // gaps only
            continue;
        }
        if (high - low > 2 * kReach) {
            return false;
        }
        bases.push_back(static_cast<std::int32_t>(low + (high - low) / 2));
    }
    steps.reserve(scaled.size());
    for (std::size_t i = 0; i < scaled.size(); ++i) {
        steps.push_back(scaled[i] == kGap
                            ? kNarrowGap
                            : static_cast<std::int16_t>(std::int64_t{scaled[i]} -
                                                        bases[i / SeriesValues::kBlock]));
    }
    return true;
}

} // namespace

SeriesValues::SeriesValues(std::vector<double> values) {
    if (values.empty()) {
        return;
    }
    values_ = std::make_shared<Storage>();
    auto& s = *values_;
    if (!encode(values, s.scaled, s.decimals)) {
        s.scaled = std::vector<std::int32_t>(); // not = {}: that keeps the room
        s.doubles = std::move(values);
    } else if (narrow(s.scaled, s.narrow, s.bases)) {
        s.scaled = std::vector<std::int32_t>();
    } else {
        s.narrow = std::vector<std::int16_t>();
        s.bases = std::vector<std::int32_t>();
    }
}

double SeriesValues::decode(std::int32_t scaled, int decimals) {
    return scaled == kGap ? std::numeric_limits<double>::quiet_NaN() : scaled / kPowers[decimals];
}

double SeriesValues::decodeNarrow(std::int32_t base, std::int16_t step, int decimals) {
    // The sum is one of the block's integers, so it stays in range.
    return step == kNarrowGap ? std::numeric_limits<double>::quiet_NaN()
                              : (base + step) / kPowers[decimals];
}

double SeriesValues::at(std::size_t i) const {
    if (i >= size()) {
        throw std::out_of_range("series value " + std::to_string(i) + " of " +
                                std::to_string(size()));
    }
    return (*this)[i];
}

bool SeriesValues::sameBits(const SeriesValues& other) const {
    if (sharedWith(other)) {
        return true;
    }
    if (size() != other.size()) {
        return false;
    }
    for (std::size_t i = 0; i < size(); ++i) {
        if (std::bit_cast<std::uint64_t>((*this)[i]) != std::bit_cast<std::uint64_t>(other[i])) {
            return false;
        }
    }
    return true;
}

std::uint64_t SeriesValues::fingerprint() const {
    if (!values_) {
        return 1;
    }
    // Worked out from the numbers as read, not as kept, so equal arrays hash alike. A race
    // between two readers only works it out twice: the result is the same.
    auto known = values_->fingerprint.load(std::memory_order_relaxed);
    if (known == 0) {
        std::uint64_t h = 0xCBF29CE484222325ULL ^ size();
        for (const double value : *this) {
            h = (h ^ std::bit_cast<std::uint64_t>(value)) * 0x100000001B3ULL;
            h ^= h >> 29;
        }
        known = h == 0 ? 1 : h;
        values_->fingerprint.store(known, std::memory_order_relaxed);
    }
    return known;
}

std::size_t SeriesValues::bytesHeld() const {
    return values_ ? values_->doubles.capacity() * sizeof(double) +
                         values_->scaled.capacity() * sizeof(std::int32_t) +
                         values_->narrow.capacity() * sizeof(std::int16_t) +
                         values_->bases.capacity() * sizeof(std::int32_t)
                   : 0;
}

std::vector<double>& SeriesValues::own() {
    // Changed numbers are kept as doubles: changes come from tests and single edits, and the
    // next read of the cells makes a compact array again.
    if (!values_ || values_.use_count() > 1 || values_->doubles.empty()) {
        auto fresh = std::make_shared<Storage>();
        fresh->doubles = toVector();
        values_ = std::move(fresh);
    }
    values_->fingerprint.store(0, std::memory_order_relaxed);
    return values_->doubles;
}

bool operator==(const SeriesValues& a, const SeriesValues& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (!(a[i] == b[i])) {
            return false;
        }
    }
    return true;
}

std::ostream& operator<<(std::ostream& out, const SeriesValues& values) {
    out << '{';
    for (std::size_t i = 0; i < values.size(); ++i) {
        out << (i == 0 ? "" : ", ") << values[i];
    }
    return out << '}';
}

} // namespace kelvor
