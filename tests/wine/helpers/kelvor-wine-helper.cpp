// A Windows program of the Wine tests' own: another process beside the reader, doing what a
// user's other programs do to it. It reads commands from its input, one a line (UTF-8), and
// answers each on its output:
//   hold PATH      opens the file as a spreadsheet program does and keeps it open: "held"
//   release        closes it again: "released"
//   enter TITLE    presses Enter in the top-level window of that title: "pressed"
// Anything that fails answers "failed" and the system's error number.
#include <windows.h>

#include <iostream>
#include <string>

namespace {

std::wstring wide(const std::string& utf8) {
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), size);
    return out;
}

void answer(const std::string& text) {
    std::cout << text << std::endl; // flushed: the test waits for it
}

void failed() {
    answer("failed " + std::to_string(GetLastError()));
}

// Reading and writing, others may read but neither write, rename nor delete it: a workbook
// open in a spreadsheet program cannot be replaced.
HANDLE hold(const std::string& path) {
    return CreateFileW(wide(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool pressEnter(const std::string& title) {
    const HWND window = FindWindowW(nullptr, wide(title).c_str());
    if (window == nullptr) {
        SetLastError(ERROR_NOT_FOUND);
        return false;
    }
    const LPARAM down = 1 | (static_cast<LPARAM>(MapVirtualKeyW(VK_RETURN, MAPVK_VK_TO_VSC)) << 16);
    const LPARAM up = down | (1L << 30) | (1L << 31);
    return PostMessageW(window, WM_KEYDOWN, VK_RETURN, down) &&
           PostMessageW(window, WM_KEYUP, VK_RETURN, up);
}

} // namespace

int main() {
    HANDLE held = INVALID_HANDLE_VALUE;
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const auto blank = line.find(' ');
        const std::string command = line.substr(0, blank);
        const std::string argument = blank == std::string::npos ? "" : line.substr(blank + 1);
        if (command == "hold" && held == INVALID_HANDLE_VALUE) {
            held = hold(argument);
            held == INVALID_HANDLE_VALUE ? failed() : answer("held");
        } else if (command == "release" && held != INVALID_HANDLE_VALUE) {
            CloseHandle(held);
            held = INVALID_HANDLE_VALUE;
            answer("released");
        } else if (command == "enter") {
            pressEnter(argument) ? answer("pressed") : failed();
        } else {
            answer("failed unknown command: " + line);
        }
    }
    if (held != INVALID_HANDLE_VALUE) {
        CloseHandle(held);
    }
    return 0;
}
