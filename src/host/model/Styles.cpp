#include "host/model/Styles.h"

#include <stdexcept>

namespace kelvor {

Styles::Styles() {
    intern(Style{});
}

StyleId Styles::intern(const Style& style) {
    // The negated test also rejects NaN.
    if (!(style.font.size >= 1.0 && style.font.size <= 409.0)) {
        throw std::invalid_argument("font size must lie between 1 and 409 points");
    }
    if (const auto found = ids_.find(style); found != ids_.end()) {
        return found->second;
    }
    const auto id = static_cast<StyleId>(styles_.size());
    if (id > Cell::kMaxStyle) {
        throw std::length_error("a workbook holds at most 16,384 cell formats");
    }
    styles_.push_back(style);
    ids_.emplace(style, id);
    return id;
}

const Style& Styles::style(StyleId id) const {
    if (id >= styles_.size()) {
        throw std::out_of_range("unknown style id " + std::to_string(id));
    }
    return styles_[id];
}

} // namespace kelvor
