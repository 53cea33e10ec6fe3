#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class QIODevice;

namespace kelvor {

// One file of a zip archive, already deflated, so that it can be kept and written again
// without compressing it a second time.
struct CompressedPart {
    std::string name;
    std::vector<unsigned char> data; // raw deflate stream
    std::uint32_t crc = 0;
    std::uint64_t size = 0; // before compression
};

// Throws XlsxError when the content is too large for a plain zip archive.
CompressedPart compressPart(std::string name, std::string_view content);

// Writes a zip archive holding the parts in the given order. Throws XlsxError when the device
// fails or the archive would need the zip64 extensions (4 GiB, 65535 entries).
void writeZip(QIODevice& device, const std::vector<const CompressedPart*>& parts);

} // namespace kelvor
