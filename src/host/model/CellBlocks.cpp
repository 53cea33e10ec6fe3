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
constexpr std::align_val_t kAligned{CellBlocks::kAlignment};
static_assert(sizeof(ColumnCell) % CellBlocks::kAlignment == 0);

} // namespace

void CellBlocks::SlabDelete::operator()(std::byte* slab) const noexcept {
    ::operator delete[](slab, kAligned);
}

CellBlocks::CellBlocks(CellBlocks&& other) noexcept : classes_(std::exchange(other.classes_, {})) {}

CellBlocks& CellBlocks::operator=(CellBlocks&& other) noexcept {
    classes_ = std::exchange(other.classes_, {});
    return *this;
}

ColumnCell* CellBlocks::allocate(std::uint32_t capacity) {
    capacity = std::max<std::uint32_t>(capacity, 1);
    if (capacity > kSmallest) {
        return static_cast<ColumnCell*>(::operator new(capacity * sizeof(ColumnCell), kAligned));
    }
    auto& sizes = classes_[capacity - 1];
    if (sizes.free != nullptr) {
        Free* block = std::exchange(sizes.free, sizes.free->next);
        return reinterpret_cast<ColumnCell*>(block);
    }
    if (sizes.used == sizes.slabSize) {
        sizes.slabSize =
            sizes.slabs.empty() ? kFirstSlab : std::min(sizes.slabSize * 2, kLargestSlab);
        const std::size_t bytes = sizes.slabSize * capacity * sizeof(ColumnCell);
        std::unique_ptr<std::byte[], SlabDelete> slab(
            static_cast<std::byte*>(::operator new[](bytes, kAligned)));
        sizes.slabs.push_back(std::move(slab));
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
        ::operator delete(room, kAligned);
        return;
    }
    auto& sizes = classes_[capacity - 1];
    sizes.free = ::new (static_cast<void*>(room)) Free{sizes.free};
}

} // namespace kelvor
