// The package reader of the tests where libzip is not at hand (the Windows build): the zip
// container read by code of its own, apart from the writer's, with zlib only for inflating.
// xmlError is in XmlCheck.cpp.
#include "XlsxPackage.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <vector>

namespace kelvor::test {

namespace {

class Bytes {
public:
    explicit Bytes(std::string data) : data_(std::move(data)) {}

    bool has(std::size_t at, std::size_t count) const {
        return at <= data_.size() && count <= data_.size() - at;
    }
    std::uint32_t u16(std::size_t at) const { return byte(at) | byte(at + 1) << 8; }
    std::uint32_t u32(std::size_t at) const { return u16(at) | u16(at + 2) << 16; }
    std::string text(std::size_t at, std::size_t count) const { return data_.substr(at, count); }
    std::size_t size() const { return data_.size(); }

private:
    std::uint32_t byte(std::size_t at) const { return static_cast<unsigned char>(data_[at]); }
    std::string data_;
};

std::optional<std::string> inflateRaw(const std::string& compressed, std::size_t size,
                                      const std::string& name) {
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) {
        ADD_FAILURE() << "cannot start inflating " << name;
        return std::nullopt;
    }
    std::string content(size + 1, '\0'); // one byte more: a longer stream shows
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
    stream.avail_in = static_cast<uInt>(compressed.size());
    stream.next_out = reinterpret_cast<Bytef*>(content.data());
    stream.avail_out = static_cast<uInt>(content.size());
    const int status = inflate(&stream, Z_FINISH);
    const auto in = stream.total_in;
    const auto out = stream.total_out;
    inflateEnd(&stream);
    if (status != Z_STREAM_END || in != compressed.size() || out != size) {
        ADD_FAILURE() << name << ": the deflate stream does not hold " << size
                      << " bytes in its stored length (zlib " << status << ", " << in << " in, "
                      << out << " out)";
        return std::nullopt;
    }
    content.resize(size);
    return content;
}

} // namespace

std::map<std::string, PackageEntry> readPackage(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        ADD_FAILURE() << "cannot open " << path;
        return {};
    }
    const Bytes zip(std::string(std::istreambuf_iterator<char>(in), {}));
    // The end record: the last 22 bytes when there is no archive comment, as we write none.
    const std::size_t end = zip.size() < 22 ? 0 : zip.size() - 22;
    if (zip.size() < 22 || zip.u32(end) != 0x06054b50) {
        ADD_FAILURE() << path << " has no zip end record at its end";
        return {};
    }
    const auto count = zip.u16(end + 10);
    const std::size_t directorySize = zip.u32(end + 12);
    std::size_t at = zip.u32(end + 16);
    EXPECT_EQ(zip.u16(end + 8), count) << "entries on this disk and in all";
    EXPECT_EQ(at + directorySize, end) << "the directory ends where the end record starts";

    std::map<std::string, PackageEntry> entries;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (!zip.has(at, 46) || zip.u32(at) != 0x02014b50) {
            ADD_FAILURE() << "directory entry " << i << " is not where it should be";
            return entries;
        }
        const auto method = zip.u16(at + 10);
        const auto crc = zip.u32(at + 16);
        const std::size_t compressedSize = zip.u32(at + 20);
        const std::size_t size = zip.u32(at + 24);
        const std::size_t nameLength = zip.u16(at + 28);
        const std::size_t local = zip.u32(at + 42);
        const auto name = zip.text(at + 46, nameLength);
        at += 46 + nameLength + zip.u16(at + 30) + zip.u16(at + 32);

        if (!zip.has(local, 30) || zip.u32(local) != 0x04034b50) {
            ADD_FAILURE() << name << ": no local header at " << local;
            continue;
        }
        // The local header repeats the directory's fields (no data descriptors are written).
        EXPECT_EQ(zip.u16(local + 8), method) << name;
        EXPECT_EQ(zip.u32(local + 14), crc) << name;
        EXPECT_EQ(zip.u32(local + 18), compressedSize) << name;
        EXPECT_EQ(zip.u32(local + 22), size) << name;
        const std::size_t localName = zip.u16(local + 26);
        EXPECT_EQ(zip.text(local + 30, localName), name) << "local name";
        const auto data = local + 30 + localName + zip.u16(local + 28);
        if (!zip.has(data, compressedSize)) {
            ADD_FAILURE() << name << ": its data runs past the archive";
            continue;
        }
        EXPECT_EQ(method, 8U) << name;
        EXPECT_EQ(entries.count(name), 0U) << "duplicate entry " << name;
        auto compressed = zip.text(data, compressedSize);
        auto content = inflateRaw(compressed, size, name);
        if (!content) {
            continue;
        }
        const auto actual = crc32(0L, reinterpret_cast<const Bytef*>(content->data()),
                                  static_cast<uInt>(content->size()));
        EXPECT_EQ(actual, crc) << name << ": CRC";
        entries[name] = {std::move(*content), std::move(compressed)};
    }
    return entries;
}

} // namespace kelvor::test
