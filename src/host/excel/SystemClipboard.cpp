#include "host/excel/SystemClipboard.h"

#include <windows.h>

#include <cstring>

namespace kelvor::com {

namespace {

// Open for the life of the holder.
class OpenClipboardScope {
public:
    OpenClipboardScope() : open_(OpenClipboard(nullptr) != FALSE) {}
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
    ~OpenClipboardScope() {
        if (open_) {
            CloseClipboard();
        }
    }
    bool open() const { return open_; }

private:
    bool open_;
};

} // namespace

bool putClipboardText(const std::wstring& text) {
    OpenClipboardScope clipboard;
    if (!clipboard.open() || !EmptyClipboard()) {
        return false;
    }
    const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (memory == nullptr) {
        return false;
    }
    if (void* target = GlobalLock(memory)) {
        std::memcpy(target, text.c_str(), bytes);
        GlobalUnlock(memory);
        // The clipboard owns the memory from here on.
        if (SetClipboardData(CF_UNICODETEXT, memory) != nullptr) {
            return true;
        }
    }
    GlobalFree(memory);
    return false;
}

bool emptyClipboard() {
    OpenClipboardScope clipboard;
    return clipboard.open() && EmptyClipboard() != FALSE;
}

} // namespace kelvor::com
