#include "host/model/FormulaTexts.h"

#include <stdexcept>
#include <utility>

namespace kelvor {

FormulaTexts& FormulaTexts::instance() {
    // Never destroyed: formulas in static objects may be let go of after any destructor ran.
    static FormulaTexts* const table = new FormulaTexts; // NOLINT(cppcoreguidelines-owning-memory)
    return *table;
}

FormulaTexts::Id FormulaTexts::add(std::string text) {
    const std::lock_guard lock(mutex_);
    Id id = 0;
    if (!free_.empty()) {
        id = free_.back();
        free_.pop_back();
    } else {
        if (used_ == kChunks * kChunkSize) {
            throw std::length_error("too many different formulas at once");
        }
        const auto chunk = used_ >> kChunkBits;
        if (!owned_[chunk]) {
            owned_[chunk] = std::make_unique<Slot[]>(kChunkSize);
            chunks_[chunk].store(owned_[chunk].get(), std::memory_order_release);
        }
        id = ++used_;
    }
    Slot& s = slot(id);
    s.text = std::move(text);
    s.references.store(1, std::memory_order_relaxed);
    return id;
}

void FormulaTexts::release(Id id) noexcept {
    Slot& s = slot(id);
    if (s.references.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        const std::lock_guard lock(mutex_);
        std::string().swap(s.text);
        // The room of a vector of numbers: if it cannot grow, the number is not used again.
        try {
            free_.push_back(id);
        } catch (...) { // NOLINT(bugprone-empty-catch)
        }
    }
}

} // namespace kelvor
