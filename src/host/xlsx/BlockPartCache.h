#pragma once

#include "host/xlsx/ZipArchive.h"

#include <string>
#include <string_view>
#include <vector>

namespace kelvor {

// Compresses a part that is made again at every write but mostly keeps its beginning: the
// content types and the workbook's sheet list, which name every sheet of a workbook of
// thousands and change at their end, where new sheets and the summary go. The content is
// compressed in blocks of a fixed size; a block whose text equals the one kept at its place
// is taken over as it was compressed.
class BlockPartCache {
public:
    CompressedPart compress(std::string name, std::string_view content);

    // Blocks the last call compressed anew, for tests.
    std::size_t lastCompressed() const { return lastCompressed_; }

    static constexpr std::size_t kBlockSize = 32 * 1024;

private:
    struct Block {
        std::string text;
        SharedFragment fragment;
    };
    std::vector<Block> blocks_;
    std::size_t lastCompressed_ = 0;
};

} // namespace kelvor
