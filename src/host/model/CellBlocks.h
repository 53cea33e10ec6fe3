#pragma once

#include "host/model/ColumnCell.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace kelvor {

// Room for the cells of a sheet's rows. Most rows hold one to four cells (a report's data
// rows two numbers): their room is cut from the sheet's own slabs, without the heap's
// bookkeeping per row, and room given back is used again for rows of that size. Longer rows
// get theirs from the heap. Room is raw: its owner constructs and destroys the cells in it.
// Slabs stay where they are until the blocks are destroyed, so cells do not move when other
// rows come or go.
class CellBlocks {
public:
    static constexpr std::uint32_t kSmallest = 4; // rows of up to this many cells share slabs
    // Room is aligned to a cell, so that the low bits of its address are free for the row.
    static constexpr std::size_t kAlignment = 16;

    CellBlocks() = default;
    CellBlocks(const CellBlocks&) = delete;
    CellBlocks& operator=(const CellBlocks&) = delete;
    CellBlocks(CellBlocks&& other) noexcept;
    CellBlocks& operator=(CellBlocks&& other) noexcept;
    ~CellBlocks() = default;

    // Room for `capacity` cells (at least one); throws std::bad_alloc.
    ColumnCell* allocate(std::uint32_t capacity);
    // Gives back room of `allocate(capacity)`, its cells destroyed already.
    void release(ColumnCell* room, std::uint32_t capacity) noexcept;

private:
    struct Free {
        Free* next;
    };
    struct SlabDelete {
        void operator()(std::byte* slab) const noexcept;
    };
    struct SizeClass {
        std::vector<std::unique_ptr<std::byte[], SlabDelete>> slabs;
        std::size_t used = 0;     // blocks handed out of the last slab
        std::size_t slabSize = 0; // blocks the last slab holds
        Free* free = nullptr;     // blocks given back, in the slabs above
    };

    std::array<SizeClass, kSmallest> classes_;
};

} // namespace kelvor
