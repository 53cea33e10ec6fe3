#include "host/xlsx/BlockPartCache.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>

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
    return compress(std::move(name), [&](const PieceSink& piece) { piece(content); });
}

CompressedPart BlockPartCache::compress(std::string name,
                                        const std::function<void(const PieceSink&)>& make) {
    pieces_.clear();
    pending_.clear();
    compressed_ = 0;
    make([this](std::string_view piece) { add(piece); });
    return finish(std::move(name));
}

void BlockPartCache::add(std::string_view piece) {
    if (pending_.empty()) {
        // Whole blocks straight from the piece, without copying them.
        while (piece.size() >= kBlockSize) {
            takeBlock(piece.substr(0, kBlockSize));
            piece.remove_prefix(kBlockSize);
        }
    }
    while (!piece.empty()) {
        const auto taken = std::min(piece.size(), kBlockSize - pending_.size());
        pending_.append(piece.substr(0, taken));
        piece.remove_prefix(taken);
        if (pending_.size() == kBlockSize) {
            takeBlock(pending_);
            pending_.clear();
        }
    }
}

void BlockPartCache::takeBlock(std::string_view text) {
    const std::size_t i = pieces_.size();
    const auto fingerprint = Fingerprint::of(text);
    if (i < blocks_.size() && blocks_[i].fingerprint == fingerprint) {
        pieces_.push_back(blocks_[i].fragment);
        return;
    }
    auto fragment = std::make_shared<const DeflateFragment>(compressFragment(text));
    ++compressed_;
    if (i < blocks_.size()) {
        blocks_[i] = Block{fingerprint, fragment};
    } else {
        blocks_.push_back(Block{fingerprint, fragment});
    }
    pieces_.push_back(std::move(fragment));
}

CompressedPart BlockPartCache::finish(std::string name) {
    if (!pending_.empty()) {
        takeBlock(pending_);
        pending_.clear();
    }
    blocks_.resize(std::min(blocks_.size(), pieces_.size()));
    lastCompressed_ = std::exchange(compressed_, 0);
    return joinFragments(std::move(name), std::exchange(pieces_, {}));
}

} // namespace kelvor
