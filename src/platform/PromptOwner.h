#pragma once

namespace kelvor {

// The window a message belongs to, told without naming the toolkit: the core hands it on as
// it is and only the desktop's boxes look inside. The default is the main window. It stands
// for a window only while the call that is given it lasts.
class PromptOwner {
public:
    PromptOwner() = default;
    explicit PromptOwner(const void* window) : window_(window) {}

    const void* window() const { return window_; }
    bool operator==(const PromptOwner&) const = default;

private:
    const void* window_ = nullptr;
};

} // namespace kelvor
