#include "host/xlsx/ZipArchive.h"

#include "host/xlsx/XlsxError.h"

#include <algorithm>
#include <fstream>
#include <limits>
#include <zlib.h>

namespace kelvor {

namespace {

constexpr std::uint64_t kZip32Limit = std::numeric_limits<std::uint32_t>::max();
constexpr std::uint64_t kEndRecordSize = 22;
// A part's line in the directory, its name aside.
constexpr std::uint64_t kDirectoryLineSize = 46;
// The directory is handed to the sink in pieces of about this size.
constexpr std::size_t kDirectoryPiece = 64 * 1024;
// The fastest level already shrinks sheet XML fourfold; level 6 saves a sixth more in twice the
// time.
constexpr int kCompressionLevel = 1;
// 1980-01-01 00:00, the earliest zip time: the archive's bytes depend on its content only.
constexpr std::uint16_t kDosDate = (0 << 9) | (1 << 5) | 1;
constexpr std::uint16_t kDosTime = 0;
// Signature, the common fields and the extra field length before the name.
constexpr std::uint64_t kLocalHeaderSize = 30;

class LittleEndian {
public:
    void u16(std::uint32_t v) {
        const char b[2] = {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
        bytes_.append(b, 2);
    }
    void u32(std::uint64_t v) {
        const char b[4] = {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
                           static_cast<char>((v >> 16) & 0xFF),
                           static_cast<char>((v >> 24) & 0xFF)};
        bytes_.append(b, 4);
    }
    void text(std::string_view s) { bytes_.append(s); }
    const std::string& bytes() const { return bytes_; }
    void clear() { bytes_.clear(); }

private:
    std::string bytes_;
};

// The fields local and central headers share, from "version needed" to the name length.
void commonFields(LittleEndian& out, const CompressedPart& part) {
    out.u16(20); // version needed: deflate
    out.u16(0);  // flags: sizes known up front, ASCII names
    out.u16(8);  // deflate
    out.u16(kDosTime);
    out.u16(kDosDate);
    out.u32(part.crc);
    out.u32(part.compressedSize());
    out.u32(part.size);
    out.u16(static_cast<std::uint32_t>(part.name.size()));
}

std::string_view bytesOf(const std::vector<unsigned char>& data) {
    return {reinterpret_cast<const char*>(data.data()), data.size()};
}

} // namespace

CompressedPart compressPart(std::string name, std::string_view content) {
    if (content.size() >= kZip32Limit) {
        throw XlsxError("workbook part " + name + " is too large to store");
    }
    CompressedPart part;
    part.name = std::move(name);
    part.size = content.size();
    const auto* input = reinterpret_cast<const Bytef*>(content.data());
    const auto inputSize = static_cast<uInt>(content.size());
    part.crc = static_cast<std::uint32_t>(crc32(crc32(0L, Z_NULL, 0), input, inputSize));

    z_stream stream{};
    // Negative window bits: a raw stream without zlib header, as zip archives hold it.
    if (deflateInit2(&stream, kCompressionLevel, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) !=
        Z_OK) {
        throw XlsxError("cannot start compression");
    }
    part.data.resize(deflateBound(&stream, inputSize));
    stream.next_in = const_cast<Bytef*>(input);
    stream.avail_in = inputSize;
    stream.next_out = part.data.data();
    stream.avail_out = static_cast<uInt>(part.data.size());
    const int result = deflate(&stream, Z_FINISH);
    const auto written = stream.total_out;
    deflateEnd(&stream);
    if (result != Z_STREAM_END) {
        throw XlsxError("compression of " + part.name + " failed");
    }
    part.data.resize(written);
    part.data.shrink_to_fit();
    return part;
}

namespace {

// Deflates the content with the stream, ending on a byte boundary with no block marked as the
// last (a full flush).
DeflateFragment deflateFragment(z_stream& stream, std::string_view content) {
    if (content.size() >= kZip32Limit) {
        throw XlsxError("a workbook part is too large to store");
    }
    DeflateFragment fragment;
    fragment.size = content.size();
    const auto* input = reinterpret_cast<const Bytef*>(content.data());
    const auto inputSize = static_cast<uInt>(content.size());
    fragment.crc = static_cast<std::uint32_t>(crc32(crc32(0L, Z_NULL, 0), input, inputSize));
    if (content.empty()) {
        return fragment;
    }
    fragment.data.resize(deflateBound(&stream, inputSize) + 16);
    stream.next_in = const_cast<Bytef*>(input);
    stream.avail_in = inputSize;
    stream.next_out = fragment.data.data();
    stream.avail_out = static_cast<uInt>(fragment.data.size());
    const auto before = stream.total_out;
    const int result = deflate(&stream, Z_FULL_FLUSH);
    if (result != Z_OK || stream.avail_in != 0 || stream.avail_out == 0) {
        throw XlsxError("compression of a workbook part failed");
    }
    fragment.data.resize(stream.total_out - before);
    fragment.data.shrink_to_fit();
    return fragment;
}

} // namespace

DeflateFragment compressFragment(std::string_view content) {
    z_stream stream{};
    if (deflateInit2(&stream, kCompressionLevel, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) !=
        Z_OK) {
        throw XlsxError("cannot start compression");
    }
    try {
        auto fragment = deflateFragment(stream, content);
        deflateEnd(&stream);
        return fragment;
    } catch (...) {
        deflateEnd(&stream);
        throw;
    }
}

DeflateFragment storeFragment(std::string_view content) {
    if (content.size() >= kZip32Limit) {
        throw XlsxError("a workbook part is too large to store");
    }
    DeflateFragment fragment;
    fragment.size = content.size();
    fragment.crc = static_cast<std::uint32_t>(crc32(crc32(0L, Z_NULL, 0),
                                                    reinterpret_cast<const Bytef*>(content.data()),
                                                    static_cast<uInt>(content.size())));
    constexpr std::size_t kMaxBlock = 0xFFFF;
    for (std::size_t at = 0; at < content.size(); at += kMaxBlock) {
        const auto length = std::min(kMaxBlock, content.size() - at);
        // A stored block not marked as the last: its header bits fill the first byte.
        fragment.data.push_back(0x00);
        fragment.data.push_back(static_cast<unsigned char>(length & 0xFF));
        fragment.data.push_back(static_cast<unsigned char>(length >> 8));
        fragment.data.push_back(static_cast<unsigned char>(~length & 0xFF));
        fragment.data.push_back(static_cast<unsigned char>((~length >> 8) & 0xFF));
        fragment.data.insert(fragment.data.end(), content.begin() + static_cast<std::ptrdiff_t>(at),
                             content.begin() + static_cast<std::ptrdiff_t>(at + length));
    }
    return fragment;
}

FragmentCompressor::FragmentCompressor() : stream_(std::make_unique<z_stream>()) {
    // Memory level 6: a hash table a quarter of the default, cheap to clear for each fragment.
    if (deflateInit2(stream_.get(), kCompressionLevel, Z_DEFLATED, -MAX_WBITS, 6,
                     Z_DEFAULT_STRATEGY) != Z_OK) {
        throw XlsxError("cannot start compression");
    }
}

FragmentCompressor::~FragmentCompressor() {
    deflateEnd(stream_.get());
}

DeflateFragment FragmentCompressor::compress(std::string_view content) {
    if (deflateReset(stream_.get()) != Z_OK) {
        throw XlsxError("cannot start compression");
    }
    return deflateFragment(*stream_, content);
}

void appendFragment(DeflateFragment& fragment, const DeflateFragment& more) {
    if (fragment.size + more.size >= kZip32Limit) {
        throw XlsxError("a workbook part is too large to store");
    }
    // Rows of the offset sheet gain a small addition at each write and are kept for many:
    // room grown by an eighth, not doubled, is what they hold.
    const auto need = fragment.data.size() + more.data.size();
    if (need > fragment.data.capacity()) {
        fragment.data.reserve(need + need / 8);
    }
    fragment.data.insert(fragment.data.end(), more.data.begin(), more.data.end());
    fragment.crc = static_cast<std::uint32_t>(
        crc32_combine(fragment.crc, more.crc, static_cast<z_off_t>(more.size)));
    fragment.size += more.size;
}

std::uint64_t CompressedPart::compressedSize() const {
    if (stored) {
        return stored->compressed;
    }
    std::uint64_t bytes = data.size();
    for (const auto& fragment : fragments) {
        bytes += fragment->data.size();
    }
    return bytes;
}

std::uint64_t CompressedPart::entrySize() const {
    return kLocalHeaderSize + name.size() + compressedSize();
}

std::uint64_t CompressedPart::directoryLineSize() const {
    return kDirectoryLineSize + name.size();
}

CompressedPart joinFragments(std::string name, std::vector<SharedFragment> pieces) {
    CompressedPart part;
    part.name = std::move(name);
    part.crc = static_cast<std::uint32_t>(crc32(0L, Z_NULL, 0));
    for (const auto& piece : pieces) {
        part.crc = static_cast<std::uint32_t>(
            crc32_combine(part.crc, piece->crc, static_cast<z_off_t>(piece->size)));
        part.size += piece->size;
    }
    if (part.size >= kZip32Limit) {
        throw XlsxError("workbook part " + part.name + " is too large to store");
    }
    part.fragments = std::move(pieces);
    // An empty block of fixed codes marked as the last ends the stream.
    part.data = {0x03, 0x00};
    return part;
}

namespace {

// Writes the entries of the parts that hold their bytes from `base` on, and a directory of
// every part: stored parts are copied through `copy` or, without one, left where they lie.
std::vector<std::uint64_t> writeEntries(const ZipSink& sink, const ZipCopy* copy,
                                        std::uint64_t base,
                                        const std::vector<const CompressedPart*>& parts) {
    if (parts.size() >= 0xFFFF) {
        throw XlsxError("the workbook has too many parts to store");
    }
    std::uint64_t offset = base;
    std::vector<std::uint64_t> entries;
    entries.reserve(parts.size());
    std::uint64_t directorySize = 0;
    for (const auto* part : parts) {
        if (offset >= kZip32Limit) {
            throw XlsxError("the workbook is too large to store");
        }
        const bool inPlace = part->stored && !copy;
        entries.push_back(inPlace ? part->stored->entry : offset);
        directorySize += part->directoryLineSize();
        if (inPlace) {
            continue; // named by the directory where it lies
        }
        if (part->stored) {
            // Its local header is what the lines below would make: the same name and fields.
            (*copy)(part->stored->entry, part->entrySize());
        } else {
            LittleEndian local;
            local.u32(0x04034b50);
            commonFields(local, *part);
            local.u16(0); // extra field length
            local.text(part->name);
            sink(local.bytes());
            for (const auto& fragment : part->fragments) {
                sink(bytesOf(fragment->data));
            }
            sink(bytesOf(part->data));
        }
        offset += part->entrySize();
    }
    if (offset + directorySize >= kZip32Limit) {
        throw XlsxError("the workbook is too large to store");
    }
    // Handed on in pieces: a workbook of thousands of sheets has a directory of megabytes.
    LittleEndian directory;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const auto* part = parts[i];
        directory.u32(0x02014b50);
        directory.u16(20); // made by: MS-DOS compatible, zip 2.0
        commonFields(directory, *part);
        directory.u16(0); // extra field length
        directory.u16(0); // comment length
        directory.u16(0); // disk number
        directory.u16(0); // internal attributes
        directory.u32(0); // external attributes
        directory.u32(entries[i]);
        directory.text(part->name);
        if (directory.bytes().size() >= kDirectoryPiece) {
            sink(directory.bytes());
            directory.clear();
        }
    }
    if (!directory.bytes().empty()) {
        sink(directory.bytes());
    }
    LittleEndian end;
    end.u32(0x06054b50);
    end.u16(0); // this disk
    end.u16(0); // disk with the directory
    end.u16(static_cast<std::uint32_t>(parts.size()));
    end.u16(static_cast<std::uint32_t>(parts.size()));
    end.u32(directorySize);
    end.u32(offset);
    end.u16(0); // comment length
    sink(end.bytes());
    return entries;
}

} // namespace

std::vector<std::uint64_t> writeZip(const ZipSink& sink, const ZipCopy& copy,
                                    const std::vector<const CompressedPart*>& parts) {
    return writeEntries(sink, &copy, 0, parts);
}

std::vector<std::uint64_t> appendZip(const ZipSink& sink, std::uint64_t end,
                                     const std::vector<const CompressedPart*>& parts) {
    return writeEntries(sink, nullptr, end, parts);
}

void writeZip(const ZipSink& sink, const std::vector<const CompressedPart*>& parts) {
    writeZip(
        sink,
        [](std::uint64_t, std::uint64_t) {
            throw XlsxError("a workbook part is no longer at hand to write");
        },
        parts);
}

bool zipFileEndsWhole(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    const auto size = static_cast<std::uint64_t>(std::max<std::streamoff>(file.tellg(), 0));
    if (!file || size < kEndRecordSize) {
        return false;
    }
    unsigned char end[kEndRecordSize];
    file.seekg(static_cast<std::streamoff>(size - kEndRecordSize));
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): bytes as characters
    if (!file.read(reinterpret_cast<char*>(end), kEndRecordSize)) {
        return false;
    }
    const auto u16 = [](const unsigned char* at) { return std::uint32_t{at[0]} | at[1] << 8U; };
    const auto u32 = [&](const unsigned char* at) { return u16(at) | u16(at + 2) << 16U; };
    const std::uint64_t directorySize = u32(end + 12);
    const std::uint64_t directory = u32(end + 16);
    if (u32(end) != 0x06054b50 || u16(end + 20) != 0 ||
        directory + directorySize + kEndRecordSize != size) {
        return false;
    }
    if (directorySize == 0) {
        return u16(end + 10) == 0;
    }
    unsigned char first[4];
    file.seekg(static_cast<std::streamoff>(directory));
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): bytes as characters
    return file.read(reinterpret_cast<char*>(first), 4) && u32(first) == 0x02014b50;
}

} // namespace kelvor
