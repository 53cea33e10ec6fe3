#pragma once

#include "host/xlsx/ZipArchive.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvor {

// Compresses a part that is made again at every write but mostly keeps its beginning: the
// content types and the workbook's sheet list, which name every sheet of a workbook of
// thousands and change at their end, where new sheets and the summary go. The content is
// compressed in blocks of a fixed size; a block whose text equals the one kept at its place
// is taken over as it was compressed. A kept block is known by a fingerprint of its text, not
// the text: these parts grow by a kilobyte a test.
class BlockPartCache {
public:
    CompressedPart compress(std::string name, std::string_view content);
    // The same with the content made piece by piece, each handed to `piece` as it is made, so
    // that it is never held whole: it names every part of a workbook of thousands of sheets.
    using PieceSink = std::function<void(std::string_view)>;
    CompressedPart compress(std::string name, const std::function<void(const PieceSink&)>& make);

    // Blocks the last call compressed anew, for tests.
    std::size_t lastCompressed() const { return lastCompressed_; }

    static constexpr std::size_t kBlockSize = 32 * 1024;

private:
    // Two independent 64-bit hashes of the text, and its size. Texts that differ in one word of
    // 8 bytes never share one; any others as rarely as two random 128-bit numbers.
    struct Fingerprint {
        std::uint64_t first = 0;
        std::uint64_t second = 0;
        std::size_t size = 0;
        bool operator==(const Fingerprint&) const = default;
        static Fingerprint of(std::string_view text);
    };
    struct Block {
        Fingerprint fingerprint;
        SharedFragment fragment;
    };
    void add(std::string_view piece);
    void takeBlock(std::string_view text);
    CompressedPart finish(std::string name);

    std::vector<Block> blocks_;
    std::size_t lastCompressed_ = 0;
    // Of the content being handed over: its blocks so far and the text past the last one.
    std::vector<SharedFragment> pieces_;
    std::string pending_;
    std::size_t compressed_ = 0;
};

} // namespace kelvor
