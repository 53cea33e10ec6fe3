#pragma once

#include <atomic>
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>

namespace kelvor {

// An immutable UTF-8 text shared by its copies, one pointer wide: a cell that holds a number
// does not carry the room a text would need, and the cells of a filled range share one
// formula text. Copies may live on different threads.
class SharedText {
public:
    SharedText() noexcept = default;
    SharedText(std::string text); // NOLINT(google-explicit-constructor): a text is a text
    SharedText(const char* text); // NOLINT(google-explicit-constructor)
    explicit SharedText(std::string_view text) : SharedText(std::string(text)) {}

    SharedText(const SharedText& other) noexcept;
    SharedText(SharedText&& other) noexcept : block_(other.block_) { other.block_ = nullptr; }
    SharedText& operator=(const SharedText& other) noexcept;
    SharedText& operator=(SharedText&& other) noexcept;
    ~SharedText();

    const std::string& str() const { return block_ != nullptr ? block_->text : empty_; }
    operator const std::string&() const { return str(); } // NOLINT: reads as the text it is
    bool empty() const { return block_ == nullptr; }
    void clear() noexcept;
    // The very same text object: a copy of this one.
    bool sharedWith(const SharedText& other) const { return block_ == other.block_; }

    // For a holder that keeps a text in part of a word: `release` hands this copy's hold over
    // as a handle (0 for the empty text), which `adopt` takes back, `retain` copies, `drop`
    // lets go of and `textAt` reads.
    std::uintptr_t release() noexcept {
        return reinterpret_cast<std::uintptr_t>(std::exchange(block_, nullptr));
    }
    static SharedText adopt(std::uintptr_t handle) noexcept;
    static void retain(std::uintptr_t handle) noexcept;
    static void drop(std::uintptr_t handle) noexcept;
    static const std::string& textAt(std::uintptr_t handle) noexcept;

    friend bool operator==(const SharedText& a, const SharedText& b) {
        return a.block_ == b.block_ || a.str() == b.str();
    }
    friend bool operator==(const SharedText& a, std::string_view b) { return a.str() == b; }
    friend bool operator==(const SharedText& a, const std::string& b) { return a.str() == b; }
    friend bool operator==(const SharedText& a, const char* b) { return a.str() == b; }
    friend auto operator<=>(const SharedText& a, const SharedText& b) {
        return a.str().compare(b.str()) <=> 0;
    }
    friend std::ostream& operator<<(std::ostream& out, const SharedText& text) {
        return out << text.str();
    }

private:
    struct Block {
        std::atomic<std::uint32_t> references{1};
        std::string text;
    };

    static inline const std::string empty_;
    Block* block_ = nullptr; // owned with the other copies; the last one deletes it
};

} // namespace kelvor
