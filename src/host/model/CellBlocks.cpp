#include "host/model/CellBlocks.h"

#include <algorithm>
#include <new>
#include <utility>

namespace kelvor {

namespace {

// Slabs start small, for the many sheets of a few rows, and double up to a size whose unused
// end costs little beside a thousand-row sheet's cells.
constexpr std::size_t kFirstSlab = 8;
constexpr std::size_t kLargestSlab = 256;

} // namespace

CellBlocks::CellBlocks(CellBlocks&& other) noexcept : classes_(std::exchange(other.classes_, {})) {}

CellBlocks& CellBlocks::operator=(CellBlocks&& other) noexcept {
    classes_ = std::exchange(other.classes_, {});
    return *this;
}

ColumnCell* CellBlocks::allocate(std::uint32_t capacity) {
    capacity = std::max<std::uint32_t>(capacity, 1);
    if (capacity > kSmallest) {
        return static_cast<ColumnCell*>(::operator new(capacity * sizeof(ColumnCell)));
    }
    auto& sizes = classes_[capacity - 1];
    if (sizes.free != nullptr) {
        Free* block = std::exchange(sizes.free, sizes.free->next);
        return reinterpret_cast<ColumnCell*>(block);
    }
    if (sizes.used == sizes.slabSize) {
        sizes.slabSize =
            sizes.slabs.empty() ? kFirstSlab : std::min(sizes.slabSize * 2, kLargestSlab);
        // operator new[] of bytes is aligned for any fundamental type, a cell included.
        sizes.slabs.push_back(std::make_unique_for_overwrite<std::byte[]>(
            sizes.slabSize * capacity * sizeof(ColumnCell)));
        sizes.used = 0;
    }
    std::byte* block = sizes.slabs.back().get() + sizes.used * capacity * sizeof(ColumnCell);
    ++sizes.used;
    return reinterpret_cast<ColumnCell*>(block);
}

void CellBlocks::release(ColumnCell* room, std::uint32_t capacity) noexcept {
    if (room == nullptr) {
        return;
    }
    capacity = std::max<std::uint32_t>(capacity, 1);
    if (capacity > kSmallest) {
        ::operator delete(room);
        return;
    }
    auto& sizes = classes_[capacity - 1];
    sizes.free = ::new (static_cast<void*>(room)) Free{sizes.free};
}

} // namespace kelvor
