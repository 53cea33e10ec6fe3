#include "host/xlsx/BlockPartCache.h"

#include <algorithm>
#include <memory>

namespace kelvor {

CompressedPart BlockPartCache::compress(std::string name, std::string_view content) {
    const std::size_t count = (content.size() + kBlockSize - 1) / kBlockSize;
    lastCompressed_ = 0;
    std::vector<SharedFragment> pieces;
    pieces.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const auto text = content.substr(i * kBlockSize, kBlockSize);
        if (i < blocks_.size() && blocks_[i].text == text) {
            pieces.push_back(blocks_[i].fragment);
            continue;
        }
        auto fragment = std::make_shared<const DeflateFragment>(compressFragment(text));
        ++lastCompressed_;
        if (i < blocks_.size()) {
            blocks_[i] = Block{std::string(text), fragment};
        } else {
            blocks_.push_back(Block{std::string(text), fragment});
        }
        pieces.push_back(std::move(fragment));
    }
    blocks_.resize(std::min(blocks_.size(), count));
    return joinFragments(std::move(name), std::move(pieces));
}

} // namespace kelvor
