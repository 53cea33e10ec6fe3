#pragma once

// Another program holding the clipboard open: a thread of its own opens it for a window of its
// own and keeps it open until the holder goes.

#include <windows.h>

#include <thread>

namespace kelvor::test {

class ClipboardHolder {
public:
    ClipboardHolder() { WaitForSingleObject(opened_, INFINITE); }
    ~ClipboardHolder() {
        SetEvent(done_);
        thread_.join();
        CloseHandle(opened_);
        CloseHandle(done_);
    }
    ClipboardHolder(const ClipboardHolder&) = delete;
    ClipboardHolder& operator=(const ClipboardHolder&) = delete;

private:
    void hold() {
        HWND window = CreateWindowExW(0, L"STATIC", L"holder", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      nullptr, nullptr);
        const bool held = OpenClipboard(window) != FALSE;
        SetEvent(opened_);
        WaitForSingleObject(done_, INFINITE);
        if (held) {
            CloseClipboard();
        }
        DestroyWindow(window);
    }

    HANDLE opened_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE done_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread thread_{[this] { hold(); }};
};

} // namespace kelvor::test
