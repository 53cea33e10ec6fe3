#pragma once

#include "host/model/Cell.h"

#include <cstddef>
#include <cstdint>
#include <tuple>

namespace kelvor {

// A cell with its column, 16 bytes: the column (at most 16,384) lies in the cell's tail
// padding. A sheet of numbers holds one per number, so the 8 bytes a separate column field
// would add are half the sheet. Binds as [column, cell].
struct ColumnCell {
    [[no_unique_address]] Cell cell;
    std::uint16_t column = 0;

    template <std::size_t I> decltype(auto) get() const {
        if constexpr (I == 0) {
            return std::uint32_t{column};
        } else {
            return (cell);
        }
    }
    template <std::size_t I> decltype(auto) get() {
        if constexpr (I == 0) {
            return std::uint32_t{column};
        } else {
            return (cell);
        }
    }
};

static_assert(sizeof(ColumnCell) <= 16);

} // namespace kelvor

template <> struct std::tuple_size<kelvor::ColumnCell> : std::integral_constant<std::size_t, 2> {};
template <> struct std::tuple_element<0, kelvor::ColumnCell> { using type = std::uint32_t; };
template <> struct std::tuple_element<1, kelvor::ColumnCell> { using type = kelvor::Cell; };
