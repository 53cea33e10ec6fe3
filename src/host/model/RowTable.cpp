#include "host/model/RowTable.h"

#include <algorithm>
#include <stdexcept>

namespace kelvor {

RowTable::const_iterator RowTable::lower_bound(std::uint32_t row) const {
    return std::lower_bound(rows_.begin(), rows_.end(), row,
                            [](const value_type& r, std::uint32_t n) { return r.first < n; });
}

RowTable::const_iterator RowTable::find(std::uint32_t row) const {
    const auto found = lower_bound(row);
    return found != end() && found->first == row ? found : end();
}

const Row& RowTable::at(std::uint32_t row) const {
    const auto found = find(row);
    if (found == end()) {
        throw std::out_of_range("the row holds no cells");
    }
    return found->second;
}

RowTable::iterator RowTable::insert(const_iterator at, std::uint32_t row) {
    return rows_.insert(at, value_type{row, Row{}});
}

} // namespace kelvor
