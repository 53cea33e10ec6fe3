#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kelvor {

class Worksheet;

// Runs of cells down a column holding the same R1C1 formula, as a filled range leaves them:
// the package stores such a run as one shared formula, written out once at its top cell
// instead of converted and written again for each cell.
class SharedFormulas {
public:
    struct Run {
        std::uint32_t firstRow;
        std::uint32_t lastRow;
        std::uint32_t index; // si
        bool operator==(const Run&) const = default;
    };

    explicit SharedFormulas(const Worksheet& sheet);

    // The run holding the cell, if any. Cells must be asked for top down in each column.
    const Run* find(std::uint32_t row, std::uint32_t column);

    // The runs of a column, top down; empty past the last column holding one.
    const std::vector<Run>& runs(std::uint32_t column) const;
    std::uint32_t columnCount() const { return static_cast<std::uint32_t>(columns_.size()); }

private:
    struct Column {
        std::vector<Run> runs;
        std::size_t next = 0;
    };

    std::vector<Column> columns_;
    std::uint32_t count_ = 0;
};

struct RowStretch {
    std::uint32_t firstRow;
    std::uint32_t lastRow;
};

// The rows of one column whose cells are written differently under the runs `after` than
// under `before` (another run, another si, or a top cell whose range changed).
std::vector<RowStretch> changedRows(const std::vector<SharedFormulas::Run>& before,
                                    const std::vector<SharedFormulas::Run>& after);

} // namespace kelvor
