#pragma once

#include "host/xlsx/ZipArchive.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace kelvor {

class Worksheet;

// Compresses worksheet parts, keeping the rows of a sheet that is made anew under the same
// name on every export (the summary's hidden offset sheet gains one column per test, so each
// of its rows is the row written before plus a cell): the part is joined from the compressed
// rows kept, the few new cells of each row stored as they are. A row that changed otherwise,
// or has collected many stored additions, is compressed anew. A sheet seen under a name for
// the first time is compressed as a whole, as usual.
class WorksheetPartCache {
public:
    CompressedPart compress(std::string name, const Worksheet& sheet);
    // Forgets the sheets the writes since the last call did not compress.
    void endWrite();

private:
    using Piece = std::shared_ptr<const DeflateFragment>;
    struct Row {
        std::string xml;          // the row as last written, without its closing tag
        std::vector<Piece> chain; // its compressed pieces; none while written as part of a whole
    };
    using Rows = std::unordered_map<std::uint32_t, Row>;

    std::unordered_map<std::string, Rows> sheets_; // by sheet name
    std::unordered_map<std::string, Rows> written_;
    FragmentCompressor compressor_;
};

} // namespace kelvor
