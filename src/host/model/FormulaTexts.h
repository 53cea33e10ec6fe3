#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace kelvor {

// The texts of all formulas, each held once for every cell that shares it, by a 32-bit number:
// a formula handle that fits beside a cell's style leaves a cell 24 bytes. Numbers of texts no
// cell holds any more are given out again. Safe to use from several threads; reading a text
// takes no lock.
class FormulaTexts {
public:
    using Id = std::uint32_t; // 0 for no text

    // The one table of the process. It is never destroyed, so that formulas held by objects
    // destroyed at exit stay valid to their end.
    static FormulaTexts& instance();

    // A new number for a non-empty text, counted once; throws std::length_error when the
    // table is full.
    Id add(std::string text);
    void hold(Id id) noexcept { slot(id).references.fetch_add(1, std::memory_order_relaxed); }
    // The text goes when its last holder lets go of it.
    void release(Id id) noexcept;
    const std::string& text(Id id) const noexcept { return slot(id).text; }

    FormulaTexts(const FormulaTexts&) = delete;
    FormulaTexts& operator=(const FormulaTexts&) = delete;

private:
    FormulaTexts() = default;
    ~FormulaTexts() = default;

    static constexpr std::uint32_t kChunkBits = 12;
    static constexpr std::uint32_t kChunkSize = 1U << kChunkBits;
    static constexpr std::uint32_t kChunks = 4096; // 16 million texts at once

    struct Slot {
        std::atomic<std::uint32_t> references{0};
        std::string text;
    };

    Slot& slot(Id id) const noexcept {
        const auto index = id - 1;
        return chunks_[index >> kChunkBits].load(
            std::memory_order_acquire)[index & (kChunkSize - 1)];
    }

    std::mutex mutex_;
    // Chunks are made as needed and never moved, so a text is read without the lock.
    std::array<std::atomic<Slot*>, kChunks> chunks_{};
    std::array<std::unique_ptr<Slot[]>, kChunks> owned_;
    std::uint32_t used_ = 0; // numbers given out at least once
    std::vector<Id> free_;
};

} // namespace kelvor
