#pragma once

#include "host/xlsx/SharedFormulas.h"
#include "host/xlsx/ZipArchive.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace kelvor {

class Worksheet;

// Compresses worksheet parts, keeping the compressed rows of a sheet (by its key) written
// again (the summary's hidden offset sheet gains one column per test, so each of its rows
// is the row written before plus a cell). What changed since the last write is told by the
// sheet's row and column revisions and by its shared formulas: an unchanged row is neither
// made nor compressed again, a row that only gained cells at its end gets them stored behind
// its kept pieces, any other row is made and compressed anew. A sheet seen for the first time is
// compressed as a whole, as usual.
class WorksheetPartCache {
public:
    // What became of the rows of the sheets compressed.
    struct RowWork {
        std::size_t made = 0;     // made and compressed in full
        std::size_t extended = 0; // only the cells gained at their end made
        std::size_t kept = 0;     // taken as they were
        bool operator==(const RowWork&) const = default;
    };

    CompressedPart compress(std::string name, const Worksheet& sheet);
    // Forgets the sheets the writes since the last call did not compress.
    void endWrite();
    // The rows of the writes before the last endWrite.
    const RowWork& lastRowWork() const { return lastWork_; }

private:
    struct Row {
        std::uint32_t number = 0;
        std::uint32_t lastColumn = 0; // of the last cell written
        std::string head;             // the row's start tag as last written
        // The row compressed, and the additions stored behind it since; null while the row
        // was written as part of a whole (or taken over by the next write). Shared with the
        // part written from it.
        std::shared_ptr<DeflateFragment> piece;
        std::uint32_t additions = 0;
    };
    struct Sheet {
        std::uint64_t revision = 0;                         // the sheet's when it was written
        std::vector<std::vector<SharedFormulas::Run>> runs; // by column
        std::vector<Row> rows;                              // in the order written, by number
    };

    struct WholeSink;
    struct PieceSink;

    std::unordered_map<std::uint64_t, Sheet> sheets_; // by sheet key
    std::unordered_map<std::uint64_t, Sheet> written_;
    FragmentCompressor compressor_;
    RowWork work_;
    RowWork lastWork_;
};

} // namespace kelvor
