#include "host/xlsx/BlockPartCache.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace kelvor {

BlockPartCache::Fingerprint BlockPartCache::Fingerprint::of(std::string_view text) {
    // Each step is a bijection of the state for a given word, so one changed word always
    // changes the result.
    const auto mix = [](std::uint64_t state, std::uint64_t word, std::uint64_t factor) {
        state = (state ^ word) * factor;
        return state ^ (state >> 31);
    };
    Fingerprint f{0x9E3779B97F4A7C15ULL, 0xC2B2AE3D27D4EB4FULL, text.size()};
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        f.first = mix(f.first, word, 0x100000001B3ULL);
        f.second = mix(f.second, word, 0xFF51AFD7ED558CCDULL);
    }
    std::uint64_t last = 0;
    std::memcpy(&last, text.data() + i, text.size() - i);
    f.first = mix(f.first, last, 0x100000001B3ULL);
    f.second = mix(f.second, last, 0xFF51AFD7ED558CCDULL);
    return f;
}

CompressedPart BlockPartCache::compress(std::string name, std::string_view content) {
    const std::size_t count = (content.size() + kBlockSize - 1) / kBlockSize;
    lastCompressed_ = 0;
    std::vector<SharedFragment> pieces;
    pieces.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const auto text = content.substr(i * kBlockSize, kBlockSize);
        const auto fingerprint = Fingerprint::of(text);
        if (i < blocks_.size() && blocks_[i].fingerprint == fingerprint) {
            pieces.push_back(blocks_[i].fragment);
            continue;
        }
        auto fragment = std::make_shared<const DeflateFragment>(compressFragment(text));
        ++lastCompressed_;
        if (i < blocks_.size()) {
            blocks_[i] = Block{fingerprint, fragment};
        } else {
            blocks_.push_back(Block{fingerprint, fragment});
        }
        pieces.push_back(std::move(fragment));
    }
    blocks_.resize(std::min(blocks_.size(), count));
    return joinFragments(std::move(name), std::move(pieces));
}

} // namespace kelvor
