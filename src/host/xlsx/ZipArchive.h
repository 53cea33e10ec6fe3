#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct z_stream_s;

namespace kelvor {

// A piece of a part's deflate stream that stands on its own: compressed without reference to
// what comes before it and ending on a byte boundary, so that pieces kept from earlier writes
// can be joined with new ones without compressing them again.
struct DeflateFragment {
    std::vector<unsigned char> data;
    std::uint32_t crc = 0;
    std::uint64_t size = 0; // before compression
};

// Kept by a cache and written by the parts joined from it; what a part holds stays as it was.
using SharedFragment = std::shared_ptr<const DeflateFragment>;

// One file of a zip archive, already deflated, so that it can be kept and written again
// without compressing it a second time.
struct CompressedPart {
    std::string name;
    // The raw deflate stream: the fragments' bytes in order, then `data`. A part joined from
    // fragments shares them with the cache that keeps them instead of copying them.
    std::vector<SharedFragment> fragments;
    std::vector<unsigned char> data;
    std::uint32_t crc = 0;
    std::uint64_t size = 0; // before compression
    // Set once the bytes were let go of: where the part's whole entry (local header and data)
    // lies in the archive written last, to be copied from there. Fragments and data are empty.
    struct Stored {
        std::uint64_t entry = 0;      // offset of the local header
        std::uint64_t compressed = 0; // bytes of deflate data behind the header
    };
    std::optional<Stored> stored;
    std::uint64_t compressedSize() const;
    // The bytes of its entry in an archive: local header and data.
    std::uint64_t entrySize() const;
    // The bytes of its line in the archive's directory.
    std::uint64_t directoryLineSize() const;
};

// Throws XlsxError when the content is too large for a plain zip archive.
CompressedPart compressPart(std::string name, std::string_view content);

DeflateFragment compressFragment(std::string_view content);

// The content as stored (uncompressed) blocks: for a few bytes, cheaper than compressing.
DeflateFragment storeFragment(std::string_view content);

// Puts `more` behind `fragment`: one fragment with the content of both.
void appendFragment(DeflateFragment& fragment, const DeflateFragment& more);

// Compresses many fragments with one compression state, set up once; its smaller tables suit
// fragments of some kilobytes.
class FragmentCompressor {
public:
    FragmentCompressor();
    ~FragmentCompressor();
    FragmentCompressor(const FragmentCompressor&) = delete;
    FragmentCompressor& operator=(const FragmentCompressor&) = delete;

    DeflateFragment compress(std::string_view content);

private:
    std::unique_ptr<z_stream_s> stream_;
};

// The part whose content is that of the fragments in order. Throws XlsxError when it is too
// large for a plain zip archive.
CompressedPart joinFragments(std::string name, std::vector<SharedFragment> pieces);

// Takes the archive's bytes in order; throws when they cannot be kept.
using ZipSink = std::function<void(std::string_view bytes)>;

// Takes `size` bytes from `offset` of the archive written last: a stored part's entry.
using ZipCopy = std::function<void(std::uint64_t offset, std::uint64_t size)>;

// Writes a zip archive holding the parts in the given order, stored ones through `copy`, and
// gives where each part's entry begins in it. Throws XlsxError when the archive would need the
// zip64 extensions (4 GiB, 65535 entries); what the sink or the copy throws passes through.
std::vector<std::uint64_t> writeZip(const ZipSink& sink, const ZipCopy& copy,
                                    const std::vector<const CompressedPart*>& parts);
// The same for parts that hold their bytes.
void writeZip(const ZipSink& sink, const std::vector<const CompressedPart*>& parts);

// Grows the archive written last, which is `end` bytes long, in place: the parts that hold
// their bytes are written behind it, then a directory of every part; stored parts stay where
// they lie. The old directory and the entries no part names any more stay behind as unused
// bytes. Gives where each part's entry begins; throws as writeZip does.
std::vector<std::uint64_t> appendZip(const ZipSink& sink, std::uint64_t end,
                                     const std::vector<const CompressedPart*>& parts);

// Whether the file ends with a whole archive's end record, whose directory lies right before
// it: false for a file cut off or torn while it grew.
bool zipFileEndsWhole(const std::filesystem::path& path);

} // namespace kelvor
