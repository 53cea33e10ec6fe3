#include "platform/ProgramFolders.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include <memory>
#include <string>

namespace kelvor {

namespace {

std::filesystem::path knownFolder(REFKNOWNFOLDERID id) {
    PWSTR text = nullptr;
    const HRESULT result = SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &text);
    // The text is the caller's to free, even when the call fails.
    const std::unique_ptr<wchar_t, decltype(&CoTaskMemFree)> owned(text, &CoTaskMemFree);
    return SUCCEEDED(result) && text ? std::filesystem::path(text) : std::filesystem::path();
}

std::filesystem::path environmentFolder(const wchar_t* name) {
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0) {
        return {};
    }
    std::wstring value(size, L'\0');
    const DWORD length = GetEnvironmentVariableW(name, value.data(), size);
    if (length == 0 || length >= size) {
        return {};
    }
    value.resize(length);
    return value;
}

} // namespace

// The known folders are the system's answer; the environment names the same folders as a
// 32-bit process or an older Windows sees them (ProgramW6432 is the 64-bit one).
std::vector<std::filesystem::path> installationFolders() {
    std::vector<std::filesystem::path> folders;
    for (auto folder : {knownFolder(FOLDERID_ProgramFiles), knownFolder(FOLDERID_ProgramFilesX86),
                        environmentFolder(L"ProgramW6432"), environmentFolder(L"ProgramFiles"),
                        environmentFolder(L"ProgramFiles(x86)")}) {
        if (!folder.empty()) {
            folders.push_back(std::move(folder));
        }
    }
    return folders;
}

} // namespace kelvor
