#include "host/model/SharedText.h"

#include <utility>

namespace kelvor {

SharedText::SharedText(std::string text) {
    if (!text.empty()) {
        block_ = new Block{{1}, std::move(text)};
    }
}

SharedText::SharedText(const char* text) : SharedText(std::string(text)) {}

SharedText::SharedText(const SharedText& other) noexcept : block_(other.block_) {
    if (block_ != nullptr) {
        block_->references.fetch_add(1, std::memory_order_relaxed);
    }
}

SharedText& SharedText::operator=(const SharedText& other) noexcept {
    SharedText copy(other);
    std::swap(block_, copy.block_);
    return *this;
}

SharedText& SharedText::operator=(SharedText&& other) noexcept {
    if (this != &other) {
        clear();
        std::swap(block_, other.block_);
    }
    return *this;
}

SharedText::~SharedText() {
    clear();
}

void SharedText::clear() noexcept {
    if (block_ != nullptr && block_->references.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        delete block_;
    }
    block_ = nullptr;
}

SharedText SharedText::adopt(std::uintptr_t handle) noexcept {
    SharedText text;
    text.block_ = reinterpret_cast<Block*>(handle);
    return text;
}

void SharedText::retain(std::uintptr_t handle) noexcept {
    if (handle != 0) {
        reinterpret_cast<Block*>(handle)->references.fetch_add(1, std::memory_order_relaxed);
    }
}

void SharedText::drop(std::uintptr_t handle) noexcept {
    adopt(handle).clear();
}

const std::string& SharedText::textAt(std::uintptr_t handle) noexcept {
    return handle != 0 ? reinterpret_cast<const Block*>(handle)->text : empty_;
}

} // namespace kelvor
